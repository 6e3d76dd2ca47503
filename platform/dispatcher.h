#pragma once
// The one way a background thread hands work to the main thread. The program
// installs a Qt dispatcher (queued or blocking call onto the main thread);
// tests keep the built-in direct one, which runs the call at once on the
// calling thread.
#include <functional>
#include <memory>

namespace vektrano::platform {

class Dispatcher {
 public:
  virtual ~Dispatcher() = default;
  // Runs fn on the main thread later; returns at once.
  virtual void post(std::function<void()> fn) = 0;
  // Runs fn on the main thread and waits until it has run. Called from the
  // main thread itself, it runs fn directly.
  virtual void invokeBlocking(std::function<void()> fn) = 0;
};

Dispatcher& dispatcher();
// Installs d (nullptr restores the direct dispatcher).
void setDispatcher(std::unique_ptr<Dispatcher> d);

// Qt dispatcher onto the thread of the QCoreApplication instance.
std::unique_ptr<Dispatcher> makeQtDispatcher();

}  // namespace vektrano::platform
