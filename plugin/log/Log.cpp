// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugin/log/Log.h"

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

void Log::WriteKo(int indent, std::string_view message) {
    std::string line(static_cast<std::size_t>(indent), ' ');
    line += KoText;
    line += ": ";
    line += EscapeMarkup(FlattenMessage(message));
    WriteText(line);
}

}  // namespace calvorin
