// The colour scheme, its templates and menu items, the contrast colour, and
// the painting plan of the log grid.
#include "core/session/colour_schemes.h"

#include <gtest/gtest.h>

#include <functional>

#include <map>
#include <utility>

namespace vektrano {
namespace {

TEST(Colours, KrajniKanalSplitsAt128) {
  const std::pair<int, int> cases[] = {{0, 255}, {1, 255}, {127, 255}, {128, 255},
                                       {129, 0},  {200, 0}, {255, 0}};
  for (auto [in, out] : cases) EXPECT_EQ(KrajniKanal(in), out) << in;
}

TEST(Colours, KontrastniBarvaIsAPureColourOfTheResolvedChannels) {
  const std::pair<TColor, TColor> cases[] = {
      {0x808080, 0xFFFFFF},  // every channel at 128 still counts as dark
      {0x818181, 0x000000},
      {0xF0CAA6, 0x000000},  // the duplicate background
      {0x008000, 0xFFFFFF},
      {0x00FFFF, 0xFF0000},  // yellow -> blue: channels, not the sum
      {0x80FF81, 0xFF0000},  // red 81 and green FF light, blue 80 dark
      {0x000001, 0xFFFFFF},
      {0x0000FF, 0xFFFF00},    // pure red
      {clWindow, 0x000000},      // system colours are resolved first
      {clHighlight, 0x00FFFF},   // default highlight $D77800
      {0xFF0000FF, 0xFFFFFF},    // an unknown system element is black
  };
  for (auto [in, out] : cases) EXPECT_EQ(KontrastniBarva(in), out) << std::hex << in;
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456u);
  EXPECT_EQ(ColorToRGB(clWindowText), 0x000000u);
}

// The template table as the colour book gives it: one line per value, one
// column per template (Default, MONO, INVERT, WOOD, SOON).
TEST(Colours, TemplatesHoldTheirNineColours) {
  const std::array<std::pair<std::string_view, std::string_view>, 5> menu = {{
      {"Defaultpvodnnastaven1", "Default - původní nastavení"},
      {"ablonaBW1", "Šablona MONO"},
      {"ablonaINVERT1", "Šablona INVERT"},
      {"ablonales1", "Šablona WOOD"},
      {"ablonaSOON1", "Šablona SOON"},
  }};
  struct Line {
    TColor BarevneSchema::*value;
    std::array<TColor, 5> columns;
  };
  const Line table[] = {
      {&BarevneSchema::BPOZ, {0x800000, 0xFFFFFF, 0x000000, 0xA4FFA4, 0x00FFFF}},
      {&BarevneSchema::BDUP, {0xF0CAA6, 0xF0CAA6, 0xF0CAA6, 0xF0CAA6, 0xF0CAA6}},
      {&BarevneSchema::BPDE, {0x00FFFF, 0x000000, 0xFFFFFF, 0xEC00EC, 0xA00000}},
      {&BarevneSchema::BPND, {0x808080, 0xFFFFFF, 0x000000, 0x008000, 0x00E8E8}},
      {&BarevneSchema::BPOV, {0x800000, 0xFFFFFF, 0x000000, 0x80FF80, 0x80FFFF}},
      {&BarevneSchema::BPVR, {0xFFFFFF, 0x000000, 0xFFFFFF, 0x930093, 0x804000}},
      {&BarevneSchema::BHOD, {0xFFFF00, 0x000000, 0xFFFFFF, 0x4080FF, 0x408000}},
      {&BarevneSchema::BVVZ, {0x00FFFF, 0x000000, 0xFFFFFF, 0x0000FF, 0x1212ED}},
      {&BarevneSchema::BNJS, {0x00FFFF, 0x000000, 0xFFFFFF, 0x000000, 0x000000}},
  };
  const auto& templates = SablonyBarev();
  for (size_t t = 0; t < templates.size(); ++t) {
    EXPECT_EQ(templates[t].jmeno, menu[t].first);
    EXPECT_EQ(templates[t].titulek, menu[t].second);
    for (const Line& l : table)
      EXPECT_EQ(templates[t].schema.*l.value, l.columns[t]) << templates[t].jmeno;
  }
}

TEST(Colours, MenuItemsNameTheirColour) {
  struct Item {
    std::string_view jmeno, titulek;
    TColor BarevneSchema::*value;
  };
  const Item expected[] = {
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
  };
  const auto& items = PolozkyBarev();
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].jmeno, expected[i].jmeno);
    EXPECT_EQ(items[i].titulek, expected[i].titulek);
    EXPECT_EQ(items[i].barva, expected[i].value) << items[i].jmeno;
  }
  EXPECT_EQ(kMenuZmenitBarvy, "Změnit barvy programu");
}

TEST(Colours, SchemeRoundTripsThroughTheSettings) {
  MainWindowSettings s;
  EXPECT_FALSE(schemaUlozeno(s));  // a first start: nothing stored

  BarevneSchema b{0x000001, 0x000002, 0x000003, 0x000004, 0x000005,
                  0x000006, 0x000007, 0x000008, clHighlight};
  ulozSchema(b, s);
  EXPECT_EQ(s.BPOZ, 1);
  EXPECT_EQ(s.BDUP, 2);
  EXPECT_EQ(s.BNJS, static_cast<int>(clHighlight));  // a DWORD above 2^31 survives
  EXPECT_EQ(schemaZNastaveni(s), b);
  EXPECT_TRUE(schemaUlozeno(s));

  // A scheme of black alone except the longest contact is still a scheme.
  s = MainWindowSettings{};
  s.BNJS = 0x0000FF;
  EXPECT_TRUE(schemaUlozeno(s));
}

TEST(Colours, NastavBarvyGivesEveryControlItsColourAndTheBlinkColour) {
  const BarevneSchema b{0x000011, 0x000022, 0x000033, 0x000044, 0x000055,
                        0x000066, 0x000077, 0x0000FF, 0x000099};
  const BarvyOkna r = NastavBarvy(b);

  using V = VlastnostBarvy;
  std::map<std::pair<std::string_view, V>, TColor> got;
  for (const auto& o : r.ovladace) {
    EXPECT_TRUE(got.emplace(std::pair{o.ovladac, o.vlastnost}, o.barva).second)
        << "set twice: " << o.ovladac;
  }
  std::map<std::pair<std::string_view, V>, TColor> want = {
      {{"Denik", V::Pozadi}, b.BPOZ}, {{"Denik", V::Pismo}, b.BPDE},
      {{"Denik", V::PevneBunky}, b.BPND}, {{"cas", V::Pismo}, b.BHOD},
      {{"Label1", V::Pismo}, b.BVVZ}, {{"volackalabel", V::Pismo}, b.BVVZ},
      {{"cisspoj", V::Pismo}, b.BVVZ},
  };
  for (std::string_view c : {"Form1", "cas", "Label1", "volackalabel", "cisspoj"})
    want[{c, V::Pozadi}] = b.BPOV;
  for (std::string_view c : {"Memo1", "Memo4", "lokportable", "vstup", "kanal", "wvolacky",
                             "wduplicity", "wmestacentr", "SeznamMest"}) {
    want[{c, V::Pozadi}] = b.BPOV;
    want[{c, V::Pismo}] = b.BPVR;
  }
  EXPECT_EQ(got, want);
  ASSERT_FALSE(r.ovladace.empty());
  EXPECT_EQ(r.ovladace.front().ovladac, "Denik");  // the grid comes first

  EXPECT_EQ(r.BarvaLabel1, 0x0000FFu);
  EXPECT_EQ(r.BarvaBliku, 0xFFFF00u);  // red blinks with cyan
  EXPECT_EQ(barvyDeniku(b), (BarvyMrizky{b.BPOZ, b.BPDE, b.BPND}));
}

// A small log: the title row and six contacts.
Grid sampleLog() {
  Grid g(kLogColumns, 0);
  g.appendRow({"poř.", "čas", "RV", "Volačka", "RP", "Lokátor", "km", "pozn"});
  g.appendRow({"1", "12:00:00", "59", "OK1AB", "59", "JO70GQ", "40", ""});
  g.appendRow({"2", "12:01:00", "59", "OK1CD", "59", "JN89AA", "250", ""});
  g.appendRow({"3", "12:02:00", "59", "OK1EF .#_dupl_4", "59", "JO70AA", "12", ""});
  g.appendRow({"4", "12:03:00", "59", "OK1EF .#_dupl_3", "59", "JN89AA", "250", ""});
  g.appendRow({"5", "12:04:00", "59", "Zr-123 Karel", "59", "JO70QQ", "0", ""});
  g.appendRow({"6", "12:05:00", "59", "OK1GH .#_", "59", "", "", ""});
  return g;
}

TEST(Colours, ScanMarksTheSpecialRows) {
  const Grid g = sampleLog();
  struct Case {
    const char* what;
    int nejdelsi;
    std::string_view podpis;
    std::vector<std::uint8_t> rows;
  };
  const Case cases[] = {
      {"longest 250", 250, "", {0, 0, kRadekNejdelsi, kRadekDuplicita,
                                kRadekNejdelsi | kRadekDuplicita, kRadekKlub, kRadekDuplicita}},
      // With no distance at all every "0" row is the longest; an empty km is not.
      {"longest 0", 0, "", {0, 0, 0, kRadekDuplicita, kRadekDuplicita, kRadekKlub | kRadekNejdelsi,
                            kRadekDuplicita}},
      {"signature", 9999, "Karel", {0, 0, 0, kRadekDuplicita, kRadekDuplicita,
                                    kRadekKlub | kRadekPodpis, kRadekDuplicita}},
  };
  for (const Case& c : cases) {
    const PlanMalovani p = NaplanujMalovani(g, c.nejdelsi, false, c.podpis);
    EXPECT_EQ(p.radky, c.rows) << c.what;
    EXPECT_FALSE(p.datumVRadcich) << c.what;
    EXPECT_FALSE(p.doplndatum) << c.what;
  }
  const PlanMalovani p = NaplanujMalovani(g, 250, false);
  EXPECT_EQ(p.radek(7), 0);  // rows added since the scan
  EXPECT_EQ(p.radek(-1), 0);
}

// After a stored contact only the new row is scanned, and only when adding
// it was all that changed; the plan is always the whole scan's.
TEST(Colours, PlanAfterAStoredContactIsTheWholeScan) {
  struct Case {
    const char* what;
    std::function<void(LogDocument&)> before;  // between the scan and the stored row
    Grid::Row row;
    int NejdelsiKm;  // after the row
  };
  const std::vector<Case> cases = {
      {"a plain row", [](LogDocument&) {}, {"7", "12:10:00", "59", "OK1XY Zr-5", "57", "JO80AA", "120", ""}, 250},
      {"a dated row", [](LogDocument&) {}, {"7", "[1.1.08] 12:10", "59", "OK1XY .#_", "57", "", "0", ""}, 250},
      {"a new longest", [](LogDocument&) {}, {"7", "12:10:00", "59", "OK1XY", "57", "JN00AA", "900", ""}, 900},
      {"a cell edited first", [](LogDocument& l) { l.Denik.setCell(1, kColVolacka, "OK1AB Zr-1"); },
       {"7", "12:10:00", "59", "OK1XY", "57", "", "0", ""}, 250},
      {"the date option ticked first", [](LogDocument& l) { l.doplndatum = true; },
       {"7", "12:10:00", "59", "OK1XY", "57", "", "0", ""}, 250},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LogDocument log;
    log.Denik = sampleLog();
    log.NejdelsiKm = 250;
    const PlanMalovani plan = NaplanujMalovani(log);
    c.before(log);
    const std::uint64_t pred = log.Denik.revision();
    log.Denik.appendRow(c.row);
    log.NejdelsiKm = c.NejdelsiKm;
    const PlanMalovani after = DoplnMalovani(plan, log, pred);
    const PlanMalovani whole = NaplanujMalovani(log);
    EXPECT_EQ(after.radky, whole.radky);
    EXPECT_EQ(after.datumVRadcich, whole.datumVRadcich);
    EXPECT_EQ(after.doplndatum, whole.doplndatum);
  }
}

TEST(Colours, ScanSeesADatedRowAndSwitchesTheDateOptionOn) {
  Grid g = sampleLog();
  g.setCell(0, kColCas, "dlouhý titulek");  // the title row never counts
  g.setCell(1, kColCas, "[1.1.08] 1");      // 10 characters: a date
  EXPECT_TRUE(NaplanujMalovani(g, 250, false).datumVRadcich);
  EXPECT_TRUE(NaplanujMalovani(g, 250, false).doplndatum);
  g.setCell(1, kColCas, "123456789");
  EXPECT_FALSE(NaplanujMalovani(g, 250, false).datumVRadcich);
  EXPECT_TRUE(NaplanujMalovani(g, 250, true).doplndatum);  // ticked stays ticked

  LogDocument log;
  log.Denik = sampleLog();
  log.Denik.setCell(2, kColCas, "[1.1.2008] 12:01:00");
  ColumnOptions o;
  o.gridWidth = 600;
  const PlanMalovani plan = NaplanujMalovani(log);
  ASSERT_TRUE(ZapniDatumPodlePlanu(plan, log, o));
  EXPECT_TRUE(log.doplndatum);
  EXPECT_TRUE(o.doplndatum);
  EXPECT_EQ(log.Denik.colWidth(kColCas), 140);  // the dated time column
  EXPECT_FALSE(ZapniDatumPodlePlanu(plan, log, o));  // already on: nothing to lay out

  LogDocument undated;
  undated.Denik = sampleLog();
  ColumnOptions u;
  EXPECT_FALSE(ZapniDatumPodlePlanu(NaplanujMalovani(undated), undated, u));
  EXPECT_FALSE(undated.doplndatum);
}

TEST(Colours, LaterRulesOverrideEarlierOnes) {
  const BarevneSchema s = SablonyBarev()[0].schema;  // Default
  const BarvyMrizky m = barvyDeniku(s);
  const StylBunky normal{s.BPOZ, s.BPDE};
  const StylBunky club{0x000080, 0xFFFFFF};
  const StylBunky signature{0x008000, 0xFFFFFF};
  const StylBunky longest{s.BNJS, KontrastniBarva(s.BNJS)};
  const StylBunky duplicate{s.BDUP, 0x000000};
  struct Case {
    std::uint8_t marks;
    int col;
    StylBunky want;
  };
  const Case cases[] = {
      {0, 0, normal},
      {0, 3, normal},
      {kRadekKlub, 0, normal},  // the number column keeps the row's own colours
      {kRadekKlub, 1, club},
      {kRadekKlub | kRadekPodpis, 4, signature},
      {kRadekKlub | kRadekNejdelsi, 7, longest},
      {kRadekNejdelsi, 0, longest},  // the longest contact colours every column
      {kRadekDuplicita, 0, normal},
      {kRadekDuplicita, 6, duplicate},
      {kRadekNejdelsi | kRadekDuplicita, 0, longest},
      {kRadekNejdelsi | kRadekDuplicita, 1, duplicate},
      {kRadekNejdelsi | kRadekDuplicita, 7, duplicate},
      {kRadekKlub | kRadekPodpis | kRadekNejdelsi | kRadekDuplicita, 3, duplicate},
  };
  for (const Case& c : cases) {
    PlanMalovani p;
    p.radky = {0, c.marks};
    EXPECT_EQ(StylBunkyDeniku(p, s, m, 1, c.col, StavBunky::Normalni), c.want)
        << int(c.marks) << " col " << c.col;
  }

  // The grid's own background depends on the cell's state; rules still win.
  PlanMalovani p;
  p.radky = {0, 0, kRadekDuplicita};
  EXPECT_EQ(StylBunkyDeniku(p, s, m, 0, 2, StavBunky::Pevna), (StylBunky{s.BPND, s.BPDE}));
  EXPECT_EQ(StylBunkyDeniku(p, s, m, 1, 2, StavBunky::Vybrana),
            (StylBunky{clHighlight, clHighlightText}));
  EXPECT_EQ(StylBunkyDeniku(p, s, m, 2, 2, StavBunky::Vybrana), duplicate);
  EXPECT_EQ(StylBunkyDeniku(p, s, kBarvyEditaceDeniku, 1, 2, StavBunky::Normalni),
            (StylBunky{0xFFFFFF, 0x000000}));
}

TEST(Colours, MonoTemplatePaintsBlackOnWhiteAndKeepsTheDuplicateBlue) {
  const BarevneSchema mono = SablonyBarev()[1].schema;
  PlanMalovani p;
  p.radky = {0, 0, kRadekDuplicita};
  const BarvyMrizky m = barvyDeniku(mono);
  EXPECT_EQ(StylBunkyDeniku(p, mono, m, 1, 3, StavBunky::Normalni),
            (StylBunky{0xFFFFFF, 0x000000}));
  EXPECT_EQ(StylBunkyDeniku(p, mono, m, 0, 3, StavBunky::Pevna), (StylBunky{0xFFFFFF, 0x000000}));
  EXPECT_EQ(StylBunkyDeniku(p, mono, m, 2, 3, StavBunky::Normalni),
            (StylBunky{0xF0CAA6, 0x000000}));
}

TEST(Colours, TextOffsetsFollowTheColumn) {
  struct Case {
    int col, width, text;
    bool datum;
    int want;
  };
  const Case cases[] = {
      {0, 30, 10, false, 10},  // centred
      {0, 20, 5, false, 8},    // 7.5 -> 8
      {2, 19, 6, false, 6},    // 6.5 -> 6
      {4, 21, 6, false, 8},
      {5, 10, 13, false, -2},  // -1.5 -> -2: wider text overflows both sides
      {5, 10, 11, false, 0},   // -0.5 -> 0
      {1, 60, 40, false, 10},
      {1, 140, 40, true, 1},  // the dated time starts at the left
      {6, 40, 15, false, 24},  // right-aligned, one pixel from the edge
      {6, 40, 15, true, 24},
      {3, 300, 50, false, 1},
      {7, 60, 20, true, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PosunTextu(c.col, c.width, c.text, c.datum), c.want)
        << "col " << c.col << " width " << c.width << " text " << c.text;
  // The painting measures a text only where its width moves it.
  for (int col = 0; col < kLogColumns + 2; ++col)
    for (bool datum : {false, true})
      EXPECT_EQ(PosunTextuPodleSirky(col, datum),
                PosunTextu(col, 100, 10, datum) != PosunTextu(col, 100, 30, datum))
          << "col " << col << " datum " << datum;
}

}  // namespace
}  // namespace vektrano
