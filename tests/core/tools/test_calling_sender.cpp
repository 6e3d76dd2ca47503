// The calling sender's rules: the countdown and its playing, the recording's
// length from a wave file, the name shown and the settings.
#include "core/tools/calling_sender.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

std::string le(std::uint32_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

// A PCM wave of dataBytes bytes of silence.
std::string wave(std::uint32_t rate, int channels, int bits, std::uint32_t dataBytes,
                 std::string extraChunk = {}) {
  const std::uint32_t block = static_cast<std::uint32_t>(channels * bits / 8);
  std::string fmt = le(1, 2) + le(channels, 2) + le(rate, 4) + le(rate * block, 4) + le(block, 2) +
                    le(bits, 2);
  std::string body = "WAVE" + extraChunk + "fmt " + le(16, 4) + fmt + "data" + le(dataBytes, 4) +
                     std::string(dataBytes, '\0');
  return "RIFF" + le(static_cast<std::uint32_t>(body.size()), 4) + body;
}

TEST(Vyzva, CountdownPlaysAfterIntervalTicksAndRestartsOnlyWhenThePlayingEnds) {
  DavacVyzvy d(3);
  d.start();
  EXPECT_EQ(d.tick(), DavacVyzvy::Krok::Odpocet);
  EXPECT_EQ(d.tick(), DavacVyzvy::Krok::Odpocet);
  EXPECT_EQ(d.odpocet(), 1);
  EXPECT_EQ(d.tick(), DavacVyzvy::Krok::Hrat);  // the third tick

  d.zacniHrat(1000, 1500);
  EXPECT_TRUE(d.hraje());
  EXPECT_EQ(d.zbyva(1000), 1501);
  EXPECT_EQ(d.zbyva(2499), 2);
  EXPECT_LE(d.zbyva(2500), 0);
  EXPECT_TRUE(d.dohrano());
  EXPECT_FALSE(d.hraje());
  EXPECT_EQ(d.odpocet(), 3);
  EXPECT_EQ(d.tick(), DavacVyzvy::Krok::Odpocet);
}

TEST(Vyzva, StopEndsThePlayingAndKeepsTheSenderStopped) {
  DavacVyzvy d(2);
  d.start();
  d.tick();
  d.tick();
  d.zacniHrat(0, 10000);
  d.stop();
  EXPECT_FALSE(d.bezi());
  EXPECT_FALSE(d.hraje());
  EXPECT_LE(d.zbyva(1), 0);
  EXPECT_EQ(d.odpocet(), 2);
  // A playing that ends after the stop does not start the countdown again.
  EXPECT_FALSE(d.dohrano());
}

TEST(Vyzva, IntervalStaysInTheTrackBarsRange) {
  const struct {
    int given, kept;
  } cases[] = {{2, 2}, {30, 30}, {60, 60}, {1, 2}, {0, 2}, {-5, 2}, {61, 60}, {100000, 60}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    DavacVyzvy d;
    d.setInterval(c.given);
    EXPECT_EQ(d.interval(), c.kept);
    EXPECT_EQ(d.odpocet(), c.kept);
    EXPECT_EQ(DavacVyzvy(c.given).interval(), c.kept);
  }
}

TEST(Vyzva, NameShownIsTheFileNameCutTo12) {
  const struct {
    const char* path;
    const char* shown;
  } cases[] = {
      {"/home/op/vyzva.wav", "vyzva.wav"},
      {"C:\\VEKTRANO\\vektrano.wav", "vektrano.wav"},
      {"/a/dlouha_vyzva_expedice.wav", "dlouha_vyzva"},
      {"volanivyzvyexpedice.wav", "volanivyzvye"},  // no folder part
      {"", ""},
      {"/slozka/", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Label1set(c.path), c.shown) << c.path;
}

TEST(Vyzva, RecordingLengthFromTheWaveFile) {
  // One second of 8 kHz mono 8-bit, of 44.1 kHz stereo 16-bit, half a second.
  EXPECT_EQ(delkaNahravky(wave(8000, 1, 8, 8000)), 1000);
  EXPECT_EQ(delkaNahravky(wave(44100, 2, 16, 44100 * 4)), 1000);
  EXPECT_EQ(delkaNahravky(wave(8000, 1, 16, 8000)), 500);
  // A chunk before the format (odd length, padded) is stepped over.
  EXPECT_EQ(delkaNahravky(wave(8000, 1, 8, 4000, "LIST" + le(3, 4) + "abc" + '\0')), 500);

  // A data size beyond the file (as streaming writers leave it) counts what
  // is there.
  std::string cut = wave(8000, 1, 8, 8000);
  cut.resize(cut.size() - 4000);
  EXPECT_EQ(delkaNahravky(cut), 500);

  std::string noRate = wave(8000, 1, 8, 8000);
  noRate.replace(12 + 8 + 8, 4, le(0, 4));
  const std::string noData = wave(8000, 1, 8, 0).substr(0, 12 + 8 + 16);
  for (const std::string& bad :
       {std::string(), std::string("RIFF"), std::string("not a wave at all"), noRate, noData,
        "RIFX" + wave(8000, 1, 8, 10).substr(4)})
    EXPECT_FALSE(delkaNahravky(bad));
}

class VyzvaSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.file("config"));
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
  }
  test::TempDir dir_;
  const std::string key_ = "\\Software\\NOVR\\Vektrano\\Form17";
};

TEST_F(VyzvaSettings, RoundTripAndDefaults) {
  EXPECT_EQ(nactiNastaveniVyzvy(key_).cas, 2);
  EXPECT_EQ(nactiNastaveniVyzvy(key_).WaveFileName, "");

  // The path is the file system's bytes; the settings keep it as cp1250 text.
  const std::string wave = platform::pathFromText("/data/výzva.wav");
  ASSERT_TRUE(ulozNastaveniVyzvy(key_, {25, wave}));
  {
    auto k = platform::RegistryKey::open(key_, true);
    k->writeInteger("Top", 5);
    k->writeInteger("Left", 6);
    EXPECT_EQ(k->readString("WaveFileName"), "/data/výzva.wav");
  }
  EXPECT_EQ(nactiNastaveniVyzvy(key_).cas, 25);
  EXPECT_EQ(nactiNastaveniVyzvy(key_).WaveFileName, wave);
}

TEST_F(VyzvaSettings, AMissingValueEndsTheReading) {
  ASSERT_TRUE(ulozNastaveniVyzvy(key_, {25, "/data/a.wav"}));
  // Without Left neither cas nor the file are taken.
  platform::RegistryKey::open(key_, true)->writeInteger("Top", 5);
  EXPECT_EQ(nactiNastaveniVyzvy(key_).cas, 2);
  EXPECT_EQ(nactiNastaveniVyzvy(key_).WaveFileName, "");

  {
    auto k = platform::RegistryKey::open(key_, true);
    k->writeInteger("Left", 6);
    k->writeInteger("cas", 0);
  }
  EXPECT_EQ(nactiNastaveniVyzvy(key_).cas, 2);
  EXPECT_EQ(nactiNastaveniVyzvy(key_).WaveFileName, "/data/a.wav");

  {
    auto k = platform::RegistryKey::open(key_, true);
    k->deleteValue("cas");
  }
  EXPECT_EQ(nactiNastaveniVyzvy(key_).WaveFileName, "");
}

}  // namespace
}  // namespace vektrano
