#include "preview/gui/painter_canvas.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPolygon>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/cp1250.h"
#include "preview/qt_fonts.h"

namespace vektrano::preview {
namespace {

// A device rectangle with its sides in order (a mapping may flip an axis).
IntRect ordered(IntRect r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

// Right and bottom edges excluded, as every Windows rectangle.
QRect toQRect(const IntRect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

Qt::PenStyle qtPenStyle(TPenStyle s) {
  switch (s) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    default: return Qt::SolidLine;  // solid and inside frame
  }
}

Qt::BrushStyle qtBrushStyle(TBrushStyle s) {
  switch (s) {
    case bsSolid: return Qt::SolidPattern;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::NoBrush;
  }
}

// The raster operation of a pen mode; black and white are drawn as colours
// and "nop" not at all, so they never get here.
QPainter::CompositionMode qtMode(TPenMode m) {
  switch (m) {
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

// Device text: line breaks of any kind as "\n".
QString deviceText(std::string_view text) {
  QString s = platform::toQString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

}  // namespace

QColor toQColor(TColor color) {
  if (color == clNone) return QColor();
  const TColor rgb = colorToRgb(color);
  return QColor(redOf(rgb), greenOf(rgb), blueOf(rgb));
}

PainterCanvas::PainterCanvas(QPainter& painter, CanvasKind kind, int ppiX, int ppiY)
    : p_(painter), kind_(kind), ppiX_(ppiX > 0 ? ppiX : 96), ppiY_(ppiY > 0 ? ppiY : 96) {
  p_.save();
  // Whole device pixels, as the Windows drawing calls gave them; text keeps
  // its smoothing.
  p_.setRenderHint(QPainter::Antialiasing, false);
  p_.setRenderHint(QPainter::TextAntialiasing, true);
  font_.pixelsPerInch = ppiY_;
  font_.setSize(8);
}

PainterCanvas::PainterCanvas(QPainter& painter, CanvasKind kind)
    : PainterCanvas(painter, kind, painter.device() ? painter.device()->logicalDpiX() : 96,
                    painter.device() ? painter.device()->logicalDpiY() : 96) {}

PainterCanvas::~PainterCanvas() { p_.restore(); }

bool PainterCanvas::applyPen() {
  const CanvasPen& cp = pen_;
  if (cp.style == psClear || cp.color == clNone || cp.mode == pmNop) {
    p_.setPen(Qt::NoPen);
    return false;
  }
  QColor color = toQColor(cp.color);
  if (cp.mode == pmBlack) color = Qt::black;
  if (cp.mode == pmWhite) color = Qt::white;
  // A pen's width is logical, like every other length; a cosmetic pen of
  // width 0 or 1 is one device pixel whatever the mapping.
  int width = 1;
  if (cp.geometric || cp.width > 1) width = std::max(1, std::abs(mapping_.lengthToDeviceX(cp.width)));
  QPen pen(color, width, qtPenStyle(cp.style));
  if (cp.geometric) {
    pen.setCapStyle(cp.cap == PenCap::Square ? Qt::SquareCap : cp.cap == PenCap::Flat ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(cp.join == PenJoin::Miter ? Qt::MiterJoin
                     : cp.join == PenJoin::Bevel ? Qt::BevelJoin
                                                 : Qt::RoundJoin);
  } else {
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
  }
  p_.setPen(pen);
  return true;
}

bool PainterCanvas::applyBrush() {
  if (brush_.style == bsClear || brush_.color == clNone || pen_.mode == pmNop) {
    p_.setBrush(Qt::NoBrush);
    return false;
  }
  QColor color = toQColor(brush_.color);
  if (pen_.mode == pmBlack) color = Qt::black;
  if (pen_.mode == pmWhite) color = Qt::white;
  p_.setBrush(QBrush(color, qtBrushStyle(brush_.style)));
  return true;
}

void PainterCanvas::applyMode() {
  const QPaintEngine* engine = p_.paintEngine();
  const bool rasterOps = engine && engine->hasFeature(QPaintEngine::RasterOpModes);
  p_.setCompositionMode(rasterOps ? qtMode(pen_.mode) : QPainter::CompositionMode_SourceOver);
}

void PainterCanvas::setClipRect(const IntRect& logical) {
  clip_ = toQRect(ordered(mapping_.toDevice(logical)));
  clipped_ = true;
  applyClip();
}

void PainterCanvas::removeClip() {
  clipped_ = false;
  applyClip();
}

void PainterCanvas::applyClip() {
  // The painter's own clip (a widget's paint region) stays in force under
  // ours; restore() and save() bring it back each time.
  p_.restore();
  p_.save();
  p_.setRenderHint(QPainter::Antialiasing, false);
  p_.setRenderHint(QPainter::TextAntialiasing, true);
  if (clipped_) narrowClip(clip_);
}

void PainterCanvas::narrowClip(const QRect& r) {
  p_.setClipRect(r, p_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void PainterCanvas::moveTo(int x, int y) { penPos_ = {x, y}; }

void PainterCanvas::lineTo(int x, int y) {
  const IntPoint a = mapping_.toDevice(penPos_), b = mapping_.toDevice(IntPoint{x, y});
  penPos_ = {x, y};
  applyMode();
  if (!applyPen()) return;
  p_.drawLine(QPoint(a.x, a.y), QPoint(b.x, b.y));
}

void PainterCanvas::polygon(const std::vector<IntPoint>& points) {
  if (points.empty()) return;
  applyMode();
  const bool pen = applyPen(), brush = applyBrush();
  // A text box's frame in a clear pen and brush: nothing to draw (the
  // usual case of a printed grid cell).
  if (!pen && !brush) return;
  QPolygon poly;
  poly.reserve(static_cast<qsizetype>(points.size()));
  for (const auto& pt : points) {
    const IntPoint d = mapping_.toDevice(pt);
    poly << QPoint(d.x, d.y);
  }
  p_.drawPolygon(poly, Qt::OddEvenFill);
}

void PainterCanvas::rectangle(const IntRect& r) {
  const IntRect d = ordered(mapping_.toDevice(r));
  const int w = d.right - d.left, h = d.bottom - d.top;
  if (w <= 0 || h <= 0) return;
  applyMode();
  const bool pen = applyPen(), brush = applyBrush();
  // The outline runs on the rectangle's last pixels (right and bottom
  // excluded); without a pen the fill is one pixel smaller each way.
  if (brush) {
    const QBrush b = p_.brush();
    p_.fillRect(pen ? QRect(d.left, d.top, w, h) : QRect(d.left, d.top, w - 1, h - 1), b);
  }
  if (pen) {
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(QRect(d.left, d.top, w - 1, h - 1));
  }
}

void PainterCanvas::fillRect(const IntRect& r) {
  const IntRect d = ordered(mapping_.toDevice(r));
  applyMode();
  if (!applyBrush()) return;
  p_.fillRect(toQRect(d), p_.brush());
}

void PainterCanvas::setPixel(int x, int y, TColor color) {
  if (color == clNone) return;
  const IntPoint d = mapping_.toDevice(IntPoint{x, y});
  p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p_.setPen(QPen(toQColor(color), 1));
  p_.drawPoint(d.x, d.y);
}

QFont PainterCanvas::deviceFont() const { return cachedFont().qfont; }

const PainterCanvas::FontCache& PainterCanvas::cachedFont() const {
  FontCache& c = fontCache_;
  if (c.metrics && c.font == font_ && c.anisotropic == mapping_.anisotropic &&
      c.viewportY == mapping_.viewportExt.y && c.windowY == mapping_.windowExt.y)
    return c;
  QFont f = toQFont(font_);
  if (mapping_.anisotropic && mapping_.windowExt.y != 0) {
    // The font's height is logical: the device em follows the vertical scale.
    const double scale = std::abs(static_cast<double>(mapping_.viewportExt.y) / mapping_.windowExt.y);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(f.pixelSize() * scale))));
  }
  c.font = font_;
  c.anisotropic = mapping_.anisotropic;
  c.viewportY = mapping_.viewportExt.y;
  c.windowY = mapping_.windowExt.y;
  c.qfont = f;
  c.metrics = std::make_unique<QFontMetricsF>(f, p_.device());
  return c;
}

void PainterCanvas::textOut(int x, int y, std::string_view text, const std::vector<int>& advances,
                            const IntRect* clip) {
  if (text.empty()) return;
  const QString s = platform::toQString(text);
  const FontCache& cache = cachedFont();
  const QFont& f = cache.qfont;
  const QFontMetricsF& fm = *cache.metrics;
  const IntPoint o = mapping_.toDevice(IntPoint{x, y});

  // Where each character starts along the baseline, in device pixels: the
  // running sum of the advances mapped as one length, so rounding never
  // accumulates over a long caption.
  std::vector<int> offsets;
  int total = 0;
  if (!advances.empty()) {
    offsets.reserve(s.size() + 1);
    long long sum = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
      offsets.push_back(std::abs(mapping_.lengthToDeviceX(static_cast<int>(sum))));
      sum += i < static_cast<qsizetype>(advances.size()) ? advances[i] : 0;
    }
    total = std::abs(mapping_.lengthToDeviceX(static_cast<int>(sum)));
  } else {
    total = static_cast<int>(std::lround(fm.horizontalAdvance(s)));
  }

  p_.save();
  if (clip) narrowClip(toQRect(ordered(mapping_.toDevice(*clip))));
  p_.translate(o.x, o.y);
  if (font_.escapement != 0) p_.rotate(-font_.escapement / 10.0);  // counter-clockwise
  applyMode();
  // A solid brush is the text's background, as the Windows canvas gave it.
  if (brush_.style == bsSolid && brush_.color != clNone)
    p_.fillRect(QRectF(0, 0, total, fm.ascent() + fm.descent()), toQColor(brush_.color));
  p_.setFont(f);
  const QColor ink = font_.color == clNone ? QColor(Qt::black) : toQColor(font_.color);
  p_.setPen(QPen(ink));
  const qreal baseline = fm.ascent();
  if (offsets.empty()) {
    p_.drawText(QPointF(0, baseline), s);
  } else {
    for (qsizetype i = 0; i < s.size(); ++i) p_.drawText(QPointF(offsets[i], baseline), QString(s[i]));
  }
  p_.restore();
}

void PainterCanvas::drawText(const IntRect& r, std::string_view text, unsigned format) {
  const IntRect d = ordered(mapping_.toDevice(r));
  const FontCache& cache = cachedFont();
  const QFont& f = cache.qfont;
  const QFontMetricsF& fm = *cache.metrics;
  // Lines follow one another by the font's height (ascent and descent), as
  // the Windows text call steps them and as the font mapper measured them;
  // Qt's own line spacing would add the font's leading to every line.
  const qreal step = fm.ascent() + fm.descent();
  const bool wrap = format & tfWordBreak;
  const qreal width = d.right - d.left;

  const QColor ink = font_.color == clNone ? QColor(Qt::black) : toQColor(font_.color);
  const bool opaque = brush_.style == bsSolid && brush_.color != clNone;
  auto xFor = [&](qreal lineWidth) {
    if (format & tfRight) return d.right - lineWidth;
    if (format & tfCenter) return d.left + (width - lineWidth) / 2;
    return static_cast<qreal>(d.left);
  };
  const QString all = deviceText(text);
  const bool oneParagraph = !all.contains(QLatin1Char('\n')) && !all.contains(QLatin1Char('\t'));
  const qreal w = oneParagraph ? fm.horizontalAdvance(all) : 0;
  if (oneParagraph && (!wrap || w <= width)) {
    // One line, the usual cell: no layout, and no clip when it fits.
    const bool fits = w <= width && step <= d.bottom - d.top;
    if (!fits) {
      p_.save();
      narrowClip(toQRect(d));
    }
    applyMode();
    p_.setFont(f);
    p_.setPen(QPen(ink));
    const qreal x = xFor(w);
    if (opaque) p_.fillRect(QRectF(x, d.top, w, step), toQColor(brush_.color));
    p_.drawText(QPointF(x, d.top + fm.ascent()), all);
    if (!fits) p_.restore();
    return;
  }
  p_.save();
  applyMode();
  p_.setFont(f);
  p_.setPen(QPen(ink));
  narrowClip(toQRect(d));
  qreal y = d.top;
  QTextOption option;
  option.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
  if (format & tfExpandTabs) option.setTabStopDistance(8 * fm.averageCharWidth());
  for (const QString& paragraph : all.split(QLatin1Char('\n'))) {
    QTextLayout layout(paragraph, f, p_.device());
    layout.setTextOption(option);
    layout.beginLayout();
    std::vector<QTextLine> lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(wrap ? width : 1e7);
      line.setPosition(QPointF(0, y - d.top));
      lines.push_back(line);
      y += step;
    }
    layout.endLayout();
    if (lines.empty()) y += step;  // an empty paragraph is a line too
    for (const QTextLine& line : lines) {
      const qreal w = line.naturalTextWidth();
      const qreal x = xFor(w);
      if (opaque) p_.fillRect(QRectF(x, d.top + line.position().y(), w, step), toQColor(brush_.color));
      line.draw(&p_, QPointF(x, d.top));
    }
  }
  p_.restore();
}

void PainterCanvas::drawPicture(const IntRect& r, const std::string& bytes) {
  QImage image;
  if (bytes.empty() ||
      !image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size())))
    return;  // a metafile or damaged picture draws nothing
  const IntRect d = ordered(mapping_.toDevice(r));
  p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p_.drawImage(toQRect(d), image);
}

}  // namespace vektrano::preview
