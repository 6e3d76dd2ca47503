#pragma once
// Text measuring for layout. Sizes are whole device pixels of the font at its
// own pixelsPerInch, as the Windows text calls gave them. The Qt measurer asks
// the real fonts; the fixed-width one gives the same figures on every machine,
// so that layout tests do not depend on the fonts installed.
#include <array>
#include <memory>
#include <string_view>

#include "preview/graphics.h"

namespace vektrano::preview {

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Width of the text on one line (text is cp1250).
  virtual int textWidth(const CanvasFont& font, std::string_view text) = 0;
  // Height of a line: the font's cell height (ascent + descent).
  virtual int textHeight(const CanvasFont& font) = 0;
};

// Every character is advance / 1000 of the em wide, rounded per character
// (500 unless set); a line is cellHeight / 1000 of the em tall. A font with a
// positive (cell) height has an em of height * 1000 / cellHeight.
class FixedWidthMeasurer : public TextMeasurer {
 public:
  explicit FixedWidthMeasurer(int advance = 500, int cellHeight = 1150);
  void setAdvance(unsigned char c, int advance) {
    advances_[c] = advance;
    cachedEm_ = -1;
  }

  int textWidth(const CanvasFont& font, std::string_view text) override;
  int textHeight(const CanvasFont& font) override;
  // The em height in pixels the font has here.
  Extended emPixels(const CanvasFont& font) const;

 private:
  std::array<int, 256> advances_{};
  int cellHeight_;
  // Rounded widths of every character at the em last asked for.
  Extended cachedEm_ = -1;
  std::array<int, 256> widths_{};
};

// The measurer of the running program: Qt font metrics (Arial taken from a
// metric-compatible font where it is missing). Needs a QGuiApplication.
std::unique_ptr<TextMeasurer> makeQtMeasurer();

}  // namespace vektrano::preview
