#include "app/side_scroll_bar.h"

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

void SideScrollBar::sliderChange(SliderChange change) {
  if ((change == SliderRangeChange || change == SliderStepsChange) && painted_ &&
      look() == paintedLook_)
    return;
  QScrollBar::sliderChange(change);
}

SideScrollBar::Look SideScrollBar::look() const {
  QStyleOptionSlider o;
  initStyleOption(&o);
  return {style()->subControlRect(QStyle::CC_ScrollBar, &o, QStyle::SC_ScrollBarSlider, this),
          o.sliderValue == o.minimum, o.sliderValue == o.maximum, o.minimum == o.maximum};
}

void SideScrollBar::paintEvent(QPaintEvent* event) {
  paintedLook_ = look();
  painted_ = true;
  // A bar under the mouse or held shows which part is hovered or pressed,
  // a bar that fades in and out changes with time: they are drawn as Qt
  // draws them.
  QStyleOptionSlider o;
  initStyleOption(&o);
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
