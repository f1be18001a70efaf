// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop that records what the window asked of it, with answers set by the test.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Desktop.h"
#include "platform/http/HttpTransport.h"

namespace calvorin::test {

class FakeDesktop : public Desktop {
  public:
    void ShowError(const std::string& message) override {
        errors.push_back(message);
        busyAtErrors.push_back(busyNow);
    }
    void SetBusy(bool busy) override {
        busyNow = busy;
        busyChanges.push_back(busy);
    }
    void ShowRunning(bool running) override {
        busyNow = running;
        runningChanges.push_back(running);
    }
    bool Confirm(const std::string& question) override {
        questions.push_back(question);
        return confirmAnswer;
    }
    void ProcessPendingEvents() override {
        ++pendingEventCalls;
        if (onPendingEvents) onPendingEvents();
    }
    std::optional<std::string> BrowseFolder(const std::string& title, const std::string& start) override {
        lastPickerTitle = title;
        lastPickerStart = start;
        return nextFolder;
    }
    std::optional<std::string> OpenFile(const std::string& filter, const std::string&,
                                        const std::string& folder, const std::string& file) override {
        lastFilter = filter;
        lastPickerStart = folder;
        lastPickerFile = file;
        return nextFile;
    }
    bool ShowModal(OrariSerieAForm& dialog) override { return onModal ? onModal(dialog) : false; }
    void CloseMainWindow() override { ++closeCalls; }

    std::vector<std::string> errors;
    std::vector<bool> busyChanges;     // the busy cursor alone, outside a run
    std::vector<bool> runningChanges;  // a run's start and end
    std::vector<std::string> questions;
    bool confirmAnswer = false;
    std::vector<bool> busyAtErrors;  // whether the busy cursor showed when each error box opened
    bool busyNow = false;            // the busy cursor shows, alone or with a run
    int pendingEventCalls = 0;
    int closeCalls = 0;
    std::optional<std::string> nextFolder, nextFile;
    std::string lastPickerTitle, lastPickerStart, lastPickerFile, lastFilter;
    std::function<bool(OrariSerieAForm&)> onModal;  // what the user does in the dialog; true = OK
    std::function<void()> onPendingEvents;          // input the user gives while the window processes events
};

// A transport for tests that must not reach any service: every request fails.
class NoNetwork : public HttpTransport {
  public:
    HttpResponse Get(const std::string& url) override {
        ++requests;
        throw HttpError("rete non disponibile nei test: " + url);
    }
    int requests = 0;
};

}  // namespace calvorin::test
