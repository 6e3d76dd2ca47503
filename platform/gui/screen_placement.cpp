#include "platform/gui/screen_placement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace vektrano::platform {
namespace {

// The window manager reparents a new window and sends its frame a moment
// after the show; until then the window may still be moved in.
constexpr int kSettleMs = 3000;
constexpr int kCheckMs = 50;

int within(int start, int length, int low, int extent) {
  if (length >= extent) return low;
  return std::clamp(start, low, low + extent - length);
}

class ScreenGuard : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    if (!w->isWindow() || !placedByUs(w)) return false;
    fit(w);
    // The frame arrives later, without the window moving: look again a few
    // times until the window manager has put it around.
    QPointer<QWidget> window(w);
    auto* timer = new QTimer(this);
    auto* shown = new QElapsedTimer;
    shown->start();
    timer->setInterval(kCheckMs);
    connect(timer, &QTimer::timeout, this, [window, timer, shown] {
      const bool over = !window || !window->isVisible() || shown->elapsed() > kSettleMs;
      if (!over) fit(window);
      if (over || framed(window)) {
        timer->stop();
        timer->deleteLater();
        delete shown;
      }
    });
    timer->start();
    return false;
  }

 private:
  static bool placedByUs(const QWidget* w) {
    const Qt::WindowType type = w->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Tool ||
           type == Qt::SplashScreen;
  }

  // The widget keeps the frame it saw last and learns of a new one only when
  // the window moves; a window manager that frames the window where it
  // stands moves nothing. Its native window asks the window system afresh.
  static QRect frameOf(const QWidget* w) {
    const QWindow* h = w->windowHandle();
    return h ? h->frameGeometry() : w->frameGeometry();
  }
  static bool framed(const QWidget* w) { return frameOf(w) != w->geometry(); }

  static void fit(QWidget* w) {
    if (w->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
      return;
    QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect frame = frameOf(w);
    const QRect fitted = frameWithin(frame, screen->availableGeometry());
    if (fitted.topLeft() == frame.topLeft()) return;
    // The client moves by as much as the frame has to.
    w->setGeometry(QRect(w->geometry().topLeft() + (fitted.topLeft() - frame.topLeft()), w->size()));
  }
};

}  // namespace

QRect frameWithin(const QRect& frame, const QRect& available) {
  QRect r = frame;
  r.moveTo(within(frame.left(), frame.width(), available.left(), available.width()),
           within(frame.top(), frame.height(), available.top(), available.height()));
  return r;
}

void keepWindowsOnScreen() {
  static QPointer<ScreenGuard> guard;
  if (guard || !qApp) return;
  guard = new ScreenGuard(qApp);
  qApp->installEventFilter(guard);
}

}  // namespace vektrano::platform
