// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/PageTree.h"

namespace calvorin {

PageTree::PageTree()
    : nodes_{
          {"Generale", 0, "GeneraleCard"},
          {"Invio formazione", 0, "InvioFormazioneCard"},
          {"Termine invio", 1, "IfTermineInvioCard"},
          {"Interfaccia", 1, "IfInterfacciaCard"},
          {"Regole", 1, "IfRegoleCard"},
          {"Invio e-mail", 1, "IfEMailCard"},
          {"Salvataggio su sito", 1, "IfSalvataggioSitoCard"},
          {"Inoltro a Telegram", 1, "IfTelegramCard"},
          {"Data e orari partite Serie A", 0, "DateOrariSerieACard"},
          {"Upload backup", 0, "BackupCard"},
      } {}

int PageTree::IndexOfCard(const std::string& card) const {
    for (size_t i = 0; i < nodes_.size(); ++i)
        if (nodes_[i].card == card) return static_cast<int>(i);
    return -1;
}

bool PageTree::Select(int index) {
    if (index < 0 || index >= static_cast<int>(nodes_.size()) || !nodes_[index].enabled) return false;
    if (selected_ != index) {
        selected_ = index;
        Notify();
    }
    return true;
}

void PageTree::SetEnabled(int index, bool enabled) {
    if (index < 0 || index >= static_cast<int>(nodes_.size()) || nodes_[index].enabled == enabled) return;
    nodes_[index].enabled = enabled;
    Notify();
}

void PageTree::RemoveFirst() {
    if (nodes_.size() < 2) return;
    nodes_.erase(nodes_.begin());
    selected_ = selected_ > 0 ? selected_ - 1 : 0;
    Notify();
}

}  // namespace calvorin
