// Direction finding: the locator table, the direction list file and the
// border cells of the bearings.
#include "core/pictures/direction_finding.h"

#include <gtest/gtest.h>

#include "core/base/geometry.h"

namespace vektrano {
namespace {

TEST(DirectionFinding, TableCellsLieAtTheMapPixelsOfTheirLocators) {
  EXPECT_EQ(lokatorBunky({1, 1}), "JO61AX");
  EXPECT_EQ(lokatorBunky({144, 120}), "KN17XA");
  EXPECT_EQ(lokatorBunky({82, 60}), "JN99JM");
  for (int c = 1; c <= kSloupcuMapy; ++c)
    for (int r = 1; r <= kRadkuMapy; ++r) {
      const std::string l = lokatorBunky({c, r});
      ASSERT_TRUE(testlok(l)) << c << "," << r;
      ASSERT_EQ(fx(l), 4 * c) << l;
      ASSERT_EQ(fy(l), 4 * r) << l;
    }
}

TEST(DirectionFinding, CellUnderTheMouseStaysInsideTheTable) {
  const struct {
    int x, y;
    Bunka b;
  } cases[] = {{0, 0, {1, 1}},        {3, 3, {1, 1}},       {4, 4, {2, 2}},
               {575, 479, {144, 120}}, {576, 480, {144, 120}}, {900, -7, {144, 1}},
               {-30, 250, {1, 63}}};
  for (const auto& c : cases) EXPECT_EQ(bunkaPodMysi(c.x, c.y), c.b) << c.x << "," << c.y;
}

TEST(DirectionFinding, FileLinesIntoRowsAndBackWithTheLinesBeyondTheNinth) {
  const std::string file =
      "Volačka;Lokátor;Azimut\r\n"
      "Kozákov;JO70PO;210\r\n"
      "a;b;c;d;e\r\n"     // five fields: the last three stay
      "jen text\r\n"      // no ";": the row stays empty
      "Sněžka;JO70SR\r\n" // no second ";": the second cell is empty, the rest the third
      "\r\n\r\n\r\n\r\n"
      "Desátá;JN99JM;100\r\n"
      "Jedenáctá;JN88UU;5\r\n";
  const SeznamSmeru s = nactiSeznamSmeru(file);
  EXPECT_EQ(s.radky[0], (RadekSmeru{"Volačka", "Lokátor", "Azimut"}));
  EXPECT_EQ(s.radky[1], (RadekSmeru{"Kozákov", "JO70PO", "210"}));
  EXPECT_EQ(s.radky[2], (RadekSmeru{"c", "d", "e"}));
  EXPECT_EQ(s.radky[3], (RadekSmeru{"", "", ""}));
  EXPECT_EQ(s.radky[4], (RadekSmeru{"Sněžka", "", "JO70SR"}));
  EXPECT_EQ(s.dalsiRadky, (std::vector<std::string>{"Desátá;JN99JM;100", "Jedenáctá;JN88UU;5"}));

  SeznamSmeru edited = s;
  edited.radky[3] = {"Ještěd;x", "JO70\nAA", "45"};  // would split the record
  EXPECT_EQ(textSeznamuSmeru(edited),
            "Volačka;Lokátor;Azimut\r\nKozákov;JO70PO;210\r\nc;d;e\r\nJeštěd,x;JO70 AA;45\r\n"
            "Sněžka;;JO70SR\r\n;;\r\n;;\r\n;;\r\n;;\r\nDesátá;JN99JM;100\r\nJedenáctá;JN88UU;5\r\n");
  EXPECT_EQ(nactiSeznamSmeru(textSeznamuSmeru(edited)).radky[3],
            (RadekSmeru{"Ještěd,x", "JO70 AA", "45"}));
}

TEST(DirectionFinding, AzimuthCellsFrom0To360) {
  const struct {
    const char* cell;
    int az;
  } cases[] = {{"0", 0}, {"210", 210}, {"360", 360}, {" 93 ", 93}, {"361", -1},
               {"-1", -1}, {"abc", -1}, {"", -1}, {"12.5", -1}};
  for (const auto& c : cases) EXPECT_EQ(azimutStanice(c.cell), c.az) << c.cell;
}

TEST(DirectionFinding, BorderCellsOfTheDefaultStations) {
  const struct {
    const char* station;
    int az;
    Bunka b;
  } cases[] = {
      {"JO70PO", 210, {4, 120}},   // Kozákov: the bottom row
      {"JN88UU", 310, {1, 8}},     // Javorina: the left column
      {"JO60LJ", 93, {144, 60}},   // Klínovec: the right column
  };
  for (const auto& c : cases) {
    const Bunka b = NajdiOkrajovyLokator(c.station, c.az);
    EXPECT_EQ(b, c.b) << c.station;
    EXPECT_EQ(pocitejazimut(c.station, lokatorBunky(b)), c.az) << c.station;
  }
  // Into the top left corner: the top row is tried first and the corner is its first cell.
  const int corner = pocitejazimut("JO70GQ", lokatorBunky({1, 1}));
  EXPECT_EQ(NajdiOkrajovyLokator("JO70GQ", corner), (Bunka{1, 1}));
  // From the corner cell itself the border shows 0 (the cell), about 85
  // (the top row) and 180 (the left column). 359 is 359 off the corner's 0,
  // as the difference never crosses the seam, so a cell due south wins.
  EXPECT_EQ(NajdiOkrajovyLokator("JO61AX", 1), (Bunka{1, 1}));
  const Bunka seam = NajdiOkrajovyLokator("JO61AX", 359);
  EXPECT_EQ(seam.c, 1);
  EXPECT_EQ(pocitejazimut("JO61AX", lokatorBunky(seam)), 180);
}

TEST(DirectionFinding, BearingsOfTheValidRowsOnly) {
  SeznamSmeru s;
  s.radky[1] = {"Kozákov", "JO70PO", "360"};
  s.radky[2] = {"Špatný", "JO70PO", "361"};
  s.radky[3] = {"Text", "JO70PO", "abc"};
  s.radky[4] = {"Malý", "jo70po", "100"};
  s.radky[8] = {"Klínovec", "JO60LJ", "93"};
  const auto k = kresbaSmeru(s);
  ASSERT_EQ(k.size(), 6u);
  EXPECT_EQ(k[0].druh, TvarMapy::Druh::Kruh);
  EXPECT_EQ(std::make_tuple(k[0].x1, k[0].y1, k[0].barva, k[0].sirka),
            std::make_tuple(fx("JO70PO") - 4, fy("JO70PO") - 4, 0x800000u, 3));
  EXPECT_EQ(k[1].text, "Kozákov");
  EXPECT_EQ(std::make_tuple(k[1].x1, k[1].y1, k[1].velikost, k[1].kurziva),
            std::make_tuple(fx("JO70PO") + 5, fy("JO70PO"), 7, true));
  EXPECT_EQ(std::make_tuple(k[2].barva, k[2].sirka), std::make_tuple(0x0000FFu, 1));
  EXPECT_EQ(std::make_pair(k[5].x2, k[5].y2), std::make_pair(4 * 144, 4 * 60));
  EXPECT_EQ(k[4].text, "Klínovec");
}

}  // namespace
}  // namespace vektrano
