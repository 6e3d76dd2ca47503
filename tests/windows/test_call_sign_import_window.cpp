#include "windows/call_sign_import_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <filesystem>

#include "core/reference/call_sign_list.h"
#include "core/reference/indexes.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using Rows = std::vector<Grid::Row>;

const char* const kLog =
    "JO70GQ;Expedice;;;;;;;;\r\n"
    "JO70GQ;1;10:00;59;OK1NEW;59;JO70GQ;0;;\r\n"
    "JO70GQ;2;10:05;59;OK2KOZ;59;JO70PO;30;;\r\n"
    "JO70GQ;3;10:10;59;OK1XYZ;59;JO70FR;5;;\r\n";

class ImportWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    files_ = DatabaseFiles::beside(dir_.path());
    ASSERT_TRUE(platform::writeFileAtomic(
        files_.zr4, "JO70PO;Kozákov (SEMILY)\r\nJO70GQ;Ještěd (LIBEREC)\r\n"));
    ASSERT_TRUE(platform::writeFileAtomic(files_.pvk, "JO70FR;OK1XYZ Jana;1.1.2000\r\n"));
    ASSERT_TRUE(platform::writeFileAtomic(log_, kLog));
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.kind == platform::MessageKind::Question ? answer_ : platform::Answer::Ok;
    });
  }
  void TearDown() override {
    platform::setMessageHandler(previous_);
    delete Form6.data();
  }
  TForm6* open() {
    TForm6::Hooks hooks;
    hooks.chosenDate = [this] { return date_; };
    hooks.setChosenDate = [this](const std::string& d) { date_ = d; };
    hooks.reindex = [this](IndexKind k) { reindexed_.push_back(k); };
    hooks.openMap = [this](const std::string& loc, int code) { maps_.emplace_back(loc, code); };
    hooks.chooseFile = [this] { return chosen_; };
    TForm6* w = openForm6(chosenCallSignList(files_, true), dir_.path(), hooks);
    w->show();
    w->activateWindow();
    return w;
  }

  test::TempDir dir_;
  DatabaseFiles files_;
  std::string log_ = dir_.file("Expedice.qvl");
  std::optional<std::string> chosen_ = log_;
  std::string date_ = "24.6.2026";
  std::vector<std::string> messages_;
  platform::Answer answer_ = platform::Answer::Yes;
  platform::MessageHandler previous_;
  std::vector<IndexKind> reindexed_;
  std::vector<std::pair<std::string, int>> maps_;
};

TEST_F(ImportWindowTest, KeysMoveAndDropTheStationsAndClosingSavesBothLists) {
  TForm6* w = open();
  QTest::mouseClick(w->findChild<QPushButton*>("BitBtn3"), Qt::LeftButton);
  ASSERT_EQ(w->data().importRows().grid().rows(),
            (Rows{{"JO70GQ", "OK1NEW"}, {"JO70PO", "OK2KOZ"}}));
  EXPECT_EQ(w->data().list().grid().cell(0, 2), "24.6.2026");  // OK1XYZ known

  // Picking the first row looks up its town; INS moves it with the district.
  const QPoint first = w->StringGrid1()->visualRect(w->StringGrid1()->model()->index(0, 0)).center();
  QTest::mouseClick(w->StringGrid1()->viewport(), Qt::LeftButton, {}, first);
  EXPECT_TRUE(w->moveButton()->isVisibleTo(w));
  EXPECT_EQ(w->data().towns().grid().cell(w->StringGrid3()->currentIndex().row(), 0), "JO70GQ");
  w->StringGrid1()->setFocus();
  QTest::keyClick(w->StringGrid1(), Qt::Key_Insert);
  EXPECT_EQ(w->data().list().grid().rows(), (Rows{{"JO70FR", "OK1XYZ Jana", "24.6.2026"},
                                                 {"JO70GQ", "Ok1new (LIBEREC)", "24.6.2026"}}));
  EXPECT_EQ(*platform::readWholeFile(dir_.file("Expedice.del")), "JO70GQ;OK1NEW\r\n");

  // DEL drops the other one: recorded as done, not moved.
  w->StringGrid1()->setFocus();
  w->StringGrid1()->setCurrentIndex(w->StringGrid1()->model()->index(0, 0));
  QTest::keyClick(w->StringGrid1(), Qt::Key_Delete);
  EXPECT_EQ(w->data().importRows().grid().rows(), (Rows{{"", ""}}));
  EXPECT_EQ(*platform::readWholeFile(dir_.file("Expedice.del")),
            "JO70GQ;OK1NEW\r\nJO70PO;OK2KOZ\r\n");

  EXPECT_TRUE(w->close());
  EXPECT_EQ(*platform::readWholeFile(files_.pvk),
            "JO70FR;Ok1xyz Jana;24.6.2026\r\nJO70GQ;Ok1new (LIBEREC);24.6.2026\r\n");
  EXPECT_EQ(*platform::readWholeFile(files_.zr4),
            "JO70GQ;Ještěd (LIBEREC)\r\nJO70PO;Kozákov (SEMILY)\r\n");
  EXPECT_EQ(reindexed_, (std::vector<IndexKind>{IndexKind::Vol, IndexKind::Lok}));
}

// Nothing can be edited before a file is chosen: the closing questions
// come only once one was loaded.
TEST_F(ImportWindowTest, TheGridsAppearOnlyOnceAFileIsLoaded) {
  TForm6* w = open();
  for (ListView* g : {w->StringGrid1(), w->StringGrid2(), w->StringGrid3()})
    EXPECT_FALSE(g->isVisibleTo(w)) << g->objectName().toStdString();
  QTest::mouseClick(w->findChild<QPushButton*>("BitBtn3"), Qt::LeftButton);
  for (ListView* g : {w->StringGrid1(), w->StringGrid2(), w->StringGrid3()})
    EXPECT_TRUE(g->isVisibleTo(w)) << g->objectName().toStdString();
  answer_ = platform::Answer::No;
  EXPECT_TRUE(w->close());
}

// After a move the call sign stands in the list's cell editor; the Enter
// that ends it is the one that returns to the import grid and looks up its
// next row.
TEST_F(ImportWindowTest, OneEnterAfterAMoveReturnsToTheImport) {
  TForm6* w = open();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  QTest::mouseClick(w->findChild<QPushButton*>("BitBtn3"), Qt::LeftButton);
  const QPoint first = w->StringGrid1()->visualRect(w->StringGrid1()->model()->index(0, 0)).center();
  QTest::mouseClick(w->StringGrid1()->viewport(), Qt::LeftButton, {}, first);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert);
  QWidget* editor = QApplication::focusWidget();
  ASSERT_TRUE(editor && w->StringGrid2()->isAncestorOf(editor));

  QTest::keyClick(editor, Qt::Key_End);
  QTest::keyClicks(editor, QStringLiteral(" Petr"));
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), w->StringGrid1());
  EXPECT_EQ(w->data().list().grid().cell(1, 1), "Ok1new (LIBEREC) Petr");
  EXPECT_EQ(platform::fromQString(w->statusLabel()->text()).rfind("Vybrán řádek : [JO70PO - OK2KOZ]", 0),
            0u)
      << platform::fromQString(w->statusLabel()->text());
  answer_ = platform::Answer::No;
  EXPECT_TRUE(w->close());
}

// An empty or missing list shows one empty row; the first station takes
// its place, and no empty record reaches the file.
TEST_F(ImportWindowTest, AnEmptyListGetsNoEmptyRecord) {
  struct Case {
    const char* note;
    bool fileThere;
    bool move;
    std::string written;
  } cases[] = {
      {"empty list, one station moved", true, true, "JO70GQ;Ok1new (LIBEREC);24.6.2026\r\n"},
      {"missing list, one station moved", false, true, "JO70GQ;Ok1new (LIBEREC);24.6.2026\r\n"},
      {"empty list, nothing moved", true, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    std::filesystem::remove(platform::fsPath(files_.pvk));
    std::filesystem::remove(platform::fsPath(dir_.file("Expedice.del")));
    if (c.fileThere) ASSERT_TRUE(platform::writeFileAtomic(files_.pvk, ""));
    TForm6* w = open();
    QTest::mouseClick(w->findChild<QPushButton*>("BitBtn3"), Qt::LeftButton);
    if (c.move) {
      const QPoint first = w->StringGrid1()->visualRect(w->StringGrid1()->model()->index(0, 0)).center();
      QTest::mouseClick(w->StringGrid1()->viewport(), Qt::LeftButton, {}, first);
      w->StringGrid1()->setFocus();
      QTest::keyClick(w->StringGrid1(), Qt::Key_Insert);
    }
    answer_ = platform::Answer::Yes;
    EXPECT_TRUE(w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(platform::readWholeFile(files_.pvk), c.written);
  }
}

// A station whose locator has no town, and whose call sign begins like no
// list row, finds nothing: nothing stays selected from the station before,
// so the move gives it no district of another town and F7 replaces no row.
TEST_F(ImportWindowTest, ALookupThatFindsNothingLeavesNothingSelected) {
  ASSERT_TRUE(platform::writeFileAtomic(log_, "JO70GQ;Expedice;;;;;;;;\r\n"
                                              "JO70GQ;1;10:00;59;OK1NEW;59;JO70GQ;0;;\r\n"
                                              "JO70GQ;2;10:05;59;DL1ABC;59;JN99AA;300;;\r\n"));
  for (Qt::Key key : {Qt::Key_Insert, Qt::Key_F7}) {
    SCOPED_TRACE(key == Qt::Key_F7 ? "F7" : "INS");
    std::filesystem::remove(platform::fsPath(dir_.file("Expedice.del")));
    TForm6* w = open();
    QTest::mouseClick(w->findChild<QPushButton*>("BitBtn3"), Qt::LeftButton);
    ListView* imp = w->StringGrid1();
    ASSERT_EQ(w->data().importRows().grid().rows(), (Rows{{"JN99AA", "DL1ABC"}, {"JO70GQ", "OK1NEW"}}));
    auto click = [&](int row) {
      QTest::mouseClick(imp->viewport(), Qt::LeftButton, {},
                        imp->visualRect(imp->model()->index(row, 0)).center());
    };
    click(1);  // OK1NEW: its town and the list row OK1XYZ are found
    ASSERT_TRUE(w->StringGrid3()->currentIndex().isValid());
    ASSERT_TRUE(w->StringGrid2()->currentIndex().isValid());
    click(0);  // DL1ABC: nothing
    EXPECT_FALSE(w->StringGrid3()->currentIndex().isValid());
    EXPECT_FALSE(w->StringGrid2()->currentIndex().isValid());
    EXPECT_TRUE(w->StringGrid3()->selectionModel()->selectedIndexes().isEmpty());
    EXPECT_TRUE(w->StringGrid2()->selectionModel()->selectedIndexes().isEmpty());

    imp->setFocus();
    QTest::keyClick(imp, key);
    Rows list = w->data().list().grid().rows();
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (Rows{{"JN99AA", "Dl1abc (_OKRES_?_)", "24.6.2026"},
                          {"JO70FR", "OK1XYZ Jana", "1.1.2000"}}));
    answer_ = platform::Answer::No;
    EXPECT_TRUE(w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// Each grid's sort shows its own row count in the caption, pass by pass.
TEST_F(ImportWindowTest, ASortCaptionCountsTheRowsOfTheGridItSorts) {
  ASSERT_TRUE(platform::writeFileAtomic(
      files_.zr4, "JO70PO;Kozákov\r\nJO70GQ;Ještěd\r\nJO70FC;Praha\r\nJO60LJ;Klínovec\r\n"));
  TForm6* w = open();
  ASSERT_TRUE(w->nactidata(log_));
  struct Case {
    const char* grid;
    ListTable& table;
    const char* firstPass;
  } cases[] = {
      {"import", w->data().importRows(), "2 Volaček, třídím : [2]"},
      {"call signs", w->data().list(), "1 Volaček, třídím : [1]"},
      {"towns", w->data().towns(), "4 Volaček, třídím : [4]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.grid);
    const QString before = w->windowTitle();
    std::vector<std::string> captions;
    const auto seen = QObject::connect(w, &QWidget::windowTitleChanged, [&](const QString& t) {
      captions.push_back(platform::fromQString(t));
    });
    c.table.sort(1);
    QObject::disconnect(seen);
    ASSERT_FALSE(captions.empty());
    EXPECT_EQ(captions.front(), c.firstPass);
    EXPECT_EQ(w->windowTitle(), before);
  }
  answer_ = platform::Answer::No;
  EXPECT_TRUE(w->close());
}

TEST_F(ImportWindowTest, AFileThatCannotBeReadLeavesBothGrids) {
  TForm6* w = open();
  ASSERT_TRUE(w->nactidata(log_));
  const Rows imported = w->data().importRows().grid().rows();
  const Rows list = w->data().list().grid().rows();
  chosen_ = dir_.file("chybi.qvl");
  QTest::mouseClick(w->findChild<QPushButton*>("BitBtn3"), Qt::LeftButton);
  EXPECT_EQ(messages_.back(), "Soubor " + dir_.file("chybi.qvl") + " nebyl nalezen !");
  EXPECT_EQ(w->data().importRows().grid().rows(), imported);
  EXPECT_EQ(w->data().list().grid().rows(), list);
  chosen_.reset();
  QTest::mouseClick(w->findChild<QPushButton*>("BitBtn3"), Qt::LeftButton);
  EXPECT_EQ(platform::fromQString(w->statusLabel()->text()),
            "Nebyl vybrán žádný deník - soubor *.qvl !");
  answer_ = platform::Answer::No;
  EXPECT_TRUE(w->close());
}

TEST_F(ImportWindowTest, DoubleClicksOpenTheMapForEachGridAndToggleTheDate) {
  TForm6* w = open();
  ASSERT_TRUE(w->nactidata(log_));
  auto dclick = [&](ListView* v, int row, int col) {
    const QPoint at = v->visualRect(v->model()->index(row, col)).center();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, at);
  };
  dclick(w->StringGrid2(), 0, 0);
  dclick(w->StringGrid1(), 1, 0);
  dclick(w->StringGrid3(), 1, 0);
  EXPECT_EQ(maps_, (std::vector<std::pair<std::string, int>>{
                       {"JO70FR", 3}, {"JO70PO", 4}, {"JO70PO", 5}}));
  w->mapLocatorChosen(4, "JO70PP");
  EXPECT_EQ(w->data().importRows().grid().cell(1, 0), "JO70PP");
  dclick(w->StringGrid2(), 0, 2);
  EXPECT_EQ(w->data().list().grid().cell(0, 2), "Nezjištěno");
  dclick(w->StringGrid2(), 0, 2);
  EXPECT_EQ(w->data().list().grid().cell(0, 2), "24.6.2026");
  answer_ = platform::Answer::No;
  EXPECT_TRUE(w->close());
}

}  // namespace
}  // namespace vektrano
