#include "preview/gui/components.h"

#include <QMetaObject>
#include <QPalette>

#include "preview/gui/painter_canvas.h"
#include "preview/units.h"

namespace vektrano::preview {
namespace {

void paintBackground(QWidget& w, TColor c) {
  QPalette pal = w.palette();
  pal.setColor(QPalette::Window, toQColor(c));
  w.setPalette(pal);
  w.setAutoFillBackground(true);
}

void setFrame(QFrame& f, TBorderStyle b) {
  f.setFrameStyle(b == bsSingle ? (QFrame::StyledPanel | QFrame::Sunken) : QFrame::NoFrame);
}

}  // namespace

std::string PvClassName(const QObject& object) {
  std::string name = object.metaObject()->className();
  const size_t colon = name.rfind(':');
  return colon == std::string::npos ? name : name.substr(colon + 1);
}

TPvScrollingWinControl::TPvScrollingWinControl(QWidget* parent) : TPvCustomPageControl(parent) {
  SetColor(color_);
  SetBorderStyle(border_);
  SetAutoScroll(autoScroll_);
}

std::string TPvScrollingWinControl::About() const { return PvAboutText(PvClassName(*this)); }

void TPvScrollingWinControl::SetColor(TColor c) {
  color_ = c;
  paintBackground(*this, c);
}

void TPvScrollingWinControl::SetBorderStyle(TBorderStyle b) {
  border_ = b;
  setFrame(*this, b);
}

void TPvScrollingWinControl::SetAutoScroll(bool on) {
  autoScroll_ = on;
  const auto policy = on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  setHorizontalScrollBarPolicy(policy);
  setVerticalScrollBarPolicy(policy);
}

TPvWinControl::TPvWinControl(QWidget* parent) : TPvCustomWinControl(parent) {
  SetColor(color_);
  SetBorderStyle(border_);
}

std::string TPvWinControl::About() const { return PvAboutText(PvClassName(*this)); }

void TPvWinControl::SetColor(TColor c) {
  color_ = c;
  paintBackground(*this, c);
}

void TPvWinControl::SetBorderStyle(TBorderStyle b) {
  border_ = b;
  setFrame(*this, b);
}

TPvComboBox::TPvComboBox(QWidget* parent) : TPvCustomComboBox(parent) { setMaxVisibleItems(8); }

std::string TPvComboBox::About() const { return PvAboutText(PvClassName(*this)); }

}  // namespace vektrano::preview
