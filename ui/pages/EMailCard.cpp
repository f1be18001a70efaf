// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Invio e-mail": the switch, then the tabs "Parametri" and "Servizio" with the service cards.
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>

#include "app/form/MainForm.h"
#include "ui/Bindings.h"
#include "ui/EditBinding.h"
#include "ui/pages/Cards.h"

namespace calvorin {
namespace {

constexpr int kTabMargin = 8;

QWidget* TabPage(QWidget* tabs) {
    auto* page = new QWidget(tabs);
    CardColumn(page)->setContentsMargins(kTabMargin, kTabMargin, kTabMargin, kTabMargin);
    return page;
}

QGroupBox* RecipientsGroup(EMailPage& page, QWidget* parent) {
    QGroupBox* group = MakeGroupBox(page.IfDestinatariGroupBox, parent);
    auto* grid = new QGridLayout(group);
    grid->addWidget(MakeCheckBox(page.IfEMailPresidenteCheckBox, group), 0, 0);
    grid->addWidget(MakeCheckBox(page.IfEMailSeStessiCheckBox, group), 0, 1);
    grid->addWidget(MakeCheckBox(page.IfEMailAvversarioCheckBox, group), 1, 0);
    grid->addWidget(MakeCheckBox(page.IfEMailTuttiCheckBox, group), 1, 1);
    return group;
}

QWidget* ParametriTab(EMailPage& page, QWidget* tabs) {
    QWidget* tab = TabPage(tabs);
    tab->setObjectName(QStringLiteral("IfParametriEMailTabSheet"));
    auto* column = static_cast<QVBoxLayout*>(tab->layout());
    column->addWidget(MakeEdit(page.IfMittenteEMailEdit, tab).box);
    QCheckBox* autoBox = MakeCheckBox(page.IfIndirizzoPresidenteAutoCheckBox, tab);
    EditOptions options;
    options.besideCaption = autoBox;  // "Auto" at the right end of the caption line
    column->addWidget(MakeEdit(page.IfIndirizzoPresidenteEdit, tab, options).box);
    column->addWidget(RecipientsGroup(page, tab));
    column->addWidget(MakeCheckBox(page.IfEMailRidottaCheckBox, tab));
    column->addStretch();
    return tab;
}

// Card 1: host, port and security side by side, user name, password.
QWidget* SmtpCard(EMailPage& page, QWidget* parent) {
    auto* card = new QWidget(parent);
    card->setObjectName(QStringLiteral("IfSmtpCard"));
    auto* column = CardColumn(card);
    column->addWidget(MakeEdit(page.IfSmtpHostEdit, card).box);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->addWidget(MakeLabel(page.IfSmtpPortaLabel, card), 0, 0);
    grid->addWidget(MakeNumberBox(page.IfSmtpPortaNumberBox, card), 1, 0);
    grid->addWidget(MakeLabel(page.IfSmtpSicurezzaLabel, card), 0, 1);
    grid->addWidget(MakeComboBox(page.IfSmtpSicurezzaComboBox, card), 1, 1);
    column->addLayout(grid);
    column->addWidget(MakeEdit(page.IfSmtpUsernameEdit, card).box);
    column->addWidget(MakeEdit(page.IfSmtpPasswordEdit, card).box);
    column->addStretch();
    return card;
}

QWidget* ApiCard(const char* name, std::initializer_list<Edit*> edits, QWidget* parent) {
    auto* card = new QWidget(parent);
    card->setObjectName(QString::fromLatin1(name));
    auto* column = CardColumn(card);
    for (Edit* edit : edits) column->addWidget(MakeEdit(*edit, card).box);
    column->addStretch();
    return card;
}

// Cards in the order of the service list: PHP mail (empty), SMTP, Brevo, Mailjet, SendGrid.
QStackedWidget* ServiceCards(EMailPage& page, QWidget* parent) {
    auto* cards = new QStackedWidget(parent);
    cards->addWidget(ApiCard("IfPhpMailCard", {}, cards));
    cards->addWidget(SmtpCard(page, cards));
    cards->addWidget(ApiCard("IfBrevoCard", {&page.IfBrevoApiKeyEdit}, cards));
    cards->addWidget(
        ApiCard("IfMailjetCard", {&page.IfMailjetApiKeyEdit, &page.IfMailjetSecretKeyEdit}, cards));
    cards->addWidget(ApiCard("IfSendGridCard", {&page.IfSendGridApiKeyEdit}, cards));
    BindCardPanel(page.IfServizioEMailCardPanel, cards);
    return cards;
}

QWidget* ServizioTab(EMailPage& page, QWidget* tabs) {
    QWidget* tab = TabPage(tabs);
    tab->setObjectName(QStringLiteral("IfServizioEMailTabSheet"));
    auto* column = static_cast<QVBoxLayout*>(tab->layout());
    auto* row = new QHBoxLayout;
    QLabel* label = MakeLabel(page.IfServizioEMailLabel, tab);
    QComboBox* list = MakeComboBox(page.IfServizioEMailComboBox, tab);
    label->setBuddy(list);
    row->addWidget(label);
    row->addWidget(list, 1);
    column->addLayout(row);
    column->addWidget(ServiceCards(page, tab), 1);
    return tab;
}

}  // namespace

QWidget* BuildEMailCard(TMainForm& form, QWidget* parent) {
    auto& page = form.EMail;
    auto* card = new QWidget(parent);
    auto* column = CardColumn(card);
    column->addWidget(MakeCheckBox(page.IfInviaEMailCheckBox, card));
    auto* tabs = new QTabWidget(card);
    tabs->addTab(ParametriTab(page, tabs), QStringLiteral("Parametri"));
    tabs->addTab(ServizioTab(page, tabs), QStringLiteral("Servizio"));
    BindPageControl(page.IfInviaEMailPageControl, tabs);
    column->addWidget(tabs, 1);
    return card;
}

}  // namespace calvorin
