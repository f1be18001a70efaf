// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EditMask.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QValidator>
#include <utility>

#include "ui/QtText.h"

namespace calvorin {
namespace {

// Catches the changes that do not pass through the rules: one that breaks the shape is undone by the line
// edit itself.
class ShapeValidator : public QValidator {
  public:
    ShapeValidator(MaskedInput input, QObject* parent) : QValidator(parent), input_(std::move(input)) {}
    State validate(QString& text, int&) const override {
        return input_.Fits(ToUtf8(text)) ? Acceptable : Invalid;
    }

  private:
    MaskedInput input_;
};

std::size_t Utf8Offset(const QString& text, int position) {
    return static_cast<std::size_t>(text.left(position).toUtf8().size());
}

int Utf16Offset(const std::string& text, std::size_t offset) {
    return static_cast<int>(QString::fromUtf8(text.data(), static_cast<qsizetype>(offset)).size());
}

// A printable character as the keyboard gives it; Ctrl with Alt is AltGr on Windows.
bool IsTyping(const QKeyEvent& event) {
    Qt::KeyboardModifiers mods = event.modifiers();
    bool command = (mods & Qt::MetaModifier) || ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier));
    return !command && event.text().size() == 1 && event.text().front().isPrint();
}

}  // namespace

MaskedLineEdit::MaskedLineEdit(std::string_view formMask, QWidget* parent)
    : QLineEdit(parent), input_(formMask) {
    if (!input_.HasFields()) return;
    setValidator(new ShapeValidator(input_, this));
    // Composed input would bypass the rules; digits and separators need none.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);
}

MaskedText MaskedLineEdit::State() const {
    QString shown = text();
    int cursor = cursorPosition();
    int anchor = !hasSelectedText() ? cursor : selectionStart() == cursor ? selectionEnd() : selectionStart();
    return {ToUtf8(shown), Utf8Offset(shown, cursor), Utf8Offset(shown, anchor)};
}

void MaskedLineEdit::Show(const MaskedText& next) {
    if (next == State()) return;  // refused: the selection stays too
    QString shown = ToQString(next.text);
    if (shown != text()) setText(shown);
    setCursorPosition(Utf16Offset(next.text, next.cursor));
}

void MaskedLineEdit::keyPressEvent(QKeyEvent* event) {
    if (!input_.HasFields() || isReadOnly()) return QLineEdit::keyPressEvent(event);
    bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (event == QKeySequence::Paste) {
        Show(input_.Paste(State(), ToUtf8(QGuiApplication::clipboard()->text())));
    } else if (event == QKeySequence::Cut) {
        if (hasSelectedText()) {
            copy();
            Show(input_.EraseSelection(State()));
        }
    } else if (event->key() == Qt::Key_Backspace && !command) {
        Show(input_.Backspace(State()));
    } else if (event->key() == Qt::Key_Delete && !command) {
        Show(input_.Delete(State()));
    } else if (IsTyping(*event)) {
        char16_t typed = event->text().front().unicode();
        if (typed < 0x80) Show(input_.Type(State(), static_cast<char>(typed)));
    } else {
        return QLineEdit::keyPressEvent(event);
    }
    event->accept();
}

}  // namespace calvorin
