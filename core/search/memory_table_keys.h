#pragma once
// Memory mode: which rows of a memory table have a word that begins with a
// given two characters, so that a place or call-sign search compares only
// those rows, as a file-mode search reads only the index file of its key.
// Made once per published table (tables never change once published) on
// the first search that needs it, and kept while the table lives.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "core/reference/memory_tables.h"

namespace vektrano {

class MemoryTableKeys {
 public:
  explicit MemoryTableKeys(const MemoryTable& table);
  // The rows, in table order, whose cell 0 has a word beginning with key
  // (two characters), and every separator row ("******") among them.
  std::vector<std::uint32_t> rows(std::string_view key) const;
  // How many rows have a word beginning with key, separators left out.
  size_t count(std::string_view key) const;

 private:
  std::vector<std::vector<std::uint32_t>> byKey_;  // 65536 keys of two bytes
  std::vector<std::uint32_t> separators_;
};

// The keys of table, made on first use and kept while the table lives.
// Safe from any thread.
std::shared_ptr<const MemoryTableKeys> keysOf(const SharedTable& table);

}  // namespace vektrano
