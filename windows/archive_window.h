#pragma once
// The contact archive window `TForm14`: archives in a combo box, the
// catalogue of the chosen one, filing a finished log in five steps, the
// filed log shown as a grid, and the search of the archive's logs for a
// call sign and/or a locator. All file work is transfer/archive.h; the
// window only shows it. The input boxes and the open dialog end in the
// public methods below, which the tests call directly.
#include <QPointer>
#include <functional>
#include <optional>
#include <string>

#include "core/base/grid.h"
#include "core/base/text.h"
#include "transfer/archive.h"
#include "windows/base/tool_window.h"

class QCalendarWidget;
class QComboBox;
class QLabel;
class QTimer;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableView;

namespace vektrano {

class GridTableModel;

// The contact archive: finished logs filed in numbered archives and searched.
class TForm14 : public ToolWindow {
  Q_OBJECT
 public:
  // archiveRoot: the archive storage folder; dataFolder: where the open
  // dialog starts.
  TForm14(std::string archiveRoot, std::string dataFolder, KeyboardOptions keyboard,
          QWidget* parent = nullptr);
  ~TForm14() override;

  ArchivStore& store() { return store_; }
  const Grid& gridPortejblu() const { return portejbly_; }
  const Grid& stringGrid1() const { return denik_; }
  QComboBox* comboArchivy() const { return ComboArchivy; }
  QComboBox* comboVysledku() const { return ComboVysledku; }
  QPushButton* butHledej() const { return ButHledej; }
  QLineEdit* findLok() const { return FindLok; }
  QLineEdit* findVol() const { return FindVol; }
  QLineEdit* edit1() const { return Edit1; }
  QCalendarWidget* calendar() const { return MonthCalendar1; }
  QTableView* viewDeniku() const { return StringGrid1; }
  QString statusText() const;
  QString archivLabel() const;
  QString krokLabel() const;
  int vybranyDenik() const;  // catalogue row, -1 without one
  int aktualniSpojeni() const;  // grid row of the shown log, -1 without one
  const Zarazovani& zarazovani() const { return zarazovani_; }
  bool filing() const { return filing_; }

  void ProvedComboArchivyChange(int index);
  void pridejArchiv(const std::string& jmeno);
  void opravArchiv(const std::string& jmeno);
  // After the question "Nevratná operace - Opravdu smazat ?".
  void smazArchiv();
  // The log the open dialog gave; starts the five steps.
  void zacniZarazeni(const std::string& logPath);
  void BitBtn2Click();
  void BitBtn1Click();
  void vyberDenik(int row);  // selects and shows a catalogue row
  void BitBtn4Click();
  void opravDenik(const std::optional<std::string>& nazev, const std::optional<std::string>& popis);
  void ButHledejClick();
  void ComboVysledkuClick(int item);
  // `nactiarchivdenik` into StringGrid1 and the status bar. The shown log's
  // catalogue entry, when it is one of the chosen archive, heads the
  // contact summaries.
  void ukazDenik(const std::string& path);
  bool searching() const { return searching_; }
  // The summary of a contact row of the shown log (also the grid's hint):
  // "Tvoje" from the catalogue entry of the log the contact belongs to.
  std::string souhrn(int gridRow) const;
  // The message of a double click; OK writes it beside the program as
  // ".txt" and opens that file.
  void ukazPomucku(const std::string& text);

  // How the written summary is opened (the desktop's default by default).
  static void setShellOpen(std::function<void(const std::string&)> open);

 protected:
  bool queryClose() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The columns of both grids as wide as their titles and texts need; the
  // title ("Název") and the call sign take what is left.
  void SirkySloupcu();
  void NakrmComboBox();
  void NakrmGridPortejblu(int select);
  void VypisStav();
  void setRezimZarazeni(bool on);
  void ukazKrok();
  void ButAddDenikClick();
  void ButPridatClick();
  void ButOpravitClick();
  void ButtSmazatClick();
  void BitBtn5Click();
  void updateHledej();
  void ukazDenik(const std::string& path, std::optional<ZarazenyDenik> zaznam);
  // Everything that would change the archive or its catalogue waits while a
  // search runs.
  void setSearching(bool on);
  // The hits hold catalogue rows: they go whenever that catalogue changes.
  void zrusNalezy();
  void selectContact(int gridRow, bool toTop);
  void setStatus(const std::string& text);

  ArchivStore store_;
  std::string dataFolder_;
  KeyboardOptions keyboard_;
  Zarazovani zarazovani_;
  bool filing_ = false;
  bool searching_ = false;
  bool stopSearch_ = false;
  std::vector<Nalez> nalezy_;
  std::string nalezySlozka_;  // the archive whose catalogue the hits index
  std::string shownPath_;
  std::optional<ZarazenyDenik> shownZaznam_;  // catalogue entry of the shown log

  Grid portejbly_{4, 1};
  Grid denik_{8, 1};
  GridTableModel* portejblyModel_ = nullptr;
  GridTableModel* denikModel_ = nullptr;
  QTimer* sirky_ = nullptr;  // lays the columns out once a run of changes is over

  QComboBox* ComboArchivy = nullptr;
  QLabel* LabelArchiv = nullptr;
  QPushButton* ButPridat = nullptr;
  QPushButton* ButOpravit = nullptr;
  QPushButton* ButtSmazat = nullptr;
  QTableView* GridPortejblu = nullptr;
  QPushButton* ButAddDenik = nullptr;
  QPushButton* BitBtn4 = nullptr;
  QPushButton* BitBtn5 = nullptr;
  QCalendarWidget* MonthCalendar1 = nullptr;
  QLabel* LabelZarazeniDeniku1 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* FindLok = nullptr;
  QLineEdit* FindVol = nullptr;
  QPushButton* ButHledej = nullptr;
  QTableView* StringGrid1 = nullptr;
  QComboBox* ComboVysledku = nullptr;
  QStatusBar* StatusBar1 = nullptr;
};

extern QPointer<TForm14> Form14;

// Creates the window on first use, then shows it in front.
TForm14* openArchiveWindow(const std::string& archiveRoot, const std::string& dataFolder,
                           const KeyboardOptions& keyboard, QWidget* parent = nullptr);

}  // namespace vektrano
