#include "platform/gui/application.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>
#include <atomic>
#include <mutex>

#include "platform/cp1250.h"
#include "platform/files.h"

namespace vektrano::platform {
namespace {

struct State {
  std::mutex mutex;
  std::string title;
  std::string helpFile;
  std::atomic<bool> terminate{false};
};

State& state() {
  static State s;
  return s;
}

}  // namespace

void setApplicationTitle(const std::string& title) {
  std::lock_guard lock(state().mutex);
  state().title = title;
}

std::string applicationTitle() {
  std::lock_guard lock(state().mutex);
  return state().title;
}

void setHelpFile(const std::string& path) {
  std::lock_guard lock(state().mutex);
  state().helpFile = path;
}

std::string helpFile() {
  std::lock_guard lock(state().mutex);
  return state().helpFile;
}

bool openHelp(int /*topic*/) {
  const std::string path = helpFile();
  if (path.empty() || !fileExists(path)) return false;
  std::string name = path;
  for (char& c : name)
    if (c == '\\') c = '/';
  return QDesktopServices::openUrl(QUrl::fromLocalFile(pathToQString(name)));
}

void requestTerminate() {
  state().terminate = true;
  // Without a running loop quit() does nothing; the program entry then
  // checks terminateRequested() before it starts the loop.
  if (QCoreApplication::instance()) QCoreApplication::quit();
}

bool terminateRequested() { return state().terminate; }

}  // namespace vektrano::platform
