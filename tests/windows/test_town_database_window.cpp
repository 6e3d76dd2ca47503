#include "windows/town_database_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "core/reference/town_database.h"
#include "core/search/searches.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using platform::fromQString;

struct QuietWindow : IndexObserver {
  void setProcessPriority(platform::ProcessPriority) override {}
};

class TownWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    files_ = DatabaseFiles::beside(dir_.path());
    files_.LokatoryAlter = dir_.file("druha.zr4");
    ASSERT_TRUE(platform::writeFileAtomic(files_.zr4, "JO70FC;Praha\r\n"));
    ASSERT_TRUE(platform::writeFileAtomic(files_.LokatoryAlter,
                                          "JO70PO;kozákov\r\nJO70GQ;Ještěd (LIBEREC)\r\n"));
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.kind == platform::MessageKind::Question ? answer_ : platform::Answer::Ok;
    });
  }
  void TearDown() override {
    platform::setMessageHandler(previous_);
    delete Form2.data();
  }
  // The window on the database the choice gives; the refresh after a save
  // is the main window's: the index files rebuilt in file mode.
  TForm2* open(bool pouzelok1) {
    pouzelok1_ = pouzelok1;
    return openForm2(
        chosenTownDatabase(files_, pouzelok1), [] { return KeyboardOptions{true, false}; },
        [this] {
          ++reindexed_;
          ReIndexaceOptions o;
          o.lokatory = pouzelok1_ ? DatabaseChoice::MainOnly : DatabaseChoice::Both;
          indexes_.afterListSaved(IndexKind::Lok, files_, o);
        },
        [this](const std::string& loc, int code) { maps_.emplace_back(loc, code); });
  }
  std::vector<std::string> places(const std::string& text) {
    SearchEnvironment env;
    env.prefixes = indexes_.prefixes();
    std::vector<std::string> out;
    runSearch(makeSearchInput({SearchKind::Lokatora, text, ""}, env),
              [&](std::string_view l) { out.emplace_back(l); });
    return out;
  }

  test::TempDir dir_;
  DatabaseFiles files_;
  QuietWindow window_;
  Indexes indexes_{dir_.path(), window_};
  bool pouzelok1_ = true;
  std::vector<std::string> messages_;
  platform::Answer answer_ = platform::Answer::No;
  platform::MessageHandler previous_;
  int reindexed_ = 0;
  std::vector<std::pair<std::string, int>> maps_;
};

TEST_F(TownWindowTest, SavesTheDatabaseItReadWithItsOwnBackupAndTheSearchFindsTheNewPlace) {
  TForm2* w = open(false);
  w->show();
  EXPECT_EQ(messages_,
            std::vector<std::string>{"Upravovaná databáze lokátorů je : " + files_.LokatoryAlter});
  EXPECT_EQ(fromQString(w->windowTitle()), "Správa seznamu lokátorů : [2]");
  QTest::mouseClick(w->addButton(), Qt::LeftButton);
  EXPECT_EQ(w->selectedRow(), 2);
  w->table().grid().setRow(2, {"JO70AA", "nová chata; hřeben"});
  // The choice changes while the window is open: it still saves what it read.
  files_.LokatoryAlter = "none";
  QTest::mouseClick(w->saveButton(), Qt::LeftButton);
  EXPECT_EQ(*platform::readWholeFile(dir_.file("druha.zr4")),
            "JO70GQ;Ještěd (LIBEREC)\r\nJO70PO;Kozákov\r\nJO70AA;Nová Chata, Hřeben\r\n");
  EXPECT_EQ(*platform::readWholeFile(dir_.file("druha.loc")),
            "JO70PO;kozákov\r\nJO70GQ;Ještěd (LIBEREC)\r\n");
  EXPECT_EQ(*platform::readWholeFile(files_.zr4), "JO70FC;Praha\r\n");
  EXPECT_FALSE(platform::fileExists(dir_.file("vektrano.loc")));
  EXPECT_EQ(reindexed_, 1);
  EXPECT_EQ(messages_.back(), "Předcházející verze databáze " + dir_.file("druha.zr4") +
                                  " byla uložena do souboru " + dir_.file("druha.loc"));
  // The save button waits for the next sort.
  EXPECT_FALSE(w->saveButton()->isEnabled());
  QTest::keyClicks(w->Edit1(), "jo");
  EXPECT_TRUE(w->saveButton()->isEnabled());
  EXPECT_EQ(fromQString(w->Edit1()->text()), "JO");
}

// The window as it looks: sky blue, the two search boxes below the grid and
// above the buttons.
TEST_F(TownWindowTest, IsSkyBlueWithItsSearchBoxesBelowTheGrid) {
  TForm2* w = open(true);
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  const QImage shot = w->grab().toImage();
  EXPECT_EQ(shot.pixelColor(2, shot.height() / 2), QColor(166, 202, 240));
  const int gridBottom = w->view()->geometry().bottom();
  const int buttonsTop = w->findChild<QPushButton*>("BitBtn1")->geometry().top();
  for (const char* name : {"Edit1", "Edit2"}) {
    const QRect box = w->findChild<QLineEdit*>(name)->geometry();
    EXPECT_GT(box.top(), gridBottom) << name;
    EXPECT_LT(box.bottom(), buttonsTop) << name;
  }
}

TEST_F(TownWindowTest, AfterASaveTheEntryLineSearchFindsTheNewLine) {
  TForm2* w = open(true);
  const int r = w->table().addRow();
  w->table().grid().setRow(r, {"JO70GQ", "ještěd"});
  ASSERT_TRUE(w->saveList());
  const std::vector<std::string> found = places("Ještěd");
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[2], "JO70GQ-Ještěd");
}

TEST_F(TownWindowTest, EnterAndDoubleClickOpenTheMapAndItsLocatorComesBack) {
  TForm2* w = open(false);
  w->show();
  w->activateWindow();
  w->selectCell(1, 1);
  w->view()->setFocus();
  // The release of the Enter that opened the window (on its menu item) is
  // not the list's own.
  QTest::sendKeyEvent(QTest::Release, w->view(), Qt::Key_Return, QString(), Qt::NoModifier);
  EXPECT_TRUE(maps_.empty());
  QTest::keyClick(w->view(), Qt::Key_Return);
  ASSERT_EQ(maps_.size(), 1u);
  EXPECT_EQ(maps_[0], std::make_pair(std::string("JO70GQ"), 2));
  w->mapLocatorChosen("JO70GR");
  EXPECT_EQ(w->table().grid().cell(1, 0), "JO70GR");
  const QRect cell = w->view()->visualRect(w->model()->index(0, 0));
  QTest::mouseClick(w->view()->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(w->view()->viewport(), Qt::LeftButton, {}, cell.center());
  ASSERT_EQ(maps_.size(), 2u);
  EXPECT_EQ(maps_[1], std::make_pair(std::string("JO70PO"), 2));
}

// A locator typed into column 0 is converted by the release of any key,
// Enter's included, before Enter opens the map on it.
TEST_F(TownWindowTest, EnterInTheLocatorColumnConvertsTheCellBeforeTheMapOpens) {
  TForm2* w = open(false);
  w->show();
  w->activateWindow();
  struct Case {
    Qt::Key key;
    const char* map;  // the locator the map opens on; "" no map
  } cases[] = {{Qt::Key_Home, ""}, {Qt::Key_Return, "JO70PO"}, {Qt::Key_Enter, "JO70PO"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    maps_.clear();
    w->table().grid().setCell(1, 0, "jo7épo");
    w->selectCell(1, 0);
    w->view()->setFocus();
    QTest::keyClick(w->view(), c.key);
    EXPECT_EQ(w->table().grid().cell(1, 0), "JO70PO");
    if (*c.map) {
      EXPECT_EQ(maps_, (std::vector<std::pair<std::string, int>>{{c.map, 2}}));
    } else {
      EXPECT_TRUE(maps_.empty());
    }
  }
}

TEST_F(TownWindowTest, AFailedSaveOnClosingKeepsTheWindowAndTheRows) {
  TForm2* w = open(false);
  w->table().grid().setCell(0, 1, "Kozákov hrad");
  std::filesystem::create_directories(dir_.file("druha.loc/zabrano"));
  answer_ = platform::Answer::Yes;
  EXPECT_FALSE(w->close());
  EXPECT_TRUE(Form2);
  EXPECT_EQ(messages_.back(), "Chyba I/O při ukládání souboru : " + dir_.file("druha.zr4"));
  EXPECT_EQ(*platform::readWholeFile(dir_.file("druha.zr4")),
            "JO70PO;kozákov\r\nJO70GQ;Ještěd (LIBEREC)\r\n");
  EXPECT_EQ(w->table().rowCount(), 2);
  EXPECT_EQ(reindexed_, 1);
  answer_ = platform::Answer::No;
  EXPECT_TRUE(w->close());
}

}  // namespace
}  // namespace vektrano
