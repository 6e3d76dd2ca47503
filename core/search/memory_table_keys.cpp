#include "core/search/memory_table_keys.h"

#include <algorithm>
#include <iterator>
#include <mutex>

namespace vektrano {

bool MemoryTableKeys::keyed(std::string_view word) {
  return word.size() >= 2 && word.substr(0, 4).find(' ') == std::string_view::npos;
}

size_t MemoryTableKeys::level(std::string_view word) {
  return std::min<size_t>(word.size(), 4) - 2;
}

std::uint32_t MemoryTableKeys::bucket(std::string_view prefix) const {
  const auto byte = [&](size_t i) { return std::uint32_t{static_cast<unsigned char>(prefix[i])}; };
  if (prefix.size() == 2 && bits_ == 16) return byte(0) << 8 | byte(1);
  std::uint32_t v = 0;
  for (size_t i = 0; i < prefix.size(); ++i) v = v << 8 | byte(i);
  return (v * 2654435761u) >> (32 - bits_);
}

MemoryTableKeys::MemoryTableKeys(const MemoryTable& table) {
  bits_ = 8;
  while (bits_ < kMaxBucketBits && (size_t{1} << bits_) < table.size() * 16) ++bits_;
  const size_t buckets = size_t{1} << bits_;
  // Each row's buckets on every level, once each; called twice, to count and
  // then to fill.
  std::array<std::vector<std::uint32_t>, 3> seen;
  auto rowBuckets = [&](const std::string& cell) {
    for (auto& s : seen) s.clear();
    for (size_t i = 0; i < cell.size(); ++i) {
      // A word begins after a blank; the searches' words carry that blank.
      if (cell[i] != ' ') continue;
      for (size_t len = 2; len <= 4 && i + len < cell.size(); ++len) {
        if (cell[i + len] == ' ') break;
        if (len == 2 && cell[i + 1] == ' ') break;
        seen[len - 2].push_back(bucket(std::string_view(cell).substr(i + 1, len)));
      }
    }
    for (auto& s : seen) {
      std::sort(s.begin(), s.end());
      s.erase(std::unique(s.begin(), s.end()), s.end());
    }
  };
  for (Level& l : levels_) l.begins.assign(buckets + 1, 0);
  for (const MemoryRow& row : table) {
    if (row.cell0 == "******") continue;
    rowBuckets(row.cell0);
    for (size_t k = 0; k < 3; ++k)
      for (std::uint32_t b : seen[k]) ++levels_[k].begins[b + 1];
  }
  std::array<std::vector<std::uint32_t>, 3> next;
  for (size_t k = 0; k < 3; ++k) {
    Level& l = levels_[k];
    for (size_t b = 0; b < buckets; ++b) l.begins[b + 1] += l.begins[b];
    l.rows.resize(l.begins[buckets]);
    next[k].assign(l.begins.begin(), l.begins.end() - 1);
  }
  for (std::uint32_t r = 0; r < table.size(); ++r) {
    if (table[r].cell0 == "******") {
      separators_.push_back(r);
      continue;
    }
    rowBuckets(table[r].cell0);
    for (size_t k = 0; k < 3; ++k)
      for (std::uint32_t b : seen[k]) levels_[k].rows[next[k][b]++] = r;
  }
}

std::span<const std::uint32_t> MemoryTableKeys::bucketRows(std::string_view word) const {
  if (!keyed(word)) return {};
  const size_t k = level(word);
  const Level& l = levels_[k];
  const std::uint32_t b = bucket(word.substr(0, k + 2));
  return std::span(l.rows).subspan(l.begins[b], l.begins[b + 1] - l.begins[b]);
}

std::vector<std::uint32_t> MemoryTableKeys::rows(std::string_view word) const {
  const auto hits = bucketRows(word);
  std::vector<std::uint32_t> out;
  out.reserve(hits.size() + separators_.size());
  std::merge(hits.begin(), hits.end(), separators_.begin(), separators_.end(),
             std::back_inserter(out));
  return out;
}

size_t MemoryTableKeys::count(std::string_view word) const { return bucketRows(word).size(); }

std::shared_ptr<const MemoryTableKeys> keysOf(const SharedTable& table) {
  static std::mutex mutex;
  static std::weak_ptr<const MemoryTable> tables[4];
  static std::shared_ptr<const MemoryTableKeys> keys[4];
  static int next = 0;
  if (!table) return nullptr;
  {
    std::lock_guard lock(mutex);
    for (int i = 0; i < 4; ++i)
      if (keys[i] && tables[i].lock() == table) return keys[i];
  }
  auto made = std::make_shared<const MemoryTableKeys>(*table);
  std::lock_guard lock(mutex);
  for (int i = 0; i < 4; ++i)
    if (keys[i] && tables[i].lock() == table) return keys[i];
  // The oldest place goes; a table no longer alive frees its keys with it.
  for (int i = 0; i < 4; ++i)
    if (tables[i].expired()) {
      keys[i].reset();
      next = i;
    }
  tables[next] = table;
  keys[next] = made;
  next = (next + 1) % 4;
  return made;
}

}  // namespace vektrano
