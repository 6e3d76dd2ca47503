#include "windows/base/tool_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QScreen>
#include <algorithm>

namespace vektrano {

namespace {

std::vector<QPointer<QWidget>>& registry() {
  static std::vector<QPointer<QWidget>> windows;
  return windows;
}

// The window each key was last pressed in, whoever took the press.
class KeyPresses : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
      const auto* k = static_cast<QKeyEvent*>(event);
      if (!k->isAutoRepeat()) windows_[k->key()] = static_cast<QWidget*>(watched)->window();
    }
    return false;
  }
  bool pressedIn(const QWidget* window, int key) const {
    const auto it = windows_.find(key);
    return it != windows_.end() && it->data() == window;
  }

 private:
  QHash<int, QPointer<QWidget>> windows_;
};

KeyPresses* keyPresses() {
  static KeyPresses* presses = [] {
    auto* p = new KeyPresses;
    if (qApp) {
      p->setParent(qApp);
      qApp->installEventFilter(p);
    }
    return p;
  }();
  return presses;
}

Qt::WindowFlags toolWindowFlags(const QWidget* parent, PlacementValues values,
                                Qt::WindowFlags flags) {
  if (flags & Qt::WindowType_Mask) return flags;
  // A plain window has no owner for the window system: only a dialog is
  // kept above the window it belongs to.
  if (!parent || (flags & Qt::WindowStaysOnTopHint)) return Qt::Window | flags;
  flags |= Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  // A window whose size is kept can be maximised, and minimised with it.
  if (values == PlacementValues::Full) flags |= Qt::WindowMinMaxButtonsHint;
  return flags;
}

}  // namespace

bool keyPressedIn(const QWidget* w, int key) { return keyPresses()->pressedIn(w->window(), key); }

std::vector<QWidget*> openToolWindows() {
  auto& all = registry();
  all.erase(std::remove_if(all.begin(), all.end(), [](const QPointer<QWidget>& w) { return !w; }),
            all.end());
  std::vector<QWidget*> out;
  for (const auto& w : all) out.push_back(w.data());
  return out;
}

ToolWindow::ToolWindow(int formNumber, PlacementValues values, const WindowPlacement& defaults,
                       QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, toolWindowFlags(parent, values, flags)),
      formNumber_(formNumber),
      key_(windowSettingsKey(formNumber)),
      values_(values) {
  setAttribute(Qt::WA_DeleteOnClose);
  registry().emplace_back(this);
  keyPresses();
  QSize screen(1024, 768);
  if (const QScreen* s = QGuiApplication::primaryScreen()) screen = s->geometry().size();
  applyPlacement(readPlacement(key_, defaults, values_, screen.width(), screen.height()));
}

ToolWindow::~ToolWindow() {
  auto& all = registry();
  all.erase(std::remove_if(all.begin(), all.end(),
                           [this](const QPointer<QWidget>& w) { return !w || w == this; }),
            all.end());
}

void ToolWindow::applyPlacement(const WindowPlacement& p) {
  // Client geometry both ways, so that a window manager's frame does not
  // make the window creep at every opening.
  if (values_ == PlacementValues::Full) {
    setGeometry(p.left, p.top, p.width, p.height);
    setWindowState(p.maximized ? Qt::WindowMaximized : Qt::WindowNoState);
  } else {
    setGeometry(p.left, p.top, width(), height());
  }
}

WindowPlacement ToolWindow::currentPlacement() const {
  const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
  WindowPlacement p;
  p.top = g.top();
  p.left = g.left();
  p.height = g.height();
  p.width = g.width();
  p.maximized = isMaximized();
  return p;
}

void ToolWindow::closeEvent(QCloseEvent* event) {
  if (!queryClose()) {
    event->ignore();
    return;
  }
  writePlacement(key_, currentPlacement(), values_);
  event->accept();
}

}  // namespace vektrano
