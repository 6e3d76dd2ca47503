#pragma once
// Memory mode: which rows of a memory table have a word that begins with
// what the operator typed, so that a place or call-sign search compares only
// those rows, as a file-mode search reads only the index file of its key;
// and the distances of the rows from the own locator, remembered as the
// searches meet them. Made once per published table (tables never change
// once published) on the first search that needs it, and kept while the
// table lives.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "core/reference/memory_tables.h"
#include "core/search/line_distances.h"

namespace vektrano {

class MemoryTableKeys {
 public:
  explicit MemoryTableKeys(const MemoryTable& table);
  // The rows, in table order, that may hold a word beginning with word
  // (without its leading blank; two characters or more, no blank among the
  // first four): every row that does, perhaps a few others, and every
  // separator row ("******") among them.
  std::vector<std::uint32_t> rows(std::string_view word) const;
  // How many rows rows(word) gives, separators left out.
  size_t count(std::string_view word) const;
  // False for a word the keys cannot narrow (shorter than two characters,
  // or a blank among its first four).
  static bool keyed(std::string_view word);

  LineDistancesSlot& distances() const { return distances_; }

 private:
  // Rows by the first two, three and four characters of their words: the
  // two characters are the bucket, three and four are hashed into buckets.
  // Each level is the rows of every bucket end to end, with where each
  // bucket begins.
  struct Level {
    std::vector<std::uint32_t> begins;  // buckets + 1
    std::vector<std::uint32_t> rows;
  };
  // 2^16 buckets hold the two characters exactly; a small table gets fewer,
  // about 16 per row, so that keys made for a few rows cost no more than them.
  static constexpr unsigned kMaxBucketBits = 16;
  static size_t level(std::string_view word);
  std::uint32_t bucket(std::string_view prefix) const;
  std::span<const std::uint32_t> bucketRows(std::string_view word) const;

  unsigned bits_ = kMaxBucketBits;
  std::array<Level, 3> levels_;
  std::vector<std::uint32_t> separators_;
  mutable LineDistancesSlot distances_;
};

// The keys of table, made on first use and kept while the table lives.
// Safe from any thread.
std::shared_ptr<const MemoryTableKeys> keysOf(const SharedTable& table);

}  // namespace vektrano
