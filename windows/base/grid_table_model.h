#pragma once
// A Qt table model over a Grid, for every grid view of the programs (the log,
// the list windows, the viewer). Cells are converted with
// platform::toQString / fromQString only. The model follows the grid through
// its listener: a cell change repaints that cell, anything else resets.
#include <QAbstractTableModel>
#include <QFont>
#include <string>

#include "core/base/grid.h"

class QTableView;
class QWidget;

namespace vektrano {

class GridTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // With titleRow, grid row 0 is the horizontal header and model row r shows
  // grid row r + 1; otherwise every grid row is a model row. The grid must
  // outlive the model.
  explicit GridTableModel(Grid& grid, bool titleRow = true, QObject* parent = nullptr);
  ~GridTableModel() override;

  Grid& grid() { return grid_; }
  bool titleRow() const { return titleRow_; }

  // Cells can be edited in the view (DisplayRole / EditRole).
  void setEditable(bool on) { editable_ = on; }
  bool editable() const { return editable_; }

  // Grid row of a model row and back.
  int gridRow(int modelRow) const { return titleRow_ ? modelRow + 1 : modelRow; }
  int modelRow(int gridRow) const { return titleRow_ ? gridRow - 1 : gridRow; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  void onChange(const GridChange& c);

  Grid& grid_;
  bool titleRow_;
  bool editable_ = false;
  int listener_ = 0;
};

// Applies the grid's column widths (Grid::colWidth) to a view: 0 hides the
// column, -1 leaves it alone.
void applyColumnWidths(QTableView& view, const Grid& grid);

// Scrolls view so that its last row is visible and selects it.
void PosunNaKonec(QTableView& view);

// Width in pixels of text (cp1250) in font.
int GetTextWidth(const QWidget* form, const std::string& text, const QFont& font);

}  // namespace vektrano
