#pragma once
// The two charts of contacts, as plain data for the chart windows: a pie of
// the contacts per big locator square (the first four characters of the
// locator), and the contacts per hour over the first 24 hours of the log.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/log/log.h"

namespace vektrano {

struct VysecGrafu {
  std::string popis;  // square + " [" + contacts + " spoj.]"
  int pocet = 0;
};

struct GrafCtvercu {
  std::vector<std::string> titulek;  // two lines
  std::vector<VysecGrafu> vysece;    // fewest contacts first
};

inline constexpr const char* kMaloSpojeniCtverce = "V deníku je potřeba mít alespoň 5 spojení !!!";

// Nothing with fewer than 5 contacts. A km cell that is no whole number
// adds 0 km; a contact without a locator counts under "neuveden".
std::optional<GrafCtvercu> grafCtvercu(const LogDocument& log);

// `HodinaSpojeni`: the hour of a time cell (the bracketed date removed, the
// text before the first ":"), or -1 when that is no hour 0..23.
int HodinaSpojeni(std::string_view cell);

struct BodGrafu {
  std::string popis;  // the hour, or "END"
  int pocet = 0;
};

struct GrafHodin {
  enum class Stav { Ok, MaloSpojeni, BezCasu };
  Stav stav = Stav::Ok;
  std::string titulek;
  std::vector<BodGrafu> body;  // from the first hour, over midnight, then "END"
  int neplatnych = 0;          // rows of the range without an hour
  int posledniNeplatny = 0;    // grid row of the last of them
};

inline constexpr const char* kMaloSpojeniHodiny = "V deníku je potřeba mít alespoň 2 spojení !!!";
inline constexpr const char* kBezCasu = "V deníku nejsou uvedeny platné časy ...";

// The range starts at the first row with an hour and runs while the hours
// do not fall (the first day), then while they stay below the first hour
// (the next day).
GrafHodin grafHodin(const LogDocument& log);

// "V deníku nejsou uvedeny platné časy : " + count + "x   [řádek:" + row + "]",
// or empty when every row of the range had an hour.
std::string zpravaNeplatnychCasu(const GrafHodin& g);

}  // namespace vektrano
