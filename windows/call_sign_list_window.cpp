#include "windows/call_sign_list_window.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "windows/text_question.h"

namespace vektrano {

using platform::toQString;

QPointer<TForm3> Form3;

TForm3::TForm3(std::string path, std::string programFolder, Hooks hooks, QWidget* parent)
    : ListWindow(3, 3, WindowPlacement{10, 10, 280, 450, false}, parent),
      programFolder_(std::move(programFolder)),
      hooks_(std::move(hooks)) {
  setListPath(std::move(path));
  setCaptionPrefix("Správa seznamu volaček : [");
  setProgressWord(" Volaček");
  table().setKeys(callSignKeys(hooks_.synonyms));
  setFieldRule([](std::string_view line, Grid::Row& row) { callSignLineFields(line, row, true); });
  setDeleteRule({0, 1}, kDeleteMark6, 0);
  setDuplicateRule(2, [this](const Grid::Row& a, const Grid::Row& b) {
    const auto table = hooks_.synonyms ? hooks_.synonyms() : nullptr;
    return callSignDuplicates(a, b, table.get());
  });
  setCloseQuestion("Uložit seznam volaček ?");
  view()->setObjectName("StringGrid1");
  view()->setToolTip(
      toQString("Databáze volaček - lokátor,volačka (OKRES), datum posledního spojení"));
  addButton()->setObjectName("BitBtn1");
  deleteButton()->setObjectName("BitBtn2");
  saveButton()->setObjectName("BitBtn3");
  duplicatesButton()->setObjectName("BitBtn4");
  dateDelete_ = new QPushButton(toQString("&DateDel"), this);
  dateDelete_->setObjectName("BitBtn5");
  buttonLayout()->insertWidget(4, dateDelete_);
  connect(dateDelete_, &QPushButton::clicked, this, [this] { BitBtn5Click(); });

  QLineEdit* byLocator = addSearch({"Vyhledávání podle Lokátoru", 0, 0, ListTable::Match::Contains,
                                    [this](const std::string& s) { return prevod(s, keyboard()); },
                                    SearchShow::Select});
  byLocator->setObjectName("Edit1");
  QLineEdit* byCall = addSearch({"Vyhledávání podle Volačky", 1, 1, ListTable::Match::BeginsWith,
                                 [](const std::string& s) {
                                   return s.empty() || s.back() == ' ' ? s : upravvolacku(s);
                                 },
                                 SearchShow::ScrollToTopBeforeLast});
  byCall->setObjectName("Edit2");

  platform::showMessage("Upravovaná databáze volaček je : " + platform::pathText(listPath()));
  loadList();
}

bool TForm3::SaveVolackyData() {
  const CallSignSave s = vektrano::SaveVolackyData(table(), listPath(), keyboard());
  saveLocked_ = true;
  saveButton()->setEnabled(false);
  return s.written;
}

void TForm3::afterSave(bool) {
  if (hooks_.reindex) hooks_.reindex();
}

void TForm3::sortFinished() {
  if (!saveLocked_) return;
  saveLocked_ = false;
  saveButton()->setEnabled(true);
}

void TForm3::prefillNewRow(int row) { table().grid().setCell(row, 2, kNezjisteno); }

void TForm3::BitBtn5Click() {
  if (sortRunning()) return;
  view()->commitEditing();
  const std::optional<std::string> answer =
      askText(this, "Smazání volaček k určitému datu",
              "Všechny volačky starší tohoto data včetně budou zrušeny : ", kDlouhoZpatky);
  if (!answer) return;
  smazVolackyDoData(table(), *answer, deletedCallSignsPath(programFolder_),
                    [this](int row) { scrollRowToTop(row); });
  selectCell(std::min(selectedRow(), table().rowCount() - 1), 0);
  renewCaption();
}

void TForm3::mapLocatorChosen(const std::string& locator) {
  // A row deleted, sorted away or edited while the map was open gets nothing.
  const int row = radekProPredani(table().grid(), mapRow_);
  if (row >= 0) table().grid().setCell(row, 0, locator);
  view()->setFocus();
}

void TForm3::cellDoubleClicked(int row, int col) {
  Grid& g = table().grid();
  if (col == 0) {
    mapRow_ = zapamatujRadek(g, row);
    if (hooks_.openMap) hooks_.openMap(g.cell(row, 0), 6);
  } else if (col == 2) {
    g.setCell(row, 2,
              g.cell(row, 2) != kDlouhoZpatky
                  ? kDlouhoZpatky
                  : (hooks_.chosenDate ? hooks_.chosenDate() : kDlouhoZpatky));
  }
}

void TForm3::gridKeyReleased(int) {
  const QModelIndex i = view()->currentIndex();
  if (!i.isValid() || i.column() != 0) return;
  const std::string& cell = table().grid().cell(i.row(), 0);
  if (cell.size() == 6) table().grid().setCell(i.row(), 0, prevod(cell, keyboard()));
}

void TForm3::resizeEvent(QResizeEvent* e) {
  ListWindow::resizeEvent(e);
  view()->setColumnWidth(0, 60);
  view()->setColumnWidth(1, std::max(width() - 170, 20));
  view()->setColumnWidth(2, 70);
}

TForm3* openForm3(const std::string& path, const std::string& programFolder, TForm3::Hooks hooks,
                  QWidget* parent) {
  return openToolWindow(Form3, path, programFolder, std::move(hooks), parent);
}

}  // namespace vektrano
