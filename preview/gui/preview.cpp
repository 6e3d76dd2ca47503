#include "preview/gui/preview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "preview/gui/painter_canvas.h"
#include "preview/gui/printer_qt.h"

namespace vektrano::preview {

namespace {

TMouseButton buttonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::RightButton: return TMouseButton::Right;
    case Qt::MiddleButton: return TMouseButton::Middle;
    default: return TMouseButton::Left;
  }
}

// Shift, Alt and Ctrl as the bits of the Windows shift state.
TShiftState shiftOf(Qt::KeyboardModifiers m) {
  TShiftState s = 0;
  if (m & Qt::ShiftModifier) s |= 1;
  if (m & Qt::AltModifier) s |= 2;
  if (m & Qt::ControlModifier) s |= 4;
  return s;
}

}  // namespace

// ---- paper image widget

TPvPaperImageWidget::TPvPaperImageWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  image_.OnInvalidate = [this] { update(); };
  image_.OnAfterPaint = [this](TPvPaperImage&) {
    if (AfterPaint && painting_) AfterPaint(*painting_);
  };
}

void TPvPaperImageWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PainterCanvas canvas(p, CanvasKind::Screen, 96, 96);
  image_.ControlWidth = width();
  image_.ControlHeight = height();
  painting_ = &canvas;
  image_.Paint(canvas);
  painting_ = nullptr;
}

void TPvPaperImageWidget::resizeEvent(QResizeEvent*) {
  image_.ControlWidth = width();
  image_.ControlHeight = height();
}

void TPvPaperImageWidget::mousePressEvent(QMouseEvent* e) {
  const QPoint at = e->position().toPoint();
  image_.MouseDown(buttonOf(e->button()), shiftOf(e->modifiers()), at.x(), at.y());
}

void TPvPaperImageWidget::mouseMoveEvent(QMouseEvent* e) {
  const QPoint at = e->position().toPoint();
  image_.MouseMove(shiftOf(e->modifiers()), at.x(), at.y());
}

void TPvPaperImageWidget::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint at = e->position().toPoint();
  image_.MouseUp(buttonOf(e->button()), shiftOf(e->modifiers()), at.x(), at.y());
}

void TPvPaperImageWidget::enterEvent(QEnterEvent*) { image_.MouseEnter(); }
void TPvPaperImageWidget::leaveEvent(QEvent*) { image_.MouseLeave(); }

// ---- preview

TPvPreview::TPvPreview(QWidget* parent) : TPvScrollingPageControl(parent) {
  resize(240, 300);
  SelectionPen.color = clRed;
  SelectionPen.width = 1;
  paper_ = new TPvPaperImageWidget;
  setWidget(paper_);
  setWidgetResizable(false);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  TPvPaperImage& img = paper_->Image();
  img.SetMargins(&pages_.Margins);
  img.SetPageGrid(&grid_);
  img.SetShadow(&shadow_);
  img.SetGutter({gutter_, gutter_, gutter_, gutter_});
  img.PrintableArea = [this](TPvOrientation o) -> std::optional<TPvRectExt> {
    const TPvPrinterInfo& info = pages_.Printer.Info();
    if (!pages_.Printer.PrinterInstalled() || info.PixelsPerInchX <= 0 || info.PixelsPerInchY <= 0)
      return std::nullopt;
    const IntPoint off = pages_.Printer.Offsets(o);
    const bool land = o == pvLandscape;
    const Extended px = land ? info.PixelsPerInchY : info.PixelsPerInchX;
    const Extended py = land ? info.PixelsPerInchX : info.PixelsPerInchY;
    const Extended w = (land ? info.PrintableHeight : info.PrintableWidth) / px;
    const Extended h = (land ? info.PrintableWidth : info.PrintableHeight) / py;
    return TPvRectExt{off.x / px, off.y / py, off.x / px + w, off.y / py + h};
  };
  paper_->AfterPaint = [this](DeviceCanvas& c) { drawSelection(c); };
  img.OnPageMouseDown = [this](TPvPaperImage&, TMouseButton b, TShiftState s, TPvValue& x, TPvValue& y) {
    if (OnPageMouseDown) OnPageMouseDown(*this, b, s, x, y);
    if (OnObjectMouseDown)
      if (TPvPage* page = pages_.CurrentPage())
        if (TPvBaseObject* o = page->ObjectAt(x.Inches(), y.Inches())) OnObjectMouseDown(*this, b, s, x, y, o);
    if (b == TMouseButton::Left) startPan(QCursor::pos());
  };
  img.OnPageMouseMove = [this](TPvPaperImage&, TShiftState s, TPvValue& x, TPvValue& y) {
    if (panning_) {
      const QPoint d = QCursor::pos() - panStart_;
      // The page follows the mouse.
      horizontalScrollBar()->setValue(panH_ - d.x());
      verticalScrollBar()->setValue(panV_ - d.y());
    }
    if (OnPageMouseMove) OnPageMouseMove(*this, s, x, y);
  };
  img.OnPageMouseUp = [this](TPvPaperImage&, TMouseButton b, TShiftState s, TPvValue& x, TPvValue& y) {
    if (panning_) {
      panning_ = false;
      paper_->unsetCursor();
    }
    if (OnPageMouseUp) OnPageMouseUp(*this, b, s, x, y);
  };
  wireDocument();
  showCurrentPage();
}

TPvPreview::~TPvPreview() {
  // Listeners hold pages of this document: they let go first.
  auto controls = controls_;
  controls_.clear();
  for (auto& [l, w] : controls)
    if (w) l->PreviewDestroyed();
}

void TPvPreview::wireDocument() {
  pages_.OnPagesPerSheetChanged = [this] { NotifyControls(pvmPagesPerSheet); };
  pages_.OnContentsChanged = [this] {
    paper_->update();
    NotifyControls(pvmPageInvalidated);
  };
  pages_.OnCleared = [this] {
    selected_ = nullptr;
    showCurrentPage();
    if (OnClear) OnClear(*this);
    NotifyControls(pvmCleared);
  };
  pages_.OnPageCountChanged = [this] { NotifyControls(pvmPageCount); };
  pages_.OnPagesChanged = [this] {
    // A page deleted may have held the selection.
    if (selected_) {
      TPvPage* page = pages_.CurrentPage();
      if (!page || page->Objects().IndexOf(selected_) < 0) selected_ = nullptr;
    }
    showCurrentPage();
    updateScrollRanges();
    NotifyControls(pvmPagesChanged);
  };
  pages_.OnPrinterChanged = [this] {
    paper_->update();
    NotifyControls(pvmPrinterChanged);
  };
  pages_.OnUpdateBegin = [this] {
    NotifyControls(pvmBeginUpdate);
    paper_->Image().BeginUpdate();
  };
  pages_.OnUpdateEnd = [this] {
    paper_->Image().EndUpdate();
    NotifyControls(pvmEndUpdate);
  };
  pages_.OnPaperSizeChanged = [this] {
    showCurrentPage();
    updateScrollRanges();
    NotifyControls(pvmPaperSize);
  };
  pages_.OnCurrentPageChanged = [this] {
    showCurrentPage();
    selected_ = nullptr;
    updateScrollRanges();
    if (OnPageChanged) OnPageChanged(*this);
    NotifyControls(pvmCurrentPage);
  };
  pages_.OnNewPage = [this] {
    if (OnNewPage) OnNewPage(*this);
  };
  pages_.OnOrientationChanged = [this] {
    showCurrentPage();
    if (OnOrientationChanged) OnOrientationChanged(*this);
  };
  pages_.OnPrintProgress = [this](int printed, int total) {
    if (OnPrintProgress) OnPrintProgress(*this, printed, total);
  };
}

void TPvPreview::showCurrentPage() { paper_->Image().SetPage(pages_.CurrentPage()); }

void TPvPreview::SetGutter(int g) {
  gutter_ = g;
  paper_->Image().SetGutter({g, g, g, g});
  updateScrollRanges();
}

void TPvPreview::SetMinZoom(int v) {
  if (v == minZoom_) return;
  minZoom_ = NewMinZoom(v, maxZoom_);
  if (Zoom() < minZoom_) SetZoom(minZoom_);
}

void TPvPreview::SetMaxZoom(int v) {
  if (v == maxZoom_) return;
  maxZoom_ = NewMaxZoom(v, minZoom_);
  if (Zoom() > maxZoom_) SetZoom(maxZoom_);
}

int TPvPreview::Zoom() const { return paper_->Image().Zoom(); }

void TPvPreview::SetZoom(int zoom) {
  zoom = LimitZoom(zoom, minZoom_, maxZoom_);
  if (zoom == Zoom()) return;
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  const QSize client = viewport()->size();
  const Extended ph = ScrollPercent(h->value(), paper_->width(), client.width());
  const Extended pv = ScrollPercent(v->value(), paper_->height(), client.height());
  paper_->Image().SetZoom(zoom);
  updateScrollRanges();
  paper_->update();
  h->setValue(ScrollPosition(paper_->width(), client.width(), ph));
  v->setValue(ScrollPosition(paper_->height(), client.height(), pv));
}

void TPvPreview::ZoomIn() { SetZoom(ZoomInStep(Zoom(), ZoomStyle, ZoomIncrement, minZoom_, maxZoom_)); }
void TPvPreview::ZoomOut() { SetZoom(ZoomOutStep(Zoom(), ZoomStyle, ZoomIncrement, minZoom_, maxZoom_)); }

FitInput TPvPreview::fitInput() const {
  FitInput in;
  in.controlWidth = width();
  in.controlHeight = height();
  in.gutter = paper_->Image().Gutter();
  if (const TPvPage* p = pages_.CurrentPage()) {
    in.pageWidth = p->WidthInches();
    in.pageHeight = p->HeightInches();
  }
  return in;
}

void TPvPreview::FitWidth() { SetZoom(FitWidthZoom(fitInput())); }
void TPvPreview::FitHeight() { SetZoom(FitHeightZoom(fitInput())); }
void TPvPreview::FitWholePage() { SetZoom(FitWholePageZoom(fitInput())); }

TPvOrientation TPvPreview::Orientation() const {
  const TPvPage* p = pages_.CurrentPage();
  return p ? p->Orientation() : pages_.Orientation();
}

void TPvPreview::updateScrollRanges() {
  const TPvPaperImage& img = paper_->Image();
  const IntPoint size = img.PageSizeInPixels(96);
  const IntRect g = img.Gutter();
  const QSize client = viewport()->size();
  paper_->resize(std::max(client.width(), size.x + g.left + g.right),
                 std::max(client.height(), size.y + g.top + g.bottom));
  paper_->update();
}

void TPvPreview::resizeEvent(QResizeEvent* event) {
  TPvScrollingPageControl::resizeEvent(event);
  updateScrollRanges();
}

void TPvPreview::Clear() {
  selected_ = nullptr;
  pages_.Clear(false, true);
}

bool TPvPreview::PrintPages(int from, int to) {
  const PrintDialogOwner owner(window());
  BeginUpdate();
  const bool ok = pages_.PrintPages(from, to);
  EndUpdate();
  return ok;
}

void TPvPreview::AddControl(TPvPreviewListener* control) {
  if (!control) return;
  for (const auto& c : controls_)
    if (c.first == control) return;
  controls_.emplace_back(control, QPointer<QWidget>(control->ListenerWidget()));
}

void TPvPreview::RemoveControl(TPvPreviewListener* control) {
  controls_.erase(std::remove_if(controls_.begin(), controls_.end(),
                                 [control](const auto& c) { return c.first == control; }),
                  controls_.end());
}

void TPvPreview::NotifyControls(int message) {
  // Inside an update, and while its held-back events run, the controls hear
  // nothing: the end of the update tells them of all of it.
  if (pages_.Updating() || pages_.EndingUpdate()) return;
  const auto controls = controls_;
  for (const auto& [control, widget] : controls)
    if (widget && widget->parentWidget()) control->PreviewMessage(message);
}

std::vector<std::string> TPvPreview::GetPaperNames() {
  std::vector<std::string> names;
  for (int i = 0; i < kPaperSizeCount; ++i) names.push_back(PaperSizeName(static_cast<TPvPaperSize>(i)));
  return names;
}

TPvPointExt TPvPreview::PageSize(TPvMeasurement m) const {
  const TPvPage* p = pages_.CurrentPage();
  if (!p) return {};
  return {ConvertValue(p->WidthInches(), pvInches, m), ConvertValue(p->HeightInches(), pvInches, m)};
}

void TPvPreview::SetSelectedObject(TPvBaseObject* o) {
  selected_ = o;
  paper_->update();
}

void TPvPreview::drawSelection(DeviceCanvas& canvas) {
  if (!selected_ || !ShowSelection) return;
  auto* visible = dynamic_cast<TPvVisibleObject*>(selected_);
  if (!visible) return;
  const IntRect box = visible->BoundingBox();
  const Extended scale = Zoom() / 100.0L;
  const IntRect page = paper_->Image().PageRect();
  const int grow = static_cast<int>(roundHalfEven(scale * 10));
  const IntRect r{static_cast<int>(roundHalfEven(box.left * scale)) + page.left - grow,
                  static_cast<int>(roundHalfEven(box.top * scale)) + page.top - grow,
                  static_cast<int>(roundHalfEven(box.right * scale)) + page.left + grow + 1,
                  static_cast<int>(roundHalfEven(box.bottom * scale)) + page.top + grow + 1};
  canvas.removeClip();
  canvas.pen() = SelectionPen;
  canvas.brush().style = bsClear;
  canvas.rectangle(r);
}

void TPvPreview::startPan(const QPoint& global) {
  panning_ = true;
  panStart_ = global;
  panH_ = horizontalScrollBar()->value();
  panV_ = verticalScrollBar()->value();
  paper_->setCursor(Qt::ClosedHandCursor);
}

void TPvPreview::keyPressEvent(QKeyEvent* event) {
  QScrollBar* bar = verticalScrollBar()->isVisible() ? verticalScrollBar() : horizontalScrollBar();
  switch (event->key()) {
    case Qt::Key_PageUp: bar->setValue(bar->value() - 10 * bar->singleStep()); return;
    case Qt::Key_PageDown: bar->setValue(bar->value() + 10 * bar->singleStep()); return;
    case Qt::Key_Home: bar->setValue(bar->minimum()); return;
    case Qt::Key_End: bar->setValue(bar->maximum()); return;
    default: TPvScrollingPageControl::keyPressEvent(event);
  }
}

void TPvPreview::wheelEvent(QWheelEvent* event) {
  QScrollBar* bar = verticalScrollBar()->isVisible() ? verticalScrollBar() : horizontalScrollBar();
  const int notches = event->angleDelta().y() / 120;
  // One increment a notch; a negative turn moves down.
  bar->setValue(bar->value() - notches * bar->singleStep());
  event->accept();
}

void TPvPreviewLink::set(TPvPreview* preview) {
  if (preview_) preview_->RemoveControl(&owner_);
  preview_ = preview;
  if (preview_) preview_->AddControl(&owner_);
}

}  // namespace vektrano::preview
