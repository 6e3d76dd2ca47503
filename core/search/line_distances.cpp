#include "core/search/line_distances.h"

namespace vektrano {

LineDistances::LineDistances(std::string own, size_t lines)
    : own_(std::move(own)), size_(lines), km_(new std::atomic<int>[lines]) {
  for (size_t i = 0; i < lines; ++i) km_[i].store(kUnknown, std::memory_order_relaxed);
}

int LineDistances::km(size_t i, std::string_view locator, DistancesFrom& from) {
  if (i >= size_) return from.to(locator);
  int km = km_[i].load(std::memory_order_relaxed);
  if (km == kUnknown) {
    km = from.to(locator);
    km_[i].store(km, std::memory_order_relaxed);
  }
  return km;
}

std::shared_ptr<LineDistances> LineDistancesSlot::from(const std::string& own, size_t lines) {
  std::lock_guard lock(mutex_);
  if (!current_ || current_->own() != own || current_->size() != lines)
    current_ = std::make_shared<LineDistances>(own, lines);
  return current_;
}

}  // namespace vektrano
