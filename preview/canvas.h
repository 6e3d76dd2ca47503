#pragma once
// The one drawing surface of the page-preview library. Pages and page objects
// draw through it in logical units; a window/viewport pair maps them to the
// device (the anisotropic mapping of the Windows programs). Two kinds exist:
// the QPainter canvas (screen, image, PDF, printer) and the recording canvas,
// which logs every primitive in integer device coordinates for the tests.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "preview/graphics.h"

namespace vektrano::preview {

enum class CanvasKind { Screen, Printer, Metafile };

// Flags of the formatted text call (drawText).
enum TextFormat : unsigned {
  tfLeft = 0,
  tfRight = 1,
  tfCenter = 2,
  tfWordBreak = 0x10,
  tfSingleLine = 0x20,
  tfExpandTabs = 0x40,
};

// Logical-to-device mapping. Plain mapping is the identity with the origins
// still applied; anisotropic scales by viewport extent / window extent.
struct CanvasMapping {
  bool anisotropic = false;
  IntPoint windowOrg{}, windowExt{1, 1};
  IntPoint viewportOrg{}, viewportExt{1, 1};
  friend bool operator==(const CanvasMapping&, const CanvasMapping&) = default;

  IntPoint toDevice(IntPoint logical) const;
  IntRect toDevice(IntRect logical) const;
  // Device length of a horizontal / vertical logical length.
  int lengthToDeviceX(int logical) const;
  int lengthToDeviceY(int logical) const;
};

class DeviceCanvas {
 public:
  virtual ~DeviceCanvas() = default;

  virtual CanvasKind kind() const = 0;
  // The device's own resolution.
  virtual int pixelsPerInchX() const = 0;
  virtual int pixelsPerInchY() const = 0;

  // Current drawing objects; primitives read them when they draw.
  CanvasPen& pen() { return pen_; }
  CanvasBrush& brush() { return brush_; }
  CanvasFont& font() { return font_; }
  const CanvasPen& pen() const { return pen_; }
  const CanvasBrush& brush() const { return brush_; }
  const CanvasFont& font() const { return font_; }

  // Mapping. setPlainMapping keeps the origins (as the Windows mapping mode
  // switch does); resetMapping also zeroes them.
  const CanvasMapping& mapping() const { return mapping_; }
  void setAnisotropic(IntPoint windowExt, IntPoint viewportExt);
  void setWindowOrg(IntPoint org);
  void setViewportOrg(IntPoint org);
  void setPlainMapping();
  void resetMapping();
  virtual void mappingChanged() {}

  // Clip to a rectangle given in logical units of the mapping now in force;
  // the clip then stays where it is on the device when the mapping changes.
  virtual void setClipRect(const IntRect& logical) = 0;
  virtual void removeClip() = 0;

  virtual void moveTo(int x, int y) = 0;
  virtual void lineTo(int x, int y) = 0;
  void line(int x1, int y1, int x2, int y2) {
    moveTo(x1, y1);
    lineTo(x2, y2);
  }
  // Filled with the brush and outlined with the pen.
  virtual void polygon(const std::vector<IntPoint>& points) = 0;
  virtual void rectangle(const IntRect& r) = 0;
  // The brush alone, no outline.
  virtual void fillRect(const IntRect& r) = 0;
  virtual void setPixel(int x, int y, TColor color) = 0;
  // One line of text, its top-left corner at (x, y). With advances (one per
  // character, in logical units) each character is placed by them; without,
  // the device spaces the text itself. A clip rectangle clips this call only.
  virtual void textOut(int x, int y, std::string_view text, const std::vector<int>& advances = {},
                       const IntRect* clip = nullptr) = 0;
  // Formatted text inside a rectangle (TextFormat flags); line breaks in the
  // text always start a new line.
  virtual void drawText(const IntRect& r, std::string_view text, unsigned format) = 0;
  // A picture (JPEG or bitmap file bytes) stretched into the rectangle.
  virtual void drawPicture(const IntRect& r, const std::string& bytes) = 0;

 protected:
  CanvasPen pen_;
  CanvasBrush brush_;
  CanvasFont font_;
  CanvasMapping mapping_;
};

// Logs what is drawn, in integer device coordinates, as readable lines:
//   line 10,20 30,40 pen=000000/1/0/4
//   polygon 0,0 10,0 10,10 0,10 0,0 10,0 pen=... brush=FFFFFF/0
//   text 5,7 "abc" adv=10,10,11 clip=0,0,100,20 font=Arial/-11/96/0
// Pens, brushes and fonts are written as the canvas holds them.
class RecordingCanvas : public DeviceCanvas {
 public:
  struct Command {
    std::string op;                // "line", "polygon", "rectangle", ...
    std::vector<IntPoint> points;  // device coordinates
    std::string text;
    std::vector<int> advances;  // device units
    std::optional<IntRect> clip;
    CanvasPen pen;
    CanvasBrush brush;
    CanvasFont font;
    std::string line;  // the readable form above
  };

  explicit RecordingCanvas(CanvasKind kind = CanvasKind::Screen, int ppiX = 96, int ppiY = 96);

  CanvasKind kind() const override { return kind_; }
  int pixelsPerInchX() const override { return ppiX_; }
  int pixelsPerInchY() const override { return ppiY_; }

  void setClipRect(const IntRect& logical) override;
  void removeClip() override;
  const std::optional<IntRect>& clip() const { return clip_; }

  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void polygon(const std::vector<IntPoint>& points) override;
  void rectangle(const IntRect& r) override;
  void fillRect(const IntRect& r) override;
  void setPixel(int x, int y, TColor color) override;
  void textOut(int x, int y, std::string_view text, const std::vector<int>& advances = {},
               const IntRect* clip = nullptr) override;
  void drawText(const IntRect& r, std::string_view text, unsigned format) override;
  void drawPicture(const IntRect& r, const std::string& bytes) override;

  const std::vector<Command>& commands() const { return commands_; }
  std::vector<std::string> lines() const;
  // Commands whose op is op.
  std::vector<const Command*> find(std::string_view op) const;
  void clear() { commands_.clear(); }
  // The smallest device rectangle around every recorded point (and, for text,
  // its origin); all zeros when nothing was drawn.
  IntRect bounds() const;

 private:
  Command& record(std::string op, std::vector<IntPoint> devicePoints);

  CanvasKind kind_;
  int ppiX_, ppiY_;
  IntPoint penPos_{};
  std::optional<IntRect> clip_;
  std::vector<Command> commands_;
};

std::string describe(const CanvasPen& p);
std::string describe(const CanvasBrush& b);
std::string describe(const CanvasFont& f);
std::string describe(const IntRect& r);

}  // namespace vektrano::preview
