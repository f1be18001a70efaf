// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Termine invio": the deadline check, the link to the start times and the lead time.
#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

#include "app/form/MainForm.h"
#include "ui/Bindings.h"
#include "ui/QtText.h"
#include "ui/pages/Cards.h"

namespace calvorin {
namespace {

// "Imposta" and the label that reads on from it as one paragraph: the label's first line is indented by
// the link's width and the link sits over that indent, so the sentence wraps under the link.
QWidget* LinkSentence(TermineInvioPage& page, QWidget* card) {
    auto* sentence = new QWidget(card);
    auto* cell = new QGridLayout(sentence);
    cell->setContentsMargins(0, 0, 0, 0);
    auto* rest = new QLabel(sentence);
    rest->setObjectName(ToQString(page.IfDateOrariLabel.Name()));
    rest->setTextFormat(Qt::RichText);
    rest->setWordWrap(true);
    QLabel* link = MakeLinkLabel(page.IfDateOrariLinkLabel, sentence);
    Mirror(page.IfDateOrariLabel, rest, [&label = page.IfDateOrariLabel, rest, link] {
        int indent = link->sizeHint().width() + rest->fontMetrics().horizontalAdvance(QLatin1Char(' '));
        QString text = ToQString(label.Text()).toHtmlEscaped();
        rest->setText(QStringLiteral("<div style=\"text-indent:%1px\">%2</div>").arg(indent).arg(text));
        ShowCommonState(label, rest);
    });
    cell->addWidget(rest, 0, 0, Qt::AlignTop);
    cell->addWidget(link, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    link->raise();  // the link takes the clicks over the indent
    return sentence;
}

QLayout* LeadTimeRow(TermineInvioPage& page, QWidget* card) {
    auto* row = new QHBoxLayout;
    QLabel* label = MakeLabel(page.IfAnticipoInvioLabel, card);
    QSpinBox* box = MakeNumberBox(page.IfAnticipoInvioNumberBox, card);
    label->setBuddy(box);
    box->setMinimumWidth(80);
    row->addWidget(label);
    row->addWidget(box);
    row->addStretch();
    return row;
}

}  // namespace

QWidget* BuildTermineInvioCard(TMainForm& form, QWidget* parent) {
    auto& page = form.TermineInvio;
    auto* card = new QWidget(parent);
    auto* column = CardColumn(card);
    column->addWidget(MakeCheckBox(page.IfControllaOrarioCheckBox, card));
    column->addWidget(LinkSentence(page, card));
    column->addSpacing(6);
    column->addLayout(LeadTimeRow(page, card));
    column->addStretch();
    return card;
}

}  // namespace calvorin
