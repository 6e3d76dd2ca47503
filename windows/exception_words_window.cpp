#include "windows/exception_words_window.h"

#include <QHeaderView>
#include <QPushButton>
#include <QResizeEvent>

#include "core/reference/exception_words.h"
#include "platform/cp1250.h"

namespace vektrano {

using platform::fromQString;
using platform::toQString;

QPointer<TForm12> Form12;

namespace {
constexpr const char* kTitle = "Seznam slov, které se nepřevádějí na lokátor";
}

TForm12::TForm12(std::string dupPath, std::function<KeyboardOptions()> keyboard, Saved saved,
                 QWidget* parent)
    : ListWindow(12, 1, WindowPlacement{10, 10, 280, 450, false}, parent,
                 Qt::WindowStaysOnTopHint),
      keyboard_(std::move(keyboard)),
      saved_(std::move(saved)) {
  setWindowTitle(toQString(kTitle));
  // No narrower than 280 and no lower than 450 pixels.
  setMinimumSize(280, 450);
  setListPath(std::move(dupPath));
  setProgressWord(" Slov");
  setCloseQuestion("Uložit seznam Slov ?");
  setStatusText(std::string("  ") + kTitle);

  QFont bold = view()->font();
  bold.setBold(true);
  view()->setFont(bold);
  view()->verticalHeader()->setDefaultSectionSize(19);

  addButton()->setToolTip(
      toQString("Přidá jeden prázdný řádek, kam je pak možno doplnit další volačku"));
  deleteButton()->setToolTip(toQString("Provede okamžité vymazání aktuální Volačky z databáze"));
  saveButton()->setToolTip(toQString(
      "Veškeré změny a úpravy jsou ZAPOMENUTY, pokud neprovedeš ULOŽENÍ provedených změn"));
  duplicatesButton()->hide();
  for (QPushButton* b : {addButton(), deleteButton(), saveButton()}) b->installEventFilter(this);

  // This list deletes by moving its last word into the row, not by marking.
  disconnect(deleteButton(), &QPushButton::clicked, this, nullptr);
  connect(deleteButton(), &QPushButton::clicked, this, [this] { BitBtn2Click(); });

  loadList();
}

void TForm12::restoreTitle() { setWindowTitle(toQString(kTitle)); }

void TForm12::BitBtn2Click() {
  if (sortRunning()) return;
  view()->commitEditing();
  const int col = 0;
  const int row = smazSlovo(table(), selectedRow());
  restoreTitle();
  selectCell(row, col);
}

bool TForm12::SaveSlovaData() {
  saveButton()->setEnabled(false);
  const UlozenaSlova r =
      vektrano::SaveSlovaData(table(), listPath(), keyboard_ ? keyboard_() : KeyboardOptions{});
  restoreTitle();
  saveButton()->setEnabled(true);
  if (r.zapsano && saved_) saved_(r.slova);
  return r.zapsano;
}

bool TForm12::eventFilter(QObject* watched, QEvent* event) {
  if (auto* b = qobject_cast<QPushButton*>(watched)) {
    if (event->type() == QEvent::Enter) setStatusText(fromQString(b->toolTip()));
    if (event->type() == QEvent::Leave) setStatusText(std::string("  ") + kTitle);
  }
  return ListWindow::eventFilter(watched, event);
}

void TForm12::resizeEvent(QResizeEvent* event) {
  ListWindow::resizeEvent(event);
  view()->setColumnWidth(0, std::max(view()->width() - 20, 20));
}

TForm12* openForm12(const std::string& dupPath, std::function<KeyboardOptions()> keyboard,
                    TForm12::Saved saved, QWidget* parent) {
  return openToolWindow(Form12, dupPath, std::move(keyboard), std::move(saved), parent);
}

}  // namespace vektrano
