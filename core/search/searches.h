#pragma once
// core/search: the background searches (this header), their worker
// threads, the 100 ms scheduler, the clock with the midnight rebuild and the
// update reminder, and the lines the searches put into the side lists.
//
// The five background searches of the entry line: towns and hills of the
// typed locator (`mesta`), name days (`jmena`), places by name (`lokatora`),
// call signs (`volackaa`) and duplicates in the log (`duplyo`).
//
// A search is a plain function: an immutable snapshot in, its output lines
// out through a sink, in order. It reads nothing else, so it can run on any
// thread while the operator types on and the main window changes; a stop
// request ends it at the next line. "**CLS**" (clear the list) and
// "**CLOSE**" (close the duplicate panel) are commands among the lines.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/base/grid.h"
#include "core/base/synonyms.h"
#include "core/entry/entry_line.h"
#include "core/reference/indexes.h"
#include "core/reference/memory_tables.h"

namespace vektrano {

inline constexpr std::string_view kCmdCls = "**CLS**";
inline constexpr std::string_view kCmdClose = "**CLOSE**";

// The contact rows of the log (rows 1..n of `Denik`) as the duplicate search
// reads them: the cells from the number to the distance, packed in blocks of
// bytes. A later snapshot of the same log shares the blocks of the earlier
// one and copies only the rows stored since, so a stored contact costs the
// main thread one row, not the log.
class LogLines {
 public:
  static constexpr size_t kCells = 7;  // number, time, two reports, call sign, locator, km
  using Row = std::array<std::string_view, kCells>;

  size_t size() const { return size_; }
  std::string_view cell(size_t row, size_t col) const;
  // Every row in order with its call sign as the duplicate search compares
  // it (note words out, folded by `PrevodJenNaVelke`); stops (false) when
  // fn returns false. The folded call signs of a block are made by the
  // first search that reads it, on its thread, and kept with the block.
  template <class Fn>
  bool forEach(Fn&& fn) const {
    for (const auto& b : blocks_) {
      const Folded& folded = b->folded();
      for (size_t r = 0; r < b->rows(); ++r)
        if (!fn(b->row(r), folded.call(r))) return false;
    }
    return true;
  }

  // Rows from, given as the log's rows (cells beyond a row are empty).
  static std::shared_ptr<const LogLines> of(const std::vector<Grid::Row>& rows, size_t from = 0);
  // before and the rows of the log after its last one.
  static std::shared_ptr<const LogLines> appended(const LogLines& before,
                                                  const std::vector<Grid::Row>& rows, size_t from);

 private:
  struct Folded {
    std::string bytes;
    std::vector<std::uint32_t> ends;  // one per row
    std::string_view call(size_t r) const {
      const size_t begin = r == 0 ? 0 : ends[r - 1];
      return std::string_view(bytes).substr(begin, ends[r] - begin);
    }
  };
  struct Block {
    Block() = default;
    Block(const Block& other) : bytes(other.bytes), ends(other.ends) {}
    std::string bytes;
    std::vector<std::uint32_t> ends;  // kCells per row
    size_t rows() const { return ends.size() / kCells; }
    Row row(size_t r) const;
    void add(const Grid::Row& row);
    const Folded& folded() const;

   private:
    mutable std::once_flag foldOnce_;
    mutable Folded folded_;
  };
  // Rows a tail block takes in before a new one starts: few enough that
  // copying it again for a stored contact costs next to nothing.
  static constexpr size_t kTailRows = 1024;

  std::vector<std::shared_ptr<const Block>> blocks_;
  size_t size_ = 0;
};

using LogSnapshot = std::shared_ptr<const LogLines>;

// The contact rows of the log grid.
LogSnapshot snapshotLog(const Grid& Denik);

// Keeps one snapshot of the log until the grid changes, so that the
// duplicate search after every key release does not copy the whole log; a
// row stored since is added to the snapshot's shared blocks.
// Lives on the main thread beside the grid it follows.
class LogSnapshotCache {
 public:
  explicit LogSnapshotCache(Grid& Denik);
  ~LogSnapshotCache();
  LogSnapshotCache(const LogSnapshotCache&) = delete;
  LogSnapshotCache& operator=(const LogSnapshotCache&) = delete;
  LogSnapshot get();

 private:
  Grid& grid_;
  int listener_;
  LogSnapshot snapshot_;
  // Since snapshot_ the grid only had rows added at the end, the last of
  // them at revision known_ (rows taken for writing change the revision
  // without a word).
  bool appendedOnly_ = true;
  std::uint64_t known_ = 0;
};

// Everything one search reads, taken when it starts.
struct SearchInput {
  SearchKind kind = SearchKind::Mesta;
  // HledaneMisto, HledanaVolacka, KrestniJmeno or KlicDuplicity; the towns
  // search reads only the locator.
  std::string text;
  std::string LokatorProtistanice;  // typed locator, may be empty
  std::string lokportable = "JO70GQ";
  bool MenuRam = false;    // memory tables instead of index files
  bool pocitejkm = false;  // place and call-sign hits with their distance
  IndexPrefixes prefixes;
  SharedTable table;  // memory mode: SGlokatory, SGvolacky or SGsvatky by kind
  std::shared_ptr<const TabulkaSynonym> synonyms;  // name days; none = plain folding
  LogSnapshot log;                                 // duplicates
};

// What the main window holds when a search starts; makeSearchInput picks
// what the search of a kind needs.
struct SearchEnvironment {
  std::string lokportable = "JO70GQ";
  bool MenuRam = false;
  bool pocitejkm = false;
  IndexPrefixes prefixes;
  SharedTable SGlokatory, SGvolacky, SGsvatky;
  std::shared_ptr<const TabulkaSynonym> synonyms;
  LogSnapshot log;
};

SearchInput makeSearchInput(const ScheduledSearch& search, const SearchEnvironment& env);

// Where a search puts its lines, in order. A line is valid only during the
// call: the sink copies what it keeps. A line shown with its distance comes
// in two pieces, which a sink that packs lines (the search threads' batches)
// takes one after the other instead of having them joined first; any other
// sink gets them joined.
class SearchSink {
 public:
  using Line = std::function<void(std::string_view line)>;
  using Pieces = std::function<void(std::string_view head, std::string_view tail)>;

  template <class Fn>
    requires std::is_invocable_v<Fn&, std::string_view>
  SearchSink(Fn&& line) : line_(std::forward<Fn>(line)) {}
  SearchSink(Line line, Pieces pieces) : line_(std::move(line)), pieces_(std::move(pieces)) {}

  void operator()(std::string_view line) const { line_(line); }
  void operator()(std::string_view head, std::string_view tail) const;

 private:
  Line line_;
  Pieces pieces_;
  mutable std::string joined_;
};

void mesta(const SearchInput& in, const SearchSink& out, std::stop_token stop = {});
void jmena(const SearchInput& in, const SearchSink& out, std::stop_token stop = {});
void lokatora(const SearchInput& in, const SearchSink& out, std::stop_token stop = {});
void volackaa(const SearchInput& in, const SearchSink& out, std::stop_token stop = {});
void duplyo(const SearchInput& in, const SearchSink& out, std::stop_token stop = {});

// The search of in.kind.
void runSearch(const SearchInput& in, const SearchSink& out, std::stop_token stop = {});

// Index file names from typed text follow the rebuild's key rule: a
// locator key of letters and digits, a word key of two characters as the
// rebuild accepts them. Anything else names no file.
bool validLocatorKey(std::string_view key);
bool validWordKey(std::string_view key);

}  // namespace vektrano
