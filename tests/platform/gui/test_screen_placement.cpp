#include "platform/gui/screen_placement.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

namespace vektrano::platform {
namespace {

TEST(ScreenPlacement, FrameIsMovedWithinTheAvailableArea) {
  const QRect screen(0, 24, 1024, 720);  // a panel of 24 pixels on top
  struct Case {
    const char* what;
    QRect frame;
    QPoint expected;
  } cases[] = {
      {"inside stays", {100, 100, 640, 480}, {100, 100}},
      {"caption above the top", {10, -10, 640, 480}, {10, 24}},
      {"under the panel", {10, 10, 640, 480}, {10, 24}},
      {"beyond the right and the bottom", {900, 600, 300, 200}, {724, 544}},
      {"left of the screen", {-40, 100, 300, 200}, {0, 100}},
      {"taller than the screen", {50, 300, 300, 900}, {50, 24}},
  };
  for (const Case& c : cases) {
    const QRect r = frameWithin(c.frame, screen);
    EXPECT_EQ(r.topLeft(), c.expected) << c.what;
    EXPECT_EQ(r.size(), c.frame.size()) << c.what;
  }
}

TEST(ScreenPlacement, ShownWindowsComeWithinTheScreen) {
  keepWindowsOnScreen();
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  QWidget window;
  window.resize(300, 200);
  window.move(available.left() + 20, available.top() - 50);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_TRUE(available.contains(window.frameGeometry())) << window.frameGeometry().y();

  QDialog dialog(&window);
  dialog.resize(200, 100);
  dialog.move(available.right() - 50, available.bottom() - 20);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_TRUE(available.contains(dialog.frameGeometry()));

  // Moved by the user afterwards: left where it is.
  QTest::qWait(3100);
  window.move(available.left() - 30, available.top() + 10);
  QApplication::processEvents();
  EXPECT_LT(window.frameGeometry().left(), available.left());
}

}  // namespace
}  // namespace vektrano::platform
