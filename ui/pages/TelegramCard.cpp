// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Inoltro a Telegram": the switch, the bot token, the chat id and the mode list.
#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>

#include "app/form/MainForm.h"
#include "ui/Bindings.h"
#include "ui/EditBinding.h"
#include "ui/pages/Cards.h"

namespace calvorin {

QWidget* BuildTelegramCard(TMainForm& form, QWidget* parent) {
    auto& page = form.Telegram;
    auto* card = new QWidget(parent);
    auto* column = CardColumn(card);
    column->addWidget(MakeCheckBox(page.IfInoltraATelegramCheckBox, card));
    column->addWidget(MakeEdit(page.IfTokenTelegramEdit, card).box);
    column->addWidget(MakeEdit(page.IfChatIdTelegramEdit, card).box);
    auto* row = new QHBoxLayout;
    QLabel* label = MakeLabel(page.IfModalitaTelegramLabel, card);
    QComboBox* list = MakeComboBox(page.IfModalitaTelegramComboBox, card);
    label->setBuddy(list);
    row->addWidget(label);
    row->addWidget(list);
    row->addStretch();
    column->addLayout(row);
    column->addStretch();
    return card;
}

}  // namespace calvorin
