// The call-sign import's files: the call-sign list, the town database, the
// file chosen for the import (a log ".qvl" or ".csv", or another list
// ".pvk") and the moved-lines file of an earlier import (the input: a byte
// choosing the kind of file and whether there was an earlier import, then
// the four files, see fuzz::parts). The file is read against the list, the
// first rows are looked up, one moved into the list and one dropped, then
// the same file is read again as a later import does; both tables are saved.
//
// Properties: reading changes no file; a row moved or dropped is never
// offered again; the saved list holds one line per row that is not wholly
// empty and the towns one per row, each reading back as the record the save
// made of it.
#include <set>

#include "core/reference/call_sign_import.h"
#include "core/reference/call_sign_list.h"
#include "core/reference/town_database.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {
namespace {

const std::string kDatum = "8.4.2008";

void checkLookup(CallSignImport& imp, int row) {
  const CallSignImport::Lookup l = imp.dohledacka(row);
  const std::string& locator = imp.importRows().grid().cell(row, 0);
  const std::string& call = imp.importRows().grid().cell(row, 1);
  if (l.townRow >= 0 && imp.towns().grid().cell(l.townRow, 0) != locator) fuzz::fail("the town found has another locator");
  if (l.commonText != call.substr(0, static_cast<size_t>(l.common))) fuzz::fail("the common beginning is not the call sign's");
  if (l.listRow >= 0 && imp.list().grid().cell(l.listRow, 1).compare(0, l.commonText.size(), l.commonText) != 0)
    fuzz::fail("the list row found does not begin with the common text");
}

void checkSavedList(const ListTable& list, const std::string& path) {
  const std::vector<std::string> lines = splitFileLines(platform::readWholeFile(path).value_or(""));
  // The empty row an empty list shows, or a blank line read, is no record.
  std::vector<Grid::Row> records;
  for (const Grid::Row& row : list.grid().rows())
    if (!(row[0].empty() && row[1].empty() && row[2].empty())) records.push_back(row);
  if (lines.size() != records.size()) fuzz::fail("the saved list has not one line per row");
  for (size_t i = 0; i < lines.size(); ++i) {
    const Grid::Row& row = records[i];
    Grid::Row back;
    callSignLineFields(lines[i], back, false);
    const std::string date = listCellForFile(row[2]);
    const Grid::Row expected{listCellForFile(row[0]), listCellForFile(upravvolacku(row[1])),
                             date.empty() ? kNezjisteno : date};
    if (back != expected) fuzz::fail("saved list row " + lines[i] + " reads back as " + back[0] + "|" + back[1] + "|" + back[2]);
  }
}

void checkSavedTowns(const ListTable& towns, const std::string& path) {
  const std::vector<Grid::Row> back = townRows(platform::readWholeFile(path).value_or(""));
  if (static_cast<int>(back.size()) != towns.rowCount()) fuzz::fail("the saved towns have not one line per row");
  for (size_t i = 0; i < back.size(); ++i) {
    const std::vector<std::string> r = *townRecord(towns.grid().rows()[i]);
    if (back[i] != Grid::Row{listCellForFile(r[0]), listCellForFile(r[1])}) fuzz::fail("a saved town reads back otherwise");
  }
}

void import(std::string_view input) {
  const std::vector<std::string> p = fuzz::parts(input, 5);
  const unsigned choice = p[0].empty() ? 0 : static_cast<unsigned char>(p[0][0]);
  const std::string folder = fuzz::freshFolder("import");
  const std::string listPath = platform::joinPath(folder, "vektrano.pvk");
  const std::string townPath = platform::joinPath(folder, "vektrano.zr4");
  const char* names[] = {"denik.qvl", "stary.csv", "druha.pvk"};
  const std::string file = platform::joinPath(folder, names[choice % 3]);
  const std::string moved = CallSignImport::movedLinesPathOf(file);
  fuzz::writeFile(listPath, p[1]);
  fuzz::writeFile(townPath, p[2]);
  fuzz::writeFile(file, p[3]);
  if (choice & 4) fuzz::writeFile(moved, p[4]);

  CallSignImport imp(listPath, townPath);
  imp.readLists();
  if (!imp.nactidata(file, kDatum)) fuzz::fail("a file just written cannot be imported");
  for (const auto& [path, was] : {std::pair{listPath, &p[1]}, {townPath, &p[2]}, {file, &p[3]}})
    if (platform::readWholeFile(path) != *was) fuzz::fail("reading changed " + path);
  if ((choice & 4) && platform::readWholeFile(moved) != p[4]) fuzz::fail("reading changed the moved lines");

  const Grid& rows = imp.importRows().grid();
  for (int r = 0; r < rows.rowCount() && r < 4; ++r) checkLookup(imp, r);

  // One row moved, the next dropped: both done for every later import.
  std::set<Grid::Row> done;
  if (!rows.cell(0, 0).empty()) {
    const Grid::Row row = rows.row(0);
    const CallSignImport::Lookup l = imp.dohledacka(0);
    if (imp.zS1doS2PridejVolacku(0, l.townRow, l.listRow, choice & 8, kDatum) >= 0) done.insert(row);
  }
  if (rows.rowCount() > 1 || !rows.cell(0, 0).empty()) {
    done.insert(rows.row(0));
    imp.dropImportRow(0);
  }
  imp.addTown("jo70po", "kozákov (semily)", KeyboardOptions{true, false});

  CallSignImport later(listPath, townPath);
  later.readLists();
  if (!later.nactidata(file, kDatum)) fuzz::fail("the file cannot be imported again");
  for (const Grid::Row& row : later.importRows().grid().rows()) {
    Grid::Row plain = row;
    if (plain.size() > 1 && plain[1].size() >= 2 && plain[1].compare(plain[1].size() - 2, 2, " *") == 0)
      plain[1].resize(plain[1].size() - 2);
    for (const Grid::Row& d : done) {
      Grid::Row dp = d;
      if (dp.size() > 1 && dp[1].size() >= 2 && dp[1].compare(dp[1].size() - 2, 2, " *") == 0)
        dp[1].resize(dp[1].size() - 2);
      if (!row[0].empty() && dp == plain) fuzz::fail("a row done is offered again: " + row[0] + ";" + row[1]);
    }
  }

  if (!imp.SaveVolacky()) fuzz::fail("the list was not saved");
  checkSavedList(imp.list(), listPath);
  if (!imp.Savelok()) fuzz::fail("the towns were not saved");
  checkSavedTowns(imp.towns(), townPath);
}

}  // namespace
}  // namespace vektrano

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Rows done in an earlier import are left out, as the operator is asked.
  vektrano::fuzz::setUpAnsweringYes();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vektrano::import(vektrano::fuzz::bytes(data, size));
  vektrano::fuzz::takeMessageCount();
  return 0;
}
