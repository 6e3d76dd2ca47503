#include "preview/page_objects.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vektrano::preview {
namespace {

// "op x,y x,y ..." of one recorded command, and its text when it has one.
std::string geometry(const RecordingCanvas::Command& c) {
  std::string s = c.op;
  for (const auto& p : c.points) s += " " + std::to_string(p.x) + "," + std::to_string(p.y);
  if (!c.text.empty()) s += " \"" + c.text + "\"";
  return s;
}

std::vector<std::string> drawnAt(TPvBaseObject& o, int ppi, int page = 1, int pages = 1) {
  RecordingCanvas canvas(CanvasKind::Screen, ppi, ppi);
  TPvDeviceInfo info;
  info.PixelsPerInchX = info.PixelsPerInchY = ppi;
  info.PageNumber = page;
  info.PageCount = pages;
  o.DrawOn(canvas, info);
  std::vector<std::string> out;
  for (const auto& c : canvas.commands()) out.push_back(geometry(c));
  return out;
}

std::unique_ptr<TPvTextBoxObject> textBox(TPvVertAlignment va, Extended textHeight, int align = pvAlignLeft,
                                          bool wordBreak = true) {
  auto t = std::make_unique<TPvTextBoxObject>(nullptr);
  t->SetRect({1, 1, 3, 2});
  t->SetPadding(0.1);
  t->SetTextHeight(textHeight);
  t->SetVertAlignment(va);
  t->SetAlignment(align);
  t->SetWordBreak(wordBreak);
  t->SetText("Ahoj");
  return t;
}

struct DrawCase {
  const char* name;
  std::function<std::unique_ptr<TPvBaseObject>()> make;
  std::vector<std::string> at96, at600;
};

TEST(PageObjectDrawing, DeviceCoordinatesAtTwoResolutions) {
  const DrawCase cases[] = {
      {"line",
       [] {
         auto l = std::make_unique<TPvLineObject>(nullptr);
         l->SetRect({0.5, 0.25, 2.0, 1.005});
         return l;
       },
       {"line 48,24 192,96"},
       {"line 300,150 1200,603"}},
      {"line drawn backwards keeps its direction",
       [] {
         auto l = std::make_unique<TPvLineObject>(nullptr);
         l->SetRect({2.0, 1.0, 0.5, 0.25});
         return l;
       },
       {"line 192,96 48,24"},
       {"line 1200,600 300,150"}},
      {"rectangle as six-point polygon",
       [] {
         auto r = std::make_unique<TPvRectangleShape>(nullptr);
         r->SetRect({1, 0.5, 2.5, 1.25});
         return r;
       },
       {"polygon 96,48 240,48 240,120 96,120 96,48 240,48"},
       {"polygon 600,300 1500,300 1500,750 600,750 600,300 1500,300"}},
      // The box is filled whole; the text rectangle is moved and padded.
      {"text box top", [] { return textBox(pvTop, 0.5); },
       {"polygon 96,96 288,96 288,192 96,192 96,96 288,96", "drawtext 106,106 278,182 \"Ahoj\""},
       {"polygon 600,600 1800,600 1800,1200 600,1200 600,600 1800,600", "drawtext 660,660 1740,1140 \"Ahoj\""}},
      {"text box middle", [] { return textBox(pvMiddle, 0.5); },
       {"polygon 96,96 288,96 288,192 96,192 96,96 288,96", "drawtext 106,130 278,182 \"Ahoj\""},
       {"polygon 600,600 1800,600 1800,1200 600,1200 600,600 1800,600", "drawtext 660,810 1740,1140 \"Ahoj\""}},
      // 96 - 29 = 67: the half is 33, not 34.
      {"text box middle, odd remainder", [] { return textBox(pvMiddle, 0.3); },
       {"polygon 96,96 288,96 288,192 96,192 96,96 288,96", "drawtext 106,139 278,182 \"Ahoj\""},
       {"polygon 600,600 1800,600 1800,1200 600,1200 600,600 1800,600", "drawtext 660,870 1740,1140 \"Ahoj\""}},
      // Text taller than the box: -14.5 goes to -14 (toward zero), not -15.
      {"text box middle, text taller than box", [] { return textBox(pvMiddle, 1.3); },
       {"polygon 96,96 288,96 288,192 96,192 96,96 288,96", "drawtext 106,92 278,182 \"Ahoj\""},
       {"polygon 600,600 1800,600 1800,1200 600,1200 600,600 1800,600", "drawtext 660,570 1740,1140 \"Ahoj\""}},
      {"text box bottom", [] { return textBox(pvBottom, 0.5); },
       {"polygon 96,96 288,96 288,192 96,192 96,96 288,96", "drawtext 106,154 278,182 \"Ahoj\""},
       {"polygon 600,600 1800,600 1800,1200 600,1200 600,600 1800,600", "drawtext 660,960 1740,1140 \"Ahoj\""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto o = c.make();
    EXPECT_EQ(drawnAt(*o, 96), c.at96);
    EXPECT_EQ(drawnAt(*o, 600), c.at600);
  }
}

TEST(PageObjectDrawing, TextFormatFollowsAlignmentAndWordBreak) {
  struct Case {
    int align;
    bool wordBreak;
    unsigned format;
  } cases[] = {
      {pvAlignLeft, true, tfLeft | tfExpandTabs | tfWordBreak},
      {pvAlignRight, true, tfRight | tfExpandTabs | tfWordBreak},
      {pvAlignCenter, false, tfCenter | tfExpandTabs},
      {7, false, tfLeft | tfExpandTabs},  // unknown alignment draws left
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.align);
    auto t = textBox(pvTop, 0.5, c.align, c.wordBreak);
    RecordingCanvas canvas;
    t->DrawOn(canvas, TPvDeviceInfo{});
    auto texts = canvas.find("drawtext");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0]->line.find("format=" + std::to_string(c.format) + " "), std::string::npos) << texts[0]->line;
  }
}

TEST(PageObjectDrawing, TokensTakeThePageOfTheDevice) {
  auto t = textBox(pvTop, 0.5);
  t->SetText("Strana {PAGE} z {NUMPAGES}");
  EXPECT_EQ(drawnAt(*t, 96, 3, 7).back(), "drawtext 106,106 278,182 \"Strana 3 z 7\"");
  EXPECT_EQ(drawnAt(*t, 96, 4, 7).back(), "drawtext 106,106 278,182 \"Strana 4 z 7\"");
}

TEST(PageObjectDrawing, SelectsStoredResourcesOrLeavesTheCanvasOnes) {
  TPvResourceTable table;
  TPvPen pen;
  pen.Width = 12;  // quarter points: 1/24 inch, 25 px at 600
  pen.Color = clRed;
  table.Pens.FindOrAdd(pen);
  TPvBrush brush;
  brush.Color = clBlue;
  brush.Style = bsSolid;
  table.Brushes.FindOrAdd(brush);
  TPvFont font;
  font.Name = "Courier New";
  font.Size = 12;
  table.Fonts.FindOrAdd(font);

  RecordingCanvas canvas(CanvasKind::Screen, 600, 600);
  canvas.pen().color = 0x123456;
  canvas.pen().width = 7;
  TPvDeviceInfo info;
  info.PixelsPerInchX = info.PixelsPerInchY = 600;

  TPvLineObject plain(&table);  // no pen: the canvas pen draws
  plain.SetRect({0, 0, 1, 1});
  plain.DrawOn(canvas, info);
  ASSERT_EQ(canvas.commands().size(), 1u);
  EXPECT_EQ(canvas.commands()[0].pen.color, 0x123456);
  EXPECT_EQ(canvas.commands()[0].pen.width, 7);

  TPvTextBoxObject box(&table);
  box.SetRect({0, 0, 1, 1});
  box.SetPenIndex(0);
  box.SetBrushIndex(0);
  box.SetFontIndex(0);
  box.SetText("x");
  box.DrawOn(canvas, info);
  const auto& poly = canvas.commands()[1];
  EXPECT_EQ(poly.pen.color, clRed);
  EXPECT_EQ(poly.pen.width, 25);
  EXPECT_EQ(poly.brush.color, clBlue);
  const auto& text = canvas.commands()[2];
  EXPECT_EQ(text.font.name, "Courier New");
  EXPECT_EQ(text.font.height, -100);  // 12 pt at 600 dpi

  // An index the table lacks draws like none.
  TPvLineObject stale(&table);
  stale.SetPenIndex(5);
  canvas.pen().color = 0x654321;
  stale.DrawOn(canvas, info);
  EXPECT_EQ(canvas.commands().back().pen.color, 0x654321);
}

// Objects refer to their resources by index; when an entry leaves the table
// the indexes behind it move with it, so every object keeps its own record.
TEST(PageObjectResources, IndexesFollowTheTableAcrossRelease) {
  TPvResourceTable table;
  TPvPen pens[3];
  TPvPen* stored[3];
  for (int i = 0; i < 3; ++i) {
    pens[i].Color = 0x10 * (i + 1);
    pens[i].Width = 4;
    stored[i] = table.Pens.FindOrAdd(pens[i]);
  }
  TPvBrush brush;
  brush.Color = clRed;
  table.Brushes.FindOrAdd(brush);
  TPvFont font;
  font.Name = "Arial";
  table.Fonts.FindOrAdd(font);

  TPvLineObject first(&table), second(&table), third(&table);
  first.SetPenIndex(0);
  second.SetPenIndex(1);
  third.SetPenIndex(2);
  TPvTextBoxObject box(&table);
  box.SetPenIndex(2);
  box.SetBrushIndex(0);
  box.SetFontIndex(0);

  table.Pens.Release(stored[0]);
  EXPECT_EQ(first.PenIndex(), -1);  // its record is gone: the canvas pen draws
  EXPECT_EQ(second.PenIndex(), 0);
  EXPECT_EQ(third.PenIndex(), 1);
  EXPECT_EQ(second.Pen(), stored[1]);
  EXPECT_EQ(third.Pen(), stored[2]);
  EXPECT_EQ(box.Pen(), stored[2]);
  EXPECT_EQ(box.BrushIndex(), 0);  // other kinds are not touched
  EXPECT_EQ(box.FontIndex(), 0);

  RecordingCanvas canvas(CanvasKind::Printer, 600, 600);
  TPvDeviceInfo info{1, 600, 600, 1, false};
  second.SetRect({0, 0, 1, 1});
  second.DrawOn(canvas, info);
  EXPECT_EQ(canvas.commands().back().pen.color, 0x20);

  table.Clear();
  EXPECT_EQ(box.PenIndex(), -1);
  EXPECT_EQ(box.BrushIndex(), -1);
  EXPECT_EQ(box.FontIndex(), -1);
  EXPECT_EQ(table.UserCount(), 4);
}

TEST(PageObjectResources, ObjectsAndTablesMayEndInEitherOrder) {
  auto table = std::make_unique<TPvResourceTable>();
  auto early = std::make_unique<TPvLineObject>(table.get());
  auto late = std::make_unique<TPvLineObject>(table.get());
  EXPECT_EQ(table->UserCount(), 2);
  early.reset();
  EXPECT_EQ(table->UserCount(), 1);
  table.reset();  // the object outlives its table
  EXPECT_EQ(late->Owner(), nullptr);
  EXPECT_EQ(late->Pen(), nullptr);
}

TEST(PageObjectGeometry, UnitsOffsetAndScreenBounds) {
  TPvRectangleShape r(nullptr);
  int changes = 0;
  r.OnChange = [&](TPvBaseObject&) { ++changes; };
  r.SetLeft(pvMillimeters, 25.4);
  r.SetTop(pvInches, 2);
  r.SetRight(pvCentimeters, 5.08);
  r.SetBottom(pvTwips, 4320);
  EXPECT_EQ(changes, 4);
  r.SetTop(pvInches, 2);  // unchanged: no notification
  EXPECT_EQ(changes, 4);
  EXPECT_NEAR(static_cast<double>(r.Rect().Left), 1.0, 1e-12);
  EXPECT_NEAR(static_cast<double>(r.Rect().Right), 2.0, 1e-12);
  EXPECT_NEAR(static_cast<double>(r.Rect().Bottom), 3.0, 1e-12);
  EXPECT_NEAR(static_cast<double>(r.Bottom(pvMillimeters)), 76.2, 1e-9);

  r.OffsetBy(pvMillimeters, 12.7, -25.4);
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(r.DeviceRect(96, 96), (IntRect{144, 96, 240, 192}));

  TPvLineObject l(nullptr);
  l.SetRect({2.0, 1.0, 1.0, 1.0});  // horizontal, drawn right to left
  EXPECT_EQ(l.ScreenBounds(), (IntRect{93, 93, 195, 99}));
  EXPECT_EQ(l.BoundingBox(), l.ScreenBounds());
}

TEST(PageObjectValues, SavedKeys) {
  TPvTextBoxObject t(nullptr);
  t.SetRect({0.5, 1.25, 3, 2});
  t.SetText("Deník");
  TPvValueList v;
  t.SaveToValueList(v);
  // Defaults: no alignments, no flags, no pen or brush.
  EXPECT_EQ(v.Text(),
            "ID=14\r\nUI=-1\r\nT=Deník\r\nCR=0,0,0,0\r\nXY=500,1250\r\nF=-1\r\nXY2=3000,2000\r\nTP=0.000\r\n"
            "TH=0.000\r\n");

  t.SetWordBreak(false);
  t.SetCT(false);
  t.SetAlignment(pvAlignCenter);
  t.SetVertAlignment(pvBottom);
  t.SetPenIndex(2);
  t.SetBrushIndex(0);
  v.Clear();
  t.SaveToValueList(v);
  EXPECT_EQ(v.GetInteger("WB", 9), 0);
  EXPECT_EQ(v.GetInteger("CT", 9), 0);
  EXPECT_EQ(v.GetInteger("TA", 9), 2);
  EXPECT_EQ(v.GetInteger("VA", 9), 2);
  EXPECT_EQ(v.GetInteger("P", 9), 2);
  EXPECT_EQ(v.GetInteger("B", 9), 0);

  TPvLineObject l(nullptr);
  l.SetRect({0, 0, 1, 1});
  v.Clear();
  l.SaveToValueList(v);
  EXPECT_EQ(v.Text(), "ID=1\r\nUI=-1\r\nXY=0,0,1000,1000\r\n");
}

TEST(PageObjectValues, LoadingFillsDefaults) {
  TPvValueList v;
  v.SetText("ID=14\r\nT=x\r\nXY=100,200\r\nXY2=300,400\r\n");
  TPvTextBoxObject t(nullptr);
  int changes = 0;
  t.OnChange = [&](TPvBaseObject&) { ++changes; };
  ASSERT_TRUE(t.LoadFromValueList(v));
  EXPECT_EQ(changes, 0);  // loading is not an edit
  EXPECT_EQ(t.FontIndex(), -1);
  EXPECT_EQ(t.PenIndex(), -1);
  EXPECT_EQ(t.BrushIndex(), -1);
  EXPECT_TRUE(t.CT());
  EXPECT_TRUE(t.WordBreak());
  EXPECT_EQ(t.Alignment(), 0);
  EXPECT_EQ(t.VertAlignment(), pvTop);
  EXPECT_EQ(t.DeviceRect(1000, 1000), (IntRect{100, 200, 300, 400}));

  v.SetText("VA=9\r\n");  // out of range: top
  ASSERT_TRUE(t.LoadFromValueList(v));
  EXPECT_EQ(t.VertAlignment(), pvTop);
}

TEST(PageObjectValues, StreamRoundTrips) {
  std::vector<std::unique_ptr<TPvBaseObject>> objects;
  {
    auto l = std::make_unique<TPvLineObject>(nullptr);
    l->SetRect({0.1, 0.2, 0.3, 0.4});
    l->SetPenIndex(1);
    objects.push_back(std::move(l));
    auto r = std::make_unique<TPvRectangleShape>(nullptr);
    r->SetRect({1, 2, 3, 4});
    r->SetBrushIndex(3);
    r->UserIndex = 17;
    objects.push_back(std::move(r));
    auto t = textBox(pvMiddle, 0.25, pvAlignRight, false);
    t->SetText("Řádek 1\r\nŘádek 2\t{PAGE}");
    t->SetClipRect({0.5, 0.5, 1.5, 1.5});
    t->SetCT(false);
    t->SetFontIndex(4);
    objects.push_back(std::move(t));
    objects.push_back(textBox(pvTop, 0.5));  // every default
  }
  PvStream stream;
  for (const auto& o : objects) o->SaveToStream(stream);
  stream.seek(0);
  for (const auto& o : objects) {
    SCOPED_TRACE(o->TypeId());
    auto back = LoadPageObject(stream, nullptr);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->TypeId(), o->TypeId());
    TPvValueList a, b;
    o->SaveToValueList(a);
    back->SaveToValueList(b);
    EXPECT_EQ(b.Lines(), a.Lines());
    EXPECT_EQ(drawnAt(*back, 600), drawnAt(*o, 600));
  }
  EXPECT_EQ(stream.remaining(), 0);
}

TEST(PageObjectValues, DamagedOrUnknownRecordsLoadNothing) {
  PvStream whole;
  TPvLineObject l(nullptr);
  l.SetRect({0, 0, 1, 1});
  l.SaveToStream(whole);

  PvStream cut(whole.bytes().substr(0, whole.bytes().size() - 3));
  EXPECT_EQ(LoadPageObject(cut, nullptr), nullptr);

  // A record of an unknown kind is passed over whole: the next one loads.
  PvStream unknown;
  TPvWriter(unknown).WriteInteger(99);
  TPvValueList foreign;
  foreign.SetText("XY=1,2,3,4\r\nT=x");
  foreign.SaveToStream(unknown);
  l.SaveToStream(unknown);
  unknown.seek(0);
  EXPECT_EQ(LoadPageObject(unknown, nullptr), nullptr);
  auto next = LoadPageObject(unknown, nullptr);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->TypeId(), kPvLineObjectId);
  EXPECT_EQ(unknown.remaining(), 0);

  // After a damaged record the stream is back at its start.
  cut.seek(0);
  EXPECT_EQ(LoadPageObject(cut, nullptr), nullptr);
  EXPECT_EQ(cut.position(), 0);

  PvStream empty;
  EXPECT_EQ(LoadPageObject(empty, nullptr), nullptr);
  EXPECT_EQ(CreatePageObject(1, nullptr)->TypeId(), kPvLineObjectId);
  EXPECT_EQ(CreatePageObject(2, nullptr)->TypeId(), kPvRectangleShapeId);
  EXPECT_EQ(CreatePageObject(14, nullptr)->TypeId(), kPvTextBoxObjectId);
}

}  // namespace
}  // namespace vektrano::preview
