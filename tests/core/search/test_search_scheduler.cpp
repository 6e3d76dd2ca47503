#include "core/search/search_scheduler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/dispatcher.h"

namespace vektrano {
namespace {
using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

// Ticks of `Timer2` until the search is handed out; 0 when it never is.
int ticksUntilStart(SearchScheduler& s, SearchKind kind, int limit = 100) {
  for (int tick = 1; tick <= limit; ++tick)
    for (const ScheduledSearch& due : s.Timer2Timer())
      if (due.kind == kind) return tick;
  return 0;
}

TEST(SearchScheduler, StartsOnTheTickAfterTheDelay) {
  for (const DelayMenuEntry& entry : kDelayMenu) {
    SearchScheduler s(entry.delkaprodlevy);
    s.arm({SearchKind::Volackaa, "OK1", ""});
    EXPECT_EQ(s.countdown(SearchKind::Volackaa), entry.delkaprodlevy);
    EXPECT_EQ(ticksUntilStart(s, SearchKind::Volackaa), entry.delkaprodlevy + 1) << entry.name;
    EXPECT_EQ(s.countdown(SearchKind::Volackaa), -1);
    EXPECT_EQ(ticksUntilStart(s, SearchKind::Volackaa), 0) << "starts once";
  }
}

// A delay of 2 s: a key 1.5 s after the first one starts the wait again,
// and the search runs 2.1 s after the last key with the last key's text.
TEST(SearchScheduler, NewKeyRestartsTheWait) {
  SearchScheduler s(20);
  s.arm({SearchKind::Volackaa, "OK1", ""});
  for (int tick = 0; tick < 15; ++tick) EXPECT_TRUE(s.Timer2Timer().empty());
  s.arm({SearchKind::Volackaa, "OK1AB", "JO70GQ"});
  for (int tick = 1; tick <= 20; ++tick) EXPECT_TRUE(s.Timer2Timer().empty()) << tick;
  const std::vector<ScheduledSearch> due = s.Timer2Timer();
  ASSERT_EQ(due.size(), 1u);
  EXPECT_EQ(due[0].text, "OK1AB");
  EXPECT_EQ(due[0].locator, "JO70GQ");
}

TEST(SearchScheduler, KindsCountDownApartAndStartInTheirOrder) {
  SearchScheduler s(3);
  for (SearchKind k : {SearchKind::Duplyo, SearchKind::Jmena, SearchKind::Volackaa,
                       SearchKind::Lokatora, SearchKind::Mesta})
    s.arm({k, "x", ""});
  s.Timer2Timer();
  s.arm({SearchKind::Jmena, "y", ""});  // one kind armed again
  s.Timer2Timer();
  s.Timer2Timer();
  std::vector<ScheduledSearch> due = s.Timer2Timer();
  std::vector<SearchKind> kinds;
  for (const auto& d : due) kinds.push_back(d.kind);
  EXPECT_EQ(kinds, (std::vector<SearchKind>{SearchKind::Mesta, SearchKind::Lokatora,
                                            SearchKind::Volackaa, SearchKind::Duplyo}));
  EXPECT_EQ(s.countdown(SearchKind::Jmena), 0);
  due = s.Timer2Timer();
  ASSERT_EQ(due.size(), 1u);
  EXPECT_EQ(due[0].text, "y");
}

TEST(SearchScheduler, IdleUntilArmedAndCancel) {
  SearchScheduler s;
  EXPECT_EQ(s.delkaprodlevy(), 10);
  for (SearchKind k : kSchedulerOrder) EXPECT_EQ(s.countdown(k), -1);
  EXPECT_TRUE(s.Timer2Timer().empty());
  s.arm({SearchKind::Mesta, "JO70GQ", "JO70GQ"});
  s.cancel(SearchKind::Mesta);
  EXPECT_EQ(ticksUntilStart(s, SearchKind::Mesta, 30), 0);
  s.setDelkaprodlevy(5);
  s.arm({SearchKind::Mesta, "JO70GQ", "JO70GQ"});
  EXPECT_EQ(ticksUntilStart(s, SearchKind::Mesta), 6);
}

TEST(DelayMenu, ItemsAndTheirDelays) {
  EXPECT_STREQ(kProdlevaCaption,
               "Nastavení &doby prodlevy mezi stiskem klávesy a spuštěním vyhledávání");
  const std::vector<std::tuple<std::string, std::string, int>> expected = {
      {"delka0", "Vypnuto", 1}, {"delka05", "0.5 sec", 5}, {"delka1", "1 sec", 10},
      {"delka15", "1.5 sec", 15}, {"delka2", "2 sec", 20}};
  ASSERT_EQ(kDelayMenu.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const DelayMenuEntry& e = kDelayMenu[i];
    EXPECT_EQ(std::string(e.name), std::get<0>(expected[i]));
    EXPECT_EQ(std::string(e.caption), std::get<1>(expected[i]));
    EXPECT_EQ(e.delkaprodlevy, std::get<2>(expected[i]));
    // The stored delay ticks its own item again at the next start.
    EXPECT_EQ(delayMenuItem(e.delkaprodlevy), e.item) << e.name;
  }
}

// The main thread's queue, pumped by the test; with the gate closed a post
// blocks the search that makes it.
class QueueDispatcher : public platform::Dispatcher {
 public:
  void post(std::function<void()> fn) override {
    std::unique_lock lock(m_);
    ++posts_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return open_; });
    queue_.push_back(std::move(fn));
  }
  void invokeBlocking(std::function<void()> fn) override { fn(); }
  void pump() {
    for (;;) {
      std::function<void()> fn;
      {
        std::lock_guard lock(m_);
        if (queue_.empty()) return;
        fn = std::move(queue_.front());
        queue_.pop_front();
      }
      fn();
    }
  }
  void setOpen(bool open) {
    std::lock_guard lock(m_);
    open_ = open;
    changed_.notify_all();
  }
  bool waitPosts(int n) {
    std::unique_lock lock(m_);
    return changed_.wait_for(lock, 10s, [&] { return posts_ >= n; });
  }

 private:
  std::mutex m_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> queue_;
  int posts_ = 0;
  bool open_ = true;
};

class Controller : public ::testing::Test {
 protected:
  void SetUp() override {
    auto d = std::make_unique<QueueDispatcher>();
    queue_ = d.get();
    platform::setDispatcher(std::move(d));
  }
  void TearDown() override {
    queue_->setOpen(true);
    workers_.stopAll();
    workers_.join();
    platform::setDispatcher(nullptr);
  }

  static SharedTable table(int n, const std::string& name) {
    auto t = std::make_shared<MemoryTable>();
    for (int i = 0; i < n; ++i) t->push_back({" JO70GQ OK1" + name, "JO70GQ OK1" + name});
    return t;
  }
  SearchEnvironment environment() {
    ++environmentCalls_;
    SearchEnvironment env;
    env.MenuRam = true;
    env.SGvolacky = SGvolacky_;
    return env;
  }
  Lines lines() {
    workers_.join();
    queue_->pump();
    // Kinds run side by side: their lines in the scheduler's order.
    std::stable_sort(delivered_.begin(), delivered_.end(), [](const auto& a, const auto& b) {
      return kindIndex(a.kind) < kindIndex(b.kind);
    });
    Lines out;
    for (const SearchBatch& b : delivered_) out.insert(out.end(), b.lines.begin(), b.lines.end());
    delivered_.clear();
    return out;
  }

  QueueDispatcher* queue_ = nullptr;
  std::vector<SearchBatch> delivered_;
  SearchWorkers workers_{[this](const SearchBatch& b) { delivered_.push_back(b); }};
  SharedTable SGvolacky_ = table(2, "ABC");
  int environmentCalls_ = 0;
  SearchController controller_{workers_, [this] { return environment(); }, 2};
};

// The search reads the window's data as it is when the search starts, not
// when the key was pressed.
TEST_F(Controller, StartsAfterTheDelayOnTheDataOfThatMoment) {
  controller_.arm({SearchKind::Volackaa, "OK1", ""});
  controller_.Timer2Timer();
  controller_.Timer2Timer();
  EXPECT_EQ(environmentCalls_, 0);
  EXPECT_EQ(workers_.generation(SearchKind::Volackaa), 0u);
  SGvolacky_ = table(1, "XYZ");
  controller_.Timer2Timer();
  EXPECT_EQ(environmentCalls_, 1);
  EXPECT_EQ(lines(), (Lines{"**CLS**", "Volačka [OK1]", "JO70GQ OK1XYZ", " --- počet : 1 ---"}));
}

// A key while a search runs stops it at once: none of its lines show, and
// the new one runs after the delay.
TEST_F(Controller, KeyStopsTheRunningSearch) {
  SGvolacky_ = table(100000, "ABC");
  queue_->setOpen(false);
  controller_.arm({SearchKind::Volackaa, "OK1", ""});
  for (int i = 0; i < 3; ++i) controller_.Timer2Timer();
  ASSERT_TRUE(queue_->waitPosts(1));
  controller_.arm({SearchKind::Volackaa, "OK1A", ""});
  EXPECT_FALSE(workers_.running(SearchKind::Volackaa));
  queue_->setOpen(true);
  EXPECT_TRUE(lines().empty());

  SGvolacky_ = table(1, "ABC");
  for (int i = 0; i < 3; ++i) controller_.Timer2Timer();
  EXPECT_EQ(lines(), (Lines{"**CLS**", "Volačka [OK1A]", "JO70GQ OK1ABC", " --- počet : 1 ---"}));
}

// Before a rebuild swaps the data every search stops; one cut short (or
// whose last lines have not reached the window yet) runs again on the next
// tick, on the new data, so no list stays half-filled.
TEST_F(Controller, StopAllBeforeARebuild) {
  SGvolacky_ = table(100000, "ABC");
  queue_->setOpen(false);
  controller_.arm({SearchKind::Volackaa, "OK1", ""});
  controller_.arm({SearchKind::Jmena, "Pepa", ""});  // no table: one batch, held
  for (int i = 0; i < 3; ++i) controller_.Timer2Timer();
  ASSERT_TRUE(queue_->waitPosts(2));
  controller_.stopAll();
  EXPECT_EQ(controller_.scheduler().countdown(SearchKind::Volackaa), 0);
  EXPECT_EQ(controller_.scheduler().countdown(SearchKind::Jmena), 0);
  queue_->setOpen(true);
  EXPECT_TRUE(lines().empty());

  SGvolacky_ = table(1, "NEW");
  controller_.Timer2Timer();
  EXPECT_EQ(lines(), (Lines{"**CLS**", "Volačka [OK1]", "JO70GQ OK1NEW", " --- počet : 1 ---",
                            "**CLS**", " Svátek [Pepa] :", " --- end ---"}));

  // Searches that have shown all their lines are left alone.
  controller_.stopAll();
  EXPECT_EQ(controller_.scheduler().countdown(SearchKind::Volackaa), -1);
  EXPECT_EQ(controller_.scheduler().countdown(SearchKind::Jmena), -1);
}

}  // namespace
}  // namespace vektrano
