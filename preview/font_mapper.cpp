#include "preview/font_mapper.h"

#include <cmath>
#include <mutex>

#include "preview/units.h"

namespace vektrano::preview {

int MeasureResolutionFor(std::string_view name) {
  return (name == "Windows 98" || name == "Windows 95") ? 3600 : 7200;
}

int MeasureResolution = MeasureResolutionFor(WindowsVersionName());

std::vector<int> ComputeAdvances(const std::vector<Extended>& widths) {
  std::vector<int> adv;
  adv.reserve(widths.size());
  Extended error = 0;
  for (Extended w : widths) {
    const long long whole = truncToward0(w);
    long long a = whole;
    error += w - whole;
    if (error > 1.0L) {
      // Pay out the whole pixels carried and keep the rest: what is added is
      // what is taken off, so no pixel is lost over a long caption.
      const long long carry = truncToward0(error);
      a += carry;
      error -= carry;
    }
    adv.push_back(static_cast<int>(a));
  }
  return adv;
}

TPvFontMapper::TPvFontMapper(std::unique_ptr<TextMeasurer> measurer, int measureResolution)
    : measurer_(std::move(measurer)), measureResolution_(measureResolution), resolution_(measureResolution) {}

CanvasFont TPvFontMapper::measuringFont(const CanvasFont& canvasFont) const {
  CanvasFont f;
  f.pixelsPerInch = resolution_;
  f.assignFrom(canvasFont);
  return f;
}

TPvFontMapper::Extent TPvFontMapper::MeasureText(const CanvasFont& canvasFont, std::string_view text) {
  const CanvasFont f = measuringFont(canvasFont);
  return {static_cast<Extended>(measurer_->textWidth(f, text)) / resolution_,
          static_cast<Extended>(measurer_->textHeight(f)) / resolution_};
}

Extended TPvFontMapper::MappedTextWidth(const CanvasFont& font, std::string_view text) {
  const CanvasFont f = measuringFont(font);
  return static_cast<Extended>(measurer_->textWidth(f, text)) / resolution_;
}

Extended TPvFontMapper::MappedTextHeight(const CanvasFont& font, std::string_view) {
  const CanvasFont f = measuringFont(font);
  return static_cast<Extended>(measurer_->textHeight(f)) / resolution_;
}

namespace {

// Up to and including the first blank or carriage return; the rest when there
// is neither.
std::string_view nextWord(std::string_view& rest) {
  size_t cut = rest.find_first_of(" \r");
  size_t len = cut == std::string_view::npos ? rest.size() : cut + 1;
  std::string_view word = rest.substr(0, len);
  rest.remove_prefix(len);
  return word;
}

std::string withoutTrailingBlanks(std::string s) {
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.pop_back();
  return s;
}

}  // namespace

Extended TPvFontMapper::wrap(const CanvasFont& font, const IntRect& rect, std::string_view text,
                             std::vector<Line>* out) {
  const int target = font.pixelsPerInch > 0 ? font.pixelsPerInch : 96;
  const Extended available = static_cast<Extended>(rect.right - rect.left) / target;
  // One measuring font for the whole call: the resolution does not change
  // while a text is broken.
  const CanvasFont measuring = measuringFont(font);
  auto widthOf = [&](std::string_view s) {
    return static_cast<Extended>(measurer_->textWidth(measuring, s)) / resolution_;
  };
  int count = 0;
  std::string line, probe;
  bool lineEnd = false;

  // One line when there is nothing to break: a single word, or a text that
  // fits whole (each probe below is a part of it from its start). Most cells
  // of a long grid are such, and breaking them word by word is what costs.
  if (text.find('\r') == std::string_view::npos &&
      (!WordWrap || text.find(' ') == std::string_view::npos || widthOf(text) <= available)) {
    if (out && !text.empty()) out->push_back({std::string(text), 0});
    return text.empty() ? 0 : static_cast<Extended>(measurer_->textHeight(measuring)) / resolution_ * target;
  }

  std::string copy = ReplaceAllText(text, "\r\n", "\r");
  std::string_view rest = copy;
  while (!rest.empty()) {
    std::string_view word = nextWord(rest);
    if (WordWrap && !lineEnd) {
      probe.assign(line);
      probe.append(word);
    }
    if (WordWrap && (lineEnd || widthOf(probe) > available)) {
      if (widthOf(word) > available) {
        line += word;  // an over-long word ends the current line, or stands alone
        word = {};
      }
      if (out) out->push_back({line, count});
      line.clear();
      ++count;
      lineEnd = false;
    }
    line += word;
    if (!word.empty() && word.back() == '\r') lineEnd = true;
  }
  if (!line.empty()) {
    if (out) out->push_back({line, count});
    ++count;
  }
  return static_cast<Extended>(measurer_->textHeight(measuring)) / resolution_ * count * target;
}

Extended TPvFontMapper::WrappedTextHeight(const CanvasFont& font, const IntRect& rect, std::string_view text) {
  resolution_ = measureResolution_;
  CanvasFont f;
  f.pixelsPerInch = measureResolution_;
  f.assignFrom(font);
  return wrap(f, rect, text, nullptr);
}

Extended TPvFontMapper::WrapText(DeviceCanvas& canvas, const IntRect& rect, std::string_view text, int alignment,
                                 bool screen) {
  setScreen(screen);
  const CanvasFont font = canvas.font();
  const int target = font.pixelsPerInch > 0 ? font.pixelsPerInch : 96;
  std::vector<Line> lines;
  const Extended height = wrap(font, rect, text, &lines);
  for (const auto& l : lines) {
    const std::string s = withoutTrailingBlanks(l.text);
    const int w = static_cast<int>(roundHalfEven(MappedTextWidth(font, s) * target));
    int x = rect.left;
    if (alignment == 1) x = rect.left + (rect.right - rect.left - w);
    else if (alignment == 2) x = rect.left + (rect.right - rect.left - w) / 2;
    const int y = rect.top + static_cast<int>(roundHalfEven(MappedTextHeight(font, s) * l.number * target));
    DrawMappedText(canvas, x, y, s, &rect, screen);
  }
  return height;
}

std::vector<int> TPvFontMapper::MappedAdvances(const CanvasFont& canvasFont, int target, std::string_view text) {
  const CanvasFont f = measuringFont(canvasFont);
  std::vector<Extended> widths;
  widths.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    widths.push_back(static_cast<Extended>(measurer_->textWidth(f, text.substr(i, 1))) / resolution_ * target);
  return ComputeAdvances(widths);
}

void TPvFontMapper::DrawMappedText(DeviceCanvas& canvas, int x, int y, std::string_view text, const IntRect* clip,
                                   bool screen) {
  setScreen(screen);
  const int target = canvas.font().pixelsPerInch > 0 ? canvas.font().pixelsPerInch : 96;
  std::vector<int> adv = MappedAdvances(canvas.font(), target, text);
  canvas.textOut(x, y, text, adv, clip);
}

namespace {

std::mutex& mapperLock() {
  static std::mutex m;
  return m;
}
std::unique_ptr<TPvFontMapper>& mapperSlot() {
  static std::unique_ptr<TPvFontMapper> slot;
  return slot;
}

}  // namespace

TPvFontMapper& FontMapper() {
  std::lock_guard guard(mapperLock());
  auto& slot = mapperSlot();
  if (!slot) slot = std::make_unique<TPvFontMapper>(makeQtMeasurer(), MeasureResolution);
  return *slot;
}

void SetFontMapperMeasurer(std::unique_ptr<TextMeasurer> measurer) {
  std::lock_guard guard(mapperLock());
  auto& slot = mapperSlot();
  if (!slot) slot = std::make_unique<TPvFontMapper>(std::move(measurer), MeasureResolution);
  else slot->setMeasurer(std::move(measurer));
}

}  // namespace vektrano::preview
