// Program entry of Vektrano: one copy per user, the splash while the main
// window is built, then the message loop until the main window closes; after
// an update that renewed the program file, the new program is started once
// this copy has let go of its lock.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/key_probe.h"
#include "app/main_window.h"
#include "app/splash_window.h"
#include "platform/cp1250.h"
#include "platform/dispatcher.h"
#include "platform/gui/application.h"
#include "platform/gui/message_box.h"
#include "platform/gui/screen_placement.h"
#include "platform/gui/single_instance.h"
#include "platform/gui/translations.h"
#include "platform/files.h"
#include "platform/message.h"

using namespace vektrano;

namespace {

// Until start-up finds the help file beside the program.
constexpr char kHelpFile[] = "/usr/share/doc/vektrano/vektrano.hlp";

void processMessages() { QCoreApplication::processEvents(); }

// VEKTRANO_TEST_HOOKS (a list of words) lets the tests that start the program
// see it ready and place its window: "maximized", "minimized"; "keyprobe"
// has it report how long each key kept the main thread (app/key_probe.h).
const char* testHooks() { return std::getenv("VEKTRANO_TEST_HOOKS"); }

// VEKTRANO_TEST_TYPE: a line the tests that start the program (offscreen,
// with no keyboard to type on) send to the entry line key after key, then
// Enter, as soon as the line takes keys (the first index build hides it for
// a moment); "vektrano-test: typed" follows.
void typeForTests(TForm1& form, const QString& line) {
  auto* timer = new QTimer(&form);
  timer->setInterval(30);
  QObject::connect(timer, &QTimer::timeout, &form, [&form, timer, line, next = 0]() mutable {
    QLineEdit* vstup = form.vstup;
    if (!vstup->isVisible() || !vstup->isEnabled()) return;
    auto click = [vstup](int key, const QString& text) {
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
      QCoreApplication::sendEvent(vstup, &press);
      QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
      QCoreApplication::sendEvent(vstup, &release);
    };
    if (next < line.size()) {
      const QChar c = line[next++];
      click(c.toUpper().unicode(), QString(c));  // ASCII keys are their upper-case codes
      return;
    }
    click(Qt::Key_Return, QStringLiteral("\r"));
    timer->stop();
    timer->deleteLater();
    std::fprintf(stderr, "vektrano-test: typed\n");
    std::fflush(stderr);
  });
  timer->start();
}

// The renewed program, on its own: this copy is about to end.
void startNewProgram(const std::string& programFile) {
  const QString program = QString::fromStdString(platform::fsPath(programFile).string());
  if (!QProcess::startDetached(program, {}))
    platform::showMessage("Novou verzi programu se nepodařilo spustit : " + platform::pathText(programFile),
                          platform::MessageKind::Error);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::installCzechQtTranslations();
  platform::keepWindowsOnScreen();
  platform::setDispatcher(platform::makeQtDispatcher());
  platform::installQtMessageBoxes();

  // Held for the whole run; a lock that cannot be made at all is no reason
  // not to start.
  std::optional<platform::InstanceLock> mutex;
  mutex.emplace("Vektrano");
  if (mutex->acquire() == platform::InstanceLock::Result::HeldByOther) {
    platform::showMessage("VEKTRANO je již spuštěn, nelze spustit další kopii ...");
    platform::sendWakeUp("Vektrano");
    return 0;  // the command line of this copy is dropped
  }

  QPointer<TForm18> splash = new TForm18;
  processMessages();
  splash->show();
  processMessages();
  // The splash steps back while a start-up message is shown.
  platform::setMessageBoxObserver([splash](bool shown) {
    if (splash) splash->setStaysOnTop(!shown);
  });

  platform::setApplicationTitle("Deník NOVR");
  platform::setHelpFile(kHelpFile);

  // The arguments as the system gave them (QApplication has taken its own):
  // a log's path is the file system's bytes.
  std::vector<std::string> arguments(argv + 1, argv + argc);
  auto form1 = std::make_unique<TForm1>(std::move(arguments));  // runs the start-up

  processMessages();
  platform::setMessageBoxObserver({});
  splash->hide();
  processMessages();
  splash->deleteLater();
  processMessages();

  if (platform::terminateRequested()) {
    delete splash;
    return 0;
  }

  const char* hooks = testHooks();
  if (hooks && std::strstr(hooks, "maximized"))
    form1->showMaximized();
  else
    form1->show();
  if (hooks && std::strstr(hooks, "minimized")) form1->showMinimized();
  if (hooks && std::strstr(hooks, "keyprobe")) new KeyProbe(form1.get());
  if (hooks)
    QTimer::singleShot(0, [] {
      std::fprintf(stderr, "vektrano-test: ready\n");
      std::fflush(stderr);
    });
  if (const char* line = std::getenv("VEKTRANO_TEST_TYPE"))
    typeForTests(*form1, QString::fromUtf8(line));
  const int result = app.exec();

  // A new program started now would find this copy still running: the
  // window (with its wake-up socket) goes first, then the lock.
  const std::string restart = form1->programPoUkonceni();
  form1.reset();
  mutex.reset();
  if (!restart.empty()) startNewProgram(restart);
  return result;
}
