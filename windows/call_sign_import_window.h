#pragma once
// The window that moves the stations of a finished log (or of another
// call-sign list) into the call-sign list: the stations still to decide, the
// call-sign list and the town database side by side; the nearest call sign
// and town are looked up for the picked station, and a key moves it across
// with its district.
#include <QPointer>
#include <functional>
#include <optional>
#include <string>

#include "core/base/text.h"
#include "core/pictures/locator_map.h"
#include "core/reference/call_sign_import.h"
#include "core/reference/indexes.h"
#include "windows/base/list_window.h"
#include "windows/base/tool_window.h"
#include "windows/town_database_window.h"

class QCalendarWidget;
class QLabel;
class QMenu;
class QPushButton;

namespace vektrano {

// Import of call signs from logs into the call-sign list.
class TForm6 : public ToolWindow {
  Q_OBJECT
 public:
  struct Hooks {
    std::function<KeyboardOptions()> keyboard;
    std::function<std::string()> chosenDate;  // the main window's chosen contact date
    std::function<void(const std::string&)> setChosenDate;
    // After every save, a failed one too: Vol after the call-sign list, Lok
    // after the town database.
    std::function<void(IndexKind)> reindex;
    MapOpener openMap;
    // The file to import; by default the open dialog in the program folder.
    std::function<std::optional<std::string>()> chooseFile;
  };
  // callSignList: the list chosen at opening (read and saved); the town
  // database is always the program's own.
  TForm6(std::string callSignList, std::string programFolder, Hooks hooks,
         QWidget* parent = nullptr);
  ~TForm6() override;

  CallSignImport& data() { return data_; }
  ListView* StringGrid1() const { return grids_[0]; }
  ListView* StringGrid2() const { return grids_[1]; }
  ListView* StringGrid3() const { return grids_[2]; }
  QPushButton* moveButton() const { return moveButton_; }
  QPushButton* saveTownsButton() const { return saveTowns_; }
  QLabel* statusLabel() const { return status_; }
  QMenu* popup(int grid) const { return menus_[grid]; }

  // "&Zvolit deník".
  void BitBtn3Click();
  bool nactidata(const std::string& file);
  // The picked import row: lookup of its town and nearest call sign.
  void dohledacka();
  void zS1doS2PridejVolacku(bool replace);
  void dropImportRow();
  void deleteListRow();
  bool SaveVolacky();
  bool Savelok();
  // The map window's hand-back: 3 the list, 4 the import rows, 5 the towns.
  void mapLocatorChosen(int callerCode, const std::string& locator);

 protected:
  bool queryClose() override;
  // A grid gets its size only once it is shown: its columns follow it.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ListView* makeGrid(int index, ListTable& table, const char* name, const char* title);
  // The columns of the three grids: the locators and dates as wide as they
  // need, the call signs and places take the rest.
  void SirkySloupcu();
  // What grid g needs for its columns in the list import, the widest mode.
  int potrebnaSirka(int g) const;
  void pick();
  // Enter in the list: back to the import grid, the lookup for its row.
  void zpetKImportu();
  void lejbly();
  // The caption of a sort pass: the rows of the grid being sorted and the gap.
  void sortProgress(int rows, int gap);
  void sortPhase(bool running, const char* runningText, const char* doneText);
  void addTownFrom(int grid);
  void correctTown();
  void deleteTown();
  void doubleClicked(int grid, const QModelIndex& index);
  int currentRow(int grid) const;  // 0 when none is current
  int selectedRow(int grid) const;  // -1 when none is current
  void clearRow(int grid);
  void selectRow(int grid, int row, int col = 0, bool toTop = false);
  KeyboardOptions keyboard() const { return hooks_.keyboard ? hooks_.keyboard() : KeyboardOptions{}; }
  std::string chosenDate() const { return hooks_.chosenDate ? hooks_.chosenDate() : std::string(); }

  CallSignImport data_;
  std::string programFolder_;
  Hooks hooks_;
  ListView* grids_[3] = {};
  GridTableModel* models_[3] = {};
  QMenu* menus_[3] = {};
  QLabel* titles_[3] = {};
  QLabel* status_ = nullptr;
  QLabel* help_ = nullptr;
  QLabel* labdat2_ = nullptr;
  QPushButton* chooseButton_ = nullptr;
  QPushButton* nastavit_ = nullptr;
  QPushButton* datbut_ = nullptr;
  QPushButton* moveButton_ = nullptr;
  QPushButton* saveTowns_ = nullptr;
  QCalendarWidget* calendar_ = nullptr;
  RadekPredani mapRow_[3];  // per grid, the row the map window hands its locator to
  bool picked_ = false;
  int sorts_ = 0;
  QString captionBeforeSort_;
};

extern QPointer<TForm6> Form6;

// Creates the window on first use, then shows it in front.
TForm6* openForm6(const std::string& callSignList, const std::string& programFolder,
                  TForm6::Hooks hooks, QWidget* parent = nullptr);

}  // namespace vektrano
