#include "core/reference/report_table.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

TEST(GenerujReport, DefaultTableByDistance) {
  struct Case {
    int km;
    const char* report;
  } cases[] = {
      {-1, "--"}, {0, "--"},   {1, "59"},   {50, "59"},  {51, "59"},   {90, "59"},   {91, "58"},
      {100, "58"}, {150, "57"}, {151, "46"}, {191, "47"}, {450, "11"}, {451, "01"}, {500, "01"},
  };
  for (const auto& c : cases) EXPECT_EQ(GenerujReport(vychoziTabulkaReportu(), c.km), c.report) << c.km;
}

TEST(GenerujReport, RowsWithoutANumberNeverQualify) {
  TabulkaReportu t{};
  t[0] = {"-5", "99"};  // a limit below 0 reports even without a locator
  t[1] = {"abc", "11"};
  t[2] = {" 20 ", "57"};
  t[3] = {"", "22"};
  t[4] = {"30x", "33"};
  EXPECT_EQ(GenerujReport(t, 0), "99");
  EXPECT_EQ(GenerujReport(t, 21), "57");
  EXPECT_EQ(GenerujReport(t, 1000), "57");
}

TEST(TabulkaReportuFile, DefaultFileRoundTrips) {
  const std::string bytes = formatTabulkaReportu(vychoziTabulkaReportu());
  EXPECT_EQ(bytes.substr(0, 23), "0;59;\r\n50;59;\r\n90;58;\r\n");
  EXPECT_EQ(bytes.substr(bytes.size() - 9), "450;01;\r\n");
  EXPECT_EQ(parseTabulkaReportu(bytes), vychoziTabulkaReportu());
}

TEST(TabulkaReportuFile, LinesAreCutAtTheirSemicolons) {
  const TabulkaReportu t = parseTabulkaReportu("10;59;\n20;5;7;\r\nbez stredniku\n;;\n");
  EXPECT_EQ(t[0].km, "10");
  EXPECT_EQ(t[0].report, "59");
  EXPECT_EQ(t[1].report, "57;");  // only the next ";" goes
  EXPECT_EQ(t[2].km, "");
  EXPECT_EQ(t[2].report, "bez stredniku");
  EXPECT_EQ(t[3].km, "");
  EXPECT_EQ(t[3].report, "");
  EXPECT_EQ(t[16].km, "");  // a short file leaves the rest empty

  std::string many;
  for (int i = 0; i < 20; ++i) many += std::to_string(i) + ";x;\r\n";
  EXPECT_EQ(parseTabulkaReportu(many)[16].km, "16");  // 17 lines only
}

TEST(TabulkaReportuFile, MissingFileIsReported) {
  test::TempDir dir;
  std::vector<std::string> shown;
  auto previous = platform::setMessageHandler([&](const platform::Message& m) {
    shown.push_back(m.text);
    return platform::Answer::Ok;
  });
  EXPECT_FALSE(nactiTabulkuReportu(dir.file("vektrano.rep")).has_value());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Chyba I/O při čtení souboru : " + dir.file("vektrano.rep"));

  ASSERT_TRUE(platform::writeFileAtomic(dir.file("vektrano.rep"), "0;59;\r\n"));
  const auto t = nactiTabulkuReportu(dir.file("vektrano.rep"));
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ((*t)[0].report, "59");
  platform::setMessageHandler(previous);
}

}  // namespace
}  // namespace vektrano
