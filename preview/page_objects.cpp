#include "preview/page_objects.h"

#include <algorithm>

namespace vektrano::preview {

namespace {

int toDevice(Extended inches, int ppi) { return static_cast<int>(roundHalfEven(inches * ppi)); }

// An index into a list after the entry at removed left it (-1: all left).
void followRemoval(int& index, int removed) {
  if (index < 0) return;
  if (removed < 0 || index == removed) index = -1;
  else if (index > removed) --index;
}

template <class T>
void setField(TPvBaseObject& o, T& field, const T& value) {
  if (field == value) return;
  field = value;
  o.Changed();
}

}  // namespace

// ---- outline and solid shapes

void TPvOutlineShape::SetPenIndex(int index) { setField(*this, pen_, index); }

TPvPen* TPvOutlineShape::Pen() const { return Owner() ? Owner()->Pens.Items(pen_) : nullptr; }

void TPvOutlineShape::ResourceRemoved(TPvResourceKind kind, int index) {
  if (kind == TPvResourceKind::Pen) followRemoval(pen_, index);
}

void TPvOutlineShape::Draw(DeviceCanvas& canvas, const TPvDeviceInfo& info) {
  if (TPvPen* p = Pen()) p->ApplyTo(canvas, info.PixelsPerInchX);
}

bool TPvOutlineShape::LoadFromValueList(const TPvValueList& v) {
  if (!TPvVisibleObject::LoadFromValueList(v)) return false;
  pen_ = v.GetInteger("P", -1);
  return true;
}

void TPvOutlineShape::SaveToValueList(TPvValueList& v) const {
  TPvVisibleObject::SaveToValueList(v);
  if (pen_ != -1) v.SetInteger("P", pen_);
}

void TPvSolidShape::SetBrushIndex(int index) { setField(*this, brush_, index); }

TPvBrush* TPvSolidShape::Brush() const { return Owner() ? Owner()->Brushes.Items(brush_) : nullptr; }

void TPvSolidShape::ResourceRemoved(TPvResourceKind kind, int index) {
  TPvOutlineShape::ResourceRemoved(kind, index);
  if (kind == TPvResourceKind::Brush) followRemoval(brush_, index);
}

void TPvSolidShape::Draw(DeviceCanvas& canvas, const TPvDeviceInfo& info) {
  TPvOutlineShape::Draw(canvas, info);
  if (TPvBrush* b = Brush()) b->ApplyTo(canvas);
}

bool TPvSolidShape::LoadFromValueList(const TPvValueList& v) {
  if (!TPvOutlineShape::LoadFromValueList(v)) return false;
  brush_ = v.GetInteger("B", -1);
  return true;
}

void TPvSolidShape::SaveToValueList(TPvValueList& v) const {
  TPvOutlineShape::SaveToValueList(v);
  if (brush_ != -1) v.SetInteger("B", brush_);
}

// ---- rectangle-placed shapes

void TPvBaseSolidShape::SetRect(const TPvRectExt& inches) { setField(*this, rect_, inches); }

void TPvBaseSolidShape::SetLeft(TPvMeasurement m, Extended v) {
  setField(*this, rect_.Left, ConvertValue(v, m, pvInches));
}
void TPvBaseSolidShape::SetTop(TPvMeasurement m, Extended v) {
  setField(*this, rect_.Top, ConvertValue(v, m, pvInches));
}
void TPvBaseSolidShape::SetRight(TPvMeasurement m, Extended v) {
  setField(*this, rect_.Right, ConvertValue(v, m, pvInches));
}
void TPvBaseSolidShape::SetBottom(TPvMeasurement m, Extended v) {
  setField(*this, rect_.Bottom, ConvertValue(v, m, pvInches));
}

void TPvBaseSolidShape::OffsetBy(TPvMeasurement m, Extended dx, Extended dy) {
  rect_ = OffsetRectExt(rect_, ConvertValue(dx, m, pvInches), ConvertValue(dy, m, pvInches));
  Changed();
}

IntRect TPvBaseSolidShape::DeviceRect(int ppiX, int ppiY) const {
  return {toDevice(rect_.Left, ppiX), toDevice(rect_.Top, ppiY), toDevice(rect_.Right, ppiX),
          toDevice(rect_.Bottom, ppiY)};
}

bool TPvSimpleSolidShape::LoadFromValueList(const TPvValueList& v) {
  if (!TPvBaseSolidShape::LoadFromValueList(v)) return false;
  LoadRect(v.GetRect("XY", {}));
  return true;
}

void TPvSimpleSolidShape::SaveToValueList(TPvValueList& v) const {
  TPvBaseSolidShape::SaveToValueList(v);
  v.SetRect("XY", Rect());
}

void TPvLineObject::Draw(DeviceCanvas& canvas, const TPvDeviceInfo& info) {
  TPvSimpleSolidShape::Draw(canvas, info);
  const IntRect r = DeviceRect(info.PixelsPerInchX, info.PixelsPerInchY);
  canvas.line(r.left, r.top, r.right, r.bottom);
}

IntRect TPvLineObject::ScreenBounds() const {
  const IntRect r = DeviceRect(96, 96);
  // A line may run right to left or upwards; the box is of its extent.
  return {std::min(r.left, r.right) - 3, std::min(r.top, r.bottom) - 3, std::max(r.left, r.right) + 3,
          std::max(r.top, r.bottom) + 3};
}

void TPvRectangleShape::Draw(DeviceCanvas& canvas, const TPvDeviceInfo& info) {
  TPvSimpleSolidShape::Draw(canvas, info);
  DrawRectPolygon(canvas, DeviceRect(info.PixelsPerInchX, info.PixelsPerInchY));
}

// ---- text

void TPvBaseTextObject::SetText(const std::string& text) { setField(*this, text_, text); }
void TPvBaseTextObject::SetClipRect(const TPvRectExt& inches) { setField(*this, clip_, inches); }
void TPvBaseTextObject::SetFontIndex(int index) { setField(*this, font_, index); }

TPvFont* TPvBaseTextObject::Font() const { return Owner() ? Owner()->Fonts.Items(font_) : nullptr; }

void TPvBaseTextObject::ResourceRemoved(TPvResourceKind kind, int index) {
  TPvBaseSolidShape::ResourceRemoved(kind, index);
  if (kind == TPvResourceKind::Font) followRemoval(font_, index);
}

void TPvBaseTextObject::Draw(DeviceCanvas& canvas, const TPvDeviceInfo& info) {
  TPvBaseSolidShape::Draw(canvas, info);
  if (TPvFont* f = Font()) {
    // The point size is kept; the pixel height follows the device drawn for.
    canvas.font().pixelsPerInch = info.PixelsPerInchY;
    f->ApplyTo(canvas);
  }
}

bool TPvBaseTextObject::LoadFromValueList(const TPvValueList& v) {
  if (!TPvBaseSolidShape::LoadFromValueList(v)) return false;
  text_ = v.GetString("T");
  clip_ = v.GetRect("CR", {});
  const TPvPointExt p = v.GetPoint("XY", {});
  TPvRectExt r = Rect();
  r.Left = p.X;
  r.Top = p.Y;
  LoadRect(r);
  font_ = v.GetInteger("F", -1);
  return true;
}

void TPvBaseTextObject::SaveToValueList(TPvValueList& v) const {
  TPvBaseSolidShape::SaveToValueList(v);
  v.SetString("T", text_);
  v.SetRect("CR", clip_);
  v.SetPoint("XY", {Rect().Left, Rect().Top});
  v.SetInteger("F", font_);
}

void TPvTextBoxObject::SetPadding(Extended inches) { setField(*this, padding_, inches); }
void TPvTextBoxObject::SetTextHeight(Extended inches) { setField(*this, textHeight_, inches); }
void TPvTextBoxObject::SetAlignment(int a) { setField(*this, align_, a); }
void TPvTextBoxObject::SetVertAlignment(TPvVertAlignment a) { setField(*this, valign_, a); }
void TPvTextBoxObject::SetCT(bool v) { setField(*this, ct_, v); }
void TPvTextBoxObject::SetWordBreak(bool v) { setField(*this, wordBreak_, v); }

void TPvTextBoxObject::Draw(DeviceCanvas& canvas, const TPvDeviceInfo& info) {
  TPvBaseTextObject::Draw(canvas, info);
  const std::string text = ReplaceTokens(Text(), info.PageNumber, info.PageCount);
  const IntRect box = DeviceRect(info.PixelsPerInchX, info.PixelsPerInchY);
  const int th = toDevice(textHeight_, info.PixelsPerInchY);
  IntRect r = box;
  if (valign_ == pvMiddle)
    r.top += (RectHeight(box) - th) / 2;
  else if (valign_ == pvBottom)
    r.top = r.bottom - th;
  DrawRectPolygon(canvas, box);
  const int px = toDevice(padding_, info.PixelsPerInchX);
  const int py = toDevice(padding_, info.PixelsPerInchY);
  r.left += px;
  r.right -= px;
  r.top += py;
  r.bottom -= py;
  unsigned format = tfExpandTabs;
  if (align_ == pvAlignRight)
    format |= tfRight;
  else if (align_ == pvAlignCenter)
    format |= tfCenter;
  if (wordBreak_) format |= tfWordBreak;
  canvas.drawText(r, text, format);
}

bool TPvTextBoxObject::LoadFromValueList(const TPvValueList& v) {
  if (!TPvBaseTextObject::LoadFromValueList(v)) return false;
  const TPvPointExt p2 = v.GetPoint("XY2", {});
  TPvRectExt r = Rect();
  r.Right = p2.X;
  r.Bottom = p2.Y;
  LoadRect(r);
  padding_ = v.GetExtended("TP", 0);
  textHeight_ = v.GetExtended("TH", 0);
  align_ = v.GetInteger("TA", 0);
  const int va = v.GetInteger("VA", 0);
  valign_ = va == pvMiddle || va == pvBottom ? static_cast<TPvVertAlignment>(va) : pvTop;
  ct_ = v.GetBoolean("CT", true);
  wordBreak_ = v.GetBoolean("WB", true);
  return true;
}

void TPvTextBoxObject::SaveToValueList(TPvValueList& v) const {
  TPvBaseTextObject::SaveToValueList(v);
  v.SetPoint("XY2", {Rect().Right, Rect().Bottom});
  v.SetExtended("TP", padding_);
  v.SetExtended("TH", textHeight_);
  v.SetString("T", Text());
  if (align_ != 0) v.SetInteger("TA", align_);
  if (valign_ != pvTop) v.SetInteger("VA", valign_);
  if (!ct_) v.SetBoolean("CT", false);
  if (!wordBreak_) v.SetBoolean("WB", false);
  v.SetInteger("F", FontIndex());
}

// ---- stream records

std::unique_ptr<TPvBaseObject> CreatePageObject(int typeId, TPvResourceTable* owner) {
  switch (typeId) {
    case kPvLineObjectId:
      return std::make_unique<TPvLineObject>(owner);
    case kPvRectangleShapeId:
      return std::make_unique<TPvRectangleShape>(owner);
    case kPvTextBoxObjectId:
      return std::make_unique<TPvTextBoxObject>(owner);
    default:
      return nullptr;
  }
}

std::unique_ptr<TPvBaseObject> LoadPageObject(PvStream& stream, TPvResourceTable* owner) {
  const std::int64_t start = stream.position();
  TPvReader reader(stream);
  std::int32_t id = 0;
  if (!reader.ReadInteger(id)) {
    stream.seek(start);
    return nullptr;
  }
  auto o = CreatePageObject(id, owner);
  if (!o) {
    std::string skipped;
    if (!reader.ReadBlock(skipped)) stream.seek(start);
    return nullptr;
  }
  if (!o->LoadFromStream(stream)) {
    stream.seek(start);
    return nullptr;
  }
  return o;
}

}  // namespace vektrano::preview
