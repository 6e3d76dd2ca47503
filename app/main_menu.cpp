#include "app/main_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "core/search/search_scheduler.h"
#include "platform/cp1250.h"

namespace vektrano {

namespace {

constexpr unsigned S = kMenuSubmenu;
constexpr unsigned C = kMenuCheckable;
constexpr unsigned CC = kMenuCheckable | kMenuChecked;
constexpr unsigned R = kMenuCheckable | kMenuRadio;
constexpr unsigned RC = kMenuCheckable | kMenuRadio | kMenuChecked;
constexpr unsigned SEP = kMenuSeparator;

std::vector<MenuEntry> makeMenu() {
  std::vector<MenuEntry> m = {
      // File commands and the log's own windows.
      {"", kMenuSoubor, "&Soubor", S},
      {kMenuSoubor, "NovyDenik", "Nový &deník           [CTRL+N]"},
      {kMenuSoubor, "NactiDataQVL", "Otevřít  (*.qvl)    [CTRL+O]"},
      {kMenuSoubor, "UlozJakoQVL", "&Uložit     (*.qvl)    [CTRL+U]"},
      {kMenuSoubor, "N1", "-", SEP},
      {kMenuSoubor, "Popisexpedice1", "Popis &expedice      [CTRL+E]"},
      {kMenuSoubor, "iskpopisu1", "Tisk &popisu Expedice"},
      {kMenuSoubor, "iskDenku2", "&Tisk Deníku           [CTRL+T]"},
      {kMenuSoubor, "Vbrtiskrny1", "Výběr tiskárny"},
      {kMenuSoubor, "N2", "-", SEP},
      {kMenuSoubor, "UlozitJakoHtml", "Export do &HTML"},
      {kMenuSoubor, "UlozXLS", "Export do &XLS (do Excelu)"},
      {kMenuSoubor, "Export1", "EXPORT aktualizace z hlavního počítače"},
      {kMenuSoubor, "Import1", "IMPORT aktualizace do NOTEBOOKU"},
      {kMenuSoubor, "N3", "-", SEP},
      {kMenuSoubor, "ArchivQSO1", "&Archiv QSO           [CTRL+A]"},
      {kMenuSoubor, "N4", "-", SEP},
      {kMenuSoubor, "KoncimeProgram", "&Konec práce s programem"},

      // The reference lists.
      {"", "Sprvaseznam1", "Správa &seznamů", S},
      {"Sprvaseznam1", "Sprvaseznamloktor1", "Správa seznamu lokátorů"},
      {"Sprvaseznam1", "SeznamVOLAEK1", "Seznam VOLAČEK"},
      {"Sprvaseznam1", "Seznamsvtk1", "Seznam svátků"},
      {"Sprvaseznam1", "SeznamZdomcnlchjmen1", "Seznam Zdomácnělých jmen"},
      {"Sprvaseznam1", "Seznamslovktersenepevdjnaloktor1",
       "Seznam slov, která se nepřevádějí na lokátor"},
      {"Sprvaseznam1", "ZaazovnvolaekzDenkudoseznamuVolaek1",
       "Zařazování volaček z Deníku do seznamu Volaček"},
      {"Sprvaseznam1", "N5", "-", SEP | kMenuHidden},
      {"Sprvaseznam1", "abulkaprodoplovnreport1", "Tabulka pro doplňování &REPORTŮ", kMenuHidden},

      // Auxiliary functions.
      {"", kMenuPomocne, "&Pomocné funkce", S},
      {kMenuPomocne, "Vpotyloktor1", "Výpočty lokátorů pro KOLEČKO   [F1]"},
      {kMenuPomocne, "Zamovnstanicepomocsmrovchantn1", "Zaměřování stanice pomocí směrových antén"},
      {kMenuPomocne, "Mapaspojen2", "Mapa spojení", S},
      {"Mapaspojen2", "Mapaspojen1", "Generuj mapu"},
      {kMenuPomocne, "Grafy1", "Grafy", S},
      {"Grafy1", "Spojendovelkchtverc1", "Počtu spojení do velkých čtverců lokátorů"},
      {"Grafy1", "Potuspojenvzvislostinaasu1", "Počtu spojení v závislosti na času"},
      {kMenuPomocne, "N6", "-", SEP},
      {kMenuPomocne, "Upravydenku1", "Úpravy deníku", S},
      {"Upravydenku1", "Setditpodlepoadovhosla1", "Setřídit podle pořadového čísla"},
      {"Upravydenku1", "Setditpodlevolaek1", "Setřídit podle volaček"},
      {"Upravydenku1", "SetditpodleLOKTOR1", "Setřídit podle LOKÁTORŮ"},
      {"Upravydenku1", "Setditpodlevzdlenost1", "Setřídit podle vzdáleností"},
      {"Upravydenku1", "N7", "-", SEP},
      {"Upravydenku1", "Provepepoetvzdlenost1", "Proveď přepočet vzdáleností"},
      {"Upravydenku1", "Kontroladuplicit1", "Kontrola duplicit"},
      {"Upravydenku1", "Vymazatvechnypoznmky1",
       "Vymazat sloupec poznámek (pozor, nevratná funkce!!!)"},
      {"Upravydenku1", "Odstranitpopisychybpozornevratn8funkce1",
       "Odstranit chybové poznámky (pozor, nevratná funkce!!!)"},
      {"Upravydenku1", "N8", "-", SEP},
      {"Upravydenku1", "Odstranndatumzdenku1", "Odstranění datumů z deníku"},
      {"Upravydenku1", "Doplnitdatumydodenku1", "Doplnit datumy do deníku"},
      {kMenuPomocne, "Dnesmsvtek1", "Dnes má &svátek :  [CTRL+S]"},
      {kMenuPomocne, "Dohledvnvolakypomocloktoruavzdlenosti1",
       "Dohledávání volačky pomocí &lokátoru a vzdálenosti"},
      {kMenuPomocne, "Dohledvnmstakopcepomocloktoruavzdlenosti1",
       "Dohledávání &města, kopce pomocí lokátoru a vzdálenosti"},
      {kMenuPomocne, "Zobrazseznamavizovanchportejbl1",
       "Zobraz seznam avizovaných portejblů   [CTRL+R]", C},
      {kMenuPomocne, "N9", "-", SEP},
      {kMenuPomocne, "INDEXOVNDATABZ1", "INDEXOVÁNÍ DATABÁZÍ", S},
      {"INDEXOVNDATABZ1", "ReindexovatVECHNYDatabze1", "Reindexovat VŠECHNY Databáze"},
      {"INDEXOVNDATABZ1", "ReindexovatDatabziLOKTOR1", "Reindexovat Databázi LOKÁTORŮ"},
      {"INDEXOVNDATABZ1", "ReIndexovatdatabziVOLAEK1", "ReIndexovat databázi VOLAČEK"},
      {"INDEXOVNDATABZ1", "ReindexovatDatabziSVTK1", "Reindexovat Databázi SVÁTKŮ"},
      {kMenuPomocne, "prodleva", kProdlevaCaption, S},
  };
  for (const DelayMenuEntry& d : kDelayMenu)
    m.push_back(
        {"prodleva", d.name, d.caption, d.item == DelayMenuItem::Sec1 ? RC : R, "prodleva"});
  const std::vector<MenuEntry> rest = {
      {kMenuPomocne, "Priorita1", "Priorita programu", S},
      {"Priorita1", "Normlnprioritaautomatickypostartusystmu1",
       "Normální priorita (automaticky po startu systému)", RC, "priorita"},
      {"Priorita1", "VysokprioritaproprogramVEKTRANO1", "Vysoká priorita pro program VEKTRANO", R,
       "priorita"},
      {kMenuPomocne, "Rychlostprocesoru1", "Rychlost procesoru (orientačně)"},
      {kMenuPomocne, "vojeIPadresa1", "Tvoje IP adresa"},
      {kMenuPomocne, "Vyuitpamti1", "Využití paměti"},
      {kMenuPomocne, "N10", "-", SEP},
      {kMenuPomocne, "Nastavvechnyhodnotyjakopoinstalaciprogramu1",
       "Nastav všechny hodnoty jako po instalaci programu    [CTRL+Q]"},

      // Settings; the caption follows the side-panel mode.
      {"", kMenuNastaveni, "&Nastavení", S},
      {kMenuNastaveni, "PouzivatVolacky", "Používat seznam &volaček   [F9]", RC, "rezim"},
      {kMenuNastaveni, "MestaSvatky", "Zobrazovat &města a svátky   [F9]", R, "rezim"},
      {kMenuNastaveni, "N11", "-", SEP},
      {kMenuNastaveni, "Zobrazen1", "Zobrazení sloupců deníku", S},
      {"Zobrazen1", "zobrporcisl", "Zobrazit pořadové číslo", CC},
      {"Zobrazen1", "zobrdatcas", "Zobrazovat datum,čas", CC},
      {"Zobrazen1", "Zobrrep", "Zobrazovat reporty", CC},
      {"Zobrazen1", "Zobrvzd", "Zobrazovat vzdálenosti", CC},
      {"Zobrazen1", "Zobrpoz", "Zobrazovat poznámky", CC},
      {"Zobrazen1", "Zobrazvechnysloupce1", "Zobraz všechny sloupce"},
      {kMenuNastaveni, "Velikostpsma1", "Velikost písma", S},
      {"Velikostpsma1", "Nejmen1", "Nejmenší", RC, "pismo"},
      {"Velikostpsma1", "Stedn1", "Střední", R, "pismo"},
      {"Velikostpsma1", "Nejvt1", "Největší", R, "pismo"},
      {kMenuNastaveni, "Barvy1", "Barvy", S},
      {kMenuNastaveni, "N12", "-", SEP},
      {kMenuNastaveni, "doplndatum", "Doplňovat aktuální datum", C},
      {kMenuNastaveni, "doplnovatkanal", "Doplňovat číslo kanálu", C},
      {kMenuNastaveni, "zobrcisspoj", "Zobrazovat číslo spojení", C},
      {kMenuNastaveni, "doplnvolackuzakm",
       "Doplňovat volačku protistanice za vypočítané kilometry (v horní části vpravo)", C},
      {kMenuNastaveni, "ZobrazLokatorProtistanice", "Zobrazovat i lokátor protistanice",
       C | kMenuDisabled},
      {kMenuNastaveni, "aktualcas", "Zobrazovat aktuální čas", C},
      {kMenuNastaveni, "N13", "-", SEP},
      {kMenuNastaveni, "Automatika", "Automatické přepínání seznamů po uložení spojení", CC},
      {kMenuNastaveni, "automatkolecko", "Automaticky otevírat KOLEČKO   [CTRL+F1]", C},
      {kMenuNastaveni, "pocitejkm", "Počítat vzdálenosti v seznamech", CC},
      {kMenuNastaveni, "prijatyreportdoplnit", "Doplňovat přijatý report", C},
      {kMenuNastaveni, "N14", "-", SEP | kMenuHidden},
      {kMenuNastaveni, "reporty", "Automaticky &doplňovat &reporty", C | kMenuHidden},
      {kMenuNastaveni, "ukladatazimut", "Ukládat azimut do poznámky volačky", C},
      {kMenuNastaveni, "Vchozbodexpediceuvdt1", "Výchozí bod expedice uvádět na mapě", C},
      {kMenuNastaveni, "Generovatspojnice1", "Generovat spojnice na mapě", C | kMenuDisabled},
      {kMenuNastaveni, "napoveda", "Zobrazovat bublinkovou nápovědu", CC},
      {kMenuNastaveni, "Klavesnice1", "Klávesnice", S},
      {"Klavesnice1", "klavesnicecz", "Česká klávesnice", RC, "klavesnice"},
      {"Klavesnice1", "klavesnicesk", "Slovenská klávesnice", R, "klavesnice"},
      {kMenuNastaveni, "N15", "-", SEP},
      {kMenuNastaveni, "MenuRam",
       "&Pro rychlejší hledání v databázích používat paměť RAM (je výhodné zapnout)", C},
      {kMenuNastaveni, "secondstation",
       "Zobrazovat vzdálenost od brejka ke druhému kolegovi (spojené expedice)", C},
      {kMenuNastaveni, "threestation",
       "Zobrazovat vzdálenost od brejka ke třetímu kolegovi (spojené expedice)", C | kMenuDisabled},
      {kMenuNastaveni, "Databzevolaek1", "Databáze volaček", S},
      {"Databzevolaek1", "pouzevolacky1", "Používat pouze první ORIGINÁL databázi volaček", RC,
       "volacky"},
      {"Databzevolaek1", "pouzevolacky2", "Používat pouze druhou UŽIVATELSKOU databázi volaček",
       R | kMenuDisabled, "volacky"},
      {"Databzevolaek1", "volackyoboje", "Vyhledávání se provádí v obou databázích současně",
       R | kMenuDisabled, "volacky"},
      {"Databzevolaek1", "Zvolitdruhoudatabzivolaek1",
       "Zvolit druhou UŽIVATELSKOU databázi volaček"},
      {kMenuNastaveni, "Databzelokator1", "Databáze lokátorů", S},
      {"Databzelokator1", "pouzelok1", "Používat pouze první ORIGINAL databázi lokátorů", RC,
       "lokatory"},
      {"Databzelokator1", "pouzelok2", "Používat pouze druhou UŽIVATELSKOU databázi lokátorů",
       R | kMenuDisabled, "lokatory"},
      {"Databzelokator1", "lokatoboje", "Používat obě databáze současně", R | kMenuDisabled,
       "lokatory"},
      {"Databzelokator1", "Zvolitdruhoudatabzivolaek2", "Zvolit druhou databázi lokátorů"},
      {kMenuNastaveni, "N16", "-", SEP},
      {kMenuNastaveni, "Nastavitloitdat1", "Nastavit úložiště DAT"},
      {kMenuNastaveni, "Nastavitlo6i3t2MAP1", "Nastavit úložiště MAP"},
      {kMenuNastaveni, "NastavitloitFOTO1", "Nastavit úložiště FOTO"},
      {kMenuNastaveni, "NastavitloitARCHIV1", "Nastavit úložiště ARCHIV"},

      // Information, at the right end of the bar.
      {"", kMenuInfo, "&Info", S},
      {kMenuInfo, "Npovdaapopisprogramu1", "Nápověda a popis programu"},
      {kMenuInfo, "Seznamfunknchklves1", "Seznam funkčních kláves"},
      {kMenuInfo, "Nejdelspojenprmrcelkemkm1", "Nejdelší spojení, průměr, celkem km   [CTRL+Y]"},
      {kMenuInfo, "Existujenovverze1", "Existuje nová verze programu ?   [CTRL+I]"},
      {kMenuInfo, "N17", "-", SEP},
      {kMenuInfo, "Domovskstrnkaprogramu1", "Domovská stránka programu"},
      {kMenuInfo, "BklubBrodovnice1", "B-klub Brodovnice"},
      {kMenuInfo, "N18", "-", SEP},
      {kMenuInfo, "Podkovn1", "Poděkování"},
      {kMenuInfo, "Oprogramu1", "O programu"},
  };
  m.insert(m.end(), rest.begin(), rest.end());
  return m;
}

}  // namespace

const std::vector<MenuEntry>& denikPopup() {
  static const std::vector<MenuEntry> menu = {
      {"", "Odstranittentodekzdenku1", "Odstranit tento řádek z deníku"},
      {"", "Pedtentodekvloitprzdndek1", "Vložit prázdný řádek"},
      {"", "Prohodittentodeksnsledujcmdkem1", "Prohodit tento řádek s následujícím řádkem"},
      {"", "Prohodittentodekspedchozmdkem1", "Prohodit tento řádek s předchozím řádkem"},
      {"", "P1", "-", SEP},
      {"", "Vloitchybovoupoznmku1", "Vložit chybovou poznámku (CTRL+click)"},
      {"", "SmazatchybovoupoznmkunadkuSHIFTclick1",
       "Smazat chybovou poznámku na řádku (CTRL+click)"},
      {"", "P2", "-", SEP},
      {"", "Zobrazenmapyktomutoloktoru1", "Zobrazení mapy k tomuto lokátoru"},
      {"", "Otev59t58dekv1", "Otevřít řádek deníku v Notepadu"},
  };
  return menu;
}

void buildPopup(QMenu* popup, const std::vector<MenuEntry>& entries, BuiltMenu& built) {
  for (const MenuEntry& e : entries) {
    QAction* a = e.flags & kMenuSeparator ? popup->addSeparator()
                                          : popup->addAction(platform::toQString(e.caption));
    a->setObjectName(e.name);
    built.actions[e.name] = a;
  }
}

const std::vector<MenuEntry>& hlavniMenu() {
  static const std::vector<MenuEntry> menu = makeMenu();
  return menu;
}

QAction* BuiltMenu::action(const std::string& name) const {
  auto it = actions.find(name);
  return it == actions.end() ? nullptr : it->second;
}

QMenu* BuiltMenu::menu(const std::string& name) const {
  auto it = menus.find(name);
  return it == menus.end() ? nullptr : it->second;
}

BuiltMenu buildMenu(QMenuBar* bar, const std::vector<MenuEntry>& entries) {
  BuiltMenu built;
  // A menu bar of its own in the bar's right corner keeps the information
  // menu at the right end whatever the width.
  built.infoBar = new QMenuBar(bar);
  built.infoBar->setObjectName("InfoBar");
  bar->setCornerWidget(built.infoBar, Qt::TopRightCorner);
  std::map<std::string, QActionGroup*> groups;

  for (const MenuEntry& e : entries) {
    const std::string parent = e.parent;
    QMenu* into = parent.empty() ? nullptr : built.menu(parent);
    if (!parent.empty() && !into) continue;  // a parent must come first
    QAction* a = nullptr;
    if (e.flags & kMenuSubmenu) {
      QMenu* sub =
          new QMenu(platform::toQString(e.caption), into ? static_cast<QWidget*>(into) : bar);
      sub->setObjectName(e.name);
      if (into)
        into->addMenu(sub);
      else if (std::string(e.name) == kMenuInfo)
        built.infoBar->addMenu(sub);
      else
        bar->addMenu(sub);
      built.menus[e.name] = sub;
      a = sub->menuAction();
    } else if (e.flags & kMenuSeparator) {
      a = into->addSeparator();
    } else {
      a = into->addAction(platform::toQString(e.caption));
    }
    a->setObjectName(e.name);
    if (e.flags & kMenuCheckable) a->setCheckable(true);
    if (e.flags & kMenuChecked) a->setChecked(true);
    if (e.flags & kMenuHidden) a->setVisible(false);
    if (e.flags & kMenuDisabled) a->setEnabled(false);
    if (e.flags & kMenuRadio) {
      QActionGroup*& g = groups[e.group];
      if (!g) g = new QActionGroup(bar);
      g->addAction(a);
    }
    built.actions[e.name] = a;
  }
  return built;
}

}  // namespace vektrano
