// The start-up of the log book on a temporary program folder and settings
// store: the shipped files it copies in, the files and folders it makes,
// the end when a required file is missing, the command-line log, the
// recovery after a crash, and the first index build.
#include "core/session/startup.h"

#include <gtest/gtest.h>

#include <functional>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

#include "core/log/log_file.h"
#include "core/reference/indexes.h"
#include "core/session/colour_schemes.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"
#include "tests/support/message_recorder.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;
using platform::fileExists;
using platform::readWholeFile;
using test::TempDir;

using Recorder = test::MessageRecorder;

class FakeUi : public StartupUi {
 public:
  std::uint64_t totalMemory = 512ull * 1048576;
  bool terminate = false, menuRamDisabled = false;
  std::vector<int> helpTopics;
  int loads = 0;
  void requestTerminate() override { terminate = true; }
  void disableMenuRam() override { menuRamDisabled = true; }
  void requestHelp(int topic) override { helpTopics.push_back(topic); }
  void logLoaded(const NacteniVysledek&) override { ++loads; }
  void takeWindowColours(MainWindowSettings&) override { colours.push_back("taken"); }
  void applyColours(const MainWindowSettings&) override { colours.push_back("applied"); }
  std::vector<std::string> colours;
  platform::MemoryStatus memoryStatus() override { return {totalMemory, totalMemory / 2, totalMemory}; }
  void setProcessPriority(platform::ProcessPriority) override {}
};

const char* kHlavniArchiv = "001 - Hlavní archív EXPEDICE";

std::string golden(const std::string& name) {
  auto d = readWholeFile(std::string(VEKTRANO_SOURCE_DIR) + "/tests/core/session/data/" + name);
  EXPECT_TRUE(d) << name;
  return d.value_or("");
}

void put(const std::string& path, const std::string& data) {
  fs::create_directories(platform::fsPath(path).parent_path());
  ASSERT_TRUE(platform::writeFileAtomic(path, data)) << path;
}

// A log file whose contacts carry the given call signs.
void writeLog(const std::string& path, const std::vector<std::string>& calls) {
  LogDocument log;
  int n = 0;
  for (const std::string& c : calls)
    log.Denik.appendRow({std::to_string(++n), "07:05", "59", c, "57", "JO80GQ", "141", ""});
  fs::create_directories(platform::fsPath(path).parent_path());
  ASSERT_TRUE(ulozdata(log, path)) << path;
}

// The call signs of a log file's contacts, in file order.
std::vector<std::string> callsIn(const std::string& path) {
  LogDocument log;
  const auto data = readWholeFile(path);
  if (!data) return {"<missing>"};
  parseLog(*data, log);
  std::vector<std::string> calls;
  for (int r = 1; r < log.Denik.rowCount(); ++r) calls.push_back(log.Denik.cell(r, kColVolacka));
  return calls;
}

std::vector<std::string> callsIn(const LogDocument& log) {
  std::vector<std::string> calls;
  for (int r = 1; r < log.Denik.rowCount(); ++r) calls.push_back(log.Denik.cell(r, kColVolacka));
  return calls;
}

// Every file and folder under root, relative, folders ending with "/".
std::set<std::string> tree(const std::string& root) {
  std::set<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    std::string rel = fs::relative(e.path(), root).generic_string();
    out.insert(e.is_directory() ? rel + "/" : rel);
  }
  return out;
}

std::vector<std::string> safetyCopies(const std::string& folder) {
  std::vector<std::string> out;
  if (!fs::exists(folder)) return out;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().filename().string().rfind("zaloha_", 0) == 0) out.push_back(e.path().string());
  return out;
}

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cwd_ = fs::current_path();
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  }
  void TearDown() override {
    fs::current_path(cwd_);
    ::unsetenv("XDG_CONFIG_HOME");
  }

  std::string home() const { return home_.empty() ? root.path() : home_; }
  std::string data() const { return home() + "/UlozisteDat"; }

  // The locator database and the sound file, which start-up never writes,
  // and the help file.
  void provideRequired() {
    put(platform::dataFile(home(), ".zr4"), "JO70GQ;Praha;\r\n");
    put(platform::dataFile(home(), ".wav"), "RIFF");
    put(platform::dataFile(home(), ".hlp"), "help");
  }

  // A settings store as a previous normal close leaves it.
  void storeSettings(const std::string& logPath, bool menuRam = false) {
    MainWindowSettings s;
    s.SaveFileName = logPath;
    s.UlozisteDat = data();
    s.MenuRam = menuRam;
    ASSERT_TRUE(writeMainWindowSettings(s, home()));
  }

  StartupResult run(std::vector<std::string> args = {}) {
    indexes = std::make_unique<Indexes>(home(), ui);
    StartupContext ctx(settings, log, reporty, synonyma, vyjimky, *indexes, ui);
    ctx.programFolder = home();
    ctx.shippedFolder = shipped;
    ctx.shippedFiles = shippedNames;
    ctx.arguments = std::move(args);
    ctx.now = {2026, 12, 10, 14, 30, 5, 0};
    if (!programFile.empty()) ctx.programFile = programFile;
    return runStartup(ctx);
  }

  TempDir root, config;
  std::string home_;  // another program folder than root
  std::string programFile;  // the running program; the test's own by default
  std::string shipped;  // the shipped-data folder; none by default
  std::vector<std::string> shippedNames = {"vektrano.zr4", "vektrano.wav"};
  Recorder rec;
  FakeUi ui;
  MainWindowSettings settings;
  LogDocument log;
  TabulkaReportu reporty{};
  TabulkaSynonym synonyma;
  std::vector<std::string> vyjimky;
  std::unique_ptr<Indexes> indexes;

 private:
  fs::path cwd_;
};

// Only nine zeros mean that no scheme was stored; a stored scheme is applied
// whatever its values add up to (system colours are negative as integers).
TEST_F(StartupTest, AStoredSchemeIsAppliedEvenWhenItsValuesAddUpToZero) {
  struct Case {
    const char* what;
    std::function<void(MainWindowSettings&)> scheme;
    const char* colours;
  } cases[] = {
      {"none stored", [](MainWindowSettings&) {}, "taken"},
      {"a system colour and its complement",
       [](MainWindowSettings& s) {
         s.BPOZ = static_cast<int>(clHighlight);
         s.BPDE = -static_cast<int>(clHighlight);
       },
       "applied"},
      {"black but the longest contact", [](MainWindowSettings& s) { s.BNJS = 0x0000FF; }, "applied"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    provideRequired();
    MainWindowSettings s;
    s.UlozisteDat = data();
    c.scheme(s);
    ASSERT_TRUE(writeMainWindowSettings(s, home()));
    ui.colours.clear();
    run();
    EXPECT_EQ(ui.colours, std::vector<std::string>{c.colours});
    if (std::string(c.colours) == "applied") {
      EXPECT_EQ(settings.BPOZ, s.BPOZ);
      EXPECT_EQ(settings.BPDE, s.BPDE);
    }
  }
}

TEST(ArchiveSeed, RecordIsByteExact) {
  const std::string rec = zaznamArchivu(1, kHlavniArchiv, "/data/UlozisteArchiv/001");
  EXPECT_EQ(rec.size(), 356u);
  EXPECT_EQ(rec, golden("archiv.zr4"));
  // Texts longer than their field are cut, never spill into the next one.
  const std::string longName = zaznamArchivu(2, std::string(150, 'N'), std::string(300, 'F'));
  ASSERT_EQ(longName.size(), 356u);
  EXPECT_EQ(static_cast<unsigned char>(longName[4]), 100u);
  EXPECT_EQ(static_cast<unsigned char>(longName[105]), 250u);
  EXPECT_EQ(longName[105 + 1], 'F');
}

TEST_F(StartupTest, EmptyFolderGetsExactlyTheDefaultFilesFoldersAndArchive) {
  const StartupResult r = run();
  const std::set<std::string> expected = {
      "idx/", "idx/locl/", "idx/loc/", "idx/voll/", "idx/vol/", "idx/jmn/",
      "UlozisteDat/", "UlozisteMap/", "UlozisteFoto/",
      "UlozisteArchiv/", "UlozisteArchiv/archiv.zr4", "UlozisteArchiv/archiv.zal",
      "UlozisteArchiv/001/", "UlozisteArchiv/001/deniky.pbl", "UlozisteArchiv/001/deniky.zal",
      "vektrano.upc", "vektrano.upq", "vektrano.rep", "vektrano.dup", "vektrano.syn",
      "vektrano.hb9"};
  EXPECT_EQ(tree(home()), expected);
  for (const char* ext : {".upc", ".upq", ".rep", ".dup", ".syn", ".hb9"})
    EXPECT_EQ(readWholeFile(platform::dataFile(home(), ext)), golden(std::string("vektrano") + ext)) << ext;

  const std::string archive = home() + "/UlozisteArchiv";
  const std::string seed = *readWholeFile(archive + "/archiv.zr4");
  EXPECT_EQ(seed, zaznamArchivu(1, kHlavniArchiv, archive + "/001"));
  EXPECT_EQ(readWholeFile(archive + "/archiv.zal"), seed);
  EXPECT_EQ(readWholeFile(archive + "/001/deniky.pbl"), "");
  EXPECT_EQ(readWholeFile(archive + "/001/deniky.zal"), "");

  EXPECT_EQ(settings.UlozisteDat, data());
  EXPECT_EQ(ui.helpTopics, std::vector<int>{99});  // first run
  // The locator database and the sound file are not written: the program ends.
  EXPECT_TRUE(r.ukoncit);
  EXPECT_TRUE(ui.terminate);
}

TEST_F(StartupTest, ExistingFilesAreKeptAndADeletedOneWrittenAgain) {
  provideRequired();
  run();
  put(platform::dataFile(home(), ".dup"), "Kleť\r\n");
  put(platform::dataFile(home(), ".e4e"), "old program");
  fs::remove(platform::fsPath(platform::dataFile(home(), ".syn")));
  log = LogDocument();
  run();
  EXPECT_EQ(readWholeFile(platform::dataFile(home(), ".dup")), "Kleť\r\n");
  EXPECT_EQ(vyjimky, std::vector<std::string>{"Kleť"});
  EXPECT_EQ(readWholeFile(platform::dataFile(home(), ".syn")), golden("vektrano.syn"));
  EXPECT_EQ(synonyma.PocetSynonym(), 5);
  EXPECT_FALSE(fileExists(platform::dataFile(home(), ".e4e")));
}

// The import of the update zip keeps the previous program beside the
// program file, wherever the program folder is: that is where it goes.
TEST_F(StartupTest, ThePreviousProgramLeftByAnImportGoesFromBesideTheProgram) {
  TempDir bin;
  programFile = bin.file("vektrano");
  put(programFile, "new program");
  put(programFile + ".e4e", "old program");
  provideRequired();
  run();
  EXPECT_FALSE(fileExists(programFile + ".e4e"));
  EXPECT_EQ(readWholeFile(programFile), "new program");
}

TEST_F(StartupTest, MissingRequiredFilesEndTheProgramAndNothingMoreIsWritten) {
  struct Case {
    std::vector<std::string> present;
    bool repBlocked;  // a folder stands where the report table would be written
    std::vector<std::string> missing;
  } cases[] = {
      {{".zr4", ".wav"}, false, {}},
      {{".zr4"}, false, {".wav"}},
      {{}, false, {".zr4", ".wav"}},
      {{".zr4", ".wav"}, true, {".rep"}},
  };
  for (const Case& c : cases) {
    TempDir folder;
    home_ = folder.path();
    rec.texts.clear();
    ui = FakeUi();
    log = LogDocument();
    settings = MainWindowSettings();
    for (const std::string& ext : c.present) put(platform::dataFile(home(), ext), "x");
    if (c.repBlocked) fs::create_directories(platform::fsPath(platform::dataFile(home(), ".rep")));
    // A crash backup that would otherwise rewrite the last log.
    storeSettings(data() + "/denik.qvl");
    writeLog(data() + "/denik.qvl", {"Petr"});
    writeLog(home() + "/zaloha.qvl", {"Petr", "Karel"});
    const std::string before = *readWholeFile(data() + "/denik.qvl");

    const StartupResult r = run();
    std::vector<std::string> shown;
    for (const std::string& ext : c.missing)
      shown.push_back("Chybí soubor : " + platform::dataFile(home(), ext) + "\r\n\r\nNa " + kAdresaStazeni +
                      " najdeš kompletní verzi");
    std::vector<std::string> got;
    for (const std::string& t : rec.texts)
      if (t.rfind("Chybí soubor : ", 0) == 0 && t.find("Nápověda") == std::string::npos)
        got.push_back(t);
    EXPECT_EQ(got, shown) << c.missing.size();
    EXPECT_EQ(r.ukoncit, !c.missing.empty());
    EXPECT_EQ(ui.terminate, !c.missing.empty());
    if (!c.missing.empty()) {
      EXPECT_EQ(*readWholeFile(data() + "/denik.qvl"), before);
      EXPECT_TRUE(safetyCopies(data()).empty());
      EXPECT_EQ(ui.loads, 0);
    } else {
      EXPECT_EQ(callsIn(data() + "/denik.qvl"), (std::vector<std::string>{"Petr", "Karel"}));
    }
  }
}

TEST_F(StartupTest, ShippedFilesComeFirstAndAFileMissingFromBothPlacesEndsTheProgram) {
  TempDir from;
  shipped = from.path();
  shippedNames = {"vektrano.zr4", "vektrano.wav", "vektrano.rep"};
  put(from.file("vektrano.zr4"), "JO70FC;Praha\r\n");
  put(from.file("vektrano.rep"), "0;55;\r\n");  // shipped: stands in for the default
  const StartupResult r = run();
  EXPECT_EQ(readWholeFile(platform::dataFile(home(), ".zr4")), "JO70FC;Praha\r\n");
  EXPECT_EQ(readWholeFile(platform::dataFile(home(), ".rep")), "0;55;\r\n");
  EXPECT_FALSE(fileExists(platform::dataFile(home(), ".wav")));
  EXPECT_EQ(rec.texts, std::vector<std::string>{"Chybí soubor : " + platform::dataFile(home(), ".wav") +
                                                "\r\n\r\nNa " + kAdresaStazeni +
                                                " najdeš kompletní verzi"});
  EXPECT_TRUE(r.ukoncit);

  // Shipped at last: the next start runs, and the operator's database stays his.
  put(platform::dataFile(home(), ".zr4"), "JO70FC;Moje Praha\r\n");
  put(from.file("vektrano.wav"), "RIFF");
  rec.texts.clear();
  const StartupResult again = run();
  EXPECT_FALSE(again.ukoncit);
  EXPECT_EQ(reporty[0], (RadekReportu{"0", "55"}));
  EXPECT_EQ(readWholeFile(platform::dataFile(home(), ".zr4")), "JO70FC;Moje Praha\r\n");
  EXPECT_EQ(readWholeFile(platform::dataFile(home(), ".wav")), "RIFF");
}

TEST(SeedProgramFolder, CopiesOnlyWhatNothingStandsFor) {
  TempDir from, to;
  put(from.file("a.zr4"), "shipped a");
  put(from.file("b.wav"), "shipped b");
  put(from.file("c.pvk"), "shipped c");
  put(from.file("d.jmn"), "shipped d");
  put(to.file("b.wav"), "the operator's b");
  fs::create_symlink(to.file("gone"), to.file("c.pvk"));  // dangling: his, all the same
  fs::create_directories(to.file("d.jmn"));
  Recorder rec;
  seedProgramFolder(from.path(), to.path(), {"a.zr4", "b.wav", "c.pvk", "d.jmn", "e.hb9"});
  EXPECT_EQ(readWholeFile(to.file("a.zr4")), "shipped a");
  EXPECT_EQ(readWholeFile(to.file("b.wav")), "the operator's b");
  EXPECT_TRUE(fs::is_symlink(to.file("c.pvk")));
  EXPECT_TRUE(fs::is_directory(to.file("d.jmn")));
  EXPECT_FALSE(fs::exists(to.file("e.hb9")));  // not shipped: left to the required-file test
  EXPECT_EQ(tree(to.path()), (std::set<std::string>{"a.zr4", "b.wav", "c.pvk", "d.jmn/"}));
  EXPECT_TRUE(rec.texts.empty());

  // One folder for both (a build without VEKTRANO_HOME): nothing to do.
  seedProgramFolder(to.path(), to.path() + "/", {"a.zr4", "x"});
  EXPECT_EQ(tree(to.path()), (std::set<std::string>{"a.zr4", "b.wav", "c.pvk", "d.jmn/"}));

  // A program folder that cannot take the file: told, and nothing else.
  put(to.file("plain"), "x");
  seedProgramFolder(from.path(), to.file("plain"), {"a.zr4"});
  EXPECT_EQ(rec.texts, std::vector<std::string>{"Chyba I/O při ukládání souboru : " +
                                                to.file("plain") + "/a.zr4"});
}

TEST(SeedProgramFolder, AStartKilledMidCopyLeavesNoHalfFile) {
  TempDir from, to;
  // Large enough that the copy is caught on its way.
  std::string big(64u << 20, '\0');
  for (std::size_t i = 0; i < big.size(); i += 4096) big[i] = static_cast<char>('A' + (i >> 12) % 26);
  put(from.file("vektrano.zr4"), big);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    seedProgramFolder(from.path(), to.path(), {"vektrano.zr4"});
    ::_exit(0);
  }
  // Killed as soon as the copy has begun to land in the program folder.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline && tree(to.path()).empty())
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);

  const std::string target = to.file("vektrano.zr4");
  if (fs::exists(target)) {
    EXPECT_TRUE(readWholeFile(target) == big) << "a half file under the name";
  }
  // The next start copies it whole.
  seedProgramFolder(from.path(), to.path(), {"vektrano.zr4"});
  EXPECT_TRUE(readWholeFile(target) == big);
}

TEST_F(StartupTest, CommandLineLog) {
  provideRequired();
  storeSettings(data() + "/posledni.qvl");
  writeLog(data() + "/posledni.qvl", {"Petr"});
  writeLog(home() + "/jinde/EXPEDICE.QVL", {"Jana", "Ota"});

  run({home() + "/jinde/EXPEDICE.QVL"});
  EXPECT_EQ(callsIn(log), (std::vector<std::string>{"Jana", "Ota"}));
  EXPECT_EQ(log.SaveFileName, home() + "/jinde/EXPEDICE.QVL");
  // Stored at once, so that a crash backup finds its log.
  auto key = platform::RegistryKey::open(kMainWindowKey, false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->readString("SaveFileName"), home() + "/jinde/EXPEDICE.QVL");
  EXPECT_TRUE(rec.texts.empty()) << rec.texts.front();
}

TEST_F(StartupTest, CommandLineLogRelativeToTheStartingFolder) {
  provideRequired();
  TempDir start;
  writeLog(start.file("denik.qvl"), {"Jana"});
  fs::current_path(start.path());
  run({"denik.qvl"});
  EXPECT_EQ(callsIn(log), std::vector<std::string>{"Jana"});
  EXPECT_EQ(log.SaveFileName, start.file("denik.qvl"));
}

TEST_F(StartupTest, CommandLineWithoutQvlOpensTheLastLog) {
  struct Case {
    std::string argument;
    std::string message;  // empty: none
  } cases[] = {
      {"/x/stary.csv", "Soubor : /x/stary.csv nemá příponu .qvl"},
      {"/x/neni.qvl", "Soubor /x/neni.qvl nebyl nalezen !"},
  };
  provideRequired();
  storeSettings(data() + "/posledni.qvl");
  writeLog(data() + "/posledni.qvl", {"Petr"});
  for (const Case& c : cases) {
    rec.texts.clear();
    log = LogDocument();
    run({c.argument});
    EXPECT_EQ(rec.texts, std::vector<std::string>{c.message});
    EXPECT_EQ(callsIn(log), std::vector<std::string>{"Petr"}) << c.argument;
    EXPECT_EQ(log.SaveFileName, data() + "/posledni.qvl");
  }
}

// A log opened as ".csv" was once remembered under that name while its
// contacts went to ".qvl": the start reads the file the contacts went to.
TEST_F(StartupTest, ARememberedCsvLogIsReadFromItsQvlFile) {
  provideRequired();
  storeSettings(data() + "/stary.csv");
  writeLog(data() + "/stary.qvl", {"Petr", "Karel"});
  put(data() + "/stary.csv", *readWholeFile(data() + "/stary.qvl"));
  writeLog(data() + "/stary.qvl", {"Petr", "Karel", "Jana"});
  const std::string csvBefore = *readWholeFile(data() + "/stary.csv");
  run();
  EXPECT_EQ(callsIn(log), (std::vector<std::string>{"Petr", "Karel", "Jana"}));
  EXPECT_EQ(log.SaveFileName, data() + "/stary.qvl");
  EXPECT_EQ(readWholeFile(data() + "/stary.csv"), csvBefore);
}

TEST_F(StartupTest, Recovery) {
  using V = std::vector<std::string>;
  struct Case {
    const char* name;
    bool backup;
    V inBackup, inLog;
    Obnova obnova;
    V logAfter, gridAfter;
    V copyHolds;  // the "zaloha_" copy in the data folder; empty: none made
    const char* reading;  // the second recovery message
  } cases[] = {
      {"no backup", false, {}, {"Petr", "Karel"}, Obnova::Zadna, {"Petr", "Karel"},
       {"Petr", "Karel"}, {}, nullptr},
      {"backup equal", true, {"Petr", "Karel"}, {"Petr", "Karel"}, Obnova::DenikUplny,
       {"Petr", "Karel"}, {"Petr", "Karel"}, {}, "Jdu načítat data deníku : "},
      {"backup shorter", true, {"Petr"}, {"Petr", "Karel"}, Obnova::DenikUplny,
       {"Petr", "Karel"}, {"Petr", "Karel"}, {}, "Jdu načítat data deníku : "},
      {"backup longer, log its prefix", true, {"Petr", "Karel", "Jana"}, {"Petr", "Karel"},
       Obnova::ZeZalohy, {"Petr", "Karel", "Jana"}, {"Petr", "Karel", "Jana"}, {},
       "Jdu načítat data zálohy : "},
      {"backup of another log", true, {"Jana", "Ota", "Eva"}, {"Petr", "Karel"},
       Obnova::BezpecnostniKopie, {"Petr", "Karel"}, {"Petr", "Karel"}, {"Jana", "Ota", "Eva"},
       "Jdu načítat data deníku : "},
  };
  provideRequired();
  const std::string logPath = data() + "/denik.qvl";
  const std::string backup = home() + "/zaloha.qvl";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const std::string& f : safetyCopies(data())) fs::remove(f);
    fs::remove(platform::fsPath(backup));
    storeSettings(logPath);
    writeLog(logPath, c.inLog);
    if (c.backup) writeLog(backup, c.inBackup);
    const std::string logBefore = *readWholeFile(logPath);
    rec.texts.clear();
    log = LogDocument();

    const StartupResult r = run();
    EXPECT_EQ(r.obnova, c.obnova);
    EXPECT_EQ(callsIn(logPath), c.logAfter);
    EXPECT_EQ(callsIn(log), c.gridAfter);
    EXPECT_EQ(log.SaveFileName, logPath);
    // The backup stays until a normal close.
    EXPECT_EQ(fileExists(backup), c.backup);
    if (c.obnova == Obnova::ZeZalohy) {
      EXPECT_EQ(readWholeFile(data() + "/denik.bak"), logBefore);
    }

    const V copies = safetyCopies(data());
    if (c.copyHolds.empty()) {
      EXPECT_TRUE(copies.empty());
    } else {
      ASSERT_EQ(copies.size(), 1u);
      EXPECT_EQ(callsIn(copies[0]), c.copyHolds);
      EXPECT_EQ(r.bezpecnostniKopie, copies[0]);
      EXPECT_TRUE(std::any_of(rec.texts.begin(), rec.texts.end(), [&](const std::string& t) {
        return t.find(copies[0]) != std::string::npos;
      })) << "the user is told where the copy is";
    }
    if (c.reading) {
      ASSERT_GE(rec.texts.size(), 3u);
      EXPECT_EQ(rec.texts.front(), "Probíhá obnovení po nesdandardním ukončení programu VEKTRANO");
      EXPECT_TRUE(rec.has(c.reading + (c.obnova == Obnova::ZeZalohy ? backup : logPath)));
      EXPECT_EQ(rec.texts.back(), "Obnovení provedeno ...");
    } else {
      EXPECT_TRUE(rec.texts.empty());
    }
  }
}

TEST_F(StartupTest, RecoveryWithoutALogPathKeepsTheBackupAside) {
  provideRequired();
  storeSettings("");
  fs::create_directories(data());
  writeLog(home() + "/zaloha.qvl", {"Jana", "Ota"});
  const StartupResult r = run();
  EXPECT_EQ(r.obnova, Obnova::BezpecnostniKopie);
  const auto copies = safetyCopies(data());
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(callsIn(copies[0]), (std::vector<std::string>{"Jana", "Ota"}));
}

TEST_F(StartupTest, MemoryModeNeedsMoreThan58MB) {
  struct Case {
    std::uint64_t mb;
    bool enough;
  } cases[] = {{58, false}, {59, true}};
  provideRequired();
  for (const Case& c : cases) {
    storeSettings("", /*menuRam=*/true);
    ui = FakeUi();
    ui.totalMemory = c.mb * 1048576;
    settings = MainWindowSettings();
    const StartupResult r = run();
    EXPECT_EQ(r.pametStaci, c.enough) << c.mb;
    EXPECT_EQ(r.pametovyRezim, c.enough) << c.mb;
    EXPECT_EQ(settings.MenuRam, c.enough) << c.mb;
    EXPECT_EQ(ui.menuRamDisabled, !c.enough) << c.mb;
  }
}

// What the main window shows of a rebuild.
class RecordingObserver : public IndexObserver {
 public:
  std::vector<std::string> statuses;
  int progressShown = 0;
  void setStatusText(const std::string& t) override { statuses.push_back(t); }
  void showProgressBar(bool on) override { progressShown += on; }
  void setProcessPriority(platform::ProcessPriority) override {}
};

TEST(FirstIndexBuild, BuildsOnlyKindsWithADatabaseAndNoIndexFile) {
  struct Case {
    const char* name;
    std::vector<std::string> present;  // database files beside the program
    bool staleIndex = false;           // one index file of the places is there
    bool memoryMode = false;
    DatabaseChoice lokatory = DatabaseChoice::MainOnly;
    MissingIndexes built;
  } cases[] = {
      {"town database only", {"vektrano.zr4"}, false, false, DatabaseChoice::MainOnly, {true, false, false}},
      {"every kind", {"vektrano.zr4", "vektrano.pvk", "vektrano.jmn"}, false, false,
       DatabaseChoice::MainOnly, {true, true, true}},
      {"places indexed already", {"vektrano.zr4", "vektrano.jmn"}, true, false,
       DatabaseChoice::MainOnly, {false, false, true}},
      {"no database", {}, false, false, DatabaseChoice::MainOnly, {false, false, false}},
      {"memory mode", {"vektrano.zr4"}, false, true, DatabaseChoice::MainOnly, {false, false, false}},
      {"only the second database, which is there", {"druha.zr4"}, false, false,
       DatabaseChoice::SecondOnly, {true, false, false}},
      {"only the main database, which is not", {"druha.zr4"}, false, false,
       DatabaseChoice::MainOnly, {false, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir home;
    const std::map<std::string, std::string> lines = {
        {"vektrano.zr4", "JO70FC;Praha\r\n"}, {"druha.zr4", "JO60LJ;Klínovec\r\n"},
        {"vektrano.pvk", "JO70FC;OK1ABC Petr\r\n"}, {"vektrano.jmn", "0103;Bedřich\r\n"}};
    for (const std::string& f : c.present) put(home.file(f), lines.at(f));
    RecordingObserver observer;
    Indexes indexes(home.path(), observer);
    for (const char* sub : {"locl", "loc", "voll", "vol", "jmn"})
      fs::create_directories(home.file("idx/") + sub);
    const std::string stale = indexes.prefixes().loc.file("ZZ");
    if (c.staleIndex) put(stale, "JO99ZZ;Zastaralé\r\n");

    DatabaseFiles files = DatabaseFiles::beside(home.path());
    files.LokatoryAlter = home.file("druha.zr4");
    ReIndexaceOptions o;
    o.MenuRam = c.memoryMode;
    o.lokatory = c.lokatory;
    const MissingIndexes built = buildMissingIndexes(indexes, files, o);
    EXPECT_EQ(built.lokatory, c.built.lokatory);
    EXPECT_EQ(built.volacky, c.built.volacky);
    EXPECT_EQ(built.svatky, c.built.svatky);

    const std::string praha = indexes.prefixes().locl.file("JO70F");
    const std::string klinovec = indexes.prefixes().locl.file("JO60L");
    EXPECT_EQ(fileExists(praha) || fileExists(klinovec), c.built.lokatory);
    if (c.built.lokatory) {
      const bool second = c.lokatory == DatabaseChoice::SecondOnly;
      EXPECT_EQ(readWholeFile(second ? klinovec : praha),
                lines.at(second ? "druha.zr4" : "vektrano.zr4"));
    }
    EXPECT_EQ(fileExists(indexes.prefixes().voll.file("JO70F")), c.built.volacky);
    EXPECT_EQ(fileExists(indexes.prefixes().jmn.file("BE")), c.built.svatky);
    if (c.staleIndex) {
      EXPECT_EQ(readWholeFile(stale), "JO99ZZ;Zastaralé\r\n");
    }

    // The rebuild of the menu commands: progress bar and its texts.
    const int kinds = c.built.lokatory + c.built.volacky + c.built.svatky;
    EXPECT_EQ(observer.progressShown, kinds);
    if (c.built.lokatory) {
      EXPECT_NE(std::find(observer.statuses.begin(), observer.statuses.end(),
                          " Čekej prosím, indexuji databázi lokátorů"),
                observer.statuses.end());
    }
    if (kinds > 0) {
      ASSERT_FALSE(observer.statuses.empty());
      EXPECT_NE(observer.statuses.back().find("   INDEXOVÁNÍ HOTOVO."), std::string::npos);
    }
  }
}

TEST(StartupTables, ReportTableKeepsDefaultRowsForWhatTheFileLacks) {
  const TabulkaReportu& d = vychoziTabulkaReportu();
  TabulkaReportu t = reportyZeSouboru("0;55;\r\nxx;44;\r\n90;;\r\n");
  EXPECT_EQ(t[0], (RadekReportu{"0", "55"}));
  EXPECT_EQ(t[1], d[1]);  // non-numeric limit
  EXPECT_EQ(t[2], (RadekReportu{"90", ""}));
  for (std::size_t i = 3; i < t.size(); ++i) EXPECT_EQ(t[i], d[i]) << i;  // lines missing
  EXPECT_EQ(reportyZeSouboru(""), d);
  EXPECT_EQ(reportyZeSouboru(golden("vektrano.rep")), d);
}

TEST(StartupTables, SynonymLinesWithoutAFamiliarNameAreSkipped) {
  TabulkaSynonym t;
  synonymaZeSouboru("František;Franta\r\nbez strednika\r\nJan;\r\nKarel;Karlík\n", t);
  ASSERT_EQ(t.PocetSynonym(), 2);
  EXPECT_EQ(t.pary()[0].kanonicke, "František");
  EXPECT_EQ(t.pary()[0].domacke, "FRANTA");
  EXPECT_EQ(t.pary()[1].kanonicke, "Karel");
  EXPECT_EQ(t.pary()[1].domacke, "KARLIK");

  std::string many;
  for (int i = 0; i < 250; ++i) many += "A;B" + std::to_string(i) + "\r\n";
  synonymaZeSouboru(many, t);
  EXPECT_EQ(t.PocetSynonym(), TabulkaSynonym::kMax);
  EXPECT_EQ(t.pary().back().domacke, "B199");
}

}  // namespace
}  // namespace vektrano
