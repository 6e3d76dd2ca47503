// The non-native open dialog renames old csv logs in every folder entered.
#include "app/log_file_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

QFileDialog* openDialog() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) return d;
  return nullptr;
}

// Runs act on the dialog once it is shown; a dialog that never appears or is
// not closed ends after a few seconds instead of hanging the test.
void whenShown(std::function<void(QFileDialog*)> act) {
  auto* poll = new QTimer;
  auto started = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, started, act] {
    QFileDialog* d = openDialog();
    if (d && *started == 0) {
      *started = 1;
      act(d);
    }
    if (++*started > 100 || (*started > 0 && !openDialog())) {
      if (QFileDialog* left = openDialog()) static_cast<QDialog*>(left)->reject();
      poll->stop();
      poll->deleteLater();
    }
  });
  poll->start(50);
}

TEST(LogDialogs, OpenDialogRenamesCsvLogsOfEachFolderEntered) {
  test::TempDir dir;
  const std::string start = dir.file("data"), other = dir.file("stará");
  std::filesystem::create_directory(platform::fsPath(start));
  std::filesystem::create_directory(platform::fsPath(other));
  ASSERT_TRUE(platform::writeFileAtomic(start + "/a.csv", "JO70GQ;poř.;\r\n"));
  ASSERT_TRUE(platform::writeFileAtomic(other + "/b.csv", "JN99JM;1;\r\n"));
  ASSERT_TRUE(platform::writeFileAtomic(other + "/t.csv", "poř.;čas;\r\n"));

  bool sawDialog = false;
  whenShown([&](QFileDialog* d) {
    sawDialog = true;
    EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(platform::fromQString(d->windowTitle()), "Vyber deník pro otevření :");
    d->setDirectory(platform::toQString(other));
    emit d->directoryEntered(platform::toQString(other));
    d->reject();
  });
  EXPECT_FALSE(zvolOtevreniDeniku(nullptr, start, ""));
  EXPECT_TRUE(sawDialog);
  EXPECT_TRUE(platform::fileExists(start + "/a.qvl"));
  EXPECT_TRUE(platform::fileExists(other + "/b.qvl"));
  EXPECT_TRUE(platform::fileExists(other + "/t.csv"));
}

}  // namespace
}  // namespace vektrano
