#pragma once
// The feedback of a stored contact: the contact sound (`efekt`) and the
// blinking distance label (`blik`). Both run on the main thread driven by
// Qt, so neither needs a thread of its own: the sound plays asynchronously
// and the blink is a 200 ms timer.
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

class QSoundEffect;

namespace vektrano {

// The contact sound: the program's wave file, when the machine has at least
// one audio output. With none (a headless machine) nothing plays and
// nothing fails. A sound asked for while one plays follows it.
class Efekt : public QObject {
 public:
  explicit Efekt(std::string waveFile, QObject* parent = nullptr);
  ~Efekt() override;

  // The wave file beside the program: vektrano.wav in the program folder.
  static std::string defaultWaveFile();
  // Number of audio outputs.
  static int waveOutputDevices();

  // True when the sound plays (or follows the one playing).
  bool start();
  bool playing() const;

 private:
  std::string waveFile_;
  QSoundEffect* sound_ = nullptr;
  int pending_ = 0;
};

// Five cycles of toggle, wait, toggle, wait; told to terminate it toggles no
// more, and it always ends in the label's normal colour.
class BlikSequence {
 public:
  // toggle: `PrepniBarvuLabel1`; showsBlinkColour: the label shows
  // `BarvaBliku`.
  BlikSequence(std::function<void()> toggle, std::function<bool()> showsBlinkColour);

  // Starts again (a running blink is terminated first) with the first toggle.
  void start();
  // After each wait: false when the blink has ended.
  bool timeout();
  void terminate();
  bool running() const { return running_; }

  static constexpr int kToggles = 10;
  static constexpr int kWaitMs = 200;

 private:
  void finish();
  std::function<void()> toggle_;
  std::function<bool()> showsBlinkColour_;
  int toggles_ = 0;
  bool running_ = false;
};

class Blik : public QObject {
 public:
  Blik(std::function<void()> toggle, std::function<bool()> showsBlinkColour,
       QObject* parent = nullptr, int waitMs = BlikSequence::kWaitMs);
  void start();
  void terminate();
  bool running() const { return sequence_.running(); }

 private:
  BlikSequence sequence_;
  QTimer timer_;
};

// `PrepniBarvuLabel1`: the label's font colour after one toggle.
inline unsigned PrepniBarvu(unsigned current, unsigned BarvaLabel1, unsigned BarvaBliku) {
  return current == BarvaBliku ? BarvaLabel1 : BarvaBliku;
}

}  // namespace vektrano
