// The background searches over a generated town database of 100,000 lines
// and a call-sign list of 50,000 (the data of timed_index), and a log of
// 10,000 contacts.
// Targets: a file-mode place or call-sign search over the largest index file
// at most 30 ms; a memory-mode scan at most 30 ms; the duplicate search at
// most 10 ms; a running search stopped and its thread ended within 10 ms.
// Each figure is the median of the rounds, the worst round beside it.
//
//   bench_core_timed_search [folder]   (default: a fresh folder under /tmp)
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/generated_data.h"
#include "bench/support/search_data.h"
#include "core/reference/indexes.h"
#include "core/search/search_workers.h"
#include "core/search/searches.h"
#include "platform/files.h"

namespace {
using namespace vektrano;
using Clock = std::chrono::steady_clock;

bench::GeneratedData data;

struct Figures {
  double median = 0, worst = 0;
  size_t lines = 0;
};

// Runs the search `rounds` times, its lines collected as the batches
// collect them.
Figures timeSearch(const SearchInput& in, int rounds = 21) {
  std::vector<double> ms;
  size_t lines = 0;
  for (int r = 0; r < rounds; ++r) {
    std::vector<std::string> out;
    const auto t0 = Clock::now();
    runSearch(in, [&](std::string_view line) { out.emplace_back(line); });
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    lines = out.size();
  }
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.back(), lines};
}

int failed = 0;
void report(const char* what, const Figures& f, double target) {
  std::printf("%-58s %8.2f ms (worst %7.2f ms, %6zu lines; target %.0f ms)%s\n", what, f.median,
              f.worst, f.lines, target, f.median > target ? "  OVER" : "");
  if (f.median > target) ++failed;
}

// The name of the largest file prefix*.idx and its size.
std::pair<std::string, std::uintmax_t> largest(const IndexPrefix& p) {
  std::pair<std::string, std::uintmax_t> best;
  for (const auto& e : std::filesystem::directory_iterator(p.folder)) {
    const std::string name = e.path().filename().string();
    if (name.rfind(p.name, 0) != 0 || name.find(std::string(kErrorKey)) != std::string::npos) continue;
    if (e.file_size() > best.second) best = {name, e.file_size()};
  }
  return best;
}

std::string keyOf(const IndexPrefix& p, const std::string& file) {
  return file.substr(p.name.size(), file.size() - p.name.size() - 4);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = bench::benchFolder(argc, argv);
  bench::SearchData searchData;
  if (!searchData.prepare(data, folder)) return 1;
  SearchEnvironment& env = searchData.env;

  // File mode over the largest word-index files: the one of the locator
  // prefix as a word takes half the database, and every line of it matches.
  const auto [locFile, locSize] = largest(env.prefixes.loc);
  const auto [volFile, volSize] = largest(env.prefixes.vol);
  const auto [loclFile, loclSize] = largest(env.prefixes.locl);
  std::printf("largest index files: %s %ju bytes, %s %ju bytes, %s %ju bytes\n", locFile.c_str(),
              locSize, volFile.c_str(), volSize, loclFile.c_str(), loclSize);
  const std::string locKey = keyOf(env.prefixes.loc, locFile);
  const std::string volKey = keyOf(env.prefixes.vol, volFile);
  const std::string loclKey = keyOf(env.prefixes.locl, loclFile);
  const std::string someLocator = loclKey + "A";

  char what[128];
  std::snprintf(what, sizeof what, "file: places \"%s\" (%s, every line a hit)", locKey.c_str(),
                locFile.c_str());
  report(what, timeSearch(makeSearchInput({SearchKind::Lokatora, locKey, ""}, env)), 30);
  std::snprintf(what, sizeof what, "file: places \"%s Bero\" (%s, few hits)", locKey.c_str(),
                locFile.c_str());
  report(what, timeSearch(makeSearchInput({SearchKind::Lokatora, locKey + " Bero", ""}, env)), 30);
  std::snprintf(what, sizeof what, "file: call signs \"%s\" (%s, every line a hit)", volKey.c_str(),
                volFile.c_str());
  report(what, timeSearch(makeSearchInput({SearchKind::Volackaa, volKey, ""}, env)), 30);
  env.pocitejkm = true;
  report("file: call signs \"OK1\" with distances",
         timeSearch(makeSearchInput({SearchKind::Volackaa, "OK1", ""}, env)), 30);
  env.pocitejkm = false;
  std::snprintf(what, sizeof what, "file: towns of %s (%s)", someLocator.c_str(), loclFile.c_str());
  report(what, timeSearch(makeSearchInput({SearchKind::Mesta, someLocator, someLocator}, env)), 30);

  // Memory mode: a linear scan of the whole table.
  env.MenuRam = true;
  report("memory: places \"Bero\" over 100,000 rows",
         timeSearch(makeSearchInput({SearchKind::Lokatora, "Bero", ""}, env)), 30);
  report("memory: places \"JO\" over 100,000 rows (half are hits)",
         timeSearch(makeSearchInput({SearchKind::Lokatora, "JO", ""}, env)), 30);
  report("memory: places of two words over 100,000 rows",
         timeSearch(makeSearchInput({SearchKind::Lokatora, "Be ro", ""}, env)), 30);
  report("memory: call signs \"OK1A\" over 50,000 rows",
         timeSearch(makeSearchInput({SearchKind::Volackaa, "OK1A", ""}, env)), 30);
  report("memory: towns of a locator over 100,000 rows",
         timeSearch(makeSearchInput({SearchKind::Mesta, someLocator, someLocator}, env)), 30);

  // The duplicate search over a log of 10,000 contacts.
  env.log = LogLines::of(data.contacts(10000));
  const std::string someCall = std::string(env.log->cell(4321, 3).substr(0, 6));
  report("duplicates of a call sign in 10,000 contacts",
         timeSearch(makeSearchInput({SearchKind::Duplyo, someCall, ""}, env)), 10);
  report("duplicates of \"OK1\" in 10,000 contacts (half are hits)",
         timeSearch(makeSearchInput({SearchKind::Duplyo, "OK1", ""}, env)), 10);

  // Stopping a running search: from the stop request until its thread has
  // ended. The search is one that runs long (every row a hit).
  {
    std::atomic<int> batches{0};
    SearchWorkers workers([&](const SearchBatch&) { ++batches; });
    std::vector<double> ms;
    for (bool memory : {true, false})
      for (int r = 0; r < 21; ++r) {
        env.MenuRam = memory;
        batches = 0;
        workers.start(makeSearchInput({SearchKind::Lokatora, locKey, ""}, env));
        while (batches == 0) std::this_thread::yield();  // it runs
        const auto t0 = Clock::now();
        workers.stop(SearchKind::Lokatora);
        while (workers.activeThreads() > 0) std::this_thread::yield();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        workers.join();
      }
    std::sort(ms.begin(), ms.end());
    report("stop a running search until its thread has ended", {ms[ms.size() / 2], ms.back(), 0},
           10);
  }

  if (argc <= 1) {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  return failed ? 2 : 0;
}
