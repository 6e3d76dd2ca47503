#include "transfer/archive.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/pictures/contact_map.h"
#include "core/session/startup.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

namespace {

namespace fs = std::filesystem;
using platform::joinPath;
using platform::MessageKind;
using platform::showMessage;

constexpr const char* kChybaCteni = "Chyba I/O při čtení souboru : ";
constexpr const char* kChybaZapisu = "Chyba I/O při ukládání souboru : ";
constexpr const char* kZnacka = "qvl.pbl";

// Field sizes of the two records, each string field with its length byte.
constexpr std::size_t kNazevArchivu = 101;
constexpr std::size_t kDatum = 11;
constexpr std::size_t kLokator = 7;
constexpr std::size_t kNazev = 101;
constexpr std::size_t kPopis = 251;
constexpr std::size_t kCesta = 251;

std::string cut(std::string_view text, std::size_t max) {
  return std::string(text.substr(0, std::min(text.size(), max)));
}

std::int32_t getInt(std::string_view rec, std::size_t at) {
  std::uint32_t n = 0;
  for (std::size_t i = 0; i < 4; ++i) n |= std::uint32_t(static_cast<unsigned char>(rec[at + i])) << (8 * i);
  return static_cast<std::int32_t>(n);
}

void putInt(std::string& rec, std::size_t at, std::int32_t value) {
  const auto n = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) rec[at + i] = static_cast<char>((n >> (8 * i)) & 0xFF);
}

// A length byte beyond the field (a damaged or foreign file) reads as the
// whole field, never past it.
std::string getStr(std::string_view rec, std::size_t at, std::size_t size) {
  const std::size_t len = std::min<std::size_t>(static_cast<unsigned char>(rec[at]), size - 1);
  return std::string(rec.substr(at + 1, len));
}

void putStr(std::string& rec, std::size_t at, std::size_t size, const std::string& text) {
  const std::size_t len = std::min(text.size(), size - 1);
  rec[at] = static_cast<char>(len);
  rec.replace(at + 1, len, text, 0, len);
}

template <class T, class Parse>
std::optional<std::vector<T>> readRecords(const std::string& path, std::size_t size, std::size_t max,
                                          Parse parse, std::vector<T>* prectene) {
  std::vector<T> out;
  const auto data = platform::readWholeFile(path);
  bool ok = data.has_value();
  if (data) {
    const std::size_t whole = data->size() / size;
    for (std::size_t i = 0; i < whole && out.size() < max; ++i)
      out.push_back(parse(std::string_view(*data).substr(i * size, size)));
    ok = data->size() % size == 0;
  }
  if (prectene) *prectene = out;
  if (!ok) return std::nullopt;
  return out;
}

std::vector<std::string_view> splitLines(std::string_view data) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  while (start < data.size()) {
    std::size_t end = data.find('\n', start);
    if (end == std::string_view::npos) end = data.size();
    std::string_view line = data.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out.push_back(line);
    start = end + 1;
  }
  return out;
}

// The path with its extension (after the last separator) replaced.
std::string withExtension(const std::string& path, const std::string& ext) {
  const std::size_t sep = path.find_last_of("/\\");
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return path + ext;
  return path.substr(0, dot) + ext;
}

// The longest distance the program works out: half the 40009 km
// circumference its distances use, rounded as they are.
constexpr int kNejdelsiKm = 20005;

// A km cell read as the charts read it (a whole number, anything else and a
// negative one 0) and no further than the far side of the earth: a damaged
// copy's larger number is no distance either, and the sum stays sane.
int wholeKm(const std::string& cell) {
  const int km = kmBunky(cell);
  return km <= kNejdelsiKm ? km : 0;
}

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = VelkyZnak(c);
  return out;
}

bool writeWithCopy(const std::string& path, const std::string& data, const std::string& copy) {
  if (!platform::writeFileAtomic(path, data)) {
    showMessage(kChybaZapisu + platform::pathText(path), MessageKind::Error);
    return false;
  }
  if (!platform::writeFileAtomic(copy, data)) {
    showMessage(kChybaZapisu + platform::pathText(copy), MessageKind::Error);
    return false;
  }
  return true;
}

void removeFile(const std::string& path) {
  std::error_code ec;
  fs::remove(platform::fsPath(path), ec);
}

// The catalogues are cp1250 files: a path they cannot write would name
// another file when read back.
std::string neulozitelnaCesta(const std::string& co, const std::string& path) {
  return co + " :\r\n\r\n" + platform::pathText(path) +
         "\r\n\r\nnezapíše katalog archivu, jméno obsahuje znaky, které kódová stránka 1250 nezná.";
}

}  // namespace

std::string zaznamDeniku(const ZarazenyDenik& d) {
  std::string rec(kZaznamDeniku, '\0');
  putInt(rec, 0, d.cislo);
  std::size_t at = 4;
  // The catalogue keeps the copy's path as cp1250 text; filing refuses a
  // path the code page cannot write.
  const std::string cesta = platform::storedPath(d.cesta).value_or(platform::pathText(d.cesta));
  for (auto [text, size] : {std::pair{&d.od, kDatum}, {&d.do_, kDatum}, {&d.lokator, kLokator},
                            {&d.nazev, kNazev}, {&d.popis, kPopis}, {&cesta, kCesta}}) {
    putStr(rec, at, size, *text);
    at += size;
  }
  return rec;
}

Archiv ctiZaznamArchivu(std::string_view rec) {
  return {getInt(rec, 0), getStr(rec, 4, kNazevArchivu),
          platform::pathFromText(getStr(rec, 4 + kNazevArchivu, 251))};
}

ZarazenyDenik ctiZaznamDeniku(std::string_view rec) {
  ZarazenyDenik d;
  d.cislo = getInt(rec, 0);
  std::size_t at = 4;
  for (auto [text, size] : {std::pair{&d.od, kDatum}, {&d.do_, kDatum}, {&d.lokator, kLokator},
                            {&d.nazev, kNazev}, {&d.popis, kPopis}, {&d.cesta, kCesta}}) {
    *text = getStr(rec, at, size);
    at += size;
  }
  d.cesta = platform::pathFromText(d.cesta);
  return d;
}

std::optional<std::vector<Archiv>> ctiIndexArchivu(const std::string& path, std::vector<Archiv>* prectene) {
  return readRecords<Archiv>(path, kZaznamArchivu, kMaxArchivu, ctiZaznamArchivu, prectene);
}

std::optional<std::vector<ZarazenyDenik>> ctiKatalog(const std::string& path,
                                                     std::vector<ZarazenyDenik>* prectene) {
  return readRecords<ZarazenyDenik>(path, kZaznamDeniku, kMaxDeniku, ctiZaznamDeniku, prectene);
}

std::string cisloArchivu(std::int32_t cislo) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%03d", cislo);
  return buf;
}

std::string cisloDeniku(std::int32_t cislo) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%05d", cislo);
  return buf;
}

std::string nazevArchivu(std::int32_t cislo, const std::string& jmeno) {
  return cut(cisloArchivu(cislo) + " - " + jmeno, 100);
}

std::string jmenoArchivu(const Archiv& a) { return a.nazev.size() > 6 ? a.nazev.substr(6) : ""; }

bool platneJmenoArchivu(const std::string& jmeno) { return jmeno.size() >= 8 && jmeno.size() <= 100; }
bool platnyNazevDeniku(const std::string& nazev) { return nazev.size() >= 5 && nazev.size() <= 20; }
bool platnyPopisDeniku(const std::string& popis) { return popis.size() >= 5 && popis.size() <= 250; }

NavrhZarazeni navrhniZarazeni(const std::string& logPath, const platform::DateTime& dnes) {
  NavrhZarazeni n;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d.%d.%02d", dnes.day, dnes.month, ((dnes.year % 100) + 100) % 100);
  n.od = n.do_ = buf;
  const auto log = platform::readWholeFile(logPath);
  if (!log) {
    showMessage(kChybaCteni + platform::pathText(logPath), MessageKind::Error);
    return n;
  }
  const auto lines = splitLines(*log);
  if (lines.size() >= 2) {
    const std::string_view first = lines[1];
    n.lokator = cut(first, 6);
    const std::size_t open = first.find('[');
    const std::size_t close = open == std::string_view::npos ? open : first.find(']', open);
    if (close != std::string_view::npos) n.od = n.do_ = cut(first.substr(open + 1, close - open - 1), 10);
  }
  const std::string exp = withExtension(logPath, ".exp");
  if (platform::fileExists(exp)) {
    const auto data = platform::readWholeFile(exp);
    if (!data) {
      showMessage(kChybaCteni + platform::pathText(exp), MessageKind::Error);
    } else if (const auto el = splitLines(*data); el.size() >= 2) {
      n.nazev = cut(el[1], 100);
      n.popis = cut(el[1], 250);
    }
  }
  return n;
}

Zarazovani::Zarazovani(std::string logPath, const NavrhZarazeni& navrh) : logPath_(std::move(logPath)) {
  denik_.od = navrh.od;
  denik_.do_ = navrh.do_;
  denik_.lokator = cut(navrh.lokator, 6);
  denik_.nazev = navrh.nazev;
  denik_.popis = navrh.popis;
}

std::string Zarazovani::stav() const {
  static const char* const kroky[] = {
      "krok 1 : Zvol datum ZAČÁTKU portejblu ...", "krok 2 : Zvol datum KONCE portejblu ...",
      "krok 3 : Zvol nadpis portejblu (QTH)", "krok 4 : Zvol dlouhý popis (až 250 znaků)",
      "krok 5 : Čekej, zařazuji deník do archivu ..."};
  std::string s = krok_ >= 0 && krok_ <= 4 ? kroky[krok_] : " Chyba ";
  s += "   " + denik_.od;
  if (krok_ >= 1) s += " - " + denik_.do_;
  s += " [" + denik_.lokator + "]";
  if (krok_ >= 2) s += " " + denik_.nazev;
  return s;
}

std::string Zarazovani::hodnotaKroku() const {
  switch (krok_) {
    case 0: return denik_.od;
    case 1: return denik_.do_;
    case 2: return denik_.nazev;
    case 3: return denik_.popis;
    default: return {};
  }
}

bool Zarazovani::vpred(const std::string& hodnota) {
  switch (krok_) {
    case 0: denik_.od = cut(hodnota, 10); break;
    case 1: denik_.do_ = cut(hodnota, 10); break;
    case 2: denik_.nazev = cut(hodnota, 100); break;
    case 3: denik_.popis = cut(hodnota, 250); break;
    default: return false;
  }
  ++krok_;
  return krok_ == 4;
}

void Zarazovani::zpet() {
  if (krok_ > 0 && krok_ < 4) --krok_;
}

const std::vector<std::string>& tituleZobrazeni() {
  static const std::vector<std::string> t = {"poř.", "čas", "RV", "Volačka", "RP", "Lokátor", "km", "pozn"};
  return t;
}

ZobrazenyDenik nactiarchivdenik(const std::string& path) {
  ZobrazenyDenik z;
  z.grid.setRow(0, tituleZobrazeni());
  const auto data = platform::readWholeFile(path);
  if (!data) {
    z.stav = "Soubor " + platform::pathText(path) + " nebyl v archivu nalezen !";
    return z;
  }
  const auto lines = splitLines(*data);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    Grid::Row row;
    std::string_view line = lines[i];
    // The own locator in the first field is not shown.
    std::size_t semi = line.find(';');
    line = semi == std::string_view::npos ? std::string_view{} : line.substr(semi + 1);
    while (!line.empty() && row.size() < 8) {
      semi = line.find(';');
      row.emplace_back(line.substr(0, semi));
      line = semi == std::string_view::npos ? std::string_view{} : line.substr(semi + 1);
    }
    z.grid.appendRow(std::move(row));
  }
  const long long pocet = z.grid.rowCount() - 1;
  long long soucet = 0, nej = 0, chybi = 0;
  for (int r = 1; r < z.grid.rowCount(); ++r) {
    const int km = wholeKm(z.grid.cell(r, 6));
    soucet += km;
    nej = std::max<long long>(nej, km);
    if (z.grid.cell(r, 5).size() != 6) ++chybi;
  }
  // A copy without contacts has no average rather than a division by zero.
  const long long prumer = pocet > 0 ? soucet / pocet : 0;
  z.stav = std::to_string(pocet) + " spoj. [Prům:" + std::to_string(prumer) + " km] [Lok.chybí:" +
           std::to_string(chybi) + "x] [Nej:" + std::to_string(nej) + " km]";
  z.ok = true;
  return z;
}

std::string souhrnSpojeni(const ZarazenyDenik& d, const Grid::Row& s) {
  auto c = [&s](std::size_t i) { return i < s.size() ? s[i] : std::string(); };
  return "Tvoje : (" + d.od + "-" + d.do_ + " [" + d.lokator + "] " + d.nazev + ")" + "\r\n\r\n" +
         "Jeho  : čís.spoj: " + c(0) + " / čas: " + c(1) + "\r\n" + "        (tys ho slyšel: " + c(2) +
         ") (on ti dal: " + c(4) + ")" + "\r\n" + "        " + c(3) + " [" + c(5) + "] " + c(6) + " km" +
         "\r\n\r\n" + "poznámka : " + c(7);
}

std::string zpravaPrejmenovani(const std::string& from, const std::string& to) {
  return "Chyba I/O při přejmenování souboru\r\n\r\n" + platform::pathText(from) + "\r\n\r\n" +
         " na soubor :" + "\r\n\r\n" + platform::pathText(to) + "\r\n\r\n" +
         ".qvl je od verze 2 přípona datových souborů programu VEKTRANO" + "\r\n" +
         "zjednodušeně : přejmenuj svůj starý *.CSV soubor na nový *.QVL ...";
}

bool lzeHledat(const std::string& findLok, const std::string& findVol) {
  return findLok.size() >= 3 || findVol.size() >= 3;
}

ArchivStore::ArchivStore(std::string root) : root_(std::move(root)) {}

std::string ArchivStore::indexPath() const { return joinPath(root_, "archiv.zr4"); }

const Archiv* ArchivStore::vybranyArchiv() const {
  return vybrany_ >= 0 && vybrany_ < static_cast<int>(archivy_.size()) ? &archivy_[vybrany_] : nullptr;
}

std::string ArchivStore::katalogPath() const {
  const Archiv* a = vybranyArchiv();
  return a ? joinPath(a->slozka, "deniky.pbl") : std::string();
}

bool ArchivStore::nactiArchivy() {
  const std::string path = indexPath();
  std::vector<Archiv> read;
  const bool ok = ctiIndexArchivu(path, &read).has_value();
  archivy_ = std::move(read);
  // The folder always lies in this root: a record from another machine or a
  // damaged one never sends writes elsewhere.
  for (Archiv& a : archivy_) a.slozka = joinPath(root_, cisloArchivu(a.cislo));
  if (!ok) showMessage(kChybaCteni + platform::pathText(path), MessageKind::Error);
  return ok;
}

void ArchivStore::vyber(int index) {
  const int n = static_cast<int>(archivy_.size());
  vybrany_ = n == 0 ? -1 : std::clamp(index, 0, n - 1);
  deniky_.clear();
  if (vybrany_ >= 0) nactiSeznamDeniku();
}

bool ArchivStore::nactiSeznamDeniku() {
  deniky_.clear();
  const Archiv* a = vybranyArchiv();
  if (!a) return false;
  const std::string path = katalogPath();
  const bool ok = ctiKatalog(path, &deniky_).has_value();
  if (!ok) {
    showMessage(kChybaCteni + platform::pathText(path), MessageKind::Error);
    return false;
  }
  if (!platform::fileExists(joinPath(a->slozka, kZnacka))) PrevodStarychDeniku();
  return true;
}

void ArchivStore::PrevodStarychDeniku() {
  const std::string folder = vybranyArchiv()->slozka;
  const fs::path own = platform::fsPath(folder).lexically_normal();
  for (ZarazenyDenik& d : deniky_) {
    const std::string nova = withExtension(d.cesta, ".qvl");
    showMessage(platform::pathText(d.cesta) + "\r\n" + platform::pathText(nova));
    if (nova == d.cesta) continue;
    // Only copies in the archive's own folder are renamed, never a file a
    // damaged catalogue names elsewhere, and never over an existing file.
    if (platform::fsPath(d.cesta).lexically_normal().parent_path() != own) continue;
    if (platform::renameNoReplace(d.cesta, nova) || platform::fileExists(nova)) {
      d.cesta = nova;
    } else {
      showMessage(zpravaPrejmenovani(d.cesta, nova), MessageKind::Error);
    }
  }
  if (!ulozPortejbly()) return;
  const std::string marker = joinPath(folder, kZnacka);
  if (!platform::writeFileAtomic(marker, "Pomocný soubor, jeho smazání ničemu nevadí ...\r\n"))
    showMessage(kChybaZapisu + platform::pathText(marker), MessageKind::Error);
}

bool ArchivStore::ulozArchivy() {
  std::string data, txt;
  for (const Archiv& a : archivy_) {
    data += zaznamArchivu(a.cislo, a.nazev, a.slozka);
    txt += a.nazev + "\r\n";
  }
  return writeWithCopy(indexPath(), data, joinPath(root_, "archiv.zal")) &&
         writeWithCopy(joinPath(root_, "archiv.txt"), txt, joinPath(root_, "archiv.txtzal"));
}

bool ArchivStore::ulozPortejbly() {
  const Archiv* a = vybranyArchiv();
  if (!a) return false;
  std::string data;
  for (const ZarazenyDenik& d : deniky_) data += zaznamDeniku(d);
  return writeWithCopy(katalogPath(), data, joinPath(a->slozka, "deniky.zal"));
}

std::optional<int> ArchivStore::pridejArchiv(const std::string& jmeno) {
  if (archivy_.size() >= static_cast<std::size_t>(kMaxArchivu)) {
    showMessage("Program umožňuje vytvořit pouze 200 archivů, lituji.", MessageKind::Warning);
    return std::nullopt;
  }
  if (!platneJmenoArchivu(jmeno)) {
    showMessage("Název musí být dlouhý 8 až 100 znaků !!!", MessageKind::Warning);
    return std::nullopt;
  }
  // Numbers come from a file: counted wide, so that no record can make them
  // wrap, and never past the three digits of the folder name.
  std::int64_t next = 1;
  for (const Archiv& a : archivy_) next = std::max<std::int64_t>(next, std::int64_t{a.cislo} + 1);
  // A deleted archive leaves its folder and copies on disk; a new archive
  // never takes that folder over (its filings would overwrite the copies).
  while (next <= kMaxCisloArchivu &&
         platform::dirExists(joinPath(root_, cisloArchivu(static_cast<std::int32_t>(next)))))
    ++next;
  if (next > kMaxCisloArchivu) {
    showMessage(kChybaZapisu + platform::pathText(joinPath(root_, cisloArchivu(kMaxCisloArchivu))),
                MessageKind::Error);
    return std::nullopt;
  }
  const auto cislo = static_cast<std::int32_t>(next);
  Archiv a{cislo, nazevArchivu(cislo, jmeno), joinPath(root_, cisloArchivu(cislo))};
  if (!platform::storedPath(a.slozka)) {
    showMessage(neulozitelnaCesta("Archiv nelze založit, složku", a.slozka), MessageKind::Warning);
    return std::nullopt;
  }
  std::error_code ec;
  fs::create_directories(platform::fsPath(a.slozka), ec);
  const std::string katalog = joinPath(a.slozka, "deniky.pbl");
  if (!platform::writeFileAtomic(katalog, {})) {
    showMessage(kChybaZapisu + platform::pathText(katalog), MessageKind::Error);
    return std::nullopt;
  }
  archivy_.push_back(std::move(a));
  const int index = static_cast<int>(archivy_.size()) - 1;
  vyber(index);
  ulozArchivy();
  return index;
}

bool ArchivStore::prejmenujArchiv(int index, const std::string& jmeno) {
  if (index < 0 || index >= static_cast<int>(archivy_.size())) return false;
  if (!platneJmenoArchivu(jmeno)) {
    showMessage("Název musí být dlouhý 8 až 100 znaků !!!", MessageKind::Warning);
    return false;
  }
  Archiv& a = archivy_[index];
  a.nazev = cut(a.nazev.substr(0, std::min<std::size_t>(6, a.nazev.size())) + jmeno, 100);
  const bool ok = ulozArchivy();
  vyber(index);
  return ok;
}

bool ArchivStore::smazArchiv(int index) {
  if (index < 0 || index >= static_cast<int>(archivy_.size())) return false;
  removeFile(joinPath(archivy_[index].slozka, "deniky.pbl"));
  removeFile(joinPath(archivy_[index].slozka, kZnacka));
  archivy_.erase(archivy_.begin() + index);
  const bool ok = ulozArchivy();
  vyber(index);
  return ok;
}

std::optional<int> ArchivStore::zaradDenik(const ZarazenyDenik& denik, const std::string& logPath) {
  const Archiv* a = vybranyArchiv();
  if (!a) return std::nullopt;
  if (deniky_.size() >= static_cast<std::size_t>(kMaxDeniku)) {
    showMessage("Program umožňuje zařadit pouze 99999 deníků, lituji.\r\nVytvořte si další úložiště deníků ...",
                MessageKind::Warning);
    return std::nullopt;
  }
  const auto data = platform::readWholeFile(logPath);
  if (!data) {
    showMessage(kChybaCteni + platform::pathText(logPath), MessageKind::Error);
    return std::nullopt;
  }
  ZarazenyDenik d = denik;
  std::int64_t next = 1;
  for (const ZarazenyDenik& e : deniky_) next = std::max<std::int64_t>(next, std::int64_t{e.cislo} + 1);
  // A removed entry leaves its copy on disk; a new filing never takes that
  // number and writes over it.
  const std::string folder = joinPath(root_, cisloArchivu(a->cislo));
  while (next <= kMaxCisloDeniku &&
         platform::fileExists(joinPath(folder, cisloDeniku(static_cast<std::int32_t>(next)) + ".qvl")))
    ++next;
  if (next > kMaxCisloDeniku) {
    showMessage(
        kChybaZapisu + platform::pathText(joinPath(a->slozka, cisloDeniku(kMaxCisloDeniku) + ".qvl")),
        MessageKind::Error);
    return std::nullopt;
  }
  d.cislo = static_cast<std::int32_t>(next);
  d.cesta = joinPath(folder, cisloDeniku(d.cislo) + ".qvl");
  if (!platform::storedPath(d.cesta)) {
    showMessage(neulozitelnaCesta("Deník nelze zařadit, cestu k jeho kopii", d.cesta),
                MessageKind::Warning);
    return std::nullopt;
  }
  d.od = cut(d.od, 10);
  d.do_ = cut(d.do_, 10);
  d.lokator = cut(d.lokator, 6);
  d.nazev = cut(d.nazev, 100);
  d.popis = cut(d.popis, 250);
  if (!platform::writeFileAtomic(d.cesta, *data)) {
    showMessage(kChybaZapisu + platform::pathText(d.cesta), MessageKind::Error);
    return std::nullopt;
  }
  deniky_.push_back(std::move(d));
  const int row = static_cast<int>(deniky_.size()) - 1;
  if (!ulozPortejbly()) return std::nullopt;
  return row;
}

bool ArchivStore::smazDenik(int row) {
  if (row < 0 || row >= static_cast<int>(deniky_.size())) return false;
  deniky_.erase(deniky_.begin() + row);
  return ulozPortejbly();
}

bool ArchivStore::opravNazev(int row, const std::string& nazev) {
  if (row < 0 || row >= static_cast<int>(deniky_.size())) return false;
  if (!platnyNazevDeniku(nazev)) {
    showMessage("Název musí být dlouhý 5 až 20 znaků !!!", MessageKind::Warning);
    return false;
  }
  deniky_[row].nazev = nazev;
  return ulozPortejbly();
}

bool ArchivStore::opravPopis(int row, const std::string& popis) {
  if (row < 0 || row >= static_cast<int>(deniky_.size())) return false;
  if (!platnyPopisDeniku(popis)) {
    showMessage("Název musí být dlouhý 5 až 250 znaků !!!", MessageKind::Warning);
    return false;
  }
  deniky_[row].popis = popis;
  return ulozPortejbly();
}

VysledekHledani ArchivStore::hledej(const std::string& findLok, const std::string& findVol,
                                    const KeyboardOptions& klavesnice, const std::function<bool()>& pump,
                                    const std::function<void(const Nalez&)>& nalez) const {
  VysledekHledani v;
  const std::string vol = PrevodJenNaVelke(vyhoddvojmezery(findVol));
  const std::string lok = prevod(vyhodmezery(findLok), klavesnice);
  if (vol.empty() && lok.empty()) return v;
  // pump lets the window run: its catalogue may be read anew meanwhile, so
  // the search goes through a copy of the one it started on.
  const std::vector<ZarazenyDenik> deniky = deniky_;
  for (int i = 0; i < static_cast<int>(deniky.size()); ++i) {
    const ZarazenyDenik& d = deniky[i];
    const ZobrazenyDenik z = nactiarchivdenik(d.cesta);
    for (int r = 1; r < z.grid.rowCount(); ++r) {
      const std::string& cVol = z.grid.cell(r, 3);
      const std::string& cLok = z.grid.cell(r, 5);
      const bool shoda = (vol.empty() || PrevodJenNaVelke(cVol).find(vol) != std::string::npos) &&
                         (lok.empty() || upper(cLok).find(lok) != std::string::npos);
      if (shoda) {
        ++v.celkem;
        if (v.nalezy.size() < static_cast<std::size_t>(kMaxNalezu)) {
          Nalez n{i, r,
                  cut(std::to_string(v.nalezy.size() + 1) + "/  " + d.od + "-" + d.do_ + " [" + d.lokator +
                          " - " + cLok + "] " + cVol,
                      100)};
          v.nalezy.push_back(n);
          if (nalez) nalez(v.nalezy.back());
        }
      }
      if (pump && !pump()) {
        v.preruseno = true;
        return v;
      }
    }
  }
  return v;
}

}  // namespace vektrano
