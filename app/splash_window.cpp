#include "app/splash_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "platform/cp1250.h"

namespace vektrano {
namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 400;

// A mast on a hill sending its waves, the program's name below.
QPixmap splashPicture() {
  QPixmap pm(kWidth, kHeight);
  pm.fill(QColor(192, 192, 192));
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);

  QPainterPath hill;
  hill.moveTo(0, 300);
  hill.cubicTo(120, 230, 200, 190, 250, 190);
  hill.cubicTo(300, 190, 380, 230, kWidth, 300);
  hill.lineTo(kWidth, kHeight);
  hill.lineTo(0, kHeight);
  hill.closeSubpath();
  p.fillPath(hill, QColor(112, 128, 112));

  p.setPen(QPen(QColor(48, 48, 48), 4));
  p.drawLine(250, 190, 250, 70);
  p.drawLine(250, 110, 230, 190);
  p.drawLine(250, 110, 270, 190);
  p.setPen(QPen(QColor(48, 48, 48), 3));
  p.drawLine(225, 80, 275, 80);

  p.setPen(QPen(QColor(160, 32, 32), 3));
  for (int r = 30; r <= 90; r += 30) {
    const QRectF arc(250 - r, 70 - r, 2 * r, 2 * r);
    p.drawArc(arc, -40 * 16, 80 * 16);
    p.drawArc(arc, 140 * 16, 80 * 16);
  }

  p.setPen(QColor(32, 32, 32));
  QFont title = p.font();
  title.setPixelSize(44);
  title.setBold(true);
  p.setFont(title);
  p.drawText(QRect(0, 255, kWidth, 60), Qt::AlignCenter, platform::toQString("VEKTRANO"));
  QFont sub = p.font();
  sub.setPixelSize(18);
  sub.setBold(false);
  p.setFont(sub);
  p.setPen(QColor(240, 240, 240));
  p.drawText(QRect(0, 315, kWidth, 30), Qt::AlignCenter, platform::toQString("Deník NOVR"));
  p.drawText(QRect(0, 350, kWidth, 30), Qt::AlignCenter,
             platform::toQString("Probíhá spouštění programu, čekejte prosím"));
  return pm;
}

}  // namespace

TForm18::TForm18(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle(platform::toQString("Probíhá spouštění programu VEKTRANO, čekejte prosím"));
  setFixedSize(kWidth, kHeight);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(pal);
  Image1 = new QLabel(this);
  Image1->setGeometry(0, 0, kWidth, kHeight);
  Image1->setPixmap(splashPicture());
  centre();
}

void TForm18::centre() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect r = rect();
    r.moveCenter(screen->geometry().center());
    move(r.topLeft());
  }
}

void TForm18::setStaysOnTop(bool on) {
  if (bool(windowFlags() & Qt::WindowStaysOnTopHint) == on) return;
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);  // hides the window
  if (visible) {
    show();
    if (!on) lower();
  }
}

}  // namespace vektrano
