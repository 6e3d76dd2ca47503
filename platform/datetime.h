#pragma once
// The fixed Czech date and time formats the files and names carry,
// independent of the machine's locale: short date d.M.yyyy, time H:mm:ss.
#include <compare>
#include <ctime>
#include <optional>
#include <string>

namespace vektrano::platform {

struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
  auto operator<=>(const DateTime&) const = default;  // in time order
};

DateTime now();
std::string formatDate(const DateTime& t);      // 9.12.2026
std::string formatTime(const DateTime& t);      // 7:05:09
std::string formatDateTime(const DateTime& t);  // 9.12.2026 7:05:09

// A short date as the user types it: day.month.year, blanks after the dots
// allowed, a one- or two-digit year taken within fifty years of this one.
// Nothing when the text is no valid date. The time of day is 0:00:00.
std::optional<DateTime> parseDate(const std::string& text);
// The same time of day, days later (or earlier, for a negative count).
DateTime addDays(const DateTime& t, int days);

}  // namespace vektrano::platform
