#include "preview/pages.h"

#include <algorithm>
#include <cstdlib>

#include "preview/font_mapper.h"

namespace vektrano::preview {

namespace {

int toDevice(Extended inches, int ppi) { return static_cast<int>(roundHalfEven(inches * ppi)); }

TPvSizeExt paperFor(TPvPaperSize paper, TPvOrientation o) {
  TPvSizeExt s = PaperSizeInches(paper);
  if (o == pvLandscape) std::swap(s.Width, s.Height);
  return s;
}

}  // namespace

// ---- header and footer

TPvHeaderFooterCaption::TPvHeaderFooterCaption(TPvHeaderFooter& band) : band_(band) { font_.setSize(12); }

void TPvHeaderFooterCaption::SetCaption(const std::string& text) {
  if (text == caption_) return;
  caption_ = text;
  band_.Changed();
}

void TPvHeaderFooterCaption::SetFont(const CanvasFont& font) {
  font_ = font;
  band_.Changed();
}

TPvHeaderFooter::TPvHeaderFooter(bool header) : header_(header), left_(*this), center_(*this), right_(*this) {
  height_.OnChange = [this](TPvValue&) { Changed(); };
}

TPvHeaderFooterCaption& TPvHeaderFooter::Caption(int index) {
  return index == 0 ? left_ : index == 1 ? center_ : right_;
}

const TPvHeaderFooterCaption& TPvHeaderFooter::Caption(int index) const {
  return index == 0 ? left_ : index == 1 ? center_ : right_;
}

void TPvHeaderFooter::SetPen(const CanvasPen& p) {
  pen_ = p;
  Changed();
}

void TPvHeaderFooter::SetShowLine(bool v) {
  if (v == showLine_) return;
  showLine_ = v;
  Changed();
}

void TPvHeaderFooter::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed();
}

Extended TPvHeaderFooter::BandHeight(TPvMeasurement m) const {
  if (height_.Inches() != 0) return height_.Value(m);
  // The largest point size, left before centre before right on equal ones. A
  // font given by its cell height has a negative size: its magnitude counts.
  const TPvHeaderFooterCaption* tallest = &left_;
  for (const TPvHeaderFooterCaption* c : {&center_, &right_})
    if (std::abs(c->Font().size()) > std::abs(tallest->Font().size())) tallest = c;
  return ConvertValue(TextHeightInches(tallest->Font()), pvInches, m);
}

TPvRectExt TPvHeaderFooter::BandRect(const TPvMargins& m, Extended w, Extended h) const {
  const Extended band = BandHeight(pvInches);
  if (header_) return {m.Left().Inches(), m.Top().Inches(), w - m.Right().Inches(), m.Top().Inches() + band};
  const Extended bottom = h - m.Bottom().Inches();
  return {m.Left().Inches(), bottom - band, w - m.Right().Inches(), bottom};
}

void TPvHeaderFooter::DrawBand(DeviceCanvas& canvas, const TPvMargins& margins, Extended w, Extended h, int ppiX,
                               int ppiY, int pageNumber, int pageCount) const {
  if (!visible_) return;
  const TPvRectExt band = BandRect(margins, w, h);
  const IntRect r{toDevice(band.Left, ppiX), toDevice(band.Top, ppiY), toDevice(band.Right, ppiX),
                  toDevice(band.Bottom, ppiY)};
  TPvFontMapper& mapper = FontMapper();
  // Only the text: a brush left by the objects would paint behind it.
  canvas.brush().style = bsClear;
  for (int i = 0; i < 3; ++i) {
    const TPvHeaderFooterCaption& c = Caption(i);
    const std::string text = ReplaceTokens(c.Caption(), pageNumber, pageCount);
    if (text.empty()) continue;
    CanvasFont f;
    f.pixelsPerInch = ppiX;
    f.assignFrom(c.Font());
    canvas.font() = f;
    const TPvFontMapper::Extent e = mapper.MeasureText(canvas.font(), text);
    const int width = toDevice(e.width, ppiX);
    int x = r.left;
    if (i == 1) x = (r.left + r.right - width) / 2;
    if (i == 2) x = r.right - width;
    // The header's text sits on the band's bottom edge, next to its line.
    const int y = header_ ? r.bottom - toDevice(e.height, ppiY) : r.top;
    mapper.DrawMappedText(canvas, x, y, text, nullptr, false);
  }
  if (showLine_) {
    canvas.pen() = pen_;
    const int y = header_ ? r.bottom : r.top;
    canvas.line(r.left, y, r.right, y);
  }
}

// ---- page

TPvPage::TPvPage(TPvPageList& list) : list_(list) {}

void TPvPage::SetOrientation(TPvOrientation o) {
  if (o == orientation_) return;
  orientation_ = o;
  std::swap(width_, height_);
}

void TPvPage::SetSize(Extended w, Extended h) {
  width_ = w;
  height_ = h;
}

int TPvPage::Number() const { return list_.IndexOf(this) + 1; }

void TPvPage::DrawPage(DeviceCanvas& canvas, int ppiX, int ppiY, bool thumbnail) {
  TPvDeviceInfo info;
  info.PageNumber = Number();
  info.PixelsPerInchX = ppiX;
  info.PixelsPerInchY = ppiY;
  info.PageCount = list_.Count();
  info.Thumbnail = thumbnail;
  for (int i = 0; i < objects_.Count(); ++i) objects_.Items(i)->DrawOn(canvas, info);
  if (ShowHeader)
    list_.Header.DrawBand(canvas, list_.Margins, width_, height_, ppiX, ppiY, info.PageNumber, info.PageCount);
  if (ShowFooter)
    list_.Footer.DrawBand(canvas, list_.Margins, width_, height_, ppiX, ppiY, info.PageNumber, info.PageCount);
}

TPvBaseObject* TPvPage::ObjectAt(Extended x, Extended y) const {
  for (int i = objects_.Count() - 1; i >= 0; --i) {
    TPvBaseObject* o = objects_.Items(i);
    auto* shape = dynamic_cast<TPvBaseSolidShape*>(o);
    if (!shape) continue;
    TPvRectExt r = shape->Rect();
    if (auto* line = dynamic_cast<TPvLineObject*>(o)) {
      const IntRect b = line->ScreenBounds();
      r = {b.left / 96.0L, b.top / 96.0L, b.right / 96.0L, b.bottom / 96.0L};
    }
    if (r.Left > r.Right) std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
    if (x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom) return o;
  }
  return nullptr;
}

// ---- page list

TPvPageList::TPvPageList(std::unique_ptr<PvPrintDevice> device) : Printer(std::move(device)), Canvas(*this) {
  const TPvSizeExt a4 = paperFor(A4, pvPortrait);
  pageW_ = a4.Width;
  pageH_ = a4.Height;
  Margins.OnChange = [this](TPvMargins&) { contentsChanged(); };
  Header.OnChange = [this] { contentsChanged(); };
  Footer.OnChange = [this] { contentsChanged(); };
  Printer.OnChangePrinter = [this](TPvPrinter&) {
    if (OnPrinterChanged) OnPrinterChanged();
  };
  pages_.push_back(newPage());
  current_ = 1;
}

TPvPageList::~TPvPageList() {
  // The pages' objects go before the table they refer into.
  pages_.clear();
}

std::unique_ptr<TPvPage> TPvPageList::newPage() {
  auto p = std::make_unique<TPvPage>(*this);
  // The size first, then the orientation it already has: no swap.
  p->SetSize(pageW_, pageH_);
  if (orientation_ == pvLandscape) {
    p->SetOrientation(pvLandscape);
    p->SetSize(pageW_, pageH_);
  }
  p->Objects().OnChange = [this] { contentsChanged(); };
  return p;
}

int TPvPageList::IndexOf(const TPvPage* page) const {
  for (size_t i = 0; i < pages_.size(); ++i)
    if (pages_[i].get() == page) return static_cast<int>(i);
  return -1;
}

void TPvPageList::pagesChanged() {
  if (depth_ > 0) {
    heldPages_ = true;
    return;
  }
  if (OnPageCountChanged) OnPageCountChanged();
  if (OnPagesChanged) OnPagesChanged();
}

void TPvPageList::contentsChanged() {
  if (depth_ > 0) {
    heldContents_ = true;
    return;
  }
  if (OnContentsChanged) OnContentsChanged();
}

void TPvPageList::SetCurrentPage(int n) {
  if (n < 1 || n > Count() || n == current_) return;
  if (OnPageChanging) OnPageChanging();
  current_ = n;
  if (OnCurrentPageChanged) OnCurrentPageChanged();
}

TPvPage* TPvPageList::AddPage(int index) {
  auto p = newPage();
  TPvPage* raw = p.get();
  const int at = index < 0 ? Count() : std::min(index, Count());
  pages_.insert(pages_.begin() + at, std::move(p));
  // The new page is current before anyone hears of it, so that what is
  // shown is the page just made.
  const bool moved = current_ != at + 1;
  if (moved && OnPageChanging) OnPageChanging();
  current_ = at + 1;
  pagesChanged();
  if (moved && OnCurrentPageChanged) OnCurrentPageChanged();
  if (OnNewPage) OnNewPage();
  return raw;
}

void TPvPageList::DeletePage(int index) {
  if (index < 0 || index >= Count()) return;
  const bool wasCurrent = index == current_ - 1;
  if (wasCurrent && OnPageChanging) OnPageChanging();
  std::unique_ptr<TPvPage> gone = std::move(pages_[index]);
  pages_.erase(pages_.begin() + index);
  if (pages_.empty()) {
    pages_.push_back(newPage());
    current_ = 1;
  } else {
    if (index < current_ - 1) --current_;
    current_ = std::clamp(current_, 1, Count());
  }
  gone.reset();
  pagesChanged();
  if (wasCurrent && OnCurrentPageChanged) OnCurrentPageChanged();
}

void TPvPageList::Clear(bool leaveEmpty, bool clearResources) {
  pages_.clear();
  if (clearResources) Resources.Clear();
  current_ = 0;
  if (!leaveEmpty) {
    pages_.push_back(newPage());
    current_ = 1;
  }
  if (OnCleared) OnCleared();
  // Whoever shows pages holds none of the freed ones after this.
  pagesChanged();
}

void TPvPageList::SetOrientation(TPvOrientation o) {
  BeginUpdate();
  orientation_ = o;
  for (auto& p : pages_) p->SetOrientation(o);
  if (!pages_.empty()) {
    pageW_ = pages_.front()->WidthInches();
    pageH_ = pages_.front()->HeightInches();
  } else if ((o == pvLandscape) != (pageW_ > pageH_)) {
    std::swap(pageW_, pageH_);
  }
  contentsChanged();
  if (OnOrientationChanged) OnOrientationChanged();
  EndUpdate();
}

void TPvPageList::SetPaperSize(TPvPaperSize paper) {
  if (paper == paper_) return;
  BeginUpdate();
  paper_ = paper;
  if (paper != Custom) {
    const TPvSizeExt s = paperFor(paper, orientation_);
    pageW_ = s.Width;
    pageH_ = s.Height;
  }
  for (auto& p : pages_) p->SetSize(pageW_, pageH_);
  contentsChanged();
  if (OnPaperSizeChanged) OnPaperSizeChanged();
  EndUpdate();
}

void TPvPageList::SetPagesPerSheet(TPvPagesPerSheet p) {
  if (p == pagesPerSheet_) return;
  pagesPerSheet_ = p;
  if (OnPagesPerSheetChanged) OnPagesPerSheetChanged();
}

void TPvPageList::SetPageSize(Extended w, Extended h) {
  pageW_ = w;
  pageH_ = h;
}

void TPvPageList::BeginUpdate() {
  if (OnUpdateBegin) OnUpdateBegin();
  ++depth_;
}

void TPvPageList::EndUpdate() {
  if (depth_ == 0) return;
  --depth_;
  if (depth_ == 0) {
    ending_ = true;
    const bool pages = heldPages_, contents = heldContents_;
    heldPages_ = heldContents_ = false;
    // The pages-changed pair runs once for the whole update; what it says
    // includes every change of contents.
    if (pages || contents) {
      if (OnPageCountChanged) OnPageCountChanged();
      if (OnPagesChanged) OnPagesChanged();
    }
    if (contents && OnContentsChanged) OnContentsChanged();
    ending_ = false;
  }
  if (OnUpdateEnd) OnUpdateEnd();
}

TPvBaseObject* TPvPageList::AddObject(std::unique_ptr<TPvBaseObject> object) {
  if (pages_.empty()) AddPage();
  TPvPage* page = CurrentPage();
  if (!page) page = pages_.back().get();
  if (auto* shape = dynamic_cast<TPvBaseSolidShape*>(object.get())) {
    Extended dx = 0, dy = 0;
    switch (Canvas.CoordsRelativeTo) {
      case pvFromPage:
        break;
      case pvFromPrinterMargins: {
        const IntPoint off = Printer.Offsets(page->Orientation());
        const TPvPrinterInfo& info = Printer.Info();
        const bool land = page->Orientation() == pvLandscape;
        const int ppiX = land ? info.PixelsPerInchY : info.PixelsPerInchX;
        const int ppiY = land ? info.PixelsPerInchX : info.PixelsPerInchY;
        if (ppiX > 0) dx = static_cast<Extended>(off.x) / ppiX;
        if (ppiY > 0) dy = static_cast<Extended>(off.y) / ppiY;
        break;
      }
      case pvFromUserMargins:
        dx = Margins.Left().Inches();
        dy = Margins.Top().Inches();
        break;
      case pvFromHeaderLine:
        dx = Margins.Left().Inches();
        dy = Margins.Top().Inches() + Header.BandHeight(pvInches);
        break;
    }
    if (dx != 0 || dy != 0) shape->OffsetBy(pvInches, dx, dy);
  }
  return page->Objects().Add(std::move(object));
}

std::vector<int> TPvPageList::PrintOrder(int from, int to) {
  std::vector<int> order;
  const int step = from <= to ? 1 : -1;
  for (int n = from;; n += step) {
    order.push_back(n);
    if (n == to) break;
  }
  return order;
}

bool TPvPageList::PrintPages(int from, int to) {
  if (pages_.empty()) return false;
  from = std::clamp(from, 1, Count());
  to = std::clamp(to, 1, Count());
  const std::vector<int> order = PrintOrder(from, to);
  auto pageOf = [&](size_t i) { return pages_[static_cast<size_t>(order[i] - 1)].get(); };
  // With two pages a sheet, the sheet is turned against its pages (the
  // printer turns the first sheet itself when the job begins).
  auto sheetFor = [&](TPvOrientation o) {
    return pagesPerSheet_ == pvTwoPage ? (o == pvPortrait ? pvLandscape : pvPortrait) : o;
  };

  Printer.SetOrientation(pageOf(0)->Orientation());
  Printer.SetPagesPerSheet(pagesPerSheet_);
  Printer.SetPaperSize(paper_, {pageW_, pageH_});
  if (!Printer.BeginPrint() || !Printer.Printing()) return false;
  const int total = static_cast<int>(order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    TPvPage* p = pageOf(i);
    DeviceCanvas* canvas = Printer.Canvas();
    if (!canvas) break;
    const TPvPrinterInfo& info = Printer.Info();
    const bool land = Printer.SheetOrientation() == pvLandscape;
    const int X = land ? info.PixelsPerInchY : info.PixelsPerInchX;
    const int Y = land ? info.PixelsPerInchX : info.PixelsPerInchY;
    const IntRect clip = Margins.ClipMargins()
                             ? IntRect{toDevice(Margins.Left().Inches(), X), toDevice(Margins.Top().Inches(), Y),
                                       toDevice(p->WidthInches() - Margins.Right().Inches(), X),
                                       toDevice(p->HeightInches() - Margins.Bottom().Inches(), Y)}
                             : IntRect{0, 0, toDevice(p->WidthInches(), X), toDevice(p->HeightInches(), Y)};
    canvas->setClipRect(clip);
    p->DrawPage(*canvas, X, Y, false);
    canvas->removeClip();
    if (i + 1 < order.size()) {
      Printer.SetOrientation(sheetFor(pageOf(i + 1)->Orientation()));
      Printer.NewSheetPage();
    }
    if (OnPrintProgress) OnPrintProgress(static_cast<int>(i) + 1, total);
    if (Printer.Aborted() || !Printer.Printing()) return false;
  }
  Printer.EndPrint();
  return true;
}

}  // namespace vektrano::preview
