#pragma once
// The call-sign list (.pvk: locator ";" call sign with its district ";" date
// of the last contact, cp1250, CR LF): which file the editors work on, the
// field rule of its lines, its sort keys and duplicate test, the save that
// tidies every call sign, and the delete by date with its listing. The
// call-sign editor (windows/call_sign_list_window.h) and the import window
// show it.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/grid.h"
#include "core/base/synonyms.h"
#include "core/base/text.h"
#include "core/reference/indexes.h"
#include "core/reference/list_data.h"
#include "core/reference/town_database.h"

namespace vektrano {

// The date of a station never worked, and the date that stands for "long ago".
inline const std::string kNezjisteno = "Nezjištěno";
inline const std::string kDlouhoZpatky = "1.1.2000";
// Written for a call sign that was empty at saving.
inline const std::string kPrazdnaVolacka = "?????";

// The list the editors open: the main one while pouzevolacky1 is ticked,
// otherwise the user's second one (the main one when none is set).
std::string chosenCallSignList(const DatabaseFiles& files, bool pouzevolacky1);
// The listing of the delete by date: the program's data file ".del".
std::string deletedCallSignsPath(const std::string& programFolder);

// For each digit 0 to 9 in turn, the blank of the first " " + digit is
// deleted: "ALFA 7 (LIBEREC)" gives "ALFA7 (LIBEREC)".
std::string CisliceVeVolacce(std::string_view text);
// The text before the first "(", the whole text without one.
std::string PoZavorku(std::string_view text);

// A list line into locator, call sign and date. One empty last field (a
// line ending in ";") is ignored; then while the rest holds a ";" the text
// before it is the locator, the next field the call sign (through
// CisliceVeVolacce when cislice is set) and the rest the date, "Nezjištěno"
// when there is none; a line of more than three fields is read again from
// its third field, so a;b;c;d;e gives c, d, e. A line without ";" leaves the
// row empty.
void callSignLineFields(std::string_view line, Grid::Row& row, bool cislice);

// The sort keys of the editor: 0 locator + call sign, 1 the call sign folded
// by PrevodJenNaVelke, 2 key 1 through Synonymuj of the table synonyms()
// gives at that moment (none: key 1).
using SynonymSource = std::function<std::shared_ptr<const TabulkaSynonym>()>;
std::vector<ListTable::Key> callSignKeys(SynonymSource synonyms);

// Rows are duplicates when their call signs cut by PoZavorku and folded by
// Synonymuj are equal, or one lies inside the other.
bool callSignDuplicates(const Grid::Row& a, const Grid::Row& b, const TabulkaSynonym* synonyms);

// The save's form of a call-sign cell: double blanks collapsed,
// upravvolacku, "?????" when empty, locator-like words dotted.
std::string tidyCallSign(std::string_view cell, const KeyboardOptions& keyboard,
                         std::vector<LocatorLikeWord>* found);

// A list record: locator ";" upravvolacku(call sign) ";" upravvolacku(date);
// nothing for a row with an empty locator.
std::optional<std::vector<std::string>> callSignRecord(const Grid::Row& row);
// The same for every row (the import window's save and the listing).
std::vector<std::string> callSignFields(const Grid::Row& row);

// `SaveVolackyData` on a table with callSignKeys: sorted on key 1 unless it
// is, every call sign tidied (one message per locator-like word), then the
// rows with a locator written atomically. Rows without one stay in the grid
// and are counted in "Prázdné položky byly vypuštěny ... ( n x )" after the
// write. A failed write shows "Chyba I/O při ukládání souboru : " + path and
// leaves the file as it was.
struct CallSignSave {
  bool written = false;
  int dropped = 0;
  std::vector<LocatorLikeWord> words;
};
CallSignSave SaveVolackyData(ListTable& table, const std::string& path,
                             const KeyboardOptions& keyboard);

// The delete by date after the operator answered: every row dated on or
// before the answer is listed in listingPath (rows whose date is no date are
// first given "1.1.2000", each with its message), and after the question
// the rows are removed from the table (never from the file). visit is told
// each row as it is checked. Returns how many rows went: -1 when the answer
// is no date (its message shown, nothing changed), 0 after No.
int smazVolackyDoData(ListTable& table, const std::string& answer, const std::string& listingPath,
                      const std::function<void(int row)>& visit = {});

}  // namespace vektrano
