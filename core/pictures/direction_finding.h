#pragma once
// Direction finding: up to eight reference stations, each with its locator
// and the azimuth at which it hears the searched station, kept in the
// direction list file (".hb9" beside the program: "call;locator;azimuth",
// the first line the titles). Each bearing is drawn from its station to the
// border of the map (the 144 x 120 sub-squares of the contact map), so that
// the crossing of the lines shows where the searched station is.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/pictures/contact_map.h"
#include "core/session/colour_schemes.h"

namespace vektrano {

inline constexpr int kSloupcuMapy = 144;
inline constexpr int kRadkuMapy = 120;
inline constexpr int kRadkuSmeru = 9;  // the title row and eight stations

struct Bunka {
  int c = 1;  // column 1..144
  int r = 1;  // row 1..120
  bool operator==(const Bunka&) const = default;
};

// The locator of a table cell, whose map pixel is (4c, 4r).
std::string lokatorBunky(Bunka b);
// The cell under a point of the picture, kept inside the table.
Bunka bunkaPodMysi(int x, int y);

using RadekSmeru = std::array<std::string, 3>;  // call sign or place; locator; azimuth

struct SeznamSmeru {
  std::array<RadekSmeru, kRadkuSmeru> radky;
  std::vector<std::string> dalsiRadky;  // lines beyond the ninth, kept as read
};

// The file's lines into the rows: while a line holds ";", the text before
// it is the first cell, the text up to the next ";" the second, the rest the
// third (so a line of five fields leaves the last three).
SeznamSmeru nactiSeznamSmeru(std::string_view data);
// Rows 0..8 as "cell;cell;cell" (a ";" or line break inside a cell would
// split the record and becomes "," or " "), then the further lines; CR LF.
std::string textSeznamuSmeru(const SeznamSmeru& s);

// The azimuth cell as a whole number 0..360, else -1.
int azimutStanice(std::string_view cell);

// `NajdiOkrajovyLokator`: the border cell whose azimuth from the station is
// closest to the bearing; cells are tried along the top and bottom rows
// (column by column) before the side columns, and the first closest wins.
// The difference is taken as it stands, not across 0/360.
Bunka NajdiOkrajovyLokator(std::string_view station, int azimut);

// The bearings of the station rows 1..8 with a valid locator and azimuth:
// the station's circle and name, and the line to its border cell.
std::vector<TvarMapy> kresbaSmeru(const SeznamSmeru& s);

}  // namespace vektrano
