// Chart data: slices per big square and contacts per hour.
#include "core/pictures/charts.h"

#include <gtest/gtest.h>

namespace vektrano {
namespace {

LogDocument logOf(const std::vector<std::pair<std::string, std::string>>& timeAndLocator,
                  const std::vector<std::string>& km = {}) {
  LogDocument log;
  int n = 0;
  for (const auto& [time, locator] : timeAndLocator) {
    const std::string k = static_cast<size_t>(n) < km.size() ? km[static_cast<size_t>(n)] : "100";
    ++n;
    log.Denik.appendRow({std::to_string(n), time, "59", "OK1AB", "59", locator, k, ""});
  }
  log.PocetSpojeni = n;
  return log;
}

std::vector<std::string> labels(const std::vector<VysecGrafu>& s) {
  std::vector<std::string> out;
  for (const auto& v : s) out.push_back(v.popis);
  return out;
}

TEST(SquareChart, SlicesFewestFirstWithTheTitleOfTotals) {
  const LogDocument log = logOf({{"10:00", "JO70GQ"}, {"10:01", "JN99JM"}, {"10:02", ""},
                                 {"10:03", "JO70AA"}, {"10:04", "JO70XX"}, {"10:05", "JN99AA"},
                                 {"10:06", ""}, {"10:07", "JO60LJ"}},
                                {"10", "329", "0", "abc", "20", "300", "", "101"});
  const auto g = grafCtvercu(log);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->titulek, (std::vector<std::string>{
                            "Spojení z lokátoru : JO70GQ",
                            "(760 km) / (8 počet spoj.) = průměr (95km na 1 spojení)"}));
  // "neuveden" stands first in the table; the sort keeps equal counts in order.
  EXPECT_EQ(labels(g->vysece), (std::vector<std::string>{"JO60 [1 spoj.]", "neuveden [2 spoj.]",
                                                         "JN99 [2 spoj.]", "JO70 [3 spoj.]"}));
  EXPECT_EQ(g->vysece.back().pocet, 3);
}

TEST(SquareChart, FiveContactsInOneSquareAndTooFewContacts) {
  const auto five = grafCtvercu(logOf({{"1", "JO70GQ"}, {"2", "JO70GR"}, {"3", "JO70AA"},
                                       {"4", "JO70BB"}, {"5", "JO70CC"}}));
  ASSERT_TRUE(five);
  EXPECT_EQ(labels(five->vysece), std::vector<std::string>{"JO70 [5 spoj.]"});
  EXPECT_FALSE(grafCtvercu(logOf({{"1", "JO70GQ"}, {"2", "JO70GR"}, {"3", "JO70AA"}, {"4", ""}})));
}

TEST(HourChart, HourOfATimeCell) {
  const struct {
    const char* cell;
    int hour;
  } cases[] = {{"10:05:00", 10}, {"[12.04.2008] 22:15:00", 22}, {"0:30", 0}, {"7", 7},
               {"23:59:59", 23}, {"24:00:00", -1}, {"99:00", -1}, {"-1:00", -1},
               {"", -1},         {"abc", -1},      {"1a:00", -1}, {":10", -1}};
  for (const auto& c : cases) EXPECT_EQ(HodinaSpojeni(c.cell), c.hour) << c.cell;
}

std::vector<std::string> points(const GrafHodin& g) {
  std::vector<std::string> out;
  for (const auto& b : g.body) out.push_back(b.popis + "=" + std::to_string(b.pocet));
  return out;
}

TEST(HourChart, PointsFromTheFirstHourOverMidnightToEnd) {
  const struct {
    const char* name;
    std::vector<const char*> times;
    std::vector<std::string> expected;
  } cases[] = {
      {"22:00 to 03:00",
       {"22:00:00", "22:30:00", "23:10:00", "00:05:00", "01:00:00", "03:00:00"},
       {"22=2", "23=1", "0=1", "1=1", "2=0", "3=1", "END=0"}},
      {"one evening", {"18:00", "18:10", "20:00"}, {"18=2", "19=0", "20=1", "END=0"}},
      // The range ends at the next midnight ...
      {"from 00:30", {"00:30", "05:00", "23:00", "00:10", "01:00"},
       {"0=1", "1=0", "2=0", "3=0", "4=0", "5=1", "6=0", "7=0", "8=0", "9=0", "10=0", "11=0",
        "12=0", "13=0", "14=0", "15=0", "16=0", "17=0", "18=0", "19=0", "20=0", "21=0", "22=0",
        "23=1", "END=0"}},
      // ... or takes only the hours of the next day below the first hour.
      {"from 01:00", {"01:00", "12:00", "00:30", "00:40", "01:30", "02:00"},
       {"1=1", "2=0", "3=0", "4=0", "5=0", "6=0", "7=0", "8=0", "9=0", "10=0", "11=0", "12=1",
        "0=2", "END=0"}},
      {"dated cells", {"[12.04.2008] 10:00:00", "[12.04.2008] 11:00:00"}, {"10=1", "11=1", "END=0"}},
      {"no time first", {"", "abc", "09:00", "09:30"}, {"9=2", "END=0"}},
  };
  for (const auto& c : cases) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const char* t : c.times) rows.push_back({t, "JO70GQ"});
    const GrafHodin g = grafHodin(logOf(rows));
    EXPECT_EQ(g.stav, GrafHodin::Stav::Ok) << c.name;
    EXPECT_EQ(g.titulek, "Spojení z lokátoru : JO70GQ") << c.name;
    EXPECT_EQ(points(g), c.expected) << c.name;
  }
}

TEST(HourChart, RowsWithoutAnHourAreReportedAndHoursBeyond23NeverCount) {
  // The row without a time starts the next day, where it is taken as one
  // below the first hour; 25:00 is no hour at all.
  const GrafHodin g = grafHodin(logOf({{"20:00", ""}, {"21:00", ""}, {"x", ""}, {"25:00", ""},
                                       {"03:00", ""}, {"21:30", ""}}));
  EXPECT_EQ(points(g), (std::vector<std::string>{"20=1", "21=1", "0=0", "1=0", "2=0", "3=1",
                                                 "END=0"}));
  EXPECT_EQ(g.neplatnych, 2);
  EXPECT_EQ(g.posledniNeplatny, 4);
  EXPECT_EQ(zpravaNeplatnychCasu(g), "V deníku nejsou uvedeny platné časy : 2x   [řádek:4]");

  // The next day holding only rows without an hour adds no bars after midnight.
  const GrafHodin bad = grafHodin(logOf({{"20:00", ""}, {"21:00", ""}, {"x", ""}}));
  EXPECT_EQ(points(bad), (std::vector<std::string>{"20=1", "21=1", "END=0"}));
  EXPECT_EQ(zpravaNeplatnychCasu(bad), "V deníku nejsou uvedeny platné časy : 1x   [řádek:3]");
  EXPECT_EQ(zpravaNeplatnychCasu(grafHodin(logOf({{"20:00", ""}, {"21:00", ""}}))), "");
}

TEST(HourChart, RefusalsForTooFewContactsAndNoTimes) {
  EXPECT_EQ(grafHodin(logOf({{"10:00", ""}})).stav, GrafHodin::Stav::MaloSpojeni);
  const GrafHodin none = grafHodin(logOf({{"", ""}, {"abc", ""}, {"24:00", ""}}));
  EXPECT_EQ(none.stav, GrafHodin::Stav::BezCasu);
  EXPECT_TRUE(none.body.empty());
}

}  // namespace
}  // namespace vektrano
