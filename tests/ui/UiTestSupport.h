// SPDX-License-Identifier: GPL-3.0-or-later
// What the view tests share: the application object, a recording desktop, a failing transport and a
// window built on a form of a sample league.
#pragma once

#include <QApplication>
#include <QStackedWidget>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Desktop.h"
#include "app/form/MainForm.h"
#include "platform/fs/Files.h"
#include "platform/http/HttpTransport.h"
#include "support/TempDir.h"
#include "ui/Appearance.h"
#include "ui/LogPane.h"
#include "ui/MainWindow.h"
#include "ui/PageTreeView.h"

namespace calvorin::test {

// One application for the whole test program, never destroyed (widgets of every test are gone by exit).
inline void EnsureApplication() {
    static QApplication* app = [] {
        static int argc = 1;
        static char name[] = "calvorin-ui-test";
        static char* argv[] = {name, nullptr};
        auto* created = new QApplication(argc, argv);
        ApplyAppearance(*created);
        return created;
    }();
    (void)app;
}

// Records what the form asks of the desktop; pickers answer with what the test set.
class RecordingDesktop : public Desktop {
  public:
    void ShowError(const std::string& message) override { errors.push_back(message); }
    void SetBusy(bool busy) override { busyCalls.push_back(busy); }
    void ShowRunning(bool running) override {
        if (window) window->ShowRunning(running);
        runningCalls.push_back(running);
        if (onRunning) onRunning(running);
    }
    bool Confirm(const std::string& question) override {
        questions.push_back(question);
        return confirmAnswer;
    }
    void ProcessPendingEvents() override { QCoreApplication::processEvents(); }
    std::optional<std::string> BrowseFolder(const std::string& title, const std::string&) override {
        browseTitles.push_back(title);
        return folderAnswer;
    }
    std::optional<std::string> OpenFile(const std::string&, const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    bool ShowModal(OrariSerieAForm&) override {
        ++modalCalls;
        return false;
    }
    void CloseMainWindow() override { ++closeCalls; }

    std::vector<std::string> errors;
    std::vector<bool> busyCalls;
    std::vector<std::string> browseTitles;
    std::optional<std::string> folderAnswer;
    std::vector<bool> runningCalls;
    std::vector<std::string> questions;
    bool confirmAnswer = false;
    MainWindow* window = nullptr;  // greyed as the program's desktop greys it
    std::function<void(bool)>
        onRunning;  // runs inside ShowRunning: a run has started (true) or ended (false)
    int modalCalls = 0;
    int closeCalls = 0;
};

// No network in view tests: every request fails as an unreachable host would.
class ThrowingTransport : public HttpTransport {
  public:
    HttpResponse Get(const std::string&) override {
        throw HttpError("Impossibile risolvere il nome del server");
    }
};

inline const LocalDateTime kFixedNow = *LocalDateTime::FromParts({2025, 3, 14, 15, 9, 26});

// The form of a sample league (no settings file: design values) and its window, shown offscreen.
// Members are declared so that the window is destroyed before the form it is bound to.
class WindowHarness {
  public:
    // The program builds a page when it is first shown; most tests want every page's widgets at hand.
    enum class Pages { kAll, kOnShow };
    explicit WindowHarness(const char* extended = nullptr, Pages pages = Pages::kAll) {
        EnsureApplication();
        std::string root = dir.path().string();
        std::filesystem::create_directories(dir.path() / "FCM" / "Leghe");
        WriteFileAtomic(dir.path() / "FCM" / "Leghe" / "Lega-1-2025.db", "");
        bool created = form.FormCreate(
            {"/l=" + root + "/FCM/Leghe/Lega-1-2025.db", "/s=x", "/c=" + root + "/site"}, extended);
        if (!created) throw std::runtime_error("sample arguments refused");
        window = std::make_unique<MainWindow>();
        sink.Attach(&window->Log(), &window->Progress());
        window->Build(form);
        desktop.window = window.get();
        form.FormShow();
        window->ShowForm();
        if (pages == Pages::kAll) window->BuildAllPages();
    }
    ~WindowHarness() {
        desktop.window = nullptr;
        window.reset();
        sink.Attach(nullptr);
    }

    template <typename W = QWidget>
    W* Find(const std::string& name) const {
        return window->findChild<W*>(QString::fromStdString(name));
    }
    // The card the stack shows.
    std::string ShownCard() const { return window->Cards()->currentWidget()->objectName().toStdString(); }
    QTreeWidgetItem* Node(const std::string& text) const {
        auto items =
            window->Tree()->findItems(QString::fromStdString(text), Qt::MatchExactly | Qt::MatchRecursive);
        return items.isEmpty() ? nullptr : items.first();
    }

    TempDir dir;
    RecordingDesktop desktop;
    LogPaneSink sink;
    Log log{sink};
    ThrowingTransport http;
    TMainForm form{FormServices{desktop, log, http, [] { return kFixedNow; }}};
    std::unique_ptr<MainWindow> window;
};

}  // namespace calvorin::test
