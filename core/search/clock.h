#pragma once
// The clock of `Timer1` (950 ms) with the rebuild of the indexes on a new
// day, and the weekly update reminder of `Timer3` (1 s). The window owns the
// timers and applies what a tick returns; the time comes in from outside so
// that tests run on a fake clock.
#include <functional>
#include <optional>
#include <string>

#include "platform/datetime.h"

namespace vektrano {

// The time with two digits for hours, minutes and seconds: "09:05:07".
std::string textCasu(const platform::DateTime& now);

class Hodiny {
 public:
  struct Tick {
    std::optional<std::string> cas;     // the clock label `cas`: hours and minutes
    std::optional<std::string> panel0;  // status panel 0: " " + the whole time
    // A new day: stop the searches, disable the entry line `vstup`, run
    // `ReIndexace`, enable the entry line again.
    bool ReIndexace = false;
  };

  // One tick at now. DnesniDatum is the day of the last `ReIndexace` (d.M.yyyy),
  // empty before the first one. The texts come only when they change; the
  // rebuild comes on the first tick whose date differs from DnesniDatum,
  // once for each new date.
  Tick Timer1Timer(const platform::DateTime& now, const std::string& DnesniDatum);

 private:
  std::string cas_, panel0_;
  std::string rebuiltFor_;
};

inline constexpr const char* kOtazkaAktualizace =
    "Jseš-li připojen na internet, doporučuji provést kontrolu \r\n"
    "na nové aktualizace programu - mám nyní kontrolu provést ?";
inline constexpr const char* kPripomenutiZaTyden = "Za týden ti potřebu aktualizace opět připomenu...";

class UpdateReminder {
 public:
  // The first moment: start-up + 5 seconds.
  explicit UpdateReminder(const platform::DateTime& moment) : moment_(moment) { moment_.msec = 0; }
  static UpdateReminder afterStart(const platform::DateTime& start);

  // One tick of `Timer3`: true when now (whole seconds) is at or past the
  // moment; the moment then moves on by 7 days (as often as needed to lie
  // ahead of now, so a machine that slept does not ask at every tick).
  bool Timer3Timer(const platform::DateTime& now);
  const platform::DateTime& moment() const { return moment_; }

 private:
  platform::DateTime moment_;
};

// Days between two dates (the time of day is ignored), never negative.
int daysBetween(const platform::DateTime& a, const platform::DateTime& b);

// `PripomenAktualizaci`: counts the days since datumupdate, stores today as
// the new datumupdate and, after more than 7 days, asks whether to look for
// an update: Yes opens the update window, No promises the next reminder. An
// empty or unreadable datumupdate asks nothing. True when it asked.
bool PripomenAktualizaci(std::string& datumupdate, const platform::DateTime& today,
                         const std::function<void()>& openUpdateWindow);

}  // namespace vektrano
