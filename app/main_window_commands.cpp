// The main window's commands: the menu items that open windows, the file
// commands, the options that do more than tick themselves, the information
// messages and the storage folders. Each asks its dialogs through dialogs()
// and leaves the work to the plain logic.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableView>
#include <filesystem>

#include "app/entry_adapter.h"
#include "app/focus_keeper.h"
#include "app/log_grid_delegate.h"
#include "app/main_window.h"
#include "core/base/geometry.h"
#include "core/base/text.h"
#include "core/log/azimuth_notes.h"
#include "core/log/log_editing.h"
#include "core/log/log_export.h"
#include "core/log/log_file.h"
#include "core/log/log_statistics.h"
#include "core/log/recalculation.h"
#include "core/reference/name_days.h"
#include "core/reference/reverse_search.h"
#include "core/search/search_scheduler.h"
#include "core/session/option_commands.h"
#include "core/tools/system_info.h"
#include "platform/cp1250.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "windows/archive_window.h"
#include "windows/calling_sender_window.h"
#include "windows/exception_words_window.h"
#include "windows/familiar_names_window.h"
#include "windows/name_days_window.h"
#include "windows/report_table_window.h"
#include "windows/round_distances_window.h"

namespace vektrano {

namespace {

QString q(const std::string& s) { return platform::toQString(s); }

constexpr const char* kTitulekUlozeni = "Zvol jméno souboru pod kterým se uloží deník : ";
constexpr const char* kDomovskaStranka = "https://vektrano.example.org/";
constexpr const char* kStrankaKlubu = "https://bklub-brodovnice.example.org/";

std::string oProgramu() {
  return std::string("VEKTRANO - deník pro expedice a DX provoz v pásmu CB.") + "\r\n\r\n" +
         "Program zapisuje spojení v reálném čase, počítá vzdálenosti a azimuty z lokátorů, "
         "vyhledává města, volačky a svátky a ukládá deník po každém spojení." +
         "\r\n\r\n" +
         "Program je volně šiřitelný (freeware): smí se kopírovat a rozdávat zdarma, "
         "jen vcelku a beze změn; nesmí se prodávat." +
         "\r\n\r\n" + kVersionText + "\r\n\r\n" + "Domovská stránka programu : " +
         kDomovskaStranka;
}

std::string podekovani() {
  return std::string("Poděkování") + "\r\n\r\n" +
         "Děkuji všem, kteří program zkoušeli, posílali připomínky, seznamy volaček, lokátorů a "
         "svátků, a celému B-klubu Brodovnice za trpělivost při testování na kopcích." +
         "\r\n\r\n" + "B-klub Brodovnice : " + kStrankaKlubu;
}

std::string poznamkaPortejbly() {
  return std::string("Seznam avizovaných portejblů zatím nebyl stažen.") + "\r\n\r\n" +
         "Stáhne ho aktualizace programu z internetu [CTRL+I] (Info / Existuje nová verze "
         "programu ?).";
}

}  // namespace

// ------------------------------------------------------------ connections

void TForm1::connectCommands() {
  auto on = [this](const char* name, auto fn) {
    if (QAction* a = menu_.action(name)) connect(a, &QAction::triggered, this, fn);
  };
  connectToolWindows();

  // File menu.
  on("NovyDenik", [this] { NovyDenik(); });
  on("NactiDataQVL", [this] { NactiDataQVL(); });
  on("UlozJakoQVL", [this] { UlozJakoQVL(); });
  on("UlozitJakoHtml", [this] { UlozitJakoHtml(); });
  on("UlozXLS", [this] { UlozXLS(); });
  // The one printer set-up of the program: it chooses the current printer of
  // every page list.
  on("Vbrtiskrny1", [this] {
    if (dialogs_.printerSetup) dialogs_.printerSetup();
  });
  on("ArchivQSO1", [this] {
    openArchiveWindow(settings_.UlozisteArchiv, settings_.UlozisteDat, log_.klavesnice, this);
  });

  // The lists.
  const auto keyboard = [this] { return log_.klavesnice; };
  on("Seznamsvtk1", [this] {
    openForm4(
        platform::programFolder(), log_.klavesnice, [this] { poUlozeniSeznamu(IndexKind::Jmn); },
        this);
  });
  on("SeznamZdomcnlchjmen1", [this] {
    openForm16(
        platform::programFolder(), [this] { poUlozeniSeznamu(std::nullopt); },
        [this](const TabulkaSynonym& t) { prevezmiSynonyma(t); }, this);
  });
  on("Seznamslovktersenepevdjnaloktor1", [this, keyboard] {
    openForm12(platform::dataFile(platform::programFolder(), ".dup"), keyboard, {}, this);
  });

  // Auxiliary functions.
  on("Vpotyloktor1", [this] { otevriKolecko(); });
  on("Dnesmsvtek1", [this] { DnesSvatek(); });
  on("Dohledvnvolakypomocloktoruavzdlenosti1", [this] { Dohledavani(false); });
  on("Dohledvnmstakopcepomocloktoruavzdlenosti1", [this] { Dohledavani(true); });
  on("Zobrazseznamavizovanchportejbl1", [this] { Zobrazseznamavizovanchportejbl1Click(); });
  on("Normlnprioritaautomatickypostartusystmu1", [this] { NastavPrioritu(1); });
  on("VysokprioritaproprogramVEKTRANO1", [this] { NastavPrioritu(2); });
  on("Rychlostprocesoru1", [] {
    platform::showMessage(zpravaRychlostiProcesoru(zmerRychlostProcesoru()));
  });
  on("vojeIPadresa1", [] { platform::showMessage(zpravaIPAdresy(mistniAdresy())); });
  on("Vyuitpamti1", [] { platform::showMessage(zpravaPameti(platform::memoryStatus())); });
  on("Nastavvechnyhodnotyjakopoinstalaciprogramu1", [this] { NastavVychozi(); });

  // Settings.
  on("zobrcisspoj", [this] { cisspoj->setText(q(SpocitejCisloSpojeni(log_))); });
  on("aktualcas", [this] { focusVstup(); });
  on("ukladatazimut", [this] { ukladatazimutClick(); });
  on("Vchozbodexpediceuvdt1", [this] {
    const bool on = ticked("Vchozbodexpediceuvdt1");
    setTick("Generovatspojnice1", on);
    setEnabledItem("Generovatspojnice1", on);
  });
  on("MenuRam", [this] { MenuRamClick(); });
  on("secondstation", [this] { secondstationClick(); });
  on("threestation", [this] { threestationClick(); });
  on("pouzevolacky1", [this] { databazeVolacek(1); });
  on("pouzevolacky2", [this] { databazeVolacek(2); });
  on("volackyoboje", [this] { databazeVolacek(3); });
  on("pouzelok1", [this] { databazeLokatoru(1); });
  on("pouzelok2", [this] { databazeLokatoru(2); });
  on("lokatoboje", [this] { databazeLokatoru(3); });
  on("Zvolitdruhoudatabzivolaek1", [this] { zvolDruhouDatabazi(true); });
  on("Zvolitdruhoudatabzivolaek2", [this] { zvolDruhouDatabazi(false); });
  on("Nastavitloitdat1", [this] { Nastavitloitdat1Click(); });
  on("Nastavitlo6i3t2MAP1", [this] { zvolUloziste(static_cast<int>(Uloziste::Map)); });
  on("NastavitloitFOTO1", [this] { zvolUloziste(static_cast<int>(Uloziste::Foto)); });
  on("NastavitloitARCHIV1", [this] { zvolUloziste(static_cast<int>(Uloziste::Archiv)); });

  // Information.
  on("Npovdaapopisprogramu1", [this] {
    if (dialogs_.help) dialogs_.help(99);
  });
  on("Seznamfunknchklves1", [this] {
    if (dialogs_.help) dialogs_.help(4);
  });
  on("Nejdelspojenprmrcelkemkm1", [this] { StatusBar1DblClick(); });
  on("Oprogramu1", [] { platform::showMessage(oProgramu(), platform::MessageKind::Info, "O programu"); });
  on("Podkovn1", [] { platform::showMessage(podekovani(), platform::MessageKind::Info, "Poděkování"); });
  on("Domovskstrnkaprogramu1", [this] {
    if (dialogs_.openUrl) dialogs_.openUrl(kDomovskaStranka);
  });
  on("BklubBrodovnice1", [this] {
    if (dialogs_.openUrl) dialogs_.openUrl(kStrankaKlubu);
  });

  // The grid's pop-up: the map of the selected row's locator.
  on("Zobrazenmapyktomutoloktoru1", [this] {
    if (!vybranyRadek_) return;
    const std::string lok = prevod(log_.Denik.cell(vybranyRadek_, kColLokator), log_.klavesnice);
    if (!testlok(lok)) {
      platform::showMessage("Lokátor : [" + lok + "] není platným lokátorem ...");
      return;
    }
    otevrimapu(lok, 1);
  });
}

void TForm1::focusVstup() {
  vstup->setFocus();
  vstup->end(false);
}

// ---------------------------------------------------------------- the log

void TForm1::NovyDenik() {
  if (!dialogs_.saveLog) return;
  const std::optional<std::string> chosen =
      dialogs_.saveLog(kTitulekUlozeni, settings_.UlozisteDat, log_.SaveFileName);
  if (!vektrano::NovyDenik(log_, chosen, settings_.UlozisteDat)) return;
  if (entry_) {
    entry_->state().klice = PosledniKlice{};
    entry_->state().bezJmenaOznameno = false;
  }
  lokportable->setText(q(log_.lokportable));
  Memo1->clear();
  refreshDenik();
  Popisexpedice();
}

void TForm1::NactiDataQVL() {
  if (!dialogs_.openLog) return;
  const std::optional<std::string> chosen = dialogs_.openLog(settings_.UlozisteDat, log_.SaveFileName);
  if (!chosen) return;
  const NacteniVysledek v = vektrano::NactiDataQVL(log_, chosen, settings_.UlozisteDat, *synonyma_);
  if (!v.ok) return;
  if (entry_) entry_->state().klice = PosledniKlice{};
  if (v.doplndatum) setTick("doplndatum", true);
  lokportable->setText(q(log_.lokportable));
  refreshDenik();
  Popisexpedice();
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
}

void TForm1::UlozJakoQVL() {
  if (!dialogs_.saveLog) return;
  const std::optional<std::string> chosen =
      dialogs_.saveLog(kTitulekUlozeni, settings_.UlozisteDat, log_.SaveFileName);
  vektrano::UlozJakoQVL(log_, chosen, settings_.UlozisteDat);
  refreshDenik();
}

void TForm1::UlozitJakoHtml() {
  const DialogExportu d = dialogExportu(DruhExportu::Html);
  if (!dialogs_.saveFile) return;
  const auto chosen = dialogs_.saveFile({}, settings_.UlozisteDat, {}, d.pripona, d.filtr);
  if (!chosen) return;
  const auto written = ExportHTML(log_, *chosen);
  refreshDenik();
  setStatusPanel(2, log_.panel2);
  if (written && dialogs_.openDocument) dialogs_.openDocument(*written);
}

void TForm1::UlozXLS() {
  const DialogExportu d = dialogExportu(DruhExportu::Xls);
  if (!dialogs_.saveFile) return;
  const auto chosen = dialogs_.saveFile({}, settings_.UlozisteDat, {}, d.pripona, d.filtr);
  if (!chosen) return;
  const auto written = ExportXLS(log_, *chosen);
  refreshDenik();
  setStatusPanel(2, log_.panel2);
  if (written && dialogs_.openDocument) dialogs_.openDocument(*written);
}

void TForm1::ukladatazimutClick() {
  const std::optional<int> n =
      ticked("ukladatazimut") ? PridejAzimuty(log_) : OdeberAzimuty(log_);
  if (n && *n > 0) poUprave(true);
}

// ------------------------------------------------------------- the windows

void TForm1::otevriKolecko() {
  openForm5(log_.lokportable, entry_ ? entry_->parts().LokatorProtistanice : std::string(),
            [this] { return log_.klavesnice; }, this);
}

void TForm1::startform5() { otevriKolecko(); }

// ------------------------------------------------------ information

void TForm1::StatusBar1DblClick() {
  if (const auto text = zpravaStatistik(log_)) platform::showMessage(*text);
}

void TForm1::DnesSvatek() {
  const std::string path = nameDaysPath(platform::programFolder());
  const platform::DateTime now = platform::now();
  platform::showMessage(textDnesSvatek(platform::readWholeFile(path), path, now.day, now.month));
}

void TForm1::Zobrazseznamavizovanchportejbl1Click() {
  if (!ticked("Zobrazseznamavizovanchportejbl1")) {
    novrportable->hide();
    focusVstup();
    return;
  }
  novrportable->show();
  novrportable->raise();
  novrportable->setFocus();
  novrportable->clear();
  novrportable->setPlainText(q(poznamkaPortejbly()));
  const std::string path = platform::joinPath(platform::programFolder(), "portable.txt");
  setWindowTitle(platform::pathToQString(path));
  if (const auto text = platform::readWholeFile(path)) novrportable->setPlainText(q(*text));
}

void TForm1::schovejPortejbly() {
  if (novrportable->isHidden()) return;
  novrportable->hide();
  setTick("Zobrazseznamavizovanchportejbl1", false);
}

void TForm1::NastavPrioritu(int choice) {
  setTick("Normlnprioritaautomatickypostartusystmu1", false);
  setTick("VysokprioritaproprogramVEKTRANO1", false);
  // The tick says what the process runs at: a refused raise leaves it at
  // normal, and the operator is told why.
  if (choice == 2 && !platform::setProcessPriority(platform::ProcessPriority::High)) {
    platform::showMessage(
        "Vysokou prioritu se nepodařilo nastavit, systém ji programu bez zvláštního oprávnění "
        "nepovolí.\r\n\r\nProgram dál běží s normální prioritou.",
        platform::MessageKind::Warning);
    choice = 1;
  }
  settings_.prioritka = choice;
  if (choice == 1) {
    platform::setProcessPriority(platform::ProcessPriority::Normal);
    setTick("Normlnprioritaautomatickypostartusystmu1", true);
  } else if (choice == 2) {
    setTick("VysokprioritaproprogramVEKTRANO1", true);
  }
}

void TForm1::NeverejneFunkce() {
  for (const char* name : {"N5", "abulkaprodoplovnreport1", "N14", "reporty"})
    if (QAction* a = menu_.action(name)) a->setVisible(true);
  platform::showMessage("Neveřejné funkce aktivovány ...");
}

// ----------------------------------------------------- options of the log

bool TForm1::memoryMode() const { return startup_.pametStaci && ticked("MenuRam"); }

void TForm1::reindexSVypnutymVstupem() {
  FocusKeeper::Scope keep(*fokus_);
  if (searches_) searches_->stopAll();
  vstup->setEnabled(false);
  ReIndexace();
  // File mode reads the index files: the tables of the memory mode go.
  if (!memoryMode()) {
    indexes_->SGvolacky.set(nullptr);
    indexes_->SGlokatory.set(nullptr);
    indexes_->SGsvatky.set(nullptr);
  }
  vstup->setEnabled(true);
}

void TForm1::MenuRamClick() { reindexSVypnutymVstupem(); }

void TForm1::databazeVolacek(int volba) {
  setTick("pouzevolacky1", volba == 1);
  setTick("pouzevolacky2", volba == 2);
  setTick("volackyoboje", volba == 3);
  platform::showMessage(zpravaDatabazeVolacek(volba == 1));
  reindexSVypnutymVstupem();
}

void TForm1::databazeLokatoru(int volba) {
  setTick("pouzelok1", volba == 1);
  setTick("pouzelok2", volba == 2);
  setTick("lokatoboje", volba == 3);
  reindexSVypnutymVstupem();
}

void TForm1::zvolDruhouDatabazi(bool volacky) {
  std::string& cesta = volacky ? settings_.VolackyAlter : settings_.LokatoryAlter;
  const std::string folder =
      cesta.empty() || cesta == "none"
          ? settings_.UlozisteDat
          : platform::fromFsPath(platform::fsPath(cesta).parent_path());
  std::optional<std::string> chosen;
  if (dialogs_.openFile)
    chosen = dialogs_.openFile(
        volacky ? "Zvolit druhou UŽIVATELSKOU databázi volaček" : "Zvolit druhou databázi lokátorů",
        folder, cesta == "none" ? std::string() : cesta, volacky ? "pvk" : "zr4",
        volacky ? "Seznam volaček|*.pvk|Všechny soubory|*" : "Databáze lokátorů|*.zr4|Všechny soubory|*");
  const char* druha = volacky ? "pouzevolacky2" : "pouzelok2";
  const char* oboje = volacky ? "volackyoboje" : "lokatoboje";
  const char* prvni = volacky ? "pouzevolacky1" : "pouzelok1";
  bool& mark = volacky ? settings_.Volac2 : settings_.Lokat2;
  if (chosen && !platform::storedPath(*chosen)) {
    // The next start would not find it: the choice stays as it was.
    platform::showMessage(zpravaNeulozitelneCesty("Databázi", *chosen) +
                              "\r\n\r\nZvol prosím jiný soubor.",
                          platform::MessageKind::Warning);
    return;
  }
  if (chosen) {
    cesta = *chosen;
    mark = true;
    setTick(oboje, true);
    setTick(prvni, false);
    setTick(druha, false);
    for (const char* n : {oboje, prvni, druha}) setEnabledItem(n, true);
    if (volacky) platform::showMessage(zpravaDatabazeVolacek(false));
  } else {
    cesta = "none";
    mark = false;
    setTick(oboje, false);
    setTick(druha, false);
    setTick(prvni, true);
    setEnabledItem(oboje, false);
    setEnabledItem(druha, false);
    setEnabledItem(prvni, true);
  }
  reindexSVypnutymVstupem();
}

void TForm1::secondstationClick() {
  // The item has ticked itself already: checked is the state after the click.
  if (!ticked("secondstation")) {
    setEnabledItem("threestation", false);
  } else {
    setEnabledItem("threestation", true);
    const auto answer = dialogs_.inputText
                            ? dialogs_.inputText("Vlož lokátor kolegy", "Vlož lokátor ",
                                                 settings_.loksecondary)
                            : std::nullopt;
    if (answer) {
      settings_.loksecondary = prevod(*answer, log_.klavesnice);
      if (!testlok(settings_.loksecondary)) setTick("secondstation", false);
    } else {
      setTick("secondstation", false);
    }
  }
  focusVstup();
}

void TForm1::threestationClick() {
  if (ticked("threestation")) {
    const auto answer = dialogs_.inputText
                            ? dialogs_.inputText("Vlož lokátor kolegy", "Vlož lokátor ",
                                                 settings_.lokthree)
                            : std::nullopt;
    if (answer) settings_.lokthree = prevod(*answer, log_.klavesnice);
    if (!answer || !testlok(settings_.lokthree)) {
      setTick("threestation", false);
      setEnabledItem("threestation", false);
    }
  }
  focusVstup();
}

void TForm1::NastavVychozi() {
  const BarevneSchema b = schemaPoInstalaci();
  ulozSchema(b, settings_);
  NastavBarvy();
  for (const VolbaPoInstalaci& v : volbyPoInstalaci()) setTick(v.polozka, v.zaskrtnuto);
  setEnabledItem("threestation", false);
  setEnabledItem("ZobrazLokatorProtistanice", false);
  setCaptionAndHints(true);
  const bool druheDatabaze = ticked("pouzevolacky2") || ticked("volackyoboje") ||
                             ticked("pouzelok2") || ticked("lokatoboje");
  for (bool volacky : {true, false}) {
    (volacky ? settings_.VolackyAlter : settings_.LokatoryAlter) = "none";
    (volacky ? settings_.Volac2 : settings_.Lokat2) = false;
    const char* druha = volacky ? "pouzevolacky2" : "pouzelok2";
    const char* oboje = volacky ? "volackyoboje" : "lokatoboje";
    const char* prvni = volacky ? "pouzevolacky1" : "pouzelok1";
    setTick(oboje, false);
    setTick(druha, false);
    setTick(prvni, true);
    setEnabledItem(oboje, false);
    setEnabledItem(druha, false);
    setEnabledItem(prvni, true);
  }
  log_.klavesnice = {true, false};
  sirkaPoznamky_ = kSirkaPoznamkyPoInstalaci;
  FormResize();
  Denik->viewport()->update();
  // The searches used a second database until now.
  if (druheDatabaze) reindexSVypnutymVstupem();
}

// ------------------------------------------------------- reverse searches

void TForm1::Dohledavani(bool mista) {
  if (!dialogs_.inputText) return;
  const auto lok = dialogs_.inputText("Výchozí lokátor", "Tvůj lokátor : ", log_.lokportable);
  if (!lok) return;
  const std::string lokator = prevod(*lok, log_.klavesnice);
  const auto od =
      dialogs_.inputText("Vzdálenost od protistanice : ", "Nejmenší vzdálenost (od) : ", "100");
  if (!od) return;
  const auto po =
      dialogs_.inputText("Vzdálenost od protistanice : ", "Největší vzdálenost (do) : ", "100");
  if (!po) return;
  const auto rozsah = rozsahVzdalenosti(*od, *po);
  if (!rozsah) return;
  const std::string path = platform::dataFile(platform::programFolder(), mista ? ".zr4" : ".pvk");
  ukazVysledkyHledani(mista, DohledejPodleVzdalenosti(platform::readWholeFile(path), path,
                                                      lokator, *rozsah, mista));
}

void TForm1::ukazVysledkyHledani(bool mista, const std::vector<std::string>& lines) {
  SideList* list = mista ? wmestacentr : wvolacky;
  SideList* other = mista ? wvolacky : wmestacentr;
  Denik->hide();
  Memo4->hide();
  other->hide();
  list->show();
  list->raise();
  clearList(mista ? SearchKind::Lokatora : SearchKind::Volackaa);
  appendLines(mista ? SearchKind::Lokatora : SearchKind::Volackaa, lines);
}

// ------------------------------------------------------- storage folders

void TForm1::Nastavitloitdat1Click() { zvolUloziste(static_cast<int>(Uloziste::Dat)); }

void TForm1::zvolUloziste(int kindValue) {
  const auto kind = static_cast<Uloziste>(kindValue);
  std::string* folder = kind == Uloziste::Dat    ? &settings_.UlozisteDat
                        : kind == Uloziste::Map  ? &settings_.UlozisteMap
                        : kind == Uloziste::Foto ? &settings_.UlozisteFoto
                                                 : &settings_.UlozisteArchiv;
  if (!dialogs_.chooseFolder) return;
  const std::optional<std::string> chosen = dialogs_.chooseFolder(*folder);
  if (!chosen) return;
  const VolbaUloziste v = vektrano::zvolUloziste(kind, *chosen, platform::programFolder());
  if (!v.prijato) {
    if (v.zprava) platform::showMessage(*v.zprava, platform::MessageKind::Warning);
    return;
  }
  *folder = v.slozka;
  std::error_code ec;
  std::filesystem::create_directories(platform::fsPath(v.slozka), ec);
  if (v.zprava) platform::showMessage(*v.zprava);
  setStatusPanel(2, v.panel2);
  if (kind == Uloziste::Archiv) archiveSeed(v.slozka);
}

// -------------------------------------------------------------- the clock

void TForm1::casDblClick() {
  // The desktop's date and time settings, whichever desktop provides them.
  struct Program {
    const char* name;
    const char* arguments;
  };
  static constexpr Program programs[] = {
      {"gnome-control-center", "datetime"}, {"systemsettings", "kcm_clock"},
      {"kcmshell6", "kcm_clock"},           {"kcmshell5", "clock"},
      {"xfce4-datetime-settings", ""},      {"time-admin", ""},
  };
  for (const Program& p : programs) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(p.name));
    if (path.isEmpty()) continue;
    if (dialogs_.startProgram) dialogs_.startProgram(platform::pathFromQString(path), p.arguments);
    return;
  }
  platform::showMessage("Nastavení data a času systému se nepodařilo otevřít.");
}

}  // namespace vektrano
