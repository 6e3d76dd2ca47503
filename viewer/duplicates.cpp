#include "viewer/duplicates.h"

#include <algorithm>

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
  // Rows already listed; the same answer as scanning the list's lines, in
  // constant time.
  std::vector<char> listed(static_cast<size_t>(n) + 1, 0);
  for (int i = 1; i <= n - 1; ++i) {
    if (progress) progress(n - i);
    const std::string& call = grid.cell(i, kColVolacka);
    const std::string& loc = grid.cell(i, kColLokator);
    int added = 0;
    for (int j = i + 1; j <= n; ++j) {
      if (grid.cell(j, kColVolacka) != call || grid.cell(j, kColLokator) != loc) continue;
      if (listed[j]) continue;
      if (added == 0) {
        list.items.push_back({vyrobradek(grid.row(i)), i});
        listed[i] = 1;
      }
      list.items.push_back({vyrobradek(grid.row(j)), j});
      listed[j] = 1;
      ++added;
    }
    if (added > 0) list.items.push_back({"-", -1});
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
