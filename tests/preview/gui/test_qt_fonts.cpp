#include "preview/qt_fonts.h"

#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/cp1250.h"
#include "preview/font_mapper.h"
#include "preview/measurer.h"

namespace vektrano::preview {
namespace {

// Arial's advance widths in font units of 2048 to the em, which its metric
// twin shares: H 1479, e 1139, l 455, o 1139.
TEST(QtFonts, ArialMeasuresWithArialMetrics) {
  const QString family = qtFamilyFor("Arial");
  ASSERT_TRUE(family == "Arial" || family == "Liberation Sans") << family.toStdString();
  CanvasFont f;
  f.name = "Arial";
  f.height = -2048;
  f.pixelsPerInch = 2048 * 72 / 10;
  EXPECT_EQ(QFontInfo(toQFont(f)).family(), family);
  auto m = makeQtMeasurer();
  EXPECT_NEAR(m->textWidth(f, "Hello"), 1479 + 1139 + 455 + 455 + 1139, 2);
  EXPECT_NEAR(m->textWidth(f, "l"), 455, 1);
  EXPECT_GT(m->textHeight(f), 2048);  // the cell is taller than the em

  // A name the machine does not know is left to Qt's own fallback.
  EXPECT_EQ(qtFamilyFor("Nejaké písmo"), platform::toQString("Nejaké písmo"));
}

TEST(QtFonts, MapperMeasuresAtItsResolution) {
  TPvFontMapper mapper(makeQtMeasurer(), 7200);
  CanvasFont f;
  f.name = "Arial";
  f.setSize(10);
  // At 7200 per inch a 10-point em is 1000 units: "l" is 455/2048 of it.
  EXPECT_NEAR(double(mapper.MappedTextWidth(f, "llll")), 4 * 455.0 / 2048 * 1000 / 7200, 2.0 / 7200);
}

}  // namespace
}  // namespace vektrano::preview
