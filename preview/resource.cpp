#include "preview/resource.h"

#include <algorithm>

#include "preview/units.h"

namespace vektrano::preview {

// --- brush -----------------------------------------------------------------

void TPvBrush::Assign(const TPvBrush& other) {
  Color = other.Color;
  Style = other.Style;
  if (OnChange) OnChange(*this);
}

void TPvBrush::Assign(const CanvasBrush& brush) {
  Color = brush.color;
  Style = brush.style;
  if (OnChange) OnChange(*this);
}

void TPvBrush::ApplyTo(DeviceCanvas& canvas) const {
  canvas.brush().color = Color;
  canvas.brush().style = Color != clNone ? Style : bsClear;
}

void TPvBrush::SaveToValueList(TPvValueList& v) const {
  v.SetInteger("CL", Color);
  v.SetInteger("ST", Style);
}

bool TPvBrush::LoadFromValueList(const TPvValueList& v) {
  Color = v.GetInteger("CL", 16777215);
  const int st = v.GetInteger("ST", 0);
  Style = (st >= bsSolid && st <= bsDiagCross) ? static_cast<TBrushStyle>(st) : bsSolid;
  return true;
}

// --- font ------------------------------------------------------------------

void TPvFont::SetAngle(Extended degrees) {
  if (degrees == angle_) return;
  angle_ = degrees;
  if (OnChange) OnChange(*this);
}

void TPvFont::Assign(const TPvFont& o) {
  Size = o.Size;
  Style = o.Style;
  angle_ = o.angle_;
  Color = o.Color;
  Charset = o.Charset;
  Name = o.Name;
}

void TPvFont::Assign(const CanvasFont& f) {
  Size = f.size();
  Color = f.color;
  Charset = f.charset;
  Name = f.name;
  Style = f.style;
  angle_ = 0;
}

bool TPvFont::Equals(const TPvFont& o) const {
  return Name == o.Name && Size == o.Size && Charset == o.Charset && angle_ == o.angle_ && Color == o.Color &&
         Style == o.Style;
}

void TPvFont::ApplyTo(CanvasFont& f) const {
  f.color = Color;
  f.setSize(Size);
  f.name = Name;
  f.charset = Charset;
  f.style = Style;
  const int tenths = angle_ != 0 ? static_cast<int>(roundHalfEven(angle_ * 10)) : 0;
  f.escapement = tenths;
  f.orientation = tenths;
}

void TPvFont::SaveToValueList(TPvValueList& v) const {
  v.SetInteger("CL", Color);
  v.SetString("ST", FontStyleToText(Style));
  v.SetExtended("FA", angle_);
  v.SetInteger("SZ", Size);
  v.SetInteger("CS", Charset);
  v.SetString("FN", Name);
  // The style text carries bold, italic and underline only; without this a
  // struck-out font would load equal to its plain twin and merge with it.
  if (Style & fsStrikeOut) v.SetBoolean("SO", true);
}

bool TPvFont::LoadFromValueList(const TPvValueList& v) {
  const int cs = v.GetInteger("CS", 1);
  if (cs < 0 || cs > 255) return false;
  Color = v.GetInteger("CL", 16777215);
  Style = TextToFontStyle(v.GetString("ST"));
  if (v.GetBoolean("SO", false)) Style |= fsStrikeOut;
  angle_ = v.GetExtended("FA", 0);
  Size = v.GetInteger("SZ", 10);
  Charset = cs;
  // An empty name is saved as none, which reads as Arial: take it so now, so
  // that the font reads back as itself.
  Name = v.GetString("FN", "Arial");
  if (Name.empty()) Name = "Arial";
  return true;
}

// --- pen -------------------------------------------------------------------

void TPvPen::Assign(const TPvPen& o) {
  Width = o.Width;
  Color = o.Color;
  Style = o.Style;
  Mode = o.Mode;
  if (OnChange) OnChange(*this);
}

void TPvPen::Assign(const CanvasPen& p) {
  Width = p.width;
  Color = p.color;
  Style = p.style;
  Mode = p.mode;
  if (OnChange) OnChange(*this);
}

void TPvPen::ApplyTo(DeviceCanvas& canvas, int ppi) const {
  CanvasPen& pen = canvas.pen();
  pen.color = Color;
  pen.style = Style;
  pen.width = static_cast<int>(roundHalfEven(static_cast<Extended>(ppi) / 72 / 4 * Width));
  if (Color == clNone) {
    pen.style = psClear;
    return;
  }
  pen.color = colorToRgb(Color);
  if (pen.style > psClear) pen.style = psSolid;  // inside frame draws as solid
  if (pen.width <= 1 && pen.style == psSolid) {
    pen.width = 1;
    pen.geometric = false;
  } else {
    pen.geometric = true;
  }
  pen.cap = PenCap::Square;
  pen.join = PenJoin::Miter;
}

void TPvPen::SaveToValueList(TPvValueList& v) const {
  v.SetInteger("CL", Color);
  v.SetInteger("SZ", Width);
  v.SetInteger("ST", Style);
  v.SetInteger("PM", Mode);
}

bool TPvPen::LoadFromValueList(const TPvValueList& v) {
  Color = v.GetInteger("CL", 0);
  Width = v.GetInteger("SZ", 1);
  const int st = v.GetInteger("ST", 0);
  Style = (st >= psSolid && st <= psInsideFrame) ? static_cast<TPenStyle>(st) : psSolid;
  const int pm = v.GetInteger("PM", pmCopy);
  Mode = (pm >= pmBlack && pm <= pmNotXor) ? static_cast<TPenMode>(pm) : pmCopy;
  return true;
}

// --- lists -----------------------------------------------------------------

namespace {

// A count read from a stream: not negative and not more records than the
// rest of the stream can hold at minRecordBytes each.
bool plausibleCount(std::int32_t n, const PvStream& s, std::int64_t minRecordBytes) {
  return n >= 0 && static_cast<std::int64_t>(n) * minRecordBytes <= s.remaining();
}

// Reads a list's count and its records with readOne(i) (false for a damaged
// record); on any failure the stream goes back to where the list began.
template <class F>
bool readRecords(PvStream& stream, std::int64_t minRecordBytes, F&& readOne) {
  const std::int64_t start = stream.position();
  std::int32_t n = 0;
  bool ok = TPvReader(stream).ReadInteger(n) && plausibleCount(n, stream, minRecordBytes);
  for (std::int32_t i = 0; ok && i < n; ++i) ok = readOne();
  if (!ok) stream.seek(start);
  return ok;
}

}  // namespace

template <class T>
int TPvCountedList<T>::IndexOf(const T* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<int>(i);
  return -1;
}

template <class T>
void TPvCountedList<T>::Release(const T* item) {
  const int i = IndexOf(item);
  if (i < 0) return;
  if (this->References.RefCount(i) > 1) {
    this->References.DecRef(i);
    return;
  }
  this->References.Delete(i);
  items_.erase(items_.begin() + i);
  this->removed(i);
}

template <class T>
void TPvCountedList<T>::Clear() {
  items_.clear();
  this->References.Clear();
  this->removed(-1);
}

template <class T>
T* TPvCountedList<T>::append(std::unique_ptr<T> item) {
  items_.push_back(std::move(item));
  this->References.AddRefCount(1);
  return items_.back().get();
}

template <class T>
T* TPvCountedList<T>::addRef(int index) {
  this->References.IncRef(index);
  return items_[index].get();
}

template <class T>
void TPvCountedList<T>::replace(std::vector<std::unique_ptr<T>> items, TPvReferenceList counts) {
  items_ = std::move(items);
  if (counts.Count() != Count()) {
    counts.Clear();
    for (int i = 0; i < Count(); ++i) counts.AddRefCount(1);
  }
  this->References = std::move(counts);
  this->removed(-1);
}

template <class T>
T* TPvRecordList<T>::FindOrAdd(const T& r) {
  const int i = IndexOf(r);
  if (i >= 0) return this->addRef(i);
  auto copy = std::make_unique<T>();
  copy->Assign(r);
  return this->append(std::move(copy));
}

template <class T>
int TPvRecordList<T>::IndexOf(const T& r) const {
  for (size_t i = 0; i < this->items_.size(); ++i)
    if (this->items_[i]->Equals(r)) return static_cast<int>(i);
  return -1;
}

template <class T>
void TPvRecordList<T>::SaveToStream(PvStream& stream) const {
  TPvWriter(stream).WriteInteger(this->Count());
  for (const auto& item : this->items_) {
    TPvValueList v;
    item->SaveToValueList(v);
    v.SaveToStream(stream);
  }
}

template <class T>
bool TPvRecordList<T>::LoadFromStream(PvStream& stream) {
  // Read into a list of its own, so a damaged stream leaves this one as it was.
  TPvRecordList<T> loaded;
  const bool ok = readRecords(stream, 4, [&] {
    TPvValueList v;
    T scratch;
    if (!v.LoadFromStream(stream) || !scratch.LoadFromValueList(v)) return false;
    loaded.FindOrAdd(scratch);
    return true;
  });
  if (ok) this->replace(std::move(loaded.items_), std::move(loaded.References));
  return ok;
}

template class TPvCountedList<TPvBrush>;
template class TPvCountedList<TPvFont>;
template class TPvCountedList<TPvPen>;
template class TPvCountedList<TPvGraphic>;
template class TPvCountedList<TPvMemo>;
template class TPvRecordList<TPvBrush>;
template class TPvRecordList<TPvFont>;
template class TPvRecordList<TPvPen>;

// --- graphics --------------------------------------------------------------

TPvGraphic* TPvGraphicList::FindOrAdd(const TPvGraphic& g) {
  if (CompareGraphics) {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i]->Kind == g.Kind && items_[i]->Data == g.Data) return addRef(static_cast<int>(i));
  }
  return append(std::make_unique<TPvGraphic>(g));
}

void TPvGraphicList::SaveToStream(PvStream& stream) const {
  TPvWriter w(stream);
  w.WriteInteger(Count());
  for (const auto& g : items_) {
    w.WriteByte(static_cast<std::uint8_t>(g->Kind));
    const std::int64_t field = stream.position();
    w.WriteInteger(0);
    stream.write(g->Data);
    const std::int64_t end = stream.position();
    stream.seek(field);
    w.WriteInteger(static_cast<std::int32_t>(end));
    stream.seek(stream.size());
  }
}

bool TPvGraphicList::LoadFromStream(PvStream& stream) {
  TPvReader r(stream);
  std::vector<std::unique_ptr<TPvGraphic>> loaded;
  const bool ok = readRecords(stream, 5, [&] {
    std::uint8_t kind = 0;
    std::int32_t end = 0;
    if (!r.ReadByte(kind) || !r.ReadInteger(end)) return false;
    if (end < stream.position() || end > stream.size()) return false;
    std::string data;
    if (!stream.readBytes(data, static_cast<size_t>(end - stream.position()))) return false;
    if (kind <= 2)
      loaded.push_back(std::make_unique<TPvGraphic>(TPvGraphic{static_cast<TPvGraphicKind>(kind), std::move(data)}));
    return true;
  });
  if (ok) replace(std::move(loaded));
  return ok;
}

// --- memos -----------------------------------------------------------------

std::unique_ptr<TPvMemo> TPvCustomMemoList::GetRichEdit() {
  std::unique_ptr<TPvMemo> m;
  if (OnNeedRichEdit) m = OnNeedRichEdit(*this);
  if (m) {
    m->Width = 0;
    m->Height = 0;
    return m;
  }
  return CreateHiddenRichEdit();
}

TPvMemo* TPvCustomMemoList::FindOrAdd(TPvMemo& memo) {
  const int i = IndexOf(&memo);
  if (i >= 0) return addRef(i);
  auto copy = GetRichEdit();
  PvStream rtf;
  SaveRtfFrom(memo, rtf);
  SetRtfText(*copy, rtf.bytes());
  return append(std::move(copy));
}

void TPvCustomMemoList::SaveToStream(PvStream& stream) const {
  TPvWriter w(stream);
  w.WriteInteger(Count());
  for (const auto& m : items_) {
    w.WriteInteger(m->ClassName() == "TMemo" ? 0 : 1);
    PvStream rtf;
    SaveRtfFrom(*m, rtf);
    w.WriteStream(rtf);
  }
}

bool TPvCustomMemoList::LoadFromStream(PvStream& stream) {
  TPvReader r(stream);
  std::vector<std::unique_ptr<TPvMemo>> loaded;
  const bool ok = readRecords(stream, 8, [&] {
    std::int32_t flag = 0;
    PvStream block;
    if (!r.ReadInteger(flag) || !r.ReadStream(block)) return false;
    std::unique_ptr<TPvMemo> m;
    if (flag == 0) {
      m = CreateHiddenRichEdit();
      m->PlainText = true;
    } else {
      m = GetRichEdit();
    }
    LoadRtfInto(*m, block);
    loaded.push_back(std::move(m));
    return true;
  });
  if (ok) replace(std::move(loaded));
  return ok;
}

// --- table -----------------------------------------------------------------

TPvResourceTable::TPvResourceTable() {
  Brushes.OnRemoved = [this](int i) { removed(TPvResourceKind::Brush, i); };
  Fonts.OnRemoved = [this](int i) { removed(TPvResourceKind::Font, i); };
  Pens.OnRemoved = [this](int i) { removed(TPvResourceKind::Pen, i); };
  Graphics.OnRemoved = [this](int i) { removed(TPvResourceKind::Graphic, i); };
  Memos.OnRemoved = [this](int i) { removed(TPvResourceKind::Memo, i); };
}

TPvResourceTable::~TPvResourceTable() {
  for (TPvResourceUser* u : users_) u->OwnerDestroyed();
}

void TPvResourceTable::Clear() {
  Brushes.Clear();
  Fonts.Clear();
  Pens.Clear();
  Graphics.Clear();
  Memos.Clear();
}

void TPvResourceTable::Attach(TPvResourceUser* user) {
  user->slot_ = users_.size();
  users_.push_back(user);
}

void TPvResourceTable::Detach(TPvResourceUser* user) {
  const size_t slot = user->slot_;
  if (slot >= users_.size() || users_[slot] != user) return;
  users_[slot] = users_.back();
  users_[slot]->slot_ = slot;
  users_.pop_back();
}

void TPvResourceTable::removed(TPvResourceKind kind, int index) {
  for (TPvResourceUser* u : users_) u->ResourceRemoved(kind, index);
}

}  // namespace vektrano::preview
