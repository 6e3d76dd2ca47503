#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace vektrano::platform {
namespace {

TEST(FindIgnoringCase, FindsEachNameInAnySpellingAndNothingOutsideTheFolder) {
  test::TempDir dir;
  std::filesystem::create_directories(dir.file("mapy/JO70"));
  std::filesystem::create_directories(dir.file("mapy/jn99foto"));
  std::ofstream(dir.file("mapy/JO70/JO70GQ.JPG")) << "x";
  std::ofstream(dir.file("mapy/jn99foto/JN99JM-a.jpg")) << "x";
  std::ofstream(dir.file("mapy/secret.jpg")) << "x";
  const std::string root = dir.file("mapy");

  const struct {
    const char* relative;
    const char* found;  // under root; nullptr: nothing
  } cases[] = {
      {"JO70/JO70GQ.JPG", "JO70/JO70GQ.JPG"},
      {"JO70/JO70GQ.jpg", "JO70/JO70GQ.JPG"},
      {"jo70\\jo70gq.jpg", "JO70/JO70GQ.JPG"},
      {"JN99foto/JN99JM-A.jpg", "jn99foto/JN99JM-a.jpg"},
      {"JO70/JO70GR.jpg", nullptr},
      {"JO71/JO71GQ.jpg", nullptr},
      {"JO70/../secret.jpg", nullptr},
      {"./secret.jpg", nullptr},
      {"JO70//JO70GQ.JPG", nullptr},
      {"", nullptr},
  };
  for (const auto& c : cases) {
    const auto got = findIgnoringCase(root, c.relative);
    if (c.found) {
      ASSERT_TRUE(got) << c.relative;
      EXPECT_EQ(*got, root + "/" + c.found) << c.relative;
    } else {
      EXPECT_FALSE(got) << c.relative;
    }
  }
}

TEST(FindIgnoringCase, TwoSpellingsSideBySideAlwaysGiveTheSameOne) {
  test::TempDir dir;
  std::ofstream(dir.file("A.JPG")) << "1";
  std::ofstream(dir.file("a.Jpg")) << "2";
  for (int i = 0; i < 3; ++i) EXPECT_EQ(findIgnoringCase(dir.path(), "a.jpg"), dir.file("A.JPG"));
}

}  // namespace
}  // namespace vektrano::platform
