#include "core/reference/exception_words.h"

#include <algorithm>

#include "core/base/geometry.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

namespace {

// The list has one key: its only column.
void seradSlova(ListTable& table) {
  if (table.keyCount() == 0) table.setKeys({ListTable::cellKey(0)});
  table.sort(0);
}

}  // namespace

std::string upravSlovo(std::string_view cell) { return upravvolacku(vyhodmezery(cell)); }

bool slovoJakoLokator(std::string_view word, const KeyboardOptions& keyboard) {
  return testlok(prevod(word, keyboard));
}

std::string zpravaNeulozeneSlovo(const std::string& word) {
  return "Řádek : " + word + "\r\n \r\nSlovo : " + word +
         " by program ani náhodou nemohl chápat jako LOKÁTOR : \r\n \r\nprogram proto slovo " +
         word +
         ". NEBUDE ukládat do seznamu slov, která se nepřevádějí\r\n \r\nToto je jen "
         "informativní zpráva, klikni na OK pro pokračování";
}

UlozenaSlova SaveSlovaData(ListTable& table, const std::string& path,
                           const KeyboardOptions& keyboard) {
  seradSlova(table);
  std::vector<std::string> cells;
  std::vector<std::string> rejected;
  UlozenaSlova out;
  std::string content;
  for (const auto& row : table.grid().rows()) {
    std::string word = upravSlovo(row.empty() ? std::string() : row[0]);
    if (slovoJakoLokator(word, keyboard)) {
      content += word + "\r\n";
      out.slova.push_back(word);
    } else {
      rejected.push_back(word);
    }
    cells.push_back(std::move(word));
  }
  if (!platform::writeFileAtomic(path, content)) {
    platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(path),
                          platform::MessageKind::Error);
    return {};
  }
  for (int r = 0; r < static_cast<int>(cells.size()); ++r)
    if (table.grid().cell(r, 0) != cells[r]) table.grid().setCell(r, 0, cells[r]);
  for (const std::string& word : rejected) platform::showMessage(zpravaNeulozeneSlovo(word));
  out.zapsano = true;
  return out;
}

int smazSlovo(ListTable& table, int row) {
  Grid& g = table.grid();
  const int last = g.rowCount() - 1;
  row = std::clamp(row, 0, last);
  if (row != last) g.setCell(row, 0, g.cell(last, 0));
  // Dropping the only row would leave it as it was: a list always keeps one.
  if (last == 0) g.clearRow(0);
  table.setRowCount(last);
  seradSlova(table);
  return std::min(row, table.rowCount() - 1);
}

}  // namespace vektrano
