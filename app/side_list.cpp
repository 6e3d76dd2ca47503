#include "app/side_list.h"

#include <QEvent>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <algorithm>
#include <condition_variable>
#include <iterator>
#include <mutex>
#include <thread>

#include "platform/cp1250.h"

namespace vektrano {
namespace {

// Frees the lines of cleared lists on a thread of its own: tens of
// thousands of lines take milliseconds to free, which the key that
// started the next search would otherwise wait for.
class Releaser {
 public:
  static Releaser& instance() {
    static Releaser r;
    return r;
  }
  void release(std::deque<std::string>&& lines) {
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(lines));
    }
    wake_.notify_one();
  }
  ~Releaser() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }

 private:
  Releaser() : thread_([this] { run(); }) {}
  void run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;
      std::deque<std::string> lines = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      lines = {};
      lock.lock();
    }
  }
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::deque<std::string>> queue_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace

int SideListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

QVariant SideListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() < 0 || index.row() >= shown_) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return platform::toQString(lines_[static_cast<size_t>(index.row())]);
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

template <class It>
void SideListModel::insert(It first, It last, size_t n) {
  if (n == 0) return;
  lines_.insert(lines_.end(), first, last);
  // Lines beyond what the view has asked for wait until it scrolls to them.
  showUpTo(wanted_ - 1);
}

void SideListModel::appendLines(std::span<const std::string> lines) {
  insert(lines.begin(), lines.end(), lines.size());
}

void SideListModel::appendLines(std::span<std::string> lines) {
  insert(std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()), lines.size());
}

void SideListModel::clear() {
  if (lines_.empty() && rowWidth_ == 0) return;
  beginResetModel();
  constexpr size_t kFreedHere = 512;
  if (lines_.size() > kFreedHere) Releaser::instance().release(std::move(lines_));
  lines_.clear();
  shown_ = 0;
  wanted_ = kShownAhead;
  rowWidth_ = 0;
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

void SideList::appendLines(std::span<const std::string> lines) {
  widen(lines);
  model_.appendLines(lines);
}

void SideList::appendLines(std::span<std::string> lines) {
  widen(lines);
  model_.appendLines(lines);
}

void SideList::widen(std::span<const std::string> lines) {
  if (!uniform_ || lines.empty()) return;
  // The widest line is among the longest: the 16 longest lines of a batch
  // are measured, when one of them comes near the longest so far.
  constexpr size_t kMeasured = 16;
  std::vector<const std::string*> longest;
  longest.reserve(lines.size());
  for (const std::string& l : lines)
    if (l.size() * 5 >= longestChars_ * 4) longest.push_back(&l);
  if (longest.empty()) return;
  auto byLength = [](const std::string* a, const std::string* b) { return a->size() > b->size(); };
  if (longest.size() > kMeasured) {
    std::nth_element(longest.begin(), longest.begin() + kMeasured - 1, longest.end(), byLength);
    longest.resize(kMeasured);
  }
  QFont f = font();
  // The chosen line is drawn one point larger (SideListDelegate).
  if (f.pointSize() > 0) f.setPointSize(f.pointSize() + 1);
  const QFontMetrics m(f);
  int width = model_.rowWidth();
  for (const std::string* l : longest) {
    longestChars_ = std::max(longestChars_, l->size());
    width = std::max(width, m.horizontalAdvance(platform::toQString(*l)) + 8);
  }
  model_.setRowWidth(width);
}

void SideList::changeEvent(QEvent* event) {
  // Another font: the widths are measured anew.
  if (event->type() == QEvent::FontChange && uniform_ && model_.count() > 0) {
    size_t longest = 0;
    for (int r = 0; r < model_.count(); ++r) longest = std::max(longest, model_.line(r).size());
    std::vector<std::string> candidates;
    for (int r = 0; r < model_.count(); ++r)
      if (model_.line(r).size() * 5 >= longest * 4) candidates.push_back(model_.line(r));
    longestChars_ = 0;
    model_.setRowWidth(0);
    widen(candidates);
  }
  QListView::changeEvent(event);
}

QString SideList::text(int row) const { return platform::toQString(line(row)); }

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
