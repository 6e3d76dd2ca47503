#include "preview/gui/thumbnails.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "platform/cp1250.h"
#include "preview/gui/painter_canvas.h"
#include "preview/qt_fonts.h"

namespace vektrano::preview {

// ---- one thumbnail

TPvThumbnail::TPvThumbnail(TPvThumbnails& owner, int pageNumber, QWidget* parent)
    : TPvPaperImageWidget(parent), owner_(owner), page_(pageNumber) {
  Image().Thumbnail = true;
}

void TPvThumbnail::paintEvent(QPaintEvent* event) {
  if (owner_.Updating() || !owner_.preview_) return;
  const bool selected = owner_.Highlight && owner_.selected_ == page_;
  if (selected && owner_.HighlightStyle == pvBackground) {
    QPainter p(this);
    p.fillRect(rect(), toQColor(owner_.SelectedColor));
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  Image().DrawContents = !owner_.PlainPages;
  TPvPaperImageWidget::paintEvent(event);

  QPainter p(this);
  if (owner_.ShowCaption) {
    const QString text = platform::toQString(ThumbnailCaption(owner_.PageCaptions, page_));
    const QFont f = toQFont(owner_.CaptionFont);
    p.setFont(f);
    const QFontMetrics fm(f);
    TColor color = owner_.CaptionFont.color;
    if (selected && owner_.HighlightStyle == pvBackground) color = ContrastColor(owner_.SelectedColor);
    p.setPen(toQColor(color));
    const IntRect page = Image().PageRect();
    p.drawText(ThumbnailCaptionLeft(width(), fm.horizontalAdvance(text)), page.bottom + 4 + fm.ascent(), text);
  }
  if (selected && owner_.HighlightStyle != pvBackground) {
    const int w = owner_.HighlightStyle == pvThickLine ? 2 : 1;
    QPen pen(toQColor(owner_.SelectedColor), w);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(w / 2.0, w / 2.0, width() - w, height() - w));
  }
}

void TPvThumbnail::mousePressEvent(QMouseEvent* event) {
  TPvPaperImageWidget::mousePressEvent(event);
  // Last: what the preview does next may rebuild the thumbnails.
  if (event->button() == Qt::LeftButton && owner_.preview_) owner_.preview_->SetCurrentPage(page_);
}

// ---- the strip

TPvThumbnails::TPvThumbnails(QWidget* parent) : TPvScrollingPageControl(parent) {
  resize(240, 115);
  CaptionFont.setSize(8);
  shadow_.SetWidth(2);
  strip_ = new QWidget;
  setWidget(strip_);
  setWidgetResizable(false);
  horizontalScrollBar()->setSingleStep(20);
  verticalScrollBar()->setSingleStep(20);
}


void TPvThumbnails::SetPreview(TPvPreview* preview) {
  preview_.set(preview);
  Rebuild();
}

void TPvThumbnails::PreviewDestroyed() {
  preview_.forget();
  clearThumbs();
}

TPvThumbnail* TPvThumbnails::Thumbnail(int index) const {
  return index >= 0 && index < Count() ? thumbs_[static_cast<size_t>(index)] : nullptr;
}

void TPvThumbnails::clearThumbs() {
  // The shared shadow told the last thumbnail of its changes: no longer.
  shadow_.OnChange = nullptr;
  for (auto* t : thumbs_) delete t;
  thumbs_.clear();
  selected_ = 0;
  strip_->resize(0, 0);
}

void TPvThumbnails::Rebuild() {
  clearThumbs();
  if (!preview_) return;
  TPvPageList& pages = preview_->PageList();
  int right = 0, bottom = 0;
  for (int i = 0; i < pages.Count(); ++i) {
    TPvPage* page = pages.Items(i);
    const TPvThumbGeometry g = ThumbnailGeometry(page->WidthInches(), page->HeightInches(), ThumbSize, ThumbSpacing,
                                                 ShowCaption, CaptionFont.height);
    auto* t = new TPvThumbnail(*this, i + 1, strip_);
    TPvPaperImage& img = t->Image();
    img.SetGutter(g.gutter);
    img.SetZoom(g.zoom);
    img.SetShadow(&shadow_);
    img.SetMargins(&pages.Margins);
    img.SetPage(page);
    const IntPoint at = ThumbnailPosition(i, Layout, GridWidth, g.width, g.height);
    t->setGeometry(at.x, at.y, g.width, g.height);
    t->show();
    right = std::max(right, at.x + g.width);
    bottom = std::max(bottom, at.y + g.height);
    thumbs_.push_back(t);
  }
  strip_->resize(right, bottom);
  shadow_.OnChange = [this](TPvShadow&) {
    for (auto* t : thumbs_) t->update();
  };
  select(pages.CurrentPageNumber());
}

void TPvThumbnails::select(int pageNumber) {
  const int before = selected_;
  selected_ = pageNumber;
  if (TPvThumbnail* old = Thumbnail(before - 1)) old->update();
  if (TPvThumbnail* now = Thumbnail(pageNumber - 1)) {
    now->update();
    if (ScrollIntoView) ensureWidgetVisible(now, 0, 0);
  }
}

void TPvThumbnails::PreviewMessage(int message) {
  switch (message) {
    case pvmBeginUpdate:
      ++updates_;
      break;
    case pvmEndUpdate:
      if (updates_ > 0) --updates_;
      if (updates_ == 0) Rebuild();
      break;
    case pvmPageCount:
    case pvmPaperSize:
      Rebuild();
      break;
    case pvmPageInvalidated:
      for (auto* t : thumbs_) t->update();
      break;
    case pvmCurrentPage:
      if (preview_) select(preview_->CurrentPageNumber());
      break;
    case pvmPagesChanged:
      select(0);
      if (preview_) select(preview_->CurrentPageNumber());
      break;
    default:
      break;
  }
}

void TPvThumbnails::contextMenuEvent(QContextMenuEvent* event) {
  if (ThumbPopup) ThumbPopup->popup(event->globalPos());
}

}  // namespace vektrano::preview
