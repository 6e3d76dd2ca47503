#include "windows/base/list_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

using platform::fromQString;
using platform::toQString;

ListView::ListView(QWidget* parent) : QTableView(parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
}

void ListView::commitEditing() {
  if (state() != QAbstractItemView::EditingState) return;
  if (QWidget* editor = indexWidget(currentIndex())) {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

void ListView::keyPressEvent(QKeyEvent* e) {
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  QTableView::keyPressEvent(e);
  if (enter && state() != QAbstractItemView::EditingState) emit enterPressed();
}

void ListView::keyReleaseEvent(QKeyEvent* e) {
  QTableView::keyReleaseEvent(e);
  if (!e->isAutoRepeat() && keyPressedIn(this, e->key())) emit keyReleased(e->key());
}

// The model is a child and would outlive the grid it listens to.
ListWindow::~ListWindow() { delete model_; }

ListWindow::ListWindow(int formNumber, int cols, const WindowPlacement& defaults, QWidget* parent,
                       Qt::WindowFlags flags)
    : ToolWindow(formNumber, PlacementValues::Full, defaults, parent, flags), table_(cols) {
  std::vector<ListTable::Key> keys;
  for (int c = 0; c < cols; ++c) keys.push_back(ListTable::cellKey(c));
  table_.setKeys(std::move(keys));
  markCols_ = {0};
  dupTest_ = [](const Grid::Row& a, const Grid::Row& b) { return !a.empty() && a == b; };
  table_.setProgress([this](int gap) { sortProgress(gap); });
  table_.setSortObserver([this](bool running) { sortPhase(running); });

  model_ = new GridTableModel(table_.grid(), false, this);
  model_->setEditable(true);
  view_ = new ListView(this);
  view_->setModel(model_);

  mainLayout_ = new QVBoxLayout(this);
  searchLayout_ = new QVBoxLayout;
  mainLayout_->addLayout(searchLayout_);
  mainLayout_->addWidget(view_, 1);
  buttonLayout_ = new QHBoxLayout;
  addButton_ = new QPushButton(toQString("&Přidat"), this);
  deleteButton_ = new QPushButton(toQString("&Smazat vybraný"), this);
  saveButton_ = new QPushButton(toQString("&Uložit"), this);
  dupButton_ = new QPushButton(toQString("&Duplicity"), this);
  for (QPushButton* b : {addButton_, deleteButton_, saveButton_, dupButton_})
    buttonLayout_->addWidget(b);
  buttonLayout_->addStretch(1);
  mainLayout_->addLayout(buttonLayout_);
  status_ = new QLabel(this);
  status_->setObjectName("StatusBar1");
  mainLayout_->addWidget(status_);

  connect(addButton_, &QPushButton::clicked, this, [this] { addRow(); });
  connect(deleteButton_, &QPushButton::clicked, this, [this] { deleteSelected(); });
  connect(saveButton_, &QPushButton::clicked, this, [this] { saveList(); });
  connect(dupButton_, &QPushButton::clicked, this, [this] { stepDuplicates(); });
  connect(view_, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& i) { cellDoubleClicked(i.row(), i.column()); });
  connect(view_, &ListView::keyReleased, this, [this](int key) { gridKeyReleased(key); });
}

QLineEdit* ListWindow::searchBox(int i) const {
  return i >= 0 && i < static_cast<int>(searches_.size()) ? searches_[i].edit : nullptr;
}

void ListWindow::setSortStatusTexts(std::string running, std::string done) {
  sortRunningText_ = std::move(running);
  sortDoneText_ = std::move(done);
}

void ListWindow::setDeleteRule(std::vector<int> markCols, std::string mark, int mainKey) {
  markCols_ = std::move(markCols);
  mark_ = std::move(mark);
  mainKey_ = mainKey;
}

void ListWindow::setDuplicateRule(int key, ListTable::DuplicateTest test) {
  dupKey_ = key;
  dupTest_ = std::move(test);
}

QLineEdit* ListWindow::addSearch(Search search) {
  SearchBox box;
  box.label = new QLabel(toQString(search.label), this);
  box.edit = new QLineEdit(this);
  box.rule = std::move(search);
  searchLayout_->addWidget(box.label);
  searchLayout_->addWidget(box.edit);
  const int index = static_cast<int>(searches_.size());
  connect(box.edit, &QLineEdit::textChanged, this, [this, index] { searchChanged(index); });
  searches_.push_back(std::move(box));
  return searches_.back().edit;
}

void ListWindow::placeSearchesBelowGrid() {
  mainLayout_->removeItem(searchLayout_);
  mainLayout_->insertLayout(mainLayout_->indexOf(view_) + 1, searchLayout_);
}

void ListWindow::setStatusText(const std::string& text) { status_->setText(toQString(text)); }

int ListWindow::selectedRow() const {
  const QModelIndex i = view_->currentIndex();
  return i.isValid() ? i.row() : 0;
}

void ListWindow::selectCell(int row, int col) {
  row = std::clamp(row, 0, table_.rowCount() - 1);
  col = std::clamp(col, 0, std::max(table_.grid().colCount() - 1, 0));
  const QModelIndex i = model_->index(row, col);
  view_->setCurrentIndex(i);
  view_->scrollTo(i);
}

void ListWindow::scrollRowToTop(int row) {
  const int col = std::max(view_->currentIndex().column(), 0);
  view_->scrollTo(model_->index(row, col), QAbstractItemView::PositionAtTop);
}

void ListWindow::renewCaption() {
  if (captionPrefix_.empty()) return;
  setWindowTitle(toQString(captionPrefix_ + std::to_string(table_.rowCount()) + "]"));
}

bool ListWindow::loadList() {
  const std::string path = listPath();
  const bool ok = table_.read(path, fieldRule_);
  if (!ok)
    platform::showMessage("Chyba I/O při čtení souboru : " + platform::pathText(path),
                          platform::MessageKind::Error);
  dupButton_->setText(toQString("&Duplicity"));
  renewCaption();
  return ok;
}

void ListWindow::addRow() {
  if (sortRunning()) return;
  view_->commitEditing();
  const int r = table_.addRow();
  prefillNewRow(r);
  selectCell(r, 0);
  renewCaption();
}

void ListWindow::deleteSelected() {
  if (sortRunning()) return;
  view_->commitEditing();
  const int col = std::max(view_->currentIndex().column(), 0);
  const int r = table_.deleteRow(selectedRow(), markCols_, mark_, mainKey_);
  selectCell(r, col);
  renewCaption();
}

bool ListWindow::saveList() {
  if (sortRunning()) return false;
  view_->commitEditing();
  const bool ok = save();
  afterSave(ok);
  return ok;
}

bool ListWindow::writeList() {
  const std::string path = listPath();
  const bool ok = table_.write(path, recordRule_, listBackupPath());
  if (!ok)
    platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(path),
                          platform::MessageKind::Error);
  return ok;
}

void ListWindow::stepDuplicates() {
  if (sortRunning()) return;
  view_->commitEditing();
  dupButton_->setEnabled(false);
  const auto step = table_.nextDuplicate(dupKey_, dupTest_);
  if (step.found) {
    selectCell(step.row, 0);
    scrollRowToTop(step.row);
  } else {
    platform::showMessage("Jsme na konci. Je možno začít opět od začátku ...");
  }
  dupButton_->setText(toQString(table_.duplicateCursor() == 0 ? "&Duplicity" : "Další ..."));
  dupButton_->setEnabled(true);
  renewCaption();
}

void ListWindow::sortOn(int key) {
  if (sortRunning()) return;
  view_->commitEditing();
  table_.sort(key);
}

void ListWindow::setButtonsEnabled(bool on) {
  QPushButton* buttons[] = {addButton_, deleteButton_, saveButton_, dupButton_};
  if (!on) {
    buttonsBeforeSort_.clear();
    for (QPushButton* b : buttons) {
      buttonsBeforeSort_.push_back(b->isEnabled());
      b->setEnabled(false);
    }
    return;
  }
  for (size_t i = 0; i < std::size(buttons); ++i)
    buttons[i]->setEnabled(i < buttonsBeforeSort_.size() ? bool(buttonsBeforeSort_[i]) : true);
}

void ListWindow::sortPhase(bool running) {
  if (running) {
    // Rows move under the view while events run between the passes: nothing
    // may be edited or pressed until the sort is done.
    view_->commitEditing();
    focusBeforeSort_ = QApplication::focusWidget();
    triggersBeforeSort_ = view_->editTriggers();
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    setButtonsEnabled(false);
    for (auto& s : searches_) {
      s.label->hide();
      s.edit->hide();
    }
    if (!sortRunningText_.empty()) setStatusText(sortRunningText_);
    return;
  }
  view_->setEditTriggers(triggersBeforeSort_);
  setButtonsEnabled(true);
  updateSearchVisibility();
  renewCaption();
  if (!sortDoneText_.empty()) setStatusText(sortDoneText_);
  if (focusBeforeSort_ && focusBeforeSort_->isVisible()) focusBeforeSort_->setFocus();
  sortFinished();
}

void ListWindow::sortProgress(int gap) {
  setWindowTitle(toQString(std::to_string(table_.rowCount()) + progressWord_ + ", třídím : [" +
                           std::to_string(gap) + "]"));
  QCoreApplication::processEvents();
}

void ListWindow::updateSearchVisibility() {
  for (size_t i = 0; i < searches_.size(); ++i) {
    bool otherHasText = false;
    for (size_t j = 0; j < searches_.size(); ++j)
      if (j != i && !searches_[j].edit->text().isEmpty()) otherHasText = true;
    searches_[i].label->setVisible(!otherHasText);
    searches_[i].edit->setVisible(!otherHasText);
  }
}

void ListWindow::searchChanged(int index) {
  if (searching_ || sortRunning()) return;
  searching_ = true;
  SearchBox& box = searches_[index];
  const std::string typed = fromQString(box.edit->text());
  const std::string text = box.rule.convert ? box.rule.convert(typed) : typed;
  if (text != typed) {
    const QSignalBlocker block(box.edit);
    box.edit->setText(toQString(text));
  }
  box.edit->setCursorPosition(box.edit->text().size());
  updateSearchVisibility();
  view_->commitEditing();
  const int row = table_.find(box.rule.key, box.rule.col, text, box.rule.match);
  switch (box.rule.show) {
    case SearchShow::Select:
      selectCell(row, box.rule.col);
      break;
    case SearchShow::ScrollToTop:
      scrollRowToTop(row);
      break;
    case SearchShow::ScrollToTopBeforeLast:
      if (row < table_.rowCount() - 1) scrollRowToTop(row);
      break;
  }
  box.edit->setFocus();
  searching_ = false;
}

bool ListWindow::queryClose() {
  if (sortRunning()) {
    setStatusText("               !!! Probíhá třídění, čekej prosím !!!");
    return false;
  }
  if (closeQuestion_.empty()) return true;
  view_->commitEditing();
  if (!platform::askYesNo(closeQuestion_, true)) return true;
  // A list that could not be saved stays open with its rows, so that nothing
  // typed is lost; it can be saved again or closed with No.
  return saveList();
}

}  // namespace vektrano
