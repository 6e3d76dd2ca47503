// Distance and azimuth are computed on every key stroke of the entry line and
// for every candidate of the searches; one call pair should stay well under
// a microsecond.
#include "core/base/geometry.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> locators() {
  std::vector<std::string> out;
  for (char f = 'A'; f <= 'R'; f += 3)
    for (char g = 'A'; g <= 'R'; g += 3)
      for (char d = '0'; d <= '9'; d += 4) out.push_back({f, g, d, d, 'G', 'Q'});
  return out;
}

void BM_DistanceAndAzimuth(benchmark::State& state) {
  const std::vector<std::string> others = locators();
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& other = others[i++ % others.size()];
    benchmark::DoNotOptimize(vektrano::vypocet("JO70GQ", other));
    benchmark::DoNotOptimize(vektrano::pocitejazimut("JO70GQ", other));
  }
}
BENCHMARK(BM_DistanceAndAzimuth);

void BM_Testlok(benchmark::State& state) {
  const std::vector<std::string> others = locators();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(vektrano::testlok(others[i++ % others.size()]));
}
BENCHMARK(BM_Testlok);

}  // namespace
