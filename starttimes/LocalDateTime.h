// SPDX-License-Identifier: GPL-3.0-or-later
// A local wall-clock date and time of one-second resolution, and its fixed text forms.
#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace calvorin {

struct DateTimeParts {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};

// Seconds counted from 30/12/1899 00:00, the zero of FCM's date-time type; no time zone.
class LocalDateTime {
  public:
    constexpr LocalDateTime() = default;

    // Returns the date-time, or nothing when the date (year 1-9999, Gregorian calendar) or the time
    // (hour < 24, minute < 60, second < 60) is invalid.
    static std::optional<LocalDateTime> FromParts(const DateTimeParts& parts);
    // Returns the date at 00:00, or nothing for an invalid date.
    static std::optional<LocalDateTime> FromDate(int year, int month, int day);

    DateTimeParts Parts() const;
    std::int64_t SecondsSinceEpoch() const { return seconds_; }
    static constexpr LocalDateTime FromSeconds(std::int64_t s) { return LocalDateTime(s); }

    // "yyyy-mm-dd hh.nn", the form of the settings file and of the PHP file.
    std::string StorageForm() const;
    // "yyyy-mm-dd hh.nn.ss".
    std::string StorageFormWithSeconds() const;
    // "dd/mm/yyyy hh:nn", the form of the grid.
    std::string DisplayForm() const;
    // "dd/mm/yyyy hh:nn:ss", the form of log lines.
    std::string LogForm() const;
    // "yyyy-mm-ddThh:nn:ss", the form of the JavaScript export.
    std::string JavaScriptForm() const;

    // NOLINTNEXTLINE(modernize-use-nullptr): clang-tidy 14 flags the 0 inside a defaulted <=> (LLVM #53961).
    auto operator<=>(const LocalDateTime&) const = default;

  private:
    constexpr explicit LocalDateTime(std::int64_t s) : seconds_(s) {}
    std::int64_t seconds_ = 0;
};

// Where "now" comes from; tests pass a fixed clock.
using Clock = std::function<LocalDateTime()>;

// The machine's local time.
LocalDateTime SystemNow();

}  // namespace calvorin
