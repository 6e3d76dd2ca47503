#include "windows/base/contact_effects.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

constexpr unsigned kNormal = 0x000000, kBlink = 0x0000FF;

// Label1's font colour as PrepniBarvuLabel1 changes it.
struct Label {
  unsigned colour = kNormal;
  int toggles = 0;
  std::function<void()> toggle() {
    return [this] {
      colour = PrepniBarvu(colour, kNormal, kBlink);
      ++toggles;
    };
  }
  std::function<bool()> blinking() {
    return [this] { return colour == kBlink; };
  }
};

TEST(Blik, FiveCyclesEndInTheNormalColour) {
  Label label;
  BlikSequence blik(label.toggle(), label.blinking());
  blik.start();
  EXPECT_EQ(label.colour, kBlink);
  int waits = 1;
  while (blik.timeout()) ++waits;
  EXPECT_EQ(label.toggles, 10);
  EXPECT_EQ(waits, 10);  // toggle, wait, toggle, wait, five times
  EXPECT_EQ(label.colour, kNormal);
  EXPECT_FALSE(blik.running());
}

// Told to terminate in the middle, it toggles no more and still ends in the
// normal colour, from either colour.
TEST(Blik, TerminatedInTheMiddle) {
  for (int togglesBefore : {1, 2, 5}) {
    Label label;
    BlikSequence blik(label.toggle(), label.blinking());
    blik.start();
    for (int i = 1; i < togglesBefore; ++i) blik.timeout();
    blik.terminate();
    EXPECT_EQ(label.colour, kNormal) << togglesBefore;
    const int toggles = label.toggles;
    EXPECT_FALSE(blik.timeout());
    EXPECT_EQ(label.toggles, toggles);
  }
}

// A new blink while one runs starts over from the normal colour.
TEST(Blik, RestartWhileRunning) {
  Label label;
  BlikSequence blik(label.toggle(), label.blinking());
  blik.start();
  blik.timeout();
  blik.timeout();  // blinking again
  blik.start();
  EXPECT_EQ(label.colour, kBlink);
  int waits = 1;
  while (blik.timeout()) ++waits;
  EXPECT_EQ(waits, 10);
  EXPECT_EQ(label.colour, kNormal);
}

TEST(Blik, RunsOnTheTimer) {
  Label label;
  Blik blik(label.toggle(), label.blinking(), nullptr, 1);
  blik.start();
  QElapsedTimer t;
  t.start();
  while (blik.running() && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_FALSE(blik.running());
  EXPECT_EQ(label.toggles, 10);
  EXPECT_EQ(label.colour, kNormal);
}

// Without an audio output (a headless machine) nothing plays and nothing
// fails; a missing wave file fails nothing either.
TEST(Efekt, NoDeviceOrNoFileFailsNothing) {
  test::TempDir dir;
  Efekt efekt(dir.file("chybi.wav"));
  const bool played = efekt.start();
  if (Efekt::waveOutputDevices() == 0) {
    EXPECT_FALSE(played);
    EXPECT_FALSE(efekt.playing());
  }
  efekt.start();
  QCoreApplication::processEvents();
}

}  // namespace
}  // namespace vektrano
