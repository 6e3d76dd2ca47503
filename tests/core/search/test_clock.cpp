#include "core/search/clock.h"

#include <gtest/gtest.h>

#include "platform/message.h"

namespace vektrano {
namespace {
using platform::DateTime;

DateTime at(int y, int mo, int d, int h, int mi, int s, int ms = 0) { return {y, mo, d, h, mi, s, ms}; }

TEST(Clock, TimeAlwaysHasTwoDigitsForTheHour) {
  EXPECT_EQ(textCasu(at(2026, 12, 10, 9, 5, 7)), "09:05:07");
  EXPECT_EQ(textCasu(at(2026, 12, 10, 0, 0, 1)), "00:00:01");
  EXPECT_EQ(textCasu(at(2026, 12, 10, 21, 30, 59)), "21:30:59");
}

TEST(Clock, LabelAndPanelOnlyWhenTheyChange) {
  Hodiny h;
  Hodiny::Tick t = h.Timer1Timer(at(2026, 12, 10, 9, 5, 7), "10.12.2026");
  EXPECT_EQ(t.cas, "09:05");
  EXPECT_EQ(t.panel0, " 09:05:07");
  EXPECT_FALSE(t.ReIndexace);

  t = h.Timer1Timer(at(2026, 12, 10, 9, 5, 7, 950), "10.12.2026");  // the same second again
  EXPECT_FALSE(t.cas);
  EXPECT_FALSE(t.panel0);

  t = h.Timer1Timer(at(2026, 12, 10, 9, 5, 8), "10.12.2026");
  EXPECT_FALSE(t.cas);
  EXPECT_EQ(t.panel0, " 09:05:08");

  t = h.Timer1Timer(at(2026, 12, 10, 9, 6, 0), "10.12.2026");
  EXPECT_EQ(t.cas, "09:06");
  EXPECT_EQ(t.panel0, " 09:06:00");
}

// The indexes are rebuilt on the first tick of a new day, even when the
// machine missed 00:00:01, and once per day.
TEST(Clock, RebuildOnTheFirstTickOfANewDay) {
  struct Case {
    const char* name;
    DateTime now;
    std::string DnesniDatum;
    bool rebuild;
  };
  const std::vector<Case> cases = {
      {"same day", at(2026, 12, 10, 23, 59, 59), "10.12.2026", false},
      {"at 00:00:01", at(2026, 12, 11, 0, 0, 1), "10.12.2026", true},
      {"00:00:01 skipped", at(2026, 12, 11, 0, 0, 3), "10.12.2026", true},
      {"the machine slept for days", at(2026, 12, 14, 8, 0, 0), "10.12.2026", true},
      {"already rebuilt today", at(2026, 12, 11, 0, 0, 1), "11.12.2026", false},
      {"before the first rebuild", at(2026, 12, 11, 0, 0, 1), "", false},
  };
  for (const Case& c : cases) {
    Hodiny h;
    EXPECT_EQ(h.Timer1Timer(c.now, c.DnesniDatum).ReIndexace, c.rebuild) << c.name;
  }

  Hodiny h;
  EXPECT_TRUE(h.Timer1Timer(at(2026, 12, 11, 0, 0, 1), "10.12.2026").ReIndexace);
  // A second tick in the same second, the rebuild having recorded the day.
  EXPECT_FALSE(h.Timer1Timer(at(2026, 12, 11, 0, 0, 1, 950), "11.12.2026").ReIndexace);
  // Not again for the same day even if the rebuild left the day as it was.
  EXPECT_FALSE(h.Timer1Timer(at(2026, 12, 11, 0, 0, 2), "10.12.2026").ReIndexace);
  EXPECT_TRUE(h.Timer1Timer(at(2026, 12, 12, 0, 0, 1), "11.12.2026").ReIndexace);
}

TEST(UpdateReminder, FiresAtOrPastItsMomentThenAWeekLater) {
  UpdateReminder r = UpdateReminder::afterStart(at(2026, 12, 31, 23, 59, 57, 400));
  EXPECT_EQ(r.moment(), at(2027, 1, 1, 0, 0, 2));
  EXPECT_FALSE(r.Timer3Timer(at(2027, 1, 1, 0, 0, 1, 999)));
  EXPECT_TRUE(r.Timer3Timer(at(2027, 1, 1, 0, 0, 2, 300)));
  EXPECT_EQ(r.moment(), at(2027, 1, 8, 0, 0, 2));
  EXPECT_FALSE(r.Timer3Timer(at(2027, 1, 1, 0, 0, 3)));

  // A tick that missed the exact second still fires.
  UpdateReminder late = UpdateReminder::afterStart(at(2026, 12, 10, 9, 0, 0));
  EXPECT_TRUE(late.Timer3Timer(at(2026, 12, 10, 9, 0, 7)));
  EXPECT_FALSE(late.Timer3Timer(at(2026, 12, 10, 9, 0, 8)));

  // After three weeks asleep it fires once, and next a week on from its
  // last moment that lies ahead.
  UpdateReminder slept(at(2026, 12, 1, 12, 0, 0));
  EXPECT_TRUE(slept.Timer3Timer(at(2026, 12, 22, 13, 0, 0)));
  EXPECT_EQ(slept.moment(), at(2026, 12, 29, 12, 0, 0));
  EXPECT_FALSE(slept.Timer3Timer(at(2026, 12, 22, 13, 0, 1)));
}

TEST(UpdateReminder, DaysBetweenIgnoresTheTimeOfDay) {
  EXPECT_EQ(daysBetween(at(2026, 12, 10, 23, 59, 0), at(2026, 12, 11, 0, 1, 0)), 1);
  EXPECT_EQ(daysBetween(at(2026, 12, 11, 0, 0, 0), at(2026, 12, 3, 0, 0, 0)), 8);
  EXPECT_EQ(daysBetween(at(2024, 2, 28, 0, 0, 0), at(2024, 3, 1, 0, 0, 0)), 2);
  EXPECT_EQ(daysBetween(at(2026, 12, 28, 0, 0, 0), at(2027, 1, 4, 0, 0, 0)), 7);
}

class Reminder : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m);
      return m.kind == platform::MessageKind::Question ? answer_ : platform::Answer::Ok;
    });
  }
  void TearDown() override { platform::setMessageHandler(previous_); }

  platform::MessageHandler previous_;
  std::vector<platform::Message> messages_;
  platform::Answer answer_ = platform::Answer::No;
  int opened_ = 0;
  std::function<void()> open_ = [this] { ++opened_; };
};

TEST_F(Reminder, AsksAfterMoreThanAWeek) {
  const DateTime today = at(2026, 12, 10, 9, 0, 5);
  struct Case {
    std::string datumupdate;
    bool asks;
  };
  const std::vector<Case> cases = {
      {"2.12.2026", true},    // 8 days
      {"3.12.2026", false},   // 7 days
      {"10.12.2026", false},  // today
      {"18.12.2026", true},   // 8 days ahead: a clock set back
      {"", false},
      {"neplatné", false},
  };
  for (const Case& c : cases) {
    messages_.clear();
    std::string datumupdate = c.datumupdate;
    EXPECT_EQ(PripomenAktualizaci(datumupdate, today, open_), c.asks) << c.datumupdate;
    EXPECT_EQ(datumupdate, "10.12.2026") << "every run stores today";
    EXPECT_EQ(messages_.size(), c.asks ? 2u : 0u) << c.datumupdate;
  }
}

TEST_F(Reminder, YesOpensTheUpdateWindowNoPromisesTheNextWeek) {
  std::string datumupdate = "1.12.2026";
  ASSERT_TRUE(PripomenAktualizaci(datumupdate, at(2026, 12, 10, 9, 0, 5), open_));
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0].kind, platform::MessageKind::Question);
  EXPECT_EQ(messages_[0].text,
            "Jseš-li připojen na internet, doporučuji provést kontrolu \r\n"
            "na nové aktualizace programu - mám nyní kontrolu provést ?");
  EXPECT_EQ(messages_[1].text, "Za týden ti potřebu aktualizace opět připomenu...");
  EXPECT_EQ(opened_, 0);

  messages_.clear();
  answer_ = platform::Answer::Yes;
  datumupdate = "1.12.2026";
  ASSERT_TRUE(PripomenAktualizaci(datumupdate, at(2026, 12, 10, 9, 0, 5), open_));
  EXPECT_EQ(messages_.size(), 1u);
  EXPECT_EQ(opened_, 1);

  // Asked once: the next weekly tick finds the day stored and stays quiet.
  messages_.clear();
  EXPECT_FALSE(PripomenAktualizaci(datumupdate, at(2026, 12, 17, 9, 0, 5), open_));
  EXPECT_TRUE(messages_.empty());
}

}  // namespace
}  // namespace vektrano
