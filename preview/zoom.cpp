#include "preview/zoom.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace vektrano::preview {

int LimitZoom(int zoom, int minZoom, int maxZoom) { return std::max(std::min(zoom, maxZoom), minZoom); }

int ZoomInStep(int zoom, TPvZoomStyle style, int increment, int minZoom, int maxZoom) {
  int next = zoom;
  if (style == pvFixedZoom) {
    next = zoom + increment;
  } else {
    for (int level : kZoomLevels)
      if (level > zoom) {
        next = level;
        break;
      }
  }
  return LimitZoom(next, minZoom, maxZoom);
}

int ZoomOutStep(int zoom, TPvZoomStyle style, int increment, int minZoom, int maxZoom) {
  int next = zoom;
  if (style == pvFixedZoom) {
    next = zoom - increment;
  } else {
    for (int level : kZoomLevels)
      if (level < zoom) next = level;
  }
  return LimitZoom(next, minZoom, maxZoom);
}

int NewMinZoom(int value, int maxZoom) { return std::max(1, std::min(value, maxZoom)); }

int NewMaxZoom(int value, int minZoom) { return std::max(value, minZoom); }

namespace {

int fit(int extent, int gutterA, int gutterB, Extended pageInches) {
  if (pageInches <= 0) return 0;
  const Extended factor = (extent - gutterA - gutterB - 20) / (pageInches * 96);
  return static_cast<int>(truncToward0(factor * 100));
}

}  // namespace

int FitWidthZoom(const FitInput& in) {
  return fit(in.controlWidth, in.gutter.left, in.gutter.right, in.pageWidth);
}

int FitHeightZoom(const FitInput& in) {
  return fit(in.controlHeight, in.gutter.top, in.gutter.bottom, in.pageHeight);
}

int FitWholePageZoom(const FitInput& in) { return std::min(FitWidthZoom(in), FitHeightZoom(in)); }

Extended ScrollPercent(int position, int range, int client) {
  if (range <= client) return 0;
  return static_cast<Extended>(position) / (range - client) * 100;
}

int ScrollPosition(int range, int client, Extended percent) {
  if (range <= client) return 0;
  return static_cast<int>(roundHalfEven((range - client) * percent / 100));
}

namespace {

// The items of a comma text: commas outside double quotes separate them,
// quotes are taken off ("" stands for one quote inside quotes).
std::vector<std::string> commaItems(std::string_view text) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  std::string cur;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        cur += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        cur += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      items.push_back(std::move(cur));
      cur.clear();
    } else {
      cur += c;
    }
  }
  items.push_back(std::move(cur));
  return items;
}

bool toInt(std::string_view s, int& out) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && p == s.data() + s.size();
}

std::string penText(const CanvasPen& p) {
  return "\"" + std::to_string(p.color) + "," + std::to_string(p.width) + "," + std::to_string(p.style) + "," +
         std::to_string(p.mode) + "\"";
}

// A pen from its comma text; false (and nothing set) when it is not one.
bool penFrom(std::string_view text, CanvasPen& pen) {
  const auto items = commaItems(text);
  int v[4];
  if (items.size() != 4) return false;
  for (int i = 0; i < 4; ++i)
    if (!toInt(items[i], v[i])) return false;
  if (v[2] < psSolid || v[2] > psInsideFrame || v[3] < pmBlack || v[3] > pmNotXor || v[1] < 0) return false;
  pen.color = v[0];
  pen.width = v[1];
  pen.style = static_cast<TPenStyle>(v[2]);
  pen.mode = static_cast<TPenMode>(v[3]);
  return true;
}

}  // namespace

std::string MarginValuesText(const TPvMargins& m) {
  return std::to_string(m.Left().Twips()) + "," + std::to_string(m.Top().Twips()) + "," +
         std::to_string(m.Right().Twips()) + "," + std::to_string(m.Bottom().Twips()) + "," + penText(m.Pen()) +
         "," + penText(m.PrinterMarginPen());
}

void SetMarginValuesText(TPvMargins& m, std::string_view text) {
  const auto items = commaItems(text);
  for (size_t i = 0; i < 4 && i < items.size(); ++i) {
    int twips = 0;
    if (toInt(items[i], twips)) m.Side(static_cast<int>(i))->SetTwips(twips);
  }
  if (items.size() == 4) return;
  CanvasPen pen = m.Pen();
  if (items.size() > 4 && penFrom(items[4], pen)) m.SetPen(pen);
  pen = m.PrinterMarginPen();
  if (items.size() > 5 && penFrom(items[5], pen)) m.SetPrinterMarginPen(pen);
}

}  // namespace vektrano::preview
