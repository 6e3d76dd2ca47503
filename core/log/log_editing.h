#pragma once
// Editing commands of the log grid: rows deleted, inserted and swapped,
// duplicate and error marks, notes and dates, and the texts the grid's
// mouse shows. Plain C++ over LogDocument; the main window only picks the
// row and repaints.
//
// A "selected row" is a grid row index; 0 (the titles) or a row outside the
// contacts means none. The row commands take the contact numbers to equal
// the row indices, as they do while the log is sorted by number (the window
// enables them only then).
//
// Every command that returns true changed the log; the window then saves it
// with ulozPoUprave and repaints.
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "core/base/synonyms.h"
#include "core/log/log.h"

namespace vektrano {

// Writes the edited log as after a contact: under its own name (when it has
// one) and as the crash backup. False when a write failed (reported once,
// ulozDenikAZalohu).
bool ulozPoUprave(LogDocument& log);

// Sort by column c unless the log is already so sorted. True when sorted.
// progress: the captions of `Setrid`.
bool SetridPodle(LogDocument& log, int c, const TabulkaSynonym& synonyma,
                 const std::function<void(const std::string& caption)>& progress = {});

// "Proveď přepočet vzdáleností": recalculation, then its message.
bool ProvedPrepocet(LogDocument& log);

// Deletes the selected row; the later rows are renumbered. A deleted
// duplicate reminds to check duplicates again.
bool OdstranRadek(LogDocument& log, int radek);

// Inserts an empty row at the selected one (row 1 when none); the rows from
// there on move down and are renumbered.
bool VlozPrazdnyRadek(LogDocument& log, int radek);

// Swaps cells 1..7 of the selected row with the next (previous) one; the
// numbers stay. Without such a row its message and false.
bool ProhodSNasledujicim(LogDocument& log, int radek);
bool ProhodSPredchozim(LogDocument& log, int radek);

// `Kontroladuplicit1Click` without the window part (showing the notes
// column): sorts by call sign unless so sorted, renews the ".#_dupl_" marks
// of neighbouring duplicates, refreshes the statistics and reports the
// count. radekDuplicity gets the last marked pair's second row (0 when none).
struct KontrolaDuplicitVysledek {
  int pocet = 0;
  int radekDuplicity = 0;
  bool zmeneno = false;  // sorted or a mark changed
};
KontrolaDuplicitVysledek KontrolaDuplicit(
    LogDocument& log, const TabulkaSynonym& synonyma,
    const std::function<void(const std::string& caption)>& progress = {});

// The duplicate rule for two call-sign cells: the keys (note words removed,
// familiar names replaced) are equal or one contains the other; an empty
// key matches nothing.
bool JsouDuplicity(const std::string& volacka1, const std::string& volacka2,
                   const TabulkaSynonym& synonyma);

// Error notes. A cell has a mark when one of its words begins with ".#".
bool MaChybovouPoznamku(const std::string& volacka);
// Ctrl+click on a call-sign cell: marks removed, or " .#_" appended.
enum class PrepnutiPoznamky { Nic, Odebrana, Pridana };
PrepnutiPoznamky PrepniChybovouPoznamku(LogDocument& log, int radek);
// " .#_" appended to a selected row without a mark.
bool VlozChybovouPoznamku(LogDocument& log, int radek);
// Every ".#" word of the selected row removed.
bool SmazChybovouPoznamku(LogDocument& log, int radek);
// Every ".#" word of every row removed (duplicate marks too); the count is
// reported and returned.
int OdstranChybovePoznamky(LogDocument& log);

// After the question, every note cell emptied. True when done.
bool VymazPoznamky(LogDocument& log);

// After the question, the date part of every time cell removed and the date
// option (log.doplndatum) unticked; nothing in a log without contacts. True
// when done: the window unticks its item and lays the columns out.
bool OdstranDatumy(LogDocument& log);

// The date panel's preset: from 1 (range 1..n-1), to n (range 2..n).
struct DatovyPanel {
  int od = 1, odMin = 1, odMax = 0;
  int po = 0, poMin = 2, poMax = 0;
};
DatovyPanel PripravDatovyPanel(const LogDocument& log);

// "Proveď změnu datumu": rows od..po (texts of the two boxes, swapped when
// reversed) get "[" + datum + "] " in front of their time. A box text that
// is not a number is reported and counts as 0; a range outside 1..n does
// nothing.
bool ZmenDatumu(LogDocument& log, const std::string& odText, const std::string& poText,
                const std::string& datum);
// The rule for one time cell.
std::string DatumujCas(const std::string& cas, const std::string& datum);

// The nine lines of the selected row (`Otev59t58dekv1Click`), CR LF.
std::string TextRadku(const LogDocument& log, int radek);
// Writes them to path; false (and the I/O message) when that fails or no
// row is selected.
bool UlozRadekDoTextu(const LogDocument& log, int radek, const std::string& path);

// The window caption a click on a contact row shows.
std::string TitulekRadku(const LogDocument& log, int radek);
// The clipboard text of Shift+click on a contact row.
std::string SchrankaRadku(const LogDocument& log, int radek);

// A click on the title of column 5 (sorted by locator) or 3 (sorted by call
// sign) steps to the next pair of equal neighbours from pozice. Returns the
// pair's first row and moves pozice one on; at the end shows its message,
// sets pozice to 0 and returns nothing.
std::optional<int> DalsiShoda(const LogDocument& log, int sloupec, int& pozice,
                              const TabulkaSynonym& synonyma);

// Column widths after a mouse release in the grid (`DenikMouseUp`): the
// call-sign column keeps at least 150 pixels; a shown note column takes the
// rest of the client width (less 32), at least 50, the call-sign column
// giving way. Returns the note width to store (0 when the notes are hidden).
int SirkaPoznamkyPoUvolneni(const std::array<int, kLogColumns>& sirky, int clientWidth,
                            bool Zobrpoz);

// The topmost row whose km is the longest distance of the log (0 when none).
int RadekNejdelsiho(const LogDocument& log);

}  // namespace vektrano
