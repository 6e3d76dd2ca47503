#include "platform/gui/single_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QLocalSocket>
#include <QTimer>
#include <atomic>
#include <cstring>
#include <thread>

#include "tests/support/temp_dir.h"

namespace vektrano::platform {
namespace {

class SingleInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    ::chmod(dir_.path().c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
  }
  void TearDown() override { ::unsetenv("XDG_RUNTIME_DIR"); }

  // Runs fn on another thread while the main thread serves events (the
  // listener answers there), for at most ten seconds.
  template <class Fn>
  void whileServing(Fn fn) {
    std::atomic<bool> done{false};
    std::thread t([&] {
      fn();
      done = true;
    });
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
      if (done) loop.quit();
    });
    tick.start(5);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    t.join();
  }

  std::string file(const char* name) const { return dir_.path() + "/" + name; }

  test::TempDir dir_;
};

TEST_F(SingleInstance, RuntimeFolderFollowsXdgElsePrivateTmp) {
  EXPECT_EQ(runtimeFolder(), QString::fromUtf8(dir_.path().c_str()));
  for (const char* unusable : {"", "relative/dir", "/nonexistent/run"}) {
    ::setenv("XDG_RUNTIME_DIR", unusable, 1);
    const QString folder = runtimeFolder();
    EXPECT_EQ(folder, QStringLiteral("/tmp/vektrano-%1").arg(::getuid())) << unusable;
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u);
    EXPECT_EQ(st.st_uid, ::getuid());
  }
}

TEST_F(SingleInstance, OneHolderAtATime) {
  auto first = std::make_unique<InstanceLock>("Vektrano");
  ASSERT_EQ(first->acquire(), InstanceLock::Result::Acquired);
  InstanceLock second("Vektrano");
  EXPECT_EQ(second.acquire(), InstanceLock::Result::HeldByOther);
  InstanceLock other("Palomir");
  EXPECT_EQ(other.acquire(), InstanceLock::Result::Acquired);
  first.reset();
  EXPECT_EQ(second.acquire(), InstanceLock::Result::Acquired);
}

TEST_F(SingleInstance, LiveHolderKeepsTheLockHowEverOld) {
  InstanceLock first("Vektrano");
  ASSERT_EQ(first.acquire(), InstanceLock::Result::Acquired);
  const std::string lock = file("vektrano.lock");
  utimbuf old{::time(nullptr) - 7 * 24 * 3600, ::time(nullptr) - 7 * 24 * 3600};
  ASSERT_EQ(::utime(lock.c_str(), &old), 0);
  InstanceLock second("Vektrano");
  EXPECT_EQ(second.acquire(), InstanceLock::Result::HeldByOther);
}

TEST_F(SingleInstance, DeadHoldersLockIsTakenOver) {
  // A child takes the lock and dies without releasing it.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InstanceLock lock("Vektrano");
    _exit(lock.acquire() == InstanceLock::Result::Acquired ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(QFile::exists(QString::fromUtf8(file("vektrano.lock").c_str())));
  InstanceLock next("Vektrano");
  EXPECT_EQ(next.acquire(), InstanceLock::Result::Acquired);
}

TEST_F(SingleInstance, NoUsableFolderIsAFailureNotAHolder) {
  ::setenv("XDG_RUNTIME_DIR", "/proc", 1);  // exists, cannot hold files
  InstanceLock lock("Vektrano");
  const auto r = lock.acquire();
  // Whether it falls back or fails, it never reports a foreign holder: that
  // would refuse the start.
  EXPECT_NE(r, InstanceLock::Result::HeldByOther);
}

TEST_F(SingleInstance, WakeUpReachesTheListenerAndIsAnswered) {
  int woken = 0;
  WakeUpListener listener("Vektrano", [&] { ++woken; });
  ASSERT_TRUE(listener.listen());
  bool answered = false;
  whileServing([&] { answered = sendWakeUp("Vektrano", 3000); });
  EXPECT_TRUE(answered);
  EXPECT_EQ(woken, 1);
  whileServing([&] { answered = sendWakeUp("Vektrano", 3000); });
  EXPECT_EQ(woken, 2);
  listener.close();
  EXPECT_FALSE(QFile::exists(QString::fromUtf8(file("vektrano.wake").c_str())));
}

TEST_F(SingleInstance, OtherTrafficWakesNobody) {
  int woken = 0;
  WakeUpListener listener("Vektrano", [&] { ++woken; });
  ASSERT_TRUE(listener.listen());
  const QString path = QString::fromUtf8(file("vektrano.wake").c_str());
  for (const QByteArray& junk : {QByteArray("Palomir\n"), QByteArray("vektrano\n"),
                                 QByteArray(4096, 'x'), QByteArray()}) {
    whileServing([&] {
      QLocalSocket s;
      s.connectToServer(path);
      if (!s.waitForConnected(1000)) return;
      if (!junk.isEmpty()) {
        s.write(junk);
        s.waitForBytesWritten(1000);
      }
      s.waitForDisconnected(300);
    });
  }
  EXPECT_EQ(woken, 0);
}

TEST_F(SingleInstance, SendWithoutListenerGivesUpInTime) {
  bool answered = true;
  const auto start = std::chrono::steady_clock::now();
  whileServing([&] { answered = sendWakeUp("Vektrano", 400); });
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_FALSE(answered);
  EXPECT_LT(took, std::chrono::seconds(3));
}

TEST_F(SingleInstance, LeftoverSocketIsReplacedButALiveListenerIsNot) {
  // A socket file without a process behind it, as a killed copy leaves it.
  const std::string path = file("vektrano.wake");
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::close(fd);

  int woken = 0;
  WakeUpListener listener("Vektrano", [&] { ++woken; });
  ASSERT_TRUE(listener.listen());

  WakeUpListener intruder("Vektrano", [] {});
  EXPECT_FALSE(intruder.listen());
  bool answered = false;
  whileServing([&] { answered = sendWakeUp("Vektrano", 3000); });
  EXPECT_TRUE(answered);
  EXPECT_EQ(woken, 1);
}

}  // namespace
}  // namespace vektrano::platform
