// The main window on a temporary program folder and settings store: it
// builds with its controls and menus, lays them out from the client size,
// switches the side panel, and refuses to close while a tool window exists.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/entry_adapter.h"
#include "app/log_grid_delegate.h"
#include "app/main_window.h"
#include "core/entry/entry_line.h"
#include "core/log/log.h"
#include "core/log/log_file.h"
#include "core/search/search_scheduler.h"
#include "core/session/startup.h"
#include "platform/cp1250.h"
#include "platform/dispatcher.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "tests/support/paint_counters.h"
#include "tests/support/program_folder_test.h"
#include "preview/gui/preview.h"
#include "preview/page_objects.h"
#include "windows/base/tool_window.h"
#include "windows/name_days_window.h"
#include "windows/print_window.h"

namespace vektrano {

namespace {

namespace fs = std::filesystem;

// Literals are cp1250 here, as everywhere in the program.
QString u(const char* text) { return platform::toQString(text); }

class Form1Test : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    cwd_ = fs::current_path();
    ProgramFolderTest::SetUp();
  }
  void TearDown() override {
    fs::current_path(cwd_);
    ProgramFolderTest::TearDown();
  }

  // Shut-down has written the settings (start-up only reads them).
  static bool settingsStored() {
    auto key = platform::RegistryKey::open(kMainWindowKey, false);
    return key && key->valueExists("Poprve");
  }

  // A client area of exactly w x h, whatever the menu and status bars take.
  static void setClientSize(TForm1& f, int w, int h) {
    QWidget* c = f.centralWidget();
    f.resize(f.width() - c->width() + w, f.height() - c->height() + h);
    QApplication::processEvents();
  }

  bool anyMessageContains(const std::string& text) const {
    for (const std::string& m : messages_)
      if (m.find(text) != std::string::npos) return true;
    return false;
  }

  fs::path cwd_;
};

TEST_F(Form1Test, BuildsOnAFreshProgramFolderWithItsControlsAndMenus) {
  provideRequired();
  TForm1 form;
  EXPECT_FALSE(form.startupResult().ukoncit);
  EXPECT_TRUE(fs::exists(platform::dataFile(home(), ".rep")));  // start-up has run

  for (const char* name : {"vstup", "Denik", "lokportable", "SeznamMest", "wvolacky", "wmestacentr",
                           "Memo4", "wduplicity", "Memo1", "cisspoj", "Label1", "cas",
                           "volackalabel", "azimut", "kanal", "Pbar", "novrportable"})
    EXPECT_NE(form.findChild<QWidget*>(name), nullptr) << name;
  EXPECT_EQ(form.lokportable->text(), "JO70GQ");

  // The grid shows the log through the painting delegate, titles in its header.
  ASSERT_NE(form.Denik->model(), nullptr);
  EXPECT_EQ(form.Denik->model()->columnCount(), kLogColumns);
  EXPECT_NE(dynamic_cast<DenikDelegate*>(form.Denik->itemDelegate()), nullptr);
  EXPECT_EQ(form.Denik->model()->headerData(3, Qt::Horizontal).toString(), u("Volačka"));
  EXPECT_EQ(form.Denik->model()->headerData(0, Qt::Horizontal).toString(), u("poř."));
  // The look-up lists wait hidden until a search fills them.
  EXPECT_TRUE(form.wvolacky->isHidden());
  EXPECT_TRUE(form.wduplicity->isHidden());
  EXPECT_FALSE(form.Denik->isHidden());

  // Menus with their Czech captions; the information menu in the corner.
  QStringList top;
  for (QAction* a : form.menuBar()->actions()) top << a->text();
  EXPECT_EQ(top, QStringList(
                     {u("&Soubor"), u("Správa &seznamů"), u("&Pomocné funkce"), u("&Nastavení")}));
  ASSERT_NE(form.menu().infoBar, nullptr);
  EXPECT_EQ(form.menuBar()->cornerWidget(Qt::TopRightCorner), form.menu().infoBar);
  struct Item {
    const char* name;
    const char* caption;
  } items[] = {
      {"KoncimeProgram", "&Konec práce s programem"},
      {"NovyDenik", "Nový &deník           [CTRL+N]"},
      {"ReindexovatVECHNYDatabze1", "Reindexovat VŠECHNY Databáze"},
      {"zobrdatcas", "Zobrazovat datum,čas"},
      {"delka15", "1.5 sec"},
      {"Barvapozad1", "Barva pozadí deníku"},
      {"ablonaBW1", "Šablona MONO"},
      {"abulkaprodoplovnreport1", "Tabulka pro doplňování &REPORTŮ"},
  };
  for (const Item& i : items) {
    QAction* a = form.menuItem(i.name);
    ASSERT_NE(a, nullptr) << i.name;
    EXPECT_EQ(a->text(), u(i.caption)) << i.name;
  }
  EXPECT_FALSE(
      form.menuItem("abulkaprodoplovnreport1")->isVisible());  // the operator's chord shows it
  EXPECT_TRUE(form.ticked("delka1"));                          // the default delay of 10 ticks

  EXPECT_EQ(form.Timer1.interval(), 950);
  EXPECT_EQ(form.Timer2.interval(), 100);
  EXPECT_EQ(form.Timer3.interval(), 1000);
  EXPECT_TRUE(form.Timer1.isActive() && form.Timer2.isActive() && form.Timer3.isActive());
}

TEST_F(Form1Test, EndedStartUpBuildsTheWindowButCloseWritesNothing) {
  // No locator database and no sound file: the program is to end.
  {
    TForm1 form;
    EXPECT_TRUE(form.startupResult().ukoncit);
    EXPECT_TRUE(anyMessageContains("vektrano.zr4"));
    EXPECT_TRUE(anyMessageContains("vektrano.wav"));
    EXPECT_FALSE(form.Timer2.isActive());
    form.show();
    EXPECT_TRUE(form.close());
  }
  EXPECT_FALSE(settingsStored());
}

TEST_F(Form1Test, LayoutFollowsTheClientSizeAndOptions) {
  provideRequired();
  TForm1 form;
  form.show();
  struct Case {
    int clientW, clientH;
    bool aktualcas, doplnvolackuzakm, doplnovatkanal;
    QRect vstup, Denik, SeznamMest, wvolacky, Label1, kanal;
  } cases[] = {
      // The minimum client (outer 630 x 450).
      {622,
       373,
       false,
       false,
       false,
       {2, 323, 617, 50},
       {2, 141, 618, 178},
       {360, 141, 260, 178},
       {1, 141, 358, 178},
       {240, 75, 380, 65},
       {560, 323, 60, 50}},
      // Outer 1000 x 700 with the clock, the call sign behind the km and the channel.
      {992,
       623,
       true,
       true,
       true,
       {2, 573, 926, 50},
       {2, 201, 988, 368},
       {730, 201, 260, 368},
       {1, 201, 728, 368},
       {370, 75, 620, 65},
       {930, 573, 60, 50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clientW);
    for (auto [name, on] :
         {std::pair{"aktualcas", c.aktualcas}, std::pair{"doplnvolackuzakm", c.doplnvolackuzakm},
          std::pair{"doplnovatkanal", c.doplnovatkanal}})
      form.menuItem(name)->setChecked(on);
    setClientSize(form, c.clientW, c.clientH);
    form.FormResize();
    EXPECT_EQ(form.vstup->geometry(), c.vstup);
    EXPECT_EQ(form.Denik->geometry(), c.Denik);
    EXPECT_EQ(form.SeznamMest->geometry(), c.SeznamMest);
    EXPECT_EQ(form.wvolacky->geometry(), c.wvolacky);
    EXPECT_EQ(form.Label1->geometry(), c.Label1);
    EXPECT_EQ(form.kanal->geometry(), c.kanal);
    EXPECT_EQ(form.cas->isHidden(), !c.aktualcas);
    EXPECT_EQ(form.kanal->isHidden(), !c.doplnovatkanal);
    EXPECT_EQ(form.volackalabel->isHidden(), !c.doplnvolackuzakm);
    EXPECT_EQ(form.Pbar->geometry(), form.vstup->geometry());
    EXPECT_EQ(form.novrportable->geometry(), form.Denik->geometry());
    // The call-sign column takes what the others leave.
    int sum = 0;
    for (int col = 0; col < kLogColumns; ++col)
      sum += form.Denik->isColumnHidden(col) ? 0 : form.Denik->columnWidth(col);
    EXPECT_EQ(sum, form.Denik->width() - 32);
  }

  // The duplicate list takes 66 pixels from the side lists, and gives them back.
  form.ZobrazDuplicity(true);
  EXPECT_FALSE(form.wduplicity->isHidden());
  EXPECT_EQ(form.wvolacky->height(), 700 - 338 - 60);
  EXPECT_EQ(form.wduplicity->geometry(), QRect(1, 700 - 195, 728, 64));
  form.ZobrazDuplicity(false);
  EXPECT_TRUE(form.wduplicity->isHidden());
  EXPECT_EQ(form.wvolacky->height(), 700 - 272 - 60);

  // Smaller than the minimum is refused by the window itself.
  form.resize(500, 400);
  QApplication::processEvents();
  EXPECT_GE(form.centralWidget()->width(), kMinWidth - kFrameWidth);
  EXPECT_GE(form.centralWidget()->height(), kMinHeight - kFrameHeight);
}

// The clock's and the duplicates' panels keep their size whatever they say:
// a new text there repaints that panel alone, not the whole status bar (a
// broad search sets the count with each batch of duplicates). The status
// bar is as high with these panels empty as with all three saying something.
TEST_F(Form1Test, AFixedStatusPanelRepaintsAloneWhenItsTextChanges) {
  provideRequired();
  TForm1 form;
  form.show();
  for (QLabel* panel : form.StatusBar1) panel->setText({});
  QApplication::processEvents();
  const int emptyHeight = form.statusBar()->height();
  for (QLabel* panel : form.StatusBar1) panel->setText(u("Přechod do databáze"));
  QApplication::processEvents();
  EXPECT_EQ(form.statusBar()->height(), emptyHeight);

  test::PaintCounter paints;
  form.statusBar()->installEventFilter(&paints);
  for (QLabel* panel : form.StatusBar1) panel->installEventFilter(&paints);
  for (int panel : {0, 1}) {
    SCOPED_TRACE(panel);
    paints.clear();
    if (panel == 1)
      form.setStatusPanel1(" duplicit: 5063");
    else
      form.StatusBar1[0]->setText(u("12:34:56"));
    QApplication::processEvents();
    EXPECT_GE(paints.n[form.StatusBar1[panel]], 1);
    // The bar paints its ground under the panel only.
    EXPECT_TRUE(form.StatusBar1[panel]->geometry().contains(paints.where[form.statusBar()].boundingRect()));
    EXPECT_EQ(paints.n[form.StatusBar1[2]], 0);
    EXPECT_EQ(paints.n[form.StatusBar1[1 - panel]], 0);
  }
  EXPECT_EQ(form.statusBar()->height(), emptyHeight);
}

TEST_F(Form1Test, FontSizeSetsGridRowsAndFonts) {
  provideRequired();
  TForm1 form;
  form.menuItem("Nejvt1")->trigger();
  EXPECT_TRUE(form.ticked("Nejvt1"));
  EXPECT_FALSE(form.ticked("Nejmen1"));
  EXPECT_EQ(form.Denik->verticalHeader()->defaultSectionSize(), 24);
  EXPECT_EQ(form.Denik->font().pointSize(), 14);
  EXPECT_EQ(form.SeznamMest->font().pointSize(), 14);
  EXPECT_EQ(form.wduplicity->font().pointSize(), 12);
  EXPECT_EQ(form.layout().listItemHeight, 24);
}

// The font size changed while the print window is open: the next print
// command lays the rows out at the grid's new row height, not the one the
// window was opened with.
TEST_F(Form1Test, PrintCommandTakesTheGridsRowHeightAtEachLayout) {
  provideRequired();
  TForm1 form;
  form.show();
  for (int i = 1; i <= 3; ++i)
    form.log().Denik.appendRow({std::to_string(i), "10:00:00", "59", "OK1AB" + std::to_string(i), "59", "JO60LJ",
                                "120", ""});
  form.refreshDenik();
  // The distance between the first two contacts' call-sign cells on page 1.
  auto pitch = [] {
    std::vector<double> tops;
    const preview::TPvPage* page = Form7->preview()->PageList().Items(0);
    for (int i = 0; i < page->Objects().Count(); ++i)
      if (auto* t = dynamic_cast<preview::TPvTextBoxObject*>(page->Objects().Items(i)))
        if (t->Text() == "OK1AB1" || t->Text() == "OK1AB2") tops.push_back(double(t->Rect().Top));
    return tops.size() == 2 ? tops[1] - tops[0] : 0.0;
  };
  form.menuItem("iskDenku2")->trigger();
  ASSERT_TRUE(Form7);
  const int small = form.Denik->verticalHeader()->defaultSectionSize();
  EXPECT_NEAR(pitch(), small / 96.0, 1e-9);
  form.menuItem("Nejvt1")->trigger();
  const int large = form.Denik->verticalHeader()->defaultSectionSize();
  ASSERT_GT(large, small);
  form.menuItem("iskDenku2")->trigger();
  EXPECT_NEAR(pitch(), large / 96.0, 1e-9);
  delete Form7.data();
}

TEST_F(Form1Test, SidePanelModeSwitchesTicksCaptionAndSearchKeys) {
  provideRequired();
  TForm1 form;
  form.show();
  form.vstup->setText("OK1ABC");
  const std::string junk16(16, '@');

  form.RezimMestaSvatky();
  EXPECT_TRUE(form.ticked("MestaSvatky"));
  EXPECT_FALSE(form.ticked("PouzivatVolacky"));
  EXPECT_EQ(form.menu().menu("Nastaven1")->title(), u("Nastavení  [Města,Svátky]"));
  EXPECT_EQ(form.entry()->state().klice.mesta, "2" + junk16);
  EXPECT_EQ(form.entry()->state().klice.mista, "2" + junk16);
  EXPECT_EQ(form.vstup->cursorPosition(), 6);

  // F9 goes back, through the window's own key handling.
  QKeyEvent f9(QEvent::KeyPress, Qt::Key_F9, Qt::NoModifier);
  QApplication::sendEvent(&form, &f9);
  EXPECT_TRUE(form.ticked("PouzivatVolacky"));
  EXPECT_FALSE(form.ticked("MestaSvatky"));
  EXPECT_EQ(form.menu().menu("Nastaven1")->title(), u("Nastavení  [Seznam Volaček]"));
  EXPECT_EQ(form.entry()->state().klice.mesta, "1" + junk16);

  // The menu item does the same.
  form.menuItem("MestaSvatky")->trigger();
  EXPECT_TRUE(form.modeVolacky() == false);
}

TEST_F(Form1Test, CloseIsRefusedWhileAToolWindowExists) {
  provideRequired();
  auto form = std::make_unique<TForm1>();
  form->show();
  {
    ToolWindow tool(90, PlacementValues::PositionOnly, WindowPlacement{});
    ToolWindow second(91, PlacementValues::PositionOnly, WindowPlacement{});
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(tool.isVisible() && second.isVisible());  // brought to the front
    ASSERT_FALSE(messages_.empty());
    EXPECT_EQ(messages_.back(),
              "VEKTRANO nelze ukončit. Máš ještě otevřená některá okna, celkem : 2 oken.");
    EXPECT_FALSE(settingsStored());  // nothing saved
  }
  // Once they are gone the close goes ahead and stores the settings.
  form->RezimMestaSvatky();
  form->menuItem("Stedn1")->trigger();
  EXPECT_TRUE(form->close());
  ASSERT_TRUE(form->closeResult().has_value());
  EXPECT_TRUE(form->closeResult()->nastaveniZapsano);
  EXPECT_TRUE(settingsStored());
  form.reset();

  // The next start takes them back.
  TForm1 again;
  EXPECT_TRUE(again.ticked("MestaSvatky"));
  EXPECT_TRUE(again.ticked("Stedn1"));
  EXPECT_EQ(again.menu().menu("Nastaven1")->title(), u("Nastavení  [Města,Svátky]"));
  EXPECT_EQ(again.Denik->verticalHeader()->defaultSectionSize(), 22);
}

// A log in a folder whose name code page 1250 lacks ("Ωmega") opens from the
// command line and from the open dialog, takes a contact and is saved in its
// place. The settings cannot hold its path: they keep none, and say so once.
TEST_F(Form1Test, ALogInAFolderTheCodePageLacksOpensAndIsSaved) {
  provideRequired();
  const std::string folder = home() + "/\xCE\xA9mega";  // "Ωmega", the file system's bytes
  const std::string logPath = folder + "/den\xC3\xADk.qvl";
  const std::string notice = "Cestu k deníku :\r\n\r\n" + platform::pathText(logPath) +
                             "\r\n\r\nnelze zapsat do nastavení programu, jméno obsahuje znaky, "
                             "které kódová stránka 1250 nezná.\r\n\r\nDeník se ukládá dál, jen po "
                             "novém spuštění programu se sám neotevře.";
  struct Case {
    const char* how;
    bool commandLine;
  } cases[] = {{"command line", true}, {"open dialog", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    fs::create_directories(folder);
    LogDocument seed;
    seed.PopisExpedice[kPopisNazev] = "Hora";
    seed.PopisExpedice[kPopisMisto] = "Kozákov";
    seed.PopisExpedice[kPopisLokator] = "JO70PO";
    seed.Denik.appendRow({"1", "10:00:00", "59", "OK1ABC", "59", "JO60LJ", "120", ""});
    ASSERT_TRUE(ulozdata(seed, logPath));
    messages_.clear();
    {
      TForm1 form(c.commandLine ? std::vector<std::string>{logPath} : std::vector<std::string>{});
      form.show();
      if (!c.commandLine) {
        Form1Dialogs d = form.dialogs();
        d.openLog = [&](const std::string&, const std::string&) { return std::optional(logPath); };
        form.setDialogs(d);
        form.menuItem("NactiDataQVL")->trigger();
      }
      ASSERT_EQ(form.log().SaveFileName, logPath);
      ASSERT_EQ(form.log().contactCount(), 1);
      form.vstup->setFocus();
      QTest::keyClicks(form.vstup, "59 OK2XYZ JN99JM");
      QTest::keyClick(form.vstup, Qt::Key_Return);
      EXPECT_EQ(form.log().contactCount(), 2);
      for (QWidget* w : openToolWindows()) delete w;
      EXPECT_TRUE(form.close());
    }
    LogDocument read;
    read.SaveFileName = logPath;
    ASSERT_TRUE(nactidata(read, TabulkaSynonym()).ok);
    ASSERT_EQ(read.contactCount(), 2);
    EXPECT_EQ(read.Denik.cell(2, kColLokator), "JN99JM");
    EXPECT_EQ(std::count(messages_.begin(), messages_.end(), notice), 1);
    auto key = platform::RegistryKey::open(kMainWindowKey, false);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readString("SaveFileName"), "");
    fs::remove_all(folder);
  }
}

TEST_F(Form1Test, ClosingWritesTheLogAndRemovesTheCrashBackup) {
  provideRequired();
  const std::string logPath = home() + "/UlozisteDat/expedice.qvl";
  TForm1 form;
  form.log().SaveFileName = logPath;
  form.log().Denik.appendRow({"1", "10:00:00", "59", "OK1ABC", "59", "JO60LJ", "120", ""});
  form.refreshDenik();
  put(home() + "/zaloha.qvl", "x");
  EXPECT_TRUE(form.close());
  EXPECT_TRUE(fs::exists(logPath));
  EXPECT_FALSE(fs::exists(home() + "/zaloha.qvl"));
  LogDocument read;
  read.SaveFileName = logPath;
  nactidata(read, TabulkaSynonym());
  ASSERT_EQ(read.contactCount(), 1);
  EXPECT_EQ(read.Denik.cell(1, kColLokator), "JO60LJ");
}

TEST_F(Form1Test, ADatedRowSwitchesTheDateColumnOn) {
  provideRequired();
  TForm1 form;
  EXPECT_FALSE(form.ticked("doplndatum"));
  EXPECT_EQ(form.Denik->columnWidth(kColCas), 60);
  form.log().Denik.appendRow(
      {"1", "[10.12.2026] 10:00:00", "59", "OK1ABC", "59", "JO60LJ", "120", ""});
  form.refreshDenik();
  EXPECT_TRUE(form.ticked("doplndatum"));
  // 140 as drawn, wider where this platform's font needs it.
  EXPECT_GE(form.Denik->columnWidth(kColCas), 140);
}

// Every font size with every option that moves the bands: no label covers
// another, and the cells of fixed content show their whole text, measured
// with the real fonts.
TEST_F(Form1Test, LabelsNeverCoverEachOtherAndCellTextsFit) {
  provideRequired();
  TForm1 form;
  form.show();
  form.log().Denik.appendRow({"1", "10:00:00", "59", "OK1ABC", "59", "JO60LJ", "120", ""});
  form.refreshDenik();
  const QString date = platform::toQString(platform::formatDate({2026, 12, 28, 0, 0, 0, 0}));
  for (const char* size : {"Nejmen1", "Stedn1", "Nejvt1"}) {
    for (int mask = 0; mask < 16; ++mask) {
      const bool clock = mask & 1, channel = mask & 2, number = mask & 4, dates = mask & 8;
      SCOPED_TRACE(std::string(size) + " clock " + std::to_string(clock) + " channel " +
                   std::to_string(channel) + " number " + std::to_string(number) + " dates " +
                   std::to_string(dates));
      form.menuItem(size)->trigger();
      form.menuItem("aktualcas")->setChecked(clock);
      form.menuItem("doplnovatkanal")->setChecked(channel);
      form.menuItem("zobrcisspoj")->setChecked(number);
      form.menuItem("doplndatum")->setChecked(dates);
      form.FormResize();

      std::vector<QWidget*> second = {form.lokportable, form.Label1};
      if (!form.cas->isHidden()) second.push_back(form.cas);
      std::vector<QWidget*> top = {form.Memo1, form.azimut};
      if (!form.cisspoj->isHidden()) top.push_back(form.cisspoj);
      for (const auto* band : {&second, &top})
        for (size_t i = 0; i < band->size(); ++i)
          for (size_t j = i + 1; j < band->size(); ++j)
            EXPECT_FALSE((*band)[i]->geometry().intersects((*band)[j]->geometry()))
                << (*band)[i]->objectName().toStdString() << " / "
                << (*band)[j]->objectName().toStdString();
      EXPECT_FALSE(form.vstup->geometry().intersects(form.kanal->geometry()) &&
                   !form.kanal->isHidden());
      if (clock) {
        form.cas->setText(QStringLiteral("23:58"));
        EXPECT_LE(QFontMetrics(form.cas->font()).horizontalAdvance(form.cas->text()),
                  form.cas->width());
      }
      const QFontMetrics grid(form.Denik->font());
      const QString time = dates ? "[" + date + "] 23:59:59" : QStringLiteral("23:59:59");
      EXPECT_LE(grid.horizontalAdvance(time) + 2, form.Denik->columnWidth(kColCas)) << "time";
      EXPECT_LE(grid.horizontalAdvance(QStringLiteral("JO60LJ")) + 2,
                form.Denik->columnWidth(kColLokator))
          << "locator";
    }
  }
}

// Storing a contact hides the duplicate list and resets its count; the
// search the Enter would have run on the stored call sign finds nothing,
// while the same call sign typed again is a duplicate.
TEST_F(Form1Test, AStoredContactIsNoDuplicateOfItself) {
  provideRequired();
  platform::setDispatcher(platform::makeQtDispatcher());
  {
    TForm1 form;
    form.log().SaveFileName = home() + "/UlozisteDat/den.qvl";
    form.searches()->scheduler().setDelkaprodlevy(1);
    form.show();
    auto typeKeys = [&](const QString& text) {
      for (QChar c : text) {
        const int key = c == ' ' ? static_cast<int>(Qt::Key_Space) : c.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(form.vstup, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(form.vstup, &release);
      }
    };
    auto waitSearches = [&](const std::function<bool()>& done) {
      for (int i = 0; i < 100 && !done(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
      }
    };
    typeKeys(QStringLiteral("59 OK1ABC"));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(form.vstup, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(form.vstup, &release);
    ASSERT_EQ(form.log().contactCount(), 1);
    // Past the delay: nothing found, nothing shown.
    waitSearches([] { return false; });
    EXPECT_TRUE(form.wduplicity->isHidden());
    EXPECT_FALSE(form.StatusBar1[1]->text().contains(u("duplicit")));

    typeKeys(QStringLiteral("OK1ABC"));
    waitSearches([&] { return form.wduplicity->count() >= 2; });
    EXPECT_FALSE(form.wduplicity->isHidden());
    ASSERT_EQ(form.wduplicity->count(), 2);
    EXPECT_TRUE(form.wduplicity->text(0).startsWith("1 ("));
    EXPECT_EQ(form.StatusBar1[1]->text(), u(" duplicit: 1"));
  }
  platform::setDispatcher(nullptr);
}

// The channel spin edit holds the CB channels 1 to 80, whether the value
// comes from the settings or from the arrow keys, so the note of a stored
// contact never reads ",CH-0 " or ",CH-99 ".
TEST_F(Form1Test, TheChannelStaysWithinTheChannelsInTheNote) {
  provideRequired();
  struct Case {
    int stored;
    Qt::Key key;  // pressed in the spin edit; Key_unknown: none
    int expected;
  } cases[] = {
      {0, Qt::Key_unknown, 1}, {99, Qt::Key_unknown, 80}, {40, Qt::Key_unknown, 40},
      {1, Qt::Key_Down, 1},    {80, Qt::Key_Up, 80},      {79, Qt::Key_Up, 80},
  };
  TForm1 form;
  form.log().SaveFileName = home() + "/UlozisteDat/kanal.qvl";
  form.show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    MainWindowSettings s = form.currentSettings();
    s.DoplnovatKanal = true;
    s.Kanal = c.stored;
    form.applySettings(s, {});
    if (c.key != Qt::Key_unknown) QTest::keyClick(form.kanal, c.key);
    EXPECT_EQ(form.kanal->value(), c.expected);

    form.vstup->setFocus();
    form.vstup->clear();
    QTest::keyClicks(form.vstup, "59 OK1ABC");
    QTest::keyClick(form.vstup, Qt::Key_Return);
    const Grid& d = form.log().Denik;
    ASSERT_GE(d.rowCount(), 2);
    EXPECT_EQ(d.cell(d.rowCount() - 1, kColPozn), ",CH-" + std::to_string(c.expected) + " ");
  }
}

// A contact stored at the end of a long log changes nothing on the menu bar,
// which is not painted again, nor on the grid's scroll bar, whose slider
// stays at the bottom at its smallest length: the style does not draw it
// again. A scroll that moves the slider has it drawn.
TEST_F(Form1Test, StoringAContactRedrawsNeitherTheMenuBarNorAnUnchangedScrollBar) {
  provideRequired();
  test::ScrollBarCountingStyle style;
  TForm1 form;
  form.log().SaveFileName = home() + "/UlozisteDat/dlouhy.qvl";
  for (int i = 1; i <= 1000; ++i)
    form.log().Denik.appendRow({std::to_string(i), "10:00:00", "59", "OK1AB" + std::to_string(i % 10), "59", "JO60LJ", "1", ""});
  form.refreshDenik();
  form.show();
  QScrollBar* bar = form.Denik->verticalScrollBar();
  bar->setStyle(&style);
  bar->setValue(bar->maximum());
  QApplication::processEvents();

  test::PaintCounter paints;
  // The first contact recalculates the log as loaded and turns to call
  // signs; the second is the one of every contact after it.
  form.vstup->setFocus();
  for (const char* line : {"59 OK1ABC", "59 OK1XYZ"}) {
    if (std::string(line) == "59 OK1XYZ") {
      for (QWidget* w : {form.menuBar(), form.menu().infoBar}) w->installEventFilter(&paints);
      style.bars = 0;
    }
    QTest::keyClicks(form.vstup, line);
    QTest::keyClick(form.vstup, Qt::Key_Return);
    QApplication::processEvents();
  }
  const Grid& d = form.log().Denik;
  ASSERT_EQ(d.rowCount(), 1003);
  EXPECT_EQ(d.cell(1002, kColVolacka).substr(0, 6), "Ok1xyz");
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_EQ(paints.n[form.menuBar()], 0);
  EXPECT_EQ(paints.n[form.menu().infoBar], 0);
  EXPECT_EQ(style.bars, 0);

  bar->setValue(0);
  QApplication::processEvents();
  EXPECT_GE(style.bars, 1);
}

// On the first start the scheme is the window's own colours, not applied
// but in force: duplicate rows get the light blue of the scheme.
TEST_F(Form1Test, FirstStartPaintsWithTheSchemeInForce) {
  provideRequired();
  TForm1 form;
  auto* delegate = dynamic_cast<DenikDelegate*>(form.Denik->itemDelegate());
  ASSERT_NE(delegate, nullptr);
  EXPECT_EQ(delegate->schema().BDUP, TColor{0xF0CAA6});
  form.log().Denik.appendRow({"1", "10:00:00", "59", "OK1ABC .#_dupl_2", "59", "JO60LJ", "1", ""});
  form.log().Denik.appendRow({"2", "10:01:00", "59", "OK1ABC .#_dupl_1", "59", "JO60LJ", "1", ""});
  form.refreshDenik();
  EXPECT_EQ(delegate->cellStyle(1, kColVolacka).pozadi, TColor{0xF0CAA6});
}

// Each template, chosen from its menu item: the menu bar's and the status
// bar's texts differ from their backgrounds by the program's own contrast
// rule, so no template leaves the clock, the statistics or a menu unreadable.
// The azimuth chart, which the scheme does not colour either, shows its
// title in two classes of that rule at least (text and ground).
TEST_F(Form1Test, EveryColourTemplateLeavesTheMenuAndStatusBarsReadable) {
  provideRequired();
  TForm1 form;
  form.show();
  std::vector<QWidget*> bars = {form.menuBar(), form.menu().infoBar, form.statusBar()};
  for (QLabel* panel : form.StatusBar1) bars.push_back(panel);
  const std::pair<QPalette::ColorRole, QPalette::ColorRole> roles[] = {
      {QPalette::Window, QPalette::WindowText}, {QPalette::Button, QPalette::ButtonText}};
  for (const SablonaBarev& t : SablonyBarev()) {
    SCOPED_TRACE(std::string(t.jmeno));
    form.menuItem(std::string(t.jmeno))->trigger();
    QApplication::processEvents();
    for (const QWidget* w : bars)
      for (const auto& [background, text] : roles) {
        const QPalette& p = w->palette();
        EXPECT_NE(KontrastniBarva(fromQColor(p.color(background))),
                  KontrastniBarva(fromQColor(p.color(text))))
            << w->objectName().toStdString() << " " << p.color(text).name().toStdString() << " on "
            << p.color(background).name().toStdString();
      }
    const QImage chart = form.azimut->grab().toImage();
    std::set<TColor> classes;
    for (int y = 0; y < chart.height(); ++y)
      for (int x = 0; x < chart.width(); ++x)
        classes.insert(KontrastniBarva(fromQColor(chart.pixelColor(x, y))));
    EXPECT_GE(classes.size(), 2u) << "the azimuth chart's title cannot be read";
  }
}

// A sort shows each pass in the caption, which comes back afterwards.
TEST_F(Form1Test, SortingShowsItsPassesInTheCaption) {
  provideRequired();
  TForm1 form;
  for (int i = 5; i >= 1; --i)
    form.log().Denik.appendRow({std::to_string(i), "10:00:00", "59", "OK" + std::to_string(i), "59",
                                "JO60LJ", "1", ""});
  form.refreshDenik();
  const QString caption = form.windowTitle();
  std::vector<QString> captions;
  QObject::connect(&form, &QWidget::windowTitleChanged,
                   [&](const QString& t) { captions.push_back(t); });
  form.menuItem("Setditpodlevzdlenost1")->trigger();
  ASSERT_GE(captions.size(), 2u);
  EXPECT_EQ(captions.front(), u("6 Volaček, třídím : [6]"));
  EXPECT_EQ(form.windowTitle(), caption);
}

// While dates are filled in, the panel stands in the entry line's place and
// the typed keys go into it, never into the expedition note.
TEST_F(Form1Test, DatePanelTakesTheKeysAndGivesTheLineBack) {
  provideRequired();
  TForm1 form;
  for (int i = 1; i <= 3; ++i)
    form.log().Denik.appendRow({std::to_string(i), "10:00:00", "59", "OK1AB", "59", "JO60LJ", "1", ""});
  form.refreshDenik();
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  const QString note = form.Memo1->toPlainText();
  form.menuItem("Doplnitdatumydodenku1")->trigger();
  EXPECT_TRUE(form.vstup->isHidden());
  EXPECT_FALSE(form.Edit1->isHidden());
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2"));
  EXPECT_EQ(form.Edit1->text(), QStringLiteral("2"));
  EXPECT_EQ(form.Memo1->toPlainText(), note);
  form.datumuj->click();
  EXPECT_FALSE(form.vstup->isHidden());
  EXPECT_TRUE(form.vstup->hasFocus());
}

TEST_F(Form1Test, SearchLinesReachTheDuplicateList) {
  provideRequired();
  // Search results come to the main thread as the program delivers them.
  platform::setDispatcher(platform::makeQtDispatcher());
  {
    TForm1 form;
    form.log().Denik.appendRow({"1", "10:00:00", "59", "OK1ABC Karel", "59", "JO60LJ", "120", ""});
    form.log().Denik.appendRow({"2", "10:05:00", "59", "OK2XYZ", "57", "JO70PO", "80", ""});
    form.refreshDenik();
    form.searches()->scheduler().setDelkaprodlevy(1);
    form.searches()->arm(ScheduledSearch{SearchKind::Duplyo, "OK1ABC", ""});
    for (int i = 0; i < 300 && form.wduplicity->count() < 2; ++i) {
      QApplication::processEvents(QEventLoop::AllEvents, 10);
      QThread::msleep(5);
    }
    EXPECT_FALSE(form.wduplicity->isHidden());
    ASSERT_EQ(form.wduplicity->count(), 2);
    EXPECT_TRUE(form.wduplicity->text(0).startsWith("1 (10:00:00)"));
    EXPECT_EQ(form.wduplicity->text(1), u(" celkem nalezeno duplicit : 1"));
  }
  platform::setDispatcher(nullptr);
}

// A saved name-day list reaches the entry line's search at once, with the
// index files as with the memory tables, as the town and call-sign lists do.
TEST_F(Form1Test, ASavedNameDayIsFoundByTheSearchAtOnce) {
  provideRequired();
  put(home() + "/vektrano.jmn", "0804;Dobroslav\r\n");
  platform::setDispatcher(platform::makeQtDispatcher());
  for (const bool memory : {false, true}) {
    SCOPED_TRACE(memory);
    TForm1 form;
    form.show();
    if (form.ticked("MenuRam") != memory) form.menuItem("MenuRam")->trigger();
    form.menuItem("ReindexovatDatabziSVTK1")->trigger();
    form.searches()->scheduler().setDelkaprodlevy(1);
    // The day's line, "08.04-Dobroslav" (the heading names the name too).
    auto found = [&](const char* name, const char* day) {
      form.searches()->arm(ScheduledSearch{SearchKind::Jmena, name, ""});
      for (int i = 0; i < 300; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        for (int r = 0; r < form.Memo4->count(); ++r)
          if (form.Memo4->text(r).startsWith(u(day) + "-" + u(name))) return true;
        QThread::msleep(5);
      }
      return false;
    };
    ASSERT_TRUE(found("Dobroslav", "08.04"));

    form.menuItem("Seznamsvtk1")->trigger();
    ASSERT_TRUE(Form4);
    const int row = Form4->table().addRow();
    Form4->table().grid().setRow(row, {"0904", "Bohuslav"});
    QTest::mouseClick(Form4->saveButton(), Qt::LeftButton);
    EXPECT_TRUE(found("Bohuslav", "09.04"));
    Form4->close();
    put(home() + "/vektrano.jmn", "0804;Dobroslav\r\n");
  }
  platform::setDispatcher(nullptr);
}

TEST_F(Form1Test, ReindexCommandsBuildTheIndexFilesTheSearchesRead) {
  provideRequired();
  platform::setDispatcher(platform::makeQtDispatcher());
  {
    TForm1 form;
    EXPECT_FALSE(fs::exists(home() + "/idx/locl/loc_JO70G.idx"));  // nothing built at start-up
    form.menuItem("ReindexovatVECHNYDatabze1")->trigger();
    EXPECT_TRUE(fs::exists(home() + "/idx/locl/loc_JO70G.idx"));
    EXPECT_EQ(form.StatusBar1[2]->text().left(40), u(" Doba trvání indexace všech databází  : "));

    // The towns of a typed locator are found in the new files.
    form.searches()->scheduler().setDelkaprodlevy(1);
    form.searches()->arm(ScheduledSearch{SearchKind::Mesta, "", "JO60LJ"});
    bool found = false;
    for (int i = 0; i < 300 && !found; ++i) {
      QApplication::processEvents(QEventLoop::AllEvents, 10);
      for (int r = 0; r < form.SeznamMest->count(); ++r)
        found |= form.SeznamMest->text(r).contains(u("Klínovec"));
      QThread::msleep(5);
    }
    EXPECT_TRUE(found);
  }
  platform::setDispatcher(nullptr);
}

}  // namespace
}  // namespace vektrano
