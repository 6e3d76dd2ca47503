// The entry line's frame copied from a picture looks as the style draws it:
// at each size and palette, also after the edit was resized or recoloured.
#include "app/line_edit_frame.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <cstdlib>

namespace vektrano {
namespace {

// The largest difference of one colour channel between two pictures.
int largestDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 256;
  const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
  int worst = 0;
  for (int row = 0; row < x.height(); ++row)
    for (int col = 0; col < x.width(); ++col) {
      const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
      worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q))});
    }
  return worst;
}

TEST(LineEditFrame, PictureLooksAsTheStyleDrawsIt) {
  QLineEdit drawn, copied;
  keepFramePicture(&copied);
  struct Case {
    const char* what;
    QSize size;
    QColor base;
  };
  const Case cases[] = {
      {"wide", {600, 48}, Qt::white},
      {"the same again", {600, 48}, Qt::white},
      {"resized", {420, 60}, Qt::white},
      {"recoloured", {420, 60}, QColor(255, 255, 160)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (QLineEdit* e : {&drawn, &copied}) {
      e->resize(c.size);
      QPalette p = e->palette();
      p.setColor(QPalette::Base, c.base);
      e->setPalette(p);
      e->setText("Ok1abc JN79US 59");
    }
    // Antialiased edges may round one step apart; a frame left at the old
    // size or colour differs by far more.
    EXPECT_LE(largestDifference(drawn.grab().toImage(), copied.grab().toImage()), 2);
  }
}

}  // namespace
}  // namespace vektrano
