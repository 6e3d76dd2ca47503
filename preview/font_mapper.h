#pragma once
// The high-resolution text measurer of the library. Text is measured at 3600
// or 7200 units per inch, broken into lines of a given width, and drawn with
// each character placed at the position that measurement gives, so that a
// caption has the same proportions on the screen and on any printer.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "preview/canvas.h"
#include "preview/measurer.h"

namespace vektrano::preview {

// 3600 on "Windows 95" and "Windows 98", 7200 on every other system.
int MeasureResolutionFor(std::string_view windowsVersionName);

// The measuring resolution the program's font mapper chose (7200 here).
extern int MeasureResolution;

// Whole-pixel advances of characters whose exact widths are given: each takes
// its truncated width, and the fractions carried over are paid out a pixel
// at a time once they exceed 1, so the line keeps its total width.
std::vector<int> ComputeAdvances(const std::vector<Extended>& widths);

class TPvFontMapper {
 public:
  TPvFontMapper(std::unique_ptr<TextMeasurer> measurer, int measureResolution);

  TextMeasurer& measurer() { return *measurer_; }
  void setMeasurer(std::unique_ptr<TextMeasurer> m) { measurer_ = std::move(m); }
  // The resolution measuring is done at now: 96 after a screen call, else the
  // measuring resolution.
  int resolution() const { return resolution_; }
  int measureResolution() const { return measureResolution_; }

  // Breaks into lines only while on (the canvas sets it before each call).
  bool WordWrap = true;

  struct Extent {
    Extended width = 0, height = 0;  // inches
  };
  // The text in canvasFont's point size, measured at the current resolution.
  Extent MeasureText(const CanvasFont& canvasFont, std::string_view text);
  Extended MappedTextWidth(const CanvasFont& canvasFont, std::string_view text);
  Extended MappedTextHeight(const CanvasFont& canvasFont, std::string_view text);

  // Height of the text broken into lines of the rectangle's width, rectangle
  // and result in units of the measuring resolution; 0 for an empty text.
  Extended WrappedTextHeight(const CanvasFont& font, const IntRect& rect, std::string_view text);

  // Breaks the text into lines that fit the rectangle (device units of the
  // canvas font's resolution) and draws each: alignment 0 left, 1 right, 2
  // centred. Returns the height of the lines in the same device units.
  Extended WrapText(DeviceCanvas& canvas, const IntRect& rect, std::string_view text, int alignment,
                    bool screen);

  // One line at (x, y) with mapped character positions.
  void DrawMappedText(DeviceCanvas& canvas, int x, int y, std::string_view text, const IntRect* clip,
                      bool screen);

  // The advances DrawMappedText gives the text in canvasFont on a device of
  // targetPpi, at the current resolution.
  std::vector<int> MappedAdvances(const CanvasFont& canvasFont, int targetPpi, std::string_view text);

 private:
  struct Line {
    std::string text;
    int number;
  };
  Extended wrap(const CanvasFont& font, const IntRect& rect, std::string_view text, std::vector<Line>* out);
  CanvasFont measuringFont(const CanvasFont& canvasFont) const;
  void setScreen(bool screen) { resolution_ = screen ? 96 : measureResolution_; }

  std::unique_ptr<TextMeasurer> measurer_;
  int measureResolution_;
  int resolution_;
};

// The one mapper of the program, created on first use with the Qt measurer
// and the resolution of the running system.
TPvFontMapper& FontMapper();
// Puts another measurer into the program's mapper (tests: the fixed one).
void SetFontMapperMeasurer(std::unique_ptr<TextMeasurer> measurer);

}  // namespace vektrano::preview
