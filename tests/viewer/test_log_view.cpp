#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"
#include "viewer/log_view.h"
#include "tests/support/message_recorder.h"

namespace vektrano::palomir {
namespace {

std::string fixture(const std::string& name) {
  return std::string(VEKTRANO_SOURCE_DIR) + "/tests/viewer/data/" + name;
}

using Recorder = test::MessageRecorder;

const std::string kTitles = "JO70GQ;poř.;čas;RV;Volačka;RP;Lokátor;km;pozn;";

TEST(PalomirLog, FixtureGivesGridStatisticsAndDescription) {
  Recorder rec;
  const auto view = nactidata(fixture("expedice.qvl"));
  ASSERT_TRUE(view);
  EXPECT_EQ(view->contacts, 7);
  EXPECT_EQ(view->grid.rowCount(), 8);
  EXPECT_EQ(view->grid.cell(0, 3), "Volačka");
  EXPECT_EQ(view->grid.cell(6, 7), ",druhý pokus");
  EXPECT_EQ(view->grid.cell(7, 5), "JN79US");
  EXPECT_EQ(view->ownLocator.value_or(""), "JO70GQ");
  // km 85+85+85+85+240 over all seven contacts; "abc" and the empty cell add
  // nothing; the five-character locator is missing.
  EXPECT_EQ(statusLine(*view), " 7 spoj. [Prům:82 km] [Lok.chybí:1x] [Nej:240 km]");

  // The empty place in the middle keeps its label, the empty note at the
  // end is not shown.
  const std::vector<std::string> expected = {
      "Expedice  : Sněžka 2008", "QTH       : ",      "Lokátor   : JO70SR",
      "Nad mořem : 1602 m",      "Od        : 1.8.2008", "Do        : 3.8.2008",
      "Operátoři : OK1ABC",      "Zápis     : OK1XYZ",   "TRX       : Dragon",
      "ANT       : GP 5/8",      "Druh      : FM",       "Freq      : 27 MHz"};
  EXPECT_EQ(view->description, expected);
  EXPECT_TRUE(view->descriptionFound);
  EXPECT_TRUE(rec.texts.empty());
}

TEST(PalomirLog, StatisticsTable) {
  struct Case {
    const char* name;
    std::string content;
    std::string status;
  };
  const std::vector<Case> cases = {
      {"empty file", "", " 0 spoj. [Prům:0 km] [Lok.chybí:0x] [Nej:0 km]"},
      {"titles only", kTitles + "\r\n", " 0 spoj. [Prům:0 km] [Lok.chybí:0x] [Nej:0 km]"},
      {"empty km counts in n only",
       kTitles + "\r\nJO70GQ;1;10:00;59;A;59;JO70AA;100;;\r\nJO70GQ;2;10:00;59;B;59;JO70AB;;;\r\n",
       " 2 spoj. [Prům:50 km] [Lok.chybí:0x] [Nej:100 km]"},
      {"non-numeric km is like an empty one",
       kTitles + "\r\nJO70GQ;1;;;A;;JO70AA;12x;;\r\nJO70GQ;2;;;B;;JO70AB; 30;;\r\n",
       " 2 spoj. [Prům:15 km] [Lok.chybí:0x] [Nej:30 km]"},
      {"a number beyond int is not a number",
       kTitles + "\r\nJO70GQ;1;;;A;;JO70AA;99999999999;;\r\n",
       " 1 spoj. [Prům:0 km] [Lok.chybí:0x] [Nej:0 km]"},
      {"locators of 5, 7 and 0 characters are missing",
       kTitles + "\nJO70GQ;1;;;A;;JO70A;;;\nJO70GQ;2;;;B;;JO70AAB;;;\nJO70GQ;3;;;C;;;;;\n"
                 "JO70GQ;4;;;D;;JO70AA;;;\n",
       " 4 spoj. [Prům:0 km] [Lok.chybí:3x] [Nej:0 km]"},
      {"a line without ';' gives an empty row", kTitles + "\r\nnic\r\n",
       " 1 spoj. [Prům:0 km] [Lok.chybí:1x] [Nej:0 km]"},
      {"last line without its end", kTitles + "\r\nJO70GQ;1;;;A;;JO70AA;7;;",
       " 1 spoj. [Prům:7 km] [Lok.chybí:0x] [Nej:7 km]"},
  };
  for (const auto& c : cases) {
    const LogView v = parseLog(c.content);
    EXPECT_EQ(statusLine(v), c.status) << c.name;
    EXPECT_GE(v.grid.rowCount(), 1) << c.name;
  }
}

TEST(PalomirLog, FieldsOfALine) {
  // Text behind the last ";" is lost; missing cells stay empty.
  const LogView v = parseLog(kTitles + "\r\nOK0AA;1;10:00;59;Jan;59;JO70AA;5;pozn;navíc\r\nX;2;\r\n");
  EXPECT_EQ(v.grid.cell(1, 7), "pozn");
  EXPECT_EQ(v.grid.cell(2, 0), "2");
  EXPECT_EQ(v.grid.cell(2, 1), "");
  EXPECT_EQ(v.ownLocator.value_or(""), "X");  // the label shows the last line's
  EXPECT_EQ(v.grid.colCount(), kColumns);
}

TEST(PalomirLog, DescriptionLines) {
  struct Case {
    const char* name;
    std::string header;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"no description", kTitles, {"Popis deníku nebyl nalezen..."}},
      {"all thirteen", kTitles + "a;b;c;d;e;f;g;h;i;j;k;l;m;",
       {"Expedice  : a", "QTH       : b", "Lokátor   : c", "Nad mořem : d", "Od        : e",
        "Do        : f", "Operátoři : g", "Zápis     : h", "TRX       : i", "ANT       : j",
        "Druh      : k", "Freq      : l", "Poznámka  : m"}},
      {"last empty field not shown, middle one shown", kTitles + "a;;c;",
       {"Expedice  : a", "QTH       : ", "Lokátor   : c"}},
      {"only empty fields but the last", kTitles + ";;", {"Expedice  : "}},
      {"fields after the thirteenth ignored",
       kTitles + "a;b;c;d;e;f;g;h;i;j;k;l;m;n;o;",
       {"Expedice  : a", "QTH       : b", "Lokátor   : c", "Nad mořem : d", "Od        : e",
        "Do        : f", "Operátoři : g", "Zápis     : h", "TRX       : i", "ANT       : j",
        "Druh      : k", "Freq      : l", "Poznámka  : m"}},
  };
  for (const auto& c : cases) {
    const LogView v = parseLog(c.header + "\r\n");
    EXPECT_EQ(v.description, c.lines) << c.name;
    EXPECT_EQ(v.descriptionFound, c.lines.front() != "Popis deníku nebyl nalezen...") << c.name;
  }
}

TEST(PalomirLog, OldDescriptionFileReplacesTheHeader) {
  Recorder rec;
  const auto view = nactidata(fixture("stary.qvl"));
  ASSERT_TRUE(view);
  EXPECT_EQ(view->contacts, 1);
  ASSERT_EQ(view->description.size(), 12u);  // the thirteenth line is not shown
  EXPECT_EQ(view->description[0], "Exp       : Polom");
  EXPECT_EQ(view->description[2], "Loc       : JO70XX");
  EXPECT_EQ(view->description[7], "Tým       : OK1TM");
  EXPECT_EQ(view->description[10], "DRUH      : AM");
  EXPECT_EQ(view->description[11], "Freq      : 26-28 MHz");
  EXPECT_TRUE(view->descriptionFound);
  EXPECT_TRUE(rec.texts.empty());
  // The viewer writes nothing: the old description stays where it was.
  EXPECT_TRUE(platform::fileExists(fixture("stary.exp")));
}

TEST(PalomirLog, OldDescriptionFileOverHeader) {
  test::TempDir dir;
  const std::string log = dir.file("den.QVL");
  ASSERT_TRUE(platform::writeFileAtomic(log, kTitles + "a;b;\r\n"));
  ASSERT_TRUE(platform::writeFileAtomic(dir.file("den.exp"), "Jiná\r\n"));
  {
    const auto v = nactidata(log);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->description, std::vector<std::string>{"Exp       : Jiná"});
  }
}

TEST(PalomirLog, MissingLogReadsNothingAndSaysNothing) {
  Recorder rec;
  test::TempDir dir;
  EXPECT_FALSE(nactidata(dir.file("neni.qvl")));
  EXPECT_TRUE(rec.texts.empty());
}

TEST(PalomirLog, ArgumentChecks) {
  struct Case {
    const char* path;
    bool log;
  };
  const Case cases[] = {{"/data/den.qvl", true},   {"/data/den.QVL", true},
                        {"/data/den.Qvl", true},   {"den.qvl", true},
                        {"/data/den.csv", false},  {"/data/den", false},
                        {"/data.qvl/den", false},  {"/data/den.qvl.bak", false},
                        {"C:\\deniky\\den.qvl", true}, {"", false}};
  for (const auto& c : cases) EXPECT_EQ(hasLogExtension(c.path), c.log) << c.path;

  EXPECT_EQ(expPath("/data/den.qvl"), "/data/den.exp");
  EXPECT_EQ(expPath("/data.x/den"), "/data.x/den.exp");
  EXPECT_EQ(fileNameOnly("/data/den.qvl"), "den.qvl");
  EXPECT_EQ(fileNameOnly("C:\\d\\den.qvl"), "den.qvl");
}

TEST(PalomirLog, WholeNumbers) {
  EXPECT_EQ(wholeNumber("85"), 85);
  EXPECT_EQ(wholeNumber("  85"), 85);
  EXPECT_EQ(wholeNumber("-1"), -1);
  EXPECT_EQ(wholeNumber("+7"), 7);
  EXPECT_EQ(wholeNumber("2147483647"), 2147483647);
  EXPECT_EQ(wholeNumber("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", " ", "-", "8 5", "85 ", "12.5", "abc", "2147483648", "0x10"})
    EXPECT_FALSE(wholeNumber(bad)) << bad;
}

}  // namespace
}  // namespace vektrano::palomir
