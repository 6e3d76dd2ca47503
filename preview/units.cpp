#include "preview/units.h"

#include <array>
#include <limits>
#include <stdexcept>

#include "platform/message.h"
#include "preview/font_mapper.h"

namespace vektrano::preview {

Extended ConvertValue(Extended value, TPvMeasurement from, TPvMeasurement to) {
  if (from == to) return value;
  Extended in = value;
  switch (from) {
    case pvUnits: in = value / 100 / 25.4L; break;
    case pvPixels: in = value / 96; break;
    case pvMillimeters: in = value / 25.4L; break;
    case pvCentimeters: in = value * 10 / 25.4L; break;
    case pvInches: break;
    case pvTwips: in = value / 1440; break;
  }
  switch (to) {
    case pvUnits: return in * 25.4L * 100;
    case pvPixels: return in * 96;
    case pvMillimeters: return in * 25.4L;
    case pvCentimeters: return in * 25.4L / 10;
    case pvInches: return in;
    case pvTwips: return in * 1440;
  }
  return in;
}

TPvRectExt ConvertRect(const TPvRectExt& r, TPvMeasurement from, TPvMeasurement to) {
  return {ConvertValue(r.Left, from, to), ConvertValue(r.Top, from, to), ConvertValue(r.Right, from, to),
          ConvertValue(r.Bottom, from, to)};
}

TPvPointExt ConvertPoint(const TPvPointExt& p, TPvMeasurement from, TPvMeasurement to) {
  return {ConvertValue(p.X, from, to), ConvertValue(p.Y, from, to)};
}

TPvPointExt MakePointExt(Extended x, Extended y) { return {x, y}; }
TPvRectExt MakeRectExt(Extended l, Extended t, Extended r, Extended b) { return {l, t, r, b}; }
TPvRectExt OffsetRectExt(const TPvRectExt& r, Extended dx, Extended dy) {
  return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

IntRect ScaleRect(const IntRect& r, Extended factor) {
  auto scale = [factor](int v) {
    long long s = roundHalfEven(v * factor);
    if (s < std::numeric_limits<int>::min() || s > std::numeric_limits<int>::max() ||
        v * factor != v * factor)
      throw std::range_error("ScaleRect: out of range");
    return static_cast<int>(s);
  };
  return {scale(r.left), scale(r.top), scale(r.right), scale(r.bottom)};
}

RectCorners RectToCorners(const IntRect& r) {
  return {{r.left, r.top}, {r.right, r.top}, {r.left, r.bottom}, {r.right, r.bottom}};
}
IntRect CornersToRect(const RectCorners& c) {
  return {c.topLeft.x, c.topLeft.y, c.bottomRight.x, c.bottomRight.y};
}

void SwapValues(Extended& a, Extended& b) { std::swap(a, b); }

namespace {

struct PaperEntry {
  const char* name;
  Extended width, height;
  TPvMeasurement unit;
};

constexpr std::array<PaperEntry, kPaperSizeCount> kPapers = {{
    {"A3", 297, 420, pvMillimeters},
    {"A4", 210, 297, pvMillimeters},
    {"A5", 148.5L, 210, pvMillimeters},
    {"A6", 105, 148, pvMillimeters},
    {"B5", 6.92L, 9.84L, pvInches},
    {"C5", 6.38L, 9.02L, pvInches},
    {"Legal", 8.5L, 14, pvInches},
    {"Letter", 8.5L, 11, pvInches},
    {"Custom", 0, 0, pvInches},
    {"B4", 250, 354, pvMillimeters},
    {"Envelope_09", 3.78L, 8.78L, pvInches},
    {"Envelope_10", 4.18L, 9.12L, pvInches},
    {"Envelope_11", 4.12L, 10.38L, pvInches},
    {"Envelope_12", 12.44L, 11, pvInches},
    {"Envelope_14", 14.5L, 11.12L, pvInches},
    {"Tabloid", 11, 17, pvInches},
    {"Ledger", 17, 11, pvInches},
    {"Executive", 7.14L, 10.12L, pvInches},
}};

}  // namespace

TPvSizeExt PaperSizeInches(TPvPaperSize paper) {
  if (paper >= kPaperSizeCount) return {};
  const auto& e = kPapers[paper];
  return {ConvertValue(e.width, e.unit, pvInches), ConvertValue(e.height, e.unit, pvInches)};
}

std::string PaperSizeName(TPvPaperSize paper) {
  return paper < kPaperSizeCount ? kPapers[paper].name : "Custom";
}

TPvPaperSize PaperSizeFromName(std::string_view name) {
  for (int i = 0; i < kPaperSizeCount; ++i)
    if (name == kPapers[i].name) return static_cast<TPvPaperSize>(i);
  return Custom;
}

bool IsEnvelopePaper(TPvPaperSize p) {
  switch (p) {
    case B5: case C5: case B4: case Envelope_09: case Envelope_10: case Envelope_11: case Envelope_12:
    case Envelope_14:
      return true;
    default:
      return false;
  }
}

std::string FontStyleToText(TFontStyles style) {
  std::string s;
  auto add = [&s](const char* t) {
    if (!s.empty()) s += ',';
    s += t;
  };
  if (style & fsBold) add("b");
  if (style & fsItalic) add("i");
  if (style & fsUnderline) add("u");
  return s;
}

TFontStyles TextToFontStyle(std::string_view text) {
  TFontStyles st = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    std::string_view item = text.substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                               : comma - start);
    while (!item.empty() && (item.front() == ' ' || item.front() == '"')) item.remove_prefix(1);
    while (!item.empty() && (item.back() == ' ' || item.back() == '"')) item.remove_suffix(1);
    if (item == "b") st |= fsBold;
    else if (item == "i") st |= fsItalic;
    else if (item == "u") st |= fsUnderline;
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return st;
}

Extended TextHeightInches(const CanvasFont& font) {
  CanvasFont at600;
  at600.pixelsPerInch = 600;
  at600.assignFrom(font);
  return static_cast<Extended>(FontMapper().measurer().textHeight(at600)) / 600;
}

TColor ContrastColor(TColor color) {
  TColor rgb = colorToRgb(color);
  auto c = [](int v) { return v <= 128 ? 255 : 0; };
  return makeRgb(c(redOf(rgb)), c(greenOf(rgb)), c(blueOf(rgb)));
}

void DrawRectPolygon(DeviceCanvas& canvas, const IntRect& r) {
  canvas.polygon({{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom},
                  {r.left, r.top}, {r.right, r.top}});
}

bool IsPrinterCanvas(const DeviceCanvas& canvas) { return canvas.kind() == CanvasKind::Printer; }

std::string ReplaceAllText(std::string_view text, std::string_view token, std::string_view replacement) {
  if (token.empty()) return std::string(text);
  std::string out;
  size_t pos = 0;
  for (;;) {
    size_t hit = text.find(token, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(replacement);
    pos = hit + token.size();
  }
  out.append(text.substr(pos));
  return out;
}

DateSeparators SystemDateSeparators() { return {}; }

std::string FormatDateTime(std::string_view f, const platform::DateTime& t, DateSeparators seps) {
  auto two = [](int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
  };
  std::string out;
  char lastLetter = 0;
  size_t i = 0;
  while (i < f.size()) {
    char c = f[i];
    char u = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    size_t n = 1;
    while (i + n < f.size() && (f[i + n] == c || f[i + n] == u || f[i + n] == u + 32)) ++n;
    if (u == 'M' && lastLetter == 'H') u = 'N';
    switch (u) {
      case 'D':
        out += n >= 2 ? two(t.day) : std::to_string(t.day);
        break;
      case 'M':
        out += n >= 2 ? two(t.month) : std::to_string(t.month);
        break;
      case 'Y':
        out += n >= 3 ? std::to_string(t.year) : two(t.year % 100);
        break;
      case 'H':
        out += n >= 2 ? two(t.hour) : std::to_string(t.hour);
        break;
      case 'N':
        out += n >= 2 ? two(t.minute) : std::to_string(t.minute);
        break;
      case 'S':
        out += n >= 2 ? two(t.second) : std::to_string(t.second);
        break;
      case '/':
        n = 1;
        out += seps.date;
        break;
      case ':':
        n = 1;
        out += seps.time;
        break;
      case '"':
      case '\'': {
        size_t end = f.find(c, i + 1);
        if (end == std::string_view::npos) end = f.size();
        out.append(f.substr(i + 1, end - i - 1));
        n = end - i + 1;
        break;
      }
      default:
        n = 1;
        out += c;
    }
    if (u >= 'A' && u <= 'Z') lastLetter = u;
    i += n;
  }
  return out;
}

std::string ReplaceTokens(std::string_view text, int page, int count, std::string_view timeFormat,
                          std::string_view dateFormat, const platform::DateTime& now, DateSeparators seps) {
  std::string s = ReplaceAllText(text, "{DATE}", FormatDateTime(dateFormat, now, seps));
  s = ReplaceAllText(s, "{TIME}", FormatDateTime(timeFormat, now, seps));
  s = ReplaceAllText(s, "{PAGE}", std::to_string(page));
  return ReplaceAllText(s, "{NUMPAGES}", std::to_string(count));
}

std::string ReplaceTokens(std::string_view text, int page, int count, std::string_view timeFormat,
                          std::string_view dateFormat) {
  if (text.find('{') == std::string_view::npos) return std::string(text);
  return ReplaceTokens(text, page, count, timeFormat, dateFormat, platform::now(), SystemDateSeparators());
}

std::string WindowsVersionName(WindowsPlatform platform, int major, int minor) {
  switch (platform) {
    case WindowsPlatform::Win32s: return "Windows 3.1x running Win32s";
    case WindowsPlatform::Windows9x:
      if (major < 4) return "Windows 95";
      return minor < 90 ? "Windows 98" : "Windows ME";
    case WindowsPlatform::WindowsNT:
      if (major <= 4) return "Windows NT";
      return minor == 0 ? "Windows 2000" : "Windows XP";
    case WindowsPlatform::Other: break;
  }
  return {};
}

std::string WindowsVersionName() { return WindowsVersionName(WindowsPlatform::Other, 0, 0); }

std::string PvAboutText(std::string_view className) {
  return std::string(className) + " v" + kPvLibraryVersion + ".6";
}

void ShowPvError(std::string_view className, std::string_view message) {
  platform::showMessage(std::string(className) + " Error!\r\n\r\n" + std::string(message),
                        platform::MessageKind::Error);
}

}  // namespace vektrano::preview
