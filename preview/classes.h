#pragma once
// The bases the library's components and page objects derive from: the
// About text, lengths kept in inches and read in any unit, the page object
// base and its owning list, and the page decorations (margins, shadow, grid)
// with the paper image that paints one page at a zoom.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "preview/canvas.h"
#include "preview/resource.h"
#include "preview/stream.h"
#include "preview/units.h"
#include "preview/value_list.h"

namespace vektrano::preview {

class TPvPage;

class TPvCustomComponent {
 public:
  virtual ~TPvCustomComponent() = default;
  virtual std::string ClassName() const = 0;
};

class TPvComponent : public TPvCustomComponent {
 public:
  std::string About() const { return PvAboutText(ClassName()); }
  void SetAbout(std::string_view) {}  // read-only in effect
};

// One length, kept in inches.
class TPvValue {
 public:
  using ChangeEvent = std::function<void(TPvValue&)>;
  explicit TPvValue(ChangeEvent onChange = {}) : OnChange(std::move(onChange)) {}
  TPvValue(Extended value, TPvMeasurement unit) : inches_(ConvertValue(value, unit, pvInches)) {}
  TPvValue(const TPvValue&) = delete;
  TPvValue& operator=(const TPvValue&) = delete;

  Extended Inches() const { return inches_; }
  // An equal value changes nothing and fires no event.
  void SetInches(Extended v);
  Extended Value(TPvMeasurement unit) const { return ConvertValue(inches_, pvInches, unit); }
  void SetValue(TPvMeasurement unit, Extended v) { SetInches(ConvertValue(v, unit, pvInches)); }
  int Twips() const { return static_cast<int>(roundHalfEven(Value(pvTwips))); }
  void SetTwips(int twips) { SetValue(pvTwips, twips); }
  int DeviceUnits(int resolution) const { return static_cast<int>(roundHalfEven(inches_ * resolution)); }
  // Ignored for a resolution of 0 or less.
  void SetDeviceUnits(int count, int resolution);
  // Copies the value and always fires the event.
  void Assign(const TPvValue& other);

  ChangeEvent OnChange;

 private:
  Extended inches_ = 0;
};

// Two lengths whose changes both fire the pair's event.
class TPvCustomValueSize {
 public:
  TPvCustomValueSize();
  TPvCustomValueSize(const TPvCustomValueSize&) = delete;
  TPvCustomValueSize& operator=(const TPvCustomValueSize&) = delete;
  TPvValue& First() { return first_; }
  TPvValue& Second() { return second_; }
  const TPvValue& First() const { return first_; }
  const TPvValue& Second() const { return second_; }
  void Assign(const TPvCustomValueSize& other);
  std::function<void(TPvCustomValueSize&)> OnChange;

 private:
  TPvValue first_, second_;
};

class TPvValueSize : public TPvCustomValueSize {
 public:
  TPvValue& Width() { return First(); }
  TPvValue& Height() { return Second(); }
};

class TPvValuePoint : public TPvCustomValueSize {
 public:
  TPvValue& X() { return First(); }
  TPvValue& Y() { return Second(); }
  const TPvValue& X() const { return First(); }
  const TPvValue& Y() const { return Second(); }
};

class TPvValueRect {
 public:
  TPvValuePoint TopLeft, BottomRight;
  TPvRectExt AsRect() const;
  void SetRect(const TPvRectExt& inches);
  // 1 left, 2 top, 3 right, 4 bottom; nullptr for any other index.
  TPvValue* Value(int index);
};

// What an object is drawn for: the page, the device's resolution, the page
// count, and whether a thumbnail draws it.
struct TPvDeviceInfo {
  int PageNumber = 1;
  int PixelsPerInchX = 96;
  int PixelsPerInchY = 96;
  int PageCount = 1;
  bool Thumbnail = false;
};

// A page object. Its stream record is the type id (32 bits) and then its
// fields as a value list. It refers to its pens, brushes and fonts by index
// into its owner table, which tells it when an entry leaves, so an index
// keeps naming the same record.
class TPvBaseObject : public TPvResourceUser {
 public:
  explicit TPvBaseObject(TPvResourceTable* owner);
  virtual ~TPvBaseObject();
  TPvBaseObject(const TPvBaseObject&) = delete;
  TPvBaseObject& operator=(const TPvBaseObject&) = delete;

  virtual int TypeId() const = 0;
  // The change event, unless updating.
  virtual void Changed();
  virtual void Draw(DeviceCanvas&, const TPvDeviceInfo&) {}
  virtual bool LoadFromValueList(const TPvValueList& v);
  virtual void SaveToValueList(TPvValueList& v) const;
  // The value list that follows the type id; false for a damaged stream.
  [[nodiscard]] virtual bool LoadFromStream(PvStream& stream);
  virtual void OffsetBy(TPvMeasurement, Extended /*dx*/, Extended /*dy*/) {}
  virtual void SaveToStream(PvStream& stream) const;
  virtual void Assign(const TPvBaseObject& other) { Visible = other.Visible; }

  // Drawing as a page does it: on a printer an invisible object is left out,
  // on the screen and in metafiles every object is drawn.
  void DrawOn(DeviceCanvas& canvas, const TPvDeviceInfo& info);

  TPvResourceTable* Owner() const { return owner_; }
  void OwnerDestroyed() override { owner_ = nullptr; }
  void ResourceRemoved(TPvResourceKind, int) override {}
  bool Visible = true;
  int UserIndex = -1;  // "UI"
  bool Updating = false;
  std::function<void(TPvBaseObject&)> OnChange;

 private:
  TPvResourceTable* owner_;
};

class TPvVisibleObject : public TPvBaseObject {
 public:
  using TPvBaseObject::TPvBaseObject;
  // The device box of what the object draws at 96 pixels per inch.
  virtual IntRect BoundingBox();
};

// Owns the objects of one page, in drawing order. Each object's change event
// points back at this list, so the list never moves or copies.
class TPvBaseObjectList {
 public:
  TPvBaseObjectList() = default;
  TPvBaseObjectList(const TPvBaseObjectList&) = delete;
  TPvBaseObjectList& operator=(const TPvBaseObjectList&) = delete;
  TPvBaseObjectList(TPvBaseObjectList&&) = delete;
  TPvBaseObjectList& operator=(TPvBaseObjectList&&) = delete;
  int Count() const { return static_cast<int>(items_.size()); }
  TPvBaseObject* Items(int index) const {
    return index >= 0 && index < Count() ? items_[index].get() : nullptr;
  }
  int IndexOf(const TPvBaseObject* o) const;
  // The object's change event leads to the list's; both fire once here.
  TPvBaseObject* Add(std::unique_ptr<TPvBaseObject> o) { return Insert(Count(), std::move(o)); }
  // The index is clamped to 0..Count().
  TPvBaseObject* Insert(int index, std::unique_ptr<TPvBaseObject> o);
  void Delete(int index);
  void Move(int from, int to);
  void Clear() { items_.clear(); }
  std::function<void()> OnChange;

 private:
  void changed() {
    if (OnChange) OnChange();
  }
  std::vector<std::unique_ptr<TPvBaseObject>> items_;
};

// The rich-text range of a page.
struct TPvPageRtfInfo {
  TPvPage* Owner = nullptr;
  TPvValueRect Rect;
};

class TPvMargins;

// The four margins read and written in one unit.
class TPvMarginValues {
 public:
  explicit TPvMarginValues(TPvMargins& margins) : margins_(margins) {}
  // 0 left, 1 top, 2 right, 3 bottom; another index reads 0, writes nothing.
  float Get(int index) const;
  void Set(int index, float v);
  float Left() const { return Get(0); }
  float Top() const { return Get(1); }
  float Right() const { return Get(2); }
  float Bottom() const { return Get(3); }
  // Converts nothing and fires no event.
  TPvMeasurement ValueMeasurement = pvInches;

 private:
  TPvMargins& margins_;
};

class TPvMargins {
 public:
  TPvMargins();
  TPvMargins(const TPvMargins&) = delete;
  TPvMargins& operator=(const TPvMargins&) = delete;

  bool ClipMargins() const { return clip_; }
  void SetClipMargins(bool v);
  bool ShowPrinterMargins() const { return showPrinter_; }
  void SetShowPrinterMargins(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  const CanvasPen& Pen() const { return pen_; }
  void SetPen(const CanvasPen& p);  // always fires
  const CanvasPen& PrinterMarginPen() const { return printerPen_; }
  void SetPrinterMarginPen(const CanvasPen& p);

  TPvMarginValues& Values() { return values_; }
  TPvValue& Left() { return left_; }
  TPvValue& Top() { return top_; }
  TPvValue& Right() { return right_; }
  TPvValue& Bottom() { return bottom_; }
  const TPvValue& Left() const { return left_; }
  const TPvValue& Top() const { return top_; }
  const TPvValue& Right() const { return right_; }
  const TPvValue& Bottom() const { return bottom_; }
  TPvValue* Side(int index);
  // Left, top, right, bottom in inches, in that order.
  void SetAll(const TPvRectExt& inches);

  // The margin rectangle of a page drawn at r units per inch.
  IntRect MarginRect(int r, Extended pageWidth, Extended pageHeight) const;
  // With ClipMargins, clips drawing to that rectangle.
  void ClipTo(DeviceCanvas& canvas, int r, Extended pageWidth, Extended pageHeight) const;
  // With Visible, the rectangle in Pen and a clear brush; with
  // ShowPrinterMargins and a printable area (inches), that area as well.
  void Draw(DeviceCanvas& canvas, int r, Extended pageWidth, Extended pageHeight,
            const std::optional<TPvRectExt>& printableArea) const;

  std::function<void(TPvMargins&)> OnChange;

 private:
  void changed() {
    if (OnChange) OnChange(*this);
  }
  bool clip_ = false, showPrinter_ = false, visible_ = false;
  CanvasPen pen_, printerPen_;
  TPvValue left_, top_, right_, bottom_;
  TPvMarginValues values_;
};

class TPvShadow {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  int Width() const { return width_; }
  void SetWidth(int w);
  void Assign(const TPvShadow& other);
  // Around a page whose screen rectangle is pageRect (plain pixels, from the
  // viewport origin): a right and a bottom strip, one pixel down and right.
  void Draw(DeviceCanvas& canvas, const IntRect& pageRect) const;
  std::function<void(TPvShadow&)> OnChange;

 private:
  void changed() {
    if (OnChange) OnChange(*this);
  }
  TColor color_ = clBlack;
  int width_ = 3;
  bool visible_ = true;
};

class TPvPageGrid {
 public:
  TPvPageGrid();
  TPvPageGrid(const TPvPageGrid&) = delete;
  TPvPageGrid& operator=(const TPvPageGrid&) = delete;
  TPvGridStyle GridStyle() const { return style_; }
  void SetGridStyle(TPvGridStyle s);
  const CanvasPen& GridPen() const { return pen_; }
  void SetGridPen(const CanvasPen& p);
  TPvValue& Spacing() { return spacing_; }
  // Dots or lines one spacing apart over a page of w x h inches at r units
  // per inch, starting one spacing in from the top-left corner.
  void Draw(DeviceCanvas& canvas, Extended w, Extended h, int r) const;
  std::function<void(TPvPageGrid&)> OnChange;

 private:
  void changed() {
    if (OnChange) OnChange(*this);
  }
  CanvasPen pen_;
  TPvGridStyle style_ = pvNoGrid;
  TPvValue spacing_;
};

// What a paper image shows: the page of a document.
class TPvPaperPage {
 public:
  virtual ~TPvPaperPage() = default;
  virtual Extended WidthInches() const = 0;
  virtual Extended HeightInches() const = 0;
  virtual TPvOrientation Orientation() const = 0;
  // Objects, header and footer at ppiX x ppiY units per inch.
  virtual void DrawPage(DeviceCanvas& canvas, int ppiX, int ppiY, bool thumbnail) = 0;
};

enum class TMouseButton { Left, Right, Middle };
using TShiftState = unsigned;

// Paints one page picture (paper, contents, margins, grid, shadow) at a zoom
// and turns control positions into page inches. The widget that shows it
// passes its size and paints through a canvas on itself.
class TPvPaperImage {
 public:
  TPvPaperImage();
  TPvPaperImage(const TPvPaperImage&) = delete;
  TPvPaperImage& operator=(const TPvPaperImage&) = delete;

  bool DrawContents = true;
  int PageResolution = 600;
  bool Thumbnail = false;
  // The control's size and its position in its parent.
  int ControlWidth = 0, ControlHeight = 0;
  IntPoint ControlPos{};
  // The printer's printable area in inches for an orientation, when there is
  // a printer.
  std::function<std::optional<TPvRectExt>(TPvOrientation)> PrintableArea;

  void BeginUpdate() { ++updates_; }
  void EndUpdate();
  bool IsUpdating() const { return updates_ > 0; }

  TPvPaperPage* Page() const { return page_; }
  void SetPage(TPvPaperPage* page);
  int Zoom() const { return zoom_; }
  void SetZoom(int zoom);
  const IntRect& Gutter() const { return gutter_; }
  void SetGutter(const IntRect& g);
  void SetPageGrid(TPvPageGrid* grid);
  void SetShadow(TPvShadow* shadow);
  void SetMargins(TPvMargins* margins) { margins_ = margins; }
  TPvPageGrid* PageGrid() const { return grid_; }
  TPvShadow* Shadow() const { return shadow_; }
  TPvMargins* Margins() const { return margins_; }
  Extended PageWidth() const { return pageW_; }
  Extended PageHeight() const { return pageH_; }

  IntPoint PageSizeInPixels(int resolution) const;
  // The page's rectangle in the control, centred inside the gutter.
  virtual IntRect PageRect() const;
  // A control position in page inches (negative left of or above the page).
  TPvPointExt PagePoint(int x, int y) const;
  void Paint(DeviceCanvas& canvas);

  // The notifications of the control.
  void MouseDown(TMouseButton b, TShiftState s, int x, int y);
  void MouseMove(TShiftState s, int x, int y);
  void MouseUp(TMouseButton b, TShiftState s, int x, int y);
  void DragOver(void* source, int x, int y, int state, bool& accept);
  void DragDrop(void* source, int x, int y);
  void MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(*this);
  }
  void MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(*this);
  }

  // The widget repaints when told.
  std::function<void()> OnInvalidate;
  std::function<void(TPvPaperImage&, TMouseButton, TShiftState, int, int)> OnMouseDown, OnMouseUp;
  std::function<void(TPvPaperImage&, TShiftState, int, int)> OnMouseMove;
  std::function<void(TPvPaperImage&, void*, int, int, int, bool&)> OnDragOver;
  std::function<void(TPvPaperImage&, void*, int, int)> OnDragDrop;
  std::function<void(TPvPaperImage&)> OnMouseEnter, OnMouseLeave;
  std::function<void(TPvPaperImage&, void*, TPvValue&, TPvValue&)> OnPageDragDrop;
  std::function<void(TPvPaperImage&, void*, TPvValue&, TPvValue&, int, bool&)> OnPageDragOver;
  std::function<void(TPvPaperImage&, TMouseButton, TShiftState, TPvValue&, TPvValue&)> OnPageMouseDown,
      OnPageMouseUp;
  std::function<void(TPvPaperImage&, TShiftState, TPvValue&, TPvValue&)> OnPageMouseMove;
  std::function<void(TPvPaperImage&)> OnAfterPaint;

 private:
  void invalidate() {
    if (OnInvalidate) OnInvalidate();
  }
  void toPoint(int x, int y, TPvValuePoint& p) const;

  TPvPageGrid* grid_ = nullptr;
  IntRect gutter_{30, 30, 30, 30};
  TPvMargins* margins_ = nullptr;
  Extended pageW_ = 0, pageH_ = 0;
  TPvPaperPage* page_ = nullptr;
  TPvShadow* shadow_ = nullptr;
  int updates_ = 0;
  TPvValuePoint mousePoint_, dragPoint_;
  int zoom_ = 20;
};

}  // namespace vektrano::preview
