// The searches of the entry line as the operator sees them: each job from
// its start until its last line stands in its look-up list and the list has
// laid out and painted its rows, over the generated town database of
// 100,000 lines and call-sign list of 50,000 (file mode and memory mode) and
// a log of 10,000 contacts. Each figure is the median of 21 rounds, the
// worst round beside it (the first reading of an index file is one of them).
// Goal: at most 5 ms median for every job.
//
//   bench_app_timed_search_lists [folder]   (default: a fresh folder under /tmp)
#include <stdlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/side_list.h"
#include "bench/support/generated_data.h"
#include "bench/support/search_data.h"
#include "core/reference/indexes.h"
#include "core/search/search_output.h"
#include "core/search/search_workers.h"
#include "core/search/searches.h"
#include "platform/dispatcher.h"

namespace {
using namespace vektrano;

// The main window's lists as the search output fills them.
class Lists : public SearchView {
 public:
  Lists() {
    for (SideList& l : lists_) {
      l.resize(700, 420);
      l.setRowHeight(18);
      l.show();
    }
  }
  SideList& of(SearchKind k) { return lists_[static_cast<size_t>(kindIndex(k))]; }
  void clearList(SearchKind k) override { of(k).clear(); }
  void appendLine(SearchKind k, const std::string& line) override {
    of(k).appendLines(std::span(&line, 1));
  }
  void appendLines(SearchKind k, PackedLines&& lines) override {
    of(k).appendLines(std::move(lines));
  }
  bool wduplicityVisible() const override { return true; }
  void ZobrazDuplicity(bool) override {}
  bool DenikVisible() const override { return true; }
  void setStatusPanel1(const std::string&) override {}

 private:
  std::array<SideList, kSearchKinds> lists_;
};

struct Figures {
  double median = 0, worst = 0;
  int lines = 0;
};

int failed = 0;
void report(const std::string& what, const Figures& f) {
  constexpr double kGoal = 5;
  std::printf("%-60s %7.2f ms (worst %7.2f ms, %6d lines; goal %.0f ms)%s\n", what.c_str(),
              f.median, f.worst, f.lines, kGoal, f.median > kGoal ? "  OVER" : "");
  if (f.median > kGoal) ++failed;
}

std::string largestKey(const IndexPrefix& p) {
  std::string best;
  std::uintmax_t size = 0;
  for (const auto& e : std::filesystem::directory_iterator(p.folder)) {
    const std::string name = e.path().filename().string();
    if (name.rfind(p.name, 0) != 0 || name.find(std::string(kErrorKey)) != std::string::npos) continue;
    if (e.file_size() > size) {
      size = e.file_size();
      best = name.substr(p.name.size(), name.size() - p.name.size() - 4);
    }
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::setDispatcher(platform::makeQtDispatcher());
  bench::GeneratedData data;
  const std::string folder = bench::benchFolder(argc, argv);
  bench::SearchData searchData;
  if (!searchData.prepare(data, folder)) return 1;
  SearchEnvironment& env = searchData.env;
  const auto contacts = data.contacts(10000);
  env.log = LogLines::of(contacts);

  Lists lists;
  SearchOutput output;
  bool done = false;
  SearchWorkers workers([&](SearchBatch& b) {
    output.apply(b, lists);
    if (b.last) done = true;
  });

  auto time = [&](const ScheduledSearch& s) {
    std::vector<double> ms;
    int lines = 0;
    for (int round = 0; round < 21; ++round) {
      done = false;
      QElapsedTimer t;
      t.start();
      workers.start(makeSearchInput(s, env));
      while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
      // The rows laid out and the visible ones painted, as a shown list does.
      SideList& list = lists.of(s.kind);
      QCoreApplication::processEvents();
      list.viewport()->repaint();
      ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
      lines = list.count();
    }
    std::sort(ms.begin(), ms.end());
    return Figures{ms[ms.size() / 2], ms.back(), lines};
  };

  const std::string loc = largestKey(env.prefixes.loc), vol = largestKey(env.prefixes.vol);
  const std::string locator = largestKey(env.prefixes.locl) + "A";
  for (bool memory : {false, true}) {
    env.MenuRam = memory;
    const std::string mode = memory ? "memory: " : "file: ";
    report(mode + "places \"" + loc + "\" (a broad key)", time({SearchKind::Lokatora, loc, ""}));
    report(mode + "places \"" + loc + " Bero\" (few hits)",
           time({SearchKind::Lokatora, loc + " Bero", ""}));
    report(mode + "places \"Bero\"", time({SearchKind::Lokatora, "Bero", ""}));
    report(mode + "call signs \"" + vol + "\" (a broad key)", time({SearchKind::Volackaa, vol, ""}));
    env.pocitejkm = true;
    report(mode + "call signs \"OK1\" with distances", time({SearchKind::Volackaa, "OK1", ""}));
    env.pocitejkm = false;
    report(mode + "call signs \"OK1A\"", time({SearchKind::Volackaa, "OK1A", ""}));
    report(mode + "towns of " + locator, time({SearchKind::Mesta, locator, locator}));
    report(mode + "places \"" + locator.substr(0, 4) + "\" (a big square, read through " + loc + ")",
           time({SearchKind::Lokatora, locator.substr(0, 4), ""}));
  }
  const std::string someCall = std::string(env.log->cell(4321, 3).substr(0, 6));
  report("duplicates of a call sign in 10,000 contacts", time({SearchKind::Duplyo, someCall, ""}));
  report("duplicates of \"OK1\" in 10,000 contacts (half are hits)",
         time({SearchKind::Duplyo, "OK1", ""}));

  workers.stopAll();
  workers.join();
  platform::setDispatcher(nullptr);
  if (argc <= 1) {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  return failed ? 2 : 0;
}
