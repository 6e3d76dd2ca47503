#include "core/gui/form1.h"

#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "platform/cp1250.h"
#include "platform/gui/application.h"
#include "platform/gui/single_instance.h"

namespace vektrano {
namespace {

// With VEKTRANO_TEST_HOOKS set, the tests that start the program learn how
// the window ended up after a wake-up.
void reportWakeUp(const QWidget* w) {
  if (!std::getenv("VEKTRANO_TEST_HOOKS")) return;
  const Qt::WindowStates s = w->windowState();
  const char* state = s & Qt::WindowMinimized   ? "minimized"
                      : s & Qt::WindowMaximized ? "maximized"
                                                : "normal";
  std::fprintf(stderr, "vektrano-test: woken state=%s active=%d\n", state,
               w->isActiveWindow() ? 1 : 0);
  std::fflush(stderr);
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) { FormCreate(); }

TForm1::~TForm1() { FormDestroy(); }

void TForm1::FormCreate() {
  setWindowTitle(platform::toQString(platform::applicationTitle()));
  resize(450, 600);
  wakeUpListener_ = std::make_unique<platform::WakeUpListener>("Vektrano", [this] { WakeUp(); });
  wakeUpListener_->listen();
}

void TForm1::FormDestroy() { wakeUpListener_.reset(); }

void TForm1::WakeUp() {
  // Clearing only the minimised state brings back what was before it.
  if (windowState() & Qt::WindowMinimized) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
  QTimer::singleShot(200, this, [this] { reportWakeUp(this); });
}

}  // namespace vektrano
