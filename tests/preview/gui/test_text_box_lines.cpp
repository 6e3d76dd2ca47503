// A text box measured by the font mapper (real fonts, at the measuring
// resolution) and drawn by the QPainter canvas at printer resolution: the
// lines drawn are the lines measured, and all of them lie inside the box.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "preview/font_mapper.h"
#include "preview/gui/painter_canvas.h"
#include "preview/pages.h"

namespace vektrano::preview {
namespace {

// Rows of the image (inside columns left..right) that hold ink, as runs.
std::vector<std::pair<int, int>> inkBands(const QImage& img, int left, int right) {
  std::vector<std::pair<int, int>> bands;
  bool in = false;
  for (int y = 0; y < img.height(); ++y) {
    bool ink = false;
    for (int x = left; x < right && !ink; ++x) ink = qGray(img.pixel(x, y)) < 128;
    if (ink && !in) bands.push_back({y, y});
    if (ink) bands.back().second = y;
    in = ink;
  }
  return bands;
}

TEST(TextBoxLines, DrawnLinesAreTheMeasuredLines) {
  SetFontMapperMeasurer(makeQtMeasurer());
  TPvPageList list(nullptr);
  list.Canvas.Font.setSize(10);
  list.Canvas.WordWrap = true;
  // Capitals only: no descender or accent joins two lines' ink.
  const char* texts[] = {"ABC", "ABCD EFGH IJKL MNOP QRST UVWX YZAB CDEF GHIJ KLMN",
                         "HLAVNI TABULKA\r\nDRUHY RADEK TEXTU"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    TPvTextBoxObject* box = list.Canvas.TextBox(text, pvAlignLeft, 0.2, 0.2, 1.7, 0, 0.025, pvTop, pvInches);
    const int ppi = 600;
    QImage img(static_cast<int>(2 * ppi), static_cast<int>((box->Rect().Bottom + 0.3) * ppi), QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      QPainter p(&img);
      PainterCanvas c(p, CanvasKind::Printer, ppi, ppi);
      box->DrawOn(c, {1, ppi, ppi, 1, false});
    }
    const IntRect dev = box->DeviceRect(ppi, ppi);
    const int pad = static_cast<int>(roundHalfEven(0.025L * ppi));
    // The box's own outline is the canvas pen's: look inside it.
    const auto bands = inkBands(img, dev.left + pad, dev.right - pad);
    std::vector<std::pair<int, int>> inside;
    for (const auto& b : bands)
      if (b.first > dev.top + 1 && b.second < dev.bottom - 1) inside.push_back(b);
    // The measured height holds this many lines.
    const Extended textInches = box->TextHeight() - 2 * box->Padding();
    CanvasFont at600;
    at600.pixelsPerInch = 7200;
    at600.assignFrom(list.Canvas.Font);
    const Extended one = static_cast<Extended>(FontMapper().measurer().textHeight(at600)) / 7200;
    const int measured = static_cast<int>(roundHalfEven(textInches / one));
    EXPECT_GE(measured, 1);
    EXPECT_EQ(static_cast<int>(inside.size()), measured);
    ASSERT_FALSE(inside.empty());
    EXPECT_LT(inside.back().second, dev.bottom - pad);
  }
}

}  // namespace
}  // namespace vektrano::preview
