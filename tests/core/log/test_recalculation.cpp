// Recalculation of the log from the own locator.
#include "core/log/recalculation.h"

#include <gtest/gtest.h>

namespace vektrano {
namespace {

struct Cells {
  std::string call, loc, km, note;
};

struct Case {
  const char* what;
  Cells in;
  Cells out;
};

// Own locator JO70GQ; distances and azimuths are the geometry's worked values.
const Case kCases[] = {
    {"distance computed", {"Petr", "JO80GQ", "", ""}, {"Petr", "JO80GQ", "141", ""}},
    {"blanks inside the locator", {"petr", "JO 70 GQ", "", ""}, {"Petr", "JO70GQ", "0", ""}},
    {"lower case and long locator", {"Petr", "jn79gq xx", "", ""}, {"Petr", "JN79GQ", "111", ""}},
    {"empty locator", {"Karel", "", "", ""}, {"Karel", "", "0", ""}},
    {"six characters but no locator", {"Karel", "JO7AGQ", "77", ""}, {"Karel", "JO7AGQ", "-1", ""}},
    {"note gets a comma per word", {"Petr", "JO71GQ", "", "abc def"}, {"Petr", "JO71GQ", "111", ",abc ,def"}},
    {"note of one blank", {"Petr", "JO71GQ", "", " "}, {"Petr", "JO71GQ", "111", ""}},
    {"note with a run of blanks", {"Petr", "JO71GQ", "", "a   b"}, {"Petr", "JO71GQ", "111", ",a ,b"}},
    {"note already canonical", {"Petr", "JO71GQ", "", ",x ,y"}, {"Petr", "JO71GQ", "111", ",x ,y"}},
    {"azimuth note renewed", {"Petr .azimut_5", "JN99JM", "", ""}, {"Petr .azimut_112", "JN99JM", "329", ""}},
    {"azimuth note between words", {"Petr .azimut_5 Novák", "JO60GQ", "", ""},
     {"Petr Novák .azimut_271", "JO60GQ", "141", ""}},
    {"azimuth note dropped for no locator", {"Petr .azimut_5", "", "", ""}, {"Petr", "", "0", ""}},
    {"no azimuth note, none added", {"Petr", "JO70GR", "", ""}, {"Petr", "JO70GR", "5", ""}},
    {"call sign tidied", {"PETR novák* (brno)", "JO71GQ", "", ""}, {"Petr Novák (BRNO)", "JO71GQ", "111", ""}},
    {"bracket before an azimuth note", {"Jiří (brno) .azimut_1", "JO71GQ", "", ""},
     {"Jiří .azimut_0 (BRNO)", "JO71GQ", "111", ""}},
    // Found by fuzzing the log reader: each of these changed again on the second run.
    {"azimuth note in capitals", {"Ondřej .azimuT_180", "", "", ""}, {"Ondřej", "", "0", ""}},
    {"azimuth note with an asterisk", {"Petr Novák .azim*ut_89", "", "", ""}, {"Petr Novák", "", "0", ""}},
    {"asterisk note renewed", {"Petr *.azimut_5", "JN99JM", "", ""}, {"Petr .azimut_112", "JN99JM", "329", ""}},
    {"note renewed in a text the tidying would change again", {"(a) b) c .azimut_5", "JN99JM", "", ""},
     {"(a) b) c .azimut_112", "JN99JM", "329", ""}},
    {"right note before a bracket stays", {"Petr .azimut_112 (brno)", "JN99JM", "", ""},
     {"Petr .azimut_112 (BRNO)", "JN99JM", "329", ""}},
    {"right note the tidying put before a bracket", {"(9.12.2) 26) x .azimut_5", "JN99JM", "", ""},
     {"26) X .azimut_112 (9.12.2)", "JN99JM", "329", ""}},
    {"note of a contact without a call sign renewed", {".azimut_5", "JN99JM", "", ""},
     {".azimut_112", "JN99JM", "329", ""}},
    {"note stored without a call sign", {" .azimut_5", "JN99JM", "", ""}, {".azimut_112", "JN99JM", "329", ""}},
    {"note behind a control byte", {"\x1b.azimut_89141", "", "", ""}, {"", "", "0", ""}},
    {"control byte before the call sign", {"\x1c" "ozn", "", "", ""}, {"\x1c" "ozn", "", "0", ""}},
    {"two bracketed parts", {"(9.12.2026) 08:(9.115", "", "", ""}, {"(9.12.2026) 08:(9.115", "", "0", ""}},
    {"two bracketed parts tidied once", {"X (b) (A)", "", "", ""}, {"X (b) (A)", "", "0", ""}},
};

Grid gridOf(const std::vector<Cells>& rows) {
  Grid g(kLogColumns, 1);
  g.setCell(0, kColVolacka, "Volačka");
  int n = 0;
  for (const Cells& c : rows)
    g.appendRow({std::to_string(++n), "07:05", "59", c.call, "57", c.loc, c.km, c.note});
  return g;
}

TEST(Recalc, RowsBecomeCanonicalAndASecondRunChangesNothing) {
  for (const Case& c : kCases) {
    Grid g = gridOf({c.in});
    PrepocetDeniku(g, "JO70GQ", {});
    EXPECT_EQ(g.cell(1, kColVolacka), c.out.call) << c.what;
    EXPECT_EQ(g.cell(1, kColLokator), c.out.loc) << c.what;
    EXPECT_EQ(g.cell(1, kColKm), c.out.km) << c.what;
    EXPECT_EQ(g.cell(1, kColPozn), c.out.note) << c.what;
    const Grid once = g;
    const PrepocetVysledek again = PrepocetDeniku(g, "JO70GQ", {});
    EXPECT_FALSE(again.zmeneno) << c.what;
    EXPECT_EQ(g.rows(), once.rows()) << c.what;
  }
}

TEST(Recalc, KeyboardOptionTurnsLettersIntoDigits) {
  Grid g = gridOf({{"Petr", "jn+9gq", "", ""}});
  KeyboardOptions cz;
  cz.klavesnicecz = true;
  PrepocetDeniku(g, "JO70GQ", cz);
  EXPECT_EQ(g.cell(1, kColLokator), "JN19GQ");
}

TEST(Recalc, TitleRowOnlyChangesNothingAndShowsNothing) {
  LogDocument log;
  log.Denik.setCell(0, kColLokator, "JO 70 GQ extra");
  EXPECT_FALSE(PrepocetDeniku(log));
  EXPECT_EQ(log.Denik.cell(0, kColLokator), "JO 70 GQ extra");
  EXPECT_EQ(log.panel2.find("Přepočet"), std::string::npos);
}

TEST(Recalc, NewOwnLocatorRewritesDistancesAndExistingAzimuthNotesOnly) {
  LogDocument log;
  log.Denik = gridOf({{"Petr .azimut_89", "JO80GQ", "", ""}, {"Karel", "JO60GQ", "", ""}});
  EXPECT_TRUE(PrepocetDeniku(log));
  EXPECT_EQ(log.panel2, "Přepočet vzdáleností proveden ...");
  log.panel2.clear();
  EXPECT_FALSE(PrepocetDeniku(log));
  EXPECT_EQ(log.panel2.find("Přepočet"), std::string::npos);

  log.lokportable = "JO80GQ";
  EXPECT_TRUE(PrepocetDeniku(log));
  EXPECT_EQ(log.Denik.cell(1, kColKm), "0");
  EXPECT_EQ(log.Denik.cell(1, kColVolacka), "Petr .azimut_0");
  EXPECT_EQ(log.Denik.cell(2, kColKm), "282");
  EXPECT_EQ(log.Denik.cell(2, kColVolacka), "Karel");
}

TEST(Recalc, InvalidOwnLocatorGivesMinusOneAndNoAzimuth) {
  Grid g = gridOf({{"Petr .azimut_89", "JO80GQ", "", ""}});
  PrepocetDeniku(g, "JO7ZGQ", {});
  EXPECT_EQ(g.cell(1, kColKm), "-1");
  EXPECT_EQ(g.cell(1, kColVolacka), "Petr");
}

TEST(Recalc, NextContactNumberIsTheRowCount) {
  LogDocument log;
  EXPECT_EQ(SpocitejCisloSpojeni(log), "1");
  log.Denik.appendRow({"1"});
  log.Denik.appendRow({"2"});
  EXPECT_EQ(SpocitejCisloSpojeni(log), "3");
  EXPECT_EQ(log.cisspoj, "3");
}

}  // namespace
}  // namespace vektrano
