// SPDX-License-Identifier: GPL-3.0-or-later
// Texts near a fixed form and Python's re matching them, to check a hand-written parser against the
// regular expression that defines its form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "support/Command.h"
#include "support/TempDir.h"

namespace calvorin::test {

// The groups of one match; a group that took no part is absent.
using PeerGroups = std::vector<std::optional<std::string>>;

// Returns `count` texts: the seeds themselves, then texts made of 1 to 8 tokens and seeds with a token
// inserted, removed or replaced. The same arguments always give the same texts.
inline std::vector<std::string> TextsNear(const std::vector<std::string>& seeds,
                                          const std::vector<std::string>& tokens, std::size_t count) {
    std::mt19937 random(20240601);
    auto pick = [&random](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    std::vector<std::string> texts(seeds);
    while (texts.size() < count) {
        std::string text;
        if (pick(2) == 0) {
            for (std::size_t n = 1 + pick(8); n > 0; --n) text += tokens[pick(tokens.size())];
        } else {
            text = seeds[pick(seeds.size())];
            std::size_t at = pick(text.size() + 1);
            std::size_t removed = std::min<std::size_t>(pick(3), text.size() - at);
            text.replace(at, removed, pick(3) == 0 ? std::string() : tokens[pick(tokens.size())]);
        }
        texts.push_back(text);
    }
    return texts;
}

inline std::string HexOf(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (char c : bytes) {
        auto byte = static_cast<std::uint8_t>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
    }
    return hex;
}

inline std::string BytesOfHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

// Matches each text with Python's re (`whole`: the whole text, else a search), one process for all.
// Returns one entry per text, nothing where it does not match. Throws std::runtime_error when python3
// fails or answers for a different number of texts.
inline std::vector<std::optional<PeerGroups>> MatchWithPython(std::string_view pattern, bool whole,
                                                              const std::vector<std::string>& texts) {
    TempDir dir;
    std::string lines;
    for (const std::string& text : texts) lines += HexOf(text) + "\n";
    WriteBytes(dir / "texts", lines);
    CommandResult result = RunCommand(
        "python3 " + ShellQuote(CALVORIN_SOURCE_DIR "/tests/support/regex_peer.py") + " " +
            ShellQuote(std::string(pattern)) + (whole ? " whole " : " search ") + ShellQuote(dir / "texts"),
        Capture::StdoutOnly);
    if (result.exitCode != 0) throw std::runtime_error("regex_peer.py failed: " + result.output);
    std::vector<std::optional<PeerGroups>> matches;
    std::istringstream answer(result.output);
    for (std::string line; std::getline(answer, line);) {
        if (line == "-") {
            matches.emplace_back();
            continue;
        }
        PeerGroups groups;
        std::istringstream fields(line.substr(1));
        for (std::string field; std::getline(fields, field, ',');)
            groups.push_back(field == "~" ? std::nullopt : std::optional(BytesOfHex(field)));
        matches.push_back(groups);
    }
    if (matches.size() != texts.size())
        throw std::runtime_error("regex_peer.py answered " + std::to_string(matches.size()) + " texts of " +
                                 std::to_string(texts.size()));
    return matches;
}

}  // namespace calvorin::test
