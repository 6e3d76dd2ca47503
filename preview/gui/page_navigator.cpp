#include "preview/gui/page_navigator.h"

#include "platform/cp1250.h"
#include "preview/gui/glyphs.h"

namespace vektrano::preview {

TPvNavButton::TPvNavButton(TPvNavigateBtn kind, QWidget* parent) : QToolButton(parent), kind_(kind) {
  setIcon(PvGlyph(NavButtonInfo(kind).glyph));
  setIconSize(QSize(24, 24));
  setObjectName(QString::fromLatin1(NavButtonInfo(kind).glyph));
  setFocusPolicy(Qt::NoFocus);
}

TPvPageNavigator::TPvPageNavigator(QWidget* parent) : TPvWinControl(parent) {
  for (int i = 0; i < kNavButtonCount; ++i) {
    const auto kind = static_cast<TPvNavigateBtn>(i);
    auto* b = new TPvNavButton(kind, this);
    b->setToolTip(platform::toQString(NavButtonInfo(kind).hint));
    connect(b, &QToolButton::clicked, this, [this, kind] { Click(kind); });
    buttons_[i] = b;
  }
  layoutButtons();
  evaluate();
}


void TPvPageNavigator::SetPreview(TPvPreview* preview) {
  preview_.set(preview);
  evaluate();
}

void TPvPageNavigator::PreviewDestroyed() {
  preview_.forget();
  evaluate();
}

void TPvPageNavigator::Click(TPvNavigateBtn b) {
  if (!preview_) return;
  TPvPreview& p = *preview_;
  switch (b) {
    case pvFirstPage: p.FirstPage(); break;
    case pvPrevPage: p.PrevPage(); break;
    case pvNextPage: p.NextPage(); break;
    case pvLastPage: p.LastPage(); break;
    case pvAddPage: p.NewPage(); break;
    case pvDeletePage: p.DeleteCurrentPage(); break;
    case pvClear: p.Clear(); break;
    case pvZoomIn: p.ZoomIn(); break;
    case pvZoomOut: p.ZoomOut(); break;
    case pvActualSize: p.SetZoom(100); break;
    case pvFitWidth: p.FitWidth(); break;
    case pvFitHeight: p.FitHeight(); break;
    case pvFitWholePage: p.FitWholePage(); break;
  }
  // A zoom tells nobody: what the zoom buttons allow is seen here.
  evaluate();
  if (OnClickButton) OnClickButton(*this, b);
}

void TPvPageNavigator::PreviewMessage(int message) {
  switch (message) {
    case pvmBeginUpdate:
      setEnabled(false);
      break;
    case pvmEndUpdate:
      if (preview_ && !preview_->PageList().Updating()) {
        setEnabled(true);
        evaluate();
      }
      break;
    case pvmReserved7037:
    case pvmPageCount:
    case pvmReserved7041:
    case pvmCurrentPage:
      evaluate();
      break;
    default:
      break;
  }
}

void TPvPageNavigator::evaluate() {
  TPvNavState s;
  if (preview_) {
    s.hasPreview = true;
    s.currentPage = preview_->CurrentPageNumber();
    s.pageCount = preview_->NumPages();
    s.zoom = preview_->Zoom();
    s.minZoom = preview_->MinZoom();
    s.maxZoom = preview_->MaxZoom();
  }
  for (auto* b : buttons_) b->setEnabled(NavButtonEnabled(b->Kind(), s));
}

QSize TPvPageNavigator::NeededSize() const {
  const TPvNavLayout l = LayoutNavigator(visible_, buttonWidth_, buttonHeight_, groupButtons_, groupSpacing_);
  const int frame = 2 * borderWidth_ + (BorderStyle() == bsSingle ? 4 : 0);
  return {l.width - 16 + frame, l.height - 16 + frame};
}

void TPvPageNavigator::layoutButtons() {
  const TPvNavLayout l = LayoutNavigator(visible_, buttonWidth_, buttonHeight_, groupButtons_, groupSpacing_);
  const int shift = borderWidth_ + (BorderStyle() == bsSingle ? 2 : 0) - 8;
  for (auto* b : buttons_) b->hide();
  for (const auto& placed : l.buttons) {
    TPvNavButton* b = buttons_[placed.button];
    b->setGeometry(placed.rect.left + shift, placed.rect.top + shift, placed.rect.right - placed.rect.left,
                   placed.rect.bottom - placed.rect.top);
    b->setAutoRaise(flat_);
    b->show();
  }
  if (autoSize_) resize(NeededSize());
}

void TPvPageNavigator::applyHints() {
  for (auto* b : buttons_) {
    std::string hint = NavButtonInfo(b->Kind()).hint;
    if (OnGetButtonHint) OnGetButtonHint(*this, b->Kind(), hint);
    b->setToolTip(showHints_ ? platform::toQString(hint) : QString());
  }
}

void TPvPageNavigator::showEvent(QShowEvent* event) {
  TPvWinControl::showEvent(event);
  if (!hintsAsked_) {
    hintsAsked_ = true;
    applyHints();
  }
}

void TPvPageNavigator::resizeEvent(QResizeEvent* event) {
  TPvWinControl::resizeEvent(event);
  if (!autoSize_) layoutButtons();
}

void TPvPageNavigator::SetAutoSize(bool v) {
  autoSize_ = v;
  layoutButtons();
}
void TPvPageNavigator::SetBorderWidth(int v) {
  borderWidth_ = v;
  layoutButtons();
}
void TPvPageNavigator::SetButtonHeight(int v) {
  buttonHeight_ = v;
  layoutButtons();
}
void TPvPageNavigator::SetButtonWidth(int v) {
  buttonWidth_ = v;
  layoutButtons();
}
void TPvPageNavigator::SetFlat(bool v) {
  flat_ = v;
  layoutButtons();
}
void TPvPageNavigator::SetGroupButtons(bool v) {
  groupButtons_ = v;
  layoutButtons();
}
void TPvPageNavigator::SetGroupSpacing(int v) {
  groupSpacing_ = v;
  layoutButtons();
}
void TPvPageNavigator::SetShowButtonHints(bool v) {
  showHints_ = v;
  applyHints();
}
void TPvPageNavigator::SetVisibleButtons(TPvNavButtonSet set) {
  visible_ = set & kAllNavButtons;
  layoutButtons();
}

}  // namespace vektrano::preview
