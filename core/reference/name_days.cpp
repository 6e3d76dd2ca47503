#include "core/reference/name_days.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "core/base/text.h"
#include "core/reference/list_data.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace vektrano {

std::string nameDaysPath(const std::string& programFolder) {
  return platform::dataFile(programFolder, ".jmn");
}

std::string familiarNamesPath(const std::string& programFolder) {
  return platform::dataFile(programFolder, ".syn");
}

void splitNameLine(std::string_view line, Grid::Row& row) {
  row.resize(2);
  for (size_t at = line.find(';'); at != std::string_view::npos; at = line.find(';')) {
    row[0] = std::string(line.substr(0, at));
    line.remove_prefix(at + 1);
    row[1] = std::string(line);
  }
}

std::optional<std::vector<std::string>> nameDayRecord(const Grid::Row& row) {
  return std::vector<std::string>{row.at(0), upravvolacku(row.at(1))};
}

bool isBlankNameRow(const Grid::Row& row) {
  return upravvolacku(row.at(0)).empty() && upravvolacku(row.at(1)).empty();
}

std::optional<std::vector<std::string>> familiarNameRecord(const Grid::Row& row) {
  if (isBlankNameRow(row)) return std::nullopt;
  return std::vector<std::string>{row.at(0), upravvolacku(row.at(1))};
}

std::vector<std::string> calendarNames(std::string_view nameDayFile) {
  std::vector<std::string> out;
  for (const std::string& line : splitFileLines(nameDayFile)) {
    const size_t last = line.rfind(';');
    out.push_back(upravvolacku(last == std::string::npos ? line : line.substr(last + 1)));
  }
  return out;
}

bool noNameDays(const std::vector<std::string>& calendar) {
  return std::all_of(calendar.begin(), calendar.end(), [](const std::string& n) { return n.empty(); });
}

std::vector<NameCheckError> checkFamiliarNames(const std::vector<Grid::Row>& rows,
                                               const std::vector<std::string>& calendar) {
  const std::unordered_set<std::string> names(calendar.begin(), calendar.end());
  const bool judge = !noNameDays(calendar);
  std::vector<NameCheckError> errors;
  std::vector<std::string> familiar(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    if (isBlankNameRow(rows[i])) continue;
    const std::string left = upravvolacku(rows[i].at(0));
    familiar[i] = upravvolacku(rows[i].at(1));
    if (!judge) continue;
    const int r = static_cast<int>(i);
    // An empty calendar name would match an empty names field and give a
    // pair that replaces the familiar name by nothing.
    if (left.empty() || !names.count(left))
      errors.push_back({NameCheckError::Kind::NotInCalendar, r});
    if (names.count(familiar[i])) errors.push_back({NameCheckError::Kind::FamiliarInCalendar, r});
  }
  for (size_t j = 0; j < rows.size(); ++j) {
    if (isBlankNameRow(rows[j])) continue;
    for (size_t k = j + 1; k < rows.size(); ++k)
      if (!isBlankNameRow(rows[k]) && familiar[j] == familiar[k])
        errors.push_back({NameCheckError::Kind::Repeated, static_cast<int>(j), static_cast<int>(k)});
  }
  return errors;
}

std::optional<TabulkaSynonym> synonymTableOf(const std::vector<Grid::Row>& rows) {
  TabulkaSynonym t;
  for (const Grid::Row& row : rows) {
    if (isBlankNameRow(row)) continue;
    if (!t.add(row.at(0), row.at(1))) return std::nullopt;
  }
  return t;
}

}  // namespace vektrano

namespace vektrano {

std::string textDnesSvatek(const std::optional<std::string>& nameDayFile, const std::string& path,
                           int day, int month) {
  std::string text = "Dnes má svátek :\r\n\r\n";
  if (!nameDayFile) return text + platform::pathText(path) + " nenalezen.";
  char key[8];
  std::snprintf(key, sizeof key, "%02d%02d;", day % 100, month % 100);
  for (std::string line : splitFileLines(*nameDayFile)) {
    if (line.find(key) == std::string::npos) continue;
    // 0112;Jan -> 01.12-Jan
    if (line.size() > 4) line.erase(4, 1);
    line.insert(std::min<size_t>(4, line.size()), "-");
    line.insert(std::min<size_t>(2, line.size()), ".");
    text += line + "\r\n";
  }
  return text;
}

}  // namespace vektrano
