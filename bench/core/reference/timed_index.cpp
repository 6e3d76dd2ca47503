// Rebuild of the town and call-sign indexes and the memory-mode load, over a
// generated town database of 100,000 lines and a call-sign list of 50,000.
// Targets: locIDX + volIDX together at most 1.5 s, the memory-mode load of
// both at most 0.5 s.
//
//   bench_core_timed_index [folder]   (default: a fresh folder under /tmp)
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/reference/indexes.h"
#include "platform/files.h"

namespace {
using namespace vektrano;

// Syllables of Czech place and personal names, cp1250 by the execution charset.
const std::vector<std::string> kSyllables = {
    "Be", "ro", "un", "Ně", "me", "čky", "Hra", "dec", "Krá", "lo", "vé", "Ústí", "Lu", "ka",
    "Po", "dě", "bra", "dy", "Sla", "ný", "Ří", "čany", "Tře", "boň", "Žďár", "Vy", "šší",
    "Kam", "ni", "ce", "Ji", "hla", "va", "Stra", "ko", "ni", "Chru", "dim", "Lí", "šeň",
    "Hor", "ní", "Dol", "Mar", "kvar", "to", "Bý", "št", "Pře", "lou", "č", "Ost", "rov"};
const std::vector<std::string> kLinks = {"nad", "pod", "u", "-", "Velké", "Malé", "Horní", "Dolní"};
const std::vector<std::string> kDistricts = {"Liberec", "Semily", "Jablonec n. N.", "Praha-východ",
                                             "Český Krumlov", "Ústí n. O.", "Žďár n. S.",
                                             "Frýdek-Místek", "Karlovy Vary", "Hradec Králové"};

std::mt19937 rng(20261210);
int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

std::string word() {
  std::string w;
  for (int i = 0, n = 1 + pick(3); i < n; ++i) w += kSyllables[pick(static_cast<int>(kSyllables.size()))];
  return w;
}

std::string locator() {
  std::string l = "J";
  l += "NO"[pick(2)];
  l += static_cast<char>('5' + pick(5));
  l += static_cast<char>('0' + pick(10));
  l += static_cast<char>('A' + pick(24));
  l += static_cast<char>('A' + pick(24));
  return l;
}

std::string district() { return " (" + kDistricts[pick(static_cast<int>(kDistricts.size()))] + ")"; }

std::string towns(int n) {
  std::string out;
  for (int i = 0; i < n; ++i) {
    out += locator() + ";" + word();
    if (pick(3) == 0) out += " " + kLinks[pick(static_cast<int>(kLinks.size()))] + " " + word();
    if (pick(5) < 3) out += district();
    out += "\r\n";
  }
  return out;
}

std::string callSigns(int n) {
  std::string out;
  for (int i = 0; i < n; ++i) {
    out += locator() + ";OK" + std::to_string(1 + pick(2));
    for (int k = 0; k < 3; ++k) out += static_cast<char>('A' + pick(26));
    out += " " + word();
    if (pick(2)) out += district();
    out += pick(4) ? ";" + std::to_string(1 + pick(28)) + "." + std::to_string(1 + pick(12)) + ".20" +
                         std::to_string(10 + pick(16))
                   : std::string(";Nezjištěno");
    out += "\r\n";
  }
  return out;
}

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long peakKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  if (argc > 1) {
    folder = argv[1];
  } else {
    char tmpl[] = "/tmp/vektrano-bench-XXXXXX";
    if (!mkdtemp(tmpl)) return 1;
    folder = tmpl;
  }
  DatabaseFiles files = DatabaseFiles::beside(folder);
  const std::string zr4 = towns(100000), pvk = callSigns(50000);
  if (!platform::writeFileAtomic(files.zr4, zr4) || !platform::writeFileAtomic(files.pvk, pvk) ||
      !platform::writeFileAtomic(files.jmn, "1012;Julie\r\n1903;Josef\r\n")) {
    std::fprintf(stderr, "cannot write the databases into %s\n", folder.c_str());
    return 1;
  }
  std::printf("databases: %zu bytes of towns, %zu bytes of call signs; peak %ld kB\n", zr4.size(),
              pvk.size(), peakKb());

  IndexObserver window;  // no widgets: what the logic costs alone
  {
    auto t0 = std::chrono::steady_clock::now();
    IndexBuild places(IndexKind::Lok), calls(IndexKind::Vol);
    RozdelDatabazi(files.zr4, places, window);
    RozdelDatabazi(files.pvk, calls, window);
    std::printf("split in memory alone: %.3f s\n", seconds(t0));
  }
  Indexes indexes(folder, window);
  int failed = 0;
  for (int round = 0; round < 3; ++round) {
    auto t0 = std::chrono::steady_clock::now();
    const bool ok1 = indexes.locIDX(files, DatabaseChoice::MainOnly);
    const double loc = seconds(t0);
    t0 = std::chrono::steady_clock::now();
    const bool ok2 = indexes.volIDX(files, DatabaseChoice::MainOnly);
    const double vol = seconds(t0);
    if (!ok1 || !ok2) return 1;
    std::printf("round %d: locIDX %.3f s + volIDX %.3f s = %.3f s (target 1.5 s); files %d + %d; "
                "peak %ld kB\n",
                round, loc, vol, loc + vol,
                countIndexFiles(indexes.prefixes().loc) + countIndexFiles(indexes.prefixes().locl),
                countIndexFiles(indexes.prefixes().vol) + countIndexFiles(indexes.prefixes().voll),
                peakKb());
    if (loc + vol > 1.5) ++failed;
  }

  ReIndexaceOptions options;
  options.MenuRam = true;
  options.today = {2026, 12, 10};
  for (int round = 0; round < 3; ++round) {
    auto t0 = std::chrono::steady_clock::now();
    indexes.ReIndexace(files, options);
    const double load = seconds(t0);
    std::printf("round %d: memory-mode load %.3f s (target 0.5 s); %d + %d rows; peak %ld kB\n",
                round, load, indexes.PocetLokatoruRAM(), indexes.PocetVolacekRAM(), peakKb());
    if (load > 0.5) ++failed;
  }

  if (argc <= 1) {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  return failed ? 2 : 0;
}
