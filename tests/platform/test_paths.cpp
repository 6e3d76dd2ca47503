#include "platform/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace vektrano::platform {
namespace {

class ProgramFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", (dir_.path() + "/data").c_str(), 1);
    setProgramFolder("");
  }
  void TearDown() override {
    ::unsetenv("VEKTRANO_HOME");
    ::unsetenv("XDG_DATA_HOME");
    setProgramFolder("");
  }
  test::TempDir dir_;
};

TEST_F(ProgramFolder, WithoutVektranoHomeIsTheExecutablesFolder) {
  ::unsetenv("VEKTRANO_HOME");
  const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
  EXPECT_EQ(executablePath(), exe);
  EXPECT_EQ(executableFolder(), std::filesystem::path(exe).parent_path().string());
  EXPECT_EQ(programFolder(), executableFolder());  // the build folder is writable
}

TEST_F(ProgramFolder, VektranoHomeNamesAnother) {
  struct Case {
    std::string home, expected;
  } cases[] = {
      {dir_.path(), dir_.path()},
      {dir_.path() + "/", dir_.path()},
      {dir_.path() + "/new/folder", dir_.path() + "/new/folder"},  // created
      {dir_.path() + "/x/../y", dir_.path() + "/y"},
  };
  for (const Case& c : cases) {
    ::setenv("VEKTRANO_HOME", c.home.c_str(), 1);
    EXPECT_EQ(programFolder(), c.expected) << c.home;
    EXPECT_TRUE(dirExists(c.expected)) << c.home;
  }
}

TEST_F(ProgramFolder, RelativeVektranoHomeBecomesAbsolute) {
  // Start-up makes the program folder the current one; a relative name
  // would then point elsewhere.
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  ::setenv("VEKTRANO_HOME", "rel", 1);
  const std::string folder = programFolder();
  std::filesystem::current_path(before);
  EXPECT_EQ(folder, dir_.path() + "/rel");
}

TEST_F(ProgramFolder, UnusableFolderFallsBackToTheDataHome) {
  const std::string file = dir_.file("plain");
  std::ofstream(file) << "x";
  ::setenv("VEKTRANO_HOME", (file + "/sub").c_str(), 1);
  EXPECT_EQ(programFolder(), dir_.path() + "/data/vektrano");
  EXPECT_TRUE(dirExists(dir_.path() + "/data/vektrano"));
}

TEST(InstalledLayout, TheShareFolderBesideBin) {
  struct Case {
    std::string bin, share;
  } cases[] = {
      {"/usr/local/bin", "/usr/local/share"},
      {"/opt/vektrano/bin/", "/opt/vektrano/share"},
      {"/tmp/stage/usr/bin", "/tmp/stage/usr/share"},
  };
  for (const Case& c : cases) EXPECT_EQ(installedShareFolder(c.bin), c.share) << c.bin;
}

TEST_F(ProgramFolder, ABuildShipsItsDataBesideTheProgram) {
  // The build lays out no share/vektrano beside its bin/.
  ASSERT_FALSE(runsInstalled());
  EXPECT_EQ(shippedDataFolder(), executableFolder());
  setShippedDataFolder(dir_.path() + "/");
  EXPECT_EQ(shippedDataFolder(), dir_.path());
  setShippedDataFolder("");
  EXPECT_EQ(shippedDataFolder(), executableFolder());
}

TEST_F(ProgramFolder, OverrideWinsUntilRemoved) {
  ::setenv("VEKTRANO_HOME", dir_.path().c_str(), 1);
  setProgramFolder("/somewhere/else/");
  EXPECT_EQ(programFolder(), "/somewhere/else");
  setProgramFolder("");
  EXPECT_EQ(programFolder(), dir_.path());
}

}  // namespace
}  // namespace vektrano::platform
