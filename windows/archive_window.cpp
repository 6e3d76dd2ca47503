#include "windows/archive_window.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTimer>
#include <QHelpEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>

#include "core/log/log_file.h"
#include "core/session/startup.h"
#include "platform/cp1250.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "windows/base/grid_table_model.h"

namespace vektrano {

using platform::fromQString;
using platform::toQString;

QPointer<TForm14> Form14;

namespace {

constexpr const char* kSmazat = "Nevratná operace - Opravdu smazat ?";

std::function<void(const std::string&)>& shellOpen() {
  static std::function<void(const std::string&)> open = [](const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(platform::fsPath(path).string())));
  };
  return open;
}

// The shown log: "poř.", "RV", "RP" and "Lokátor" centred, "km" to the
// right, the rest from the left.
class DenikDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    switch (index.column()) {
      case 0: case 2: case 4: case 5: option->displayAlignment = Qt::AlignCenter; break;
      case 6: option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter; break;
      default: option->displayAlignment = Qt::AlignLeft | Qt::AlignVCenter; break;
    }
  }
};

QTableView* makeView(QWidget* parent, GridTableModel* model, const char* name) {
  auto* v = new QTableView(parent);
  v->setObjectName(name);
  v->setModel(model);
  v->setSelectionBehavior(QAbstractItemView::SelectRows);
  v->setSelectionMode(QAbstractItemView::SingleSelection);
  v->setEditTriggers(QAbstractItemView::NoEditTriggers);
  v->verticalHeader()->hide();
  v->verticalHeader()->setDefaultSectionSize(v->fontMetrics().height() + 4);
  return v;
}

// `OpenDialog1FolderChange`: old csv logs of a folder get the extension
// ".qvl"; one that cannot is named in a message.
void prejmenujStareDeniky(const std::string& folder) {
  CSVprejmenujQVL(folder, [](const std::string& from, const std::string& to) {
    platform::showMessage(zpravaPrejmenovani(from, to), platform::MessageKind::Error);
  });
}

QPushButton* button(QWidget* parent, const char* name, const char* text) {
  auto* b = new QPushButton(toQString(text), parent);
  b->setObjectName(name);
  return b;
}

}  // namespace

void TForm14::setShellOpen(std::function<void(const std::string&)> open) { shellOpen() = std::move(open); }

TForm14::TForm14(std::string archiveRoot, std::string dataFolder, KeyboardOptions keyboard, QWidget* parent)
    : ToolWindow(14, PlacementValues::Full, WindowPlacement{10, 10, 400, 600, false}, parent),
      store_(std::move(archiveRoot)),
      dataFolder_(std::move(dataFolder)),
      keyboard_(keyboard) {
  setObjectName("Form14");
  setWindowTitle(toQString("Archiv deníků"));
  portejbly_.setRow(0, {"od", "do", "Lokátor", "Název"});
  portejbly_.setFixedRows(1);
  denik_.setRow(0, tituleZobrazeni());
  denik_.setFixedRows(1);

  ComboArchivy = new QComboBox(this);
  ComboArchivy->setObjectName("ComboArchivy");
  LabelArchiv = new QLabel(this);
  LabelArchiv->setObjectName("LabelArchiv");
  ButPridat = button(this, "ButPridat", "Nový");
  ButOpravit = button(this, "ButOpravit", "Přejmenovat");
  ButtSmazat = button(this, "ButtSmazat", "Smazat");
  portejblyModel_ = new GridTableModel(portejbly_, true, this);
  GridPortejblu = makeView(this, portejblyModel_, "GridPortejblu");
  ButAddDenik = button(this, "ButAddDenik", "Zařadit deník");
  BitBtn4 = button(this, "BitBtn4", "Vyřadit");
  BitBtn5 = button(this, "BitBtn5", "Opravit");
  MonthCalendar1 = new QCalendarWidget(this);
  MonthCalendar1->setObjectName("MonthCalendar1");
  LabelZarazeniDeniku1 = new QLabel(this);
  LabelZarazeniDeniku1->setObjectName("LabelZarazeniDeniku1");
  LabelZarazeniDeniku1->setWordWrap(true);
  BitBtn1 = button(this, "BitBtn1", "< Zpět");
  BitBtn2 = button(this, "BitBtn2", "Dále >");
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  FindLok = new QLineEdit(this);
  FindLok->setObjectName("FindLok");
  FindLok->setPlaceholderText(toQString("lokátor"));
  FindVol = new QLineEdit(this);
  FindVol->setObjectName("FindVol");
  FindVol->setPlaceholderText(toQString("volačka"));
  ButHledej = button(this, "ButHledej", "Hledej");
  denikModel_ = new GridTableModel(denik_, true, this);
  StringGrid1 = makeView(this, denikModel_, "StringGrid1");
  StringGrid1->setItemDelegate(new DenikDelegate(StringGrid1));
  StringGrid1->setStyleSheet("QToolTip { background-color: rgb(249, 237, 168); color: black; }");
  ComboVysledku = new QComboBox(this);
  ComboVysledku->setObjectName("ComboVysledku");
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);

  auto* top = new QHBoxLayout;
  top->addWidget(ComboArchivy, 1);
  top->addWidget(ButPridat);
  top->addWidget(ButOpravit);
  top->addWidget(ButtSmazat);
  auto* steps = new QHBoxLayout;
  steps->addWidget(BitBtn1);
  steps->addWidget(BitBtn2);
  auto* entries = new QHBoxLayout;
  entries->addWidget(ButAddDenik);
  entries->addWidget(BitBtn4);
  entries->addWidget(BitBtn5);
  auto* left = new QVBoxLayout;
  left->addWidget(LabelArchiv);
  left->addWidget(GridPortejblu, 1);
  left->addLayout(entries);
  left->addWidget(LabelZarazeniDeniku1);
  left->addWidget(MonthCalendar1);
  left->addWidget(Edit1);
  left->addLayout(steps);
  auto* search = new QHBoxLayout;
  search->addWidget(FindLok);
  search->addWidget(FindVol);
  search->addWidget(ButHledej);
  auto* right = new QVBoxLayout;
  right->addLayout(search);
  right->addWidget(ComboVysledku);
  right->addWidget(StringGrid1, 1);
  auto* middle = new QHBoxLayout;
  middle->addLayout(left, 2);
  middle->addLayout(right, 3);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(middle, 1);
  layout->addWidget(StatusBar1);

  connect(ComboArchivy, &QComboBox::activated, this, [this](int i) { ProvedComboArchivyChange(i); });
  connect(ButPridat, &QPushButton::clicked, this, [this] { ButPridatClick(); });
  connect(ButOpravit, &QPushButton::clicked, this, [this] { ButOpravitClick(); });
  connect(ButtSmazat, &QPushButton::clicked, this, [this] { ButtSmazatClick(); });
  connect(ButAddDenik, &QPushButton::clicked, this, [this] { ButAddDenikClick(); });
  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
  connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
  connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
  connect(BitBtn5, &QPushButton::clicked, this, [this] { BitBtn5Click(); });
  connect(ButHledej, &QPushButton::clicked, this, [this] { ButHledejClick(); });
  connect(FindLok, &QLineEdit::textChanged, this, [this] { updateHledej(); });
  connect(FindVol, &QLineEdit::textChanged, this, [this] { updateHledej(); });
  connect(ComboVysledku, &QComboBox::activated, this, [this](int i) { ComboVysledkuClick(i); });
  connect(GridPortejblu, &QTableView::clicked, this,
          [this](const QModelIndex& i) { vyberDenik(portejblyModel_->gridRow(i.row()) - 1); });
  connect(StringGrid1, &QTableView::pressed, this, [this](const QModelIndex& i) {
    StringGrid1->setToolTip(toQString(souhrn(denikModel_->gridRow(i.row()))));
  });
  connect(StringGrid1, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
    ukazPomucku(souhrn(denikModel_->gridRow(i.row())));
  });
  StatusBar1->installEventFilter(this);
  qApp->installEventFilter(this);

  // A search loads log after log: the columns follow once it pauses.
  sirky_ = new QTimer(this);
  sirky_->setSingleShot(true);
  sirky_->setInterval(50);
  connect(sirky_, &QTimer::timeout, this, [this] { SirkySloupcu(); });
  for (GridTableModel* m : {portejblyModel_, denikModel_}) {
    connect(m, &QAbstractItemModel::modelReset, sirky_, qOverload<>(&QTimer::start));
    connect(m, &QAbstractItemModel::rowsInserted, sirky_, qOverload<>(&QTimer::start));
    connect(m, &QAbstractItemModel::dataChanged, sirky_, qOverload<>(&QTimer::start));
  }

  setRezimZarazeni(false);
  updateHledej();

  store_.nactiArchivy();
  NakrmComboBox();
  int posled = 0;
  if (auto key = platform::RegistryKey::open(settingsKey(), false)) {
    try {
      key->readInteger("Top");
      key->readInteger("Left");
      key->readInteger("Height");
      key->readInteger("Width");
      key->readBool("Maximized");
      posled = key->readInteger("Posled");
    } catch (const platform::RegistryValueMissing&) {
    }
  }
  if (!store_.archivy().empty()) ProvedComboArchivyChange(posled);
}

// The models are children and would outlive the grids they listen to.
TForm14::~TForm14() {
  delete portejblyModel_;
  delete denikModel_;
}

void TForm14::SirkySloupcu() {
  const auto rozloz = [](QTableView* v, int zbytek) {
    const auto* view = static_cast<const QAbstractItemView*>(v);
    int ostatni = 0;
    std::vector<int> potreba(static_cast<size_t>(v->model()->columnCount()));
    for (int c = 0; c < v->model()->columnCount(); ++c) {
      potreba[static_cast<size_t>(c)] =
          std::max(view->sizeHintForColumn(c), v->horizontalHeader()->sectionSizeHint(c));
      if (c != zbytek) ostatni += potreba[static_cast<size_t>(c)];
    }
    for (int c = 0; c < v->model()->columnCount(); ++c) {
      const int p = potreba[static_cast<size_t>(c)];
      v->setColumnWidth(c, c == zbytek ? std::max(p, v->viewport()->width() - ostatni) : p);
    }
  };
  rozloz(GridPortejblu, 3);
  rozloz(StringGrid1, 3);
}

QString TForm14::statusText() const { return StatusBar1->currentMessage(); }
QString TForm14::archivLabel() const { return LabelArchiv->text(); }
QString TForm14::krokLabel() const { return LabelZarazeniDeniku1->text(); }

int TForm14::vybranyDenik() const {
  const QModelIndex i = GridPortejblu->currentIndex();
  return i.isValid() ? portejblyModel_->gridRow(i.row()) - 1 : -1;
}

int TForm14::aktualniSpojeni() const {
  const QModelIndex i = StringGrid1->currentIndex();
  return i.isValid() ? denikModel_->gridRow(i.row()) : -1;
}

void TForm14::setStatus(const std::string& text) { StatusBar1->showMessage(toQString(text)); }

void TForm14::NakrmComboBox() {
  ComboArchivy->clear();
  for (const Archiv& a : store_.archivy()) ComboArchivy->addItem(toQString(a.nazev));
}

void TForm14::ProvedComboArchivyChange(int index) {
  if (searching_) return;
  store_.vyber(index);
  const Archiv* a = store_.vybranyArchiv();
  if (!a || a->slozka != nalezySlozka_) zrusNalezy();
  ComboArchivy->setCurrentIndex(store_.vybrany());
  if (auto key = platform::RegistryKey::open(settingsKey(), true)) {
    key->writeInteger("Posled", store_.vybrany());
    key->flush();
  }
  LabelArchiv->setText(a ? toQString(jmenoArchivu(*a)) : QString());
  NakrmGridPortejblu(0);
  setStatus(a ? platform::pathText(a->slozka) : std::string());
}

void TForm14::NakrmGridPortejblu(int select) {
  portejbly_.setRowCount(1);
  for (const ZarazenyDenik& d : store_.deniky()) portejbly_.appendRow({d.od, d.do_, d.lokator, d.nazev});
  if (select >= 0 && select < static_cast<int>(store_.deniky().size()))
    GridPortejblu->setCurrentIndex(portejblyModel_->index(select, 0));
}

void TForm14::pridejArchiv(const std::string& jmeno) {
  if (searching_) return;
  const auto index = store_.pridejArchiv(jmeno);
  if (!index) return;
  NakrmComboBox();
  ProvedComboArchivyChange(*index);
}

void TForm14::opravArchiv(const std::string& jmeno) {
  if (searching_) return;
  const int index = store_.vybrany();
  if (!store_.prejmenujArchiv(index, jmeno) && !platneJmenoArchivu(jmeno)) return;
  NakrmComboBox();
  ProvedComboArchivyChange(index);
}

void TForm14::smazArchiv() {
  if (searching_) return;
  const int index = store_.vybrany();
  if (index < 0) return;
  store_.smazArchiv(index);
  NakrmComboBox();
  if (store_.archivy().empty()) {
    zrusNalezy();
    LabelArchiv->clear();
    NakrmGridPortejblu(-1);
    setStatus({});
  } else {
    ProvedComboArchivyChange(store_.vybrany());
  }
}

void TForm14::ButPridatClick() {
  if (store_.archivy().size() >= static_cast<std::size_t>(kMaxArchivu)) {
    store_.pridejArchiv({});  // reports the limit
    return;
  }
  bool ok = false;
  const QString text = QInputDialog::getText(
      this, toQString("Vstup názvu archivu : "), toQString("Název může být dlouhý 8 až 100 znaků"),
      QLineEdit::Normal,
      toQString("Expedice ... (založ.: " + platform::formatDate(platform::now()) + ")"), &ok);
  if (ok) pridejArchiv(fromQString(text));
}

void TForm14::ButOpravitClick() {
  const Archiv* a = store_.vybranyArchiv();
  if (!a) return;
  bool ok = false;
  const QString text =
      QInputDialog::getText(this, toQString("Oprava názvu archivu : "),
                            toQString("Název může být dlouhý 8 až 100 znaků"), QLineEdit::Normal,
                            toQString(jmenoArchivu(*a)), &ok);
  if (ok) opravArchiv(fromQString(text));
}

void TForm14::ButtSmazatClick() {
  if (store_.archivy().empty()) return;
  if (platform::askYesNo(kSmazat)) smazArchiv();
}

void TForm14::setRezimZarazeni(bool on) {
  filing_ = on;
  for (QWidget* w : std::initializer_list<QWidget*>{ComboArchivy, ButPridat, ButOpravit, ButtSmazat,
                                                    GridPortejblu, ButAddDenik, BitBtn4, BitBtn5, FindLok,
                                                    FindVol, ButHledej, ComboVysledku})
    w->setVisible(!on);
  for (QWidget* w : std::initializer_list<QWidget*>{LabelZarazeniDeniku1, BitBtn1, BitBtn2})
    w->setVisible(on);
  MonthCalendar1->setVisible(on && zarazovani_.krok() < 2);
  Edit1->setVisible(on && zarazovani_.krok() >= 2);
}

void TForm14::ButAddDenikClick() {
  if (!store_.vybranyArchiv()) return;
  QFileDialog dialog(this, QString(), platform::pathToQString(dataFolder_), toQString("Deník (*.qvl)"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  // Old logs of a folder get their extension the moment the dialog enters it.
  connect(&dialog, &QFileDialog::directoryEntered, &dialog,
          [](const QString& dir) { prejmenujStareDeniky(platform::pathFromQString(dir)); });
  prejmenujStareDeniky(dataFolder_);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  zacniZarazeni(platform::pathFromQString(dialog.selectedFiles().front()));
}

void TForm14::zacniZarazeni(const std::string& logPath) {
  if (searching_) return;
  if (!store_.vybranyArchiv() || !platform::fileExists(logPath)) return;
  zarazovani_ = Zarazovani(logPath, navrhniZarazeni(logPath, platform::now()));
  setRezimZarazeni(true);
  ukazKrok();
}

void TForm14::ukazKrok() {
  const int krok = zarazovani_.krok();
  MonthCalendar1->setVisible(filing_ && krok < 2);
  Edit1->setVisible(filing_ && krok >= 2);
  BitBtn1->setEnabled(krok > 0);
  if (krok < 2) {
    if (const auto d = platform::parseDate(zarazovani_.hodnotaKroku()))
      MonthCalendar1->setSelectedDate(QDate(d->year, d->month, d->day));
  } else {
    Edit1->setMaxLength(krok == 2 ? 100 : 250);
    Edit1->setText(toQString(zarazovani_.hodnotaKroku()));
  }
  VypisStav();
  // The field of this step, never the step button: a blank typed into the
  // title would press "Dále >". The proposed text is taken over by typing.
  if (!filing_) return;
  if (krok < 2) {
    MonthCalendar1->setFocus();
  } else {
    Edit1->setFocus();
    Edit1->selectAll();
  }
}

void TForm14::VypisStav() {
  const std::string s = zarazovani_.stav();
  LabelZarazeniDeniku1->setText(toQString(s));
  setStatus(s);
}

void TForm14::BitBtn2Click() {
  if (!filing_) return;
  std::string value;
  if (zarazovani_.krok() < 2) {
    const QDate d = MonthCalendar1->selectedDate();
    value = platform::formatDate({d.year(), d.month(), d.day()}).substr(0, 10);
  } else {
    value = fromQString(Edit1->text());
  }
  if (!zarazovani_.vpred(value)) {
    ukazKrok();
    return;
  }
  VypisStav();
  const auto row = store_.zaradDenik(zarazovani_.denik(), zarazovani_.logPath());
  setRezimZarazeni(false);
  NakrmGridPortejblu(row ? *row : 0);
  // The filed log's row; the focus would otherwise fall on the search box.
  GridPortejblu->setFocus();
  if (const Archiv* a = store_.vybranyArchiv()) setStatus(platform::pathText(a->slozka));
}

void TForm14::BitBtn1Click() {
  if (!filing_) return;
  zarazovani_.zpet();
  ukazKrok();
}

void TForm14::vyberDenik(int row) {
  if (row < 0 || row >= static_cast<int>(store_.deniky().size())) return;
  GridPortejblu->setCurrentIndex(portejblyModel_->index(row, 0));
  ukazDenik(store_.deniky()[row].cesta, store_.deniky()[row]);
}

void TForm14::ukazDenik(const std::string& path) {
  std::optional<ZarazenyDenik> zaznam;
  for (const ZarazenyDenik& d : store_.deniky())
    if (d.cesta == path) {
      zaznam = d;
      break;
    }
  ukazDenik(path, zaznam);
}

void TForm14::ukazDenik(const std::string& path, std::optional<ZarazenyDenik> zaznam) {
  ZobrazenyDenik z = nactiarchivdenik(path);
  denik_ = z.grid;
  denik_.notifyReset();
  shownPath_ = z.ok ? path : std::string();
  shownZaznam_ = z.ok ? std::move(zaznam) : std::nullopt;
  setStatus(z.stav);
}

void TForm14::BitBtn4Click() {
  if (searching_) return;
  const int row = vybranyDenik();
  if (row < 0 || !platform::askYesNo(kSmazat)) return;
  store_.smazDenik(row);
  zrusNalezy();  // the rows after the removed one moved up
  NakrmGridPortejblu(std::min(row, static_cast<int>(store_.deniky().size()) - 1));
}

void TForm14::opravDenik(const std::optional<std::string>& nazev, const std::optional<std::string>& popis) {
  if (searching_) return;
  const int row = vybranyDenik();
  if (row < 0) return;
  if (nazev) store_.opravNazev(row, *nazev);
  if (popis) store_.opravPopis(row, *popis);
  NakrmGridPortejblu(row);
}

void TForm14::BitBtn5Click() {
  const int row = vybranyDenik();
  if (row < 0) return;
  const ZarazenyDenik& d = store_.deniky()[row];
  std::optional<std::string> nazev, popis;
  bool ok = false;
  QString text = QInputDialog::getText(this, toQString("Oprava názvu portejblu : "),
                                       toQString("Název může být dlouhý 5 až 20 znaků"), QLineEdit::Normal,
                                       toQString(d.nazev), &ok);
  if (ok) nazev = fromQString(text);
  text = QInputDialog::getText(this, toQString("Oprava dlouhého popisu portejblu : "),
                               toQString("Název může být dlouhý 5 až 250 znaků"), QLineEdit::Normal,
                               toQString(store_.deniky()[row].popis), &ok);
  if (ok) popis = fromQString(text);
  opravDenik(nazev, popis);
}

void TForm14::updateHledej() {
  ButHledej->setEnabled(!searching_ &&
                        lzeHledat(fromQString(FindLok->text()), fromQString(FindVol->text())));
}

void TForm14::ButHledejClick() {
  if (searching_ || !ButHledej->isEnabled()) return;
  setSearching(true);
  stopSearch_ = false;
  zrusNalezy();
  if (const Archiv* a = store_.vybranyArchiv()) nalezySlozka_ = a->slozka;
  setStatus(" Hledání započalo ...");
  const VysledekHledani v = store_.hledej(
      fromQString(FindLok->text()), fromQString(FindVol->text()), keyboard_,
      [this] {
        QCoreApplication::processEvents();
        return !stopSearch_;
      },
      [this](const Nalez& n) {
        GridPortejblu->setCurrentIndex(portejblyModel_->index(n.denik, 0));
        ComboVysledku->addItem(toQString(n.text));
        ComboVysledku->setCurrentIndex(ComboVysledku->count() - 1);
        if (ComboVysledku->count() == kMaxNalezu) setStatus("Zobrazeno pouze prvních 1000 výsledků !!!");
      });
  nalezy_ = v.nalezy;
  setSearching(false);
  if (v.preruseno) return;
  if (v.celkem == 0) {
    setStatus(" Nic nenalezeno, konec hledání.");
    platform::showMessage("Nebyl nalezen žádný záznam ...");
  } else {
    setStatus(" Seznam výsledků hledání.");
    platform::showMessage("Celkem nalezeno : " + std::to_string(v.celkem) + " položek");
  }
}

void TForm14::zrusNalezy() {
  nalezy_.clear();
  nalezySlozka_.clear();
  ComboVysledku->clear();
}

void TForm14::setSearching(bool on) {
  searching_ = on;
  for (QWidget* w : std::initializer_list<QWidget*>{ComboArchivy, ButPridat, ButOpravit, ButtSmazat,
                                                    ButAddDenik, BitBtn4, BitBtn5})
    w->setEnabled(!on);
  updateHledej();
}

void TForm14::ComboVysledkuClick(int item) {
  if (item < 0 || item >= static_cast<int>(nalezy_.size())) return;
  const Nalez& n = nalezy_[item];
  if (n.denik >= static_cast<int>(store_.deniky().size())) return;
  GridPortejblu->setCurrentIndex(portejblyModel_->index(n.denik, 0));
  const ZarazenyDenik& d = store_.deniky()[n.denik];
  if (d.cesta != shownPath_ || !shownZaznam_ || !(*shownZaznam_ == d)) ukazDenik(d.cesta, d);
  selectContact(n.spojeni, true);
}

void TForm14::selectContact(int gridRow, bool toTop) {
  if (gridRow < 1 || gridRow >= denik_.rowCount()) return;
  const QModelIndex i = denikModel_->index(denikModel_->modelRow(gridRow), 0);
  StringGrid1->setCurrentIndex(i);
  StringGrid1->scrollTo(i, toTop ? QAbstractItemView::PositionAtTop : QAbstractItemView::EnsureVisible);
}

std::string TForm14::souhrn(int gridRow) const {
  // The catalogue row selected now may belong to another log (a search or a
  // change of archive moves it): the summary names the log shown.
  if (!shownZaznam_ || gridRow < 1 || gridRow >= denik_.rowCount()) return {};
  return souhrnSpojeni(*shownZaznam_, denik_.row(gridRow));
}

void TForm14::ukazPomucku(const std::string& text) {
  if (text.empty()) return;
  platform::showMessage(text + "\r\n\r\nPomocí CTRL+C si obsah uložíš do schránky.", platform::MessageKind::Info,
                        "Pomůcka (OK = otevření v text. editoru)");
  const std::string path = platform::dataFile(platform::programFolder(), ".txt");
  if (!platform::writeFileAtomic(path, text)) {
    platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(path),
                          platform::MessageKind::Error);
    return;
  }
  if (shellOpen()) shellOpen()(path);
}

bool TForm14::queryClose() {
  // A running search ends first; the window closes at the next request.
  if (searching_) {
    stopSearch_ = true;
    return false;
  }
  return true;
}

bool TForm14::eventFilter(QObject* watched, QEvent* event) {
  // A grid gets its size only once it is shown, after the window's.
  if (event->type() == QEvent::Resize && sirky_ &&
      (watched == GridPortejblu->viewport() || watched == StringGrid1->viewport()))
    sirky_->start();
  if (watched == StatusBar1 && event->type() == QEvent::MouseButtonDblClick) {
    ukazPomucku(fromQString(statusText()));
    return true;
  }
  // Hints are on while this window is open, whatever the main window's
  // option: its own hints are shown here before any filter can drop them.
  if (event->type() == QEvent::ToolTip) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (w && w->window() == this) {
      QWidget* tipOwner = w == StringGrid1->viewport() ? StringGrid1 : w;
      if (!tipOwner->toolTip().isEmpty()) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tipOwner->toolTip(), tipOwner);
        return true;
      }
    }
  }
  return ToolWindow::eventFilter(watched, event);
}

TForm14* openArchiveWindow(const std::string& archiveRoot, const std::string& dataFolder,
                           const KeyboardOptions& keyboard, QWidget* parent) {
  return openToolWindow(Form14, archiveRoot, dataFolder, keyboard, parent);
}

}  // namespace vektrano
