#pragma once
// The locator map window: the map picture of one locator (or a drawn
// placeholder when there is none), the distance from the own locator, the
// four neighbours, the photographs stored for the locator, and the
// hand-back of the shown locator to where the window was opened from
// (caller codes in core/pictures/locator_map.h).
#include <QPointer>
#include <functional>
#include <optional>
#include <string>

#include "core/base/text.h"
#include "core/pictures/locator_map.h"
#include "windows/base/tool_window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStatusBar;

namespace vektrano {

class PictureView;

// What the window reads of the main window, at the moment it needs it.
struct Form13Hooks {
  std::function<std::string()> ownLocator;   // lokportable
  std::function<std::string()> mapFolder;    // UlozisteMap
  std::function<std::string()> photoFolder;  // UlozisteFoto
  std::function<KeyboardOptions()> keyboard;
  QPointer<QLineEdit> vstup;                   // the entry line
  std::function<std::string()> typedLocator;  // LokatorProtistanice
  // The main window's own key handling: off while the map window is open.
  std::function<void(bool on)> keyPreview;
};

// Where a caller code 2 to 6 hands the locator: the opener's window owns
// the target, and once that window is gone nothing is handed back. The
// target itself writes into the row it remembered (RadekPredani) or nowhere.
struct CilPredani {
  QPointer<QObject> vlastnik;
  std::function<void(const std::string& lokator)> prevezmi;
};

// The locator map window.
class TForm13 : public ToolWindow {
  Q_OBJECT
 public:
  explicit TForm13(Form13Hooks hooks, QWidget* parent = nullptr);
  ~TForm13() override;

  void ZobrazMapu(const std::string& locator, int caller);
  void ProvedVysledek(int caller);
  void DoplnPopis(const std::string& locator);
  void zjisti(const std::string& locator);

  // The caller code of the last showing (it outlives the window).
  static int kodVolajiciho();

  QLineEdit* edit() const { return Edit1; }
  QLabel* vzdalenost() const { return Label1; }
  QLabel* popisVzdalenosti() const { return Label2; }
  QListWidget* fotografie() const { return ListBox1; }
  PictureView* obrazek() const { return Image1; }
  QCheckBox* proporcionalne() const { return CheckBox1; }
  QCheckBox* centrovat() const { return CheckBox2; }
  QCheckBox* tucne() const { return CheckBox3; }
  QCheckBox* pisLokator() const { return BoxPopis; }
  QPushButton* pouzit() const { return Button5; }
  QPushButton* tlacitko(int n) const;  // Button1 .. Button7
  std::string status() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void Edit1Change();
  void ListBox1Click();
  void ukazSouseda(const std::string Sousede::*which);
  void znovu();  // shows the Edit1 text again with the stored caller code
  void doVstupu();  // focus to the main window's entry line, caret at the end
  std::string mapFolder() const;
  std::string photoFolder() const;

  Form13Hooks hooks_;
  bool zobrazuji_ = false;
  PictureView* Image1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QListWidget* ListBox1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QCheckBox* CheckBox3 = nullptr;
  QCheckBox* BoxPopis = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;
  QPushButton* Button5 = nullptr;
  QPushButton* Button6 = nullptr;
  QPushButton* Button7 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
};

extern QPointer<TForm13> Form13;

// `otevrimapu`: the main window's key preview off, the window created when
// needed and shown, the locator shown for the caller, Edit1 focused. cil is
// the target of the codes 2 to 6.
TForm13* otevrimapu(const std::string& locator, int caller, const Form13Hooks& hooks,
                    CilPredani cil = {}, QWidget* parent = nullptr);

// The picture shown for a locator without a map file.
QImage zastupnyObrazek(const std::string& locator, const std::string& path);

}  // namespace vektrano
