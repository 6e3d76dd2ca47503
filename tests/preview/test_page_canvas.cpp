// The canvas of a document: drawing calls become page objects in inches
// with shared resources; text boxes are as tall as their lines.
#include "preview/page_canvas.h"

#include <gtest/gtest.h>

#include "preview/font_mapper.h"
#include "preview/pages.h"
#include "tests/preview/fake_print_device.h"

namespace vektrano::preview {
namespace {

// Fixed-width text: at 10 pt a character is half an em (5 pt) wide and a
// line 1150/1000 of the em tall.
class Canvas : public ::testing::Test {
 protected:
  void SetUp() override { SetFontMapperMeasurer(std::make_unique<FixedWidthMeasurer>()); }
  test::FakePrintDevice* dev = nullptr;
  TPvPageList list{test::fakeDevice(dev)};
  TPvCanvas& canvas = list.Canvas;
  static constexpr Extended kLine = 1150.0L / 7200;  // one 10 pt line, inches
};

TEST_F(Canvas, LinesAndRectanglesInAnyUnitShareTheirResources) {
  TPvLineObject* l = canvas.Line(pvMillimeters, 25.4, 0, 50.8, 0);
  EXPECT_NEAR(double(l->Rect().Left), 1.0, 1e-12);
  EXPECT_NEAR(double(l->Rect().Right), 2.0, 1e-12);
  EXPECT_EQ(canvas.LastObject(), l);
  EXPECT_EQ(l->BrushIndex(), -1);  // a line has only a pen

  canvas.Pen.color = clRed;
  canvas.Brush = {clBlue, bsSolid};
  TPvRectangleShape* a = canvas.Rectangle(pvInches, 0, 0, 1, 1);
  TPvRectangleShape* b = canvas.Rectangle(pvCentimeters, 1, 1, 2, 2);
  EXPECT_EQ(a->PenIndex(), b->PenIndex());
  EXPECT_EQ(a->BrushIndex(), b->BrushIndex());
  EXPECT_NE(a->PenIndex(), l->PenIndex());
  EXPECT_EQ(list.Resources.Pens.Count(), 2);
  EXPECT_EQ(list.Resources.Brushes.Count(), 1);
  EXPECT_EQ(list.Resources.Pens.References.RefCount(a->PenIndex()), 2);
  EXPECT_EQ(list.Items(0)->Objects().Count(), 3);

  canvas.Visible = false;
  EXPECT_FALSE(canvas.Rectangle(pvInches, 0, 0, 1, 1)->Visible);

  canvas.CoordsRelativeTo = pvFromUserMargins;
  list.Margins.Left().SetInches(0.5);
  EXPECT_NEAR(double(canvas.Rectangle(pvInches, 0, 0, 1, 1)->Rect().Left), 0.5, 1e-12);
}

TEST_F(Canvas, TextBoxesAreAsTallAsTheirLines) {
  canvas.Font.setSize(10);
  // "abc defg" at 10 pt: 8 characters of 5/72 in; 0.4 in less the padding
  // holds "abc " but not "abc defg".
  const Extended oneLine = canvas.TextBoxHeight("abc", pvInches, 2, 0.1);
  EXPECT_NEAR(double(oneLine), double(kLine + 0.2L), 1e-12);
  EXPECT_NEAR(double(canvas.TextBoxHeight("abc defg", pvInches, 0.5, 0.05)), double(2 * kLine + 0.1L), 1e-12);
  EXPECT_NEAR(double(canvas.TextBoxHeight("", pvInches, 0.5, 0.05)), 0.1, 1e-12);
  // In another unit, all of it in that unit.
  EXPECT_NEAR(double(canvas.TextBoxHeight("abc", pvMillimeters, 50.8, 2.54)),
              double(kLine * 25.4L + 5.08L), 1e-9);
  canvas.WordWrap = false;
  EXPECT_NEAR(double(canvas.TextBoxHeight("abc defg", pvInches, 0.5, 0.05)), double(kLine + 0.1L), 1e-12);
  canvas.WordWrap = true;

  // Bottom 0: the box takes the text's height, padding included.
  TPvTextBoxObject* grown = canvas.TextBox("abc defg", pvAlignLeft, 1, 1, 1.5, 0, 0.05, pvTop, pvInches);
  EXPECT_NEAR(double(grown->Rect().Bottom - grown->Rect().Top), double(2 * kLine + 0.1L), 1e-12);
  EXPECT_NEAR(double(grown->TextHeight()), double(2 * kLine + 0.1L), 1e-12);
  EXPECT_NEAR(double(grown->Padding()), 0.05, 1e-12);
  EXPECT_TRUE(grown->WordBreak());

  // A given bottom with the middle alignment keeps the box and measures the
  // text to centre it.
  TPvTextBoxObject* mid = canvas.TextBox("abc", pvAlignCenter, 1, 1, 3, 2, 0.1, pvMiddle, pvInches);
  EXPECT_NEAR(double(mid->Rect().Bottom), 2.0, 1e-12);
  EXPECT_NEAR(double(mid->TextHeight()), double(kLine + 0.2L), 1e-12);
  EXPECT_EQ(mid->Alignment(), pvAlignCenter);
  EXPECT_EQ(mid->VertAlignment(), pvMiddle);
  // A given bottom at the top: the text is as tall as the box.
  TPvTextBoxObject* top = canvas.TextBox("abc", pvAlignLeft, 0, 0, 96, 48, 0, pvTop, pvPixels);
  EXPECT_NEAR(double(top->TextHeight()), 0.5, 1e-12);

  // The font, pen and brush of every box of one look are stored once.
  EXPECT_EQ(list.Resources.Fonts.Count(), 1);
  EXPECT_EQ(list.Resources.Fonts.References.RefCount(0), 3);
  EXPECT_EQ(list.Resources.Fonts.Items(0)->Size, 10);

  // Drawn, the lines measured fill the box exactly: the text rectangle is
  // the box less its padding, and the lines are those of the measuring.
  RecordingCanvas c(CanvasKind::Printer, 600, 600);
  grown->DrawOn(c, {1, 600, 600, 1, false});
  auto t = c.find("drawtext");
  ASSERT_EQ(t.size(), 1u);
  const int lines = 2;
  const int lineHeight = static_cast<int>(roundHalfEven(kLine * 600));
  EXPECT_EQ(t[0]->points[1].y - t[0]->points[0].y, lines * lineHeight);
}

}  // namespace
}  // namespace vektrano::preview
