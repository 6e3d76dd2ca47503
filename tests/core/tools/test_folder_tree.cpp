// The folder tree of the folder picker on a temporary tree.
#include "core/tools/folder_tree.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> names(const std::vector<FolderEntry>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) out.push_back(e.name);
  return out;
}

class FolderBrowse : public ::testing::Test {
 protected:
  static std::string zlute() { return platform::pathFromText("Žluté"); }
  void SetUp() override {
    // Names are the file system's bytes: the Czech one in UTF-8.
    for (const std::string& d : {std::string("Mapy"), std::string("archiv"), zlute(), std::string("bez"),
                                 std::string(".skryta"), std::string("Mapy/JO70")})
      fs::create_directories(platform::fsPath(dir_.file(d)));
    std::ofstream(dir_.file("soubor.txt")) << "x";
    fs::create_directory_symlink(dir_.file("Mapy/JO70"), dir_.file("odkaz"));
    fs::create_directory_symlink(dir_.file("nikam"), dir_.file("zlomeny"));
  }
  test::TempDir dir_;
};

TEST_F(FolderBrowse, ListsFoldersAndLinksToFoldersSortedIgnoringCase) {
  const auto list = listSubfolders(dir_.path());
  ASSERT_TRUE(list);
  // No file, no hidden folder, no broken link.
  EXPECT_EQ(names(*list), (std::vector<std::string>{"archiv", "bez", "Mapy", "odkaz", zlute()}));
  for (const auto& e : *list) {
    EXPECT_EQ(e.path, dir_.path() + "/" + e.name);
    EXPECT_TRUE(platform::dirExists(e.path));
  }
  EXPECT_EQ(names(*listSubfolders(dir_.file("Mapy"))), std::vector<std::string>{"JO70"});
  EXPECT_TRUE(listSubfolders(dir_.file("bez"))->empty());
}

TEST_F(FolderBrowse, AFolderThatCannotBeReadGivesNothing) {
  EXPECT_FALSE(listSubfolders(dir_.file("chybi")));
  EXPECT_FALSE(listSubfolders(dir_.file("soubor.txt")));
  fs::permissions(dir_.file("bez"), fs::perms::none);
  if (geteuid() != 0) {
    EXPECT_FALSE(listSubfolders(dir_.file("bez")));
  }
  fs::permissions(dir_.file("bez"), fs::perms::owner_all);
}

// A name code page 1250 cannot write is listed by its own bytes, and its
// path leads into it.
TEST_F(FolderBrowse, ANameTheCodePageLacksIsListedAndLeadsIntoTheFolder) {
  // U+4E2D has no place in cp1250.
  fs::create_directories(fs::path(dir_.path()) / "\xE4\xB8\xAD" / "uvnitr");
  const auto list = listSubfolders(dir_.path());
  ASSERT_TRUE(list);
  const auto found = std::find_if(list->begin(), list->end(),
                                  [](const FolderEntry& e) { return e.name == "\xE4\xB8\xAD"; });
  ASSERT_NE(found, list->end());
  EXPECT_EQ(names(*listSubfolders(found->path)), std::vector<std::string>{"uvnitr"});
  EXPECT_EQ(folderChain(found->path).back(), found->path);
}

TEST_F(FolderBrowse, ChainFromTheRootDownToTheFolder) {
  std::vector<std::string> expected;
  fs::path step;
  for (const auto& part : fs::path(dir_.file("Mapy/JO70"))) {
    step /= part;
    expected.push_back(step.string());
  }
  ASSERT_EQ(expected.front(), "/");
  EXPECT_EQ(folderChain(dir_.file("Mapy/JO70")), expected);
  // The forms a stored folder may come in.
  EXPECT_EQ(folderChain(dir_.file("Mapy/JO70/")), expected);
  EXPECT_EQ(folderChain(dir_.path() + "\\Mapy\\JO70"), expected);
  EXPECT_EQ(folderChain(dir_.file("bez/../Mapy/./JO70")), expected);
  EXPECT_EQ(folderChain("/"), std::vector<std::string>{"/"});

  EXPECT_EQ(folderChain(dir_.file(zlute())).back(), dir_.file(zlute()));
  EXPECT_TRUE(folderChain(dir_.file("chybi")).empty());
  EXPECT_TRUE(folderChain(dir_.file("soubor.txt")).empty());
  EXPECT_TRUE(folderChain("").empty());
}

}  // namespace
}  // namespace vektrano
