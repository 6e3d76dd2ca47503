#pragma once
// The list window every reference-list editor builds on (call signs, towns,
// name days, familiar names, exception words, the import window): a grid
// over a ListTable with the buttons "&Přidat", "&Smazat vybraný", "&Uložit",
// "&Duplicity", up to two incremental search boxes, the sort with its
// progress caption, the closing question and the whole-file reading and
// writing. A derived window sets its columns, keys, rules and texts in its
// constructor and then calls loadList().
#include <QTableView>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/reference/list_data.h"
#include "windows/base/grid_table_model.h"
#include "windows/base/tool_window.h"

class QBoxLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace vektrano {

// The grid of a list window: row 0 is data, and what the window needs from
// the view beyond QTableView.
class ListView : public QTableView {
  Q_OBJECT
 public:
  explicit ListView(QWidget* parent = nullptr);
  // Hands a cell being edited to the model and closes its editor, so that a
  // sort or a save sees what was typed.
  void commitEditing();

 signals:
  void enterPressed();
  void keyReleased(int key);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  // keyReleased only for a key pressed in this window (keyPressedIn).
  void keyReleaseEvent(QKeyEvent* e) override;
};

class ListWindow : public ToolWindow {
  Q_OBJECT
 public:
  // How a search box brings the row it found into view.
  enum class SearchShow { Select, ScrollToTop, ScrollToTopBeforeLast };
  struct Search {
    std::string label;  // shown above the box
    int col = 0;        // the cell that is matched
    int key = 0;        // the sort the search needs
    ListTable::Match match = ListTable::Match::BeginsWith;
    // The box's text as the window wants it (e.g. digit-row letters read
    // back as digits); empty keeps the text.
    std::function<std::string(const std::string&)> convert;
    SearchShow show = SearchShow::Select;
  };

  ListWindow(int formNumber, int cols, const WindowPlacement& defaults, QWidget* parent = nullptr,
             Qt::WindowFlags flags = {});
  ~ListWindow() override;

  ListTable& table() { return table_; }
  ListView* view() { return view_; }
  GridTableModel* model() { return model_; }

  // The buttons, by their captions.
  QPushButton* addButton() { return addButton_; }
  QPushButton* deleteButton() { return deleteButton_; }
  QPushButton* saveButton() { return saveButton_; }
  QPushButton* duplicatesButton() { return dupButton_; }
  QLineEdit* searchBox(int i) const;

  // Selected row of the grid (0 when nothing is selected).
  int selectedRow() const;
  void selectCell(int row, int col = 0);
  void scrollRowToTop(int row);

  // The operations of the buttons.
  void addRow();
  void deleteSelected();
  bool saveList();
  void stepDuplicates();
  // Sorts on key, or does nothing while a sort runs.
  void sortOn(int key);
  bool sortRunning() const { return table_.sorting(); }

  // Reads listPath() into the grid; a file that cannot be read shows "Chyba
  // I/O při čtení souboru : " + path and leaves the grid as it was.
  bool loadList();
  void renewCaption();

 protected:
  // Set up by the derived window.
  void setListPath(std::string path) { listPath_ = std::move(path); }
  // "Správa seznamu volaček : [" gives "Správa seznamu volaček : [12]"; empty
  // keeps the title as set.
  void setCaptionPrefix(std::string prefix) { captionPrefix_ = std::move(prefix); }
  // " Volaček" gives "12 Volaček, třídím : [6]" while a sort runs.
  void setProgressWord(std::string word) { progressWord_ = std::move(word); }
  void setSortStatusTexts(std::string running, std::string done);
  void setFieldRule(ListTable::FieldRule rule) { fieldRule_ = std::move(rule); }
  void setRecordRule(ListTable::RecordRule rule) { recordRule_ = std::move(rule); }
  void setDeleteRule(std::vector<int> markCols, std::string mark, int mainKey);
  void setDuplicateRule(int key, ListTable::DuplicateTest test);
  // Empty: no question on closing.
  void setCloseQuestion(std::string question) { closeQuestion_ = std::move(question); }
  QLineEdit* addSearch(Search search);
  void setStatusText(const std::string& text);

  QVBoxLayout* mainLayout() { return mainLayout_; }
  // The search boxes below the grid, above the buttons (they stand above it
  // unless a window says so).
  void placeSearchesBelowGrid();
  QHBoxLayout* buttonLayout() { return buttonLayout_; }

  // The file this window reads and writes (a window that decides by an
  // option at that moment overrides it).
  virtual std::string listPath() const { return listPath_; }
  // Where the previous content is kept on saving; empty keeps none.
  virtual std::string listBackupPath() const { return {}; }
  // Writes the grid; a window with its own tidying overrides it and calls
  // writeList().
  virtual bool save() { return writeList(); }
  // After every save, also a failed one (the index check of the lists the
  // main window searches).
  virtual void afterSave(bool ok) { (void)ok; }
  virtual void prefillNewRow(int row) { (void)row; }
  virtual void cellDoubleClicked(int row, int col) { (void)row, (void)col; }
  virtual void gridKeyReleased(int key) { (void)key; }
  // After every sort, once the buttons have their state back.
  virtual void sortFinished() {}

  // Writes the grid by the record rule through the atomic writer; a failure
  // shows "Chyba I/O při ukládání souboru : " + path and keeps the old file
  // and the rows.
  bool writeList();

  bool queryClose() override;

 private:
  void sortPhase(bool running);
  void sortProgress(int gap);
  void searchChanged(int index);
  void updateSearchVisibility();
  void setButtonsEnabled(bool on);

  ListTable table_;
  GridTableModel* model_ = nullptr;
  ListView* view_ = nullptr;
  QVBoxLayout* mainLayout_ = nullptr;
  QHBoxLayout* buttonLayout_ = nullptr;
  QVBoxLayout* searchLayout_ = nullptr;
  QPushButton* addButton_ = nullptr;
  QPushButton* deleteButton_ = nullptr;
  QPushButton* saveButton_ = nullptr;
  QPushButton* dupButton_ = nullptr;
  QLabel* status_ = nullptr;
  struct SearchBox {
    Search rule;
    QLabel* label = nullptr;
    QLineEdit* edit = nullptr;
  };
  std::vector<SearchBox> searches_;

  std::string listPath_;
  std::string captionPrefix_;
  std::string progressWord_ = " Položek";
  std::string sortRunningText_, sortDoneText_;
  ListTable::FieldRule fieldRule_;
  ListTable::RecordRule recordRule_;
  std::vector<int> markCols_;
  std::string mark_ = kDeleteMark6;
  int mainKey_ = 0;
  int dupKey_ = 0;
  ListTable::DuplicateTest dupTest_;
  std::string closeQuestion_;
  bool searching_ = false;
  std::vector<bool> buttonsBeforeSort_;
  QPointer<QWidget> focusBeforeSort_;
  QAbstractItemView::EditTriggers triggersBeforeSort_;
};

}  // namespace vektrano
