#include "core/log/log_editing.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "core/base/text.h"
#include "core/log/log_file.h"
#include "core/log/log_statistics.h"
#include "core/log/recalculation.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

namespace {

constexpr const char* kChyba = " .#_";
constexpr const char* kDupl = " .#_dupl_";

bool jeKontakt(const LogDocument& log, int radek) {
  return radek >= 1 && radek < log.Denik.rowCount();
}

std::string orez(std::string s) {
  const size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  const size_t b = s.find_last_not_of(' ');
  return s.substr(a, b - a + 1);
}

// Removes every word of cell that begins with prefix (to the next blank);
// the blanks left behind are collapsed. Returns how many were removed.
int odstranSlova(std::string& cell, std::string_view prefix) {
  int n = 0;
  size_t from = 0;
  for (size_t at; (at = cell.find(prefix, from)) != std::string::npos;) {
    if (at > 0 && cell[at - 1] != ' ') {
      from = at + 1;
      continue;
    }
    const size_t end = cell.find(' ', at);
    cell.erase(at, end == std::string::npos ? std::string::npos : end - at);
    ++n;
    from = at;
  }
  if (n) cell = orez(vyhoddvojmezery(cell));
  return n;
}

bool maSlovo(const std::string& cell, std::string_view prefix) {
  for (size_t at = cell.find(prefix); at != std::string::npos; at = cell.find(prefix, at + 1))
    if (at == 0 || cell[at - 1] == ' ') return true;
  return false;
}

// The row count changed: fixed title row, counts, next number, statistics.
void poZmeneRadku(LogDocument& log) {
  log.Denik.setFixedRows(log.Denik.rowCount() >= 2 ? 1 : 0);
  log.PocetSpojeni = log.contactCount();
  SpocitejCisloSpojeni(log);
  prumer(log);
}

void precislujOd(Grid& d, int from) {
  for (int r = from; r < d.rowCount(); ++r) d.rows()[r][kColCislo] = std::to_string(r);
}

std::string klicDuplicity(const std::string& volacka, const TabulkaSynonym& synonyma) {
  return vyhodtecky(Synonymuj(volacka, synonyma));
}

// StrToInt of a box: the whole text (blanks around it allowed) a number.
std::optional<int> cislo(const std::string& text) {
  const std::string t = orez(text);
  int v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return v;
}

int cisloBoxu(const std::string& text) {
  if (auto v = cislo(text)) return *v;
  platform::showMessage("Nesprávný rozsah čísel [" + std::to_string(0) + " ? ]");
  return 0;
}

}  // namespace

bool ulozPoUprave(LogDocument& log) {
  const ZapisDenikuAZalohy z = ulozDenikAZalohu(log, log.ZalohaFileName);
  return (log.SaveFileName.empty() || z.denik) && (log.ZalohaFileName.empty() || z.zaloha);
}

bool SetridPodle(LogDocument& log, int c, const TabulkaSynonym& synonyma,
                 const std::function<void(const std::string& caption)>& progress) {
  if (log.SetridenoPodle == c) return false;
  Setrid(log, c, synonyma, progress);
  return true;
}

bool ProvedPrepocet(LogDocument& log) {
  const bool zmeneno = PrepocetDeniku(log);
  platform::showMessage("Kontrola deníku provedena, přepočet vzdáleností proveden.");
  return zmeneno;
}

bool OdstranRadek(LogDocument& log, int radek) {
  if (!jeKontakt(log, radek)) return false;
  Grid& d = log.Denik;
  const bool duplicita = d.cell(radek, kColVolacka).find(".#_dupl_") != std::string::npos;
  d.rows().erase(d.rows().begin() + radek);
  precislujOd(d, radek);
  d.notifyReset();
  poZmeneRadku(log);
  if (duplicita) platform::showMessage("Řádek odstraněn. Proveď novou kontrolu duplicit...");
  return true;
}

bool VlozPrazdnyRadek(LogDocument& log, int radek) {
  Grid& d = log.Denik;
  if (d.rowCount() < 1) setLogTitles(d);
  const int pozice = jeKontakt(log, radek) ? radek : 1;
  d.rows().insert(d.rows().begin() + pozice, Grid::Row(static_cast<size_t>(d.colCount())));
  precislujOd(d, pozice);
  d.notifyReset();
  poZmeneRadku(log);
  return true;
}

namespace {

bool prohod(LogDocument& log, int a, int b) {
  Grid::Row& ra = log.Denik.rows()[a];
  Grid::Row& rb = log.Denik.rows()[b];
  for (int c = 1; c < kLogColumns; ++c) std::swap(ra[c], rb[c]);
  log.Denik.notifyReset();
  prumer(log);
  return true;
}

}  // namespace

bool ProhodSNasledujicim(LogDocument& log, int radek) {
  if (!jeKontakt(log, radek)) return false;
  if (radek + 1 >= log.Denik.rowCount()) {
    platform::showMessage("Není žádný následující řádek se kterým bych tento mohl prohodit...");
    return false;
  }
  return prohod(log, radek, radek + 1);
}

bool ProhodSPredchozim(LogDocument& log, int radek) {
  if (!jeKontakt(log, radek) || radek < 2) {
    platform::showMessage("Není žádný předchozí řádek se kterým bych tento mohl prohodit...");
    return false;
  }
  return prohod(log, radek, radek - 1);
}

bool JsouDuplicity(const std::string& volacka1, const std::string& volacka2,
                   const TabulkaSynonym& synonyma) {
  const std::string a = klicDuplicity(volacka1, synonyma);
  const std::string b = klicDuplicity(volacka2, synonyma);
  // An empty key (a cell of marks only) is contained in every other one: it
  // is a duplicate of nothing.
  if (a.empty() || b.empty()) return false;
  return a.find(b) != std::string::npos || b.find(a) != std::string::npos;
}

KontrolaDuplicitVysledek KontrolaDuplicit(
    LogDocument& log, const TabulkaSynonym& synonyma,
    const std::function<void(const std::string& caption)>& progress) {
  KontrolaDuplicitVysledek v;
  v.zmeneno = SetridPodle(log, kColVolacka, synonyma, progress);
  Grid& d = log.Denik;
  auto& rows = d.rows();
  std::vector<std::string> predtim;
  for (size_t r = 1; r < rows.size(); ++r) {
    predtim.push_back(rows[r][kColVolacka]);
    odstranSlova(rows[r][kColVolacka], ".#_dupl_");
  }
  for (size_t r = 1; r + 1 < rows.size(); ++r) {
    if (!JsouDuplicity(rows[r][kColVolacka], rows[r + 1][kColVolacka], synonyma)) continue;
    v.radekDuplicity = static_cast<int>(r + 1);
    ++v.pocet;
    if (!maSlovo(rows[r][kColVolacka], ".#_dupl_"))
      rows[r][kColVolacka] += kDupl + rows[r + 1][kColCislo];
    if (!maSlovo(rows[r + 1][kColVolacka], ".#_dupl_"))
      rows[r + 1][kColVolacka] += kDupl + rows[r][kColCislo];
  }
  for (size_t r = 1; r < rows.size(); ++r)
    if (rows[r][kColVolacka] != predtim[r - 1]) v.zmeneno = true;
  d.notifyReset();
  prumer(log);
  platform::showMessage("Hotovo. Počet nalezených duplicit = " + std::to_string(v.pocet));
  return v;
}

bool MaChybovouPoznamku(const std::string& volacka) { return maSlovo(volacka, ".#"); }

PrepnutiPoznamky PrepniChybovouPoznamku(LogDocument& log, int radek) {
  if (!jeKontakt(log, radek)) return PrepnutiPoznamky::Nic;
  if (SmazChybovouPoznamku(log, radek)) return PrepnutiPoznamky::Odebrana;
  return VlozChybovouPoznamku(log, radek) ? PrepnutiPoznamky::Pridana : PrepnutiPoznamky::Nic;
}

bool VlozChybovouPoznamku(LogDocument& log, int radek) {
  if (!jeKontakt(log, radek)) return false;
  std::string cell = log.Denik.cell(radek, kColVolacka);
  if (MaChybovouPoznamku(cell)) return false;
  log.Denik.setCell(radek, kColVolacka, cell + kChyba);
  return true;
}

bool SmazChybovouPoznamku(LogDocument& log, int radek) {
  if (!jeKontakt(log, radek)) return false;
  std::string cell = log.Denik.cell(radek, kColVolacka);
  if (!odstranSlova(cell, ".#")) return false;
  log.Denik.setCell(radek, kColVolacka, std::move(cell));
  return true;
}

int OdstranChybovePoznamky(LogDocument& log) {
  int n = 0;
  auto& rows = log.Denik.rows();
  for (size_t r = 1; r < rows.size(); ++r) n += odstranSlova(rows[r][kColVolacka], ".#");
  log.Denik.notifyReset();
  platform::showMessage("Hotovo. Počet odstraněných popisek chyb = " + std::to_string(n));
  return n;
}

bool VymazPoznamky(LogDocument& log) {
  if (!platform::askYesNo("Opravdu mám provést výmaz všech poznámek ve sloupci poznámky ?\r\n\r\n"
                          "(Jedná se o nevratnou funkci !!!)"))
    return false;
  auto& rows = log.Denik.rows();
  for (size_t r = 1; r < rows.size(); ++r) rows[r][kColPozn].clear();
  log.Denik.notifyReset();
  platform::showMessage("Výmaz poznámek proveden.");
  return true;
}

bool OdstranDatumy(LogDocument& log) {
  if (!platform::askYesNo("Nevratná operace - Opravdu odstranit datumy z aktuálního deníku?"))
    return false;
  if (log.contactCount() < 1) return false;
  auto& rows = log.Denik.rows();
  for (size_t r = 1; r < rows.size(); ++r) rows[r][kColCas] = vyhoddatum(rows[r][kColCas]);
  log.Denik.notifyReset();
  log.doplndatum = false;
  platform::showMessage("Datumy odstraněny.");
  return true;
}

DatovyPanel PripravDatovyPanel(const LogDocument& log) {
  const int n = log.contactCount();
  DatovyPanel p;
  p.odMax = n - 1;
  p.po = n;
  p.poMax = n;
  return p;
}

std::string DatumujCas(const std::string& cas, const std::string& datum) {
  std::string c = cas;
  if (c.size() > 8) {
    const size_t b = c.find('[');
    const size_t e = c.find("] ");
    if (b != std::string::npos && e != std::string::npos && b < e)
      c.erase(b, e + 2 - b);
    else
      c = "? " + c;
  }
  return c.size() <= 8 ? "[" + datum + "] " + c : "? " + c;
}

bool ZmenDatumu(LogDocument& log, const std::string& odText, const std::string& poText,
                const std::string& datum) {
  int od = cisloBoxu(odText);
  int po = cisloBoxu(poText);
  if (od > po) std::swap(od, po);
  if (od < 1 || po > log.contactCount()) return false;
  auto& rows = log.Denik.rows();
  for (int r = od; r <= po; ++r) rows[r][kColCas] = DatumujCas(rows[r][kColCas], datum);
  log.Denik.notifyReset();
  platform::showMessage("Datum doplněn.");
  return true;
}

std::string TextRadku(const LogDocument& log, int radek) {
  static const char* const kPopisky[kLogColumns] = {
      "číslo deníku   : [ ", "datum a čas    : [ ", "report vyslaný : [ ", "volačka        : [ ",
      "report přijatý : [ ", "lokátor        : [ ", "vzdálenost     : [ ", "poznámka       : [ "};
  std::string t = "Tvůj lokátor   : [ " + log.lokportable + " ]\r\n\r\n";
  for (int c = 0; c < kLogColumns; ++c)
    t += std::string(kPopisky[c]) + log.Denik.cell(radek, c) + " ]\r\n";
  return t;
}

bool UlozRadekDoTextu(const LogDocument& log, int radek, const std::string& path) {
  if (!jeKontakt(log, radek)) return false;
  if (platform::writeFileAtomic(path, TextRadku(log, radek))) return true;
  platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(path),
                        platform::MessageKind::Error);
  return false;
}

std::string TitulekRadku(const LogDocument& log, int radek) {
  const Grid& d = log.Denik;
  return "[ " + d.cell(radek, kColCislo) + " > " + d.cell(radek, kColVolacka) + " - " +
         d.cell(radek, kColLokator) + " : " + d.cell(radek, kColKm) + " km ] (" +
         d.cell(radek, kColPozn) + ")";
}

std::string SchrankaRadku(const LogDocument& log, int radek) {
  const Grid& d = log.Denik;
  return "[" + d.cell(radek, kColCislo) + "] " + vyhoddatum(d.cell(radek, kColCas)) + " " +
         d.cell(radek, kColRV) + " " + d.cell(radek, kColVolacka) + " " + d.cell(radek, kColRP) +
         " " + d.cell(radek, kColLokator) + " " + d.cell(radek, kColPozn);
}

std::optional<int> DalsiShoda(const LogDocument& log, int sloupec, int& pozice,
                              const TabulkaSynonym& synonyma) {
  const Grid& d = log.Denik;
  auto lisiSe = [&](int r) {
    if (sloupec == kColVolacka)
      return !JsouDuplicity(d.cell(r, kColVolacka), d.cell(r + 1, kColVolacka), synonyma);
    return d.cell(r, sloupec) != d.cell(r + 1, sloupec);
  };
  // The title row never pairs with the first contact.
  int p = std::max(pozice, 1);
  while (p < d.rowCount() - 2 && lisiSe(p)) ++p;
  if (p + 1 >= d.rowCount() || lisiSe(p)) {
    platform::showMessage("Jsme na konci. Je možno začít opět od začátku ...");
    pozice = 0;
    return std::nullopt;
  }
  pozice = p + 1;
  return p;
}

int SirkaPoznamkyPoUvolneni(const std::array<int, kLogColumns>& sirky, int clientWidth,
                            bool Zobrpoz) {
  if (!Zobrpoz) return 0;
  int ostatni = 0;
  for (int c : {kColCislo, kColCas, kColRV, kColRP, kColLokator, kColKm}) ostatni += sirky[c];
  const int volacka = std::max(sirky[kColVolacka], 150);
  return std::max(clientWidth - 32 - ostatni - volacka, 50);
}

int RadekNejdelsiho(const LogDocument& log) {
  const std::string km = std::to_string(log.NejdelsiKm);
  for (int r = 1; r < log.Denik.rowCount(); ++r)
    if (log.Denik.cell(r, kColKm) == km) return r;
  return 0;
}

}  // namespace vektrano
