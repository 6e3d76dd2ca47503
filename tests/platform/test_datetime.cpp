#include "platform/datetime.h"

#include <gtest/gtest.h>


namespace vektrano::platform {
namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  DateTime t;
  t.year = y;
  t.month = mo;
  t.day = d;
  t.hour = h;
  t.minute = mi;
  t.second = s;
  return t;
}

TEST(DateTime, FixedCzechFormats) {
  struct Case {
    DateTime t;
    const char* date;
    const char* time;
  } cases[] = {
      {at(2026, 12, 9, 7, 5, 9), "9.12.2026", "7:05:09"},
      {at(2000, 1, 1, 0, 0, 0), "1.1.2000", "0:00:00"},
      {at(1999, 10, 31, 23, 59, 59), "31.10.1999", "23:59:59"},
      {at(987, 3, 4, 12, 0, 1), "4.3.0987", "12:00:01"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(formatDate(c.t), c.date);
    EXPECT_EQ(formatTime(c.t), c.time);
    EXPECT_EQ(formatDateTime(c.t), std::string(c.date) + " " + c.time);
  }
}

TEST(DateTime, ParsesShortDatesAsTyped) {
  const int century = now().year / 100 * 100;
  struct Case {
    const char* text;
    int y, m, d;
  } ok[] = {
      {"9.12.2026", 2026, 12, 9},
      {"01.01.2000", 2000, 1, 1},
      {"1. 1. 2000", 2000, 1, 1},
      {" 29.2.2024 ", 2024, 2, 29},
      {"31.12.1", century + 1, 12, 31},
      {"5.6.7", century + 7, 6, 5},
  };
  for (const Case& c : ok) {
    auto t = parseDate(c.text);
    ASSERT_TRUE(t) << c.text;
    EXPECT_EQ(*t, at(c.y, c.m, c.d)) << c.text;
  }
  const char* refused[] = {"", "1.1", "1.1.", "29.2.2023", "31.4.2000", "0.1.2000", "1.13.2000",
                           "1.1.2000x", "a.b.c", "1/1/2000", "1.1.200", "123.1.2000", "-1.1.2000"};
  for (const char* text : refused) EXPECT_FALSE(parseDate(text)) << text;
}

TEST(DateTime, TwoDigitYearsLieWithinFiftyYears) {
  const int year = now().year;
  for (int yy : {0, 49, 50, 99}) {
    auto t = parseDate("1.1." + std::to_string(yy));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->year % 100, yy);
    EXPECT_GT(t->year, year - 50);
    EXPECT_LE(t->year, year + 50);
  }
}

TEST(DateTime, AddDaysCrossesMonthsYearsAndLeapDays) {
  struct Case {
    DateTime from;
    int days;
    DateTime to;
  } cases[] = {
      {at(2026, 12, 9, 7, 5, 9), 7, at(2026, 12, 16, 7, 5, 9)},
      {at(2026, 12, 28), 7, at(2027, 1, 4)},
      {at(2024, 2, 25), 7, at(2024, 3, 3)},
      {at(2023, 2, 25), 7, at(2023, 3, 4)},
      {at(2000, 3, 1), -1, at(2000, 2, 29)},
      {at(1900, 3, 1), -1, at(1900, 2, 28)},
      {at(2026, 1, 1), 0, at(2026, 1, 1)},
  };
  for (const Case& c : cases) EXPECT_EQ(addDays(c.from, c.days), c.to) << formatDate(c.from);
}

TEST(DateTime, OrdersByTime) {
  EXPECT_LT(at(2026, 12, 9, 23, 59, 59), at(2026, 12, 10));
  EXPECT_LT(at(2025, 12, 31), at(2026, 1, 1));
  EXPECT_EQ(at(2026, 1, 1, 1, 2, 3), at(2026, 1, 1, 1, 2, 3));
}

TEST(DateTime, NowIsTodayInTheSameFormat) {
  const DateTime t = now();
  EXPECT_GE(t.year, 2024);
  EXPECT_TRUE(t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31);
  EXPECT_TRUE(t.hour < 24 && t.minute < 60 && t.second < 61 && t.msec < 1000);
  auto back = parseDate(formatDate(t));
  ASSERT_TRUE(back);
  EXPECT_EQ(formatDate(*back), formatDate(t));
}

}  // namespace
}  // namespace vektrano::platform
