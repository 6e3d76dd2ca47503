// The internet update's files as the update server, a damaged disk or an
// older version may leave them: the list ".upd", the done list ".upc", the
// excluded list ".upq", the portable-station list "portable.txt" and the
// archive downloaded for the first file to fetch (the input: the five parts,
// see fuzz::parts). The check reads the lists into rows and hands the
// registry lines to the settings; every row is toggled as a double click
// does, the two records are written and read again; the archive is installed
// as the download step installs it.
//
// Properties: the check changes none of the lists; every target lies inside
// the program, map or photo folder and is never the running program; the
// registry lines write only below the program's key and leave the user's
// values (a "[DELETE]" aside); the records written give the rows their marks
// again; the install changes nothing outside its target's folder, never the
// program file, and leaves no staging folder behind; the portable list
// shows every byte it holds.
#include <filesystem>
#include <map>
#include <set>

#include "core/session/main_window_settings.h"
#include "fuzz/fuzz_support.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "transfer/update.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;
using transfer::Aktualizace;
using transfer::UpdateRow;

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// Inside folder, not the folder itself, by the path's own parts.
bool inside(const std::string& path, const std::string& folder) {
  const fs::path rel = platform::fsPath(path).lexically_normal().lexically_relative(
      platform::fsPath(folder).lexically_normal());
  if (rel.empty() || rel == ".") return false;
  for (const fs::path& part : rel)
    if (part == "..") return false;
  return true;
}

// Every file below top with its content, except those below skip; and
// every folder named as the install's staging folders are.
struct Snapshot {
  std::map<std::string, std::string> files;
  std::set<std::string> staging;
};

Snapshot snapshot(const std::string& top, const std::string& skip) {
  Snapshot out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(platform::fsPath(top), ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const std::string path = platform::fromFsPath(it->path());
    if (it->is_directory(ec) && it->path().filename().string().rfind(".vektrano-unzip-", 0) == 0)
      out.staging.insert(path);
    if (!it->is_regular_file(ec) || (!skip.empty() && (path == skip || inside(path, skip)))) continue;
    out.files[path] = platform::readWholeFile(path).value_or("(unreadable)");
  }
  return out;
}

struct QuietUi : transfer::UpdateUi {};

// The user's own values, which the list may not change.
const std::pair<const char*, const char*> kUserText{"Form1", "Lokportable"};
const std::pair<const char*, const char*> kUserInteger{"Form2", "Top"};

void seedRegistry() {
  const std::string store = platform::registryFile();
  fs::create_directories(platform::fsPath(store).parent_path());
  std::error_code ec;
  fs::remove(platform::fsPath(store), ec);
  auto text = platform::RegistryKey::open(std::string(kProgramKey) + kUserText.first, true);
  auto integer = platform::RegistryKey::open(std::string(kProgramKey) + kUserInteger.first, true);
  if (!text || !integer) fuzz::fail("no settings store");
  text->writeString(kUserText.second, "JO70GQ");
  integer->writeInteger(kUserInteger.second, 5);
  if (!text->flush() || !integer->flush()) fuzz::fail("the settings store cannot be written");
}

bool deletedByList(const transfer::UpdateList& list, const std::pair<const char*, const char*>& value) {
  for (const transfer::RegistryLine& r : list.registry)
    if (lower(r.key) == lower(value.first) && lower(r.name) == lower(value.second) && r.value == "[DELETE]")
      return true;
  return false;
}

void checkRegistry(const transfer::UpdateList& list) {
  const std::string store = platform::readWholeFile(platform::registryFile()).value_or("");
  const std::string prefix = "[" + lower(kProgramKey);
  for (const std::string& line : transfer::textLines(store))
    if (!line.empty() && line[0] == '[' && lower(line).rfind(prefix, 0) != 0)
      fuzz::fail("a registry line of the list wrote outside the program's key: " + line);
  auto text = platform::RegistryKey::open(std::string(kProgramKey) + kUserText.first, false);
  if (!deletedByList(list, kUserText) && (!text || text->readString(kUserText.second) != "JO70GQ"))
    fuzz::fail("the list changed a text the user had");
  auto integer = platform::RegistryKey::open(std::string(kProgramKey) + kUserInteger.first, false);
  if (!deletedByList(list, kUserInteger)) {
    int value = -1;
    try {
      if (integer) value = integer->readInteger(kUserInteger.second);
    } catch (const platform::RegistryValueMissing&) {
    }
    if (value != 5) fuzz::fail("the list changed a number the user had");
  }
}

void checkTargets(const Aktualizace& update) {
  const transfer::UpdateSetup& s = update.setup();
  for (const UpdateRow& row : update.rows()) {
    const std::optional<transfer::Target> t = update.target(row);
    if (!t) continue;
    if (row.soubor == transfer::kSouborProgramu) {
      if (t->file != s.programFile + ".ex") fuzz::fail("the program's entry goes elsewhere: " + t->file);
      continue;
    }
    if (t->file == s.programFile) fuzz::fail("a target is the running program: " + row.radek);
    if (!inside(t->file, s.programFolder) && !inside(t->file, s.mapFolder) && !inside(t->file, s.photoFolder))
      fuzz::fail("a target outside its folders: " + t->file);
    if (!inside(t->file, t->folder) || platform::fsPath(t->file).filename() != platform::fsPath(platform::pathFromText(row.soubor)))
      fuzz::fail("a target is not its name in its folder: " + t->file);
  }
}

// The records name rows by their whole line and their file name: with every
// name once in the list, each row gets its mark back.
void checkRecords(Aktualizace& update, const std::string& upc, const std::string& upq) {
  std::set<std::string> names;
  for (const UpdateRow& r : update.rows())
    if (!names.insert(r.soubor).second) return;
  const std::vector<UpdateRow> before = update.rows();
  fuzz::writeFile(upc, transfer::doneListText(before));
  fuzz::writeFile(upq, transfer::excludedListText(before));
  update.porovnani();
  const std::vector<UpdateRow>& after = update.rows();
  if (after.size() != before.size()) fuzz::fail("the rows read again are not the rows");
  for (size_t i = 0; i < after.size(); ++i) {
    const std::string& was = before[i].mark;
    if (after[i].mark != was) fuzz::fail("row " + before[i].radek + " marked " + was + " reads back " + after[i].mark);
  }
}

void update(std::string_view input) {
  const std::vector<std::string> p = fuzz::parts(input, 5);
  const std::string top = fuzz::freshFolder("update");
  transfer::UpdateSetup s;
  s.server = "http://127.0.0.1:9";
  s.programFolder = platform::joinPath(top, "program");
  s.programFile = platform::joinPath(s.programFolder, "vektrano");
  s.mapFolder = platform::joinPath(s.programFolder, "UlozisteMap");
  s.photoFolder = platform::joinPath(top, "foto");
  s.replaceProgram = true;
  s.title = "VEKTRANO";
  for (const std::string& f : {s.programFolder, s.mapFolder, s.photoFolder})
    fs::create_directories(platform::fsPath(f));
  const std::string upd = platform::dataFile(s.programFolder, ".upd");
  const std::string upc = platform::dataFile(s.programFolder, ".upc");
  const std::string upq = platform::dataFile(s.programFolder, ".upq");
  fuzz::writeFile(upd, p[0]);
  fuzz::writeFile(upc, p[1]);
  fuzz::writeFile(upq, p[2]);
  fuzz::writeFile(s.programFile, "\x7F" "ELF program");
  seedRegistry();

  QuietUi ui;
  Aktualizace update(s, {}, ui);
  const int count = update.porovnani();
  for (const auto& [file, was] : {std::pair{upd, &p[0]}, {upc, &p[1]}, {upq, &p[2]}})
    if (platform::readWholeFile(file) != *was) fuzz::fail("the check changed " + file);
  checkRegistry(transfer::parseUpdateList(p[0]));
  if (count != transfer::pocetKeStazeni(update.rows())) fuzz::fail("the count is not the rows to download");
  checkTargets(update);

  // The first row to fetch gets the archive, as the download step installs it.
  for (const UpdateRow& row : update.rows()) {
    if (row.mark != transfer::kMarkStahnout) continue;
    const std::optional<transfer::Target> t = update.target(row);
    if (!t) break;
    if (t->makeFolder) fs::create_directories(platform::fsPath(t->folder));
    if (!platform::dirExists(t->folder)) break;
    // A folder as deep as the list may ask leaves no room for a name: the
    // download fails there.
    const std::string archive = t->file + ".zip";
    if (!platform::writeFileAtomic(archive, p[4])) break;
    // The list may name its own files like a staging folder: only a folder
    // the install made counts.
    const Snapshot before = snapshot(top, t->folder);
    const std::string program = *platform::readWholeFile(s.programFile);
    update.odzipni(archive, *t, row.soubor == transfer::kSouborProgramu);
    const Snapshot after = snapshot(top, t->folder);
    if (after.files != before.files) fuzz::fail("the install changed a file outside " + t->folder);
    for (const std::string& folder : after.staging)
      if (!before.staging.count(folder)) fuzz::fail("a staging folder stayed behind: " + folder);
    if (platform::readWholeFile(s.programFile) != program) fuzz::fail("the install changed the program file");
    break;
  }

  for (int i = 0; i < static_cast<int>(update.rows().size()); ++i)
    if (i % 3 != 2) update.StringGrid1DblClick(i);
  update.StringGrid1DblClick(-1);
  update.StringGrid1DblClick(static_cast<int>(update.rows().size()));
  checkRecords(update, upc, upq);

  // The main window shows the portable list as text.
  if (platform::fromQString(platform::toQString(p[3])) != p[3])
    fuzz::fail("the portable list does not show its bytes");
}

}  // namespace
}  // namespace vektrano

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vektrano::update(vektrano::fuzz::bytes(data, size));
  vektrano::fuzz::takeMessageCount();
  return 0;
}
