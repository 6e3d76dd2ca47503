#include "windows/name_days_window.h"

#include <QLineEdit>

#include "core/reference/name_days.h"
#include "platform/cp1250.h"

namespace vektrano {

using platform::toQString;

QPointer<TForm4> Form4;

TForm4::TForm4(const std::string& programFolder, KeyboardOptions keyboard,
               std::function<void()> reindex, QWidget* parent)
    : NameListWindow(4, "Správa seznamu svátků : [", {}, parent),
      keyboard_(keyboard),
      reindex_(std::move(reindex)) {
  setWindowTitle(toQString("Seznam Svátků"));
  setListPath(nameDaysPath(programFolder));
  setFieldRule(splitNameLine);
  setRecordRule(nameDayRecord);
  setCloseQuestion("Uložit seznam Svátků ?");

  QLineEdit* byDate = addSearch({"Vyhledávání podle datumu", 0, 0, ListTable::Match::Contains,
                                 [this](const std::string& s) { return prevod(s, keyboard_); },
                                 SearchShow::Select});
  byDate->setObjectName("Edit1");
  byDate->setToolTip(toQString("Vyhledávání podle datumu"));
  // A blank typed last is kept, so that the next word can be typed as it is.
  QLineEdit* byName =
      addSearch({"Vyhledávání podle jména", 1, 1, ListTable::Match::Contains,
                 [](const std::string& s) {
                   return !s.empty() && s.back() == ' ' ? s : upravvolacku(s);
                 },
                 SearchShow::ScrollToTop});
  byName->setObjectName("Edit2");
  byName->setToolTip(toQString("Vyhledávání podle jména"));

  loadList();
}

bool TForm4::SaveSvatkyData() {
  table().sort(1);
  lockSaveUntilNextSort();
  return writeList();
}

// Also after a failed write: the main window then checks its indexes
// against the file as it still is.
void TForm4::afterSave(bool) {
  if (reindex_) reindex_();
}

void TForm4::gridKeyReleased(int) {
  const QModelIndex i = view()->currentIndex();
  if (!i.isValid() || i.column() != 0) return;
  const std::string& cell = table().grid().cell(i.row(), 0);
  if (cell.size() == 6) table().grid().setCell(i.row(), 0, prevod(cell, keyboard_));
}

TForm4* openForm4(const std::string& programFolder, const KeyboardOptions& keyboard,
                  std::function<void()> reindex, QWidget* parent) {
  return openToolWindow(Form4, programFolder, keyboard, std::move(reindex), parent);
}

}  // namespace vektrano
