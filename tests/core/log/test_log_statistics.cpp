// Synonyms, sorting, statistics, column layout and the small utilities.
#include "core/log/log_statistics.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"
#include "tests/support/message_recorder.h"

namespace vektrano {
namespace {

using Recorder = test::MessageRecorder;

TabulkaSynonym defaultSynonyms() {
  TabulkaSynonym t;
  t.add("František", "Franta");
  t.add("Josef", "pepa");
  return t;
}

TEST(Synonyms, FamiliarNamesBecomeCalendarNamesOnlyAtAWordEnd) {
  const TabulkaSynonym t = defaultSynonyms();
  struct Case {
    std::string in, out;
  } cases[] = {
      {"franta Novák", "FRANTISEK NOVAK"},
      {"Novák Franta", "NOVAK FRANTISEK"},
      {"Frantová", "FRANTOVA"},          // only the start of a longer word
      {"Pepa a Frantík", "JOSEF A FRANTIK"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Synonymuj(c.in, t), c.out) << c.in;
}

TEST(Synonyms, EmptyFamiliarNameIsSkippedAndTheTableIsBounded) {
  TabulkaSynonym t;
  t.add("Petr", "");
  t.add("Karel", "Kája");
  EXPECT_EQ(Synonymuj("kája", t), "KAREL");
  for (int i = t.PocetSynonym(); i < TabulkaSynonym::kMax; ++i) EXPECT_TRUE(t.add("A", "B"));
  EXPECT_FALSE(t.add("C", "D"));
  EXPECT_EQ(t.PocetSynonym(), TabulkaSynonym::kMax);
}

TEST(Utilities, PaddingSemicolonsAndFileSize) {
  EXPECT_EQ(AddNulls("9"), "000009");
  EXPECT_EQ(AddNulls(""), "000000");
  EXPECT_EQ(AddNulls("1234567"), "1234567");
  EXPECT_EQ(odstranstredniky("a;b;;c"), "a,b,,c");
  test::TempDir dir;
  ASSERT_TRUE(platform::writeFileAtomic(dir.file("f"), std::string(1234, 'x')));
  EXPECT_EQ(fsize(dir.file("f")), 1234);
  EXPECT_EQ(fsize(dir.file("neni")), 0);
  EXPECT_EQ(fsize(dir.path()), 0);
}

LogDocument logWith(const std::vector<Grid::Row>& rows) {
  LogDocument log;
  for (const auto& r : rows) log.Denik.appendRow(r);
  return log;
}

std::vector<std::string> column(const LogDocument& log, int c) {
  std::vector<std::string> out;
  for (int r = 1; r < log.Denik.rowCount(); ++r) out.push_back(log.Denik.cell(r, c));
  return out;
}

TEST(Sorting, KeysByColumn) {
  Recorder rec;
  const TabulkaSynonym syn = defaultSynonyms();
  LogDocument log = logWith({
      {"10", "", "", "Zdeněk", "", "JO80GQ", "141", ""},
      {"9", "", "", "Franta Ulrych", "", "", "5", ""},
      {"2", "", "", "Čeněk", "", "jo70gq", "329", ""},
      {"1", "", "", "František Tůma", "", "JN99JM", "-1", ""},
  });
  Setrid(log, kColCislo, syn);
  EXPECT_EQ(column(log, kColCislo), (std::vector<std::string>{"1", "2", "9", "10"}));
  EXPECT_EQ(log.Denik.cell(0, kColCislo), "poř.");  // titles never move
  Setrid(log, kColKm, syn);
  EXPECT_EQ(column(log, kColKm), (std::vector<std::string>{"-1", "5", "141", "329"}));
  EXPECT_TRUE(rec.texts.empty());

  Setrid(log, kColLokator, syn);  // empty first; bytes, not letters: 'j' after 'J'
  EXPECT_EQ(column(log, kColLokator), (std::vector<std::string>{"", "JN99JM", "JO80GQ", "jo70gq"}));
  Setrid(log, kColVolacka, syn);  // FRANTISEK TUMA < FRANTISEK ULRYCH
  EXPECT_EQ(column(log, kColVolacka),
            (std::vector<std::string>{"Čeněk", "František Tůma", "Franta Ulrych", "Zdeněk"}));
  EXPECT_EQ(log.SetridenoPodle, kColVolacka);
  ASSERT_EQ(rec.texts.size(), 2u);
  EXPECT_EQ(rec.texts[0], textTrideni());
  EXPECT_NE(textTrideni().find("(Duplicit)\r\n\r\nUpozornění"), std::string::npos);
}

TEST(Sorting, UnsignedByteOrderAndWholeRowsMove) {
  Grid g(2, 1);
  for (const char* k : {"\xE1", "z", "\x8A", "A"}) g.appendRow({k, std::string("row ") + k});
  std::vector<int> gaps;
  sortGridRows(g, 1, [](const Grid::Row& r) { return r[0]; }, [&](int gap) { gaps.push_back(gap); });
  EXPECT_EQ(g.cell(1, 0), "A");
  EXPECT_EQ(g.cell(2, 0), "z");
  EXPECT_EQ(g.cell(3, 0), "\x8A");  // Š
  EXPECT_EQ(g.cell(4, 0), "\xE1");  // á
  for (int r = 1; r < g.rowCount(); ++r) EXPECT_EQ(g.cell(r, 1), "row " + g.cell(r, 0));
  EXPECT_EQ(gaps, (std::vector<int>{5, 2, 1}));
}

TEST(Sorting, CaptionShowsEachPass) {
  Recorder rec;
  LogDocument log = logWith({{"2"}, {"1"}, {"3"}});
  std::vector<std::string> captions;
  Setrid(log, kColCislo, {}, [&](const std::string& c) { captions.push_back(c); });
  // An empty text at the end: the window's own caption comes back.
  EXPECT_EQ(captions, (std::vector<std::string>{"4 Volaček, třídím : [4]", "4 Volaček, třídím : [2]",
                                                "4 Volaček, třídím : [1]", ""}));
}

TEST(Statistics, SumsAverageAndTheFirstLongest) {
  struct Case {
    std::vector<Grid::Row> rows;
    std::string panel;
  } cases[] = {
      {{}, "Celkem: 0 km / 0 spoj=průměr 0 km  [max: 0"},
      {{{"1", "", "", "Petr", "", "JO80GQ", "141", ""},
        {"2", "", "", "Karel", "", "JN99JM", "329", ""},
        {"3", "", "", "Jan", "", "JN99JM", "329", ""},
        {"4", "", "", "X", "", "", "abc", ""},
        {"5", "", "", "Y", "", "", "-1", ""}},
       "Celkem: 799 km / 3 spoj=průměr 266 km  [max: 329 km,Karel JN99JM]"},
  };
  for (const Case& c : cases) {
    LogDocument log = logWith(c.rows);
    prumer(log);
    EXPECT_EQ(log.panel2, c.panel);
  }
}

TEST(Layout, ColumnWidths) {
  ColumnOptions o;
  o.Pismo = 1;
  o.sirkaPoznamky = 100;
  o.gridWidth = 800;
  EXPECT_EQ(SirkySloupcu(o), (std::array<int, 8>{42, 60, 28, 800 - 32 - 42 - 60 - 28 - 73 - 28 - 43 - 100, 28, 73, 43, 100}));
  o.doplndatum = true;
  EXPECT_EQ(SirkySloupcu(o)[kColCas], 170);
  ColumnOptions hidden;
  hidden.zobrporcisl = hidden.zobrdatcas = hidden.Zobrrep = hidden.Zobrvzd = hidden.Zobrpoz = false;
  hidden.gridWidth = 500;
  EXPECT_EQ(SirkySloupcu(hidden), (std::array<int, 8>{0, 1, 0, 500 - 32 - 1 - 66, 0, 66, 0, 0}));
  Grid g(kLogColumns, 1);
  SirkySloupcu(g, hidden);
  EXPECT_EQ(g.colWidth(kColCas), 1);
  EXPECT_EQ(g.colWidth(kColKm), 0);
}

TEST(Layout, DuplicateListTakesSixtySixPixels) {
  EXPECT_EQ(ZobrazDuplicityVyska(false, 700, false), 428);
  EXPECT_EQ(ZobrazDuplicityVyska(true, 700, false), 362);
  EXPECT_EQ(ZobrazDuplicityVyska(true, 700, true), 302);
}

}  // namespace
}  // namespace vektrano
