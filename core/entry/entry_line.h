#pragma once
// core/entry: one contact from the first key to the stored row: the entry
// line's word rules (this header) and storing the contact on Enter
// (store_contact.h).
//
// The entry line `vstup`: the operator types a whole contact in any order and
// every key release classifies the words again (reports, time, locator, call
// sign, name, notes, marks), rewrites them into their canonical form and
// says what the window shows and which searches to arm.
//
// Pure logic without widgets and without waiting: the window hands in the
// line, the caret, the key and what it knows, and applies the result. No
// function here pumps events, so one key release can never run inside
// another.
//
// Carets count characters before the caret (0 = before the first one).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/base/synonyms.h"
#include "core/base/text.h"

namespace vektrano {

enum class EntryKey {
  Other,  // any key without a rule of its own (letters, digits, ...)
  Space,
  Enter,
  Backspace,
  Delete,
  Escape,
  PageUp,
  PageDown,
  Home,
  End,
  Left,
  Right,
  Up,
  Down,
  F2,
  F3,
  F4,
};

struct EntryKeyEvent {
  EntryKey key = EntryKey::Other;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool bezModifikatoru() const { return !shift && !ctrl && !alt; }
};

// The option flags of the main window the entry line reads.
struct EntryOptions {
  KeyboardOptions keyboard;        // klavesnicecz, klavesnicesk (prevod)
  bool PouzivatVolacky = false;    // side panel in call-sign mode; else towns and name days
  bool secondstation = false;      // distance to a second station in Label1
  bool threestation = false;       // ... and to a third one
  std::string loksecondary;        // locator of the second station
  std::string lokthree;            // locator of the third station
  bool doplnvolackuzakm = false;   // call sign in `volackalabel`
  bool ZobrazLokatorProtistanice = false;  // ... with the locator in front
};

// What the window knows besides its options.
struct EntryContext {
  std::string lokportable = "JO70GQ";                 // own locator
  const std::vector<std::string>* vyjimky = nullptr;  // words never taken for a locator
  const TabulkaSynonym* synonyma = nullptr;           // familiar names
  int NejdelsiKm = 0;                                 // longest distance of the log
  bool seznamMistViditelny = false;     // place list `wmestacentr` visible
  bool seznamVolacekViditelny = false;  // call-sign list `wvolacky` visible
};

// The contact being typed, rebuilt at every key release.
struct EntryParts {
  std::string ReportVyslany;        // the report given
  std::string ReportPrijaty;        // the report received
  std::string LokatorProtistanice;  // six characters, upper case
  std::string CasSpojeni;           // hh:mm:ss (a trailing blank after hhmm)
  std::string VolackaText;          // call sign, name and note words, tidied
  std::string Poznamka;             // note from the words beginning with ","
  std::string KrestniJmeno;         // first name for the name-day search
  std::string HledanaVolacka;       // text of the call-sign search
  std::string HledaneMisto;         // text of the place search
  std::string TextMista;            // place words as the status bar shows them
  std::string KlicDuplicity;        // call sign of the duplicate search
};

// The last key of each search (`PosledniKlice`): an unchanged key keeps its
// search from restarting.
struct PosledniKlice {
  std::string mesta = "q";    // towns of the locator: the locator
  std::string volacky = "q";  // call signs: HledanaVolacka
  std::string mista = "q";    // places: place words + " " + locator
  std::string jmeno = "q";    // name days: KrestniJmeno
};

// A blank the program put into the line itself (behind an expanded time,
// after a removed home locator, behind "/p" or "/m"): the line as it was
// left and where that blank stands. One Space typed beside it makes two
// blanks that the operator never typed, so they do not swap the reports.
struct VlozenaMezera {
  std::string radek;
  size_t pozice = 0;
};

// State of the entry line that outlives one key release.
struct EntryState {
  EntryParts parts;
  PosledniKlice klice;
  std::string PredchoziText;    // last text taken out of the line, for Esc
  int VelikostPismaVstupu = 30; // font size last chosen by RovnejVstup
  bool bezJmenaOznameno = false; // told that the log has no file name yet (once
                                 // per log: a new log is told again)
  std::optional<VlozenaMezera> vlozenaMezera;  // the program's own blank, while the line keeps it
};

// The five background searches, in the order the scheduler runs them.
enum class SearchKind {
  Mesta,     // towns and hills of the locator
  Lokatora,  // places by name
  Volackaa,  // call signs
  Jmena,     // name days
  Duplyo,    // duplicates in the log
};

// A search to restart: stop the running one of that kind, then set its
// countdown to the search delay. text is its input (the locator, the place
// words, the call sign, the first name, the duplicate key); locator is the
// contact's locator as it stands after the key release.
struct ScheduledSearch {
  SearchKind kind;
  std::string text;
  std::string locator;
};

// Visibility changes of the main window's lists; nothing = unchanged.
// wduplicity false means "hide it if it is shown" (`ZobrazDuplicity`).
struct SidePanels {
  std::optional<bool> SeznamMest;   // towns list
  std::optional<bool> Memo4;        // name days
  std::optional<bool> wmestacentr;  // place list
  std::optional<bool> wvolacky;     // call-sign list
  std::optional<bool> Denik;        // log grid
  std::optional<bool> wduplicity;   // duplicate list
};

enum class ListFocus { None, Mista, Volacky };

struct EntryResult {
  std::string text;  // the line as it is to stand
  int caret = 0;
  bool keySwallowed = false;  // the key goes no further
  EntryParts parts;           // copy of the parsed contact

  // Key release only (vstupKeyUp):
  bool displayUpdated = false;  // the fields below are to be applied; Label1 and
                                // volackalabel take the scheme's normal colour
  std::string label1;           // distance label `Label1`
  bool label1Bold40 = false;    // bold type of size 40, then RovnejLabel1
  std::optional<int> azimut;    // chart: azimut + " stup.", slices 360 - azimut
                                // (yellow) and azimut (red); none: "Azimut", empty
  bool restartBlik = false;     // typed distance above the longest of the log
  std::string panel2;           // status-bar panel 2
  std::optional<std::string> volackalabel;  // text for `volackalabel`, cut to fit
  std::vector<ScheduledSearch> searches;
  std::optional<std::string> openMap;  // map window of this locator
  bool ulozit = false;                 // Enter: store the contact now

  // Both handlers:
  bool switchToMestaSvatky = false;  // RezimMestaSvatky (the keys are already reset here)
  SidePanels panels;
  bool clearPanel1 = false;
  bool refreshStatistics = false;  // prumer into panel 2
  bool focusGrid = false;          // show and focus the grid, then the line again
  ListFocus focusList = ListFocus::None;  // focus that list, select its line 1
};

// Key release in the entry line (`vstupKeyUp`).
EntryResult vstupKeyUp(const std::string& line, int caret, const EntryKeyEvent& key,
                       const EntryOptions& options, const EntryContext& context,
                       EntryState& state);

// Key press in the entry line before the character reaches it
// (`vstupKeyDown`): F2..F4 into the lists, Esc clearing and bringing back
// the line.
EntryResult vstupKeyDown(const std::string& line, int caret, const EntryKeyEvent& key,
                         const EntryOptions& options, const EntryContext& context,
                         EntryState& state);

// Leading note words moved behind the rest of the text.
std::string TeckyNaKonec(const std::string& text);

// The keys the side-panel mode switch resets (towns and places): "1" for
// call-sign mode or "2" for towns and name days, then 16 "@".
void prepniRezimKlice(PosledniKlice& klice, bool volacky);

// After a stored contact every key and KlicDuplicity become this junk text
// of 61 characters, which no typed key can equal.
const std::string& klicPoUlozeni();

// Width of a text in pixels for a font of the given size and weight.
using TextWidth = std::function<int(const std::string& text, int size, bool bold)>;

struct LabelFit {
  std::string text;
  int size = 40;
  bool bold = true;
};

// `RovnejLabel1`: the distance text shortened step by step (" km", double
// blanks, " / ", the brackets, bold, then smaller type) until it and 20
// pixels fit into width. The size never goes below 1.
LabelFit RovnejLabel1(LabelFit label, int width, const TextWidth& measure);

// `RovnejVstup`: the font size for the entry line text in an edit of the
// given width; updates state.VelikostPismaVstupu. True when the size changed
// (the edit then scrolls the text into view).
bool RovnejVstup(const std::string& text, int width, const TextWidth& measure,
                 EntryState& state, int& size);

// Drops the last character while the text is wider than width.
std::string orizniNaSirku(std::string text, int width,
                          const std::function<int(const std::string&)>& measure);

}  // namespace vektrano
