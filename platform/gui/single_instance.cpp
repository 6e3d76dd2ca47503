#include "platform/gui/single_instance.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#include "platform/cp1250.h"

namespace vektrano::platform {
namespace {

// What a second start sends and what the running copy answers once woken.
QByteArray wakeLine(const std::string& name) { return QByteArray(name.data(), qsizetype(name.size())) + '\n'; }
constexpr char kAnswer[] = "ok\n";
constexpr qsizetype kMaxRequest = 256;

QString baseName(const std::string& name) { return toQString(name).toLower(); }

QString fileIn(const std::string& name, const char* suffix) {
  const QString folder = runtimeFolder();
  if (folder.isEmpty()) return {};
  return folder + QLatin1Char('/') + baseName(name) + QLatin1String(suffix);
}

bool usableFolder(const QString& path) {
  struct stat st {};
  const QByteArray p = QFile::encodeName(path);
  return ::stat(p.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
         ::access(p.constData(), W_OK | X_OK) == 0;
}

// A folder under /tmp that only this user can enter: refused when it is a
// link, or someone else's.
QString privateTmpFolder() {
  const QString path = QStringLiteral("/tmp/vektrano-%1").arg(::getuid());
  const QByteArray p = QFile::encodeName(path);
  if (::mkdir(p.constData(), 0700) != 0 && errno != EEXIST) return {};
  struct stat st {};
  if (::lstat(p.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
    return {};
  if ((st.st_mode & 077) != 0 && ::chmod(p.constData(), 0700) != 0) return {};
  return path;
}

}  // namespace

QString runtimeFolder() {
  const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (xdg.startsWith(QLatin1Char('/')) && usableFolder(xdg)) return QDir::cleanPath(xdg);
  return privateTmpFolder();
}

InstanceLock::InstanceLock(const std::string& name) : file_(fileIn(name, ".lock")) {}

InstanceLock::~InstanceLock() = default;

InstanceLock::Result InstanceLock::acquire() {
  if (lock_ && lock_->isLocked()) return Result::Acquired;
  if (file_.isEmpty()) return Result::Failed;
  lock_ = std::make_unique<QLockFile>(file_);
  // Only a dead holder makes the lock stale, never its age: a copy may run
  // for days.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0)) return Result::Acquired;
  const QLockFile::LockError error = lock_->error();
  lock_.reset();
  return error == QLockFile::LockFailedError ? Result::HeldByOther : Result::Failed;
}

WakeUpListener::WakeUpListener(const std::string& name, std::function<void()> onWake)
    : path_(fileIn(name, ".wake")), name_(name), onWake_(std::move(onWake)) {}

WakeUpListener::~WakeUpListener() { close(); }

bool WakeUpListener::listen() {
  if (isListening()) return true;
  if (path_.isEmpty()) return false;
  // A live listener accepts a connection; a killed one's socket file refuses
  // it and is removed. The probe sends nothing, so it wakes nobody.
  if (QFile::exists(path_)) {
    QLocalSocket probe;
    probe.connectToServer(path_);
    if (probe.waitForConnected(500)) {
      probe.abort();
      return false;
    }
    QLocalServer::removeServer(path_);
  }
  // No socket options: with them Qt renames its socket over an existing one
  // instead of failing. The folder is the user's own already.
  auto server = std::make_unique<QLocalServer>();
  if (!server->listen(path_)) return false;
  QLocalServer* s = server.get();
  QObject::connect(s, &QLocalServer::newConnection, s, [this, s] {
    while (QLocalSocket* socket = s->nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
        if (!socket->canReadLine()) {
          if (socket->bytesAvailable() > kMaxRequest) socket->abort();
          return;
        }
        const QByteArray line = socket->readLine(kMaxRequest);
        if (line == wakeLine(name_)) {
          if (onWake_) onWake_();
          socket->write(kAnswer);
          socket->flush();
        }
        socket->disconnectFromServer();
      });
    }
  });
  server_ = std::move(server);
  return true;
}

void WakeUpListener::close() {
  if (!server_) return;
  server_->close();  // removes the socket file
  server_.reset();
}

bool WakeUpListener::isListening() const { return server_ && server_->isListening(); }

bool sendWakeUp(const std::string& name, int timeoutMs) {
  const QString path = fileIn(name, ".wake");
  if (path.isEmpty()) return false;
  QDeadlineTimer deadline(timeoutMs);
  // The running copy may still be starting and not listening yet.
  for (;;) {
    QLocalSocket socket;
    socket.connectToServer(path);
    if (socket.waitForConnected(int(deadline.remainingTime()))) {
      socket.write(wakeLine(name));
      if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) return false;
      while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
          return false;
      }
      return socket.readLine() == kAnswer;
    }
    if (deadline.remainingTime() < 100) return false;
    QThread::msleep(100);
  }
}

}  // namespace vektrano::platform
