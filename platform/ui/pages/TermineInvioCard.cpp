// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Termine invio": the deadline check, the link to the start times and the lead time.
#include <QBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include "app/form/MainForm.h"
#include "platform/ui/Bindings.h"
#include "platform/ui/pages/Cards.h"

namespace calvorin {
namespace {

// "Imposta" and the label that reads on from it, wrapping beside the link.
QLayout* LinkSentence(TermineInvioPage& page, QWidget* card) {
    auto* row = new QHBoxLayout;
    row->setSpacing(card->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    row->addWidget(MakeLinkLabel(page.IfDateOrariLinkLabel, card), 0, Qt::AlignTop);
    QLabel* rest = MakeLabel(page.IfDateOrariLabel, card);
    rest->setWordWrap(true);
    row->addWidget(rest, 1, Qt::AlignTop);
    return row;
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
    column->addLayout(LinkSentence(page, card));
    column->addSpacing(6);
    column->addLayout(LeadTimeRow(page, card));
    column->addStretch();
    return card;
}

}  // namespace calvorin
