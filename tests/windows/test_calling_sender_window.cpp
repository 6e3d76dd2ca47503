// The calling sender window on a fake clock and a fake player: the countdown,
// the playing and its end, stopping, no output device, and the settings.
#include "windows/calling_sender_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <filesystem>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using platform::fromQString;

struct PlayerLog {
  int devices = 1;
  std::vector<std::string> played;
  int stops = 0;
};

class FakePlayer : public WavePlayer {
 public:
  explicit FakePlayer(PlayerLog& log) : log_(log) {}
  int outputDevices() const override { return log_.devices; }
  void play(const std::string& path) override { log_.played.push_back(path); }
  void stop() override { ++log_.stops; }

 private:
  PlayerLog& log_;
};

std::string le(std::uint32_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

// 8 kHz mono 8-bit: ms milliseconds of silence.
std::string wave(std::uint32_t ms) {
  const std::uint32_t n = ms * 8;
  const std::string body = "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) +
                           le(8000, 4) + le(1, 2) + le(8, 2) + "data" + le(n, 4) +
                           std::string(n, '\x80');
  return "RIFF" + le(static_cast<std::uint32_t>(body.size()), 4) + body;
}

class Form17Test : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.file("config"));
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    platform::setProgramFolder(dir_.path());
    wave_ = dir_.file(platform::pathFromText("výzva.wav"));
    ASSERT_TRUE(platform::writeFileAtomic(wave_, wave(1500)));
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.defaultAnswer;
    });
  }
  void TearDown() override {
    platform::setMessageHandler(previous_);
    delete Form17.data();
    platform::setProgramFolder({});
  }

  TForm17* open(int interval = 2) {
    TForm17::Hooks hooks;
    hooks.player = std::make_unique<FakePlayer>(player_);
    hooks.now = [this] { return now_; };
    Form17 = new TForm17(nullptr, std::move(hooks));
    Form17->TrackBar1()->setValue(interval);
    Form17->chooseWaveFile(wave_);
    return Form17;
  }
  void closeAndDelete(TForm17* w) {
    EXPECT_TRUE(w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Form17);
  }
  static std::string text(const QLabel* l) { return fromQString(l->text()); }
  static QColor colour(const QLabel* l) { return l->palette().color(QPalette::WindowText); }

  test::TempDir dir_;
  std::string wave_;
  PlayerLog player_;
  std::int64_t now_ = 100000;
  std::vector<std::string> messages_;
  platform::MessageHandler previous_;
};

TEST_F(Form17Test, FirstOpeningAndSettingsKeptForTheNext) {
  TForm17* w = openForm17();
  EXPECT_EQ(fromQString(w->windowTitle()), "Dávač výzvy");
  EXPECT_EQ(w->TrackBar1()->value(), 2);
  EXPECT_EQ(w->davac().interval(), 2);
  EXPECT_EQ(text(w->Label2()), "2");
  EXPECT_EQ(w->waveFile(), dir_.file("vektrano.wav"));
  EXPECT_EQ(text(w->Label1()), "vektrano.wav");
  EXPECT_EQ(fromQString(w->BitBtn1()->text()), "OK");
  EXPECT_EQ(w->geometry().topLeft(), QPoint(10, 10));

  w->TrackBar1()->setValue(25);
  EXPECT_EQ(text(w->Label2()), "25");
  const std::string dlouhe = dir_.file(platform::pathFromText("dlouhé_jméno_výzvy.wav"));
  w->chooseWaveFile(dlouhe);
  EXPECT_EQ(text(w->Label1()), "dlouhé_jméno");
  closeAndDelete(w);

  auto key = platform::RegistryKey::open("\\Software\\NOVR\\Vektrano\\Form17", false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->readInteger("cas"), 25);
  EXPECT_EQ(key->readString("WaveFileName"), dir_.file("dlouhé_jméno_výzvy.wav"));  // as cp1250 text
  EXPECT_TRUE(key->valueExists("Top"));
  EXPECT_FALSE(key->valueExists("Width"));

  w = openForm17();
  EXPECT_EQ(w->TrackBar1()->value(), 25);
  EXPECT_EQ(w->davac().odpocet(), 25);
  EXPECT_EQ(text(w->Label2()), "25");
  EXPECT_EQ(text(w->Label1()), "dlouhé_jméno");
}

TEST_F(Form17Test, WithoutAnOutputDeviceTheCountdownRestartsAndNothingPlays) {
  player_.devices = 0;
  TForm17* w = open(3);
  w->BitBtn1Click();
  EXPECT_EQ(fromQString(w->BitBtn1()->text()), "KONEC");
  EXPECT_FALSE(w->TrackBar1()->isEnabled());
  EXPECT_TRUE(w->Timer17()->isActive());
  EXPECT_EQ(w->Timer17()->interval(), 990);

  for (int round = 0; round < 2; ++round) {
    w->Timer17Timer();
    EXPECT_EQ(text(w->Label2()), "2");
    w->Timer17Timer();
    EXPECT_EQ(text(w->Label2()), "1");
    w->Timer17Timer();  // its turn: straight on
    EXPECT_EQ(w->davac().odpocet(), 3);
    EXPECT_TRUE(w->Timer17()->isActive());
  }
  EXPECT_TRUE(player_.played.empty());
  EXPECT_TRUE(messages_.empty());
}

TEST_F(Form17Test, PlaysOnItsTurnShowsTheTimeLeftAndCountsDownAgain) {
  TForm17* w = open(2);
  const QColor red = colour(w->Label2());
  w->BitBtn1Click();
  w->Timer17Timer();
  EXPECT_TRUE(player_.played.empty());
  w->Timer17Timer();
  ASSERT_EQ(player_.played, std::vector<std::string>{wave_});
  EXPECT_FALSE(w->Timer17()->isActive());  // no countdown during the playing
  EXPECT_NE(colour(w->Label2()), red);
  EXPECT_EQ(fromQString(w->StatusBar1()->currentMessage()), " Ještě zbývá milisec : 1501");
  EXPECT_EQ(text(w->Label2()), "1");

  now_ += 1000;
  w->Timer17Timer();  // a tick that was queued changes nothing now
  w->hrejKrok();
  EXPECT_EQ(fromQString(w->StatusBar1()->currentMessage()), " Ještě zbývá milisec : 501");
  EXPECT_EQ(text(w->Label2()), "0");
  EXPECT_EQ(w->davac().odpocet(), 0);

  now_ += 500;
  w->hrejKrok();
  EXPECT_FALSE(w->davac().hraje());
  EXPECT_EQ(player_.stops, 1);
  EXPECT_EQ(colour(w->Label2()), red);
  EXPECT_EQ(w->davac().odpocet(), 2);
  EXPECT_TRUE(w->Timer17()->isActive());
  EXPECT_TRUE(w->BitBtn1()->isEnabled());
  EXPECT_EQ(fromQString(w->BitBtn1()->text()), "KONEC");
}

TEST_F(Form17Test, StopEndsAPlayingAtOnceAndLeavesTheButtonUsable) {
  TForm17* w = open(2);
  const QColor red = colour(w->Label2());
  w->BitBtn1Click();
  w->Timer17Timer();
  w->Timer17Timer();
  ASSERT_TRUE(w->davac().hraje());

  w->BitBtn1Click();  // KONEC during the playing
  EXPECT_EQ(player_.stops, 1);
  EXPECT_FALSE(w->davac().hraje());
  EXPECT_FALSE(w->davac().bezi());
  EXPECT_FALSE(w->Timer17()->isActive());
  EXPECT_EQ(fromQString(w->BitBtn1()->text()), "OK");
  EXPECT_TRUE(w->BitBtn1()->isEnabled());
  EXPECT_TRUE(w->TrackBar1()->isEnabled());
  EXPECT_EQ(text(w->Label2()), "2");
  EXPECT_EQ(colour(w->Label2()), red);
  now_ += 5000;
  w->hrejKrok();
  EXPECT_FALSE(w->Timer17()->isActive());

  // Stopped in the middle of a countdown, and started again from the top.
  w->BitBtn1Click();
  w->Timer17Timer();
  w->BitBtn1Click();
  EXPECT_TRUE(w->BitBtn1()->isEnabled());
  EXPECT_EQ(w->davac().odpocet(), 2);
  w->BitBtn1Click();
  w->Timer17Timer();
  w->Timer17Timer();
  EXPECT_EQ(player_.played.size(), 2u);
}

TEST_F(Form17Test, AWaveFileThatCannotBePlayedStopsTheCountdown) {
  const std::string notWave = dir_.file("text.wav");
  ASSERT_TRUE(platform::writeFileAtomic(notWave, "RIFF? no"));
  const struct {
    std::string path, message;
  } cases[] = {
      {dir_.file("chybi.wav"), "Chyba I/O při čtení souboru : " + dir_.file("chybi.wav")},
      {notWave, "Soubor " + notWave + " není zvukový soubor WAV"},
  };
  TForm17* w = open(2);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    messages_.clear();
    w->chooseWaveFile(c.path);
    w->BitBtn1Click();
    w->Timer17Timer();
    w->Timer17Timer();
    EXPECT_EQ(messages_, std::vector<std::string>{c.message});
    EXPECT_FALSE(w->Timer17()->isActive());
    EXPECT_FALSE(w->davac().hraje());
    EXPECT_EQ(fromQString(w->BitBtn1()->text()), "KONEC");
    w->BitBtn1Click();
    EXPECT_EQ(fromQString(w->BitBtn1()->text()), "OK");
    EXPECT_TRUE(w->BitBtn1()->isEnabled());
  }
  EXPECT_TRUE(player_.played.empty());
}

TEST_F(Form17Test, ClosingDuringAPlayingStopsThePlayer) {
  TForm17* w = open(2);
  w->BitBtn1Click();
  w->Timer17Timer();
  w->Timer17Timer();
  ASSERT_TRUE(w->davac().hraje());
  closeAndDelete(w);
  EXPECT_GE(player_.stops, 1);
}

TEST_F(Form17Test, TheProgramsPlayerPlaysNothingWithoutADevice) {
  // On a machine with an audio output this would sound; the point here is
  // that asking does no harm without one.
  auto player = makeWavePlayer();
  if (player->outputDevices() > 0) GTEST_SKIP() << "an audio output is present";
  TForm17* w = openForm17();
  w->chooseWaveFile(wave_);
  w->BitBtn1Click();
  w->Timer17Timer();
  w->Timer17Timer();
  EXPECT_FALSE(w->davac().hraje());
  EXPECT_TRUE(w->Timer17()->isActive());
  EXPECT_TRUE(messages_.empty());
}

TEST_F(Form17Test, ANewFileChosenWhileOnePlaysEndsTheOldOneAndPlaysNext) {
  TForm17* w = open(2);
  const std::string other = dir_.file(platform::pathFromText("jiná.wav"));
  ASSERT_TRUE(platform::writeFileAtomic(other, wave(500)));
  w->BitBtn1Click();
  w->Timer17Timer();
  w->Timer17Timer();
  ASSERT_TRUE(w->davac().hraje());

  w->chooseWaveFile(other);
  EXPECT_EQ(player_.stops, 1);  // the old recording closed
  EXPECT_FALSE(w->davac().hraje());
  EXPECT_TRUE(w->Timer17()->isActive());  // the sender goes on
  EXPECT_TRUE(w->davac().bezi());
  w->Timer17Timer();
  w->Timer17Timer();
  EXPECT_EQ(player_.played, (std::vector<std::string>{wave_, other}));

  // Chosen again during that next playing: it ends as well.
  w->chooseWaveFile(wave_);
  EXPECT_EQ(player_.stops, 2);
  EXPECT_EQ(w->waveFile(), wave_);
}

}  // namespace
}  // namespace vektrano
