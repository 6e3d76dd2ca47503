// The reverse searches by distance and today's name days.
#include "core/reference/reverse_search.h"

#include <gtest/gtest.h>

#include "core/base/geometry.h"
#include "core/reference/name_days.h"
#include "tests/support/message_recorder.h"

namespace vektrano {
namespace {

TEST(ReverseSearch, ListsExactlyTheLinesWithinTheRange) {
  const std::string pvk =
      "JO70PO;Ok1abc Petr;1.1.2000\r\nJN99JM;Ok2xyz;Nezjištěno\r\nxx;bad\r\nJO70GQ;Ok3aa;2.2.2002\r\n";
  const int d = vypocet("JO70GQ", "JO70PO");
  test::MessageRecorder rec;
  const auto range = rozsahVzdalenosti(std::to_string(d), std::to_string(d));
  ASSERT_TRUE(range);
  const auto lines = DohledejPodleVzdalenosti(pvk, "/p/vektrano.pvk", "JO70GQ", *range, false);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Vyhledávám volačky s odpovídající vzdáleností od lokátoru : JO70GQ");
  EXPECT_EQ(lines[1], "JO70PO-Ok1abc Petr - 1.1.2000 / " + std::to_string(d) + " km");
  EXPECT_EQ(lines[2], "Vyhledávání dokončeno ...");

  const auto places =
      DohledejPodleVzdalenosti("JO70PO;Kozákov\r\n", "/p/vektrano.zr4", "JO70GQ", {1, 5000}, true);
  EXPECT_EQ(places[0], "Vyhledávám města s odpovídající vzdáleností od lokátoru : JO70GQ");
  EXPECT_EQ(places[1], "JO70PO-Kozákov / " + std::to_string(d) + " km");

  const auto missing = DohledejPodleVzdalenosti(std::nullopt, "/p/vektrano.pvk", "JO70GQ", {1, 9}, false);
  EXPECT_EQ(missing.back(), "/p/vektrano.pvk nenalezen.");
  EXPECT_TRUE(rec.texts.empty());
}

TEST(ReverseSearch, BoundsOfZeroOrNoNumberRunNoSearch) {
  test::MessageRecorder rec;
  for (auto [od, po] : {std::pair{"0", "100"}, std::pair{"100", "-5"}, std::pair{"abc", "10"},
                        std::pair{"", "10"}})
    EXPECT_FALSE(rozsahVzdalenosti(od, po).has_value()) << od << " " << po;
  EXPECT_EQ(rec.texts.size(), 4u);
  EXPECT_EQ(rec.texts[0], "Nulové hodnoty nejsou povoleny, počítám od 1 km ...");
  const auto ok = rozsahVzdalenosti(" 50 ", "100");
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->od, 50);
  EXPECT_EQ(ok->do_, 100);
}

TEST(NameDays, TodaysNamesAreShownDayDotMonthHyphenNames) {
  const std::string jmn = "3011;Ondřej\r\n0112;Iva\r\n0212;Blanka\r\n";
  EXPECT_EQ(textDnesSvatek(jmn, "/p/vektrano.jmn", 1, 12), "Dnes má svátek :\r\n\r\n01.12-Iva\r\n");
  EXPECT_EQ(textDnesSvatek(jmn, "/p/vektrano.jmn", 5, 5), "Dnes má svátek :\r\n\r\n");
  EXPECT_EQ(textDnesSvatek(std::nullopt, "/p/vektrano.jmn", 1, 12),
            "Dnes má svátek :\r\n\r\n/p/vektrano.jmn nenalezen.");
}

}  // namespace
}  // namespace vektrano
