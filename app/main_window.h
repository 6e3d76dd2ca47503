#pragma once
// The main window of Vektrano. Its creation runs FormCreate, the whole
// start-up; closing it runs the shut-down; its destruction runs FormDestroy.
//
// The window holds the open log, the tables start-up loads and the search
// machinery, and lays its controls out by code (`FormResize`): every
// control's geometry follows from the client size and the font factor k.
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_menu.h"
#include "app/main_window_dialogs.h"
#include "app/main_window_layout.h"
#include "app/side_list.h"
#include "core/base/synonyms.h"
#include "core/entry/store_contact.h"
#include "core/log/log.h"
#include "core/log/log_statistics.h"
#include "core/reference/indexes.h"
#include "core/reference/report_table.h"
#include "core/search/clock.h"
#include "core/search/search_output.h"
#include "core/session/colour_schemes.h"
#include "core/session/main_window_settings.h"
#include "core/session/shutdown.h"
#include "core/session/startup.h"
#include "windows/base/main_window_link.h"
#include "windows/locator_map_window.h"

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;

namespace vektrano {
namespace platform {
class WakeUpListener;
}
class AzimutChart;
class Blik;
class DenikDelegate;
class Efekt;
class EntryAdapter;
class FocusKeeper;
class GridTableModel;
class LogSnapshotCache;
class SearchController;
class SearchWorkers;

// The main window of Vektrano: the log grid, the entry line and the side lists.
class TForm1 : public QMainWindow,
              public StartupUi,
              public ShutdownUi,
              public SearchView,
              public MainWindowLink {
 public:
  // arguments: the command line after the program name (a log's path, the
  // file system's bytes).
  explicit TForm1(std::vector<std::string> arguments = {}, QWidget* parent = nullptr);
  ~TForm1() override;

  // The reaction to a second start of the program: a minimised window is
  // restored (a maximised one stays maximised), raised and activated.
  void WakeUp();

  // Places every control from the client size and the font factor.
  void FormResize();
  // Side-panel mode: the look-ups work on the call-sign list, or on the
  // towns and name days.
  void RezimVolacky();
  void RezimMestaSvatky();
  bool modeVolacky() const;

  // MainWindowLink
  LogDocument& log() override { return log_; }
  void ReIndexace() override;
  void prevezmiSynonyma(const TabulkaSynonym& tabulka) override;
  QWidget* hlavniOkno() override { return this; }

  // What start-up loaded.
  const MainWindowSettings& settings() const { return settings_; }
  // The settings as the menus and controls hold them now (what shut-down
  // writes).
  MainWindowSettings currentSettings() const;
  const StartupResult& startupResult() const { return startup_; }
  const Form1Layout& layout() const { return layout_; }
  // The grid view changed from outside (a load, a sort, a recalculation):
  // rescan the painting, lay the columns out, scroll to the end.
  // After a stored contact, the grid's revision before its row was added
  // (StoreResult): only that row is scanned for painting.
  void refreshDenik(std::uint64_t revizePredPridanim = 0);

  // Editing the log in the grid. The selected cell is the one under the
  // last mouse press (grid row; 0 is none); the pop-up commands work on it.
  void selectCell(int gridRow, int col);
  int selectedRow() const { return vybranyRadek_; }
  bool editingDenik() const { return editaceDeniku_; }
  void DenikDblClick();
  void DenikExit();
  void DenikEnter();
  QMenu* denikPopup() const { return DenikPopup_; }

  const BuiltMenu& menu() const { return menu_; }
  QAction* menuItem(const std::string& name) const { return menu_.action(name); }
  bool ticked(const std::string& name) const;

  // StartupUi
  void setStatusPanel(int panel, const std::string& text) override;
  void applySettings(const MainWindowSettings& s, const SettingsReadResult& r) override;
  void disableMenuRam() override;
  void takeWindowColours(MainWindowSettings& s) override;
  void applyColours(const MainWindowSettings& s) override;
  void setCaptionAndHints(bool hintsOn) override;
  void requestHelp(int topic) override;
  void setHelpFile(const std::string& path) override;
  void requestTerminate() override;
  void logLoaded(const NacteniVysledek& result) override;
  // IndexObserver
  void setControlsEnabled(bool on) override;
  void alignInfoMenu() override;
  void showProgressBar(bool on) override;
  void setProgressMax(std::int64_t max) override;
  void setProgressPosition(std::int64_t pos) override;
  void setStatusText(const std::string& text) override;
  void processMessages() override;

  // ShutdownUi
  std::optional<std::string> askSaveName(const std::string& proposed,
                                         const std::string& dataFolder) override;
  void collectSettings(MainWindowSettings& s) override;
  // What the last close did (empty before one).
  const std::optional<ZavreniVysledek>& closeResult() const { return closeResult_; }

  // SearchView
  void clearList(SearchKind kind) override;
  void appendLine(SearchKind kind, const std::string& line) override;
  void appendLines(SearchKind kind, PackedLines&& lines) override;
  void appendLines(SearchKind kind, std::span<const std::string> lines);
  bool wduplicityVisible() const override;
  void ZobrazDuplicity(bool show) override;
  bool DenikVisible() const override;
  void setStatusPanel1(const std::string& text) override;

  // `RovnejInfo`: the information menu stays at the right end of the bar.
  void RovnejInfo();
  // `NastavMenuPisma`: the font-size item of Pismo ticked.
  void NastavMenuPisma();
  // `NastavBarvy` of the scheme held in the settings.
  void NastavBarvy();
  // The expedition description window (menu, a contact stored in a log
  // without a name, a log read without its description).
  void Popisexpedice();

  // ---- Commands of the menus, keys and controls (main_window_commands.cpp,
  // main_window_keys.cpp). Dialogs and the desktop are reached through
  // dialogs(), which tests replace.
  Form1Dialogs& dialogs() { return dialogs_; }
  void setDialogs(Form1Dialogs d) { dialogs_ = std::move(d); }
  // `FormKeyDown`: the window sees every key of its controls first (key
  // preview); true when the key was one of its own and goes no further.
  bool FormKeyDown(const QKeyEvent& event);
  bool keyPreview() const { return keyPreview_; }
  // Ctrl+Shift+F12, which no other binding uses, unhides the report-table
  // items.

  // File menu.
  void NovyDenik();
  void NactiDataQVL();
  void UlozJakoQVL();
  void UlozitJakoHtml();
  void UlozXLS();
  // Ctrl+F8: the last contact back into the entry line.
  void VratPosledniSpojeni();
  // The windows the main window opens.
  void otevriKolecko();  // F1, the menu, after a contact: shown and filled
  void startform5();
  // The locator map window for a caller code (core/pictures/locator_map.h);
  // cil is where the codes 2 to 6 hand the shown locator back.
  void otevrimapu(const std::string& locator, int caller, CilPredani cil = {});
  // The print command (Ctrl+T, "Tisk Deníku").
  void Tisknidenik();
  // Ctrl+I, "Existuje nová verze programu ?" and the weekly reminder.
  void openUpdateWindow();
  // Ends the program now, as an update or an import of the update zip
  // needs: every tool window is closed (each asks what it asks on closing),
  // then the shut-down runs without the refusal for open tool windows.
  // restart: the program file to start once this copy has let go of its
  // single-instance lock (empty: none).
  void ukonciProgram(const std::string& restart = {});
  const std::string& programPoUkonceni() const { return programPoUkonceni_; }
  // Information and tools.
  void StatusBar1DblClick();  // the statistics message
  void DnesSvatek();
  void Zobrazseznamavizovanchportejbl1Click();
  void NastavPrioritu(int choice);
  void NeverejneFunkce();
  // Storage folders through the folder picker.
  void Nastavitloitdat1Click();
  void zvolUloziste(int kind);  // Uloziste as int: Dat, Map, Foto, Archiv
  // The look-up lists.
  void wvolackyKeyDown(QKeyEvent& event, bool& consumed);
  void wmestacentrKeyDown(QKeyEvent& event, bool& consumed);
  void seznamMezernik(SideList* list);  // Space or a double click in a list
  void lokportableChange(const QString& text);

  // Controls, named as the handlers know them.
  QLineEdit* vstup = nullptr;   // the entry line
  QTableView* Denik = nullptr;  // the log grid
  QLineEdit* lokportable = nullptr;
  SideList* SeznamMest = nullptr;          // towns and hills of the typed locator
  SideList* wvolacky = nullptr;            // call signs
  SideList* wmestacentr = nullptr;         // places by name
  SideList* Memo4 = nullptr;               // name days
  SideList* wduplicity = nullptr;          // duplicates of the typed call sign
  QPlainTextEdit* Memo1 = nullptr;         // expedition note
  QPlainTextEdit* novrportable = nullptr;  // announced portable stations
  QLabel* cisspoj = nullptr;               // number of the next contact
  QLabel* Label1 = nullptr;                // distance
  QLabel* cas = nullptr;                   // clock
  QLabel* volackalabel = nullptr;          // call sign behind the km
  AzimutChart* azimut = nullptr;
  QSpinBox* kanal = nullptr;
  QLineEdit* Edit1 = nullptr;
  QSpinBox* UpDown1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QSpinBox* UpDown2 = nullptr;
  QLineEdit* xdat = nullptr;
  QPushButton* datumuj = nullptr;
  QProgressBar* Pbar = nullptr;
  std::array<QLabel*, 3> StatusBar1{};  // the three panels

  EntryAdapter* entry() const { return entry_; }
  SearchController* searches() const { return searches_.get(); }

  QTimer Timer1;  // clock, 950 ms
  // The time Timer1 reads (tests run the midnight on a clock of their own).
  void setClock(std::function<platform::DateTime()> now) { now_ = std::move(now); }
  QTimer Timer2;  // search scheduler, 100 ms
  QTimer Timer3;  // update reminder, 1 s

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FormCreate(std::vector<std::string> arguments);
  void FormDestroy();
  // Shut-down; false keeps the window open.
  bool FormCloseQuery();
  void FormClose();

  void createControls();
  void createMenu();
  void connectMenu();
  void createEntryLine();
  void createSearches();
  void startTimers();
  void Timer1Timer();
  void Timer2Timer();
  void Timer3Timer();

  void connectEditing();
  // The scheme in force to the grid's painter and the blink.
  void schemaVPlatnosti();
  // The caption `Setrid` shows while it sorts; the caption returns after.
  std::function<void(const std::string&)> titulekTrideni();
  void DenikMouseDown(const QPoint& pos, Qt::KeyboardModifiers mods);
  void DenikTitleClick(int col);
  void DenikMouseUp();
  void moveToRow(int gridRow, int col, bool top);
  // After a command: a changed log is written; the painting plan, the
  // counters and the row commands follow the log.
  void poUprave(bool zmeneno);
  void setRowCommandsEnabled();
  void setridPodle(int c);
  void Kontroladuplicit1Click();
  void doplndatumClick();
  void Odstranndatumzdenku1Click();
  void Doplnitdatumydodenku1Click();
  void datumujClick();
  void Otev59t58dekv1Click();

  void applyPanels(const SidePanels& p);
  void setRezim(bool volacky);
  void setTick(const std::string& name, bool on);
  void setEnabledItem(const std::string& name, bool on);
  void applyFontSizes();
  ColumnOptions columnOptions() const;
  void layColumns();
  void contactStored(const StoreResult& r);
  // Once start-up is over and the window first shown: the indexes of
  // databases that have none yet (buildMissingIndexes).
  void IndexaceChybejicich();
  DatabaseFiles databaseFiles() const;
  SideList* listOf(SearchKind kind) const;

  MainWindowSettings settings_;
  LogDocument log_;
  TabulkaReportu reporty_;
  std::shared_ptr<TabulkaSynonym> synonyma_;
  std::vector<std::string> SeznamVyjimek_;
  std::unique_ptr<Indexes> indexes_;
  StartupResult startup_;
  Form1Layout layout_;
  BuiltMenu menu_;
  QWidget* client_ = nullptr;  // the central widget the controls live in

  GridTableModel* model_ = nullptr;
  DenikDelegate* delegate_ = nullptr;
  EntryAdapter* entry_ = nullptr;
  std::unique_ptr<LogSnapshotCache> snapshot_;
  std::unique_ptr<SearchWorkers> workers_;
  std::unique_ptr<SearchController> searches_;
  SearchOutput output_;
  Efekt* efekt_ = nullptr;
  Blik* blik_ = nullptr;
  TColor BarvaLabel1_ = 0, BarvaBliku_ = 0, label1Colour_ = 0;

  // Commands (main_window_commands.cpp, main_window_keys.cpp).
  void connectCommands();
  void connectControls();
  void installKeyPreview();
  void seznamKeyDown(SideList* list, QKeyEvent& event, bool& consumed);
  void seznamEnter(SideList* list);
  void omezVyber(SideList* list);
  void ukazVysledkyHledani(bool mista, const std::vector<std::string>& lines);
  void Dohledavani(bool mista);
  void NastavVychozi();
  void MenuRamClick();
  void databazeVolacek(int volba);  // 1 first only, 2 second only, 3 both
  void databazeLokatoru(int volba);
  void zvolDruhouDatabazi(bool volacky);
  void secondstationClick();
  void threestationClick();
  void ukladatazimutClick();
  void Memo1Change();
  void casDblClick();
  void focusVstup();
  void reindexSVypnutymVstupem();
  bool memoryMode() const;
  void schovejPortejbly();

  // The tool windows (main_window_tool_windows.cpp).
  void connectToolWindows();
  Form13Hooks form13Hooks();
  // The map window for the windows that open it (codes 2 to 6), each
  // handing back into its own window while that window exists.
  void mapaZOkna(const std::string& locator, int caller);
  void SpravaLokatoru();
  void SeznamVOLACEK();
  void ZarazovaniVolacek();
  // "Generuj mapu" (Mapaspojen1Click) or F8 (mapaSpojeniKlavesou).
  void mapaSpojeni(bool klavesou);
  void Zamerovani();
  void Tiskpopisu();
  void Export1Click();
  void IMPORTaktualizacedoNOTEBOOKU1Click();
  // A click on the direction-finding map: the locator into the entry line,
  // every look-up due again, and the line read as after a Space.
  void predejDoVstupu(const std::string& locator);
  ReIndexaceOptions reIndexaceOptions() const;
  // An index rebuild of the menu: the searches stop first.
  void rebuildIndex(IndexKind kind);
  // After a list window saved a database of kind (a failed save too): the
  // searches stop, the kind's index is rebuilt and ReIndexace runs. The
  // familiar names have no index of their own (nothing): only ReIndexace.
  void poUlozeniSeznamu(std::optional<IndexKind> kind);
  void zapisNastaveni();

  Form1Dialogs dialogs_;
  bool keyPreview_ = true;
  bool konecBezOdmitnuti_ = false;  // ukonciProgram: no refusal for tool windows
  std::string programPoUkonceni_;
  bool lokportableNastavuji_ = false;

  QMenu* DenikPopup_ = nullptr;
  int vybranyRadek_ = 0;
  int vybranySloupec_ = 0;
  int krokPozice_ = 0;          // step position of the title clicks
  bool editaceDeniku_ = false;  // the grid's cells are being edited
  bool uvnitrExit_ = false;
  BarvyMrizky barvyPredEditaci_;  // the grid's colours to return to

  int sirkaPoznamky_ = 100;  // width of the note column while it is shown
  static constexpr int kProgressSteps = 1000;
  std::int64_t progressMax_ = 0;
  bool vstupSkryty_ = false;  // the entry line was hidden when the bar came
  QElapsedTimer pumpClock_;

  Hodiny hodiny_;
  std::function<platform::DateTime()> now_ = [] { return platform::now(); };
  // Gives the focus back after the commands that hide, disable or rebuild
  // controls (app/focus_keeper.h).
  std::unique_ptr<FocusKeeper> fokus_;
  std::optional<UpdateReminder> reminder_;
  bool created_ = false;  // every control exists: layouts may run
  bool hintsOn_ = true;   // `napoveda`: hints shown
  bool hintFilter_ = false;
  bool started_ = false;    // start-up has run
  bool closing_ = false;    // the close was allowed; FormClose has run
  bool terminate_ = false;  // start-up asked the program to end
  std::unique_ptr<ShutdownContext> shutdown_;
  std::optional<ZavreniVysledek> closeResult_;
  std::unique_ptr<platform::WakeUpListener> wakeUpListener_;
};

}  // namespace vektrano
