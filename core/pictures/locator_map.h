#pragma once
// The logic of the locator map window: the distance label, the map picture
// and the photographs of a locator (files found without regard to letter
// case), the four neighbouring locators, and what a hand-back of the shown
// locator does to the entry line or to the row it was opened for. Paths are
// built only from a valid locator (`testlok`), so a typed text never
// reaches the file system.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/grid.h"

namespace vektrano {

// Where the locator map window hands the shown locator back (caller codes).
enum KodVolajiciho : int {
  kVolaNikdo = 0,          // main window, view only
  kVolaVstup = 1,          // main window's entry line
  kVolaLokatory = 2,       // town and locator database
  kVolaImportVolacek = 3,  // import window, call-sign list grid
  kVolaImportDeniku = 4,   // import window, import grid
  kVolaImportMest = 5,     // import window, town list grid
  kVolaVolacky = 6,        // call-sign list window
};

// `Label1`: the distance from the own locator as a number, " km" appended
// while that text is shorter than 4 characters (1000 km and more stand
// bare, an invalid locator shows "-1 km").
std::string textVzdalenosti(std::string_view own, std::string_view locator);

struct Sousede {
  std::string sever, jih, zapad, vychod;
};
// The four neighbours (`zjisti`): the sub-square letter steps with a carry
// into the square digit and the field letter; letters run A..X and wrap.
// Nothing for a text that is no valid locator.
std::optional<Sousede> zjistiSousedy(std::string_view locator);

// The map picture as the status bar names it: folder + "/" + the first four
// characters + "/" + locator + ".jpg". Empty for an invalid locator.
std::string cestaMapy(const std::string& mapFolder, std::string_view locator);
// The map file that exists for the locator, in whatever letter case.
std::optional<std::string> najdiMapu(const std::string& mapFolder, std::string_view locator);
// True when the locator is valid and its map picture exists.
bool mapaexist(const std::string& mapFolder, std::string_view locator);

// The photographs: folder + "/" + first four characters + "foto/" +
// locator + "-" + letter + ".jpg", letters A..Z.
struct Fotografie {
  std::string polozka;  // the list's line: locator + "-" + letter + ".jpg"
  std::string cesta;    // the file found
};
std::vector<Fotografie> seznamFotografii(const std::string& photoFolder, std::string_view locator);
// The file of one line of the photo list now (it may be gone meanwhile);
// nothing for a line that is no photo name of a valid locator.
std::optional<std::string> najdiFotografii(const std::string& photoFolder,
                                           std::string_view polozka);

// `vymenlokator`: the first occurrence of the typed locator in the entry
// line replaced by the shown one. When the typed locator is no longer in
// the line (or none was typed), the shown one is appended after a blank.
std::string vymenlokator(std::string_view vstup, std::string_view typedLocator,
                         std::string_view shown);

// A grid row remembered by a window that opened the map for it: the
// hand-back writes into that row only while it still holds what it held,
// so a row removed, moved or replaced meanwhile gets nothing.
struct RadekPredani {
  int radek = -1;
  Grid::Row bunky;
};
RadekPredani zapamatujRadek(const Grid& grid, int row);
// The row to write into, or -1.
int radekProPredani(const Grid& grid, const RadekPredani& pamet);

}  // namespace vektrano
