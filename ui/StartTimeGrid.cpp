// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StartTimeGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "ui/Bindings.h"
#include "ui/EditMask.h"
#include "ui/QtText.h"

namespace calvorin {
namespace {

constexpr int kKeyColumn = 0;
constexpr int kValueColumn = 1;
const char* const kInitialText = "calvorinInitialText";

// Edits a value cell with the form's mask and hands a changed text to the form, which writes the cell.
class MaskedCellDelegate : public QStyledItemDelegate {
  public:
    MaskedCellDelegate(KeyValueGrid& grid, GridHandlers handlers, QObject* parent)
        : QStyledItemDelegate(parent), grid_(grid), handlers_(std::move(handlers)) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        if (handlers_.editMask)
            editor->setInputMask(QtInputMask(handlers_.editMask(index.column(), index.row() + 1)));
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* line = static_cast<QLineEdit*>(editor);
        line->setText(index.data(Qt::EditRole).toString());
        // With a mask the editor's text differs from the cell's (blanks, literals): compare with this.
        line->setProperty(kInitialText, line->text());
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        auto* line = static_cast<QLineEdit*>(editor);
        if (line->text() == line->property(kInitialText).toString() || !handlers_.validate) return;
        line->setProperty(kInitialText, line->text());
        int row = index.row() + 1;
        const auto& rows = grid_.Rows();
        std::string key = row <= static_cast<int>(rows.size()) ? rows[row - 1].first : std::string();
        handlers_.validate(index.column(), row, key, ToUtf8(line->text()));
    }

  private:
    KeyValueGrid& grid_;
    GridHandlers handlers_;
};

QTableWidgetItem* KeyItem(const std::string& key) {
    auto* item = new QTableWidgetItem(ToQString(key));
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

void ShowRows(const KeyValueGrid& grid, QTableWidget* table) {
    const auto& rows = grid.Rows();
    table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        auto* key = table->item(r, kKeyColumn);
        if (!key || key->text() != ToQString(rows[r].first))
            table->setItem(r, kKeyColumn, KeyItem(rows[r].first));
        auto* value = table->item(r, kValueColumn);
        if (!value) table->setItem(r, kValueColumn, value = new QTableWidgetItem);
        value->setText(ToQString(rows[r].second));
    }
}

void SetUpTable(const KeyValueGrid& grid, QTableWidget* table) {
    table->setObjectName(ToQString(grid.Name()));
    table->setColumnCount(2);
    table->setHorizontalHeaderLabels({ToQString(grid.KeyTitle()), ToQString(grid.ValueTitle())});
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setSectionResizeMode(kKeyColumn, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectItems);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    table->setWordWrap(false);
}

}  // namespace

QTableWidget* MakeKeyValueGrid(KeyValueGrid& grid, GridHandlers handlers, QWidget* parent) {
    auto* table = new QTableWidget(parent);
    SetUpTable(grid, table);
    table->setItemDelegateForColumn(kValueColumn, new MaskedCellDelegate(grid, std::move(handlers), table));
    Mirror(grid, table, [&grid, table] {
        ShowRows(grid, table);
        ShowCommonState(grid, table);
    });
    return table;
}

}  // namespace calvorin
