// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugin/Controls.h"

namespace calvorin {

void KeyValueGrid::SetValue(const std::string& key, std::string value) {
    for (auto& row : rows_) {
        if (row.first == key) {
            if (row.second != value) {
                row.second = std::move(value);
                Notify();
            }
            return;
        }
    }
    rows_.emplace_back(key, std::move(value));
    Notify();
}

std::string KeyValueGrid::ValueAt(int row) const {
    return row >= 1 && row <= static_cast<int>(rows_.size()) ? rows_[row - 1].second : std::string();
}

void KeyValueGrid::SetValueAt(int row, std::string value) {
    if (row < 1 || row > static_cast<int>(rows_.size()) || rows_[row - 1].second == value) return;
    rows_[row - 1].second = std::move(value);
    Notify();
}

}  // namespace calvorin
