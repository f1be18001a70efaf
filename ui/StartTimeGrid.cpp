// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StartTimeGrid.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>

#include "ui/Bindings.h"
#include "ui/EditMask.h"
#include "ui/QtText.h"

namespace calvorin {
namespace {

constexpr int kKeyColumn = 0;
constexpr int kValueColumn = 1;
const char* const kInitialText = "calvorinInitialText";
const char* const kCell = "calvorinCell";  // the editor's index, for keys the delegate sees first

// Why the form refused a value, in the look of a tooltip under the cell. Unlike a tooltip it stays while
// the user reads it and fixes the text: it goes at the next click or scroll in the grid, when a new edit
// starts, or with the editor it was shown for, when that editor changes its text or closes.
class RefusalNote : public QLabel {
  public:
    explicit RefusalNote(QAbstractItemView* view) : QLabel(view->viewport()), view_(view) {
        setTextFormat(Qt::PlainText);
        setForegroundRole(QPalette::ToolTipText);
        setBackgroundRole(QPalette::ToolTipBase);
        setAutoFillBackground(true);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setMargin(2);
        hide();
        view->viewport()->installEventFilter(this);
        for (QScrollBar* bar : {view->verticalScrollBar(), view->horizontalScrollBar()})
            connect(bar, &QScrollBar::valueChanged, this, &QWidget::hide);
    }

    // `editor`: the open editor the note is about, or nothing when the edit has ended.
    void ShowAt(const QModelIndex& index, const QString& why, const QWidget* editor) {
        editor_ = editor;
        setText(why);
        QWidget* area = view_->viewport();
        setWordWrap(false);
        int width = std::min(sizeHint().width(), area->width());
        setWordWrap(width < sizeHint().width());
        resize(width, wordWrap() ? heightForWidth(width) : sizeHint().height());
        QRect cell = view_->visualRect(index);
        int y = cell.bottom() + 1 + height() <= area->height() ? cell.bottom() + 1 : cell.top() - height();
        move(std::clamp(cell.left(), 0, std::max(0, area->width() - width)), std::max(0, y));
        show();
        raise();
    }

    // The editor changed its text or went away: a note about it is no longer true.
    void Withdraw(const QObject* editor) {
        if (editor_ != editor) return;
        editor_ = nullptr;
        hide();
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Wheel) hide();
        return false;
    }
    void mousePressEvent(QMouseEvent*) override { hide(); }

  private:
    QAbstractItemView* view_;
    const QObject* editor_ = nullptr;
};

void MarkRefused(QLineEdit& editor, const QString& why) {
    QPalette palette = editor.palette();
    palette.setColor(QPalette::Text, Qt::red);
    editor.setPalette(palette);
    editor.setToolTip(why);
}

void ClearMark(QLineEdit& editor) {
    editor.setPalette(QPalette());
    editor.setToolTip(QString());
}

bool IsPostingKey(const QEvent& event) {
    if (event.type() != QEvent::KeyPress) return false;
    int key = static_cast<const QKeyEvent&>(event).key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

// Edits a value cell by the form's mask and hands a changed text to the form, which writes the cell or
// says why not.
class MaskedCellDelegate : public QStyledItemDelegate {
  public:
    MaskedCellDelegate(KeyValueGrid& grid, GridHandlers handlers, QAbstractItemView* view)
        : QStyledItemDelegate(view),
          grid_(grid),
          handlers_(std::move(handlers)),
          note_(new RefusalNote(view)) {
        note_->setObjectName(ToQString(grid.Name()) + QStringLiteral("Refusal"));
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        std::string mask = handlers_.editMask ? handlers_.editMask(index.column(), index.row() + 1) : "";
        auto* editor = new MaskedLineEdit(mask, parent);
        editor->setFrame(false);
        editor->setProperty(kCell, QVariant::fromValue(QPersistentModelIndex(index)));
        if (RefusalNote* note = note_.data()) {
            note->hide();
            QObject::connect(editor, &QLineEdit::textChanged, note, [editor, note] {
                ClearMark(*editor);
                note->Withdraw(editor);
            });
        }
        return editor;
    }

    // Escape, or the end of an edit that was taken: a note about this editor is moot.
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
        if (note_) note_->Withdraw(editor);
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* line = static_cast<QLineEdit*>(editor);
        line->setText(index.data(Qt::EditRole).toString());
        line->setProperty(kInitialText, line->text());
    }

    // The edit ends here (Enter, Tab, leaving the cell): a refusal can only be told.
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        QString why = Post(*static_cast<QLineEdit*>(editor), index);
        if (!why.isEmpty() && note_) note_->ShowAt(index, why, nullptr);
    }

  protected:
    // Enter and Tab post the text before the view ends the edit, so a refused text stays to be fixed.
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QLineEdit*>(object);
        if (editor && IsPostingKey(*event)) {
            QModelIndex index = editor->property(kCell).value<QPersistentModelIndex>();
            QString why = index.isValid() ? Post(*editor, index) : QString();
            if (!why.isEmpty()) {
                MarkRefused(*editor, why);
                if (note_) note_->ShowAt(index, why, editor);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

  private:
    // Hands a changed text to the form; returns its refusal, empty when it took the text or nothing
    // changed. A refused text stays "changed", so leaving the cell posts it again and tells why again.
    QString Post(QLineEdit& editor, const QModelIndex& index) const {
        if (editor.text() == editor.property(kInitialText).toString() || !handlers_.validate) return {};
        int row = index.row() + 1;
        const auto& rows = grid_.Rows();
        std::string key = row <= static_cast<int>(rows.size()) ? rows[row - 1].first : std::string();
        std::string why = handlers_.validate(index.column(), row, key, ToUtf8(editor.text()));
        if (why.empty()) editor.setProperty(kInitialText, editor.text());
        return ToQString(why);
    }

    KeyValueGrid& grid_;
    GridHandlers handlers_;
    QPointer<RefusalNote> note_;  // a child of the viewport, which may go first
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
