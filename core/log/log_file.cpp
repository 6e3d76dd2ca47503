#include "core/log/log_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/base/geometry.h"
#include "core/log/log_statistics.h"
#include "core/log/recalculation.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"

namespace vektrano {

namespace {

namespace fs = std::filesystem;

const char* const kCrLf = "\r\n";

// Holds the log's busy flag for one write or read.
class BusyGuard {
 public:
  explicit BusyGuard(LogDocument& log) : log_(log), owned_(!log.busy) { log_.busy = true; }
  ~BusyGuard() {
    if (owned_) log_.busy = false;
  }
  bool owned() const { return owned_; }

 private:
  LogDocument& log_;
  bool owned_;
};

// A field as the file can hold it: ";" would start a new field and a line
// break a new line for every reader.
void appendField(std::string& out, const std::string& text) {
  for (char c : text) out += (c == ';') ? ',' : (c == '\r' || c == '\n') ? ' ' : c;
  out += ';';
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// Position of the extension's "." in a path, npos when the name has none.
size_t extensionDot(const std::string& path) {
  const size_t sep = path.find_last_of("/\\");
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return std::string::npos;
  if (dot == (sep == std::string::npos ? 0 : sep + 1)) return std::string::npos;  // ".name"
  return dot;
}

std::string withoutExtension(const std::string& path) {
  const size_t dot = extensionDot(path);
  return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string extensionOf(const std::string& path) {
  const size_t dot = extensionDot(path);
  return dot == std::string::npos ? std::string() : path.substr(dot);
}

// The existing file path with its extension changed to ext, the extension
// matched in any letter case; empty when there is none.
std::string existingWithExtension(const std::string& path, const std::string& ext) {
  const std::string wanted = withoutExtension(path) + ext;
  if (platform::fileExists(wanted)) return wanted;
  const fs::path p = platform::fsPath(wanted);
  const std::string stem = p.stem().string();
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(p.parent_path().empty() ? fs::path(".") : p.parent_path(), ec)) {
    const fs::path n = e.path().filename();
    if (n.stem().string() == stem && equalsNoCase(n.extension().string(), ext) &&
        e.is_regular_file(ec))
      return platform::fromFsPath(e.path());
  }
  return {};
}

// Lines of a text file: CR LF or LF alone; a last line without an end is a
// line too, an empty text has none.
std::vector<std::string_view> splitLines(const std::string& data) {
  std::vector<std::string_view> lines;
  size_t i = 0;
  while (i < data.size()) {
    size_t nl = data.find('\n', i);
    size_t end = nl == std::string::npos ? data.size() : nl;
    size_t cut = end;
    if (cut > i && data[cut - 1] == '\r') --cut;
    lines.emplace_back(data.data() + i, cut - i);
    if (nl == std::string::npos) break;
    i = nl + 1;
  }
  return lines;
}

int kmNumber(const std::string& s) {
  // Only whole numbers count for the longest distance.
  if (s.empty()) return 0;
  size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
  if (i == s.size()) return 0;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return 0;
    v = v * 10 + (s[i] - '0');
    if (v > 1000000000) return 0;
  }
  return s[0] == '-' ? -static_cast<int>(v) : static_cast<int>(v);
}

// The 13 lines of an old description file, or nothing when it cannot be read.
std::optional<Popis> readExp(const std::string& expName) {
  const auto data = platform::readWholeFile(expName);
  if (!data) return std::nullopt;
  Popis p;
  const auto lines = splitLines(*data);
  for (size_t i = 0; i < p.size() && i < lines.size(); ++i) p[i] = std::string(lines[i]);
  return p;
}

// Asks for the conversion and reads the old description; nothing when there
// is none or it is empty (an empty one is deleted).
std::optional<Popis> takeExp(const std::string& expName) {
  if (expName.empty() || !platform::fileExists(expName)) return std::nullopt;
  if (fsize(expName) == 0) {
    std::error_code ec;
    fs::remove(platform::fsPath(expName), ec);
    return std::nullopt;
  }
  platform::showMessage("Čekej prosím, kliknutím spustíš převod deníku na novou verzi.");
  auto p = readExp(expName);
  if (!p)
    platform::showMessage("Chyba I/O při čtení souboru : " + platform::pathText(expName),
                          platform::MessageKind::Error);
  return p;
}

void removeFile(const std::string& path) {
  std::error_code ec;
  fs::remove(platform::fsPath(path), ec);
}

}  // namespace

namespace {

void appendLine(std::string& out, const std::string& own, const Grid::Row& row, const Popis* popis) {
  appendField(out, own);
  static const std::string empty;
  for (size_t c = 0; c < static_cast<size_t>(kLogColumns); ++c)
    appendField(out, c < row.size() ? row[c] : empty);
  if (popis)
    for (const std::string& f : *popis) appendField(out, f);
  out += kCrLf;
}

void appendContactLines(std::string& out, const LogDocument& log, int from) {
  const Grid& d = log.Denik;
  for (int r = from; r < d.rowCount(); ++r) appendLine(out, log.lokportable, d.row(r), nullptr);
}

}  // namespace

std::string formatLog(const LogDocument& log) {
  const Grid& d = log.Denik;
  std::string out;
  out.reserve(static_cast<size_t>(d.rowCount()) * 64 + 256);
  if (d.rowCount() > 0) appendLine(out, log.lokportable, d.row(0), &log.PopisExpedice);
  appendContactLines(out, log, 1);
  return out;
}

std::string logTargetName(const std::string& name) {
  if (equalsNoCase(extensionOf(name), ".qvl")) return name;
  return withoutExtension(name) + ".qvl";
}

std::string logBackupName(const std::string& name) { return withoutExtension(name) + ".bak"; }

namespace {

// `ulozdata` without its message.
bool zapisDeniku(LogDocument& log, const std::string& target, const std::string& name) {
  BusyGuard guard(log);
  if (!guard.owned()) return false;  // a save inside a save or a read
  PrepocetDeniku(log);
  return platform::writeFileAtomic(target, formatLog(log), logBackupName(name));
}

// The writer's own wording, for the log and the crash backup alike.
void chybaZapisu(const std::string& target) {
  platform::showMessage("Chyba I/O při ukládání záložního souboru : " + platform::pathText(target),
                        platform::MessageKind::Error);
}

}  // namespace

bool ulozdata(LogDocument& log, const std::string& name) {
  if (name.empty()) return false;  // never a hidden ".qvl" of an unnamed log
  if (log.busy) return false;
  const std::string target = logTargetName(name);
  const bool ok = zapisDeniku(log, target, name);
  if (!ok) chybaZapisu(target);
  return ok;
}

ZapisDenikuAZalohy ulozDenikAZalohu(LogDocument& log, const std::string& zaloha) {
  ZapisDenikuAZalohy z;
  if (log.busy) return z;
  std::string failed;
  if (!log.SaveFileName.empty()) {
    const std::string target = logTargetName(log.SaveFileName);
    z.denik = zapisDeniku(log, target, log.SaveFileName);
    if (!z.denik) failed = target;
  }
  if (!zaloha.empty()) {
    const std::string target = logTargetName(zaloha);
    z.zaloha = zapisDeniku(log, target, zaloha);
    if (!z.zaloha && failed.empty()) failed = target;
  }
  if (!failed.empty()) chybaZapisu(failed);
  return z;
}

ZapisDenikuAZalohy ulozNoveSpojeni(LogDocument& log, Grid::Row row, const std::string& name,
                                   const std::string& zaloha) {
  ZapisDenikuAZalohy z;
  std::string failed;
  {
    BusyGuard guard(log);
    if (!guard.owned()) {  // inside a save or a read: the row waits for the next save
      log.Denik.appendRow(std::move(row));
      return z;
    }
    PrepoctenyStav& s = log.prepocteno;
    bool zmenenoKm = false;
    if (prepoctenoPlati(log)) {
      // The row is recalculated before it joins the grid, so the grid tells
      // its views of one row added and nothing else.
      row.resize(static_cast<size_t>(log.Denik.colCount()));
      zmenenoKm = PrepocetRadku(row, log.lokportable, log.klavesnice).zmenenoKm;
      z.revizePredPridanim = log.Denik.revision();
      log.Denik.appendRow(std::move(row));
      const Grid::Row& last = log.Denik.row(log.Denik.rowCount() - 1);
      StatistikaKm stat{s.celkemKm, s.pocetSKm, s.nejdelsiKm, s.maxText};
      stat.pridej(last);
      zobrazStatistiku(log, stat);
      s.celkemKm = stat.celkem;
      s.pocetSKm = stat.pocet;
      s.nejdelsiKm = stat.nejdelsi;
      s.maxText = std::move(stat.maxText);
      if (s.radkyPlatne) appendLine(s.radky, log.lokportable, last, nullptr);
      s.revision = log.Denik.revision();
    } else {
      log.Denik.appendRow(std::move(row));
      // Something else changed since the last recalculation: all of it again.
      zmenenoKm = PrepocetDenikuVysledek(log).zmenenoKm;
    }
    if (!s.radkyPlatne) {
      s.radky.clear();
      s.radky.reserve(static_cast<size_t>(log.Denik.rowCount()) * 64);
      appendContactLines(s.radky, log, 1);
      s.radkyPlatne = true;
    }
    // Panel 2 as two writes in a row leave it: the second recalculation finds
    // nothing more and the statistics have the last word; a log without a
    // name is written once and keeps the note of the changed distances.
    if (zmenenoKm && !name.empty())
      zobrazStatistiku(log, StatistikaKm{s.celkemKm, s.pocetSKm, s.nejdelsiKm, s.maxText});
    else if (zmenenoKm)
      log.panel2 = "Přepočet vzdáleností proveden ...";

    std::string bytes;
    bytes.reserve(s.radky.size() + 512);
    appendLine(bytes, log.lokportable, log.Denik.row(0), &log.PopisExpedice);
    bytes += s.radky;

    const std::string target = name.empty() ? std::string() : logTargetName(name);
    const std::string backup = logTargetName(zaloha);
    // The two durable writes wait for the disk at the same time.
    std::thread other;
    bool zalohaOk = false;
    if (!target.empty() && target != backup)
      other = std::thread([&] { zalohaOk = platform::writeFileAtomic(backup, bytes, logBackupName(zaloha)); });
    if (!target.empty()) z.denik = platform::writeFileAtomic(target, bytes, logBackupName(name));
    if (other.joinable())
      other.join();
    else if (target == backup)
      zalohaOk = z.denik;  // one file: written once
    else
      zalohaOk = platform::writeFileAtomic(backup, bytes, logBackupName(zaloha));
    z.zaloha = zalohaOk;
    if (!target.empty() && !z.denik) failed = target;
    if (!z.zaloha && failed.empty()) failed = backup;
  }
  if (!failed.empty()) chybaZapisu(failed);
  return z;
}

NacteniVysledek parseLog(const std::string& data, LogDocument& log) {
  NacteniVysledek v;
  const auto lines = splitLines(data);
  Grid& d = log.Denik;
  auto& rows = d.rows();
  if (lines.empty()) {
    rows.assign(1, Grid::Row(static_cast<size_t>(d.colCount())));
    setLogTitles(d);
  } else {
    rows.assign(lines.size(), Grid::Row(static_cast<size_t>(d.colCount())));
  }
  log.NejdelsiKm = 0;
  for (size_t li = 0; li < lines.size(); ++li) {
    const std::string_view line = lines[li];
    Grid::Row& row = rows[li];
    size_t start = 0;
    for (int field = 1;; ++field) {
      const size_t semi = line.find(';', start);
      if (semi == std::string_view::npos) break;  // text behind the last ";"
      const std::string_view text = line.substr(start, semi - start);
      if (field == 1) {
        log.lokportable = std::string(text);
      } else if (field <= 1 + kLogColumns) {
        if (static_cast<int>(row.size()) > field - 2) row[static_cast<size_t>(field - 2)] = std::string(text);
      } else if (li == 0 && field <= 1 + kLogColumns + kPopisFields) {
        // A description field counts only while more than its ";" is left.
        if (line.size() - start > 1)
          log.PopisExpedice[static_cast<size_t>(field - 2 - kLogColumns)] = std::string(text);
      } else {
        break;
      }
      start = semi + 1;
    }
    if (li >= 1) {
      const std::string& km = row[kColKm];
      if (!km.empty()) log.NejdelsiKm = std::max(log.NejdelsiKm, kmNumber(km));
      if (row[kColCas].size() > 9) v.doplndatum = true;
    }
  }
  if (v.doplndatum) log.doplndatum = true;
  if (log.PopisExpedice[kPopisLokator].empty()) log.PopisExpedice[kPopisLokator] = log.lokportable;
  v.chybiPopis = log.PopisExpedice[kPopisNazev].empty() || log.PopisExpedice[kPopisMisto].empty() ||
                 log.PopisExpedice[kPopisLokator].empty();
  v.radku = static_cast<int>(lines.size());
  log.PocetSpojeni = std::max(0, v.radku - 1);
  d.setFixedRows(d.rowCount() >= 2 ? 1 : 0);
  d.notifyReset();
  v.ok = true;
  return v;
}

NacteniVysledek nactidataSoubor(LogDocument& log, const std::string& path,
                                const TabulkaSynonym& synonyma) {
  if (log.busy) return {};
  // Open first: a log that cannot be read changes nothing at all.
  const auto data = platform::readWholeFile(path);
  if (!data) {
    platform::showMessage("Soubor " + platform::pathText(path) + " nebyl nalezen !",
                          platform::MessageKind::Warning);
    return {};
  }
  // The old description file is asked about before anything changes; it is
  // deleted only once the log carries it.
  const std::string expName = existingWithExtension(path, ".exp");
  const std::optional<Popis> exp = takeExp(expName);

  NacteniVysledek v;
  {
    BusyGuard guard(log);
    log.nacteno = false;
    NulujEXP(log);
    if (exp) log.PopisExpedice = *exp;
    log.panel2 = platform::pathText(path);
    v = parseLog(*data, log);
    v.prevedenoExp = exp.has_value();
    SpocitejCisloSpojeni(log);
    Setrid(log, kColCislo, synonyma);  // by number: no message box
    PrepocetDeniku(log);
    log.nacteno = true;
  }
  if (v.prevedenoExp) {
    if (ulozdata(log, path)) {
      removeFile(expName);
      platform::showMessage(
          "Hotovo, převod deníku na novou verzi dokončen, je možno pokračovat v práci s programem.");
    }
  }
  return v;
}

NacteniVysledek nactidata(LogDocument& log, const TabulkaSynonym& synonyma) {
  return nactidataSoubor(log, log.SaveFileName, synonyma);
}

bool PrevodEXP(LogDocument& log, const std::string& expName) {
  const std::optional<Popis> p = takeExp(expName);
  if (!p) return false;
  log.PopisExpedice = *p;
  removeFile(expName);
  return true;
}

bool ulozZalohu(LogDocument& log) { return ulozdata(log, log.ZalohaFileName); }

NacteniVysledek nactiZalohu(LogDocument& log, const TabulkaSynonym& synonyma) {
  return nactidataSoubor(log, log.ZalohaFileName, synonyma);
}

std::string nazevBezpecnostniKopie(const std::string& folder, const platform::DateTime& t) {
  std::string stamp = platform::formatDateTime(t);
  for (char& c : stamp)
    if (c == '.' || c == ' ' || c == ':' || c == '/' || c == '\\') c = '_';
  return platform::joinPath(folder.empty() ? platform::programFolder() : folder, "zaloha_" + stamp);
}

std::string bezpecnostniKopie(LogDocument& log, const std::string& folder, bool sPoctemRadku,
                              const std::string& zprava) {
  if (log.contactCount() < 1) return {};
  const std::string name = nazevBezpecnostniKopie(folder, platform::now());
  if (!ulozdata(log, name)) return {};
  std::string text = zprava + "\r\n\r\n" + platform::pathText(name);
  if (sPoctemRadku)
    text += "\r\n\r\nŘádků v deníku : " + std::to_string(log.contactCount());
  else
    text += "\r\n";
  platform::showMessage(text);
  return name;
}

bool NovyDenik(LogDocument& log, const std::optional<std::string>& chosen,
               const std::string& dataFolder) {
  if (log.busy) return false;
  if (chosen) {
    if (chosen->empty()) return false;
    const std::string previous = log.SaveFileName;
    log.SaveFileName = logTargetName(*chosen);
    if (!ulozdata(log, log.SaveFileName)) {
      log.SaveFileName = previous;
      return false;  // the contacts would be lost
    }
  } else if (log.contactCount() >= 1) {
    if (bezpecnostniKopie(log, dataFolder, true, "Data deníku jsou uložena v souboru :").empty())
      return false;
  }
  log.Denik.setRowCount(1);
  log.Denik.setFixedRows(0);
  setLogTitles(log.Denik);
  log.SaveFileName.clear();
  log.PocetSpojeni = 0;
  log.NejdelsiKm = log.CelkemKm = log.PocetSKm = log.PrumerKm = 0;
  log.SetridenoPodle = kColCislo;
  NulujEXP(log);
  log.lokportable.clear();
  SpocitejCisloSpojeni(log);
  return true;
}

bool UlozJakoQVL(LogDocument& log, const std::optional<std::string>& chosen,
                 const std::string& dataFolder) {
  if (chosen) {
    if (chosen->empty()) return false;
    log.SaveFileName = logTargetName(*chosen);
    return ulozdata(log, log.SaveFileName);
  }
  if (log.contactCount() >= 1)
    bezpecnostniKopie(log, dataFolder, true, "Data deníku jsou uložena v souboru :");
  return false;
}

NacteniVysledek NactiDataQVL(LogDocument& log, const std::optional<std::string>& chosen,
                             const std::string& dataFolder, const TabulkaSynonym& synonyma) {
  if (!chosen || chosen->empty() || log.busy) return {};
  if (log.contactCount() >= 1 &&
      bezpecnostniKopie(log, dataFolder, false, "Data předchozího deníku jsou uložena v souboru :")
          .empty())
    return {};
  NacteniVysledek v = nactidataSoubor(log, *chosen, synonyma);
  // The log's path is the file it is written to: an old ".csv" log goes on
  // as ".qvl", and the next start must read that file.
  if (v.ok) log.SaveFileName = logTargetName(*chosen);
  return v;
}

int CSVprejmenujQVL(const std::string& folder, const NeprejmenovanyCSV& selhalo) {
  int renamed = 0;
  std::error_code ec;
  const fs::path dir = platform::fsPath(folder);
  std::vector<fs::path> csvs;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (equalsNoCase(e.path().extension().string(), ".csv") && e.is_regular_file(ec))
      csvs.push_back(e.path());
  std::sort(csvs.begin(), csvs.end());
  for (const fs::path& p : csvs) {
    std::ifstream in(p, std::ios::binary);
    char head[6];
    if (!in.read(head, sizeof head)) continue;
    if (!testlok(std::string_view(head, sizeof head))) continue;
    in.close();
    fs::path to = p;
    to.replace_extension(".qvl");
    if (platform::renameNoReplace(platform::fromFsPath(p), platform::fromFsPath(to)))
      ++renamed;
    else if (selhalo)
      selhalo(platform::fromFsPath(p), platform::fromFsPath(to));
  }
  return renamed;
}

int PosunNaKonecHorniRadek(int rowCount, int gridHeight, int defaultRowHeight, int currentTop) {
  if (defaultRowHeight <= 0) return currentTop;
  const int visible = (gridHeight - defaultRowHeight) / defaultRowHeight;
  if (rowCount - 1 >= visible) return std::max(0, rowCount - visible + 1);
  return currentTop;
}

}  // namespace vektrano
