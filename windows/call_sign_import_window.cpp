#include "windows/call_sign_import_window.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "core/reference/call_sign_list.h"
#include "core/reference/indexes.h"
#include "platform/cp1250.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/registry.h"
#include "windows/text_question.h"

namespace vektrano {

using platform::fromQString;
using platform::toQString;

QPointer<TForm6> Form6;

namespace {

// The call-sign cell of the list is edited in its tidied form.
class TidiedCallSignDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    if (auto* line = qobject_cast<QLineEdit*>(editor); line && index.column() == 1) {
      line->setText(toQString(upravvolacku(fromQString(index.data(Qt::EditRole).toString()))));
      return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
  }
};

// The texts each grid's columns are made for: a locator, a call sign with
// its district (in the import, with the mark of one known under another
// locator), a date or its absence, a place with its district. Their widths
// as the grids were drawn, which this platform's fonts may not fill.
const char* const kVzory[3][3] = {{"JO70PO", "OK2XYZ/P (SM) *", "Nezjištěno"},
                                  {"JO70PO", "OK2XYZ/P (SM)", "Nezjištěno"},
                                  {"JO70PO", "Lysá hora (FM)", nullptr}};
const int kNavrh[3][3] = {{55, 0, 65}, {55, 0, 70}, {55, 0, 0}};
constexpr int kSloupceVzoru = 3;

// What column c of v needs for its typical text and for the rows it shows.
int potreba(const QTableView* v, int c, const char* vzor) {
  int n = static_cast<const QAbstractItemView*>(v)->sizeHintForColumn(c);
  if (vzor) {
    const int okraj = 2 * (v->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, v) + 1) + 1;
    n = std::max(n, v->fontMetrics().horizontalAdvance(toQString(vzor)) + okraj);
  }
  return n;
}

// The file's name, as text to show.
std::string bareName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return platform::pathText(slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace

TForm6::TForm6(std::string callSignList, std::string programFolder, Hooks hooks, QWidget* parent)
    : ToolWindow(6, PlacementValues::Full, WindowPlacement{1, 1, 400, 600, false}, parent),
      data_(std::move(callSignList), DatabaseFiles::beside(programFolder).zr4),
      programFolder_(std::move(programFolder)),
      hooks_(std::move(hooks)) {
  setWindowTitle(toQString("Zařazování volaček z deníku do seznamu Volaček"));
  auto* main = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  main->addLayout(columns, 1);
  ListTable* tables[3] = {&data_.importRows(), &data_.list(), &data_.towns()};
  const char* names[3] = {"StringGrid1", "StringGrid2", "StringGrid3"};
  const char* heads[3] = {"Deník", "Databáze Volaček", "Ověření lokátoru"};
  for (int g = 0; g < 3; ++g) {
    auto* column = new QVBoxLayout;
    titles_[g] = new QLabel(toQString(heads[g]), this);
    column->addWidget(titles_[g]);
    column->addWidget(makeGrid(g, *tables[g], names[g], heads[g]), 1);
    columns->addLayout(column);
  }
  // Room is shared as the grids need it.
  for (int g = 0; g < 3; ++g) {
    columns->setStretch(g, potrebnaSirka(g));
    grids_[g]->viewport()->installEventFilter(this);
  }
  grids_[1]->setItemDelegate(new TidiedCallSignDelegate(grids_[1]));
  // The Enter that ends a cell's editor (after a move the call sign stands
  // in one) is the list's Enter as well: one press returns to the import.
  connect(grids_[1]->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
          [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
            if (hint == QAbstractItemDelegate::SubmitModelCache) zpetKImportu();
          });

  auto* buttons = new QHBoxLayout;
  chooseButton_ = new QPushButton(toQString("&Zvolit deník"), this);
  chooseButton_->setObjectName("BitBtn3");
  nastavit_ = new QPushButton(toQString("Nastavit"), this);
  nastavit_->setObjectName("nastavit");
  datbut_ = new QPushButton(toQString("OK, datum nastavit"), this);
  datbut_->setObjectName("datbut");
  moveButton_ = new QPushButton(toQString("Přidat  >>"), this);
  saveTowns_ = new QPushButton(toQString("Uložit Města "), this);
  labdat2_ = new QLabel(this);
  labdat2_->setObjectName("labdat2");
  for (QWidget* w : std::initializer_list<QWidget*>{chooseButton_, nastavit_, datbut_, labdat2_,
                                                    moveButton_, saveTowns_})
    buttons->addWidget(w);
  buttons->addStretch(1);
  main->addLayout(buttons);
  calendar_ = new QCalendarWidget(this);
  main->addWidget(calendar_);
  help_ = new QLabel(toQString("Zvol deník, jehož volačky chceš zařadit do seznamu volaček; "
                               "datum spojení nastavíš tlačítkem Nastavit."),
                     this);
  help_->setWordWrap(true);
  main->addWidget(help_);
  status_ = new QLabel(this);
  main->addWidget(status_);

  connect(chooseButton_, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
  connect(moveButton_, &QPushButton::clicked, this, [this] { zS1doS2PridejVolacku(false); });
  connect(saveTowns_, &QPushButton::clicked, this, [this] { Savelok(); });
  connect(nastavit_, &QPushButton::clicked, this, [this] {
    help_->hide();
    chooseButton_->hide();
    nastavit_->hide();
    calendar_->setSelectedDate(QDate::currentDate());
    calendar_->show();
    datbut_->show();
  });
  connect(datbut_, &QPushButton::clicked, this, [this] {
    const QDate d = calendar_->selectedDate();
    platform::DateTime t;
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    if (hooks_.setChosenDate) hooks_.setChosenDate(platform::formatDate(t));
    calendar_->hide();
    datbut_->hide();
    chooseButton_->show();
    nastavit_->show();
    help_->setVisible(!data_.loaded());
    lejbly();
  });

  // The three sorts show their progress in the caption and keep the window
  // from closing while they run.
  const char* running[3] = {"Probíhá třídění deníku, čekej prosím.",
                            "Probíhá třídění volaček, čekej prosím.",
                            "Probíhá třídění lokátorů, čekej prosím."};
  const char* done[3] = {"Třídění deníku dokončeno", "Třídění volaček dokončeno",
                         "Třídění lokátorů dokončeno"};
  for (int g = 0; g < 3; ++g) {
    tables[g]->setProgress([this, t = tables[g]](int gap) { sortProgress(t->rowCount(), gap); });
    tables[g]->setSortObserver(
        [this, r = running[g], d = done[g]](bool on) { sortPhase(on, r, d); });
  }

  // Nothing is shown to edit before a file is loaded: only then do the
  // closing questions save what was changed.
  for (int g = 0; g < 3; ++g) {
    grids_[g]->hide();
    titles_[g]->hide();
  }
  moveButton_->hide();
  saveTowns_->hide();
  calendar_->hide();
  datbut_->hide();
  status_->setText(
      toQString("Upravovaná databáze volaček je : " + platform::pathText(data_.callSignListPath())));
  data_.readLists();
  lejbly();

  // The first opening is as wide as the grids need in this platform's
  // fonts, at least as wide as the window was drawn.
  auto key = platform::RegistryKey::open(settingsKey(), false);
  if (!key || !key->valueExists("Width")) {
    const QMargins m = main->contentsMargins();
    int sirka = m.left() + m.right() + 2 * columns->spacing();
    for (int g = 0; g < 3; ++g) sirka += potrebnaSirka(g);
    resize(std::max(width(), sirka), height());
  }
}

int TForm6::potrebnaSirka(int g) const {
  const QTableView* v = grids_[g];
  int sirka = 2 * v->frameWidth() + v->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, v);
  for (int c = 0; c < kSloupceVzoru; ++c)
    if (kVzory[g][c]) sirka += std::max(kNavrh[g][c], potreba(v, c, kVzory[g][c]));
  return sirka;
}

void TForm6::SirkySloupcu() {
  for (int g = 0; g < 3; ++g) {
    QTableView* v = grids_[g];
    const int sloupcu = std::min(v->model()->columnCount(), kSloupceVzoru);
    int pevne = 0;
    for (int c = 0; c < sloupcu; ++c) {
      if (c == 1) continue;
      v->setColumnWidth(c, std::max(kNavrh[g][c], potreba(v, c, kVzory[g][c])));
      pevne += v->columnWidth(c);
    }
    if (sloupcu > 1)
      v->setColumnWidth(1, std::max(v->viewport()->width() - pevne, potreba(v, 1, kVzory[g][1])));
  }
}

TForm6::~TForm6() {
  for (GridTableModel* m : models_) delete m;
}

ListView* TForm6::makeGrid(int g, ListTable& table, const char* name, const char* title) {
  models_[g] = new GridTableModel(table.grid(), false, this);
  models_[g]->setEditable(g != 0);
  auto* view = new ListView(this);
  view->setModel(models_[g]);
  view->setObjectName(name);
  view->setToolTip(toQString(title));
  if (g == 0) view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grids_[g] = view;
  menus_[g] = new QMenu(view);
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view, &QWidget::customContextMenuRequested, this,
          [this, g](const QPoint& p) { menus_[g]->popup(grids_[g]->viewport()->mapToGlobal(p)); });
  auto key = [this, view](QKeySequence k, std::function<void()> fn) {
    auto* s = new QShortcut(k, view, nullptr, nullptr, Qt::WidgetShortcut);
    connect(s, &QShortcut::activated, this, std::move(fn));
  };
  auto item = [this, g](const char* caption, std::function<void()> fn) {
    QAction* a = menus_[g]->addAction(toQString(caption));
    connect(a, &QAction::triggered, this, std::move(fn));
  };
  connect(view, &QAbstractItemView::doubleClicked, this,
          [this, g](const QModelIndex& i) { doubleClicked(g, i); });
  connect(view, &QAbstractItemView::pressed, this, [this, g](const QModelIndex& i) {
    if (g == 0) {
      pick();
      return;
    }
    const Grid& grid = models_[g]->grid();
    status_->setText(toQString("Vybrán řádek : [" + grid.cell(i.row(), 0) + " - " +
                               grid.cell(i.row(), 1) + "] ..."));
  });
  if (g == 0) {
    connect(view, &ListView::keyReleased, this, [this](int k) {
      if (k == Qt::Key_Up || k == Qt::Key_Down || k == Qt::Key_PageUp || k == Qt::Key_PageDown)
        pick();
    });
    key(Qt::Key_Insert, [this] { zS1doS2PridejVolacku(false); });
    key(Qt::Key_F9, [this] { zS1doS2PridejVolacku(false); });
    key(Qt::Key_F7, [this] { zS1doS2PridejVolacku(true); });
    key(Qt::Key_Delete, [this] { dropImportRow(); });
    key(Qt::Key_F8, [this] { dropImportRow(); });
    item("&Přidat aktuální řádek do seznamu Volaček [INS] nebo [F9]",
         [this] { zS1doS2PridejVolacku(false); });
    item("Nahradit volačkou vlevo volačku vpravo [F7]", [this] { zS1doS2PridejVolacku(true); });
    item("&Smazat aktuální řádek [DEL] nebo [F8]", [this] { dropImportRow(); });
    item("&Editovat a přidat řádek do seznamu Lokátorů", [this] { addTownFrom(0); });
  } else if (g == 1) {
    key(Qt::Key_F8, [this] { deleteListRow(); });
    connect(view, &ListView::enterPressed, this, [this] { zpetKImportu(); });
    item("&Delete - Smazat aktuální řádek ze seznamu Volaček [F8]", [this] { deleteListRow(); });
    item("&Setřídit volačky (Sort)", [this] {
      grids_[1]->commitEditing();
      data_.list().sort(0);
    });
    item("&Uložit soubor Volaček (Save)", [this] { SaveVolacky(); });
    item("&Editovat a přidat řádek do seznamu Lokátorů", [this] { addTownFrom(1); });
  } else {
    item("&Opravit aktuální řádek", [this] { correctTown(); });
    item("&Smazat aktuální lokátor", [this] { deleteTown(); });
    item("&Uložit soubor Lokátorů (Save)", [this] { Savelok(); });
  }
  return view;
}

int TForm6::currentRow(int g) const {
  const QModelIndex i = grids_[g]->currentIndex();
  return i.isValid() ? i.row() : 0;
}

int TForm6::selectedRow(int g) const {
  const QModelIndex i = grids_[g]->currentIndex();
  return i.isValid() ? i.row() : -1;
}

void TForm6::clearRow(int g) {
  grids_[g]->selectionModel()->clear();
  grids_[g]->setCurrentIndex(QModelIndex());
}

void TForm6::selectRow(int g, int row, int col, bool toTop) {
  const int n = models_[g]->rowCount();
  if (n == 0) return;
  const QModelIndex i = models_[g]->index(std::clamp(row, 0, n - 1), col);
  grids_[g]->setCurrentIndex(i);
  grids_[g]->scrollTo(i, toTop ? QAbstractItemView::PositionAtTop
                               : QAbstractItemView::EnsureVisible);
}

void TForm6::lejbly() {
  titles_[0]->setText(toQString("Deník (" + bareName(data_.file()) + ") [" +
                                std::to_string(data_.importRows().rowCount() - 1) + "]"));
  titles_[1]->setText(
      toQString("Databáze volaček  [" + std::to_string(data_.list().rowCount() - 1) + "]"));
  titles_[2]->setText(
      toQString("Lokátory [" + std::to_string(data_.towns().rowCount() - 1) + "]"));
  labdat2_->setText(toQString(chosenDate()));
  moveButton_->setVisible(picked_);
  saveTowns_->setVisible(data_.townsChanged());
}

void TForm6::sortProgress(int rows, int gap) {
  setWindowTitle(toQString(std::to_string(rows) + " Volaček, třídím : [" +
                           std::to_string(gap) + "]"));
  QCoreApplication::processEvents();
}

void TForm6::sortPhase(bool running, const char* runningText, const char* doneText) {
  if (running) {
    if (sorts_++ == 0) captionBeforeSort_ = windowTitle();
    for (ListView* v : grids_) v->commitEditing();
    status_->setText(toQString(runningText));
    for (QPushButton* b : {chooseButton_, moveButton_, saveTowns_}) b->setEnabled(false);
    return;
  }
  if (--sorts_ == 0) {
    setWindowTitle(captionBeforeSort_);
    for (QPushButton* b : {chooseButton_, moveButton_, saveTowns_}) b->setEnabled(true);
  }
  status_->setText(toQString(doneText));
}

void TForm6::BitBtn3Click() {
  std::optional<std::string> file;
  if (hooks_.chooseFile) {
    file = hooks_.chooseFile();
  } else {
    QFileDialog d(this, QString(), platform::pathToQString(programFolder_),
                  toQString("Soubory VEKTRANO (*.qvl);;Soubory CSV (*.csv);;Soubory VOLACEK (*.pvk)"));
    d.setOption(QFileDialog::DontUseNativeDialog, true);
    d.setFileMode(QFileDialog::ExistingFile);
    d.setDefaultSuffix("qvl");
    // Old logs are renamed as the dialog enters their folder.
    connect(&d, &QFileDialog::directoryEntered, this,
            [](const QString& folder) { prejmenujStareDeniky(platform::pathFromQString(folder)); });
    prejmenujStareDeniky(programFolder_);
    if (d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty())
      file = platform::pathFromQString(d.selectedFiles().front());
  }
  if (!file) {
    status_->setText(toQString("Nebyl vybrán žádný deník - soubor *.qvl !"));
    return;
  }
  help_->hide();
  nastavit_->hide();
  nactidata(*file);
}

bool TForm6::nactidata(const std::string& file) {
  const QString caption = windowTitle();
  const bool ok = data_.nactidata(file, chosenDate(), [this](int lines) {
    setWindowTitle(toQString("  [ již načteno : " + std::to_string(lines) + " řádků ]"));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });
  setWindowTitle(caption);
  if (!ok) {
    if (CallSignImport::modeOf(file) == CallSignImport::Mode::None)
      status_->setText(toQString("Nebyl vybrán žádný deník - soubor *.qvl !"));
    return false;
  }
  picked_ = false;
  for (int g = 0; g < 3; ++g) {
    grids_[g]->show();
    titles_[g]->show();
  }
  grids_[0]->setEnabled(true);
  grids_[0]->setColumnWidth(0, 55);
  status_->setText(toQString(bareName(file) + " | Načteno volaček (pouze odlišné) : " +
                             std::to_string(data_.importRows().rowCount())));
  SirkySloupcu();
  lejbly();
  return true;
}

void TForm6::pick() {
  if (!data_.loaded()) return;
  picked_ = true;
  status_->setText(toQString("Automatické vyhledávání Lokátoru započato ..."));
  dohledacka();
  lejbly();
}

void TForm6::zpetKImportu() {
  grids_[0]->setFocus();
  dohledacka();
}

void TForm6::dohledacka() {
  const int row = currentRow(0);
  const Grid& imp = data_.importRows().grid();
  const CallSignImport::Lookup found = data_.dohledacka(row);
  // A find in row 0 is selected too, and nothing found leaves nothing
  // selected: the move takes its district from the selected town and F7
  // replaces the selected call sign, so neither may stay on the row of an
  // earlier station.
  if (found.townRow >= 0)
    selectRow(2, found.townRow, 0, true);
  else
    clearRow(2);
  if (found.listRow >= 0)
    selectRow(1, found.listRow, 0, true);
  else
    clearRow(1);
  status_->setText(toQString("Vybrán řádek : [" + imp.cell(row, 0) + " - " + imp.cell(row, 1) +
                             "] ...  Shoda : " + std::to_string(found.common) + " znaků [" +
                             found.commonText + "]"));
}

void TForm6::zS1doS2PridejVolacku(bool replace) {
  if (data_.list().sorting() || !data_.loaded()) return;
  for (ListView* v : grids_) v->commitEditing();
  const int top = grids_[0]->rowAt(0);
  const int listRow = data_.zS1doS2PridejVolacku(currentRow(0), selectedRow(2), selectedRow(1),
                                                  replace, chosenDate());
  if (listRow < 0) return;
  selectRow(1, listRow, 1, true);
  grids_[1]->setFocus();
  grids_[1]->edit(grids_[1]->currentIndex());
  if (top >= 0 && top < models_[0]->rowCount())
    grids_[0]->scrollTo(models_[0]->index(top, 0), QAbstractItemView::PositionAtTop);
  lejbly();
}

void TForm6::dropImportRow() {
  if (!data_.loaded() || data_.importRows().sorting()) return;
  const int row = currentRow(0);
  const int top = grids_[0]->rowAt(0);
  data_.dropImportRow(row);
  selectRow(0, std::min(row, models_[0]->rowCount() - 1));
  if (top >= 0 && top < models_[0]->rowCount())
    grids_[0]->scrollTo(models_[0]->index(top, 0), QAbstractItemView::PositionAtTop);
  grids_[0]->setFocus();
  dohledacka();
  lejbly();
}

void TForm6::deleteListRow() {
  if (data_.list().sorting()) return;
  grids_[1]->commitEditing();
  const int row = selectedRow(1);
  if (row < 0) return;
  data_.deleteListRow(row);
  selectRow(1, row);
  lejbly();
}

bool TForm6::SaveVolacky() {
  grids_[1]->commitEditing();
  lejbly();
  const bool ok = data_.SaveVolacky();
  if (hooks_.reindex) hooks_.reindex(IndexKind::Vol);
  lejbly();
  return ok;
}

bool TForm6::Savelok() {
  grids_[2]->commitEditing();
  const bool ok = data_.Savelok();
  if (hooks_.reindex) hooks_.reindex(IndexKind::Lok);
  lejbly();
  return ok;
}

void TForm6::addTownFrom(int g) {
  const Grid& grid = models_[g]->grid();
  const int row = currentRow(g);
  const std::optional<std::string> locator =
      askText(this, "Přidat položku do seznamu Měst a lokátorů", "Vlož lokátor ", grid.cell(row, 0));
  if (!locator) return;
  const std::string text = upravvolacku(grid.cell(row, 1)) + (g == 0 ? " (?)" : "");
  const std::optional<std::string> description = askText(
      this, g == 0 ? "Pžidat položku do seznamu Měst a lokátorů" : "Přidat položku do seznamu Měst a lokátorů",
      "Kompletní řádek popisu místa", text);
  if (!description) return;
  selectRow(2, data_.addTown(*locator, *description, keyboard()));
  if (g == 0) dropImportRow();
  lejbly();
}

void TForm6::correctTown() {
  const int row = selectedRow(2);
  if (row < 0) return;
  const Grid& towns = data_.towns().grid();
  const auto locator =
      askText(this, "Oprava v seznamu Měst a lokátorů", "Vlož lokátor ", towns.cell(row, 0));
  const auto description = askText(this, "Oprava v seznamu Měst a lokátorů",
                                   "Kompletní řádek popisu místa", towns.cell(row, 1));
  selectRow(2, data_.correctTown(row, locator, description, keyboard()));
  lejbly();
}

void TForm6::deleteTown() {
  if (selectedRow(2) < 0) return;
  selectRow(2, data_.deleteTown(selectedRow(2)));
  lejbly();
}

void TForm6::doubleClicked(int g, const QModelIndex& index) {
  Grid& grid = models_[g]->grid();
  if (index.column() == 0) {
    mapRow_[g] = zapamatujRadek(grid, index.row());
    const int code = g == 1 ? 3 : g == 0 ? 4 : 5;
    if (hooks_.openMap) hooks_.openMap(grid.cell(index.row(), 0), code);
  } else if (g == 1 && index.column() == 2) {
    grid.setCell(index.row(), 2,
                 grid.cell(index.row(), 2) != kNezjisteno ? kNezjisteno : chosenDate());
  }
}

void TForm6::mapLocatorChosen(int callerCode, const std::string& locator) {
  const int g = callerCode == 3 ? 1 : callerCode == 4 ? 0 : callerCode == 5 ? 2 : -1;
  if (g < 0) return;
  Grid& grid = models_[g]->grid();
  // A row moved, dropped, sorted away or edited while the map was open gets nothing.
  const int row = radekProPredani(grid, mapRow_[g]);
  if (row >= 0) {
    grid.setCell(row, 0, locator);
    if (g == 2) data_.correctTown(row, std::nullopt, std::nullopt, keyboard());
  }
  grids_[g]->setFocus();
}

bool TForm6::queryClose() {
  if (data_.importRows().sorting() || data_.list().sorting() || data_.towns().sorting()) {
    status_->setText(toQString("               !!! Probíhá třídění, čekej prosím !!!"));
    return false;
  }
  if (!data_.loaded()) return true;
  for (ListView* v : grids_) v->commitEditing();
  // A save that fails keeps the window open with its rows.
  if (platform::askYesNo("Uložit aktualizovaný seznam volaček ?", true) && !SaveVolacky())
    return false;
  if (platform::askYesNo("Uložit aktualizovaný seznam Měst a kopců ?", true) && !Savelok())
    return false;
  return true;
}

bool TForm6::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) SirkySloupcu();
  return ToolWindow::eventFilter(watched, event);
}

TForm6* openForm6(const std::string& callSignList, const std::string& programFolder,
                  TForm6::Hooks hooks, QWidget* parent) {
  return openToolWindow(Form6, callSignList, programFolder, std::move(hooks), parent);
}

}  // namespace vektrano
