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

// Which list of a table an entry left.
enum class TPvResourceKind { Brush, Font, Pen, Graphic, Memo };

// What refers into a resource table by index (page objects). The table tells
// it when an entry leaves its list, so that the index can move with the
// entries behind it, and when the table itself goes.
class TPvResourceUser {
 public:
  // index -1: every entry of that kind left (a clear or a load).
  virtual void ResourceRemoved(TPvResourceKind kind, int index) = 0;
  virtual void OwnerDestroyed() = 0;

 protected:
  TPvResourceUser() = default;
  TPvResourceUser(const TPvResourceUser&) = delete;
  TPvResourceUser& operator=(const TPvResourceUser&) = delete;
  ~TPvResourceUser() = default;

 private:
  friend class TPvResourceTable;
  size_t slot_ = 0;  // position in the table's list of users
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
  // After the entry at index left the list; -1 after all of them did.
  std::function<void(int index)> OnRemoved;

 protected:
  void removed(int index) {
    if (OnRemoved) OnRemoved(index);
  }
};

// Entries owned one by one with a count beside each, looked up by identity.
template <class T>
class TPvCountedList : public TPvResourceList {
 public:
  int IndexOf(const T* item) const;
  // The stored entry, or nullptr for -1 or any index outside the list.
  T* Items(int index) const { return index >= 0 && index < Count() ? items_[index].get() : nullptr; }
  // By identity: the count goes down; at 1 the entry is removed and freed.
  // An entry not in the list changes nothing.
  void Release(const T* item);

  int Count() const override { return static_cast<int>(items_.size()); }
  void Clear() override;

 protected:
  // Appended with the count 1.
  T* append(std::unique_ptr<T> item);
  // Its count raised by one.
  T* addRef(int index);
  // Replaces every entry (a load); counts 1 each unless given.
  void replace(std::vector<std::unique_ptr<T>> items, TPvReferenceList counts = {});

  std::vector<std::unique_ptr<T>> items_;
};

// Brushes, fonts and pens: stored by value, found by their equality rule.
template <class T>
class TPvRecordList : public TPvCountedList<T> {
 public:
  using TPvCountedList<T>::IndexOf;
  // The stored record equal to r with its count raised, or a new copy of r
  // with the count 1. Keep the returned record, never r.
  T* FindOrAdd(const T& r);
  // The first stored record equal to r, or -1.
  int IndexOf(const T& r) const;

  void SaveToStream(PvStream& stream) const override;
  [[nodiscard]] bool LoadFromStream(PvStream& stream) override;
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

class TPvGraphicList : public TPvCountedList<TPvGraphic> {
 public:
  // With CompareGraphics an equal picture (same kind and bytes) is shared.
  bool CompareGraphics = true;

  TPvGraphic* FindOrAdd(const TPvGraphic& g);

  // Each record: the kind byte, the absolute stream position behind the
  // record (32 bits), the picture's bytes.
  void SaveToStream(PvStream& stream) const override;
  // A record of another kind is passed over; an end position that points
  // backwards or past the stream fails the load.
  [[nodiscard]] bool LoadFromStream(PvStream& stream) override;
};

class TPvCustomMemoList : public TPvCountedList<TPvMemo> {
 public:
  // Asked for the memo of each new entry; with none given, or when it gives
  // none, a hidden rich edit is made.
  std::function<std::unique_ptr<TPvMemo>(TPvCustomMemoList& sender)> OnNeedRichEdit;

  std::unique_ptr<TPvMemo> GetRichEdit();
  // By identity: an entry gets its count raised; any other memo is copied
  // (through its rich text) into a new entry of count 1.
  TPvMemo* FindOrAdd(TPvMemo& memo);

  // Each record: 0 for a plain memo ("TMemo"), 1 otherwise, then its rich
  // text as a block.
  void SaveToStream(PvStream& stream) const override;
  [[nodiscard]] bool LoadFromStream(PvStream& stream) override;
};

// The resources of one document; the page list owns exactly one. The page
// objects made with it as owner are its users.
class TPvResourceTable {
 public:
  TPvResourceTable();
  ~TPvResourceTable();
  TPvResourceTable(const TPvResourceTable&) = delete;
  TPvResourceTable& operator=(const TPvResourceTable&) = delete;

  TPvBrushList Brushes;
  TPvCustomMemoList Memos;
  TPvFontList Fonts;
  TPvPenList Pens;
  TPvGraphicList Graphics;

  // Brushes, fonts, pens, pictures and memos, each with its counts.
  void Clear();

  void Attach(TPvResourceUser* user);
  void Detach(TPvResourceUser* user);
  int UserCount() const { return static_cast<int>(users_.size()); }

 private:
  void removed(TPvResourceKind kind, int index);
  std::vector<TPvResourceUser*> users_;
};

}  // namespace vektrano::preview
