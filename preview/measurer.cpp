#include "preview/measurer.h"

namespace vektrano::preview {

FixedWidthMeasurer::FixedWidthMeasurer(int advance, int cellHeight) : cellHeight_(cellHeight) {
  advances_.fill(advance);
}

Extended FixedWidthMeasurer::emPixels(const CanvasFont& font) const {
  if (font.height < 0) return -font.height;
  return static_cast<Extended>(font.height) * 1000 / cellHeight_;
}

int FixedWidthMeasurer::textWidth(const CanvasFont& font, std::string_view text) {
  const Extended em = emPixels(font);
  if (em != cachedEm_) {
    for (int c = 0; c < 256; ++c) widths_[c] = static_cast<int>(roundHalfEven(em * advances_[c] / 1000));
    cachedEm_ = em;
  }
  long long w = 0;
  for (unsigned char c : text) w += widths_[c];
  return static_cast<int>(w);
}

int FixedWidthMeasurer::textHeight(const CanvasFont& font) {
  if (font.height > 0) return font.height;
  return static_cast<int>(roundHalfEven(emPixels(font) * cellHeight_ / 1000));
}

}  // namespace vektrano::preview
