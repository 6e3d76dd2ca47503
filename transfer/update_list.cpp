#include "transfer/update_list.h"

#include <cmath>
#include <cstdio>

#include "platform/files.h"

namespace vektrano::transfer {

namespace {

constexpr size_t kMinLineLength = 11;
constexpr std::string_view kRegPrefix = ";reg;";
constexpr std::string_view kMapa = "[MAPA]";
constexpr std::string_view kFoto = "[FOTO]";

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool hasControl(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  return false;
}

// The subfolder parts of a map or photo target, or nothing when one of them
// would step out of the folder.
std::optional<std::vector<std::string>> subfolders(std::string_view rest) {
  if (hasControl(rest) || rest.find(':') != std::string_view::npos) return std::nullopt;
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = rest.size();
    const std::string part(rest.substr(start, end - start));
    if (!part.empty() && !isPlainFileName(part)) return std::nullopt;
    if (!part.empty()) parts.push_back(part);
    start = end + 1;
  }
  return parts;
}

void setMark(UpdateRow& row, const char* mark, const char* text) {
  row.mark = mark;
  row.popis = text;
}

}  // namespace

std::vector<std::string> textLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

std::string vysek(int n, const std::string& line) {
  if (n < 1) return "error";
  size_t start = 0;
  for (int field = 1; field < n; ++field) {
    const size_t sep = line.find(';', start);
    if (sep == std::string::npos) return "error";
    start = sep + 1;
  }
  const size_t end = line.find(';', start);
  return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool isPlainFileName(const std::string& name) {
  // What the safe file name leaves as it is (no separator, control byte or
  // name of dots, not too long for the ".zip" beside it), and no drive.
  if (name.empty() || platform::fileNameFromText(name) != name) return false;
  return name.find(':') == std::string::npos;
}

bool isSafeTargetField(const std::string& cil) {
  if (startsWith(cil, kMapa) || startsWith(cil, kFoto))
    return subfolders(std::string_view(cil).substr(kMapa.size())).has_value();
  // Any other target means the program folder, whatever it says.
  return true;
}

UpdateList parseUpdateList(std::string_view text) {
  UpdateList list;
  for (const std::string& line : textLines(text)) {
    if (line.size() < kMinLineLength) continue;
    if (startsWith(line, kRegPrefix)) {
      const std::string rest = line.substr(kRegPrefix.size());
      const size_t a = rest.find(';');
      if (a == std::string::npos) continue;
      const size_t b = rest.find(';', a + 1);
      if (b == std::string::npos) continue;
      list.registry.push_back({rest.substr(0, a), rest.substr(a + 1, b - a - 1), rest.substr(b + 1)});
      continue;
    }
    if (line[0] == ';') continue;
    FileEntry e;
    e.soubor = vysek(1, line);
    e.popis = vysek(2, line);
    e.cil = vysek(3, line);
    e.adresa = vysek(4, line);
    // "error" stands for a missing field: four are needed.
    size_t separators = 0;
    for (char c : line) separators += c == ';';
    if (separators < 3 || e.adresa.empty()) continue;
    if (!isPlainFileName(e.soubor) || !isSafeTargetField(e.cil)) continue;
    e.radek = line;
    list.files.push_back(std::move(e));
  }
  return list;
}

std::optional<Target> cilovySoubor(const std::string& soubor, const std::string& cil,
                                   const TargetFolders& folders) {
  if (!isPlainFileName(soubor)) return std::nullopt;
  const bool mapa = startsWith(cil, kMapa), foto = startsWith(cil, kFoto);
  if (!mapa && !foto) {
    if (folders.programFolder.empty()) return std::nullopt;
    return Target{platform::joinPath(folders.programFolder, platform::pathFromText(soubor)),
                  folders.programFolder, false};
  }
  const std::string& base = mapa ? folders.mapFolder : folders.photoFolder;
  if (base.empty()) return std::nullopt;
  const auto parts = subfolders(std::string_view(cil).substr(kMapa.size()));
  if (!parts) return std::nullopt;
  std::string folder = base;
  // The list's names are cp1250 text; the paths are the file system's bytes.
  for (const std::string& p : *parts) folder = platform::joinPath(folder, platform::pathFromText(p));
  return Target{platform::joinPath(folder, platform::pathFromText(soubor)), folder, true};
}

std::vector<UpdateRow> porovnani(const UpdateList& list, std::string_view doneList,
                                 std::string_view excludedList,
                                 const std::function<void(const RegistryLine&)>& applyRegistry) {
  if (applyRegistry)
    for (const RegistryLine& r : list.registry) applyRegistry(r);
  std::vector<UpdateRow> rows;
  for (const FileEntry& e : list.files) {
    UpdateRow row;
    row.mark = kMarkStahnout;
    row.soubor = e.soubor;
    row.popis = e.popis;
    row.radek = e.radek;
    row.entry = e;
    rows.push_back(std::move(row));
  }
  for (const std::string& line : textLines(doneList))
    for (UpdateRow& row : rows)
      if (row.radek == line) setMark(row, kMarkInstalovano, kTextInstalovano);
  for (const std::string& line : textLines(excludedList))
    for (UpdateRow& row : rows)
      if (row.soubor == line) setMark(row, kMarkZakazano, kTextZakazano);
  return rows;
}

int pocetKeStazeni(const std::vector<UpdateRow>& rows) {
  int n = 0;
  for (const UpdateRow& r : rows) n += r.mark == kMarkStahnout;
  return n;
}

void prepni(UpdateRow& row) {
  if (row.mark == kMarkStahnout || row.mark == kMarkInstalovano) {
    setMark(row, kMarkZakazano, kTextZakazano);
    return;
  }
  row.mark = kMarkStahnout;
  row.popis = "Ano, soubor " + row.soubor + " byl zařazen pro stažení";
}

std::string doneListText(const std::vector<UpdateRow>& rows) {
  std::string out;
  for (const UpdateRow& r : rows)
    if (r.mark == kMarkInstalovano) out += r.radek + "\r\n";
  return out;
}

std::string excludedListText(const std::vector<UpdateRow>& rows) {
  std::string out;
  for (const UpdateRow& r : rows)
    if (r.mark == kMarkZakazano) out += r.soubor + "\r\n";
  return out;
}

std::string button1Caption(int pocet) {
  return pocet > 0 ? kCaptionStazeni + std::to_string(pocet) : std::string(kCaptionOdejit);
}

std::string label2Text(int pocet) {
  if (pocet > 0)
    return "Dvojklik na řádek slouží jako přepínač\r\n"
           "povoluje / zakazuje stažení vybraného souboru";
  return "Nejsou žádné novinky, klikni dole na tlačítko ODEJÍT\r\n"
         "nebo dvojklikem můžeš změnit nastavení stahování jednotlivých souborů";
}

std::string progressText(int readed, int totalSize, int seconds, const std::string& url,
                         const std::string& fileName) {
  // Rounded as the program always rounded: half to even.
  const long percent =
      totalSize > 0 ? std::lrint(static_cast<double>(readed) * 100.0 / totalSize) : 0;
  char buf[96];
  std::snprintf(buf, sizeof buf, "Staženo %d bajtů z %d (%ld%%", readed, totalSize, percent);
  std::string text = buf;
  if (seconds > 0) text += " " + std::to_string((readed / seconds) / 1024) + " kB/s";
  return text + ") " + url + " > " + fileName;
}

}  // namespace vektrano::transfer
