#pragma once
// The print window: lays the log grid onto preview pages with a header and
// a footer line on every sheet, pages and zooms through them, picks the
// printer and prints. The log grid is only read: its call-sign column is
// printed wider than the main window shows it, without touching the grid.
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "core/base/grid.h"
#include "preview/grid_print.h"
#include "windows/base/tool_window.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace vektrano {

namespace preview {
class TPvPreview;
class TPvThumbnails;
class TPvPageNavigator;
class TPvPropertyComboBox;
}  // namespace preview

// What the print window needs of the main window: the log grid `Denik`,
// whether the date stands in front of the time (`doplndatum`), and the
// height of the grid's rows on the screen, in pixels. Both are asked at
// each layout: the main window may change them while the window is open.
struct PrintWindowInputs {
  const Grid* denik = nullptr;
  std::function<bool()> dateInFront;
  std::function<int()> rowHeight;
};

// The log grid as the grid printer reads it.
class DenikGridSource : public preview::TPvStringGrid {
 public:
  explicit DenikGridSource(const PrintWindowInputs& in) : in_(in) {}
  int ColCount() const override { return in_.denik ? in_.denik->colCount() : 0; }
  int RowCount() const override { return in_.denik ? in_.denik->rowCount() : 0; }
  int FixedCols() const override { return 0; }
  // Row 0 holds the titles, contacts or not.
  int FixedRows() const override { return 1; }
  std::string Cell(int col, int row) const override { return in_.denik->cell(row, col); }
  // A width the view was left to choose is the grid's default of 64.
  int ColWidth(int col) const override;
  int RowHeight(int) const override { return in_.rowHeight ? in_.rowHeight() : 24; }

 private:
  const PrintWindowInputs& in_;
};

// The print window of the log ("Deník ZR-4    Tisk deníku").
class TForm7 : public ToolWindow {
  Q_OBJECT
 public:
  explicit TForm7(PrintWindowInputs inputs, QWidget* parent = nullptr);
  ~TForm7() override;

  // The print command's layout: the preview cleared and the grid laid out
  // from (40, 100) pixels. A resize lays it out again from (90, 100). Cell
  // texts wider than their column wrap, so none is cut.
  void LayOut(int left = 40);
  void Button2Click();

  // The printed width of the call-sign column on a 96-dpi screen.
  int callSignWidth() const;

  preview::TPvPreview* preview() const { return PvPreview1; }
  preview::TPvThumbnails* thumbnails() const { return PvThumbnails1; }
  preview::TPvPageNavigator* navigator() const { return PvPageNavigator1; }
  preview::TPvPropertyComboBox* printers() const { return PvPropertyComboBox1; }
  preview::TPvGridPrint& gridPrint() { return PvGridPrint1; }
  QLineEdit* head() const { return head_; }
  QLineEdit* footr() const { return footr_; }
  QPushButton* printButton() const { return Button2; }
  // The re-layout a resize asks for, pending until the resizing stops.
  QTimer& relayoutTimer() { return relayout_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool queryClose() override;

 private:
  void headChange();
  void footrChange();
  // The printed column widths (inches) for a grid starting at left: the
  // screen's, the call-sign column widened, and where that runs past the
  // right margin or the printer's printable area, the widest give way.
  std::vector<preview::Extended> printedWidths(preview::Extended left);

  PrintWindowInputs inputs_;
  DenikGridSource source_;
  preview::TPvGridPrint PvGridPrint1;
  preview::TPvThumbnails* PvThumbnails1 = nullptr;
  preview::TPvPreview* PvPreview1 = nullptr;
  preview::TPvPropertyComboBox* PvPropertyComboBox1 = nullptr;
  preview::TPvPageNavigator* PvPageNavigator1 = nullptr;
  QPushButton* Button2 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* head_ = nullptr;
  QLineEdit* footr_ = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QTimer relayout_;
  std::vector<preview::Extended> widths_;
};

extern QPointer<TForm7> Form7;

// The print command (Ctrl+T, "Tisk Deníku"): creates the window on first
// use, shows it in front, clears its preview and lays the grid out anew.
TForm7* openForm7(PrintWindowInputs inputs, QWidget* parent = nullptr);

}  // namespace vektrano
