// Every tool window under a real X server with a window manager (run by
// xvfb_window_placement.sh under Xvfb and openbox): opened over a main
// window three times, closed each time, it comes back exactly where it was.
// A window that creeps by its title bar at each opening shows only where a
// window manager puts a frame around it, never on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QTest>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/log/log.h"
#include "platform/files.h"
#include "platform/gui/screen_placement.h"
#include "platform/message.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"
#include "windows/archive_window.h"
#include "windows/call_sign_import_window.h"
#include "windows/call_sign_list_window.h"
#include "windows/calling_sender_window.h"
#include "windows/chart_windows.h"
#include "windows/contact_map_window.h"
#include "windows/direction_finding_window.h"
#include "windows/exception_words_window.h"
#include "windows/expedition_description_window.h"
#include "windows/familiar_names_window.h"
#include "windows/locator_map_window.h"
#include "windows/name_days_window.h"
#include "windows/print_window.h"
#include "windows/report_table_window.h"
#include "windows/round_distances_window.h"
#include "windows/town_database_window.h"
#include "windows/update_window.h"

namespace vektrano {
namespace {

// Waits until the window manager has framed the window (a frameless one
// gets no frame) and nothing moves it any more: the check that keeps frames
// on the screen may still pull it in. The native window is asked for its
// frame; the widget learns of it only when the window moves.
void waitUntilPlaced(QWidget* w) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  QElapsedTimer t;
  t.start();
  const bool frameless = w->windowFlags() & Qt::FramelessWindowHint;
  while (!frameless && w->windowHandle()->frameMargins().isNull() && t.elapsed() < 1000)
    QTest::qWait(20);
  QRect last = w->geometry();
  for (int still = 0; still < 8 && t.elapsed() < 4000;) {
    QTest::qWait(25);
    still = w->geometry() == last ? still + 1 : 0;
    last = w->geometry();
  }
}

class WindowPlacementOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    setenv("VEKTRANO_HOME", dir_.path().c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    std::filesystem::create_directories(dir_.file("archiv"));
    previous_ = platform::setMessageHandler([](const platform::Message& m) { return m.defaultAnswer; });
    platform::keepWindowsOnScreen();
    for (int i = 0; i < 6; ++i)
      log_.Denik.appendRow({std::to_string(i + 1), "1" + std::to_string(i) + ":00:00", "59",
                            "OK1AB" + std::string(1, char('A' + i)), "59",
                            i % 2 ? "JO70PO" : "JO60LJ", "100", ""});
    log_.PocetSpojeni = 6;
    main_.setWindowTitle("NOVR");
    main_.setGeometry(200, 150, 700, 500);
    main_.show();
    waitUntilPlaced(&main_);
  }
  void TearDown() override { platform::setMessageHandler(previous_); }

  std::string file(const char* name) { return dir_.file(name); }

  test::TempDir dir_;
  LogDocument log_;
  QMainWindow main_;
  platform::MessageHandler previous_;
};

TEST_F(WindowPlacementOnScreen, EveryToolWindowReopensWhereItWasClosed) {
  QWidget* m = &main_;
  struct Case {
    int form;
    std::function<QWidget*()> open;
  };
  const std::vector<Case> cases = {
      {2, [&] { return openForm2(file("vektrano.zr4"), {}, {}, {}, m); }},
      {3, [&] { return openForm3(file("vektrano.pvk"), dir_.path(), {}, m); }},
      {4, [&] { return openForm4(dir_.path(), {}, {}, m); }},
      {5, [&] { return openForm5("JO70GQ", "JO60LJ", {}, m); }},
      {6, [&] { return openForm6(file("vektrano.pvk"), dir_.path(), {}, m); }},
      {7, [&] { return openForm7({&log_.Denik, [] { return false; }, [] { return 24; }}, m); }},
      {8, [&] { return openForm8(file("vektrano.rep"), m); }},
      {9, [&] { return Spojendovelkchtverc1Click(log_, {}, m); }},
      {10, [&] { return openForm10({.log = &log_}, m); }},
      {11, [&] { return openForm11(log_, dir_.path(), {}, m); }},
      {12, [&] { return openForm12(file("vektrano.dup"), {}, {}, m); }},
      {13, [&] { return otevrimapu("JO70GQ", kVolaVstup, Form13Hooks{}, {}, m); }},
      {14, [&] { return openArchiveWindow(file("archiv"), dir_.path(), {}, m); }},
      {15, [&] { return openUpdateWindow(file("mapy"), file("foto"), {}, m); }},
      {16, [&] { return openForm16(dir_.path(), {}, {}, m); }},
      {17, [&] { return openForm17(m); }},
      {20, [&] { return openForm20({.soubor = file("vektrano.hb9"), .obrys = file("vektrano.v4m")}, m); }},
      {21, [&] { return Potuspojenvzvislostinaasu1Click(log_, {}, m); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("Form" + std::to_string(c.form));
    std::vector<QPoint> corners;
    for (int cycle = 0; cycle < 3; ++cycle) {
      QPointer<QWidget> w = c.open();
      ASSERT_TRUE(w);
      waitUntilPlaced(w);
      corners.push_back(w->geometry().topLeft());
      w->close();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      QCoreApplication::processEvents();
      ASSERT_FALSE(w) << "the window is not freed when closed";
      // What the next opening starts from: the corner it was closed at.
      auto key = platform::RegistryKey::open(windowSettingsKey(c.form), false);
      ASSERT_TRUE(key);
      EXPECT_EQ(QPoint(key->readInteger("Left"), key->readInteger("Top")), corners.back());
    }
    EXPECT_EQ(corners[1], corners[0]);
    EXPECT_EQ(corners[2], corners[0]);
  }
}

}  // namespace
}  // namespace vektrano
