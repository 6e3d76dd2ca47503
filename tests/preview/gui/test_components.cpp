#include "preview/gui/components.h"

#include <gtest/gtest.h>

#include <QPalette>

namespace vektrano::preview {
namespace {

class TPvPreview : public TPvScrollingWinControl {
  Q_OBJECT
};

TEST(Components, AboutTextsAndDefaults) {
  TPvScrollingWinControl scrolling;
  TPvWinControl plain;
  TPvComboBox combo;
  TPvPreview preview;
  EXPECT_EQ(scrolling.About(), "TPvScrollingWinControl v2.96.6");
  EXPECT_EQ(plain.About(), "TPvWinControl v2.96.6");
  EXPECT_EQ(combo.About(), "TPvComboBox v2.96.6");
  EXPECT_EQ(preview.About(), "TPvPreview v2.96.6");  // the most derived class
  preview.SetAbout("x");
  EXPECT_EQ(preview.About(), "TPvPreview v2.96.6");

  EXPECT_EQ(scrolling.Color(), clSilver);
  EXPECT_EQ(scrolling.palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(scrolling.BorderStyle(), bsSingle);
  EXPECT_TRUE(scrolling.AutoScroll());
  EXPECT_TRUE(scrolling.DoubleBuffered);
  EXPECT_EQ(plain.Color(), clSilver);
  EXPECT_EQ(combo.DropDownCount(), 8);

  scrolling.SetAutoScroll(false);
  EXPECT_EQ(scrolling.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  plain.SetBorderStyle(bsNone);
  EXPECT_EQ(plain.frameStyle(), int(QFrame::NoFrame));
  plain.SetColor(clRed);
  EXPECT_EQ(plain.palette().color(QPalette::Window), QColor(255, 0, 0));
}

}  // namespace
}  // namespace vektrano::preview

#include "test_components.moc"
