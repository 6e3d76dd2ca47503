#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "viewer/duplicates.h"
#include "viewer/log_view.h"

namespace vektrano::palomir {
namespace {

LogView fixture(const std::string& name) {
  const auto view = nactidata(std::string(VEKTRANO_SOURCE_DIR) + "/tests/viewer/data/" + name);
  if (!view) ADD_FAILURE() << "fixture " << name;
  return view ? *view : LogView();
}

std::vector<int> rowsOf(const DuplicateList& l) {
  std::vector<int> r;
  for (const auto& i : l.items) r.push_back(i.row);
  return r;
}

Grid gridOf(const std::vector<std::pair<std::string, std::string>>& callAndLocator) {
  Grid g(kColumns, 1);
  int n = 0;
  for (const auto& [call, loc] : callAndLocator)
    g.appendRow({std::to_string(++n), "10:00", "59", call, "59", loc, "1", ""});
  return g;
}

TEST(PalomirDuplicates, LineOfARow) {
  EXPECT_EQ(vyrobradek({"3", "(1.8.2008) 10:09", "59", "Petr", "57", "JO60RN", "85", ",p"}),
            "3/ (1.8.2008) 10:09 [59]  Petr  [57] JO60RN = 85 km ,p");
  EXPECT_EQ(vyrobradek({"", "", "", "", "", "", "", ""}), "/  []    []  =  km ");
}

TEST(PalomirDuplicates, GroupOfThreeAndCaseMatters) {
  const LogView v = fixture("expedice.qvl");
  const auto list = HledejDuply(v.grid, v.contacts);
  ASSERT_TRUE(list);
  // Rows 1, 3 and 6 share call sign and locator; row 4 differs in case only.
  EXPECT_EQ(rowsOf(*list), (std::vector<int>{-1, 1, 3, 6, -1, -1}));
  EXPECT_EQ(list->items.front().text, "- Hledání duplicit ...");
  EXPECT_EQ(list->items[1].text, vyrobradek(v.grid.row(1)));
  EXPECT_EQ(list->items[4].text, "-");
  EXPECT_EQ(list->items.back().text, "- Nalezeny DUPLICITNÍ spojení !!!");
  EXPECT_EQ(list->selected, 5);
}

TEST(PalomirDuplicates, SortedLogKeepsRowIndices) {
  // Saved sorted by call sign: row 1 carries number 5, and the second pair
  // sits in rows 4 and 5. Both pairs are found and every line leads to the
  // row it shows.
  const LogView v = fixture("podle_volacky.qvl");
  const auto list = HledejDuply(v.grid, v.contacts);
  ASSERT_TRUE(list);
  EXPECT_EQ(rowsOf(*list), (std::vector<int>{-1, 1, 2, -1, 4, 5, -1, -1}));
  EXPECT_EQ(list->items[1].text.substr(0, 3), "5/ ");
  EXPECT_EQ(duplicateTargetRow(list->items[1]), 1);
  EXPECT_EQ(duplicateTargetRow(list->items[5]), 5);
  EXPECT_EQ(duplicateTargetRow(list->items[3]), 1);  // a "-" line goes to row 1
  EXPECT_EQ(duplicateTargetRow(list->items[0]), 1);
}

TEST(PalomirDuplicates, SearchCases) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> rows;
    std::vector<int> listed;  // empty: nothing found
  };
  const std::vector<Case> cases = {
      {"none", {{"A", "JO70AA"}, {"B", "JO70AA"}, {"A", "JO70AB"}}, {}},
      {"blanks count", {{"A", "JO70AA"}, {"A ", "JO70AA"}}, {}},
      {"empty cells are equal", {{"", ""}, {"", ""}}, {-1, 1, 2, -1, -1}},
      {"two groups", {{"A", "L"}, {"B", "M"}, {"A", "L"}, {"B", "M"}},
       {-1, 1, 3, -1, 2, 4, -1, -1}},
      {"four alike, each listed once", {{"A", "L"}, {"A", "L"}, {"A", "L"}, {"A", "L"}},
       {-1, 1, 2, 3, 4, -1, -1}},
  };
  for (const auto& c : cases) {
    const Grid g = gridOf(c.rows);
    const auto list = HledejDuply(g, static_cast<int>(c.rows.size()));
    ASSERT_TRUE(list) << c.name;
    if (c.listed.empty()) {
      ASSERT_EQ(list->items.size(), 1u) << c.name;
      EXPECT_EQ(list->items[0].text, "- Duplicity nenalezeny ...") << c.name;
      EXPECT_EQ(list->selected, 0) << c.name;
    } else {
      EXPECT_EQ(rowsOf(*list), c.listed) << c.name;
    }
  }
}

// Every row compared with every later one, and each found row looked up in
// the lines listed so far, as the search was first written.
std::vector<DuplicateItem> comparedPairByPair(const Grid& g, int n) {
  std::vector<DuplicateItem> items = {{"- Hledání duplicit ...", -1}};
  for (int i = 1; i <= n - 1; ++i) {
    int added = 0;
    for (int j = i + 1; j <= n; ++j) {
      if (g.cell(i, kColVolacka) != g.cell(j, kColVolacka) ||
          g.cell(i, kColLokator) != g.cell(j, kColLokator))
        continue;
      bool listed = false;
      for (const auto& item : items) listed = listed || (item.text != "-" && item.row == j);
      if (listed) continue;
      if (added == 0) items.push_back({vyrobradek(g.row(i)), i});
      items.push_back({vyrobradek(g.row(j)), j});
      ++added;
    }
    if (added > 0) items.push_back({"-", -1});
  }
  if (items.size() == 1)
    items[0].text = "- Duplicity nenalezeny ...";
  else
    items.push_back({"- Nalezeny DUPLICITNÍ spojení !!!", -1});
  return items;
}

TEST(PalomirDuplicates, SameLinesAsComparingEveryPair) {
  // Logs drawn from a few call signs and locators, so that sets of two,
  // three and more equal rows interleave; plus the fixtures.
  std::vector<Grid> logs = {fixture("expedice.qvl").grid, fixture("podle_volacky.qvl").grid};
  const char* calls[] = {"OK1AB", "OK1AB ", "ok1ab", "Petr", "", "Jan"};
  const char* locs[] = {"JO70GQ", "JO70GQ ", "", "JN99JM"};
  unsigned seed = 7;
  auto next = [&seed](unsigned m) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % m;
  };
  for (int size : {2, 3, 5, 17, 60, 250}) {
    for (unsigned variety : {1u, 2u, 4u}) {
      Grid g(kColumns, 1);
      for (int r = 1; r <= size; ++r)
        g.appendRow({std::to_string(r), "10:00", "59", calls[next(variety + 2)], "57",
                     locs[next(variety)], std::to_string(r % 7), ""});
      logs.push_back(g);
    }
  }
  for (size_t k = 0; k < logs.size(); ++k) {
    const Grid& g = logs[k];
    const int n = g.rowCount() - 1;
    const auto fast = HledejDuply(g, n);
    ASSERT_TRUE(fast) << "log " << k;
    const auto expected = comparedPairByPair(g, n);
    ASSERT_EQ(fast->items.size(), expected.size()) << "log " << k;
    for (size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(fast->items[i].text, expected[i].text) << "log " << k << " line " << i;
      EXPECT_EQ(fast->items[i].row, expected[i].row) << "log " << k << " line " << i;
    }
    EXPECT_EQ(fast->selected, expected.size() == 1 ? 0 : static_cast<int>(expected.size()) - 1);
  }
}

TEST(PalomirDuplicates, FewerThanTwoContactsLeaveTheListAlone) {
  EXPECT_FALSE(HledejDuply(gridOf({}), 0));
  EXPECT_FALSE(HledejDuply(gridOf({{"A", "L"}}), 1));
  // A count beyond the grid never reads outside it.
  const auto list = HledejDuply(gridOf({{"A", "L"}, {"A", "L"}}), 50);
  ASSERT_TRUE(list);
  EXPECT_EQ(rowsOf(*list), (std::vector<int>{-1, 1, 2, -1, -1}));
}

TEST(PalomirDuplicates, ProgressCountsDownAndQuestionLimit) {
  std::vector<int> seen;
  HledejDuply(gridOf({{"A", "L"}, {"B", "L"}, {"C", "L"}, {"D", "L"}}), 4,
              [&](int remaining) { seen.push_back(remaining); });
  EXPECT_EQ(seen, (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(remainingCaption(3), "Ještě zbývá porovnat : 3 položek ...");
  EXPECT_FALSE(needsDuplicateQuestion(3000));
  EXPECT_TRUE(needsDuplicateQuestion(3001));
}

}  // namespace
}  // namespace vektrano::palomir
