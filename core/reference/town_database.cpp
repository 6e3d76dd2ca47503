#include "core/reference/town_database.h"

#include "core/base/geometry.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {
namespace {

std::string withoutOuterBlanks(std::string_view s) {
  size_t a = 0, b = s.size();
  while (a < b && s[a] == ' ') ++a;
  while (b > a && s[b - 1] == ' ') --b;
  return std::string(s.substr(a, b - a));
}

}  // namespace

std::string townDatabaseBackupPath(const std::string& database) {
  const size_t slash = database.find_last_of("/\\");
  const size_t dot = database.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? database.substr(0, dot) : database) + ".loc";
}

std::string chosenTownDatabase(const DatabaseFiles& files, bool pouzelok1) {
  if (pouzelok1 || files.LokatoryAlter.empty() || files.LokatoryAlter == "none") return files.zr4;
  return files.LokatoryAlter;
}

void townLineFields(std::string_view line, Grid::Row& row) {
  row.resize(2);
  std::string_view rest = line;
  for (size_t at; (at = rest.find(';')) != std::string_view::npos;) {
    row[0] = std::string(rest.substr(0, at));
    rest.remove_prefix(at + 1);
    row[1] = std::string(rest);
  }
}

std::vector<Grid::Row> townRows(std::string_view content) {
  std::vector<Grid::Row> rows;
  forEachFileLine(content, [&](std::string_view line) {
    Grid::Row row(2);
    townLineFields(line, row);
    rows.push_back(std::move(row));
  });
  return rows;
}

std::optional<std::vector<Grid::Row>> readTownDatabase(const std::string& path) {
  const std::optional<std::string> content = platform::readWholeFile(path);
  if (!content) return std::nullopt;
  return townRows(*content);
}

bool locatorLike(std::string_view word, const KeyboardOptions& keyboard) {
  return testlok(prevod(word, keyboard));
}

std::string dotLocatorWords(std::string_view text, const KeyboardOptions& keyboard,
                            const std::string& rowText, std::vector<LocatorLikeWord>* found) {
  std::string out;
  size_t i = 0;
  while (i <= text.size()) {
    const size_t blank = std::min(text.find(' ', i), text.size());
    std::string word(text.substr(i, blank - i));
    if (!word.empty()) {
      if (locatorLike(word, keyboard)) {
        if (found) found->push_back({rowText, word, prevod(word, keyboard)});
        word += '.';
      }
      if (!out.empty()) out += ' ';
      out += word;
    }
    i = blank + 1;
  }
  return out;
}

std::string locatorWordMessage(const LocatorLikeWord& w) {
  return "Řádek : " + w.text + "\r\n \r\nSlovo : " + w.word +
         " by program mohl chybně chápat jako LOKÁTOR : " + w.asLocator +
         "\r\n(Vzpomeň - písmena s háčky a čárky si program sám převádí na číslice)\r\n \r\n"
         "program proto za slovo " +
         w.word +
         ". přidá tečku a tím k chybnému převodu již nedojde\r\n"
         "(jako lokátor program vezme pouze šestimístný výraz). \r\n \r\n"
         "Toto je jen informativní zpráva, klikni na OK pro pokračování";
}

std::string tidyTownDescription(std::string_view cell, const KeyboardOptions& keyboard,
                                std::vector<LocatorLikeWord>* found) {
  const std::string tidy = withoutOuterBlanks(upravvolacku(vyhoddvojmezery(cell)));
  return dotLocatorWords(tidy, keyboard, std::string(cell), found);
}

std::optional<std::vector<std::string>> townRecord(const Grid::Row& row) {
  return std::vector<std::string>{row.size() > 0 ? row[0] : std::string(),
                                  upravvolacku(row.size() > 1 ? row[1] : std::string())};
}

TownSave savedata(ListTable& table, const std::string& path, const KeyboardOptions& keyboard) {
  TownSave result;
  table.ensureSorted(1);
  Grid& grid = table.grid();
  for (int r = 0; r < grid.rowCount(); ++r) {
    std::vector<LocatorLikeWord> words;
    grid.setCell(r, 1, tidyTownDescription(grid.cell(r, 1), keyboard, &words));
    // Shown as each word is found; the save goes on after each.
    for (const LocatorLikeWord& w : words) platform::showMessage(locatorWordMessage(w));
    result.words.insert(result.words.end(), words.begin(), words.end());
  }
  result.written = table.write(path, townRecord, townDatabaseBackupPath(path));
  if (!result.written)
    platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(path),
                          platform::MessageKind::Error);
  return result;
}

std::string previousVersionMessage(const std::string& path) {
  return "Předcházející verze databáze " + platform::pathText(path) + " byla uložena do souboru " +
         platform::pathText(townDatabaseBackupPath(path));
}

}  // namespace vektrano
