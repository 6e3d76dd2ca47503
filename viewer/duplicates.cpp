#include "viewer/duplicates.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "viewer/log_view.h"

namespace vektrano::palomir {

std::string vyrobradek(const Grid::Row& row) {
  auto c = [&row](size_t i) -> const std::string& {
    static const std::string empty;
    return i < row.size() ? row[i] : empty;
  };
  return c(0) + "/ " + c(1) + " [" + c(2) + "]  " + c(3) + "  [" + c(4) + "] " + c(5) + " = " +
         c(6) + " km " + c(7);
}

bool needsDuplicateQuestion(int contacts) { return contacts > kDuplicateQuestionLimit; }

std::optional<DuplicateList> HledejDuply(const Grid& grid, int contacts,
                                          const std::function<void(int)>& progress) {
  const int n = std::min(contacts, grid.rowCount() - 1);
  if (n <= 1) return std::nullopt;
  DuplicateList list;
  list.items.push_back({"- Hledání duplicit ...", -1});

  // Comparing every row with every later one lists, for the first row of
  // each set of equal rows, that row and all the others, in row order; later
  // rows of the set find theirs listed already. Sorting the rows by call sign
  // and locator (row order among equals) finds the same sets in n log n.
  std::vector<int> order(static_cast<size_t>(n));
  for (int r = 1; r <= n; ++r) order[static_cast<size_t>(r - 1)] = r;
  auto key = [&grid](int r) {
    return std::pair<std::string_view, std::string_view>(grid.cell(r, kColVolacka),
                                                         grid.cell(r, kColLokator));
  };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  // next[r]: the following row of r's set; 0 ends it. Only a set's first
  // row (first[r]) opens a group.
  std::vector<int> next(static_cast<size_t>(n) + 1, 0);
  std::vector<char> first(static_cast<size_t>(n) + 1, 0);
  for (size_t a = 0; a < order.size();) {
    size_t b = a + 1;
    while (b < order.size() && key(order[b]) == key(order[a])) ++b;
    if (b - a > 1) {
      first[static_cast<size_t>(order[a])] = 1;
      for (size_t i = a; i + 1 < b; ++i) next[static_cast<size_t>(order[i])] = order[i + 1];
    }
    a = b;
  }

  for (int i = 1; i <= n - 1; ++i) {
    if (progress) progress(n - i);
    if (!first[static_cast<size_t>(i)]) continue;
    for (int r = i; r != 0; r = next[static_cast<size_t>(r)])
      list.items.push_back({vyrobradek(grid.row(r)), r});
    list.items.push_back({"-", -1});
  }
  if (list.items.size() == 1) {
    list.items[0].text = "- Duplicity nenalezeny ...";
    list.selected = 0;
  } else {
    list.items.push_back({"- Nalezeny DUPLICITNÍ spojení !!!", -1});
    list.selected = static_cast<int>(list.items.size()) - 1;
  }
  return list;
}

int duplicateTargetRow(const DuplicateItem& item) { return item.row >= 1 ? item.row : 1; }

std::string remainingCaption(int remaining) {
  return "Ještě zbývá porovnat : " + std::to_string(remaining) + " položek ...";
}

}  // namespace vektrano::palomir
