#include "platform/gui/application.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include <fstream>

#include "tests/support/temp_dir.h"

namespace vektrano::platform {
namespace {

// Stands in for the desktop's viewer.
class Viewer : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.push_back(url); }
};

TEST(Help, OpensAnExistingHelpFileWithTheDesktopViewer) {
  test::TempDir dir;
  Viewer viewer;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &viewer, "open");

  setHelpFile(dir.file("vektrano.hlp"));
  EXPECT_FALSE(openHelp(99));  // missing: nothing is started
  EXPECT_TRUE(viewer.opened.isEmpty());

  std::ofstream(dir.file("vektrano.hlp")) << "help";
  EXPECT_EQ(helpFile(), dir.file("vektrano.hlp"));
  EXPECT_TRUE(openHelp(99));
  ASSERT_EQ(viewer.opened.size(), 1);
  EXPECT_EQ(viewer.opened[0].toLocalFile().toStdString(), dir.file("vektrano.hlp"));

  setHelpFile("");
  EXPECT_FALSE(openHelp());
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

TEST(Terminate, RequestBeforeTheLoopIsRemembered) {
  EXPECT_FALSE(terminateRequested());
  requestTerminate();
  EXPECT_TRUE(terminateRequested());
}

}  // namespace
}  // namespace vektrano::platform

#include "test_application.moc"
