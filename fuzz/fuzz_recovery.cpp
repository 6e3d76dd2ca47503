// The recovery of start-up after an abnormal end, given any log file and any
// crash backup "zaloha.qvl" (the input: the log's bytes, then "\0ZALOHA\0",
// then the backup's; without the mark there is no log file, only a backup).
//
// Property: afterwards every contact of either file stands in the log the
// program holds or in the safety copy it kept, and nothing else was added.
// Contacts are compared as the program keeps them (see normalised).
#include <filesystem>
#include <map>

#include "core/log/log_file.h"
#include "core/log/recalculation.h"
#include "core/session/startup.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;

const std::string kMark("\0ZALOHA\0", 8);

std::string home() { return platform::joinPath(fuzz::scratch(), "program"); }
std::string dataFolder() { return platform::joinPath(home(), "data"); }
std::string logPath() { return platform::joinPath(dataFolder(), "denik.qvl"); }

using Contact = std::vector<std::string>;
using Contacts = std::map<Contact, int>;  // how many times each stands

// A contact as the program keeps it, whatever own locator it was recalculated
// from: number, time, reports, and the locator and note in their canonical
// form, each with the writer's rule for line breaks and ";" (the call-sign
// cell carries the azimuth note, which follows the own locator).
Contacts normalised(Grid grid, const KeyboardOptions& keyboard) {
  PrepocetDeniku(grid, kDefaultOwnLocator, keyboard);
  Contacts out;
  for (int r = 1; r < grid.rowCount(); ++r) {
    Grid::Row row = grid.rows()[static_cast<size_t>(r)];
    row.resize(kLogColumns);
    Contact c = {row[kColCislo], row[kColCas], row[kColRV], row[kColRP], row[kColLokator], row[kColPozn]};
    for (std::string& cell : c)
      for (char& ch : cell)
        if (ch == '\r' || ch == '\n') ch = ' ';
        else if (ch == ';') ch = ',';
    ++out[c];
  }
  return out;
}

Contacts contactsOfFile(const std::optional<std::string>& data, const KeyboardOptions& keyboard) {
  LogDocument doc;
  if (data) parseLog(*data, doc);
  return normalised(doc.Denik, keyboard);
}

void setUpProgram() {
  const std::string h = home();
  fs::create_directories(platform::fsPath(dataFolder()));
  fuzz::writeFile(platform::dataFile(h, ".zr4"), "JO70GQ;Liberec\r\n");
  fuzz::writeFile(platform::dataFile(h, ".wav"), "RIFF");
  fuzz::writeFile(platform::dataFile(h, ".hlp"), "");
  // A whole key, as a normal close leaves it: the reading stops at the first
  // value missing.
  MainWindowSettings s;
  s.UlozisteDat = dataFolder();
  s.SaveFileName = logPath();
  if (!writeMainWindowSettings(s, h)) fuzz::fail("settings store not written");
}

void recover(std::string_view input) {
  const size_t mark = input.find(kMark);
  std::optional<std::string> log, backup;
  if (mark == std::string_view::npos) {
    backup = std::string(input);
  } else {
    log = std::string(input.substr(0, mark));
    backup = std::string(input.substr(mark + kMark.size()));
  }

  const std::string zaloha = platform::joinPath(home(), "zaloha.qvl");
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(platform::fsPath(dataFolder()), ec)) fs::remove(e.path(), ec);
  fs::remove(platform::fsPath(zaloha), ec);
  if (log) fuzz::writeFile(logPath(), *log);
  fuzz::writeFile(zaloha, *backup);

  MainWindowSettings settings;
  LogDocument doc;
  TabulkaReportu reporty;
  TabulkaSynonym synonyma;
  std::vector<std::string> vyjimky;
  StartupUi ui;
  Indexes indexes(home(), ui);
  StartupContext ctx(settings, doc, reporty, synonyma, vyjimky, indexes, ui);
  ctx.programFolder = home();
  ctx.now = platform::DateTime{2008, 4, 8, 14, 5, 33};
  // Start-up makes the program folder the current one; the fuzzer's own
  // folders are named relative to where it started.
  const fs::path cwd = fs::current_path();
  const StartupResult r = runStartup(ctx);
  fs::current_path(cwd);
  if (r.ukoncit) fuzz::fail("start-up ended for a missing file");

  const KeyboardOptions& keyboard = doc.klavesnice;
  Contacts kept = normalised(doc.Denik, keyboard);
  if (!r.bezpecnostniKopie.empty())
    for (const auto& [c, n] : contactsOfFile(platform::readWholeFile(r.bezpecnostniKopie), keyboard))
      kept[c] += n;

  const Contacts fromLog = contactsOfFile(log, keyboard);
  const Contacts fromBackup = contactsOfFile(backup, keyboard);
  for (const Contacts* source : {&fromLog, &fromBackup})
    for (const auto& [c, n] : *source) {
      auto it = kept.find(c);
      if (it == kept.end() || it->second < n)
        fuzz::fail(std::string(source == &fromLog ? "a contact of the log" : "a contact of the backup") +
                   " was lost: " + c[0] + ";" + c[1] + ";" + c[4]);
    }
  for (const auto& [c, n] : kept)
    if (!fromLog.count(c) && !fromBackup.count(c))
      fuzz::fail("a contact that neither file held was added: " + c[0] + ";" + c[1] + ";" + c[4]);
}

}  // namespace
}  // namespace vektrano

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vektrano::fuzz::setUp();
  vektrano::setUpProgram();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vektrano::recover(vektrano::fuzz::bytes(data, size));
  vektrano::fuzz::takeMessageCount();
  return 0;
}
