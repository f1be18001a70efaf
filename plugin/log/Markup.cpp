// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugin/log/Markup.h"

#include <array>
#include <utility>

#include "platform/text/Trim.h"
#include "platform/text/Utf8.h"
#include "platform/text/VisibleControls.h"

namespace calvorin {
namespace {

struct NamedColor {
    std::string_view name;
    Rgb rgb;
};

constexpr std::array<NamedColor, 22> kColors{{
    {"black", {0, 0, 0}},
    {"maroon", {128, 0, 0}},
    {"green", {0, 128, 0}},
    {"olive", {128, 128, 0}},
    {"navy", {0, 0, 128}},
    {"purple", {128, 0, 128}},
    {"teal", {0, 128, 128}},
    {"gray", {128, 128, 128}},
    {"silver", {192, 192, 192}},
    {"red", {255, 0, 0}},
    {"lime", {0, 255, 0}},
    {"yellow", {255, 255, 0}},
    {"blue", {0, 0, 255}},
    {"fuchsia", {255, 0, 255}},
    {"aqua", {0, 255, 255}},
    {"ltgray", {211, 211, 211}},
    {"dkgray", {96, 96, 96}},
    {"white", {255, 255, 255}},
    {"moneygreen", {192, 220, 192}},
    {"skyblue", {166, 202, 240}},
    {"cream", {255, 251, 240}},
    {"medgray", {160, 160, 164}},
}};

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    for (size_t pos; (pos = text.find(from)) != std::string_view::npos;
         text.remove_prefix(pos + from.size())) {
        out.append(text.substr(0, pos));
        out.append(to);
    }
    out.append(text);
    return out;
}

void ApplyTag(std::string_view rawTag, LogStyle& style) {
    std::string tag = AsciiLower(rawTag);
    static constexpr std::array<std::pair<std::string_view, bool LogStyle::*>, 4> kFlags{
        {{"b", &LogStyle::bold},
         {"i", &LogStyle::italic},
         {"u", &LogStyle::underline},
         {"s", &LogStyle::strikeOut}}};
    for (auto [name, flag] : kFlags) {
        if (tag == name) style.*flag = true;
        if (tag.size() == name.size() + 1 && tag[0] == '/' && tag.substr(1) == name) style.*flag = false;
    }
    if (tag == "/color") style.color.reset();
    if (auto rgb = LogColorByName(tag)) style.color = rgb;
}

}  // namespace

std::optional<Rgb> LogColorByName(std::string_view name) {
    for (const auto& c : kColors)
        if (c.name == name) return c.rgb;
    return std::nullopt;
}

StyledLine ParseMarkup(std::string_view text) {
    StyledLine line;
    LogStyle style;
    while (!text.empty()) {
        size_t lt = text.find('<');
        std::string segment(text.substr(0, lt));
        if (!segment.empty()) {
            segment = ReplaceAll(ReplaceAll(ReplaceAll(segment, "&gt;", ">"), "&lt;", "<"), "&amp;", "&");
            line.visibleCount += CountCharacters(segment);
            line.segments.push_back({std::move(segment), style});
        }
        if (lt == std::string_view::npos) break;
        text.remove_prefix(lt + 1);
        size_t gt = text.find('>');
        if (gt == std::string_view::npos) break;
        ApplyTag(text.substr(0, gt), style);
        text.remove_prefix(gt + 1);
    }
    return line;
}

std::string EscapeMarkup(std::string_view text) {
    std::string out;
    for (char c : VisibleControls(text)) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

std::string FlattenMessage(std::string_view message) {
    std::string out;
    for (char c : TrimView(message)) {
        if (c == '\n')
            out += " | ";
        else if (c != '\r')
            out += c;
    }
    return VisibleControls(out);
}

}  // namespace calvorin
