#pragma once
// core/reference: the reference data the searches read and the list windows
// edit: the index files and memory-mode tables (this header), the list
// tables, and the files of name days, familiar names, words never taken for
// a locator and the report table.
//
// Index files of the reference databases (towns and hills, call signs, name
// days) and their rebuild, and the memory-mode tables that replace them.
//
// A database is split into many small files under idx/ of the program
// folder, so that each search of the entry line reads one file: a locator
// index keyed by the first 5 characters of the locator and a word index keyed
// by the first 2 characters of every word. Each index line is a database line
// copied whole (cp1250, CR LF). A rebuild is made in memory and written into
// the spare folder beside each index folder (name + ".spare", the generation
// before the one in use), each file flushed on its own; the spare then
// changes places with the folder in use by one rename, so a crash or an I/O
// error never leaves a half-built index behind, and the next rebuild writes
// over the files the old generation left instead of creating thousands anew.
//
// The rebuild runs on the main thread; what it does to the main window goes
// through IndexObserver, so the logic needs no widgets.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/reference/memory_tables.h"
#include "platform/system.h"

namespace vektrano {

class TabulkaSynonym;

enum class IndexKind { Lok, Vol, Jmn };

// One family of index files: folder + name prefix + key + ".idx".
struct IndexPrefix {
  std::string folder;  // program folder + "/idx/loc" ...
  std::string name;    // "loc_" ...
  std::string prefix() const;                     // folder + "/" + name
  std::string file(std::string_view key) const;   // prefix() + key + ".idx"
};

struct IndexPrefixes {
  IndexPrefix locl;  // locator index of places
  IndexPrefix loc;   // word index of places
  IndexPrefix voll;  // locator index of call signs
  IndexPrefix vol;   // word index of call signs
  IndexPrefix jmn;   // word index of name days
  static IndexPrefixes under(const std::string& programFolder);
};

// Key of the file that takes the lines with a word that gives no valid key.
inline constexpr std::string_view kErrorKey = "------CHYBY";
// Stands in every word-index file between the user's second database (first)
// and the main one.
inline constexpr std::string_view kSeparatorLine =
    "******;************************************************";

struct DatabaseFiles {
  std::string zr4;            // main town and locator database
  std::string pvk;            // main call-sign list
  std::string jmn;            // name days
  std::string LokatoryAlter;  // the user's second locator database (may be empty)
  std::string VolackyAlter;   // the user's second call-sign list (may be empty)
  // The main databases beside the program: vektrano.zr4, .pvk, .jmn.
  static DatabaseFiles beside(const std::string& programFolder);
};

// Which databases of a kind take part (the menu's database choice).
enum class DatabaseChoice { Both, MainOnly, SecondOnly };
// From the three ticks "both", "only the main", "only the second"; only the
// main one wins over the second, none ticked means both.
DatabaseChoice databaseChoice(bool both, bool mainOnly, bool secondOnly);

// The main window as the rebuild sees it. Every call is on the main thread.
class IndexObserver {
 public:
  virtual ~IndexObserver() = default;
  // The menus Soubor1, Pomocnfunkce1, Nastaven1, Inf1 and the controls
  // lokportable and Memo1.
  virtual void setControlsEnabled(bool) {}
  // RovnejInfo: the information menu right-justified again.
  virtual void alignInfoMenu() {}
  // ZelenyPbar (true) and SkryjPbar (false): the green progress bar in place
  // of the entry line.
  virtual void showProgressBar(bool) {}
  virtual void setProgressMax(std::int64_t) {}
  virtual void setProgressPosition(std::int64_t) {}
  // Status-bar panel 2.
  virtual void setStatusText(const std::string&) {}
  // Lets the window process its pending messages.
  virtual void processMessages() {}
  // Raised while a database is split, normal afterwards.
  virtual void setProcessPriority(platform::ProcessPriority p) { platform::setProcessPriority(p); }
  virtual platform::MemoryStatus memoryStatus() { return platform::memoryStatus(); }
};

// The index files of one kind, built in memory: file name (prefix name + key
// + ".idx") -> content, lines in database order.
class IndexBuild {
 public:
  explicit IndexBuild(IndexKind kind);
  IndexKind kind() const { return kind_; }
  // Files one database line W goes to: for places and call signs the locator
  // index of its first 5 characters; the word index of the first two
  // characters of every word of its folded text (the bracketed district and
  // the word "/P" left out).
  void addLine(std::string_view line);
  // The separator line at the end of every word-index file built so far.
  void appendSeparator();
  using Files = std::unordered_map<std::string, std::string>;
  const Files& wordFiles() const { return words_; }
  const Files& locatorFiles() const { return locators_; }

 private:
  void append(Files& files, std::string_view key, std::string_view line);
  IndexKind kind_;
  std::string wordName_, locatorName_;
  Files words_, locators_;
};

// Splits the database `file` into `build`, one line at a time with the
// progress bar advancing; a file that cannot be read is skipped silently.
void RozdelDatabazi(const std::string& file, IndexBuild& build, IndexObserver& observer);

// Appends line + CR LF to file, creating the file when it does not exist.
bool PridejRadek(const std::string& file, std::string_view line);

// Milliseconds of a steady clock.
std::int64_t tickCount();
// The time elapsed since startTick: "[hod:1,min:2,sec:3]", "[sec:5]", "[]".
std::string CasTrvani(std::int64_t startTick, std::int64_t nowTick = tickCount());

// Bytes as whole megabytes with thousands separators and " MB"; zero gives
// " MB" alone.
std::string megabytes(std::uint64_t bytes);

struct ReIndexaceOptions {
  bool MenuRam = false;  // memory mode
  DatabaseChoice volacky = DatabaseChoice::MainOnly;
  DatabaseChoice lokatory = DatabaseChoice::MainOnly;
  const TabulkaSynonym* synonyms = nullptr;  // for the name-day keys
  Day today;
};

class Indexes {
 public:
  Indexes(const std::string& programFolder, IndexObserver& observer);

  const IndexPrefixes& prefixes() const { return prefixes_; }

  // Rebuild the index files of places, call signs or name days. False after
  // an I/O error, which has been shown; the previous index files then stay.
  bool locIDX(const DatabaseFiles& files, DatabaseChoice choice);
  bool volIDX(const DatabaseFiles& files, DatabaseChoice choice);
  bool jmnIDX(const DatabaseFiles& files);

  // Refresh after a database or an option changed: in memory mode reload all
  // three tables, in file mode count the index files. No index file is
  // rebuilt.
  void ReIndexace(const DatabaseFiles& files, const ReIndexaceOptions& options);

  // After a list window saved a database of kind: in file mode its index
  // files are rebuilt (locIDX, volIDX or jmnIDX by the options' choice), so
  // the searches find what was saved, then ReIndexace.
  void afterListSaved(IndexKind kind, const DatabaseFiles& files, const ReIndexaceOptions& options);

  // Load one database into SGvolacky / SGlokatory; without restart the lines
  // follow a separator row after what the table holds.
  void NactiVolackyDoPameti(const std::string& file, bool restart);
  void NactiLokatoryDoPameti(const std::string& file, bool restart);

  // True while index files are rebuilt (the entry line stays empty).
  bool IndexaceBezi() const { return IndexaceBezi_; }
  // Today's date (d.M.yyyy) as the last ReIndexace saw it.
  const std::string& DnesniDatum() const { return DnesniDatum_; }

  MemoryTableSlot SGvolacky, SGlokatory, SGsvatky;
  int PocetVolacekRAM() const { return SGvolacky.rowCount(); }
  int PocetLokatoruRAM() const { return SGlokatory.rowCount(); }
  int PocetSvatkuRAM() const { return SGsvatky.rowCount(); }

 private:
  struct KindSetup;
  bool rebuild(const KindSetup& setup, const std::string& second, const std::string& main,
               DatabaseChoice choice);
  void loadInto(MemoryTableSlot& slot, const std::string& file, bool restart);

  IndexPrefixes prefixes_;
  IndexObserver& observer_;
  bool IndexaceBezi_ = false;
  std::string DnesniDatum_;
};

// Number of files prefix*.idx in the prefix's folder.
int countIndexFiles(const IndexPrefix& prefix);

}  // namespace vektrano
