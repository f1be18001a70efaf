// SPDX-License-Identifier: GPL-3.0-or-later
// printf-style formatting of log lines and messages, safe for any format text and argument.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace calvorin {

// One argument of Format: a text or an integer.
class FormatArg {
  public:
    FormatArg(std::string_view s) : value_(std::string(s)) {}
    FormatArg(const std::string& s) : value_(s) {}
    FormatArg(const char* s) : value_(std::string(s ? s : "")) {}
    template <typename T>
    requires std::is_integral_v<T> FormatArg(T n) : value_(static_cast<std::int64_t>(n)) {}

    std::string AsText() const;
    std::int64_t AsInteger() const;

  private:
    std::variant<std::string, std::int64_t> value_;
};

// Formats like printf with the conversions the program uses: "%s" (text), "%d", "%i" and "%u"
// (integers), "%%". A conversion without an argument left, or of another kind, is copied as it stands,
// so a format text from outside can never read past the arguments.
std::string Format(std::string_view format, std::initializer_list<FormatArg> args);

}  // namespace calvorin
