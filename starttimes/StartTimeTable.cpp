// SPDX-License-Identifier: GPL-3.0-or-later
#include "starttimes/StartTimeTable.h"

#include <cstdint>
#include <stdexcept>

#include "platform/text/Digits.h"
#include "platform/text/Integer.h"
#include "starttimes/ParseDateTime.h"

namespace calvorin {
namespace {

constexpr std::array<std::string_view, kMatchdays> kDefaults = {
    "2019-08-24 18.00", "2019-08-30 20.45", "2019-09-14 15.00", "2019-09-20 20.45", "2019-09-24 19.00",
    "2019-09-28 15.00", "2019-10-04 20.45", "2019-10-19 15.00", "2019-10-25 20.45", "2019-10-29 19.00",
    "2019-11-02 15.00", "2019-11-08 20.45", "2019-11-23 15.00", "2019-11-30 15.00", "2019-12-06 20.45",
    "2019-12-14 15.00", "2019-12-18 18.55", "2020-01-04 18.00", "2020-01-11 18.00", "2020-01-18 18.00",
    "2020-01-25 18.00", "2020-02-01 18.00", "2020-02-08 18.00", "2020-02-15 18.00", "2020-02-22 18.00",
    "2020-02-29 18.00", "2020-03-07 18.00", "2020-03-14 18.00", "2020-03-21 18.00", "2020-04-04 18.00",
    "2020-04-11 12.00", "2020-04-18 18.00", "2020-04-21 21.00", "2020-04-25 18.00", "2020-05-02 18.00",
    "2020-05-09 18.00", "2020-05-16 18.00", "2020-05-23 18.00",
};

void CheckMatchday(int matchday) {
    if (matchday < 1 || matchday > kMatchdays) throw std::out_of_range("Giornata fuori intervallo");
}

}  // namespace

std::string_view DefaultStartTimeText(int matchday) {
    CheckMatchday(matchday);
    return kDefaults[matchday - 1];
}

std::string_view DefaultServiceUrl() {
    return "http://www.calvorin.it/Calvorin_v2/services.php";
}

std::string MatchdayKey(int matchday) {
    return std::to_string(matchday) + "a";
}

std::optional<int> MatchdayOfKey(std::string_view key) {
    if (!key.ends_with('a')) return std::nullopt;
    key.remove_suffix(1);
    if (key.empty() || LeadingDigitCount(key) != key.size()) return std::nullopt;
    std::optional<std::int32_t> n = ParseInteger(key);
    if (!n || *n < 1 || *n > kMatchdays) return std::nullopt;
    return *n;
}

std::string EditMask() {
    return R"(90\/90\/0000 90\:90)";
}

std::string CommitEditedStartTime(StartTimeTable& table, int row, std::string_view text, const Clock& now) {
    CheckMatchday(row);
    LocalDateTime& entry = table.OrariSerieA[row - 1];
    LocalDateTime parsed = entry;
    // A valid date with an invalid time still fails: the edit is discarded whole.
    if (ParseDateTime(text, DateTimeForm::Display, parsed)) entry = parsed;
    table.UltimaModificaManuale = now();
    return entry.DisplayForm();
}

}  // namespace calvorin
