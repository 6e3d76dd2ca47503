#pragma once
// The data side of a list window: a grid of cp1250 cells whose row 0 is
// already data, sorted in place on one of the window's keys, with the marking
// delete, the duplicate stepping, the incremental search and the whole-file
// reading and writing of a reference list ("field;field", CR LF). Plain C++;
// the window (windows/base/list_window.h) only shows it. One ListTable per grid, so
// a window with several grids keeps one state per grid.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/grid.h"

namespace vektrano {

// Unsigned byte order of cp1250 texts: no case folding, a proper beginning of
// a text sorts first, so a text of 0xFF bytes sorts after every ordinary one.
int compareListText(std::string_view a, std::string_view b);

// Deletion marks written into a row's key cells before it is sorted away.
inline const std::string kDeleteMark6(6, '\xFF');
inline const std::string kDeleteMark1(1, '\xFF');

// A record as the list file holds it: the text before the first ";" in the
// first cell, and so on; the last cell takes the rest of the line, ";"
// included (a town line: locator, then the whole description).
Grid::Row splitListLine(std::string_view line, int cols);
// The lines of a file's content: split at LF, a CR before it dropped; a last
// line without its end counts, the empty text after a final line end does not.
// Every reader of a reference list (the list windows, the index rebuild, the
// memory tables) takes its lines this way.
void forEachFileLine(std::string_view content, const std::function<void(std::string_view)>& fn);
std::vector<std::string> splitFileLines(std::string_view content);
// One cell as it may stand in a record: ";" would split the record when read
// back and becomes ","; a line break would split the line and becomes " ".
std::string listCellForFile(std::string_view cell);

class ListTable {
 public:
  using Key = std::function<std::string(const Grid::Row&)>;
  using DuplicateTest = std::function<bool(const Grid::Row&, const Grid::Row&)>;
  // Called after every pass of a sort with the gap of that pass, so that the
  // window can show its progress and let pending events run.
  using Progress = std::function<void(int gap)>;
  // A window's field rule: fills row (colCount() cells, empty) from one line.
  using FieldRule = std::function<void(std::string_view line, Grid::Row& row)>;
  // A window's writing rule: the fields of the record for a row, or nothing
  // when the row is not written.
  using RecordRule = std::function<std::optional<std::vector<std::string>>(const Grid::Row&)>;

  static constexpr int kNoKey = 99;

  explicit ListTable(int cols);

  Grid& grid() { return grid_; }
  const Grid& grid() const { return grid_; }
  int rowCount() const { return grid_.rowCount(); }
  // Never below 1: an empty list shows one empty row.
  void setRowCount(int n);

  // Keys by number: a key is a cell, a concatenation of cells or a cell
  // passed through a text routine.
  void setKeys(std::vector<Key> keys) { keys_ = std::move(keys); }
  int keyCount() const { return static_cast<int>(keys_.size()); }
  static Key cellKey(int col);
  void setProgress(Progress p) { progress_ = std::move(p); }
  // Told true when a sort starts and false when it has finished, whoever
  // asked for it (a search, the duplicate stepping, a delete).
  using SortObserver = std::function<void(bool running)>;
  void setSortObserver(SortObserver o) { sortObserver_ = std::move(o); }

  // The key the grid was last sorted on (kNoKey before the first sort).
  int sortKey() const { return sortKey_; }
  // Forgets the sort, e.g. after the rows were replaced.
  void resetSortKey() { sortKey_ = kNoKey; }
  bool sorting() const { return sorting_; }

  // Shell sort with halving gaps on key; every cell of a row moves with it.
  // The first gap is the row count. Rows move only past rows whose key is
  // strictly greater. Ignored while a sort runs (progress lets events in).
  void sort(int key);
  // Sorts unless the grid is already sorted on key.
  void ensureSorted(int key);

  // Appends an empty row; returns its index.
  int addRow();

  // Marking delete of one row: mark is written into markCols of the row, the
  // grid sorted on mainKey so that the row goes to the end, and it is
  // dropped; the last row is simply dropped. One row is always kept (empty).
  // Returns the row to select afterwards.
  int deleteRow(int row, const std::vector<int>& markCols, const std::string& mark, int mainKey);
  // The same for several rows at once: one sort; returns how many went.
  int deleteRows(const std::vector<int>& rows, const std::vector<int>& markCols,
                 const std::string& mark, int mainKey);

  // Duplicate stepping from the cursor over neighbouring rows of the grid
  // sorted on key, the last pair included. A find moves the cursor behind it;
  // the end puts it back to 0.
  struct DuplicateStep {
    bool found = false;
    int row = -1;  // first row of the pair found
  };
  DuplicateStep nextDuplicate(int key, const DuplicateTest& test);
  int duplicateCursor() const { return dupCursor_; }
  void resetDuplicateCursor() { dupCursor_ = 0; }

  // Incremental search in col of the grid sorted on key: the first row whose
  // cell matches text; row 0 for an empty text; the last row when none does.
  enum class Match { Contains, BeginsWith };
  int find(int key, int col, const std::string& text, Match match);

  // Reads the whole file into the grid (one row per line) by the field rule;
  // the default rule is splitListLine. False when it cannot be read: the grid
  // is then left as it was. The sort key is forgotten.
  bool read(const std::string& path, const FieldRule& rule = {});
  // The content that write() stores: one record per row the rule keeps,
  // fields joined by ";" (each through listCellForFile), every line ended by
  // CR LF. The default rule keeps every row with all its cells.
  std::string fileContent(const RecordRule& rule = {}) const;
  // Writes the content atomically (the old file stays whole on failure; with
  // a backupPath it is kept there). False when it could not be written.
  bool write(const std::string& path, const RecordRule& rule = {},
             const std::string& backupPath = {}) const;

 private:
  std::string keyOf(int key, const Grid::Row& row) const;
  int removeMarked(int count, const std::vector<int>& markCols, const std::string& mark);

  Grid grid_;
  std::vector<Key> keys_;
  Progress progress_;
  SortObserver sortObserver_;
  int sortKey_ = kNoKey;
  bool sorting_ = false;
  int dupCursor_ = 0;
};

}  // namespace vektrano
