#include "core/pictures/direction_finding.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "core/base/geometry.h"
#include "core/reference/list_data.h"

namespace vektrano {

namespace {

constexpr TColor kNavy = 0x800000;
constexpr TColor kRed = 0x0000FF;

constexpr std::string_view kSeste = "XWVUTSRQPONMLKJIHGFEDCBA";

Bod pixelBunky(Bunka b) { return {4 * b.c, 4 * b.r}; }

}  // namespace

std::string lokatorBunky(Bunka b) {
  const int velkySloupec = (b.c - 1) / 24, s = (b.c - 1) % 24;  // 0..5, 0..23
  const int velkyRadek = (b.r - 1) / 24, t = (b.r - 1) % 24;    // 0..4, 0..23
  std::string l(6, ' ');
  l[0] = velkySloupec < 4 ? 'J' : 'K';
  l[1] = velkyRadek < 2 ? 'O' : 'N';
  l[2] = "678901"[velkySloupec];
  l[3] = "10987"[velkyRadek];
  l[4] = static_cast<char>('A' + s);
  l[5] = kSeste[static_cast<size_t>(t)];
  return l;
}

Bunka bunkaPodMysi(int x, int y) {
  return {std::clamp(x / 4 + 1, 1, kSloupcuMapy), std::clamp(y / 4 + 1, 1, kRadkuMapy)};
}

SeznamSmeru nactiSeznamSmeru(std::string_view data) {
  SeznamSmeru s;
  const std::vector<std::string> lines = splitFileLines(data);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i >= static_cast<size_t>(kRadkuSmeru)) {
      s.dalsiRadky.push_back(lines[i]);
      continue;
    }
    RadekSmeru& row = s.radky[i];
    std::string rest = lines[i];
    for (size_t at; (at = rest.find(';')) != std::string::npos;) {
      row[0] = rest.substr(0, at);
      rest.erase(0, at + 1);
      const size_t next = rest.find(';');
      row[1] = next == std::string::npos ? std::string() : rest.substr(0, next);
      if (next != std::string::npos) rest.erase(0, next + 1);
      row[2] = rest;
    }
  }
  return s;
}

std::string textSeznamuSmeru(const SeznamSmeru& s) {
  std::string out;
  for (const RadekSmeru& row : s.radky)
    out += listCellForFile(row[0]) + ";" + listCellForFile(row[1]) + ";" + listCellForFile(row[2]) +
           "\r\n";
  for (const std::string& line : s.dalsiRadky) out += line + "\r\n";
  return out;
}

int azimutStanice(std::string_view cell) {
  while (!cell.empty() && cell.front() == ' ') cell.remove_prefix(1);
  while (!cell.empty() && cell.back() == ' ') cell.remove_suffix(1);
  int value = -1;
  const char* end = cell.data() + cell.size();
  const auto [ptr, ec] = std::from_chars(cell.data(), end, value);
  if (cell.empty() || ec != std::errc() || ptr != end || value < 0 || value > 360) return -1;
  return value;
}

Bunka NajdiOkrajovyLokator(std::string_view station, int azimut) {
  int nejlepsi = 1111;
  Bunka vybrana;
  auto zkus = [&](Bunka b) {
    const int rozdil = std::abs(azimut - pocitejazimut(station, lokatorBunky(b)));
    if (rozdil < nejlepsi) {
      nejlepsi = rozdil;
      vybrana = b;
    }
  };
  for (int c = 1; c <= kSloupcuMapy; ++c) {
    zkus({c, 1});
    zkus({c, kRadkuMapy});
  }
  for (int r = 1; r <= kRadkuMapy; ++r) {
    zkus({1, r});
    zkus({kSloupcuMapy, r});
  }
  return vybrana;
}

std::vector<TvarMapy> kresbaSmeru(const SeznamSmeru& s) {
  std::vector<TvarMapy> out;
  for (int i = 1; i < kRadkuSmeru; ++i) {
    const RadekSmeru& row = s.radky[static_cast<size_t>(i)];
    const int azimut = azimutStanice(row[2]);
    if (!testlok(row[1]) || azimut < 0) continue;
    const Bod p = pixelLokatoru(row[1]);
    out.push_back(kruh(p, 4, kNavy, 3));
    out.push_back(text(p.x + 5, p.y, row[0], 7, kNavy, false, true));
    out.push_back(cara(p, pixelBunky(NajdiOkrajovyLokator(row[1], azimut)), kRed, 1));
  }
  return out;
}

}  // namespace vektrano
