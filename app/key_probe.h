#pragma once
// The event-loop probe the typing benchmark reads (VEKTRANO_TEST_HOOKS with
// "keyprobe"): for each key, the time the main thread took to answer it: from
// its press reaching the program to the main thread's next wait for events,
// plus the same from its release (once when both came in one go); and
// every stretch the main thread worked without waiting. Both leave out the
// time the main thread stood in the run queue (other programs had the
// cores), so a loaded machine shows the program's own work. After 1.5 s
// without a key it prints what it measured to standard error and starts
// again:
//   vektrano-probe: keys <microseconds of each key>
//   vektrano-probe: busy <microseconds of each stretch of 1 ms or more>
// Each search, from its start to the main thread's next wait after its last
// lines stood in its list (the list painted), in wall time, printed when it
// ends:
//   vektrano-probe: search <kind> <microseconds> <text>
// It needs Qt's own event dispatcher (QT_NO_GLIB=1): the GLib one signals a
// wait at every turn of its loop, also when events are still waiting.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vektrano {

class KeyProbe : public QObject {
 public:
  explicit KeyProbe(QObject* parent);
  ~KeyProbe() override;

  // The running probe, or none.
  static KeyProbe* instance();
  // The main window tells of each search it starts and of the last lines it
  // put into a list.
  void searchStarted(int kind, const std::string& text);
  void searchEnded(int kind);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void awake();
  void aboutToBlock();
  void report();
  // Nanoseconds the main thread has waited in the run queue so far.
  std::int64_t queuedNs() const;

  QElapsedTimer clock_;
  QTimer quiet_;
  int schedstat_ = -1;
  std::int64_t wokeNs_ = -1, wokeQueuedNs_ = 0;
  std::int64_t pressNs_ = -1;    // the press not yet answered
  std::int64_t releaseNs_ = -1;  // the release not yet answered
  std::int64_t fromQueuedNs_ = 0;  // run-queue wait when the press or release came
  std::int64_t answeredUs_ = 0;  // of the key so far
  bool inKey_ = false;           // pressed, its release not answered yet
  bool measuring_ = false;
  std::vector<std::int64_t> keysUs_, busyUs_;
  struct Search {
    std::int64_t startNs = -1;
    bool ended = false;
    std::string text;
  };
  std::array<Search, 8> searches_;
  std::string searchLines_;  // not yet printed
};

}  // namespace vektrano
