// Every command of the main window reaches what it names: a table over the
// whole menu (and the grid's pop-up) and one over the window's keys, each
// entry with its expected effect (a window opened, an option ticked and
// stored, a message, a dialog asked), driven on the offscreen platform with
// the message recorder and recording dialogs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "core/log/log.h"
#include "core/log/log_file.h"
#include "core/search/search_scheduler.h"
#include "core/session/colour_schemes.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "preview/gui/printer_qt.h"
#include "tests/support/program_folder_test.h"
#include "app/entry_adapter.h"
#include "windows/base/grid_table_model.h"
#include "windows/call_sign_import_window.h"
#include "windows/call_sign_list_window.h"
#include "windows/contact_map_window.h"
#include "windows/direction_finding_window.h"
#include "windows/locator_map_window.h"
#include "windows/town_database_window.h"
#include "windows/base/tool_window.h"

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vektrano {
namespace {

namespace fs = std::filesystem;

class CommandsTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    // The process keeps its priority; a raise is allowed unless a test says.
    previousPriority_ = platform::setProcessPriorityHook(
        [this](platform::ProcessPriority p) { return p == platform::ProcessPriority::Normal || raiseAllowed_; });
    provideRequired();
    form_ = std::make_unique<TForm1>();
    form_->setDialogs(recordingDialogs());
    form_->show();
    // Print jobs go to the PDF printer, whose file the save dialog names.
    const auto printers = preview::ProcessPrinters();
    printers->Select(printers->Count() - 1);
  }
  void TearDown() override {
    closeToolWindows();
    form_.reset();
    platform::setProcessPriority(platform::ProcessPriority::Normal);
    platform::setProcessPriorityHook(previousPriority_);
    ProgramFolderTest::TearDown();
  }

  // Every dialog is cancelled and written down as "kind:detail".
  Form1Dialogs recordingDialogs() {
    Form1Dialogs d;
    auto file = [this](const char* kind) {
      return [this, kind](const std::string& title, const std::string&, const std::string&,
                          const std::string& ext, const std::string&) -> std::optional<std::string> {
        asked_.push_back(std::string(kind) + ":" + (ext.empty() ? title : ext));
        return std::nullopt;
      };
    };
    d.saveFile = file("saveFile");
    d.saveFileOver = [this](QWidget* over, const std::string&, const std::string&, const std::string&,
                            const std::string& ext, const std::string&) -> std::optional<std::string> {
      std::string c = over ? over->metaObject()->className() : "";
      asked_.push_back("saveFileOver:" + c.substr(c.rfind(':') + 1) + ":" + ext);
      return std::nullopt;
    };
    d.openFile = file("openFile");
    d.saveLog = [this](const std::string&, const std::string&, const std::string&) {
      asked_.push_back("saveLog");
      return std::optional<std::string>();
    };
    d.openLog = [this](const std::string&, const std::string&) {
      asked_.push_back("openLog");
      return std::optional<std::string>();
    };
    d.inputText = [this](const std::string& caption, const std::string&, const std::string&) {
      asked_.push_back("inputText:" + caption);
      return std::optional<std::string>();
    };
    d.chooseFolder = [this](const std::string&) {
      asked_.push_back("chooseFolder");
      return std::optional<std::string>();
    };
    d.chooseColour = [this](unsigned) {
      asked_.push_back("chooseColour");
      return std::optional<unsigned>();
    };
    d.printerSetup = [this] {
      asked_.push_back("printerSetup");
      return false;
    };
    d.openDocument = [this](const std::string& path) { asked_.push_back("openDocument:" + path); };
    d.openUrl = [this](const std::string& url) { asked_.push_back("openUrl:" + url); };
    d.startProgram = [this](const std::string& p, const std::string&) {
      asked_.push_back("startProgram:" + p);
    };
    d.help = [this](int topic) { asked_.push_back("help:" + std::to_string(topic)); };
    return d;
  }

  // Closed as the operator closes them (the map window gives the key
  // preview back), then gone.
  static void closeToolWindows() {
    for (QWidget* w : openToolWindows()) w->close();
    for (QWidget* w : openToolWindows()) delete w;
  }
  // A log of three contacts under a name, sorted by number.
  void seedLog() {
    LogDocument& log = form_->log();
    log.Denik.setRowCount(1);
    setLogTitles(log.Denik);
    log.Denik.appendRow({"1", "10:00:00", "59", "Petr", "57", "JO70PO", "54", ""});
    log.Denik.appendRow({"2", "10:05:00", "59", "Jan", "59", "JN99JM", "200", ",chata"});
    log.Denik.appendRow({"3", "10:09:00", "55", "Eva", "55", "xx", "0", ""});
    log.PocetSpojeni = 3;
    log.lokportable = "JO70GQ";
    log.SetridenoPodle = kColCislo;
    log.SaveFileName = home() + "/UlozisteDat/test.qvl";
    form_->refreshDenik();
  }
  std::string openWindowClass() const {
    std::string out;
    for (QWidget* w : openToolWindows()) {
      std::string c = w->metaObject()->className();
      out += (out.empty() ? "" : ",") + c.substr(c.rfind(':') + 1);
    }
    return out;
  }
  // The open tool windows that do not stand on the main window: a window
  // without it as parent drops behind it at the first click on it.
  std::string windowsOffTheMainWindow() const {
    std::string out;
    for (QWidget* w : openToolWindows())
      if (w->parentWidget() != form_.get()) out += std::string(w->metaObject()->className()) + " ";
    return out;
  }
  bool messageStartsWith(const std::string& prefix) const {
    for (const std::string& m : messages_)
      if (m.rfind(prefix, 0) == 0) return true;
    return false;
  }

  std::unique_ptr<TForm1> form_;
  std::vector<std::string> asked_;
  platform::ProcessPriorityHook previousPriority_;
  bool raiseAllowed_ = true;
};

// What one command must do; every field that is set is checked.
struct Effect {
  std::string window;   // the class of the tool window that opens
  std::string message;  // the beginning of a message shown
  std::string dialog;   // a dialog asked: "kind:detail"
  std::string tick;      // this item's tick flips and what shut-down writes changes
  std::function<void(TForm1&)> setup;
  std::function<bool(TForm1&)> check;
};

using Table = std::map<std::string, Effect>;

Effect window(const char* w) { return {.window = w}; }
Effect message(const char* m) { return {.message = m}; }
Effect dialog(const std::string& d) { return {.dialog = d}; }
Effect tick(const char* item) { return {.tick = item}; }
Effect checked(std::function<bool(TForm1&)> c, std::function<void(TForm1&)> s = {}) {
  return {.setup = std::move(s), .check = std::move(c)};
}

std::string panel2(const TForm1& f) { return platform::fromQString(f.StatusBar1[2]->text()); }

Table menuTable() {
  Table t = {
      // File menu.
      {"NovyDenik",
       {.window = "TForm11", .message = "Data deníku jsou uložena", .dialog = "saveLog"}},
      {"NactiDataQVL", dialog("openLog")},
      {"UlozJakoQVL", {.message = "Data deníku jsou uložena v souboru :", .dialog = "saveLog"}},
      {"Popisexpedice1", window("TForm11")},
      {"iskpopisu1", {.window = "TForm11", .dialog = "saveFileOver:TForm11:pdf"}},
      {"iskDenku2", window("TForm7")},
      {"Vbrtiskrny1", dialog("printerSetup")},
      {"UlozitJakoHtml", dialog("saveFile:htm")},
      {"UlozXLS", dialog("saveFile:xls")},
      {"Export1", {.message = "Vyber adresář, kam chceš export update uložit.", .dialog = "chooseFolder"}},
      {"Import1", dialog("openFile:zip")},
      {"ArchivQSO1", window("TForm14")},
      {"KoncimeProgram",
       {.message = "VEKTRANO nelze ukončit",
        .setup = [](TForm1&) { new ToolWindow(93, PlacementValues::PositionOnly, WindowPlacement{}); }}},
      // The lists.
      {"Sprvaseznamloktor1", {.window = "TForm2", .message = "Upravovaná databáze lokátorů je : "}},
      {"SeznamVOLAEK1", window("TForm3")},
      {"Seznamsvtk1", window("TForm4")},
      {"SeznamZdomcnlchjmen1", window("TForm16")},
      {"Seznamslovktersenepevdjnaloktor1", window("TForm12")},
      {"ZaazovnvolaekzDenkudoseznamuVolaek1", window("TForm6")},
      {"abulkaprodoplovnreport1", window("TForm8")},
      // Auxiliary functions.
      {"Vpotyloktor1", window("TForm5")},
      {"Zamovnstanicepomocsmrovchantn1", window("TForm20")},
      {"Mapaspojen1", window("TForm10")},
      {"Spojendovelkchtverc1",
       {.window = "TForm9", .setup = [](TForm1& f) {
          for (const char* lok : {"JN89AA", "JO60LJ"})
            f.log().Denik.appendRow({"", "10:20:00", "59", "Ota", "59", lok, "100", ""});
        }}},
      {"Potuspojenvzvislostinaasu1", window("TForm21")},
      {"Setditpodlepoadovhosla1",
       checked([](TForm1& f) { return f.log().SetridenoPodle == kColCislo; },
               [](TForm1& f) { f.menuItem("Setditpodlevolaek1")->trigger(); })},
      {"Setditpodlevolaek1", checked([](TForm1& f) { return f.log().SetridenoPodle == kColVolacka; })},
      {"SetditpodleLOKTOR1", checked([](TForm1& f) { return f.log().SetridenoPodle == kColLokator; })},
      {"Setditpodlevzdlenost1", checked([](TForm1& f) { return f.log().SetridenoPodle == kColKm; })},
      {"Provepepoetvzdlenost1", message("Kontrola deníku provedena, přepočet vzdáleností proveden.")},
      {"Kontroladuplicit1", message("Hotovo. Počet nalezených duplicit = ")},
      {"Vymazatvechnypoznmky1", message("Opravdu mám provést výmaz všech poznámek")},
      {"Odstranitpopisychybpozornevratn8funkce1", message("Hotovo. Počet odstraněných popisek chyb = ")},
      {"Odstranndatumzdenku1", message("Nevratná operace - Opravdu odstranit datumy")},
      {"Doplnitdatumydodenku1", checked([](TForm1& f) { return f.datumuj->isVisible(); })},
      {"Dnesmsvtek1", message("Dnes má svátek :")},
      {"Dohledvnvolakypomocloktoruavzdlenosti1", dialog("inputText:Výchozí lokátor")},
      {"Dohledvnmstakopcepomocloktoruavzdlenosti1", dialog("inputText:Výchozí lokátor")},
      {"Zobrazseznamavizovanchportejbl1",
       checked([](TForm1& f) {
         return f.ticked("Zobrazseznamavizovanchportejbl1") && f.novrportable->isVisible();
       })},
      {"ReindexovatVECHNYDatabze1",
       checked([](TForm1& f) { return panel2(f).rfind(" Doba trvání indexace", 0) == 0; })},
      {"ReindexovatDatabziLOKTOR1",
       checked([](TForm1& f) { return panel2(f).find("INDEXOVÁNÍ HOTOVO.") != std::string::npos; })},
      {"ReIndexovatdatabziVOLAEK1",
       checked([](TForm1& f) { return panel2(f).find("INDEXOVÁNÍ HOTOVO.") != std::string::npos; })},
      {"ReindexovatDatabziSVTK1",
       checked([](TForm1& f) { return panel2(f).find("INDEXOVÁNÍ HOTOVO.") != std::string::npos; })},
      {"Normlnprioritaautomatickypostartusystmu1",
       {.setup = [](TForm1& f) { f.menuItem("VysokprioritaproprogramVEKTRANO1")->trigger(); },
        .check = [](TForm1& f) { return f.currentSettings().prioritka == 1; }}},
      {"VysokprioritaproprogramVEKTRANO1",
       checked([](TForm1& f) {
         return f.currentSettings().prioritka == 2 && f.ticked("VysokprioritaproprogramVEKTRANO1");
       })},
      {"Rychlostprocesoru1", message("Rychlost procesoru (orientačně) : ")},
      {"vojeIPadresa1", message("Tvoje IP adresa : ")},
      {"Vyuitpamti1", message("Fyz. celkem : ")},
      {"Nastavvechnyhodnotyjakopoinstalaciprogramu1",
       checked(
           [](TForm1& f) {
             return f.ticked("Automatika") && !f.ticked("doplnovatkanal") && f.ticked("aktualcas");
           },
           [](TForm1& f) {
             f.menuItem("Automatika")->setChecked(false);
             f.menuItem("doplnovatkanal")->setChecked(true);
           })},
      // Settings.
      {"PouzivatVolacky",
       checked([](TForm1& f) { return f.ticked("PouzivatVolacky") && f.currentSettings().PouzivatVolacky; },
               [](TForm1& f) { f.RezimMestaSvatky(); })},
      {"MestaSvatky", checked([](TForm1& f) { return f.currentSettings().MestaSvatky; })},
      {"zobrporcisl", tick("zobrporcisl")},
      {"zobrdatcas", tick("zobrdatcas")},
      {"Zobrrep", tick("Zobrrep")},
      {"Zobrvzd", tick("Zobrvzd")},
      {"Zobrpoz", tick("Zobrpoz")},
      {"Zobrazvechnysloupce1",
       checked([](TForm1& f) { return f.ticked("Zobrrep") && !f.Denik->isColumnHidden(kColRV); },
               [](TForm1& f) { f.menuItem("Zobrrep")->trigger(); })},
      {"Nejmen1",
       checked([](TForm1& f) { return f.currentSettings().Pismo == 0; },
               [](TForm1& f) { f.menuItem("Nejvt1")->trigger(); })},
      {"Stedn1", checked([](TForm1& f) { return f.currentSettings().Pismo == 1; })},
      {"Nejvt1", checked([](TForm1& f) { return f.currentSettings().Pismo == 2; })},
      {"doplndatum", tick("doplndatum")},
      {"doplnovatkanal",
       {.tick = "doplnovatkanal", .check = [](TForm1& f) { return f.kanal->isVisible(); }}},
      {"zobrcisspoj", {.tick = "zobrcisspoj", .check = [](TForm1& f) { return f.cisspoj->isVisible(); }}},
      {"doplnvolackuzakm",
       {.tick = "doplnvolackuzakm",
        .check = [](TForm1& f) { return f.menuItem("ZobrazLokatorProtistanice")->isEnabled(); }}},
      {"ZobrazLokatorProtistanice",
       {.tick = "ZobrazLokatorProtistanice",
        .setup = [](TForm1& f) { f.menuItem("ZobrazLokatorProtistanice")->setEnabled(true); }}},
      {"aktualcas", tick("aktualcas")},
      {"Automatika", tick("Automatika")},
      {"automatkolecko", tick("automatkolecko")},
      {"pocitejkm", tick("pocitejkm")},
      {"prijatyreportdoplnit", tick("prijatyreportdoplnit")},
      {"reporty", tick("reporty")},
      {"ukladatazimut", {.message = "Chceš přidat azimuty do všech řádků v deníku ?", .tick = "ukladatazimut"}},
      {"Vchozbodexpediceuvdt1",
       checked([](TForm1& f) {
         return f.ticked("Vchozbodexpediceuvdt1") && f.ticked("Generovatspojnice1") &&
                f.menuItem("Generovatspojnice1")->isEnabled();
       })},
      {"Generovatspojnice1",
       checked([](TForm1& f) { return f.ticked("Generovatspojnice1"); },
               [](TForm1& f) { f.menuItem("Generovatspojnice1")->setEnabled(true); })},
      {"napoveda", tick("napoveda")},
      {"klavesnicecz",
       checked([](TForm1& f) { return f.currentSettings().KlavesniceCZ && f.log().klavesnice.klavesnicecz; },
               [](TForm1& f) { f.menuItem("klavesnicesk")->trigger(); })},
      {"klavesnicesk",
       checked([](TForm1& f) { return !f.currentSettings().KlavesniceCZ && f.log().klavesnice.klavesnicesk; })},
      {"MenuRam",
       {.tick = "MenuRam", .check = [](TForm1& f) { return panel2(f).rfind("Načteno : ", 0) == 0; }}},
      {"secondstation", {.dialog = "inputText:Vlož lokátor kolegy",
                         .check = [](TForm1& f) { return !f.ticked("secondstation"); }}},
      {"threestation",
       {.dialog = "inputText:Vlož lokátor kolegy",
        .setup = [](TForm1& f) { f.menuItem("threestation")->setEnabled(true); },
        .check = [](TForm1& f) { return !f.menuItem("threestation")->isEnabled(); }}},
      {"pouzevolacky1", message("Upozornění :")},
      {"pouzevolacky2",
       {.message = "Upozornění :",
        .setup = [](TForm1& f) { f.menuItem("pouzevolacky2")->setEnabled(true); },
        .check = [](TForm1& f) { return f.currentSettings().Pouzevolacky2; }}},
      {"volackyoboje",
       {.message = "Upozornění :",
        .setup = [](TForm1& f) { f.menuItem("volackyoboje")->setEnabled(true); },
        .check = [](TForm1& f) { return f.currentSettings().Volackyoboje; }}},
      {"Zvolitdruhoudatabzivolaek1",
       {.dialog = "openFile:pvk",
        .check = [](TForm1& f) {
          return f.ticked("pouzevolacky1") && !f.menuItem("volackyoboje")->isEnabled();
        }}},
      {"pouzelok1",
       checked([](TForm1& f) { return panel2(f).rfind("Počty souborů", 0) == 0; },
               [](TForm1& f) { f.menuItem("MenuRam")->setChecked(false); })},
      {"pouzelok2",
       {.setup = [](TForm1& f) { f.menuItem("pouzelok2")->setEnabled(true); },
        .check = [](TForm1& f) { return f.currentSettings().Pouzelok2; }}},
      {"lokatoboje",
       {.setup = [](TForm1& f) { f.menuItem("lokatoboje")->setEnabled(true); },
        .check = [](TForm1& f) { return f.currentSettings().Lokatoboje; }}},
      {"Zvolitdruhoudatabzivolaek2", dialog("openFile:zr4")},
      {"Nastavitloitdat1", dialog("chooseFolder")},
      {"Nastavitlo6i3t2MAP1", dialog("chooseFolder")},
      {"NastavitloitFOTO1", dialog("chooseFolder")},
      {"NastavitloitARCHIV1", dialog("chooseFolder")},
      // Information.
      {"Npovdaapopisprogramu1", dialog("help:99")},
      {"Seznamfunknchklves1", dialog("help:4")},
      {"Nejdelspojenprmrcelkemkm1", message(" Největší dosažená vzdálenost :")},
      {"Existujenovverze1", window("TForm15")},
      {"Domovskstrnkaprogramu1", dialog("openUrl:https://vektrano.example.org/")},
      {"BklubBrodovnice1", dialog("openUrl:https://bklub-brodovnice.example.org/")},
      {"Podkovn1", message("Poděkování")},
      {"Oprogramu1", message("VEKTRANO - deník")},
      // The grid's pop-up, on a selected row.
      {"Odstranittentodekzdenku1",
       checked([](TForm1& f) { return f.log().contactCount() == 2; },
               [](TForm1& f) { f.selectCell(2, 0); })},
      {"Pedtentodekvloitprzdndek1",
       checked([](TForm1& f) { return f.log().contactCount() == 4; },
               [](TForm1& f) { f.selectCell(2, 0); })},
      {"Prohodittentodeksnsledujcmdkem1",
       {.message = "Není žádný následující řádek", .setup = [](TForm1& f) { f.selectCell(3, 0); }}},
      {"Prohodittentodekspedchozmdkem1",
       {.message = "Není žádný předchozí řádek", .setup = [](TForm1& f) { f.selectCell(1, 0); }}},
      {"Vloitchybovoupoznmku1",
       checked([](TForm1& f) { return f.log().Denik.cell(1, kColVolacka).find(".#_") != std::string::npos; },
               [](TForm1& f) { f.selectCell(1, 0); })},
      {"SmazatchybovoupoznmkunadkuSHIFTclick1",
       checked([](TForm1& f) { return f.log().Denik.cell(1, kColVolacka) == "Petr"; },
               [](TForm1& f) {
                 f.log().Denik.setCell(1, kColVolacka, "Petr .#_");
                 f.selectCell(1, 0);
               })},
      {"Zobrazenmapyktomutoloktoru1",
       {.window = "TForm13",
        .setup = [](TForm1& f) { f.selectCell(1, 0); },
        .check = [](TForm1& f) {
          return Form13 && Form13->edit()->text() == "JO70PO" &&
                 TForm13::kodVolajiciho() == kVolaVstup && !f.keyPreview();
        }}},
      {"Otev59t58dekv1", {.dialog = "openDocument:", .setup = [](TForm1& f) { f.selectCell(1, 0); }}},
  };
  // The search delays.
  for (const DelayMenuEntry& d : kDelayMenu)
    t[d.name] = checked([ticks = d.delkaprodlevy, name = std::string(d.name)](TForm1& f) {
      return f.ticked(name) && f.currentSettings().delkaprodlevy == ticks;
    });
  // The colours of the scheme ask for a colour; a template becomes the scheme.
  for (const PolozkaBarvy& p : PolozkyBarev()) t[std::string(p.jmeno)] = dialog("chooseColour");
  for (const SablonaBarev& s : SablonyBarev())
    t[std::string(s.jmeno)] = checked([b = s.schema](TForm1& f) {
      return static_cast<TColor>(f.currentSettings().BPOZ) == b.BPOZ &&
             static_cast<TColor>(f.currentSettings().BPVR) == b.BPVR;
    });
  return t;
}

TEST_F(CommandsTest, EveryMenuItemDoesWhatItNames) {
  const Table table = menuTable();
  // Every item of the built menus is in the table (submenus and separators
  // only hold items).
  for (const auto& [name, action] : form_->menu().actions) {
    if (action->isSeparator() || action->menu()) continue;
    EXPECT_TRUE(table.count(name)) << "no expected effect for " << name;
  }
  for (const auto& [name, effect] : table) {
    SCOPED_TRACE(name);
    QAction* item = form_->menuItem(name);
    ASSERT_NE(item, nullptr);
    closeToolWindows();
    seedLog();
    if (effect.setup) effect.setup(*form_);
    messages_.clear();
    asked_.clear();
    const MainWindowSettings before = form_->currentSettings();
    const bool tickBefore = effect.tick.empty() ? false : form_->ticked(effect.tick);

    item->trigger();
    QApplication::processEvents();

    bool something = false;
    if (!effect.window.empty()) {
      EXPECT_NE(openWindowClass().find(effect.window), std::string::npos) << openWindowClass();
      EXPECT_EQ(windowsOffTheMainWindow(), "");
      something = true;
    }
    if (!effect.message.empty()) {
      EXPECT_TRUE(messageStartsWith(effect.message)) << testing::PrintToString(messages_);
      something = true;
    }
    if (!effect.dialog.empty()) {
      bool asked = false;
      for (const std::string& a : asked_) asked |= a.rfind(effect.dialog, 0) == 0;
      EXPECT_TRUE(asked) << testing::PrintToString(asked_);
      something = true;
    }
    if (!effect.tick.empty()) {
      EXPECT_NE(form_->ticked(effect.tick), tickBefore);
      EXPECT_FALSE(form_->currentSettings() == before) << "the tick is not stored";
      something = true;
    }
    if (effect.check) {
      EXPECT_TRUE(effect.check(*form_));
      something = true;
    }
    EXPECT_TRUE(something) << "an entry must name its effect";
  }
}

// The priority items tick what the process runs at: a refused raise is
// told and leaves normal ticked, and the speed measurement, which raises the
// priority for a moment, leaves the chosen one in force.
TEST_F(CommandsTest, PriorityTicksFollowThePriorityInForce) {
  using platform::ProcessPriority;
  struct Case {
    bool raiseAllowed;
    int prioritka;
    const char* ticked;
    ProcessPriority inForce;
  } cases[] = {
      {true, 2, "VysokprioritaproprogramVEKTRANO1", ProcessPriority::High},
      {false, 1, "Normlnprioritaautomatickypostartusystmu1", ProcessPriority::Normal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.raiseAllowed);
    form_->menuItem("Normlnprioritaautomatickypostartusystmu1")->trigger();
    raiseAllowed_ = c.raiseAllowed;
    messages_.clear();
    form_->menuItem("VysokprioritaproprogramVEKTRANO1")->trigger();
    EXPECT_EQ(messages_.size(), c.raiseAllowed ? 0u : 1u);
    if (!c.raiseAllowed) {
      EXPECT_TRUE(messageStartsWith("Vysokou prioritu se nepodařilo nastavit")) << messages_[0];
    }
    form_->menuItem("Rychlostprocesoru1")->trigger();
    EXPECT_EQ(platform::processPriority(), c.inForce);
    EXPECT_TRUE(form_->ticked(c.ticked));
    EXPECT_EQ(form_->ticked("VysokprioritaproprogramVEKTRANO1"), c.prioritka == 2);
    EXPECT_EQ(form_->currentSettings().prioritka, c.prioritka);
  }
}

// The window's keys. Each Ctrl combination is consumed: the entry line,
// which has the focus, keeps its text (Ctrl+A, Ctrl+Z, Ctrl+U would edit it).
struct KeyCase {
  const char* note;
  Qt::Key key;
  Qt::KeyboardModifiers mods;
  Effect effect;
  bool lineKept = true;
};

TEST_F(CommandsTest, EveryKeyOfTheWindowDoesWhatItNames) {
  const auto kolecko = [](TForm1& f) { return f.ticked("automatkolecko"); };
  const KeyCase cases[] = {
      {"F9", Qt::Key_F9, Qt::NoModifier, checked([](TForm1& f) { return !f.modeVolacky(); })},
      {"F10", Qt::Key_F10, Qt::NoModifier, checked([](TForm1& f) { return !f.modeVolacky(); })},
      {"F11", Qt::Key_F11, Qt::NoModifier, checked([](TForm1& f) { return !f.modeVolacky(); })},
      {"F1", Qt::Key_F1, Qt::NoModifier, window("TForm5")},
      {"Ctrl+F1 on", Qt::Key_F1, Qt::ControlModifier, {.window = "TForm5", .check = kolecko}},
      {"Ctrl+F1 off", Qt::Key_F1, Qt::ControlModifier,
       {.setup = [](TForm1& f) { f.menuItem("automatkolecko")->setChecked(true); },
        .check = [](TForm1& f) { return !f.ticked("automatkolecko"); }}},
      {"F8", Qt::Key_F8, Qt::NoModifier,
       {.window = "TForm10",
        .check = [](TForm1&) {
          return Form10 && Form10->status() == " Hotovo ..." && !Form10->obrazek().isNull();
        }}},
      {"F12 with a typed locator", Qt::Key_F12, Qt::NoModifier,
       {.window = "TForm13",
        .setup = [](TForm1& f) {
          f.vstup->setText("OK1ABC JO70PO");
          QTest::keyClick(f.vstup, Qt::Key_End);
        },
        .check = [](TForm1& f) {
          return Form13->edit()->text() == "JO70PO" && TForm13::kodVolajiciho() == kVolaVstup &&
                 Form13->pouzit()->isVisibleTo(Form13) && !f.keyPreview();
        }}},
      {"Ctrl+F8", Qt::Key_F8, Qt::ControlModifier,
       checked([](TForm1& f) { return f.log().contactCount() == 2; }), false},
      {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, window("TForm14")},
      {"Ctrl+D", Qt::Key_D, Qt::ControlModifier, window("TForm17")},
      {"Ctrl+E", Qt::Key_E, Qt::ControlModifier, window("TForm11")},
      {"Ctrl+I", Qt::Key_I, Qt::ControlModifier, window("TForm15")},
      {"Ctrl+N", Qt::Key_N, Qt::ControlModifier, {.window = "TForm11", .dialog = "saveLog"}, false},
      {"Ctrl+O", Qt::Key_O, Qt::ControlModifier, dialog("openLog")},
      {"Ctrl+Q", Qt::Key_Q, Qt::ControlModifier,
       checked([](TForm1& f) { return f.ticked("Automatika"); },
               [](TForm1& f) { f.menuItem("Automatika")->setChecked(false); })},
      {"Ctrl+R", Qt::Key_R, Qt::ControlModifier,
       checked([](TForm1& f) { return f.novrportable->isVisible(); }), false},
      {"Ctrl+S", Qt::Key_S, Qt::ControlModifier, message("Dnes má svátek :")},
      {"Ctrl+T", Qt::Key_T, Qt::ControlModifier, window("TForm7")},
      {"Ctrl+U", Qt::Key_U, Qt::ControlModifier, dialog("saveLog")},
      {"Ctrl+Y", Qt::Key_Y, Qt::ControlModifier, message(" Největší dosažená vzdálenost :")},
      {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, message(" Největší dosažená vzdálenost :")},
      {"Ctrl+Shift+F12", Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier,
       {.message = "Neveřejné funkce aktivovány ...",
        .check = [](TForm1& f) {
          return f.menuItem("reporty")->isVisible() &&
                 f.menuItem("abulkaprodoplovnreport1")->isVisible();
        }}},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.note);
    closeToolWindows();
    seedLog();
    form_->RezimVolacky();
    form_->vstup->setText("Abc");
    form_->vstup->setFocus();
    if (c.effect.setup) c.effect.setup(*form_);
    const QString line = form_->vstup->text();
    messages_.clear();
    asked_.clear();

    QTest::keyClick(form_->vstup, c.key, c.mods);
    QApplication::processEvents();

    if (!c.effect.window.empty()) {
      EXPECT_NE(openWindowClass().find(c.effect.window), std::string::npos) << openWindowClass();
      EXPECT_EQ(windowsOffTheMainWindow(), "");
    }
    if (!c.effect.message.empty()) {
      EXPECT_TRUE(messageStartsWith(c.effect.message)) << testing::PrintToString(messages_);
    }
    if (!c.effect.dialog.empty()) {
      EXPECT_FALSE(asked_.empty() || asked_[0] != c.effect.dialog) << testing::PrintToString(asked_);
    }
    if (c.effect.check) {
      EXPECT_TRUE(c.effect.check(*form_));
    }
    if (c.lineKept && (c.mods & Qt::ControlModifier)) {
      EXPECT_EQ(form_->vstup->text(), line);
    }
  }
}

TEST_F(CommandsTest, KeysWithoutTheirConditionDoNothing) {
  seedLog();
  // F12 without a valid typed locator, and the chord again: it only shows.
  form_->vstup->setText("OK1ABC");
  QTest::keyClick(form_->vstup, Qt::Key_End);
  messages_.clear();
  QTest::keyClick(form_->vstup, Qt::Key_F12);
  EXPECT_TRUE(messages_.empty());
  for (int i = 0; i < 2; ++i) QTest::keyClick(form_->vstup, Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(messages_.size(), 2u);
  EXPECT_TRUE(form_->menuItem("reporty")->isVisible());
  // The grid's map of a row whose locator is none.
  form_->selectCell(3, 0);
  messages_.clear();
  form_->menuItem("Zobrazenmapyktomutoloktoru1")->trigger();
  EXPECT_EQ(messages_, std::vector<std::string>{"Lokátor : [XX] není platným lokátorem ..."});
}

// The commands once their dialogs are answered.
TEST_F(CommandsTest, AnsweredDialogsReachTheirEffect) {
  TForm1& f = *form_;
  seedLog();
  std::vector<std::string> answers;
  Form1Dialogs d = recordingDialogs();
  d.inputText = [&](const std::string& caption, const std::string&, const std::string&) {
    asked_.push_back("inputText:" + caption);
    if (answers.empty()) return std::optional<std::string>();
    std::string a = answers.front();
    answers.erase(answers.begin());
    return std::optional<std::string>(a);
  };
  std::optional<std::string> folder, file;
  d.chooseFolder = [&](const std::string&) { return folder; };
  d.openFile = [&](const std::string&, const std::string&, const std::string&, const std::string&,
                   const std::string&) { return file; };
  d.saveFile = d.openFile;
  f.setDialogs(d);

  // A second station typed with the digit-row letters is converted first.
  answers = {"jo7égq"};
  f.menuItem("secondstation")->trigger();
  EXPECT_TRUE(f.ticked("secondstation"));
  EXPECT_EQ(f.currentSettings().loksecondary, "JO70GQ");
  EXPECT_TRUE(f.menuItem("threestation")->isEnabled());
  answers = {"nic"};  // the third one is no locator: unticked and greyed out
  f.menuItem("threestation")->trigger();
  EXPECT_FALSE(f.ticked("threestation"));
  EXPECT_FALSE(f.menuItem("threestation")->isEnabled());
  f.menuItem("secondstation")->trigger();  // ticked: a click unticks it
  EXPECT_FALSE(f.ticked("secondstation"));

  // Reverse search: the call signs at 100 to 300 km from JO70GQ.
  put(platform::dataFile(home(), ".pvk"), "JO60LJ;Ok1abc;1.1.2000\r\nJO70GQ;Ok2xyz;Nezjištěno\r\n");
  answers = {"jo70gq", "100", "300"};
  f.menuItem("Dohledvnvolakypomocloktoruavzdlenosti1")->trigger();
  ASSERT_TRUE(f.wvolacky->isVisible());
  EXPECT_FALSE(f.Denik->isVisible());
  ASSERT_EQ(f.wvolacky->count(), 3);
  EXPECT_TRUE(f.wvolacky->text(1).startsWith("JO60LJ-Ok1abc - 1.1.2000 / "));
  messages_.clear();
  answers = {"JO70GQ", "0", "100"};
  f.menuItem("Dohledvnmstakopcepomocloktoruavzdlenosti1")->trigger();
  EXPECT_EQ(messages_, std::vector<std::string>{"Nulové hodnoty nejsou povoleny, počítám od 1 km ..."});

  // The program folder as the MAP folder gives its sub-folder; the archive
  // folder is seeded with its first archive.
  messages_.clear();
  folder = home();
  f.menuItem("Nastavitlo6i3t2MAP1")->trigger();
  EXPECT_EQ(f.currentSettings().UlozisteMap, home() + "/UlozisteMap");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("Nově nastavený adresář pro Uložiště MAP je : " + home() + "/UlozisteMap"),
            std::string::npos);
  EXPECT_EQ(panel2(f), "Úložiště MAP : " + home() + "/UlozisteMap");
  folder = home() + "/archivy";
  fs::create_directories(*folder);
  f.menuItem("NastavitloitARCHIV1")->trigger();
  EXPECT_EQ(f.currentSettings().UlozisteArchiv, *folder);
  EXPECT_TRUE(fs::exists(*folder + "/archiv.zr4"));
  EXPECT_TRUE(fs::exists(*folder + "/001/deniky.pbl"));

  // A second call-sign list chosen: both lists searched, the notice shown.
  messages_.clear();
  file = home() + "/moje.pvk";
  put(*file, "JO70PO;Ok9zz;1.1.2000\r\n");
  f.menuItem("Zvolitdruhoudatabzivolaek1")->trigger();
  EXPECT_TRUE(f.ticked("volackyoboje"));
  EXPECT_TRUE(f.menuItem("pouzevolacky2")->isEnabled());
  EXPECT_EQ(f.currentSettings().VolackyAlter, *file);
  EXPECT_TRUE(messageStartsWith("Upozornění :"));

  // The export under a chosen name, then opened by the desktop.
  asked_.clear();
  file = home() + "/UlozisteDat/vystup";
  f.menuItem("UlozitJakoHtml")->trigger();
  EXPECT_TRUE(fs::exists(home() + "/UlozisteDat/vystup.htm"));
  EXPECT_EQ(asked_, std::vector<std::string>{"openDocument:" + home() + "/UlozisteDat/vystup.htm"});
}

// The map window opened from a list window (a double click on a locator)
// hands the locator it shows back into the row it was opened for, through
// the target the main window gave it for that caller code; never into a row
// that changed meanwhile, never into a window that is gone.
struct HandBackCase {
  const char* note;
  const char* command;
  int code;
  // The grid of the window the command opened (shown if the window hides it).
  std::function<ListView*()> grid;
  std::function<Grid&()> cells;
  // Done while the map is open: 0 nothing, 1 the row edited, 2 the window closed.
  int meanwhile;
  bool written;
};

TEST_F(CommandsTest, TheMapHandsItsLocatorBackIntoTheRowItWasOpenedFor) {
  put(platform::dataFile(home(), ".pvk"), "JO60LJ;Ok1abc;1.1.2000\r\nJO70GQ;Ok2xyz;Nezjištěno\r\n");
  auto form2Grid = [] { return Form2 ? Form2->view() : nullptr; };
  auto form2Cells = []() -> Grid& { return Form2->table().grid(); };
  auto form3Grid = [] { return Form3 ? Form3->view() : nullptr; };
  auto form3Cells = []() -> Grid& { return Form3->table().grid(); };
  auto form6Grid = [](int g) {
    return [g]() -> ListView* {
      if (!Form6) return nullptr;
      ListView* v = g == 2 ? Form6->StringGrid2() : Form6->StringGrid3();
      v->show();  // the import shows its grids once a log is chosen
      return v;
    };
  };
  auto form6Cells = [](int g) {
    return [g]() -> Grid& {
      return static_cast<GridTableModel*>((g == 2 ? Form6->StringGrid2() : Form6->StringGrid3())->model())
          ->grid();
    };
  };
  const HandBackCase cases[] = {
      {"town database", "Sprvaseznamloktor1", kVolaLokatory, form2Grid, form2Cells, 0, true},
      {"town database, row edited", "Sprvaseznamloktor1", kVolaLokatory, form2Grid, form2Cells, 1, false},
      {"town database closed", "Sprvaseznamloktor1", kVolaLokatory, form2Grid, form2Cells, 2, false},
      {"call-sign list", "SeznamVOLAEK1", kVolaVolacky, form3Grid, form3Cells, 0, true},
      {"call-sign list, row edited", "SeznamVOLAEK1", kVolaVolacky, form3Grid, form3Cells, 1, false},
      {"import: the call-sign list", "ZaazovnvolaekzDenkudoseznamuVolaek1", kVolaImportVolacek,
       form6Grid(2), form6Cells(2), 0, true},
      {"import: the towns", "ZaazovnvolaekzDenkudoseznamuVolaek1", kVolaImportMest, form6Grid(3),
       form6Cells(3), 0, true},
      {"import closed", "ZaazovnvolaekzDenkudoseznamuVolaek1", kVolaImportMest, form6Grid(3),
       form6Cells(3), 2, false},
  };
  for (const HandBackCase& c : cases) {
    SCOPED_TRACE(c.note);
    closeToolWindows();
    form_->menuItem(c.command)->trigger();
    ListView* view = c.grid();
    ASSERT_NE(view, nullptr);
    QApplication::processEvents();
    const QModelIndex cell = view->model()->index(0, 0);
    const std::string before = c.cells().cell(0, 0);
    const QPoint at = view->visualRect(cell).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(Form13) << "no map window";
    EXPECT_EQ(TForm13::kodVolajiciho(), c.code);
    EXPECT_EQ(platform::fromQString(Form13->edit()->text()), before);
    EXPECT_FALSE(form_->keyPreview());

    if (c.meanwhile == 1) c.cells().setCell(0, 1, "Jinak");
    if (c.meanwhile == 2) view->window()->close();
    QApplication::processEvents();
    Form13->edit()->setText("JN99JM");
    QTest::mouseClick(Form13->pouzit(), Qt::LeftButton);
    QApplication::processEvents();

    EXPECT_TRUE(!Form13 || !Form13->isVisible()) << "the map window stays open";
    EXPECT_TRUE(form_->keyPreview()) << "the key preview was not given back";
    if (c.meanwhile != 2) {
      EXPECT_EQ(c.cells().cell(0, 0), c.written ? "JN99JM" : before);
    }
  }
}

// F12 opens the map for the entry line; its "Použít lokátor" puts the
// shown locator in place of the typed one.
TEST_F(CommandsTest, TheMapOfTheEntryLineReplacesTheTypedLocator) {
  seedLog();
  form_->vstup->setText("OK1ABC JO70PO");
  form_->vstup->setFocus();
  QTest::keyClick(form_->vstup, Qt::Key_End);
  const QString typed = form_->vstup->text();  // as the entry line tidied it
  ASSERT_TRUE(typed.endsWith("JO70PO"));
  QTest::keyClick(form_->vstup, Qt::Key_F12);
  ASSERT_TRUE(Form13);
  Form13->edit()->setText("JO70PQ");
  QTest::mouseClick(Form13->pouzit(), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(form_->vstup->text(), typed.left(typed.size() - 6) + "JO70PQ");
  EXPECT_TRUE(form_->keyPreview());
}

// A click on the direction-finding map puts its locator into the entry
// line, which reads it at once as after a Space (the look-ups due again).
TEST_F(CommandsTest, DirectionFindingHandsItsLocatorToTheEntryLine) {
  seedLog();
  form_->vstup->setText("OK1ABC JO70PO");
  QTest::keyClick(form_->vstup, Qt::Key_End);
  form_->menuItem("Zamovnstanicepomocsmrovchantn1")->trigger();
  ASSERT_TRUE(Form20);
  Form20->lokator()->setText("JN89AA");
  Form20->mapaClick();
  EXPECT_EQ(form_->vstup->text(), "JN89AA ");
  EXPECT_EQ(form_->entry()->parts().LokatorProtistanice, "JN89AA");
  EXPECT_EQ(form_->entry()->state().klice.mesta, "JN89AA");
}

// An update that renewed the program, or an import of the update zip, ends
// the program although tool windows are open: each is closed, the log and
// the settings are written, and the new program is named for the restart.
TEST_F(CommandsTest, TheEndAnUpdateAsksForIsNotRefusedForOpenToolWindows) {
  seedLog();
  form_->menuItem("Seznamsvtk1")->trigger();
  form_->menuItem("Vpotyloktor1")->trigger();
  ASSERT_EQ(openToolWindows().size(), 2u);
  messages_.clear();
  form_->ukonciProgram(home() + "/vektrano");
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  EXPECT_FALSE(messageStartsWith("VEKTRANO nelze ukončit")) << testing::PrintToString(messages_);
  for (QWidget* w : openToolWindows()) EXPECT_FALSE(w->isVisible()) << w->windowTitle().toStdString();
  EXPECT_FALSE(form_->isVisible());
  ASSERT_TRUE(form_->closeResult().has_value());
  EXPECT_TRUE(form_->closeResult()->denikUlozen);
  EXPECT_TRUE(form_->closeResult()->nastaveniZapsano);
  EXPECT_EQ(form_->programPoUkonceni(), home() + "/vektrano");
}

// "Tisk popisu Expedice" prints the description window's picture on the
// current printer; the PDF printer asks for its file in the data folder.
TEST_F(CommandsTest, TheDescriptionIsPrintedToTheFileThePdfPrinterIsGiven) {
  seedLog();
  const std::string pdf = home() + "/UlozisteDat/popis.pdf";
  std::string folder, proposed;
  QWidget* over = nullptr;
  Form1Dialogs d = recordingDialogs();
  d.saveFileOver = [&](QWidget* o, const std::string&, const std::string& f, const std::string& p,
                       const std::string&, const std::string&) {
    over = o;
    folder = f;
    proposed = p;
    return std::optional<std::string>(pdf);
  };
  form_->setDialogs(d);
  form_->menuItem("iskpopisu1")->trigger();
  // Over the description window, which stays on top of the main window.
  ASSERT_NE(over, nullptr);
  EXPECT_STREQ(over->metaObject()->className(), "vektrano::TForm11");
  EXPECT_EQ(folder, form_->currentSettings().UlozisteDat);
  EXPECT_EQ(proposed, "Denik.pdf");
  ASSERT_TRUE(fs::exists(pdf));
  std::ifstream in(pdf, std::ios::binary);
  std::string head(5, '\0');
  in.read(head.data(), 5);
  EXPECT_EQ(head, "%PDF-");
  EXPECT_GT(fs::file_size(pdf), 1000u);
}

}  // namespace
}  // namespace vektrano
