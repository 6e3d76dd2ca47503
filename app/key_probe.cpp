#include "app/key_probe.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QKeyEvent>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vektrano {

namespace {
KeyProbe* theProbe = nullptr;
}

KeyProbe::KeyProbe(QObject* parent) : QObject(parent) {
  theProbe = this;
  clock_.start();
  const std::string stat = "/proc/self/task/" + std::to_string(::syscall(SYS_gettid)) + "/schedstat";
  schedstat_ = ::open(stat.c_str(), O_RDONLY | O_CLOEXEC);
  quiet_.setSingleShot(true);
  quiet_.setInterval(1500);
  connect(&quiet_, &QTimer::timeout, this, &KeyProbe::report);
  QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
  connect(d, &QAbstractEventDispatcher::awake, this, &KeyProbe::awake);
  connect(d, &QAbstractEventDispatcher::aboutToBlock, this, &KeyProbe::aboutToBlock);
  // Seen before any other filter, the main window's key preview included.
  QCoreApplication::instance()->installEventFilter(this);
}

KeyProbe::~KeyProbe() {
  if (theProbe == this) theProbe = nullptr;
  if (schedstat_ >= 0) ::close(schedstat_);
}

KeyProbe* KeyProbe::instance() { return theProbe; }

// The second number of the thread's schedstat: time spent runnable but
// waiting for a core.
std::int64_t KeyProbe::queuedNs() const {
  if (schedstat_ < 0) return 0;
  char buf[128];
  const ssize_t n = ::pread(schedstat_, buf, sizeof buf - 1, 0);
  if (n <= 0) return 0;
  buf[n] = '\0';
  char* end = nullptr;
  std::strtoll(buf, &end, 10);
  return std::strtoll(end, nullptr, 10);
}

void KeyProbe::searchStarted(int kind, const std::string& text) {
  if (kind < 0 || kind >= static_cast<int>(searches_.size())) return;
  searches_[static_cast<size_t>(kind)] = {clock_.nsecsElapsed(), false, text};
}

void KeyProbe::searchEnded(int kind) {
  if (kind < 0 || kind >= static_cast<int>(searches_.size())) return;
  Search& s = searches_[static_cast<size_t>(kind)];
  if (s.startNs >= 0) s.ended = true;
}

bool KeyProbe::eventFilter(QObject*, QEvent* event) {
  // A key event is offered to the filters once for every widget it
  // travels through: the first press and the first release count.
  const std::int64_t now = clock_.nsecsElapsed();
  if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
    if (!inKey_) {
      inKey_ = true;
      pressNs_ = now;
      fromQueuedNs_ = queuedNs();
      releaseNs_ = -1;
      answeredUs_ = 0;
      measuring_ = true;
    }
  } else if (event->type() == QEvent::KeyRelease && inKey_ && releaseNs_ < 0) {
    releaseNs_ = now;
    if (pressNs_ < 0) fromQueuedNs_ = queuedNs();
  }
  return false;
}

// The dispatcher wakes for every turn of the loop; a stretch of work runs
// from the first wake after a wait to the next wait.
void KeyProbe::awake() {
  if (wokeNs_ >= 0) return;
  wokeNs_ = clock_.nsecsElapsed();
  if (measuring_) wokeQueuedNs_ = queuedNs();
}

void KeyProbe::aboutToBlock() {
  const std::int64_t now = clock_.nsecsElapsed();
  const std::int64_t queued = measuring_ || inKey_ ? queuedNs() : 0;
  if (measuring_ && wokeNs_ >= 0) {
    const std::int64_t worked = now - wokeNs_ - (queued - wokeQueuedNs_);
    if (worked >= 1000000) busyUs_.push_back(worked / 1000);
  }
  wokeNs_ = -1;
  for (size_t k = 0; k < searches_.size(); ++k) {
    Search& s = searches_[k];
    if (!s.ended) continue;
    searchLines_ += "vektrano-probe: search " + std::to_string(k) + " " +
                    std::to_string((now - s.startNs) / 1000) + " " + s.text + "\n";
    s = Search{};
  }
  // While keys are measured, the lines wait for the report: a write to
  // standard error may wait for the disk.
  if (!measuring_ && !searchLines_.empty()) {
    std::fputs(searchLines_.c_str(), stderr);
    std::fflush(stderr);
    searchLines_.clear();
  }
  if (!inKey_) return;
  const std::int64_t own = (queued - fromQueuedNs_) / 1000;
  if (pressNs_ >= 0) {
    answeredUs_ += (now - pressNs_) / 1000 - own;
    pressNs_ = -1;
    if (releaseNs_ >= 0) releaseNs_ = -2;  // answered in the same go
  } else if (releaseNs_ >= 0) {
    answeredUs_ += (now - releaseNs_) / 1000 - own;
    releaseNs_ = -2;
  }
  if (releaseNs_ == -2) {
    keysUs_.push_back(answeredUs_);
    inKey_ = false;
    quiet_.start();
  }
}

void KeyProbe::report() {
  auto line = [](const char* what, const std::vector<std::int64_t>& v) {
    std::string s = "vektrano-probe: ";
    s += what;
    for (std::int64_t x : v) s += " " + std::to_string(x);
    std::fprintf(stderr, "%s\n", s.c_str());
  };
  line("keys", keysUs_);
  line("busy", busyUs_);
  std::fputs(searchLines_.c_str(), stderr);
  searchLines_.clear();
  std::fflush(stderr);
  keysUs_.clear();
  busyUs_.clear();
  measuring_ = false;
}

}  // namespace vektrano
