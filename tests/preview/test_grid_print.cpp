// The grid printer: columns scaled, rows paginated with the title row on
// every page, lines, shading and border, and its two refusals.
#include "preview/grid_print.h"

#include <gtest/gtest.h>

#include "platform/message.h"
#include "preview/font_mapper.h"
#include "tests/preview/fake_print_device.h"

namespace vektrano::preview {
namespace {

class TableGrid : public TPvStringGrid {
 public:
  std::vector<std::vector<std::string>> rows;
  std::vector<int> widths;
  int rowHeight = 24;
  int fixedRows = 1;

  int ColCount() const override { return static_cast<int>(widths.size()); }
  int RowCount() const override { return static_cast<int>(rows.size()); }
  int FixedCols() const override { return 0; }
  int FixedRows() const override { return fixedRows; }
  std::string Cell(int col, int row) const override { return rows[row][col]; }
  int ColWidth(int col) const override { return widths[col]; }
  int RowHeight(int) const override { return rowHeight; }
  TColor FixedColor() const override { return clSilver; }
};

// A log of n contacts under its title row.
TableGrid logOf(int n) {
  TableGrid g;
  g.widths = {40, 60, 30, 400, 30, 70, 40, 120};
  g.rows.push_back({"Č.", "Čas", "RV", "Volačka", "RP", "Lokátor", "km", "Poznámka"});
  for (int i = 1; i <= n; ++i)
    g.rows.push_back({std::to_string(i), "12:00", "59", "OK" + std::to_string(i) + "ŽÁK", "57", "JO70GQ", "12", ""});
  return g;
}

struct Cell {
  std::string text;
  TPvRectExt rect;
};

std::vector<Cell> textsOn(TPvPage& page) {
  std::vector<Cell> out;
  for (int i = 0; i < page.Objects().Count(); ++i)
    if (auto* t = dynamic_cast<TPvTextBoxObject*>(page.Objects().Items(i))) out.push_back({t->Text(), t->Rect()});
  return out;
}

template <class T>
int countOf(TPvPage& page) {
  int n = 0;
  for (int i = 0; i < page.Objects().Count(); ++i) n += dynamic_cast<T*>(page.Objects().Items(i)) != nullptr;
  return n;
}

// Unfilled rectangles: the grid's borders.
int bordersOn(TPvPage& page) {
  int n = 0;
  for (int i = 0; i < page.Objects().Count(); ++i)
    if (auto* r = dynamic_cast<TPvRectangleShape*>(page.Objects().Items(i))) n += r->Brush()->Style == bsClear;
  return n;
}

class GridPrint : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFontMapperMeasurer(std::make_unique<FixedWidthMeasurer>());
    previous = platform::setMessageHandler([this](const platform::Message& m) {
      messages.push_back(m.text);
      return m.defaultAnswer;
    });
    printer.SetPreview(&list);
  }
  void TearDown() override { platform::setMessageHandler(previous); }

  test::FakePrintDevice* dev = nullptr;
  TPvPageList list{test::fakeDevice(dev)};
  TPvGridPrint printer;
  std::vector<std::string> messages;
  platform::MessageHandler previous;
};

// A4 at 11.69 inches: the footer (one 12 pt line, 115/600 in) is kept free
// twice above the 0.5-inch bottom margin, so rows end by 10.807 in. From
// 100 px (1.042 in) rows of 24 px (0.25 in): 39 rows a page, the title
// and 38 contacts; 200 contacts take six pages.
TEST_F(GridPrint, PaginatesALogWithTheTitleRowOnEveryPage) {
  TableGrid g = logOf(200);
  printer.Grid = &g;
  std::vector<Extended> progress;
  printer.OnDrawProgress = [&](TPvAbstractGridPrint&, Extended p) { progress.push_back(p); };
  printer.PrintGridToPreview(pvPixels, 40, 100, 0);
  EXPECT_TRUE(messages.empty());
  ASSERT_EQ(list.Count(), 6);
  ASSERT_EQ(progress.size(), 201u);
  EXPECT_EQ(progress.back(), 100);

  const Extended top = 100.0L / 96, bottom = list.Items(0)->HeightInches() - (115.0L / 600 * 2 + 0.5L);
  int next = 1;
  for (int p = 0; p < list.Count(); ++p) {
    SCOPED_TRACE(p + 1);
    const auto cells = textsOn(*list.Items(p));
    ASSERT_FALSE(cells.empty());
    EXPECT_EQ(cells[0].text, "Č.");  // the title row heads every page
    EXPECT_NEAR(double(cells[0].rect.Top), double(top), 1e-12);
    EXPECT_NEAR(double(cells[0].rect.Left), 40.0 / 96, 1e-12);
    for (const auto& c : cells) EXPECT_LE(c.rect.Bottom, bottom + 1e-12);
    for (const auto& c : cells)
      if (c.text.rfind("OK", 0) == 0) EXPECT_EQ(c.text, "OK" + std::to_string(next++) + "ŽÁK");
    EXPECT_EQ(bordersOn(*list.Items(p)), 1);
  }
  EXPECT_EQ(next, 201);  // every contact once, in order
  EXPECT_EQ(list.CurrentPageNumber(), 6);

  // Widths 0: each column is its screen width over 96.
  ASSERT_EQ(printer.ColumnWidths().Count(), 8);
  EXPECT_NEAR(double(printer.ColumnWidths().Item(3)), 400.0 / 96, 1e-12);
  EXPECT_NEAR(double(printer.PrintedGridWidth()), 790.0 / 96, 1e-12);
}

TEST_F(GridPrint, LinesBorderAndShading) {
  TableGrid g = logOf(2);
  printer.Grid = &g;
  printer.Monochrome = true;
  printer.PrintGridToPreview(pvInches, 1, 1, 0);
  TPvPage& page = *list.Items(0);
  // Three rows: vertical lines inside each, horizontal lines above all but
  // the first; one border from the first row's top to the last row's bottom.
  EXPECT_EQ(countOf<TPvLineObject>(page), 3 * 7 + 2);
  const TPvRectangleShape* border = nullptr;
  for (int i = 0; i < page.Objects().Count(); ++i)
    if (auto* r = dynamic_cast<TPvRectangleShape*>(page.Objects().Items(i))) border = r;
  ASSERT_NE(border, nullptr);
  EXPECT_NEAR(double(border->Rect().Top), 1.0, 1e-12);
  EXPECT_NEAR(double(border->Rect().Bottom), 1.75, 1e-12);
  EXPECT_EQ(border->Brush()->Style, bsClear);
  EXPECT_EQ(countOf<TPvRectangleShape>(page), 1);  // monochrome: no shading

  // Not monochrome, the fixed cells are shaded in the grid's fixed colour:
  // the title row's eight cells.
  list.Clear(false, true);
  printer.Monochrome = false;
  printer.PrintGridToPreview(pvInches, 1, 1, 0);
  int shaded = 0;
  TPvPage& again = *list.Items(0);
  for (int i = 0; i < again.Objects().Count(); ++i)
    if (auto* r = dynamic_cast<TPvRectangleShape*>(again.Objects().Items(i)))
      shaded += r->Brush() && r->Brush()->Style == bsSolid && r->Brush()->Color == clSilver;
  EXPECT_EQ(shaded, 8);

  list.Clear(false, true);
  printer.GridOptions = 0;
  printer.PrintGridToPreview(pvInches, 1, 1, 0);
  EXPECT_EQ(countOf<TPvLineObject>(*list.Items(0)), 0);
  EXPECT_EQ(bordersOn(*list.Items(0)), 0);
}

TEST_F(GridPrint, ScalesColumnsToAWidth) {
  TableGrid g;
  g.widths = {96 * 3, 96 * 3, 96 * 9 / 2};  // 10.5 inches
  g.rows = {{"a", "b", "c"}};
  printer.Grid = &g;
  printer.PrintGridToPreview(pvInches, 0, 0, 7);
  EXPECT_NEAR(double(printer.ColumnWidths().Item(0)), 2.0, 1e-12);
  EXPECT_NEAR(double(printer.ColumnWidths().Item(2)), 3.0, 1e-12);
  EXPECT_NEAR(double(printer.PrintedGridWidth()), 7.0, 1e-12);

  // In the caller's unit: 177.8 mm is 7 inches.
  list.Clear(false, true);
  printer.PrintGridToPreview(pvMillimeters, 0, 0, 177.8);
  EXPECT_NEAR(double(printer.PrintedGridWidth()), 7.0, 1e-9);

  // Columns of no width cannot be scaled: they stay at nothing, the text
  // boxes are laid out all the same.
  g.widths = {0, 0, 0};
  list.Clear(false, true);
  printer.PrintGridToPreview(pvInches, 0, 0, 7);
  EXPECT_EQ(printer.PrintedGridWidth(), 0);
  EXPECT_EQ(textsOn(*list.Items(0)).size(), 3u);

  // A handler may set a column's width.
  g.widths = {96, 96, 96};
  printer.OnGetColWidth = [](TPvAbstractGridPrint&, int col, TPvValue& w) {
    if (col == 1) w.SetValue(pvPixels, 330);
  };
  list.Clear(false, true);
  printer.PrintGridToPreview(pvInches, 0, 0, 0);
  EXPECT_NEAR(double(printer.ColumnWidths().Item(1)), 330.0 / 96, 1e-12);
}

// Fitting to the paper: the widest columns give way to one common width,
// the narrow ones keep theirs, and the total is what there is room for.
TEST(FitColumnWidths, TheWidestGiveWay) {
  struct Case {
    const char* name;
    std::vector<Extended> widths;
    Extended available;
    std::vector<Extended> fitted;
  } cases[] = {
      {"fits already", {1, 2, 3}, 6, {1, 2, 3}},
      {"the widest alone", {0.5, 4, 1, 1.5}, 6, {0.5, 3, 1, 1.5}},
      {"the two widest", {0.5, 4, 1, 3.5}, 6, {0.5, 2.25, 1, 2.25}},
      {"down to the next", {1, 3, 2}, 5, {1, 2, 2}},
      {"every column", {2, 3, 4}, 3, {1, 1, 1}},
      {"no room at all", {1, 2}, 0, {1, 2}},
      {"hidden columns", {0, 4, 0, 1}, 3, {0, 2, 0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Extended> got = FitColumnWidths(c.widths, c.available);
    ASSERT_EQ(got.size(), c.fitted.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(double(got[i]), double(c.fitted[i]), 1e-12) << i;
  }
}

TEST_F(GridPrint, TitleOnlyAndRunsOnFollowingPages) {
  TableGrid g = logOf(0);
  printer.Grid = &g;
  printer.PrintGridToPreview(pvPixels, 40, 100, 0);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(textsOn(*list.Items(0)).size(), 8u);
  EXPECT_EQ(bordersOn(*list.Items(0)), 1);

  // A run starts on the current page and uses the pages that follow before
  // adding any.
  list.Clear(false, true);
  list.AddPage();
  list.AddPage();
  list.SetCurrentPage(2);
  TableGrid big = logOf(60);
  printer.Grid = &big;
  printer.PrintGridToPreview(pvPixels, 40, 100, 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_TRUE(textsOn(*list.Items(0)).empty());
  EXPECT_EQ(textsOn(*list.Items(1))[0].text, "Č.");
  EXPECT_EQ(textsOn(*list.Items(2))[0].text, "Č.");
}

TEST_F(GridPrint, ARowMovedToANewPageIsNotDrawnTwiceNorFramedEmpty) {
  TableGrid g = logOf(3);
  printer.Grid = &g;
  // Starting below the printable bottom, the title row itself moves to the
  // next page: it stands there once, and the page it left gets no border.
  printer.OnGridNewPage = [](TPvAbstractGridPrint&, TPvValue& top, TPvValue&) { top.SetInches(1); };
  printer.PrintGridToPreview(pvInches, 1, 11, 0);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0)->Objects().Count(), 0);
  const auto cells = textsOn(*list.Items(1));
  int titles = 0;
  for (const auto& c : cells) titles += c.text == "Volačka";
  EXPECT_EQ(titles, 1);
  EXPECT_EQ(bordersOn(*list.Items(1)), 1);
}

TEST_F(GridPrint, TallRowsAndTheirHeights) {
  TableGrid g;
  g.widths = {96, 96};
  g.rowHeight = 10;
  g.rows = {{"nadpis", "x"}, {"a b c d e f g h i j k l m n o", ""}};
  printer.Grid = &g;
  printer.WordWrap = true;
  int asked = 0;
  printer.OnGetRowHeight = [&](TPvAbstractGridPrint&, int, TPvValue& h) {
    ++asked;
    EXPECT_NEAR(double(h.Inches()), 10.0 / 96, 1e-12);
  };
  printer.PrintGridToPreview(pvInches, 0, 0, 0);
  EXPECT_EQ(asked, 2);
  const auto cells = textsOn(*list.Items(0));
  ASSERT_EQ(cells.size(), 3u);
  // Wrapped at one inch: the row grows to the wrapped text's height.
  const Extended h = cells[2].rect.Bottom - cells[2].rect.Top;
  list.Canvas.WordWrap = true;
  list.Canvas.Font = printer.Font();
  EXPECT_NEAR(double(h), double(list.Canvas.TextBoxHeight(g.rows[1][0], pvInches, 1, 0.025)), 1e-12);
  EXPECT_GT(h, 0.3);
}

TEST_F(GridPrint, RefusesWithoutPreviewOrGrid) {
  TableGrid g = logOf(1);
  printer.PrintGridToPreview(pvPixels, 40, 100, 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "TPvGridPrint Error!\r\n\r\nThe \"Grid\" property must be set to a valid grid component\"");
  TPvGridPrint lonely;
  lonely.Grid = &g;
  lonely.PrintGridToPreview(pvPixels, 40, 100, 0);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], "TPvGridPrint Error!\r\n\r\nThe \"Preview\" property must be set to a TPvPreview component");
  EXPECT_EQ(list.Items(0)->Objects().Count(), 0);
}

}  // namespace
}  // namespace vektrano::preview
