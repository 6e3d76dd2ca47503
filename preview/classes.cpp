#include "preview/classes.h"

#include <algorithm>

namespace vektrano::preview {

void TPvValue::SetInches(Extended v) {
  if (v == inches_) return;
  inches_ = v;
  if (OnChange) OnChange(*this);
}

void TPvValue::SetDeviceUnits(int count, int resolution) {
  if (resolution <= 0) return;
  SetInches(static_cast<Extended>(count) / resolution);
}

void TPvValue::Assign(const TPvValue& other) {
  inches_ = other.inches_;
  if (OnChange) OnChange(*this);
}

TPvCustomValueSize::TPvCustomValueSize() {
  auto relay = [this](TPvValue&) {
    if (OnChange) OnChange(*this);
  };
  first_.OnChange = relay;
  second_.OnChange = relay;
}

void TPvCustomValueSize::Assign(const TPvCustomValueSize& other) {
  first_.Assign(other.first_);
  second_.Assign(other.second_);
}

TPvRectExt TPvValueRect::AsRect() const {
  return {TopLeft.X().Inches(), TopLeft.Y().Inches(), BottomRight.X().Inches(), BottomRight.Y().Inches()};
}

void TPvValueRect::SetRect(const TPvRectExt& r) {
  TopLeft.X().SetInches(r.Left);
  TopLeft.Y().SetInches(r.Top);
  BottomRight.X().SetInches(r.Right);
  BottomRight.Y().SetInches(r.Bottom);
}

TPvValue* TPvValueRect::Value(int index) {
  switch (index) {
    case 1: return &TopLeft.X();
    case 2: return &TopLeft.Y();
    case 3: return &BottomRight.X();
    case 4: return &BottomRight.Y();
    default: return nullptr;
  }
}

// --- page objects ----------------------------------------------------------

TPvBaseObject::TPvBaseObject(TPvResourceTable* owner) : owner_(owner) {
  if (owner_) owner_->Attach(this);
}

TPvBaseObject::~TPvBaseObject() {
  if (owner_) owner_->Detach(this);
}

void TPvBaseObject::Changed() {
  if (!Updating && OnChange) OnChange(*this);
}

bool TPvBaseObject::LoadFromValueList(const TPvValueList& v) {
  UserIndex = v.GetInteger("UI", -1);
  return true;
}

void TPvBaseObject::SaveToValueList(TPvValueList& v) const {
  v.SetInteger("ID", TypeId());
  v.SetInteger("UI", UserIndex);
}

bool TPvBaseObject::LoadFromStream(PvStream& stream) {
  TPvValueList v;
  if (!v.LoadFromStream(stream)) return false;
  return LoadFromValueList(v);
}

void TPvBaseObject::SaveToStream(PvStream& stream) const {
  TPvWriter(stream).WriteInteger(TypeId());
  TPvValueList v;
  SaveToValueList(v);
  v.SaveToStream(stream);
}

void TPvBaseObject::DrawOn(DeviceCanvas& canvas, const TPvDeviceInfo& info) {
  if (IsPrinterCanvas(canvas) && !Visible) return;
  Draw(canvas, info);
}

IntRect TPvVisibleObject::BoundingBox() {
  RecordingCanvas c(CanvasKind::Metafile, 96, 96);
  TPvDeviceInfo info;
  Draw(c, info);
  return c.bounds();
}

int TPvBaseObjectList::IndexOf(const TPvBaseObject* o) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == o) return static_cast<int>(i);
  return -1;
}

TPvBaseObject* TPvBaseObjectList::Insert(int index, std::unique_ptr<TPvBaseObject> o) {
  index = std::clamp(index, 0, Count());
  o->OnChange = [this](TPvBaseObject&) { changed(); };
  TPvBaseObject* raw = o.get();
  items_.insert(items_.begin() + index, std::move(o));
  changed();
  return raw;
}

void TPvBaseObjectList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  changed();
}

void TPvBaseObjectList::Move(int from, int to) {
  if (from < 0 || from >= Count()) return;
  to = std::clamp(to, 0, Count() - 1);
  if (from == to) return;
  auto o = std::move(items_[from]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(o));
  changed();
}

// --- margins ---------------------------------------------------------------

float TPvMarginValues::Get(int index) const {
  const TPvValue* v = const_cast<TPvMargins&>(margins_).Side(index);
  return v ? static_cast<float>(v->Value(ValueMeasurement)) : 0.0f;
}

void TPvMarginValues::Set(int index, float value) {
  if (TPvValue* v = margins_.Side(index)) v->SetValue(ValueMeasurement, value);
}

TPvMargins::TPvMargins() : values_(*this) {
  pen_.color = clSilver;
  pen_.style = psDot;
  printerPen_ = pen_;
  for (TPvValue* v : {&left_, &top_, &right_, &bottom_}) {
    v->SetInches(0.5L);
    v->OnChange = [this](TPvValue&) { changed(); };
  }
}

TPvValue* TPvMargins::Side(int index) {
  switch (index) {
    case 0: return &left_;
    case 1: return &top_;
    case 2: return &right_;
    case 3: return &bottom_;
    default: return nullptr;
  }
}

void TPvMargins::SetClipMargins(bool v) {
  if (v == clip_) return;
  clip_ = v;
  changed();
}

void TPvMargins::SetShowPrinterMargins(bool v) {
  if (v == showPrinter_) return;
  showPrinter_ = v;
  changed();
}

void TPvMargins::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  changed();
}

void TPvMargins::SetPen(const CanvasPen& p) {
  pen_ = p;
  changed();
}

void TPvMargins::SetPrinterMarginPen(const CanvasPen& p) {
  printerPen_ = p;
  changed();
}

void TPvMargins::SetAll(const TPvRectExt& r) {
  left_.SetInches(r.Left);
  top_.SetInches(r.Top);
  right_.SetInches(r.Right);
  bottom_.SetInches(r.Bottom);
}

IntRect TPvMargins::MarginRect(int r, Extended w, Extended h) const {
  return {static_cast<int>(roundHalfEven(r * left_.Inches())), static_cast<int>(roundHalfEven(r * top_.Inches())),
          static_cast<int>(roundHalfEven(r * (w - right_.Inches()))),
          static_cast<int>(roundHalfEven(r * (h - bottom_.Inches())))};
}

void TPvMargins::ClipTo(DeviceCanvas& canvas, int r, Extended w, Extended h) const {
  if (clip_) canvas.setClipRect(MarginRect(r, w, h));
}

void TPvMargins::Draw(DeviceCanvas& canvas, int r, Extended w, Extended h,
                      const std::optional<TPvRectExt>& printable) const {
  if (!visible_) return;
  canvas.pen() = pen_;
  canvas.brush().style = bsClear;
  canvas.rectangle(MarginRect(r, w, h));
  if (showPrinter_ && printable) {
    canvas.pen() = printerPen_;
    canvas.rectangle({static_cast<int>(roundHalfEven(r * printable->Left)),
                      static_cast<int>(roundHalfEven(r * printable->Top)),
                      static_cast<int>(roundHalfEven(r * printable->Right)),
                      static_cast<int>(roundHalfEven(r * printable->Bottom))});
  }
}

// --- shadow and grid -------------------------------------------------------

void TPvShadow::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  changed();
}

void TPvShadow::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  changed();
}

void TPvShadow::SetWidth(int w) {
  if (w == width_) return;
  width_ = w;
  changed();
}

void TPvShadow::Assign(const TPvShadow& o) {
  color_ = o.color_;
  visible_ = o.visible_;
  width_ = o.width_;
  changed();
}

void TPvShadow::Draw(DeviceCanvas& canvas, const IntRect& p) const {
  if (!visible_) return;
  canvas.removeClip();
  canvas.setPlainMapping();
  CanvasPen pen;
  pen.color = color_;
  pen.width = 1;
  canvas.pen() = pen;
  canvas.brush() = CanvasBrush{color_, bsSolid};
  const int w = width_;
  canvas.rectangle({p.right + 1, p.top + w + 1, p.right + w + 1, p.bottom + 1});
  canvas.rectangle({p.left + w + 1, p.bottom + 1, p.right + w + 1, p.bottom + w + 1});
}

TPvPageGrid::TPvPageGrid() {
  pen_.color = clSilver;
  pen_.width = 1;
  spacing_.SetValue(pvMillimeters, 10);
  spacing_.OnChange = [this](TPvValue&) { changed(); };
}

void TPvPageGrid::SetGridStyle(TPvGridStyle s) {
  if (s == style_) return;
  style_ = s;
  changed();
}

void TPvPageGrid::SetGridPen(const CanvasPen& p) {
  pen_ = p;
  changed();
}

void TPvPageGrid::Draw(DeviceCanvas& canvas, Extended w, Extended h, int r) const {
  const Extended s = spacing_.Inches();
  if (style_ == pvNoGrid || s <= 0) return;
  canvas.pen() = pen_;
  auto at = [](Extended v) { return static_cast<int>(roundHalfEven(v)); };
  const long long nx = roundHalfEven(w / s), ny = roundHalfEven(h / s);
  if (style_ == pvDots) {
    if (nx < 1) return;
    for (long long i = 1; i <= nx; ++i)
      for (long long j = 1; j <= ny; ++j) canvas.setPixel(at(i * s * r), at(j * s * r), pen_.color);
    return;
  }
  for (long long i = 1; i <= nx; ++i) canvas.line(at(i * s * r), 0, at(i * s * r), at(h * r));
  for (long long j = 1; j <= ny; ++j) canvas.line(0, at(j * s * r), at(w * r), at(j * s * r));
}

// --- paper image -----------------------------------------------------------

TPvPaperImage::TPvPaperImage() = default;

void TPvPaperImage::EndUpdate() {
  if (updates_ > 0) --updates_;
  if (updates_ == 0) invalidate();
}

void TPvPaperImage::SetPage(TPvPaperPage* page) {
  page_ = page;
  if (page_) {
    pageW_ = page_->WidthInches();
    pageH_ = page_->HeightInches();
  }
  invalidate();
}

void TPvPaperImage::SetZoom(int zoom) {
  if (zoom == zoom_) return;
  zoom_ = zoom;
  invalidate();
}

void TPvPaperImage::SetGutter(const IntRect& g) {
  if (g == gutter_) return;
  gutter_ = g;
  invalidate();
}

void TPvPaperImage::SetPageGrid(TPvPageGrid* grid) {
  grid_ = grid;
  if (grid_) grid_->OnChange = [this](TPvPageGrid&) { invalidate(); };
}

void TPvPaperImage::SetShadow(TPvShadow* shadow) {
  shadow_ = shadow;
  if (shadow_) shadow_->OnChange = [this](TPvShadow&) { invalidate(); };
}

IntPoint TPvPaperImage::PageSizeInPixels(int resolution) const {
  return {static_cast<int>(roundHalfEven(resolution * pageW_ * zoom_ / 100)),
          static_cast<int>(roundHalfEven(resolution * pageH_ * zoom_ / 100))};
}

IntRect TPvPaperImage::PageRect() const {
  const IntPoint size = PageSizeInPixels(96);
  const int x = gutter_.left + (ControlWidth - gutter_.left - gutter_.right - size.x) / 2;
  const int y = gutter_.top + (ControlHeight - gutter_.top - gutter_.bottom - size.y) / 2;
  return {x, y, x + size.x, y + size.y};
}

TPvPointExt TPvPaperImage::PagePoint(int x, int y) const {
  const IntRect pr = PageRect();
  const Extended scale = static_cast<Extended>(zoom_) / 100;
  const int dx = x - pr.left, dy = y - pr.top;
  return {dx == 0 || scale == 0 ? 0 : dx / 96.0L / scale, dy == 0 || scale == 0 ? 0 : dy / 96.0L / scale};
}

void TPvPaperImage::toPoint(int x, int y, TPvValuePoint& p) const {
  const TPvPointExt pt = PagePoint(x, y);
  p.X().SetInches(pt.X);
  p.Y().SetInches(pt.Y);
}

void TPvPaperImage::Paint(DeviceCanvas& canvas) {
  if (IsUpdating()) return;
  const TPvOrientation orientation = page_ ? page_->Orientation() : pvPortrait;
  const int res = PageResolution;
  canvas.brush() = CanvasBrush{clWhite, bsSolid};

  const IntPoint winExt{static_cast<int>(roundHalfEven(res * pageW_)), static_cast<int>(roundHalfEven(res * pageH_))};
  const IntRect pr = PageRect();
  canvas.setWindowOrg({0, 0});
  canvas.setAnisotropic(winExt, PageSizeInPixels(96));
  canvas.setViewportOrg({pr.left + ControlPos.x, pr.top + ControlPos.y});

  const IntRect paper{0, 0, winExt.x, winExt.y};
  CanvasPen black;
  black.width = 0;
  canvas.pen() = black;
  DrawRectPolygon(canvas, paper);
  canvas.setClipRect(paper);

  if (margins_) margins_->ClipTo(canvas, res, pageW_, pageH_);
  if (page_ && DrawContents) page_->DrawPage(canvas, res, res, Thumbnail);
  if (margins_) {
    std::optional<TPvRectExt> area;
    if (PrintableArea) area = PrintableArea(orientation);
    margins_->Draw(canvas, res, pageW_, pageH_, area);
  }
  if (grid_) grid_->Draw(canvas, pageW_, pageH_, res);

  canvas.removeClip();
  canvas.pen() = black;
  canvas.brush().style = bsClear;
  DrawRectPolygon(canvas, paper);
  canvas.setClipRect(paper);

  if (shadow_) {
    const IntPoint px = PageSizeInPixels(96);
    shadow_->Draw(canvas, {0, 0, px.x, px.y});
  }
  if (OnAfterPaint) {
    canvas.setClipRect(paper);
    canvas.setPlainMapping();
    canvas.setViewportOrg({0, 0});
    canvas.brush().style = bsClear;
    OnAfterPaint(*this);
  }
}

void TPvPaperImage::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, b, s, x, y);
  toPoint(x, y, mousePoint_);
  if (OnPageMouseDown) OnPageMouseDown(*this, b, s, mousePoint_.X(), mousePoint_.Y());
}

void TPvPaperImage::MouseMove(TShiftState s, int x, int y) {
  if (IsUpdating()) return;
  if (OnMouseMove) OnMouseMove(*this, s, x, y);
  toPoint(x, y, mousePoint_);
  if (OnPageMouseMove) OnPageMouseMove(*this, s, mousePoint_.X(), mousePoint_.Y());
}

void TPvPaperImage::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, b, s, x, y);
  toPoint(x, y, mousePoint_);
  if (OnPageMouseUp) OnPageMouseUp(*this, b, s, mousePoint_.X(), mousePoint_.Y());
}

void TPvPaperImage::DragOver(void* source, int x, int y, int state, bool& accept) {
  if (OnDragOver) OnDragOver(*this, source, x, y, state, accept);
  toPoint(x, y, dragPoint_);
  if (OnPageDragOver) OnPageDragOver(*this, source, dragPoint_.X(), dragPoint_.Y(), state, accept);
}

void TPvPaperImage::DragDrop(void* source, int x, int y) {
  if (OnDragDrop) OnDragDrop(*this, source, x, y);
  toPoint(x, y, dragPoint_);
  if (OnPageDragDrop) OnPageDragDrop(*this, source, dragPoint_.X(), dragPoint_.Y());
}

}  // namespace vektrano::preview
