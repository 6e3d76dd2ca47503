#pragma once
// Palomir's one window: the description list, the contact grid, the
// duplicate list and the statistics line of one log, shown read-only.
#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/base/grid.h"
#include "viewer/activation.h"
#include "viewer/duplicates.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QTableView;

namespace vektrano {
class GridTableModel;
}

namespace vektrano::palomir {

// Palomir's window: one log with its description, statistics and duplicates.
class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  // arguments: the command line without the program; the first one is the
  // log to show.
  explicit TForm1(const QStringList& arguments, QWidget* parent = nullptr);
  ~TForm1() override;

  // Shows the window as the settings left it (maximized or normal).
  void showAsStored();

  // False when the file could not be read: the log shown stays, and the
  // user is told why.
  bool nactidata(const std::string& file);
  void openfajlik();
  void DotazNaDuply();
  void HledejDuply();
  void ComboBox2Change(int index);
  void RunVektrano();
  void StatusBar1DblClick();
  void ZobrazitcestukprogramuVEKTRANO1Click();
  void FreezeON();
  void FreezeOFF();
  void FormActivate();

  // The open dialog and the status pad's input box; tests replace them.
  using FileChooser = std::function<std::optional<std::string>()>;
  using TextEditor = std::function<std::optional<std::string>(const std::string& text)>;
  void setFileChooser(FileChooser f) { chooseFile_ = std::move(f); }
  void setTextEditor(TextEditor f) { editText_ = std::move(f); }
  // Opens the written status pad; tests replace it.
  void setFileOpener(std::function<void(const std::string&)> f) { openFile_ = std::move(f); }

  const std::string& fileName() const { return fileName_; }
  // Where the open dialog starts: the folder of the last log read, at first
  // the viewer's own folder.
  std::string openFolder() const;
  const std::string& fileApp() const { return fileApp_; }
  int contacts() const { return contacts_; }
  const Grid& grid() const { return grid_; }
  const std::vector<DuplicateItem>& duplicateItems() const { return duplicates_; }
  std::string statusText() const;
  ActivationGate& gate() { return gate_; }

  QLabel* Lokportable = nullptr;
  QTableView* StringGrid1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QComboBox* ComboBox2 = nullptr;
  QLabel* StatusBar1 = nullptr;
  QAction* Otevt1 = nullptr;
  QAction* N3 = nullptr;
  QAction* OtevttytodatavprogramuVEKTRANO1 = nullptr;
  QAction* Zjistiduplicity1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* ZobrazitcestukprogramuVEKTRANO1 = nullptr;

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void FormCreate(const QStringList& arguments);
  void FormResize();
  void setCaption(const std::string& text);
  void setStatus(const std::string& text);
  void showDescriptionList();
  void openPendingList();
  void fillDuplicates(const DuplicateList& list);
  void message(const std::string& text);
  bool ask(const std::string& text);
  void pump();
  // Runs fn as one of the window's own dialogs (see ActivationGate).
  template <class F>
  auto asDialog(F fn) {
    gate_.dialogOpened();
    struct Close {
      ActivationGate& g;
      ~Close() { g.dialogClosed(); }
    } close{gate_};
    return fn();
  }

  Grid grid_;
  GridTableModel* model_ = nullptr;
  std::vector<DuplicateItem> duplicates_;
  ActivationGate gate_;

  std::string fileName_;
  std::string fileApp_;
  int contacts_ = 0;
  bool descriptionFound_ = false;
  bool associated_ = false;
  bool startMaximized_ = false;
  bool popupPending_ = false;
  bool escOnWindow_ = false;  // the Esc being held was pressed on the bare window
  bool searchedOnce_ = false;
  std::string shownFolder_;  // folder of the last log read; the open dialog starts there
  bool searching_ = false;
  bool closePending_ = false;
  int freezeDepth_ = 0;

  FileChooser chooseFile_;
  TextEditor editText_;
  std::function<void(const std::string&)> openFile_;
};

}  // namespace vektrano::palomir
