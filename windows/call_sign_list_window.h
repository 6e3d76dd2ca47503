#pragma once
// The call-sign list editor: locator, call sign with its district, date of
// the last contact; searched by locator and call sign, checked for repeated
// stations, thinned by date, saved tidied to the file it read.
#include <QPointer>
#include <functional>
#include <string>

#include "core/base/text.h"
#include "core/reference/call_sign_list.h"
#include "windows/base/list_window.h"
#include "windows/town_database_window.h"

class QPushButton;

namespace vektrano {

// Editor of the call-sign list (.pvk).
class TForm3 : public ListWindow {
  Q_OBJECT
 public:
  struct Hooks {
    std::function<KeyboardOptions()> keyboard;
    SynonymSource synonyms;                  // the main window's TabulkaSynonym
    std::function<std::string()> chosenDate;  // the chosen contact date
    std::function<void()> reindex;            // after every save, a failed one too
    MapOpener openMap;
  };
  // path: the list chosen when the window opened, the one saved;
  // programFolder: where the delete by date leaves its listing.
  TForm3(std::string path, std::string programFolder, Hooks hooks, QWidget* parent = nullptr);

  QLineEdit* Edit1() const { return searchBox(0); }
  QLineEdit* Edit2() const { return searchBox(1); }
  QPushButton* dateDeleteButton() const { return dateDelete_; }

  bool SaveVolackyData();
  // "&DateDel": asks for the date, lists and (after the question) removes
  // every station not worked since.
  void BitBtn5Click();
  // The map window's hand-back (caller code 6).
  void mapLocatorChosen(const std::string& locator);

 protected:
  bool save() override { return SaveVolackyData(); }
  void afterSave(bool ok) override;
  void prefillNewRow(int row) override;
  void cellDoubleClicked(int row, int col) override;
  void gridKeyReleased(int key) override;
  void sortFinished() override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  KeyboardOptions keyboard() const { return hooks_.keyboard ? hooks_.keyboard() : KeyboardOptions{}; }

  std::string programFolder_;
  Hooks hooks_;
  QPushButton* dateDelete_ = nullptr;
  RadekPredani mapRow_;  // the row the map window hands its locator to
  bool saveLocked_ = false;
};

extern QPointer<TForm3> Form3;

// Creates the window on first use, then shows it in front.
TForm3* openForm3(const std::string& path, const std::string& programFolder, TForm3::Hooks hooks,
                  QWidget* parent = nullptr);

}  // namespace vektrano
