// The Qt table model over a grid: cp1250 cells at the widget boundary and
// views that follow the grid.
#include "windows/base/grid_table_model.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTableView>

#include "platform/cp1250.h"

namespace vektrano {
namespace {

Grid logGrid() {
  Grid g(3, 1);
  g.setCell(0, 0, "poř.");
  g.setCell(0, 1, "Volačka");
  g.setCell(0, 2, "Lokátor");
  g.appendRow({"1", "Šárka Žďárská", "JO80GQ"});
  return g;
}

TEST(GridTableModel, TitleRowIsTheHeaderAndCellsConvertFromCp1250) {
  Grid g = logGrid();
  GridTableModel m(g);
  EXPECT_EQ(m.rowCount(), 1);
  EXPECT_EQ(m.columnCount(), 3);
  EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), QString::fromUtf8(u8"Volačka"));
  EXPECT_EQ(m.data(m.index(0, 1)).toString(), QString::fromUtf8(u8"Šárka Žďárská"));
  EXPECT_EQ(m.headerData(0, Qt::Vertical).toInt(), 1);

  GridTableModel plain(g, false);
  EXPECT_EQ(plain.rowCount(), 2);
  EXPECT_EQ(plain.data(plain.index(0, 0)).toString(), QString::fromUtf8(u8"poř."));
}

TEST(GridTableModel, EditingWritesCp1250OnlyWhenEditable) {
  Grid g = logGrid();
  GridTableModel m(g);
  const QModelIndex i = m.index(0, 1);
  EXPECT_FALSE(m.flags(i) & Qt::ItemIsEditable);
  EXPECT_FALSE(m.setData(i, QString::fromUtf8(u8"Jiří")));
  m.setEditable(true);
  EXPECT_TRUE(m.setData(i, QString::fromUtf8(u8"Jiří €")));
  EXPECT_EQ(g.cell(1, 1), "Jiří \x80");  // the euro sign is 0x80 in cp1250
  EXPECT_TRUE(m.setData(i, QString(QChar(0x65E5))));
  EXPECT_EQ(g.cell(1, 1), "?");
}

TEST(GridTableModel, FollowsTheGrid) {
  Grid g = logGrid();
  GridTableModel m(g);
  int changed = 0, resets = 0, headers = 0, inserted = 0;
  QObject::connect(&m, &QAbstractItemModel::dataChanged,
                   [&](const QModelIndex& a, const QModelIndex&) {
                     ++changed;
                     EXPECT_EQ(a.row(), 0);
                     EXPECT_EQ(a.column(), 2);
                   });
  QObject::connect(&m, &QAbstractItemModel::modelReset, [&] { ++resets; });
  QObject::connect(&m, &QAbstractItemModel::headerDataChanged, [&] { ++headers; });
  QObject::connect(&m, &QAbstractItemModel::rowsInserted, [&](const QModelIndex&, int first, int last) {
    ++inserted;
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 1);
    EXPECT_EQ(m.rowCount(), 2);
  });
  g.setCell(1, 2, "JN99JM");
  g.setCell(0, 2, "Lok");
  // A row added at the end is one row inserted; the view keeps the others.
  g.appendRow({"2", "Karel", ""});
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(headers, 1);
  EXPECT_EQ(inserted, 1);
  EXPECT_EQ(resets, 0);
  EXPECT_EQ(m.rowCount(), 2);
  EXPECT_EQ(m.data(m.index(1, 1)).toString(), "Karel");
  g.removeRow(1);
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(m.rowCount(), 1);
}

TEST(GridTableModel, ViewTakesWidthsAndScrollsToTheEnd) {
  Grid g = logGrid();
  for (int i = 2; i < 200; ++i) g.appendRow({std::to_string(i), "X", ""});
  g.setColWidth(0, 0);
  g.setColWidth(1, 150);
  GridTableModel m(g);
  QTableView view;
  view.resize(300, 200);
  view.setModel(&m);
  applyColumnWidths(view, g);
  EXPECT_TRUE(view.isColumnHidden(0));
  EXPECT_EQ(view.columnWidth(1), 150);
  view.show();
  PosunNaKonec(view);
  EXPECT_EQ(view.currentIndex().row(), m.rowCount() - 1);
  EXPECT_GT(view.verticalScrollBar()->value(), 0);
  EXPECT_GT(GetTextWidth(&view, "Volačka", view.font()), 0);
}

}  // namespace
}  // namespace vektrano
