// The navigator's buttons: enabling and placing.
#include "preview/navigator_layout.h"

#include <gtest/gtest.h>

namespace vektrano::preview {
namespace {

TEST(NavigatorLayout, Enabling) {
  TPvNavState one{true, 1, 1, 20, 5, 400};
  for (auto b : {pvFirstPage, pvPrevPage, pvNextPage, pvLastPage}) EXPECT_FALSE(NavButtonEnabled(b, one)) << b;
  EXPECT_TRUE(NavButtonEnabled(pvDeletePage, one));
  TPvNavState middle{true, 2, 3, 400, 5, 400};
  for (auto b : {pvFirstPage, pvPrevPage, pvNextPage, pvLastPage}) EXPECT_TRUE(NavButtonEnabled(b, middle)) << b;
  EXPECT_FALSE(NavButtonEnabled(pvZoomIn, middle));  // at the maximum
  EXPECT_TRUE(NavButtonEnabled(pvZoomOut, middle));
  TPvNavState last{true, 3, 3, 5, 5, 400};
  EXPECT_FALSE(NavButtonEnabled(pvNextPage, last));
  EXPECT_TRUE(NavButtonEnabled(pvPrevPage, last));
  EXPECT_FALSE(NavButtonEnabled(pvZoomOut, last));
  TPvNavState none;
  for (int i = 0; i < kNavButtonCount; ++i) EXPECT_FALSE(NavButtonEnabled(static_cast<TPvNavigateBtn>(i), none));
  EXPECT_STREQ(NavButtonInfo(pvFitWholePage).hint, "Fit Whole Page");
  EXPECT_STREQ(NavButtonInfo(pvDeletePage).glyph, "DELETEPAGE");
}

TEST(NavigatorLayout, GroupsAndSize) {
  TPvNavLayout all = LayoutNavigator(kAllNavButtons, 34, 34, true, 8);
  ASSERT_EQ(all.buttons.size(), 13u);
  EXPECT_EQ(all.width, 13 * 34 + 3 * 8 + 18);
  EXPECT_EQ(all.height, 50);
  EXPECT_EQ(all.buttons[4].rect.left, 8 + 4 * 34 + 8);  // a spacing before the page group

  // The print window's set: without Add Page and Clear.
  const TPvNavButtonSet window = kAllNavButtons & ~navBit(pvAddPage) & ~navBit(pvClear);
  TPvNavLayout w = LayoutNavigator(window, 34, 34, true, 8);
  EXPECT_EQ(w.buttons.size(), 11u);
  EXPECT_EQ(w.width, 11 * 34 + 3 * 8 + 18);

  // Without the page group no spacing stands before the first zoom button.
  const TPvNavButtonSet noPages = kAllNavButtons & ~(navBit(pvAddPage) | navBit(pvDeletePage) | navBit(pvClear));
  TPvNavLayout n = LayoutNavigator(noPages, 34, 34, true, 8);
  EXPECT_EQ(n.buttons[4].button, pvZoomIn);
  EXPECT_EQ(n.buttons[4].rect.left, 8 + 4 * 34 + 8);
  EXPECT_EQ(n.width, 10 * 34 + 2 * 8 + 18);
  EXPECT_EQ(LayoutNavigator(kAllNavButtons, 34, 34, false, 8).width, 13 * 34 + 18);
}

}  // namespace
}  // namespace vektrano::preview
