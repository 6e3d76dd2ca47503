#include "core/search/memory_table_keys.h"

#include <algorithm>
#include <iterator>
#include <mutex>

namespace vektrano {
namespace {

std::uint32_t keyIndex(unsigned char a, unsigned char b) { return (std::uint32_t{a} << 8) | b; }

}  // namespace

MemoryTableKeys::MemoryTableKeys(const MemoryTable& table) : byKey_(65536) {
  std::vector<std::uint32_t> seen;
  for (std::uint32_t r = 0; r < table.size(); ++r) {
    const std::string& cell = table[r].cell0;
    if (cell == "******") {
      separators_.push_back(r);
      continue;
    }
    seen.clear();
    for (size_t i = 0; i + 1 < cell.size(); ++i) {
      // A word begins after a blank; the searches' words carry that blank.
      if (cell[i] != ' ' || cell[i + 1] == ' ' || i + 2 >= cell.size() || cell[i + 2] == ' ')
        continue;
      const std::uint32_t k = keyIndex(static_cast<unsigned char>(cell[i + 1]),
                                       static_cast<unsigned char>(cell[i + 2]));
      if (std::find(seen.begin(), seen.end(), k) != seen.end()) continue;
      seen.push_back(k);
      byKey_[k].push_back(r);
    }
  }
}

std::vector<std::uint32_t> MemoryTableKeys::rows(std::string_view key) const {
  if (key.size() != 2) return {};
  const auto& hits = byKey_[keyIndex(static_cast<unsigned char>(key[0]),
                                     static_cast<unsigned char>(key[1]))];
  std::vector<std::uint32_t> out;
  out.reserve(hits.size() + separators_.size());
  std::merge(hits.begin(), hits.end(), separators_.begin(), separators_.end(),
             std::back_inserter(out));
  return out;
}

size_t MemoryTableKeys::count(std::string_view key) const {
  if (key.size() != 2) return 0;
  return byKey_[keyIndex(static_cast<unsigned char>(key[0]), static_cast<unsigned char>(key[1]))]
      .size();
}

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
