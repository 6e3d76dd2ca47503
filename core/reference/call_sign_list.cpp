#include "core/reference/call_sign_list.h"

#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

std::string chosenCallSignList(const DatabaseFiles& files, bool pouzevolacky1) {
  if (pouzevolacky1 || files.VolackyAlter.empty() || files.VolackyAlter == "none") return files.pvk;
  return files.VolackyAlter;
}

std::string deletedCallSignsPath(const std::string& programFolder) {
  return platform::joinPath(programFolder, "vektrano.del");
}

std::string CisliceVeVolacce(std::string_view text) {
  std::string out(text);
  for (char digit = '0'; digit <= '9'; ++digit) {
    const char pattern[2] = {' ', digit};
    const size_t at = out.find(std::string_view(pattern, 2));
    if (at != std::string::npos) out.erase(at, 1);
  }
  return out;
}

std::string PoZavorku(std::string_view text) {
  return std::string(text.substr(0, text.find('(')));
}

void callSignLineFields(std::string_view line, Grid::Row& row, bool cislice) {
  row.resize(3);
  std::string_view rest = line;
  // "a;b;c;" is the record a, b, c, not a line to be read again from c.
  if (!rest.empty() && rest.back() == ';') rest.remove_suffix(1);
  for (size_t at; (at = rest.find(';')) != std::string_view::npos;) {
    row[0] = std::string(rest.substr(0, at));
    rest.remove_prefix(at + 1);
    const size_t next = rest.find(';');
    const std::string_view call = rest.substr(0, next);
    row[1] = cislice ? CisliceVeVolacce(call) : std::string(call);
    if (next == std::string_view::npos) {
      row[2] = kNezjisteno;
    } else {
      rest.remove_prefix(next + 1);
      row[2] = std::string(rest);
    }
  }
}

std::vector<ListTable::Key> callSignKeys(SynonymSource synonyms) {
  return {
      [](const Grid::Row& r) { return r[0] + r[1]; },
      [](const Grid::Row& r) { return PrevodJenNaVelke(r[1]); },
      [synonyms = std::move(synonyms)](const Grid::Row& r) {
        const std::shared_ptr<const TabulkaSynonym> table = synonyms ? synonyms() : nullptr;
        return table ? Synonymuj(PrevodJenNaVelke(r[1]), *table) : PrevodJenNaVelke(r[1]);
      },
  };
}

bool callSignDuplicates(const Grid::Row& a, const Grid::Row& b, const TabulkaSynonym* synonyms) {
  auto fold = [&](const Grid::Row& r) {
    const std::string cut = PoZavorku(r.size() > 1 ? r[1] : std::string());
    return synonyms ? Synonymuj(cut, *synonyms) : PrevodJenNaVelke(cut);
  };
  const std::string x = fold(a), y = fold(b);
  if (x == y) return true;
  // An empty call sign lies inside every other one, but repeats none of them.
  if (x.empty() || y.empty()) return false;
  return x.find(y) != std::string::npos || y.find(x) != std::string::npos;
}

std::string tidyCallSign(std::string_view cell, const KeyboardOptions& keyboard,
                         std::vector<LocatorLikeWord>* found) {
  std::string t = upravvolacku(vyhoddvojmezery(cell));
  if (t.empty()) t = kPrazdnaVolacka;
  return dotLocatorWords(t, keyboard, std::string(cell), found);
}

std::vector<std::string> callSignFields(const Grid::Row& row) {
  auto at = [&](size_t i) { return i < row.size() ? row[i] : std::string(); };
  return {at(0), upravvolacku(at(1)), upravvolacku(at(2))};
}

std::optional<std::vector<std::string>> callSignRecord(const Grid::Row& row) {
  if (row.empty() || row[0].empty()) return std::nullopt;
  return callSignFields(row);
}

CallSignSave SaveVolackyData(ListTable& table, const std::string& path,
                             const KeyboardOptions& keyboard) {
  CallSignSave result;
  table.ensureSorted(1);
  Grid& grid = table.grid();
  for (int r = 0; r < grid.rowCount(); ++r) {
    std::vector<LocatorLikeWord> words;
    grid.setCell(r, 1, tidyCallSign(grid.cell(r, 1), keyboard, &words));
    for (const LocatorLikeWord& w : words) platform::showMessage(locatorWordMessage(w));
    result.words.insert(result.words.end(), words.begin(), words.end());
  }
  for (const Grid::Row& row : grid.rows())
    if (!callSignRecord(row)) ++result.dropped;
  result.written = table.write(path, callSignRecord);
  if (!result.written) {
    platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(path),
                          platform::MessageKind::Error);
    return result;
  }
  if (result.dropped > 0)
    platform::showMessage("Prázdné položky byly vypuštěny ... ( " + std::to_string(result.dropped) +
                          "x )");
  return result;
}

int smazVolackyDoData(ListTable& table, const std::string& answer, const std::string& listingPath,
                      const std::function<void(int row)>& visit) {
  const std::optional<platform::DateTime> limit = platform::parseDate(answer);
  if (!limit) {
    platform::showMessage("To co jsi vložil není datum : [" + answer + " ]");
    return -1;
  }
  const platform::DateTime longAgo = *platform::parseDate(kDlouhoZpatky);
  Grid& grid = table.grid();
  std::vector<int> old;
  std::string listing;
  for (int r = 0; r < grid.rowCount(); ++r) {
    if (visit) visit(r);
    std::optional<platform::DateTime> date = platform::parseDate(grid.cell(r, 2));
    if (!date) {
      platform::showMessage("Řetězec : [" + grid.cell(r, 2) + "] bude nahrazen datumem " +
                            kDlouhoZpatky);
      grid.setCell(r, 2, kDlouhoZpatky);
      date = longAgo;
    }
    if (*date <= *limit) {
      const std::vector<std::string> f = callSignFields(grid.row(r));
      listing += listCellForFile(f[0]) + ";" + listCellForFile(f[1]) + ";" +
                 listCellForFile(f[2]) + "\r\n";
      old.push_back(r);
    }
  }
  if (!platform::writeFileAtomic(listingPath, listing))
    platform::showMessage("Chyba I/O při zakládání souboru : " + platform::pathText(listingPath),
                          platform::MessageKind::Error);
  const std::string question =
      "Seznam volaček určených ke zrušení je  uložen v souboru : \r\n\r\n" +
      platform::pathText(listingPath) +
      "\r\n\r\nCelkem bude zrušeno : [" + std::to_string(old.size()) +
      " ] volaček , mám zrušení opravdu provést ?";
  if (!platform::askYesNo(question, false)) return 0;
  const int removed = table.deleteRows(old, {0, 1, 2}, kDeleteMark6, 0);
  platform::showMessage(
      "Upozornění : \r\n\r\nPokud nyní seznam volaček neuložíte, nebudou provedené změny "
      "zaznamenány !!!");
  return removed;
}

}  // namespace vektrano
