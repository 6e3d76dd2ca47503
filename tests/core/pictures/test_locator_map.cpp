#include "core/pictures/locator_map.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/base/geometry.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

// A locator exactly km away from own, searched over the sub-squares of a
// few fields west of it.
std::string lokatorVeVzdalenosti(const std::string& own, int km) {
  for (char f1 : std::string("GHIJ"))
    for (char f2 : std::string("LMNOP"))
      for (char d1 = '0'; d1 <= '9'; ++d1)
        for (char d2 = '0'; d2 <= '9'; ++d2)
          for (char s1 = 'A'; s1 <= 'X'; ++s1)
            for (char s2 = 'A'; s2 <= 'X'; ++s2) {
              const std::string l{f1, f2, d1, d2, s1, s2};
              if (vypocet(own, l) == km) return l;
            }
  return {};
}

TEST(LocatorMap, DistanceLabelKeepsKmOnlyBelowFourDigits) {
  const std::string at999 = lokatorVeVzdalenosti("JO70GQ", 999);
  const std::string at1000 = lokatorVeVzdalenosti("JO70GQ", 1000);
  ASSERT_FALSE(at999.empty());
  ASSERT_FALSE(at1000.empty());
  const struct {
    std::string own, other, label;
  } cases[] = {
      {"JO70GQ", "JO70GQ", "0 km"},
      {"JO70GQ", "JO80GQ", "141 km"},
      {"JO70GQ", at999, "999 km"},
      {"JO70GQ", at1000, "1000"},
      {"jo70gq", "JO80GQ", "-1 km"},  // an own locator with a wrong character
      {"JO70GQ", "JO70", "0 km"},     // wrong length
  };
  for (const auto& c : cases) EXPECT_EQ(textVzdalenosti(c.own, c.other), c.label) << c.other;
}

TEST(LocatorMap, NeighboursCarryIntoTheSquareAndTheFieldAndWrap) {
  const struct {
    const char* l;
    const char *north, *south, *west, *east;
  } cases[] = {
      {"JO70GQ", "JO70GR", "JO70GP", "JO70FQ", "JO70HQ"},
      {"JN99XX", "JO90XA", "JN99XW", "JN99WX", "KN09AX"},
      {"AA00AA", "AA00AB", "AX09AX", "XA90XA", "AA00BA"},
      {"XX99XX", "XA90XA", "XX99XW", "XX99WX", "AX09AX"},
      {"JO70AA", "JO70AB", "JN79AX", "JO60XA", "JO70BA"},
  };
  for (const auto& c : cases) {
    const auto s = zjistiSousedy(c.l);
    ASSERT_TRUE(s) << c.l;
    EXPECT_EQ(s->sever, c.north) << c.l;
    EXPECT_EQ(s->jih, c.south) << c.l;
    EXPECT_EQ(s->zapad, c.west) << c.l;
    EXPECT_EQ(s->vychod, c.east) << c.l;
  }
  for (const char* bad : {"", "JO70G", "jo70gq", "JZ70GQ", "JO70GY"})
    EXPECT_FALSE(zjistiSousedy(bad)) << bad;
}

class LocatorFiles : public ::testing::Test {
 protected:
  void put(const std::string& relative) {
    const auto p = std::filesystem::path(dir_.file(relative));
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p) << "jpeg";
  }
  std::string maps() const { return dir_.file("mapy"); }
  std::string photos() const { return dir_.file("foto"); }
  test::TempDir dir_;
};

TEST_F(LocatorFiles, MapsAreFoundInAnyLetterCaseAndOnlyForValidLocators) {
  put("mapy/JO70/JO70GQ.JPG");
  put("mapy/jn99/jn99jm.jpg");
  put("mapy/secret.jpg");
  EXPECT_EQ(cestaMapy(maps(), "JO70GQ"), maps() + "/JO70/JO70GQ.jpg");
  EXPECT_EQ(najdiMapu(maps(), "JO70GQ"), maps() + "/JO70/JO70GQ.JPG");
  EXPECT_EQ(najdiMapu(maps(), "JN99JM"), maps() + "/jn99/jn99jm.jpg");
  EXPECT_TRUE(mapaexist(maps(), "JO70GQ"));
  EXPECT_FALSE(mapaexist(maps(), "JO70GR"));
  // Six characters that are no locator never become a path.
  for (const char* bad : {"../sec", "JO/../", "jo70gq", "JO70G"}) {
    EXPECT_EQ(cestaMapy(maps(), bad), "") << bad;
    EXPECT_FALSE(najdiMapu(maps(), bad)) << bad;
  }
  // A folder by the map's name is no map.
  std::filesystem::create_directories(dir_.file("mapy/JO70/JO70GR.jpg"));
  EXPECT_FALSE(mapaexist(maps(), "JO70GR"));
}

TEST_F(LocatorFiles, PhotoListHoldsTheLettersThatExistInOrder) {
  put("foto/JO70FOTO/JO70GQ-A.jpg");
  put("foto/JO70FOTO/jo70gq-c.JPG");
  put("foto/JO70FOTO/JO70GQ-Z.jpg");
  put("foto/JO70FOTO/JO70GR-B.jpg");
  const auto list = seznamFotografii(photos(), "JO70GQ");
  std::vector<std::string> items;
  for (const auto& f : list) items.push_back(f.polozka);
  EXPECT_EQ(items, (std::vector<std::string>{"JO70GQ-A.jpg", "JO70GQ-C.jpg", "JO70GQ-Z.jpg"}));
  EXPECT_EQ(list[1].cesta, photos() + "/JO70FOTO/jo70gq-c.JPG");
  EXPECT_EQ(najdiFotografii(photos(), "JO70GR-B.jpg"), photos() + "/JO70FOTO/JO70GR-B.jpg");
  for (const char* bad : {"JO70GR-b.jpg", "../../x-A.jpg", "JO70GR-B.jpgx", "JO70GR-1.jpg"})
    EXPECT_FALSE(najdiFotografii(photos(), bad)) << bad;
  EXPECT_TRUE(seznamFotografii(photos(), "JO70GS").empty());
}

TEST(LocatorMap, HandBackReplacesTheTypedLocatorOrAppends) {
  const struct {
    const char *line, *typed, *shown, *result;
  } cases[] = {
      {"59 57 OK1ABC JO70GQ Petr", "JO70GQ", "JO70GR", "59 57 OK1ABC JO70GR Petr"},
      {"JO70GQ JO70GQ", "JO70GQ", "JN99JM", "JN99JM JO70GQ"},  // the first occurrence only
      {"59 57 OK1ABC ", "JO70GQ", "JO70GR", "59 57 OK1ABC JO70GR"},  // deleted meanwhile
      {"59 57 OK1ABC", "JO70GQ", "JO70GR", "59 57 OK1ABC JO70GR"},
      {"OK1ABC", "", "JO70GR", "OK1ABC JO70GR"},  // nothing typed
      {"", "JO70GQ", "JO70GR", "JO70GR"},
  };
  for (const auto& c : cases) EXPECT_EQ(vymenlokator(c.line, c.typed, c.shown), c.result) << c.line;
}

TEST(LocatorMap, RememberedRowTakesTheHandBackOnlyWhileItIsUnchanged) {
  Grid g(2, 3);
  g.setRow(0, {"JO70GQ", "Praha"});
  g.setRow(1, {"JN99JM", "Beskydy"});
  g.setRow(2, {"JO60LJ", "Klínovec"});
  const RadekPredani pamet = zapamatujRadek(g, 1);
  EXPECT_EQ(radekProPredani(g, pamet), 1);

  Grid removed = g;
  removed.removeRow(1);  // the row below moved up into its place
  EXPECT_EQ(radekProPredani(removed, pamet), -1);
  Grid cut = g;
  cut.setRowCount(1);
  EXPECT_EQ(radekProPredani(cut, pamet), -1);
  Grid sorted = g;
  sorted.swapRows(1, 2);
  EXPECT_EQ(radekProPredani(sorted, pamet), -1);
  EXPECT_EQ(radekProPredani(g, zapamatujRadek(g, 7)), -1);
}

}  // namespace
}  // namespace vektrano
