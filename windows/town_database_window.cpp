#include "windows/town_database_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "core/reference/town_database.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "windows/map_pictures.h"

namespace vektrano {

using platform::toQString;

QPointer<TForm2> Form2;

TForm2::TForm2(std::string path, std::function<KeyboardOptions()> keyboard,
               std::function<void()> reindex, MapOpener openMap, QWidget* parent)
    : ListWindow(2, 2, WindowPlacement{10, 10, 280, 450, false}, parent),
      keyboard_(std::move(keyboard)),
      reindex_(std::move(reindex)),
      openMap_(std::move(openMap)) {
  setWindowTitle(toQString("Deník ZR-4 Správce lokátorů"));
  setListPath(std::move(path));
  setCaptionPrefix("Správa seznamu lokátorů : [");
  setProgressWord(" Lokátorů");
  setFieldRule(townLineFields);
  setDeleteRule({0, 1}, kDeleteMark6, 1);
  setDuplicateRule(1, [](const Grid::Row& a, const Grid::Row& b) { return a[1] == b[1]; });
  setCloseQuestion("Uložit seznam Lokátorů a měst  ?");
  setMinimumSize(330, 450);
  // Sky blue, as the picture windows are.
  setAutoFillBackground(true);
  QPalette sky = palette();
  sky.setColor(QPalette::Window, kNebeskaModra);
  setPalette(sky);
  view()->setObjectName("StringGrid1");
  view()->setToolTip(toQString("Databáze Měst a jejich Lokátorů"));
  view()->verticalHeader()->setDefaultSectionSize(18);
  addButton()->setObjectName("BitBtn1");
  deleteButton()->setObjectName("BitBtn2");
  duplicatesButton()->setObjectName("BitBtn4");
  saveButton()->setObjectName("BitBtn3");
  saveButton()->setToolTip(toQString(
      "Veškeré změny a úpravy jsou ZAPOMENUTY, pokud neprovedeš ULOŽENÍ provedených změn"));
  // Save last, as on the window.
  buttonLayout()->removeWidget(saveButton());
  buttonLayout()->insertWidget(3, saveButton());

  QLineEdit* byLocator = addSearch(
      {"Vyhledávání podle Lokátoru", 0, 0, ListTable::Match::Contains,
       [this](const std::string& s) { return prevod(s, keyboard_ ? keyboard_() : KeyboardOptions{}); },
       SearchShow::Select});
  byLocator->setObjectName("Edit1");
  byLocator->setMaximumWidth(72);
  // A blank typed last is kept, so that the next word can be typed as it is.
  QLineEdit* byName = addSearch({"Vyhledávání podle názvu", 1, 1, ListTable::Match::BeginsWith,
                                 [](const std::string& s) {
                                   return s.empty() || s.back() == ' ' ? s : upravvolacku(s);
                                 },
                                 SearchShow::ScrollToTopBeforeLast});
  byName->setObjectName("Edit2");
  placeSearchesBelowGrid();

  platform::showMessage("Upravovaná databáze lokátorů je : " + platform::pathText(listPath()));
  loadList();
}

bool TForm2::savedata() {
  const TownSave s = vektrano::savedata(table(), listPath(), keyboard_ ? keyboard_() : KeyboardOptions{});
  // Enabled again by the next sort.
  saveLocked_ = true;
  saveButton()->setEnabled(false);
  return s.written;
}

void TForm2::afterSave(bool ok) {
  if (reindex_) reindex_();
  if (ok) platform::showMessage(previousVersionMessage(listPath()));
}

void TForm2::sortFinished() {
  if (!saveLocked_) return;
  saveLocked_ = false;
  saveButton()->setEnabled(true);
}

void TForm2::showMap(int row) {
  row = std::clamp(row, 0, table().rowCount() - 1);
  mapRow_ = zapamatujRadek(table().grid(), row);
  if (openMap_) openMap_(table().grid().cell(row, 0), 2);
}

void TForm2::mapLocatorChosen(const std::string& locator) {
  // A row deleted, sorted away or edited while the map was open gets nothing.
  const int row = radekProPredani(table().grid(), mapRow_);
  if (row >= 0) table().grid().setCell(row, 0, locator);
  view()->setFocus();
}

void TForm2::cellDoubleClicked(int row, int) { showMap(row); }

void TForm2::gridKeyReleased(int key) {
  // Every release converts a locator typed into column 0, Enter's too, so
  // the map opens on the converted locator.
  const QModelIndex i = view()->currentIndex();
  if (i.isValid() && i.column() == 0) {
    const std::string& cell = table().grid().cell(i.row(), 0);
    if (cell.size() == 6)
      table().grid().setCell(i.row(), 0, prevod(cell, keyboard_ ? keyboard_() : KeyboardOptions{}));
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) showMap(selectedRow());
}

void TForm2::resizeEvent(QResizeEvent* e) {
  ListWindow::resizeEvent(e);
  view()->setColumnWidth(0, 60);
  view()->setColumnWidth(1, std::max(width() - 100, 20));
}

TForm2* openForm2(const std::string& path, std::function<KeyboardOptions()> keyboard,
                  std::function<void()> reindex, MapOpener openMap, QWidget* parent) {
  return openToolWindow(Form2, path, std::move(keyboard), std::move(reindex), std::move(openMap),
                        parent);
}

}  // namespace vektrano
