// The azimuth notes of the whole log, added and removed after the question,
// and the statistics message.
#include "core/log/azimuth_notes.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/log/log_statistics.h"
#include "tests/support/message_recorder.h"

namespace vektrano {
namespace {

LogDocument logOf() {
  LogDocument log;
  log.lokportable = "JO70GQ";
  log.Denik.appendRow({"1", "10:00:00", "59", "Petr", "57", "JO70PO", "54", ""});
  log.Denik.appendRow({"2", "10:05:00", "59", "Jan", "59", "", "0", ""});
  log.Denik.appendRow({"3", "10:09:00", "59", "Eva", "59", "JN99JM", "200", ""});
  return log;
}

TEST(AzimuthNotes, AddedTwiceGivesTwoWordsOneRemovalTakesTheFirst) {
  test::MessageRecorder rec;
  rec.answer = platform::Answer::Yes;
  LogDocument log = logOf();
  ASSERT_EQ(PridejAzimuty(log), 2);  // the row without a locator gets none
  const std::string once = log.Denik.cell(1, kColVolacka);
  EXPECT_EQ(once.rfind("Petr .azimut_", 0), 0u);
  EXPECT_EQ(log.Denik.cell(2, kColVolacka), "Jan");
  EXPECT_EQ(PridejAzimuty(log), 2);
  const std::string twice = log.Denik.cell(1, kColVolacka);
  EXPECT_EQ(twice, once + " " + once.substr(5));
  EXPECT_EQ(rec.texts.back(), "Hotovo. Počet spočítaných azimutů = 2");

  ASSERT_EQ(OdeberAzimuty(log), 2);
  EXPECT_EQ(log.Denik.cell(1, kColVolacka), "Petr  " + once.substr(5));
  EXPECT_EQ(rec.texts.back(), "Hotovo. Počet odstraněných azimutů = 2");
  ASSERT_EQ(OdeberAzimuty(log), 2);
  EXPECT_EQ(log.Denik.cell(1, kColVolacka).find(".azimut_"), std::string::npos);
  EXPECT_EQ(OdeberAzimuty(log), 0);
}

TEST(AzimuthNotes, NoChangesAnswerNoOrAnEmptyLogAskNothing) {
  test::MessageRecorder rec;
  rec.answer = platform::Answer::No;
  LogDocument log = logOf();
  EXPECT_FALSE(PridejAzimuty(log).has_value());
  EXPECT_EQ(log.Denik.cell(1, kColVolacka), "Petr");
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(rec.texts[0], "Chceš přidat azimuty do všech řádků v deníku ?");
  LogDocument empty;
  EXPECT_FALSE(OdeberAzimuty(empty).has_value());
  EXPECT_EQ(rec.texts.size(), 1u);  // no question
}

// Both questions are Yes/No boxes with their own title and the warning icon:
// they change every row of the log.
TEST(AzimuthNotes, QuestionsWarnWithTheirTexts) {
  struct Case {
    std::optional<int> (*command)(LogDocument&);
    const char* text;
    const char* caption;
  } cases[] = {
      {PridejAzimuty, "Chceš přidat azimuty do všech řádků v deníku ?", "Přidat azimuty ?"},
      {OdeberAzimuty, "Chceš odebrat azimuty ze všech řádků v deníku ?", "Odebrat azimuty ?"},
  };
  for (const Case& c : cases) {
    std::vector<platform::Message> asked;
    const auto previous = platform::setMessageHandler([&](const platform::Message& m) {
      asked.push_back(m);
      return platform::Answer::No;
    });
    LogDocument log = logOf();
    c.command(log);
    platform::setMessageHandler(previous);
    ASSERT_EQ(asked.size(), 1u) << c.text;
    EXPECT_EQ(asked[0].text, c.text);
    EXPECT_EQ(asked[0].caption, c.caption);
    EXPECT_EQ(asked[0].kind, platform::MessageKind::Question);
    EXPECT_EQ(asked[0].icon, platform::QuestionIcon::Warning) << c.text;
    EXPECT_EQ(asked[0].defaultAnswer, platform::Answer::No);
  }
}

TEST(Statistics, TheMessageNamesLongestTotalCountAndAverage) {
  LogDocument log = logOf();
  EXPECT_FALSE(zpravaStatistik(log).has_value());  // before prumer: no distance known
  prumer(log);
  EXPECT_EQ(*zpravaStatistik(log),
            " Největší dosažená vzdálenost :200 km \r\n\r\n"
            " Celkem km _ _ _ _ _ _ _ _ _ _  : 254 km\r\n\r\n"
            " Celkem spojení _ _ _ _ _ _ _ _ : 2 ks\r\n\r\n"
            " Průměr v km na jedno spojení : 127 km/1");
  LogDocument empty;
  prumer(empty);
  EXPECT_FALSE(zpravaStatistik(empty).has_value());
}

}  // namespace
}  // namespace vektrano
