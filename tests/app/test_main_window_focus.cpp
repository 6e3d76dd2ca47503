// The operator's keys land where the operator is typing: after each path
// that hides, disables or rebuilds the main window's controls, or takes the
// focus into another window and gives it back, the next keys typed go into
// the entry line, whose text and caret are as the operator left them, and
// Enter stores the contact with its locator and distance; the note memo and
// the own locator keep their texts. Every key goes to whichever widget has
// the focus at that moment.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "core/base/geometry.h"
#include "core/log/log.h"
#include "platform/cp1250.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "tests/support/program_folder_test.h"
#include "windows/base/tool_window.h"
#include "windows/expedition_description_window.h"
#include "windows/locator_map_window.h"
#include "windows/map_pictures.h"

namespace vektrano {
namespace {

using platform::fromQString;
using platform::toQString;

class FocusTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    put(platform::dataFile(home(), ".zr4"), "JO70GQ;Praha\r\nJO70PO;Kozákov\r\n");
    put(platform::dataFile(home(), ".pvk"), "JO70PO;OK1ABC Petr;1.1.2000\r\n");
    put(platform::dataFile(home(), ".wav"), "RIFF");
    form_ = std::make_unique<TForm1>();
    // Every dialog cancelled: a second database is chosen as none, a new
    // log has no name.
    Form1Dialogs d;
    d.openFile = [](const std::string&, const std::string&, const std::string&,
                    const std::string&, const std::string&) { return std::optional<std::string>(); };
    d.saveLog = [](const std::string&, const std::string&, const std::string&) {
      return std::optional<std::string>();
    };
    form_->setDialogs(d);
    form_->show();
    form_->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), form_.get());
    form_->log().lokportable = "JO70GQ";
    // A named log: the description window has no reason to open.
    form_->log().SaveFileName = home() + "/denik.qvl";
    form_->Memo1->setPlainText(QStringLiteral("Kopec, parta"));
    form_->vstup->setFocus();
    messages_.clear();
  }
  void TearDown() override {
    for (QWidget* w : openToolWindows()) delete w;
    form_.reset();
    ProgramFolderTest::TearDown();
  }

  static QWidget* focus() { return QApplication::focusWidget(); }
  // Typed key by key, each to the widget that has the focus then.
  static void typed(const char* text) {
    for (const char* c = text; *c; ++c) {
      ASSERT_NE(focus(), nullptr);
      QTest::keyClick(focus(), *c);
    }
  }
  static void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    ASSERT_NE(focus(), nullptr);
    QTest::keyPress(focus(), k, mods);
    // A key that closed its window is released to none.
    if (focus()) QTest::keyRelease(focus(), k, mods);
  }
  // The contact's first words typed, the caret moved back among them.
  void startContact() {
    typed("59 57 ok1abc jo70po");
    form_->vstup->setCursorPosition(6);
    line_ = form_->vstup->text();
  }
  // Where the operator left the line: the rest typed at the caret, Enter.
  void finishContact() {
    key(Qt::Key_End);
    typed(" petr");
    key(Qt::Key_Return);
  }
  // The line as the operator left it, the focus on it, the note untouched.
  void expectLineKept(const std::string& what) {
    EXPECT_EQ(focus(), form_->vstup) << what;
    EXPECT_EQ(form_->vstup->text(), line_) << what;
    EXPECT_EQ(form_->vstup->cursorPosition(), 6) << what;
  }
  // The last contact of the log, its note and the own locator untouched.
  void expectStored(int count, const std::string& what) {
    const LogDocument& log = form_->log();
    ASSERT_EQ(log.contactCount(), count) << what;
    EXPECT_EQ(log.Denik.cell(count, kColLokator), "JO70PO") << what;
    EXPECT_EQ(log.Denik.cell(count, kColKm), std::to_string(vypocet("JO70GQ", "JO70PO"))) << what;
    EXPECT_NE(log.Denik.cell(count, kColVolacka).find("Petr"), std::string::npos) << what;
    EXPECT_EQ(form_->Memo1->toPlainText(), QStringLiteral("Kopec, parta")) << what;
    EXPECT_EQ(fromQString(form_->lokportable->text()), "JO70GQ") << what;
    EXPECT_TRUE(form_->vstup->text().isEmpty()) << what;
  }

  std::unique_ptr<TForm1> form_;
  QString line_;  // the entry line as the operator left it
};

// The midnight rebuild on the window's own 950 ms timer, read from a clock
// that says it is one second past midnight of a new day; in file mode and in
// memory mode (whose rebuild hides the entry line behind the progress bar).
TEST_F(FocusTest, TheMidnightRebuildGivesTheLineBack) {
  for (bool pamet : {false, true}) {
    const std::string what = pamet ? "memory mode" : "file mode";
    if (pamet) form_->menuItem("MenuRam")->trigger();
    ASSERT_EQ(form_->ticked("MenuRam"), pamet);
    form_->vstup->setFocus();
    startContact();
    const platform::DateTime now = platform::now();
    form_->setClock([now, pamet] {
      platform::DateTime t = now;
      t.year += pamet ? 2 : 1;
      t.hour = 0;
      t.minute = 0;
      t.second = 1;
      return t;
    });
    // The rebuild reports in panel 2.
    form_->StatusBar1[2]->setText(QStringLiteral("-"));
    const QString report = toQString(pamet ? "Načteno : " : "Počty souborů");
    QTRY_VERIFY_WITH_TIMEOUT(form_->StatusBar1[2]->text().startsWith(report), 3000);
    form_->setClock([] { return platform::now(); });
    expectLineKept(what);
    finishContact();
    expectStored(pamet ? 2 : 1, what);
  }
}

// The options and items that rebuild the indexes, each from a half-typed
// line.
TEST_F(FocusTest, MenuRebuildsGiveTheLineBack) {
  const char* items[] = {"MenuRam",
                         "MenuRam",
                         "pouzevolacky2",
                         "volackyoboje",
                         "pouzevolacky1",
                         "pouzelok2",
                         "lokatoboje",
                         "pouzelok1",
                         "Zvolitdruhoudatabzivolaek1",
                         "Zvolitdruhoudatabzivolaek2",
                         "ReindexovatDatabziLOKTOR1",
                         "ReIndexovatdatabziVOLAEK1",
                         "ReindexovatDatabziSVTK1",
                         "ReindexovatVECHNYDatabze1"};
  int stored = 0;
  for (const char* item : items) {
    form_->vstup->setFocus();
    startContact();
    form_->menuItem(item)->trigger();
    expectLineKept(item);
    finishContact();
    expectStored(++stored, item);
  }
}

// A log without a file name warns at its first contact and offers the
// description once; the later contacts are typed on in the entry line and
// kept in the crash backup. A new log without a name is told again.
TEST_F(FocusTest, AnUnnamedLogOffersItsDescriptionOnce) {
  // The description put aside with Esc; the desktop gives the main window back.
  auto putAside = [this] {
    ASSERT_TRUE(Form11);
    QTRY_COMPARE(QApplication::activeWindow(), Form11.data());
    QTRY_VERIFY(focus() && focus()->window() == Form11);
    key(Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(Form11);
    form_->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), form_.get());
  };
  form_->log().SaveFileName.clear();
  startContact();
  finishContact();
  expectStored(1, "first");
  ASSERT_EQ(messages_.size(), 1u);
  putAside();
  for (int n = 2; n <= 3; ++n) {
    startContact();
    finishContact();
    EXPECT_FALSE(Form11) << n;
    EXPECT_EQ(focus(), form_->vstup) << n;
    expectStored(n, "contact " + std::to_string(n));
  }
  EXPECT_EQ(messages_.size(), 1u);
  const auto backup = platform::readWholeFile(home() + "/zaloha.qvl");
  ASSERT_TRUE(backup);
  EXPECT_EQ(std::count(backup->begin(), backup->end(), '\n'), 4);

  // Ctrl+N, its name dialog cancelled: the old log goes to a safety copy,
  // the new one is described or told at its first contact.
  key(Qt::Key_N, Qt::ControlModifier);
  putAside();
  // The new log starts without an own locator and a note: given again.
  form_->log().lokportable = "JO70GQ";
  form_->lokportable->setText(QStringLiteral("JO70GQ"));
  form_->Memo1->setPlainText(QStringLiteral("Kopec, parta"));
  const size_t told = messages_.size();
  startContact();
  finishContact();
  expectStored(1, "first of the new log");
  ASSERT_EQ(messages_.size(), told + 1);
  EXPECT_NE(messages_.back().find("Popiš prosím expedici"), std::string::npos);
  EXPECT_TRUE(Form11);
}

// Ctrl+R as the keyboard sends it: Ctrl pressed first, then R. A second
// Ctrl+R closes the list again and the typing goes on in the entry line.
TEST_F(FocusTest, CtrlRShowsTheAnnouncedStationsAndASecondOneClosesThem) {
  auto ctrlR = [] {
    QTest::keyPress(focus(), Qt::Key_Control, Qt::ControlModifier);
    key(Qt::Key_R, Qt::ControlModifier);
    QTest::keyRelease(focus(), Qt::Key_Control, Qt::NoModifier);
  };
  ctrlR();
  EXPECT_TRUE(form_->novrportable->isVisible());
  EXPECT_EQ(focus(), form_->novrportable);
  EXPECT_TRUE(form_->ticked("Zobrazseznamavizovanchportejbl1"));
  ctrlR();
  EXPECT_FALSE(form_->novrportable->isVisible());
  EXPECT_FALSE(form_->ticked("Zobrazseznamavizovanchportejbl1"));
  EXPECT_EQ(focus(), form_->vstup);
  startContact();
  finishContact();
  expectStored(1, "after Ctrl+R");
}

// F12 opens the map of the typed locator with its picture focused; Alt+C
// takes the locator box, Alt+X switches the written locator, and neither
// types a letter into it: Enter hands the locator back unchanged and the
// contact keeps its locator and distance.
TEST_F(FocusTest, TheMapsShortcutsKeepTheLocatorOfTheContact) {
  startContact();
  key(Qt::Key_F12);
  ASSERT_TRUE(Form13);
  QTRY_COMPARE(QApplication::activeWindow(), Form13.data());
  EXPECT_EQ(focus(), Form13->obrazek());
  typed("ok");  // typed on by habit: no locator changes
  key(Qt::Key_C, Qt::AltModifier);
  EXPECT_EQ(focus(), Form13->edit());
  const bool popis = Form13->pisLokator()->isChecked();
  key(Qt::Key_X, Qt::AltModifier);
  EXPECT_NE(Form13->pisLokator()->isChecked(), popis);
  EXPECT_EQ(fromQString(Form13->edit()->text()), "JO70PO");
  key(Qt::Key_Return);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(Form13);
  QTRY_COMPARE(QApplication::activeWindow(), form_.get());
  EXPECT_EQ(focus(), form_->vstup);
  EXPECT_EQ(form_->vstup->text(), line_);
  finishContact();
  expectStored(1, "after the map");
}

// The date panel stands in place of the entry line while the dates are
// changed; a rebuild meanwhile leaves the panel and its focus as they were,
// and the panel's button gives the line back.
TEST_F(FocusTest, ARebuildLeavesTheDatePanelInPlace) {
  startContact();
  finishContact();
  form_->menuItem("Doplnitdatumydodenku1")->trigger();
  ASSERT_EQ(focus(), form_->Edit1);
  for (const char* item : {"MenuRam", "MenuRam", "ReindexovatDatabziLOKTOR1"}) {
    form_->menuItem(item)->trigger();
    EXPECT_TRUE(form_->vstup->isHidden()) << item;
    EXPECT_FALSE(form_->Edit1->isHidden()) << item;
    EXPECT_EQ(focus(), form_->Edit1) << item;
  }
  QTest::mouseClick(form_->datumuj, Qt::LeftButton);
  EXPECT_FALSE(form_->vstup->isHidden());
  EXPECT_EQ(focus(), form_->vstup);
  startContact();
  finishContact();
  expectStored(2, "after the date panel");
}

}  // namespace
}  // namespace vektrano
