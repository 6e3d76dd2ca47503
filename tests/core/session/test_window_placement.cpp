#include "core/session/window_placement.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/registry.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

class PlacementTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1); }
  test::TempDir dir_;
};

TEST_F(PlacementTest, ClampedValuesAndFirstMissingValueEndsTheReading) {
  EXPECT_EQ(windowSettingsKey(3), "\\Software\\NOVR\\Vektrano\\Form3");
  struct Case {
    int value, extent, expected;
  } cases[] = {{5000, 1024, 1}, {1014, 1024, 1014}, {1015, 1024, 1}, {0, 1024, 0}, {-20, 1024, 1}};
  for (const auto& c : cases) EXPECT_EQ(clampPlacement(c.value, c.extent), c.expected) << c.value;

  const std::string key = windowSettingsKey(97);
  const WindowPlacement defaults{10, 10, 280, 450, false};
  // No key at all: the defaults.
  EXPECT_EQ(readPlacement(key, defaults, PlacementValues::Full, 1280, 1024).top, 10);
  {
    auto k = platform::RegistryKey::open(key, true);
    k->writeInteger("Top", 5000);
    k->writeInteger("Left", -3);
    k->writeInteger("Height", 300);
    ASSERT_TRUE(k->flush());
  }
  const WindowPlacement p = readPlacement(key, defaults, PlacementValues::Full, 1280, 1024);
  EXPECT_EQ(p.top, 1);
  EXPECT_EQ(p.left, 1);
  EXPECT_EQ(p.height, 300);
  EXPECT_EQ(p.width, 450);  // missing: it and the rest keep their defaults
  EXPECT_FALSE(p.maximized);

  ASSERT_TRUE(writePlacement(key, {20, 30, 400, 500, true}, PlacementValues::Full));
  const WindowPlacement back = readPlacement(key, defaults, PlacementValues::Full, 1280, 1024);
  EXPECT_EQ(back.top, 20);
  EXPECT_EQ(back.left, 30);
  EXPECT_EQ(back.height, 400);
  EXPECT_EQ(back.width, 500);
  EXPECT_TRUE(back.maximized);

  // A position-only window writes Top and Left alone.
  const std::string key8 = windowSettingsKey(98);
  ASSERT_TRUE(writePlacement(key8, {40, 50, 1, 1, true}, PlacementValues::PositionOnly));
  auto k8 = platform::RegistryKey::open(key8, false);
  ASSERT_TRUE(k8);
  EXPECT_EQ(k8->readInteger("Top"), 40);
  EXPECT_FALSE(k8->valueExists("Height"));
  EXPECT_FALSE(k8->valueExists("Maximized"));
}

}  // namespace
}  // namespace vektrano
