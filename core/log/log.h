#pragma once
// core/log: the log of an expedition and what is done to it as a whole: the
// document (this header), its qvl file with the ".bak" and crash backups,
// the recalculation from the own locator, sorting, synonyms and statistics,
// the editing commands, the HTML and spreadsheet export and the expedition
// description.
//
// The open log of an expedition: the contact grid `Denik`, its description
// and the values kept with it. Plain data; the operations live in
// log_statistics.h (sort, statistics), recalculation.h and log_file.h (the
// qvl file).
#include <array>
#include <cstdint>
#include <string>

#include "core/base/grid.h"
#include "core/base/text.h"

namespace vektrano {

// The eight cells of a contact row.
enum LogColumn : int {
  kColCislo = 0,    // sequence number
  kColCas = 1,      // time, "(date) time" with the date option
  kColRV = 2,       // report sent
  kColVolacka = 3,  // call sign, name and note words (".azimut_", ".#_")
  kColRP = 4,       // report received
  kColLokator = 5,  // locator
  kColKm = 6,       // distance in whole km
  kColPozn = 7,     // note
};
constexpr int kLogColumns = 8;

// Expedition description: name, place, locator, altitude, start, end,
// operators, loggers, transceiver, antennas, mode, frequency range, note.
constexpr int kPopisFields = 13;
using Popis = std::array<std::string, kPopisFields>;
enum PopisField : int {
  kPopisNazev = 0,
  kPopisMisto = 1,
  kPopisLokator = 2,
};

// The title row: "poř." "čas" "RV" "Volačka" "RP" "Lokátor" "km" "pozn".
const std::array<std::string, kLogColumns>& logTitles();

constexpr const char* kDefaultOwnLocator = "JO70GQ";

// What the last whole recalculation of a log left, so that storing one
// contact recalculates, counts and formats its own row alone. It holds while
// the grid's revision, the own locator and the keyboard are those recorded.
struct PrepoctenyStav {
  std::uint64_t revision = 0;  // 0: nothing recorded
  std::string own;
  KeyboardOptions klavesnice;
  // The statistics of the contact rows as prumer counts them.
  long long celkemKm = 0;
  int pocetSKm = 0;
  int nejdelsiKm = 0;
  std::string maxText;  // " km," + call sign + " " + locator + "]" of the first longest
  // The file lines of the contact rows (own locator and eight cells each),
  // when radkyPlatne.
  bool radkyPlatne = false;
  std::string radky;
};

struct LogDocument {
  LogDocument();  // the title row only, default own locator

  Grid Denik;              // 8 columns; row 0 the titles, rows 1..n contacts
  Popis PopisExpedice;     // the thirteen description fields
  std::string lokportable = kDefaultOwnLocator;  // own locator (at most 6)
  std::string SaveFileName;    // current log path; empty for an unsaved log
  std::string ZalohaFileName;  // crash backup: program folder + "/zaloha.qvl"
  KeyboardOptions klavesnice;  // for `prevod` of the locators

  int PocetSpojeni = 0;  // contacts = rows - 1
  // Statistics in whole km (prumer).
  int CelkemKm = 0;
  int PocetSKm = 0;
  int PrumerKm = 0;
  int NejdelsiKm = 0;

  int SetridenoPodle = 0;  // column of the last sort: 0, 3, 5 or 6
  bool nacteno = true;     // false while the reader runs
  bool doplndatum = false; // date option, ticked by the reader on dated rows

  // Texts the main window shows: status-bar panel 2 and the label `cisspoj`
  // (the number of the next contact).
  std::string panel2;
  std::string cisspoj;

  PrepoctenyStav prepocteno;

  // Set while the writer or the reader works on this log; a second call
  // meanwhile is refused instead of seeing a half-done state.
  bool busy = false;

  int contactCount() const { return Denik.rowCount() > 0 ? Denik.rowCount() - 1 : 0; }
};

// Clears the thirteen description fields.
void NulujEXP(LogDocument& log);

// Puts back the title cells of row 0 (the grid keeps at least that row).
void setLogTitles(Grid& denik);

}  // namespace vektrano
