// The call-sign list ".pvk" as a hand edit, an import or a damaged disk may
// leave it (the input: the list, then the operator's answer to the delete by
// date, see fuzz::parts). The list is read by the editor's rule and by the
// import's, sorted on each key, stepped through for duplicates, searched,
// saved by the editor's save, and its old rows deleted by date with the
// listing written.
//
// Properties: reading never changes the file; the save writes one line per
// row with a locator and reading it back gives each record's fields in
// their own cells (with the reading's own changes: digits joined to the call
// sign, "Nezjištěno" for no date); the delete by date lists exactly the rows
// it removes, all dated on or before the answer.
#include "core/reference/call_sign_list.h"
#include "fuzz/fuzz_support.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {
namespace {

std::string folder() { return platform::joinPath(fuzz::scratch(), "seznam"); }

std::shared_ptr<const TabulkaSynonym> synonyms() {
  static const auto table = [] {
    auto t = std::make_shared<TabulkaSynonym>();
    t->add("Zulu", "ZR");
    t->add("Alfa", "Al");
    return t;
  }();
  return table;
}

void readAndWalk(ListTable& table, const std::string& path, bool cislice) {
  if (!table.read(path, [cislice](std::string_view line, Grid::Row& row) { callSignLineFields(line, row, cislice); }))
    fuzz::fail("a list just written cannot be read");
  table.setKeys(callSignKeys(synonyms));
  for (int k = 0; k < table.keyCount(); ++k) {
    table.sort(k);
    const Grid::Row& first = table.grid().rows().front();
    table.find(k, 1, first[1].substr(0, 3), ListTable::Match::BeginsWith);
    table.find(k, 0, first[0], ListTable::Match::Contains);
  }
  for (int i = 0; i < 4; ++i)
    if (!table.nextDuplicate(2, [](const Grid::Row& a, const Grid::Row& b) {
                 return callSignDuplicates(a, b, synonyms().get());
               }).found)
      break;
}

void checkSaved(const ListTable& table, const std::string& path, const CallSignSave& save) {
  const auto content = platform::readWholeFile(path);
  if (!content) fuzz::fail("the saved list cannot be read");
  std::vector<std::vector<std::string>> records;
  for (const Grid::Row& row : table.grid().rows())
    if (auto r = callSignRecord(row)) records.push_back(*r);
  if (save.dropped != table.rowCount() - static_cast<int>(records.size()))
    fuzz::fail("the save counts another number of rows without a locator");
  const std::vector<std::string> lines = splitFileLines(*content);
  if (lines.size() != records.size()) fuzz::fail("the saved list has not one line per row with a locator");
  for (size_t i = 0; i < lines.size(); ++i) {
    Grid::Row back;
    callSignLineFields(lines[i], back, true);
    const std::string date = listCellForFile(records[i][2]);
    const Grid::Row expected{listCellForFile(records[i][0]), CisliceVeVolacce(listCellForFile(records[i][1])),
                             date.empty() ? kNezjisteno : date};
    if (back != expected) fuzz::fail("saved row " + lines[i] + " reads back as " + back[0] + "|" + back[1] + "|" + back[2]);
  }
}

void deleteByDate(ListTable& table, const std::string& answer) {
  const std::string listing = deletedCallSignsPath(folder());
  const int before = table.rowCount();
  const int removed = smazVolackyDoData(table, answer, listing);
  const auto limit = platform::parseDate(answer);
  if (!limit) {
    if (removed != -1 || table.rowCount() != before) fuzz::fail("an answer that is no date changed the list");
    return;
  }
  const auto text = platform::readWholeFile(listing);
  if (!text) fuzz::fail("the listing of the delete was not written");
  // One row always stays, empty, when every row went.
  const int left = table.rowCount() == 1 && table.grid().rows()[0] == Grid::Row(3) && removed == before ? 0 : table.rowCount();
  if (static_cast<int>(splitFileLines(*text).size()) != removed || left + removed != before)
    fuzz::fail("the delete removed other rows than it listed");
  for (int r = 0; r < left; ++r) {
    const auto date = platform::parseDate(table.grid().cell(r, 2));
    if (!date || *date <= *limit) fuzz::fail("a row dated " + table.grid().cell(r, 2) + " stayed");
  }
}

void callSignList(std::string_view input) {
  const std::vector<std::string> p = fuzz::parts(input, 2);
  fuzz::freshFolder("seznam");
  const std::string path = platform::joinPath(folder(), "vektrano.pvk");
  fuzz::writeFile(path, p[0]);

  ListTable import(3);
  readAndWalk(import, path, false);
  ListTable editor(3);
  readAndWalk(editor, path, true);
  if (platform::readWholeFile(path) != p[0]) fuzz::fail("reading changed the list");

  const CallSignSave save = SaveVolackyData(editor, path, KeyboardOptions{true, false});
  if (!save.written) fuzz::fail("the list was not saved");
  checkSaved(editor, path, save);
  deleteByDate(editor, p[1]);
}

}  // namespace
}  // namespace vektrano

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The operator says yes to the delete, so that it happens.
  vektrano::fuzz::setUpAnsweringYes();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vektrano::callSignList(vektrano::fuzz::bytes(data, size));
  vektrano::fuzz::takeMessageCount();
  return 0;
}
