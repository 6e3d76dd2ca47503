#include "core/reference/name_days.h"

#include <gtest/gtest.h>

namespace vektrano {
namespace {

using Kind = NameCheckError::Kind;

Grid::Row split(std::string_view line) {
  Grid::Row row(2);
  splitNameLine(line, row);
  return row;
}

TEST(NameLists, LinesSplitAtTheirLastTwoFields) {
  const struct {
    const char* line;
    Grid::Row row;
  } cases[] = {
      {"0804;Ema", {"0804", "Ema"}},
      {"A;B;C", {"B", "C"}},
      {"bez středníku", {"", ""}},
      {";Jan", {"", "Jan"}},
      {"0101;", {"0101", ""}},
      {"", {"", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(split(c.line), c.row) << c.line;
}

TEST(NameLists, RecordsTidyTheNamesAndSkipOnlyBlankFamiliarRows) {
  EXPECT_EQ(*nameDayRecord({"0101", "nový  rok"}), (std::vector<std::string>{"0101", "Nový Rok"}));
  EXPECT_EQ(*nameDayRecord({"", ""}), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(*familiarNameRecord({"Václav", "vašek"}),
            (std::vector<std::string>{"Václav", "Vašek"}));
  EXPECT_EQ(*familiarNameRecord({"", "Vašek"}), (std::vector<std::string>{"", "Vašek"}));
  EXPECT_FALSE(familiarNameRecord({" ", ""}));
}

TEST(NameLists, CalendarNamesAreTheWholeNamesFieldOfEachLine) {
  EXPECT_EQ(calendarNames("0101;nový rok\r\n0804;Ema\nx;2805;Emil a Vilém\r\nbez\n"),
            (std::vector<std::string>{"Nový Rok", "Ema", "Emil A Vilém", "Bez"}));
  EXPECT_TRUE(calendarNames("").empty());
}

TEST(NameLists, CheckReportsEachFaultInOrder) {
  const std::vector<std::string> calendar = calendarNames(
      "2809;Václav\r\n2401;Timotej\r\n2805;Emil a Vilém\r\n1910;Petr\r\n0101;Ema\r\n");
  const struct {
    const char* what;
    std::vector<Grid::Row> rows;
    std::vector<NameCheckError> errors;
  } cases[] = {
      {"sound pairs, names tidied before comparing, blank rows left out",
       {{"václav", "Vašek"}, {"", ""}, {"Václav", "venca"}},
       {}},
      {"an empty list", {{"", ""}}, {}},
      {"calendar name missing",
       {{"Honza", "Jenda"}},
       {{Kind::NotInCalendar, 0}}},
      {"a name only inside a field of several is not found",
       {{"Emil", "Emilek"}},
       {{Kind::NotInCalendar, 0}}},
      {"empty calendar name beside a familiar one", {{"", "Pepa"}}, {{Kind::NotInCalendar, 0}}},
      {"familiar name standing in the calendar",
       {{"Petr", "Ema"}},
       {{Kind::FamiliarInCalendar, 0}}},
      {"both faults of one row, then the repeats",
       {{"Ema", "Péťa"}, {"Xaver", "Timotej"}, {"Petr", "péťa"}, {"Václav", "Péťa"}},
       {{Kind::NotInCalendar, 1},
        {Kind::FamiliarInCalendar, 1},
        {Kind::Repeated, 0, 2},
        {Kind::Repeated, 0, 3},
        {Kind::Repeated, 2, 3}}},
  };
  for (const auto& c : cases) {
    const auto got = checkFamiliarNames(c.rows, calendar);
    ASSERT_EQ(got.size(), c.errors.size()) << c.what;
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].kind, c.errors[i].kind) << c.what << " #" << i;
      EXPECT_EQ(got[i].row, c.errors[i].row) << c.what << " #" << i;
      EXPECT_EQ(got[i].other, c.errors[i].other) << c.what << " #" << i;
    }
  }
}

// A calendar without names cannot judge the calendar names: only the
// repeats are errors.
TEST(NameLists, WithoutNameDaysOnlyRepeatsAreErrors) {
  using Kind = NameCheckError::Kind;
  const std::vector<Grid::Row> rows = {{"Xaver", "Pepa"}, {"", "Ema"}, {"Petr", "pepa"}};
  for (const std::vector<std::string>& calendar :
       {std::vector<std::string>{}, calendarNames(""), calendarNames("0101;\r\n\r\n")}) {
    EXPECT_TRUE(noNameDays(calendar));
    const auto got = checkFamiliarNames(rows, calendar);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].kind, Kind::Repeated);
    EXPECT_EQ(got[0].row, 0);
    EXPECT_EQ(got[0].other, 2);
  }
  EXPECT_FALSE(noNameDays(calendarNames("0101;\r\n2809;Václav\r\n")));
}

TEST(NameLists, SynonymTableOfTheRowsNeverOverflows) {
  const auto t = synonymTableOf({{"Václav", "Vašek"}, {"", ""}, {"František", "franta"}});
  ASSERT_TRUE(t);
  ASSERT_EQ(t->PocetSynonym(), 2);
  EXPECT_EQ(t->pary()[1].kanonicke, "František");
  EXPECT_EQ(t->pary()[1].domacke, "FRANTA");
  EXPECT_EQ(synonymTableOf({{"", ""}})->PocetSynonym(), 0);

  std::vector<Grid::Row> rows(TabulkaSynonym::kMax, Grid::Row{"Jan", "Honza"});
  EXPECT_EQ(synonymTableOf(rows)->PocetSynonym(), TabulkaSynonym::kMax);
  rows.push_back({"Jan", "Jenda"});
  EXPECT_FALSE(synonymTableOf(rows));
}

}  // namespace
}  // namespace vektrano
