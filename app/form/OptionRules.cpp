// SPDX-License-Identifier: GPL-3.0-or-later
// The rules by which one option enables or disables others.
#include "app/form/MainForm.h"

namespace calvorin {
namespace {

// A tick box counts as on only when enabled and ticked.
bool On(const CheckBox& box) {
    return box.Enabled() && box.Checked();
}

void EnableAll(std::initializer_list<Control*> controls, bool enabled) {
    for (Control* c : controls) c->SetEnabled(enabled);
}

}  // namespace

// The deadline, e-mail and Telegram boxes are never disabled, but their pages can only be reached while
// line-up submission is on: when it is off they count as off, so options the user can no longer see or
// change neither enable other controls nor block a run.
bool TMainForm::LineupOptionOn(const CheckBox& box) const {
    return InvioFormazione.InvioFormazioneCheckBox.Checked() && On(box);
}

void TMainForm::SetChildNodesEnabled(bool enabled) {
    int parent = TreeView.IndexOfCard("InvioFormazioneCard");
    for (int i = parent + 1; i < static_cast<int>(TreeView.Nodes().size()) && TreeView.Nodes()[i].level > 0;
         ++i)
        TreeView.SetEnabled(i, enabled);
}

void TMainForm::InvioFormazioneCheckBoxClick() {
    bool v = InvioFormazione.InvioFormazioneCheckBox.Checked();
    InvioFormazione.IfScriptServerEdit.SetEnabled(v);
    SetChildNodesEnabled(v);
    IfControllaOrarioCheckBoxClick();
    IfInviaEMailCheckBoxClick();
    IfInoltraATelegramCheckBoxClick();
    ApplyOkRule();
}

void TMainForm::SetStartTimeControlsEnabled() {
    bool e = LineupOptionOn(TermineInvio.IfControllaOrarioCheckBox) ||
             DateOrari.EsportaDateOrariCheckBox.Checked();
    EnableAll({&DateOrari.DoOrariEditor, &DateOrari.DoAggiornaButton, &DateOrari.DoImpostazioniButton}, e);
}

void TMainForm::IfControllaOrarioCheckBoxClick() {
    auto& p = TermineInvio;
    EnableAll(
        {&p.IfDateOrariLinkLabel, &p.IfDateOrariLabel, &p.IfAnticipoInvioLabel, &p.IfAnticipoInvioNumberBox},
        LineupOptionOn(p.IfControllaOrarioCheckBox));
    SetStartTimeControlsEnabled();
}

void TMainForm::IfInviaEMailCheckBoxClick() {
    auto& p = EMail;
    EnableAll(
        {&p.IfInviaEMailPageControl, &p.IfMittenteEMailEdit, &p.IfIndirizzoPresidenteEdit,
         &p.IfEMailAvversarioCheckBox, &p.IfEMailPresidenteCheckBox, &p.IfEMailTuttiCheckBox,
         &p.IfEMailSeStessiCheckBox, &p.IfEMailRidottaCheckBox, &p.IfServizioEMailLabel,
         &p.IfServizioEMailComboBox, &p.IfSmtpHostEdit, &p.IfSmtpPortaLabel, &p.IfSmtpPortaNumberBox,
         &p.IfSmtpSicurezzaLabel, &p.IfSmtpSicurezzaComboBox, &p.IfSmtpUsernameEdit, &p.IfSmtpPasswordEdit},
        LineupOptionOn(p.IfInviaEMailCheckBox));
    IfServizioEMailComboBoxChange();
}

void TMainForm::IfInoltraATelegramCheckBoxClick() {
    auto& p = Telegram;
    EnableAll({&p.IfTokenTelegramEdit, &p.IfChatIdTelegramEdit, &p.IfModalitaTelegramLabel,
               &p.IfModalitaTelegramComboBox},
              LineupOptionOn(p.IfInoltraATelegramCheckBox));
}

void TMainForm::IfServizioEMailComboBoxChange() {
    int index = EMail.IfServizioEMailComboBox.ItemIndex();
    if (index >= 0) EMail.IfServizioEMailCardPanel.SetActiveCard(index);
}

void TMainForm::EsportaDateOrariCheckBoxClick() {
    SetStartTimeControlsEnabled();
    ApplyOkRule();
}

void TMainForm::ApplyOkRule() {
    OkButton.SetEnabled(InvioFormazione.InvioFormazioneCheckBox.Checked() ||
                        DateOrari.EsportaDateOrariCheckBox.Checked() || Backup.BackupCheckBox.Checked() ||
                        Backup.EsportazioneCheckBox.Checked());
}

}  // namespace calvorin
