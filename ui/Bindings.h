// SPDX-License-Identifier: GPL-3.0-or-later
// One binding per control kind: a widget that mirrors its form control and hands user input back to it.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <functional>

#include "plugin/Controls.h"

namespace calvorin {

// Makes `sync` the control's view hook and runs it once. The hook is dropped when `owner` is destroyed,
// so the model may outlive the view (never the other way round).
void Mirror(Control& control, QWidget* owner, std::function<void()> sync);

// Copies Enabled, Visible and Hint (as tooltip) onto the widget.
void ShowCommonState(const Control& control, QWidget* widget);

// Every widget below is created as a child of `parent`, named after its control (objectName), and shows
// the control's state at once and on every later change. A model update never re-enters the model.

// Tick box (text wraps); a click calls CheckBox::SetChecked, which runs the form's rule.
QCheckBox* MakeCheckBox(CheckBox& box, QWidget* parent);

// Plain label showing the control's text.
QLabel* MakeLabel(Control& label, QWidget* parent);

// Link label: the text underlined as a link while enabled; activating it calls Button::Click.
QLabel* MakeLinkLabel(Button& link, QWidget* parent);

// Push button and tool button (with a standard icon): a click calls Button::Click.
QPushButton* MakePushButton(Button& button, QWidget* parent);
QToolButton* MakeToolButton(Button& button, QStyle::StandardPixmap icon, QWidget* parent);

// Spin box with the range and steps of the control; Page Up/Down move by the large step.
QSpinBox* MakeNumberBox(NumberBox& box, QWidget* parent);

// Drop-down list of the control's items; -1 shows no choice. A choice by the user calls UserSelect.
QComboBox* MakeComboBox(ComboBox& box, QWidget* parent);

// Group box titled with the control's text; disabling it disables what it holds.
QGroupBox* MakeGroupBox(GroupBox& group, QWidget* parent);

// Binds an existing tab widget (enabled, visible, hint) and an existing card stack (the active card).
void BindPageControl(Control& control, QTabWidget* tabs);
void BindCardPanel(CardPanel& panel, QStackedWidget* cards);

}  // namespace calvorin
