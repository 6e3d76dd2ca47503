#pragma once
// What a change paints again: the paint events of the widgets a test
// watches, and the scroll bars the style draws.
#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QProxyStyle>
#include <QRegion>
#include <QStyle>
#include <QWidget>
#include <map>

namespace vektrano::test {

// The paints of the widgets it watches, each widget's count and region.
struct PaintCounter : QObject {
  std::map<QObject*, int> n;
  std::map<QObject*, QRegion> where;
  int total = 0;

  void watch(QWidget* w) { w->installEventFilter(this); }
  void clear() {
    n.clear();
    where.clear();
    total = 0;
  }
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      ++n[o];
      ++total;
      where[o] += static_cast<QPaintEvent*>(e)->region();
    }
    return false;
  }
};

// The application's style, counting the scroll bars it draws.
struct ScrollBarCountingStyle : QProxyStyle {
  ScrollBarCountingStyle() : QProxyStyle(QApplication::style()->name()) {}
  mutable int bars = 0;
  void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* o, QPainter* p,
                          const QWidget* w) const override {
    bars += cc == CC_ScrollBar;
    QProxyStyle::drawComplexControl(cc, o, p, w);
  }
};

}  // namespace vektrano::test
