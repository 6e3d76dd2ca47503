#include "platform/gui/screen_placement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <map>

namespace vektrano::platform {
namespace {

// The window manager reparents a new window and sends its frame a moment
// after the show; until then the window may still be moved in.
constexpr int kSettleMs = 1500;

int within(int start, int length, int low, int extent) {
  if (length >= extent) return low;
  return std::clamp(start, low, low + extent - length);
}

class ScreenGuard : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type t = event->type();
    if (t != QEvent::Show && t != QEvent::Move && t != QEvent::Resize) return false;
    if (!watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    if (!w->isWindow() || !placedByUs(w)) return false;
    if (t == QEvent::Show) {
      QElapsedTimer shown;
      shown.start();
      settling_[w] = shown;
      connect(w, &QObject::destroyed, this, [this, w] { settling_.erase(w); });
    }
    auto it = settling_.find(w);
    if (it == settling_.end()) return false;
    if (it->second.elapsed() > kSettleMs) {
      settling_.erase(it);
      return false;
    }
    fit(w);
    return false;
  }

 private:
  static bool placedByUs(const QWidget* w) {
    const Qt::WindowType type = w->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Tool ||
           type == Qt::SplashScreen;
  }

  static void fit(QWidget* w) {
    if (w->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
      return;
    QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect frame = w->frameGeometry();
    const QRect fitted = frameWithin(frame, screen->availableGeometry());
    // move() places the frame of a top-level window.
    if (fitted.topLeft() != frame.topLeft()) w->move(fitted.topLeft());
  }

  std::map<QWidget*, QElapsedTimer> settling_;
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
