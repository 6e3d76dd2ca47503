#include "core/base/grid.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace vektrano {

namespace {
const std::string kEmpty;

std::uint64_t nextRevision() {
  static std::atomic<std::uint64_t> counter{0};
  return ++counter;
}
}  // namespace

Grid::Grid(int cols, int rows) : cols_(std::max(0, cols)), revision_(nextRevision()) {
  rows_.assign(static_cast<size_t>(std::max(0, rows)), Row(static_cast<size_t>(cols_)));
  widths_.assign(static_cast<size_t>(cols_), -1);
}

Grid::Grid(const Grid& o)
    : cols_(o.cols_), fixedRows_(o.fixedRows_), rows_(o.rows_), widths_(o.widths_),
      revision_(nextRevision()) {}

Grid& Grid::operator=(const Grid& o) {
  if (this != &o) {
    cols_ = o.cols_;
    fixedRows_ = o.fixedRows_;
    rows_ = o.rows_;
    widths_ = o.widths_;
    notifyReset();
  }
  return *this;
}

Grid::Grid(Grid&& o) noexcept
    : cols_(o.cols_), fixedRows_(o.fixedRows_), rows_(std::move(o.rows_)), widths_(std::move(o.widths_)),
      revision_(nextRevision()) {
  o.revision_ = nextRevision();
}

Grid& Grid::operator=(Grid&& o) noexcept {
  if (this != &o) {
    cols_ = o.cols_;
    fixedRows_ = o.fixedRows_;
    rows_ = std::move(o.rows_);
    widths_ = std::move(o.widths_);
    o.revision_ = nextRevision();
    notifyReset();
  }
  return *this;
}

void Grid::setColCount(int n) {
  n = std::max(0, n);
  if (n == cols_) return;
  cols_ = n;
  for (Row& r : rows_) r.resize(static_cast<size_t>(n));
  widths_.resize(static_cast<size_t>(n), -1);
  notifyReset();
}

void Grid::setRowCount(int n) {
  n = std::max(0, n);
  if (n == rowCount()) return;
  rows_.resize(static_cast<size_t>(n), Row(static_cast<size_t>(cols_)));
  notifyReset();
}

const std::string& Grid::cell(int row, int col) const {
  if (row < 0 || row >= rowCount() || col < 0 || col >= cols_) return kEmpty;
  return rows_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void Grid::setCell(int row, int col, std::string text) {
  if (row < 0 || row >= rowCount() || col < 0 || col >= cols_) return;
  std::string& c = rows_[static_cast<size_t>(row)][static_cast<size_t>(col)];
  if (c == text) return;
  c = std::move(text);
  notify({GridChange::Kind::Cell, row, col});
}

const Grid::Row& Grid::row(int r) const {
  static thread_local Row empty;
  if (r < 0 || r >= rowCount()) {
    empty.assign(static_cast<size_t>(cols_), std::string());
    return empty;
  }
  return rows_[static_cast<size_t>(r)];
}

void Grid::setRow(int r, Row text) {
  if (r < 0 || r >= rowCount()) return;
  text.resize(static_cast<size_t>(cols_));
  rows_[static_cast<size_t>(r)] = std::move(text);
  notifyReset();
}

void Grid::appendRow(Row text) {
  text.resize(static_cast<size_t>(cols_));
  rows_.push_back(std::move(text));
  notify({GridChange::Kind::Append, rowCount() - 1, -1});
}

void Grid::insertRow(int at) {
  at = std::clamp(at, 0, rowCount());
  rows_.insert(rows_.begin() + at, Row(static_cast<size_t>(cols_)));
  notifyReset();
}

void Grid::removeRow(int r) {
  if (r < 0 || r >= rowCount()) return;
  rows_.erase(rows_.begin() + r);
  notifyReset();
}

void Grid::swapRows(int a, int b) {
  if (a < 0 || b < 0 || a >= rowCount() || b >= rowCount() || a == b) return;
  std::swap(rows_[static_cast<size_t>(a)], rows_[static_cast<size_t>(b)]);
  notifyReset();
}

void Grid::clearRow(int r) {
  if (r < 0 || r >= rowCount()) return;
  for (std::string& c : rows_[static_cast<size_t>(r)]) c.clear();
  notifyReset();
}

void Grid::clear() {
  rows_.clear();
  notifyReset();
}

int Grid::colWidth(int col) const {
  if (col < 0 || col >= cols_) return -1;
  return widths_[static_cast<size_t>(col)];
}

void Grid::setColWidth(int col, int width) {
  if (col < 0 || col >= cols_) return;
  widths_[static_cast<size_t>(col)] = width;
}

std::vector<Grid::Row>& Grid::rows() {
  revision_ = nextRevision();
  return rows_;
}

void Grid::notifyReset() { notify({GridChange::Kind::Reset, -1, -1}); }

int Grid::addListener(Listener l) {
  const int id = nextListener_++;
  listeners_.emplace_back(id, std::move(l));
  return id;
}

void Grid::removeListener(int id) {
  listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                  [id](const auto& p) { return p.first == id; }),
                   listeners_.end());
}

void Grid::notify(const GridChange& c) {
  revision_ = nextRevision();
  // A listener may remove itself while being told; work on a copy.
  if (listeners_.empty()) return;
  auto copy = listeners_;
  for (auto& [id, l] : copy)
    if (l) l(c);
}

}  // namespace vektrano
