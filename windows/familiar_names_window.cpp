#include "windows/familiar_names_window.h"

#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

#include "core/log/log_statistics.h"
#include "core/reference/name_days.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

using platform::toQString;

QPointer<TForm16> Form16;

namespace {
constexpr int kBlinks = 5;
constexpr int kBlinkMs = 100;
}  // namespace

TForm16::TForm16(const std::string& programFolder, std::function<void()> reindex,
                 SynonymsChanged synonymsChanged, QWidget* parent)
    : NameListWindow(16, "Správa seznamu Zdomácnělých jmen : [",
                     " Vlevo jména z Kalendáře, vpravo Zdomácnělá", parent),
      nameDaysPath_(nameDaysPath(programFolder)),
      reindex_(std::move(reindex)),
      synonymsChanged_(std::move(synonymsChanged)),
      wait_(Delay) {
  setListPath(familiarNamesPath(programFolder));
  setFieldRule(splitNameLine);
  setRecordRule(familiarNameRecord);
  setCloseQuestion("Uložit seznam Zdomácnělých jmen ?");

  checkButton_ =
      new QPushButton(toQString("Proveď &kontrolu, zda vlevo jsou pouze jména z kalendáře"), this);
  checkButton_->setObjectName("BitBtn4");
  mainLayout()->insertWidget(mainLayout()->indexOf(view()) + 1, checkButton_);
  connect(checkButton_, &QPushButton::clicked, this, [this] { checkClicked(); });

  loadList();
  table().sort(0);
}

void TForm16::blink(int rowA, int colA, int rowB, int colB) {
  for (int i = 0; i < kBlinks; ++i) {
    selectCell(rowA, colA);
    wait_(kBlinkMs);
    selectCell(rowB, colB);
    wait_(kBlinkMs);
  }
}

bool TForm16::KontrolaJmen() {
  if (checking_ || sortRunning()) return false;
  view()->commitEditing();
  table().ensureSorted(0);

  // No name-day list ships: a missing one is no read error, only a
  // calendar without names, against which the check cannot judge.
  std::string content;
  if (const auto read = platform::readWholeFile(nameDaysPath_)) content = *read;
  else if (platform::fileExists(nameDaysPath_) || platform::dirExists(nameDaysPath_))
    platform::showMessage("Chyba I/O při čtení souboru : " + platform::pathText(nameDaysPath_),
                          platform::MessageKind::Error);
  const std::vector<std::string> calendar = calendarNames(content);
  noNameDays_ = noNameDays(calendar);
  const auto errors = checkFamiliarNames(table().grid().rows(), calendar);
  if (errors.empty()) return true;

  // The blinking lets events in: nothing may change the rows or close the
  // window meanwhile.
  checking_ = true;
  QWidget* controls[] = {addButton(), deleteButton(), saveButton(), checkButton_};
  bool enabled[std::size(controls)];
  for (size_t i = 0; i < std::size(controls); ++i) {
    enabled[i] = controls[i]->isEnabled();
    controls[i]->setEnabled(false);
  }
  const auto triggers = view()->editTriggers();
  view()->setEditTriggers(QAbstractItemView::NoEditTriggers);

  for (const NameCheckError& e : errors) {
    switch (e.kind) {
      case NameCheckError::Kind::NotInCalendar:
        selectCell(e.row, 0);
        platform::showMessage(
            "Vysvícený řádek v levém sloupci neobsahuje jméno ze seznamu Svátků, ale jiná zde "
            "být nesmí !!!");
        blink(e.row, 1, e.row, 0);
        break;
      case NameCheckError::Kind::FamiliarInCalendar:
        selectCell(e.row, 1);
        platform::showMessage(
            "Vysvícený řádek v pravém sloupci obsahuje jméno ze seznamu Svátků, sem mají přijít "
            "jen jména Zdomácnělá !!!");
        blink(e.row, 0, e.row, 1);
        break;
      case NameCheckError::Kind::Repeated:
        selectCell(e.row, 1);
        platform::showMessage("Vysvícené řádky - Ve sloupci se toto jméno opakuje !!!");
        blink(e.other, 1, e.row, 1);
        break;
    }
  }

  view()->setEditTriggers(triggers);
  for (size_t i = 0; i < std::size(controls); ++i) controls[i]->setEnabled(enabled[i]);
  checking_ = false;
  return false;
}

void TForm16::checkClicked() {
  if (checking_ || sortRunning()) return;
  if (!KontrolaJmen())
    platform::showMessage(
        "Při kontrole byly nalezeny chyby !!! \r\nPo jejich odstranění proveď kontrolu kliknutím "
        "na nejdelší tlačítko ...");
  else if (noNameDays_)
    platform::showMessage(
        "Seznam svátků neobsahuje žádná jména, jména vlevo proto nelze porovnat s kalendářem.\r\n"
        "\r\nKontrola opakování zdomácnělých jmen proběhla úspěšně ... ");
  else
    platform::showMessage("Kontrola proběhla úspěšně ... ");
}

bool TForm16::SaveSynonymaData() {
  wrote_ = false;
  if (checking_) return false;
  table().ensureSorted(0);
  if (!KontrolaJmen()) {
    platform::showMessage("CHYBA !!! Proveď kontrolu kliknutím na nejdelší tlačítko ...");
    return false;
  }
  // The main window's table has no room for more; the file and the table
  // are kept alike, so nothing is saved.
  const auto synonyma = synonymTableOf(table().grid().rows());
  if (!synonyma) {
    platform::showMessage("Seznam Zdomácnělých jmen smí mít nejvýše " +
                              std::to_string(TabulkaSynonym::kMax) +
                              " řádků, nic nebylo uloženo.",
                          platform::MessageKind::Error);
    return false;
  }
  lockSaveUntilNextSort();
  wrote_ = true;
  // A file that could not be written leaves the table as the file still is.
  if (!writeList()) return false;
  if (synonymsChanged_) synonymsChanged_(*synonyma);
  return true;
}

void TForm16::afterSave(bool) {
  if (wrote_ && reindex_) reindex_();
  wrote_ = false;
}

bool TForm16::queryClose() {
  if (checking_) return false;
  return NameListWindow::queryClose();
}

TForm16* openForm16(const std::string& programFolder, std::function<void()> reindex,
                    TForm16::SynonymsChanged synonymsChanged, QWidget* parent) {
  return openToolWindow(Form16, programFolder, std::move(reindex), std::move(synonymsChanged),
                        parent);
}

}  // namespace vektrano
