#include "app/steady_scroll_bar.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionSlider>
#include <algorithm>

namespace vektrano {
namespace {

bool opaque(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(line[x]) != 255) return false;
  }
  return true;
}

}  // namespace

void SteadyScrollBar::install(QAbstractItemView& view) {
  view.setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical, &view));
  view.setHorizontalScrollBar(new SteadyScrollBar(Qt::Horizontal, &view));
  // The scroll area ties a new bar to itself, the item view does not: its
  // own ties (scrolling to the end fetches the next rows) are made again.
  QObject::connect(view.verticalScrollBar(), SIGNAL(actionTriggered(int)), &view,
                   SLOT(verticalScrollbarAction(int)));
  QObject::connect(view.verticalScrollBar(), SIGNAL(valueChanged(int)), &view,
                   SLOT(verticalScrollbarValueChanged(int)));
  QObject::connect(view.horizontalScrollBar(), SIGNAL(actionTriggered(int)), &view,
                   SLOT(horizontalScrollbarAction(int)));
  QObject::connect(view.horizontalScrollBar(), SIGNAL(valueChanged(int)), &view,
                   SLOT(horizontalScrollbarValueChanged(int)));
}

void SteadyScrollBar::sliderChange(SliderChange change) {
  // A bar that fades in and out shows itself at every change of its value.
  if (painted_ && look() == paintedLook_ &&
      (change != SliderValueChange || !style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this)))
    return;
  QScrollBar::sliderChange(change);
}

SteadyScrollBar::Look SteadyScrollBar::look() const {
  QStyleOptionSlider o;
  initStyleOption(&o);
  return look(o);
}

SteadyScrollBar::Look SteadyScrollBar::look(const QStyleOptionSlider& o) const {
  return {style()->subControlRect(QStyle::CC_ScrollBar, &o, QStyle::SC_ScrollBarSlider, this),
          o.sliderValue == o.minimum, o.sliderValue == o.maximum, o.minimum == o.maximum};
}

void SteadyScrollBar::paintEvent(QPaintEvent* event) {
  QStyleOptionSlider o;
  initStyleOption(&o);
  paintedLook_ = look(o);
  painted_ = true;
  // A bar under the mouse or held shows which part is hovered or pressed,
  // a bar that fades in and out changes with time: they are drawn as Qt
  // draws them.
  if (underMouse() || isSliderDown() || style()->styleHint(QStyle::SH_ScrollBar_Transient, &o, this))
    return QScrollBar::paintEvent(event);
  o.subControls = QStyle::SC_All;
  o.activeSubControls = QStyle::SC_None;
  const Picture now{paintedLook_, o.rect.size(), o.state, o.palette.cacheKey(), style(),
                    devicePixelRatioF()};
  auto hit = std::find_if(kept_.begin(), kept_.end(),
                          [&](const Kept& k) { return !k.image.isNull() && k.picture == now; });
  if (hit == kept_.end()) {
    hit = kept_.end() - 1;  // the oldest gives way
    QImage image((QSizeF(o.rect.size()) * now.ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(now.ratio);
    image.fill(Qt::transparent);
    {
      QPainter p(&image);
      style()->drawComplexControl(QStyle::CC_ScrollBar, &o, &p, this);
    }
    // A bar the style covers whole is copied onto the screen, not blended.
    if (opaque(image)) image.convertTo(QImage::Format_RGB32);
    *hit = {now, std::move(image)};
  }
  std::rotate(kept_.begin(), hit, hit + 1);
  QPainter p(this);
  p.drawImage(QPointF(0, 0), kept_.front().image);
}

}  // namespace vektrano
