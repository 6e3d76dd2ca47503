#include "platform/gui/hints.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QStyle>
#include <QTest>
#include <QToolTip>

namespace vektrano::platform {
namespace {

TEST(Hints, AppearAfterTheSetTimeAndShow) {
  setHintTimes(1000, 5000);
  EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1000);
  setHintTimes(1000, 5000);  // again: the same style, not one more
  EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1000);

  QLabel label(QStringLiteral("Lokátor"));
  label.setToolTip(QStringLiteral("Tvůj lokátor"));
  label.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
  QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), label.mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(&label, &help);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), QStringLiteral("Tvůj lokátor"));
  QToolTip::hideText();
}

}  // namespace
}  // namespace vektrano::platform
