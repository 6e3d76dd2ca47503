#include "platform/gui/hints.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QToolTip>
#include <QWidget>

namespace vektrano::platform {
namespace {

int showAfter = 700;
int stay = 10000;

// The style of the platform with its wake-up delay of hints replaced.
class HintStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return showAfter;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

// Shows a widget's hint for the set time instead of one that grows with
// the text.
class HintDuration : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    if (w->toolTip().isEmpty()) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), w->toolTip(), w, QRect(), stay);
    return true;
  }
};

}  // namespace

void setHintTimes(int showAfterMs, int stayMs) {
  showAfter = showAfterMs;
  stay = stayMs;
  if (!qApp) return;
  if (!dynamic_cast<HintStyle*>(QApplication::style()))
    QApplication::setStyle(new HintStyle(QStyleFactory::create(QApplication::style()->name())));
  static QPointer<HintDuration> duration;
  if (!duration) {
    duration = new HintDuration(qApp);
    qApp->installEventFilter(duration);
  }
}

}  // namespace vektrano::platform
