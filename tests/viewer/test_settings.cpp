#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/files.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"
#include "viewer/activation.h"
#include "viewer/settings.h"

namespace vektrano::palomir {
namespace {

// Every test gets a store of its own, never the real one.
class PalomirSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1); }
  test::TempDir dir_;
};

TEST_F(PalomirSettingsTest, FirstRunReadsNothing) {
  const PalomirSettings s = readSettings();
  EXPECT_TRUE(s.keyOpened);
  EXPECT_FALSE(s.top || s.left || s.height || s.width || s.associated || s.maximized);
}

TEST_F(PalomirSettingsTest, ReadingStopsAtTheFirstMissingValue) {
  {
    auto key = platform::RegistryKey::open(kPalomirKey, true);
    ASSERT_TRUE(key);
    key->writeInteger("Top", 20);
    key->writeInteger("Left", 30);
    // Height is missing: Width and the Booleans are not read.
    key->writeInteger("Width", 700);
    key->writeBool("Associated", true);
    key->writeBool("Maximized", true);
    ASSERT_TRUE(key->flush());
  }
  const PalomirSettings s = readSettings();
  EXPECT_EQ(s.top, 20);
  EXPECT_EQ(s.left, 30);
  EXPECT_FALSE(s.height);
  EXPECT_FALSE(s.width);
  EXPECT_FALSE(s.associated);
  EXPECT_FALSE(s.maximized);
}

TEST_F(PalomirSettingsTest, WrittenSettingsReadBack) {
  ASSERT_TRUE(writeSettings({15, 25, 480, 640, true}, true));
  const PalomirSettings s = readSettings();
  EXPECT_EQ(s.top, 15);
  EXPECT_EQ(s.left, 25);
  EXPECT_EQ(s.height, 480);
  EXPECT_EQ(s.width, 640);
  EXPECT_EQ(s.associated, true);
  EXPECT_EQ(s.maximized, true);
}

TEST_F(PalomirSettingsTest, FileAppFromVektranosKey) {
  EXPECT_EQ(readFileApp(), "");
  // Reading does not create Vektrano's key.
  EXPECT_FALSE(platform::RegistryKey::open(kVektranoKey, false));
  {
    auto key = platform::RegistryKey::open(kVektranoKey, true);
    ASSERT_TRUE(key);
    key->writeString("FileApp", "/opt/Vektrano ěšč");
  }
  // The store's cp1250 text, as the file system's bytes.
  EXPECT_EQ(readFileApp(), platform::pathFromText("/opt/Vektrano ěšč"));
}

TEST(PalomirActivation, OwnDialogsDoNotRestartTheSearch) {
  ActivationGate g;
  EXPECT_TRUE(g.activated());  // the first activation searches

  // The question box takes the focus; an activation while it is up and the
  // one when it gives the focus back are both its own.
  g.dialogOpened();
  g.deactivated();
  EXPECT_FALSE(g.activated());
  g.dialogClosed();
  EXPECT_FALSE(g.activated());
  EXPECT_TRUE(g.activated()) << "the next genuine activation searches again";

  g.dialogOpened();
  g.deactivated();
  g.dialogClosed();
  EXPECT_FALSE(g.activated());  // the return from the box

  g.deactivated();  // the user went to another program
  EXPECT_TRUE(g.activated());

  g.setBusy(true);
  EXPECT_FALSE(g.activated());
  g.setBusy(false);
  EXPECT_TRUE(g.activated());
}

}  // namespace
}  // namespace vektrano::palomir
