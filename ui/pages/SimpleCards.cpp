// SPDX-License-Identifier: GPL-3.0-or-later
// The pages that are a plain column of tick boxes and fields.
#include <QBoxLayout>

#include "app/form/MainForm.h"
#include "ui/Bindings.h"
#include "ui/EditBinding.h"
#include "ui/pages/Cards.h"

namespace calvorin {
namespace {

QWidget* CheckBoxCard(std::initializer_list<CheckBox*> boxes, QWidget* parent) {
    auto* card = new QWidget(parent);
    auto* column = CardColumn(card);
    for (CheckBox* box : boxes) column->addWidget(MakeCheckBox(*box, card));
    column->addStretch();
    return card;
}

}  // namespace

QVBoxLayout* CardColumn(QWidget* widget) {
    auto* column = new QVBoxLayout(widget);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    return column;
}

QWidget* BuildGeneraleCard(TMainForm& form, QWidget* parent) {
    return CheckBoxCard({&form.Generale.gnDisabilitaJsVariabiliCheckBox}, parent);
}

QWidget* BuildInvioFormazioneCard(TMainForm& form, QWidget* parent) {
    auto& page = form.InvioFormazione;
    auto* card = new QWidget(parent);
    auto* column = CardColumn(card);
    column->addWidget(MakeCheckBox(page.InvioFormazioneCheckBox, card));
    column->addWidget(MakeEdit(page.IfScriptServerEdit, card).box);
    column->addStretch();
    return card;
}

QWidget* BuildInterfacciaCard(TMainForm& form, QWidget* parent) {
    auto& page = form.Interfaccia;
    return CheckBoxCard({&page.IfDisabilitaGiornataCheckBox, &page.IfDisabilitaIncontriCheckBox,
                         &page.IfNascondiComunicazioniCheckBox},
                        parent);
}

QWidget* BuildRegoleCard(TMainForm& form, QWidget* parent) {
    auto& page = form.Regole;
    return CheckBoxCard(
        {&page.IfPanchinaOrdinataCheckBox, &page.IfRegolaPanchinaCheckBox, &page.IfRegolaRigoristiCheckBox,
         &page.IfPrimaveraCheckBox, &page.IfTrequartistiCheckBox},
        parent);
}

QWidget* BuildSalvataggioSitoCard(TMainForm& form, QWidget* parent) {
    return CheckBoxCard({&form.SalvataggioSito.IfSalvaSuSitoCheckBox}, parent);
}

}  // namespace calvorin
