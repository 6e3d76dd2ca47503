#include "app/focus_keeper.h"

#include <QApplication>
#include <QLineEdit>

namespace vektrano {

FocusKeeper::FocusKeeper(QWidget* window, QWidget* sink, QWidget* fallback)
    : window_(window), sink_(sink), fallback_(fallback) {}

FocusKeeper::~FocusKeeper() { QObject::disconnect(watch_); }

bool FocusKeeper::takesFocus(const QWidget* w) const {
  return w && w->window() == window_ && w->isVisible() && w->isEnabled();
}

void FocusKeeper::begin() {
  if (depth_++ > 0 || !window_) return;
  // The window's own focus child: the one it gives the focus to when it is
  // activated, also while another window is in front.
  had_ = window_->focusWidget();
  if (!had_ || had_ == sink_) had_ = fallback_;
  chosen_ = false;
  edit_ = false;
  if (const auto* e = qobject_cast<const QLineEdit*>(had_.data())) {
    edit_ = true;
    text_ = e->text();
    caret_ = e->cursorPosition();
    anchor_ = caret_;
    if (e->hasSelectedText()) {
      const int start = e->selectionStart();
      anchor_ = caret_ == start ? start + e->selectionLength() : start;
    }
  }
  watch_ = QObject::connect(qApp, &QApplication::focusChanged, window_,
                            [this](QWidget* old, QWidget* now) { focusChanged(old, now); });
}

void FocusKeeper::focusChanged(QWidget* old, QWidget* now) {
  if (!now || now->window() != window_ || now == had_ || now == sink_) return;
  // From the parked place, or past a control that could still have it: the
  // operator chose where to go, and the end of the command leaves it there.
  if (old == sink_ || takesFocus(had_)) {
    chosen_ = true;
    return;
  }
  // Qt hands the focus of a hidden or disabled control to the next one in
  // the chain; nothing there was chosen.
  if (sink_) sink_->setFocus(Qt::OtherFocusReason);
}

void FocusKeeper::end() {
  if (depth_ == 0 || --depth_ > 0) return;
  QObject::disconnect(watch_);
  if (chosen_ || !window_) return;
  QWidget* target = takesFocus(had_) ? had_.data() : takesFocus(fallback_) ? fallback_.data() : nullptr;
  if (!target) return;
  // In a window that is not active this only names the control that gets
  // the focus when the window is activated again.
  if (window_->focusWidget() != target) target->setFocus(Qt::OtherFocusReason);
  auto* e = qobject_cast<QLineEdit*>(target);
  if (!e || target != had_ || !edit_ || e->text() != text_) return;
  if (anchor_ != caret_)
    e->setSelection(anchor_, caret_ - anchor_);
  else
    e->setCursorPosition(caret_);
}

}  // namespace vektrano
