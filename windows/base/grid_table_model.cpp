#include "windows/base/grid_table_model.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QWidget>

#include "platform/cp1250.h"

namespace vektrano {

GridTableModel::GridTableModel(Grid& grid, bool titleRow, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), titleRow_(titleRow) {
  listener_ = grid_.addListener([this](const GridChange& c) { onChange(c); });
}

GridTableModel::~GridTableModel() { grid_.removeListener(listener_); }

int GridTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  const int n = grid_.rowCount();
  return titleRow_ ? (n > 0 ? n - 1 : 0) : n;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.colCount();
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return platform::toQString(grid_.cell(gridRow(index.row()), index.column()));
}

bool GridTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !editable_) return false;
  // The grid's listener reports the change back as dataChanged.
  grid_.setCell(gridRow(index.row()), index.column(), platform::fromQString(value.toString()));
  return true;
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) {
    if (titleRow_) return platform::toQString(grid_.cell(0, section));
    return QString();
  }
  return QVariant(gridRow(section));
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (editable_) f |= Qt::ItemIsEditable;
  return f;
}

void GridTableModel::onChange(const GridChange& c) {
  if (c.kind == GridChange::Kind::Cell) {
    if (titleRow_ && c.row == 0) {
      emit headerDataChanged(Qt::Horizontal, c.col, c.col);
      return;
    }
    const QModelIndex i = index(modelRow(c.row), c.col);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
    return;
  }
  if (c.kind == GridChange::Kind::Append && modelRow(c.row) >= 0) {
    // One row more: the view lays out that row, not all of them again.
    beginInsertRows(QModelIndex(), modelRow(c.row), modelRow(c.row));
    endInsertRows();
    return;
  }
  beginResetModel();
  endResetModel();
}

void applyColumnWidths(QTableView& view, const Grid& grid) {
  for (int c = 0; c < grid.colCount(); ++c) {
    const int w = grid.colWidth(c);
    if (w < 0) continue;
    view.setColumnHidden(c, w == 0);
    if (w > 0) view.setColumnWidth(c, w);
  }
}

void PosunNaKonec(QTableView& view) {
  QAbstractItemModel* m = view.model();
  if (!m || m->rowCount() == 0) return;
  const int last = m->rowCount() - 1;
  const QModelIndex i = m->index(last, 0);
  view.scrollTo(i, QAbstractItemView::PositionAtBottom);
  view.selectRow(last);
  view.setCurrentIndex(i);
}

int GetTextWidth(const QWidget* form, const std::string& text, const QFont& font) {
  (void)form;  // the text is measured in the given font, not the form's
  return QFontMetrics(font).horizontalAdvance(platform::toQString(text));
}

}  // namespace vektrano
