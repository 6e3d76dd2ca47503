// Thumbnail sizes, places and captions.
#include "preview/thumbnail_layout.h"

#include <gtest/gtest.h>

namespace vektrano::preview {
namespace {

TEST(ThumbnailLayout, SizeOfOneThumbnail) {
  // A4 at 6 per cent: 47.6 x 67.3 px, rounded 48 x 67; spacing 8; caption
  // font Arial 8 pt (height -11): a strip of 15.
  const TPvThumbGeometry g = ThumbnailGeometry(210 / 25.4L, 297 / 25.4L, 4, 8, true, -11);
  EXPECT_EQ(g.zoom, 6);
  EXPECT_EQ(g.captionStrip, 15);
  EXPECT_EQ(g.gutter, (IntRect{8, 8, 8, 23}));
  EXPECT_EQ(g.width, 48 + 16);
  EXPECT_EQ(g.height, 67 + 8 + 23);
  const TPvThumbGeometry plain = ThumbnailGeometry(210 / 25.4L, 297 / 25.4L, 4, 8, false, -11);
  EXPECT_EQ(plain.height, 67 + 16);
}

TEST(ThumbnailLayout, PlacesShareOnePixel) {
  struct Case {
    TPvThumbNailLayout layout;
    int index;
    IntPoint at;
  } cases[] = {
      {pvThumbHorz, 0, {0, 0}},    {pvThumbHorz, 2, {2 * 63, 0}},  {pvThumbVert, 3, {0, 3 * 99}},
      {pvThumbGrid, 3, {3 * 63, 0}}, {pvThumbGrid, 4, {0, 99}},   {pvThumbGrid, 9, {63, 2 * 99}},
  };
  for (const auto& c : cases) EXPECT_EQ(ThumbnailPosition(c.index, c.layout, 4, 64, 100), c.at) << c.index;
  EXPECT_EQ(ThumbnailPosition(3, pvThumbGrid, 0, 64, 100), (IntPoint{0, 3 * 99}));  // a grid one wide
}

TEST(ThumbnailLayout, Captions) {
  EXPECT_EQ(ThumbnailCaption("#", 12), "12");
  EXPECT_EQ(ThumbnailCaption("Strana # (#)", 3), "Strana 3 (3)");
  EXPECT_EQ(ThumbnailCaption("bez čísla", 3), "bez čísla");
  EXPECT_EQ(ThumbnailCaptionLeft(64, 15), 24);
}

}  // namespace
}  // namespace vektrano::preview
