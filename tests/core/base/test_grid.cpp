// The grid model every grid window builds on.
#include "core/base/grid.h"

#include <gtest/gtest.h>

namespace vektrano {
namespace {

TEST(Grid, ShapeAndCellsOutsideTheGrid) {
  Grid g(3, 2);
  g.setCell(1, 2, "x");
  g.setCell(5, 0, "ignored");
  g.setCell(0, -1, "ignored");
  EXPECT_EQ(g.cell(1, 2), "x");
  EXPECT_EQ(g.cell(9, 9), "");
  EXPECT_EQ(g.row(7), Grid::Row(3));
  g.appendRow({"a", "b", "c", "d"});  // extra cells dropped
  g.appendRow({"only"});              // missing cells empty
  EXPECT_EQ(g.row(2), (Grid::Row{"a", "b", "c"}));
  EXPECT_EQ(g.row(3), (Grid::Row{"only", "", ""}));
  g.setColCount(2);
  EXPECT_EQ(g.row(2), (Grid::Row{"a", "b"}));
  g.setRowCount(1);
  EXPECT_EQ(g.rowCount(), 1);
  EXPECT_EQ(g.colWidth(0), -1);
}

TEST(Grid, RowOperations) {
  Grid g(1, 0);
  for (const char* s : {"a", "b", "c"}) g.appendRow({s});
  g.swapRows(0, 2);
  g.insertRow(1);
  g.removeRow(3);
  ASSERT_EQ(g.rowCount(), 3);
  EXPECT_EQ(g.cell(0, 0), "c");
  EXPECT_EQ(g.cell(1, 0), "");
  EXPECT_EQ(g.cell(2, 0), "b");
  g.clearRow(0);
  EXPECT_EQ(g.cell(0, 0), "");
}

TEST(Grid, ListenersHearChangesAndCopiesDoNotCarryThem) {
  Grid g(2, 2);
  std::vector<GridChange> seen;
  const int id = g.addListener([&](const GridChange& c) { seen.push_back(c); });
  g.setCell(1, 1, "x");
  g.setCell(1, 1, "x");  // no change, no report
  g.appendRow({});
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].kind, GridChange::Kind::Cell);
  EXPECT_EQ(seen[0].row, 1);
  EXPECT_EQ(seen[0].col, 1);
  EXPECT_EQ(seen[1].kind, GridChange::Kind::Append);
  EXPECT_EQ(seen[1].row, 2);

  Grid copy = g;
  copy.setCell(0, 0, "y");
  EXPECT_EQ(seen.size(), 2u);
  g = copy;  // assignment replaces the content: listeners hear a reset
  EXPECT_EQ(seen.size(), 3u);
  g.removeListener(id);
  g.setCell(0, 0, "z");
  EXPECT_EQ(seen.size(), 3u);
}

}  // namespace
}  // namespace vektrano
