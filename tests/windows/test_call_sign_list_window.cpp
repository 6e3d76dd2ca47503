#include "windows/call_sign_list_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "core/search/searches.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"
#include "windows/text_question.h"

namespace vektrano {
namespace {

using platform::fromQString;
using Rows = std::vector<Grid::Row>;

struct QuietWindow : IndexObserver {
  void setProcessPriority(platform::ProcessPriority) override {}
};

const char* const kList =
    "JO70AA;ALFA 7 (LIBEREC)\r\n"
    "JO70AB;BETA7;12.5.2007;\r\n"
    "JO70AC;;Nezjištěno\r\n"
    ";bez lokátoru;1.1.2000\r\n";

class CallSignWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    files_ = DatabaseFiles::beside(dir_.path());
    ASSERT_TRUE(platform::writeFileAtomic(files_.pvk, kList));
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.kind == platform::MessageKind::Question ? answer_ : platform::Answer::Ok;
    });
    previousText_ = setTextQuestionHandler(
        [this](const std::string&, const std::string&, const std::string& text) {
          asked_.push_back(text);
          return typed_ ? std::optional<std::string>(*typed_) : std::nullopt;
        });
  }
  void TearDown() override {
    platform::setMessageHandler(previous_);
    setTextQuestionHandler(previousText_);
    delete Form3.data();
  }
  TForm3* open() {
    TForm3::Hooks hooks;
    hooks.keyboard = [] { return KeyboardOptions{true, false}; };
    hooks.chosenDate = [] { return std::string("24.6.2026"); };
    // Memory mode: the refresh reloads the call-sign table.
    hooks.reindex = [this] {
      ++reindexed_;
      ReIndexaceOptions o;
      o.MenuRam = true;
      indexes_.afterListSaved(IndexKind::Vol, files_, o);
    };
    hooks.openMap = [this](const std::string& loc, int code) { maps_.emplace_back(loc, code); };
    return openForm3(chosenCallSignList(files_, true), dir_.path(), hooks);
  }

  test::TempDir dir_;
  DatabaseFiles files_;
  QuietWindow window_;
  Indexes indexes_{dir_.path(), window_};
  std::vector<std::string> messages_, asked_;
  std::optional<std::string> typed_;
  platform::Answer answer_ = platform::Answer::Yes;
  platform::MessageHandler previous_;
  TextQuestion previousText_;
  int reindexed_ = 0;
  std::vector<std::pair<std::string, int>> maps_;
};

TEST_F(CallSignWindowTest, ReadsAndSavesTheListTidiedAndTheSearchFindsIt) {
  TForm3* w = open();
  w->show();
  EXPECT_EQ(messages_, std::vector<std::string>{"Upravovaná databáze volaček je : " + files_.pvk});
  EXPECT_EQ(w->table().grid().rows(), (Rows{{"JO70AA", "ALFA7 (LIBEREC)", "Nezjištěno"},
                                           {"JO70AB", "BETA7", "12.5.2007"},
                                           {"JO70AC", "", "Nezjištěno"},
                                           {"", "bez lokátoru", "1.1.2000"}}));
  EXPECT_EQ(fromQString(w->windowTitle()), "Správa seznamu volaček : [4]");
  QTest::mouseClick(w->addButton(), Qt::LeftButton);
  EXPECT_EQ(w->table().grid().row(4), (Grid::Row{"", "", "Nezjištěno"}));
  w->table().grid().setRow(4, {"JN79US", "ok1new  petr", "1.5.2026"});
  QTest::mouseClick(w->saveButton(), Qt::LeftButton);
  EXPECT_EQ(*platform::readWholeFile(files_.pvk),
            "JO70AC;?????;Nezjištěno\r\n"
            "JO70AA;Alfa7 (LIBEREC);Nezjištěno\r\n"
            "JO70AB;Beta7;12.5.2007\r\n"
            "JN79US;Ok1new Petr;1.5.2026\r\n");
  EXPECT_EQ(messages_.back(), "Prázdné položky byly vypuštěny ... ( 1x )");
  EXPECT_EQ(reindexed_, 1);
  EXPECT_FALSE(w->saveButton()->isEnabled());

  SearchEnvironment env;
  env.MenuRam = true;
  env.SGvolacky = indexes_.SGvolacky.get();
  std::vector<std::string> out;
  runSearch(makeSearchInput({SearchKind::Volackaa, "OK1NEW", ""}, env),
            [&](std::string_view l) { out.emplace_back(l); });
  EXPECT_EQ(out, (std::vector<std::string>{"**CLS**", "Volačka [OK1NEW]",
                                           "JN79US Ok1new Petr - 1.5.2026", " --- počet : 1 ---"}));
}

TEST_F(CallSignWindowTest, SearchesByLocatorAndByCallSign) {
  TForm3* w = open();
  w->show();
  QTest::keyClicks(w->Edit2(), "beta");
  EXPECT_EQ(fromQString(w->Edit2()->text()), "Beta");
  EXPECT_TRUE(w->Edit1()->isHidden());
  w->Edit2()->clear();
  QTest::keyClicks(w->Edit1(), "ac");
  EXPECT_EQ(fromQString(w->Edit1()->text()), "AC");
  EXPECT_EQ(w->table().grid().cell(w->selectedRow(), 0), "JO70AC");
}

TEST_F(CallSignWindowTest, DeleteByDateWithTheDefaultAnswer) {
  TForm3* w = open();
  typed_ = "1.1.2000";
  QTest::mouseClick(w->dateDeleteButton(), Qt::LeftButton);
  EXPECT_EQ(asked_, std::vector<std::string>{"1.1.2000"});
  EXPECT_EQ(w->table().grid().rows(), (Rows{{"JO70AB", "BETA7", "12.5.2007"}}));
  EXPECT_EQ(fromQString(w->windowTitle()), "Správa seznamu volaček : [1]");
  EXPECT_EQ(*platform::readWholeFile(dir_.file("vektrano.del")),
            "JO70AA;Alfa7 (LIBEREC);1.1.2000\r\nJO70AC;;1.1.2000\r\n;Bez Lokátoru;1.1.2000\r\n");
  EXPECT_EQ(*platform::readWholeFile(files_.pvk), kList);  // only the grid changed

  // Cancel asks and does nothing.
  typed_.reset();
  messages_.clear();
  QTest::mouseClick(w->dateDeleteButton(), Qt::LeftButton);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(w->table().rowCount(), 1);
}

TEST_F(CallSignWindowTest, DoubleClickTogglesTheDateAndOpensTheMap) {
  TForm3* w = open();
  w->show();
  auto dclick = [&](int row, int col) {
    const QPoint at = w->view()->visualRect(w->model()->index(row, col)).center();
    QTest::mouseClick(w->view()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(w->view()->viewport(), Qt::LeftButton, {}, at);
  };
  dclick(1, 2);
  EXPECT_EQ(w->table().grid().cell(1, 2), "1.1.2000");
  dclick(1, 2);
  EXPECT_EQ(w->table().grid().cell(1, 2), "24.6.2026");
  dclick(1, 0);
  ASSERT_EQ(maps_.size(), 1u);
  EXPECT_EQ(maps_[0], std::make_pair(std::string("JO70AB"), 6));
  w->mapLocatorChosen("JO70BB");
  EXPECT_EQ(w->table().grid().cell(1, 0), "JO70BB");
}

}  // namespace
}  // namespace vektrano
