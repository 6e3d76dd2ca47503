#pragma once
// The device canvas over a QPainter: a widget, a QImage, a QPdfWriter or a
// QPrinter, whatever device the painter was begun on. Logical coordinates go
// through the canvas mapping to whole device pixels exactly as the recording
// canvas computes them, and are drawn with the painter's own transform left
// alone, so what the recording canvas logs is where the pixels land.
//
// This is the only place where the library's colours ($00BBGGRR, clNone, the
// system colours), pen and brush styles and fonts become Qt objects.
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <memory>
#include <QPainter>

#include "preview/canvas.h"

namespace vektrano::preview {

// clNone gives an invalid QColor (nothing is drawn in it); system colours
// take their classic values.
QColor toQColor(TColor color);

class PainterCanvas : public DeviceCanvas {
 public:
  // The painter must be active; the canvas draws through it until destroyed
  // and leaves its state (pen, brush, clip, transform) as it found it.
  PainterCanvas(QPainter& painter, CanvasKind kind, int ppiX, int ppiY);
  // The resolution of the painter's device.
  explicit PainterCanvas(QPainter& painter, CanvasKind kind = CanvasKind::Screen);
  ~PainterCanvas() override;
  PainterCanvas(const PainterCanvas&) = delete;
  PainterCanvas& operator=(const PainterCanvas&) = delete;

  CanvasKind kind() const override { return kind_; }
  int pixelsPerInchX() const override { return ppiX_; }
  int pixelsPerInchY() const override { return ppiY_; }

  void setClipRect(const IntRect& logical) override;
  void removeClip() override;

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

  // The QFont the current font draws with on this device under the mapping
  // now in force.
  QFont deviceFont() const;

 private:
  // Pen and brush of the canvas set into the painter; false when the pen
  // draws nothing (clear style or clNone).
  bool applyPen();
  bool applyBrush();
  void applyMode();
  void applyClip();
  // The clip now in force cut down to r (device pixels).
  void narrowClip(const QRect& r);

  // The device font and its metrics, made again only when the canvas font or
  // the vertical scale changes (a page draws thousands of cells in one font).
  struct FontCache {
    CanvasFont font;
    int viewportY = 0, windowY = 0;
    bool anisotropic = false;
    QFont qfont;
    std::unique_ptr<QFontMetricsF> metrics;
  };
  const FontCache& cachedFont() const;

  QPainter& p_;
  mutable FontCache fontCache_;
  CanvasKind kind_;
  int ppiX_, ppiY_;
  IntPoint penPos_{};
  bool clipped_ = false;
  QRect clip_;
};

}  // namespace vektrano::preview
