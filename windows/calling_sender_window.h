#pragma once
// The calling sender "Dávač výzvy": counts an interval down in 990 ms ticks,
// plays the recorded call once, and counts down again, until stopped. The
// rules are in core/tools/calling_sender.h; this window owns the controls, the two timers
// and the player. Settings under "\Software\NOVR\Vektrano\Form17".
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/tools/calling_sender.h"
#include "windows/base/tool_window.h"

class QLabel;
class QPushButton;
class QSlider;
class QStatusBar;
class QTimer;

namespace vektrano {

// What plays the recording. The program's plays through Qt Multimedia; tests
// give their own.
class WavePlayer {
 public:
  virtual ~WavePlayer() = default;
  // Number of audio outputs; with none nothing is played.
  virtual int outputDevices() const = 0;
  // Starts playing the file and returns at once.
  virtual void play(const std::string& path) = 0;
  virtual void stop() = 0;
};

std::unique_ptr<WavePlayer> makeWavePlayer();

// The calling sender: plays the calling sound at a chosen interval.
class TForm17 : public ToolWindow {
  Q_OBJECT
 public:
  struct Hooks {
    std::unique_ptr<WavePlayer> player;  // default: makeWavePlayer()
    std::function<std::int64_t()> now;   // milliseconds; default: tickCount()
  };

  explicit TForm17(QWidget* parent = nullptr, Hooks hooks = {});
  ~TForm17() override;

  void TrackBar1Change(int position);
  // The open dialog; a choice goes to chooseWaveFile.
  void Label1Click();
  void chooseWaveFile(const std::string& path);
  void BitBtn1Click();
  void Timer17Timer();
  // One step of a playing in progress (the play timer's tick): the time left
  // is shown, and the playing ends when it is over.
  void hrejKrok();

  const DavacVyzvy& davac() const { return davac_; }
  const std::string& waveFile() const { return waveFile_; }
  QSlider* TrackBar1() const { return trackBar1_; }
  QLabel* Label1() const { return label1_; }
  QLabel* Label2() const { return label2_; }
  QPushButton* BitBtn1() const { return bitBtn1_; }
  QStatusBar* StatusBar1() const { return statusBar1_; }
  QTimer* Timer17() const { return timer17_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void hrej();
  void konecHrani();
  void ukonciPrehravani();
  void setButtonRunning(bool running);
  void setLabel2Colour(bool playing);

  Hooks hooks_;
  DavacVyzvy davac_;
  std::string waveFile_;
  QSlider* trackBar1_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QPushButton* bitBtn1_ = nullptr;
  QStatusBar* statusBar1_ = nullptr;
  QTimer* timer17_ = nullptr;
  QTimer* playTimer_ = nullptr;
};

extern QPointer<TForm17> Form17;

// Ctrl+D of the main window: creates the window on first use, then shows it
// in front.
TForm17* openForm17(QWidget* parent = nullptr);

}  // namespace vektrano
