#include "transfer/program_swap.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_dir.h"
#include "tests/transfer/update_fixtures.h"

using namespace vektrano;
using namespace vektrano::transfer;
using namespace vektrano::test;

namespace {

// The ELF header with one byte changed.
std::string patched(size_t at, char value) {
  std::string p = fakeProgram("x");
  p[at] = value;
  return p;
}

TEST(ProgramSwap, OnlyAProgramOfThisMachineIsTaken) {
  TempDir dir;
  const std::string self = readFile(platform::executablePath());
  const char e_machine = self[18];
  struct Case {
    const char* name;
    std::string content;
    bool taken;
  } cases[] = {
      {"fake", fakeProgram("nova verze"), true},
      {"text", "#!/bin/sh\necho ahoj\n", false},
      {"empty", "", false},
      {"short", fakeProgram("").substr(0, 10), false},
      {"other class", patched(4, self[4] == 2 ? 1 : 2), false},
      {"other byte order", patched(5, self[5] == 1 ? 2 : 1), false},
      {"other machine", patched(18, static_cast<char>(e_machine + 1)), false},
      {"object file", patched(16, 1), false},  // ET_REL
  };
  for (const Case& c : cases) {
    writeFile(dir.file(c.name), c.content);
    EXPECT_EQ(isProgramForThisMachine(dir.file(c.name)), c.taken) << c.name;
  }
  EXPECT_FALSE(isProgramForThisMachine(dir.file("missing")));
  EXPECT_FALSE(isProgramForThisMachine(dir.path()));  // a folder
}

TEST(ProgramSwap, NewProgramInPlaceOldOneKept) {
  TempDir dir;
  const std::string program = dir.file("bin/vektrano");
  writeFile(program, fakeProgram("stara"));
  writeFile(program + ".ex", fakeProgram("nova"));
  writeFile(program + ".e", "předchozí zbytek");
  ASSERT_EQ(swapProgramFile(program, program + ".ex", ".e"), SwapResult::Done);
  EXPECT_EQ(readFile(program), fakeProgram("nova"));
  EXPECT_EQ(modeOf(program), 0755u);
  EXPECT_EQ(readFile(program + ".e"), fakeProgram("stara"));
  EXPECT_FALSE(platform::fileExists(program + ".ex"));
}

TEST(ProgramSwap, ANewFileFromAnotherFolderIsCopiedBesideFirst) {
  TempDir dir;
  const std::string program = dir.file("bin/vektrano");
  writeFile(program, fakeProgram("stara"));
  writeFile(dir.file("data/.staging/vektrano"), fakeProgram("nova"));
  ASSERT_EQ(swapProgramFile(program, dir.file("data/.staging/vektrano"), ".e4e"), SwapResult::Done);
  EXPECT_EQ(readFile(program), fakeProgram("nova"));
  EXPECT_EQ(modeOf(program), 0755u);
  EXPECT_EQ(readFile(program + ".e4e"), fakeProgram("stara"));
}

TEST(ProgramSwap, AFailedStepLeavesTheOldProgramInPlace) {
  struct Case {
    const char* name;
    bool linkWorks;
    int failingRename;  // 1-based count of the rename that fails; 0 none
    SwapResult result;
  } cases[] = {
      {"link, replacing rename fails", true, 1, SwapResult::CannotReplace},
      {"no links, keeping rename fails", false, 1, SwapResult::CannotKeepOld},
      {"no links, replacing rename fails", false, 2, SwapResult::CannotReplace},
      {"no links, all goes well", false, 0, SwapResult::Done},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string program = dir.file("vektrano");
    writeFile(program, fakeProgram("stara"));
    writeFile(program + ".ex", fakeProgram("nova"));
    SwapOps ops = SwapOps::real();
    int renames = 0;
    const auto realRename = ops.rename;
    ops.rename = [&](const std::string& from, const std::string& to) {
      return ++renames != c.failingRename && realRename(from, to);
    };
    if (!c.linkWorks) ops.link = [](const std::string&, const std::string&) { return false; };
    EXPECT_EQ(swapProgramFile(program, program + ".ex", ".e", ops), c.result) << c.name;
    EXPECT_EQ(readFile(program), fakeProgram(c.result == SwapResult::Done ? "nova" : "stara")) << c.name;
    if (c.result != SwapResult::Done) {
      EXPECT_EQ(readFile(program + ".ex"), fakeProgram("nova")) << c.name;
    }
  }
}

TEST(ProgramSwap, NothingChangesForAFileThatIsNoProgram) {
  TempDir dir;
  const std::string program = dir.file("vektrano");
  writeFile(program, fakeProgram("stara"));
  writeFile(program + ".ex", "<html>404</html>");
  EXPECT_EQ(swapProgramFile(program, program + ".ex", ".e"), SwapResult::NotAProgram);
  EXPECT_EQ(readFile(program), fakeProgram("stara"));
  EXPECT_FALSE(platform::fileExists(program + ".e"));
}

TEST(ProgramSwap, OnlyABuildFolderProgramReplacesItself) {
  TempDir dir;
  writeFile(dir.file("build/bin/vektrano"), "x");
  EXPECT_TRUE(ProgramFileReplaceable(dir.file("build/bin/vektrano")));
  writeFile(dir.file("usr/bin/vektrano"), "x");
  std::filesystem::create_directories(dir.file("usr/share/vektrano"));
  EXPECT_FALSE(ProgramFileReplaceable(dir.file("usr/bin/vektrano")));
  EXPECT_FALSE(ProgramFileReplaceable(dir.file("nowhere/bin/vektrano")));
}

}  // namespace
