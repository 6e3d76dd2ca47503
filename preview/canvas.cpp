#include "preview/canvas.h"

#include <algorithm>
#include <cstdio>

namespace vektrano::preview {
namespace {

int mapAxis(int l, int wOrg, int wExt, int vOrg, int vExt) {
  if (wExt == 0) return vOrg;
  return static_cast<int>(roundHalfEven(static_cast<Extended>(l - wOrg) * vExt / wExt)) + vOrg;
}

std::string hex6(TColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(c) & 0xFFFFFFFFu);
  return buf;
}

std::string pointsText(const std::vector<IntPoint>& pts) {
  std::string s;
  for (const auto& p : pts) {
    if (!s.empty()) s += ' ';
    s += std::to_string(p.x) + "," + std::to_string(p.y);
  }
  return s;
}

}  // namespace

IntPoint CanvasMapping::toDevice(IntPoint l) const {
  if (!anisotropic)
    return {l.x - windowOrg.x + viewportOrg.x, l.y - windowOrg.y + viewportOrg.y};
  return {mapAxis(l.x, windowOrg.x, windowExt.x, viewportOrg.x, viewportExt.x),
          mapAxis(l.y, windowOrg.y, windowExt.y, viewportOrg.y, viewportExt.y)};
}

IntRect CanvasMapping::toDevice(IntRect r) const {
  IntPoint a = toDevice(IntPoint{r.left, r.top}), b = toDevice(IntPoint{r.right, r.bottom});
  return {a.x, a.y, b.x, b.y};
}

int CanvasMapping::lengthToDeviceX(int l) const {
  if (!anisotropic || windowExt.x == 0) return l;
  return static_cast<int>(roundHalfEven(static_cast<Extended>(l) * viewportExt.x / windowExt.x));
}

int CanvasMapping::lengthToDeviceY(int l) const {
  if (!anisotropic || windowExt.y == 0) return l;
  return static_cast<int>(roundHalfEven(static_cast<Extended>(l) * viewportExt.y / windowExt.y));
}

void DeviceCanvas::setAnisotropic(IntPoint windowExt, IntPoint viewportExt) {
  mapping_.anisotropic = true;
  mapping_.windowExt = windowExt;
  mapping_.viewportExt = viewportExt;
  mappingChanged();
}

void DeviceCanvas::setWindowOrg(IntPoint org) {
  mapping_.windowOrg = org;
  mappingChanged();
}

void DeviceCanvas::setViewportOrg(IntPoint org) {
  mapping_.viewportOrg = org;
  mappingChanged();
}

void DeviceCanvas::setPlainMapping() {
  mapping_.anisotropic = false;
  mapping_.windowExt = mapping_.viewportExt = {1, 1};
  mappingChanged();
}

void DeviceCanvas::resetMapping() {
  mapping_ = CanvasMapping{};
  mappingChanged();
}

std::string describe(const CanvasPen& p) {
  std::string s = hex6(p.color) + "/" + std::to_string(p.width) + "/" + std::to_string(p.style) + "/" +
                  std::to_string(p.mode);
  if (p.geometric) s += p.cap == PenCap::Square ? "/geometric-square" : "/geometric";
  return s;
}

std::string describe(const CanvasBrush& b) { return hex6(b.color) + "/" + std::to_string(b.style); }

std::string describe(const CanvasFont& f) {
  std::string s = f.name + "/" + std::to_string(f.height) + "/" + std::to_string(f.pixelsPerInch) + "/" +
                  std::to_string(f.style);
  if (f.escapement != 0) s += "/esc" + std::to_string(f.escapement);
  return s;
}

std::string describe(const IntRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

RecordingCanvas::RecordingCanvas(CanvasKind kind, int ppiX, int ppiY) : kind_(kind), ppiX_(ppiX), ppiY_(ppiY) {
  font_.pixelsPerInch = ppiY;
  font_.setSize(8);
}

RecordingCanvas::Command& RecordingCanvas::record(std::string op, std::vector<IntPoint> pts) {
  Command c;
  c.op = std::move(op);
  c.points = std::move(pts);
  c.pen = pen_;
  c.brush = brush_;
  c.font = font_;
  commands_.push_back(std::move(c));
  return commands_.back();
}

void RecordingCanvas::setClipRect(const IntRect& logical) {
  clip_ = mapping_.toDevice(logical);
  record("clip", {{clip_->left, clip_->top}, {clip_->right, clip_->bottom}}).line = "clip " + describe(*clip_);
}

void RecordingCanvas::removeClip() {
  clip_.reset();
  record("noclip", {}).line = "noclip";
}

void RecordingCanvas::moveTo(int x, int y) { penPos_ = {x, y}; }

void RecordingCanvas::lineTo(int x, int y) {
  IntPoint a = mapping_.toDevice(penPos_), b = mapping_.toDevice(IntPoint{x, y});
  penPos_ = {x, y};
  auto& c = record("line", {a, b});
  c.line = "line " + pointsText(c.points) + " pen=" + describe(pen_);
}

void RecordingCanvas::polygon(const std::vector<IntPoint>& points) {
  std::vector<IntPoint> d;
  for (const auto& p : points) d.push_back(mapping_.toDevice(p));
  auto& c = record("polygon", std::move(d));
  c.line = "polygon " + pointsText(c.points) + " pen=" + describe(pen_) + " brush=" + describe(brush_);
}

void RecordingCanvas::rectangle(const IntRect& r) {
  IntRect d = mapping_.toDevice(r);
  auto& c = record("rectangle", {{d.left, d.top}, {d.right, d.bottom}});
  c.line = "rectangle " + describe(d) + " pen=" + describe(pen_) + " brush=" + describe(brush_);
}

void RecordingCanvas::fillRect(const IntRect& r) {
  IntRect d = mapping_.toDevice(r);
  auto& c = record("fill", {{d.left, d.top}, {d.right, d.bottom}});
  c.line = "fill " + describe(d) + " brush=" + describe(brush_);
}

void RecordingCanvas::setPixel(int x, int y, TColor color) {
  IntPoint d = mapping_.toDevice(IntPoint{x, y});
  auto& c = record("pixel", {d});
  c.line = "pixel " + pointsText(c.points) + " " + hex6(color);
}

void RecordingCanvas::textOut(int x, int y, std::string_view text, const std::vector<int>& advances,
                              const IntRect* clip) {
  auto& c = record("text", {mapping_.toDevice(IntPoint{x, y})});
  c.text = std::string(text);
  for (int a : advances) c.advances.push_back(mapping_.lengthToDeviceX(a));
  if (clip) c.clip = mapping_.toDevice(*clip);
  c.line = "text " + pointsText(c.points) + " \"" + c.text + "\"";
  if (!c.advances.empty()) {
    c.line += " adv=";
    for (size_t i = 0; i < c.advances.size(); ++i) c.line += (i ? "," : "") + std::to_string(c.advances[i]);
  }
  if (c.clip) c.line += " clip=" + describe(*c.clip);
  c.line += " font=" + describe(font_);
}

void RecordingCanvas::drawText(const IntRect& r, std::string_view text, unsigned format) {
  IntRect d = mapping_.toDevice(r);
  auto& c = record("drawtext", {{d.left, d.top}, {d.right, d.bottom}});
  c.text = std::string(text);
  c.line = "drawtext " + describe(d) + " \"" + c.text + "\" format=" + std::to_string(format) +
           " font=" + describe(font_);
}

void RecordingCanvas::drawPicture(const IntRect& r, const std::string& bytes) {
  IntRect d = mapping_.toDevice(r);
  auto& c = record("picture", {{d.left, d.top}, {d.right, d.bottom}});
  c.line = "picture " + describe(d) + " bytes=" + std::to_string(bytes.size());
}

std::vector<std::string> RecordingCanvas::lines() const {
  std::vector<std::string> out;
  for (const auto& c : commands_) out.push_back(c.line);
  return out;
}

std::vector<const RecordingCanvas::Command*> RecordingCanvas::find(std::string_view op) const {
  std::vector<const Command*> out;
  for (const auto& c : commands_)
    if (c.op == op) out.push_back(&c);
  return out;
}

IntRect RecordingCanvas::bounds() const {
  bool any = false;
  IntRect b;
  for (const auto& c : commands_) {
    if (c.op == "clip" || c.op == "noclip") continue;
    for (const auto& p : c.points) {
      if (!any) {
        b = {p.x, p.y, p.x, p.y};
        any = true;
      }
      b.left = std::min(b.left, p.x);
      b.top = std::min(b.top, p.y);
      b.right = std::max(b.right, p.x);
      b.bottom = std::max(b.bottom, p.y);
    }
  }
  return b;
}

}  // namespace vektrano::preview
