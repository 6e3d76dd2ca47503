#include "core/log/expedition_description.h"

#include <filesystem>
#include <string_view>

#include "core/base/geometry.h"
#include "core/base/text.h"
#include "core/log/log_file.h"
#include "core/log/log_statistics.h"
#include "core/log/recalculation.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

namespace {

namespace fs = std::filesystem;

bool entryExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(platform::fsPath(path), ec));
}

void removeFile(const std::string& path) {
  std::error_code ec;
  fs::remove(platform::fsPath(path), ec);
}

// Lines ended by CR LF or LF alone; a last line without an end counts.
std::vector<std::string> splitLines(const std::string& data) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < data.size()) {
    const size_t nl = data.find('\n', i);
    size_t end = nl == std::string::npos ? data.size() : nl;
    if (end > i && data[end - 1] == '\r') --end;
    lines.emplace_back(data, i, end - i);
    if (nl == std::string::npos) break;
    i = nl + 1;
  }
  return lines;
}

bool allBlank(const Popis& p) {
  for (const auto& f : p)
    if (!vyhodmezery(f).empty()) return false;
  return true;
}

// The text as the edit shows it after its change handler ran.
std::string typed(int index, const std::string& text, const KeyboardOptions& keyboard) {
  auto changed = upravaPole(index, text, keyboard);
  return changed ? *changed : text;
}

// A contact number, or nothing for a cell that is no whole number.
std::optional<long long> contactNumber(std::string_view cell) {
  while (!cell.empty() && cell.front() == ' ') cell.remove_prefix(1);
  while (!cell.empty() && cell.back() == ' ') cell.remove_suffix(1);
  if (cell.empty() || cell.size() > 15) return std::nullopt;
  long long v = 0;
  for (char c : cell) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

// The new log's path without its number and extension.
std::string zakladNazvu(const Popis& p, const std::string& dataFolder) {
  std::string base = p[kPopisNazev] + "_" + p[kPopisLokator] + "_" + p[kPopisMisto] + "_" +
                     p[kPopisZacatek];
  for (char& c : base)
    if (std::string_view(". :?*/+;").find(c) != std::string_view::npos) c = '_';
  return platform::joinPath(dataFolder,
                            platform::pathFromText(platform::fileNameFromText(PrevodJenNaVelke(base))));
}

}  // namespace

std::optional<std::string> upravaPole(int index, const std::string& text,
                                      const KeyboardOptions& keyboard) {
  std::string out = text;
  for (char& c : out)
    if (c == ';') c = ',';
  if (index == kPopisLokator) {
    const std::string converted = prevod(out, keyboard);
    if (testlok(converted)) out = converted;
  }
  if (out == text) return std::nullopt;
  return out;
}

std::string predavaciSoubor(const std::string& programFolder) {
  return platform::joinPath(programFolder, "vektrano.exp");
}

std::string aktualniDatumCas(const platform::DateTime& now) { return platform::formatDateTime(now); }

Popis naplnPopis(const LogDocument& log, const std::string& handOverPath,
                 const platform::DateTime& now) {
  Popis pole;
  for (int i = 0; i < kPopisFields; ++i)
    pole[i] = typed(i, log.PopisExpedice[i], log.klavesnice);

  if (allBlank(pole) && !handOverPath.empty()) {
    if (platform::fileExists(handOverPath) && fsize(handOverPath) == 0) removeFile(handOverPath);
    if (entryExists(handOverPath)) {
      if (const auto data = platform::readWholeFile(handOverPath)) {
        const auto lines = splitLines(*data);
        for (int i = 0; i < kPopisFields; ++i)
          pole[i] = typed(i, i < static_cast<int>(lines.size()) ? lines[i] : std::string(),
                          log.klavesnice);
        removeFile(handOverPath);
      } else {
        // Kept: a file that could not be read may still hold a description.
        platform::showMessage("Chyba I/O při čtení souboru : " + platform::pathText(handOverPath),
                              platform::MessageKind::Error);
      }
    }
  }

  if (pole[kPopisZacatek].empty()) pole[kPopisZacatek] = aktualniDatumCas(now);
  return pole;
}

bool doplnCasyZdeniku(const LogDocument& log, std::string& zacatek, std::string& konec) {
  const int n = log.contactCount();
  if (n <= 0) return false;
  int lowRow = 1, highRow = n;
  std::optional<long long> low, high;
  for (int r = 1; r <= n; ++r) {
    const auto v = contactNumber(log.Denik.cell(r, kColCislo));
    if (!v) continue;
    if (!low || *v < *low) low = v, lowRow = r;
    if (!high || *v > *high) high = v, highRow = r;
  }
  const std::string first = " { " + log.Denik.cell(lowRow, kColCas) + " }";
  const std::string last = " { " + log.Denik.cell(highRow, kColCas) + " }";
  bool changed = false;
  if (zacatek.find(first) == std::string::npos) zacatek += first, changed = true;
  if (konec.find(last) == std::string::npos) konec += last, changed = true;
  return changed;
}

std::string souhrnPopisu(const Popis& p) {
  return p[0] + ", " + p[1] + ", " + p[3] + ", " + p[6] + ", " + p[7];
}

std::string novyNazevDeniku(const Popis& p, const std::string& dataFolder) {
  const std::string base = zakladNazvu(p, dataFolder);
  // A new log never takes the place of an existing one.
  std::string path = base + ".qvl";
  for (int n = 2; entryExists(path); ++n) {
    if (n > kMaxCisloNovehoDeniku) return {};
    path = base + "_" + std::to_string(n) + ".qvl";
  }
  return path;
}

VysledekPotvrzeni potvrdPopis(LogDocument& log, const Popis& pole, const std::string& dataFolder) {
  VysledekPotvrzeni v;
  const bool lokOk = testlok(pole[kPopisLokator]);
  const bool mistoOk = !vyhodmezery(pole[kPopisMisto]).empty();
  const bool nazevOk = !vyhodmezery(pole[kPopisNazev]).empty();
  if (!(lokOk && mistoOk && nazevOk)) {
    platform::showMessage(
        "Je nutno vyplnit alespoň název expedice, název místa vysílání\r\n\r\n a lokátor, bez "
        "toho není možno založit nový deník.");
    v.fokus = !nazevOk ? kPopisNazev : !mistoOk ? kPopisMisto : kPopisLokator;
    return v;
  }

  const Popis oldPopis = log.PopisExpedice;
  const std::string oldLok = log.lokportable;
  const std::string oldName = log.SaveFileName;

  log.PopisExpedice = pole;
  log.lokportable = pole[kPopisLokator];
  bool ok = true;
  if (log.SaveFileName.empty()) {
    log.SaveFileName = novyNazevDeniku(pole, dataFolder);
    if (log.SaveFileName.empty()) {
      ok = false;
      platform::showMessage(
          "Chyba I/O při ukládání záložního souboru : " +
              platform::pathText(zakladNazvu(pole, dataFolder)) + ".qvl",
          platform::MessageKind::Error);
    } else {
      platform::showMessage("Nový deník se ukládá pod názvem :\r\n\r\n" +
                            platform::pathText(log.SaveFileName));
    }
  }
  if (!ok || !ulozdata(log, log.SaveFileName)) {
    // The log must not point at a file that was never written.
    log.PopisExpedice = oldPopis;
    log.lokportable = oldLok;
    log.SaveFileName = oldName;
    PrepocetDeniku(log);  // distances from the own locator that stays
    v.vysledek = Potvrzeni::ChybaZapisu;
    return v;
  }
  v.vysledek = Potvrzeni::Ulozeno;
  v.memo1 = souhrnPopisu(pole);
  return v;
}

}  // namespace vektrano
