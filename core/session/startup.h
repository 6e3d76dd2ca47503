#pragma once
// core/session: one run of the program: start-up (this header) and
// shut-down, the main window's settings in the registry, the colour schemes
// and the placement of windows.
//
// The start-up of the log book, run once by the main window's FormCreate
// before the message loop: the shipped data files the program folder lacks,
// index folders, settings, storage folders and the first archive, the
// default data files, the test for required files, the tables in memory,
// the log of the command line, the recovery after an abnormal end and the
// index check; once the window is up, the first index build of databases
// that have none. Plain logic: what it does to the window goes through
// StartupUi, so tests run it without one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/synonyms.h"
#include "core/log/log.h"
#include "core/log/log_file.h"
#include "core/reference/indexes.h"
#include "core/reference/report_table.h"
#include "core/session/main_window_settings.h"
#include "platform/datetime.h"

namespace vektrano {

// Where the complete program can be downloaded (named when a required file is
// missing).
inline constexpr const char* kAdresaStazeni = "https://vektrano.example.org/stazeni";

// The import of the update zip keeps the previous program as the program
// file + this suffix; the next start deletes it there.
inline constexpr const char* kPredchoziProgram = ".e4e";

// The main window as start-up sees it; every call on the main thread, in the
// order of the start-up. The IndexObserver part serves the index check at the
// end (and the memory status of the memory test).
class StartupUi : public IndexObserver {
 public:
  // Status-bar panel 1 (the version) or 2 (the data folder).
  virtual void setStatusPanel(int /*panel*/, const std::string& /*text*/) {}
  // The settings just read: placement (fitted to the screen), menu ticks,
  // the font-size and search-delay items, the memo, the channel, a high
  // priority for prioritka 2. When the key could not be opened, result says so
  // and the settings hold the window defaults.
  virtual void applySettings(const MainWindowSettings& /*s*/, const SettingsReadResult& /*r*/) {}
  // Too little memory: `MenuRam` unticked and disabled.
  virtual void disableMenuRam() {}
  // No colour scheme stored yet: the window's present colours go into BPOZ
  // (window), BPDE and BPND (`Denik` font and fixed cells), BPOV and BPVR
  // (`Memo1` colour and font), BHOD (`cas` font), BVVZ (`Label1` font). BDUP
  // and BNJS are set by start-up.
  virtual void takeWindowColours(MainWindowSettings& /*s*/) {}
  // A stored scheme: `NastavBarvy`.
  virtual void applyColours(const MainWindowSettings& /*s*/) {}
  // The caption (the application title) and the hints: on after 1000 ms for
  // 5000 ms when `napoveda` is ticked, else off.
  virtual void setCaptionAndHints(bool /*hintsOn*/) {}
  virtual void requestHelp(int /*topic*/) {}
  // The help file beside the program exists: it becomes the application's.
  virtual void setHelpFile(const std::string& /*path*/) {}
  // A required file is missing: end the program as soon as the loop runs.
  virtual void requestTerminate() {}
  // A log has been read into the grid (command line, recovery, last log):
  // refresh the view, re-lay the columns, show the description window when
  // result.chybiPopis.
  virtual void logLoaded(const NacteniVysledek& /*result*/) {}
};

// What the main window owns and start-up fills. The references must outlive
// the call; indexes must have been made with ui as its observer.
struct StartupContext {
  StartupContext(MainWindowSettings& settings, LogDocument& log, TabulkaReportu& reporty,
                 TabulkaSynonym& synonyma, std::vector<std::string>& SeznamVyjimek,
                 Indexes& indexes, StartupUi& ui);

  MainWindowSettings& settings;
  LogDocument& log;
  TabulkaReportu& reporty;              // the .rep table for the report completion
  TabulkaSynonym& synonyma;             // the .syn table
  std::vector<std::string>& SeznamVyjimek;  // the .dup words
  Indexes& indexes;
  StartupUi& ui;

  // Inputs; the constructor sets the folders, the shipped files and the time.
  std::string programFolder;            // platform::programFolder()
  std::string programFile;              // platform::executablePath()
  std::string shippedFolder;            // platform::shippedDataFolder()
  std::vector<std::string> shippedFiles;  // shippedDataFiles()
  std::vector<std::string> arguments;   // the command line after the program name
  std::string settingsKey = kMainWindowKey;
  platform::DateTime now;               // platform::now()
};

enum class Obnova {
  Zadna,              // no crash backup
  DenikUplny,         // the log already holds every contact of the backup
  ZeZalohy,           // the log was rewritten from the longer backup
  BezpecnostniKopie,  // the backup belongs elsewhere: kept as a "zaloha_" copy
};

// Keeps the registry value SaveFileName equal to the current log path, so
// that the recovery after a crash knows which log the backup belongs to. The
// main window calls update after anything that may change the path (start-up
// does after the command line); only a change is written.
class SledovaniCestyDeniku {
 public:
  explicit SledovaniCestyDeniku(std::string keyPath = kMainWindowKey);
  // The path as read from the registry (no write).
  void reset(const std::string& stored) { stored_ = stored; known_ = true; }
  // Writes path when it differs from what is stored; true when written.
  bool update(const std::string& path);

 private:
  std::string keyPath_;
  std::string stored_;
  bool known_ = false;
};

struct StartupResult {
  // A required file is missing: the end was requested and nothing was
  // written after that decision (no log read, no recovery, no index check).
  bool ukoncit = false;
  SettingsReadResult settingsRead;
  bool pametStaci = true;       // more than 58 MB of physical memory
  bool pametovyRezim = false;   // memory mode: pametStaci and MenuRam ticked
  std::string DatumSpojeni;     // today, short date
  platform::DateTime prvniPripominka;  // first moment of the update reminder
  Obnova obnova = Obnova::Zadna;
  std::string bezpecnostniKopie;  // the "zaloha_" copy written by the recovery (with ".qvl")
  // Knows the log path now stored in the registry; the window keeps it and
  // calls update whenever the path may have changed.
  SledovaniCestyDeniku cestaDeniku;
};

// The whole start-up in its fixed order. Messages go through
// platform/message.h.
StartupResult runStartup(StartupContext& ctx);

// The databases of a kind whose index files the first index build made.
struct MissingIndexes {
  bool lokatory = false;
  bool volacky = false;
  bool svatky = false;
};

// The first index build, which the main window runs once start-up is over
// and its window is up: in file mode, each kind (places, call signs, name
// days) with a chosen database that is there and not one index file is
// built by the rebuild of the re-index menu commands, progress bar and
// status texts included. A kind with any index file is left as it is;
// memory mode builds nothing.
MissingIndexes buildMissingIndexes(Indexes& indexes, const DatabaseFiles& files,
                                   const ReIndexaceOptions& options);

// --- Pieces of the start-up, also used by the windows that edit the files ---

// The names of the data files the program ships with (the files directly in
// the source's data/ folder).
const std::vector<std::string>& shippedDataFiles();

// Copies each of names that programFolder lacks from shippedFolder: through
// a temporary file and a rename, so that a start killed meanwhile leaves no
// half file that the next one would take as present, and never over
// anything that stands under that name. A file shippedFolder lacks is
// skipped (the test for required files names it); one that cannot be copied
// is reported and start-up goes on. Nothing happens when both folders are
// one.
void seedProgramFolder(const std::string& shippedFolder, const std::string& programFolder,
                       const std::vector<std::string>& names);


// One record of the archive index "archiv.zr4": 356 bytes, the number as
// 32-bit little-endian, the display name in a length-prefixed field of 101
// bytes and the folder in one of 251 (unused bytes zero; longer texts cut).
std::string zaznamArchivu(std::int32_t cislo, const std::string& nazev, const std::string& slozka);

// The archive index with its first entry "001 - Hlavní archív EXPEDICE" and
// the folder "001" with its empty list of logs, each written only when
// missing (a write error is reported), with their ".zal" copies.
void archiveSeed(const std::string& root);

struct VychoziSoubor {
  std::string pripona;  // ".upc" ...
  std::string obsah;    // the bytes written when the file is missing
};
// The data files written beside the program when missing, in writing order
// (.upc, .upq, .rep, .dup, .syn, .hb9).
const std::vector<VychoziSoubor>& vychoziSoubory();

// The report table from the bytes of a .rep file: a row the file lacks, or
// whose km limit is not a whole number, keeps the default row.
TabulkaReportu reportyZeSouboru(std::string_view data);
// The synonym table from the bytes of a .syn file: calendar name before the
// first ";", the rest the familiar name. A line without ";" or with an empty
// familiar name is skipped; at most TabulkaSynonym::kMax pairs.
void synonymaZeSouboru(std::string_view data, TabulkaSynonym& tabulka);
// The words of a .dup file, one a line (empty lines left out).
std::vector<std::string> vyjimkyZeSouboru(std::string_view data);

// True when the contact rows (rows 1..) of kratsi equal the first rows of
// delsi, cell for cell.
bool kontaktyJsouPrefixem(const Grid& kratsi, const Grid& delsi);

}  // namespace vektrano
