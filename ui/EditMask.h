// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt editor of a text with a form edit mask: typing follows the rules every view shares.
#pragma once

#include <QLineEdit>
#include <string_view>

#include "app/form/MaskedInput.h"

namespace calvorin {

// A line edit that hands typed characters, Backspace, Delete, Cut and Paste to MaskedInput, so the text
// keeps the mask's shape; a key the rules refuse changes nothing. Moving and selecting work as in any line
// edit; any other change (a shortcut, the context menu, undo) is taken only when the result has the mask's
// shape. A mask without digits leaves a plain line edit. The text is never more than the user typed: no
// blanks, no separators ahead of the digits.
class MaskedLineEdit : public QLineEdit {
  public:
    MaskedLineEdit(std::string_view formMask, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    MaskedText State() const;
    void Show(const MaskedText& next);

    MaskedInput input_;
};

}  // namespace calvorin
