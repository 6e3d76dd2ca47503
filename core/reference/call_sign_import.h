#pragma once
// Moving the stations of a finished log (or of another call-sign list) into
// the call-sign list: the three tables of the import window (the stations
// still to decide, the call-sign list, the town and locator database), the
// reading of the chosen file against the list, the lookup of the nearest
// town and call sign, the move with the district taken from the town
// database, and the moved-lines file (the chosen file's name with ".del")
// that tells a later import of the same file which rows are done. Each
// moved or dropped row is added to that file at once and durably, so a
// crash neither offers a done row again nor loses one.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/base/grid.h"
#include "core/base/text.h"
#include "core/reference/list_data.h"

namespace vektrano {

class CallSignImport {
 public:
  enum class Mode { None = 0, Log = 1, List = 2 };

  // The list and the town database the window edits; both are read by
  // readLists and written back to the same files.
  CallSignImport(std::string callSignList, std::string townDatabase);

  ListTable& importRows() { return import_; }  // locator, call sign (, date)
  ListTable& list() { return list_; }          // locator, call sign, date
  ListTable& towns() { return towns_; }        // locator, description
  const std::string& callSignListPath() const { return listPath_; }
  const std::string& townDatabasePath() const { return townPath_; }

  // Reads the list and the towns; a file that cannot be read shows "Chyba
  // I/O při čtení souboru : " + path and leaves its table empty.
  void readLists();

  // The mode of a file by its extension: .qvl and .csv are logs, .pvk a
  // call-sign list.
  static Mode modeOf(const std::string& file);
  static std::string movedLinesPathOf(const std::string& file);

  // `nactidata`: reads file and puts the stations the list does not know
  // into the import table (sorted), updating the date of each list row that
  // the file confirms (a log: chosenDate; a list: its date). A log's first
  // line is its header; every line of a list is a station. Asks first about
  // a moved-lines file from an earlier import. A file that cannot be read
  // shows "Soubor " + file + " nebyl nalezen !" and changes nothing; a file
  // of another kind changes nothing either. progress is told the lines read.
  bool nactidata(const std::string& file, const std::string& chosenDate,
                 const std::function<void(int lines)>& progress = {});
  bool loaded() const { return mode_ != Mode::None; }
  Mode mode() const { return mode_; }
  const std::string& file() const { return file_; }
  std::string movedLinesPath() const { return movedLinesPathOf(file_); }
  // How many list dates the last reading updated.
  int datesUpdated() const { return datesUpdated_; }

  // `dohledacka` for an import row: the first town of its locator, and the
  // list row whose call sign begins with the longest beginning of the
  // import call sign (common characters, and the lowest such row).
  struct Lookup {
    int townRow = -1;
    int listRow = -1;
    int common = 0;
    std::string commonText;
  };
  Lookup dohledacka(int importRow) const;

  // The district a move gives the call sign: " (" ... ")" of the town row's
  // description, else " (_OKRES_?_)"; for a list import none unless the
  // import call sign holds "_OKRES_" (a list's call signs carry theirs).
  std::string district(int townRow, const std::string& importCallSign) const;

  // `zS1doS2PridejVolacku`: the import row goes into the list (appended, or
  // over listRow in replace mode) with the district of townRow and the date;
  // it is then recorded in the moved-lines file and removed from the import
  // table. Returns the list row it stands in after the sort, -1 when none.
  int zS1doS2PridejVolacku(int importRow, int townRow, int listRow, bool replace,
                           const std::string& chosenDate);
  // DEL in the import table: the row is recorded as done and removed.
  void dropImportRow(int importRow);
  // Removes a row of the list (marked, sorted away). Returns the row to
  // select afterwards.
  int deleteListRow(int row);

  // Towns: a new row (locator through prevod, description through
  // upravvolacku), sorted in; returns its row. A correction changes only
  // what is given. Each marks the towns as changed.
  int addTown(const std::string& locator, const std::string& description,
              const KeyboardOptions& keyboard);
  int correctTown(int row, const std::optional<std::string>& locator,
                  const std::optional<std::string>& description, const KeyboardOptions& keyboard);
  int deleteTown(int row);
  bool townsChanged() const { return townsChanged_; }

  // `SaveVolacky`: the list sorted and written to its file (locator,
  // upravvolacku of the call sign, date; every row). `Savelok`: the towns
  // written to their file, the previous one kept as ".loc". A failed write
  // shows "Chyba I/O při ukládání souboru : " + path and keeps the file.
  bool SaveVolacky();
  bool Savelok();

 private:
  bool recordMoved(const Grid::Row& row);
  int removeImportRow(int row);

  std::string listPath_, townPath_;
  ListTable import_{2}, list_{3}, towns_{2};
  std::string file_;
  Mode mode_ = Mode::None;
  int datesUpdated_ = 0;
  bool townsChanged_ = false;
};

// The key of a row or line for "already done": its cells as the moved-lines
// file records them (listCellForFile), each through upravvolacku (which
// leaves a " *" mark out), joined by ";".
std::string doneKey(const std::vector<std::string>& cells);

// Renames the old csv logs of a folder to qvl as the import window's open
// dialog enters it, with a message for each file that could not be renamed.
int prejmenujStareDeniky(const std::string& folder);

}  // namespace vektrano
