#pragma once
// Plain drawing values shared by the whole page-preview library: colours as
// the Windows programs stored them, integer geometry, and the pen, brush and
// font a device canvas draws with. Nothing here knows Qt; the QPainter canvas
// converts at the last moment.
#include <cstdint>
#include <string>
#include <vector>

namespace vektrano::preview {

// 80-bit extended precision, the precision every page length is kept in.
using Extended = long double;

// Nearest integer, halves to even (the rounding of every page computation).
long long roundHalfEven(Extended v);
// Toward zero.
long long truncToward0(Extended v);
// (a * b) / c rounded to the nearest, halves away from zero; 0 for c == 0.
int mulDiv(int a, int b, int c);

// $00BBGGRR; the high byte 0x80 marks a system colour (index in the low byte).
using TColor = std::int32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005);
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000008);

// The plain $00BBGGRR value; system colours take the classic defaults,
// clNone and clDefault read as white.
TColor colorToRgb(TColor c);
inline int redOf(TColor rgb) { return rgb & 0xFF; }
inline int greenOf(TColor rgb) { return (rgb >> 8) & 0xFF; }
inline int blueOf(TColor rgb) { return (rgb >> 16) & 0xFF; }
inline TColor makeRgb(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }

struct IntPoint {
  int x = 0, y = 0;
  friend bool operator==(const IntPoint&, const IntPoint&) = default;
};

struct IntRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const IntRect&, const IntRect&) = default;
};

// Ordinals as stored in streams (one byte each).
enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode : std::uint8_t {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle : std::uint8_t {
  bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};

// Font style set: bit per style.
using TFontStyles = std::uint8_t;
inline constexpr TFontStyles fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8;

enum class PenCap : std::uint8_t { Round, Square, Flat };
enum class PenJoin : std::uint8_t { Round, Bevel, Miter };

// The pen a canvas draws lines and outlines with. Width is in logical units;
// a width of 0 or 1 on a cosmetic pen is one device pixel.
struct CanvasPen {
  TColor color = clBlack;
  int width = 1;
  TPenStyle style = psSolid;
  TPenMode mode = pmCopy;
  bool geometric = false;  // scales with the mapping; else one pixel wide
  PenCap cap = PenCap::Round;
  PenJoin join = PenJoin::Round;
  friend bool operator==(const CanvasPen&, const CanvasPen&) = default;
};

struct CanvasBrush {
  TColor color = clWhite;
  TBrushStyle style = bsSolid;
  friend bool operator==(const CanvasBrush&, const CanvasBrush&) = default;
};

// A font as a device canvas holds it. The height follows the Windows rule:
// negative is the character (em) height in pixels at pixelsPerInch, positive
// the cell height; the point size is derived from it, so a font keeps its
// point size when it moves to a device of another resolution (assignFrom).
struct CanvasFont {
  std::string name = "Arial";
  int height = -11;  // 8 pt at 96 pixels per inch
  int pixelsPerInch = 96;
  TFontStyles style = 0;
  TColor color = clBlack;
  int charset = 1;
  int escapement = 0;   // tenths of a degree, counter-clockwise
  int orientation = 0;  // tenths of a degree

  int size() const { return -mulDiv(height, 72, pixelsPerInch); }
  void setSize(int points) { height = -mulDiv(points, pixelsPerInch, 72); }
  // Takes every attribute of other but keeps this font's resolution, at the
  // same point size.
  void assignFrom(const CanvasFont& other);
  friend bool operator==(const CanvasFont&, const CanvasFont&) = default;
};

}  // namespace vektrano::preview
