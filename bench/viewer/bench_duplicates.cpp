// The viewer's duplicate search on a log of 100,000 contacts (the goal is
// well under a second), with the caption countdown's callback in place.
#include <benchmark/benchmark.h>

#include "bench/support/generated_data.h"
#include "viewer/duplicates.h"
#include "viewer/log_view.h"

namespace {
using namespace vektrano;

Grid bigLog(int n) {
  bench::GeneratedData data;
  Grid g(palomir::kColumns, 1);
  g.setRow(0, palomir::gridTitles());
  // Call signs of three letters and locators around JO70: thousands of
  // contacts repeat an earlier pair, as on a long expedition.
  for (int i = 1; i <= n; ++i) {
    const std::string call = data.callSign();
    const std::string loc = data.pick(4) == 0 ? "JO70GQ" : data.locator();
    g.appendRow({std::to_string(i), "(9.12.2026) 07:05", "59", call, "57", loc,
                 std::to_string(data.pick(500)), ",pozn"});
  }
  return g;
}

void BM_HledejDuply(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Grid g = bigLog(n);
  long long lines = 0;
  for (auto _ : state) {
    int seen = 0;
    const auto list = palomir::HledejDuply(g, n, [&seen](int remaining) { seen += remaining > 0; });
    lines = list ? static_cast<long long>(list->items.size()) : 0;
    benchmark::DoNotOptimize(seen);
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_HledejDuply)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
