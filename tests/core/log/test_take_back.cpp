// Ctrl+F8 without a window: the last contact's text for the entry line and
// the row gone from the grid, and the message for an empty log.
#include "core/log/take_back.h"

#include <gtest/gtest.h>

#include "tests/support/message_recorder.h"

namespace vektrano {
namespace {

LogDocument logOf(const std::vector<Grid::Row>& rows) {
  LogDocument log;
  for (const Grid::Row& r : rows) log.Denik.appendRow(r);
  log.PocetSpojeni = log.contactCount();
  return log;
}

TEST(TakeBack, TheLastContactComesBackAsOneLineOfText) {
  struct Case {
    const char* note;
    std::vector<Grid::Row> rows;
    std::string text;
    std::string cisspoj;  // the number of the next contact afterwards
  } cases[] = {
      {"one contact", {{"1", "12:34:00", "59", "Petr", "57", "JO70PO", "54", ",chata"}},
       "12:34:00 59 Petr 57 JO70PO ,chata", "1"},
      {"the date stays behind, empty cells add nothing",
       {{"1", "10:00:00", "59", "Jan", "59", "JO60LJ", "120", ""},
        {"2", "[9.12.2026] 11:05:00", "", "Ok1abc Karel .azimut_293", "", "", "0", ""}},
       "11:05:00 Ok1abc Karel .azimut_293", "2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    test::MessageRecorder rec;
    LogDocument log = logOf(c.rows);
    const int before = log.contactCount();
    const auto text = VratPosledniSpojeni(log);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, c.text);
    EXPECT_EQ(log.contactCount(), before - 1);
    EXPECT_EQ(log.PocetSpojeni, before - 1);
    EXPECT_EQ(log.Denik.rowCount(), before);  // the title row and the rest
    EXPECT_EQ(log.cisspoj, c.cisspoj);
    EXPECT_TRUE(rec.texts.empty());
  }
}

TEST(TakeBack, AnEmptyLogSaysSoAndStaysAsItIs) {
  test::MessageRecorder rec;
  LogDocument log = logOf({{"1", "12:00:00", "59", "Eva", "59", "", "0", ""}});
  ASSERT_TRUE(VratPosledniSpojeni(log));
  EXPECT_FALSE(VratPosledniSpojeni(log).has_value());
  EXPECT_EQ(rec.texts, std::vector<std::string>{"Už není co mazat, deník je prázdný!"});
  EXPECT_EQ(log.Denik.rowCount(), 1);
  EXPECT_EQ(log.Denik.cell(0, kColVolacka), "Volačka");
}

}  // namespace
}  // namespace vektrano
