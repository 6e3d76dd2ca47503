#include "app/line_edit_frame.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOption>

namespace vektrano {
namespace {

class FramePictureStyle : public QProxyStyle {
 public:
  explicit FramePictureStyle(const QString& base) : QProxyStyle(base) {}

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (element != PE_FrameLineEdit || !frame || !painter || frame->rect.isEmpty())
      return QProxyStyle::drawPrimitive(element, option, painter, widget);
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const Key key{frame->rect.size(), static_cast<int>(frame->state), frame->palette.cacheKey(),
                  ratio, frame->direction, frame->lineWidth, frame->midLineWidth};
    if (!(key == key_)) {
      QPixmap picture((QSizeF(frame->rect.size()) * ratio).toSize());
      picture.setDevicePixelRatio(ratio);
      picture.fill(Qt::transparent);
      QPainter p(&picture);
      QStyleOptionFrame at = *frame;
      at.rect = QRect(QPoint(0, 0), frame->rect.size());
      QProxyStyle::drawPrimitive(element, &at, &p, widget);
      p.end();
      picture_ = picture;
      key_ = key;
    }
    painter->drawPixmap(frame->rect.topLeft(), picture_);
  }

 private:
  struct Key {
    QSize size;
    int state = 0;
    qint64 palette = 0;
    qreal ratio = 0;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    int lineWidth = 0, midLineWidth = 0;
    bool operator==(const Key&) const = default;
  };
  mutable Key key_;
  mutable QPixmap picture_;
};

}  // namespace

void keepFramePicture(QLineEdit* edit) {
  if (!edit) return;
  auto* style = new FramePictureStyle(QApplication::style()->name());
  style->setParent(edit);
  edit->setStyle(style);
}

}  // namespace vektrano
