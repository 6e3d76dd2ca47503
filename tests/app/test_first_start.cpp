// The first start on an empty program folder named by VEKTRANO_HOME: the
// shipped files come in from beside the built program, the window builds
// the town indexes once start-up is over, and the first town typed is
// found.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QThread>
#include <filesystem>
#include <string>

#include "app/main_window.h"
#include "core/search/search_scheduler.h"
#include "core/session/startup.h"
#include "platform/cp1250.h"
#include "platform/dispatcher.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;

template <class Fn>
bool eventually(Fn&& condition, int ms = 20000) {
  for (int waited = 0; !condition(); waited += 10) {
    if (waited >= ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  return true;
}

// Key after key, as the operator types.
void typeInto(QWidget* w, const QString& text) {
  for (const QChar c : text)
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent e(type, c.toUpper().unicode(), Qt::NoModifier, QString(c));
      QApplication::sendEvent(w, &e);
    }
}

bool listHas(const SideList* list, const char* text) {
  for (int r = 0; r < list->count(); ++r)
    if (list->text(r).contains(platform::toQString(text))) return true;
  return false;
}

TEST(FirstStart, EmptyProgramFolderIsSeededAndItsTownsAreFound) {
  test::TempDir home, config, runtime;
  const fs::path cwd = fs::current_path();
  ::chmod(runtime.path().c_str(), 0700);
  ::setenv("VEKTRANO_HOME", home.path().c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  // The built program's folder: the build puts the shipped files there.
  platform::setShippedDataFolder(VEKTRANO_BIN_DIR);
  platform::setDispatcher(platform::makeQtDispatcher());
  test::MessageRecorder rec;
  {
    TForm1 form;
    EXPECT_FALSE(form.startupResult().ukoncit);
    ASSERT_FALSE(shippedDataFiles().empty());
    for (const std::string& name : shippedDataFiles())
      EXPECT_EQ(platform::readWholeFile(home.file(name)),
                platform::readWholeFile(std::string(VEKTRANO_BIN_DIR) + "/" + name))
          << name;
    // Built once the window is up, not behind the splash.
    QApplication::processEvents();
    EXPECT_FALSE(fs::exists(home.file("idx/loc/loc_PR.idx")));
    form.show();
    ASSERT_TRUE(eventually([&] { return fs::exists(home.file("idx/loc/loc_PR.idx")); }));
    ASSERT_TRUE(eventually([&] { return form.vstup->isVisible(); }));

    // A call sign and a town typed with the side panel on the towns: the
    // town search finds it.
    form.RezimMestaSvatky();
    form.searches()->scheduler().setDelkaprodlevy(1);
    typeInto(form.vstup, QStringLiteral("ok1abc praha"));
    EXPECT_TRUE(eventually([&] { return listHas(form.wmestacentr, "Praha"); }))
        << form.wmestacentr->count();
  }
  platform::setDispatcher(nullptr);
  platform::setShippedDataFolder("");
  fs::current_path(cwd);
  ::unsetenv("VEKTRANO_HOME");
  ::unsetenv("XDG_CONFIG_HOME");
  ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace vektrano
