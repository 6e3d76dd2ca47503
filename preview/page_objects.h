#pragma once
// What a page holds: lines, rectangles and text boxes, kept in inches with
// their pens, brushes and fonts referred to by index into the document's
// resource table. Each object turns inches into device pixels only when it
// draws, so the same page prints at 600 dpi and previews at 96.
#include <memory>
#include <string>

#include "preview/classes.h"
#include "preview/resource.h"

namespace vektrano::preview {

// Type ids of the stream record.
inline constexpr int kPvLineObjectId = 1;
inline constexpr int kPvRectangleShapeId = 2;
inline constexpr int kPvTextBoxObjectId = 14;

// Draws with a pen of the pen list ("P"; -1 leaves the canvas pen as it is).
class TPvOutlineShape : public TPvVisibleObject {
 public:
  using TPvVisibleObject::TPvVisibleObject;
  int PenIndex() const { return pen_; }
  void SetPenIndex(int index);
  // The stored pen, or nullptr for none or an index the table lacks.
  TPvPen* Pen() const;

  void ResourceRemoved(TPvResourceKind kind, int index) override;
  void Draw(DeviceCanvas& canvas, const TPvDeviceInfo& info) override;
  bool LoadFromValueList(const TPvValueList& v) override;
  void SaveToValueList(TPvValueList& v) const override;

 private:
  int pen_ = -1;
};

// Adds a brush of the brush list ("B").
class TPvSolidShape : public TPvOutlineShape {
 public:
  using TPvOutlineShape::TPvOutlineShape;
  int BrushIndex() const { return brush_; }
  void SetBrushIndex(int index);
  TPvBrush* Brush() const;

  void ResourceRemoved(TPvResourceKind kind, int index) override;
  void Draw(DeviceCanvas& canvas, const TPvDeviceInfo& info) override;
  bool LoadFromValueList(const TPvValueList& v) override;
  void SaveToValueList(TPvValueList& v) const override;

 private:
  int brush_ = -1;
};

// A shape placed by a rectangle in inches, read and written in any unit.
class TPvBaseSolidShape : public TPvSolidShape {
 public:
  using TPvSolidShape::TPvSolidShape;

  const TPvRectExt& Rect() const { return rect_; }
  void SetRect(const TPvRectExt& inches);
  Extended Left(TPvMeasurement m) const { return ConvertValue(rect_.Left, pvInches, m); }
  Extended Top(TPvMeasurement m) const { return ConvertValue(rect_.Top, pvInches, m); }
  Extended Right(TPvMeasurement m) const { return ConvertValue(rect_.Right, pvInches, m); }
  Extended Bottom(TPvMeasurement m) const { return ConvertValue(rect_.Bottom, pvInches, m); }
  void SetLeft(TPvMeasurement m, Extended v);
  void SetTop(TPvMeasurement m, Extended v);
  void SetRight(TPvMeasurement m, Extended v);
  void SetBottom(TPvMeasurement m, Extended v);

  // Both offsets added to all four sides.
  void OffsetBy(TPvMeasurement m, Extended dx, Extended dy) override;
  // Each side times the resolution of its axis, rounded.
  IntRect DeviceRect(int ppiX, int ppiY) const;

 protected:
  // Loading sets the fields without change events.
  void LoadRect(const TPvRectExt& inches) { rect_ = inches; }

 private:
  TPvRectExt rect_;
};

// Keeps its rectangle as "XY".
class TPvSimpleSolidShape : public TPvBaseSolidShape {
 public:
  using TPvBaseSolidShape::TPvBaseSolidShape;
  bool LoadFromValueList(const TPvValueList& v) override;
  void SaveToValueList(TPvValueList& v) const override;
};

// From (Left, Top) to (Right, Bottom).
class TPvLineObject : public TPvSimpleSolidShape {
 public:
  using TPvSimpleSolidShape::TPvSimpleSolidShape;
  int TypeId() const override { return kPvLineObjectId; }
  void Draw(DeviceCanvas& canvas, const TPvDeviceInfo& info) override;
  // The line's box at 96 dpi, 3 pixels wider on every side, so a thin or
  // upright line can still be hit and framed.
  IntRect ScreenBounds() const;
  IntRect BoundingBox() override { return ScreenBounds(); }
};

class TPvRectangleShape : public TPvSimpleSolidShape {
 public:
  using TPvSimpleSolidShape::TPvSimpleSolidShape;
  int TypeId() const override { return kPvRectangleShapeId; }
  void Draw(DeviceCanvas& canvas, const TPvDeviceInfo& info) override;
};

// Text at a position, with a font of the font list ("F") and a clip
// rectangle ("CR") kept for its callers.
class TPvBaseTextObject : public TPvBaseSolidShape {
 public:
  using TPvBaseSolidShape::TPvBaseSolidShape;
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  const TPvRectExt& ClipRect() const { return clip_; }
  void SetClipRect(const TPvRectExt& inches);
  int FontIndex() const { return font_; }
  void SetFontIndex(int index);
  TPvFont* Font() const;

  void ResourceRemoved(TPvResourceKind kind, int index) override;
  // The stored font, at the device's vertical resolution.
  void Draw(DeviceCanvas& canvas, const TPvDeviceInfo& info) override;
  bool LoadFromValueList(const TPvValueList& v) override;
  void SaveToValueList(TPvValueList& v) const override;

 private:
  std::string text_;
  TPvRectExt clip_;
  int font_ = -1;
};

enum TPvHorzAlignment : std::uint8_t { pvAlignLeft = 0, pvAlignRight = 1, pvAlignCenter = 2 };

// A filled box with text inside its padding; the text's block of TextHeight
// is placed at the top, middle or bottom.
class TPvTextBoxObject : public TPvBaseTextObject {
 public:
  using TPvBaseTextObject::TPvBaseTextObject;
  int TypeId() const override { return kPvTextBoxObjectId; }

  Extended Padding() const { return padding_; }  // inches
  void SetPadding(Extended inches);
  Extended TextHeight() const { return textHeight_; }  // inches
  void SetTextHeight(Extended inches);
  int Alignment() const { return align_; }  // TPvHorzAlignment
  void SetAlignment(int a);
  TPvVertAlignment VertAlignment() const { return valign_; }
  void SetVertAlignment(TPvVertAlignment a);
  // Kept and stored only; drawing does not read it.
  bool CT() const { return ct_; }
  void SetCT(bool v);
  bool WordBreak() const { return wordBreak_; }
  void SetWordBreak(bool v);

  void Draw(DeviceCanvas& canvas, const TPvDeviceInfo& info) override;
  bool LoadFromValueList(const TPvValueList& v) override;
  void SaveToValueList(TPvValueList& v) const override;

 private:
  Extended padding_ = 0, textHeight_ = 0;
  int align_ = pvAlignLeft;
  TPvVertAlignment valign_ = pvTop;
  bool ct_ = true, wordBreak_ = true;
};

// The object class of a stream record's type id; nullptr for an unknown id.
std::unique_ptr<TPvBaseObject> CreatePageObject(int typeId, TPvResourceTable* owner);
// A whole record (type id, value list) back into an object; nullptr for a
// short or damaged record or an unknown id. A record of an unknown id is
// passed over, so the next one can be read; after a damaged one the stream is
// back where the record began.
std::unique_ptr<TPvBaseObject> LoadPageObject(PvStream& stream, TPvResourceTable* owner);

}  // namespace vektrano::preview
