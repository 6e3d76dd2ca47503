#pragma once
// The town and locator database editor: locator and description, searched by
// either, checked for repeated descriptions and saved to the file it read.
#include <QPointer>
#include <functional>
#include <string>

#include "core/base/text.h"
#include "core/pictures/locator_map.h"
#include "windows/base/list_window.h"

namespace vektrano {

// Opens the locator map window for a locator with a caller code (2 the town
// window, 3 to 5 the import window's grids, 6 the call-sign window).
using MapOpener = std::function<void(const std::string& locator, int callerCode)>;

// Editor of the town and locator database (.zr4).
class TForm2 : public ListWindow {
  Q_OBJECT
 public:
  // path: the database chosen when the window opened; it is the one saved,
  // whatever the choice is later. reindex: the main window's refresh after
  // a save (also a failed one).
  TForm2(std::string path, std::function<KeyboardOptions()> keyboard, std::function<void()> reindex,
         MapOpener openMap, QWidget* parent = nullptr);

  QLineEdit* Edit1() const { return searchBox(0); }
  QLineEdit* Edit2() const { return searchBox(1); }

  bool savedata();
  // The map window's hand-back (caller code 2): the locator goes into the
  // row remembered when the map was opened, and the grid takes the focus.
  void mapLocatorChosen(const std::string& locator);

 protected:
  bool save() override { return savedata(); }
  void afterSave(bool ok) override;
  void cellDoubleClicked(int row, int col) override;
  void gridKeyReleased(int key) override;
  void sortFinished() override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void showMap(int row);

  std::function<KeyboardOptions()> keyboard_;
  std::function<void()> reindex_;
  MapOpener openMap_;
  RadekPredani mapRow_;  // the row the map window hands its locator to
  bool saveLocked_ = false;
};

extern QPointer<TForm2> Form2;

// Creates the window on first use, then shows it in front.
TForm2* openForm2(const std::string& path, std::function<KeyboardOptions()> keyboard,
                  std::function<void()> reindex, MapOpener openMap = {},
                  QWidget* parent = nullptr);

}  // namespace vektrano
