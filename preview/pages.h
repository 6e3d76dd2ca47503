#pragma once
// The document behind a preview: an owning list of pages, each with its own
// size, orientation and objects, and what all pages share: the resource
// table, the canvas objects are added through, the header and footer bands,
// the margins and the printer. It prints itself page by page through the
// printer, and tells its preview of every change through its events, held
// back while an update is open.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "preview/classes.h"
#include "preview/page_canvas.h"
#include "preview/page_objects.h"
#include "preview/printer.h"
#include "preview/resource.h"

namespace vektrano::preview {

class TPvHeaderFooter;
class TPvPageList;

class TPvHeaderFooterCaption {
 public:
  explicit TPvHeaderFooterCaption(TPvHeaderFooter& band);
  TPvHeaderFooterCaption(const TPvHeaderFooterCaption&) = delete;
  TPvHeaderFooterCaption& operator=(const TPvHeaderFooterCaption&) = delete;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);
  const CanvasFont& Font() const { return font_; }
  void SetFont(const CanvasFont& font);

 private:
  TPvHeaderFooter& band_;
  std::string caption_;
  CanvasFont font_;  // Arial 12 pt
};

// A band of three captions (left, centre, right) above or below the page
// body, with a line along the edge that faces the body.
class TPvHeaderFooter {
 public:
  explicit TPvHeaderFooter(bool header);
  virtual ~TPvHeaderFooter() = default;
  TPvHeaderFooter(const TPvHeaderFooter&) = delete;
  TPvHeaderFooter& operator=(const TPvHeaderFooter&) = delete;

  bool IsHeader() const { return header_; }
  // 0 left, 1 centre, 2 right; others give the right one.
  TPvHeaderFooterCaption& Caption(int index);
  const TPvHeaderFooterCaption& Caption(int index) const;
  TPvHeaderFooterCaption& CaptionLeft() { return left_; }
  TPvHeaderFooterCaption& CaptionCenter() { return center_; }
  TPvHeaderFooterCaption& CaptionRight() { return right_; }

  const CanvasPen& Pen() const { return pen_; }
  void SetPen(const CanvasPen& p);
  bool ShowLine() const { return showLine_; }
  void SetShowLine(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  // The stored height; 0 makes it that of one line of the largest caption
  // font.
  TPvValue& Height() { return height_; }
  // The band's height in m, whether the band is visible or not.
  Extended BandHeight(TPvMeasurement m) const;
  // The band on a page of w x h inches inside the margins, in inches.
  TPvRectExt BandRect(const TPvMargins& margins, Extended w, Extended h) const;

  // The captions (tokens replaced) and the line, when Visible.
  virtual void DrawBand(DeviceCanvas& canvas, const TPvMargins& margins, Extended w, Extended h, int ppiX,
                        int ppiY, int pageNumber, int pageCount) const;

  // Any change of captions, pen, flags or height.
  std::function<void()> OnChange;
  void Changed() {
    if (OnChange) OnChange();
  }

 private:
  bool header_;
  TPvHeaderFooterCaption left_, center_, right_;
  CanvasPen pen_;
  bool showLine_ = true, visible_ = false;
  TPvValue height_;
};

class TPvHeader : public TPvHeaderFooter {
 public:
  TPvHeader() : TPvHeaderFooter(true) {}
};

class TPvFooter : public TPvHeaderFooter {
 public:
  TPvFooter() : TPvHeaderFooter(false) {}
};

class TPvPage : public TPvPaperPage {
 public:
  explicit TPvPage(TPvPageList& list);
  TPvPage(const TPvPage&) = delete;
  TPvPage& operator=(const TPvPage&) = delete;

  TPvPageList& List() const { return list_; }
  TPvBaseObjectList& Objects() { return objects_; }
  const TPvBaseObjectList& Objects() const { return objects_; }
  TPvPageRtfInfo RtfInfo;

  Extended WidthInches() const override { return width_; }
  Extended HeightInches() const override { return height_; }
  TPvOrientation Orientation() const override { return orientation_; }
  // A change of orientation swaps width and height.
  void SetOrientation(TPvOrientation o);
  void SetSize(Extended widthInches, Extended heightInches);
  bool ShowHeader = true, ShowFooter = true;

  // Its position in the list + 1.
  int Number() const;
  // Objects in list order, then the header and the footer.
  void DrawPage(DeviceCanvas& canvas, int ppiX, int ppiY, bool thumbnail) override;
  // The topmost object whose box holds the point (inches), or nullptr.
  TPvBaseObject* ObjectAt(Extended x, Extended y) const;

 private:
  TPvPageList& list_;
  TPvBaseObjectList objects_;
  TPvOrientation orientation_ = pvPortrait;
  Extended width_ = 8.26L, height_ = 11.69L;
};

class TPvPageList {
 public:
  explicit TPvPageList(std::unique_ptr<PvPrintDevice> device = MakePrintDevice());
  ~TPvPageList();
  TPvPageList(const TPvPageList&) = delete;
  TPvPageList& operator=(const TPvPageList&) = delete;

  // First, so that it outlives every object that refers into it.
  TPvResourceTable Resources;
  TPvPrinter Printer;
  TPvMargins Margins;
  TPvHeader Header;
  TPvFooter Footer;
  TPvCanvas Canvas;

  int Count() const { return static_cast<int>(pages_.size()); }
  TPvPage* Items(int index) const { return index >= 0 && index < Count() ? pages_[index].get() : nullptr; }
  int IndexOf(const TPvPage* page) const;

  // From 1; 0 only while a clear left the list empty.
  int CurrentPageNumber() const { return current_; }
  TPvPage* CurrentPage() const { return Items(current_ - 1); }
  // Ignored outside 1..Count() or when n is current already.
  void SetCurrentPage(int n);

  // Inserted at the index (clamped), appended for -1; it becomes current.
  TPvPage* AddPage(int index = -1);
  // Outside 0..Count()-1 nothing happens. The page that was current stays
  // current when it is not the one deleted; else the page now at its place
  // (the last one when it was the last). The only page is replaced by an
  // empty one.
  void DeletePage(int index);
  // Frees every page; with clearResources the table is emptied; unless
  // leaveEmpty, one empty page is added and is current.
  void Clear(bool leaveEmpty, bool clearResources);

  TPvOrientation Orientation() const { return orientation_; }
  // Every page takes it; the list's page size becomes page 1's.
  void SetOrientation(TPvOrientation o);
  TPvPaperSize PaperSize() const { return paper_; }
  // Every page takes the paper's size (Custom keeps the size there is).
  void SetPaperSize(TPvPaperSize p);
  TPvPagesPerSheet PagesPerSheet() const { return pagesPerSheet_; }
  void SetPagesPerSheet(TPvPagesPerSheet p);
  // The size new pages get, in inches.
  Extended PageWidth() const { return pageW_; }
  Extended PageHeight() const { return pageH_; }
  void SetPageSize(Extended widthInches, Extended heightInches);

  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return depth_ > 0; }
  // True while EndUpdate runs the events it held back.
  bool EndingUpdate() const { return ending_; }

  // Moved by the canvas's CoordsRelativeTo and added to the current page
  // (a page is added first when there is none).
  TPvBaseObject* AddObject(std::unique_ptr<TPvBaseObject> object);
  TPvRectExt HeaderRect(const TPvPage& page) const { return Header.BandRect(Margins, page.WidthInches(), page.HeightInches()); }
  TPvRectExt FooterRect(const TPvPage& page) const { return Footer.BandRect(Margins, page.WidthInches(), page.HeightInches()); }

  // The page numbers from from to to, in that direction.
  static std::vector<int> PrintOrder(int from, int to);
  // Prints the pages (numbers clamped to the list); false when no job ran
  // to its end (no printer, called off, aborted).
  bool PrintPages(int from, int to);

  // Events. The two pages-changed events always run together (the count
  // notice first); they and the contents notice are held back while an
  // update is open and run once when it closes.
  std::function<void()> OnPageCountChanged, OnPagesChanged;
  std::function<void()> OnCleared, OnNewPage;
  // Before the current page changes (the old one still current), and after.
  std::function<void()> OnPageChanging, OnCurrentPageChanged;
  std::function<void()> OnOrientationChanged, OnPaperSizeChanged, OnPagesPerSheetChanged;
  std::function<void()> OnContentsChanged, OnPrinterChanged;
  std::function<void(int printed, int total)> OnPrintProgress;
  // Before an update opens (also a nested one) and after one closed.
  std::function<void()> OnUpdateBegin, OnUpdateEnd;

 private:
  void pagesChanged();
  void contentsChanged();
  std::unique_ptr<TPvPage> newPage();

  std::vector<std::unique_ptr<TPvPage>> pages_;
  int current_ = 0;
  int depth_ = 0;
  bool ending_ = false;
  bool heldPages_ = false, heldContents_ = false;
  TPvOrientation orientation_ = pvPortrait;
  TPvPagesPerSheet pagesPerSheet_ = pvOnePage;
  TPvPaperSize paper_ = A4;
  Extended pageW_, pageH_;
};

}  // namespace vektrano::preview
