#include "preview/gui/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace vektrano::preview {

namespace {

constexpr int kSize = 24;

void page(QPainter& p, const QRectF& r) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawRect(r);
}

void triangle(QPainter& p, bool left, qreal x) {
  QPolygonF t;
  if (left) t << QPointF(x + 7, 5) << QPointF(x, 12) << QPointF(x + 7, 19);
  else t << QPointF(x, 5) << QPointF(x + 7, 12) << QPointF(x, 19);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 128));
  p.drawPolygon(t);
}

void magnifier(QPainter& p, const char* mark) {
  p.setPen(QPen(Qt::black, 2));
  p.setBrush(QColor(230, 240, 255));
  p.drawEllipse(QRectF(3, 3, 12, 12));
  p.drawLine(QPointF(14, 14), QPointF(21, 21));
  p.setPen(QPen(Qt::black, 1.5));
  const QString m = QString::fromLatin1(mark);
  if (m == QLatin1String("+") || m == QLatin1String("-")) p.drawLine(QPointF(6, 9), QPointF(12, 9));
  if (m == QLatin1String("+")) p.drawLine(QPointF(9, 6), QPointF(9, 12));
  if (m == QLatin1String("1")) p.drawLine(QPointF(9, 6), QPointF(9, 12));
}

void arrows(QPainter& p, bool horizontal, bool vertical) {
  p.setPen(QPen(QColor(0, 0, 128), 1.5));
  if (horizontal) {
    p.drawLine(QPointF(6, 12), QPointF(18, 12));
    p.drawLine(QPointF(6, 12), QPointF(9, 9));
    p.drawLine(QPointF(6, 12), QPointF(9, 15));
    p.drawLine(QPointF(18, 12), QPointF(15, 9));
    p.drawLine(QPointF(18, 12), QPointF(15, 15));
  }
  if (vertical) {
    p.drawLine(QPointF(12, 5), QPointF(12, 19));
    p.drawLine(QPointF(12, 5), QPointF(9, 8));
    p.drawLine(QPointF(12, 5), QPointF(15, 8));
    p.drawLine(QPointF(12, 19), QPointF(9, 16));
    p.drawLine(QPointF(12, 19), QPointF(15, 16));
  }
}

}  // namespace

QIcon PvGlyph(std::string_view name) {
  QPixmap pm(kSize, kSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  if (name == "FIRST") {
    p.fillRect(QRectF(5, 5, 2, 14), QColor(0, 0, 128));
    triangle(p, true, 9);
  } else if (name == "PREV") {
    triangle(p, true, 8);
  } else if (name == "NEXT") {
    triangle(p, false, 9);
  } else if (name == "LAST") {
    triangle(p, false, 8);
    p.fillRect(QRectF(17, 5, 2, 14), QColor(0, 0, 128));
  } else if (name == "ADDPAGE" || name == "DELETEPAGE" || name == "CLEAR") {
    page(p, QRectF(5, 3, 12, 17));
    p.setPen(QPen(name == "ADDPAGE" ? QColor(0, 128, 0) : QColor(192, 0, 0), 2));
    if (name == "ADDPAGE") {
      p.drawLine(QPointF(15, 16), QPointF(21, 16));
      p.drawLine(QPointF(18, 13), QPointF(18, 19));
    } else if (name == "DELETEPAGE") {
      p.drawLine(QPointF(14, 13), QPointF(20, 19));
      p.drawLine(QPointF(20, 13), QPointF(14, 19));
    } else {
      p.drawLine(QPointF(5, 3), QPointF(17, 20));
      p.drawLine(QPointF(17, 3), QPointF(5, 20));
    }
  } else if (name == "ZOOMIN") {
    magnifier(p, "+");
  } else if (name == "ZOOMOUT") {
    magnifier(p, "-");
  } else if (name == "ACTUALSIZE") {
    magnifier(p, "1");
  } else if (name == "FITWIDTH" || name == "FITHEIGHT" || name == "FITWHOLEPAGE") {
    page(p, QRectF(4, 3, 16, 18));
    arrows(p, name != "FITHEIGHT", name != "FITWIDTH");
  } else if (name == "Paper") {
    page(p, QRectF(6, 2, 12, 18));
  } else if (name == "Envelope") {
    page(p, QRectF(2, 6, 20, 12));
    p.drawLine(QPointF(2, 6), QPointF(12, 13));
    p.drawLine(QPointF(22, 6), QPointF(12, 13));
  } else if (name == "Printer") {
    page(p, QRectF(7, 2, 10, 8));
    p.setBrush(QColor(160, 160, 160));
    p.drawRect(QRectF(3, 9, 18, 8));
    page(p, QRectF(7, 15, 10, 6));
  } else {
    return QIcon();
  }
  p.end();
  return QIcon(pm);
}

}  // namespace vektrano::preview
