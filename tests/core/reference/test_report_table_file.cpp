#include "core/reference/report_table_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"
#include "tests/support/message_recorder.h"

namespace vektrano {
namespace {

using Recorder = test::MessageRecorder;

TEST(ReportTable, DefaultFileByteExactAndLookUp) {
  EXPECT_EQ(formatTabulkaReportu(vychoziTabulkaReportu()),
            "0;59;\r\n50;59;\r\n90;58;\r\n120;57;\r\n150;46;\r\n190;47;\r\n210;45;\r\n"
            "230;45;\r\n250;44;\r\n270;44;\r\n290;34;\r\n320;34;\r\n350;33;\r\n380;32;\r\n"
            "400;22;\r\n430;11;\r\n450;01;\r\n");
  const struct {
    int km;
    const char* report;
  } cases[] = {{0, "--"},   {1, "59"},   {50, "59"},  {51, "59"},  {90, "59"},
               {91, "58"},  {151, "46"}, {191, "47"}, {300, "34"}, {450, "11"},
               {451, "01"}, {500, "01"}, {-1, "--"}};
  for (const auto& c : cases)
    EXPECT_EQ(GenerujReport(vychoziTabulkaReportu(), c.km), c.report) << c.km;
}

TEST(ReportTable, SortByWholeKmKeepsEqualOrderAndLeavesBadCells) {
  TabulkaReportu t = vychoziTabulkaReportu();
  t[0] = {"300", "A"};
  t[16] = {"50", "B"};  // equal to row 1's 50: stays behind it
  sortujTabulkuReportu(t);
  EXPECT_EQ(t[0].km, "50");
  EXPECT_EQ(t[0].report, "59");
  EXPECT_EQ(t[1].report, "B");
  EXPECT_EQ(t[10].km, "290");
  EXPECT_EQ(t[11].report, "A");

  TabulkaReportu bad = vychoziTabulkaReportu();
  bad[5].km = "x";
  bad[4].km = "999";
  sortujTabulkuReportu(bad);
  EXPECT_EQ(bad[5].km, "x");
  EXPECT_EQ(bad[4].km, "999");  // a bad cell stops it from passing
  EXPECT_EQ(spatnaVzdalenost(bad), 5);
  EXPECT_EQ(spatnaVzdalenost(vychoziTabulkaReportu()), std::nullopt);
}

TEST(ReportTable, SaveRefusesBadKmAndKeepsTheLastGoodFile) {
  test::TempDir dir;
  const std::string path = dir.file("vektrano.rep");
  Recorder rec;
  TabulkaReportu t = vychoziTabulkaReportu();
  t[2].report = "5;8";
  ASSERT_EQ(ulozTabulkuReportu(path, t), UlozeniReportu::Ulozeno);
  const std::string good = *platform::readWholeFile(path);
  EXPECT_NE(good.find("90;5,8;\r\n"), std::string::npos);
  EXPECT_TRUE(rec.texts.empty());

  for (const char* km : {"", "12.5", "abc", "7 km"}) {
    TabulkaReportu b = t;
    b[16].km = km;
    EXPECT_EQ(ulozTabulkuReportu(path, b), UlozeniReportu::SpatnaVzdalenost) << km;
    EXPECT_EQ(*platform::readWholeFile(path), good);
  }
  ASSERT_EQ(rec.texts.size(), 4u);
  EXPECT_EQ(rec.texts[0].rfind("Vzdálenost v řádku 17 není celé číslo : []", 0), 0u) << rec.texts[0];

  const std::string missing = dir.file("chybi/vektrano.rep");
  EXPECT_EQ(ulozTabulkuReportu(missing, t), UlozeniReportu::ChybaZapisu);
  EXPECT_EQ(rec.texts.back(), "Chyba I/O při ukládání souboru : " + missing);
}

TEST(ReportTable, EmptyRowsSinkToTheEndAndAreNotWritten) {
  test::TempDir dir;
  const std::string path = dir.file("vektrano.rep");
  Recorder rec;
  // A short file: its missing rows are empty; one more emptied in the middle.
  TabulkaReportu t = parseTabulkaReportu("0;59;\r\n90;58;\r\n50;59;\r\n");
  t[1] = {" ", ""};
  t[4] = {"20", "59"};
  sortujTabulkuReportu(t);
  EXPECT_EQ(t[0].km, "0");
  EXPECT_EQ(t[1].km, "20");
  EXPECT_EQ(t[2].km, "50");
  EXPECT_TRUE(prazdnyRadekReportu(t[3]));
  EXPECT_EQ(spatnaVzdalenost(t), std::nullopt);
  ASSERT_EQ(ulozTabulkuReportu(path, t), UlozeniReportu::Ulozeno);
  EXPECT_EQ(*platform::readWholeFile(path), "0;59;\r\n20;59;\r\n50;59;\r\n");
  EXPECT_TRUE(rec.texts.empty());
  // A report without its distance is no empty row.
  t[3] = {"", "33"};
  EXPECT_EQ(spatnaVzdalenost(t), 3);
}

}  // namespace
}  // namespace vektrano
