#pragma once
// The scroll bars of the look-up lists and the log grid. A broad search
// changes a long list's range with every batch of lines while its slider
// keeps its smallest length at the top, each search starts the list again
// from the same look, and each contact stored moves the grid's long range
// and value by one with its slider at the bottom: the bar paints again only
// when it would look different, and paints a look it has drawn lately from
// the picture it kept of it (the style draws the groove of a tall bar as a
// gradient, which the raster engine spreads over its threads and waits for).
#include <QImage>
#include <QRect>
#include <QScrollBar>
#include <QStyle>
#include <array>

class QAbstractItemView;
class QStyleOptionSlider;

namespace vektrano {

class SteadyScrollBar : public QScrollBar {
 public:
  SteadyScrollBar(Qt::Orientation o, QWidget* parent) : QScrollBar(o, parent) {}
  // Gives the view bars of this kind, tied to it as its own were.
  static void install(QAbstractItemView& view);

 protected:
  void sliderChange(SliderChange change) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // What a range or a step changes on the screen: the slider's place and
  // length, and whether the value stands at an end.
  struct Look {
    QRect slider;
    bool atMinimum = false, atMaximum = false, empty = false;
    bool operator==(const Look&) const = default;
  };
  Look look() const;
  Look look(const QStyleOptionSlider& o) const;
  // Everything else the style draws from while no mouse is on the bar.
  struct Picture {
    Look look;
    QSize size;
    QStyle::State state;
    qint64 palette = 0;
    const QStyle* style = nullptr;
    qreal ratio = 0;
    bool operator==(const Picture&) const = default;
  };

  Look paintedLook_;
  bool painted_ = false;
  // The last looks drawn, the latest first: a list that another list
  // shortens while a search shows it takes turns between two sizes.
  struct Kept {
    Picture picture;
    QImage image;
  };
  std::array<Kept, 4> kept_;
};

}  // namespace vektrano
