#include "core/reference/exception_words.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

const KeyboardOptions kCz{true, false};

class ExceptionWords : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.defaultAnswer;
    });
  }
  void TearDown() override { platform::setMessageHandler(previous_); }

  ListTable table(std::initializer_list<const char*> words) {
    ListTable t(1);
    for (const char* w : words) t.grid().appendRow({w});
    t.grid().removeRow(0);
    return t;
  }
  static std::vector<std::string> column(const ListTable& t) {
    std::vector<std::string> out;
    for (const auto& r : t.grid().rows()) out.push_back(r[0]);
    return out;
  }

  test::TempDir dir_;
  std::vector<std::string> messages_;
  platform::MessageHandler previous_;
};

TEST_F(ExceptionWords, OnlyWordsThatCouldPassForALocatorAreKept) {
  struct Case {
    const char* word;
    KeyboardOptions keyboard;
    bool kept;
  };
  const Case cases[] = {
      {"Sněžka", kCz, true},    // SN26KA
      {"Sněžka", {}, false},    // ě is a digit only on the Czech layout
      {"Maščka", {}, true},     // MA34KA
      {"Praha", kCz, false},
      {"jo70gq", {}, true},
      {"", kCz, false},
  };
  for (const auto& c : cases) EXPECT_EQ(slovoJakoLokator(c.word, c.keyboard), c.kept) << c.word;
  EXPECT_EQ(upravSlovo(" sně  žka "), "Sněžka");
}

TEST_F(ExceptionWords, SavingSortsTidiesAndReportsEachWordLeftOut) {
  ListTable t = table({"sně žka", "Praha", "", "Sněžka"});
  const std::string path = dir_.file("vektrano.dup");
  const UlozenaSlova r = SaveSlovaData(t, path, kCz);
  ASSERT_TRUE(r.zapsano);
  EXPECT_EQ(*platform::readWholeFile(path), "Sněžka\r\nSněžka\r\n");
  EXPECT_EQ(r.slova, (std::vector<std::string>{"Sněžka", "Sněžka"}));
  EXPECT_EQ(column(t), (std::vector<std::string>{"", "Praha", "Sněžka", "Sněžka"}));
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0], zpravaNeulozeneSlovo(""));
  EXPECT_EQ(messages_[1],
            "Řádek : Praha\r\n \r\nSlovo : Praha by program ani náhodou nemohl chápat jako "
            "LOKÁTOR : \r\n \r\nprogram proto slovo Praha. NEBUDE ukládat do seznamu slov, "
            "která se nepřevádějí\r\n \r\nToto je jen informativní zpráva, klikni na OK pro "
            "pokračování");
}

TEST_F(ExceptionWords, AFileIsReadWholeAndWrittenBackByteForByte) {
  const std::string path = dir_.file("vektrano.dup");
  ASSERT_TRUE(platform::writeFileAtomic(path, "Maščka\r\nSněžka\r\n"));
  ListTable t(1);
  ASSERT_TRUE(t.read(path));
  ASSERT_TRUE(SaveSlovaData(t, path, kCz).zapsano);
  EXPECT_EQ(*platform::readWholeFile(path), "Maščka\r\nSněžka\r\n");
  EXPECT_TRUE(messages_.empty());

  // Lone LF ends are accepted; a ";" does not split the word.
  ASSERT_TRUE(platform::writeFileAtomic(path, "Sněžka\nKrk;onoše\n"));
  ASSERT_TRUE(t.read(path));
  EXPECT_EQ(column(t), (std::vector<std::string>{"Sněžka", "Krk;onoše"}));
  ASSERT_TRUE(SaveSlovaData(t, path, kCz).zapsano);
  EXPECT_EQ(*platform::readWholeFile(path), "Sněžka\r\n");
  EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(ExceptionWords, AFailedWriteKeepsTheRowsAndReportsOnlyTheFailure) {
  ListTable t = table({"sně žka", "Praha"});
  const std::string path = dir_.file("missing/vektrano.dup");
  const UlozenaSlova r = SaveSlovaData(t, path, kCz);
  EXPECT_FALSE(r.zapsano);
  EXPECT_FALSE(platform::fileExists(path));
  EXPECT_EQ(column(t), (std::vector<std::string>{"Praha", "sně žka"}));
  EXPECT_EQ(messages_, (std::vector<std::string>{"Chyba I/O při ukládání souboru : " + path}));
}

TEST_F(ExceptionWords, DeleteMovesTheLastWordIntoTheRow) {
  struct Case {
    std::vector<const char*> rows;
    int row;
    std::vector<std::string> after;
  };
  const Case cases[] = {
      {{"A", "B", "C", "D"}, 1, {"A", "C", "D"}},
      {{"A", "B", "C", "D"}, 3, {"A", "B", "C"}},
      {{"D", "C", "B", "A"}, 0, {"A", "B", "C"}},
      {{"A"}, 0, {""}},  // the only row is emptied, not kept as it was
  };
  for (const auto& c : cases) {
    ListTable t(1);
    for (const char* w : c.rows) t.grid().appendRow({w});
    t.grid().removeRow(0);
    const int sel = smazSlovo(t, c.row);
    EXPECT_EQ(column(t), c.after) << c.rows.size() << " " << c.row;
    EXPECT_GE(sel, 0);
    EXPECT_LT(sel, t.rowCount());
  }
}

}  // namespace
}  // namespace vektrano
