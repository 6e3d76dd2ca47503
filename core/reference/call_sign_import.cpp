#include "core/reference/call_sign_import.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "core/log/log_file.h"
#include "core/reference/call_sign_list.h"
#include "core/reference/town_database.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {
namespace {

std::string upperExtension(const std::string& file) {
  const size_t slash = file.find_last_of("/\\");
  const size_t dot = file.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = file.substr(dot);
  for (char& c : ext) c = VelkyZnak(c);
  return ext;
}

// At most ten fields; the tenth takes the rest of the line.
std::vector<std::string> fieldsOf(std::string_view line) {
  std::vector<std::string> f;
  while (f.size() < 9) {
    const size_t at = line.find(';');
    if (at == std::string_view::npos) break;
    f.emplace_back(line.substr(0, at));
    line.remove_prefix(at + 1);
  }
  f.emplace_back(line);
  return f;
}

std::string trimBlanks(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  size_t a = 0;
  while (a < s.size() && s[a] == ' ') ++a;
  return s.substr(a);
}

// The list text a log's call sign is looked for in: a bracketed district
// cut out, tidied and folded.
std::string listTextForLog(const std::string& folded) {
  std::string t = folded;
  const size_t open = t.find('('), close = t.find(')');
  if (open != std::string::npos && close != std::string::npos && close > open)
    t.erase(open, close - open + 1);
  return PrevodJenNaVelke(upravvolacku(t));
}

std::vector<ListTable::Key> singleKey(ListTable::Key key) { return {std::move(key)}; }

}  // namespace

std::string doneKey(const std::vector<std::string>& cells) {
  std::string key;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i) key += ';';
    // Each cell as the moved-lines file holds it (a line break a blank), so
    // that a row read with a stray CR or LF matches its record, and tidied
    // on its own: the tidying drops the "*" of the mark " *" with the blank
    // before it, so a row recorded marked matches when read unmarked, also
    // when its call sign ends in " *" itself (a bare CR before a "*" is
    // recorded as one).
    key += upravvolacku(listCellForFile(cells[i]));
  }
  return key;
}

CallSignImport::CallSignImport(std::string callSignList, std::string townDatabase)
    : listPath_(std::move(callSignList)), townPath_(std::move(townDatabase)) {
  // TrideniDeniku and TrideniVolacek sort on the call sign, TrideniLokatoru
  // on locator and description.
  import_.setKeys(singleKey(ListTable::cellKey(1)));
  list_.setKeys(singleKey(ListTable::cellKey(1)));
  towns_.setKeys(singleKey([](const Grid::Row& r) { return r[0] + r[1]; }));
}

void CallSignImport::readLists() {
  if (!list_.read(listPath_, [](std::string_view line, Grid::Row& row) {
        callSignLineFields(line, row, false);
      }))
    platform::showMessage("Chyba I/O při čtení souboru : " + platform::pathText(listPath_),
                          platform::MessageKind::Error);
  if (!towns_.read(townPath_, townLineFields))
    platform::showMessage("Chyba I/O při čtení souboru : " + platform::pathText(townPath_),
                          platform::MessageKind::Error);
}

CallSignImport::Mode CallSignImport::modeOf(const std::string& file) {
  const std::string ext = upperExtension(file);
  if (ext == ".QVL" || ext == ".CSV") return Mode::Log;
  if (ext == ".PVK") return Mode::List;
  return Mode::None;
}

std::string CallSignImport::movedLinesPathOf(const std::string& file) {
  const size_t slash = file.find_last_of("/\\");
  const size_t dot = file.rfind('.');
  const bool ext = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (ext ? file.substr(0, dot) : file) + ".del";
}

bool CallSignImport::nactidata(const std::string& file, const std::string& chosenDate,
                               const std::function<void(int)>& progress) {
  const Mode mode = modeOf(file);
  if (mode == Mode::None) return false;
  // Read before anything changes: a file that cannot be read leaves both
  // tables and the moved-lines file as they were.
  const std::optional<std::string> content = platform::readWholeFile(file);
  if (!content) {
    platform::showMessage("Soubor " + platform::pathText(file) + " nebyl nalezen !",
                          platform::MessageKind::Error);
    return false;
  }

  const std::string moved = movedLinesPathOf(file);
  std::unordered_set<std::string> done;
  bool skipDone = false;
  if (platform::fileExists(moved)) {
    if (platform::askYesNo("Byl nalezen pomocný soubor obsahující již zpracované volačky.\r\n" +
                               platform::pathText(moved) +
                               "\r\nOdstranit z výběru již zpracované volačky ? ",
                           true)) {
      skipDone = true;
      if (const auto lines = platform::readWholeFile(moved))
        forEachFileLine(*lines, [&](std::string_view line) {
          std::vector<std::string> cells;
          size_t start = 0;
          for (size_t at; (at = line.find(';', start)) != std::string_view::npos; start = at + 1)
            cells.emplace_back(line.substr(start, at - start));
          cells.emplace_back(line.substr(start));
          done.insert(doneKey(cells));
        });
    } else if (platform::askYesNo("Mám tento pomocný soubor .\r\n" + platform::pathText(moved) +
                                      "\r\nsmazat ? ",
                                  false)) {
      std::error_code ec;
      std::filesystem::remove(platform::fsPath(moved), ec);
    }
  }

  const int cols = mode == Mode::List ? 3 : 2;
  Grid& list = list_.grid();
  std::vector<Grid::Row> rows;
  int updated = 0;
  int read = 0;
  bool header = mode == Mode::Log;
  forEachFileLine(*content, [&](std::string_view raw) {
    if (header) {
      header = false;  // the log's description line is never imported
      return;
    }
    ++read;
    if (progress) progress(read);
    std::string_view line = raw;
    Grid::Row row(cols);
    if (mode == Mode::Log) {
      const std::vector<std::string> f = fieldsOf(line);
      if (f.size() < 7) return;
      // The log's notes (azimuth, duplicate and error marks) are no part of
      // the station's call sign.
      row[0] = trimBlanks(f[6]);
      row[1] = trimBlanks(vyhodtecky(f[4]));
    } else {
      if (!line.empty() && line.back() == ';') line.remove_suffix(1);
      const std::vector<std::string> f = fieldsOf(line);
      row[0] = f[0];
      row[1] = f.size() > 1 ? f[1] : std::string();
      const size_t last = line.rfind(';');
      row[2] = f.size() >= 3 ? std::string(line.substr(last + 1)) : kNezjisteno;
    }
    if (row[0].empty() || row[1].empty()) return;
    if (skipDone && done.count(doneKey(row))) return;

    const std::string c = PrevodJenNaVelke(row[1]);
    bool known = false;
    for (int r = 0; r < list.rowCount(); ++r) {
      std::string text = PrevodJenNaVelke(list.cell(r, 1));
      if (mode == Mode::Log) text = listTextForLog(text);
      if (text.find(c) == std::string::npos) continue;
      if (list.cell(r, 0) != row[0]) {
        // Known under another locator; the mark keeps it from matching on.
        row[1] += " *";
        break;
      }
      if (mode == Mode::Log)
        list.setCell(r, 2, chosenDate);
      else if (row[2] != kNezjisteno)
        list.setCell(r, 2, row[2]);
      ++updated;
      known = true;
      break;
    }
    if (!known) rows.push_back(std::move(row));
  });

  file_ = file;
  mode_ = mode;
  datesUpdated_ = updated;
  import_.grid().setColCount(cols);
  if (rows.empty()) rows.emplace_back(cols);
  import_.grid().rows() = std::move(rows);
  import_.resetSortKey();
  import_.resetDuplicateCursor();
  import_.grid().notifyReset();
  import_.sort(0);
  list_.sort(0);
  towns_.sort(0);
  if (updated > 0)
    platform::showMessage("Doplnil jsem datum spojení " + chosenDate + " k \r\n\r\n" +
                          std::to_string(updated) +
                          " volačkám, které již v databázi volaček máš");
  return true;
}

CallSignImport::Lookup CallSignImport::dohledacka(int importRow) const {
  Lookup out;
  const Grid& imp = import_.grid();
  if (importRow < 0 || importRow >= imp.rowCount()) return out;
  const std::string& locator = imp.cell(importRow, 0);
  const std::string& call = imp.cell(importRow, 1);
  const Grid& towns = towns_.grid();
  for (int r = 0; r < towns.rowCount(); ++r)
    if (towns.cell(r, 0) == locator) {
      out.townRow = r;
      break;
    }
  const Grid& list = list_.grid();
  size_t n = 1;
  for (; n <= call.size(); ++n) {
    int found = -1;
    for (int r = 0; r < list.rowCount() && found < 0; ++r) {
      const std::string& cell = list.cell(r, 1);
      if (cell.size() >= n && cell.compare(0, n, call, 0, n) == 0) found = r;
    }
    if (found < 0) break;
    out.listRow = found;
  }
  out.common = static_cast<int>(n - 1);
  out.commonText = call.substr(0, n - 1);
  return out;
}

std::string CallSignImport::district(int townRow, const std::string& importCallSign) const {
  if (mode_ == Mode::List && importCallSign.find("_OKRES_") == std::string::npos) return {};
  const Grid& towns = towns_.grid();
  if (townRow >= 0 && townRow < towns.rowCount()) {
    const std::string& d = towns.cell(townRow, 1);
    const size_t open = d.find('(');
    const size_t close = open == std::string::npos ? open : d.find(')', open);
    if (close != std::string::npos) return " " + d.substr(open, close - open + 1);
  }
  return " (_OKRES_?_)";
}

bool CallSignImport::recordMoved(const Grid::Row& row) {
  const std::string path = movedLinesPath();
  std::string line;
  for (size_t i = 0; i < row.size(); ++i) {
    if (i) line += ';';
    line += listCellForFile(row[i]);
  }
  // The whole file is rewritten atomically and flushed: a crash leaves it
  // with or without this line, never with half of it.
  std::string content = platform::readWholeFile(path).value_or(std::string());
  if (!content.empty() && content.back() != '\n') content += "\r\n";
  content += line + "\r\n";
  if (platform::writeFileAtomic(path, content)) return true;
  platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(path),
                        platform::MessageKind::Error);
  return false;
}

int CallSignImport::removeImportRow(int row) {
  const int cols = import_.grid().colCount();
  std::vector<int> all(cols);
  for (int c = 0; c < cols; ++c) all[c] = c;
  return import_.deleteRow(row, all, kDeleteMark1, 0);
}

int CallSignImport::zS1doS2PridejVolacku(int importRow, int townRow, int listRow, bool replace,
                                         const std::string& chosenDate) {
  const Grid& imp = import_.grid();
  if (!loaded() || importRow < 0 || importRow >= imp.rowCount() || imp.cell(importRow, 0).empty())
    return -1;
  const Grid::Row moved = imp.row(importRow);
  Grid& list = list_.grid();
  int target = listRow;
  if (!replace || target < 0 || target >= list.rowCount()) {
    // An empty list shows one empty row; the first station takes its place.
    const bool empty = list.rowCount() == 1 &&
                       std::all_of(list.row(0).begin(), list.row(0).end(),
                                   [](const std::string& c) { return c.empty(); });
    target = empty ? 0 : list_.addRow();
  }
  const std::string locator = moved[0];
  const std::string call = upravvolacku(moved[1]) + district(townRow, moved[1]);
  const std::string date = mode_ == Mode::List ? moved[2] : chosenDate;
  list.setRow(target, {locator, call, date});
  list_.sort(0);
  int found = -1;
  for (int r = list.rowCount() - 1; r >= 0; --r)
    if (list.cell(r, 0) == locator && list.cell(r, 1) == call) {
      found = r;
      break;
    }
  if (found < 0) return -1;
  recordMoved(moved);
  removeImportRow(importRow);
  return found;
}

void CallSignImport::dropImportRow(int importRow) {
  const Grid& imp = import_.grid();
  if (!loaded() || importRow < 0 || importRow >= imp.rowCount()) return;
  recordMoved(imp.row(importRow));
  removeImportRow(importRow);
}

int CallSignImport::deleteListRow(int row) { return list_.deleteRow(row, {0, 1, 2}, kDeleteMark1, 0); }

int CallSignImport::addTown(const std::string& locator, const std::string& description,
                            const KeyboardOptions& keyboard) {
  const std::string loc = prevod(locator, keyboard);
  const std::string desc = upravvolacku(description);
  Grid& towns = towns_.grid();
  // An empty table shows one empty row; the first town takes its place.
  int r = towns.rowCount() == 1 && towns.cell(0, 0).empty() && towns.cell(0, 1).empty()
              ? 0
              : towns_.addRow();
  towns.setRow(r, {loc, desc});
  townsChanged_ = true;
  towns_.sort(0);
  for (r = towns.rowCount() - 1; r >= 0; --r)
    if (towns.cell(r, 0) == loc && towns.cell(r, 1) == desc) return r;
  return 0;
}

int CallSignImport::correctTown(int row, const std::optional<std::string>& locator,
                                const std::optional<std::string>& description,
                                const KeyboardOptions& keyboard) {
  Grid& towns = towns_.grid();
  if (row < 0 || row >= towns.rowCount()) return row;
  if (locator) towns.setCell(row, 0, prevod(*locator, keyboard));
  if (description) towns.setCell(row, 1, upravvolacku(*description));
  const Grid::Row kept = towns.row(row);
  townsChanged_ = true;
  towns_.sort(0);
  for (int r = towns.rowCount() - 1; r >= 0; --r)
    if (towns.row(r) == kept) return r;
  return 0;
}

int CallSignImport::deleteTown(int row) {
  townsChanged_ = true;
  return towns_.deleteRow(row, {0, 1}, kDeleteMark1, 0);
}

bool CallSignImport::SaveVolacky() {
  list_.sort(0);
  const bool ok = list_.write(listPath_, [](const Grid::Row& row) {
    // The empty row an empty list shows is no record.
    if (row[0].empty() && row[1].empty() && row[2].empty())
      return std::optional<std::vector<std::string>>();
    return std::optional<std::vector<std::string>>(
        std::vector<std::string>{row[0], upravvolacku(row[1]), row[2]});
  });
  if (!ok)
    platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(listPath_),
                          platform::MessageKind::Error);
  return ok;
}

bool CallSignImport::Savelok() {
  const bool ok = towns_.write(townPath_, townRecord, townDatabaseBackupPath(townPath_));
  if (!ok) {
    platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(townPath_),
                          platform::MessageKind::Error);
    return false;
  }
  townsChanged_ = false;
  return true;
}

int prejmenujStareDeniky(const std::string& folder) {
  return CSVprejmenujQVL(folder, [&](const std::string& from, const std::string& to) {
    const std::string name = platform::fromFsPath(platform::fsPath(from).filename());
    const std::string target = platform::fromFsPath(platform::fsPath(to).filename());
    platform::showMessage(
        "Chyba I/O při přejmenování souboru\r\n\r\n" +
            platform::pathText(platform::joinPath(folder, name)) + "\r\n\r\n na soubor :\r\n\r\n" +
            platform::pathText(target) +
            ",\r\n\r\n.qvl je od verze 2 přípona datových souborů programu VEKTRANO\r\n"
            "zjednodušeně : přejmenuj svůj starý *.CSV soubor na nový *.QVL ...",
        platform::MessageKind::Error);
  });
}

}  // namespace vektrano
