#pragma once
// The search threads: each search runs on a thread of its own one step below
// normal priority and hands its lines to the main thread in batches through
// the platform dispatcher.
//
// A restart is cancel-and-forget: the old search is told to stop and the
// main thread goes on at once; every batch carries the generation of the
// search that made it, and a batch whose generation is no longer the
// current one of its kind is dropped on the main thread, so a list never
// shows lines of an earlier word. Threads of one kind still never overlap
// (one lock per kind): a new search starts when the stopped one has let go,
// which is at its next line.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/search/packed_lines.h"
#include "core/search/searches.h"

namespace vektrano {

inline constexpr int kSearchKinds = 5;
inline int kindIndex(SearchKind k) { return static_cast<int>(k); }

// Lines of one search, in order.
struct SearchBatch {
  SearchKind kind = SearchKind::Mesta;
  std::uint64_t generation = 0;
  PackedLines lines;
  bool last = false;  // the search has ended with these lines
};

class SearchWorkers {
 public:
  // Runs on the main thread (where the dispatcher runs posted work) with
  // the batches of the current search of each kind only; it may take the
  // lines out of the batch.
  using Deliver = std::function<void(SearchBatch&)>;

  explicit SearchWorkers(Deliver deliver);
  // Stops every search and waits for the threads; batches still queued for
  // the main thread are dropped.
  ~SearchWorkers();
  SearchWorkers(const SearchWorkers&) = delete;
  SearchWorkers& operator=(const SearchWorkers&) = delete;

  // Stops the search of that kind (if one runs) and starts a new one on the
  // input; returns its generation. Never waits.
  std::uint64_t start(SearchInput input);
  // Tells the search of that kind to stop; from now on its lines are
  // dropped. Never waits.
  void stop(SearchKind kind);
  void stopAll();

  // The current search of that kind has not handed its last lines to the
  // main thread yet: it runs, or its last batch is still on its way. A
  // stopped search is not current.
  bool running(SearchKind kind) const;
  // Threads that have not ended yet, stopped ones included.
  int activeThreads() const;
  // Waits until every thread has ended (tests, benchmarks, shut-down).
  void join();

  // The generation whose batches are delivered; 0 when none.
  std::uint64_t generation(SearchKind kind) const;

  // Lines of the first batch of a search, of any later one at most (each
  // batch may take four times the lines of the one before), and the longest
  // a line waits for its batch to fill up. The first batch holds as many
  // lines as a list gives its view at once: a broad search fills the rows
  // shown with its first batch, painted once, where smaller first batches
  // had the list painted again for each of them within the same few
  // milliseconds, the eye seeing none of those paints.
  static constexpr size_t kBatchLines = 1024;
  static constexpr size_t kMaxBatchLines = 16384;
  static constexpr int kBatchMs = 20;

 private:
  struct Shared;
  struct Job {
    std::jthread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  void reap();

  std::shared_ptr<Shared> shared_;
  std::array<std::vector<Job>, kSearchKinds> jobs_;  // the last one is current
};

}  // namespace vektrano
