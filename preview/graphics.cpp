#include "preview/graphics.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace vektrano::preview {

long long roundHalfEven(Extended v) {
  // Both follow the default rounding mode, which is to nearest-even; llrint
  // goes straight to the integer, where nearbyint first saves and restores
  // the floating-point state, which shows in a long print.
  return std::llrintl(v);
}

long long truncToward0(Extended v) { return static_cast<long long>(std::truncl(v)); }

int mulDiv(int a, int b, int c) {
  if (c == 0) return 0;
  long long n = static_cast<long long>(a) * b;
  long long q = n / c, r = n % c;
  if (2 * std::llabs(r) >= std::llabs(static_cast<long long>(c))) q += ((n < 0) != (c < 0)) ? -1 : 1;
  return static_cast<int>(q);
}

TColor colorToRgb(TColor c) {
  // Classic Windows defaults of the system colours, in $00BBGGRR.
  static constexpr std::array<TColor, 31> kSystem = {
      0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
      0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
      0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
      0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0xFF9933, 0xC8D0D4};
  if (c == clNone || c == clDefault) return clWhite;
  if (static_cast<std::uint32_t>(c) & 0x80000000u) {
    unsigned index = static_cast<std::uint32_t>(c) & 0xFF;
    return index < kSystem.size() ? kSystem[index] : clBlack;
  }
  return c & 0xFFFFFF;
}

void CanvasFont::assignFrom(const CanvasFont& other) {
  const int ppi = pixelsPerInch;
  *this = other;
  if (ppi != other.pixelsPerInch) {
    pixelsPerInch = ppi;
    setSize(other.size());
  }
}

}  // namespace vektrano::preview
