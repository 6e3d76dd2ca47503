#include "core/reference/indexes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <thread>

#include "core/base/synonyms.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {
namespace fs = std::filesystem;
using platform::ProcessPriority;

const std::string kData = std::string(VEKTRANO_SOURCE_DIR) + "/tests/core/reference/data/index";

// Every file under a folder: relative path -> bytes.
std::map<std::string, std::string> tree(const fs::path& root) {
  std::map<std::string, std::string> out;
  std::error_code ec;
  if (!fs::exists(root, ec)) return out;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    // The spare folders hold the generation before; no search reads them.
    if (it->is_directory() && it->path().extension() == ".spare") {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file())
      out[fs::relative(it->path(), root).string()] = *platform::readWholeFile(it->path().string());
  }
  return out;
}

// The main window as a rebuild leaves it, and what it was told on the way.
struct Recorder : IndexObserver {
  bool controlsEnabled = true;
  bool progressShown = false;
  ProcessPriority priority = ProcessPriority::Normal;
  bool raisedDuringSplit = false;
  std::vector<std::string> status;
  std::int64_t progressMax = 0, progressPosition = 0;
  std::vector<std::pair<std::int64_t, std::int64_t>> finishedBars;  // max, last position
  std::function<void()> onMessages;
  const Indexes* indexes = nullptr;
  bool busySeen = false;

  void setControlsEnabled(bool on) override { controlsEnabled = on; }
  void showProgressBar(bool on) override { progressShown = on; }
  void setProgressMax(std::int64_t m) override {
    if (progressMax || progressPosition) finishedBars.emplace_back(progressMax, progressPosition);
    progressMax = m;
    progressPosition = 0;
  }
  void setProgressPosition(std::int64_t p) override { progressPosition = p; }
  void setStatusText(const std::string& t) override { status.push_back(t); }
  void processMessages() override {
    if (priority == ProcessPriority::RealTime) raisedDuringSplit = true;
    if (indexes && indexes->IndexaceBezi()) busySeen = true;
    if (onMessages) onMessages();
  }
  void setProcessPriority(ProcessPriority p) override { priority = p; }
  platform::MemoryStatus memoryStatus() override {
    return {8192ull * 1048576, 1536ull * 1048576 + 524288, 0};
  }
};

class IndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"vektrano.zr4", "vektrano.pvk", "vektrano.jmn", "druha.zr4", "druha.pvk"})
      fs::copy_file(kData + "/src/" + f, dir.file(f));
    files = DatabaseFiles::beside(dir.path());
    files.LokatoryAlter = dir.file("druha.zr4");
    files.VolackyAlter = dir.file("druha.pvk");
    recorder.indexes = &indexes;
    previous = platform::setMessageHandler([this](const platform::Message& m) {
      messages.push_back(m.text);
      return m.defaultAnswer;
    });
  }
  void TearDown() override { platform::setMessageHandler(previous); }

  test::TempDir dir;
  DatabaseFiles files;
  Recorder recorder;
  Indexes indexes{dir.path(), recorder};
  std::vector<std::string> messages;
  platform::MessageHandler previous;
};

// --- index files -------------------------------------------------------------

struct GoldenCase {
  const char* golden;
  IndexKind kind;
  DatabaseChoice choice;
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.golden; }

class GoldenTrees : public IndexTest, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(GoldenTrees, MatchByteForByte) {
  const GoldenCase& c = GetParam();
  bool ok = false;
  switch (c.kind) {
    case IndexKind::Lok: ok = indexes.locIDX(files, c.choice); break;
    case IndexKind::Vol: ok = indexes.volIDX(files, c.choice); break;
    case IndexKind::Jmn: ok = indexes.jmnIDX(files); break;
  }
  ASSERT_TRUE(ok);
  EXPECT_TRUE(messages.empty());
  const auto expected = tree(kData + "/golden/" + c.golden);
  const auto actual = tree(dir.file("idx"));
  ASSERT_FALSE(expected.empty());
  std::vector<std::string> missing, extra;
  for (const auto& [name, bytes] : expected) {
    auto it = actual.find(name);
    if (it == actual.end())
      missing.push_back(name);
    else
      EXPECT_EQ(it->second, bytes) << name;
  }
  for (const auto& [name, bytes] : actual)
    if (!expected.count(name)) extra.push_back(name);
  EXPECT_EQ(missing, std::vector<std::string>{});
  EXPECT_EQ(extra, std::vector<std::string>{});
  // Nothing beside the index folders: no staging folder left, nothing taken
  // from a database ("../../;Útok") written outside idx/.
  std::vector<std::string> top;
  for (const auto& e : fs::directory_iterator(dir.path())) top.push_back(e.path().filename().string());
  std::sort(top.begin(), top.end());
  EXPECT_EQ(top, (std::vector<std::string>{"druha.pvk", "druha.zr4", "idx", "vektrano.jmn",
                                           "vektrano.pvk", "vektrano.zr4"}));
  for (const auto& e : fs::directory_iterator(dir.file("idx")))
    EXPECT_EQ(e.path().extension(), "") << e.path();
}

INSTANTIATE_TEST_SUITE_P(
    Fixture, GoldenTrees,
    ::testing::Values(GoldenCase{"lok-both", IndexKind::Lok, DatabaseChoice::Both},
                      GoldenCase{"lok-second", IndexKind::Lok, DatabaseChoice::SecondOnly},
                      GoldenCase{"vol-both", IndexKind::Vol, DatabaseChoice::Both},
                      GoldenCase{"vol-main", IndexKind::Vol, DatabaseChoice::MainOnly},
                      GoldenCase{"jmn", IndexKind::Jmn, DatabaseChoice::MainOnly}),
    [](const auto& info) {
      std::string n = info.param.golden;
      std::replace(n.begin(), n.end(), '-', '_');
      return n;
    });

TEST(IndexBuild, LineGoesToItsKeys) {
  struct Case {
    const char* line;
    std::vector<std::string> words;  // word-index files, sorted
    std::vector<std::string> locators;
  };
  const Case cases[] = {
      // The locator is a word; the district in brackets gives no key.
      {"JO70GQ;Ještěd (Liberec)", {"loc_JE.idx", "loc_JO.idx"}, {"loc_JO70G.idx"}},
      // Š is keyed under S, as the folding comes first; a leading hyphen is an error.
      {"JO70GQ;-Hora Štít", {"loc_------CHYBY.idx", "loc_JO.idx", "loc_ST.idx"}, {"loc_JO70G.idx"}},
      // Three words with the same first two letters: the line once.
      {"JO70GQ;Ještěd Jeřáb Jelen", {"loc_JE.idx", "loc_JO.idx"}, {"loc_JO70G.idx"}},
      // "/p" is no word; one-character words give no key.
      {"JO70GQ;Chata /p 2 x", {"loc_CH.idx", "loc_JO.idx"}, {"loc_JO70G.idx"}},
      // A locator that is no plain key never becomes a file name.
      {"../../;Útok", {"loc_------CHYBY.idx", "loc_...idx", "loc_UT.idx"}, {}},
      {"JO7\\xQ;Les", {"loc_------CHYBY.idx", "loc_JO.idx", "loc_LE.idx"}, {}},
      // Lower-case locators share the file of their upper-case form.
      {"jo70gq;Les", {"loc_JO.idx", "loc_LE.idx"}, {"loc_JO70G.idx"}},
  };
  for (const Case& c : cases) {
    IndexBuild b(IndexKind::Lok);
    b.addLine(c.line);
    std::vector<std::string> words, locators;
    for (const auto& [name, content] : b.wordFiles()) {
      words.push_back(name);
      EXPECT_EQ(content, std::string(c.line) + "\r\n") << c.line << " " << name;
    }
    for (const auto& [name, content] : b.locatorFiles()) locators.push_back(name);
    std::sort(words.begin(), words.end());
    EXPECT_EQ(words, c.words) << c.line;
    EXPECT_EQ(locators, c.locators) << c.line;
  }
}

TEST(IndexBuild, NoTextBeyondTheNinetyNinthWord) {
  std::string line = "JO70GQ;";
  for (int i = 0; i < 97; ++i) line += "AA ";
  line += "BB CC";  // the locator is word 1: BB is word 99, CC word 100
  IndexBuild b(IndexKind::Vol);
  b.addLine(line);
  EXPECT_TRUE(b.wordFiles().count("vol_BB.idx"));
  EXPECT_FALSE(b.wordFiles().count("vol_CC.idx"));
}

TEST_F(IndexTest, RebuildReplacesOnlyIndexFilesAndReportsToTheWindow) {
  fs::create_directories(dir.file("idx/loc"));
  ASSERT_TRUE(PridejRadek(dir.file("idx/loc/loc_XX.idx"), "stary"));
  ASSERT_TRUE(PridejRadek(dir.file("idx/loc/poznamka.txt"), "moje"));
  ASSERT_TRUE(indexes.locIDX(files, DatabaseChoice::MainOnly));

  EXPECT_FALSE(fs::exists(dir.file("idx/loc/loc_XX.idx")));
  EXPECT_EQ(*platform::readWholeFile(dir.file("idx/loc/poznamka.txt")), "moje\r\n");
  // Only the main database: no separator line anywhere.
  for (const auto& [name, bytes] : tree(dir.file("idx")))
    EXPECT_EQ(bytes.find("******"), std::string::npos) << name;

  EXPECT_TRUE(recorder.busySeen);
  EXPECT_TRUE(recorder.raisedDuringSplit);
  EXPECT_FALSE(indexes.IndexaceBezi());
  EXPECT_EQ(recorder.priority, ProcessPriority::Normal);
  EXPECT_TRUE(recorder.controlsEnabled);
  EXPECT_FALSE(recorder.progressShown);
  ASSERT_EQ(recorder.status.size(), 3u);
  EXPECT_EQ(recorder.status[0], " Čekej prosím, indexuji databázi lokátorů");
  EXPECT_EQ(recorder.status[1], " LOKÁTORY : []");
  EXPECT_EQ(recorder.status[2], " LOKÁTORY : []   INDEXOVÁNÍ HOTOVO.");
  // The bar runs over the database's bytes (line + CR LF each).
  EXPECT_EQ(recorder.progressMax, static_cast<std::int64_t>(fs::file_size(files.zr4)));
  EXPECT_EQ(recorder.progressPosition, recorder.progressMax);
}

TEST_F(IndexTest, StatusTextsOfTheOtherKinds) {
  ASSERT_TRUE(indexes.volIDX(files, DatabaseChoice::Both));
  ASSERT_TRUE(indexes.jmnIDX(files));
  const std::vector<std::string> expected = {
      " Čekej prosím, indexuji databázi volaček", "    VOLAČKY: []",
      "    VOLAČKY: []   INDEXOVÁNÍ HOTOVO.", " Čekej prosím, indexuji databázi svátků",
      "    SVÁTKY:[]", "    SVÁTKY:[]   INDEXOVÁNÍ HOTOVO."};
  EXPECT_EQ(recorder.status, expected);
}

TEST_F(IndexTest, IoErrorKeepsTheOldIndexesAndRestoresTheWindow) {
  ASSERT_TRUE(indexes.locIDX(files, DatabaseChoice::MainOnly));
  const auto before = tree(dir.file("idx"));
  // While the database is split the index folder becomes unwritable: idx
  // turns into a plain file.
  recorder.onMessages = [&] {
    if (!fs::exists(dir.file("idx.saved"))) {
      fs::rename(dir.file("idx"), dir.file("idx.saved"));
      PridejRadek(dir.file("idx"), "");
    }
  };
  recorder.status.clear();
  EXPECT_FALSE(indexes.locIDX(files, DatabaseChoice::Both));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("Chyba I/O při ukládání souboru : " + dir.file("idx/"), 0), 0u)
      << messages[0];
  EXPECT_FALSE(indexes.IndexaceBezi());
  EXPECT_EQ(recorder.priority, ProcessPriority::Normal);
  EXPECT_TRUE(recorder.controlsEnabled);
  EXPECT_FALSE(recorder.progressShown);
  EXPECT_EQ(tree(dir.file("idx.saved")), before);

  // Back in place, a later rebuild mends what the failed one left.
  recorder.onMessages = nullptr;
  fs::remove(dir.file("idx"));
  fs::rename(dir.file("idx.saved"), dir.file("idx"));
  fs::create_directories(dir.file("idx/loc.spare/zbytek"));  // as a crash would leave it
  ASSERT_TRUE(PridejRadek(dir.file("idx/loc.spare/loc_JE.idx"), "pulka"));
  ASSERT_TRUE(indexes.locIDX(files, DatabaseChoice::Both));
  EXPECT_EQ(tree(dir.file("idx")), tree(kData + "/golden/lok-both"));
}

TEST_F(IndexTest, RebuildsInARowWriteOverTheSpareExactly) {
  // Each rebuild writes into the folders of the one before the last: files
  // grow, shrink, vanish and come new, and the folders read are exactly a
  // fresh build's.
  const std::pair<DatabaseChoice, const char*> rounds[] = {
      {DatabaseChoice::Both, "lok-both"},
      {DatabaseChoice::SecondOnly, "lok-second"},
      {DatabaseChoice::Both, "lok-both"},
      {DatabaseChoice::SecondOnly, "lok-second"},
      {DatabaseChoice::SecondOnly, "lok-second"},
      {DatabaseChoice::Both, "lok-both"},
  };
  for (const auto& [choice, golden] : rounds) {
    ASSERT_TRUE(indexes.locIDX(files, choice));
    EXPECT_EQ(tree(dir.file("idx")), tree(kData + "/golden/" + golden)) << golden;
  }
  EXPECT_TRUE(messages.empty());
}

// A file of the spare that already holds its new content is left as it is,
// unless the rebuild that last wrote the spare did not end: then nothing in
// it is trusted and every file is written (and flushed) again.
TEST_F(IndexTest, SpareOfAnUnfinishedRebuildIsWrittenAnew) {
  const std::string file = dir.file("idx/loc/loc_JE.idx");
  auto written = [&] { return fs::last_write_time(file); };
  auto rebuild = [&] { ASSERT_TRUE(indexes.locIDX(files, DatabaseChoice::Both)); };
  rebuild();
  rebuild();
  const auto first = written();  // two folders take turns: it is live again two rebuilds on
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  rebuild();
  rebuild();
  EXPECT_EQ(written(), first);
  rebuild();  // the file is in the spare now
  ASSERT_TRUE(PridejRadek(dir.file("idx/loc.spare/.rozepsano"), ""));  // as a crash leaves it
  rebuild();
  EXPECT_NE(written(), first);
  EXPECT_FALSE(fs::exists(dir.file("idx/loc/.rozepsano")));
  EXPECT_FALSE(fs::exists(dir.file("idx/loc.spare/.rozepsano")));
  EXPECT_EQ(tree(dir.file("idx")), tree(kData + "/golden/lok-both"));
}

TEST_F(IndexTest, MissingDatabaseGivesEmptyIndexWithoutMessage) {
  fs::remove(files.pvk);
  files.VolackyAlter.clear();
  EXPECT_TRUE(indexes.volIDX(files, DatabaseChoice::Both));
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(tree(dir.file("idx")).empty());
  EXPECT_TRUE(fs::is_directory(dir.file("idx/vol")));
  EXPECT_TRUE(fs::is_directory(dir.file("idx/voll")));
}

TEST(PridejRadek, CreatesAndAppends) {
  test::TempDir d;
  const std::string f = d.file("seznam.del");
  ASSERT_TRUE(PridejRadek(f, "JO70GQ;Ještěd"));
  ASSERT_TRUE(PridejRadek(f, ""));
  ASSERT_TRUE(PridejRadek(f, "a"));
  EXPECT_EQ(*platform::readWholeFile(f), "JO70GQ;Ještěd\r\n\r\na\r\n");
  EXPECT_FALSE(PridejRadek(d.file("chybi/x.del"), "a"));
}

TEST(CasTrvani, ElapsedTimeText) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "[]"},
      {999, "[]"},
      {1000, "[sec:1]"},
      {59999, "[sec:59]"},
      {60000, "[sec:60]"},
      {61000, "[min:1,sec:1]"},
      {120000, "[min:2]"},
      {3600000, "[min:60]"},
      {3601000, "[hod:1,sec:1]"},
      {3660000, "[hod:1,sec:60]"},
      {3725000, "[hod:1,min:2,sec:5]"},
      {7200000, "[hod:2]"},
  };
  for (const auto& [ms, text] : cases) EXPECT_EQ(CasTrvani(1000, 1000 + ms), text) << ms;
}

TEST(Megabytes, RoundedWithThousandsSeparators) {
  const std::pair<std::uint64_t, const char*> cases[] = {
      {0, " MB"},
      {524287, " MB"},
      {524288, "1 MB"},
      {999ull * 1048576, "999 MB"},
      {8192ull * 1048576, "8 192 MB"},
      {1234567ull * 1048576, "1 234 567 MB"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(megabytes(bytes), text) << bytes;
}

TEST(DatabaseChoice, FromTheMenuTicks) {
  EXPECT_EQ(databaseChoice(false, true, false), DatabaseChoice::MainOnly);
  EXPECT_EQ(databaseChoice(false, false, true), DatabaseChoice::SecondOnly);
  EXPECT_EQ(databaseChoice(true, false, false), DatabaseChoice::Both);
  EXPECT_EQ(databaseChoice(false, false, false), DatabaseChoice::Both);
}

// --- ReIndexace ----------------------------------------------------------------

TEST_F(IndexTest, FileModeCountsTheIndexFiles) {
  ASSERT_TRUE(indexes.locIDX(files, DatabaseChoice::Both));
  ASSERT_TRUE(indexes.volIDX(files, DatabaseChoice::MainOnly));
  ASSERT_TRUE(indexes.jmnIDX(files));
  recorder.status.clear();
  ReIndexaceOptions o;
  o.today = {2026, 12, 10};
  indexes.ReIndexace(files, o);
  const auto count = [&](const char* golden, const char* folder) {
    int n = 0;
    for (const auto& [name, b] : tree(kData + "/golden/" + golden))
      if (name.rfind(std::string(folder) + "/", 0) == 0) ++n;
    return n;
  };
  const int places = count("lok-both", "loc") + count("lok-both", "locl");
  const int calls = count("vol-main", "vol") + count("vol-main", "voll");
  const int days = count("jmn", "jmn");
  ASSERT_EQ(recorder.status.size(), 1u);
  EXPECT_EQ(recorder.status[0], "Počty souborů - LOKÁTORY:" + std::to_string(places) +
                                    ",  VOLAČKY:" + std::to_string(calls) +
                                    ",  SVÁTKY:" + std::to_string(days));
  EXPECT_EQ(indexes.DnesniDatum(), "10.12.2026");
  EXPECT_EQ(indexes.PocetVolacekRAM(), 0);
}

std::vector<std::string> cells(const SharedTable& t, int which) {
  std::vector<std::string> out;
  for (const MemoryRow& r : *t) out.push_back(which == 0 ? r.cell0 : r.cell1);
  return out;
}

TEST_F(IndexTest, MemoryModeLoadsTheChosenDatabases) {
  ReIndexaceOptions o;
  o.MenuRam = true;
  o.today = {2026, 12, 10};
  o.volacky = DatabaseChoice::Both;
  o.lokatory = DatabaseChoice::SecondOnly;
  indexes.ReIndexace(files, o);

  EXPECT_EQ(cells(indexes.SGvolacky.get(), 1),
            (std::vector<std::string>{
                "JO70PO OK2QQ Karel ",
                "************************************",
                "JO70GQ OK1ABC Petr (LIBEREC) - 1.1.2000",
                "JO70FR OK1XYZ Jana ",
                "JN79US OL5Z Šimon (PRACHATICE) - 12.5.2007",
                "JO60LJ -X Klínovec - 3.3.2003",
                "JO70GQ Zr-12 Pavel - 1.1.2000",
            }));
  EXPECT_EQ(cells(indexes.SGvolacky.get(), 0),
            (std::vector<std::string>{
                " JO70PO OK2QQ KAREL;NEZJISTENO",
                "******",
                " JO70GQ OK1ABC PETR ",
                " JO70FR OK1XIZ JANA;NEZJISTENO",
                " JN79US OL5Z SIMON ",
                " JO60LJ -X KLINOVEC;3.3.2003",
                " JO70GQ ZR-12 PAVEL;1.1.2000",
            }));
  // Only the second database chosen: memory mode loads both all the same,
  // the second one first.
  const std::vector<std::string> places = cells(indexes.SGlokatory.get(), 1);
  ASSERT_EQ(places.size(), 2u + 1u + 23u);
  EXPECT_EQ(std::vector<std::string>(places.begin(), places.begin() + 3),
            (std::vector<std::string>{"JO70GQ Ještěd - chata (Liberec)", "JO70HH Kamenice",
                                      std::string(36, '*')}));
  EXPECT_EQ(places.back(), "JO70GQ Nezjištěno");
  EXPECT_EQ(indexes.SGlokatory.get()->at(0).cell0, " JO70GQ JESTED - CHATA ");

  // 2026 is no leap year: the 29th of February is left out.
  EXPECT_EQ(cells(indexes.SGsvatky.get(), 1),
            (std::vector<std::string>{
                "01.01-Nový rok -343",
                "19.03-Josef -266",
                "08.04-Ema -246",
                "24.12-Adam Eva +14",
                "31.02-Chyba",
                "ab.12-Nic",
                "10.12-Julie *!*!*!*!*!*!",
                "05.11-Miroslav (Mirek) -35",
            }));
  EXPECT_EQ(indexes.SGsvatky.get()->at(3).cell0, " ADAM EVA");

  ASSERT_FALSE(recorder.status.empty());
  EXPECT_EQ(recorder.status.back(),
            "Načteno : 7 volaček, 26 lokátorů, 8 svátků, RAM celkem : 8 192 MB, "
            "RAM volná : 1 537 MB, Virt.volná :  MB");
  EXPECT_FALSE(recorder.progressShown);

  // Main only, and a reload replaces the tables whole.
  o.volacky = DatabaseChoice::MainOnly;
  o.lokatory = DatabaseChoice::MainOnly;
  indexes.ReIndexace(files, o);
  EXPECT_EQ(indexes.PocetVolacekRAM(), 5);
  EXPECT_EQ(indexes.PocetLokatoruRAM(), 23);
  EXPECT_EQ(indexes.SGlokatory.get()->at(22).cell1, "JO70GQ Nezjištěno");
}

TEST_F(IndexTest, MemoryModeWithAMissingSecondDatabase) {
  ReIndexaceOptions o;
  o.MenuRam = true;
  o.today = {2026, 12, 10};
  o.volacky = DatabaseChoice::Both;
  indexes.ReIndexace(files, o);
  ASSERT_EQ(indexes.PocetVolacekRAM(), 7);

  files.VolackyAlter = dir.file("chybi.pvk");
  indexes.ReIndexace(files, o);
  EXPECT_EQ(indexes.PocetVolacekRAM(), 6);  // separator row + main list
  o.volacky = DatabaseChoice::SecondOnly;
  indexes.ReIndexace(files, o);
  EXPECT_EQ(indexes.PocetVolacekRAM(), 6);  // nothing stale stays; the main list still loads
}

TEST(NameDays, LeapYearAndSynonyms) {
  const Day leap{2024, 3, 1};
  EXPECT_TRUE(nameDayLoaded("2902;Horymír", leap));
  EXPECT_FALSE(nameDayLoaded("2902;Horymír", {2025, 3, 1}));
  EXPECT_TRUE(nameDayLoaded("2802;Lumír", {2025, 3, 1}));
  EXPECT_EQ(nameDayRow("2902;Horymír", leap, nullptr).cell1, "29.02-Horymír -1");
  EXPECT_EQ(nameDayRow("0103;Bedřich", leap, nullptr).cell1, "01.03-Bedřich *!*!*!*!*!*!");
  EXPECT_EQ(nameDayRow("", leap, nullptr).cell1, ".-");

  TabulkaSynonym syn;
  syn.add("František", "Franta");
  EXPECT_EQ(nameDayRow("0410;Franta", leap, &syn).cell0, " FRANTISEK");
  EXPECT_EQ(nameDayRow("0410;Franta", leap, nullptr).cell0, " FRANTA");
}

TEST(MemoryTableSlot, ReadersKeepTheirTableWhileItIsReplaced) {
  MemoryTableSlot slot;
  EXPECT_EQ(slot.rowCount(), 0);
  auto first = std::make_shared<MemoryTable>(3, separatorRow());
  slot.set(first);
  SharedTable held = slot.get();
  first.reset();
  slot.set(std::make_shared<MemoryTable>(1, databaseRow("JO70GQ;Ještěd")));
  EXPECT_EQ(held->size(), 3u);
  EXPECT_EQ(slot.rowCount(), 1);
  slot.set(nullptr);
  EXPECT_EQ(slot.rowCount(), 0);

  // Searches read from their threads while the main thread swaps.
  std::atomic<bool> stop{false};
  std::atomic<int> bad{0};
  std::vector<std::thread> readers;
  for (int i = 0; i < 3; ++i)
    readers.emplace_back([&] {
      while (!stop) {
        SharedTable t = slot.get();
        for (const MemoryRow& r : *t)
          if (r.cell0 != t->front().cell0) ++bad;
      }
    });
  for (int n = 0; n < 2000; ++n)
    slot.set(std::make_shared<MemoryTable>(n % 50, databaseRow("JO70GQ;" + std::to_string(n))));
  stop = true;
  for (auto& t : readers) t.join();
  EXPECT_EQ(bad, 0);
}

}  // namespace
}  // namespace vektrano
