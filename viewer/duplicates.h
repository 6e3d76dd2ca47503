#pragma once
// The duplicate check of the viewer: pairs of contacts with the same call
// sign and the same locator, listed in groups. Every list line keeps the grid
// row it stands for, so a log saved sorted by call sign, locator or km (whose
// numbers are not row indices) still jumps to the right row.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/base/grid.h"

namespace vektrano::palomir {

// Logs above this many contacts are searched only after asking.
inline constexpr int kDuplicateQuestionLimit = 3000;
inline constexpr const char* kDuplicateQuestion = "Mám provést kontrolu duplicit?";

struct DuplicateItem {
  std::string text;
  int row = -1;  // the grid row of a contact line; -1 for the "-" lines
};

struct DuplicateList {
  std::vector<DuplicateItem> items;
  int selected = 0;
};

// One-line text of a grid row.
std::string vyrobradek(const Grid::Row& row);

// True when the search must ask first.
bool needsDuplicateQuestion(int contacts);

// Searches rows 1..contacts of grid. Nothing (the list stays as it was) when
// there are fewer than two contacts. progress gets the number of rows still
// to compare before each outer row.
std::optional<DuplicateList> HledejDuply(const Grid& grid, int contacts,
                                          const std::function<void(int)>& progress = {});

// The grid row a chosen list line leads to: its own row, or row 1 for a
// "-" line.
int duplicateTargetRow(const DuplicateItem& item);

// "Ještě zbývá porovnat : " + remaining + " položek ..."
std::string remainingCaption(int remaining);

}  // namespace vektrano::palomir
