// The entry line end to end: the real program under a virtual X display,
// one contact typed with xdotool and stored (tests/app/e2e_entry.sh).
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

namespace {

TEST(EntryEndToEnd, TypedContactReachesTheLogAndSurvivesSigkill) {
  QProcess script;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("DISPLAY"));  // always a display of its own
  script.setProcessEnvironment(env);
  script.setProcessChannelMode(QProcess::MergedChannels);
  script.start(QStringLiteral("bash"),
               {QStringLiteral(VEKTRANO_SOURCE_DIR "/tests/app/e2e_entry.sh"),
                QStringLiteral(VEKTRANO_BIN_DIR "/vektrano")});
  ASSERT_TRUE(script.waitForStarted(10000));
  ASSERT_TRUE(script.waitForFinished(120000)) << "the script did not end";
  const QString output = QString::fromLocal8Bit(script.readAll());
  if (script.exitCode() == 77) GTEST_SKIP() << output.toStdString();
  EXPECT_EQ(script.exitCode(), 0) << output.toStdString();
}

}  // namespace
