#include "windows/base/tool_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace vektrano {

namespace {

std::vector<QPointer<QWidget>>& registry() {
  static std::vector<QPointer<QWidget>> windows;
  return windows;
}

}  // namespace

std::vector<QWidget*> openToolWindows() {
  auto& all = registry();
  all.erase(std::remove_if(all.begin(), all.end(), [](const QPointer<QWidget>& w) { return !w; }),
            all.end());
  std::vector<QWidget*> out;
  for (const auto& w : all) out.push_back(w.data());
  return out;
}

ToolWindow::ToolWindow(int formNumber, PlacementValues values, const WindowPlacement& defaults,
                       QWidget* parent)
    : QWidget(parent, Qt::Window),
      formNumber_(formNumber),
      key_(windowSettingsKey(formNumber)),
      values_(values) {
  setAttribute(Qt::WA_DeleteOnClose);
  registry().emplace_back(this);
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
