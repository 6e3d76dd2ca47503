#pragma once
// The direction-finding window: the table of reference stations with their
// locators and bearings (the direction list file), the map with each
// bearing drawn to its border, the locator under the mouse, and a click
// that hands that locator to the main window's entry line.
#include <QPointer>
#include <QTableWidget>
#include <functional>
#include <string>

#include "core/pictures/direction_finding.h"
#include "windows/base/tool_window.h"

class QLabel;
class QPushButton;
class QStatusBar;

namespace vektrano {

class PictureView;

// The station table; it hands a cell being edited over before the table is read.
class SmeryTabulka : public QTableWidget {
  Q_OBJECT
 public:
  using QTableWidget::QTableWidget;
  void commitEditing();
};

struct Form20Hooks {
  std::string soubor;  // the direction list (".hb9" beside the program)
  std::string obrys;   // the outline (".v4m" beside the program)
  std::function<std::string()> dataFolder;  // UlozisteDat
  // A click on the map: the main window puts the locator into its entry
  // line, the caret at the end, all look-ups due again, and a Space typed.
  std::function<void(const std::string& locator)> predejDoVstupu;
};

// The direction-finding window.
class TForm20 : public ToolWindow {
  Q_OBJECT
 public:
  explicit TForm20(Form20Hooks hooks, QWidget* parent = nullptr);
  ~TForm20() override;

  void nakreslimapu();  // the outline
  void BitBtn1Click();  // "&Hledej !"
  void BitBtn2Click();  // BMP
  void BitBtn3Click();  // JPEG
  void mapaMouseMove(QPoint p);
  void mapaClick();

  // The table as the window holds it now (row 0 the titles).
  SeznamSmeru seznam() const;
  SmeryTabulka* tabulka() const { return StringGrid1; }
  const QImage& obrazek() const;
  QLabel* lokator() const { return Label1; }
  PictureView* mapa() const { return mapa_; }
  QPushButton* tlacitko(int n) const;  // BitBtn1 .. BitBtn3

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormCreate();
  void SirkySloupcu();
  void ulozit(bool jpeg);
  void vycisti();

  Form20Hooks hooks_;
  std::vector<std::string> dalsiRadky_;  // lines beyond the ninth, written back as read
  bool cteniSelhalo_ = false;            // an existing file could not be read: never rewrite it
  std::vector<Bod> obrys_;
  QImage obrazek_;
  SmeryTabulka* StringGrid1 = nullptr;
  PictureView* mapa_ = nullptr;
  QLabel* Label1 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
  QPushButton* BitBtn3 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
};

extern QPointer<TForm20> Form20;

TForm20* openForm20(Form20Hooks hooks, QWidget* parent = nullptr);

}  // namespace vektrano
