// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a toolkit-neutral model: its pages of controls, members and event handlers.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Desktop.h"
#include "app/form/PageTree.h"
#include "app/form/Pages.h"
#include "platform/os/NativeFile.h"
#include "platform/os/StopRequest.h"
#include "plugin/PluginContext.h"
#include "plugin/log/Log.h"
#include "starttimes/LocalDateTime.h"
#include "starttimes/StartTimeTable.h"

namespace calvorin {

class HttpTransport;
class IniFile;
struct RunPlan;

// How the last press of "OK" ended.
enum class RunOutcome { None, Invalid, Cancelled, SaveFailed, Succeeded };
class OrariSerieAForm;

// What the window is given from outside. The transport is the update service's HTTP client.
struct FormServices {
    Desktop& desktop;
    Log& log;
    HttpTransport& http;
    Clock clock = SystemNow;
};

// The controls are the live settings model: the settings file is loaded into them, the generators read
// them when they run, and they are saved back after a successful run. Handlers keep the window's names.
class TMainForm {
  public:
    explicit TMainForm(FormServices services);
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // Start-up: fills the context from the environment value of "Calvorin_extended" (null when unset)
    // and the arguments. Invalid arguments show "Argomenti non validi" and return false; the caller then
    // quits without showing the window. Without any argument (started from the menu) the league file and
    // the site folder are asked for with the pickers; cancelling either returns false with no message.
    bool FormCreate(const std::vector<std::string>& arguments, const char* extendedVariable);

    // Showing: caption, tree, banner, FCM's and the plug-in's settings, the automatic start-time update,
    // the extended-mode changes.
    void FormShow();

    // Navigation: a disabled node cannot be selected (returns false, the page stays).
    bool TreeViewChanging(int index) const;
    bool SelectNode(int index);
    void IfDateOrariLinkLabelLinkClick();

    // Option rules, run on every change of their tick box.
    void InvioFormazioneCheckBoxClick();
    void IfControllaOrarioCheckBoxClick();
    void IfInviaEMailCheckBoxClick();
    void IfInoltraATelegramCheckBoxClick();
    void IfServizioEMailComboBoxChange();
    void EsportaDateOrariCheckBoxClick();
    void ApplyOkRule();

    // Upload page: sources of the archives.
    void BackupCheckBoxClick();
    void BkUltimoCheckBoxClick();
    void BkDirEditButtonClick();
    void EsportazioneCheckBoxClick();
    void EsFilenameEditButtonClick();

    // Start-time page.
    std::string DoOrariEditorGetEditMask(int column, int row) const;
    // Stores a committed grid edit, or keeps the cell as it was and returns why ("" when stored).
    std::string DoOrariEditorValidate(int column, int row, const std::string& key, const std::string& value);
    void DoAggiornaButtonClick(bool byUser);
    void DoImpostazioniButtonClick();

    // Settings files.
    void LoadHostSettings();
    void LoadSettings();
    // The keys of the settings file as the controls hold them now.
    IniFile SettingsSnapshot();
    // Saves what the controls hold now, or `values`.
    void SaveSettings();
    void SaveSettings(const IniFile& values);

    // Buttons. OK runs the procedure with the options of that moment; while it runs every other handler
    // is refused, and Annulla asks whether to stop it (at its next safe point).
    void OkButtonClick();
    void CancelButtonClick();
    // The window's close box: true when the window may close now; during a run it asks as Annulla does.
    bool CloseRequested();
    bool Running() const { return running_; }
    // What stops the run: Annulla sets it, and /batch gives it to the signals.
    StopRequest& Stop() { return stop_; }
    RunOutcome LastRunOutcome() const { return lastOutcome_; }

    // Why the settings file could not be used when it was loaded (defaults were taken): unreadable, not
    // a file, or no settings of ours; nothing when it was fine or missing.
    const std::optional<std::string>& SettingsProblem() const { return settingsProblem_; }

    // Paths of the per-league settings file and its two older locations.
    std::string SettingsFilePath() const;

    PluginContext Context;
    // Folder of the running program, where older versions kept a single settings file.
    std::string ProgramFolder;
    std::string Caption;
    PageTree TreeView;
    GeneralePage Generale;
    InvioFormazionePage InvioFormazione;
    TermineInvioPage TermineInvio;
    InterfacciaPage Interfaccia;
    RegolePage Regole;
    EMailPage EMail;
    SalvataggioSitoPage SalvataggioSito;
    TelegramPage Telegram;
    DateOrariPage DateOrari;
    BackupPage Backup;
    Button OkButton{"OkButton"};
    Button CancelButton{"CancelButton"};
    // Identifiers of the e-mail services; index = item of IfServizioEMailComboBox = service card.
    std::vector<std::string> EmailServiceIds;
    // OrariSerieA, UltimaModificaManuale, UrlServizio, AggiornaAvvio.
    StartTimeTable Orari;
    std::unique_ptr<OrariSerieAForm> OrariSerieADialog;

    Log& log() { return services_.log; }
    Desktop& desktop() { return services_.desktop; }

  private:
    void BindHandlers();
    // The handler with its failure shown in a message box; Guarded also refuses it during a run.
    std::function<void()> Reported(std::function<void()> handler);
    std::function<void()> Guarded(std::function<void()> handler);
    bool LineupOptionOn(const CheckBox& box) const;
    void SetChildNodesEnabled(bool enabled);
    void SetStartTimeControlsEnabled();
    void ShowGridRow(int row);
    bool LockLeague();
    bool RunProcedure(const RunPlan& plan);
    void AskToStop();

    FormServices services_;
    bool running_ = false;
    bool askingToStop_ = false;
    std::optional<std::string> settingsProblem_;
    bool keepBeforeSaving_ = false;  // the settings file held something unusable: keep it as .bak
    StopRequest stop_;
    NativeFile leagueLock_;  // held open, the lock on the league, for as long as the window lives
    std::vector<std::string> ignoredArguments_;  // named in the log when the window is shown
    RunOutcome lastOutcome_ = RunOutcome::None;
};

}  // namespace calvorin
