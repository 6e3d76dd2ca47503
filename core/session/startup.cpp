#include "core/session/startup.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "core/reference/memory_tables.h"
#include "core/session/colour_schemes.h"
#include "core/session/option_commands.h"
#include "core/search/clock.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace vektrano {

namespace {

namespace fs = std::filesystem;
using platform::joinPath;
using platform::showMessage;

constexpr std::size_t kArchivRecord = 356;
constexpr std::size_t kArchivName = 101;
constexpr std::size_t kArchivFolder = 251;
constexpr const char* kHlavniArchiv = "001 - Hlavní archív EXPEDICE";

template <class Fn>
void forEachLine(std::string_view data, Fn&& fn) {
  std::size_t start = 0;
  while (start < data.size()) {
    std::size_t end = data.find('\n', start);
    if (end == std::string_view::npos) end = data.size();
    std::string_view line = data.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!fn(line)) return;
    start = end + 1;
  }
}

std::string lines(std::initializer_list<const char*> list) {
  std::string out;
  for (const char* l : list) {
    out += l;
    out += "\r\n";
  }
  return out;
}

bool makeDirs(const std::string& path) {
  std::error_code ec;
  fs::create_directories(platform::fsPath(path), ec);
  return !ec && platform::dirExists(path);
}

void removeFile(const std::string& path) {
  std::error_code ec;
  fs::remove(platform::fsPath(path), ec);
}

void writeError(const std::string& path) {
  showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(path),
              platform::MessageKind::Error);
}

void readError(const std::string& path) {
  showMessage("Chyba I/O při čtení souboru : " + platform::pathText(path),
              platform::MessageKind::Error);
}

// Writes data only when path does not exist yet; a failure is told and the
// start-up goes on.
void writeWhenMissing(const std::string& path, const std::string& data) {
  if (platform::fileExists(path)) return;
  if (!platform::writeFileAtomic(path, data)) writeError(path);
}

// Nothing at all stands under path, not even a dangling link.
bool nothingAt(const std::string& path) {
  std::error_code ec;
  return fs::symlink_status(platform::fsPath(path), ec).type() == fs::file_type::not_found;
}

bool sameFolder(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::equivalent(platform::fsPath(a), platform::fsPath(b), ec);
}

// A kind's chosen databases: is any of them there?
bool chosenPresent(DatabaseChoice choice, const std::string& second, const std::string& main) {
  const bool useSecond = choice != DatabaseChoice::MainOnly && !second.empty();
  const bool useMain = choice != DatabaseChoice::SecondOnly;
  return (useSecond && platform::fileExists(second)) || (useMain && platform::fileExists(main));
}

void copyWhenMissing(const std::string& from, const std::string& to) {
  if (platform::fileExists(to)) return;
  const std::optional<std::string> data = platform::readWholeFile(from);
  if (!data || !platform::writeFileAtomic(to, *data)) writeError(to);
}

// The extension of the last path segment, with its dot ("" when none).
std::string extension(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot);
}

std::string asciiUpper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// A relative argument names a file of the folder the program was started
// in, which start-up leaves for the program folder.
std::string absoluteArgument(const std::string& arg) {
  if (arg.empty()) return arg;
  const fs::path p = platform::fsPath(arg);
  if (p.is_absolute()) return arg;
  std::error_code ec;
  const fs::path abs = fs::absolute(p, ec);
  return ec ? arg : platform::fromFsPath(abs.lexically_normal());
}

// The contacts of a log file as its lines stand (no sort, no recalculation),
// empty when it cannot be read.
Grid contactsOf(const std::string& path) {
  LogDocument doc;
  if (path.empty()) return doc.Denik;
  if (const std::optional<std::string> data = platform::readWholeFile(path)) parseLog(*data, doc);
  return doc.Denik;
}

// The crash backup as a safety copy "zaloha_<date time>.qvl" in the data
// folder (the program folder when that is missing or cannot be written). The path, empty when no copy
// could be written.
std::string keepBackupCopy(const StartupContext& ctx, const std::string& backup) {
  const std::optional<std::string> data = platform::readWholeFile(backup);
  if (!data) {
    readError(backup);
    return {};
  }
  for (const std::string& folder : {ctx.settings.UlozisteDat, ctx.programFolder}) {
    if (!platform::dirExists(folder)) continue;
    const std::string name = nazevBezpecnostniKopie(folder, ctx.now) + ".qvl";
    if (platform::fileExists(name)) continue;
    if (platform::writeFileAtomic(name, *data)) return name;
    writeError(name);
  }
  return {};
}

void tellBackupCopy(const std::string& copy) {
  showMessage(
      "Záloha z nestandardního ukončení nepatří k otevřenému deníku, její data jsou uložena "
      "v souboru :\r\n\r\n" + platform::pathText(copy),
      platform::MessageKind::Warning);
}

// The recovery after an abnormal end: the backup overwrites the log only
// when the log's contacts are a prefix of the backup's (comparing sizes
// would let a backup of another log replace it); a backup of another log is
// kept aside as a "zaloha_" copy and never mixed in. Returns true when it
// read the log.
bool recover(StartupContext& ctx, StartupResult& r) {
  LogDocument& log = ctx.log;
  const std::string& backup = log.ZalohaFileName;
  if (!platform::fileExists(backup)) return false;
  showMessage("Probíhá obnovení po nesdandardním ukončení programu VEKTRANO");

  const Grid fromBackup = contactsOf(backup);
  const std::string target = log.SaveFileName.empty() ? "" : logTargetName(log.SaveFileName);
  const Grid fromLog = contactsOf(target);
  const int backupContacts = std::max(0, fromBackup.rowCount() - 1);

  bool readLog = false;
  if (target.empty()) {
    // No log to restore into: the contacts must not be lost at the next close.
    if (backupContacts > 0) {
      r.bezpecnostniKopie = keepBackupCopy(ctx, backup);
      if (!r.bezpecnostniKopie.empty()) tellBackupCopy(r.bezpecnostniKopie);
      r.obnova = Obnova::BezpecnostniKopie;
    } else {
      r.obnova = Obnova::DenikUplny;
    }
  } else if (kontaktyJsouPrefixem(fromBackup, fromLog)) {
    r.obnova = Obnova::DenikUplny;
    showMessage("Jdu načítat data deníku : " + platform::pathText(log.SaveFileName));
    ctx.ui.logLoaded(nactidata(log, ctx.synonyma));
    readLog = true;
  } else if (kontaktyJsouPrefixem(fromLog, fromBackup)) {
    r.obnova = Obnova::ZeZalohy;
    showMessage("Jdu načítat data zálohy : " + platform::pathText(backup));
    const std::string path = log.SaveFileName;
    const NacteniVysledek v = nactiZalohu(log, ctx.synonyma);
    log.SaveFileName = path;
    if (v.ok) ulozdata(log, log.SaveFileName);
    ctx.ui.logLoaded(v);
    readLog = true;
  } else {
    r.obnova = Obnova::BezpecnostniKopie;
    r.bezpecnostniKopie = keepBackupCopy(ctx, backup);
    if (!r.bezpecnostniKopie.empty()) tellBackupCopy(r.bezpecnostniKopie);
    showMessage("Jdu načítat data deníku : " + platform::pathText(log.SaveFileName));
    ctx.ui.logLoaded(nactidata(log, ctx.synonyma));
    readLog = true;
  }
  showMessage("Obnovení provedeno ...");
  return readLog;
}

void storageFolders(StartupContext& ctx) {
  MainWindowSettings& s = ctx.settings;
  for (auto [folder, name] : {std::pair{&s.UlozisteDat, "UlozisteDat"},
                              std::pair{&s.UlozisteMap, "UlozisteMap"},
                              std::pair{&s.UlozisteFoto, "UlozisteFoto"}}) {
    if (!folder->empty()) continue;
    *folder = joinPath(ctx.programFolder, name);
    if (!platform::dirExists(*folder)) makeDirs(*folder);
  }
  ctx.ui.setStatusPanel(2, "UlozisteDat : " + platform::pathText(s.UlozisteDat));
  if (s.UlozisteArchiv.empty()) s.UlozisteArchiv = joinPath(ctx.programFolder, "UlozisteArchiv");
  if (!platform::dirExists(s.UlozisteArchiv)) makeDirs(joinPath(s.UlozisteArchiv, "001"));
}

void defaultFiles(const std::string& programFolder, const std::string& programFile) {
  for (const VychoziSoubor& f : vychoziSoubory()) {
    writeWhenMissing(platform::dataFile(programFolder, f.pripona), f.obsah);
    // The previous program file left by an import goes once the import is
    // over, from beside the program file where the import kept it (the
    // program folder may lie elsewhere).
    if (f.pripona == ".rep") {
      removeFile(platform::dataFile(programFolder, kPredchoziProgram));
      if (!programFile.empty()) removeFile(programFile + kPredchoziProgram);
    }
  }
}

// The files the program cannot work without: every missing one is named;
// true when the program must end.
bool requiredFilesMissing(const std::string& programFolder) {
  bool missing = false;
  for (const char* ext : {".rep", ".zr4", ".wav"}) {
    const std::string path = platform::dataFile(programFolder, ext);
    if (platform::fileExists(path)) continue;
    showMessage("Chybí soubor : " + platform::pathText(path) + "\r\n\r\n" + "Na " + kAdresaStazeni +
                    " najdeš kompletní verzi",
                platform::MessageKind::Error);
    missing = true;
  }
  return missing;
}

}  // namespace

StartupContext::StartupContext(MainWindowSettings& settings_, LogDocument& log_,
                               TabulkaReportu& reporty_, TabulkaSynonym& synonyma_,
                               std::vector<std::string>& vyjimky_, Indexes& indexes_,
                               StartupUi& ui_)
    : settings(settings_),
      log(log_),
      reporty(reporty_),
      synonyma(synonyma_),
      SeznamVyjimek(vyjimky_),
      indexes(indexes_),
      ui(ui_),
      programFolder(platform::programFolder()),
      programFile(platform::executablePath()),
      shippedFolder(platform::shippedDataFolder()),
      shippedFiles(shippedDataFiles()),
      now(platform::now()) {}

const std::vector<std::string>& shippedDataFiles() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> out;
#ifdef VEKTRANO_SHIPPED_FILES
    const std::string_view all = VEKTRANO_SHIPPED_FILES;
    for (std::size_t start = 0; start <= all.size();) {
      std::size_t end = all.find('|', start);
      if (end == std::string_view::npos) end = all.size();
      if (end > start) out.emplace_back(all.substr(start, end - start));
      start = end + 1;
    }
#endif
    return out;
  }();
  return names;
}

void seedProgramFolder(const std::string& shippedFolder, const std::string& programFolder,
                       const std::vector<std::string>& names) {
  if (shippedFolder.empty() || sameFolder(shippedFolder, programFolder)) return;
  for (const std::string& name : names) {
    const std::string to = joinPath(programFolder, name);
    if (!nothingAt(to)) continue;
    const std::string from = joinPath(shippedFolder, name);
    if (!platform::fileExists(from)) continue;
    // writeFileAtomic: a temporary file in the program folder, renamed
    // only once it is complete and on disk.
    const std::optional<std::string> data = platform::readWholeFile(from);
    if (!data || !platform::writeFileAtomic(to, *data)) writeError(to);
  }
}

MissingIndexes buildMissingIndexes(Indexes& indexes, const DatabaseFiles& files,
                                   const ReIndexaceOptions& options) {
  MissingIndexes built;
  if (options.MenuRam) return built;
  const IndexPrefixes& p = indexes.prefixes();
  if (countIndexFiles(p.loc) + countIndexFiles(p.locl) == 0 &&
      chosenPresent(options.lokatory, files.LokatoryAlter, files.zr4))
    built.lokatory = indexes.locIDX(files, options.lokatory);
  if (countIndexFiles(p.vol) + countIndexFiles(p.voll) == 0 &&
      chosenPresent(options.volacky, files.VolackyAlter, files.pvk))
    built.volacky = indexes.volIDX(files, options.volacky);
  if (countIndexFiles(p.jmn) == 0 && platform::fileExists(files.jmn))
    built.svatky = indexes.jmnIDX(files);
  return built;
}

void archiveSeed(const std::string& root) {
  const std::string index = joinPath(root, "archiv.zr4");
  const std::string first = joinPath(root, "001");
  writeWhenMissing(index, zaznamArchivu(1, kHlavniArchiv, first));
  copyWhenMissing(index, joinPath(root, "archiv.zal"));
  const std::string catalogue = joinPath(first, "deniky.pbl");
  if (!platform::fileExists(catalogue)) {
    makeDirs(first);
    writeWhenMissing(catalogue, {});
  }
  copyWhenMissing(catalogue, joinPath(first, "deniky.zal"));
}

std::string zaznamArchivu(std::int32_t cislo, const std::string& nazev, const std::string& slozka) {
  std::string rec(kArchivRecord, '\0');
  const auto n = static_cast<std::uint32_t>(cislo);
  for (int i = 0; i < 4; ++i) rec[static_cast<std::size_t>(i)] = static_cast<char>((n >> (8 * i)) & 0xFF);
  auto put = [&rec](std::size_t at, std::size_t size, const std::string& text) {
    const std::size_t len = std::min(text.size(), size - 1);
    rec[at] = static_cast<char>(len);
    rec.replace(at + 1, len, text, 0, len);
  };
  put(4, kArchivName, nazev);
  put(4 + kArchivName, kArchivFolder, platform::storedPath(slozka).value_or(platform::pathText(slozka)));
  return rec;
}

const std::vector<VychoziSoubor>& vychoziSoubory() {
  static const std::vector<VychoziSoubor> files = {
      {".upc", lines({"x;x;x;x;x"})},
      {".upq", lines({";seznam zakázaných souborů pro update"})},
      {".rep", formatTabulkaReportu(vychoziTabulkaReportu())},
      {".dup", lines({"Sněžka"})},
      {".syn", lines({"František;Franta", "Jan;Honza", "Karel;Karlík", "Václav;Vašek",
                      "Václav;Venca"})},
      {".hb9", lines({"Volačka;Lokátor;Azimut", "Kozákov;JO70PO;210", "Javorina;JN88UU;310",
                      "Klínovec;JO60LJ;93", ";;", ";;", ";;", ";;", ";;"})},
  };
  return files;
}

TabulkaReportu reportyZeSouboru(std::string_view data) {
  TabulkaReportu t = parseTabulkaReportu(data);
  const TabulkaReportu& defaults = vychoziTabulkaReportu();
  for (std::size_t i = 0; i < t.size(); ++i)
    if (!limitKm(t[i])) t[i] = defaults[i];
  return t;
}

void synonymaZeSouboru(std::string_view data, TabulkaSynonym& tabulka) {
  tabulka.clear();
  forEachLine(data, [&tabulka](std::string_view line) {
    const std::size_t semi = line.find(';');
    if (semi == std::string_view::npos || semi + 1 == line.size()) return true;
    return tabulka.add(line.substr(0, semi), line.substr(semi + 1));
  });
}

std::vector<std::string> vyjimkyZeSouboru(std::string_view data) {
  std::vector<std::string> words;
  forEachLine(data, [&words](std::string_view line) {
    if (!line.empty()) words.emplace_back(line);
    return true;
  });
  return words;
}

bool kontaktyJsouPrefixem(const Grid& kratsi, const Grid& delsi) {
  if (kratsi.rowCount() > delsi.rowCount()) return false;
  for (int r = 1; r < kratsi.rowCount(); ++r)
    for (int c = 0; c < kLogColumns; ++c)
      if (kratsi.cell(r, c) != delsi.cell(r, c)) return false;
  return true;
}

SledovaniCestyDeniku::SledovaniCestyDeniku(std::string keyPath) : keyPath_(std::move(keyPath)) {}

bool SledovaniCestyDeniku::update(const std::string& path) {
  if (known_ && path == stored_) return false;
  std::optional<platform::RegistryKey> key = platform::RegistryKey::open(keyPath_, true);
  if (!key) return false;
  const std::optional<std::string> text = platform::storedPath(path);
  if (!text)
    showMessage(zpravaNeulozitelneCesty("Cestu k deníku", path) +
                    "\r\n\r\nDeník se ukládá dál, jen po novém spuštění programu se sám neotevře.",
                platform::MessageKind::Warning);
  key->writeString("SaveFileName", text.value_or(std::string()));
  if (!key->flush()) return false;
  stored_ = path;
  known_ = true;
  return true;
}

StartupResult runStartup(StartupContext& ctx) {
  StartupResult r;
  r.cestaDeniku = SledovaniCestyDeniku(ctx.settingsKey);
  LogDocument& log = ctx.log;
  MainWindowSettings& s = ctx.settings;
  const std::string& home = ctx.programFolder;

  // First of all the shipped files the program folder lacks, so that the
  // defaults below never stand in for a shipped file and the test for
  // required files finds what the program ships.
  seedProgramFolder(ctx.shippedFolder, home, ctx.shippedFiles);

  // Initial values.
  log.ZalohaFileName = joinPath(home, "zaloha.qvl");
  NulujEXP(log);
  std::string argument = ctx.arguments.empty() ? "" : absoluteArgument(ctx.arguments.front());

  // Index folders, then the program folder as the current one.
  for (const char* sub : {"locl", "loc", "voll", "vol", "jmn"}) makeDirs(joinPath(joinPath(home, "idx"), sub));
  {
    std::error_code ec;
    fs::current_path(platform::fsPath(home), ec);
  }
  r.DatumSpojeni = platform::formatDate(ctx.now);
  ctx.ui.setStatusPanel(1, kVersionText);
  s.HelpExist = true;
  log.PocetSpojeni = 0;
  log.NejdelsiKm = 0;

  // Settings.
  r.settingsRead = readMainWindowSettings(s, r.DatumSpojeni, ctx.settingsKey);
  log.lokportable = s.Lokportable.substr(0, 6);
  log.SaveFileName = s.SaveFileName;
  // Earlier versions kept an old ".csv" log's name although its contacts
  // went to the ".qvl" file: that file holds the log.
  if (!log.SaveFileName.empty() && logTargetName(log.SaveFileName) != log.SaveFileName &&
      platform::fileExists(logTargetName(log.SaveFileName)))
    log.SaveFileName = logTargetName(log.SaveFileName);
  log.klavesnice = {s.KlavesniceCZ, !s.KlavesniceCZ};
  log.doplndatum = s.DoplnDatum;
  r.cestaDeniku.reset(s.SaveFileName);
  ctx.ui.applySettings(s, r.settingsRead);

  // Memory mode needs more than 58 MB of physical memory.
  const platform::MemoryStatus memory = ctx.ui.memoryStatus();
  r.pametStaci = memory.totalPhysical / 1048576 > 58;
  if (!r.pametStaci) {
    s.MenuRam = false;
    ctx.ui.disableMenuRam();
  }
  r.pametovyRezim = r.pametStaci && s.MenuRam;

  // Colours: without a stored scheme the window's own colours become it.
  if (!schemaUlozeno(s)) {
    ctx.ui.takeWindowColours(s);
    s.BDUP = 0xF0CAA6;
    s.BNJS = 0;
  } else {
    ctx.ui.applyColours(s);
  }
  ctx.ui.setCaptionAndHints(s.NapovedaChecked);
  if (s.Poprve) ctx.ui.requestHelp(99);

  // Storage folders, the first archive and the default data files.
  storageFolders(ctx);
  archiveSeed(s.UlozisteArchiv);
  defaultFiles(home, ctx.programFile);
  if (const auto data = platform::readWholeFile(platform::dataFile(home, ".dup")))
    ctx.SeznamVyjimek = vyjimkyZeSouboru(*data);
  else
    readError(platform::dataFile(home, ".dup"));

  // Without these files the program cannot work; from here on nothing may
  // be written, so the rest of the start-up is left out.
  if (requiredFilesMissing(home)) {
    r.ukoncit = true;
    ctx.ui.requestTerminate();
    return r;
  }

  const std::string help = platform::dataFile(home, ".hlp");
  if (platform::fileExists(help)) {
    ctx.ui.setHelpFile(help);
    s.HelpExist = true;
  } else {
    if (s.HelpExist)
      showMessage("Chybí soubor : " + platform::pathText(help) + "\r\n\r\n" +
                      "Nápověda k programu nebude dostupná.",
                  platform::MessageKind::Warning);
    s.HelpExist = false;
  }

  // Tables in memory.
  if (const auto data = platform::readWholeFile(platform::dataFile(home, ".rep")))
    ctx.reporty = reportyZeSouboru(*data);
  else
    readError(platform::dataFile(home, ".rep"));
  if (const auto data = platform::readWholeFile(platform::dataFile(home, ".syn")))
    synonymaZeSouboru(*data, ctx.synonyma);
  else
    readError(platform::dataFile(home, ".syn"));

  // The log named on the command line.
  bool logRead = false;
  if (!argument.empty()) {
    if (asciiUpper(extension(argument)) == ".QVL") {
      const std::string previous = log.SaveFileName;
      log.SaveFileName = argument;
      const NacteniVysledek v = nactidata(log, ctx.synonyma);
      logRead = true;
      if (v.ok) {
        r.cestaDeniku.update(log.SaveFileName);
        ctx.ui.logLoaded(v);
      } else {
        // A file that is not there must not replace the last log.
        log.SaveFileName = previous;
        logRead = false;
      }
    } else {
      showMessage("Soubor : " + platform::pathText(ctx.arguments.front()) + " nemá příponu .qvl",
                  platform::MessageKind::Warning);
    }
  }
  if (log.Denik.rowCount() == 2 && log.Denik.cell(1, kColCislo).empty()) {
    log.Denik.setRowCount(1);
    log.PocetSpojeni = 0;
  }
  r.prvniPripominka = UpdateReminder::afterStart(ctx.now).moment();
  ctx.ui.setStatusPanel(1, kVersionText);

  if (recover(ctx, r)) logRead = true;
  if (!logRead && log.SaveFileName.size() > 7) ctx.ui.logLoaded(nactidata(log, ctx.synonyma));

  // Index check and memory tables.
  DatabaseFiles files = DatabaseFiles::beside(home);
  files.LokatoryAlter = s.LokatoryAlter;
  files.VolackyAlter = s.VolackyAlter;
  ReIndexaceOptions o;
  o.MenuRam = r.pametovyRezim;
  o.volacky = databaseChoice(s.Volackyoboje, s.Pouzevolacky1, s.Pouzevolacky2);
  o.lokatory = databaseChoice(s.Lokatoboje, s.Pouzelok1, s.Pouzelok2);
  o.synonyms = &ctx.synonyma;
  o.today = Day{ctx.now.year, ctx.now.month, ctx.now.day};
  ctx.indexes.ReIndexace(files, o);
  return r;
}

}  // namespace vektrano
