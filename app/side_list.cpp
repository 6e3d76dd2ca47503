#include "app/side_list.h"

#include <QEvent>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <algorithm>
#include <array>
#include <cmath>

#include "app/steady_scroll_bar.h"
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
  SteadyScrollBar::install(*this);
  setModel(&model_);
  // Any other change of the rows lays them out and paints them as Qt does.
  connect(&model_, &QAbstractItemModel::layoutChanged, this, [this] { onlyRowsBelow_ = false; });
  connect(&model_, &QAbstractItemModel::modelReset, this, [this] { onlyRowsBelow_ = false; });
  // Rows of one size: a view that adds rows never measures them one by one.
  setUniformItemSizes(uniform_);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  // The rows are as wide as the widest line the view has been given: a
  // broad search's later batches, beyond the rows shown, change nothing
  // the view shows and so cost it no paint.
  connect(&model_, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex&, int first, int last) { widen(first, last); });
  // The scroll area shows or hides its bars on a call it queues at each
  // change of their range. Queued while lines come in, that call runs after
  // the paint already due, and as it restacks the bars, the list's frame and
  // bars are painted a second time for nothing. A change of the lines lays
  // the bars out at its end instead; a range changed otherwise (a resize, a
  // new font) is laid out on a queued call, as before.
  for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
    disconnect(bar, SIGNAL(rangeChanged(int, int)), this, SLOT(_q_showOrHideScrollBars()));
    connect(bar, &QScrollBar::rangeChanged, this, [this] {
      if (barsUnsettled_) return;
      barsUnsettled_ = true;
      QMetaObject::invokeMethod(this, [this] { settleBars(); }, Qt::QueuedConnection);
    });
  }
}

void SideList::settleBars() {
  // Showing or hiding a bar resizes the viewport, which may change a range
  // again: a few rounds settle it.
  for (int round = 0; round < 3 && barsUnsettled_; ++round) {
    barsUnsettled_ = false;
    setViewportMargins(viewportMargins());  // lays the bars out now
    executeDelayedItemsLayout();
  }
  barsUnsettled_ = false;
}

void SideList::clear() {
  model_.clear();
  longestChars_ = 0;
  executeDelayedItemsLayout();
  settleBars();
}

void SideList::appendLines(std::span<const std::string> lines) { appendLines(PackedLines(lines)); }

// New rows and a new height are laid out at once, not on the view's zero
// timer: the paint already posted runs before that timer, and the list
// would be painted once as it was and then again as it is.
void SideList::appendLines(PackedLines&& lines) {
  model_.appendLines(std::move(lines));
  executeDelayedItemsLayout();
  settleBars();
}

void SideList::rowsInserted(const QModelIndex& parent, int start, int end) {
  // Rows after one that reaches the viewport's bottom edge are not on the
  // screen: the view lays them out (the scroll range grows) but need not
  // paint the rows it shows again, which a broad search's second batch
  // otherwise cost. The layout is still that of the rows before.
  const int viewportBottom = viewport()->height() - 1;
  onlyRowsBelow_ = !parent.isValid() && start > 0 && isVisible() &&
                   visualRect(model_.index(start - 1, 0)).bottom() >= viewportBottom;
  QListView::rowsInserted(parent, start, end);
}

void SideList::doItemsLayout() {
  if (!onlyRowsBelow_) return QListView::doItemsLayout();
  onlyRowsBelow_ = false;
  // The view ends its layout by painting its whole viewport; the rows shown
  // stay as they were, so that paint is left out (set directly, the flag
  // stops updates without the paint that turning them on again asks for).
  QWidget* v = viewport();
  const bool wasOff = v->testAttribute(Qt::WA_UpdatesDisabled);
  v->setAttribute(Qt::WA_UpdatesDisabled, true);
  QListView::doItemsLayout();
  v->setAttribute(Qt::WA_UpdatesDisabled, wasOff);
}

void SideList::resizeEvent(QResizeEvent* event) {
  onlyRowsBelow_ = false;  // other rows come into view
  QListView::resizeEvent(event);
  executeDelayedItemsLayout();
}

void SideList::widen(int first, int last) {
  if (!uniform_ || last < first) return;
  // The widest line is among the longest: the 16 longest lines of the rows
  // given are measured, when one of them comes near the longest so far.
  constexpr size_t kMeasured = 16;
  std::array<std::string_view, kMeasured> longest;
  size_t held = 0;
  size_t shortest = 0;  // index in longest of the shortest line held
  const size_t threshold = (longestChars_ * 4 + 4) / 5;
  for (int r = first; r <= last; ++r) {
    const std::string_view l = model_.line(r);
    if (l.size() < threshold) continue;
    if (held < kMeasured) {
      longest[held++] = l;
    } else if (l.size() > longest[shortest].size()) {
      longest[shortest] = l;
    } else {
      continue;
    }
    shortest = 0;
    for (size_t i = 1; i < held; ++i)
      if (longest[i].size() < longest[shortest].size()) shortest = i;
  }
  if (held == 0) return;
  if (advances_.empty()) {
    // The width of a line is the sum of its characters' advances, in the
    // font of the chosen line, which is drawn one point larger
    // (SideListDelegate): measuring each line through the text layout would
    // cost more than the whole batch.
    QFont f = font();
    if (f.pointSize() > 0) f.setPointSize(f.pointSize() + 1);
    const QFontMetricsF m(f);
    advances_.assign(256, 0);
    for (int b = 1; b < 256; ++b) {
      const char c = static_cast<char>(b);
      advances_[static_cast<size_t>(b)] = m.horizontalAdvance(platform::toQString(std::string_view(&c, 1)));
    }
  }
  int width = model_.rowWidth();
  for (size_t i = 0; i < held; ++i) {
    longestChars_ = std::max(longestChars_, longest[i].size());
    qreal w = 0;
    for (char c : longest[i]) w += advances_[static_cast<unsigned char>(c)];
    width = std::max(width, static_cast<int>(std::ceil(w)) + 8);
  }
  model_.setRowWidth(width);
}

void SideList::changeEvent(QEvent* event) {
  // Another font: the widths are measured anew.
  if (event->type() == QEvent::FontChange) {
    advances_.clear();
    longestChars_ = 0;
    model_.setRowWidth(0);
    widen(0, model_.rowCount() - 1);
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
