#include "core/reference/list_data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

std::vector<std::string> column(const ListTable& t, int col) {
  std::vector<std::string> out;
  for (const auto& r : t.grid().rows()) out.push_back(r[col]);
  return out;
}

ListTable tableOf(const std::vector<Grid::Row>& rows) {
  ListTable t(static_cast<int>(rows.empty() ? 1 : rows[0].size()));
  t.grid().rows() = rows;
  t.setKeys({ListTable::cellKey(0)});
  return t;
}

TEST(ListText, UnsignedByteOrder) {
  struct Case {
    std::string a, b;
    int expected;
  } cases[] = {
      {"ABC", "ABC", 0},
      {"AB", "ABC", -1},       // a proper beginning sorts first
      {"Zulu", "alfa", -1},    // no case folding
      {"zulu", "Čáp", -1},     // 0xC8 after every ASCII letter
      {"Žába", "Čáp", -1},     // diacritics by their byte values (0x8E, 0xC8)
      {"Čáp", kDeleteMark6, -1},
      {"˙˙˙˙˙", kDeleteMark6, -1},
      {"", "A", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(compareListText(c.a, c.b), c.expected) << c.a << " / " << c.b;
    EXPECT_EQ(compareListText(c.b, c.a), -c.expected) << c.b << " / " << c.a;
  }
}

TEST(ListText, SplittingLinesAndRecords) {
  EXPECT_EQ(splitListLine("JO70AA;Liberec; kopec;x", 2), (Grid::Row{"JO70AA", "Liberec; kopec;x"}));
  EXPECT_EQ(splitListLine("a;b;c", 3), (Grid::Row{"a", "b", "c"}));
  EXPECT_EQ(splitListLine("a", 3), (Grid::Row{"a", "", ""}));
  EXPECT_EQ(splitListLine("", 2), (Grid::Row{"", ""}));
  EXPECT_EQ(splitListLine("a;b", 1), (Grid::Row{"a;b"}));

  using L = std::vector<std::string>;
  EXPECT_EQ(splitFileLines("a\r\nb\nc\r\n"), (L{"a", "b", "c"}));
  EXPECT_EQ(splitFileLines("a\r\n\r\nb"), (L{"a", "", "b"}));
  EXPECT_EQ(splitFileLines(""), L{});
  EXPECT_EQ(splitFileLines("\r\n"), L{""});

  EXPECT_EQ(listCellForFile("a;b\r\nc"), "a,b  c");
}

TEST(ListSort, ShellSortWithHalvingGapsReportsEveryPass) {
  ListTable t = tableOf({{"d", "1"}, {"˙˙˙˙˙˙", "2"}, {"Čáp", "3"}, {"b", "4"},
                         {"B", "5"}, {"a", "6"}, {"b", "7"}});
  std::vector<int> gaps;
  t.setProgress([&](int gap) { gaps.push_back(gap); });
  EXPECT_EQ(t.sortKey(), ListTable::kNoKey);
  t.sort(0);
  EXPECT_EQ(gaps, (std::vector<int>{7, 3, 1}));
  EXPECT_EQ(column(t, 0), (std::vector<std::string>{"B", "a", "b", "b", "d", "Čáp", "˙˙˙˙˙˙"}));
  // Whole rows move.
  EXPECT_EQ(column(t, 1)[5], "3");
  EXPECT_EQ(t.sortKey(), 0);

  gaps.clear();
  t.ensureSorted(0);
  EXPECT_TRUE(gaps.empty());

  ListTable one = tableOf({{"x", "y"}});
  one.setProgress([&](int gap) { gaps.push_back(gap); });
  one.sort(0);
  EXPECT_EQ(gaps, std::vector<int>{1});
}

TEST(ListSort, KeysOfSeveralCellsAndTextRoutines) {
  ListTable t = tableOf({{"JO70", "B"}, {"JO70", "A"}, {"JN89", "Z"}});
  t.setKeys({[](const Grid::Row& r) { return r[0] + r[1]; },
             [](const Grid::Row& r) { return r[1]; }});
  t.sort(0);
  EXPECT_EQ(column(t, 1), (std::vector<std::string>{"Z", "A", "B"}));
  t.sort(1);
  EXPECT_EQ(column(t, 1), (std::vector<std::string>{"A", "B", "Z"}));
}

TEST(ListDelete, MarkingDeleteKeepsOneRowAndNeverDropsAnOrdinaryRow) {
  ListTable t = tableOf({{"c", "1"}, {"a", "2"}, {"b", "3"}});
  // A middle row: marked, sorted away, dropped; the rest is sorted.
  int sel = t.deleteRow(0, {0}, kDeleteMark6, 0);
  EXPECT_EQ(column(t, 0), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(sel, 0);
  // The last row is simply dropped; the new last row is selected.
  sel = t.deleteRow(1, {0}, kDeleteMark6, 0);
  EXPECT_EQ(column(t, 0), std::vector<std::string>{"a"});
  EXPECT_EQ(sel, 0);
  // The only row leaves one empty row, not a mark.
  sel = t.deleteRow(0, {0}, kDeleteMark6, 0);
  EXPECT_EQ(t.rowCount(), 1);
  EXPECT_EQ(t.grid().row(0), (Grid::Row{"", ""}));

  // A row that merely looks like a longer mark stays.
  ListTable m = tableOf({{"x", "1"}, {"˙˙˙˙˙˙˙", "2"}, {"y", "3"}});
  m.deleteRow(0, {0}, kDeleteMark6, 0);
  EXPECT_EQ(column(m, 1), (std::vector<std::string>{"3", "2"}));

  // Several rows at once, one sort.
  ListTable s = tableOf({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}});
  int sorts = 0;
  s.setSortObserver([&](bool running) { sorts += running; });
  EXPECT_EQ(s.deleteRows({0, 2}, {0, 1}, kDeleteMark1, 0), 2);
  EXPECT_EQ(column(s, 0), (std::vector<std::string>{"b", "d"}));
  EXPECT_EQ(sorts, 1);
}

TEST(ListDuplicates, SteppingCoversTheLastPairAndWrapsAround) {
  auto same = [](const Grid::Row& a, const Grid::Row& b) { return a[0] == b[0]; };
  ListTable t = tableOf({{"b", "1"}, {"a", "2"}, {"c", "3"}, {"a", "4"}, {"c", "5"}});
  auto s = t.nextDuplicate(0, same);  // sorts: a a b c c
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.row, 0);
  EXPECT_EQ(t.duplicateCursor(), 1);
  s = t.nextDuplicate(0, same);
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.row, 3);  // the last two rows
  s = t.nextDuplicate(0, same);
  EXPECT_FALSE(s.found);
  EXPECT_EQ(t.duplicateCursor(), 0);

  ListTable two = tableOf({{"a", ""}, {"b", ""}});
  EXPECT_FALSE(two.nextDuplicate(0, same).found);
  ListTable one = tableOf({{"a", ""}});
  EXPECT_FALSE(one.nextDuplicate(0, same).found);
}

TEST(ListSearch, FirstMatchRowZeroWhenEmptyLastRowWhenNone) {
  ListTable t = tableOf({{"JO70GQ", "ZULU"}, {"JN89AA", "ALFA"}, {"JO60LJ", "ALFONS"}});
  t.setKeys({ListTable::cellKey(0), ListTable::cellKey(1)});
  struct Case {
    int key, col;
    std::string text;
    ListTable::Match match;
    int row;
  } cases[] = {
      {1, 1, "ALF", ListTable::Match::BeginsWith, 0},
      {1, 1, "ALFO", ListTable::Match::BeginsWith, 1},
      {1, 1, "LFO", ListTable::Match::BeginsWith, 2},  // none: the last row
      {1, 1, "LFO", ListTable::Match::Contains, 1},
      {1, 1, "", ListTable::Match::Contains, 0},
      {0, 0, "60", ListTable::Match::Contains, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(t.find(c.key, c.col, c.text, c.match), c.row) << c.text;
    EXPECT_EQ(t.sortKey(), c.key);
  }
}

TEST(ListFile, ReadsLfAndCrLfAndWritesCrLfAtomically) {
  test::TempDir dir;
  const std::string path = dir.file("seznam.pvk");
  {
    std::ofstream(path, std::ios::binary) << "JO70AA;ALFA;1.1.2000\nJN89XX;Čáp\r\n\r\nX";
  }
  ListTable t(3);
  t.setKeys({ListTable::cellKey(0)});
  t.sort(0);
  ASSERT_TRUE(t.read(path));
  EXPECT_EQ(t.sortKey(), ListTable::kNoKey);
  ASSERT_EQ(t.rowCount(), 4);
  EXPECT_EQ(t.grid().row(1), (Grid::Row{"JN89XX", "Čáp", ""}));
  EXPECT_EQ(t.grid().row(2), (Grid::Row{"", "", ""}));
  EXPECT_EQ(t.grid().row(3), (Grid::Row{"X", "", ""}));

  // A window's own field rule, and one that drops rows on writing.
  ASSERT_TRUE(t.read(path, [](std::string_view line, Grid::Row& row) { row[2] = std::string(line); }));
  EXPECT_EQ(t.grid().cell(0, 2), "JO70AA;ALFA;1.1.2000");
  t.grid().rows() = {{"A", "b;c", "d"}, {"", "x", "y"}};
  auto rule = [](const Grid::Row& r) -> std::optional<std::vector<std::string>> {
    if (r[0].empty()) return std::nullopt;
    return r;
  };
  ASSERT_TRUE(t.write(path, rule, dir.file("seznam.bak")));
  EXPECT_EQ(*platform::readWholeFile(path), "A;b,c;d\r\n");
  EXPECT_EQ(*platform::readWholeFile(dir.file("seznam.bak")),
            "JO70AA;ALFA;1.1.2000\nJN89XX;Čáp\r\n\r\nX");

  // An empty file gives one empty row.
  { std::ofstream(path, std::ios::binary | std::ios::trunc); }
  ASSERT_TRUE(t.read(path));
  EXPECT_EQ(t.rowCount(), 1);
}

TEST(ListFile, FailuresLeaveGridAndFile) {
  test::TempDir dir;
  ListTable t(2);
  t.grid().rows() = {{"a", "b"}};
  EXPECT_FALSE(t.read(dir.file("chybi.txt")));
  EXPECT_EQ(t.grid().row(0), (Grid::Row{"a", "b"}));
  EXPECT_FALSE(t.write(dir.file("chybi/seznam.txt")));
  EXPECT_EQ(t.grid().row(0), (Grid::Row{"a", "b"}));
}

}  // namespace
}  // namespace vektrano
