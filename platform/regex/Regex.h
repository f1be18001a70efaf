// SPDX-License-Identifier: GPL-3.0-or-later
// PCRE2 regular expressions with numbered and named groups, used exactly as written.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace calvorin {

// The groups of one successful match. A group that did not take part is absent.
class RegexMatch {
  public:
    // Group by number (0 is the whole match).
    std::optional<std::string> Group(size_t number) const;
    // Group by name, as written "(?'name'...)" or "(?<name>...)".
    std::optional<std::string> Group(std::string_view name) const;

  private:
    friend class Regex;
    std::vector<std::optional<std::string>> groups_;
    std::vector<std::pair<std::string, size_t>> names_;
};

// A compiled, case-sensitive, UTF-8 pattern. Copies share the compiled code.
class Regex {
  public:
    // Throws std::invalid_argument with PCRE2's message when the pattern does not compile.
    explicit Regex(std::string_view pattern);

    // Searches the text; anchors written in the pattern ("^", "$") apply as PCRE2 defines them.
    std::optional<RegexMatch> Search(std::string_view text) const;

  private:
    struct Code;
    std::shared_ptr<Code> code_;
};

}  // namespace calvorin
