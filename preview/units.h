#pragma once
// What the whole page-preview library shares: its enumerations, the extended
// value records, unit conversion through inches, the paper table, the font
// style text, token replacement in captions, the error box and the About text.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/datetime.h"
#include "preview/canvas.h"
#include "preview/graphics.h"

namespace vektrano::preview {

// Every enumeration is a one-byte ordinal from 0, in this order, as streams
// and settings store it.
enum TPvMeasurement : std::uint8_t { pvUnits, pvPixels, pvMillimeters, pvCentimeters, pvInches, pvTwips };
enum TPvPaperSize : std::uint8_t {
  A3, A4, A5, A6, B5, C5, Legal, Letter, Custom, B4,
  Envelope_09, Envelope_10, Envelope_11, Envelope_12, Envelope_14, Tabloid, Ledger, Executive
};
inline constexpr int kPaperSizeCount = 18;
enum TPvOrientation : std::uint8_t { pvPortrait, pvLandscape };
enum TPvPagesPerSheet : std::uint8_t { pvOnePage, pvTwoPage, pvFourPage };
enum TPvPrintColor : std::uint8_t { pvColor, pvMonochrome };
enum TPvPrintQuality : std::uint8_t { pvDraft, pvLow, pvMedium, pvHigh };
enum TPvDitherType : std::uint8_t { pvNone, pvCourse, pvFine, pvLineArt, pvGrayScale };
enum TPvDuplexType : std::uint8_t { pvSimplex, pvHorzDuplex, pvVertDuplex };
enum TPvGridStyle : std::uint8_t { pvNoGrid, pvDots, pvLines };
enum TPvHighlightStyle : std::uint8_t { pvThinLine, pvThickLine, pvBackground };
enum TPvThumbNailLayout : std::uint8_t { pvThumbHorz, pvThumbVert, pvThumbGrid };
enum TPvVertAlignment : std::uint8_t { pvTop, pvMiddle, pvBottom };
enum TPvZoomStyle : std::uint8_t { pvFixedZoom, pvVariableZoom };
enum TPvCoordsRelative : std::uint8_t { pvFromPage, pvFromPrinterMargins, pvFromUserMargins, pvFromHeaderLine };

struct TPvPointExt {
  Extended X = 0, Y = 0;
  friend bool operator==(const TPvPointExt&, const TPvPointExt&) = default;
};
struct TPvRectExt {
  Extended Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TPvRectExt&, const TPvRectExt&) = default;
};
struct TPvSizeExt {
  Extended Width = 0, Height = 0;
  friend bool operator==(const TPvSizeExt&, const TPvSizeExt&) = default;
};
struct TPvValuePair {
  Extended X = 0, Y = 0;
  TPvMeasurement Measurement = pvInches;
};

Extended ConvertValue(Extended value, TPvMeasurement from, TPvMeasurement to);
TPvRectExt ConvertRect(const TPvRectExt& r, TPvMeasurement from, TPvMeasurement to);
TPvPointExt ConvertPoint(const TPvPointExt& p, TPvMeasurement from, TPvMeasurement to);

TPvPointExt MakePointExt(Extended x, Extended y);
TPvRectExt MakeRectExt(Extended left, Extended top, Extended right, Extended bottom);
TPvRectExt OffsetRectExt(const TPvRectExt& r, Extended dx, Extended dy);
// Each side times factor, rounded; std::range_error when a side leaves the
// 32-bit range.
IntRect ScaleRect(const IntRect& r, Extended factor);

struct RectCorners {
  IntPoint topLeft, topRight, bottomLeft, bottomRight;
};
RectCorners RectToCorners(const IntRect& r);
IntRect CornersToRect(const RectCorners& c);
inline int RectWidth(const IntRect& r) { return r.right - r.left; }
inline int RectHeight(const IntRect& r) { return r.bottom - r.top; }
inline Extended MaxValue(Extended a, Extended b) { return a > b ? a : b; }
inline Extended MinValue(Extended a, Extended b) { return a < b ? a : b; }
inline int MaxValue(int a, int b) { return a > b ? a : b; }
inline int MinValue(int a, int b) { return a < b ? a : b; }
void SwapValues(Extended& a, Extended& b);

// Portrait width and height in inches; Custom has no entry and gives 0 x 0.
TPvSizeExt PaperSizeInches(TPvPaperSize paper);
std::string PaperSizeName(TPvPaperSize paper);
// Exact, case-sensitive; any other text gives Custom.
TPvPaperSize PaperSizeFromName(std::string_view name);
bool IsEnvelopePaper(TPvPaperSize paper);

// "b", "i", "u" joined by commas, in that order; strike-out is not carried.
std::string FontStyleToText(TFontStyles style);
TFontStyles TextToFontStyle(std::string_view text);

// The height of one line of the font in inches, measured at 600 pixels per
// inch through the font mapper's measurer.
Extended TextHeightInches(const CanvasFont& font);

// For each of red, green and blue: 255 when the component is 128 or less,
// else 0.
TColor ContrastColor(TColor color);

// The rectangle as one filled and outlined polygon of six points: top-left,
// top-right, bottom-right, bottom-left, top-left, top-right.
void DrawRectPolygon(DeviceCanvas& canvas, const IntRect& r);
bool IsPrinterCanvas(const DeviceCanvas& canvas);

// Every occurrence of token replaced, in one pass from left to right (a
// replacement that holds the token is not searched again). An empty token
// leaves the text as it is.
std::string ReplaceAllText(std::string_view text, std::string_view token, std::string_view replacement);

// The separators that "/" and ":" of a date or time format print as.
struct DateSeparators {
  char date = '.';
  char time = ':';
};
// Those of the system (Czech: "." and ":").
DateSeparators SystemDateSeparators();
// A date/time format: d dd m mm yy yyyy h hh n nn s ss ("m" right after an
// hour is minutes), "/" the date separator, ":" the time separator, text in
// quotes literal; anything else is copied.
std::string FormatDateTime(std::string_view format, const platform::DateTime& t, DateSeparators seps);

// The library-wide formats of every token replacement.
inline constexpr const char* kPvDateFormat = "dd/mm/yyyy";
inline constexpr const char* kPvTimeFormat = "hh/mm";

// {DATE}, {TIME}, {PAGE}, {NUMPAGES}, in that order.
std::string ReplaceTokens(std::string_view text, int pageNumber, int pageCount,
                          std::string_view timeFormat = kPvTimeFormat,
                          std::string_view dateFormat = kPvDateFormat);
std::string ReplaceTokens(std::string_view text, int pageNumber, int pageCount, std::string_view timeFormat,
                          std::string_view dateFormat, const platform::DateTime& now, DateSeparators seps);

// The version name the measuring resolution is chosen by. The running system
// is none of the Windows platforms, so its name is empty.
enum class WindowsPlatform { Win32s, Windows9x, WindowsNT, Other };
std::string WindowsVersionName(WindowsPlatform platform, int major, int minor);
std::string WindowsVersionName();

inline constexpr const char* kPvLibraryVersion = "2.96";
// Class name + " v2.96.6" (always with ".").
std::string PvAboutText(std::string_view className);
// The library's error box: class name, " Error!", an empty line, the message.
void ShowPvError(std::string_view className, std::string_view message);

}  // namespace vektrano::preview
