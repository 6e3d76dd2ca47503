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
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/grid.h"
#include "core/base/synonyms.h"
#include "core/entry/entry_line.h"
#include "core/reference/indexes.h"
#include "core/reference/memory_tables.h"

namespace vektrano {

inline constexpr std::string_view kCmdCls = "**CLS**";
inline constexpr std::string_view kCmdClose = "**CLOSE**";

// The contact rows of the log (rows 1..n of `Denik`), as the duplicate
// search sees them.
using LogSnapshot = std::shared_ptr<const std::vector<Grid::Row>>;

// Copies the contact rows of the log grid.
LogSnapshot snapshotLog(const Grid& Denik);

// Keeps one snapshot of the log until the grid changes, so that the
// duplicate search after every key release does not copy the whole log.
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

// A line is valid only during the call: the sink copies what it keeps.
using SearchSink = std::function<void(std::string_view line)>;

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
