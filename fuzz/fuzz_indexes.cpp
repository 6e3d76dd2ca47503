// The reference databases as the index rebuild and memory mode read them:
// town and locator database, call-sign list, name days (the first byte picks
// the kind, the rest is the database). Each is split into index files in
// memory and on disk, loaded as a memory table, and searched in both modes
// with words taken from it.
//
// Property: every line of an index file is a line of the database, copied
// whole, or the separator line.
#include <set>

#include "core/base/synonyms.h"
#include "core/reference/indexes.h"
#include "core/reference/list_data.h"
#include "core/reference/memory_tables.h"
#include "core/search/searches.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"

namespace vektrano {
namespace {

std::string home() { return platform::joinPath(fuzz::scratch(), "program"); }

// The process keeps its priority.
struct Observer : IndexObserver {
  void setProcessPriority(platform::ProcessPriority) override {}
};

void checkFiles(const IndexBuild::Files& files, const std::set<std::string>& lines) {
  for (const auto& [name, content] : files)
    for (const std::string& line : splitFileLines(content))
      if (line != kSeparatorLine && !lines.count(line)) fuzz::fail("index file " + name + " holds a line of no database");
}

// A few search words from the database itself.
std::vector<std::string> wordsOf(const std::vector<std::string>& lines) {
  std::vector<std::string> words;
  for (const std::string& line : lines) {
    size_t start = line.find(';');
    if (start == std::string::npos) continue;
    words.push_back(line.substr(start + 1, 12));
    if (words.size() >= 3) break;
  }
  if (!lines.empty()) words.push_back(lines.front().substr(0, 6));
  return words;
}

void search(SearchKind kind, const SearchEnvironment& env, const std::vector<std::string>& words) {
  for (const std::string& w : words) {
    const ScheduledSearch s{kind, w, w.substr(0, 6)};
    SearchInput in = makeSearchInput(s, env);
    runSearch(in, [](std::string_view) {});
    in.LokatorProtistanice.clear();
    runSearch(in, [](std::string_view) {});
  }
}

void database(std::uint8_t which, const std::string& data) {
  const IndexKind kind = which % 3 == 0 ? IndexKind::Lok : which % 3 == 1 ? IndexKind::Vol : IndexKind::Jmn;
  const std::vector<std::string> lines = splitFileLines(data);
  const std::set<std::string> known(lines.begin(), lines.end());

  IndexBuild build(kind);
  for (const std::string& line : lines) build.addLine(line);
  build.appendSeparator();
  checkFiles(build.wordFiles(), known);
  checkFiles(build.locatorFiles(), known);

  TabulkaSynonym synonyms;
  synonyms.add("František", "Franta");
  const Day today{2008, 4, 8};
  auto table = std::make_shared<MemoryTable>();
  for (const std::string& line : lines) {
    if (kind == IndexKind::Jmn) {
      if (nameDayLoaded(line, today)) table->push_back(nameDayRow(line, today, &synonyms));
    } else {
      table->push_back(databaseRow(line));
    }
  }

  // The rebuild on disk, then both modes of the searches.
  Observer observer;
  Indexes indexes(home(), observer);
  DatabaseFiles files = DatabaseFiles::beside(home());
  const std::string& file = kind == IndexKind::Lok ? files.zr4 : kind == IndexKind::Vol ? files.pvk : files.jmn;
  fuzz::writeFile(file, data);
  const bool built = kind == IndexKind::Lok   ? indexes.locIDX(files, DatabaseChoice::MainOnly)
                     : kind == IndexKind::Vol ? indexes.volIDX(files, DatabaseChoice::MainOnly)
                                              : indexes.jmnIDX(files);
  if (!built) fuzz::fail("the rebuild failed");

  SearchEnvironment env;
  env.prefixes = indexes.prefixes();
  env.synonyms = std::make_shared<TabulkaSynonym>(synonyms);
  env.SGlokatory = env.SGvolacky = env.SGsvatky = table;
  env.pocitejkm = true;
  const std::vector<std::string> words = wordsOf(lines);
  for (bool memory : {false, true}) {
    env.MenuRam = memory;
    if (kind == IndexKind::Lok) {
      search(SearchKind::Mesta, env, words);
      search(SearchKind::Lokatora, env, words);
    } else if (kind == IndexKind::Vol) {
      search(SearchKind::Volackaa, env, words);
    } else {
      search(SearchKind::Jmena, env, words);
    }
  }
}

}  // namespace
}  // namespace vektrano

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vektrano::fuzz::setUp();
  vektrano::fuzz::freshFolder("program");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  vektrano::database(data[0], std::string(vektrano::fuzz::bytes(data + 1, size - 1)));
  vektrano::fuzz::takeMessageCount();
  return 0;
}
