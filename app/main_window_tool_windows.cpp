// The main window's way into its tool windows: the locator map and the
// hand-back of the windows that open it, the town database, the call-sign
// list and its import, the pictures of the log, printing, the internet
// update and the update zip, and the end of the program they may ask for.
// Each window gets what it needs of the main window as plain callbacks at
// its opening; none of them sees this class.
#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "app/entry_adapter.h"
#include "app/main_window.h"
#include "core/reference/call_sign_list.h"
#include "core/reference/town_database.h"
#include "core/search/search_scheduler.h"
#include "platform/cp1250.h"
#include "platform/paths.h"
#include "preview/gui/printer_setup.h"
#include "transfer/update.h"
#include "windows/call_sign_import_window.h"
#include "windows/call_sign_list_window.h"
#include "windows/chart_windows.h"
#include "windows/contact_map_window.h"
#include "windows/direction_finding_window.h"
#include "windows/expedition_description_window.h"
#include "windows/print_window.h"
#include "windows/town_database_window.h"
#include "windows/update_window.h"
#include "windows/update_zip_commands.h"

namespace vektrano {

namespace {

QString q(const std::string& s) { return platform::toQString(s); }
std::string s8(const QString& s) { return platform::fromQString(s); }

// Every look-up runs again on the next key: no key of these ever matches.
constexpr const char* kZadnyKlic = "@#@#";

}  // namespace

void TForm1::connectToolWindows() {
  auto on = [this](const char* name, auto fn) {
    if (QAction* a = menu_.action(name)) connect(a, &QAction::triggered, this, fn);
  };
  on("Sprvaseznamloktor1", [this] { SpravaLokatoru(); });
  on("SeznamVOLAEK1", [this] { SeznamVOLACEK(); });
  on("ZaazovnvolaekzDenkudoseznamuVolaek1", [this] { ZarazovaniVolacek(); });
  on("Mapaspojen1", [this] { mapaSpojeni(false); });
  on("Spojendovelkchtverc1", [this] {
    Spojendovelkchtverc1Click(log_, ChartHooks{[this] { return settings_.UlozisteDat; }}, this);
  });
  on("Potuspojenvzvislostinaasu1", [this] {
    Potuspojenvzvislostinaasu1Click(log_, ChartHooks{[this] { return settings_.UlozisteDat; }},
                                    this);
  });
  on("Zamovnstanicepomocsmrovchantn1", [this] { Zamerovani(); });
  on("iskDenku2", [this] { Tisknidenik(); });
  on("iskpopisu1", [this] { Tiskpopisu(); });
  on("Existujenovverze1", [this] { openUpdateWindow(); });
  on("Export1", [this] { Export1Click(); });
  on("Import1", [this] { IMPORTaktualizacedoNOTEBOOKU1Click(); });
}

// ------------------------------------------------------------ locator map

Form13Hooks TForm1::form13Hooks() {
  Form13Hooks h;
  h.ownLocator = [this] { return log_.lokportable; };
  h.mapFolder = [this] { return settings_.UlozisteMap; };
  h.photoFolder = [this] { return settings_.UlozisteFoto; };
  h.keyboard = [this] { return log_.klavesnice; };
  h.vstup = vstup;
  h.typedLocator = [this] {
    return entry_ ? entry_->parts().LokatorProtistanice : std::string();
  };
  // While the map window is open its keys are its own: the window's key
  // preview would take F8, F12 and the Ctrl keys from it.
  h.keyPreview = [this](bool on) { keyPreview_ = on; };
  return h;
}

void TForm1::otevrimapu(const std::string& locator, int caller, CilPredani cil) {
  vektrano::otevrimapu(locator, caller, form13Hooks(), std::move(cil), this);
}

void TForm1::mapaZOkna(const std::string& locator, int caller) {
  // The target lives as long as its window: the map window checks the
  // owner before it hands anything back.
  CilPredani cil;
  switch (caller) {
    case kVolaLokatory:
      cil = {Form2.data(), [](const std::string& l) {
               if (Form2) Form2->mapLocatorChosen(l);
             }};
      break;
    case kVolaImportVolacek:
    case kVolaImportDeniku:
    case kVolaImportMest:
      cil = {Form6.data(), [caller](const std::string& l) {
               if (Form6) Form6->mapLocatorChosen(caller, l);
             }};
      break;
    case kVolaVolacky:
      cil = {Form3.data(), [](const std::string& l) {
               if (Form3) Form3->mapLocatorChosen(l);
             }};
      break;
    default:
      break;
  }
  otevrimapu(locator, caller, std::move(cil));
}

// -------------------------------------------------- the reference lists

void TForm1::SpravaLokatoru() {
  openForm2(
      chosenTownDatabase(databaseFiles(), ticked("pouzelok1")), [this] { return log_.klavesnice; },
      [this] { poUlozeniSeznamu(IndexKind::Lok); },
      [this](const std::string& l, int code) { mapaZOkna(l, code); }, this);
}

void TForm1::SeznamVOLACEK() {
  TForm3::Hooks h;
  h.keyboard = [this] { return log_.klavesnice; };
  h.synonyms = [this] { return std::shared_ptr<const TabulkaSynonym>(synonyma_); };
  h.chosenDate = [this] { return startup_.DatumSpojeni; };
  h.reindex = [this] { poUlozeniSeznamu(IndexKind::Vol); };
  h.openMap = [this](const std::string& l, int code) { mapaZOkna(l, code); };
  openForm3(chosenCallSignList(databaseFiles(), ticked("pouzevolacky1")),
            platform::programFolder(), std::move(h), this);
}

void TForm1::ZarazovaniVolacek() {
  TForm6::Hooks h;
  h.keyboard = [this] { return log_.klavesnice; };
  h.chosenDate = [this] { return startup_.DatumSpojeni; };
  h.setChosenDate = [this](const std::string& d) { startup_.DatumSpojeni = d; };
  h.reindex = [this](IndexKind kind) { poUlozeniSeznamu(kind); };
  h.openMap = [this](const std::string& l, int code) { mapaZOkna(l, code); };
  openForm6(chosenCallSignList(databaseFiles(), ticked("pouzevolacky1")),
            platform::programFolder(), std::move(h), this);
}

// ------------------------------------------------- pictures of the log

void TForm1::mapaSpojeni(bool klavesou) {
  VstupMapy v;
  v.own = log_.lokportable;
  v.vychoziBod = ticked("Vchozbodexpediceuvdt1");
  v.spojnice = ticked("Generovatspojnice1");
  if (entry_) {
    v.typedLocator = entry_->parts().LokatorProtistanice;
    v.typedCall = entry_->parts().VolackaText;
  }
  v.vstup = s8(vstup->text());
  v.label1 = s8(Label1->text());
  Form10Hooks h{&log_, [this] { return settings_.UlozisteDat; },
                [this] { return ticked("Vchozbodexpediceuvdt1"); }, vstup};
  const std::string obrys = platform::dataFile(platform::programFolder(), ".v4m");
  // The generation recalculates the log first: a changed log is written.
  auto prepocteno = [this](bool zmeneno) {
    poUprave(zmeneno);
    Denik->viewport()->update();
  };
  if (klavesou)
    mapaSpojeniKlavesou(v, obrys, std::move(h), prepocteno, this);
  else
    Mapaspojen1Click(v, obrys, std::move(h), prepocteno, this);
}

void TForm1::Zamerovani() {
  const std::string folder = platform::programFolder();
  openForm20({platform::dataFile(folder, ".hb9"), platform::dataFile(folder, ".v4m"),
              [this] { return settings_.UlozisteDat; },
              [this](const std::string& l) { predejDoVstupu(l); }},
             this);
}

void TForm1::predejDoVstupu(const std::string& locator) {
  activateWindow();
  // As if typed: the locator and the Space after it.
  vstup->setText(q(locator + " "));
  focusVstup();
  if (!entry_) return;
  PosledniKlice& klice = entry_->state().klice;
  klice.mesta = klice.volacky = klice.mista = kZadnyKlic;
  // The line did not see the Space pressed, so it would drop its release:
  // it reads the line as after a Space of its own.
  const QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  entry_->vstupKeyUp(EntryAdapter::toEntryKey(release));
}

// ------------------------------------------------------------- printing

void TForm1::Tisknidenik() {
  openForm7({&log_.Denik, [this] { return ticked("doplndatum"); },
             [this] { return Denik->verticalHeader()->defaultSectionSize(); }},
            this);
}

void TForm1::Tiskpopisu() {
  Popisexpedice();
  if (Form11) preview::PrintWidgetImage(*Form11, "Popis expedice");
}

// ------------------------------------------------------ the update

void TForm1::zapisNastaveni() {
  MainWindowSettings s = currentSettings();
  s.Poprve = false;
  writeMainWindowSettings(s, platform::executableFolder(), kMainWindowKey,
                          platform::programFolder());
}

void TForm1::openUpdateWindow() {
  transfer::UpdateHooks h;
  h.ReIndexace = [this] {
    if (searches_) searches_->stopAll();
    ReIndexace();
  };
  h.locIDX = [this] { rebuildIndex(IndexKind::Lok); };
  h.volIDX = [this] { rebuildIndex(IndexKind::Vol); };
  h.jmnIDX = [this] { rebuildIndex(IndexKind::Jmn); };
  h.memoryMode = [this] { return memoryMode(); };
  h.storeCheckDate = [this](const std::string& date) { settings_.datumupdate = date; };
  h.raiseMainWindow = [this] {
    show();
    raise();
    activateWindow();
  };
  h.saveSettings = [this] { zapisNastaveni(); };
  h.endProgram = [this](const std::string& programFile) { ukonciProgram(programFile); };
  vektrano::openUpdateWindow(settings_.UlozisteMap, settings_.UlozisteFoto, std::move(h), this);
}

void TForm1::Export1Click() {
  exportUpdateZip(this, [this]() -> std::optional<std::string> {
    if (!dialogs_.chooseFolder) return std::nullopt;
    return dialogs_.chooseFolder(kUpdateZipStartFolder);
  });
}

void TForm1::IMPORTaktualizacedoNOTEBOOKU1Click() {
  transfer::ImportHooks h;
  h.chooseArchive = [this]() -> std::optional<std::string> {
    if (!dialogs_.openFile) return std::nullopt;
    return dialogs_.openFile("Vyber soubor exportu programu VEKTRANO", kUpdateZipStartFolder, {},
                             "zip", std::string("Export update VEKTRANO|") + transfer::kExportName);
  };
  h.memoryMode = [this] { return memoryMode(); };
  h.locIDX = [this] { rebuildIndex(IndexKind::Lok); };
  h.volIDX = [this] { rebuildIndex(IndexKind::Vol); };
  h.jmnIDX = [this] { rebuildIndex(IndexKind::Jmn); };
  // The import says the program ends: it does, open tool windows or not.
  h.closeMainWindow = [this] { ukonciProgram(); };
  importUpdateZip(this, std::move(h));
}

void TForm1::ukonciProgram(const std::string& restart) {
  programPoUkonceni_ = restart;
  konecBezOdmitnuti_ = true;
  // After the command that asked has returned: the update window is still
  // inside its button's handler.
  QTimer::singleShot(0, this, [this] { close(); });
}

}  // namespace vektrano
