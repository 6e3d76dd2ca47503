#pragma once
// The index files the file-mode searches have just read, kept in memory
// while each file is unchanged on disk: the same inode, size, modification
// and change time. A broad key (a two-letter call-sign prefix, a big-square
// locator) names a file of half a database; typing on in the same word reads
// it again and again, and the folding of its lines is done once. A rebuild
// puts other files (or rewritten ones) in place, so the next search reads
// them at once.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/search/line_distances.h"
#include "core/search/packed_lines.h"

namespace vektrano {

// One index file as a place or call-sign search compares and shows its
// lines, each kind end to end in one buffer: a broad search walks tens of
// thousands of them in order.
struct IndexListLines {
  // " " + locator + " " + folded text before "("; empty for the "******"
  // between the two databases.
  PackedLines compare;
  PackedLines shown;  // the line as the list shows it, before any distance
  size_t size() const { return compare.size(); }
  bool separator(size_t i) const { return compare[i].empty(); }
};

class IndexFile {
 public:
  explicit IndexFile(std::string data) : data_(std::move(data)) {}
  const std::string& data() const { return data_; }
  // Made on first use, then kept with the file.
  const IndexListLines& listLines() const;
  // The distances of listLines() from an own locator.
  LineDistancesSlot& distances() const { return distances_; }

 private:
  std::string data_;
  mutable std::once_flag once_;
  mutable IndexListLines lines_;
  mutable LineDistancesSlot distances_;
};

// The file at path, from memory when it is unchanged since it was read;
// nothing when it cannot be read. Safe from any thread.
std::shared_ptr<const IndexFile> readIndexFile(const std::string& path);

// Forgets every file (tests, and memory given back).
void clearIndexFileCache();

}  // namespace vektrano
