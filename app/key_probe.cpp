#include "app/key_probe.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QKeyEvent>
#include <cstdio>
#include <string>

namespace vektrano {

KeyProbe::KeyProbe(QObject* parent) : QObject(parent) {
  clock_.start();
  quiet_.setSingleShot(true);
  quiet_.setInterval(1500);
  connect(&quiet_, &QTimer::timeout, this, &KeyProbe::report);
  QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
  connect(d, &QAbstractEventDispatcher::awake, this, &KeyProbe::awake);
  connect(d, &QAbstractEventDispatcher::aboutToBlock, this, &KeyProbe::aboutToBlock);
  // Seen before any other filter, the main window's key preview included.
  QCoreApplication::instance()->installEventFilter(this);
}

bool KeyProbe::eventFilter(QObject*, QEvent* event) {
  // A key event is offered to the filters once for every widget it
  // travels through: the first press and the first release count.
  const std::int64_t now = clock_.nsecsElapsed();
  if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
    if (!inKey_) {
      inKey_ = true;
      pressNs_ = now;
      releaseNs_ = -1;
      answeredUs_ = 0;
      measuring_ = true;
    }
  } else if (event->type() == QEvent::KeyRelease && inKey_ && releaseNs_ < 0) {
    releaseNs_ = now;
  }
  return false;
}

// The dispatcher wakes for every turn of the loop; a stretch of work runs
// from the first wake after a wait to the next wait.
void KeyProbe::awake() {
  if (wokeNs_ < 0) wokeNs_ = clock_.nsecsElapsed();
}

void KeyProbe::aboutToBlock() {
  const std::int64_t now = clock_.nsecsElapsed();
  if (measuring_ && wokeNs_ >= 0 && now - wokeNs_ >= 1000000) busyUs_.push_back((now - wokeNs_) / 1000);
  wokeNs_ = -1;
  if (!inKey_) return;
  if (pressNs_ >= 0) {
    answeredUs_ += (now - pressNs_) / 1000;
    pressNs_ = -1;
    if (releaseNs_ >= 0) releaseNs_ = -2;  // answered in the same go
  } else if (releaseNs_ >= 0) {
    answeredUs_ += (now - releaseNs_) / 1000;
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
  std::fflush(stderr);
  keysUs_.clear();
  busyUs_.clear();
  measuring_ = false;
}

}  // namespace vektrano
