#pragma once
// The drawing resources the page objects of one document share: every
// distinct pen, brush, font, picture and rich text is stored once, by value,
// with a reference count beside it, and objects refer to it by index. Each
// list writes itself to a stream and reads itself back.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "preview/canvas.h"
#include "preview/rtf.h"
#include "preview/stream.h"
#include "preview/value_list.h"

namespace vektrano::preview {

class TPvBrush {
 public:
  TColor Color = clWhite;
  TBrushStyle Style = bsClear;
  std::function<void(TPvBrush&)> OnChange;

  void Assign(const TPvBrush& other);
  void Assign(const CanvasBrush& brush);
  bool Equals(const TPvBrush& o) const { return Color == o.Color && Style == o.Style; }
  // The canvas brush takes the colour and the style (clear for clNone).
  void ApplyTo(DeviceCanvas& canvas) const;
  void SaveToValueList(TPvValueList& v) const;
  [[nodiscard]] bool LoadFromValueList(const TPvValueList& v);
};

class TPvFont {
 public:
  int Size = 12;  // points
  TFontStyles Style = 0;
  TColor Color = clBlack;
  int Charset = 1;
  std::string Name;
  std::function<void(TPvFont&)> OnChange;

  Extended Angle() const { return angle_; }
  void SetAngle(Extended degrees);

  // No change event (as the font assignments of the library always were).
  void Assign(const TPvFont& other);
  // Size, colour, charset, name and style; the angle becomes 0.
  void Assign(const CanvasFont& font);
  bool Equals(const TPvFont& o) const;
  // Colour, size (at the font's own resolution), name, charset and style;
  // a non-zero angle turns the text by escapement and orientation.
  void ApplyTo(CanvasFont& font) const;
  void ApplyTo(DeviceCanvas& canvas) const { ApplyTo(canvas.font()); }
  void SaveToValueList(TPvValueList& v) const;
  // False for a charset outside 0..255.
  [[nodiscard]] bool LoadFromValueList(const TPvValueList& v);

 private:
  Extended angle_ = 0;
};

class TPvPen {
 public:
  int Width = 0;  // quarter points, 1/288 inch
  TColor Color = clBlack;
  TPenStyle Style = psSolid;
  TPenMode Mode = static_cast<TPenMode>(0);
  std::function<void(TPvPen&)> OnChange;

  void Assign(const TPvPen& other);
  // Width, colour, style and mode of a canvas pen.
  void Assign(const CanvasPen& pen);
  bool Equals(const TPvPen& o) const {
    return Color == o.Color && Mode == o.Mode && Style == o.Style && Width == o.Width;
  }
  // The canvas pen for a device of pixelsPerInch: width in device pixels,
  // geometric with square ends and mitred joins, or cosmetic one pixel wide
  // for a thin solid pen.
  void ApplyTo(DeviceCanvas& canvas, int pixelsPerInch) const;
  void SaveToValueList(TPvValueList& v) const;
  [[nodiscard]] bool LoadFromValueList(const TPvValueList& v);
};

// One reference count per item of its resource list, at the same index.
class TPvReferenceList {
 public:
  void AddRefCount(int n) { counts_.push_back(n); }
  int RefCount(int index) const { return valid(index) ? counts_[index] : 0; }
  void SetRefCount(int index, int n) {
    if (valid(index)) counts_[index] = n;
  }
  void IncRef(int index) { SetRefCount(index, RefCount(index) + 1); }
  void DecRef(int index) { SetRefCount(index, RefCount(index) - 1); }
  void Delete(int index) {
    if (valid(index)) counts_.erase(counts_.begin() + index);
  }
  int Count() const { return static_cast<int>(counts_.size()); }
  void Clear() { counts_.clear(); }

 private:
  bool valid(int i) const { return i >= 0 && i < Count(); }
  std::vector<int> counts_;
};

class TPvResourceList {
 public:
  virtual ~TPvResourceList() = default;
  TPvReferenceList References;
  virtual int Count() const = 0;
  virtual void Clear() = 0;
  virtual void SaveToStream(PvStream& stream) const = 0;
  // Replaces the list by what the stream holds; false, with the list as it
  // was, when the stream is short or damaged.
  [[nodiscard]] virtual bool LoadFromStream(PvStream& stream) = 0;
};

// Brushes, fonts and pens: stored by value, found by their equality rule.
template <class T>
class TPvRecordList : public TPvResourceList {
 public:
  // The stored record equal to r with its count raised, or a new copy of r
  // with the count 1. Keep the returned record, never r.
  T* FindOrAdd(const T& r);
  int IndexOf(const T& r) const;
  // The stored record, or nullptr for -1 or any index outside the list.
  T* Items(int index) const;
  // By identity: the count goes down; at 1 the record is removed and freed.
  void Release(const T* r);

  int Count() const override { return static_cast<int>(items_.size()); }
  void Clear() override {
    items_.clear();
    References.Clear();
  }
  void SaveToStream(PvStream& stream) const override;
  [[nodiscard]] bool LoadFromStream(PvStream& stream) override;

 private:
  std::vector<std::unique_ptr<T>> items_;
};

using TPvBrushList = TPvRecordList<TPvBrush>;
using TPvFontList = TPvRecordList<TPvFont>;
using TPvPenList = TPvRecordList<TPvPen>;

enum class TPvGraphicKind : std::uint8_t { Jpeg = 0, Metafile = 1, Bitmap = 2 };

// A picture in its own file form (JPEG, metafile, or a bitmap file).
struct TPvGraphic {
  TPvGraphicKind Kind = TPvGraphicKind::Bitmap;
  std::string Data;
};

class TPvGraphicList : public TPvResourceList {
 public:
  // With CompareGraphics an equal picture (same kind and bytes) is shared.
  bool CompareGraphics = true;

  TPvGraphic* FindOrAdd(const TPvGraphic& g);
  int IndexOf(const TPvGraphic* g) const;
  TPvGraphic* Items(int index) const;
  void Release(const TPvGraphic* g);

  int Count() const override { return static_cast<int>(items_.size()); }
  void Clear() override {
    items_.clear();
    References.Clear();
  }
  // Each record: the kind byte, the absolute stream position behind the
  // record (32 bits), the picture's bytes.
  void SaveToStream(PvStream& stream) const override;
  // A record of another kind is passed over; an end position that points
  // backwards or past the stream fails the load.
  [[nodiscard]] bool LoadFromStream(PvStream& stream) override;

 private:
  std::vector<std::unique_ptr<TPvGraphic>> items_;
};

class TPvCustomMemoList : public TPvResourceList {
 public:
  // Asked for the memo of each new entry; with none given, or when it gives
  // none, a hidden rich edit is made.
  std::function<std::unique_ptr<TPvMemo>(TPvCustomMemoList& sender)> OnNeedRichEdit;

  std::unique_ptr<TPvMemo> GetRichEdit();
  // By identity: an entry gets its count raised; any other memo is copied
  // (through its rich text) into a new entry of count 1.
  TPvMemo* FindOrAdd(TPvMemo& memo);
  int IndexOf(const TPvMemo* memo) const;
  TPvMemo* Items(int index) const;
  void Release(const TPvMemo* memo);

  int Count() const override { return static_cast<int>(items_.size()); }
  void Clear() override {
    items_.clear();
    References.Clear();
  }
  // Each record: 0 for a plain memo ("TMemo"), 1 otherwise, then its rich
  // text as a block.
  void SaveToStream(PvStream& stream) const override;
  [[nodiscard]] bool LoadFromStream(PvStream& stream) override;

 private:
  std::vector<std::unique_ptr<TPvMemo>> items_;
};

// The resources of one document; the page list owns exactly one.
class TPvResourceTable {
 public:
  TPvBrushList Brushes;
  TPvCustomMemoList Memos;
  TPvFontList Fonts;
  TPvPenList Pens;
  TPvGraphicList Graphics;

  // Brushes, fonts, pens, pictures and memos, each with its counts.
  void Clear();
};

}  // namespace vektrano::preview
