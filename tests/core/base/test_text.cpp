// Texts here are cp1250 bytes: the compiler turns the Czech literals into the
// code page, so every expectation below is byte-exact.
#include "core/base/text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vektrano {
namespace {

constexpr KeyboardOptions kNone{};
constexpr KeyboardOptions kCzech{true, false};
constexpr KeyboardOptions kSlovak{false, true};
constexpr KeyboardOptions kBoth{true, true};

unsigned char byte(char c) { return static_cast<unsigned char>(c); }

TEST(TextChars, LetterAndDigitTestsAreAsciiOnly) {
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    EXPECT_EQ(isChar(c), b >= 'A' && b <= 'Z') << b;
    EXPECT_EQ(isNum(c), b >= '0' && b <= '9') << b;
  }
  EXPECT_FALSE(isChar('Á'));
  EXPECT_FALSE(isChar('a'));
}

TEST(TextRemovals, AsterisksBlanksAndRunsOfBlanks) {
  struct Case {
    std::string in, noStars, noBlanks, singleBlanks;
  } cases[] = {
      {"", "", "", ""},
      {"a   b ", "a   b ", "ab", "a b "},  // a single trailing blank stays
      {"  *Ž* ř  ", "  Ž ř  ", "*Ž*ř", " *Ž* ř "},
      {"***", "", "***", "***"},
      {" ", " ", "", " "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VyhodHvezdicky(c.in), c.noStars) << c.in;
    EXPECT_EQ(vyhodmezery(c.in), c.noBlanks) << c.in;
    EXPECT_EQ(vyhoddvojmezery(c.in), c.singleBlanks) << c.in;
  }
}

TEST(TextReport, DigitsAndDashesButNotTheDoubleDash) {
  struct Case {
    const char* word;
    bool report;
  } cases[] = {
      {"5-9", true}, {"59", true},  {"-", true},    {"---", true}, {"", true},
      {"--", false}, {"59a", false}, {"5 9", false}, {"5+9", false}, {"č9", false},
  };
  for (const auto& c : cases) EXPECT_EQ(JeReport(c.word), c.report) << '"' << c.word << '"';
}

TEST(TextPrevod, DigitRowLettersBecomeDigitsByKeyboard) {
  struct Case {
    std::string in;
    KeyboardOptions keyboard;
    std::string out;
  } cases[] = {
      {"", kNone, ""},
      {"jo70gq", kNone, "JO70GQ"},
      {"+ščžýáíé", kNone, "13467890"},
      {"+ŠČŽÝÁÍÉ", kNone, "13467890"},
      {"ěĚřŘ", kNone, "ěĚřŘ"},  // Czech-only letters stay, not upper-cased
      {"ěĚřŘ", kCzech, "2255"},
      {"+ščřž", kCzech, "13456"},
      {"ľĹťŤ", kNone, "ľĹťŤ"},
      {"ľĹťŤ", kSlovak, "2255"},
      {"ľĹťŤ", kCzech, "ľĹťŤ"},
      {"ěřľť", kSlovak, "ěř25"},
      {"ěřľťĽĺ", kBoth, "2525Ľĺ"},  // Ľ and ĺ are not on the Slovak digit row
      {"úůäóň", kBoth, "úůäóň"},      // accented letters outside the table
      {"5-9 ok1abc", kNone, "5-9 OK1ABC"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(prevod(c.in, c.keyboard), c.out) << c.in;
    EXPECT_EQ(prevod(c.in, c.keyboard).size(), c.in.size());
  }
  EXPECT_EQ(prevod("\xBE\xC5", kSlovak), "22");  // ľ is 190, Ĺ is 197
}

TEST(TextFolding, SearchFoldingDropsDiacriticsAndMergesWAndY) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"Vyšší Brod", "VISSI BROD"},
      {"Wiki", "VIKI"},
      {"WwYyÍÝíýŠšŤťŽžĽľĹĺÁáäČčÉĚéěĎďŇňÓóôŘŕřŮÚůú",
       "VVIIIIIISSTTZZLLLLAAACCEEEEDDNNOOORRRUUUU"},
      {"ÄÔŔ", "ÄÔŔ"},  // upper-case letters without a fold stay
      {"ß ąłś öü", "ß ąłś öü"},
      {"Žďár nad Sázavou 2", "ZDAR NAD SAZAVOU 2"},
      {"ok1-xyz/p", "OK1-XIZ/P"},
  };
  for (const auto& c : cases) EXPECT_EQ(PrevodJenNaVelke(c.in), c.out) << c.in;
}

TEST(TextCase, OwnUpperAndLowerCaseTables) {
  const std::string lower = "áčďéěíĺňóřšťúůýž";
  const std::string upper = "ÁČĎÉĚÍĹŇÓŘŠŤÚŮÝŽ";
  ASSERT_EQ(lower.size(), 16u);
  for (std::size_t i = 0; i < lower.size(); ++i) {
    EXPECT_EQ(byte(VelkyZnak(lower[i])), byte(upper[i])) << i;
    EXPECT_EQ(byte(VelkyZnak(upper[i])), byte(upper[i])) << i;
  }
  EXPECT_EQ(PrevodNaMale(upper), lower);
  EXPECT_EQ(PrevodNaMale("PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ Úpěl ĎÁBELSKÉ ÓDY"), "příliš žluťoučký kůň úpěl ďábelské ódy");

  // Letters outside the two lists keep their case, both ways.
  for (char c : std::string("äÄôÔŕŔľĽłŁśŚźŹżŻßöÖüÜ")) {
    EXPECT_EQ(byte(VelkyZnak(c)), byte(c));
    EXPECT_EQ(byte(PrevodNaMale(std::string(1, c))[0]), byte(c));
  }
  // Every byte that is no letter of either list goes through unchanged.
  const std::string letters = lower + upper;
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || letters.find(c) != std::string::npos)
      continue;
    EXPECT_EQ(byte(VelkyZnak(c)), b);
    EXPECT_EQ(byte(PrevodNaMale(std::string(1, c))[0]), b);
  }
  EXPECT_EQ(VelkyZnak('q'), 'Q');
  EXPECT_EQ(PrevodNaMale(""), "");
}

TEST(TextDigitRow, DigitsBecomeTheirKeyboardLetters) {
  struct Case {
    char digit;
    char upperCz, lowerCz, upperOther, lowerOther;
  } cases[] = {
      {'0', 'É', 'é', 'É', 'é'}, {'1', '+', '+', '+', '+'}, {'2', 'Ě', 'ě', 'Ĺ', 'ĺ'},
      {'3', 'Š', 'š', 'Š', 'š'}, {'4', 'Č', 'č', 'Č', 'č'}, {'5', 'Ř', 'ř', 'Ť', 'ť'},
      {'6', 'Ž', 'ž', 'Ž', 'ž'}, {'7', 'Ý', 'ý', 'Ý', 'ý'}, {'8', 'Á', 'á', 'Á', 'á'},
      {'9', 'Í', 'í', 'Í', 'í'}, {'a', 'a', 'a', 'a', 'a'}, {'é', 'é', 'é', 'é', 'é'},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(byte(CisloNaVelke(c.digit, kCzech)), byte(c.upperCz)) << c.digit;
    EXPECT_EQ(byte(CisloNaMale(c.digit, kCzech)), byte(c.lowerCz)) << c.digit;
    EXPECT_EQ(byte(CisloNaVelke(c.digit, kBoth)), byte(c.upperCz)) << c.digit;
    // Only the Czech option is consulted.
    for (const KeyboardOptions& k : {kNone, kSlovak}) {
      EXPECT_EQ(byte(CisloNaVelke(c.digit, k)), byte(c.upperOther)) << c.digit;
      EXPECT_EQ(byte(CisloNaMale(c.digit, k)), byte(c.lowerOther)) << c.digit;
    }
  }
  EXPECT_EQ(byte(CisloNaMale('2', kNone)), 229);
  EXPECT_EQ(byte(CisloNaVelke('2', kNone)), 197);
}

TEST(TextExceptions, LocatorExceptionWordsMatchExactly) {
  const std::vector<std::string> words = {"Sněžka", "JO70GQ", ""};
  EXPECT_TRUE(JeVyjimkaLokatoru("Sněžka", words));
  EXPECT_TRUE(JeVyjimkaLokatoru("JO70GQ", words));
  EXPECT_FALSE(JeVyjimkaLokatoru("SNĚŽKA", words));
  EXPECT_FALSE(JeVyjimkaLokatoru("Sněžk", words));
  EXPECT_FALSE(JeVyjimkaLokatoru("JO70GQ", {}));
}

TEST(TextCallSign, UpravvolackuCapitalisesWordsAndTheBracket) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"PETR novak* (okres)", "Petr Novak (OKRES)"},
      {"zr-12*", "Zr-12"},
      {"(abc", "(abc"},                            // no closing bracket
      {"a) b (c)", "A) B (c)"},                     // ")" before "(": no bracket part
      {"jan (ždár*) novák", "Jan Novák (ŽDÁR*)"},  // the bracket goes to the end, its "*" stays
      {"  ČESKÝ   krumlov  ", "Český Krumlov"},
      {"šárka ěřík", "Šárka Ěřík"},
      {"   ", ""},
      {"() x", "X ()"},
  };
  for (const auto& c : cases) EXPECT_EQ(upravvolacku(c.in), c.out) << c.in;
}

TEST(TextCallSign, UpravvolackuKeepsEveryWordOfALongText) {
  std::string in, out;
  for (int i = 0; i < 300; ++i) {
    in += "slovo" + std::to_string(i) + " ";
    out += (i ? " Slovo" : "Slovo") + std::to_string(i);
  }
  EXPECT_EQ(upravvolacku(in), out);
}

TEST(TextNotes, NoteWordsRemovedKeptAndCleaned) {
  struct Case {
    std::string in, without, only, beforeP, callSign;
  } cases[] = {
      // text, vyhodtecky, navaltecky, ponechtecky, OcistiVolacku
      {"", "", "", "", ""},
      {"Petr .pozdě .#_dupl_3", "Petr", ".pozdě .#_dupl_3", ".pozdě .#_dupl_3 ", "Petr"},
      {"Petr /p .x", "Petr /p", ".x", " ", ""},
      {".x Petr", "Petr", ".x", ".x ", "Petr"},
      {"OK1ABC .azimut_120  Jan", "OK1ABC Jan", ".azimut_120", ".azimut_120 ", "OK1ABC Jan"},
      {"a.b .c", "a.b", ".c", ".c ", "a.b"},  // a "." inside a word is no note
      {". .", "", ". .", ". . ", ""},
      {"Jan", "Jan", "", " ", "Jan"},
      {".", "", "", "", "."},  // too short for the note routines that need two
      {"x", "x", "", "", "x"},
      {"ok1abc/p Jan .x", "ok1abc/p Jan", ".x", " ", "Jan"},
      {"Jan .a /p .b", "Jan /p", ".a .b", ".a ", ""},
      {"a /m b /p c", "a /m b /p c", "", " ", "c"},
      {"  .x  ", "", ".x", ".x ", ""},
      {"Žďár .č", "Žďár", ".č", ".č ", "Žďár"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(vyhodtecky(c.in), c.without) << '"' << c.in << '"';
    EXPECT_EQ(navaltecky(c.in), c.only) << '"' << c.in << '"';
    EXPECT_EQ(ponechtecky(c.in), c.beforeP) << '"' << c.in << '"';
    EXPECT_EQ(OcistiVolacku(c.in), c.callSign) << '"' << c.in << '"';
  }
}

TEST(TextDate, VyhoddatumKeepsTheTimeAlone) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"[9.12.2026] 10:15", "10:15"},
      {"10:15", "10:15"},
      {" 10:15 [9.12.2026]", "10:15"},
      {"[9.12.2026 10:15", "[9.12.202610:15"},  // no closing bracket
      {"] 10 [", "]10["},
  };
  for (const auto& c : cases) EXPECT_EQ(vyhoddatum(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace vektrano
