#include "core/pictures/contact_map.h"

#include <algorithm>
#include <charconv>

#include "core/base/geometry.h"
#include "core/log/log_export.h"
#include "core/log/log_statistics.h"
#include "core/log/recalculation.h"
#include "core/reference/list_data.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

namespace {

constexpr TColor kNavy = 0x800000;
constexpr TColor kRed = 0x0000FF;
constexpr TColor kMaroon = 0x000080;
constexpr TColor kSilver = 0xC0C0C0;
constexpr TColor kGreen = 0x008000;
constexpr TColor kBlack = 0x000000;

constexpr const char* kHomePage = "http://www.vektrano.example/";
constexpr const char* kHomeHost = "www.vektrano.example";

char velke(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

char znak(std::string_view l, size_t i) { return i < l.size() ? velke(l[i]) : '\0'; }

int poradi(std::string_view abeceda, char c) {
  const size_t at = abeceda.find(c);
  return c == '\0' || at == std::string_view::npos ? 0 : static_cast<int>(at);
}

const std::string kKonecTitulku = "\" shape=\"circle\" coords=\"";

}  // namespace

int fx(std::string_view l) {
  return 4 * (240 * (znak(l, 0) - 'A') + 24 * (znak(l, 2) - '0') + (znak(l, 4) - 'A') + 1 - 2304);
}

int fy(std::string_view l) {
  constexpr std::string_view kPismena = "XWVUTSRQPONMLKJIHGFEDCBA";
  constexpr std::string_view kCislice = "9876543210";
  return 4 * (240 * poradi(kPismena, znak(l, 1)) + 24 * poradi(kCislice, znak(l, 3)) +
              poradi(kPismena, znak(l, 5)) - 2351);
}

TvarMapy cara(Bod a, Bod b, TColor barva, int sirka) {
  TvarMapy t;
  t.druh = TvarMapy::Druh::Cara;
  t.barva = barva;
  t.sirka = sirka;
  t.x1 = a.x;
  t.y1 = a.y;
  t.x2 = b.x;
  t.y2 = b.y;
  return t;
}

TvarMapy kruh(Bod s, int r, TColor barva, int sirka) {
  TvarMapy t = cara({s.x - r, s.y - r}, {s.x + r, s.y + r}, barva, sirka);
  t.druh = TvarMapy::Druh::Kruh;
  return t;
}

TvarMapy text(int x, int y, std::string s, int velikost, TColor barva, bool tucne, bool kurziva) {
  TvarMapy t;
  t.druh = TvarMapy::Druh::Text;
  t.barva = barva;
  t.x1 = x;
  t.y1 = y;
  t.text = std::move(s);
  t.velikost = velikost;
  t.tucne = tucne;
  t.kurziva = kurziva;
  return t;
}

std::vector<Bod> nactiObrys(const std::string& path) {
  if (!platform::fileExists(path)) {
    platform::showMessage("Chybí soubor : " + platform::pathText(path) +
                              "\r\n\r\nNebude vykreslen obrys mapy.\r\n\r\n" +
                              "Je možno provést aktualizaci programu",
                          platform::MessageKind::Warning);
    return {};
  }
  const auto data = platform::readWholeFile(path);
  if (!data) {
    platform::showMessage("Chyba I/O při čtení souboru : " + platform::pathText(path),
                          platform::MessageKind::Error);
    return {};
  }
  std::vector<Bod> body{pixelLokatoru(kZacatekObrysu)};
  int cislo = 0;
  for (const std::string& line : splitFileLines(*data)) {
    ++cislo;
    if (testlok(line)) {
      body.push_back(pixelLokatoru(line));
    } else {
      platform::showMessage("Chyba v lokátoru " + line + " na řádku " + std::to_string(cislo) +
                                " v souboru : " + platform::pathText(path),
                            platform::MessageKind::Warning);
    }
  }
  return body;
}

std::vector<TvarMapy> kresbaObrysu(const std::vector<Bod>& obrys, TColor barva, int sirka) {
  std::vector<TvarMapy> out;
  for (size_t i = 1; i < obrys.size(); ++i) out.push_back(cara(obrys[i - 1], obrys[i], barva, sirka));
  return out;
}

int kmBunky(std::string_view cell) {
  while (!cell.empty() && cell.front() == ' ') cell.remove_prefix(1);
  while (!cell.empty() && cell.back() == ' ') cell.remove_suffix(1);
  int value = 0;
  const char* end = cell.data() + cell.size();
  const auto [ptr, ec] = std::from_chars(cell.data(), end, value);
  if (cell.empty() || ec != std::errc() || ptr != end || value < 0) return 0;
  return value;
}

MapaSpojeni generujMapuSpojeni(const Grid& denik, const std::vector<Bod>& obrys,
                               const VstupMapy& v) {
  MapaSpojeni m;
  auto& html = m.html;
  html = {"<html>",
          "<head>",
          "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">",
          "<meta name=\"GENERATOR\" content=\"Vektrano.exe\">",
          std::string("<meta name=\"HomePage\" content=\"") + kHomePage + "\">",
          "<title>Spojení z lokátoru : " + escapeHtml(v.own) + "</title>",
          "</head>",
          "<body>",
          "<p>",
          "<!-- START - PRO REDAKČNÍ SYSTÉM -->",
          std::string("<map name=\"") + kMapaHtmlObrazek + "\">"};

  m.kresba = kresbaObrysu(obrys, kNavy, 4);

  struct Kontakt {
    std::string lokator, volacka;
    int km;
  };
  std::vector<Kontakt> kontakty;
  for (int r = 1; r < denik.rowCount(); ++r)
    kontakty.push_back(
        {denik.cell(r, kColLokator), denik.cell(r, kColVolacka), kmBunky(denik.cell(r, kColKm))});
  // Longest first; equal distances keep their order in the log.
  std::stable_sort(kontakty.begin(), kontakty.end(),
                   [](const Kontakt& a, const Kontakt& b) { return a.km > b.km; });

  const Bod start = pixelLokatoru(v.own);
  if (v.vychoziBod) m.kresba.push_back(kruh(start, 4, kRed, 3));
  for (size_t i = 0; i < kontakty.size(); ++i) {
    const Kontakt& k = kontakty[i];
    if (!testlok(k.lokator)) {
      m.neplatneLokatory = true;
      continue;
    }
    const Bod p = pixelLokatoru(k.lokator);
    m.body.push_back(p);
    std::string line = "<area href=\"#\" title=\"[" + escapeHtml(k.lokator);
    if (v.vychoziBod) line += " : " + std::to_string(k.km) + " km";
    line += "] " + escapeHtml(k.volacka) + kKonecTitulku + std::to_string(p.x) + "," +
            std::to_string(p.y) + ", 3\">";
    html.push_back(std::move(line));
    const bool prvni = i == 0;
    if (v.spojnice) m.kresba.push_back(cara(start, p, prvni ? kRed : kSilver, prvni ? 3 : 1));
    m.kresba.push_back(kruh(p, 2, prvni && v.vychoziBod ? kRed : kMaroon, 1));
  }
  if (v.vychoziBod) m.kresba.push_back(kruh(start, 4, kRed, 3));

  m.kresba.push_back(
      text(2, 470, std::string("Vektrano ") + " ver: 6.03 (2008/04/08) ", 7, kBlack, false, true));
  m.kresba.push_back(text(350, 470, std::string("Vytvořeno v programu Vektrano") + " - " + kHomeHost,
                          7, kBlack, false, true));

  if (v.vychoziBod)
    html.push_back("<area href=\"#\" title=\"[" + escapeHtml(v.own) +
                   "] *** Výchozí bod expedice ***" + kKonecTitulku + std::to_string(start.x) +
                   "," + std::to_string(start.y) + ", 6\">");
  html.push_back("</map>");
  html.push_back("<!-- END - PRO REDAKČNÍ SYSTÉM -->");
  html.push_back(std::string("<img border=\"0\" src=\"") + kMapaHtmlObrazek + "\" usemap=\"#" +
                 kMapaHtmlObrazek + "\" width=\"576\" height=\"480\"></p>");
  html.push_back("</body>");
  html.push_back("</html>");

  if (testlok(v.typedLocator) && v.vstup.size() > 5) {
    const Bod p = pixelLokatoru(v.typedLocator);
    m.kresba.push_back(cara(start, p, kGreen, 3));
    m.kresba.push_back(kruh(p, 3, kGreen, 3));
    m.kresba.push_back(text(10, 376, v.label1, 15, kGreen, true, false));
    m.kresba.push_back(text(10, 400, v.typedCall, 15, kGreen, true, false));
  }
  return m;
}

PripravaMapy pripravMapuSpojeni(LogDocument& log, const std::string& outlinePath, VstupMapy v) {
  PripravaMapy p;
  p.denikZmenen = PrepocetDeniku(log);
  if (log.contactCount() < 2) {
    platform::showMessage("V deníku je třeba mít alespoň 2 spojení !");
    return p;
  }
  if (!testlok(log.lokportable)) {
    platform::showMessage("Lokátor : [" + log.lokportable + "] není platným lokátorem ...",
                          platform::MessageKind::Warning);
    return p;
  }
  v.own = log.lokportable;
  p.mapa = generujMapuSpojeni(log.Denik, nactiObrys(outlinePath), v);
  return p;
}

std::string textStrankyMapy(const std::vector<std::string>& html, const std::string& obrazek) {
  const std::string nazev = escapeHtml(obrazek);
  const std::string_view vzor = kMapaHtmlObrazek;
  std::string out;
  for (const std::string& line : html) {
    for (size_t from = 0;;) {
      const size_t at = line.find(vzor, from);
      if (at == std::string::npos) {
        out.append(line, from, std::string::npos);
        break;
      }
      out.append(line, from, at - from);
      out += nazev;
      from = at + vzor.size();
    }
    out += "\r\n";
  }
  return out;
}

std::vector<TvarMapy> legendaMapy(LogDocument& log, bool vychoziBod, const std::string& titulek) {
  std::vector<TvarMapy> out;
  if (!titulek.empty()) out.push_back(text(2, 0, titulek, 8, kBlack, true, false));
  // The longest contact and the average come from the same fresh statistics.
  prumer(log);
  const std::string pocet = std::to_string(log.contactCount());
  auto radek = [&out](int y, const std::string& popis, const std::string& hodnota) {
    out.push_back(text(284, y, popis, 12, kBlack, true, false));
    out.push_back(text(440, y, hodnota, 12, kBlack, true, false));
  };
  if (vychoziBod) {
    radek(90, "Lokátor stanoviště", ": " + log.lokportable);
    radek(110, "Nejdelší spojení", ": " + std::to_string(log.NejdelsiKm) + " km  ");
    radek(130, "Průměr na 1 spojení", ": " + std::to_string(log.PrumerKm) + " km/spoj");
    radek(150, "Celkem spojení", ": " + pocet);
  } else {
    out.push_back(text(300, 180, "Celkem spojení : " + pocet, 12, kBlack, true, false));
  }
  return out;
}

}  // namespace vektrano
