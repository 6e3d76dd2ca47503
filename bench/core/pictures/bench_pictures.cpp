// The picture commands run on the main thread without progress: the contact
// map of a full log (10000 contacts), both chart tables and the bearings of
// eight stations should each take well under the blink of an eye.
#include <benchmark/benchmark.h>

#include <string>

#include "core/pictures/charts.h"
#include "core/pictures/contact_map.h"
#include "core/pictures/direction_finding.h"

namespace {

using namespace vektrano;

LogDocument bigLog(int contacts) {
  LogDocument log;
  for (int i = 1; i <= contacts; ++i) {
    const std::string loc = lokatorBunky({1 + (i * 37) % kSloupcuMapy, 1 + (i * 11) % kRadkuMapy});
    const int minute = i * 1440 / contacts;
    log.Denik.appendRow({std::to_string(i), std::to_string(minute / 60) + ":" + std::to_string(minute % 60),
                         "59", "OK" + std::to_string(i), "59", loc, std::to_string(i % 700), ""});
  }
  log.PocetSpojeni = contacts;
  return log;
}

void BM_ContactMapOfAFullLog(benchmark::State& state) {
  const LogDocument log = bigLog(static_cast<int>(state.range(0)));
  VstupMapy v;
  v.own = "JO70GQ";
  v.vychoziBod = v.spojnice = true;
  const std::vector<Bod> outline(90, Bod{100, 100});
  for (auto _ : state) benchmark::DoNotOptimize(generujMapuSpojeni(log.Denik, outline, v));
}
BENCHMARK(BM_ContactMapOfAFullLog)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ChartTables(benchmark::State& state) {
  const LogDocument log = bigLog(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(grafCtvercu(log));
    benchmark::DoNotOptimize(grafHodin(log));
  }
}
BENCHMARK(BM_ChartTables)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_EightBearings(benchmark::State& state) {
  SeznamSmeru s;
  const char* stations[] = {"JO70PO", "JN88UU", "JO60LJ", "JN99JM", "JO80GQ", "JN79VX", "JO71AA", "KN09AA"};
  for (int i = 1; i < kRadkuSmeru; ++i) s.radky[static_cast<size_t>(i)] = {"X", stations[i - 1], std::to_string(i * 40)};
  for (auto _ : state) benchmark::DoNotOptimize(kresbaSmeru(s));
}
BENCHMARK(BM_EightBearings)->Unit(benchmark::kMillisecond);

}  // namespace
