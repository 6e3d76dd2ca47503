// Zoom steps and limits, fitting, the scroll position kept across a zoom,
// and the stored margin values.
#include "preview/zoom.h"

#include <gtest/gtest.h>

namespace vektrano::preview {
namespace {

TEST(Zoom, StepsAndLimits) {
  struct Case {
    int zoom;
    TPvZoomStyle style;
    int in, out;
  } cases[] = {
      {20, pvVariableZoom, 30, 14},
      {23, pvVariableZoom, 30, 20},  // between levels
      {7, pvVariableZoom, 10, 7},    // no level below: it stays
      {400, pvVariableZoom, 400, 350},  // 500 is beyond the maximum
      {5, pvVariableZoom, 7, 5},
      {20, pvFixedZoom, 30, 10},
      {398, pvFixedZoom, 400, 388},
      {12, pvFixedZoom, 22, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.zoom) + (c.style == pvFixedZoom ? " fixed" : " variable"));
    EXPECT_EQ(ZoomInStep(c.zoom, c.style, 10, 5, 400), c.in);
    EXPECT_EQ(ZoomOutStep(c.zoom, c.style, 10, 5, 400), c.out);
  }
  EXPECT_EQ(ZoomInStep(800, pvVariableZoom, 10, 5, 1000), 800);  // no level above
  EXPECT_EQ(LimitZoom(1000, 5, 400), 400);
  EXPECT_EQ(LimitZoom(-3, 5, 400), 5);
  EXPECT_EQ(NewMaxZoom(3, 5), 5);
  EXPECT_EQ(NewMinZoom(500, 400), 400);
  EXPECT_EQ(NewMinZoom(0, 400), 1);  // a zoom of 0 would divide by nothing
  EXPECT_EQ(NewMinZoom(-20, 400), 1);
}

TEST(Zoom, FittingThePage) {
  // A4 (8.27 x 11.69 in) in a tall control: the width is what limits.
  FitInput tall{600, 2000, {30, 30, 30, 30}, 210 / 25.4L, 297 / 25.4L};
  EXPECT_EQ(FitWidthZoom(tall), 65);    // (600 - 80) / (8.268 x 96) = 0.655
  EXPECT_EQ(FitHeightZoom(tall), 171);  // (2000 - 80) / (11.69 x 96) = 1.7104
  EXPECT_EQ(FitWholePageZoom(tall), 65);
  FitInput wide{2000, 600, {30, 30, 30, 30}, 210 / 25.4L, 297 / 25.4L};
  EXPECT_EQ(FitWholePageZoom(wide), FitHeightZoom(wide));
  EXPECT_EQ(FitWidthZoom({600, 600, {}, 0, 0}), 0);
}

TEST(Zoom, ScrollPositionKeptAsPerCent) {
  EXPECT_EQ(ScrollPercent(50, 300, 200), 50);
  EXPECT_EQ(ScrollPercent(10, 200, 300), 0);  // nothing to scroll
  EXPECT_EQ(ScrollPosition(600, 200, 50), 200);
  EXPECT_EQ(ScrollPosition(100, 200, 50), 0);
}

TEST(Zoom, MarginValuesText) {
  TPvMargins m;
  EXPECT_EQ(MarginValuesText(m), "720,720,720,720,\"12632256,1,2,4\",\"12632256,1,2,4\"");

  TPvMargins read;
  SetMarginValuesText(read, "1440,720,360,0,\"255,2,0,4\",\"65280,1,1,4\"");
  EXPECT_EQ(read.Left().Inches(), 1);
  EXPECT_EQ(read.Right().Inches(), 0.25L);
  EXPECT_EQ(read.Bottom().Inches(), 0);
  EXPECT_EQ(read.Pen().color, 255);
  EXPECT_EQ(read.Pen().width, 2);
  EXPECT_EQ(read.Pen().style, psSolid);
  EXPECT_EQ(read.PrinterMarginPen().color, 65280);
  EXPECT_EQ(read.PrinterMarginPen().style, psDash);

  // Fewer items: only what is there is read.
  TPvMargins few;
  SetMarginValuesText(few, "1440,1440");
  EXPECT_EQ(few.Left().Inches(), 1);
  EXPECT_EQ(few.Top().Inches(), 1);
  EXPECT_EQ(few.Right().Inches(), 0.5L);
  EXPECT_EQ(few.Pen().color, clSilver);
  SetMarginValuesText(few, "");
  EXPECT_EQ(few.Left().Inches(), 1);
  // Damaged pens change nothing.
  SetMarginValuesText(few, "720,720,720,720,\"x,1,2,4\",\"1,2,99,4\"");
  EXPECT_EQ(few.Pen().color, clSilver);
  EXPECT_EQ(few.PrinterMarginPen().style, psDot);
  EXPECT_EQ(few.Left().Inches(), 0.5L);
}

}  // namespace
}  // namespace vektrano::preview
