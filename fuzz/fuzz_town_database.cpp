// The town and locator database ".zr4" as the update, a hand edit or a
// damaged disk may leave it: read as the editor, the call-sign import and
// the shipped-data check read it, sorted and searched as the editor does,
// then saved by the editor's save.
//
// Properties: reading never changes the file; the save keeps the previous
// content whole as ".loc"; the file saved holds one line per row, and each
// reads back as the record the save made of it, field for field.
#include "core/reference/town_database.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"

namespace vektrano {
namespace {

void townDatabase(std::string_view data) {
  const std::string folder = fuzz::freshFolder("mesta");
  const std::string path = platform::joinPath(folder, "vektrano.zr4");
  fuzz::writeFile(path, data);

  const auto rows = readTownDatabase(path);
  if (!rows) fuzz::fail("a database just written cannot be read");
  ListTable table(2);
  if (!table.read(path, townLineFields)) fuzz::fail("a database just written cannot be read");
  if (table.grid().rows() != (rows->empty() ? std::vector<Grid::Row>{Grid::Row(2)} : *rows))
    fuzz::fail("the editor and the import read the database otherwise");
  if (platform::readWholeFile(path) != data) fuzz::fail("reading changed the database");

  const KeyboardOptions keyboard{true, false};
  table.setKeys({ListTable::cellKey(0), ListTable::cellKey(1)});
  for (int k = 0; k < 2; ++k) {
    const Grid::Row& first = table.grid().rows().front();
    table.find(k, k, k == 0 ? prevod(first[0], keyboard) : upravvolacku(first[1].substr(0, 4)),
               k == 0 ? ListTable::Match::Contains : ListTable::Match::BeginsWith);
  }
  for (int i = 0; i < 4; ++i)
    if (!table.nextDuplicate(1, [](const Grid::Row& a, const Grid::Row& b) { return a[1] == b[1]; }).found) break;

  const TownSave save = savedata(table, path, keyboard);
  if (!save.written) fuzz::fail("the database was not saved");
  if (platform::readWholeFile(townDatabaseBackupPath(path)) != data)
    fuzz::fail("the previous database is not kept whole");
  const auto saved = platform::readWholeFile(path);
  if (!saved) fuzz::fail("the saved database cannot be read");
  const std::vector<Grid::Row> back = townRows(*saved);
  if (static_cast<int>(back.size()) != table.rowCount()) fuzz::fail("the saved database has not one line per row");
  for (size_t i = 0; i < back.size(); ++i) {
    const std::vector<std::string> record = *townRecord(table.grid().rows()[i]);
    if (back[i] != Grid::Row{listCellForFile(record[0]), listCellForFile(record[1])})
      fuzz::fail("saved row " + record[0] + ";" + record[1] + " reads back as " + back[i][0] + ";" + back[i][1]);
  }
}

}  // namespace
}  // namespace vektrano

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vektrano::townDatabase(std::string(vektrano::fuzz::bytes(data, size)));
  vektrano::fuzz::takeMessageCount();
  return 0;
}
