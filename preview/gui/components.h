#pragma once
// The widget bases of the library's components: the page control (a
// scrolling area), the plain control and the combo box. Each carries the
// About text of its most derived class and the published defaults of the
// Windows component (silver colour, single border, scrolling on, eight
// drop-down lines). Classes deriving from them declare Q_OBJECT, so that their
// own name is the one the About text shows.
#include <QComboBox>
#include <QFrame>
#include <QScrollArea>
#include <string>
#include <string_view>

#include "preview/graphics.h"

namespace vektrano::preview {

enum TBorderStyle : std::uint8_t { bsNone, bsSingle };

// The class name of a widget without its namespace ("TPvPreview").
std::string PvClassName(const QObject& object);

class TPvCustomPageControl : public QScrollArea {
  Q_OBJECT
 public:
  explicit TPvCustomPageControl(QWidget* parent = nullptr) : QScrollArea(parent) {}
};

class TPvScrollingWinControl : public TPvCustomPageControl {
  Q_OBJECT
 public:
  explicit TPvScrollingWinControl(QWidget* parent = nullptr);

  std::string About() const;
  void SetAbout(std::string_view) {}  // read-only in effect
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TBorderStyle BorderStyle() const { return border_; }
  void SetBorderStyle(TBorderStyle b);
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool on);
  // Qt paints every widget through a back buffer; the flag is kept for the
  // settings that carry it.
  bool DoubleBuffered = true;

 private:
  TColor color_ = clSilver;
  TBorderStyle border_ = bsSingle;
  bool autoScroll_ = true;
};

class TPvCustomWinControl : public QFrame {
  Q_OBJECT
 public:
  explicit TPvCustomWinControl(QWidget* parent = nullptr) : QFrame(parent) {}
};

class TPvWinControl : public TPvCustomWinControl {
  Q_OBJECT
 public:
  explicit TPvWinControl(QWidget* parent = nullptr);

  std::string About() const;
  void SetAbout(std::string_view) {}
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TBorderStyle BorderStyle() const { return border_; }
  void SetBorderStyle(TBorderStyle b);

 private:
  TColor color_ = clSilver;
  TBorderStyle border_ = bsSingle;
};

class TPvCustomComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit TPvCustomComboBox(QWidget* parent = nullptr) : QComboBox(parent) {}
};

class TPvComboBox : public TPvCustomComboBox {
  Q_OBJECT
 public:
  explicit TPvComboBox(QWidget* parent = nullptr);

  std::string About() const;
  void SetAbout(std::string_view) {}
  int DropDownCount() const { return maxVisibleItems(); }
  void SetDropDownCount(int n) { setMaxVisibleItems(n); }
};

}  // namespace vektrano::preview
