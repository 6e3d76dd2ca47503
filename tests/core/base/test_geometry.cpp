#include "core/base/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace vektrano {
namespace {

TEST(Testlok, AcceptsOnlySixCharactersOfTheLocatorAlphabet) {
  struct Case {
    const char* text;
    bool valid;
  } cases[] = {
      {"JO70GQ", true},  {"AA00AA", true},   {"XX99XX", true},   {"RR99XX", true},
      {"", false},       {"JO70G", false},   {"JO70GQA", false}, {"jo70gq", false},  // no folding
      {"JY70GQ", false}, {"JZ70GQ", false},  {"YO70GQ", false},  {"JO70GY", false},  // 'Y', 'Z' refused
      {"JO7AGQ", false}, {"JOA0GQ", false},  {"JO70G5", false},  {"JO70 Q", false},
  };
  for (const auto& c : cases) EXPECT_EQ(testlok(c.text), c.valid) << c.text;
  EXPECT_FALSE(testlok(std::string_view("JO70G\0", 6)));
}

struct Pair {
  const char* own;
  const char* other;
  int km;
  int degrees;
};

TEST(Geometry, WorkedDistancesAndAzimuthsFromTheOwnLocator) {
  const Pair cases[] = {
      {"JO70GQ", "JO80GQ", 141, 89},   // east: the bearing is taken at the corners, not 90
      {"JO70GQ", "JO60GQ", 141, 271},  // west
      {"JO70GQ", "JO71GQ", 111, 0},    // due north
      {"JO70GQ", "JN79GQ", 111, 180},  // due south
      {"JO70GQ", "JO70GR", 5, 0},      // next sub-square
      {"JO70GQ", "JN99JM", 329, 112},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(vypocet(c.own, c.other), c.km) << c.own << " " << c.other;
    EXPECT_EQ(pocitejazimut(c.own, c.other), c.degrees) << c.own << " " << c.other;
  }
}

TEST(Geometry, VerdictsForEqualShortAndWrongTexts) {
  const Pair cases[] = {
      // Equal texts: 0 from both, even when invalid or empty.
      {"", "", 0, 0},
      {"xx", "xx", 0, 0},
      {"JO70GQ", "JO70GQ", 0, 0},
      // An empty or short other locator: 0 from both.
      {"JO70GQ", "", 0, 0},
      {"JO70GQ", "JO70G", 0, 0},
      {"JO70GQ", "JO70GQQ", 0, 0},
      // A short own locator: 0 km; no azimuth can be taken from it.
      {"JO70G", "JO80GQ", 0, -1},
      {"", "JO80GQ", 0, -1},
      // A wrong character in the own locator: -1 from both.
      {"jo70gq", "JO80GQ", -1, -1},
      {"JO7AGQ", "JO80GQ", -1, -1},
      {"JO70G5", "JO80GQ", -1, -1},
      {"J 70GQ", "JO80GQ", -1, -1},
      // 'Y' and 'Z' pass the letter test of both routines.
      {"JZ70GQ", "JO70GQ", 12225, 180},
      // The other locator is checked only for the azimuth; the distance takes
      // its raw character values.
      {"JO70GQ", "jo70gq", 8082, -1},
      {"JO70GQ", "JO8AGQ", 1893, -1},  // latitude digit value 17
  };
  for (const auto& c : cases) {
    EXPECT_EQ(vypocet(c.own, c.other), c.km) << '"' << c.own << "\" \"" << c.other << '"';
    EXPECT_EQ(pocitejazimut(c.own, c.other), c.degrees) << '"' << c.own << "\" \"" << c.other << '"';
  }
}

TEST(Geometry, SameOrAntipodalPointGivesALimitInsteadOfDividingByZero) {
  // Unchecked other letters can name the own point by another text: the
  // cosine is exactly 1.
  EXPECT_EQ(vypocet("JO70GQ", "IOA0GQ"), 0);
  // Exact antipodes: the cosine comes out at -1 or just below it, where the
  // square root of 1 - c^2 would be 0 or not a number. Half the 40009 km
  // circumference, 20004.5000001 km.
  EXPECT_EQ(vypocet("AA00AB", "JR09AW"), 20005);
  EXPECT_EQ(vypocet("AA00AG", "JR09AR"), 20005);
  // Nearly antipodal, through the ordinary formula.
  EXPECT_EQ(vypocet("JO70GQ", "AD79GH"), 20004);
}

// One own locator asked for many others, as a search asks for its lines:
// every answer is vypocet's, also for others that share a longitude or a
// latitude with an earlier one or land on what an earlier one remembered.
TEST(Geometry, DistancesFromOneLocatorAreThoseOfVypocet) {
  std::vector<std::string> others = {"", "JO70G", "JO70GQQ", "JO70GQ", "jo70gq", "JO8AGQ", "IOA0GQ",
                                     "JR09AW", "AA42MT", "AR52IJ", "AD79GH"};
  std::mt19937 rng(7);
  auto pick = [&](char first, int n) { return static_cast<char>(first + rng() % n); };
  for (int i = 0; i < 20000; ++i)
    others.push_back({pick('A', 18), pick('A', 18), pick('0', 10), pick('0', 10), pick('A', 24),
                      pick('A', 24)});
  for (const char* own : {"JO70GQ", "AA00AB", "JZ70GQ", "XX99XX", "jo70gq", "JO70G", ""}) {
    DistancesFrom from(own);
    for (int pass = 0; pass < 2; ++pass)
      for (const std::string& other : others)
        ASSERT_EQ(from.to(other), vypocet(own, other)) << '"' << own << "\" \"" << other << '"';
  }
}

TEST(Geometry, DistanceKeepsItsNineDigitDegreeFactor) {
  // Unrounded 15946.499995 km; with the exact pi/180 it would be
  // 15946.500108 and round up.
  EXPECT_EQ(vypocet("JO70GQ", "AA42MT"), 15946);
  // 5212.500000007 km.
  EXPECT_EQ(vypocet("JO70GQ", "AR52IJ"), 5213);
}

TEST(Geometry, AzimuthJustWestOfNorthRoundsTo360) {
  // The reduction to 0..360 comes before the rounding.
  EXPECT_EQ(pocitejazimut("JO70GQ", "IR09AL"), 360);
  EXPECT_EQ(pocitejazimut("JO70GQ", "IR09AX"), 360);
}

TEST(Geometry, RoundingTakesHalvesToTheEvenNeighbour) {
  struct Case {
    double value;
    int rounded;
  } cases[] = {
      {0.5, 0},          {1.5, 2},         {2.5, 2},          {3.5, 4},       {-0.5, 0},
      {-1.5, -2},        {141.5, 142},     {142.5, 142},      {359.5, 360},   {358.5, 358},
      {20004.5, 20004},  {0.49999999, 0},  {2.5000001, 3},    {7.4, 7},       {-7.6, -8},
  };
  for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c.value), c.rounded) << c.value;
}

TEST(Geometry, CornerCoordinatesInRadians) {
  constexpr double deg = std::numbers::pi / 180.0;
  struct Case {
    const char* locator;
    double lonDeg;
    double latDeg;
  } cases[] = {
      {"JJ00AA", 0.0, 0.0},
      {"JO70GQ", 14.5, 50.0 + 16.0 / 24.0},
      {"AA00AA", -180.0, -90.0},
      {"RR99XX", 180.0 - 1.0 / 12.0, 90.0 - 1.0 / 24.0},
      {"", 0.0, 0.0},  // missing characters count as the origin
      {"JO7", 14.0, 50.0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(zdelka(c.locator), c.lonDeg * deg, 1e-12) << c.locator;
    EXPECT_NEAR(zsirka(c.locator), c.latDeg * deg, 1e-12) << c.locator;
  }
}

}  // namespace
}  // namespace vektrano
