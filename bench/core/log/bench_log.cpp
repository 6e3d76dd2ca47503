// Storing path of a 10,000-contact log: recalculation plus one durable
// write, reading it back, and sorting by call sign.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "core/log/log_file.h"
#include "core/log/log_statistics.h"
#include "core/log/recalculation.h"
#include "platform/message.h"

namespace {
using namespace vektrano;

const char* const kLocators[] = {"JO80GQ", "JN99JM", "JO71GQ", "JN79GQ", "JO60GQ", "JN89AB"};
const char* const kNames[] = {"Petr Novák", "Franta", "Šárka", "Jiří (BRNO)", "Zdeněk", "Karel"};

LogDocument bigLog(int n) {
  LogDocument log;
  for (int i = 1; i <= n; ++i)
    log.Denik.appendRow({std::to_string(i), "(9.12.2026) 07:05", "59",
                         std::string(kNames[(i * 7) % 6]) + " " + std::to_string(i * 37 % 1000) +
                             " .azimut_1",
                         "57", kLocators[i % 6], "", ",pozn " + std::to_string(i)});
  PrepocetDeniku(log);
  return log;
}

std::string tempFolder() {
  char t[] = "/tmp/vektrano-bench-XXXXXX";
  return mkdtemp(t);
}

void BM_RecalcAndDurableWrite(benchmark::State& state) {
  platform::setMessageHandler([](const platform::Message& m) { return m.defaultAnswer; });
  LogDocument log = bigLog(10000);
  const std::string dir = tempFolder();
  for (auto _ : state) benchmark::DoNotOptimize(ulozdata(log, dir + "/denik.qvl"));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RecalcAndDurableWrite)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_Read(benchmark::State& state) {
  platform::setMessageHandler([](const platform::Message& m) { return m.defaultAnswer; });
  LogDocument log = bigLog(10000);
  log.PopisExpedice = {"a", "b", "JO70GQ"};
  const std::string dir = tempFolder();
  ulozdata(log, dir + "/denik.qvl");
  TabulkaSynonym syn;
  for (auto _ : state) {
    LogDocument in;
    in.SaveFileName = dir + "/denik.qvl";
    benchmark::DoNotOptimize(nactidata(in, syn).ok);
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Read)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_SortByCallSign(benchmark::State& state) {
  platform::setMessageHandler([](const platform::Message& m) { return m.defaultAnswer; });
  TabulkaSynonym syn;
  syn.add("František", "Franta");
  const LogDocument base = bigLog(10000);
  for (auto _ : state) {
    state.PauseTiming();
    LogDocument log = base;
    state.ResumeTiming();
    Setrid(log, kColVolacka, syn);
  }
}
BENCHMARK(BM_SortByCallSign)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
