#pragma once
// The grid printer: lays a string grid out row by row as page objects on
// the pages of a preview document, starting new pages as the rows run down
// and repeating the title row at the top of every further page, with cell
// texts, fixed-cell shading, grid lines and an outer border. The engine
// reaches the grid only through its virtual accessors; TPvGridPrint reads a
// TPvStringGrid.
#include <functional>
#include <string>
#include <vector>

#include "preview/classes.h"
#include "preview/pages.h"

namespace vektrano::preview {

enum TPvGridOption : unsigned {
  pvVertLine = 1u << 0,
  pvHorzLine = 1u << 1,
  pvFixedRowPerPage = 1u << 2,  // carried; row 0 repeats on every page anyway
  pvGridBorder = 1u << 3,
  pvFixedCells3D = 1u << 4,     // carried; draws nothing of its own
};
using TPvGridOptions = unsigned;

// Numbers in the order they were added.
class TPvDecimalList {
 public:
  void Add(Extended v) { items_.push_back(v); }
  Extended Item(int i) const { return i >= 0 && i < Count() ? items_[static_cast<size_t>(i)] : 0; }
  int Count() const { return static_cast<int>(items_.size()); }
  Extended Total() const;
  void Clear() { items_.clear(); }

 private:
  std::vector<Extended> items_;
};

// Column widths made to fit a width: the widest columns give way to one
// common width, so that the total is at most available; the narrow ones (the
// numbers, the reports) keep theirs. Widths that fit already, and an
// available width of 0 or less, come back as they are.
std::vector<Extended> FitColumnWidths(std::vector<Extended> widths, Extended available);

class TPvCustomGridPrint : public TPvComponent {};

class TPvAbstractGridPrint : public TPvCustomGridPrint {
 public:
  TPvAbstractGridPrint();
  TPvAbstractGridPrint(const TPvAbstractGridPrint&) = delete;
  TPvAbstractGridPrint& operator=(const TPvAbstractGridPrint&) = delete;

  TColor CellPenColor = clBlack;
  int DefaultCellAlignment = pvAlignLeft;
  TPvVertAlignment DefaultCellVertAlignment = pvTop;
  const CanvasFont& Font() const { return font_; }
  void SetFont(const CanvasFont& f) { font_ = f; }
  const CanvasFont& FixedCellFont() const { return fixedFont_; }
  void SetFixedCellFont(const CanvasFont& f) { fixedFont_ = f; }
  TPvGridOptions GridOptions = pvVertLine | pvHorzLine | pvFixedRowPerPage | pvGridBorder;
  bool Monochrome = false;
  bool ScaleText = false;  // kept; the layout does not consult it
  bool WordWrap = false;

  // The document the pages are laid onto. Setting it keeps the footer's
  // height and the bottom margin free at the bottom of every page.
  TPvPageList* Preview() const { return preview_; }
  void SetPreview(TPvPageList* preview);

  // Where the grid begins on each further page, and what stays free at the
  // bottom (inches).
  TPvValue TopValue, BottomReserve;

  std::function<void(TPvAbstractGridPrint&, int row)> BeforeDrawRow, AfterDrawRow;
  std::function<void(TPvAbstractGridPrint&, Extended percent)> OnDrawProgress;
  std::function<void(TPvAbstractGridPrint&, TPvValue& yPos)> OnFinishGrid;
  std::function<void(TPvAbstractGridPrint&, int col, int row, int& alignment, TPvVertAlignment& vertAlignment)>
      OnGetCellAlignment;
  std::function<void(TPvAbstractGridPrint&, int col, TPvValue& colWidth)> OnGetColWidth;
  std::function<void(TPvAbstractGridPrint&, int row, TPvValue& rowHeight)> OnGetRowHeight;
  std::function<void(TPvAbstractGridPrint&, TPvValue& topMargin, TPvValue& bottomMargin)> OnGridNewPage;

  // Lays the whole grid out from the current page of the preview, its top
  // left corner at (x, y) in m; width 0 keeps the columns' own widths, any
  // other width scales them to it. Without a preview or a grid, the error
  // box and nothing else.
  void PrintGridToPreview(TPvMeasurement m, Extended x, Extended y, Extended width);

  // The printed width of each column in inches, after the last run.
  const TPvDecimalList& ColumnWidths() const { return widths_; }
  Extended PrintedGridWidth() const { return gridWidth_; }

 protected:
  virtual bool HasGrid() const = 0;
  virtual std::string GetCellText(int col, int row) const = 0;
  virtual int GetColCount() const = 0;
  // Inches.
  virtual Extended GetColWidth(int col) const = 0;
  virtual Extended GetGridRowHeight(int row) const = 0;
  virtual TColor GetFixedColor() const = 0;
  virtual int ReadRowCount() const = 0;
  virtual bool IsFixedCell(int col, int row) const = 0;
  virtual bool HasDrawCellHandler() const { return false; }
  virtual void DrawCell(int /*col*/, int /*row*/, const TPvRectExt& /*inches*/) {}
  virtual void RowPrinted(int /*row*/) {}

  // Read once a run.
  int GetRowCount();
  virtual Extended GetRowHeight(int row);
  virtual void CalcColWidths();
  virtual void DrawGridBorder(const TPvRectExt& lastRow);
  virtual void DrawRow(const TPvRectExt& rect, int row);
  virtual void NewGridPage();

 private:
  Extended printableBottom() const;
  const CanvasFont& fontOf(int col, int row) const { return IsFixedCell(col, row) ? fixedFont_ : font_; }

  CanvasFont font_, fixedFont_;
  TPvPageList* preview_ = nullptr;
  Extended scale_ = 1;
  TPvDecimalList widths_;
  Extended gridWidth_ = 0;
  Extended x_ = 0, y_ = 0;
  TPvPointExt origin_{};
  TPvRectExt lastRow_{};
  bool rowOnPage_ = false;  // a row stands on the current page
  int placing_ = -1;        // the row being placed
  int rowCount_ = -1;
};

// What TPvGridPrint reads: a table of text cells with its column widths and
// row heights in screen pixels.
class TPvStringGrid {
 public:
  virtual ~TPvStringGrid() = default;
  virtual int ColCount() const = 0;
  virtual int RowCount() const = 0;
  virtual int FixedCols() const = 0;
  virtual int FixedRows() const = 0;
  virtual std::string Cell(int col, int row) const = 0;
  virtual int ColWidth(int col) const = 0;
  virtual int RowHeight(int row) const = 0;
  virtual TColor FixedColor() const { return clBtnFace; }
};

class TPvGridPrint : public TPvAbstractGridPrint {
 public:
  std::string ClassName() const override { return "TPvGridPrint"; }

  // Not owned; must outlive the run.
  const TPvStringGrid* Grid = nullptr;
  // The screen's resolution the grid's pixels are measured in.
  int ScreenPixelsPerInch = 96;
  // Replaces the default drawing of a cell.
  std::function<void(TPvGridPrint&, int col, int row, const TPvRectExt& rect, TPvCanvas& canvas)> OnDrawCell;

 protected:
  bool HasGrid() const override { return Grid != nullptr; }
  std::string GetCellText(int col, int row) const override { return Grid->Cell(col, row); }
  int GetColCount() const override { return Grid->ColCount(); }
  Extended GetColWidth(int col) const override;
  Extended GetGridRowHeight(int row) const override;
  TColor GetFixedColor() const override { return Grid->FixedColor(); }
  int ReadRowCount() const override { return Grid->RowCount(); }
  bool IsFixedCell(int col, int row) const override {
    return col < Grid->FixedCols() || row < Grid->FixedRows();
  }
  bool HasDrawCellHandler() const override { return static_cast<bool>(OnDrawCell); }
  void DrawCell(int col, int row, const TPvRectExt& rect) override;
};

}  // namespace vektrano::preview
