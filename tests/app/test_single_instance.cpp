// Starts the real program: one copy per user, the second start wakes the
// first and ends with 0, a killed copy does not block the next start.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <memory>

#include "tests/support/program_folder.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

const QString kProgram = QStringLiteral(VEKTRANO_BIN_DIR "/vektrano");
const QByteArray kSecondStartMessage =
    QString::fromUtf8(u8"VEKTRANO je již spuštěn, nelze spustit další kopii ...").toUtf8();
constexpr int kStartMs = 15000;
constexpr int kSecondStartMs = 5000;

// One started copy; always killed and reaped at the end.
class Copy {
 public:
  Copy(const QProcessEnvironment& env, const QString& hooks) {
    QProcessEnvironment e = env;
    if (!hooks.isEmpty()) e.insert(QStringLiteral("VEKTRANO_TEST_HOOKS"), hooks);
    process_.setProcessEnvironment(e);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(kProgram, {});
  }
  ~Copy() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }

  // Waits until the copy's standard error holds text.
  bool waitForLine(const QByteArray& text, int ms) {
    QDeadlineTimer deadline(ms);
    for (;;) {
      err_ += process_.readAllStandardError();
      if (err_.contains(text)) return true;
      if (deadline.hasExpired() || process_.state() == QProcess::NotRunning) return false;
      process_.waitForReadyRead(int(std::min<qint64>(deadline.remainingTime(), 100)));
    }
  }
  bool waitForExit(int ms) {
    const bool ended = process_.waitForFinished(ms);
    err_ += process_.readAllStandardError();
    return ended;
  }
  void killHard() {
    process_.kill();  // SIGKILL: no clean-up at all
    process_.waitForFinished(5000);  // reaped, so its pid is really gone
  }

  QProcess& process() { return process_; }
  const QByteArray& err() const { return err_; }

 private:
  QProcess process_;
  QByteArray err_;
};

class SingleInstanceProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFile::exists(kProgram)) << "build the vektrano target first";
    for (const char* sub : {"home", "run", "config", "data"}) {
      const std::string p = dir_.file(sub);
      ::mkdir(p.c_str(), 0700);
    }
    test::installProgramData(dir_.file("home"));
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env_.insert(QStringLiteral("VEKTRANO_MESSAGES"), QStringLiteral("stderr"));
    env_.insert(QStringLiteral("VEKTRANO_HOME"), path("home"));
    env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), path("run"));
    env_.insert(QStringLiteral("XDG_CONFIG_HOME"), path("config"));
    env_.insert(QStringLiteral("XDG_DATA_HOME"), path("data"));
  }

  QString path(const char* sub) const { return QString::fromUtf8(dir_.file(sub).c_str()); }

  std::unique_ptr<Copy> startReady(const QString& hooks) {
    auto copy = std::make_unique<Copy>(env_, hooks);
    EXPECT_TRUE(copy->waitForLine("vektrano-test: ready", kStartMs)) << copy->err().toStdString();
    return copy;
  }

  // A second start: ends by itself with 0 in a few seconds, after the message.
  void expectSecondStartEnds(const QString& extraArg = {}) {
    QProcess second;
    second.setProcessEnvironment(env_);
    QElapsedTimer timer;
    timer.start();
    second.start(kProgram, extraArg.isEmpty() ? QStringList() : QStringList{extraArg});
    const bool ended = second.waitForFinished(kSecondStartMs);
    if (!ended) {
      second.kill();
      second.waitForFinished(5000);
    }
    ASSERT_TRUE(ended) << "the second start did not end";
    EXPECT_LT(timer.elapsed(), kSecondStartMs);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    const QByteArray err = second.readAllStandardError();
    EXPECT_TRUE(err.contains(kSecondStartMessage)) << err.toStdString();
  }

  test::TempDir dir_;
  QProcessEnvironment env_;
};

TEST_F(SingleInstanceProgram, SecondStartWakesTheMinimisedFirstAndEndsWithZero) {
  auto first = startReady(QStringLiteral("minimized"));
  ASSERT_FALSE(HasFailure());
  // A log named by the second start (as the viewer hands it over) is dropped.
  expectSecondStartEnds(path("home") + QStringLiteral("/predany.qvl"));
  EXPECT_TRUE(first->waitForLine("vektrano-test: woken state=normal active=1", kSecondStartMs))
      << first->err().toStdString();
  EXPECT_EQ(first->process().state(), QProcess::Running);
}

TEST_F(SingleInstanceProgram, WakeUpLeavesAMaximisedWindowMaximised) {
  auto first = startReady(QStringLiteral("maximized minimized"));
  ASSERT_FALSE(HasFailure());
  expectSecondStartEnds();
  EXPECT_TRUE(first->waitForLine("vektrano-test: woken state=maximized active=1", kSecondStartMs))
      << first->err().toStdString();
}

TEST_F(SingleInstanceProgram, KilledCopyDoesNotBlockTheNextStart) {
  {
    auto killed = startReady(QStringLiteral("normal"));
    ASSERT_FALSE(HasFailure());
    killed->killHard();
  }
  // The lock and the socket of the killed copy are still there.
  ASSERT_TRUE(QFile::exists(path("run") + QStringLiteral("/vektrano.lock")));
  auto next = startReady(QStringLiteral("normal"));
  ASSERT_FALSE(HasFailure());
  expectSecondStartEnds();
  EXPECT_TRUE(next->waitForLine("vektrano-test: woken", kSecondStartMs)) << next->err().toStdString();
}

}  // namespace
}  // namespace vektrano
