#pragma once
// The log file (extension qvl): cp1250, CR LF, every field ended by ";".
// Each line is the own locator and the eight cells of one grid row; the
// title line also carries the thirteen description fields. Every write goes
// through platform::writeFileAtomic, so the file holds either the new log or
// the previous one, and the previous one stays as ".bak".
//
// Nothing here pumps events: a key press or timer can never run inside a
// half-written save or a half-read log. Messages are shown only before or
// after the work, through platform/message.h.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/base/synonyms.h"
#include "core/log/log.h"
#include "platform/datetime.h"

namespace vektrano {

// The file's bytes for the log as it stands (no recalculation here). Every
// ";" inside a cell, the own locator or a description field becomes ",".
std::string formatLog(const LogDocument& log);

// Target and backup names of the writer: the extension of name becomes
// ".qvl" (".bak"); an extension that already is qvl in any case is kept as
// written, so "DENIK.QVL" stays one file.
std::string logTargetName(const std::string& name);
std::string logBackupName(const std::string& name);

// `ulozdata`: recalculates the log and writes it durably under name (the
// extension made ".qvl"), the previous file kept as ".bak". An empty name
// writes nothing. On failure shows "Chyba I/O při ukládání záložního
// souboru : " + path, keeps the previous file, and returns false.
bool ulozdata(LogDocument& log, const std::string& name);

// The log under its SaveFileName (when it has one) and the crash backup under
// zaloha, each written whatever became of the other, so that the contacts
// stand in whichever file could be written. One "Chyba I/O při ukládání
// záložního souboru : " message names the first file that failed.
struct ZapisDenikuAZalohy {
  bool denik = false;   // the log file was written
  bool zaloha = false;  // the crash backup was written
  // Enter: the grid's revision right before the row was added, when adding
  // it was the grid's only change; else 0.
  std::uint64_t revizePredPridanim = 0;
};
ZapisDenikuAZalohy ulozDenikAZalohu(LogDocument& log, const std::string& zaloha);

// Enter: row appended as the next contact and the log written under name
// (nothing when name is empty) and as the crash backup zaloha, both durably,
// from bytes formatted once. When no other row changed since the last whole
// recalculation, only the new row is recalculated, counted into the
// statistics and formatted; otherwise the whole log is recalculated. Either
// way the files are byte for byte what ulozdata writes, and a failure is
// reported as ulozDenikAZalohu reports it.
ZapisDenikuAZalohy ulozNoveSpojeni(LogDocument& log, Grid::Row row, const std::string& name,
                                   const std::string& zaloha);

struct NacteniVysledek {
  bool ok = false;               // the file was read into the log
  bool prevedenoExp = false;     // an old description file was folded in
  bool chybiPopis = false;       // name, place or locator empty: show the description window
  bool doplndatum = false;       // a dated time cell was found: re-lay the columns
  int radku = 0;                 // lines read
};

// Parses the bytes of a log file into log (grid, description, own locator,
// NejdelsiKm, PocetSpojeni, doplndatum). Lines end with CR LF or LF alone.
// Fields are cut at ";"; text behind the last ";" is ignored; a short line
// leaves the rest of its row empty.
NacteniVysledek parseLog(const std::string& data, LogDocument& log);

// `nactidata`: reads the file named by SaveFileName. When it cannot be read,
// shows "Soubor " + path + " nebyl nalezen !" and changes nothing. Afterwards
// numbers the next contact, sorts by number and recalculates. An old ".exp"
// description beside the log is folded in first and the log then rewritten.
NacteniVysledek nactidata(LogDocument& log, const TabulkaSynonym& synonyma);
// The same for another file (the crash backup); SaveFileName stays.
NacteniVysledek nactidataSoubor(LogDocument& log, const std::string& path,
                                const TabulkaSynonym& synonyma);

// `PrevodEXP`: folds the old description file expName into the description
// fields and deletes it (an empty one is only deleted). True when fields were
// taken over.
bool PrevodEXP(LogDocument& log, const std::string& expName);

// The crash backup "zaloha.qvl" in the program folder (ZalohaFileName):
// written after every contact, read back after an abnormal end.
bool ulozZalohu(LogDocument& log);
NacteniVysledek nactiZalohu(LogDocument& log, const TabulkaSynonym& synonyma);

// Name of a safety copy: folder + "/zaloha_" + date and time with ".", " "
// and ":" as "_" (no extension; the writer adds ".qvl").
std::string nazevBezpecnostniKopie(const std::string& folder, const platform::DateTime& t);

// Writes a safety copy of a log with contacts into folder and reports it with
// message + CR LF CR LF + path (+ for New/Save: CR LF CR LF + "Řádků v
// deníku : " + count). Nothing happens for a log without contacts. Returns
// the path written (without extension), empty when none.
std::string bezpecnostniKopie(LogDocument& log, const std::string& folder, bool sPoctemRadku,
                              const std::string& zprava);

// New log (`NovyDenik`): chosen is the name confirmed in the save dialog, or
// nothing when it was cancelled (then a log with contacts gets a safety copy
// in dataFolder). Afterwards the log is empty, unnamed and without
// description, and true is returned: the description window is to be shown.
// When the old log could not be written anywhere, it stays and false is
// returned.
bool NovyDenik(LogDocument& log, const std::optional<std::string>& chosen,
               const std::string& dataFolder);

// Save (`UlozJakoQVL`): a confirmed name (its extension made ".qvl") becomes the log path and the log is
// written there; cancelled with contacts, a safety copy. True when the log
// was written under the chosen name.
bool UlozJakoQVL(LogDocument& log, const std::optional<std::string>& chosen,
                 const std::string& dataFolder);

// Open (`NactiDataQVL`): with a chosen file, a log with contacts gets a
// safety copy first, then the file is read and its ".qvl" name becomes the
// log path.
// Nothing happens when cancelled, when the safety copy fails or when the file
// cannot be read (the previous log and its path stay). After ok the window
// scrolls to the end and shows the description window.
NacteniVysledek NactiDataQVL(LogDocument& log, const std::optional<std::string>& chosen,
                             const std::string& dataFolder, const TabulkaSynonym& synonyma);

// `CSVprejmenujQVL`: every "*.csv" of folder (extension in any case) whose
// first line starts with a valid locator is renamed to ".qvl", never over an
// existing file. Returns how many were renamed; selhalo, when given, hears
// of every such file that could not be renamed (old and new path).
using NeprejmenovanyCSV = std::function<void(const std::string& from, const std::string& to)>;
int CSVprejmenujQVL(const std::string& folder, const NeprejmenovanyCSV& selhalo = {});

// `PosunNaKonec`: the top row that shows the last row of a grid of rowCount
// rows (height and row height in pixels), or currentTop when it is visible.
int PosunNaKonecHorniRadek(int rowCount, int gridHeight, int defaultRowHeight, int currentTop);

}  // namespace vektrano
