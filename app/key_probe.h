#pragma once
// The event-loop probe the typing benchmark reads (VEKTRANO_TEST_HOOKS with
// "keyprobe"): for each key, the time the main thread took to answer it: from
// its press reaching the program to the main thread's next wait for events,
// plus the same from its release (once when both came in one go); and
// every stretch the main thread worked without waiting. After 1.5 s without a key
// it prints what it measured to standard error and starts again:
//   vektrano-probe: keys <microseconds of each key>
//   vektrano-probe: busy <microseconds of each stretch of 1 ms or more>
// It needs Qt's own event dispatcher (QT_NO_GLIB=1): the GLib one signals a
// wait at every turn of its loop, also when events are still waiting.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <vector>

namespace vektrano {

class KeyProbe : public QObject {
 public:
  explicit KeyProbe(QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void awake();
  void aboutToBlock();
  void report();

  QElapsedTimer clock_;
  QTimer quiet_;
  std::int64_t wokeNs_ = -1;
  std::int64_t pressNs_ = -1;    // the press not yet answered
  std::int64_t releaseNs_ = -1;  // the release not yet answered
  std::int64_t answeredUs_ = 0;  // of the key so far
  bool inKey_ = false;           // pressed, its release not answered yet
  bool measuring_ = false;
  std::vector<std::int64_t> keysUs_, busyUs_;
};

}  // namespace vektrano
