#include "windows/familiar_names_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <filesystem>
#include <functional>
#include <utility>

#include "core/reference/name_days.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using platform::fromQString;

const char* const kNameDays =
    "2809;Václav\r\n0401;Karel\r\n2805;Emil a Vilém\r\n2906;Petr\r\n0811;Ema\r\n";
const std::string kLeftMissing =
    "Vysvícený řádek v levém sloupci neobsahuje jméno ze seznamu Svátků, ale jiná zde být nesmí "
    "!!!";
const std::string kRightInCalendar =
    "Vysvícený řádek v pravém sloupci obsahuje jméno ze seznamu Svátků, sem mají přijít jen "
    "jména Zdomácnělá !!!";
const std::string kRepeated = "Vysvícené řádky - Ve sloupci se toto jméno opakuje !!!";
const std::string kCheckFailed =
    "Při kontrole byly nalezeny chyby !!! \r\nPo jejich odstranění proveď kontrolu kliknutím na "
    "nejdelší tlačítko ...";
const std::string kSaveRefused = "CHYBA !!! Proveď kontrolu kliknutím na nejdelší tlačítko ...";

class Form16Test : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    path_ = familiarNamesPath(dir_.path());
    ASSERT_TRUE(platform::writeFileAtomic(nameDaysPath(dir_.path()), kNameDays));
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.kind == platform::MessageKind::Question ? answer_ : platform::Answer::Ok;
    });
  }
  void TearDown() override {
    platform::setMessageHandler(previous_);
    delete Form16.data();
  }
  // content: the familiar-name file, none when empty.
  TForm16* open(const std::string& content) {
    if (!content.empty()) {
      EXPECT_TRUE(platform::writeFileAtomic(path_, content));
    }
    TForm16* w = openForm16(
        dir_.path(), [this] { calls_.push_back("reindex"); },
        [this](const TabulkaSynonym& t) {
          calls_.push_back("synonyms");
          table_ = t;
        });
    w->setBlinkWait([this, w](int ms) {
      EXPECT_EQ(ms, 100);
      const QModelIndex i = w->view()->currentIndex();
      blinks_.emplace_back(i.row(), i.column());
      lockedWhileBlinking_ = lockedWhileBlinking_ && !w->addButton()->isEnabled() &&
                             !w->checkButton()->isEnabled() && !w->close();
    });
    return w;
  }
  std::vector<std::pair<int, int>> blinksOf(std::pair<int, int> a, std::pair<int, int> b) {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < 5; ++i) out.insert(out.end(), {a, b});
    return out;
  }

  test::TempDir dir_;
  std::string path_;
  std::vector<std::string> messages_, calls_;
  std::vector<std::pair<int, int>> blinks_;
  bool lockedWhileBlinking_ = true;
  TabulkaSynonym table_;
  platform::Answer answer_ = platform::Answer::No;
  platform::MessageHandler previous_;
};

TEST_F(Form16Test, ASoundListIsSavedAndRefillsTheTableBeforeTheReindex) {
  TForm16* w = open("Václav;Vašek\r\nKarel;Karlík\r\nPetr;péťa\nVáclav;Venca\r\n");
  EXPECT_EQ(fromQString(w->windowTitle()),
            "Správa seznamu Zdomácnělých jmen : [4] Vlevo jména z Kalendáře, vpravo Zdomácnělá");
  EXPECT_EQ(w->table().grid().row(0), (Grid::Row{"Karel", "Karlík"}));  // sorted on opening
  EXPECT_EQ(w->table().grid().row(1), (Grid::Row{"Petr", "péťa"}));
  EXPECT_TRUE(w->duplicatesButton()->isHidden());
  // On top of the main window, at least 280 wide and 450 high.
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(w->minimumSize(), QSize(280, 450));

  w->checkButton()->click();
  EXPECT_EQ(messages_, std::vector<std::string>{"Kontrola proběhla úspěšně ... "});
  EXPECT_TRUE(blinks_.empty());

  ASSERT_TRUE(w->saveList());
  EXPECT_EQ(*platform::readWholeFile(path_),
            "Karel;Karlík\r\nPetr;Péťa\r\nVáclav;Vašek\r\nVáclav;Venca\r\n");
  EXPECT_EQ(calls_, (std::vector<std::string>{"synonyms", "reindex"}));
  ASSERT_EQ(table_.PocetSynonym(), 4);
  EXPECT_EQ(table_.pary()[1].kanonicke, "Petr");
  EXPECT_EQ(table_.pary()[1].domacke, "PETA");
  EXPECT_EQ(Synonymuj("Venca", table_), "VACLAV");
  EXPECT_EQ(messages_.size(), 1u);
  QCoreApplication::processEvents();
  EXPECT_FALSE(w->saveButton()->isEnabled());
}

TEST_F(Form16Test, EachFaultIsShownAndBlinksAndTheSaveIsRefused) {
  const std::string content = "Karel;Karlík\r\nHonza;Jenda\r\nPetr;Ema\r\nVáclav;karlík\r\n";
  TForm16* w = open(content);
  // Sorted: Honza/Jenda, Karel/Karlík, Petr/Ema, Václav/karlík.
  w->checkButton()->click();
  EXPECT_EQ(messages_,
            (std::vector<std::string>{kLeftMissing, kRightInCalendar, kRepeated, kCheckFailed}));
  auto expected = blinksOf({0, 1}, {0, 0});
  for (auto part : {blinksOf({2, 0}, {2, 1}), blinksOf({3, 1}, {1, 1})})
    expected.insert(expected.end(), part.begin(), part.end());
  EXPECT_EQ(blinks_, expected);
  EXPECT_TRUE(lockedWhileBlinking_);
  EXPECT_TRUE(w->addButton()->isEnabled());
  EXPECT_TRUE(w->checkButton()->isEnabled());

  messages_.clear();
  EXPECT_FALSE(w->saveList());
  EXPECT_EQ(messages_,
            (std::vector<std::string>{kLeftMissing, kRightInCalendar, kRepeated, kSaveRefused}));
  EXPECT_EQ(*platform::readWholeFile(path_), content);
  EXPECT_TRUE(calls_.empty());

  // Yes cannot save a faulty list: the window stays with its rows; No closes.
  answer_ = platform::Answer::Yes;
  EXPECT_FALSE(w->close());
  answer_ = platform::Answer::No;
  EXPECT_TRUE(w->close());
  EXPECT_EQ(*platform::readWholeFile(path_), content);
  EXPECT_TRUE(calls_.empty());
}

TEST_F(Form16Test, AnEmptyListPassesAndSavesNoPairs) {
  table_.add("Jan", "Honza");
  TForm16* w = open("\r\n");
  ASSERT_TRUE(w->saveList());
  EXPECT_EQ(*platform::readWholeFile(path_), "");
  EXPECT_EQ(table_.PocetSynonym(), 0);
  EXPECT_EQ(calls_, (std::vector<std::string>{"synonyms", "reindex"}));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(Form16Test, AListLongerThanTheTableIsNotSaved) {
  std::string content;
  for (int i = 0; i <= TabulkaSynonym::kMax; ++i) content += "Václav;Venca" + std::to_string(i) + "\r\n";
  TForm16* w = open(content);
  EXPECT_FALSE(w->saveList());
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("200"), std::string::npos);
  EXPECT_EQ(*platform::readWholeFile(path_), content);
  EXPECT_TRUE(calls_.empty());
}

// No name days to judge by (none ship): the check says so, looks only for
// repeated familiar names, and the save goes on. A list that exists but
// cannot be read is reported as well.
TEST_F(Form16Test, WithoutNameDaysTheCheckSaysSoAndTheSaveGoesOn) {
  const std::string kNoNameDays =
      "Seznam svátků neobsahuje žádná jména, jména vlevo proto nelze porovnat s kalendářem.\r\n"
      "\r\nKontrola opakování zdomácnělých jmen proběhla úspěšně ... ";
  const std::string readError = "Chyba I/O při čtení souboru : " + nameDaysPath(dir_.path());
  struct Case {
    const char* what;
    std::function<void(const std::string& path)> nameDays;
    std::vector<std::string> check;  // the messages of the check button
  } cases[] = {
      {"missing", [](const std::string& p) { std::filesystem::remove(p); }, {kNoNameDays}},
      {"empty", [](const std::string& p) { platform::writeFileAtomic(p, ""); }, {kNoNameDays}},
      {"blank lines", [](const std::string& p) { platform::writeFileAtomic(p, "0101;\r\n\r\n"); },
       {kNoNameDays}},
      {"unreadable",
       [](const std::string& p) {
         std::filesystem::remove(p);
         std::filesystem::create_directories(p);
       },
       {readError, kNoNameDays}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(nameDaysPath(dir_.path()));
    c.nameDays(nameDaysPath(dir_.path()));
    TForm16* w = open("Václav;Vašek\r\nKarel;Karlík\r\n");
    messages_.clear();
    calls_.clear();
    w->checkButton()->click();
    EXPECT_EQ(messages_, c.check);
    EXPECT_TRUE(blinks_.empty());
    ASSERT_TRUE(w->saveList());
    EXPECT_EQ(*platform::readWholeFile(path_), "Karel;Karlík\r\nVáclav;Vašek\r\n");
    EXPECT_EQ(calls_, (std::vector<std::string>{"synonyms", "reindex"}));
    EXPECT_EQ(Synonymuj("Vašek", table_), "VACLAV");

    // A repeated familiar name is still an error.
    w->table().grid().setRow(1, {"Václav", "Karlík"});
    messages_.clear();
    EXPECT_FALSE(w->saveList());
    EXPECT_EQ(messages_.back(), kSaveRefused);
    delete Form16.data();
    blinks_.clear();
  }
}

TEST_F(Form16Test, FileErrors) {
  // A familiar-name list that can neither be read nor written: the table
  // stays as the file is, the indexes are checked all the same.
  std::filesystem::remove(path_);
  std::filesystem::create_directories(path_);
  messages_.clear();
  TForm16* w = open({});
  EXPECT_EQ(messages_, std::vector<std::string>{"Chyba I/O při čtení souboru : " + path_});
  w->table().grid().setRow(0, {"Václav", "Vašek"});
  EXPECT_FALSE(w->saveList());
  EXPECT_EQ(messages_.back(), "Chyba I/O při ukládání souboru : " + path_);
  EXPECT_EQ(calls_, std::vector<std::string>{"reindex"});
  EXPECT_EQ(w->table().grid().row(0), (Grid::Row{"Václav", "Vašek"}));
}

}  // namespace
}  // namespace vektrano
