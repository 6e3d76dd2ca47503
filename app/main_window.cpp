#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/entry_adapter.h"
#include "app/focus_keeper.h"
#include "app/key_probe.h"
#include "app/line_edit_frame.h"
#include "app/log_file_dialogs.h"
#include "app/log_grid_delegate.h"
#include "app/steady_scroll_bar.h"
#include "core/log/log_editing.h"
#include "core/log/log_statistics.h"
#include "core/log/recalculation.h"
#include "core/search/search_scheduler.h"
#include "core/search/search_workers.h"
#include "core/search/searches.h"
#include "platform/cp1250.h"
#include "preview/gui/printer_qt.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/hints.h"
#include "platform/gui/single_instance.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "windows/base/contact_effects.h"
#include "windows/base/grid_table_model.h"
#include "windows/base/tool_window.h"
#include "windows/expedition_description_window.h"
#include "windows/report_table_window.h"
#include "windows/round_distances_window.h"

namespace vektrano {
namespace {

// With VEKTRANO_TEST_HOOKS set, the tests that start the program learn how
// the window ended up after a wake-up.
void reportWakeUp(const QWidget* w) {
  if (!std::getenv("VEKTRANO_TEST_HOOKS")) return;
  const Qt::WindowStates s = w->windowState();
  const char* state = s & Qt::WindowMinimized   ? "minimized"
                      : s & Qt::WindowMaximized ? "maximized"
                                                : "normal";
  std::fprintf(stderr, "vektrano-test: woken state=%s active=%d\n", state,
               w->isActiveWindow() ? 1 : 0);
  std::fflush(stderr);
}

QString q(const std::string& s) { return platform::toQString(s); }

void place(QWidget* w, const LayoutRect& r) { w->setGeometry(r.left, r.top, r.width, r.height); }

// The largest size up to wanted at which text fits the widget's width with
// 5 pixels of air on either side (fonts wider than those the layout was
// drawn for).
void fitFont(QWidget* w, const QString& text, int wanted) {
  QFont f = w->font();
  const int size = vejdeSe(wanted, w->width() - 10, [&](int s) {
    QFont m = f;
    m.setPointSize(s);
    return QFontMetrics(m).horizontalAdvance(text);
  });
  if (f.pointSize() == size) return;
  f.setPointSize(size);
  w->setFont(f);
}

// The clock's type as the layout draws it.
constexpr int kVelikostHodin = 30;

// Menu items that would change the log under the grid's editor.
constexpr const char* kMimoEditaci[] = {"NovyDenik", "NactiDataQVL", "Upravydenku1"};

// The grid's mouse, watched by a filter of its own: the window itself is
// also an application-wide filter and would see every event twice.
class MouseFilter : public QObject {
 public:
  MouseFilter(QObject* parent, std::function<void(QEvent*)> fn)
      : QObject(parent), fn_(std::move(fn)) {}
  bool eventFilter(QObject*, QEvent* event) override {
    fn_(event);
    return false;
  }

 private:
  std::function<void(QEvent*)> fn_;
};

// Runs fn once, queued after the window's first show.
class AfterFirstShow : public QObject {
 public:
  AfterFirstShow(QWidget* window, std::function<void()> fn) : QObject(window), fn_(std::move(fn)) {
    window->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && fn_) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, parent(), std::move(fn_));
      fn_ = nullptr;
      deleteLater();
    }
    return false;
  }

 private:
  std::function<void()> fn_;
};

}  // namespace

// ---------------------------------------------------------------- creation

TForm1::TForm1(std::vector<std::string> arguments, QWidget* parent)
    : QMainWindow(parent), synonyma_(std::make_shared<TabulkaSynonym>()) {
  FormCreate(std::move(arguments));
}

TForm1::~TForm1() { FormDestroy(); }

void TForm1::FormCreate(std::vector<std::string> arguments) {
  setObjectName("Form1");
  setWindowTitle(q(platform::applicationTitle()));
  resize(450, 600);
  reporty_ = vychoziTabulkaReportu();
  // Every print job goes to the system's printers; the PDF printer asks for
  // its file in the data folder, over the window that prints.
  preview::InstallQtPrintDevices([w = QPointer<TForm1>(this)](QWidget* over) -> std::string {
    if (!w || !w->dialogs_.saveFileOver) return {};
    return w->dialogs_
        .saveFileOver(over, "Tisk do souboru PDF", w->settings_.UlozisteDat, "Denik.pdf", "pdf",
                      "Soubory PDF|*.pdf")
        .value_or(std::string());
  });

  createControls();
  createMenu();
  createEntryLine();
  createSearches();
  fokus_ = std::make_unique<FocusKeeper>(this, client_, vstup);
  created_ = true;

  // The wake-up is heard before the settings are read, so that a second
  // start while start-up messages are up is not lost.
  wakeUpListener_ = std::make_unique<platform::WakeUpListener>("Vektrano", [this] { WakeUp(); });
  wakeUpListener_->listen();

  indexes_ = std::make_unique<Indexes>(platform::programFolder(), *this);
  StartupContext ctx(settings_, log_, reporty_, *synonyma_, SeznamVyjimek_, *indexes_, *this);
  ctx.arguments = std::move(arguments);
  startup_ = runStartup(ctx);
  terminate_ = startup_.ukoncit;
  started_ = true;
  reminder_.emplace(startup_.prvniPripominka);
  schemaVPlatnosti();

  FormResize();
  refreshDenik();
  dialogs_ = defaultDialogs(this);
  connectCommands();
  connectControls();
  startTimers();
  // Once the window is up, so that it shows its progress bar meanwhile.
  if (!terminate_) new AfterFirstShow(this, [this] { IndexaceChybejicich(); });
}

void TForm1::schemaVPlatnosti() {
  // A first start takes the window's own colours without applying them:
  // the grid's painter and the blink still need the scheme in force.
  const BarevneSchema b = schemaZNastaveni(settings_);
  delegate_->setSchema(b);
  const BarvyOkna o = vektrano::NastavBarvy(b);
  BarvaLabel1_ = o.BarvaLabel1;
  BarvaBliku_ = o.BarvaBliku;
  label1Colour_ = BarvaLabel1_;
  if (entry_) entry_->setBarvaLabel1(toQColor(BarvaLabel1_));
}

void TForm1::FormDestroy() {
  created_ = false;
  if (hintFilter_) qApp->removeEventFilter(this);
  Timer1.stop();
  Timer2.stop();
  Timer3.stop();
  wakeUpListener_.reset();
  // The searches end before the tables and the log they read.
  searches_.reset();
  workers_.reset();
  snapshot_.reset();
  // Hidden while everything still exists, and nothing that follows the log
  // outlives it: the grid's model, the entry line's adapter.
  hide();
  delete entry_;
  entry_ = nullptr;
  Denik->setModel(nullptr);
  delete model_;
  model_ = nullptr;
}

namespace {

// A status panel of fixed size: a new text (the clock, the duplicates'
// count while a search fills its list) repaints the panel alone; a panel
// whose size may follow its text makes the status bar lay out and paint
// all its panels again. Its height is that of a line of text in its font.
class FixedStatusPanel : public QLabel {
 public:
  FixedStatusPanel(int width, QWidget* parent) : QLabel(parent) {
    setFixedWidth(width);
    fitHeight();
  }

 protected:
  void changeEvent(QEvent* e) override {
    QLabel::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) fitHeight();
  }

 private:
  void fitHeight() {
    const QMargins m = contentsMargins();
    setFixedHeight(fontMetrics().height() + m.top() + m.bottom() + 2 * margin());
  }
};

}  // namespace

void TForm1::createControls() {
  client_ = new QWidget(this);
  client_->setObjectName("client");
  client_->setAutoFillBackground(true);
  // The layout was drawn for a minimum outer size; the client keeps the
  // part of it that is not frame, menu or status bar.
  client_->setMinimumSize(kMinWidth - kFrameWidth, kMinHeight - kFrameHeight);
  client_->installEventFilter(this);
  setCentralWidget(client_);

  // Controls carry their handler names: the colour scheme finds them so.
  auto named = []<class W>(W* w, const char* name, int pointSize = 0, bool bold = false) {
    w->setObjectName(name);
    if (pointSize) {
      QFont f = w->font();
      f.setPointSize(pointSize);
      f.setBold(bold);
      w->setFont(f);
    }
    return w;
  };

  Memo1 = named(new QPlainTextEdit(client_), "Memo1");
  cisspoj = named(new QLabel(client_), "cisspoj");
  cisspoj->setAlignment(Qt::AlignCenter);
  cisspoj->setAutoFillBackground(true);
  azimut = named(new AzimutChart(client_), "azimut");
  lokportable = named(new QLineEdit(client_), "lokportable", 28, true);
  lokportable->setMaxLength(6);
  lokportable->setAlignment(Qt::AlignCenter);
  Label1 = named(new QLabel(client_), "Label1");
  Label1->setAutoFillBackground(true);
  cas = named(new QLabel(client_), "cas", 30, true);
  cas->setAutoFillBackground(true);
  cas->setAlignment(Qt::AlignCenter);
  volackalabel = named(new QLabel(client_), "volackalabel");
  volackalabel->setAutoFillBackground(true);

  // The grid over the log, painted by its delegate.
  Denik = named(new QTableView(client_), "Denik");
  SteadyScrollBar::install(*Denik);
  model_ = new GridTableModel(log_.Denik, true, this);
  Denik->setModel(model_);
  delegate_ = installDenikPainting(*Denik);
  Denik->verticalHeader()->hide();
  Denik->setSelectionBehavior(QAbstractItemView::SelectRows);
  Denik->setSelectionMode(QAbstractItemView::SingleSelection);
  Denik->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Denik->setWordWrap(false);
  Denik->horizontalHeader()->setHighlightSections(false);
  // Column widths are exact: a 1-pixel time column stays 1 pixel.
  Denik->horizontalHeader()->setMinimumSectionSize(0);

  // Side lists over the grid, hidden until the look-ups fill them.
  SeznamMest = named(new SideList(client_, SideList::Rows::EachMeasured), "SeznamMest");
  wvolacky = named(new SideList(client_), "wvolacky");
  wmestacentr = named(new SideList(client_), "wmestacentr");
  // The name days are read, never chosen, and wrap as in a memo.
  Memo4 = named(new SideList(client_, SideList::Rows::EachMeasured), "Memo4");
  Memo4->setSelectionMode(QAbstractItemView::NoSelection);
  Memo4->setWordWrap(true);
  wduplicity = named(new SideList(client_), "wduplicity");
  for (QWidget* w : {static_cast<QWidget*>(SeznamMest), static_cast<QWidget*>(wvolacky),
                     static_cast<QWidget*>(wmestacentr), static_cast<QWidget*>(Memo4),
                     static_cast<QWidget*>(wduplicity)})
    w->hide();

  vstup = named(new QLineEdit(client_), "vstup", 30);
  kanal = named(new QSpinBox(client_), "kanal", 20);
  kanal->setRange(1, 80);  // the CB channels
  kanal->setValue(40);

  // The date panel, shown in place of the entry line while dates are filled
  // in.
  Edit1 = named(new QLineEdit(client_), "Edit1");
  UpDown1 = named(new QSpinBox(client_), "UpDown1");
  Edit2 = named(new QLineEdit(client_), "Edit2");
  UpDown2 = named(new QSpinBox(client_), "UpDown2");
  xdat = named(new QLineEdit(client_), "xdat");
  datumuj = named(new QPushButton(q("Proveď změnu datumu"), client_), "datumuj");
  for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(UpDown1),
                     static_cast<QWidget*>(Edit2), static_cast<QWidget*>(UpDown2),
                     static_cast<QWidget*>(xdat), static_cast<QWidget*>(datumuj)})
    w->hide();

  Pbar = named(new QProgressBar(client_), "Pbar");
  Pbar->setTextVisible(false);
  Pbar->setStyleSheet("QProgressBar::chunk { background: #00c000; }");
  Pbar->hide();
  novrportable = named(new QPlainTextEdit(client_), "novrportable");
  novrportable->hide();

  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar1");
  bar->setSizeGripEnabled(false);
  const int widths[3] = {70, 260, 0};
  for (int i = 0; i < 3; ++i) {
    StatusBar1[i] = widths[i] ? new FixedStatusPanel(widths[i], bar) : new QLabel(bar);
    StatusBar1[i]->setObjectName(QString("panel%1").arg(i));
    bar->addWidget(StatusBar1[i], widths[i] ? 0 : 1);
  }
}

void TForm1::createMenu() {
  menuBar()->setObjectName("HlavniMenu");
  menu_ = buildMenu(menuBar(), hlavniMenu());

  // The colour items and the templates.
  if (QMenu* barvy = menu_.menu("Barvy1")) {
    ColourMenuHooks hooks;
    hooks.current = [this] { return schemaZNastaveni(settings_); };
    hooks.apply = [this](const BarevneSchema& b) {
      ulozSchema(b, settings_);
      NastavBarvy();
    };
    hooks.chooseColour = [this](TColor c) -> std::optional<TColor> {
      if (!dialogs_.chooseColour) return std::nullopt;
      const auto chosen = dialogs_.chooseColour(static_cast<unsigned>(c));
      if (!chosen) return std::nullopt;
      return static_cast<TColor>(*chosen);
    };
    for (QAction* a : addColourItems(*barvy, this, hooks))
      menu_.actions[a->objectName().toStdString()] = a;
    QMenu* sablony = barvy->addMenu(q(std::string(kMenuZmenitBarvy)));
    sablony->setObjectName("Zmnitbarvyprogramu1");
    menu_.menus["Zmnitbarvyprogramu1"] = sablony;
    for (QAction* a : addTemplateItems(*sablony, hooks))
      menu_.actions[a->objectName().toStdString()] = a;
  }
  connectMenu();
  connectEditing();
}

void TForm1::connectMenu() {
  auto on = [this](const char* name, auto fn) {
    if (QAction* a = menu_.action(name)) connect(a, &QAction::triggered, this, fn);
  };
  on("KoncimeProgram", [this] { close(); });
  on("PouzivatVolacky", [this] { RezimVolacky(); });
  on("MestaSvatky", [this] { RezimMestaSvatky(); });
  auto pismo = [this](int k) {
    settings_.Pismo = k;
    NastavMenuPisma();
    FormResize();
  };
  on("Nejmen1", [pismo] { pismo(0); });
  on("Stedn1", [pismo] { pismo(1); });
  on("Nejvt1", [pismo] { pismo(2); });
  for (const char* name : {"zobrporcisl", "zobrdatcas", "Zobrrep", "Zobrvzd", "Zobrpoz"})
    on(name, [this] { layColumns(); });
  on("Zobrazvechnysloupce1", [this] {
    for (const char* n : {"zobrporcisl", "zobrdatcas", "Zobrrep", "Zobrvzd", "Zobrpoz"})
      setTick(n, true);
    layColumns();
  });
  // Options that change the layout.
  for (const char* name : {"zobrcisspoj", "aktualcas", "doplnovatkanal"})
    on(name, [this] { FormResize(); });
  on("doplnvolackuzakm", [this] {
    setEnabledItem("ZobrazLokatorProtistanice", ticked("doplnvolackuzakm"));
    FormResize();
  });
  for (const DelayMenuEntry& d : kDelayMenu) {
    const int ticks = d.delkaprodlevy;
    on(d.name, [this, ticks] {
      settings_.delkaprodlevy = ticks;
      if (searches_) searches_->scheduler().setDelkaprodlevy(ticks);
    });
  }
  on("napoveda", [this] { setCaptionAndHints(ticked("napoveda")); });
  on("Popisexpedice1", [this] { Popisexpedice(); });
  on("ReindexovatVECHNYDatabze1", [this] {
    FocusKeeper::Scope keep(*fokus_);
    const std::int64_t start = tickCount();
    for (IndexKind k : {IndexKind::Lok, IndexKind::Vol, IndexKind::Jmn}) rebuildIndex(k);
    setStatusPanel(2, " Doba trvání indexace všech databází  : " + CasTrvani(start));
  });
  on("ReindexovatDatabziLOKTOR1", [this] { rebuildIndex(IndexKind::Lok); });
  on("ReIndexovatdatabziVOLAEK1", [this] { rebuildIndex(IndexKind::Vol); });
  on("ReindexovatDatabziSVTK1", [this] { rebuildIndex(IndexKind::Jmn); });
  on("abulkaprodoplovnreport1",
     [this] { openForm8(platform::dataFile(platform::programFolder(), ".rep"), this); });
  // The keyboard layout the locators are converted by.
  for (const char* name : {"klavesnicecz", "klavesnicesk"})
    on(name, [this] { log_.klavesnice = {ticked("klavesnicecz"), ticked("klavesnicesk")}; });
}

void TForm1::createEntryLine() {
  keepFramePicture(vstup);
  EntryWidgets w;
  w.vstup = vstup;
  w.Label1 = Label1;
  w.volackalabel = volackalabel;
  w.azimut = azimut;
  w.panel1 = StatusBar1[1];
  w.panel2 = StatusBar1[2];

  EntryHooks h;
  h.entryOptions = [this] {
    EntryOptions o;
    o.keyboard.klavesnicecz = ticked("klavesnicecz");
    o.keyboard.klavesnicesk = ticked("klavesnicesk");
    o.PouzivatVolacky = ticked("PouzivatVolacky");
    o.secondstation = ticked("secondstation");
    o.threestation = ticked("threestation");
    o.loksecondary = settings_.loksecondary;
    o.lokthree = settings_.lokthree;
    o.doplnvolackuzakm = ticked("doplnvolackuzakm");
    o.ZobrazLokatorProtistanice = ticked("ZobrazLokatorProtistanice");
    return o;
  };
  h.storeOptions = [this] {
    StoreOptions o;
    o.Automatika = ticked("Automatika");
    o.prijatyreportdoplnit = ticked("prijatyreportdoplnit");
    o.reporty = ticked("reporty");
    o.doplndatum = ticked("doplndatum");
    o.ukladatazimut = ticked("ukladatazimut");
    o.doplnovatkanal = ticked("doplnovatkanal");
    o.kanal = kanal->value();
    o.automatkolecko = ticked("automatkolecko");
    return o;
  };
  h.completeContext = [this](EntryContext& c) {
    c.vyjimky = &SeznamVyjimek_;
    c.synonyma = synonyma_.get();
    c.seznamMistViditelny = !wmestacentr->isHidden();
    c.seznamVolacekViditelny = !wvolacky->isHidden();
  };
  h.tabulkaReportu = [this]() -> const TabulkaReportu& { return reporty_; };
  h.armSearches = [this](const std::vector<ScheduledSearch>& s) {
    if (searches_) searches_->arm(s);
  };
  h.applyPanels = [this](const SidePanels& p) { applyPanels(p); };
  h.RezimMestaSvatky = [this] { RezimMestaSvatky(); };
  h.RezimVolacky = [this] { RezimVolacky(); };
  h.focusList = [this](ListFocus f) {
    SideList* list = f == ListFocus::Mista     ? wmestacentr
                     : f == ListFocus::Volacky ? wvolacky
                                               : nullptr;
    if (!list) return;
    list->show();
    list->setFocus();
    if (list->count() > 1) list->setCurrentRow(1);
  };
  h.focusGrid = [this] {
    Denik->show();
    Denik->setFocus();
  };
  h.restartBlik = [this] {
    if (blik_) blik_->start();
  };
  h.contactStored = [this](const StoreResult& r) { contactStored(r); };
  h.otevrimapu = [this](const std::string& locator) { otevrimapu(locator, kVolaVstup); };
  h.startform5 = [this](const std::string& own, const std::string& locator) {
    openForm5(own, locator, [this] { return log_.klavesnice; }, this);
  };
  entry_ = new EntryAdapter(w, log_, std::move(h), this);

  efekt_ = new Efekt(Efekt::defaultWaveFile(), this);
  blik_ = new Blik(
      [this] {
        label1Colour_ = PrepniBarvu(label1Colour_, BarvaLabel1_, BarvaBliku_);
        QPalette p = Label1->palette();
        p.setColor(QPalette::WindowText, toQColor(label1Colour_));
        Label1->setPalette(p);
      },
      [this] { return label1Colour_ == BarvaBliku_; }, this);
}

void TForm1::contactStored(const StoreResult& r) {
  refreshDenik(r.revizePredPridanim);
  cisspoj->setText(q(log_.cisspoj));
  SeznamMest->clear();
  appendLines(SearchKind::Mesta, r.seznamMest);
  output_.resetPocetDuplicit();
  if (r.nejdelsi) {
    efekt_->start();
    blik_->start();
  }
  if (r.popsatDenik) Popisexpedice();
}

void TForm1::Popisexpedice() {
  openForm11(
      log_, settings_.UlozisteDat,
      [this](const std::string& memo1) {
        lokportable->setText(q(log_.lokportable));
        Memo1->setPlainText(q(memo1));
        vstup->setFocus();
        vstup->end(false);
      },
      this);
}

void TForm1::createSearches() {
  snapshot_ = std::make_unique<LogSnapshotCache>(log_.Denik);
  workers_ =
      std::make_unique<SearchWorkers>([this](SearchBatch& b) {
        output_.apply(b, *this);
        if (b.last)
          if (KeyProbe* probe = KeyProbe::instance()) probe->searchEnded(kindIndex(b.kind));
      });
  searches_ = std::make_unique<SearchController>(
      *workers_,
      [this] {
        SearchEnvironment env;
        env.lokportable = log_.lokportable;
        env.MenuRam = memoryMode();
        env.pocitejkm = ticked("pocitejkm");
        if (indexes_) {
          env.prefixes = indexes_->prefixes();
          env.SGlokatory = indexes_->SGlokatory.get();
          env.SGvolacky = indexes_->SGvolacky.get();
          env.SGsvatky = indexes_->SGsvatky.get();
        }
        // A copy: the familiar-names window may refill the table meanwhile.
        env.synonyms = std::make_shared<const TabulkaSynonym>(*synonyma_);
        env.log = snapshot_->get();
        return env;
      },
      settings_.delkaprodlevy);
}

void TForm1::startTimers() {
  Timer1.setInterval(kTimer1Ms);
  Timer2.setInterval(kTimer2Ms);
  Timer3.setInterval(kTimer3Ms);
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  connect(&Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
  connect(&Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });
  if (terminate_) return;
  Timer1.start();
  Timer2.start();
  Timer3.start();
  Timer1Timer();
}

void TForm1::Timer1Timer() {
  const Hodiny::Tick t = hodiny_.Timer1Timer(now_(), indexes_->DnesniDatum());
  if (t.cas) cas->setText(q(*t.cas));
  if (t.panel0) StatusBar1[0]->setText(q(*t.panel0));
  if (t.ReIndexace) {
    FocusKeeper::Scope keep(*fokus_);
    searches_->stopAll();
    vstup->setEnabled(false);
    ReIndexace();
    vstup->setEnabled(true);
  }
}

void TForm1::Timer2Timer() {
  KeyProbe* probe = KeyProbe::instance();
  if (!probe) return searches_->Timer2Timer();
  std::array<std::uint64_t, kSearchKinds> before{};
  for (SearchKind k : kSchedulerOrder) before[kindIndex(k)] = workers_->generation(k);
  searches_->Timer2Timer();
  for (SearchKind k : kSchedulerOrder)
    if (workers_->generation(k) != before[kindIndex(k)] && searches_->lastStarted(k))
      probe->searchStarted(kindIndex(k), searches_->lastStarted(k)->text);
}

void TForm1::Timer3Timer() {
  if (!reminder_) return;
  try {
    const platform::DateTime now = platform::now();
    if (reminder_->Timer3Timer(now))
      PripomenAktualizaci(settings_.datumupdate, now, [this] { openUpdateWindow(); });
  } catch (...) {
    // the reminder never stops the program
  }
}

void TForm1::IndexaceChybejicich() {
  FocusKeeper::Scope keep(*fokus_);
  // As before the menu's rebuilds: the searches stop before their files go.
  if (searches_) searches_->stopAll();
  ReIndexaceOptions o;
  o.MenuRam = startup_.pametovyRezim && ticked("MenuRam");
  o.volacky =
      databaseChoice(ticked("volackyoboje"), ticked("pouzevolacky1"), ticked("pouzevolacky2"));
  o.lokatory = databaseChoice(ticked("lokatoboje"), ticked("pouzelok1"), ticked("pouzelok2"));
  buildMissingIndexes(*indexes_, databaseFiles(), o);
}

DatabaseFiles TForm1::databaseFiles() const {
  DatabaseFiles f = DatabaseFiles::beside(platform::programFolder());
  const MainWindowSettings s = currentSettings();
  if (s.LokatoryAlter != "none") f.LokatoryAlter = s.LokatoryAlter;
  if (s.VolackyAlter != "none") f.VolackyAlter = s.VolackyAlter;
  return f;
}

void TForm1::prevezmiSynonyma(const TabulkaSynonym& tabulka) {
  // Filled in place: the entry line holds the table by address, and a
  // search copies it when it starts, so none sees it change while running.
  *synonyma_ = tabulka;
}

ReIndexaceOptions TForm1::reIndexaceOptions() const {
  ReIndexaceOptions o;
  o.MenuRam = memoryMode();
  o.volacky =
      databaseChoice(ticked("volackyoboje"), ticked("pouzevolacky1"), ticked("pouzevolacky2"));
  o.lokatory = databaseChoice(ticked("lokatoboje"), ticked("pouzelok1"), ticked("pouzelok2"));
  o.synonyms = synonyma_.get();
  const platform::DateTime now = platform::now();
  o.today = Day{now.year, now.month, now.day};
  return o;
}

void TForm1::ReIndexace() {
  FocusKeeper::Scope keep(*fokus_);
  indexes_->ReIndexace(databaseFiles(), reIndexaceOptions());
}

void TForm1::rebuildIndex(IndexKind kind) {
  FocusKeeper::Scope keep(*fokus_);
  // A rebuild deletes the index files the searches read: stop them first;
  // they run again on the next tick, on the new files.
  if (searches_) searches_->stopAll();
  const ReIndexaceOptions o = reIndexaceOptions();
  const DatabaseFiles f = databaseFiles();
  switch (kind) {
    case IndexKind::Lok: indexes_->locIDX(f, o.lokatory); break;
    case IndexKind::Vol: indexes_->volIDX(f, o.volacky); break;
    case IndexKind::Jmn: indexes_->jmnIDX(f); break;
  }
}

void TForm1::poUlozeniSeznamu(std::optional<IndexKind> kind) {
  FocusKeeper::Scope keep(*fokus_);
  if (searches_) searches_->stopAll();
  if (kind)
    indexes_->afterListSaved(*kind, databaseFiles(), reIndexaceOptions());
  else
    ReIndexace();
}

// ------------------------------------------------------------------ layout

void TForm1::FormResize() {
  Form1LayoutOptions o;
  o.Pismo = settings_.Pismo;
  o.zobrcisspoj = ticked("zobrcisspoj");
  o.aktualcas = ticked("aktualcas");
  o.doplnvolackuzakm = ticked("doplnvolackuzakm");
  o.doplnovatkanal = ticked("doplnovatkanal");
  o.wduplicityVisible = !wduplicity->isHidden();
  const Form1Layout l =
      layoutForm1(outerWidth(client_->width()), outerHeight(client_->height()), o);
  layout_ = l;

  applyFontSizes();

  place(Memo1, l.Memo1);
  place(cisspoj, l.cisspoj);
  cisspoj->setVisible(l.cisspojVisible);
  place(azimut, l.azimut);
  place(lokportable, l.lokportable);
  place(cas, l.cas);
  fitFont(cas, QStringLiteral("88:88"), kVelikostHodin);
  cas->setVisible(l.casVisible);
  place(Label1, l.Label1);
  place(vstup, l.vstup);
  place(kanal, l.kanal);
  kanal->setVisible(l.kanalVisible);
  volackalabel->setVisible(l.volackalabelVisible);
  place(volackalabel, l.volackalabel);
  place(Denik, l.Denik);
  place(SeznamMest, l.SeznamMest);
  layColumns();
  place(wvolacky, l.wvolacky);
  place(Memo4, l.Memo4);
  place(wmestacentr, l.wmestacentr);
  place(wduplicity, l.wduplicity);
  place(Edit1, l.Edit1);
  place(UpDown1, l.UpDown1);
  place(Edit2, l.Edit2);
  place(UpDown2, l.UpDown2);
  place(xdat, l.xdat);
  place(datumuj, l.datumuj);
  place(Pbar, l.Pbar);
  place(novrportable, l.novrportable);

  if (entry_) {
    entry_->RovnejLabel1();
    entry_->RovnejVstup();
  }
  RovnejInfo();
  if (log_.contactCount() > 0) PosunNaKonec(*Denik);
}

void TForm1::applyFontSizes() {
  const Form1Layout& l = layout_;
  QFont f = Denik->font();
  f.setPointSize(l.gridFontSize);
  Denik->setFont(f);
  Denik->horizontalHeader()->setFont(f);
  Denik->verticalHeader()->setMinimumSectionSize(1);
  Denik->verticalHeader()->setDefaultSectionSize(l.gridRowHeight);
  Denik->horizontalHeader()->setFixedHeight(l.gridRowHeight);

  f = SeznamMest->font();
  f.setPointSize(l.seznamMestFontSize);
  SeznamMest->setFont(f);
  for (SideList* list : {wvolacky, wmestacentr}) {
    QFont lf = list->font();
    lf.setPointSize(l.gridFontSize);
    list->setFont(lf);
    list->setRowHeight(l.listItemHeight);
  }
  f = wduplicity->font();
  f.setPointSize(l.duplFontSize);
  wduplicity->setFont(f);
  wduplicity->setRowHeight(l.duplItemHeight);
}

ColumnOptions TForm1::columnOptions() const {
  ColumnOptions o;
  o.Pismo = settings_.Pismo;
  o.zobrporcisl = ticked("zobrporcisl");
  o.zobrdatcas = ticked("zobrdatcas");
  o.doplndatum = ticked("doplndatum");
  o.Zobrrep = ticked("Zobrrep");
  o.Zobrvzd = ticked("Zobrvzd");
  o.Zobrpoz = ticked("Zobrpoz");
  o.sirkaPoznamky = sirkaPoznamky_;
  o.gridWidth = Denik->width();
  const QFontMetrics fm(Denik->font());
  o.nejmensi = nejmensiSirky([&fm](const std::string& t) { return fm.horizontalAdvance(q(t)); },
                             o.doplndatum ? platform::formatDate({2026, 12, 28, 0, 0, 0, 0}) : "");
  return o;
}

void TForm1::layColumns() {
  SirkySloupcu(log_.Denik, columnOptions());
  setLogTitles(log_.Denik);
  applyColumnWidths(*Denik, log_.Denik);
}

void TForm1::refreshDenik(std::uint64_t revizePredPridanim) {
  // The recovery after a crash must know which log the backup belongs to.
  if (started_ && !terminate_) startup_.cestaDeniku.update(log_.SaveFileName);
  delegate_->naplanujPoPridani(log_, revizePredPridanim);
  // A load, sort or recalculation copies the log for the duplicate search
  // here, with the rest of its work on the whole log, not at the next key.
  if (!revizePredPridanim && snapshot_) snapshot_->get();
  // A dated row switches the date display on.
  ColumnOptions o = columnOptions();
  if (ZapniDatumPodlePlanu(delegate_->plan(), log_, o)) setTick("doplndatum", true);
  cisspoj->setText(q(log_.cisspoj));
  layColumns();
  if (log_.contactCount() > 0) PosunNaKonec(*Denik);
  setRowCommandsEnabled();
}

// ------------------------------------------------------- editing the log

void TForm1::connectEditing() {
  DenikPopup_ = new QMenu(this);
  DenikPopup_->setObjectName(kMenuDenikPopup);
  buildPopup(DenikPopup_, vektrano::denikPopup(), menu_);
  Denik->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Denik, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { DenikPopup_->popup(Denik->viewport()->mapToGlobal(pos)); });
  Denik->viewport()->installEventFilter(new MouseFilter(this, [this](QEvent* event) {
    if (!created_) return;
    if (event->type() == QEvent::MouseButtonPress) {
      const auto* m = static_cast<QMouseEvent*>(event);
      DenikMouseDown(m->position().toPoint(), m->modifiers());
    } else if (event->type() == QEvent::MouseButtonDblClick) {
      DenikDblClick();
    } else if (event->type() == QEvent::MouseButtonRelease) {
      DenikMouseUp();
    }
  }));
  // Columns are resized on the title row.
  Denik->horizontalHeader()->viewport()->installEventFilter(
      new MouseFilter(this, [this](QEvent* e) {
        if (created_ && e->type() == QEvent::MouseButtonRelease) DenikMouseUp();
      }));
  Denik->horizontalHeader()->setSectionsClickable(true);
  connect(Denik->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int col) { DenikTitleClick(col); });
  // Entering and leaving the grid, its in-place editor included.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    if (!created_ || closing_) return;
    // A message box or dialog taking the focus for a while is no leaving:
    // the command that showed it is still running.
    if ((old && old->window() != this) || (now && now->window() != this)) return;
    auto inside = [this](QWidget* w) { return w && (w == Denik || Denik->isAncestorOf(w)); };
    if (inside(now) && !inside(old)) DenikEnter();
    if (inside(old) && now && !inside(now)) DenikExit();
  });

  auto on = [this](const char* name, auto fn) {
    if (QAction* a = menu_.action(name)) connect(a, &QAction::triggered, this, fn);
  };
  on("Setditpodlepoadovhosla1", [this] { setridPodle(kColCislo); });
  on("Setditpodlevolaek1", [this] { setridPodle(kColVolacka); });
  on("SetditpodleLOKTOR1", [this] { setridPodle(kColLokator); });
  on("Setditpodlevzdlenost1", [this] { setridPodle(kColKm); });
  on("Provepepoetvzdlenost1", [this] { poUprave(ProvedPrepocet(log_)); });
  on("Odstranittentodekzdenku1", [this] {
    const bool zmeneno = OdstranRadek(log_, vybranyRadek_);
    if (zmeneno && vybranyRadek_ >= log_.Denik.rowCount()) vybranyRadek_ = 0;
    poUprave(zmeneno);
  });
  on("Pedtentodekvloitprzdndek1",
     [this] { poUprave(VlozPrazdnyRadek(log_, vybranyRadek_)); });
  on("Prohodittentodeksnsledujcmdkem1",
     [this] { poUprave(ProhodSNasledujicim(log_, vybranyRadek_)); });
  on("Prohodittentodekspedchozmdkem1",
     [this] { poUprave(ProhodSPredchozim(log_, vybranyRadek_)); });
  on("Kontroladuplicit1", [this] { Kontroladuplicit1Click(); });
  on("Vymazatvechnypoznmky1", [this] { poUprave(VymazPoznamky(log_)); });
  on("Otev59t58dekv1", [this] { Otev59t58dekv1Click(); });
  on("Vloitchybovoupoznmku1", [this] {
    if (!VlozChybovouPoznamku(log_, vybranyRadek_)) return;
    poUprave(true);
    DenikDblClick();
  });
  on("SmazatchybovoupoznmkunadkuSHIFTclick1",
     [this] { poUprave(SmazChybovouPoznamku(log_, vybranyRadek_)); });
  on("Odstranitpopisychybpozornevratn8funkce1",
     [this] { poUprave(OdstranChybovePoznamky(log_) > 0); });
  on("doplndatum", [this] { doplndatumClick(); });
  on("Odstranndatumzdenku1", [this] { Odstranndatumzdenku1Click(); });
  on("Doplnitdatumydodenku1", [this] { Doplnitdatumydodenku1Click(); });
  connect(datumuj, &QPushButton::clicked, this, [this] { datumujClick(); });
  // The spin boxes step the number edits beside them.
  connect(UpDown1, &QSpinBox::valueChanged, this,
          [this](int v) { Edit1->setText(QString::number(v)); });
  connect(UpDown2, &QSpinBox::valueChanged, this,
          [this](int v) { Edit2->setText(QString::number(v)); });
}

void TForm1::selectCell(int gridRow, int col) {
  vybranyRadek_ = gridRow >= 1 && gridRow < log_.Denik.rowCount() ? gridRow : 0;
  vybranySloupec_ = col;
  if (vybranyRadek_) {
    const QModelIndex i = model_->index(vybranyRadek_ - 1, std::max(col, 0));
    Denik->setCurrentIndex(i);
  }
}

void TForm1::DenikMouseDown(const QPoint& pos, Qt::KeyboardModifiers mods) {
  const QModelIndex i = Denik->indexAt(pos);
  selectCell(i.isValid() ? model_->gridRow(i.row()) : 0, i.isValid() ? i.column() : 0);
  if (!vybranyRadek_) return;
  if ((mods & Qt::ControlModifier) && vybranySloupec_ == kColVolacka) {
    const PrepnutiPoznamky p = PrepniChybovouPoznamku(log_, vybranyRadek_);
    poUprave(p != PrepnutiPoznamky::Nic);
    if (p == PrepnutiPoznamky::Pridana) DenikDblClick();
    if (p == PrepnutiPoznamky::Odebrana) DenikExit();
  }
  setWindowTitle(q(TitulekRadku(log_, vybranyRadek_)));
  if (mods & Qt::ShiftModifier)
    QGuiApplication::clipboard()->setText(q(SchrankaRadku(log_, vybranyRadek_)));
}

void TForm1::DenikMouseUp() {
  std::array<int, kLogColumns> sirky{};
  for (int c = 0; c < kLogColumns; ++c)
    sirky[c] = Denik->isColumnHidden(c) ? 0 : Denik->columnWidth(c);
  const int poznamka = SirkaPoznamkyPoUvolneni(sirky, Denik->width(), ticked("Zobrpoz"));
  if (poznamka && (poznamka != sirkaPoznamky_ || sirky[kColPozn] != poznamka)) {
    sirkaPoznamky_ = poznamka;
    layColumns();
  }
  cisspoj->setText(q(SpocitejCisloSpojeni(log_)));
}

void TForm1::DenikTitleClick(int col) {
  if ((col == kColLokator && log_.SetridenoPodle == kColLokator) ||
      (col == kColVolacka && log_.SetridenoPodle == kColVolacka)) {
    if (const std::optional<int> r = DalsiShoda(log_, col, krokPozice_, *synonyma_))
      moveToRow(*r, col, true);
  } else if (col == kColKm) {
    if (const int r = RadekNejdelsiho(log_)) moveToRow(r, col, false);
  }
}

void TForm1::moveToRow(int gridRow, int col, bool top) {
  const QModelIndex i = model_->index(gridRow - 1, col);
  if (!i.isValid()) return;
  Denik->scrollTo(i, top ? QAbstractItemView::PositionAtTop : QAbstractItemView::EnsureVisible);
  Denik->setCurrentIndex(i);
}

void TForm1::poUprave(bool zmeneno) {
  if (zmeneno) ulozPoUprave(log_);
  delegate_->naplanuj(log_);
  if (snapshot_) snapshot_->get();  // as refreshDenik
  cisspoj->setText(q(log_.cisspoj));
  if (!log_.panel2.empty()) setStatusPanel(2, log_.panel2);
  setRowCommandsEnabled();
}

void TForm1::setRowCommandsEnabled() {
  const bool on = log_.SetridenoPodle == kColCislo && !editaceDeniku_;
  for (const char* name : kRadkovePrikazy) setEnabledItem(name, on);
}

void TForm1::setridPodle(int c) {
  if (SetridPodle(log_, c, *synonyma_, titulekTrideni())) krokPozice_ = 0;
  poUprave(false);
}

std::function<void(const std::string&)> TForm1::titulekTrideni() {
  return [this, caption = windowTitle()](const std::string& text) {
    setWindowTitle(text.empty() ? caption : q(text));
  };
}

void TForm1::Kontroladuplicit1Click() {
  if (!ticked("Zobrpoz")) {
    setTick("Zobrpoz", true);
    layColumns();
  }
  const KontrolaDuplicitVysledek v = KontrolaDuplicit(log_, *synonyma_, titulekTrideni());
  krokPozice_ = 0;
  poUprave(v.zmeneno);
  if (v.radekDuplicity) moveToRow(v.radekDuplicity, kColVolacka, false);
}

void TForm1::doplndatumClick() {
  if (!ticked("doplndatum") && OdstranDatumy(log_)) poUprave(true);
  layColumns();
}

void TForm1::Odstranndatumzdenku1Click() {
  if (!OdstranDatumy(log_)) return;
  setTick("doplndatum", false);
  layColumns();
  poUprave(true);
}

void TForm1::Doplnitdatumydodenku1Click() {
  setTick("doplndatum", true);
  log_.doplndatum = true;
  layColumns();
  const DatovyPanel p = PripravDatovyPanel(log_);
  UpDown1->setRange(p.odMin, std::max(p.odMin, p.odMax));
  UpDown2->setRange(p.poMin, std::max(p.poMin, p.poMax));
  UpDown1->setValue(p.od);
  UpDown2->setValue(p.po);
  Edit1->setText(QString::number(p.od));
  Edit2->setText(QString::number(p.po));
  xdat->setText(q(platform::formatDate(platform::now())));
  vstup->hide();
  for (QWidget* w : std::initializer_list<QWidget*>{Edit1, UpDown1, Edit2, UpDown2, xdat, datumuj})
    w->show();
  // The hidden line would hand the focus to the note memo: typing goes
  // into the panel's first number instead.
  Edit1->setFocus();
  Edit1->selectAll();
}

void TForm1::datumujClick() {
  for (QWidget* w : std::initializer_list<QWidget*>{Edit1, UpDown1, Edit2, UpDown2, xdat, datumuj})
    w->hide();
  vstup->show();
  vstup->setFocus();
  vstup->end(false);
  poUprave(ZmenDatumu(log_, platform::fromQString(Edit1->text()),
                      platform::fromQString(Edit2->text()), platform::fromQString(xdat->text())));
}

void TForm1::Otev59t58dekv1Click() {
  const std::string path = platform::joinPath(platform::programFolder(), "vektrano.txt");
  if (UlozRadekDoTextu(log_, vybranyRadek_, path) && dialogs_.openDocument)
    dialogs_.openDocument(path);
}

void TForm1::DenikDblClick() {
  if (editaceDeniku_) return;
  editaceDeniku_ = true;
  // Commands that would change the log under the editor wait until it ends.
  for (const char* name : kMimoEditaci) setEnabledItem(name, false);
  setRowCommandsEnabled();
  model_->setEditable(true);
  Denik->setSelectionBehavior(QAbstractItemView::SelectItems);
  Denik->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);
  barvyPredEditaci_ = delegate_->barvyMrizky();
  delegate_->setBarvyMrizky(kBarvyEditaceDeniku);
}

void TForm1::DenikEnter() {
  model_->setEditable(false);
  Denik->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Denik->setSelectionBehavior(QAbstractItemView::SelectRows);
}

void TForm1::DenikExit() {
  if (uvnitrExit_) return;  // the focus moves again below
  uvnitrExit_ = true;
  const bool editovano = editaceDeniku_;
  editaceDeniku_ = false;
  for (const char* name : kMimoEditaci) setEnabledItem(name, true);
  DenikEnter();
  if (editovano) delegate_->setBarvyMrizky(barvyPredEditaci_);
  setWindowTitle(q(platform::applicationTitle()));
  FormResize();
  if (log_.SetridenoPodle != kColCislo) Setrid(log_, kColCislo, *synonyma_, titulekTrideni());
  const bool prepocteno = PrepocetDeniku(log_);
  poUprave(editovano || prepocteno);
  if (log_.contactCount() > 0) PosunNaKonec(*Denik);
  vstup->setFocus();
  vstup->end(false);
  uvnitrExit_ = false;
}

void TForm1::RovnejInfo() {
  // The information menu is the menu bar's corner widget: Qt keeps it at the
  // right end and paints the bar again when a title changes. Painting it
  // here as well cost each stored contact the whole menu bar.
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && !hintsOn_) return true;
  // Key preview: the keys of every control of this window come here first.
  if (event->type() == QEvent::KeyPress && keyPreview_ && created_ && started_ && !closing_) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (w && w->window() == this && FormKeyDown(*static_cast<QKeyEvent*>(event))) return true;
  }
  if (created_ && watched == client_ && event->type() == QEvent::Resize) FormResize();

  return QMainWindow::eventFilter(watched, event);
}

void TForm1::changeEvent(QEvent* event) {
  // `FormActivate`: the keyboard focus goes to the entry line.
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && vstup->isEnabled() &&
      !vstup->isHidden())
    vstup->setFocus();
  QMainWindow::changeEvent(event);
}

// ------------------------------------------------------- side-panel mode

bool TForm1::modeVolacky() const { return ticked("PouzivatVolacky"); }

void TForm1::RezimVolacky() { setRezim(true); }
void TForm1::RezimMestaSvatky() { setRezim(false); }

void TForm1::setRezim(bool volacky) {
  if (entry_) prepniRezimKlice(entry_->state().klice, volacky);
  setTick("PouzivatVolacky", volacky);
  setTick("MestaSvatky", !volacky);
  settings_.Nastaven = volacky ? kNastavenVolacky : kNastavenMesta;
  if (QMenu* m = menu_.menu(kMenuNastaveni)) m->setTitle(q(settings_.Nastaven));
  RovnejInfo();
  vstup->setFocus();
  vstup->end(false);
}

void TForm1::keyPressEvent(QKeyEvent* event) {
  // The window's own keys were taken by the key preview (eventFilter).
  QMainWindow::keyPressEvent(event);
}

// ------------------------------------------------------------ menu ticks

bool TForm1::ticked(const std::string& name) const {
  const QAction* a = menu_.action(name);
  return a && a->isChecked();
}

void TForm1::setTick(const std::string& name, bool on) {
  if (QAction* a = menu_.action(name)) a->setChecked(on);
}

void TForm1::setEnabledItem(const std::string& name, bool on) {
  if (QAction* a = menu_.action(name)) a->setEnabled(on);
}

void TForm1::NastavMenuPisma() {
  setTick("Nejmen1", false);
  setTick("Stedn1", false);
  setTick("Nejvt1", false);
  setTick(settings_.Pismo == 1 ? "Stedn1" : settings_.Pismo == 2 ? "Nejvt1" : "Nejmen1", true);
}

void TForm1::NastavBarvy() {
  // The window's colour is its client area's: the menu bar and the status
  // bar are not the scheme's and keep the desktop's colours, in which their
  // texts are readable on every template.
  const BarvyOkna b = applyNastavBarvy(*client_, schemaZNastaveni(settings_));
  BarvaLabel1_ = b.BarvaLabel1;
  BarvaBliku_ = b.BarvaBliku;
  label1Colour_ = BarvaLabel1_;
  if (entry_) entry_->setBarvaLabel1(toQColor(BarvaLabel1_));
}

// -------------------------------------------------------------- settings

void TForm1::applySettings(const MainWindowSettings& s, const SettingsReadResult&) {
  settings_ = s;
  // The client's corner, as currentSettings stores it: placing the frame
  // there instead would move the window down by its title bar at every
  // start.
  MainWindowSettings fit = s;
  if (const QScreen* scr = QGuiApplication::primaryScreen())
    fitToScreen(fit, scr->geometry().width(), scr->geometry().height());
  setGeometry(fit.Left, fit.Top, fit.Width, fit.Height);
  if (s.Maximized) setWindowState(Qt::WindowMaximized);
  setTick("PouzivatVolacky", s.PouzivatVolacky);
  setTick("MestaSvatky", s.MestaSvatky);
  setTick("Automatika", s.Automatika);
  setTick("automatkolecko", s.AutomatKolecko);
  setTick("reporty", s.ReportyChecked);
  setTick("napoveda", s.NapovedaChecked);
  setTick("doplndatum", s.DoplnDatum);
  setTick("klavesnicecz", s.KlavesniceCZ);
  setTick("klavesnicesk", !s.KlavesniceCZ);
  setTick("pocitejkm", s.PocitejKM);
  setTick("doplnovatkanal", s.DoplnovatKanal);
  kanal->setValue(s.Kanal);
  setTick("ukladatazimut", s.ukladatazimut);
  setTick("zobrporcisl", s.zobrporcisl);
  setTick("zobrdatcas", s.zobrdatcas);
  setTick("Zobrrep", s.Zobrrep);
  setTick("Zobrvzd", s.Zobrvzd);
  setTick("Zobrpoz", s.Zobrpoz);
  setTick("zobrcisspoj", s.ZobrCisSpoj);
  setTick("prijatyreportdoplnit", s.PrijatyReportDoplnit);
  if (QMenu* m = menu_.menu(kMenuNastaveni)) m->setTitle(q(s.Nastaven));
  lokportable->setText(q(s.Lokportable));
  Memo1->setPlainText(q(s.Memo));
  setTick("volackyoboje", s.Volackyoboje);
  setTick("pouzevolacky1", s.Pouzevolacky1);
  setTick("pouzevolacky2", s.Pouzevolacky2);
  setEnabledItem("volackyoboje", s.VolackyobojeE);
  setEnabledItem("pouzevolacky2", s.Pouzevolacky2E);
  setTick("lokatoboje", s.Lokatoboje);
  setTick("pouzelok1", s.Pouzelok1);
  setTick("pouzelok2", s.Pouzelok2);
  setEnabledItem("lokatoboje", s.LokatobojeE);
  setEnabledItem("pouzelok2", s.Pouzelok2E);
  setTick("secondstation", s.secondstation);
  setTick("threestation", s.threestation);
  // Ticking the second station enables the third; a ticked third one is
  // enabled in any case.
  setEnabledItem("threestation", s.secondstation || s.threestation);
  setTick("doplnvolackuzakm", s.doplnvolackuzakm);
  setTick("ZobrazLokatorProtistanice", s.ZobrazLokatorProtistanice);
  setEnabledItem("ZobrazLokatorProtistanice", s.doplnvolackuzakm);
  setTick("aktualcas", s.aktualcas);
  setTick("MenuRam", s.MenuRam);
  NastavMenuPisma();
  for (const DelayMenuEntry& d : kDelayMenu)
    setTick(d.name, d.item == delayMenuItem(s.delkaprodlevy));
  if (searches_) searches_->scheduler().setDelkaprodlevy(s.delkaprodlevy);
  if (s.prioritka == 2) {
    NastavPrioritu(2);
  } else {
    setTick("Normlnprioritaautomatickypostartusystmu1", true);
    setTick("VysokprioritaproprogramVEKTRANO1", false);
  }
}

MainWindowSettings TForm1::currentSettings() const {
  MainWindowSettings s = settings_;
  const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
  s.Top = g.top();
  s.Left = g.left();
  s.Height = g.height();
  s.Width = g.width();
  s.Maximized = isMaximized();
  s.PouzivatVolacky = ticked("PouzivatVolacky");
  s.MestaSvatky = ticked("MestaSvatky");
  s.Automatika = ticked("Automatika");
  s.AutomatKolecko = ticked("automatkolecko");
  s.ReportyChecked = ticked("reporty");
  s.NapovedaChecked = ticked("napoveda");
  s.DoplnDatum = ticked("doplndatum");
  s.KlavesniceCZ = ticked("klavesnicecz");
  s.PocitejKM = ticked("pocitejkm");
  s.DoplnovatKanal = ticked("doplnovatkanal");
  s.Kanal = kanal->value();
  s.ukladatazimut = ticked("ukladatazimut");
  s.zobrporcisl = ticked("zobrporcisl");
  s.zobrdatcas = ticked("zobrdatcas");
  s.Zobrrep = ticked("Zobrrep");
  s.Zobrvzd = ticked("Zobrvzd");
  s.Zobrpoz = ticked("Zobrpoz");
  s.ZobrCisSpoj = ticked("zobrcisspoj");
  s.PrijatyReportDoplnit = ticked("prijatyreportdoplnit");
  if (const QMenu* m = menu_.menu(kMenuNastaveni)) s.Nastaven = platform::fromQString(m->title());
  // The edit may show a locator being typed; the log holds the valid one.
  s.Lokportable = log_.lokportable;
  s.Memo = platform::fromQString(Memo1->toPlainText().replace('\n', "\r\n"));
  s.Volackyoboje = ticked("volackyoboje");
  s.Pouzevolacky1 = ticked("pouzevolacky1");
  s.Pouzevolacky2 = ticked("pouzevolacky2");
  s.VolackyobojeE = menu_.action("volackyoboje")->isEnabled();
  s.Pouzevolacky2E = menu_.action("pouzevolacky2")->isEnabled();
  s.Lokatoboje = ticked("lokatoboje");
  s.Pouzelok1 = ticked("pouzelok1");
  s.Pouzelok2 = ticked("pouzelok2");
  s.LokatobojeE = menu_.action("lokatoboje")->isEnabled();
  s.Pouzelok2E = menu_.action("pouzelok2")->isEnabled();
  s.SaveFileName = log_.SaveFileName;
  s.secondstation = ticked("secondstation");
  s.threestation = ticked("threestation");
  s.doplnvolackuzakm = ticked("doplnvolackuzakm");
  s.ZobrazLokatorProtistanice = ticked("ZobrazLokatorProtistanice");
  s.aktualcas = ticked("aktualcas");
  s.MenuRam = ticked("MenuRam");
  s.prioritka = ticked("VysokprioritaproprogramVEKTRANO1") ? 2 : 1;
  return s;
}

// ------------------------------------------------------------- StartupUi

void TForm1::setStatusPanel(int panel, const std::string& text) {
  if (panel >= 0 && panel < 3) StatusBar1[panel]->setText(q(text));
}

void TForm1::disableMenuRam() {
  setTick("MenuRam", false);
  setEnabledItem("MenuRam", false);
}

void TForm1::takeWindowColours(MainWindowSettings& s) {
  const QPalette p = palette();
  s.BPOZ = static_cast<int>(fromQColor(p.color(QPalette::Window)));
  s.BPDE = static_cast<int>(fromQColor(Denik->palette().color(QPalette::Text)));
  s.BPND = static_cast<int>(fromQColor(Denik->palette().color(QPalette::Button)));
  s.BPOV = static_cast<int>(fromQColor(Memo1->palette().color(QPalette::Base)));
  s.BPVR = static_cast<int>(fromQColor(Memo1->palette().color(QPalette::Text)));
  s.BHOD = static_cast<int>(fromQColor(cas->palette().color(QPalette::WindowText)));
  s.BVVZ = static_cast<int>(fromQColor(Label1->palette().color(QPalette::WindowText)));
  settings_.BPOZ = s.BPOZ;
  settings_.BPDE = s.BPDE;
  settings_.BPND = s.BPND;
  settings_.BPOV = s.BPOV;
  settings_.BPVR = s.BPVR;
  settings_.BHOD = s.BHOD;
  settings_.BVVZ = s.BVVZ;
}

void TForm1::applyColours(const MainWindowSettings& s) {
  settings_.BPOZ = s.BPOZ;
  settings_.BDUP = s.BDUP;
  settings_.BPDE = s.BPDE;
  settings_.BPND = s.BPND;
  settings_.BPOV = s.BPOV;
  settings_.BPVR = s.BPVR;
  settings_.BHOD = s.BHOD;
  settings_.BVVZ = s.BVVZ;
  settings_.BNJS = s.BNJS;
  NastavBarvy();
}

void TForm1::setCaptionAndHints(bool hintsOn) {
  setWindowTitle(q(platform::applicationTitle()));
  // Before the window's own filter, which then sees hints first and drops
  // them while they are switched off.
  platform::setHintTimes(1000, 5000);
  // Switched off, no hint of the program's windows appears at all.
  hintsOn_ = hintsOn;
  if (!hintFilter_) {
    qApp->installEventFilter(this);
    hintFilter_ = true;
  }
}

void TForm1::requestHelp(int topic) { platform::openHelp(topic); }

void TForm1::setHelpFile(const std::string& path) { platform::setHelpFile(path); }

void TForm1::requestTerminate() {
  terminate_ = true;
  platform::requestTerminate();
}

void TForm1::logLoaded(const NacteniVysledek& result) {
  if (result.doplndatum) setTick("doplndatum", true);
  lokportable->setText(q(log_.lokportable));
  refreshDenik();
  if (result.chybiPopis) Popisexpedice();
}

// ---------------------------------------------------------- IndexObserver

void TForm1::setControlsEnabled(bool on) {
  for (const char* name : {kMenuSoubor, kMenuPomocne, kMenuNastaveni, kMenuInfo})
    if (QMenu* m = menu_.menu(name)) m->setEnabled(on);
  lokportable->setEnabled(on);
  Memo1->setEnabled(on);
}

void TForm1::alignInfoMenu() { RovnejInfo(); }

void TForm1::showProgressBar(bool on) {
  // The bar stands in place of the entry line; a line the date panel hid
  // stays hidden after it.
  if (on && Pbar->isHidden()) vstupSkryty_ = vstup->isHidden();
  Pbar->setVisible(on);
  vstup->setVisible(!on && !vstupSkryty_);
  if (on) Pbar->raise();
}

// The loads report every database line; the bar moves in thousandths and
// the window pumps its messages at most every 20 ms, so that a database of
// 100,000 lines costs no more to show than to read.
void TForm1::setProgressMax(std::int64_t max) {
  progressMax_ = max;
  Pbar->setRange(0, kProgressSteps);
  Pbar->setValue(0);
}

void TForm1::setProgressPosition(std::int64_t pos) {
  const int v = progressMax_ > 0 ? static_cast<int>(std::clamp<std::int64_t>(pos, 0, progressMax_) *
                                                    kProgressSteps / progressMax_)
                                 : 0;
  if (v != Pbar->value()) Pbar->setValue(v);
}

void TForm1::setStatusText(const std::string& text) { StatusBar1[2]->setText(q(text)); }

void TForm1::processMessages() {
  if (pumpClock_.isValid() && pumpClock_.elapsed() < 20) return;
  QCoreApplication::processEvents();
  pumpClock_.start();
}

// ------------------------------------------------------------ SearchView

SideList* TForm1::listOf(SearchKind kind) const {
  switch (kind) {
    case SearchKind::Mesta:
      return SeznamMest;
    case SearchKind::Lokatora:
      return wmestacentr;
    case SearchKind::Volackaa:
      return wvolacky;
    case SearchKind::Duplyo:
      return wduplicity;
    case SearchKind::Jmena:
      return Memo4;
  }
  return nullptr;
}

void TForm1::clearList(SearchKind kind) {
  if (SideList* list = listOf(kind)) list->clear();
}

void TForm1::appendLine(SearchKind kind, const std::string& line) {
  appendLines(kind, std::span(&line, 1));
}

void TForm1::appendLines(SearchKind kind, PackedLines&& lines) {
  if (SideList* list = listOf(kind)) list->appendLines(std::move(lines));
}

void TForm1::appendLines(SearchKind kind, std::span<const std::string> lines) {
  if (SideList* list = listOf(kind)) list->appendLines(lines);
}

bool TForm1::wduplicityVisible() const { return !wduplicity->isHidden(); }

void TForm1::ZobrazDuplicity(bool show) {
  wduplicity->clear();
  wduplicity->setVisible(show);
  const int h = ZobrazDuplicityVyska(show, layout_.H, ticked("doplnvolackuzakm"));
  for (QWidget* w : {static_cast<QWidget*>(wvolacky), static_cast<QWidget*>(wmestacentr),
                     static_cast<QWidget*>(Memo4)})
    w->resize(w->width(), h);
  if (show) wduplicity->raise();
}

bool TForm1::DenikVisible() const { return !Denik->isHidden(); }

void TForm1::setStatusPanel1(const std::string& text) { StatusBar1[1]->setText(q(text)); }

void TForm1::applyPanels(const SidePanels& p) {
  auto set = [](QWidget* w, const std::optional<bool>& v) {
    if (v) w->setVisible(*v);
  };
  set(Denik, p.Denik);
  set(SeznamMest, p.SeznamMest);
  set(Memo4, p.Memo4);
  set(wmestacentr, p.wmestacentr);
  set(wvolacky, p.wvolacky);
  if (p.wduplicity && !*p.wduplicity && wduplicityVisible()) ZobrazDuplicity(false);
  if (p.wduplicity && *p.wduplicity && !wduplicityVisible()) ZobrazDuplicity(true);
  // The shown lists stand above the rest in this order. Raising them anew
  // when they already do would repaint every one of them at every key.
  std::vector<QWidget*> shown;
  for (QWidget* w : {static_cast<QWidget*>(SeznamMest), static_cast<QWidget*>(wvolacky),
                     static_cast<QWidget*>(wmestacentr), static_cast<QWidget*>(Memo4),
                     static_cast<QWidget*>(wduplicity)})
    if (!w->isHidden()) shown.push_back(w);
  std::vector<QWidget*> top;
  const QObjectList& siblings = client_->children();
  for (auto it = siblings.rbegin(); it != siblings.rend() && top.size() < shown.size(); ++it)
    if ((*it)->isWidgetType()) top.insert(top.begin(), static_cast<QWidget*>(*it));
  if (top != shown)
    for (QWidget* w : shown) w->raise();
}

// -------------------------------------------------------------- shut-down

bool TForm1::FormCloseQuery() {
  if (konecBezOdmitnuti_) {
    for (QWidget* w : openToolWindows()) w->close();
  } else if (auto refused = odmitnoutZavreni(openToolWindows())) {
    for (QWidget* w : refused->doPopredi) {
      w->show();
      w->raise();
      w->activateWindow();
    }
    platform::showMessage(refused->zprava);
    return false;
  }
  shutdown_ = std::make_unique<ShutdownContext>(log_, settings_, *this);
  shutdown_->startupEnded = terminate_;
  return vektrano::FormCloseQuery(*shutdown_);
}

void TForm1::FormClose() {
  // No search may read the log or the tables while they are written.
  searches_->stopAll();
  closeResult_ = vektrano::FormClose(*shutdown_);
}

std::optional<std::string> TForm1::askSaveName(const std::string& proposed,
                                               const std::string& dataFolder) {
  return zvolUlozeniDeniku(this, "Zvol jméno souboru pod kterým se uloží deník : ", dataFolder,
                           proposed);
}

void TForm1::collectSettings(MainWindowSettings& s) {
  s = currentSettings();
  setWindowState(Qt::WindowNoState);
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  closing_ = true;
  Timer1.stop();
  Timer2.stop();
  Timer3.stop();
  event->accept();
  // A tool window that would not close (or one without this window as its
  // parent) must not keep the program running.
  if (konecBezOdmitnuti_)
    for (QWidget* w : openToolWindows())
      if (w->isVisible()) {
        QCoreApplication::quit();
        break;
      }
}

// ---------------------------------------------------------------- wake-up

void TForm1::WakeUp() {
  if (!started_) {
    // Start-up is still running: its message comes to the front; the
    // window shows itself when start-up ends.
    if (QWidget* box = QApplication::activeModalWidget()) {
      box->raise();
      box->activateWindow();
    }
    return;
  }
  // Clearing only the minimised state brings back what was before it.
  if (windowState() & Qt::WindowMinimized) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
  QTimer::singleShot(200, this, [this] { reportWakeUp(this); });
}

}  // namespace vektrano
