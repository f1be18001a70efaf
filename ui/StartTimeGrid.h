// SPDX-License-Identifier: GPL-3.0-or-later
// The two-column key/value grid: keys fixed, values edited in place through an input mask.
#pragma once

#include <functional>
#include <string>

#include "plugin/Controls.h"

class QTableWidget;
class QWidget;

namespace calvorin {

// The form's grid events. Columns and rows are numbered as the form numbers them: column 0 keys,
// column 1 values; row 1 the first row under the titles.
struct GridHandlers {
    std::function<std::string(int column, int row)> editMask;
    // Returns why the form refused the value, "" when it took it.
    std::function<std::string(int column, int row, const std::string& key, const std::string& value)>
        validate;
};

// Builds the grid named after `grid`, mirroring its titles, rows, state and hint. Only value cells are
// editable; each editor types by the rules of the mask of `handlers.editMask` (MaskedLineEdit), and
// `handlers.validate` runs when an edit is posted with a text different from the one the editor started
// with. A refusal is shown under the cell in a note named after the grid plus "Refusal"; posted with Enter
// or Tab, the editor also stays open on the text, in red, with the reason as its tooltip, until the text
// changes or Escape drops it.
QTableWidget* MakeKeyValueGrid(KeyValueGrid& grid, GridHandlers handlers, QWidget* parent);

}  // namespace calvorin
