#pragma once
// Sorting, statistics and column layout of the log grid, and the small
// utilities the main window shares with other windows.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/grid.h"
#include "core/base/synonyms.h"
#include "core/log/log.h"

namespace vektrano {

// Left-pads with "0" to at least 6 characters.
std::string AddNulls(std::string_view text);
// Every ";" replaced by ",", so a text can stand in a ";" separated file.
std::string odstranstredniky(std::string_view text);
// Size of the file in bytes, 0 when it cannot be opened.
int32_t fsize(const std::string& path);
// Waits ms milliseconds in a local event loop, so the windows keep working
// meanwhile (no busy loop). Without an application object it just sleeps.
void Delay(int ms);

// Shell sort of rows first..last-1 of grid by key (ordinal, unsigned cp1250
// bytes, ascending); whole rows move. The key of each row is computed once.
// progress, when given, gets the gap after each pass.
void sortGridRows(Grid& grid, int first, const std::function<std::string(const Grid::Row&)>& key,
                  const std::function<void(int gap)>& progress = {});

// The sort key of a contact row by column c (0, 3, 5 or 6).
std::string klicTrideni(const Grid::Row& row, int c, const TabulkaSynonym& synonyma);

// Sorts the contacts of the log by column c (0 number, 3 call sign,
// 5 locator, 6 km) and sets `SetridenoPodle`. progress gets the window
// caption of each pass (row count + " Volaček, třídím : [" + gap + "]"),
// then an empty text once the rows are sorted (the caption comes back).
// For c = 3 and 5 the explanation box is shown afterwards. The row-editing
// commands of the grid's menu belong enabled exactly when c == 0.
void Setrid(LogDocument& log, int c, const TabulkaSynonym& synonyma,
            const std::function<void(const std::string& caption)>& progress = {});

// The explanation shown after sorting by call sign or locator.
std::string textTrideni();

// The distance statistics of contact rows, counted one row at a time.
struct StatistikaKm {
  long long celkem = 0;
  int pocet = 0;     // rows with a distance above 0
  int nejdelsi = 0;
  std::string maxText;  // of the first row with the longest distance
  void pridej(const Grid::Row& row);
};
StatistikaKm statistikaKm(const Grid& denik);
// CelkemKm, PocetSKm, PrumerKm, NejdelsiKm and `panel2` from s.
void zobrazStatistiku(LogDocument& log, const StatistikaKm& s);

// Recomputes CelkemKm, PocetSKm, PrumerKm, NejdelsiKm and sets `panel2` to
// the statistics line.
void prumer(LogDocument& log);

// The statistics message of the longest, total and average distance, from
// the values prumer left; nothing when no contact has a distance.
std::optional<std::string> zpravaStatistik(const LogDocument& log);

// Display options that decide the column widths of the log grid.
struct ColumnOptions {
  int Pismo = 0;  // font factor 0, 1 or 2
  bool zobrporcisl = true;
  bool zobrdatcas = true;
  bool doplndatum = false;
  bool Zobrrep = true;
  bool Zobrvzd = true;
  bool Zobrpoz = true;
  int sirkaPoznamky = 0;  // stored note column width
  int gridWidth = 0;      // client width of the grid
  // What the cell texts need in the grid's font: a shown column is never
  // narrower (fonts wider than those the widths were drawn for).
  std::array<int, kLogColumns> nejmensi{};
};

// The eight column widths in pixels; also stored in the grid (setColWidth).
std::array<int, kLogColumns> SirkySloupcu(const ColumnOptions& o);
void SirkySloupcu(Grid& denik, const ColumnOptions& o);

// Height of the side lists (`wvolacky`, `wmestacentr`, `Memo4`) with the
// duplicate list shown or hidden, for a main window of height h.
int ZobrazDuplicityVyska(bool show, int mainWindowHeight, bool doplnvolackuzakm);

}  // namespace vektrano
