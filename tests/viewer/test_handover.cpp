#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"
#include "viewer/handover.h"
#include "viewer/status_pad.h"

namespace vektrano::palomir {
namespace {

// A stand-in for the main program that writes each argument it got on a line
// of its own into args.txt beside itself.
void writeStandIn(const std::string& folder) {
  const std::string script = folder + "/vektrano";
  ASSERT_TRUE(platform::writeFileAtomic(
      script,
      "#!/bin/sh\n"
      "out=\"$(dirname \"$0\")/args.txt\"\n"
      "echo \"$#\" > \"$out.tmp\"\n"
      "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out.tmp\"; done\n"
      "mv \"$out.tmp\" \"$out\"\n"));
  ::chmod(platform::fsPath(script).c_str(), 0755);
}

std::string waitForFile(const std::string& path) {
  for (int i = 0; i < 200; ++i) {
    if (auto s = platform::readWholeFile(path)) return *s;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return "<not written>";
}

TEST(PalomirHandOver, StartsTheMainProgramWithOneArgument) {
  test::TempDir dir;
  writeStandIn(dir.path());
  // Blanks, quotes and a Czech letter stay one argument: no shell between.
  // The path is the file system's bytes and reaches the program as such.
  const std::string log = dir.file(platform::pathFromText("můj deník \"2008\" $HOME.qvl"));
  EXPECT_EQ(RunVektrano(dir.path(), log), HandOver::Started);
  EXPECT_EQ(waitForFile(dir.file("args.txt")), "1\n" + log + "\n");
}

TEST(PalomirHandOver, MissingOrBrokenMainProgram) {
  test::TempDir dir;
  EXPECT_EQ(RunVektrano(dir.path(), "/x/den.qvl"), HandOver::NotFound);
  EXPECT_EQ(RunVektrano("", "/x/den.qvl"), HandOver::NotFound);
  // There, but not a program that can run.
  ASSERT_TRUE(platform::writeFileAtomic(dir.file("vektrano"), "not a program"));
  ::chmod(platform::fsPath(dir.file("vektrano")).c_str(), 0644);
  EXPECT_EQ(RunVektrano(dir.path(), "/x/den.qvl"), HandOver::NotStarted);

  EXPECT_EQ(vektranoNotFoundMessage(),
            "Nemohu najít program VEKTRANO.EXE. Pokud je\r\n"
            "program VEKTRANO.EXE nainstalován, proveďte\r\n"
            "jeho spuštění a ukončení pro nastavení\r\n"
            "některých proměnných.\r\n\r\n"
            "Pak zkuste spuštění z Palomir znovu");
}

TEST(PalomirHandOver, FindsTheMainProgramBesideItselfWhenFileAppHasNone) {
  test::TempDir stored, own, empty;
  writeStandIn(stored.path());
  writeStandIn(own.path());
  struct Case {
    std::string fileApp, ownFolder, expected;
  } cases[] = {
      {stored.path(), own.path(), stored.path()},  // FileApp holds the program
      {"", own.path(), own.path()},                // Vektrano never stored FileApp
      {empty.path(), own.path(), own.path()},      // FileApp of a removed build
      {empty.path(), empty.path(), empty.path()},  // nowhere: reported under FileApp
      {"", "", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(vektranoFolder(c.fileApp, c.ownFolder), c.expected) << c.fileApp << " | " << c.ownFolder;
}

TEST(PalomirHandOver, PathReport) {
  test::TempDir dir;
  const std::string head = "Cesta k programu VEKTRANO je nastavena takto :\r\n\r\n" + dir.path() +
                           "/vektrano \r\n\r\n";
  EXPECT_EQ(vektranoPathReport(dir.path()),
            head + "Zjištěna chyba, VEKTRANO NENALEZEN ! Proveďte instalaci programu VEKTRANO.");
  writeStandIn(dir.path());
  EXPECT_EQ(vektranoPathReport(dir.path()), head + "Vše se zdá být v pořádku, program existuje");
}

TEST(PalomirStatusPad, WritesOneLineBesideTheProgram) {
  EXPECT_EQ(statusPadPath("/usr/bin/palomir"), "/usr/bin/palomir.txt");
  EXPECT_EQ(statusPadPath("/opt/a.b/palomir.bin"), "/opt/a.b/palomir.txt");

  test::TempDir dir;
  const std::string pad = dir.file("palomir.txt");
  ASSERT_TRUE(platform::writeFileAtomic(pad, "staré\r\nřádky\r\n"));
  ASSERT_TRUE(writeStatusPad(pad, " 7 spoj. [Prům:82 km]"));
  EXPECT_EQ(platform::readWholeFile(pad).value_or(""), " 7 spoj. [Prům:82 km]\r\n");
  ASSERT_TRUE(writeStatusPad(pad, "a\r\nb"));
  EXPECT_EQ(platform::readWholeFile(pad).value_or(""), "a  b\r\n");

  std::vector<std::string> texts;
  auto previous = platform::setMessageHandler([&](const platform::Message& m) {
    texts.push_back(m.text);
    return m.defaultAnswer;
  });
  const std::string blocked = dir.file("neni/palomir.txt");
  EXPECT_FALSE(writeStatusPad(blocked, "x"));
  platform::setMessageHandler(previous);
  EXPECT_EQ(texts, std::vector<std::string>{"Chyba I/O při ukládání souboru : " + blocked});
}

}  // namespace
}  // namespace vektrano::palomir
