#pragma once
// The look-up lists of the main window (`wvolacky`, `wmestacentr`,
// `SeznamMest`, `Memo4`, `wduplicity`): a list view over the lines a search
// produced, kept as cp1250 text and turned into Qt text only for the rows
// painted. A batch of lines is kept as it came (one buffer) and is one
// insertion of rows of uniform height, so its cost does not grow with the
// lines the list already holds; the view is given rows only as far as it
// shows or scrolls to, so a search of tens of thousands of lines costs it a
// screenful.
#include <QAbstractListModel>
#include <QListView>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/search/packed_lines.h"

namespace vektrano {

// The lines of one list.
class SideListModel : public QAbstractListModel {
 public:
  explicit SideListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

  // The rows given to the view so far; count() is every line held.
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;
  // Gives the view the rows up to row, those of lines still to come as
  // they arrive.
  void showUpTo(int row);
  // Rows given at once when lines come in, and with each fetch.
  static constexpr int kShownAhead = 1024;

  void appendLines(std::span<const std::string> lines);
  void appendLines(PackedLines&& lines);  // keeps the buffer
  void clear();
  // Empty outside the list; valid until the lines change.
  std::string_view line(int row) const;
  int count() const { return count_; }
  // Height of every row in pixels; 0 leaves it to the font.
  void setRowHeight(int height);
  // Width of every row in pixels (the widest line); 0 leaves it to the view.
  void setRowWidth(int width);
  int rowWidth() const { return rowWidth_; }

 private:
  // The batches as they came; a batch appended never moves the lines held.
  std::vector<PackedLines> chunks_;
  std::vector<int> starts_;  // the first row of each chunk
  int count_ = 0;
  int shown_ = 0;
  int wanted_ = kShownAhead;  // rows the view has asked for
  int rowHeight_ = 0;
  int rowWidth_ = 0;
};

// One look-up list on the main window; rows are addressed as in a list box.
// The lists of thousands of lines have rows of one size: the height set, the
// width of the widest line of the rows given to the view, which is measured
// among the longest lines of each insertion only, as the sum of its
// characters' advances. The short lists (towns, name days) size each row.
class SideList : public QListView {
 public:
  enum class Rows { Uniform, EachMeasured };
  explicit SideList(QWidget* parent = nullptr, Rows rows = Rows::Uniform);

  SideListModel& lines() { return model_; }
  const SideListModel& lines() const { return model_; }
  int count() const { return model_.count(); }
  std::string line(int row) const { return std::string(model_.line(row)); }
  QString text(int row) const;  // the row as shown
  int currentRow() const;       // -1 with none
  void setCurrentRow(int row);
  int rowAt(const QPoint& viewportPoint) const;  // -1 beside the rows
  QRect rowRect(int row) const;                  // in the viewport

  void clear();
  void appendLines(std::span<const std::string> lines);
  void appendLines(PackedLines&& lines);
  void setRowHeight(int height) { model_.setRowHeight(height); }

  void doItemsLayout() override;

 protected:
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void rowsInserted(const QModelIndex& parent, int start, int end) override;

 private:
  void widen(int first, int last);  // the rows given to the view
  void settleBars();                // shows or hides the bars for their ranges now
  SideListModel model_;
  bool uniform_;
  bool barsUnsettled_ = false;  // a range changed since the bars were laid out
  // Rows came only below the last one shown, and nothing else changed: the
  // layout due leaves the rows on the screen as they are.
  bool onlyRowsBelow_ = false;
  size_t longestChars_ = 0;  // of the lines measured so far
  std::vector<qreal> advances_;  // of each cp1250 byte in the font; empty until used
};

}  // namespace vektrano
