#pragma once
// One running copy per user. The running copy holds a lock file in the user's
// run-time folder and listens on a local socket beside it; a second start
// finds the lock held, sends the wake-up over the socket and ends. The kernel
// forgets a killed holder's process, so its leftover lock is recognised as
// stale and taken over; so is its leftover socket.
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QLockFile;
class QLocalServer;

namespace vektrano::platform {

// The folder for per-user run-time files: $XDG_RUNTIME_DIR, else a private
// folder /tmp/vektrano-<uid> (created with mode 0700; refused when it is not
// the user's own folder). Empty when neither can be used.
QString runtimeFolder();

class InstanceLock {
 public:
  enum class Result { Acquired, HeldByOther, Failed };
  // name: the lock's name ("Vektrano"); the file is its lower-case form + ".lock".
  explicit InstanceLock(const std::string& name);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes the lock when no live process holds it. Kept until destruction.
  Result acquire();

 private:
  QString file_;
  std::unique_ptr<QLockFile> lock_;
};

// The running copy's side of the wake-up: calls onWake on the main thread
// for every wake-up a second start sends, from listen() until close().
class WakeUpListener {
 public:
  WakeUpListener(const std::string& name, std::function<void()> onWake);
  ~WakeUpListener();
  WakeUpListener(const WakeUpListener&) = delete;
  WakeUpListener& operator=(const WakeUpListener&) = delete;

  // False when the socket cannot be opened, or another live copy listens.
  bool listen();
  void close();
  bool isListening() const;

 private:
  QString path_;
  std::string name_;
  std::function<void()> onWake_;
  std::unique_ptr<QLocalServer> server_;
};

// The second copy's side: sends the wake-up and waits until the running copy
// has reacted, at most timeoutMs (also while that copy is not listening yet).
// True when it answered.
bool sendWakeUp(const std::string& name, int timeoutMs = 3000);

}  // namespace vektrano::platform
