// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Bindings.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>

#include "ui/QtText.h"
#include "ui/WrappingCheckBox.h"

namespace calvorin {
namespace {

// A spin box whose Page Up/Down move by the control's large step instead of ten small steps.
class StepSpinBox : public QSpinBox {
  public:
    StepSpinBox(int largeSteps, QWidget* parent) : QSpinBox(parent), largeSteps_(largeSteps) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        int direction = event->key() == Qt::Key_PageUp ? 1 : event->key() == Qt::Key_PageDown ? -1 : 0;
        if (direction == 0) return QSpinBox::keyPressEvent(event);
        stepBy(direction * largeSteps_);
        event->accept();
    }

  private:
    int largeSteps_;
};

template <typename W>
W* Named(W* widget, const Control& control) {
    widget->setObjectName(ToQString(control.Name()));
    return widget;
}

}  // namespace

void Mirror(Control& control, QWidget* owner, std::function<void()> sync) {
    control.viewChanged = sync;
    QObject::connect(owner, &QObject::destroyed, [&control] { control.viewChanged = nullptr; });
    sync();
}

void ShowCommonState(const Control& control, QWidget* widget) {
    widget->setEnabled(control.Enabled());
    // A widget without a parent would become a window of its own when shown.
    if (widget->parentWidget()) widget->setVisible(control.Visible());
    widget->setToolTip(ToQString(control.Hint()));
}

QCheckBox* MakeCheckBox(CheckBox& box, QWidget* parent) {
    auto* widget = Named(new WrappingCheckBox(parent), box);
    Mirror(box, widget, [&box, widget] {
        QSignalBlocker block(widget);
        widget->setText(ToQString(box.Text()));
        widget->setChecked(box.Checked());
        ShowCommonState(box, widget);
    });
    QObject::connect(widget, &QCheckBox::toggled, [&box](bool on) { box.SetChecked(on); });
    return widget;
}

QLabel* MakeLabel(Control& label, QWidget* parent) {
    auto* widget = Named(new QLabel(parent), label);
    widget->setTextFormat(Qt::PlainText);
    Mirror(label, widget, [&label, widget] {
        widget->setText(ToQString(label.Text()));
        ShowCommonState(label, widget);
    });
    return widget;
}

QLabel* MakeLinkLabel(Button& link, QWidget* parent) {
    auto* widget = Named(new QLabel(parent), link);
    widget->setTextFormat(Qt::RichText);
    widget->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    Mirror(link, widget, [&link, widget] {
        QString text = ToQString(link.Text()).toHtmlEscaped();
        // A greyed link must not look clickable.
        widget->setText(link.Enabled() ? QStringLiteral("<a href=\"#\">%1</a>").arg(text) : text);
        ShowCommonState(link, widget);
    });
    QObject::connect(widget, &QLabel::linkActivated, [&link] { link.Click(); });
    return widget;
}

QPushButton* MakePushButton(Button& button, QWidget* parent) {
    auto* widget = Named(new QPushButton(parent), button);
    Mirror(button, widget, [&button, widget] {
        widget->setText(ToQString(button.Text()));
        ShowCommonState(button, widget);
    });
    QObject::connect(widget, &QPushButton::clicked, [&button] { button.Click(); });
    return widget;
}

QToolButton* MakeToolButton(Button& button, QStyle::StandardPixmap icon, QWidget* parent) {
    auto* widget = Named(new QToolButton(parent), button);
    widget->setIcon(widget->style()->standardIcon(icon, nullptr, widget));
    widget->setAutoRaise(true);
    Mirror(button, widget, [&button, widget] { ShowCommonState(button, widget); });
    QObject::connect(widget, &QToolButton::clicked, [&button] { button.Click(); });
    return widget;
}

QSpinBox* MakeNumberBox(NumberBox& box, QWidget* parent) {
    int largeSteps = box.SmallStep() > 0 ? box.LargeStep() / box.SmallStep() : 1;
    auto* widget = Named(new StepSpinBox(largeSteps, parent), box);
    widget->setRange(box.Min(), box.Max());
    widget->setSingleStep(box.SmallStep());
    Mirror(box, widget, [&box, widget] {
        QSignalBlocker block(widget);
        widget->setValue(box.Value());
        ShowCommonState(box, widget);
    });
    QObject::connect(widget, &QSpinBox::valueChanged, [&box](int value) { box.SetValue(value); });
    return widget;
}

QComboBox* MakeComboBox(ComboBox& box, QWidget* parent) {
    auto* widget = Named(new QComboBox(parent), box);
    for (const auto& item : box.Items()) widget->addItem(ToQString(item));
    Mirror(box, widget, [&box, widget] {
        QSignalBlocker block(widget);
        widget->setCurrentIndex(box.ItemIndex());
        ShowCommonState(box, widget);
    });
    // `activated` comes from the user only; the program's own changes arrive through the mirror.
    QObject::connect(widget, &QComboBox::activated, [&box](int index) { box.UserSelect(index); });
    return widget;
}

QGroupBox* MakeGroupBox(GroupBox& group, QWidget* parent) {
    auto* widget = Named(new QGroupBox(parent), group);
    Mirror(group, widget, [&group, widget] {
        widget->setTitle(ToQString(group.Text()));
        ShowCommonState(group, widget);
    });
    return widget;
}

void BindPageControl(Control& control, QTabWidget* tabs) {
    tabs->setObjectName(ToQString(control.Name()));
    Mirror(control, tabs, [&control, tabs] { ShowCommonState(control, tabs); });
}

void BindCardPanel(CardPanel& panel, QStackedWidget* cards) {
    cards->setObjectName(ToQString(panel.Name()));
    Mirror(panel, cards, [&panel, cards] {
        cards->setCurrentIndex(panel.ActiveCard());
        ShowCommonState(panel, cards);
    });
}

}  // namespace calvorin
