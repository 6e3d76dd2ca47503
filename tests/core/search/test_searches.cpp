#include "core/search/searches.h"

#include <gtest/gtest.h>

#include <functional>

#include <filesystem>
#include <stop_token>

#include "core/base/geometry.h"
#include "core/base/text.h"
#include "core/reference/indexes.h"
#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {
using Lines = std::vector<std::string>;

// A second place database listed before the main one, so that both modes
// show their separator.
const char* const kDruhaZr4 = "JO70GQ;Ještěd - chata (Liberec)\r\n";
const char* const kZr4 =
    "JO70GQ;Ještěd (Liberec)\r\n"
    "JO70GQ;Horní Hanychov (Liberec)\r\n"
    "JO70FR;Liberec\r\n"
    "JO70PO;Kozákov (Semily)\r\n";
const char* const kPvk =
    "JO70GQ;OK1ABC Petr (LIBEREC);1.1.2000\r\n"
    "JO70FR;OK1XYZ Jana;Nezjištěno\r\n"
    "JN79US;OL5Z Šimon (PRACHATICE);12.5.2007\r\n";
const char* const kJmn =
    "1903;Josef\r\n"
    "0804;Ema\r\n"
    "2412;Adam Eva\r\n"
    "0203;Anežka\r\n";

const std::string kStars(49, '*');

struct QuietWindow : IndexObserver {
  void setProcessPriority(platform::ProcessPriority) override {}
};

// The databases split into index files and loaded into the memory tables,
// as the main window has them after start-up on 19 March 2026, and a log.
struct World {
  World() {
    files = DatabaseFiles::beside(dir.path());
    files.LokatoryAlter = dir.file("druha.zr4");
    ok = platform::writeFileAtomic(files.LokatoryAlter, kDruhaZr4) &&
         platform::writeFileAtomic(files.zr4, kZr4) && platform::writeFileAtomic(files.pvk, kPvk) &&
         platform::writeFileAtomic(files.jmn, kJmn);
    synonyms->add("Josef", "Pepa");

    ok = ok && indexes.locIDX(files, DatabaseChoice::Both) &&
         indexes.volIDX(files, DatabaseChoice::MainOnly) && indexes.jmnIDX(files);
    ReIndexaceOptions options;
    options.MenuRam = true;
    options.lokatory = DatabaseChoice::Both;
    options.volacky = DatabaseChoice::MainOnly;
    options.synonyms = synonyms.get();
    options.today = {2026, 3, 19};
    indexes.ReIndexace(files, options);

    log.appendRow(Grid::Row(7));
    log.appendRow({"1", "10:00", "59", "OK1ABC", "JO70GQ", "Ještěd", "0"});
    log.appendRow({"2", "10:05", "57", "OK1XYZ .#_dupl_4", "JO70FR", "", "5"});
    log.appendRow({"3", "10:10", "59", "ok1abc .azimut_90", "JO70GQ", "", "0"});
  }

  SearchEnvironment environment(bool memory) {
    SearchEnvironment env;
    env.lokportable = "JO70GQ";
    env.MenuRam = memory;
    env.pocitejkm = pocitejkm;
    env.prefixes = indexes.prefixes();
    env.SGlokatory = indexes.SGlokatory.get();
    env.SGvolacky = indexes.SGvolacky.get();
    env.SGsvatky = indexes.SGsvatky.get();
    env.synonyms = synonyms;
    env.log = snapshotLog(log);
    return env;
  }

  Lines run(SearchKind kind, const std::string& text, const std::string& locator, bool memory) {
    Lines out;
    runSearch(makeSearchInput({kind, text, locator}, environment(memory)),
              [&](std::string_view line) { out.emplace_back(line); });
    return out;
  }

  test::TempDir dir;
  DatabaseFiles files;
  bool ok = false;
  QuietWindow window;
  Indexes indexes{dir.path(), window};
  std::shared_ptr<TabulkaSynonym> synonyms = std::make_shared<TabulkaSynonym>();
  Grid log{7, 0};
  bool pocitejkm = false;
};

// Tests that change the world get one of their own.
class SearchFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(w_.ok); }
  Lines run(SearchKind kind, const std::string& text, const std::string& locator, bool memory) {
    return w_.run(kind, text, locator, memory);
  }
  SearchEnvironment environment(bool memory) { return w_.environment(memory); }
  World w_;
};

struct Case {
  const char* name;
  SearchKind kind;
  std::string text, locator;
  Lines file, memory;  // the lines of each mode
};

// Each job on the fixture, in both modes. The differences between the modes
// are the stored forms: an index line shows "-" after the locator, a memory
// row a blank; the memory rows of the places carry the separator between the
// two databases even in a locator search; a name-day row carries its day
// count and matches any of its names, an index line only its first.
const std::vector<Case>& cases() {
  static const std::vector<Case> c = {
      {"TownsOfLocator", SearchKind::Mesta, "JO70GQ", "JO70GQ",
       {"**CLS**", " JO70GQ  :  0 km", "Ještěd - chata (Liberec)", "Ještěd (Liberec)",
        "Horní Hanychov (Liberec)", " --- end ---"},
       {"**CLS**", " JO70GQ  :  0 km", "Ještěd - chata (Liberec)", "Ještěd (Liberec)",
        "Horní Hanychov (Liberec)", " --- end ---"}},
      {"TownsOfLocatorWithoutPlaces", SearchKind::Mesta, "JO70FQ", "JO70FQ",
       {"**CLS**", " JO70FQ  :  " + std::to_string(vypocet("JO70GQ", "JO70FQ")) + " km",
        " --- end ---"},
       {"**CLS**", " JO70FQ  :  " + std::to_string(vypocet("JO70GQ", "JO70FQ")) + " km",
        " --- end ---"}},
      {"TownsOfLocatorWithoutIndexFile", SearchKind::Mesta, "JN88UU", "JN88UU",
       {"**CLS**", " JN88UU  :  " + std::to_string(vypocet("JO70GQ", "JN88UU")) + " km",
        " nenalezeno", " --- end ---"},
       {"**CLS**", " JN88UU  :  " + std::to_string(vypocet("JO70GQ", "JN88UU")) + " km",
        " --- end ---"}},
      {"PlaceByName", SearchKind::Lokatora, "Ještěd", "",
       {"**CLS**", "Hledám místo [Ještěd]", "JO70GQ-Ještěd - chata (Liberec)", kStars,
        "JO70GQ-Ještěd (Liberec)", " --- počet : 2 ---"},
       {"**CLS**", "Hledám místo [Ještěd]", "JO70GQ Ještěd - chata (Liberec)", kStars,
        "JO70GQ Ještěd (Liberec)", " --- počet : 2 ---"}},
      {"PlaceByNameAndLocator", SearchKind::Lokatora, "hor", "JO70GQ",
       {"**CLS**", "Hledám místo [hor JO70GQ]", "JO70GQ-Horní Hanychov (Liberec)",
        " --- počet : 1 ---"},
       {"**CLS**", "Hledám místo [hor JO70GQ]", kStars, "JO70GQ Horní Hanychov (Liberec)",
        " --- počet : 1 ---"}},
      {"PlaceAfterClubCallSign", SearchKind::Lokatora, "Zr-12 Liberec", "",
       {"**CLS**", "Hledám místo [Liberec]", "JO70FR-Liberec", " --- počet : 1 ---"},
       {"**CLS**", "Hledám místo [Liberec]", kStars, "JO70FR Liberec", " --- počet : 1 ---"}},
      {"PlaceWordsMustAllMatch", SearchKind::Lokatora, "Ještěd chata", "",
       {"**CLS**", "Hledám místo [Ještěd chata]", "JO70GQ-Ještěd - chata (Liberec)", kStars,
        " --- počet : 1 ---"},
       {"**CLS**", "Hledám místo [Ještěd chata]", "JO70GQ Ještěd - chata (Liberec)", kStars,
        " --- počet : 1 ---"}},
      // Words match at word starts only; the bracketed district is no word.
      {"PlaceFromTheMiddleOfAWord", SearchKind::Lokatora, "něd", "",
       {"**CLS**", "Hledám místo [něd]", " nenalezeno.", " --- počet : 0 ---"},
       {"**CLS**", "Hledám místo [něd]", kStars, " --- počet : 0 ---"}},
      {"PlaceOfDistrictOnly", SearchKind::Lokatora, "Semily", "",
       {"**CLS**", "Hledám místo [Semily]", " nenalezeno.", " --- počet : 0 ---"},
       {"**CLS**", "Hledám místo [Semily]", kStars, " --- počet : 0 ---"}},
      // A key the rebuild would never name a file by opens none.
      {"PlaceWithInvalidKey", SearchKind::Lokatora, "-Hora", "",
       {"**CLS**", "Hledám místo [-Hora]", " nenalezeno.", " --- počet : 0 ---"},
       {"**CLS**", "Hledám místo [-Hora]", kStars, " --- počet : 0 ---"}},
      {"PlaceEmptyText", SearchKind::Lokatora, "   ", "",
       {"**CLS**", "Hledám místo [   ]", " nenalezeno.", " --- počet : 0 ---"},
       {"**CLS**", "Hledám místo [   ]", kStars, " --- počet : 0 ---"}},
      {"CallSigns", SearchKind::Volackaa, "ok1", "",
       {"**CLS**", "Volačka [ok1]", "JO70GQ-OK1ABC Petr (LIBEREC) - 1.1.2000", "JO70FR-OK1XYZ Jana",
        " --- počet : 2 ---"},
       {"**CLS**", "Volačka [ok1]", "JO70GQ OK1ABC Petr (LIBEREC) - 1.1.2000", "JO70FR OK1XYZ Jana ",
        " --- počet : 2 ---"}},
      {"CallSignWithLocator", SearchKind::Volackaa, "OK1", "JO70FR",
       {"**CLS**", "Volačka [OK1 JO70FR]", "JO70FR-OK1XYZ Jana", " --- počet : 1 ---"},
       {"**CLS**", "Volačka [OK1 JO70FR]", "JO70FR OK1XYZ Jana ", " --- počet : 1 ---"}},
      {"CallSignNoneInItsFile", SearchKind::Volackaa, "OL9", "",
       {"**CLS**", "Volačka [OL9]", " --- počet : 0 ---"},
       {"**CLS**", "Volačka [OL9]", " --- počet : 0 ---"}},
      {"CallSignWithoutIndexFile", SearchKind::Volackaa, "DL1", "",
       {"**CLS**", "Volačka [DL1]", " nenalezeno ...", " --- počet : 0 ---"},
       {"**CLS**", "Volačka [DL1]", " --- počet : 0 ---"}},
      {"NameDayThroughFamiliarName", SearchKind::Jmena, "Pepa", "",
       {"**CLS**", " Svátek [Pepa] :", "19.03-Josef", " --- end ---"},
       {"**CLS**", " Svátek [Pepa] :", "19.03-Josef *!*!*!*!*!*!", " --- end ---"}},
      {"NameDaySecondNameOfTheDay", SearchKind::Jmena, "Eva", "",
       {"**CLS**", " Svátek [Eva] :", " --- end ---"},
       {"**CLS**", " Svátek [Eva] :", "24.12-Adam Eva +280", " --- end ---"}},
      {"NameDayAhead", SearchKind::Jmena, "ema", "",
       {"**CLS**", " Svátek [ema] :", "08.04-Ema", " --- end ---"},
       {"**CLS**", " Svátek [ema] :", "08.04-Ema +20", " --- end ---"}},
      {"NameDayPast", SearchKind::Jmena, "Anežka", "",
       {"**CLS**", " Svátek [Anežka] :", "02.03-Anežka", " --- end ---"},
       {"**CLS**", " Svátek [Anežka] :", "02.03-Anežka -17", " --- end ---"}},
      {"NameDayWithoutIndexFile", SearchKind::Jmena, "Karel", "",
       {"**CLS**", " Svátek [Karel] :", " nenalezeno", " --- end ---"},
       {"**CLS**", " Svátek [Karel] :", " --- end ---"}},
      {"NameDayEmptyName", SearchKind::Jmena, "", "",
       {"**CLS**", " Svátek [] :", " nenalezeno", " --- end ---"},
       {"**CLS**", " Svátek [] :", " --- end ---"}},
      // Notes in the call-sign cell are no part of the call sign; the key is
      // folded.
      {"Duplicates", SearchKind::Duplyo, "OK1ABC", "",
       {"**CLS**", "1 (10:00) [59] OK1ABC [JO70GQ] Ještěd (0 km)",
        "3 (10:10) [59] ok1abc .azimut_90 [JO70GQ]  (0 km)", " celkem nalezeno duplicit : 2"},
       {"**CLS**", "1 (10:00) [59] OK1ABC [JO70GQ] Ještěd (0 km)",
        "3 (10:10) [59] ok1abc .azimut_90 [JO70GQ]  (0 km)", " celkem nalezeno duplicit : 2"}},
      {"DuplicatesNotInNotes", SearchKind::Duplyo, "AZIMUT", "", {"**CLOSE**"}, {"**CLOSE**"}},
      {"DuplicatesNone", SearchKind::Duplyo, "OK2", "", {"**CLOSE**"}, {"**CLOSE**"}},
  };
  return c;
}

// The cases only read: one world for all of them.
class SearchLines : public ::testing::TestWithParam<Case> {
 protected:
  static void SetUpTestSuite() { world_ = new World; }
  static void TearDownTestSuite() {
    delete world_;
    world_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(world_->ok); }
  static World* world_;
};
World* SearchLines::world_ = nullptr;

TEST_P(SearchLines, FileMode) {
  const Case& c = GetParam();
  EXPECT_EQ(world_->run(c.kind, c.text, c.locator, false), c.file);
}

TEST_P(SearchLines, MemoryMode) {
  const Case& c = GetParam();
  EXPECT_EQ(world_->run(c.kind, c.text, c.locator, true), c.memory);
}

INSTANTIATE_TEST_SUITE_P(Jobs, SearchLines, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SearchFixture, DistanceAfterEachPlaceAndCallSignHit) {
  w_.pocitejkm = true;
  const std::string fr = " / " + std::to_string(vypocet("JO70GQ", "JO70FR")) + " km";
  EXPECT_EQ(run(SearchKind::Lokatora, "Liberec", "", false),
            (Lines{"**CLS**", "Hledám místo [Liberec]", "JO70FR-Liberec" + fr, " --- počet : 1 ---"}));
  EXPECT_EQ(run(SearchKind::Volackaa, "OK1XYZ", "", true),
            (Lines{"**CLS**", "Volačka [OK1XYZ]", "JO70FR OK1XYZ Jana " + fr, " --- počet : 1 ---"}));
  // The header of the towns is not a hit.
  EXPECT_EQ(run(SearchKind::Mesta, "JO70GQ", "JO70GQ", false)[1], " JO70GQ  :  0 km");
}

// A word matches where a word of the line starts, wherever that stands:
// lines compared many characters at a time find it at every place, at the
// very end of a line too, and never find a word the line only nearly holds.
TEST(SearchWords, AWordIsFoundWhereverItStandsInTheLine) {
  auto table = std::make_shared<MemoryTable>();
  Lines expected = {"**CLS**", "Volačka [OK1XAB]"};
  for (size_t before = 0; before <= 40; ++before)
    for (const char* after : {"", " PETR", " PETR NOVAK Z DLOUHE VSI U MESTA"}) {
      const std::string head = " JO70GQ" + std::string(before, 'A');
      const std::string at = std::to_string(before) + after;
      table->push_back({head + " OK1XAB" + after, "hit " + at});
      expected.push_back("hit " + at);
      table->push_back({head + " OK1XA" + after, "short " + at});
      table->push_back({head + " OK1XAC" + after, "other " + at});
      table->push_back({head + "-OK1XAB" + after + " OK1XA", "no blank " + at});
    }
  expected.push_back(" --- počet : " + std::to_string(expected.size() - 2) + " ---");
  SearchInput in;
  in.kind = SearchKind::Volackaa;
  in.text = "OK1XAB";
  in.MenuRam = true;
  in.table = table;
  Lines out;
  runSearch(in, [&](std::string_view l) { out.emplace_back(l); });
  EXPECT_EQ(out, expected);
}

// The distances of a list are remembered for the own locator they were
// worked out from: searching again gives the same ones, another own
// locator its own.
TEST_F(SearchFixture, DistancesFollowTheOwnLocator) {
  w_.pocitejkm = true;
  for (bool memory : {false, true})
    for (const char* own : {"JO70GQ", "JO70GQ", "JN79US", "JO70GQ", "JO70G!"}) {
      SearchEnvironment env = environment(memory);
      env.lokportable = own;
      Lines out;
      runSearch(makeSearchInput({SearchKind::Volackaa, "OK1XYZ", ""}, env),
                [&](std::string_view l) { out.emplace_back(l); });
      ASSERT_EQ(out.size(), 4u) << own;
      EXPECT_EQ(out[2], std::string(memory ? "JO70FR OK1XYZ Jana " : "JO70FR-OK1XYZ Jana") +
                            " / " + std::to_string(vypocet(own, "JO70FR")) + " km")
          << own << " memory " << memory;
    }
}

TEST_F(SearchFixture, OwnLocatorWithWrongCharacterGivesMinusOne) {
  SearchEnvironment env = environment(false);
  env.lokportable = "JO70G!";
  Lines out;
  mesta(makeSearchInput({SearchKind::Mesta, "JO70FR", "JO70FR"}, env),
        [&](std::string_view l) { out.emplace_back(l); });
  EXPECT_EQ(out, (Lines{"**CLS**", " JO70FR  :  -1 km", "Liberec", " --- end ---"}));
}

// The searches keep the index files they read; a rebuild, which writes
// over the files of the generation before the last, is seen at once.
TEST_F(SearchFixture, RebuiltIndexIsSeenByTheNextSearch) {
  const char* const names[] = {"Kozákov", "Kozlov", "Kozí Hřbet", "Kozákov"};
  for (const char* name : names) {
    ASSERT_TRUE(platform::writeFileAtomic(
        w_.files.zr4, std::string("JO70GQ;Ještěd (Liberec)\r\nJO70PO;") + name + " (Semily)\r\n"));
    ASSERT_TRUE(w_.indexes.locIDX(w_.files, DatabaseChoice::MainOnly));
    for (int again = 0; again < 2; ++again) {
      EXPECT_EQ(run(SearchKind::Lokatora, "Koz", "", false),
                (Lines{"**CLS**", "Hledám místo [Koz]", std::string("JO70PO-") + name + " (Semily)",
                       " --- počet : 1 ---"}))
          << name;
      EXPECT_EQ(run(SearchKind::Mesta, "JO70PO", "JO70PO", false),
                (Lines{"**CLS**", " JO70PO  :  " + std::to_string(vypocet("JO70GQ", "JO70PO")) + " km",
                       std::string(name) + " (Semily)", " --- end ---"}))
          << name;
    }
  }
}

TEST_F(SearchFixture, MissingIndexFolderIsNotFound) {
  std::filesystem::remove_all(w_.dir.path() + "/idx");
  EXPECT_EQ(run(SearchKind::Volackaa, "OK1", "", false),
            (Lines{"**CLS**", "Volačka [OK1]", " nenalezeno ...", " --- počet : 0 ---"}));
  EXPECT_EQ(run(SearchKind::Mesta, "JO70GQ", "JO70GQ", false),
            (Lines{"**CLS**", " JO70GQ  :  0 km", " nenalezeno", " --- end ---"}));
}

// Typed text that the rebuild would never take for a key names no file,
// whatever it would reach as a path.
TEST_F(SearchFixture, TypedTextNeverNamesAnotherFile) {
  for (const char* locator : {"../x", "..", "/tmp/", "JO 70"}) {
    const Lines out = run(SearchKind::Mesta, locator, locator, false);
    ASSERT_EQ(out.size(), 4u) << locator;
    EXPECT_EQ(out[2], " nenalezeno") << locator;
  }
  EXPECT_FALSE(validWordKey("/."));
  EXPECT_FALSE(validWordKey("A"));
  EXPECT_FALSE(validWordKey("-H"));
  EXPECT_TRUE(validWordKey("_."));
  EXPECT_TRUE(validWordKey("JO"));
  EXPECT_FALSE(validLocatorKey("JO70."));
  EXPECT_FALSE(validLocatorKey(""));
  EXPECT_TRUE(validLocatorKey("JO70G"));
}

// A stop request ends every job at its next line: nothing follows, in
// particular no end line that would pass a cut list for a whole one.
TEST_F(SearchFixture, StopEndsEachJobAtOnce) {
  const std::vector<ScheduledSearch> searches = {
      {SearchKind::Mesta, "JO70GQ", "JO70GQ"}, {SearchKind::Lokatora, "Ještěd", ""},
      {SearchKind::Volackaa, "OK1", ""},       {SearchKind::Jmena, "Pepa", ""},
      {SearchKind::Duplyo, "OK1", ""}};
  for (bool memory : {false, true})
    for (const ScheduledSearch& s : searches) {
      std::stop_source stop;
      Lines out;
      const size_t cutAfter = s.kind == SearchKind::Duplyo ? 2 : 3;
      runSearch(makeSearchInput(s, environment(memory)),
                [&](std::string_view line) {
                  out.emplace_back(line);
                  if (out.size() == cutAfter) stop.request_stop();
                },
                stop.get_token());
      EXPECT_EQ(out.size(), cutAfter) << static_cast<int>(s.kind) << " memory " << memory;
    }
}

// The search works on the table it was given: a rebuild that publishes a
// new one does not change a running search's data.
TEST_F(SearchFixture, SearchKeepsItsSnapshot) {
  const SearchInput in = makeSearchInput({SearchKind::Volackaa, "OK1", ""}, environment(true));
  w_.indexes.SGvolacky.set(nullptr);
  Lines out;
  runSearch(in, [&](std::string_view l) { out.emplace_back(l); });
  EXPECT_EQ(out.back(), " --- počet : 2 ---");

  const LogSnapshot before = snapshotLog(w_.log);
  w_.log.setCell(1, 3, "DL1XX");
  EXPECT_EQ(before->cell(0, 3), "OK1ABC");
}

// Each row's cells and, last, its call sign as the duplicate search compares it.
std::vector<std::vector<std::string>> rowsOf(const LogLines& l) {
  std::vector<std::vector<std::string>> rows;
  l.forEach([&](const LogLines::Row& r, std::string_view call) {
    rows.emplace_back(r.begin(), r.end());
    rows.back().emplace_back(call);
    return true;
  });
  return rows;
}

std::vector<std::vector<std::string>> rowsOf(const Grid& g) {
  std::vector<std::vector<std::string>> rows;
  for (int r = 1; r < g.rowCount(); ++r) {
    rows.emplace_back();
    for (int c = 0; c < static_cast<int>(LogLines::kCells); ++c) rows.back().push_back(g.cell(r, c));
    rows.back().push_back(PrevodJenNaVelke(vyhodtecky(g.cell(r, 3))));
  }
  return rows;
}

TEST_F(SearchFixture, LogSnapshotCacheFollowsTheGrid) {
  LogSnapshotCache cache(w_.log);
  const LogSnapshot a = cache.get();
  EXPECT_EQ(cache.get(), a);  // unchanged grid: no new copy
  EXPECT_EQ(a->size(), 3u);
  const auto rowsOfA = rowsOf(*a);
  // Whatever changed, the cached copy reads as a fresh copy of the grid and
  // an earlier copy stays as it was.
  struct Change {
    const char* what;
    std::function<void(Grid&, LogSnapshotCache&)> change;  // the cache read meanwhile
  };
  const std::vector<Change> changes = {
      {"a row stored", [](Grid& g, LogSnapshotCache&) { g.appendRow({"4", "11:00", "59", "OK1ABC", "JO70GQ", "", "0"}); }},
      {"two rows stored", [](Grid& g, LogSnapshotCache&) {
         g.appendRow({"5", "11:01", "59", "OK2AB", "", "", "0"});
         g.appendRow({"6", "11:02", "59", "OK2CD", "", "", "0"});
       }},
      {"more rows than a block takes", [](Grid& g, LogSnapshotCache&) {
         for (int i = 0; i < 2500; ++i)
           g.appendRow({std::to_string(7 + i), "12:00", "59", "ok1q .azimut_" + std::to_string(i), "", "", "1"});
       }},
      {"rows stored one by one past a block, each read",
       [](Grid& g, LogSnapshotCache& cache) {
         for (int i = 0; i < 1100; ++i) {
           g.appendRow({"n", "12:00", "59", "OK2" + std::to_string(i) + " .#_", "", "", "2"});
           cache.get();
         }
       }},
      {"a cell edited", [](Grid& g, LogSnapshotCache&) { g.setCell(2, 3, "OK1EDIT"); }},
      {"rows edited in bulk", [](Grid& g, LogSnapshotCache&) {
         g.rows()[5][3] = "OK1BULK";
         g.notifyReset();
       }},
      {"rows taken for writing, no word said", [](Grid& g, LogSnapshotCache&) { g.rows()[6][3] = "OK1QUIET"; }},
      {"a row removed", [](Grid& g, LogSnapshotCache&) { g.removeRow(1); }},
      {"a row stored after the removal", [](Grid& g, LogSnapshotCache&) { g.appendRow({"x", "", "", "OK1LAST", "", "", ""}); }},
  };
  for (const Change& c : changes) {
    SCOPED_TRACE(c.what);
    c.change(w_.log, cache);
    const LogSnapshot b = cache.get();
    EXPECT_EQ(rowsOf(*b), rowsOf(w_.log));
    EXPECT_EQ(b->size(), static_cast<size_t>(w_.log.rowCount() - 1));
    EXPECT_EQ(b->cell(b->size() - 1, 3), w_.log.cell(w_.log.rowCount() - 1, 3));
  }
  EXPECT_EQ(rowsOf(*a), rowsOfA);
}

}  // namespace
}  // namespace vektrano
