#pragma once
// The preview control: a scrolling control that owns a document (the page
// list with its pages, bands, margins, printer and canvas), shows its current
// page at a zoom through a paper image, zooms in steps or to fit, pages, and
// prints. Attached controls (navigator, thumbnails, property combo box) hear
// of every change by PreviewMessage, never while the page list is inside an
// update nor while it closes one: they hear of a whole update at its end.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "preview/gui/components.h"
#include "preview/pages.h"
#include "preview/zoom.h"

namespace vektrano::preview {

class PainterCanvas;

// A control that follows a preview by its messages.
class TPvPreviewListener {
 public:
  virtual ~TPvPreviewListener() = default;
  virtual void PreviewMessage(int message) = 0;
  // The widget it is: a message goes only to one that has a parent.
  virtual QWidget* ListenerWidget() = 0;
  // The preview is being destroyed: let go of it and of its pages.
  virtual void PreviewDestroyed() = 0;
};

// Paints one TPvPaperImage and hands it the mouse.
class TPvPaperImageWidget : public QWidget {
  Q_OBJECT
 public:
  explicit TPvPaperImageWidget(QWidget* parent = nullptr);
  TPvPaperImage& Image() { return image_; }

  // After the image painted, with the canvas it painted on (plain pixels).
  std::function<void(DeviceCanvas&)> AfterPaint;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  TPvPaperImage image_;
  DeviceCanvas* painting_ = nullptr;
};

class TPvScrollingPageControl : public TPvScrollingWinControl {
  Q_OBJECT
 public:
  explicit TPvScrollingPageControl(QWidget* parent = nullptr) : TPvScrollingWinControl(parent) {}
};

class TPvPreview : public TPvScrollingPageControl {
  Q_OBJECT
 public:
  explicit TPvPreview(QWidget* parent = nullptr);
  ~TPvPreview() override;

  TPvPageList& PageList() { return pages_; }
  TPvCanvas& Canvas() { return pages_.Canvas; }
  TPvHeader& Header() { return pages_.Header; }
  TPvFooter& Footer() { return pages_.Footer; }
  TPvPrinter& PvPrinter() { return pages_.Printer; }
  TPvMargins& Margins() { return pages_.Margins; }
  TPvPageGrid& PageGrid() { return grid_; }
  TPvShadow& Shadow() { return shadow_; }
  TPvPaperImageWidget* PaperImage() const { return paper_; }

  int Gutter() const { return gutter_; }
  void SetGutter(int g);
  int MinZoom() const { return minZoom_; }
  void SetMinZoom(int v);
  int MaxZoom() const { return maxZoom_; }
  void SetMaxZoom(int v);
  int Zoom() const;
  void SetZoom(int zoom);
  int ZoomIncrement = 10;
  TPvZoomStyle ZoomStyle = pvVariableZoom;

  // Of the current page; setting turns every page.
  TPvOrientation Orientation() const;
  void SetOrientation(TPvOrientation o) { pages_.SetOrientation(o); }
  TPvPaperSize PaperSize() const { return pages_.PaperSize(); }
  void SetPaperSize(TPvPaperSize p) { pages_.SetPaperSize(p); }
  TPvPagesPerSheet PagesPerSheet() const { return pages_.PagesPerSheet(); }
  void SetPagesPerSheet(TPvPagesPerSheet p) { pages_.SetPagesPerSheet(p); }
  // The stored margins text (margins in twips, then the two pens).
  std::string MarginValues() const { return MarginValuesText(pages_.Margins); }
  void SetMarginValues(const std::string& text) { SetMarginValuesText(pages_.Margins, text); }

  // Back to one empty page, the resources emptied, nothing selected.
  void Clear();
  // Every page; false when no job ran to its end.
  bool Print() { return PrintPages(1, NumPages()); }
  bool PrintPages(int from, int to);
  void BeginUpdate() { pages_.BeginUpdate(); }
  void EndUpdate() { pages_.EndUpdate(); }
  void NewPage() { pages_.AddPage(); }
  void DeleteCurrentPage() { pages_.DeletePage(pages_.CurrentPageNumber() - 1); }
  void FirstPage() { pages_.SetCurrentPage(1); }
  void PrevPage() { pages_.SetCurrentPage(pages_.CurrentPageNumber() - 1); }
  void NextPage() { pages_.SetCurrentPage(pages_.CurrentPageNumber() + 1); }
  void LastPage() { pages_.SetCurrentPage(pages_.Count()); }
  void SetCurrentPage(int n) { pages_.SetCurrentPage(n); }
  int CurrentPageNumber() const { return pages_.CurrentPageNumber(); }
  int NumPages() const { return pages_.Count(); }
  void ZoomIn();
  void ZoomOut();
  void FitWidth();
  void FitHeight();
  void FitWholePage();

  void AddControl(TPvPreviewListener* control);
  void RemoveControl(TPvPreviewListener* control);
  void NotifyControls(int message);
  // The 18 paper names in their order.
  static std::vector<std::string> GetPaperNames();
  // The current page's width and height in m.
  TPvPointExt PageSize(TPvMeasurement m) const;

  TPvBaseObject* SelectedObject() const { return selected_; }
  void SetSelectedObject(TPvBaseObject* o);
  bool ShowSelection = true;
  CanvasPen SelectionPen;  // red, 1 wide

  std::function<void(TPvPreview&)> OnClear, OnNewPage, OnOrientationChanged, OnPageChanged;
  std::function<void(TPvPreview&, int printed, int total)> OnPrintProgress;
  std::function<void(TPvPreview&, TMouseButton, TShiftState, TPvValue& x, TPvValue& y, TPvBaseObject* object)>
      OnObjectMouseDown;
  std::function<void(TPvPreview&, TMouseButton, TShiftState, TPvValue& x, TPvValue& y)> OnPageMouseDown,
      OnPageMouseUp;
  std::function<void(TPvPreview&, TShiftState, TPvValue& x, TPvValue& y)> OnPageMouseMove;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void showCurrentPage();
  void updateScrollRanges();
  void drawSelection(DeviceCanvas& canvas);
  FitInput fitInput() const;
  void startPan(const QPoint& global);
  void wireDocument();

  TPvPageList pages_;
  TPvPageGrid grid_;
  TPvShadow shadow_;
  TPvPaperImageWidget* paper_ = nullptr;
  int gutter_ = 30;
  int minZoom_ = kDefaultMinZoom, maxZoom_ = kDefaultMaxZoom;
  std::vector<std::pair<TPvPreviewListener*, QPointer<QWidget>>> controls_;
  TPvBaseObject* selected_ = nullptr;
  bool panning_ = false;
  QPoint panStart_;
  int panH_ = 0, panV_ = 0;
};

// The preview a control follows: attached while it is set, detached when
// another is set or the control goes.
class TPvPreviewLink {
 public:
  explicit TPvPreviewLink(TPvPreviewListener& owner) : owner_(owner) {}
  ~TPvPreviewLink() { set(nullptr); }
  TPvPreviewLink(const TPvPreviewLink&) = delete;
  TPvPreviewLink& operator=(const TPvPreviewLink&) = delete;

  void set(TPvPreview* preview);
  // The preview is being destroyed: nothing left to detach from.
  void forget() { preview_ = nullptr; }
  operator TPvPreview*() const { return preview_; }
  TPvPreview* operator->() const { return preview_; }
  TPvPreview& operator*() const { return *preview_; }

 private:
  TPvPreviewListener& owner_;
  QPointer<TPvPreview> preview_;
};

}  // namespace vektrano::preview
