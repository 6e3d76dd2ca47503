#pragma once
// The town and locator database (.zr4: locator ";" description, one place a
// line, cp1250, CR LF): which file the editor works on, the one reading of
// its lines that the editor, the call-sign import and the shipped-data check
// share, and the editor's save. Saving tidies every description, gives each
// word that the entry line could read as a locator a "." at its end, writes
// the file atomically and keeps its previous content as ".loc" beside it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/grid.h"
#include "core/base/text.h"
#include "core/reference/indexes.h"
#include "core/reference/list_data.h"

namespace vektrano {

// The backup of a database: the same path with the extension ".loc", so the
// main database and the user's second one each keep their own.
std::string townDatabaseBackupPath(const std::string& database);

// The database the editor opens: the main one while pouzelok1 is ticked,
// otherwise the user's second one. A second database that is not set (empty
// or "none") gives the main one, so nothing is ever written to a file named
// "none".
std::string chosenTownDatabase(const DatabaseFiles& files, bool pouzelok1);

// A town line into a row of two cells: while the rest holds a ";", cell 0
// takes the text before the first ";" and cell 1 what follows. "JO70PO;Kozákov"
// gives JO70PO and Kozákov, "A;B;C" gives B and C, a line without ";" an
// empty row.
void townLineFields(std::string_view line, Grid::Row& row);

// Every line of a database's content as a row of townLineFields.
std::vector<Grid::Row> townRows(std::string_view content);
// The whole file, or nothing when it cannot be read.
std::optional<std::vector<Grid::Row>> readTownDatabase(const std::string& path);

// A word that the entry line would take for a locator (testlok of its
// prevod form), as the save reports it.
struct LocatorLikeWord {
  std::string text;       // the cell as it stood before the save tidied it
  std::string word;       // the word, before its "."
  std::string asLocator;  // prevod of the word
};
bool locatorLike(std::string_view word, const KeyboardOptions& keyboard);

// The words of text (split at blanks, empty ones dropped) joined by single
// blanks, each locator-like word followed by "."; each such word is added to
// found, with rowText as the text it came from. A word that ends in "." is
// no locator, so dotting twice adds nothing.
std::string dotLocatorWords(std::string_view text, const KeyboardOptions& keyboard,
                            const std::string& rowText, std::vector<LocatorLikeWord>* found);

// The information message shown once for each such word.
std::string locatorWordMessage(const LocatorLikeWord& w);

// The save's form of a description: double blanks collapsed, upravvolacku,
// trimmed, locator-like words dotted. An empty description stays empty.
std::string tidyTownDescription(std::string_view cell, const KeyboardOptions& keyboard,
                                std::vector<LocatorLikeWord>* found);

// The record of a row: the locator as it stands, upravvolacku of the
// description. Every row is written, an empty one as ";".
std::optional<std::vector<std::string>> townRecord(const Grid::Row& row);

// `savedata` on a two-column table whose key 1 is the description: sorted
// on it unless it is already, every description tidied (one message per
// locator-like word), then the file written atomically, its previous
// content kept at the backup path. A failed write shows "Chyba I/O při
// ukládání souboru : " + path and leaves the file as it was; the rows keep
// their tidied texts.
struct TownSave {
  bool written = false;
  std::vector<LocatorLikeWord> words;
};
TownSave savedata(ListTable& table, const std::string& path, const KeyboardOptions& keyboard);

// "Předcházející verze databáze " + path + " byla uložena do souboru " + backup.
std::string previousVersionMessage(const std::string& path);

}  // namespace vektrano
