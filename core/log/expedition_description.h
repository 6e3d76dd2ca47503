#pragma once
// The expedition description window's logic: the edits' typing rules, the
// one-shot description file beside the program, the times taken from the
// log, and the confirm that names and first saves a new log. Plain data in,
// plain data out; the window (windows/expedition_description_window.h) only shows it.
#include <optional>
#include <string>

#include "core/log/log.h"
#include "platform/datetime.h"

namespace vektrano {

// Indexes of the start and end edits (Edit5, Edit6).
constexpr int kPopisZacatek = 4;
constexpr int kPopisKonec = 5;

// What the change handler of edit `index` (0 = Edit1) puts into the edit:
// every ";" as ","; for the locator edit also `prevod` of the text when that
// gives a valid locator. Nothing when the text stays as typed.
std::optional<std::string> upravaPole(int index, const std::string& text,
                                      const KeyboardOptions& keyboard);

// The one-shot description file: "vektrano.exp" in the program folder.
std::string predavaciSoubor(const std::string& programFolder);

// The edits as the window starts: the log's description; when all of it is
// blank, the description file at handOverPath (thirteen lines, a missing line
// empty), which is deleted once read. An empty file is only deleted; one that
// cannot be read shows "Chyba I/O při čtení souboru : " + path and stays.
// Every text passes the typing rules, and an empty start gets the time now.
Popis naplnPopis(const LogDocument& log, const std::string& handOverPath,
                 const platform::DateTime& now);

// The current date and time as the start and end edits take it.
std::string aktualniDatumCas(const platform::DateTime& now);

// `doplnCasyZdeniku`: appends " { time }" of the lowest contact number to
// start and of the highest to end, each only when not already there. The
// log may be sorted by any column; rows whose number is no whole number
// count only when no row has one (then the first and last row). True when
// a text changed.
bool doplnCasyZdeniku(const LogDocument& log, std::string& zacatek, std::string& konec);

// The one line of the note memo: name, place, altitude, operators, loggers.
std::string souhrnPopisu(const Popis& popis);

// The most "_2", "_3", ... the new log's name tries before it gives up.
inline constexpr int kMaxCisloNovehoDeniku = 999;

// The new log's path: name_locator_place_start with ".", " ", ":", "?", "*",
// "/", "+" and ";" as "_", folded by `PrevodJenNaVelke`, made one safe file
// name (platform::fileNameFromText), in dataFolder with ".qvl"; an existing
// path gets "_2", "_3", ... before ".qvl". Empty when up to
// kMaxCisloNovehoDeniku every name is taken.
std::string novyNazevDeniku(const Popis& popis, const std::string& dataFolder);

enum class Potvrzeni {
  Chybi,        // name, place or locator missing: message shown, nothing stored
  Ulozeno,      // stored and saved; the window closes
  ChybaZapisu,  // the writer failed (its message shown); nothing stored
};

struct VysledekPotvrzeni {
  Potvrzeni vysledek = Potvrzeni::Chybi;
  int fokus = -1;     // Chybi: the edit for the focus (the first one missing)
  std::string memo1;  // Ulozeno: the memo's one line
};

// Confirm (`BitBtn2Click`): checks locator, place and name; stores the edits
// as they stand into the description and the locator into lokportable;
// names an unnamed log (with the message "Nový deník se ukládá pod názvem :"
// ...) and writes the log through `ulozdata`. When the write fails, or no
// free name is left (the writer's "Chyba I/O při ukládání záložního souboru
// : " + the name), the log is left as before the confirm, unnamed when it was.
VysledekPotvrzeni potvrdPopis(LogDocument& log, const Popis& pole, const std::string& dataFolder);

}  // namespace vektrano
