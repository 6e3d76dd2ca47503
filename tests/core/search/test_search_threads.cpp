// The search threads and what the main window does with their lines.
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "core/base/geometry.h"
#include "core/search/search_output.h"
#include "core/search/search_workers.h"
#include "platform/dispatcher.h"

namespace vektrano {
namespace {
using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

// The main thread's queue: posted work waits until the test pumps it, as
// it waits for the event loop in the program. With the gate closed a post
// blocks its thread, which holds a search in the middle of its work.
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

  // Runs what is queued, on the calling thread.
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
  // Waits until n posts have been made (or begun, with the gate closed).
  bool waitPosts(int n) {
    std::unique_lock lock(m_);
    return changed_.wait_for(lock, 10s, [&] { return posts_ >= n; });
  }
  int posts() {
    std::lock_guard lock(m_);
    return posts_;
  }

 private:
  std::mutex m_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> queue_;
  int posts_ = 0;
  bool open_ = true;
};

class SearchThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    auto d = std::make_unique<QueueDispatcher>();
    queue_ = d.get();
    platform::setDispatcher(std::move(d));
  }
  void TearDown() override {
    queue_->setOpen(true);
    workers_.reset();
    platform::setDispatcher(nullptr);
  }

  // A call-sign table of n rows that all match " OK1", so every row is a
  // line of output.
  static SharedTable table(int n, const std::string& name = "ABC") {
    auto t = std::make_shared<MemoryTable>();
    for (int i = 0; i < n; ++i)
      t->push_back({" JO70GQ OK1" + name + " " + std::to_string(i), "JO70GQ OK1" + name});
    return t;
  }
  static SearchInput input(const std::string& text, SharedTable t) {
    SearchInput in;
    in.kind = SearchKind::Volackaa;
    in.text = text;
    in.MenuRam = true;
    in.table = std::move(t);
    return in;
  }

  QueueDispatcher* queue_ = nullptr;
  std::vector<SearchBatch> delivered_;
  std::unique_ptr<SearchWorkers> workers_ =
      std::make_unique<SearchWorkers>([this](const SearchBatch& b) { delivered_.push_back(b); });

  Lines deliveredLines(std::uint64_t generation) const {
    Lines out;
    for (const SearchBatch& b : delivered_) {
      EXPECT_EQ(b.generation, generation);
      out.insert(out.end(), b.lines.begin(), b.lines.end());
    }
    return out;
  }
};

TEST_F(SearchThreads, LinesArriveInBatchesInOrder) {
  const std::uint64_t g = workers_->start(input("OK1", table(5000)));
  workers_->join();
  queue_->pump();
  const Lines lines = deliveredLines(g);
  ASSERT_EQ(lines.size(), 5003u);
  EXPECT_EQ(lines.front(), "**CLS**");
  EXPECT_EQ(lines[1], "Volačka [OK1]");
  EXPECT_EQ(lines[2], "JO70GQ OK1ABC");
  EXPECT_EQ(lines.back(), " --- počet : 5000 ---");
  EXPECT_LT(delivered_.size(), lines.size() / 2);  // not one call per line
  EXPECT_TRUE(delivered_.back().last);
  EXPECT_FALSE(delivered_.front().last);
}

// A line shown with its distance reaches the list as the search makes it.
TEST_F(SearchThreads, LinesWithDistancesArriveWhole) {
  auto t = std::make_shared<MemoryTable>();
  for (const char* locator : {"JO70GQ", "JN79US", "KN08AA", "IO91WM", "JO70G!"})
    t->push_back({std::string(" ") + locator + " OK1ABC", std::string(locator) + " OK1ABC Petr"});
  SearchInput in = input("OK1", t);
  in.pocitejkm = true;
  Lines direct;
  runSearch(in, [&](std::string_view l) { direct.emplace_back(l); });
  ASSERT_EQ(direct.size(), 8u);
  EXPECT_EQ(direct[3], "JN79US OK1ABC Petr / " + std::to_string(vypocet("JO70GQ", "JN79US")) + " km");
  const std::uint64_t g = workers_->start(in);
  workers_->join();
  queue_->pump();
  EXPECT_EQ(deliveredLines(g), direct);
}

// The operator types a second word while the first search still runs: only
// the second one's lines reach the list, even those of the first that
// were already on their way.
TEST_F(SearchThreads, StaleBatchesAreDropped) {
  queue_->setOpen(false);
  const std::uint64_t first = workers_->start(input("OK1", table(5000, "AAA")));
  ASSERT_TRUE(queue_->waitPosts(1));  // the first search is in the middle of its work
  const std::uint64_t second = workers_->start(input("OK1BBB", table(300, "BBB")));
  EXPECT_NE(first, second);
  EXPECT_EQ(workers_->generation(SearchKind::Volackaa), second);
  queue_->setOpen(true);
  workers_->join();
  queue_->pump();
  const Lines lines = deliveredLines(second);
  ASSERT_EQ(lines.size(), 303u);
  EXPECT_EQ(lines[1], "Volačka [OK1BBB]");
  for (const std::string& l : lines) EXPECT_EQ(l.find("AAA"), std::string::npos) << l;
}

// Neither a restart nor a stop waits for the thread: both return while the
// old search is held in the middle of handing over its lines. It then ends
// at its next line, without its end line.
TEST_F(SearchThreads, StopNeverWaitsAndTheSearchEndsAtItsNextLine) {
  queue_->setOpen(false);
  workers_->start(input("OK1", table(100000)));
  ASSERT_TRUE(queue_->waitPosts(1));
  EXPECT_TRUE(workers_->running(SearchKind::Volackaa));
  workers_->stop(SearchKind::Volackaa);
  EXPECT_FALSE(workers_->running(SearchKind::Volackaa));
  EXPECT_EQ(workers_->activeThreads(), 1);  // still held, and stop returned

  // Another kind runs meanwhile; its lines come through.
  SearchInput other = input("OK1", table(3));
  other.kind = SearchKind::Lokatora;
  const std::uint64_t g = workers_->start(other);

  queue_->setOpen(true);
  workers_->join();
  // The held batch, the other search's lines; the stopped one posted no
  // more of its 100,000 rows.
  EXPECT_LE(queue_->posts(), 4);
  queue_->pump();
  const Lines lines = deliveredLines(g);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1], "Hledám místo [OK1]");
}

// Two searches of one kind never run side by side: the new one starts its
// work when the stopped one has let go.
TEST_F(SearchThreads, SearchesOfOneKindNeverOverlap) {
  queue_->setOpen(false);
  workers_->start(input("OK1", table(100000)));
  ASSERT_TRUE(queue_->waitPosts(1));
  const std::uint64_t g = workers_->start(input("OK1", table(2)));
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(queue_->posts(), 1);  // the new search waits for the lock
  queue_->setOpen(true);
  workers_->join();
  queue_->pump();
  EXPECT_EQ(deliveredLines(g).size(), 5u);
}

TEST_F(SearchThreads, DestroyedWorkersDeliverNothingMore) {
  workers_->start(input("OK1", table(50)));
  workers_->join();
  workers_.reset();  // the batches are still queued
  queue_->pump();
  EXPECT_TRUE(delivered_.empty());
}

// What the main window does with the lines.
struct RecordingView : SearchView {
  std::vector<std::string> events;
  bool dupVisible = false;
  bool gridVisible = true;
  void clearList(SearchKind k) override { events.push_back("clear " + std::to_string(kindIndex(k))); }
  void appendLine(SearchKind k, const std::string& l) override {
    events.push_back("add " + std::to_string(kindIndex(k)) + " " + l);
  }
  bool wduplicityVisible() const override { return dupVisible; }
  void ZobrazDuplicity(bool show) override {
    dupVisible = show;
    events.push_back(show ? "panel on" : "panel off");
  }
  bool DenikVisible() const override { return gridVisible; }
  void setStatusPanel1(const std::string& t) override { events.push_back("status " + t); }
};

TEST(SearchOutput, ListCommandsAndLines) {
  SearchOutput output;
  RecordingView view;
  output.apply({SearchKind::Volackaa, 1, {"**CLS**", "Volačka [OK1]", " --- počet : 0 ---"}, true},
               view);
  EXPECT_EQ(view.events, (Lines{"clear 2", "add 2 Volačka [OK1]", "add 2  --- počet : 0 ---"}));
}

TEST(SearchOutput, DuplicatePanel) {
  SearchOutput output;
  RecordingView view;
  output.apply({SearchKind::Duplyo, 1, {"**CLS**", "1 (a) [b] OK1ABC [c] d (0 km)"}, false}, view);
  output.apply({SearchKind::Duplyo, 1, {"3 (a) [b] OK1ABC [c] d (0 km)",
                                        " celkem nalezeno duplicit : 2"}, true},
               view);
  EXPECT_EQ(view.events,
            (Lines{"panel on", "clear 4", "add 4 1 (a) [b] OK1ABC [c] d (0 km)", "status  duplicit: 1",
                   // the lines of a batch in one addition, the count after them
                   "add 4 3 (a) [b] OK1ABC [c] d (0 km)", "add 4  celkem nalezeno duplicit : 2",
                   "status  duplicit: 2"}));
  EXPECT_EQ(output.PocetDuplicit(), 2);

  // The next search counts from 0; none found closes the panel, and with
  // the grid hidden the status panel shows the way to the databases.
  view.events.clear();
  view.gridVisible = false;
  output.apply({SearchKind::Duplyo, 2, {"**CLOSE**"}, true}, view);
  EXPECT_EQ(view.events, (Lines{"panel off", "status Přechod do databáze - [F2],[F3] nebo [F4]"}));
  EXPECT_EQ(output.PocetDuplicit(), 0);

  // A closed panel is not closed again; with the grid shown nothing else.
  view.events.clear();
  view.gridVisible = true;
  output.apply({SearchKind::Duplyo, 3, {"**CLOSE**"}, true}, view);
  EXPECT_TRUE(view.events.empty());
}

}  // namespace
}  // namespace vektrano
