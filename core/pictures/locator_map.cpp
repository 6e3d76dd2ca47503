#include "core/pictures/locator_map.h"

#include "core/base/geometry.h"
#include "platform/files.h"

namespace vektrano {

namespace {

// One step of a letter (A..X) with its carry.
char krokPismene(char c, int krok, bool& prenos) {
  int v = c - 'A' + krok;
  prenos = v < 0 || v > 23;
  return static_cast<char>('A' + (v + 24) % 24);
}

char krokCislice(char c, int krok, bool& prenos) {
  int v = c - '0' + krok;
  prenos = v < 0 || v > 9;
  return static_cast<char>('0' + (v + 10) % 10);
}

// Steps the sub-square letter at position sub (4 or 5), carrying into the
// digit two places before it and the field letter two places before that.
std::string krok(std::string l, size_t sub, int smer) {
  bool prenos = false;
  l[sub] = krokPismene(l[sub], smer, prenos);
  if (prenos) l[sub - 2] = krokCislice(l[sub - 2], smer, prenos);
  if (prenos) l[sub - 4] = krokPismene(l[sub - 4], smer, prenos);
  return l;
}

std::string nazevMapy(std::string_view locator) {
  const std::string l(locator);
  return l.substr(0, 4) + "/" + l + ".jpg";
}

std::string nazevFotografie(std::string_view locator, char pismeno) {
  const std::string l(locator);
  return l.substr(0, 4) + "foto/" + l + "-" + pismeno + ".jpg";
}

}  // namespace

std::string textVzdalenosti(std::string_view own, std::string_view locator) {
  std::string text = std::to_string(vypocet(own, locator));
  if (text.size() < 4) text += " km";
  return text;
}

std::optional<Sousede> zjistiSousedy(std::string_view locator) {
  if (!testlok(locator)) return std::nullopt;
  const std::string l(locator);
  return Sousede{krok(l, 5, +1), krok(l, 5, -1), krok(l, 4, -1), krok(l, 4, +1)};
}

std::string cestaMapy(const std::string& mapFolder, std::string_view locator) {
  if (!testlok(locator)) return {};
  return platform::joinPath(mapFolder, nazevMapy(locator));
}

std::optional<std::string> najdiMapu(const std::string& mapFolder, std::string_view locator) {
  if (!testlok(locator)) return std::nullopt;
  auto found = platform::findIgnoringCase(mapFolder, nazevMapy(locator));
  if (found && !platform::fileExists(*found)) return std::nullopt;
  return found;
}

bool mapaexist(const std::string& mapFolder, std::string_view locator) {
  return najdiMapu(mapFolder, locator).has_value();
}

std::vector<Fotografie> seznamFotografii(const std::string& photoFolder,
                                         std::string_view locator) {
  std::vector<Fotografie> out;
  if (!testlok(locator)) return out;
  for (char c = 'A'; c <= 'Z'; ++c) {
    auto found = platform::findIgnoringCase(photoFolder, nazevFotografie(locator, c));
    if (found && platform::fileExists(*found))
      out.push_back({std::string(locator) + "-" + c + ".jpg", *found});
  }
  return out;
}

std::optional<std::string> najdiFotografii(const std::string& photoFolder,
                                           std::string_view polozka) {
  // L-c.jpg with a valid L and a letter c.
  if (polozka.size() != 12 || polozka.substr(6, 1) != "-" || polozka.substr(8) != ".jpg")
    return std::nullopt;
  const std::string_view locator = polozka.substr(0, 6);
  const char c = polozka[7];
  if (!testlok(locator) || c < 'A' || c > 'Z') return std::nullopt;
  auto found = platform::findIgnoringCase(photoFolder, nazevFotografie(locator, c));
  if (found && !platform::fileExists(*found)) return std::nullopt;
  return found;
}

std::string vymenlokator(std::string_view vstup, std::string_view typedLocator,
                         std::string_view shown) {
  std::string text(vstup);
  const size_t at = typedLocator.empty() ? std::string::npos : text.find(typedLocator);
  if (at != std::string::npos) {
    text.replace(at, typedLocator.size(), shown);
    return text;
  }
  if (!text.empty() && text.back() != ' ') text += ' ';
  text += shown;
  return text;
}

RadekPredani zapamatujRadek(const Grid& grid, int row) {
  if (row < 0 || row >= grid.rowCount()) return {};
  return {row, grid.row(row)};
}

int radekProPredani(const Grid& grid, const RadekPredani& pamet) {
  if (pamet.radek < 0 || pamet.radek >= grid.rowCount()) return -1;
  return grid.row(pamet.radek) == pamet.bunky ? pamet.radek : -1;
}

}  // namespace vektrano
