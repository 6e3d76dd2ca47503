#include "app/side_list.h"

#include <QItemSelectionModel>
#include <iterator>

#include "platform/cp1250.h"

namespace vektrano {

int SideListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : count();
}

QVariant SideListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() < 0 || index.row() >= count()) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return platform::toQString(lines_[static_cast<size_t>(index.row())]);
    case Qt::SizeHintRole:
      if (rowHeight_ > 0) return QSize(-1, rowHeight_);
      return {};
    default:
      return {};
  }
}

template <class It>
void SideListModel::insert(It first, It last, size_t n) {
  if (n == 0) return;
  const int row = count();
  beginInsertRows({}, row, row + static_cast<int>(n) - 1);
  lines_.insert(lines_.end(), first, last);
  endInsertRows();
}

void SideListModel::appendLines(std::span<const std::string> lines) {
  insert(lines.begin(), lines.end(), lines.size());
}

void SideListModel::appendLines(std::span<std::string> lines) {
  insert(std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()), lines.size());
}

void SideListModel::clear() {
  if (lines_.empty()) return;
  beginResetModel();
  lines_.clear();
  lines_.shrink_to_fit();
  endResetModel();
}

const std::string& SideListModel::line(int row) const {
  static const std::string empty;
  return row >= 0 && row < count() ? lines_[static_cast<size_t>(row)] : empty;
}

void SideListModel::setRowHeight(int height) {
  if (height == rowHeight_) return;
  rowHeight_ = height;
  // Every row's size changes at once: the view lays out anew.
  emit layoutAboutToBeChanged();
  emit layoutChanged();
}

SideList::SideList(QWidget* parent) : QListView(parent), model_(this) {
  setModel(&model_);
  // Rows of one height: a view that adds rows never measures them one by one.
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
}

QString SideList::text(int row) const { return platform::toQString(line(row)); }

int SideList::currentRow() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.row() : -1;
}

void SideList::setCurrentRow(int row) {
  const QModelIndex i = model_.index(row, 0);
  if (!i.isValid()) {
    setCurrentIndex({});
    return;
  }
  selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
}

int SideList::rowAt(const QPoint& viewportPoint) const {
  const QModelIndex i = indexAt(viewportPoint);
  return i.isValid() ? i.row() : -1;
}

QRect SideList::rowRect(int row) const { return visualRect(model_.index(row, 0)); }

}  // namespace vektrano
