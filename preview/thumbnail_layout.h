#pragma once
// Where the thumbnails of a preview's pages stand, without a widget: the
// size of each (page image at ThumbSize + 2 per cent inside its spacing and
// caption strip), their places in a row, a column or a grid, and the
// caption of each.
#include <string>

#include "preview/units.h"

namespace vektrano::preview {

struct TPvThumbGeometry {
  int zoom = 6;          // per cent
  IntRect gutter{};      // around the page image
  int width = 0, height = 0;
  int captionStrip = 0;  // below the page image, inside the bottom gutter
};

// captionFontHeight is the caption font's height as fonts keep it (negative
// for a character height): the strip is 4 - that height.
TPvThumbGeometry ThumbnailGeometry(Extended pageWidth, Extended pageHeight, int thumbSize, int spacing,
                                   bool showCaption, int captionFontHeight);

// The top-left corner of thumbnail index (from 0) before scrolling:
// neighbours share one pixel row or column.
IntPoint ThumbnailPosition(int index, TPvThumbNailLayout layout, int gridWidth, int width, int height);

// The caption of page number: the pattern with every "#" replaced by it.
std::string ThumbnailCaption(const std::string& pattern, int pageNumber);
// The caption's left edge, centred in the thumbnail (truncated).
int ThumbnailCaptionLeft(int thumbWidth, int textWidth);

}  // namespace vektrano::preview
