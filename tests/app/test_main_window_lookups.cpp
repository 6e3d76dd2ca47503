// The main window through its real key and mouse path: the look-up lists
// stepped with F2 and taken into the entry line with the space bar, the
// take-back of the last contact (and the files it leaves alone), the own
// locator typed in, the note memo's limit and the memory mode switched while
// the program runs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/entry_adapter.h"
#include "app/main_window.h"
#include "core/base/geometry.h"
#include "core/entry/lookup_lists.h"
#include "core/log/log.h"
#include "core/log/log_file.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "tests/support/program_folder_test.h"
#include "windows/base/tool_window.h"

namespace vektrano {
namespace {

using platform::fromQString;
using platform::toQString;

class LookupsTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    provideRequired();
    form_ = std::make_unique<TForm1>();
    form_->show();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    // No search may refill the lists the test fills.
    form_->Timer2.stop();
  }
  void TearDown() override {
    for (QWidget* w : openToolWindows()) delete w;
    form_.reset();
    ProgramFolderTest::TearDown();
  }
  std::string logPath() const { return home() + "/UlozisteDat/test.qvl"; }

  void fill(SideList* list, SearchKind kind, const std::vector<std::string>& lines) {
    form_->clearList(kind);
    for (const std::string& l : lines) form_->appendLine(kind, l);
    list->show();
  }
  // A key as the window system delivers it: the press to the widget, the
  // release to whichever has the focus by then.
  static void press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyPress(w, key, mods);
    QTest::keyRelease(QApplication::focusWidget() ? QApplication::focusWidget() : w, key, mods);
  }
  void type(const char* text) {
    form_->vstup->setFocus();
    QTest::keyClicks(form_->vstup, QString::fromLatin1(text));
  }
  std::string line() const { return fromQString(form_->vstup->text()); }
  std::string panel(int i) const { return fromQString(form_->StatusBar1[i]->text()); }

  // The log of rows under its name, written with its crash backup.
  void seed(const std::vector<Grid::Row>& rows) {
    LogDocument& log = form_->log();
    log.Denik.setRowCount(1);
    setLogTitles(log.Denik);
    for (const Grid::Row& r : rows) log.Denik.appendRow(r);
    log.PocetSpojeni = log.contactCount();
    log.lokportable = "JO70GQ";
    log.SaveFileName = logPath();
    log.ZalohaFileName = home() + "/zaloha.qvl";
    ASSERT_TRUE(ulozdata(log, logPath()));
    ASSERT_TRUE(ulozZalohu(log));
    form_->refreshDenik();
  }

  std::unique_ptr<TForm1> form_;
};

TEST_F(LookupsTest, F2StepsTheCallSignListAndSpaceTakesTheLine) {
  TForm1& f = *form_;
  type("59 57 ok");
  ASSERT_EQ(f.entry()->parts().ReportVyslany, "59");
  const std::vector<std::string> lines = {"Volačka [Ok]",
                                          "JO70GQ-Ok1abc Petr (PRAHA) - 1.1.2000",
                                          std::string(49, '*'),
                                          "JO60LJ-Ok2xyz Jana - Nezjištěno",
                                          " --- počet : 2 ---"};
  fill(f.wvolacky, SearchKind::Volackaa, lines);

  // F2 in the entry line goes into the list at line 1.
  press(f.vstup, Qt::Key_F2);
  ASSERT_EQ(QApplication::focusWidget(), f.wvolacky);
  EXPECT_EQ(f.wvolacky->currentRow(), 1);
  EXPECT_EQ(panel(1), "Výběr mezerníkem [SPACE]");
  EXPECT_EQ(panel(2), "Pohyb v seznamu [F2], [F3], [F4] nebo šipkama nahoru a dolů");
  press(f.wvolacky, Qt::Key_F3);  // over the separator
  EXPECT_EQ(f.wvolacky->currentRow(), 3);
  EXPECT_EQ(panel(2), "1 / 5");  // the choice before the key
  press(f.wvolacky, Qt::Key_F4);  // from the last entry round to line 1
  EXPECT_EQ(f.wvolacky->currentRow(), 1);
  press(f.wvolacky, Qt::Key_F2);
  press(f.wvolacky, Qt::Key_Down);  // the footer cannot stay chosen
  EXPECT_EQ(f.wvolacky->currentRow(), 3);

  // Space: the typed reports, then the call sign and name and the locator.
  const EntryParts typed = f.entry()->parts();
  press(f.wvolacky, Qt::Key_Space);
  EXPECT_EQ(QApplication::focusWidget(), f.vstup);
  EXPECT_EQ(line(), TextZVolacky(typed, lines[3]));
  EXPECT_EQ(line(), "59 57 Ok2xyz Jana JO60LJ ");
  EXPECT_EQ(f.vstup->cursorPosition(), static_cast<int>(line().size()));
  // The line as the entry line read it on the release: the reports in
  // their cells.
  EXPECT_EQ(f.entry()->parts().ReportVyslany, "59");
  EXPECT_EQ(f.entry()->parts().ReportPrijaty, "57");
  EXPECT_EQ(f.entry()->parts().LokatorProtistanice, "JO60LJ");

  // Esc leaves the list for the entry line.
  f.wvolacky->setFocus();
  press(f.wvolacky, Qt::Key_Escape);
  EXPECT_EQ(QApplication::focusWidget(), f.vstup);
}

TEST_F(LookupsTest, ThePlaceListTakesTheTypedCallSignAndAPlaceAlsoByDoubleClick) {
  TForm1& f = *form_;
  f.RezimMestaSvatky();
  type("59 ok1abc/p tab");
  const std::vector<std::string> lines = {"Hledám místo [Tab]", "JN79HJ-Tábor / 123 km",
                                          "JO70GQ-Praha / 0 km", " --- počet : 2 ---"};
  fill(f.wmestacentr, SearchKind::Lokatora, lines);
  press(f.vstup, Qt::Key_F2);
  ASSERT_EQ(QApplication::focusWidget(), f.wmestacentr);
  EXPECT_EQ(f.wmestacentr->currentRow(), 1);
  press(f.wmestacentr, Qt::Key_Escape);  // Esc is the call-sign list's only
  EXPECT_EQ(QApplication::focusWidget(), f.wmestacentr);
  const EntryParts typed = f.entry()->parts();
  press(f.wmestacentr, Qt::Key_Space);
  EXPECT_EQ(line(), TextZMista(typed, lines[1]));
  EXPECT_EQ(line(), "59 Ok1abc/p Tábor JN79HJ ");
  EXPECT_EQ(f.entry()->parts().LokatorProtistanice, "JN79HJ");

  // F5 goes back too; a double click takes the line under the mouse.
  fill(f.wmestacentr, SearchKind::Lokatora, lines);
  f.wmestacentr->setFocus();
  press(f.wmestacentr, Qt::Key_F5);
  EXPECT_EQ(QApplication::focusWidget(), f.vstup);
  f.wmestacentr->setFocus();
  const QRect r = f.wmestacentr->rowRect(2);
  QTest::mouseDClick(f.wmestacentr->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
  EXPECT_EQ(f.entry()->parts().LokatorProtistanice, "JO70GQ");
  EXPECT_NE(line().find("Praha JO70GQ"), std::string::npos) << line();
}

TEST_F(LookupsTest, CtrlF8TakesTheLastContactBackAndWritesNothing) {
  struct Case {
    const char* note;
    std::vector<Grid::Row> rows;
    std::string text;  // in the entry line afterwards
  } cases[] = {
      {"one contact", {{"1", "12:34:00", "59", "Petr", "57", "JO70PO", "54", ",chata"}},
       "12:34:00 59 Petr 57 JO70PO ,chata"},
      {"several",
       {{"1", "10:00:00", "59", "Jan", "59", "JO60LJ", "120", ""},
        {"2", "10:05:00", "55", "Eva", "55", "", "0", ""},
        {"3", "10:09:00", "59", "Karel", "57", "JN99JM", "329", ""}},
       "10:09:00 59 Karel 57 JN99JM"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    seed(c.rows);
    const auto logBefore = platform::readWholeFile(logPath());
    const auto backupBefore = platform::readWholeFile(home() + "/zaloha.qvl");
    form_->vstup->setFocus();
    press(form_->vstup, Qt::Key_F8, Qt::ControlModifier);
    EXPECT_EQ(form_->log().contactCount(), static_cast<int>(c.rows.size()) - 1);
    EXPECT_EQ(line(), c.text);
    EXPECT_EQ(form_->vstup->cursorPosition(), static_cast<int>(line().size()));
    EXPECT_EQ(fromQString(form_->cisspoj->text()), std::to_string(c.rows.size()));
    // The log and the crash backup still hold the contact.
    EXPECT_EQ(platform::readWholeFile(logPath()), logBefore);
    EXPECT_EQ(platform::readWholeFile(home() + "/zaloha.qvl"), backupBefore);

    // Finished and stored again: both files hold the new row in its place.
    type(" Novak");
    press(form_->vstup, Qt::Key_Return);
    ASSERT_EQ(form_->log().contactCount(), static_cast<int>(c.rows.size()));
    LogDocument read;
    read.SaveFileName = logPath();
    nactidata(read, TabulkaSynonym());
    ASSERT_EQ(read.contactCount(), static_cast<int>(c.rows.size()));
    EXPECT_NE(read.Denik.cell(read.contactCount(), kColVolacka).find("Novak"), std::string::npos);
    EXPECT_EQ(platform::readWholeFile(home() + "/zaloha.qvl"), platform::readWholeFile(logPath()));
  }

  // Until the log is empty, when it says so.
  seed({});
  messages_.clear();
  press(form_->vstup, Qt::Key_F8, Qt::ControlModifier);
  EXPECT_EQ(messages_, std::vector<std::string>{"Už není co mazat, deník je prázdný!"});
}

// After a sort the last row of the grid is not the contact stored last:
// Ctrl+F8 takes back the highest number, and storing it again gives that
// number back, so the numbers stay unique.
TEST_F(LookupsTest, CtrlF8AfterASortTakesBackTheContactStoredLast) {
  for (const char* sort : {"Setditpodlevolaek1", "Kontroladuplicit1"}) {
    SCOPED_TRACE(sort);
    seed({{"1", "10:00:00", "59", "Zdenek", "59", "JO60LJ", "120", ""},
          {"2", "10:05:00", "55", "Adam", "55", "JO70PO", "54", ""},
          {"3", "10:09:00", "59", "Milan", "57", "JN99JM", "329", ""},
          {"4", "10:12:00", "57", "Bara", "59", "JO80GQ", "141", ""}});
    form_->log().SetridenoPodle = kColCislo;  // as stored: by number
    form_->menuItem(sort)->trigger();
    ASSERT_EQ(form_->log().Denik.cell(4, kColVolacka).substr(0, 6), "Zdenek");
    form_->vstup->setFocus();
    press(form_->vstup, Qt::Key_F8, Qt::ControlModifier);
    EXPECT_EQ(line(), "10:12:00 57 Bara 59 JO80GQ");
    std::multiset<std::string> numbers;
    for (int r = 1; r < form_->log().Denik.rowCount(); ++r)
      numbers.insert(form_->log().Denik.cell(r, kColCislo));
    EXPECT_EQ(numbers, (std::multiset<std::string>{"1", "2", "3"}));
    EXPECT_EQ(fromQString(form_->cisspoj->text()), "4");

    press(form_->vstup, Qt::Key_Return);
    LogDocument read;
    read.SaveFileName = logPath();
    nactidata(read, TabulkaSynonym());
    numbers.clear();
    for (int r = 1; r < read.Denik.rowCount(); ++r) {
      numbers.insert(read.Denik.cell(r, kColCislo));
      if (read.Denik.cell(r, kColCislo) == "4") {
        EXPECT_EQ(read.Denik.cell(r, kColVolacka).substr(0, 4), "Bara");
      }
    }
    EXPECT_EQ(numbers, (std::multiset<std::string>{"1", "2", "3", "4"}));
  }
}

TEST_F(LookupsTest, ATypedOwnLocatorRecalculatesTheLogAndAnInvalidOneIsRefused) {
  TForm1& f = *form_;
  seed({{"1", "10:00:00", "59", "Jan .azimut_1", "59", "JO60LJ", "120", ""},
        {"2", "10:05:00", "55", "Eva", "55", "JO70PO", "54", ""},
        {"3", "10:09:00", "59", "Karel", "57", "", "0", ""}});
  // With contacts the edit is read-only when entered; a double click opens it.
  QTest::mouseClick(f.lokportable, Qt::LeftButton);
  EXPECT_TRUE(f.lokportable->isReadOnly());
  QTest::keyClicks(f.lokportable, "x");
  EXPECT_EQ(fromQString(f.lokportable->text()), "JO70GQ");
  QTest::mouseDClick(f.lokportable, Qt::LeftButton);
  EXPECT_FALSE(f.lokportable->isReadOnly());

  f.lokportable->selectAll();
  QTest::keyClicks(f.lokportable, "jn99jm");
  EXPECT_EQ(fromQString(f.lokportable->text()), "JN99JM");  // converted at once
  EXPECT_FALSE(f.lokportable->font().italic());
  const LogDocument& log = f.log();
  EXPECT_EQ(log.lokportable, "JN99JM");
  EXPECT_EQ(log.Denik.cell(1, kColKm), std::to_string(vypocet("JN99JM", "JO60LJ")));
  EXPECT_EQ(log.Denik.cell(2, kColKm), std::to_string(vypocet("JN99JM", "JO70PO")));
  EXPECT_EQ(log.Denik.cell(1, kColVolacka),
            "Jan .azimut_" + std::to_string(pocitejazimut("JN99JM", "JO60LJ")));
  EXPECT_EQ(log.Denik.cell(2, kColVolacka), "Eva");  // no note before, none now
  // Stored: the log file carries the new own locator and the new distances.
  LogDocument read;
  read.SaveFileName = logPath();
  nactidata(read, TabulkaSynonym());
  EXPECT_EQ(read.lokportable, "JN99JM");
  EXPECT_EQ(read.Denik.cell(2, kColKm), log.Denik.cell(2, kColKm));
  EXPECT_EQ(f.currentSettings().Lokportable, "JN99JM");

  // A text that is no locator shows as wrong and never reaches the log.
  const auto stored = platform::readWholeFile(logPath());
  f.lokportable->selectAll();
  QTest::keyClicks(f.lokportable, "jo7zgq");
  EXPECT_EQ(fromQString(f.lokportable->text()), "JO7ZGQ");
  EXPECT_TRUE(f.lokportable->font().italic());
  EXPECT_EQ(f.log().lokportable, "JN99JM");
  EXPECT_EQ(f.log().Denik.cell(2, kColKm), std::to_string(vypocet("JN99JM", "JO70PO")));
  EXPECT_EQ(platform::readWholeFile(logPath()), stored);
  EXPECT_EQ(f.currentSettings().Lokportable, "JN99JM");
}

TEST_F(LookupsTest, TheNoteMemoCountsDownToItsLimit) {
  TForm1& f = *form_;
  f.Memo1->setPlainText(QString(901, 'a'));
  EXPECT_EQ(panel(1), "Ještě je možno vložit 98 znaků.");
  EXPECT_EQ(panel(2), "Počet znaků popisu se blíží maximu 999 znaků");
  f.Memo1->setPlainText(QString(10, 'a'));
  EXPECT_EQ(panel(2), " :-) ");
  f.Memo1->setPlainText(QString(998, 'a'));
  f.Memo1->moveCursor(QTextCursor::End);
  QTest::keyClicks(f.Memo1, "bcd");
  EXPECT_EQ(f.Memo1->toPlainText().size(), 999);
  EXPECT_EQ(f.Memo1->toPlainText().right(1), "b");
  EXPECT_EQ(panel(1), "Ještě je možno vložit 0 znaků.");
  EXPECT_EQ(panel(2), "Víc znaků už nevložíš, je třeba nějaké znaky smazat ...");
}

// Whatever the entry line shows, the shown look-up lists stand above every
// other control in their order, also after another control was raised.
TEST_F(LookupsTest, TheShownListsStandAboveTheOtherControlsAtEveryKey) {
  TForm1& f = *form_;
  const std::vector<QWidget*> order = {f.SeznamMest, f.wvolacky, f.wmestacentr, f.Memo4,
                                       f.wduplicity};
  auto topmost = [&] {
    std::vector<QWidget*> shown, top;
    for (QWidget* w : order)
      if (!w->isHidden()) shown.push_back(w);
    const QObjectList& siblings = f.wvolacky->parentWidget()->children();
    for (auto it = siblings.rbegin(); it != siblings.rend() && top.size() < shown.size(); ++it)
      if ((*it)->isWidgetType()) top.insert(top.begin(), static_cast<QWidget*>(*it));
    return !shown.empty() && top == shown;
  };
  const struct {
    const char* typed;
    bool raiseGridFirst;
  } steps[] = {{"ok1", false}, {"a", true}, {" jana", false}, {" ", true}, {"praha", false},
               {"x", true}};
  for (const auto& step : steps) {
    if (step.raiseGridFirst) f.Denik->raise();
    type(step.typed);
    EXPECT_TRUE(topmost()) << "after " << step.typed << ", line " << line();
  }
}

TEST_F(LookupsTest, MemoryModeIsSwitchedOnAndOffWhileTheProgramRuns) {
  TForm1& f = *form_;
  ASSERT_FALSE(f.ticked("MenuRam"));
  f.menuItem("MenuRam")->trigger();
  EXPECT_EQ(panel(2).rfind("Načteno : 0 volaček, 2 lokátorů, ", 0), 0u) << panel(2);
  EXPECT_TRUE(f.vstup->isEnabled());
  f.menuItem("MenuRam")->trigger();
  EXPECT_EQ(panel(2).rfind("Počty souborů - LOKÁTORY:", 0), 0u) << panel(2);
  EXPECT_FALSE(f.currentSettings().MenuRam);
}

TEST_F(LookupsTest, ThePortableStationsHideWhenLeftAndSendKeysBack) {
  TForm1& f = *form_;
  put(home() + "/portable.txt", "OK1ABC/p JO70PO 14.7.\r\n");
  press(f.vstup, Qt::Key_R, Qt::ControlModifier);
  ASSERT_TRUE(f.novrportable->isVisible());
  EXPECT_EQ(fromQString(f.novrportable->toPlainText()), "OK1ABC/p JO70PO 14.7.\n");
  EXPECT_EQ(fromQString(f.windowTitle()), home() + "/portable.txt");
  press(f.novrportable, Qt::Key_X);
  EXPECT_EQ(QApplication::focusWidget(), f.vstup);
  EXPECT_FALSE(f.novrportable->isVisible());
  EXPECT_FALSE(f.ticked("Zobrazseznamavizovanchportejbl1"));
}

TEST_F(LookupsTest, SideListsArePaintedInTheSchemeAndShiftClickCopies) {
  TForm1& f = *form_;
  fill(f.wvolacky, SearchKind::Volackaa,
       {"Volačka [Ok]", "JO70GQ-Ok1abc Petr", "JO60LJ-Ok2xyz", " --- počet : 2 ---"});
  f.wvolacky->raise();
  // A click on the heading chooses line 1; with Shift the line goes to the
  // clipboard.
  const QRect heading = f.wvolacky->rowRect(0);
  QTest::mouseClick(f.wvolacky->viewport(), Qt::LeftButton, Qt::NoModifier, heading.center());
  EXPECT_EQ(f.wvolacky->currentRow(), 1);
  const QRect second = f.wvolacky->rowRect(2);
  QTest::mouseClick(f.wvolacky->viewport(), Qt::LeftButton, Qt::ShiftModifier, second.center());
  EXPECT_EQ(f.wvolacky->currentRow(), 2);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), toQString("JO60LJ-Ok2xyz"));

  // Lines on the list background, the chosen one on the longest contact's.
  const MainWindowSettings s = f.currentSettings();
  const QImage image = f.wvolacky->viewport()->grab().toImage();
  auto bgr = [](int c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); };
  EXPECT_EQ(QColor(image.pixel(heading.right() - 2, heading.top() + 1)), bgr(s.BPOV));
  EXPECT_EQ(QColor(image.pixel(second.right() - 2, second.top() + 1)), bgr(s.BNJS));
}

TEST_F(LookupsTest, TheChannelAndTheEntryLineHandBackTheFocusAndTheCaption) {
  TForm1& f = *form_;
  f.menuItem("doplnovatkanal")->trigger();
  f.kanal->setFocus();
  QWidget* inner = QApplication::focusWidget();
  ASSERT_NE(inner, nullptr);
  press(inner, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), f.vstup);

  f.setWindowTitle("[ 1 > Ok1abc - JO70PO : 54 km ] ()");
  f.kanal->setFocus();
  f.vstup->setFocus();
  EXPECT_EQ(f.windowTitle(), toQString(platform::applicationTitle()));
}

}  // namespace
}  // namespace vektrano
