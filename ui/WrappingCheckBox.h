// SPDX-License-Identifier: GPL-3.0-or-later
// A check box whose text wraps onto further lines instead of being cut at the page's edge.
#pragma once

#include <QCheckBox>
#include <array>

namespace calvorin {

// The pages are narrow (the tree takes 180 px), and several option texts are longer than one line.
class WrappingCheckBox : public QCheckBox {
  public:
    explicit WrappingCheckBox(QWidget* parent) : QCheckBox(parent) {
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    // The whole box, wrapped lines included, takes the click.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void changeEvent(QEvent* event) override;

  private:
    // Left edge of the text and the gap it keeps from the indicator.
    int TextOffset() const;
    QRect TextRect(int width) const;

    // Laying out a page asks for the height at a few widths many times over, and wrapping the text is
    // the slow part of showing the window: the last heights are kept until the text, font or style change.
    struct Measured {
        int width = -1;
        int height = 0;
    };
    mutable std::array<Measured, 4> measured_{};
    mutable std::size_t nextMeasured_ = 0;
    mutable QString measuredText_;
};

}  // namespace calvorin
