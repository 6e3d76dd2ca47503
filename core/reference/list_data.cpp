#include "core/reference/list_data.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"

namespace vektrano {

int compareListText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  // memcmp compares as unsigned char, which is the order wanted here.
  const int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
  if (c != 0) return c < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

Grid::Row splitListLine(std::string_view line, int cols) {
  Grid::Row row(std::max(cols, 0));
  if (cols <= 0) return row;
  std::string_view rest = line;
  bool more = true;
  for (int c = 0; c < cols - 1 && more; ++c) {
    const size_t at = rest.find(';');
    if (at == std::string_view::npos) {
      row[c] = std::string(rest);
      more = false;
    } else {
      row[c] = std::string(rest.substr(0, at));
      rest.remove_prefix(at + 1);
    }
  }
  if (more) row[cols - 1] = std::string(rest);
  return row;
}

void forEachFileLine(std::string_view content, const std::function<void(std::string_view)>& fn) {
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    const bool last = end == std::string_view::npos;
    if (last) end = content.size();
    std::string_view line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    fn(line);
    if (last) break;
    start = end + 1;
  }
}

std::vector<std::string> splitFileLines(std::string_view content) {
  std::vector<std::string> lines;
  forEachFileLine(content, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::string listCellForFile(std::string_view cell) {
  std::string out(cell);
  for (char& ch : out) {
    if (ch == ';') ch = ',';
    else if (ch == '\r' || ch == '\n') ch = ' ';
  }
  return out;
}

ListTable::ListTable(int cols) : grid_(cols, 1) {}

void ListTable::setRowCount(int n) { grid_.setRowCount(std::max(n, 1)); }

ListTable::Key ListTable::cellKey(int col) {
  return [col](const Grid::Row& row) {
    return col >= 0 && col < static_cast<int>(row.size()) ? row[col] : std::string();
  };
}

std::string ListTable::keyOf(int key, const Grid::Row& row) const {
  if (key < 0 || key >= keyCount() || !keys_[key]) return {};
  return keys_[key](row);
}

void ListTable::sort(int key) {
  if (sorting_) return;
  sorting_ = true;
  if (sortObserver_) sortObserver_(true);
  auto& rows = grid_.rows();
  const int n = static_cast<int>(rows.size());
  // Keys are pure functions of their rows, so they are computed once and
  // moved with the rows instead of afresh for every comparison.
  std::vector<std::string> keys(n);
  for (int i = 0; i < n; ++i) keys[i] = keyOf(key, rows[i]);
  for (int gap = n; gap >= 1; gap /= 2) {
    for (int i = gap; i < n; ++i) {
      Grid::Row kept = std::move(rows[i]);
      std::string k = std::move(keys[i]);
      int j = i - gap;
      while (j >= 0 && compareListText(keys[j], k) > 0) {
        rows[j + gap] = std::move(rows[j]);
        keys[j + gap] = std::move(keys[j]);
        j -= gap;
      }
      rows[j + gap] = std::move(kept);
      keys[j + gap] = std::move(k);
    }
    if (progress_) progress_(gap);
  }
  sortKey_ = key;
  sorting_ = false;
  grid_.notifyReset();
  if (sortObserver_) sortObserver_(false);
}

void ListTable::ensureSorted(int key) {
  if (sortKey_ != key) sort(key);
}

int ListTable::addRow() {
  grid_.setRowCount(grid_.rowCount() + 1);
  return grid_.rowCount() - 1;
}

int ListTable::removeMarked(int count, const std::vector<int>& markCols, const std::string& mark) {
  // The marked rows stand at the end after the sort; they are looked for
  // rather than assumed, so that an ordinary row is never dropped.
  auto& rows = grid_.rows();
  int removed = 0;
  for (int r = static_cast<int>(rows.size()) - 1; r >= 0 && removed < count; --r) {
    const bool marked = std::all_of(markCols.begin(), markCols.end(), [&](int c) {
      return c >= 0 && c < grid_.colCount() && rows[r][c] == mark;
    });
    if (!marked) continue;
    rows.erase(rows.begin() + r);
    ++removed;
  }
  if (rows.empty()) rows.emplace_back(grid_.colCount());
  grid_.notifyReset();
  return removed;
}

int ListTable::deleteRow(int row, const std::vector<int>& markCols, const std::string& mark,
                         int mainKey) {
  const int n = rowCount();
  if (row < 0 || row >= n) return std::clamp(row, 0, n - 1);
  if (row == n - 1) {
    grid_.clearRow(row);
    setRowCount(n - 1);
    return rowCount() - 1;
  }
  deleteRows({row}, markCols, mark, mainKey);
  return std::min(row, rowCount() - 1);
}

int ListTable::deleteRows(const std::vector<int>& rows, const std::vector<int>& markCols,
                          const std::string& mark, int mainKey) {
  if (sorting_ || markCols.empty()) return 0;
  int marked = 0;
  for (int r : rows) {
    if (r < 0 || r >= rowCount()) continue;
    for (int c : markCols)
      if (c >= 0 && c < grid_.colCount()) grid_.rows()[r][c] = mark;
    ++marked;
  }
  if (marked == 0) return 0;
  sort(mainKey);
  return removeMarked(marked, markCols, mark);
}

ListTable::DuplicateStep ListTable::nextDuplicate(int key, const DuplicateTest& test) {
  ensureSorted(key);
  const auto& rows = grid_.rows();
  const int n = rowCount();
  int k = std::max(dupCursor_, 0);
  while (k < n - 1 && !test(rows[k], rows[k + 1])) ++k;
  if (k < n - 1) {
    dupCursor_ = k + 1;
    return {true, k};
  }
  dupCursor_ = 0;
  return {};
}

int ListTable::find(int key, int col, const std::string& text, Match match) {
  ensureSorted(key);
  if (text.empty()) return 0;
  const int n = rowCount();
  for (int r = 0; r < n; ++r) {
    const std::string& cell = grid_.cell(r, col);
    const bool hit = match == Match::Contains ? cell.find(text) != std::string::npos
                                              : cell.compare(0, text.size(), text) == 0;
    if (hit) return r;
  }
  return n - 1;
}

bool ListTable::read(const std::string& path, const FieldRule& rule) {
  const auto content = platform::readWholeFile(path);
  if (!content) return false;
  const int cols = grid_.colCount();
  std::vector<Grid::Row> rows;
  for (const std::string& line : splitFileLines(*content)) {
    if (rule) {
      Grid::Row row(cols);
      rule(line, row);
      row.resize(cols);
      rows.push_back(std::move(row));
    } else {
      rows.push_back(splitListLine(line, cols));
    }
  }
  if (rows.empty()) rows.emplace_back(cols);
  grid_.rows() = std::move(rows);
  sortKey_ = kNoKey;
  dupCursor_ = 0;
  grid_.notifyReset();
  return true;
}

std::string ListTable::fileContent(const RecordRule& rule) const {
  std::string out;
  for (const Grid::Row& row : grid_.rows()) {
    std::optional<std::vector<std::string>> fields;
    if (rule) fields = rule(row);
    else fields = row;
    if (!fields) continue;
    for (size_t i = 0; i < fields->size(); ++i) {
      if (i) out += ';';
      out += listCellForFile((*fields)[i]);
    }
    out += "\r\n";
  }
  return out;
}

bool ListTable::write(const std::string& path, const RecordRule& rule,
                      const std::string& backupPath) const {
  return platform::writeFileAtomic(path, fileContent(rule), backupPath);
}

}  // namespace vektrano
