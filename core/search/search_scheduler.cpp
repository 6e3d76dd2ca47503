#include "core/search/search_scheduler.h"

namespace vektrano {

DelayMenuItem delayMenuItem(int delkaprodlevy) {
  switch (delkaprodlevy) {
    case 0:
    case 1: return DelayMenuItem::Vypnuto;
    case 10: return DelayMenuItem::Sec1;
    case 15: return DelayMenuItem::Sec15;
    case 20: return DelayMenuItem::Sec2;
    default: return DelayMenuItem::Sec05;
  }
}

void SearchScheduler::arm(const ScheduledSearch& search) {
  Slot& s = slots_[kindIndex(search.kind)];
  s.search = search;
  s.countdown = delay_ < 0 ? 0 : delay_;
}

void SearchScheduler::armNow(const ScheduledSearch& search) {
  Slot& s = slots_[kindIndex(search.kind)];
  s.search = search;
  s.countdown = 0;
}

std::vector<ScheduledSearch> SearchScheduler::Timer2Timer() {
  std::vector<ScheduledSearch> due;
  for (SearchKind kind : kSchedulerOrder) {
    Slot& s = slots_[kindIndex(kind)];
    if (s.countdown == 0) {
      s.countdown = -1;
      due.push_back(s.search);
    } else if (s.countdown > 0) {
      --s.countdown;
    }
  }
  return due;
}

SearchController::SearchController(SearchWorkers& workers, Environment environment,
                                   int delkaprodlevy)
    : workers_(workers), environment_(std::move(environment)), scheduler_(delkaprodlevy) {}

void SearchController::arm(const ScheduledSearch& search) {
  workers_.stop(search.kind);
  scheduler_.arm(search);
}

void SearchController::arm(const std::vector<ScheduledSearch>& searches) {
  for (const ScheduledSearch& s : searches) arm(s);
}

void SearchController::Timer2Timer() {
  const std::vector<ScheduledSearch> due = scheduler_.Timer2Timer();
  if (due.empty()) return;
  const SearchEnvironment env = environment_();
  for (const ScheduledSearch& s : due) {
    lastStarted_[kindIndex(s.kind)] = s;
    workers_.start(makeSearchInput(s, env));
  }
}

void SearchController::stopAll() {
  for (SearchKind kind : kSchedulerOrder) {
    const int k = kindIndex(kind);
    // A search cut short would leave its list half-filled.
    if (workers_.running(kind) && lastStarted_[k] && scheduler_.countdown(kind) < 0)
      scheduler_.armNow(*lastStarted_[k]);
    workers_.stop(kind);
  }
}

}  // namespace vektrano
