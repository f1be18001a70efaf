// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WrappingCheckBox.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <algorithm>

namespace calvorin {
namespace {

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
constexpr int kVerticalPadding = 2;

}  // namespace

int WrappingCheckBox::TextOffset() const {
    return style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) +
           style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
}

QRect WrappingCheckBox::TextRect(int width) const {
    const int textWidth = std::max(1, width - TextOffset());
    if (text() != measuredText_) {
        measured_.fill({});
        measuredText_ = text();
    }
    for (const Measured& m : measured_)
        if (m.width == textWidth) return QRect(TextOffset(), kVerticalPadding, textWidth, m.height);
    const QRect bounds = fontMetrics().boundingRect(QRect(0, 0, textWidth, 10000), kTextFlags, text());
    measured_[nextMeasured_] = {textWidth, bounds.height()};
    nextMeasured_ = (nextMeasured_ + 1) % measured_.size();
    return QRect(TextOffset(), kVerticalPadding, textWidth, bounds.height());
}

void WrappingCheckBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) measured_.fill({});
    QCheckBox::changeEvent(event);
}

int WrappingCheckBox::heightForWidth(int width) const {
    int indicator = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
    return std::max(indicator, TextRect(width).height()) + 2 * kVerticalPadding;
}

QSize WrappingCheckBox::sizeHint() const {
    // Wide enough for the text on one line; the layout narrows it and asks heightForWidth.
    int width = TextOffset() + fontMetrics().horizontalAdvance(text()) + 2;
    return QSize(width, heightForWidth(width));
}

QSize WrappingCheckBox::minimumSizeHint() const {
    int width = TextOffset() + fontMetrics().averageCharWidth() * 8;
    return QSize(width, heightForWidth(width));
}

void WrappingCheckBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    int indicatorHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
    int lineHeight = fontMetrics().height();
    QRect indicator(0, kVerticalPadding + std::max(0, (lineHeight - indicatorHeight) / 2),
                    style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this), indicatorHeight);
    option.rect = indicator;
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, this);
    QRect textRect = TextRect(width());
    style()->drawItemText(&painter, textRect, kTextFlags, palette(), isEnabled(), text(),
                          QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textRect.adjusted(-1, 0, 1, 0);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace calvorin
