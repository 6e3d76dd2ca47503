#pragma once
// Enter in the entry line: the contact just parsed is completed by the
// options (time, date, channel, reports from the report table, azimuth
// note), appended as the next row of the log grid and written at once to the
// log file and to the crash backup "zaloha.qvl". Plain logic; the window
// applies the returned texts and starts the effects.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/entry/entry_line.h"
#include "core/log/log.h"
#include "core/reference/report_table.h"
#include "platform/datetime.h"

namespace vektrano {

struct StoreOptions {
  bool Automatika = false;            // call-sign mode after every contact
  bool prijatyreportdoplnit = false;  // missing received report := the given one
  bool reporty = false;               // missing reports from the report table
  bool doplndatum = false;            // "[date] " in front of the time
  bool ukladatazimut = false;         // " .azimut_" note behind the call sign
  bool doplnovatkanal = false;        // channel text in front of the note
  int kanal = 0;                      // value of the channel spin edit
  bool automatkolecko = false;        // round-distance window after every contact
};

// `startform5`: the round-distance window gets the own locator and the
// contact's locator and recomputes. Empty until that window exists.
using Startform5 = std::function<void(const std::string& own, const std::string& locator)>;

struct StoreResult {
  bool ulozeno = false;  // false: the line was too short, nothing changed
                         // (stored: the window also sets PocetDuplicit to 0)
  std::string panel1;    // status-bar panel 1 (cleared, or the longest-contact note)
  std::string panel2;    // status-bar panel 2 (the refusal, or the statistics)

  // Only when stored:
  bool switchToVolacky = false;  // RezimVolacky
  SidePanels panels;             // lists hidden, grid shown
  std::vector<std::string> seznamMest;  // new content of the towns list
  std::string text;              // the entry line, now empty
  int caret = 0;
  int currentRow = 0;            // the grid row just written
  bool nejdelsi = false;         // new longest contact: sound, then blink
  bool zapsanDenik = false;      // the log file was written
  bool zapsanaZaloha = false;    // the crash backup was written
  std::uint64_t revizePredPridanim = 0;  // as ZapisDenikuAZalohy has it
  bool popsatDenik = false;      // the first contact of a log without a name yet:
                                 // the description window
  bool kolecko = false;          // show the round-distance window (startform5 ran)
};

// The three hint lines of the empty towns list.
const std::vector<std::string>& napovedaSeznamuMest();

// The text of the refusal of a line of 6 characters or fewer.
extern const char* const kMaloZnaku;

// Stores the contact of state.parts (as the key release of Enter left them)
// typed as line. now is the moment of storing (time and date completion).
// The crash backup goes to log.ZalohaFileName, or "zaloha.qvl" in the
// program folder when that is empty.
StoreResult ulozSpojeni(const std::string& line, const StoreOptions& options, LogDocument& log,
                        EntryState& state, const TabulkaReportu& tabulka,
                        const platform::DateTime& now, const Startform5& startform5 = {});

}  // namespace vektrano
