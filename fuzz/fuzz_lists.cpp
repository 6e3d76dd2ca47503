// The reference list files as their windows and start-up read them: name
// days, familiar names, words never taken for a locator, the report table
// and a plain list of "field;field" records (towns and call signs). The
// first byte picks the list, the rest is the file; each is read, sorted,
// searched, stepped through for duplicates, edited and saved again.
//
// Property: a saved list reads back with as many records as it wrote, so no
// text of a cell can split or join records.
#include "core/base/synonyms.h"
#include "core/reference/exception_words.h"
#include "core/reference/list_data.h"
#include "core/reference/name_days.h"
#include "core/reference/report_table.h"
#include "core/reference/report_table_file.h"
#include "core/session/startup.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"

namespace vektrano {
namespace {

std::string listFile() { return platform::joinPath(fuzz::scratch(), "seznam.txt"); }

int records(const std::string& content) { return static_cast<int>(splitFileLines(content).size()); }

// Reads the list through its window's rule, works on it, and checks that
// what it saves reads back record for record.
void exercise(ListTable& table, const std::string& data, const ListTable::FieldRule& rule,
              const ListTable::RecordRule& record) {
  fuzz::writeFile(listFile(), data);
  if (!table.read(listFile(), rule)) fuzz::fail("a list just written cannot be read");
  std::vector<ListTable::Key> keys;
  for (int c = 0; c < table.grid().colCount(); ++c) keys.push_back(ListTable::cellKey(c));
  table.setKeys(keys);
  for (int k = 0; k < table.keyCount(); ++k) {
    table.sort(k);
    const Grid::Row& first = table.grid().rows().front();
    table.find(k, k, first[static_cast<size_t>(k)].substr(0, 2), ListTable::Match::BeginsWith);
    table.find(k, k, first[static_cast<size_t>(k)], ListTable::Match::Contains);
  }
  for (int i = 0; i < 4; ++i)
    if (!table.nextDuplicate(0, [](const Grid::Row& a, const Grid::Row& b) { return a[0] == b[0]; }).found) break;
  table.deleteRow(table.rowCount() / 2, {0}, kDeleteMark1, 0);
  table.addRow();

  const std::string saved = table.fileContent(record);
  int kept = 0;
  for (const Grid::Row& row : table.grid().rows()) kept += (record ? record(row).has_value() : true) ? 1 : 0;
  if (records(saved) != kept) fuzz::fail("a saved list has not one line per record");
  ListTable again(table.grid().colCount());
  fuzz::writeFile(listFile(), saved);
  if (!again.read(listFile(), rule) || again.rowCount() != std::max(kept, 1))
    fuzz::fail("a saved list reads back with another number of records");
}

void nameDays(const std::string& data) {
  ListTable t(2);
  exercise(t, data, splitNameLine, nameDayRecord);
  calendarNames(data);
}

void familiarNames(const std::string& data) {
  ListTable t(2);
  exercise(t, data, splitNameLine, familiarNameRecord);
  const std::vector<std::string> calendar = calendarNames("0101;Nový rok\r\n1901;Karel\r\n2401;Milena\r\n");
  checkFamiliarNames(t.grid().rows(), calendar);
  synonymTableOf(t.grid().rows());
  TabulkaSynonym s;
  synonymaZeSouboru(data, s);
  for (const auto& p : s.pary()) Synonymuj(p.kanonicke + " " + p.domacke, s);
}

void exceptionWords(const std::string& data) {
  vyjimkyZeSouboru(data);
  ListTable t(1);
  fuzz::writeFile(listFile(), data);
  if (!t.read(listFile(), [](std::string_view line, Grid::Row& row) { row[0] = std::string(line); }))
    fuzz::fail("a list just written cannot be read");
  const UlozenaSlova u = SaveSlovaData(t, listFile(), KeyboardOptions{true, false});
  if (!u.zapsano) fuzz::fail("the word list was not written");
  const auto back = platform::readWholeFile(listFile());
  if (!back || vyjimkyZeSouboru(*back) != u.slova) fuzz::fail("the words written read back otherwise");
  if (t.rowCount() > 1) smazSlovo(t, 0);
}

void reportTable(const std::string& data) {
  TabulkaReportu t = parseTabulkaReportu(data);
  reportyZeSouboru(data);
  spatnaVzdalenost(t);
  sortujTabulkuReportu(t);
  for (int km : {-1, 0, 50, 451, 100000}) GenerujReport(t, km);
  for (RadekReportu& r : t)
    if (!limitKm(r)) r.km = "0";
  if (ulozTabulkuReportu(listFile(), t) == UlozeniReportu::Ulozeno) {
    const auto back = platform::readWholeFile(listFile());
    if (!back) fuzz::fail("the report table written cannot be read");
    const TabulkaReportu again = parseTabulkaReportu(*back);
    for (int i = 0; i < kRadkuReportu; ++i)
      if (limitKm(again[static_cast<size_t>(i)]) != limitKm(t[static_cast<size_t>(i)]))
        fuzz::fail("a saved distance reads back otherwise");
  }
}

void plainList(const std::string& data, int cols) {
  ListTable t(cols);
  exercise(t, data, {}, {});
}

}  // namespace
}  // namespace vektrano

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string rest(vektrano::fuzz::bytes(data + 1, size - 1));
  switch (data[0] % 6) {
    case 0: vektrano::nameDays(rest); break;
    case 1: vektrano::familiarNames(rest); break;
    case 2: vektrano::exceptionWords(rest); break;
    case 3: vektrano::reportTable(rest); break;
    case 4: vektrano::plainList(rest, 2); break;
    case 5: vektrano::plainList(rest, 3); break;
  }
  vektrano::fuzz::takeMessageCount();
  return 0;
}
