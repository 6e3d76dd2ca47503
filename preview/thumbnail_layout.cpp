#include "preview/thumbnail_layout.h"

#include <algorithm>

namespace vektrano::preview {

TPvThumbGeometry ThumbnailGeometry(Extended pageWidth, Extended pageHeight, int thumbSize, int spacing,
                                   bool showCaption, int captionFontHeight) {
  TPvThumbGeometry g;
  g.zoom = thumbSize + 2;
  g.captionStrip = showCaption ? 4 - captionFontHeight : 0;
  g.gutter = {spacing, spacing, spacing, spacing + g.captionStrip};
  const int w = static_cast<int>(roundHalfEven(96 * pageWidth * g.zoom / 100));
  const int h = static_cast<int>(roundHalfEven(96 * pageHeight * g.zoom / 100));
  g.width = w + g.gutter.left + g.gutter.right;
  g.height = h + g.gutter.top + g.gutter.bottom;
  return g;
}

IntPoint ThumbnailPosition(int index, TPvThumbNailLayout layout, int gridWidth, int width, int height) {
  switch (layout) {
    case pvThumbHorz:
      return {index * (width - 1), 0};
    case pvThumbVert:
      return {0, index * (height - 1)};
    case pvThumbGrid: {
      const int per = std::max(1, gridWidth);
      return {(index % per) * (width - 1), (index / per) * (height - 1)};
    }
  }
  return {};
}

std::string ThumbnailCaption(const std::string& pattern, int pageNumber) {
  return ReplaceAllText(pattern, "#", std::to_string(pageNumber));
}

int ThumbnailCaptionLeft(int thumbWidth, int textWidth) { return (thumbWidth - textWidth) / 2; }

}  // namespace vektrano::preview
