#include "windows/base/name_list_window.h"

#include <QCoreApplication>
#include <QPushButton>
#include <algorithm>

#include "platform/cp1250.h"

namespace vektrano {

using platform::toQString;

NameListWindow::NameListWindow(int formNumber, std::string captionHead, std::string captionTail,
                               QWidget* parent)
    // Both lists stay over the main window while they are edited.
    : ListWindow(formNumber, 2, WindowPlacement{10, 10, 280, 450, false}, parent,
                 Qt::WindowStaysOnTopHint),
      captionHead_(std::move(captionHead)),
      captionTail_(std::move(captionTail)) {
  setProgressWord(" Svátků");
  // The caption carries a tail after the count, so it is renewed here from
  // every change of the rows (a sort ends with one too) and not by the base.
  setCaptionPrefix({});
  listener_ = table().grid().addListener([this](const GridChange& c) {
    if (c.kind != GridChange::Kind::Cell) showCount();
  });
  table().setProgress([this](int gap) { sortPass(gap); });

  duplicatesButton()->hide();
  view()->setObjectName("StringGrid1");
  addButton()->setObjectName("BitBtn1");
  deleteButton()->setObjectName("BitBtn2");
  saveButton()->setObjectName("BitBtn3");
  view()->setToolTip(toQString("Databáze svátků - kalendář"));
  addButton()->setToolTip(toQString("Přidat jeden řádek do databáze Svátků"));
  deleteButton()->setToolTip(
      toQString("Provede vymazání svátku - výmaz provede ihned, bez možnosti  návratu"));
  saveButton()->setToolTip(toQString(
      "Veškeré změny a úpravy jsou ZAPOMENUTY, pokud neprovedeš ULOŽENÍ provedených změn"));
  setDeleteRule({0, 1}, kDeleteMark6, 0);
  // No narrower than 280 and no lower than 450 pixels.
  setMinimumSize(280, 450);
}

NameListWindow::~NameListWindow() { table().grid().removeListener(listener_); }

void NameListWindow::showCount() {
  if (sortRunning()) return;
  setWindowTitle(
      toQString(captionHead_ + std::to_string(table().rowCount()) + "]" + captionTail_));
}

void NameListWindow::sortPass(int gap) {
  setWindowTitle(toQString(std::to_string(table().rowCount()) + " Svátků, třídím : [" +
                           std::to_string(gap) + "]"));
  QCoreApplication::processEvents();
  if (gap != 1) return;
  // The last pass: the list window gives the buttons back their state of
  // before the sort once it has ended, so the save button is enabled after
  // that.
  unlockPending_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!unlockPending_ || sortRunning()) return;
        unlockPending_ = false;
        saveButton()->setEnabled(true);
      },
      Qt::QueuedConnection);
}

void NameListWindow::lockSaveUntilNextSort() {
  unlockPending_ = false;
  saveButton()->setEnabled(false);
}

void NameListWindow::resizeEvent(QResizeEvent* e) {
  ListWindow::resizeEvent(e);
  view()->setColumnWidth(0, 60);
  view()->setColumnWidth(1, std::max(width() - 100, 20));
}

}  // namespace vektrano
