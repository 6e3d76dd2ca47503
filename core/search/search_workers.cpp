#include "core/search/search_workers.h"

#include <algorithm>
#include <chrono>

#include "platform/dispatcher.h"
#include "platform/thread_priority.h"

namespace vektrano {

// What the threads and the queued batches share with the workers; it
// outlives them for batches still waiting in the main thread's queue.
struct SearchWorkers::Shared {
  Deliver deliver;
  std::atomic<bool> alive{true};
  std::atomic<std::uint64_t> nextGeneration{1};
  std::array<std::atomic<std::uint64_t>, kSearchKinds> current{};
  // The generation whose last batch has been delivered.
  std::array<std::atomic<std::uint64_t>, kSearchKinds> delivered{};
  std::array<std::mutex, kSearchKinds> lock;  // one thread of a kind at a time
};

namespace {

// Collects the lines of one search and posts them in batches.
class Batcher {
 public:
  using Clock = std::chrono::steady_clock;
  Batcher(std::function<bool()> current, std::function<void(SearchBatch&&)> post, SearchKind kind,
          std::uint64_t generation)
      : current_(std::move(current)), post_(std::move(post)) {
    batch_.kind = kind;
    batch_.generation = generation;
  }
  template <class... Pieces>
  void add(Pieces... line) {
    if (batch_.lines.empty()) {
      since_ = Clock::now();
      batch_.lines.reserve(limit_, limit_ * 48);
    }
    batch_.lines.push_back(line...);
    // The clock is read every 16 lines: reading it costs as much as a line.
    const size_t n = batch_.lines.size();
    if (n >= limit_ ||
        (n % 16 == 0 && Clock::now() - since_ >= std::chrono::milliseconds(SearchWorkers::kBatchMs))) {
      flush(false);
      // A search of thousands of hits comes in a few big batches, each one
      // insertion into its list, instead of hundreds of small ones that
      // would keep the main thread busy.
      limit_ = std::min(limit_ * 4, SearchWorkers::kMaxBatchLines);
    }
  }
  void flush(bool last) {
    // A search that has been replaced need not queue anything more.
    if (!current_()) {
      batch_.lines.clear();
      return;
    }
    batch_.last = last;
    post_(std::move(batch_));
    batch_.lines.clear();
  }

 private:
  std::function<bool()> current_;
  std::function<void(SearchBatch&&)> post_;
  SearchBatch batch_;
  Clock::time_point since_;
  size_t limit_ = SearchWorkers::kBatchLines;
};

}  // namespace

SearchWorkers::SearchWorkers(Deliver deliver) : shared_(std::make_shared<Shared>()) {
  shared_->deliver = std::move(deliver);
}

SearchWorkers::~SearchWorkers() {
  shared_->alive = false;
  stopAll();
  join();
}

std::uint64_t SearchWorkers::start(SearchInput input) {
  const int k = kindIndex(input.kind);
  stop(input.kind);
  reap();
  const std::uint64_t generation = shared_->nextGeneration++;
  shared_->current[k] = generation;

  auto done = std::make_shared<std::atomic<bool>>(false);
  std::shared_ptr<Shared> shared = shared_;
  std::jthread thread([shared, done, generation, k, input = std::move(input)](std::stop_token stop) {
    platform::lowerCurrentThreadPriority();
    {
      std::lock_guard lock(shared->lock[k]);
      auto isCurrent = [&] {
        return !stop.stop_requested() && shared->alive && shared->current[k] == generation;
      };
      if (isCurrent()) {
        Batcher batcher(
            isCurrent,
            [shared, k](SearchBatch&& batch) {
              platform::dispatcher().post([shared, k, batch = std::move(batch)]() mutable {
                // Checked on the main thread, where a restart happens: a
                // batch of a replaced search never reaches the list.
                if (shared->alive && shared->current[k] == batch.generation) {
                  if (batch.last) shared->delivered[k] = batch.generation;
                  shared->deliver(batch);
                }
              });
            },
            input.kind, generation);
        try {
          runSearch(input,
                    SearchSink([&](std::string_view line) { batcher.add(line); },
                               [&](std::string_view head, std::string_view tail) { batcher.add(head, tail); }),
                    stop);
          batcher.flush(true);
        } catch (...) {
          // A failing search ends like a finished one: what it had found
          // still goes out, and the kind is free for the next search.
          try {
            batcher.flush(true);
          } catch (...) {
          }
        }
      }
    }
    *done = true;
  });
  jobs_[k].push_back({std::move(thread), std::move(done)});
  return generation;
}

void SearchWorkers::stop(SearchKind kind) {
  const int k = kindIndex(kind);
  shared_->current[k] = 0;
  for (Job& job : jobs_[k]) job.thread.request_stop();
}

void SearchWorkers::stopAll() {
  for (int k = 0; k < kSearchKinds; ++k) stop(static_cast<SearchKind>(k));
}

bool SearchWorkers::running(SearchKind kind) const {
  const int k = kindIndex(kind);
  const std::uint64_t g = shared_->current[k];
  return g != 0 && shared_->delivered[k] != g;
}

int SearchWorkers::activeThreads() const {
  int n = 0;
  for (const auto& jobs : jobs_)
    for (const Job& job : jobs) n += *job.done ? 0 : 1;
  return n;
}

void SearchWorkers::join() {
  for (auto& jobs : jobs_) {
    for (Job& job : jobs)
      if (job.thread.joinable()) job.thread.join();
    jobs.clear();
  }
}

std::uint64_t SearchWorkers::generation(SearchKind kind) const {
  return shared_->current[kindIndex(kind)];
}

void SearchWorkers::reap() {
  for (auto& jobs : jobs_)
    std::erase_if(jobs, [](const Job& job) { return job.done->load(); });
}

}  // namespace vektrano
