// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run/Validation.h"

#include <functional>

#include "app/form/MainForm.h"
#include "platform/fs/Files.h"
#include "platform/fs/WinePath.h"
#include "platform/text/Trim.h"

namespace calvorin {
namespace {

bool EnabledAndEmpty(const Edit& edit) {
    return edit.Enabled() && edit.Text().empty();
}

// A path that cannot be mapped (a drive Wine lacks, a network path) names nothing that exists.
bool FolderExists(const std::string& text) {
    return !PathTextProblem(text) && DirectoryExists(PathFromText(text));
}

bool RegularFileExists(const std::string& text) {
    return !PathTextProblem(text) && FileExists(PathFromText(text));
}

// The path, and why it cannot be reached when that is more than its absence.
std::string PathAndProblem(const std::string& text) {
    auto problem = PathTextProblem(text);
    return problem ? text + "\n" + *problem : text;
}

struct ValidationRule {
    std::function<bool(const TMainForm&)> fails;
    std::function<std::string(const TMainForm&)> message;
};

std::function<std::string(const TMainForm&)> Fixed(const char* text) {
    return [text](const TMainForm&) { return std::string(text); };
}

const std::vector<ValidationRule>& Rules() {
    static const std::vector<ValidationRule> rules{
        {[](const TMainForm& f) { return EnabledAndEmpty(f.InvioFormazione.IfScriptServerEdit); },
         Fixed("Il percorso dello script server-side non è valido.\nSpecificare un altro percorso.")},
        // The e-mail rules apply while e-mail sending is on: with it off their fields cannot be reached.
        {[](const TMainForm& f) {
             const auto& e = f.EMail;
             return e.IfEMailPresidenteCheckBox.Enabled() && e.IfEMailPresidenteCheckBox.Checked() &&
                    !e.IfIndirizzoPresidenteAutoCheckBox.Checked() &&
                    e.IfIndirizzoPresidenteEdit.Text().empty();
         },
         Fixed(
             "L'indirizzo e-mail del presidente di lega non è valido.\nSpecificare un altro indirizzo o impostare l'opzione \"Auto\" per ricercarlo fra quelli dei fantallenatori.")},
        {[](const TMainForm& f) {
             return f.EMail.IfServizioEMailCardPanel.ActiveCard() == kSmtpCard &&
                    EnabledAndEmpty(f.EMail.IfSmtpHostEdit);
         },
         Fixed("L'indirizzo del server SMTP non è valido.\nSpecificare un altro indirizzo.")},
        {[](const TMainForm& f) { return EnabledAndEmpty(f.Telegram.IfTokenTelegramEdit); },
         Fixed("Il token di autenticazione del bot di Telegram non è valido.\nSpecificare un altro token.")},
        {[](const TMainForm& f) { return EnabledAndEmpty(f.Telegram.IfChatIdTelegramEdit); },
         Fixed("Il Chat id del gruppo Telegram non è valido.\nSpecificare un altro Chat id.")},
        // A password of blanks alone would publish unprotected archives: it counts as no password.
        {[](const TMainForm& f) {
             return f.Backup.BackupPasswordEdit.Enabled() &&
                    TrimView(f.Backup.BackupPasswordEdit.Text()).empty();
         },
         Fixed(
             "Non è possibile fare un upload sul sito del backup o del file di esportazione senza proteggerli da password.\nInserire una password nel campo 'Password degli archivi ZIP'.")},
        {[](const TMainForm& f) {
             return f.Backup.BackupCheckBox.Checked() && !FolderExists(f.Backup.BkDirEdit.Text());
         },
         [](const TMainForm& f) {
             return "La cartella sorgente del backup non esiste.\n" +
                    PathAndProblem(f.Backup.BkDirEdit.Text()) + "\nSpecificare una cartella valida.";
         }},
        {[](const TMainForm& f) {
             return f.Backup.EsportazioneCheckBox.Checked() &&
                    !RegularFileExists(f.Backup.EsFilenameEdit.Text());
         },
         [](const TMainForm& f) {
             return "Il file sorgente dell'esportazione non esiste.\n" +
                    PathAndProblem(f.Backup.EsFilenameEdit.Text()) + "\nSpecificare un file valido.";
         }},
    };
    return rules;
}

}  // namespace

void TidyOptions(TMainForm& f) {
    for (Edit* edit : {&f.InvioFormazione.IfScriptServerEdit, &f.EMail.IfIndirizzoPresidenteEdit,
                       &f.EMail.IfMittenteEMailEdit, &f.EMail.IfSmtpHostEdit, &f.Telegram.IfTokenTelegramEdit,
                       &f.Telegram.IfChatIdTelegramEdit, &f.Backup.BkDirEdit, &f.Backup.EsFilenameEdit})
        edit->SetText(Trim(edit->Text()));
}

std::optional<std::string> FirstValidationFailure(const TMainForm& form) {
    for (const auto& rule : Rules())
        if (rule.fails(form)) return rule.message(form);
    return std::nullopt;
}

}  // namespace calvorin
