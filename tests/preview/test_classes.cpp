#include "preview/classes.h"

#include <gtest/gtest.h>

#include <type_traits>

#include <clocale>

namespace vektrano::preview {
namespace {

class TPvPreviewStub : public TPvComponent {
 public:
  std::string ClassName() const override { return "TPvPreview"; }
};

TEST(Classes, AboutTextIsTheClassAndVersion) {
  TPvPreviewStub c;
  // The version is written with "." whatever the locale's decimal separator.
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  std::setlocale(LC_NUMERIC, "cs_CZ.UTF-8");
  EXPECT_EQ(c.About(), "TPvPreview v2.96.6");
  std::setlocale(LC_NUMERIC, saved.c_str());
  c.SetAbout("jiný text");
  EXPECT_EQ(c.About(), "TPvPreview v2.96.6");
}

TEST(Classes, ValueReadsAndWritesInAnyUnit) {
  int fired = 0;
  TPvValue v([&](TPvValue&) { ++fired; });
  v.SetDeviceUnits(300, 600);
  EXPECT_EQ(v.Inches(), 0.5L);
  EXPECT_EQ(fired, 1);
  v.SetInches(0.5L);  // the same value: no event
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(v.Twips(), 720);
  EXPECT_NEAR(double(v.Value(pvMillimeters)), 12.7, 1e-12);
  EXPECT_EQ(v.DeviceUnits(96), 48);
  v.SetDeviceUnits(5, 0);  // no resolution: ignored
  EXPECT_EQ(v.Inches(), 0.5L);
  v.SetValue(pvCentimeters, 2.54L);
  EXPECT_NEAR(double(v.Inches()), 1, 1e-15);
  TPvValue other(25.4L, pvMillimeters);
  v.Assign(other);  // an assignment always fires
  EXPECT_EQ(fired, 3);

  TPvValuePoint p;
  int pairFired = 0;
  p.OnChange = [&](TPvCustomValueSize&) { ++pairFired; };
  p.X().SetInches(1);
  p.Y().SetInches(2);
  EXPECT_EQ(pairFired, 2);

  TPvValueRect r;
  r.SetRect({1, 2, 3, 4});
  EXPECT_EQ(r.AsRect(), (TPvRectExt{1, 2, 3, 4}));
  EXPECT_EQ(r.Value(3)->Inches(), 3);
  EXPECT_EQ(r.Value(0), nullptr);
  EXPECT_EQ(r.Value(5), nullptr);
}

TEST(Classes, MarginsAndTheirValues) {
  TPvMargins m;
  int fired = 0;
  m.OnChange = [&](TPvMargins&) { ++fired; };
  for (int i = 0; i < 4; ++i) EXPECT_EQ(m.Side(i)->Inches(), 0.5L);
  EXPECT_EQ(m.Values().ValueMeasurement, pvInches);
  EXPECT_EQ(m.Pen().color, clSilver);
  EXPECT_EQ(m.Pen().style, psDot);
  EXPECT_FALSE(m.Visible());

  m.Values().ValueMeasurement = pvMillimeters;  // converts nothing, fires nothing
  EXPECT_EQ(fired, 0);
  EXPECT_NEAR(m.Values().Left(), 12.7f, 1e-5);
  m.Values().Set(2, 25.4f);
  EXPECT_NEAR(double(m.Right().Inches()), 1, 1e-6);
  EXPECT_EQ(fired, 1);
  m.Values().Set(7, 1);
  EXPECT_EQ(m.Values().Get(7), 0.0f);
  EXPECT_EQ(fired, 1);

  m.SetVisible(false);  // unchanged: no event
  m.SetVisible(true);
  m.SetPen(m.Pen());  // a pen is always copied and announced
  EXPECT_EQ(fired, 3);
  m.SetAll({0.5L, 1, m.Right().Inches(), 0.5L});  // only the top changes
  EXPECT_EQ(fired, 4);

  // A4 at 600 units per inch (right margin back at 0.5 inch).
  m.Right().SetInches(0.5L);
  EXPECT_EQ(m.MarginRect(600, 210 / 25.4L, 297 / 25.4L), (IntRect{300, 600, 4661, 6716}));
  RecordingCanvas c(CanvasKind::Screen, 600, 600);
  m.Draw(c, 600, 8, 10, TPvRectExt{0.25L, 0.25L, 7.75L, 9.75L});
  ASSERT_EQ(c.find("rectangle").size(), 1u);  // printer margins not asked for
  m.SetShowPrinterMargins(true);
  c.clear();
  m.Draw(c, 600, 8, 10, TPvRectExt{0.25L, 0.25L, 7.75L, 9.75L});
  ASSERT_EQ(c.find("rectangle").size(), 2u);
  EXPECT_EQ(c.find("rectangle")[1]->points, (std::vector<IntPoint>{{150, 150}, {4650, 5850}}));
}

TEST(Classes, ShadowStripsBesideThePage) {
  TPvShadow s;
  EXPECT_EQ(s.Width(), 3);
  EXPECT_TRUE(s.Visible());
  RecordingCanvas c;
  c.setAnisotropic({600, 600}, {96, 96});
  c.setViewportOrg({10, 20});
  c.setClipRect({0, 0, 600, 600});
  s.Draw(c, {0, 0, 100, 150});
  auto rects = c.find("rectangle");
  ASSERT_EQ(rects.size(), 2u);
  // Plain pixels from the page corner, one pixel down and right.
  EXPECT_EQ(rects[0]->points, (std::vector<IntPoint>{{111, 24}, {114, 171}}));
  EXPECT_EQ(rects[1]->points, (std::vector<IntPoint>{{14, 171}, {114, 174}}));
  EXPECT_FALSE(c.clip());
  s.SetVisible(false);
  c.clear();
  s.Draw(c, {0, 0, 100, 150});
  EXPECT_TRUE(c.commands().empty());
}

TEST(Classes, PageGridLinesAndDots) {
  TPvPageGrid g;
  EXPECT_EQ(g.GridStyle(), pvNoGrid);
  RecordingCanvas c(CanvasKind::Screen, 600, 600);
  const Extended w = 210 / 25.4L, h = 297 / 25.4L;
  g.Draw(c, w, h, 600);
  EXPECT_TRUE(c.commands().empty());

  g.SetGridStyle(pvLines);
  g.Draw(c, w, h, 600);
  auto lines = c.find("line");
  ASSERT_EQ(lines.size(), 21u + 30u);
  EXPECT_EQ(lines[0]->points[0], (IntPoint{236, 0}));  // one spacing in
  EXPECT_EQ(lines[20]->points[0].x, 4961);            // the last on the right edge
  EXPECT_EQ(lines[50]->points[0].y, 7087);            // beyond the bottom edge
  for (auto* l : lines) EXPECT_TRUE(l->points[0].x > 0 || l->points[0].y > 0);

  c.clear();
  g.SetGridStyle(pvDots);
  g.Draw(c, 0.15L, 1, 600);  // narrower than half the spacing
  EXPECT_TRUE(c.commands().empty());
  g.Draw(c, 1, 1, 600);
  EXPECT_EQ(c.find("pixel").size(), 9u);  // 2.54 spacings rounded to 3 each way
}

class Page : public TPvPaperPage {
 public:
  Extended WidthInches() const override { return 8; }
  Extended HeightInches() const override { return 10; }
  TPvOrientation Orientation() const override { return pvPortrait; }
  void DrawPage(DeviceCanvas& c, int, int, bool thumbnail) override {
    ++draws;
    lastThumbnail = thumbnail;
    c.rectangle({600, 600, 1200, 1200});
  }
  int draws = 0;
  bool lastThumbnail = false;
};

TEST(Classes, PaperImagePlacesAndPaintsThePage) {
  Page page;
  TPvPaperImage img;
  int invalidated = 0;
  img.OnInvalidate = [&] { ++invalidated; };
  img.ControlWidth = 300;
  img.ControlHeight = 400;
  img.SetZoom(25);
  img.SetPage(&page);
  EXPECT_EQ(invalidated, 2);
  EXPECT_EQ(img.PageSizeInPixels(96), (IntPoint{192, 240}));
  // Centred inside the 30-pixel gutter.
  EXPECT_EQ(img.PageRect(), (IntRect{54, 80, 246, 320}));

  RecordingCanvas c;
  img.Paint(c);
  EXPECT_EQ(page.draws, 1);
  EXPECT_EQ(c.mapping().windowExt, (IntPoint{4800, 6000}));
  // The paper edge, then the page's own drawing in page units mapped to the screen.
  EXPECT_EQ(c.commands()[0].points[2], (IntPoint{54 + 192, 80 + 240}));
  EXPECT_EQ(c.find("rectangle")[0]->points, (std::vector<IntPoint>{{54 + 24, 80 + 24}, {54 + 48, 80 + 48}}));

  img.DrawContents = false;
  img.BeginUpdate();
  img.Paint(c);
  EXPECT_EQ(page.draws, 1);
  img.EndUpdate();
  img.EndUpdate();  // at 0 it stays at 0 and still repaints
  EXPECT_FALSE(img.IsUpdating());
  EXPECT_EQ(invalidated, 4);
}

TEST(Classes, PaperImageMousePositionsInPageInches) {
  Page page;
  TPvPaperImage img;
  img.ControlWidth = 1000;
  img.ControlHeight = 1200;
  img.SetZoom(100);
  img.SetPage(&page);
  const IntRect pr = img.PageRect();
  Extended x = 0, y = 0;
  int moves = 0;
  img.OnPageMouseDown = [&](TPvPaperImage&, TMouseButton, TShiftState, TPvValue& X, TPvValue& Y) {
    x = X.Inches();
    y = Y.Inches();
  };
  img.OnPageMouseMove = [&](TPvPaperImage&, TShiftState, TPvValue&, TPvValue&) { ++moves; };
  img.MouseDown(TMouseButton::Left, 0, pr.left + 96, pr.top + 48);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 0.5L);
  img.MouseDown(TMouseButton::Left, 0, pr.left - 10, pr.top);
  EXPECT_LT(x, 0);
  EXPECT_EQ(y, 0);
  img.BeginUpdate();
  img.MouseMove(0, 5, 5);  // ignored while updating
  img.EndUpdate();
  img.MouseMove(0, 5, 5);
  EXPECT_EQ(moves, 1);
}

TEST(Classes, PageObjectsAndTheirList) {
  struct Obj : TPvVisibleObject {
    using TPvVisibleObject::TPvVisibleObject;
    int TypeId() const override { return 14; }
    void Draw(DeviceCanvas& c, const TPvDeviceInfo&) override { c.rectangle({5, 6, 20, 30}); }
  };
  Obj o(nullptr);
  EXPECT_TRUE(o.Visible);
  EXPECT_EQ(o.UserIndex, -1);
  EXPECT_EQ(o.BoundingBox(), (IntRect{5, 6, 20, 30}));

  o.UserIndex = 3;
  PvStream s;
  o.SaveToStream(s);
  s.seek(0);
  std::int32_t id = 0;
  ASSERT_TRUE(TPvReader(s).ReadInteger(id));
  EXPECT_EQ(id, 14);
  Obj back(nullptr);
  ASSERT_TRUE(back.LoadFromStream(s));
  EXPECT_EQ(back.UserIndex, 3);
  PvStream cut(s.bytes().substr(0, 10));
  cut.seek(4);
  EXPECT_FALSE(back.LoadFromStream(cut));

  // An invisible object is drawn on the screen but not printed.
  o.Visible = false;
  RecordingCanvas screen, printer(CanvasKind::Printer, 600, 600);
  o.DrawOn(screen, {});
  o.DrawOn(printer, {});
  EXPECT_EQ(screen.commands().size(), 1u);
  EXPECT_TRUE(printer.commands().empty());

  TPvBaseObjectList list;
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  TPvBaseObject* a = list.Add(std::make_unique<Obj>(nullptr));
  TPvBaseObject* b = list.Insert(-5, std::make_unique<Obj>(nullptr));  // clamped to the front
  EXPECT_EQ(list.IndexOf(b), 0);
  EXPECT_EQ(list.IndexOf(a), 1);
  EXPECT_EQ(changes, 2);
  a->Changed();
  EXPECT_EQ(changes, 3);
  a->Updating = true;
  a->Changed();
  EXPECT_EQ(changes, 3);

  // Its objects' change events point at the list itself, so it cannot be
  // moved or copied away from them.
  static_assert(!std::is_move_constructible_v<TPvBaseObjectList>);
  static_assert(!std::is_move_assignable_v<TPvBaseObjectList>);
  static_assert(!std::is_copy_constructible_v<TPvBaseObjectList>);
}

}  // namespace
}  // namespace vektrano::preview
