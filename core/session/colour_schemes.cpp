#include "core/session/colour_schemes.h"

#include <string>

namespace vektrano {
namespace {

// Default colours of the system elements $FF000000 .. $FF00001E, BGR.
constexpr std::array<TColor, 31> kSystemColours = {
    0xC8C8C8,  // scroll bar
    0x000000,  // desktop
    0xD1B499,  // active caption
    0xDBCDBF,  // inactive caption
    0xF0F0F0,  // menu
    0xFFFFFF,  // window
    0x646464,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0x000000,  // caption text
    0xB4B4B4,  // active border
    0xFCF7F4,  // inactive border
    0xABABAB,  // application workspace
    0xD77800,  // highlight
    0xFFFFFF,  // highlight text
    0xF0F0F0,  // button face
    0xA0A0A0,  // button shadow
    0x6D6D6D,  // grey text
    0x000000,  // button text
    0x000000,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x696969,  // 3D dark shadow
    0xE3E3E3,  // 3D light
    0x000000,  // tooltip text
    0xE1FFFF,  // tooltip background
    0x000000,  // (unused)
    0xCC6600,  // hot light
    0xEAD1B9,  // gradient active caption
    0xF2E4D7,  // gradient inactive caption
    0xFF9933,  // menu highlight
    0xF0F0F0,  // menu bar
};

bool obsahuje(const std::string& text, std::string_view what) {
  return !what.empty() && text.find(what) != std::string::npos;
}

}  // namespace

TColor ColorToRGB(TColor c) {
  if (!isSystemColour(c)) return c;
  const TColor element = c & 0xFF;
  return element < kSystemColours.size() ? kSystemColours[element] : 0;
}

int KrajniKanal(int channel) { return channel <= 128 ? 255 : 0; }

TColor KontrastniBarva(TColor c) {
  const TColor rgb = ColorToRGB(c);
  return RGBColor(KrajniKanal(GetRValue(rgb)), KrajniKanal(GetGValue(rgb)),
                  KrajniKanal(GetBValue(rgb)));
}

BarevneSchema schemaZNastaveni(const MainWindowSettings& s) {
  auto c = [](int v) { return static_cast<TColor>(v); };
  return {c(s.BPOZ), c(s.BDUP), c(s.BPDE), c(s.BPND), c(s.BPOV),
          c(s.BPVR), c(s.BHOD), c(s.BVVZ), c(s.BNJS)};
}

void ulozSchema(const BarevneSchema& b, MainWindowSettings& s) {
  // The registry keeps a DWORD; the settings hold it as a signed integer.
  auto v = [](TColor c) { return static_cast<int>(c); };
  s.BPOZ = v(b.BPOZ);
  s.BDUP = v(b.BDUP);
  s.BPDE = v(b.BPDE);
  s.BPND = v(b.BPND);
  s.BPOV = v(b.BPOV);
  s.BPVR = v(b.BPVR);
  s.BHOD = v(b.BHOD);
  s.BVVZ = v(b.BVVZ);
  s.BNJS = v(b.BNJS);
}

bool schemaUlozeno(const MainWindowSettings& s) {
  // "All nine are 0" rather than a sum, which system colours (negative as
  // integers) could bring to 0 by chance.
  return schemaZNastaveni(s) != BarevneSchema{};
}

const std::array<PolozkaBarvy, 9>& PolozkyBarev() {
  static const std::array<PolozkaBarvy, 9> items = {{
      {"Barvapozad1", "Barva pozadí deníku", &BarevneSchema::BPOZ},
      {"Barvapozadduplicit1", "Barva pozadí duplicit", &BarevneSchema::BDUP},
      {"Barvapsmadenku1", "Barva písma deníku", &BarevneSchema::BPDE},
      {"Barvapozadnadpisudenku1", "Barva pozadí nadpisu deníku", &BarevneSchema::BPND},
      {"Barvapozadpopisulokatoruapismavstupnhodku1",
       "Barva pozadí popisu, lokatoru a pisma vstupního řádku", &BarevneSchema::BPOV},
      {"Barvapopisulokatoruapismavstupnhodku1", "Barva popisu, lokatoru a pisma vstupního řádku",
       &BarevneSchema::BPVR},
      {"Barvahodin1", "Barva hodin", &BarevneSchema::BHOD},
      {"Barvavypotanvzdlenosti1", "Barva vypočítané vzdálenosti", &BarevneSchema::BVVZ},
      {"Barvapozadnejdelhospojen1", "Barva pozadí nejdelšího spojení", &BarevneSchema::BNJS},
  }};
  return items;
}

const std::array<SablonaBarev, 5>& SablonyBarev() {
  // Columns BPOZ, BDUP, BPDE, BPND, BPOV, BPVR, BHOD, BVVZ, BNJS.
  static const std::array<SablonaBarev, 5> templates = {{
      {"Defaultpvodnnastaven1", "Default - původní nastavení",
       {0x800000, 0xF0CAA6, 0x00FFFF, 0x808080, 0x800000, 0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FFFF}},
      {"ablonaBW1", "Šablona MONO",
       {0xFFFFFF, 0xF0CAA6, 0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0x000000}},
      {"ablonaINVERT1", "Šablona INVERT",
       {0x000000, 0xF0CAA6, 0xFFFFFF, 0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
      {"ablonales1", "Šablona WOOD",
       {0xA4FFA4, 0xF0CAA6, 0xEC00EC, 0x008000, 0x80FF80, 0x930093, 0x4080FF, 0x0000FF, 0x000000}},
      {"ablonaSOON1", "Šablona SOON",
       {0x00FFFF, 0xF0CAA6, 0xA00000, 0x00E8E8, 0x80FFFF, 0x804000, 0x408000, 0x1212ED, 0x000000}},
  }};
  return templates;
}

BarvyOkna NastavBarvy(const BarevneSchema& b) {
  using V = VlastnostBarvy;
  BarvyOkna out;
  auto& o = out.ovladace;
  o.push_back({"Denik", V::Pozadi, b.BPOZ});
  o.push_back({"Denik", V::Pismo, b.BPDE});
  o.push_back({"Denik", V::PevneBunky, b.BPND});
  for (std::string_view c : {"Form1", "cas", "Label1", "volackalabel", "cisspoj", "Memo1", "Memo4",
                             "lokportable", "vstup", "kanal", "wvolacky", "wduplicity",
                             "wmestacentr", "SeznamMest"})
    o.push_back({c, V::Pozadi, b.BPOV});
  for (std::string_view c : {"Memo1", "Memo4", "lokportable", "vstup", "kanal", "wvolacky",
                             "wduplicity", "wmestacentr", "SeznamMest"})
    o.push_back({c, V::Pismo, b.BPVR});
  o.push_back({"cas", V::Pismo, b.BHOD});
  for (std::string_view c : {"Label1", "volackalabel", "cisspoj"}) o.push_back({c, V::Pismo, b.BVVZ});
  out.BarvaLabel1 = b.BVVZ;
  out.BarvaBliku = KontrastniBarva(b.BVVZ);
  return out;
}

BarvyMrizky barvyDeniku(const BarevneSchema& b) { return {b.BPOZ, b.BPDE, b.BPND}; }

namespace {

// The marks of the rows from the plan's last one to the grid's.
void naplanujOd(PlanMalovani& plan, const Grid& denik, int NejdelsiKm, bool doplndatum,
                std::string_view podpis) {
  const std::string nejdelsi = std::to_string(NejdelsiKm);
  const int rows = denik.rowCount();
  const int from = static_cast<int>(plan.radky.size());
  plan.radky.resize(static_cast<size_t>(rows), 0);
  for (int r = from; r < rows; ++r) {
    const std::string& volacka = denik.cell(r, kColVolacka);
    std::uint8_t m = 0;
    if (obsahuje(volacka, "Zr-")) m |= kRadekKlub;
    if (obsahuje(volacka, podpis)) m |= kRadekPodpis;
    if (denik.cell(r, kColKm) == nejdelsi) m |= kRadekNejdelsi;
    if (obsahuje(volacka, ".#")) m |= kRadekDuplicita;
    plan.radky[static_cast<size_t>(r)] = m;
    if (r > 0 && denik.cell(r, kColCas).size() > 9) plan.datumVRadcich = true;
  }
  plan.doplndatum = doplndatum || plan.datumVRadcich;
  plan.revize = denik.revision();
  plan.NejdelsiKm = NejdelsiKm;
}

}  // namespace

PlanMalovani NaplanujMalovani(const Grid& denik, int NejdelsiKm, bool doplndatum,
                              std::string_view podpis) {
  PlanMalovani plan;
  naplanujOd(plan, denik, NejdelsiKm, doplndatum, podpis);
  return plan;
}

PlanMalovani NaplanujMalovani(const LogDocument& log, std::string_view podpis) {
  return NaplanujMalovani(log.Denik, log.NejdelsiKm, log.doplndatum, podpis);
}

PlanMalovani DoplnMalovani(PlanMalovani plan, const LogDocument& log,
                           std::uint64_t revizePredPridanim, std::string_view podpis) {
  const Grid& d = log.Denik;
  if (revizePredPridanim == 0 || plan.revize != revizePredPridanim ||
      plan.NejdelsiKm != log.NejdelsiKm || plan.radky.size() + 1 != static_cast<size_t>(d.rowCount()))
    return NaplanujMalovani(log, podpis);
  naplanujOd(plan, d, log.NejdelsiKm, log.doplndatum, podpis);
  return plan;
}

bool ZapniDatumPodlePlanu(const PlanMalovani& plan, LogDocument& log, ColumnOptions& o) {
  if (!plan.datumVRadcich || o.doplndatum) return false;
  o.doplndatum = true;
  log.doplndatum = true;
  SirkySloupcu(log.Denik, o);
  return true;
}

StylBunky StylBunkyDeniku(const PlanMalovani& plan, const BarevneSchema& schema,
                          const BarvyMrizky& mrizka, int row, int col, StavBunky stav) {
  StylBunky s;
  switch (stav) {
    case StavBunky::Normalni: s = {mrizka.pozadi, mrizka.pismo}; break;
    case StavBunky::Pevna: s = {mrizka.pevne, mrizka.pismo}; break;
    case StavBunky::Vybrana: s = {clHighlight, clHighlightText}; break;
  }
  const std::uint8_t m = plan.radek(row);
  if (col > 0 && (m & kRadekKlub)) s = {0x000080, KontrastniBarva(0x008000)};
  if (col > 0 && (m & kRadekPodpis)) s = {0x008000, KontrastniBarva(0x008000)};
  if (m & kRadekNejdelsi) s = {schema.BNJS, KontrastniBarva(schema.BNJS)};
  if (col > 0 && (m & kRadekDuplicita)) s = {schema.BDUP, KontrastniBarva(schema.BDUP)};
  return s;
}

int PosunTextu(int col, int cellWidth, int textWidth, bool doplndatum) {
  const auto stred = [&] {
    // (cellWidth - textWidth) / 2 rounded to the nearest, halves to even.
    const int d = cellWidth - textWidth;
    const int lower = d >= 0 ? d / 2 : -((-d + 1) / 2);  // floor(d / 2)
    if (d % 2 == 0) return lower;
    return lower % 2 == 0 ? lower : lower + 1;
  };
  switch (col) {
    case kColCislo:
    case kColRV:
    case kColRP:
    case kColLokator: return stred();
    case kColCas: return doplndatum ? 1 : stred();
    case kColKm: return cellWidth - 1 - textWidth;
    default: return 1;
  }
}

bool PosunTextuPodleSirky(int col, bool doplndatum) {
  switch (col) {
    case kColCislo:
    case kColRV:
    case kColRP:
    case kColLokator:
    case kColKm: return true;
    case kColCas: return !doplndatum;
    default: return false;
  }
}

}  // namespace vektrano
