// SPDX-License-Identifier: GPL-3.0-or-later
// The binding of a labelled one-line text field, with its optional browse button.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <functional>
#include <string>

#include "plugin/Controls.h"

namespace calvorin {

// The widgets of one Edit: `box` holds the caption row (caption, then any extra widget at its right
// end) above the field row (field, then the browse button).
struct EditWidgets {
    QWidget* box = nullptr;
    QLabel* caption = nullptr;      // "<name>Label"; hidden when the caption is empty
    QLineEdit* field = nullptr;     // "<name>"
    QToolButton* button = nullptr;  // "<name>Button"; only when the control has one
};

struct EditOptions {
    // What a keystroke of the user does with the new text; Edit::SetText when empty.
    std::function<void(std::string)> userText;
    QStyle::StandardPixmap buttonIcon = QStyle::SP_DirOpenIcon;
    QWidget* besideCaption = nullptr;  // reparented into the caption row; keeps its own state
};

// Builds and binds the widgets of `edit` as children of `parent`: value, caption, password echo,
// read-only, red text when NormalColor() is false, button enabled when both the field and the button
// are. A click on the button runs the control's onButtonClick.
EditWidgets MakeEdit(Edit& edit, QWidget* parent, EditOptions options = {});

}  // namespace calvorin
