#include "app/side_list.h"

#include <QEvent>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <algorithm>

#include "platform/cp1250.h"

namespace vektrano {
int SideListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

QVariant SideListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() < 0 || index.row() >= shown_) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return platform::toQString(line(index.row()));
    case Qt::SizeHintRole:
      if (rowHeight_ > 0) return QSize(rowWidth_ > 0 ? rowWidth_ : -1, rowHeight_);
      return {};
    default:
      return {};
  }
}

bool SideListModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && shown_ < count();
}

void SideListModel::fetchMore(const QModelIndex& parent) {
  if (!parent.isValid()) showUpTo(shown_ + kShownAhead - 1);
}

void SideListModel::showUpTo(int row) {
  wanted_ = std::max(wanted_, row + 1);
  const int last = std::min(wanted_, count()) - 1;
  if (last < shown_) return;
  beginInsertRows({}, shown_, last);
  shown_ = last + 1;
  endInsertRows();
}

void SideListModel::appendLines(PackedLines&& lines) {
  if (lines.empty()) return;
  starts_.push_back(count_);
  count_ += static_cast<int>(lines.size());
  chunks_.push_back(std::move(lines));
  // Lines beyond what the view has asked for wait until it scrolls to them.
  showUpTo(wanted_ - 1);
}

void SideListModel::appendLines(std::span<const std::string> lines) {
  appendLines(PackedLines(lines));
}

void SideListModel::clear() {
  if (count_ == 0 && rowWidth_ == 0) return;
  beginResetModel();
  chunks_.clear();
  starts_.clear();
  count_ = 0;
  shown_ = 0;
  wanted_ = kShownAhead;
  rowWidth_ = 0;
  endResetModel();
}

std::string_view SideListModel::line(int row) const {
  if (row < 0 || row >= count_) return {};
  const size_t c = static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), row) - starts_.begin() - 1);
  return chunks_[c][static_cast<size_t>(row - starts_[c])];
}

void SideListModel::setRowHeight(int height) {
  if (height == rowHeight_) return;
  rowHeight_ = height;
  // Every row's size changes at once: the view lays out anew.
  emit layoutAboutToBeChanged();
  emit layoutChanged();
}

void SideListModel::setRowWidth(int width) {
  if (width == rowWidth_) return;
  rowWidth_ = width;
  emit layoutAboutToBeChanged();
  emit layoutChanged();
}

SideList::SideList(QWidget* parent, Rows rows)
    : QListView(parent), model_(this), uniform_(rows == Rows::Uniform) {
  setModel(&model_);
  // Rows of one size: a view that adds rows never measures them one by one.
  setUniformItemSizes(uniform_);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
}

void SideList::clear() {
  model_.clear();
  longestChars_ = 0;
}

void SideList::appendLines(std::span<const std::string> lines) { appendLines(PackedLines(lines)); }

void SideList::appendLines(PackedLines&& lines) {
  widen(lines);
  model_.appendLines(std::move(lines));
}

void SideList::widen(const PackedLines& lines) {
  if (!uniform_ || lines.empty()) return;
  // The widest line is among the longest: the 16 longest lines of a batch
  // are measured, when one of them comes near the longest so far.
  constexpr size_t kMeasured = 16;
  std::vector<std::string_view> longest;
  for (std::string_view l : lines)
    if (l.size() * 5 >= longestChars_ * 4) longest.push_back(l);
  if (longest.empty()) return;
  auto byLength = [](std::string_view a, std::string_view b) { return a.size() > b.size(); };
  if (longest.size() > kMeasured) {
    std::nth_element(longest.begin(), longest.begin() + kMeasured - 1, longest.end(), byLength);
    longest.resize(kMeasured);
  }
  QFont f = font();
  // The chosen line is drawn one point larger (SideListDelegate).
  if (f.pointSize() > 0) f.setPointSize(f.pointSize() + 1);
  const QFontMetrics m(f);
  int width = model_.rowWidth();
  for (std::string_view l : longest) {
    longestChars_ = std::max(longestChars_, l.size());
    width = std::max(width, m.horizontalAdvance(platform::toQString(l)) + 8);
  }
  model_.setRowWidth(width);
}

void SideList::changeEvent(QEvent* event) {
  // Another font: the widths are measured anew.
  if (event->type() == QEvent::FontChange && uniform_ && model_.count() > 0) {
    size_t longest = 0;
    for (int r = 0; r < model_.count(); ++r) longest = std::max(longest, model_.line(r).size());
    PackedLines candidates;
    for (int r = 0; r < model_.count(); ++r)
      if (model_.line(r).size() * 5 >= longest * 4) candidates.push_back(model_.line(r));
    longestChars_ = 0;
    model_.setRowWidth(0);
    widen(candidates);
  }
  QListView::changeEvent(event);
}

QString SideList::text(int row) const { return platform::toQString(model_.line(row)); }

int SideList::currentRow() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.row() : -1;
}

void SideList::setCurrentRow(int row) {
  model_.showUpTo(row);
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
