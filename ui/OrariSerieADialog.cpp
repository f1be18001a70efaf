// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OrariSerieADialog.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/form/OrariSerieAForm.h"
#include "ui/Bindings.h"
#include "ui/EditBinding.h"
#include "ui/QtText.h"

namespace calvorin {
namespace {

constexpr int kUrlWidth = 400;

QColor ColorOf(ColoredLabel::Color color, const QWidget* widget) {
    switch (color) {
        case ColoredLabel::Color::Highlight:
            return widget->palette().color(QPalette::Highlight);
        case ColoredLabel::Color::Red:
            return Qt::red;
        case ColoredLabel::Color::WindowText:
            break;
    }
    return widget->palette().color(QPalette::WindowText);
}

QLabel* MakeResultLabel(ColoredLabel& result, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(ToQString(result.Name()));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    Mirror(result, label, [&result, label, parent] {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, ColorOf(result.FontColor(), parent));
        label->setPalette(palette);
        label->setText(ToQString(result.Text()));
        ShowCommonState(result, label);
    });
    return label;
}

QLayout* ButtonRow(OrariSerieAForm& form, QDialog* dialog) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    QPushButton* ok = MakePushButton(form.OkButton, dialog);
    QPushButton* cancel = MakePushButton(form.CancelButton, dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

}  // namespace

OrariSerieADialog::OrariSerieADialog(OrariSerieAForm& form, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OrariSerieAForm"));
    setWindowTitle(ToQString(form.Caption));
    setModal(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->addWidget(MakeLabel(form.UrlServizioLabel, this));
    EditOptions options;
    options.userText = [&form](std::string text) { form.SetUrlText(std::move(text)); };
    options.buttonIcon = QStyle::SP_DialogApplyButton;
    EditWidgets url = MakeEdit(form.UrlServizioEdit, this, options);
    url.field->setMinimumWidth(kUrlWidth);
    column->addWidget(url.box);
    column->addWidget(MakeResultLabel(form.RisultatoVerificaLabel, this));
    column->addWidget(MakeCheckBox(form.AggiornaAvvioCheckBox, this));
    column->addSpacing(6);
    column->addLayout(ButtonRow(form, this));
    column->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace calvorin
