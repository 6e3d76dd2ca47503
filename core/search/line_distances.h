#pragma once
// The distances of a list's lines (an index file's, a memory table's rows)
// from one own locator, remembered as the searches meet them: typing on in
// one word searches the same lines again and again from the same own
// locator, and a broad key shows tens of thousands of distances.
#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "core/base/geometry.h"

namespace vektrano {

class LineDistances {
 public:
  LineDistances(std::string own, size_t lines);
  const std::string& own() const { return own_; }
  size_t size() const { return size_; }
  // vypocet(own, locator) for line i, worked out the first time it is asked
  // for; from is a calculator of the same own locator. Several threads may
  // ask at once: each works out the same figure.
  int km(size_t i, std::string_view locator, DistancesFrom& from);

 private:
  static constexpr int kUnknown = -2147483647 - 1;
  std::string own_;
  size_t size_;
  std::unique_ptr<std::atomic<int>[]> km_;
};

// The distances of one list from the own locator asked for last. Safe from
// any thread; a search keeps what it took for as long as it holds it.
class LineDistancesSlot {
 public:
  std::shared_ptr<LineDistances> from(const std::string& own, size_t lines);

 private:
  std::mutex mutex_;
  std::shared_ptr<LineDistances> current_;
};

}  // namespace vektrano
