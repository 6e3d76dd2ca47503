#include "core/reference/memory_tables.h"

#include <chrono>

#include "core/base/synonyms.h"
#include "core/base/text.h"

namespace vektrano {
namespace {

std::string_view from(std::string_view s, size_t pos) {
  return pos < s.size() ? s.substr(pos) : std::string_view();
}

const SharedTable& emptyTable() {
  static const SharedTable t = std::make_shared<const MemoryTable>();
  return t;
}

bool digits(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return !s.empty();
}

// The day and month of a "DDMM" key, when the key is four digits.
bool dayKey(std::string_view line, int& day, int& month) {
  if (line.size() < 4 || !digits(line.substr(0, 4))) return false;
  day = (line[0] - '0') * 10 + (line[1] - '0');
  month = (line[2] - '0') * 10 + (line[3] - '0');
  return true;
}

}  // namespace

MemoryTableSlot::MemoryTableSlot() : table_(emptyTable()) {}

SharedTable MemoryTableSlot::get() const {
  std::lock_guard lock(mutex_);
  return table_;
}

void MemoryTableSlot::set(SharedTable table) {
  if (!table) table = emptyTable();
  std::lock_guard lock(mutex_);
  table_.swap(table);
  // The old table now sits in the parameter, which dies after the lock is
  // released: freeing a large table never blocks a reader.
}

MemoryRow databaseRow(std::string_view line) {
  const std::string_view key = line.substr(0, 6);
  const std::string_view text = from(line, 7);
  MemoryRow row;
  std::string folded = PrevodJenNaVelke(text);
  if (size_t p = folded.find('('); p != std::string::npos) folded.erase(p);
  row.cell0.reserve(key.size() + folded.size() + 2);
  row.cell0 += ' ';
  row.cell0 += key;
  row.cell0 += ' ';
  row.cell0 += folded;

  row.cell1.reserve(key.size() + text.size() + 8);
  row.cell1 += key;
  row.cell1 += ' ';
  for (char c : text) {
    if (c == ';')
      row.cell1 += " - ";
    else
      row.cell1 += c;
  }
  static const std::string unknown = "- Nezjištěno";
  if (size_t p = row.cell1.find(unknown); p != std::string::npos) row.cell1.erase(p, unknown.size());
  return row;
}

MemoryRow separatorRow() { return {"******", std::string(36, '*')}; }

bool nameDayLoaded(std::string_view line, const Day& today) {
  if (line.substr(0, 4) != "2902") return true;
  return std::chrono::year(today.year).is_leap();
}

MemoryRow nameDayRow(std::string_view line, const Day& today, const TabulkaSynonym* synonyms) {
  using namespace std::chrono;
  MemoryRow row;
  const std::string folded = synonyms ? Synonymuj(line, *synonyms) : PrevodJenNaVelke(line);
  row.cell0 = " ";
  row.cell0 += from(folded, 5);

  row.cell1 += line.substr(0, 2);
  row.cell1 += '.';
  row.cell1 += line.substr(2 < line.size() ? 2 : line.size(), 2);
  row.cell1 += '-';
  row.cell1 += from(line, 5);

  int d = 0, m = 0;
  if (!dayKey(line, d, m)) return row;
  const year_month_day date{year(today.year), month(static_cast<unsigned>(m)),
                            day(static_cast<unsigned>(d))};
  const year_month_day now{year(today.year), month(static_cast<unsigned>(today.month)),
                           day(static_cast<unsigned>(today.day))};
  if (!date.ok() || !now.ok()) return row;
  const int distance = (sys_days(date) - sys_days(now)).count();
  if (distance == 0)
    row.cell1 += " *!*!*!*!*!*!";
  else
    row.cell1 += (distance > 0 ? " +" : " -") + std::to_string(distance > 0 ? distance : -distance);
  return row;
}

}  // namespace vektrano
