// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugin/log/Log.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace calvorin {

void MemoryLogSink::AppendLine(const StyledLine& line) {
    for (const auto& segment : line.segments) text_ += segment.text;
    text_ += '\n';
    lines_.push_back(line);
}

std::string MemoryLogSink::LastLine() const {
    if (lines_.empty()) return {};
    std::string out;
    for (const auto& segment : lines_.back().segments) out += segment.text;
    size_t nl = out.rfind('\n');
    return nl == std::string::npos ? out : out.substr(nl + 1);
}

int ProgressState::Percent() const {
    if (total == 0 || done >= total) return 100;
    return static_cast<int>(static_cast<double>(done) * 100.0 / static_cast<double>(total));
}

std::string ProgressState::Text() const {
    char text[96];
    int n = std::snprintf(text, sizeof text, "%d%%", Percent());
    if (bytesPerSecond > 0 && n > 0)
        n += std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), " - %.1f MB/s",
                           bytesPerSecond / 1e6);
    if (secondsLeft >= 0 && n > 0) {
        const long long seconds = std::llround(std::min(secondsLeft, 359999.0));
        if (seconds >= 60) {
            std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n),
                          " - %lld min %02lld s rimanenti", seconds / 60, seconds % 60);
        } else {
            std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), " - %lld s rimanenti",
                          seconds);
        }
    }
    return text;
}

void Log::Progress(std::uint64_t done, std::uint64_t total) {
    constexpr auto kInterval = std::chrono::milliseconds(100);
    constexpr auto kBeforeSpeed = std::chrono::milliseconds(500);  // a speed from less is mostly noise
    const Clock::time_point now = Clock::now();
    if (!inProgress_) {
        inProgress_ = true;
        progressStart_ = now;
    } else if (now - lastReport_ < kInterval && done < total) {
        Checkpoint();  // a signal can come at any time, not only with the window's events
        return;
    }
    lastReport_ = now;
    ProgressState state{done, total, 0, -1};
    const std::chrono::duration<double> elapsed = now - progressStart_;
    if (now - progressStart_ >= kBeforeSpeed && done > 0) {
        state.bytesPerSecond = static_cast<double>(done) / elapsed.count();
        state.secondsLeft = done >= total ? 0 : static_cast<double>(total - done) / state.bytesPerSecond;
    }
    sink_->ShowProgress(state);
    if (afterLine_) afterLine_();
    Checkpoint();
}

void Log::EndProgress() {
    if (!inProgress_) return;
    inProgress_ = false;
    sink_->EndProgress();
}

int Log::WriteText(std::string_view text) {
    StyledLine line = ParseMarkup(text);
    sink_->AppendLine(line);
    if (afterLine_) afterLine_();
    return line.visibleCount;
}

void Log::WriteHeading(std::string_view title) {
    WriteLog("\n<navy><b>• %s</b></color>", title);
}

void Log::WriteOk(int indent, std::string_view detail) {
    std::string line(static_cast<std::size_t>(indent), ' ');
    line += OkText;
    if (!detail.empty()) {
        line += ": ";
        line += detail;
    }
    WriteText(line);
}

void Log::WriteWarning(int indent, std::string_view message) {
    std::string line(static_cast<std::size_t>(indent), ' ');
    line += "<maroon>Attenzione:</color> ";
    line += EscapeMarkup(FlattenMessage(message));
    WriteText(line);
}

void Log::WriteKo(int indent, std::string_view message) {
    std::string line(static_cast<std::size_t>(indent), ' ');
    line += KoText;
    line += ": ";
    lastKo_ = FlattenMessage(message);
    line += EscapeMarkup(lastKo_);
    WriteText(line);
}

}  // namespace calvorin
