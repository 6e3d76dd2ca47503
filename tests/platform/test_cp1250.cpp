#include "platform/cp1250.h"

#include <gtest/gtest.h>

namespace vektrano::platform {
namespace {

TEST(Cp1250, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(fromQString(toQString(all)), all);
  EXPECT_EQ(utf8ToCp1250(cp1250ToUtf8(all)), all);
}

TEST(Cp1250, LiteralsAreCp1250AndMapToTheirLetters) {
  const std::string text = "Příliš žluťoučký kůň úpěl ďábelské ódy ˙";
  EXPECT_EQ(static_cast<unsigned char>(text[1]), 0xF8);  // ř
  EXPECT_EQ(static_cast<unsigned char>(text.back()), 0xFF);  // the delete mark
  EXPECT_EQ(toQString(text), QString::fromUtf8(u8"Příliš žluťoučký kůň úpěl ďábelské ódy ˙"));
  EXPECT_EQ(cp1250ToUtf8("č"), std::string("\xC4\x8D", 2));
}

TEST(Cp1250, CharactersOutsideTheCodePageBecomeOneQuestionMark) {
  struct Case {
    QString in;
    std::string out;
  } cases[] = {
      {QString::fromUtf8(u8"a\u4e2db"), "a?b"},           // CJK
      {QString::fromUtf8(u8"x\U0001F600y"), "x?y"},        // surrogate pair, one character
      {QString::fromUtf8(u8"€ – ß"), "\x80 \x96 \xDF"},  // present in the code page
  };
  for (const auto& c : cases) EXPECT_EQ(fromQString(c.in), c.out);
}

}  // namespace
}  // namespace vektrano::platform
