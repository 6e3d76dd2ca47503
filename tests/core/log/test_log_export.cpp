// The log as an HTML page and as a spreadsheet file.
#include "core/log/log_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"
#include "tests/support/message_recorder.h"

namespace vektrano {
namespace {

using platform::readWholeFile;

using Recorder = test::MessageRecorder;

std::string golden(const std::string& name) {
  auto d = readWholeFile(std::string(VEKTRANO_SOURCE_DIR) + "/tests/core/log/data/export/" + name);
  EXPECT_TRUE(d) << name;
  return d.value_or("");
}

// Two contacts in JO70, one in JN79, one without a locator; notes that
// would break the page unescaped.
LogDocument fixture() {
  LogDocument log;
  log.Denik.appendRow({"1", "10:01", "59", "OK1AAA Jan", "57", "JO70GQ", "0", ",a<b&c"});
  log.Denik.appendRow({"2", "10:05", "59", "OK2BBB", "59", "JO70AA", "30", ""});
  log.Denik.appendRow({"3", "10:09", "55", "PETR", "55", "", "0", ",bez ,lokátoru"});
  log.Denik.appendRow({"4", "10:15", "59", "OK1CCC", "59", "JN79VX", "121", ",\">\""});
  return log;
}

constexpr const char* V = "    <td align=\"center\"><b>";

TEST(ExportPage, MatchesTheGoldenPagesByteForByte) {
  EXPECT_EQ(textExportu(fixture()), golden("denik.htm"));
  // An empty log: the title line and row 0, no squares, "-" averages.
  EXPECT_EQ(textExportu(LogDocument()), golden("prazdny.htm"));
}

TEST(ExportPage, MarkupInCellsAndOwnLocatorStaysText) {
  LogDocument log;
  log.lokportable = "<i>&";
  log.Denik.appendRow({"1", "10:00", "59", "OK1</td>", "59", "<b>&x", "0", ",1<2 & 3>2"});
  const std::string page = textExportu(log);
  EXPECT_NE(page.find("<title>&lt;i&gt;&amp;</title>"), std::string::npos);
  EXPECT_NE(page.find("<td>OK1&lt;/td&gt; </td>"), std::string::npos);
  EXPECT_NE(page.find("<td>,1&lt;2 &amp; 3&gt;2 </td>"), std::string::npos);
  EXPECT_EQ(page.find("<b>&x"), std::string::npos);
  // The square of the broken locator is escaped after it is cut to 4 characters.
  EXPECT_NE(page.find(std::string(V) + "\r\n&lt;b&gt;&amp;\r\n</b></td>"), std::string::npos);
}

TEST(ExportPage, TotalsCountContactsWithoutLocatorOnlyInTheTotal) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> rows;  // locator, km
    std::vector<std::string> totals;                        // value lines of the totals
  } cases[] = {
      {"one square from two locators",
       {{"JO70GQ", "0"}, {"JO70AA", "31"}, {"", "0"}},
       {std::string(V) + "1</b></td>", std::string(V) + "3&nbsp;&nbsp; (2)</b></td>",
        std::string(V) + "31</b></td>", V, "15", " km na jedno spojení</b></td>"}},
      {"only contacts without a locator",
       {{"", "0"}, {"", "0"}},
       {std::string(V) + "0</b></td>", std::string(V) + "2&nbsp;&nbsp; (0)</b></td>",
        std::string(V) + "0</b></td>", V, "-", " km na jedno spojení</b></td>"}},
      {"a km cell that is no whole number and the -1 of no distance add nothing",
       {{"JN79VX", "12.5"}, {"JN79AA", "x"}, {"JO60AA", "-1"}, {"JO60BB", " 40 "}},
       {std::string(V) + "2</b></td>", std::string(V) + "4&nbsp;&nbsp; (4)</b></td>",
        std::string(V) + "40</b></td>", V, "10", " km na jedno spojení</b></td>"}},
  };
  for (const Case& c : cases) {
    LogDocument log;
    int n = 0;
    for (const auto& [loc, km] : c.rows)
      log.Denik.appendRow({std::to_string(++n), "10:00", "59", "OK1X", "59", loc, km, ""});
    // The value row of the totals table follows its headings.
    std::vector<std::string> got;
    const std::string page = textExportu(log);
    const size_t at = page.find("<i>Průměr km na 1 spojení (**)</i></td>\r\n  </tr>\r\n  <tr>\r\n");
    ASSERT_NE(at, std::string::npos) << c.name;
    std::string rest = page.substr(page.find("  <tr>\r\n", at) + 8);
    for (size_t i = 0; i < c.totals.size(); ++i) {
      const size_t e = rest.find("\r\n");
      got.push_back(rest.substr(0, e));
      rest.erase(0, e + 2);
    }
    EXPECT_EQ(got, c.totals) << c.name;
  }
}

TEST(ExportPage, SquareListHasMoreThanAHundredSquaresInOrderOfFirstAppearance) {
  LogDocument log;
  for (int i = 0; i < 150; ++i) {
    const std::string sq = {char('A' + i / 100), 'O', char('0' + i / 10 % 10), char('0' + i % 10)};
    log.Denik.appendRow({std::to_string(i + 1), "10:00", "59", "OK1X", "59", sq + "AA", "10", ""});
  }
  log.Denik.appendRow({"151", "10:00", "59", "OK1X", "59", "AO00GQ", "20", ""});
  const std::string page = textExportu(log);
  EXPECT_NE(page.find(std::string(V) + "150</b></td>\r\n" + V + "151&nbsp;&nbsp; (151)</b></td>"),
            std::string::npos);
  const size_t first = page.find("\r\nAO00\r\n");
  const size_t last = page.find("\r\nBO49\r\n");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(last, std::string::npos);
  EXPECT_LT(first, last);
  EXPECT_NE(page.find("\r\nAO00\r\n</b></td>\r\n" + std::string(V) + "2</b></td>\r\n" + V +
                      "30</b></td>\r\n" + V + "\r\n15\r\n km</b></td>"),
            std::string::npos);
}

TEST(ExportFileName, DefaultExtensionOnlyWhenTheNameHasNone) {
  struct Case {
    std::string in, ext, out;
  } cases[] = {
      {"/d/vylet", "htm", "/d/vylet.htm"},
      {"/d/vylet.htm", "htm", "/d/vylet.htm"},
      {"/d/vylet.html", "htm", "/d/vylet.html"},
      {"/d.x/vylet", "xls", "/d.x/vylet.xls"},
      {"C:\\d.x\\vylet", "xls", "C:\\d.x\\vylet.xls"},
  };
  for (const Case& c : cases) EXPECT_EQ(doplnPriponu(c.in, c.ext), c.out) << c.in;
  EXPECT_EQ(dialogExportu(DruhExportu::Html).filtr, "Stránka pro internet HTM|*.htm");
  EXPECT_EQ(dialogExportu(DruhExportu::Xls).filtr, "Soubory XLS -  EXCEL|*.xls");
}

TEST(ExportCommands, BothWriteTheSamePageAfterTheRecalculation) {
  test::TempDir dir;
  Recorder rec;
  LogDocument log = fixture();
  log.Denik.setCell(1, kColKm, "999");  // JO70GQ from JO70GQ is 0 km
  ASSERT_TRUE(platform::writeFileAtomic(dir.file("vylet.htm"), "old"));

  const auto htm = ExportHTML(log, dir.file("vylet"));
  ASSERT_TRUE(htm);
  EXPECT_EQ(*htm, dir.file("vylet.htm"));
  EXPECT_EQ(log.Denik.cell(1, kColKm), "0");
  EXPECT_EQ(log.panel2, *htm);
  const auto xls = ExportXLS(log, dir.file("vylet"));
  ASSERT_TRUE(xls);
  EXPECT_EQ(*xls, dir.file("vylet.xls"));

  const auto a = readWholeFile(*htm);
  const auto b = readWholeFile(*xls);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(*a, *b);
  EXPECT_EQ(*a, textExportu(log));
  EXPECT_TRUE(rec.texts.empty());
}

TEST(ExportCommands, AFileThatCannotBeWrittenIsReportedNeverOpened) {
  test::TempDir dir;
  Recorder rec;
  LogDocument log = fixture();
  const std::string path = dir.file("chybi/vylet.htm");
  EXPECT_FALSE(GenerujHtml(log, path));
  EXPECT_FALSE(ExportHTML(log, path));
  EXPECT_FALSE(ExportXLS(log, dir.file("chybi/vylet.xls")));
  ASSERT_EQ(rec.texts.size(), 3u);
  EXPECT_EQ(rec.texts[0], "Chyba - Soubor " + path);
  EXPECT_FALSE(platform::fileExists(path));

  // A directory in the file's place: the write fails and the directory stays.
  const std::string busy = dir.file("adresar.htm");
  ASSERT_TRUE(std::filesystem::create_directory(platform::fsPath(busy)));
  EXPECT_FALSE(ExportHTML(log, busy));
  EXPECT_EQ(rec.texts.back(), "Chyba - Soubor " + busy);
  EXPECT_TRUE(platform::dirExists(busy));
}

}  // namespace
}  // namespace vektrano
