#pragma once
// The search scheduler of the main window's 100 ms timer `Timer2`: one
// countdown per search, set to the search delay whenever the entry line
// changes that search's key, run down one step per tick; a search starts on
// the tick its countdown is found at 0. The window owns the timer and calls
// Timer2Timer; tests call it as their clock.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/entry/entry_line.h"
#include "core/search/search_workers.h"
#include "core/search/searches.h"

namespace vektrano {

inline constexpr int kTimer1Ms = 950;   // the clock: no second is skipped
inline constexpr int kTimer2Ms = 100;   // one tick of the scheduler
inline constexpr int kTimer3Ms = 1000;  // the update reminder

// The searches in the order each tick looks at them.
inline constexpr std::array<SearchKind, 5> kSchedulerOrder = {
    SearchKind::Mesta, SearchKind::Lokatora, SearchKind::Volackaa, SearchKind::Jmena,
    SearchKind::Duplyo};

// The item of the search-delay menu that the stored delay ticks.
enum class DelayMenuItem { Vypnuto, Sec05, Sec1, Sec15, Sec2 };
// 0 or 1 "Vypnuto", 5 "0.5 sec", 10 "1 sec", 15 "1.5 sec", 20 "2 sec"; any
// other delay ticks "0.5 sec" and is kept as it is.
DelayMenuItem delayMenuItem(int delkaprodlevy);

// The search-delay submenu `prodleva`; each item sets the delay and is
// ticked (radio group).
inline constexpr const char* kProdlevaCaption =
    "Nastavení &doby prodlevy mezi stiskem klávesy a spuštěním vyhledávání";
struct DelayMenuEntry {
  DelayMenuItem item;
  const char* name;
  const char* caption;
  int delkaprodlevy;  // ticks of 100 ms; "Vypnuto" still waits one tick
};
inline constexpr std::array<DelayMenuEntry, 5> kDelayMenu = {{
    {DelayMenuItem::Vypnuto, "delka0", "Vypnuto", 1},
    {DelayMenuItem::Sec05, "delka05", "0.5 sec", 5},
    {DelayMenuItem::Sec1, "delka1", "1 sec", 10},
    {DelayMenuItem::Sec15, "delka15", "1.5 sec", 15},
    {DelayMenuItem::Sec2, "delka2", "2 sec", 20},
}};

// The countdowns alone: -1 idle, 0 due, n > 0 ticks still to wait.
class SearchScheduler {
 public:
  explicit SearchScheduler(int delkaprodlevy = 10) : delay_(delkaprodlevy) {}

  int delkaprodlevy() const { return delay_; }
  void setDelkaprodlevy(int ticks) { delay_ = ticks; }

  // The key of a search changed: its countdown starts again from the delay,
  // with the newest input.
  void arm(const ScheduledSearch& search);
  // Due now (the next tick starts it).
  void armNow(const ScheduledSearch& search);
  // One tick: the searches whose countdown was 0, in the scheduler's order;
  // the positive countdowns go down by one.
  std::vector<ScheduledSearch> Timer2Timer();

  int countdown(SearchKind kind) const { return slots_[kindIndex(kind)].countdown; }
  void cancel(SearchKind kind) { slots_[kindIndex(kind)].countdown = -1; }

 private:
  struct Slot {
    int countdown = -1;
    ScheduledSearch search{};
  };
  int delay_;
  std::array<Slot, kSearchKinds> slots_{};
};

// The scheduler and the search threads together, as the main window uses
// them: the entry line arms, the timer ticks, a rebuild stops everything.
class SearchController {
 public:
  // Called when a search starts, for what the main window holds then.
  using Environment = std::function<SearchEnvironment()>;

  SearchController(SearchWorkers& workers, Environment environment, int delkaprodlevy = 10);

  SearchScheduler& scheduler() { return scheduler_; }

  // A search to restart (from the entry line's result): the running one of
  // that kind is stopped at once (its lines no longer show) and the
  // countdown starts again.
  void arm(const ScheduledSearch& search);
  void arm(const std::vector<ScheduledSearch>& searches);
  // One tick of `Timer2`: starts the searches that are due.
  void Timer2Timer();
  // Before a rebuild swaps the data (the midnight rebuild, `ReIndexace`):
  // every running search is stopped and runs again on the next tick, on the
  // new data.
  void stopAll();
  // The search of that kind the last tick started, if any.
  const std::optional<ScheduledSearch>& lastStarted(SearchKind kind) const {
    return lastStarted_[kindIndex(kind)];
  }

 private:
  SearchWorkers& workers_;
  Environment environment_;
  SearchScheduler scheduler_;
  std::array<std::optional<ScheduledSearch>, kSearchKinds> lastStarted_{};
};

}  // namespace vektrano
