#include "platform/dispatcher.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <atomic>

namespace vektrano::platform {
namespace {

class DirectDispatcher final : public Dispatcher {
 public:
  void post(std::function<void()> fn) override { fn(); }
  void invokeBlocking(std::function<void()> fn) override { fn(); }
};

class QtDispatcher final : public Dispatcher {
 public:
  void post(std::function<void()> fn) override {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(fn), Qt::QueuedConnection);
  }
  void invokeBlocking(std::function<void()> fn) override {
    QCoreApplication* app = QCoreApplication::instance();
    if (QThread::currentThread() == app->thread()) {
      fn();
      return;
    }
    QMetaObject::invokeMethod(app, std::move(fn), Qt::BlockingQueuedConnection);
  }
};

DirectDispatcher& directDispatcher() {
  static DirectDispatcher d;
  return d;
}

std::unique_ptr<Dispatcher>& installed() {
  static std::unique_ptr<Dispatcher> d;
  return d;
}

}  // namespace

Dispatcher& dispatcher() {
  auto& d = installed();
  return d ? *d : directDispatcher();
}

void setDispatcher(std::unique_ptr<Dispatcher> d) { installed() = std::move(d); }

std::unique_ptr<Dispatcher> makeQtDispatcher() { return std::make_unique<QtDispatcher>(); }

}  // namespace vektrano::platform
