#include "platform/datetime.h"

#include <time.h>

#include <cstdio>

namespace vektrano::platform {
namespace {

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long long daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

// Reads up to maxDigits digits at p; -1 when there are none.
int readNumber(const std::string& s, size_t& p, int maxDigits, int* digits = nullptr) {
  int n = 0, count = 0;
  while (p < s.size() && s[p] >= '0' && s[p] <= '9' && count < maxDigits) {
    n = n * 10 + (s[p++] - '0');
    ++count;
  }
  if (digits) *digits = count;
  return count ? n : -1;
}

void skipBlanks(const std::string& s, size_t& p) {
  while (p < s.size() && s[p] == ' ') ++p;
}

}  // namespace

DateTime now() {
  timespec ts{};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  ::localtime_r(&ts.tv_sec, &local);
  DateTime t;
  t.year = local.tm_year + 1900;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  t.second = local.tm_sec;
  t.msec = static_cast<int>(ts.tv_nsec / 1000000);
  return t;
}

std::string formatDate(const DateTime& t) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%d.%d.%04d", t.day, t.month, t.year);
  return buf;
}

std::string formatTime(const DateTime& t) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%d:%02d:%02d", t.hour, t.minute, t.second);
  return buf;
}

std::string formatDateTime(const DateTime& t) { return formatDate(t) + " " + formatTime(t); }

std::optional<DateTime> parseDate(const std::string& text) {
  size_t p = 0;
  skipBlanks(text, p);
  const int day = readNumber(text, p, 2);
  if (day < 0 || p >= text.size() || text[p++] != '.') return std::nullopt;
  skipBlanks(text, p);
  const int month = readNumber(text, p, 2);
  if (month < 0 || p >= text.size() || text[p++] != '.') return std::nullopt;
  skipBlanks(text, p);
  int digits = 0;
  int year = readNumber(text, p, 4, &digits);
  skipBlanks(text, p);
  if (year < 0 || p != text.size() || digits == 3) return std::nullopt;
  if (digits <= 2) {
    // A short year lies within fifty years of this one.
    const int current = now().year;
    year += current - current % 100;
    if (year > current + 50) year -= 100;
    if (year <= current - 50) year += 100;
  }
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
    return std::nullopt;
  DateTime t;
  t.year = year;
  t.month = month;
  t.day = day;
  return t;
}

DateTime addDays(const DateTime& t, int days) {
  DateTime r = t;
  civilFromDays(daysFromCivil(t.year, t.month, t.day) + days, r.year, r.month, r.day);
  return r;
}

}  // namespace vektrano::platform
