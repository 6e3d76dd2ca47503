#include "windows/base/contact_effects.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace vektrano {

Efekt::Efekt(std::string waveFile, QObject* parent)
    : QObject(parent), waveFile_(std::move(waveFile)) {}

Efekt::~Efekt() = default;

std::string Efekt::defaultWaveFile() {
  return platform::joinPath(platform::programFolder(), "vektrano.wav");
}

int Efekt::waveOutputDevices() { return static_cast<int>(QMediaDevices::audioOutputs().size()); }

bool Efekt::start() {
  if (waveOutputDevices() < 1) return false;
  if (!sound_) {
    sound_ = new QSoundEffect(this);
    // The file-system name of the path, separators normalised.
    const std::string path = platform::fromFsPath(platform::fsPath(waveFile_));
    sound_->setSource(QUrl::fromLocalFile(platform::pathToQString(path)));
    connect(sound_, &QSoundEffect::playingChanged, this, [this] {
      if (!sound_->isPlaying() && pending_ > 0) {
        --pending_;
        sound_->play();
      }
    });
  }
  if (sound_->isPlaying())
    ++pending_;
  else
    sound_->play();
  return true;
}

bool Efekt::playing() const { return sound_ && (sound_->isPlaying() || pending_ > 0); }

BlikSequence::BlikSequence(std::function<void()> toggle, std::function<bool()> showsBlinkColour)
    : toggle_(std::move(toggle)), showsBlinkColour_(std::move(showsBlinkColour)) {}

void BlikSequence::start() {
  terminate();
  running_ = true;
  toggles_ = 1;
  toggle_();
}

bool BlikSequence::timeout() {
  if (!running_) return false;
  if (toggles_ < kToggles) {
    ++toggles_;
    toggle_();
    return true;
  }
  finish();
  return false;
}

void BlikSequence::terminate() {
  if (running_) finish();
}

void BlikSequence::finish() {
  running_ = false;
  if (showsBlinkColour_()) toggle_();
}

Blik::Blik(std::function<void()> toggle, std::function<bool()> showsBlinkColour, QObject* parent,
           int waitMs)
    : QObject(parent), sequence_(std::move(toggle), std::move(showsBlinkColour)) {
  timer_.setInterval(waitMs);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (!sequence_.timeout()) timer_.stop();
  });
}

void Blik::start() {
  timer_.stop();
  sequence_.start();
  timer_.start();
}

void Blik::terminate() {
  timer_.stop();
  sequence_.terminate();
}

}  // namespace vektrano
