// Key release in the entry line (parse, rewrite, distance and azimuth,
// search scheduling; no painting) for a 100-character line, and Enter on
// logs of 1,000, 10,000 and 100,000 contacts (completion, recalculation,
// statistics, both durable writes).
// Each iteration is timed on its own; p50/p99 are reported as counters.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/generated_data.h"
#include "core/entry/entry_line.h"
#include "core/log/log_file.h"
#include "core/entry/store_contact.h"
#include "platform/paths.h"

namespace vektrano {
namespace {

using Clock = std::chrono::steady_clock;

void percentiles(benchmark::State& state, std::vector<double>& us) {
  if (us.empty()) return;
  std::sort(us.begin(), us.end());
  auto at = [&](double q) { return us[std::min(us.size() - 1, static_cast<size_t>(q * us.size()))]; };
  state.counters["p50_us"] = at(0.50);
  state.counters["p99_us"] = at(0.99);
  state.counters["max_us"] = us.back();
}

std::string hundredCharacters() {
  std::string line = "59 57 jo70po 12:34 petr novák .pozdě Vyšší Brod u Českého Krumlova ,chata ,ch-12 ok1abc /p";
  while (line.size() < 100) line += " x";
  return line.substr(0, 100);
}

void BM_KeyRelease100(benchmark::State& state) {
  EntryOptions options;
  options.keyboard = {true, false};
  options.secondstation = options.threestation = true;
  options.loksecondary = "JN99JM";
  options.lokthree = "JO60AA";
  options.doplnvolackuzakm = true;
  const std::vector<std::string> vyjimky = {"Sněžka", "Praděd", "Ještěd"};
  TabulkaSynonym synonyma;
  synonyma.add("František", "Franta");
  synonyma.add("Petr", "Péťa");
  EntryContext context;
  context.vyjimky = &vyjimky;
  context.synonyma = &synonyma;
  EntryState entry;
  // Alternate two lines so that the searches restart as while typing.
  const std::string lines[2] = {hundredCharacters(), hundredCharacters().substr(0, 99) + "y"};
  std::vector<double> us;
  us.reserve(1 << 20);
  size_t n = 0;
  for (auto _ : state) {
    const std::string& line = lines[n++ & 1];
    const auto t0 = Clock::now();
    EntryResult r = vstupKeyUp(line, static_cast<int>(line.size()), {EntryKey::Other}, options,
                               context, entry);
    benchmark::DoNotOptimize(r);
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  percentiles(state, us);
}
BENCHMARK(BM_KeyRelease100);

// Enter on a log of state.range(0) contacts of the generated data, both
// durable writes (log and crash backup) included. Goals: median at most
// 8 ms at 10,000 contacts and 40 ms at 100,000.
void BM_Enter(benchmark::State& state) {
  const int contacts = static_cast<int>(state.range(0));
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("vektrano-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  platform::setProgramFolder(dir.string());
  LogDocument log;
  log.SaveFileName = (dir / "denik.qvl").string();
  log.ZalohaFileName = (dir / "zaloha.qvl").string();
  setLogTitles(log.Denik);
  log.Denik.setFixedRows(1);
  bench::GeneratedData data;
  for (auto& row : data.contacts(contacts)) {
    // number, time, report, call sign, locator, note, km -> the grid's order
    log.Denik.appendRow({row[0], row[1], row[2], row[3], "57", row[4], row[6], row[5]});
  }
  log.PocetSpojeni = contacts;
  // The log as it stands after opening: recalculated and written once.
  ulozdata(log, log.SaveFileName);
  EntryOptions options;
  EntryContext context;
  EntryState entry;
  StoreOptions store;
  store.reporty = store.ukladatazimut = store.doplnovatkanal = true;
  store.kanal = 12;
  const platform::DateTime now{2026, 12, 9, 7, 5, 9, 0};
  const std::string line = "59 57 JO70PO 12:34 Petr ,chata";
  std::vector<double> us;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const EntryResult r =
        vstupKeyUp(line, static_cast<int>(line.size()), {EntryKey::Enter}, options, context, entry);
    const StoreResult s =
        ulozSpojeni(r.text, store, log, entry, vychoziTabulkaReportu(), now);
    if (!s.zapsanDenik || !s.zapsanaZaloha) state.SkipWithError("a write failed");
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  percentiles(state, us);
  const double goal = contacts >= 100000 ? 40 : contacts >= 10000 ? 8 : 0;
  if (goal > 0) {
    const double median = state.counters["p50_us"] / 1000;
    state.SetLabel("median " + std::to_string(median).substr(0, 5) + " ms, goal <= " +
                   std::to_string(static_cast<int>(goal)) + " ms" + (median > goal ? "  OVER" : ""));
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Enter)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(41)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vektrano
