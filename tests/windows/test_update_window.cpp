// The update window against a server on 127.0.0.1: the check and the
// download through the button, toggles by double clicks on the grid, the
// refusal to close while a download runs; and the update zip commands
// through their dialogs.
#include "windows/update_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "platform/cp1250.h"
#include "tests/support/temp_dir.h"
#include "tests/transfer/update_fixtures.h"
#include "windows/folder_picker_window.h"
#include "windows/update_zip_commands.h"

namespace vektrano {
namespace {

using platform::fromQString;
using namespace vektrano::test;

const std::string kZr4Line = "vektrano.zr4;Databáze lokátorů;.\\;/vektrano/data/zr4";
const std::string kPvkLine = "vektrano.pvk;Volačky;.\\;/vektrano/data/pvk";

std::string cell(QTableWidget* g, int row, int column) {
  const QTableWidgetItem* item = g->item(row, column);
  return item ? fromQString(item->text()) : std::string("<none>");
}

// As a user's double click arrives: a click, then the second press as a
// double click.
void doubleClick(QTableWidget* g, const QPoint& at) {
  QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
}

class UpdateWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
    writeFile(prog + "/vektrano.upc", "x;x;x;x;x\r\n");
    writeFile(prog + "/vektrano.upq", ";seznam zakázaných souborů pro update\r\n");
    writeFile(prog + "/vektrano.zr4", "stará");
    writeFile(programFile, fakeProgram("6.03"));
    server.route("/vektrano/data/portable.txt", httpOk("OK1ABC\r\n"));
    server.route("/vektrano/vektrano.upd", httpOk(kZr4Line + "\r\n" + kPvkLine + "\r\n"));
    server.route("/vektrano/data/zr4.zip", httpOk(storedZip({{"vektrano.zr4", "nová"}})));
    server.route("/vektrano/data/pvk.zip", httpOk(storedZip({{"vektrano.pvk", "volačky"}})));
  }
  void TearDown() override {
    if (window) {
      window->close();
      delete window.data();
    }
    ::unsetenv("XDG_CONFIG_HOME");
  }

  TForm15* open() {
    transfer::UpdateSetup s;
    s.server = server.base();
    s.programFolder = prog;
    s.programFile = programFile;
    s.mapFolder = dir.file("mapy");
    s.photoFolder = dir.file("foto");
    s.replaceProgram = true;
    transfer::UpdateHooks h;
    h.ReIndexace = [this] { calls.push_back("ReIndexace"); };
    h.locIDX = [this] { calls.push_back("locIDX"); };
    h.volIDX = [this] { calls.push_back("volIDX"); };
    h.storeCheckDate = [this](const std::string&) { calls.push_back("datum"); };
    window = openToolWindow(Form15, s, h);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    return window;
  }
  void click() { QTest::mouseClick(window->Button1(), Qt::LeftButton); }

  TempDir dir;
  LoopbackServer server;
  const std::string prog = dir.file("prog");
  const std::string programFile = dir.file("bin/vektrano");
  std::vector<std::string> calls;
  QPointer<TForm15> window;
};

TEST_F(UpdateWindow, CheckToggleAndDownloadThroughTheControls) {
  MessageRecorder messages;
  TForm15* w = open();
  EXPECT_EQ(fromQString(w->windowTitle()), "VEKTRANO - Aktualizace pomocí internetu");
  EXPECT_EQ(fromQString(w->Button1()->text()), "Proveď kontrolu");
  EXPECT_EQ(fromQString(w->Label2()->text()), transfer::kLabel2Start);
  EXPECT_EQ(w->width(), 400);
  EXPECT_EQ(w->height(), 300);
  EXPECT_FALSE(w->ProgressBar1()->isVisible());

  click();
  QTableWidget* g = w->StringGrid1();
  ASSERT_EQ(g->rowCount(), 2);
  EXPECT_EQ(cell(g, 0, 0), "#");
  EXPECT_EQ(cell(g, 0, 1), "vektrano.zr4");
  EXPECT_EQ(cell(g, 0, 2), "Databáze lokátorů");
  EXPECT_EQ(cell(g, 0, 3), kZr4Line);
  EXPECT_EQ(fromQString(w->Button1()->text()), "Proveď stažení nových souborů v počtu : 2");
  EXPECT_TRUE(w->Button1()->isVisible());
  EXPECT_FALSE(w->ProgressBar1()->isVisible());
  EXPECT_EQ(fromQString(w->StatusBar1()->currentMessage()), "Staženo : " + server.base() + "/vektrano/data/portable.txt");
  EXPECT_EQ(g->columnWidth(1), 110);
  EXPECT_EQ(g->columnWidth(2), w->width() - 160);

  // The header and the empty space below the rows toggle nothing.
  QTest::mouseDClick(g->horizontalHeader()->viewport(), Qt::LeftButton, {},
                     QPoint(g->columnViewportPosition(1) + 5, 5));
  doubleClick(g, QPoint(5, g->rowViewportPosition(1) + g->rowHeight(1) + 20));
  EXPECT_EQ(cell(g, 0, 0), "#");
  EXPECT_EQ(cell(g, 1, 0), "#");
  // The second row is turned off.
  doubleClick(g, QPoint(g->columnViewportPosition(1) + 5, g->rowViewportPosition(1) + 3));
  EXPECT_EQ(cell(g, 1, 0), "@");
  EXPECT_EQ(cell(g, 1, 2), transfer::kTextZakazano);
  EXPECT_EQ(fromQString(w->Button1()->text()), "Proveď stažení nových souborů v počtu : 1");

  click();
  EXPECT_EQ(readFile(prog + "/vektrano.zr4"), "nová");
  EXPECT_FALSE(platform::fileExists(prog + "/vektrano.pvk"));
  EXPECT_EQ(readFile(prog + "/vektrano.upq"), "vektrano.pvk\r\n");
  EXPECT_EQ(calls, (std::vector<std::string>{"datum", "ReIndexace", "locIDX"}));
  QTRY_VERIFY(!window);  // closed and freed
}

TEST_F(UpdateWindow, RefusesToCloseWhileADownloadRuns) {
  server.route("/vektrano/vektrano.upd", httpSlow(kZr4Line + "\r\n", 600));
  MessageRecorder messages;
  TForm15* w = open();
  bool visibleAfterClose = false, downloading = false;
  QTimer::singleShot(150, w, [&] {
    downloading = w->aktualizace().downloading();
    w->close();
    visibleAfterClose = w->isVisible();
  });
  click();
  EXPECT_TRUE(downloading);
  EXPECT_TRUE(visibleAfterClose);
  ASSERT_TRUE(window);
  EXPECT_EQ(w->StringGrid1()->rowCount(), 1);
  w->close();
  QTRY_VERIFY(!window);
}

// The update zip commands through their dialogs; the program folder is a
// temporary one and the archive holds no program file, so the running test
// program is never touched.
TEST(UpdateZipCommands, ExportAndImportThroughTheDialogs) {
  TempDir dir;
  const std::string prog = dir.file("prog"), usb = dir.file("usb");
  writeFile(prog + "/vektrano.zr4", "databáze");
  std::filesystem::create_directories(usb);
  platform::setProgramFolder(prog);
  MessageRecorder messages;

  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<BrowseFolderDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(d);
    ASSERT_TRUE(d->selectFolder(usb));
    d->accept();
  });
  ASSERT_TRUE(exportUpdateZip(nullptr));
  EXPECT_TRUE(platform::fileExists(usb + "/zr4export.qzx"));

  writeFile(usb + "/zr4export.qzx", storedZip({{"vektrano.zr4", "nová databáze"}}));
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(d);
    EXPECT_EQ(fromQString(d->windowTitle()), "Vyber soubor exportu programu VEKTRANO");
    d->selectFile(platform::toQString(usb + "/zr4export.qzx"));
    static_cast<QDialog*>(d)->accept();
  });
  EXPECT_EQ(importUpdateZip(nullptr, {}), transfer::ImportResult::NoProgram);
  EXPECT_EQ(readFile(prog + "/vektrano.zr4"), "nová databáze");
  platform::setProgramFolder("");
}

}  // namespace
}  // namespace vektrano
