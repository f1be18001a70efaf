// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EditBinding.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>

#include "ui/Bindings.h"
#include "ui/QtText.h"

namespace calvorin {
namespace {

// Red text marks a source that does not exist; greyed text stays as the style draws it.
void ShowTextColor(QLineEdit* field, bool normal) {
    QPalette inherited = field->parentWidget()->palette();
    QPalette palette = field->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::Text, normal ? inherited.color(group, QPalette::Text) : Qt::red);
    field->setPalette(palette);
}

void ShowEdit(const Edit& edit, const EditWidgets& w) {
    QSignalBlocker block(w.field);
    QString text = ToQString(edit.Text());
    if (w.field->text() != text) w.field->setText(text);  // keeps the caret while the user types
    w.field->setEchoMode(edit.Password() ? QLineEdit::Password : QLineEdit::Normal);
    w.field->setReadOnly(edit.ReadOnly());
    // A read-only source path is reached with the mouse, not the Tab key.
    w.field->setFocusPolicy(edit.ReadOnly() ? Qt::ClickFocus : Qt::StrongFocus);
    ShowTextColor(w.field, edit.NormalColor());
    w.caption->setText(ToQString(edit.Caption()));
    w.caption->setVisible(!edit.Caption().empty());
    w.caption->setEnabled(edit.Enabled());
    w.field->setEnabled(edit.Enabled());
    w.field->setToolTip(ToQString(edit.Hint()));
    if (w.button) {
        w.button->setEnabled(edit.Enabled() && edit.ButtonEnabled());
        w.button->setToolTip(ToQString(edit.Hint()));
    }
    w.box->setVisible(edit.Visible());
}

QToolButton* MakeBrowseButton(Edit& edit, QStyle::StandardPixmap icon, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(ToQString(edit.Name() + "Button"));
    button->setIcon(button->style()->standardIcon(icon, nullptr, button));
    QObject::connect(button, &QToolButton::clicked, [&edit] {
        if (edit.onButtonClick) edit.onButtonClick();
    });
    return button;
}

}  // namespace

EditWidgets MakeEdit(Edit& edit, QWidget* parent, EditOptions options) {
    EditWidgets w;
    w.box = new QWidget(parent);
    w.box->setObjectName(ToQString(edit.Name() + "Box"));
    auto* column = new QVBoxLayout(w.box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    auto* captionRow = new QHBoxLayout;
    column->addLayout(captionRow);
    w.caption = new QLabel(w.box);
    w.caption->setObjectName(ToQString(edit.Name() + "Label"));
    captionRow->addWidget(w.caption, 1);
    if (options.besideCaption) captionRow->addWidget(options.besideCaption);
    auto* fieldRow = new QHBoxLayout;
    fieldRow->setSpacing(2);
    column->addLayout(fieldRow);
    w.field = new QLineEdit(w.box);
    w.field->setObjectName(ToQString(edit.Name()));
    fieldRow->addWidget(w.field, 1);
    if (edit.HasButton()) fieldRow->addWidget(w.button = MakeBrowseButton(edit, options.buttonIcon, w.box));
    w.caption->setBuddy(w.field);
    Mirror(edit, w.box, [&edit, w] { ShowEdit(edit, w); });
    auto userText =
        options.userText ? options.userText : [&edit](std::string text) { edit.SetText(std::move(text)); };
    QObject::connect(w.field, &QLineEdit::textEdited,
                     [userText](const QString& text) { userText(ToUtf8(text)); });
    return w;
}

}  // namespace calvorin
