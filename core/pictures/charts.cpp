#include "core/pictures/charts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

#include "core/base/text.h"
#include "core/pictures/contact_map.h"

namespace vektrano {

std::optional<GrafCtvercu> grafCtvercu(const LogDocument& log) {
  const int n = log.contactCount();
  if (n < 5) return std::nullopt;
  struct Ctverec {
    std::string text;
    int pocet = 0;
  };
  std::vector<Ctverec> tabulka{{"", 0}};
  std::int64_t km = 0;
  for (int r = 1; r <= n; ++r) {
    const std::string ctverec = log.Denik.cell(r, kColLokator).substr(0, 4);
    km += kmBunky(log.Denik.cell(r, kColKm));
    auto it = std::find_if(tabulka.begin(), tabulka.end(),
                           [&](const Ctverec& c) { return c.text == ctverec; });
    if (it == tabulka.end())
      tabulka.push_back({ctverec, 1});
    else
      ++it->pocet;
  }
  std::stable_sort(tabulka.begin(), tabulka.end(),
                   [](const Ctverec& a, const Ctverec& b) { return a.pocet < b.pocet; });
  GrafCtvercu g;
  g.titulek = {"Spojení z lokátoru : " + log.lokportable,
               "(" + std::to_string(km) + " km) / (" + std::to_string(n) +
                   " počet spoj.) = průměr (" + std::to_string(km / n) + "km na 1 spojení)"};
  for (const Ctverec& c : tabulka)
    if (c.pocet > 0)
      g.vysece.push_back({(c.text.empty() ? std::string("neuveden") : c.text) + " [" +
                              std::to_string(c.pocet) + " spoj.]",
                          c.pocet});
  return g;
}

int HodinaSpojeni(std::string_view cell) {
  std::string text = vyhoddatum(cell);
  const size_t colon = text.find(':');
  if (colon != std::string::npos) text.resize(colon);
  int hour = -1;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, hour);
  if (text.empty() || ec != std::errc() || ptr != end || hour < 0 || hour > 23) return -1;
  return hour;
}

GrafHodin grafHodin(const LogDocument& log) {
  GrafHodin g;
  const int n = log.contactCount();
  if (n < 2) {
    g.stav = GrafHodin::Stav::MaloSpojeni;
    return g;
  }
  std::vector<int> h(static_cast<size_t>(n) + 1, -1);
  for (int r = 1; r <= n; ++r) h[r] = HodinaSpojeni(log.Denik.cell(r, kColCas));
  int start = 1;
  while (start <= n && h[start] < 0) ++start;
  if (start > n) {
    g.stav = GrafHodin::Stav::BezCasu;
    return g;
  }
  const int prvniHodina = h[start];
  int konec = start, r = start + 1;
  while (r <= n && h[r] >= h[r - 1]) konec = r++;
  int posledniDalsihoDne = -1;  // the hour the next day's bars run up to
  bool dalsiDen = false;
  while (r <= n && h[r] < prvniHodina) {
    dalsiDen = true;
    if (h[r] >= 0) posledniDalsihoDne = h[r];
    konec = r++;
  }

  std::array<int, 24> pocty{};
  for (int i = start; i <= konec; ++i) {
    if (h[i] >= 0) {
      ++pocty[static_cast<size_t>(h[i])];
    } else {
      ++g.neplatnych;
      g.posledniNeplatny = i;
    }
  }
  g.titulek = "Spojení z lokátoru : " + log.lokportable;
  auto nejvyssi = [&pocty](int od) {
    while (od > 0 && pocty[static_cast<size_t>(od)] == 0) --od;
    return od;
  };
  for (int hod = prvniHodina, hi = nejvyssi(23); hod <= hi; ++hod)
    g.body.push_back({std::to_string(hod), pocty[static_cast<size_t>(hod)]});
  // The next day runs up to the hour of the range's last row (its last
  // row with an hour, when the very last has none).
  if (dalsiDen && posledniDalsihoDne >= 0)
    for (int hod = 0, hi = nejvyssi(posledniDalsihoDne); hod <= hi; ++hod)
      g.body.push_back({std::to_string(hod), pocty[static_cast<size_t>(hod)]});
  g.body.push_back({"END", 0});
  return g;
}

std::string zpravaNeplatnychCasu(const GrafHodin& g) {
  if (g.neplatnych == 0) return {};
  return "V deníku nejsou uvedeny platné časy : " + std::to_string(g.neplatnych) + "x   [řádek:" +
         std::to_string(g.posledniNeplatny) + "]";
}

}  // namespace vektrano
