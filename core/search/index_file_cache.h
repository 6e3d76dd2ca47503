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

namespace vektrano {

// One index file as a place or call-sign search compares and shows its lines.
struct IndexListLine {
  bool separator = false;  // "******" between the two databases
  std::string compare;     // " " + locator + " " + folded text before "("
  std::string shown;       // the line as the list shows it, before any distance
};

class IndexFile {
 public:
  explicit IndexFile(std::string data) : data_(std::move(data)) {}
  const std::string& data() const { return data_; }
  // Made on first use, then kept with the file.
  const std::vector<IndexListLine>& listLines() const;

 private:
  std::string data_;
  mutable std::once_flag once_;
  mutable std::vector<IndexListLine> lines_;
};

// The file at path, from memory when it is unchanged since it was read;
// nothing when it cannot be read. Safe from any thread.
std::shared_ptr<const IndexFile> readIndexFile(const std::string& path);

// Forgets every file (tests, and memory given back).
void clearIndexFileCache();

}  // namespace vektrano
