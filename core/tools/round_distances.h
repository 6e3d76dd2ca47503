#pragma once
// core/tools: the logic of the tool windows that keep no reference list:
// round distances (this header), the calling sender and the folder picker's
// tree.
//
// The round-distance window's arithmetic: eight rows of a locator and its
// distance to the counter station, the own row first. Plain data that the
// window shows as it is; each box keeps how it is to look, because a box
// whose text is not complete keeps the look of its last check.
#include <array>
#include <string>

#include "core/base/text.h"

namespace vektrano {

// How a locator box is painted.
enum class VzhledLokatoru {
  Normalni,            // window background, bold
  Chybny,              // italic on red
  Protistanice,        // background RGB 224,240,240, red bold
  ChybnaProtistanice,  // white italic on red
};

inline constexpr int kKoleckoPolicek = 9;  // Edit1 .. Edit9
inline constexpr int kKoleckoRadku = 8;    // Label1 .. Label8
inline constexpr int kKoleckoPoznamek = 7;  // Memo1 .. Memo7
inline constexpr int kDelkaLokatoru = 6;

inline constexpr const char* kVzdalenostNeznama = "_______";
inline constexpr const char* kVzdalenostNeuplna = "?";
inline constexpr const char* kVzdalenostSpatnyLokator = "lokátor?";
inline constexpr const char* kVzdalenostSpatnaProtistanice = "???";
inline constexpr const char* kKoleckoVypocet = "Výpočet kilometrů pro účastníky kolečka ...";

struct Kolecko {
  // Box 0 is the own locator, box 1 the counter station's, boxes 2 to 8 the
  // participants of rows 2 to 8.
  std::array<std::string, kKoleckoPolicek> lokatory;
  std::array<VzhledLokatoru, kKoleckoPolicek> vzhled{};
  // Label of row r (0: the own row).
  std::array<std::string, kKoleckoRadku> vzdalenosti;
  std::array<std::string, kKoleckoPoznamek> poznamky;
  std::string status;

  Kolecko();
};

// The row whose label belongs to box (the own and counter boxes share row 0).
int radekPolicka(int box);

// The message of an invalid locator in box (0, 1 or a participant's box).
std::string chybaLokatoru(int box);

// Recomputes every row whose box holds six characters, then shows "???"
// everywhere when the counter station's locator is invalid.
void prepocty(Kolecko& k);

// A box's text was changed to text: it is taken (a longer text is cut to the
// box's six characters), the box looks normal again; a complete locator is
// converted by prevod and everything recomputed, an incomplete one shows "?"
// in its row.
void zmenaLokatoru(Kolecko& k, int box, const std::string& text, const KeyboardOptions& keyboard);

// The main window's fill: the own and the counter station's locator are put
// into their boxes (each taken as a change when it differs, but measured only
// once both are in), then all recomputed.
void startform5(Kolecko& k, const std::string& own, const std::string& counter,
                const KeyboardOptions& keyboard);

// The participants' texts under the window's settings key as string values
// named after the controls (Edit3..Edit9, Label2..Label8, Memo1..Memo7); the
// own row and the counter station are not kept. Notes keep their CR LF.
inline constexpr const char* kKoleckoKlic = "\\Software\\NOVR\\Vektrano\\Form5";
// False when the key does not exist: k is left as it was.
bool nactiKolecko(Kolecko& k, const std::string& keyPath = kKoleckoKlic);
// Creates the key when missing; false when the store could not be written.
bool ulozKolecko(const Kolecko& k, const std::string& keyPath = kKoleckoKlic);

}  // namespace vektrano
