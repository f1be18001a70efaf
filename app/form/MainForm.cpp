// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/MainForm.h"

#include <filesystem>
#include <sstream>

#include "app/form/OrariSerieAForm.h"
#include "app/startup/Arguments.h"
#include "platform/fs/Files.h"
#include "platform/fs/WinePath.h"
#include "platform/os/Folder.h"
#include "platform/os/NativeFile.h"
#include "platform/os/Process.h"
#include "plugin/log/Markup.h"

namespace calvorin {
namespace {

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, ',');) parts.push_back(part);
    return parts;
}

// The separator under the banner: as many macrons as the banner has visible characters.
std::string Macrons(int count) {
    std::string line;
    for (int i = 0; i < count; ++i) line += "¯";
    return line;
}

constexpr const char* kInvalidArguments = "Argomenti non validi";

// Started from the desktop's menu rather than by FCM: the president points at what FCM would have passed.
// Empty when either picker is cancelled.
std::vector<std::string> ArgumentsFromPickers(Desktop& desktop) {
    const std::optional<std::string> league =
        desktop.OpenFile("File di lega di FCM (*.mdb)|*.mdb|Copie SQLite (*.db)|*.db", "mdb", "", "");
    if (!league) return {};
    const std::optional<std::string> site = desktop.BrowseFolder("Cartella del sito della lega", "");
    if (!site) return {};
    return {"/l=" + *league, "/s=menu", "/c=" + *site};
}

}  // namespace

TMainForm::TMainForm(FormServices services)
    : EmailServiceIds(SplitCommas("phpmail,smtp,brevo,mailjet,sendgrid")),
      OrariSerieADialog(std::make_unique<OrariSerieAForm>(services.http)),
      services_(services) {
    services_.log.SetStopRequest(&stop_);
    OkButton.SetText("OK");
    OkButton.SetHint("Avvia la procedura di generazione dei dati");
    CancelButton.SetText("Annulla");
    CancelButton.SetHint("Esce dal plug-in");
    BindHandlers();
}

TMainForm::~TMainForm() {
    services_.log.SetStopRequest(nullptr);
}

// The view runs these from its event loop, which no exception may leave: a failure becomes a message.
void TMainForm::BindHandlers() {
    InvioFormazione.InvioFormazioneCheckBox.onClick = Guarded([this] { InvioFormazioneCheckBoxClick(); });
    TermineInvio.IfControllaOrarioCheckBox.onClick = Guarded([this] { IfControllaOrarioCheckBoxClick(); });
    TermineInvio.IfDateOrariLinkLabel.onClick = Guarded([this] { IfDateOrariLinkLabelLinkClick(); });
    EMail.IfInviaEMailCheckBox.onClick = Guarded([this] { IfInviaEMailCheckBoxClick(); });
    EMail.IfServizioEMailComboBox.onChange = Guarded([this] { IfServizioEMailComboBoxChange(); });
    Telegram.IfInoltraATelegramCheckBox.onClick = Guarded([this] { IfInoltraATelegramCheckBoxClick(); });
    DateOrari.EsportaDateOrariCheckBox.onClick = Guarded([this] { EsportaDateOrariCheckBoxClick(); });
    DateOrari.DoAggiornaButton.onClick = Guarded([this] { DoAggiornaButtonClick(true); });
    DateOrari.DoImpostazioniButton.onClick = Guarded([this] { DoImpostazioniButtonClick(); });
    Backup.BackupCheckBox.onClick = Guarded([this] { BackupCheckBoxClick(); });
    Backup.BkUltimoCheckBox.onClick = Guarded([this] { BkUltimoCheckBoxClick(); });
    Backup.BkSoloLegaCheckBox.onClick = Guarded([this] { BkUltimoCheckBoxClick(); });
    Backup.BkDirEdit.onButtonClick = Guarded([this] { BkDirEditButtonClick(); });
    Backup.EsportazioneCheckBox.onClick = Guarded([this] { EsportazioneCheckBoxClick(); });
    Backup.EsFilenameEdit.onButtonClick = Guarded([this] { EsFilenameEditButtonClick(); });
    OkButton.onClick = Guarded([this] { OkButtonClick(); });
    // Annulla is the one control that answers during a run: it asks whether to stop it.
    CancelButton.onClick = Reported([this] { CancelButtonClick(); });
}

std::function<void()> TMainForm::Reported(std::function<void()> handler) {
    return [this, handler = std::move(handler)] {
        try {
            handler();
        } catch (const std::exception& e) {
            desktop().ShowError(e.what());
        }
    };
}

// A run takes its options when it starts; input the desktop delivers while it lasts changes nothing.
std::function<void()> TMainForm::Guarded(std::function<void()> handler) {
    return [this, handler = Reported(std::move(handler))] {
        if (!running_) handler();
    };
}

bool TMainForm::FormCreate(const std::vector<std::string>& arguments, const char* extendedVariable) {
    ProgramFolder = PathText(ProgramPath().parent_path());
    Context.Version = ReadVersionText();
    Context.Extended = ExtendedFromEnvironment(extendedVariable);
    const std::vector<std::string> given = arguments.empty() ? ArgumentsFromPickers(desktop()) : arguments;
    if (given.empty()) return false;
    ParseArguments(Context, given);
    ignoredArguments_ = UnknownArguments(given);
    const std::vector<std::string> problems = ArgumentProblems(Context);
    if (problems.empty()) return LockLeague();
    std::string message = kInvalidArguments;
    for (const std::string& problem : problems) message += "\n- " + problem;
    services_.desktop.ShowError(message + "\nPer l'uso: calvorin --help");
    return false;
}

// One Calvorin per league at a time: a second one would clean away the first one's temporaries and race
// it for the same files. A lock that cannot be made at all (a read-only FCM folder) does not stop the
// program: it would then only lose what it protects.
bool TMainForm::LockLeague() {
    const std::string shown = JoinPathText(Context.FcmFolder, {"plugin"});
    const std::filesystem::path folder = PathFromText(shown);
    if (CreateFolders(folder)) return true;
    const SystemError error = NativeFile::OpenLocked(
        folder / Utf8Path("Calvorin_" + Context.LeagueBaseName + ".lock"), leagueLock_);
    if (KindOf(error) != ErrorKind::Busy) return true;
    desktop().ShowError("Un'altra esecuzione di Calvorin è in corso su questa lega:\n" + Context.LeagueFile +
                        "\nAttendere che finisca, o chiudere l'altra finestra di Calvorin.");
    return false;
}

void TMainForm::FormShow() {
    Caption = std::string(kApplicationTitle) + (Context.Extended ? "(EX)" : "");
    SelectNode(0);
    int visible = log().WriteLog("<b>%s</b> versione %s", kApplicationTitle, Context.Version);
    log().WriteLog("%s", Macrons(visible));
    // FCM may pass options of later versions: they are named, not refused.
    if (!ignoredArguments_.empty()) {
        std::string names;
        for (const std::string& argument : ignoredArguments_) names += (names.empty() ? "" : " ") + argument;
        log().WriteLog("<i>Argomenti sconosciuti, ignorati: %s</i>", EscapeMarkup(names));
    }
    LoadHostSettings();
    LoadSettings();
    if (Orari.AggiornaAvvio) DoAggiornaButtonClick(false);
    if (!Context.Extended) TreeView.RemoveFirst();
    Telegram.IfModalitaTelegramComboBox.SetVisible(Context.Extended);
    Telegram.IfModalitaTelegramLabel.SetVisible(Context.Extended);
}

bool TMainForm::TreeViewChanging(int index) const {
    const auto& nodes = TreeView.Nodes();
    return index >= 0 && index < static_cast<int>(nodes.size()) && nodes[index].enabled;
}

bool TMainForm::SelectNode(int index) {
    return TreeViewChanging(index) && TreeView.Select(index);
}

void TMainForm::IfDateOrariLinkLabelLinkClick() {
    SelectNode(TreeView.IndexOfCard("DateOrariSerieACard"));
}

void TMainForm::CancelButtonClick() {
    if (running_) {
        AskToStop();
        return;
    }
    services_.desktop.CloseMainWindow();
}

bool TMainForm::CloseRequested() {
    if (!running_) return true;
    AskToStop();
    return false;
}

// The run waits while the question is open: it is asked from inside the run's own event processing.
void TMainForm::AskToStop() {
    if (askingToStop_ || stop_.Requested()) return;
    askingToStop_ = true;
    const bool stop = desktop().Confirm("Interrompere la procedura?");
    askingToStop_ = false;
    if (stop && running_) stop_.Request(StopCause::User);
}

}  // namespace calvorin
