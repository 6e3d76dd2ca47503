#include "bench/support/generated_data.h"

#include <stdlib.h>

#include <cstdio>

#include "core/reference/indexes.h"
#include "platform/files.h"

namespace vektrano::bench {
namespace {

const std::vector<std::string> kSyllables = {
    "Be", "ro", "un", "Ně", "me", "čky", "Hra", "dec", "Krá", "lo", "vé", "Ústí", "Lu", "ka",
    "Po", "dě", "bra", "dy", "Sla", "ný", "Ří", "čany", "Tře", "boň", "Žďár", "Vy", "šší",
    "Kam", "ni", "ce", "Ji", "hla", "va", "Stra", "ko", "ni", "Chru", "dim", "Lí", "šeň",
    "Hor", "ní", "Dol", "Mar", "kvar", "to", "Bý", "št", "Pře", "lou", "č", "Ost", "rov"};
const std::vector<std::string> kLinks = {"nad", "pod", "u", "-", "Velké", "Malé", "Horní", "Dolní"};
const std::vector<std::string> kDistricts = {"Liberec", "Semily", "Jablonec n. N.", "Praha-východ",
                                             "Český Krumlov", "Ústí n. O.", "Žďár n. S.",
                                             "Frýdek-Místek", "Karlovy Vary", "Hradec Králové"};

}  // namespace

int GeneratedData::pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

std::string GeneratedData::word() {
  std::string w;
  for (int i = 0, n = 1 + pick(3); i < n; ++i)
    w += kSyllables[static_cast<size_t>(pick(static_cast<int>(kSyllables.size())))];
  return w;
}

std::string GeneratedData::locator() {
  std::string l = "J";
  l += "NO"[pick(2)];
  l += static_cast<char>('5' + pick(5));
  l += static_cast<char>('0' + pick(10));
  l += static_cast<char>('A' + pick(24));
  l += static_cast<char>('A' + pick(24));
  return l;
}

std::string GeneratedData::callSign() {
  std::string c = "OK" + std::to_string(1 + pick(2));
  for (int k = 0; k < 3; ++k) c += static_cast<char>('A' + pick(26));
  return c;
}

std::string GeneratedData::district() {
  return " (" + kDistricts[static_cast<size_t>(pick(static_cast<int>(kDistricts.size())))] + ")";
}

std::string GeneratedData::towns(int n) {
  std::string out;
  for (int i = 0; i < n; ++i) {
    out += locator() + ";" + word();
    if (pick(3) == 0)
      out += " " + kLinks[static_cast<size_t>(pick(static_cast<int>(kLinks.size())))] + " " + word();
    if (pick(5) < 3) out += district();
    out += "\r\n";
  }
  return out;
}

std::string GeneratedData::callSigns(int n) {
  std::string out;
  for (int i = 0; i < n; ++i) {
    out += locator() + ";" + callSign();
    out += " " + word();
    if (pick(2)) out += district();
    out += pick(4) ? ";" + std::to_string(1 + pick(28)) + "." + std::to_string(1 + pick(12)) +
                         ".20" + std::to_string(10 + pick(16))
                   : std::string(";Nezjištěno");
    out += "\r\n";
  }
  return out;
}

std::vector<std::vector<std::string>> GeneratedData::contacts(int n) {
  std::vector<std::vector<std::string>> rows;
  rows.reserve(static_cast<size_t>(n));
  for (int i = 1; i <= n; ++i)
    rows.push_back({std::to_string(i), "10:00", "59", callSign() + (i % 7 ? "" : " .azimut_120"),
                    locator(), ",Pepa", std::to_string(pick(900))});
  return rows;
}

std::string benchFolder(int argc, char** argv) {
  if (argc > 1) return argv[1];
  char tmpl[] = "/tmp/vektrano-bench-XXXXXX";
  return mkdtemp(tmpl) ? std::string(tmpl) : std::string();
}

bool writeDatabases(GeneratedData& data, const std::string& folder, int towns, int callSigns) {
  const DatabaseFiles files = DatabaseFiles::beside(folder);
  if (platform::writeFileAtomic(files.zr4, data.towns(towns)) &&
      platform::writeFileAtomic(files.pvk, data.callSigns(callSigns)) &&
      platform::writeFileAtomic(files.jmn, "1012;Julie\r\n1903;Josef\r\n"))
    return true;
  std::fprintf(stderr, "cannot write the databases into %s\n", folder.c_str());
  return false;
}

}  // namespace vektrano::bench
