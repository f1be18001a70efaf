// SPDX-License-Identifier: GPL-3.0-or-later
#include "starttimes/LocalDateTime.h"

#include <cstdio>
#include <ctime>
#include <stdexcept>

#include "platform/os/LocalTime.h"

namespace calvorin {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's days_from_civil).
constexpr std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yoe = y - era * 400;
    std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t doe = z - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

// A compile-time constant: date-times built during other files' static initialisation rely on it.
constexpr std::int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

std::string Printf(const char* format, const DateTimeParts& p) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, p.year, p.month, p.day, p.hour, p.minute, p.second);
    return buffer;
}

}  // namespace

std::optional<LocalDateTime> LocalDateTime::FromDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return std::nullopt;
    return LocalDateTime((DaysFromCivil(year, month, day) - kEpochDays) * kSecondsPerDay);
}

std::optional<LocalDateTime> LocalDateTime::FromParts(const DateTimeParts& p) {
    auto date = FromDate(p.year, p.month, p.day);
    if (!date || p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 || p.second > 59)
        return std::nullopt;
    return LocalDateTime(date->seconds_ + std::int64_t{p.hour} * 3600 + std::int64_t{p.minute} * 60 +
                         p.second);
}

DateTimeParts LocalDateTime::Parts() const {
    std::int64_t days = seconds_ / kSecondsPerDay, rest = seconds_ % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    DateTimeParts p;
    CivilFromDays(days + kEpochDays, p.year, p.month, p.day);
    p.hour = static_cast<int>(rest / 3600);
    p.minute = static_cast<int>(rest / 60 % 60);
    p.second = static_cast<int>(rest % 60);
    return p;
}

std::string LocalDateTime::StorageForm() const {
    return Printf("%04d-%02d-%02d %02d.%02d", Parts());
}
std::string LocalDateTime::StorageFormWithSeconds() const {
    return Printf("%04d-%02d-%02d %02d.%02d.%02d", Parts());
}
std::string LocalDateTime::JavaScriptForm() const {
    return Printf("%04d-%02d-%02dT%02d:%02d:%02d", Parts());
}

std::string LocalDateTime::DisplayForm() const {
    DateTimeParts p = Parts();
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d", p.day, p.month, p.year, p.hour,
                  p.minute);
    return buffer;
}

std::string LocalDateTime::LogForm() const {
    DateTimeParts p = Parts();
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d", p.day, p.month, p.year, p.hour,
                  p.minute, p.second);
    return buffer;
}

LocalDateTime SystemNow() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    if (!ToLocalTime(t, tm)) throw std::runtime_error("Impossibile leggere l'ora locale del sistema");
    return *LocalDateTime::FromParts({tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                                      tm.tm_sec > 59 ? 59 : tm.tm_sec});
}

}  // namespace calvorin
