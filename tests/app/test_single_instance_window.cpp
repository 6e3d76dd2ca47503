// The main window's side of the single instance: it listens from its
// creation to its destruction and comes back when woken.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>

#include "app/main_window.h"
#include "app/splash_window.h"
#include "platform/gui/single_instance.h"
#include "platform/message.h"
#include "tests/support/program_folder.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ::chmod(dir_.path().c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
    // The window's start-up works on a program folder and settings of its own.
    test::installProgramData(dir_.file("home"));
    ::setenv("VEKTRANO_HOME", dir_.file("home").c_str(), 1);
    ::mkdir(dir_.file("config").c_str(), 0700);
    ::setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("XDG_RUNTIME_DIR");
    ::unsetenv("VEKTRANO_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
  }
  QString wakeSocket() const { return QString::fromUtf8((dir_.path() + "/vektrano.wake").c_str()); }
  test::TempDir dir_;
};

TEST_F(MainWindow, ListensFromCreationUntilDestruction) {
  auto form = std::make_unique<TForm1>();
  EXPECT_TRUE(QFile::exists(wakeSocket()));
  form->show();
  QApplication::processEvents();
  form->close();
  QApplication::processEvents();
  EXPECT_FALSE(form->isVisible());
  form.reset();
  EXPECT_FALSE(QFile::exists(wakeSocket()));  // no wake-up reaches a destroyed window
}

// A second start while a start-up message is up is answered: the wake-up
// is heard before the settings are read. The window itself shows only when
// start-up has ended.
TEST_F(MainWindow, WakeUpIsHeardWhileStartUpMessagesAreUp) {
  bool asked = false;
  bool answered = false;
  auto previous = platform::setMessageHandler([&](const platform::Message& m) {
    if (!asked) {
      asked = true;
      std::atomic<bool> done{false};
      std::thread second([&] {
        answered = platform::sendWakeUp("Vektrano", 2000);
        done = true;
      });
      while (!done) QApplication::processEvents(QEventLoop::AllEvents, 10);
      second.join();
    }
    return m.defaultAnswer;
  });
  TForm1 form;
  platform::setMessageHandler(previous);
  ASSERT_TRUE(asked) << "no start-up message";
  EXPECT_TRUE(answered);
  EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindow, WakeUpRestoresOnlyFromMinimised) {
  struct Case {
    Qt::WindowStates before, after;
  } cases[] = {
      {Qt::WindowMinimized, Qt::WindowNoState},
      {Qt::WindowMinimized | Qt::WindowMaximized, Qt::WindowMaximized},
      {Qt::WindowMaximized, Qt::WindowMaximized},
      {Qt::WindowNoState, Qt::WindowNoState},
  };
  for (const Case& c : cases) {
    TForm1 form;
    form.show();
    form.setWindowState(c.before);
    QApplication::processEvents();
    form.WakeUp();
    QApplication::processEvents();
    EXPECT_EQ(form.windowState() & ~Qt::WindowActive, c.after) << int(c.before);
    EXPECT_TRUE(form.isVisible());
  }
}

TEST_F(MainWindow, SplashIsAFixedOnTopWindowThatStepsBack) {
  TForm18 splash;
  EXPECT_EQ(splash.size(), QSize(500, 400));
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(splash.windowTitle(),
            QString::fromUtf8(u8"Probíhá spouštění programu VEKTRANO, čekejte prosím"));
  splash.show();
  splash.setStaysOnTop(false);
  EXPECT_FALSE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(splash.isVisible());  // lowered, not hidden
  splash.setStaysOnTop(true);
  EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(splash.isVisible());
}

}  // namespace
}  // namespace vektrano
