// SPDX-License-Identifier: GPL-3.0-or-later
// The log every step writes to: formats a line, parses its markup and hands it to a sink.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/StopRequest.h"
#include "plugin/log/Format.h"
#include "plugin/log/Markup.h"

namespace calvorin {

// How far a long step has come, as the log reports it to its sink.
struct ProgressState {
    std::uint64_t done = 0;
    std::uint64_t total = 0;
    double bytesPerSecond = 0;  // 0 until enough time has passed to tell
    double secondsLeft = -1;    // -1 while unknown

    // Whole percent done, 0 to 100 (100 for an empty total).
    int Percent() const;
    // Percent, then speed and time left once known: "45% - 12.3 MB/s - 8 s rimanenti".
    std::string Text() const;
};

// Where styled log lines end up: the window's pane, the terminal, or memory in tests.
class LogSink {
  public:
    virtual ~LogSink() = default;
    // Appends one line (its segments may hold line feeds) and a final line break.
    virtual void AppendLine(const StyledLine& line) = 0;
    // Shows how far the running step is, replacing what the last call showed; nothing by default.
    virtual void ShowProgress(const ProgressState&) {}
    // Removes what ShowProgress showed.
    virtual void EndProgress() {}
};

// Keeps every line in memory, for tests and for callers that want the plain text.
class MemoryLogSink : public LogSink {
  public:
    void AppendLine(const StyledLine& line) override;
    // The plain text written so far, every call ending with "\n".
    const std::string& Text() const { return text_; }
    const std::vector<StyledLine>& Lines() const { return lines_; }
    // The plain text of the last call, without its final line break.
    std::string LastLine() const;

  private:
    std::string text_;
    std::vector<StyledLine> lines_;
};

class Log {
  public:
    // `afterLine` runs after each line: the window uses it to process pending events.
    explicit Log(LogSink& sink, std::function<void()> afterLine = {})
        : sink_(&sink), afterLine_(std::move(afterLine)) {}

    // Formats printf-style (see Format), writes the result with its markup as one or more lines, and
    // returns the number of visible characters written, not counting the final line break.
    template <typename... Args>
    int WriteLog(std::string_view format, const Args&... args) {
        return WriteText(Format(format, {FormatArg(args)...}));
    }

    // Writes an already formatted text with its markup.
    int WriteText(std::string_view text);

    // Writes the heading of a step: a blank line, then "• " and the title in bold navy. The title is
    // markup (a file name in it may be in italics); text from outside goes in escaped.
    void WriteHeading(std::string_view title);

    // Writes a green "OK" after `indent` spaces, then ": " and `detail` (markup) when there is one.
    void WriteOk(int indent, std::string_view detail = {});

    // Writes a maroon "Attenzione: " after `indent` spaces, then the message on one line, escaped: what went
    // wrong without undoing what the step did.
    void WriteWarning(int indent, std::string_view message);

    // Writes a red "KO: " after `indent` spaces, then the error message on one line, escaped.
    void WriteKo(int indent, std::string_view message);
    // The message of the last KO written, flattened to one line; "" when there was none.
    const std::string& LastKo() const { return lastKo_; }

    // Reports that `done` of `total` bytes of the running step are through. The sink hears of it at most
    // ten times a second, and always when the step is complete; each report also lets the window process
    // its events, as a line does. The first call starts the clock for the speed and the time left. It is
    // a safe point too: throws RunStopped as Checkpoint does.
    void Progress(std::uint64_t done, std::uint64_t total);
    // Ends the report of the running step (a step that fails ends it too, by calling this).
    void EndProgress();

    // The request the steps obey at their safe points; none (the default) never stops them.
    void SetStopRequest(const StopRequest* stop) { stop_ = stop; }
    // A safe point of the running step: throws RunStopped once a stop has been requested.
    void Checkpoint() const {
        if (stop_ && stop_->Requested()) throw RunStopped(stop_->Cause());
    }

  private:
    using Clock = std::chrono::steady_clock;

    LogSink* sink_;
    std::function<void()> afterLine_;
    const StopRequest* stop_ = nullptr;
    bool inProgress_ = false;
    std::string lastKo_;
    Clock::time_point progressStart_, lastReport_;
};

}  // namespace calvorin
