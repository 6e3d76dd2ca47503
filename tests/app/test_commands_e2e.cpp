// The main window's commands end to end: the real program under a virtual
// X display, a new log started, described, typed, a contact taken back and
// the log saved under a chosen name, all with the keyboard
// (tests/app/e2e_commands.sh).
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

namespace {

TEST(CommandsEndToEnd, NewLogDescribedTypedTakenBackAndSavedUnderAChosenName) {
  QProcess script;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("DISPLAY"));  // always a display of its own
  script.setProcessEnvironment(env);
  script.setProcessChannelMode(QProcess::MergedChannels);
  script.start(QStringLiteral("bash"),
               {QStringLiteral(VEKTRANO_SOURCE_DIR "/tests/app/e2e_commands.sh"),
                QStringLiteral(VEKTRANO_BIN_DIR "/vektrano")});
  ASSERT_TRUE(script.waitForStarted(10000));
  ASSERT_TRUE(script.waitForFinished(180000)) << "the script did not end";
  const QString output = QString::fromLocal8Bit(script.readAll());
  if (script.exitCode() == 77) GTEST_SKIP() << output.toStdString();
  EXPECT_EQ(script.exitCode(), 0) << output.toStdString();
}

}  // namespace
