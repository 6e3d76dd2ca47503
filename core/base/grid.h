#pragma once
// core/base: what every part of the log book speaks: the cp1250 string grid
// (this header), locator geometry (`testlok`, `vypocet`, `pocitejazimut`),
// the text normalisation routines and the synonym table. Nothing here knows
// of a log, a file or a window.
//
// A table of cp1250 text cells, the model behind every grid of the programs:
// the log grid, the list windows and the viewer. Plain C++ without widgets;
// a view follows it through listeners (windows/base/grid_table_model.h).
//
// Cells are addressed (row, col), both from 0. Every row always holds
// colCount() cells; reading outside the grid gives an empty text.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vektrano {

struct GridChange {
  enum class Kind {
    Cell,    // one cell (row, col) changed
    Append,  // one row added at the end (row); the rows before it unchanged
    Reset,   // anything else: rows added, removed, moved, columns changed
  };
  Kind kind = Kind::Reset;
  int row = -1;
  int col = -1;
};

class Grid {
 public:
  using Row = std::vector<std::string>;
  using Listener = std::function<void(const GridChange&)>;

  explicit Grid(int cols = 0, int rows = 0);

  // Copies carry the cells, widths and fixed rows, never the listeners.
  Grid(const Grid& other);
  Grid& operator=(const Grid& other);
  Grid(Grid&& other) noexcept;
  Grid& operator=(Grid&& other) noexcept;

  int colCount() const { return cols_; }
  int rowCount() const { return static_cast<int>(rows_.size()); }
  // New cells are empty; shrinking drops the cells beyond.
  void setColCount(int n);
  void setRowCount(int n);

  const std::string& cell(int row, int col) const;
  // Ignored outside the grid.
  void setCell(int row, int col, std::string text);

  const Row& row(int r) const;  // an empty row of colCount() cells outside
  // Missing cells of text become empty, extra ones are dropped.
  void setRow(int r, Row text);
  void appendRow(Row text);
  void insertRow(int at);  // an empty row before at (at == rowCount() appends)
  void removeRow(int r);
  void swapRows(int a, int b);
  void clearRow(int r);    // every cell of r empty
  void clear();            // no rows at all; columns stay

  // Rows at the top that stay visible as titles (row 0 of the log once it
  // holds contacts). Only a mark for views and printers.
  int fixedRows() const { return fixedRows_; }
  void setFixedRows(int n) { fixedRows_ = n; }

  // Column widths in pixels as the logic lays them out; 0 hides a column.
  // -1 (the default) leaves the width to the view.
  int colWidth(int col) const;
  void setColWidth(int col, int width);

  // Direct access for bulk work (sorting, reading a file). Every row must
  // keep colCount() cells; call notifyReset() afterwards. Taking it counts as
  // a change of the revision.
  std::vector<Row>& rows();
  const std::vector<Row>& rows() const { return rows_; }
  void notifyReset();

  // Changes with every change of the cells or rows (and with each copy), and
  // never takes a value twice in the program: a cache made at one revision
  // still holds while the revision is the same.
  std::uint64_t revision() const { return revision_; }

  // Listeners are told of every change; the id removes one again.
  int addListener(Listener l);
  void removeListener(int id);

 private:
  void notify(const GridChange& c);

  int cols_ = 0;
  int fixedRows_ = 0;
  std::vector<Row> rows_;
  std::vector<int> widths_;
  std::vector<std::pair<int, Listener>> listeners_;
  int nextListener_ = 1;
  std::uint64_t revision_;
};

}  // namespace vektrano
