#pragma once
// The contact map window: the map of all contacts drawn on the base picture
// of the region, the legend added once on request, and the picture saved as
// BMP, as JPEG, or as JPEG with its HTML image-map page. Stays on top; F8 or
// Escape goes back to the entry line.
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "core/log/log.h"
#include "core/pictures/contact_map.h"
#include "windows/base/tool_window.h"
#include "windows/map_pictures.h"

class QLineEdit;
class QPushButton;
class QStatusBar;

namespace vektrano {

// What the window reads of the main window.
struct Form10Hooks {
  LogDocument* log = nullptr;                // the open log; outlives the window
  std::function<std::string()> dataFolder;  // UlozisteDat
  std::function<bool()> vychoziBod;         // "Výchozí bod expedice uvádět"
  QPointer<QLineEdit> vstup;                 // the entry line
};

// The contact map window.
class TForm10 : public ToolWindow {
  Q_OBJECT
 public:
  explicit TForm10(Form10Hooks hooks, QWidget* parent = nullptr);
  ~TForm10() override;

  // A generation: the base picture, the map's shapes on it, its page kept
  // for saving, the legend button offered again.
  void zobrazMapu(const MapaSpojeni& m);

  void BitBtn1Click();  // BMP
  void BitBtn2Click();  // JPEG
  void BitBtn3Click();  // legend
  void BitBtn4Click();  // JPEG and page

  const QImage& obrazek() const { return obrazek_; }
  const std::vector<std::string>& MapaHtml() const { return html_; }
  std::string status() const;
  void setStatus(const std::string& text);
  QPushButton* tlacitko(int n) const;  // BitBtn1 .. BitBtn4

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ulozit(FormatObrazku format, bool stranka);
  void doVstupu();
  void ukaz();

  Form10Hooks hooks_;
  QImage obrazek_;
  std::vector<std::string> html_;
  PictureView* mapa = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
  QPushButton* BitBtn3 = nullptr;
  QPushButton* BitBtn4 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
};

extern QPointer<TForm10> Form10;

// Creates the window when needed (with the base picture) and shows it.
TForm10* openForm10(Form10Hooks hooks, QWidget* parent = nullptr);

// `Mapaspojen1Click` ("Generuj mapu"): the log recalculated (recalculated
// is told whether that changed it, so the main window can save and
// repaint), refused with a message for fewer than 2 contacts or an invalid
// own locator, the outline read from outlinePath (".v4m" beside the
// program), then the window created when needed and the map drawn. typed
// is the contact being typed. The window, or nullptr when refused and none
// was open.
TForm10* Mapaspojen1Click(const VstupMapy& typed, const std::string& outlinePath, Form10Hooks hooks,
                          std::function<void(bool zmeneno)> recalculated = {},
                          QWidget* parent = nullptr);

// F8 of the main window: the window first, then the generation, then
// " Hotovo ..." in its status bar.
TForm10* mapaSpojeniKlavesou(const VstupMapy& typed, const std::string& outlinePath,
                             Form10Hooks hooks, std::function<void(bool zmeneno)> recalculated = {},
                             QWidget* parent = nullptr);

}  // namespace vektrano
