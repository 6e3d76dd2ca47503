#include "preview/gui/painter_canvas.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <functional>

#include "preview/classes.h"
#include "preview/units.h"
#include "tests/support/temp_dir.h"

namespace vektrano::preview {
namespace {

QRgb rgbOf(TColor c) { return toQColor(c).rgb(); }

// Runs the same drawing on a white image through the QPainter canvas and on
// a recording canvas, so a test can check the pixels against the logged
// device coordinates.
struct Drawn {
  QImage image;
  RecordingCanvas recording;
  QRgb at(int x, int y) const { return image.pixel(x, y); }
  bool inkIn(int x0, int x1, int y0, int y1) const {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
  }
};

Drawn drawBoth(const std::function<void(DeviceCanvas&)>& draw, int w = 120, int h = 120) {
  Drawn d{QImage(w, h, QImage::Format_RGB32), RecordingCanvas(CanvasKind::Screen, 96, 96)};
  d.image.fill(Qt::white);
  {
    QPainter painter(&d.image);
    PainterCanvas canvas(painter, CanvasKind::Screen, 96, 96);
    draw(canvas);
  }
  draw(d.recording);
  return d;
}

TEST(PainterCanvas, ColoursAreConvertedHereOnly) {
  EXPECT_EQ(toQColor(clRed), QColor(255, 0, 0));      // $00BBGGRR
  EXPECT_EQ(toQColor(0x00336699), QColor(0x99, 0x66, 0x33));
  EXPECT_FALSE(toQColor(clNone).isValid());
  EXPECT_EQ(toQColor(clBtnFace), QColor(0xD4, 0xD0, 0xC8));
  EXPECT_EQ(toQColor(clWindowText), QColor(Qt::black));
}

TEST(PainterCanvas, RectangleOutlineAndFillLandOnTheRecordedPixels) {
  auto d = drawBoth([](DeviceCanvas& c) {
    c.brush() = {clRed, bsSolid};
    c.rectangle({10, 10, 30, 30});
  });
  EXPECT_EQ(d.recording.lines()[0].substr(0, 20), "rectangle 10,10,30,3");
  EXPECT_EQ(d.at(10, 10), qRgb(0, 0, 0));  // outline on the first and last pixels
  EXPECT_EQ(d.at(29, 29), qRgb(0, 0, 0));
  EXPECT_EQ(d.at(29, 15), qRgb(0, 0, 0));
  EXPECT_EQ(d.at(30, 30), qRgb(255, 255, 255));  // right and bottom edges excluded
  EXPECT_EQ(d.at(30, 15), qRgb(255, 255, 255));
  EXPECT_EQ(d.at(20, 20), rgbOf(clRed));
}

TEST(PainterCanvas, ClearPenClearBrushAndNone) {
  struct Case {
    const char* what;
    CanvasPen pen;
    CanvasBrush brush;
    QRgb first, last, inside;  // pixels (10,10), (29,29), (20,20)
  } cases[] = {
      {"clear pen: fill one pixel smaller", {clBlack, 1, psClear}, {clBlue, bsSolid}, qRgb(0, 0, 255),
       qRgb(255, 255, 255), qRgb(0, 0, 255)},
      {"clNone pen likewise", {clNone, 1}, {clBlue, bsSolid}, qRgb(0, 0, 255), qRgb(255, 255, 255),
       qRgb(0, 0, 255)},
      {"clear brush: outline only", {}, {clBlue, bsClear}, qRgb(0, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255)},
      {"clNone brush: outline only", {}, {clNone, bsSolid}, qRgb(0, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255)},
  };
  for (const auto& c : cases) {
    auto d = drawBoth([&](DeviceCanvas& cv) {
      cv.pen() = c.pen;
      cv.brush() = c.brush;
      cv.rectangle({10, 10, 30, 30});
    });
    EXPECT_EQ(d.at(10, 10), c.first) << c.what;
    EXPECT_EQ(d.at(29, 29), c.last) << c.what;
    EXPECT_EQ(d.at(20, 20), c.inside) << c.what;
  }
}

TEST(PainterCanvas, AnisotropicMappingAndClip) {
  // A page of 600 units per inch shown at 96 pixels per inch, 5 pixels in.
  auto d = drawBoth([](DeviceCanvas& c) {
    c.setAnisotropic({600, 600}, {96, 96});
    c.setViewportOrg({5, 5});
    c.brush() = {clRed, bsSolid};
    c.rectangle({0, 0, 600, 300});  // device 5,5 .. 101,53
    c.setClipRect({0, 0, 300, 600});  // device 5,5 .. 53,101
    c.setPlainMapping();              // the clip stays where it is
    c.brush() = {clBlue, bsSolid};
    c.fillRect({0, 60, 110, 70});
    c.setPixel(20, 80, clRed);
    c.setPixel(60, 80, clRed);  // outside the clip
  });
  auto rects = d.recording.find("rectangle");
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0]->points, (std::vector<IntPoint>{{5, 5}, {101, 53}}));
  EXPECT_EQ(d.recording.find("clip")[0]->line, "clip 5,5,53,101");

  EXPECT_EQ(d.at(5, 5), qRgb(0, 0, 0));
  EXPECT_EQ(d.at(100, 52), qRgb(0, 0, 0));
  EXPECT_EQ(d.at(101, 53), qRgb(255, 255, 255));
  EXPECT_EQ(d.at(50, 30), rgbOf(clRed));
  // The fill is cut at the clip's right edge; pixels outside are not set.
  EXPECT_EQ(d.at(10, 65), rgbOf(clBlue));
  EXPECT_EQ(d.at(52, 65), rgbOf(clBlue));
  EXPECT_EQ(d.at(53, 65), qRgb(255, 255, 255));
  EXPECT_EQ(d.at(4, 65), qRgb(255, 255, 255));  // nor left of it
  EXPECT_EQ(d.at(25, 85), rgbOf(clRed));        // plain mapping keeps the origin
  EXPECT_EQ(d.at(65, 85), qRgb(255, 255, 255));
}

TEST(PainterCanvas, ThinLinesStopBeforeTheirLastPixel) {
  auto d = drawBoth([](DeviceCanvas& c) {
    c.line(10, 10, 20, 10);
    c.line(10, 30, 10, 40);
  });
  std::string row, col;
  for (int i = 8; i < 23; ++i) {
    row += qGray(d.at(i, 10)) < 128 ? '#' : '.';
    col += qGray(d.at(10, i + 20)) < 128 ? '#' : '.';
  }
  EXPECT_EQ(row, "..##########...");
  EXPECT_EQ(col, "..##########...");
  EXPECT_EQ(d.recording.find("line")[0]->points, (std::vector<IntPoint>{{10, 10}, {20, 10}}));
}

TEST(PainterCanvas, GeometricPenScalesWithTheMapping) {
  auto d = drawBoth([](DeviceCanvas& c) {
    c.setAnisotropic({600, 600}, {96, 96});
    CanvasPen pen;
    pen.width = 60;  // 0.1 inch: about 10 device pixels
    pen.geometric = true;
    pen.cap = PenCap::Square;
    c.pen() = pen;
    c.line(60, 300, 540, 300);  // device y 48
  });
  EXPECT_EQ(d.recording.find("line")[0]->points, (std::vector<IntPoint>{{10, 48}, {86, 48}}));
  EXPECT_EQ(d.at(50, 44), qRgb(0, 0, 0));
  EXPECT_EQ(d.at(50, 52), qRgb(0, 0, 0));
  EXPECT_EQ(d.at(50, 58), qRgb(255, 255, 255));
  EXPECT_EQ(d.at(50, 38), qRgb(255, 255, 255));
}

TEST(PainterCanvas, TextIsPlacedByItsAdvances) {
  // Two characters 40 pixels apart: ink near each start, none between.
  auto d = drawBoth([](DeviceCanvas& c) {
    c.font().height = -20;
    c.brush().style = bsClear;
    c.textOut(10, 40, "ll", {40, 40});
  });
  EXPECT_EQ(d.recording.lines()[0], "text 10,40 \"ll\" adv=40,40 font=Arial/-20/96/0");
  EXPECT_TRUE(d.inkIn(10, 18, 40, 62));
  EXPECT_TRUE(d.inkIn(50, 58, 40, 62));
  EXPECT_FALSE(d.inkIn(20, 48, 30, 70));
  EXPECT_FALSE(d.inkIn(0, 120, 0, 38));  // the top of the cell is at y

  // A clip rectangle of the call cuts the second character away.
  const IntRect clip{0, 0, 30, 120};
  auto clipped = drawBoth([&](DeviceCanvas& c) {
    c.font().height = -20;
    c.brush().style = bsClear;
    c.textOut(10, 40, "ll", {40, 40}, &clip);
  });
  EXPECT_TRUE(clipped.inkIn(10, 18, 40, 62));
  EXPECT_FALSE(clipped.inkIn(30, 120, 0, 120));

  // A solid brush is the text's background.
  auto opaque = drawBoth([](DeviceCanvas& c) {
    c.font().height = -20;
    c.brush() = {clRed, bsSolid};
    c.textOut(10, 40, "ll", {40, 40});
  });
  EXPECT_EQ(opaque.at(30, 45), rgbOf(clRed));
  EXPECT_EQ(opaque.at(95, 45), qRgb(255, 255, 255));
}

TEST(PainterCanvas, PaperImageWithItsShadow) {
  struct Page : TPvPaperPage {
    Extended WidthInches() const override { return 2; }
    Extended HeightInches() const override { return 1; }
    TPvOrientation Orientation() const override { return pvPortrait; }
    void DrawPage(DeviceCanvas& c, int, int, bool) override {
      c.brush() = {clBlue, bsSolid};
      c.rectangle({300, 150, 600, 450});  // an inch square quarter, page units of 600
    }
  } page;
  TPvShadow shadow;
  TPvPaperImage img;
  img.ControlWidth = 200;
  img.ControlHeight = 150;
  img.SetZoom(50);  // 96 x 48 pixels at 52,51
  img.SetPage(&page);
  img.SetShadow(&shadow);
  auto d = drawBoth([&](DeviceCanvas& c) { img.Paint(c); }, 200, 150);
  EXPECT_EQ(img.PageRect(), (IntRect{52, 51, 148, 99}));
  EXPECT_EQ(d.at(60, 60), qRgb(255, 255, 255));  // paper
  EXPECT_EQ(d.at(52, 60), qRgb(0, 0, 0));        // its edge
  EXPECT_EQ(d.at(90, 70), rgbOf(clBlue));        // the page's own drawing, 600 to 96 x 0.5
  EXPECT_EQ(d.at(52 + 24, 51 + 12), qRgb(0, 0, 0));
  EXPECT_EQ(d.at(150, 70), qRgb(0, 0, 0));  // right shadow strip
  EXPECT_EQ(d.at(150, 53), qRgb(255, 255, 255));
  EXPECT_EQ(d.at(100, 101), qRgb(0, 0, 0));  // bottom strip
  EXPECT_EQ(d.at(160, 70), qRgb(255, 255, 255));
  auto rects = d.recording.find("rectangle");
  ASSERT_EQ(rects.size(), 3u);
  EXPECT_EQ(rects[0]->points, (std::vector<IntPoint>{{76, 63}, {100, 87}}));
  EXPECT_EQ(rects[1]->points, (std::vector<IntPoint>{{149, 55}, {152, 100}}));
}

TEST(PainterCanvas, LeavesThePainterAsItFoundIt) {
  QImage image(20, 20, QImage::Format_RGB32);
  QPainter painter(&image);
  const QPen pen(Qt::green, 3);
  painter.setPen(pen);
  {
    PainterCanvas c(painter);
    EXPECT_EQ(c.pixelsPerInchX(), image.logicalDpiX());
    c.setClipRect({0, 0, 5, 5});
    c.rectangle({0, 0, 10, 10});
  }
  EXPECT_EQ(painter.pen(), pen);
  EXPECT_FALSE(painter.hasClipping());
}

TEST(PainterCanvas, DrawsIntoAPdfAsAPrinter) {
  test::TempDir dir;
  const QString path = QString::fromStdString(dir.file("strana.pdf"));
  {
    QPdfWriter writer(path);
    writer.setResolution(600);
    QPainter painter(&writer);
    PainterCanvas c(painter, CanvasKind::Printer);
    EXPECT_EQ(c.pixelsPerInchY(), 600);
    EXPECT_EQ(c.font().size(), 8);
    EXPECT_TRUE(IsPrinterCanvas(c));
    c.rectangle({600, 600, 1200, 1200});
    c.textOut(600, 1300, "Příliš žluťoučký kůň", {});
  }
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.read(5) == "%PDF-");
  EXPECT_GT(f.size(), 500);
}

}  // namespace
}  // namespace vektrano::preview
