// The page list: its operations and events, the bands, page drawing and
// printing page by page.
#include "preview/pages.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/message.h"
#include "preview/font_mapper.h"
#include "tests/preview/fake_print_device.h"

namespace vektrano::preview {
namespace {

using test::FakePrintDevice;

class Pages : public ::testing::Test {
 protected:
  void SetUp() override { SetFontMapperMeasurer(std::make_unique<FixedWidthMeasurer>()); }
  FakePrintDevice* dev = nullptr;
  TPvPageList list{test::fakeDevice(dev)};
  std::vector<std::string> events;

  void listen() {
    list.OnPageCountChanged = [this] { events.push_back("count"); };
    list.OnPagesChanged = [this] { events.push_back("pages"); };
    list.OnCleared = [this] { events.push_back("cleared"); };
    list.OnNewPage = [this] { events.push_back("new"); };
    list.OnPageChanging = [this] { events.push_back("changing " + std::to_string(list.CurrentPageNumber())); };
    list.OnCurrentPageChanged = [this] { events.push_back("current " + std::to_string(list.CurrentPageNumber())); };
    list.OnContentsChanged = [this] { events.push_back("contents"); };
  }
  TPvLineObject* lineOn(int pageNumber) {
    list.SetCurrentPage(pageNumber);
    return list.Canvas.Line(pvInches, 0, 0, 1, 1);
  }
};

TEST_F(Pages, StartsWithOnePageAndAddsDeletesAndMoves) {
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.CurrentPageNumber(), 1);
  EXPECT_NEAR(double(list.Items(0)->WidthInches()), 210 / 25.4, 1e-12);
  listen();
  list.AddPage();
  EXPECT_EQ(events, (std::vector<std::string>{"changing 1", "count", "pages", "current 2", "new"}));
  list.AddPage();
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.CurrentPageNumber(), 3);
  EXPECT_EQ(list.Items(2)->Number(), 3);

  for (int bad : {0, 4, -1}) {
    events.clear();
    list.SetCurrentPage(bad);
    EXPECT_EQ(list.CurrentPageNumber(), 3) << bad;
    EXPECT_TRUE(events.empty()) << bad;
  }

  // Deleting a page before the current one keeps the same page current.
  TPvPage* third = list.Items(2);
  list.DeletePage(0);
  EXPECT_EQ(list.CurrentPage(), third);
  EXPECT_EQ(list.CurrentPageNumber(), 2);
  list.DeletePage(7);  // outside: nothing
  EXPECT_EQ(list.Count(), 2);
  // Deleting the current last page makes the one before it current.
  list.DeletePage(1);
  EXPECT_EQ(list.CurrentPageNumber(), 1);
  // The only page goes: a new empty one takes its place.
  lineOn(1);
  TPvPage* only = list.Items(0);
  list.DeletePage(0);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_NE(list.Items(0), only);
  EXPECT_EQ(list.Items(0)->Objects().Count(), 0);
  EXPECT_EQ(list.CurrentPageNumber(), 1);
}

TEST_F(Pages, ClearLeavesOnePageOrNoneAndEmptiesTheTable) {
  lineOn(1);
  list.AddPage();
  lineOn(2);
  EXPECT_EQ(list.Resources.Pens.Count(), 1);
  listen();
  list.Clear(false, true);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.CurrentPageNumber(), 1);
  EXPECT_EQ(list.Resources.Pens.Count(), 0);
  EXPECT_EQ(list.Resources.UserCount(), 0);
  EXPECT_EQ(events, (std::vector<std::string>{"cleared", "count", "pages"}));

  list.Clear(true, false);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.CurrentPage(), nullptr);
  // Drawing on an empty list starts its first page.
  TPvLineObject* l = list.Canvas.Line(pvInches, 0, 0, 1, 1);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.CurrentPageNumber(), 1);
  EXPECT_EQ(list.Items(0)->Objects().Items(0), l);
}

TEST_F(Pages, UpdatesHoldTheEventsBackAndRunThemOnce) {
  listen();
  int ending = 0;
  list.OnPagesChanged = [&] {
    events.push_back("pages");
    if (list.EndingUpdate()) ++ending;
  };
  list.BeginUpdate();
  list.BeginUpdate();
  for (int i = 0; i < 5; ++i) {
    list.AddPage();
    list.Canvas.Line(pvInches, 0, 0, 1, 1);
  }
  list.EndUpdate();
  EXPECT_EQ(std::count(events.begin(), events.end(), "pages"), 0);
  events.clear();
  list.EndUpdate();
  EXPECT_EQ(events, (std::vector<std::string>{"count", "pages", "contents"}));
  EXPECT_EQ(ending, 1);
  EXPECT_FALSE(list.EndingUpdate());
  list.EndUpdate();  // no update open: nothing
  EXPECT_EQ(events.size(), 3u);

  // Outside an update an object's change reaches the list at once.
  events.clear();
  auto* line = static_cast<TPvLineObject*>(list.Items(2)->Objects().Items(0));
  line->SetRect({1, 1, 2, 2});
  EXPECT_EQ(events, std::vector<std::string>{"contents"});
}

// Each page's object list is where its objects' change events lead; many
// pages added after it (the page store growing) must not move it.
TEST_F(Pages, ObjectEventsReachTheirListAfterThePagesGrew) {
  TPvLineObject* first = lineOn(1);
  for (int i = 0; i < 200; ++i) list.AddPage();
  int contents = 0;
  list.OnContentsChanged = [&] { ++contents; };
  first->SetRect({2, 2, 3, 3});
  EXPECT_EQ(contents, 1);
  list.DeletePage(1);
  first->SetRect({3, 3, 4, 4});
  EXPECT_EQ(contents, 2);
}

TEST_F(Pages, OrientationAndPaperTurnEveryPage) {
  list.AddPage();
  list.AddPage();
  list.SetOrientation(pvLandscape);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(double(list.Items(i)->WidthInches()), 11.69, 0.01);
    EXPECT_NEAR(double(list.Items(i)->HeightInches()), 8.26, 0.01);
    EXPECT_EQ(list.Items(i)->Orientation(), pvLandscape);
  }
  list.AddPage();  // a new page follows the list
  EXPECT_NEAR(double(list.Items(3)->WidthInches()), 11.69, 0.01);
  EXPECT_EQ(list.Items(3)->Orientation(), pvLandscape);

  list.SetPaperSize(A5);
  EXPECT_NEAR(double(list.Items(0)->WidthInches()), 210 / 25.4, 1e-9);  // landscape A5
  EXPECT_NEAR(double(list.Items(0)->HeightInches()), 148.5 / 25.4, 1e-9);
  list.SetPaperSize(Custom);  // keeps the size there is
  EXPECT_NEAR(double(list.Items(0)->HeightInches()), 148.5 / 25.4, 1e-9);
}

TEST_F(Pages, BandsAndWhereObjectsAreMeasuredFrom) {
  TPvPage& page = *list.Items(0);
  list.Margins.SetAll({0.5, 1.0, 0.5, 1.0});
  // Height 0: one line of the largest caption font (12 pt at 600: 115 of
  // 600), visible or not.
  EXPECT_FALSE(list.Header.Visible());
  EXPECT_NEAR(double(list.Header.BandHeight(pvInches)), 115.0 / 600, 1e-12);
  CanvasFont big;
  big.height = 27;  // a cell height: its size is negative, its magnitude counts
  list.Header.CaptionRight().SetFont(big);
  EXPECT_NEAR(double(list.Header.BandHeight(pvInches)), 27.0 / 96, 0.01);
  list.Header.Height().SetInches(0.75);
  const TPvRectExt h = list.HeaderRect(page);
  EXPECT_NEAR(double(h.Left), 0.5, 1e-12);
  EXPECT_NEAR(double(h.Top), 1.0, 1e-12);
  EXPECT_NEAR(double(h.Right), double(page.WidthInches()) - 0.5, 1e-12);
  EXPECT_NEAR(double(h.Bottom), 1.75, 1e-12);
  list.Footer.Height().SetInches(0.25);
  const TPvRectExt f = list.FooterRect(page);
  EXPECT_NEAR(double(f.Bottom), double(page.HeightInches()) - 1.0, 1e-12);
  EXPECT_NEAR(double(f.Top), double(page.HeightInches()) - 1.25, 1e-12);

  struct Case {
    TPvCoordsRelative from;
    Extended left, top;
  } cases[] = {
      {pvFromPage, 0, 0},
      {pvFromUserMargins, 0.5, 1.0},
      {pvFromHeaderLine, 0.5, 1.75},  // the invisible header still counts
      {pvFromPrinterMargins, 50.0 / 600, 50.0 / 600},
  };
  for (const auto& c : cases) {
    list.Canvas.CoordsRelativeTo = c.from;
    TPvRectangleShape* r = list.Canvas.Rectangle(pvInches, 0, 0, 1, 1);
    EXPECT_NEAR(double(r->Rect().Left), double(c.left), 1e-12) << c.from;
    EXPECT_NEAR(double(r->Rect().Top), double(c.top), 1e-12) << c.from;
    EXPECT_NEAR(double(r->Rect().Right), double(c.left + 1), 1e-12) << c.from;
  }
}

TEST_F(Pages, BandsDrawTheirCaptionsAndLine) {
  TPvPage& page = *list.Items(0);
  list.Margins.SetAll({1, 1, 1, 1});
  list.Header.SetVisible(true);
  list.Header.Height().SetInches(0.5);
  list.Header.CaptionLeft().SetCaption("L");
  list.Header.CaptionCenter().SetCaption("Strana {PAGE} z {NUMPAGES}");
  list.Header.CaptionRight().SetCaption("RR");
  list.Footer.SetVisible(true);
  list.Footer.Height().SetInches(0.5);
  list.Footer.SetShowLine(false);
  list.Footer.CaptionCenter().SetCaption("Milous ZR-4");
  list.AddPage();

  // Unequal resolutions: the header text's top is measured vertically.
  RecordingCanvas c(CanvasKind::Screen, 100, 200);
  page.DrawPage(c, 100, 200, false);
  auto texts = c.find("text");
  ASSERT_EQ(texts.size(), 4u);
  // 12 pt at 100 ppi: em 16.67 (rounded 17 for the measuring), char 8.5.
  const TPvFontMapper::Extent e = FontMapper().MeasureText(texts[0]->font, "L");
  const int lineY = static_cast<int>(roundHalfEven(e.height * 200));
  EXPECT_EQ(texts[0]->text, "L");
  EXPECT_EQ(texts[0]->points[0], (IntPoint{100, 300 - lineY}));
  EXPECT_EQ(texts[1]->text, "Strana 1 z 2");
  const int centreW = static_cast<int>(roundHalfEven(FontMapper().MeasureText(texts[1]->font, "Strana 1 z 2").width * 100));
  EXPECT_EQ(texts[1]->points[0].x, (100 + 727 - centreW) / 2);
  const int rightW = static_cast<int>(roundHalfEven(FontMapper().MeasureText(texts[2]->font, "RR").width * 100));
  EXPECT_EQ(texts[2]->points[0].x, 727 - rightW);
  // The footer's text hangs from the band's top edge.
  const int footTop = static_cast<int>(roundHalfEven((page.HeightInches() - 1.5) * 200));
  EXPECT_EQ(texts[3]->points[0].y, footTop);
  auto lines = c.find("line");
  ASSERT_EQ(lines.size(), 1u);  // the header's, along its bottom edge
  EXPECT_EQ(lines[0]->points[0], (IntPoint{100, 300}));
  EXPECT_EQ(lines[0]->points[1], (IntPoint{727, 300}));

  // A page whose band flags are off draws neither; an invisible band never.
  page.ShowHeader = false;
  list.Footer.SetVisible(false);
  RecordingCanvas none;
  page.DrawPage(none, 96, 96, false);
  EXPECT_TRUE(none.commands().empty());
}

TEST_F(Pages, PrintOrderRunsEitherWay) {
  EXPECT_EQ(TPvPageList::PrintOrder(5, 2), (std::vector<int>{5, 4, 3, 2}));
  EXPECT_EQ(TPvPageList::PrintOrder(2, 5), (std::vector<int>{2, 3, 4, 5}));
  EXPECT_EQ(TPvPageList::PrintOrder(3, 3), (std::vector<int>{3}));
}

TEST_F(Pages, PrintsPagesClippedAndWithoutInvisibleObjects) {
  list.Margins.SetAll({0.5, 1.0, 0.5, 1.0});
  list.Margins.SetClipMargins(true);
  for (int i = 0; i < 4; ++i) {
    if (i) list.AddPage();
    list.Items(i)->SetSize(8.26L, 11.69L);
    list.Canvas.Visible = i != 1;  // page 2's object is for the screen only
    list.Canvas.Line(pvInches, 0, 0, i + 1, 1);
  }
  std::vector<std::pair<int, int>> progress;
  list.OnPrintProgress = [&](int done, int total) { progress.emplace_back(done, total); };

  ASSERT_TRUE(list.PrintPages(3, 3));
  ASSERT_EQ(dev->sheets.size(), 1u);  // page 3 alone, no new sheet
  EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 1}}));
  auto clip = dev->sheets[0].find("clip");
  ASSERT_EQ(clip.size(), 1u);
  // Margins at 600 dpi, moved by the negated printer offsets of the sheet.
  EXPECT_EQ(clip[0]->points[0], (IntPoint{300 - 50, 600 - 50}));
  EXPECT_EQ(clip[0]->points[1], (IntPoint{4656 - 50, 6414 - 50}));
  auto line = dev->sheets[0].find("line");
  ASSERT_EQ(line.size(), 1u);
  EXPECT_EQ(line[0]->points[1].x, 3 * 600 - 50);

  // Numbers outside the list are clamped; the invisible object is left out
  // of the print and still drawn on the screen.
  dev->sheets.clear();
  progress.clear();
  ASSERT_TRUE(list.PrintPages(0, 99));
  ASSERT_EQ(dev->sheets.size(), 4u);
  EXPECT_EQ(progress.back(), (std::pair<int, int>{4, 4}));
  EXPECT_TRUE(dev->sheets[1].find("line").empty());
  RecordingCanvas screen;
  list.Items(1)->DrawPage(screen, 96, 96, false);
  EXPECT_EQ(screen.find("line").size(), 1u);
  EXPECT_EQ(dev->ended, 2);
}

TEST_F(Pages, AJobCalledOffOrAbortedPrintsNoMoreAndTheNextOneRuns) {
  list.AddPage();
  list.AddPage();
  list.Printer.BeforePrint = [](TPvPrinter& p) { p.Abort(); };
  EXPECT_FALSE(list.PrintPages(1, 3));
  EXPECT_EQ(dev->begun, 0);
  EXPECT_FALSE(list.Printer.Printing());

  list.Printer.BeforePrint = nullptr;
  list.OnPrintProgress = [&](int done, int) {
    if (done == 1) list.Printer.Abort();
  };
  EXPECT_FALSE(list.PrintPages(1, 3));
  EXPECT_EQ(dev->aborted, 1);
  EXPECT_EQ(dev->sheets.size(), 2u);  // the second sheet was begun, never drawn
  EXPECT_FALSE(list.Printer.Printing());

  list.OnPrintProgress = nullptr;
  dev->sheets.clear();
  EXPECT_TRUE(list.PrintPages(1, 3));
  EXPECT_EQ(dev->sheets.size(), 3u);
}

// Where each page's drawing lands: a line from the page's corner to one
// inch in, on an A4 sheet of 4961 x 7016 pixels whose printable area starts
// 50 pixels in.
TEST_F(Pages, SheetPlacementForOneTwoAndFourPages) {
  struct Case {
    TPvPagesPerSheet pps;
    int pages;
    size_t sheets;
    // Per page: the sheet it is on and its line's two device points.
    std::vector<std::tuple<int, IntPoint, IntPoint>> lines;
  } cases[] = {
      {pvOnePage, 2, 2, {{0, {-50, -50}, {550, 550}}, {1, {-50, -50}, {550, 550}}}},
      // Landscape sheets 7016 x 4961, each half at 70 per cent.
      {pvTwoPage, 3, 2,
       {{0, {-50, -50}, {370, 370}}, {0, {3458, -50}, {3878, 370}}, {1, {-50, -50}, {370, 370}}}},
      // Portrait sheets in quarters at 49 per cent.
      {pvFourPage, 5, 2,
       {{0, {-50, -50}, {244, 244}},
        {0, {2430, -50}, {2724, 244}},
        {0, {-50, 3458}, {244, 3752}},
        {0, {2430, 3458}, {2724, 3752}},
        {1, {-50, -50}, {244, 244}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pps);
    list.Clear(false, true);
    for (int i = 0; i < c.pages; ++i) {
      if (i) list.AddPage();
      list.Canvas.Line(pvInches, 0, 0, 1, 1);
    }
    list.SetPagesPerSheet(c.pps);
    dev->sheets.clear();
    ASSERT_TRUE(list.PrintPages(1, c.pages));
    ASSERT_EQ(dev->sheets.size(), c.sheets);
    std::vector<size_t> seen(c.sheets, 0);
    for (const auto& [sheet, a, b] : c.lines) {
      auto drawn = dev->sheets[static_cast<size_t>(sheet)].find("line");
      ASSERT_LT(seen[sheet], drawn.size());
      const auto* l = drawn[seen[sheet]++];
      EXPECT_EQ(l->points[0], a);
      EXPECT_EQ(l->points[1], b);
    }
  }
}

TEST_F(Pages, TwoPagesASheetTurnTheSheet) {
  for (int i = 0; i < 4; ++i) list.AddPage();
  list.SetPagesPerSheet(pvTwoPage);
  ASSERT_TRUE(list.PrintPages(1, 5));
  // Portrait pages side by side on landscape sheets: three of them.
  EXPECT_EQ(dev->sheets.size(), 3u);
  for (int o : dev->sheetOrientation) EXPECT_EQ(o, 2);
}

}  // namespace
}  // namespace vektrano::preview
