#include "core/search/clock.h"

#include <cstdlib>

#include "platform/message.h"

namespace vektrano {
namespace {

// Days since 1.1.1970 of a civil date (proleptic Gregorian).
long daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

platform::DateTime wholeSeconds(platform::DateTime t) {
  t.msec = 0;
  return t;
}

}  // namespace

std::string textCasu(const platform::DateTime& now) {
  std::string t = platform::formatTime(now);
  if (t.size() == 7) t = "0" + t;
  return t;
}

Hodiny::Tick Hodiny::Timer1Timer(const platform::DateTime& now, const std::string& DnesniDatum) {
  Tick tick;
  const std::string t = textCasu(now);
  const std::string cas = t.substr(0, 5);
  if (cas != cas_) tick.cas = cas_ = cas;
  const std::string panel0 = " " + t;
  if (panel0 != panel0_) tick.panel0 = panel0_ = panel0;

  // Any tick of a new day, not only the one at 00:00:01: a busy or sleeping
  // machine may skip that second.
  const std::string today = platform::formatDate(now);
  if (!DnesniDatum.empty() && today != DnesniDatum && today != rebuiltFor_) {
    rebuiltFor_ = today;
    tick.ReIndexace = true;
  }
  return tick;
}

UpdateReminder UpdateReminder::afterStart(const platform::DateTime& start) {
  platform::DateTime m = start;
  m.second += 5;
  m.minute += m.second / 60;
  m.second %= 60;
  m.hour += m.minute / 60;
  m.minute %= 60;
  const int days = m.hour / 24;
  m.hour %= 24;
  return UpdateReminder(days ? platform::addDays(m, days) : m);
}

bool UpdateReminder::Timer3Timer(const platform::DateTime& now) {
  // The first tick at or past the moment, not only the one of that very
  // second, which a busy machine may skip.
  const platform::DateTime n = wholeSeconds(now);
  if (n < moment_) return false;
  while (!(n < moment_)) moment_ = platform::addDays(moment_, 7);
  return true;
}

int daysBetween(const platform::DateTime& a, const platform::DateTime& b) {
  return static_cast<int>(
      std::labs(daysFromCivil(a.year, a.month, a.day) - daysFromCivil(b.year, b.month, b.day)));
}

bool PripomenAktualizaci(std::string& datumupdate, const platform::DateTime& today,
                         const std::function<void()>& openUpdateWindow) {
  const std::optional<platform::DateTime> last = platform::parseDate(datumupdate);
  datumupdate = platform::formatDate(today);
  if (!last || daysBetween(*last, today) <= 7) return false;
  if (platform::askYesNo(kOtazkaAktualizace, false)) {
    if (openUpdateWindow) openUpdateWindow();
  } else {
    platform::showMessage(kPripomenutiZaTyden);
  }
  return true;
}

}  // namespace vektrano
