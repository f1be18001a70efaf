// SPDX-License-Identifier: GPL-3.0-or-later
#define PCRE2_CODE_UNIT_WIDTH 8
#include "platform/regex/Regex.h"

#include <pcre2.h>

#include <stdexcept>

namespace calvorin {

struct Regex::Code {
    pcre2_code* code = nullptr;
    ~Code() { pcre2_code_free(code); }
};

namespace {

struct MatchData {
    explicit MatchData(const pcre2_code* code) : data(pcre2_match_data_create_from_pattern(code, nullptr)) {
        if (!data) throw std::bad_alloc();
    }
    ~MatchData() { pcre2_match_data_free(data); }
    MatchData(const MatchData&) = delete;
    MatchData& operator=(const MatchData&) = delete;
    pcre2_match_data* data;
};

std::vector<std::pair<std::string, size_t>> GroupNames(const pcre2_code* code) {
    uint32_t count = 0, entrySize = 0;
    PCRE2_SPTR table = nullptr;
    pcre2_pattern_info(code, PCRE2_INFO_NAMECOUNT, &count);
    pcre2_pattern_info(code, PCRE2_INFO_NAMEENTRYSIZE, &entrySize);
    pcre2_pattern_info(code, PCRE2_INFO_NAMETABLE, &table);
    std::vector<std::pair<std::string, size_t>> names;
    for (size_t i = 0; i < count; ++i) {
        PCRE2_SPTR entry = table + i * entrySize;
        size_t number = (static_cast<size_t>(entry[0]) << 8) | entry[1];
        names.emplace_back(reinterpret_cast<const char*>(entry + 2), number);
    }
    return names;
}

}  // namespace

Regex::Regex(std::string_view pattern) : code_(std::make_shared<Code>()) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    code_->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), PCRE2_UTF,
                                &error, &offset, nullptr);
    if (!code_->code) {
        PCRE2_UCHAR message[256];
        pcre2_get_error_message(error, message, sizeof message);
        throw std::invalid_argument(std::string("Espressione regolare non valida: ") +
                                    reinterpret_cast<const char*>(message));
    }
}

std::optional<RegexMatch> Regex::Search(std::string_view text) const {
    MatchData md(code_->code);
    int rc = pcre2_match(code_->code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0, 0, md.data,
                         nullptr);
    if (rc < 0) return std::nullopt;  // no match, or text that is not valid UTF-8
    uint32_t groups = 0;
    pcre2_pattern_info(code_->code, PCRE2_INFO_CAPTURECOUNT, &groups);
    PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(md.data);
    RegexMatch match;
    for (size_t i = 0; i <= groups; ++i) {
        PCRE2_SIZE start = ovector[2 * i], end = ovector[2 * i + 1];
        if (i < static_cast<size_t>(rc) && start != PCRE2_UNSET)
            match.groups_.emplace_back(std::string(text.substr(start, end - start)));
        else
            match.groups_.emplace_back(std::nullopt);
    }
    match.names_ = GroupNames(code_->code);
    return match;
}

std::optional<std::string> RegexMatch::Group(size_t number) const {
    return number < groups_.size() ? groups_[number] : std::nullopt;
}

std::optional<std::string> RegexMatch::Group(std::string_view name) const {
    for (const auto& [n, number] : names_)
        if (n == name) return Group(number);
    return std::nullopt;
}

}  // namespace calvorin
