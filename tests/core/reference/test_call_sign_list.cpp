#include "core/reference/call_sign_list.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using Rows = std::vector<Grid::Row>;
const KeyboardOptions kCz{true, false};

struct Recorder {
  Recorder() {
    previous = platform::setMessageHandler([this](const platform::Message& m) {
      texts.push_back(m.text);
      if (m.kind != platform::MessageKind::Question) return platform::Answer::Ok;
      return answer ? platform::Answer::Yes : platform::Answer::No;
    });
  }
  ~Recorder() { platform::setMessageHandler(previous); }
  std::vector<std::string> texts;
  bool answer = true;
  platform::MessageHandler previous;
};

ListTable listOf(const std::string& content) {
  ListTable t(3);
  t.setKeys(callSignKeys({}));
  Rows rows;
  forEachFileLine(content, [&](std::string_view line) {
    Grid::Row r(3);
    callSignLineFields(line, r, true);
    rows.push_back(r);
  });
  t.grid().rows() = rows;
  return t;
}

TEST(CallSignList, FieldRule) {
  struct Case {
    std::string line;
    Grid::Row row;
  };
  for (const Case& c : std::vector<Case>{
           {"JO70AA;ALFA 7 (LIBEREC)", {"JO70AA", "ALFA7 (LIBEREC)", "Nezjištěno"}},
           {"JO70AA;OK1ABC;12.5.2007", {"JO70AA", "OK1ABC", "12.5.2007"}},
           // A trailing ";" ends the record; it is not read again.
           {"JO70AA;ALFA7;12.5.2007;", {"JO70AA", "ALFA7", "12.5.2007"}},
           {"JO70AA;;", {"JO70AA", "", "Nezjištěno"}},
           // More than three fields: read again from the third.
           {"a;b;c;d;e", {"c", "d", "e"}},
           {"a;b;c;d", {"c", "d", "Nezjištěno"}},
           {"bez středníku", {"", "", ""}},
       }) {
    Grid::Row row(3);
    callSignLineFields(c.line, row, true);
    EXPECT_EQ(row, c.row) << c.line;
  }
  Grid::Row raw(3);
  callSignLineFields("JO70AA;ALFA 7", raw, false);
  EXPECT_EQ(raw[1], "ALFA 7");
  EXPECT_EQ(CisliceVeVolacce("A 1 B 1 C 2"), "A1 B 1 C2");
  EXPECT_EQ(PoZavorku("ALFA7 (PRAHA)"), "ALFA7 ");
  EXPECT_EQ(PoZavorku("ALFA7"), "ALFA7");
}

TEST(CallSignList, DuplicatesIgnoreTheDistrictAndFamiliarNames) {
  TabulkaSynonym syn;
  syn.add("Josef", "Pepa");
  auto dup = [&](const std::string& a, const std::string& b) {
    return callSignDuplicates({"", a, ""}, {"", b, ""}, &syn);
  };
  EXPECT_TRUE(dup("ALFA7", "ALFA7 (PRAHA)"));
  EXPECT_TRUE(dup("Ok1abc Pepa", "OK1ABC Josef (KOLÍN)"));
  EXPECT_FALSE(dup("ALFA7", "BETA3"));
  EXPECT_FALSE(dup("", "BETA3"));
  EXPECT_TRUE(dup("", ""));
}

TEST(CallSignList, SaveTidiesDotsAndDropsRowsWithoutALocator) {
  test::TempDir dir;
  const std::string path = dir.file("vektrano.pvk");
  Recorder rec;
  ListTable t = listOf(
      "JO70AA;ALFA 7 (LIBEREC)\r\n"
      "JO70AA;ALFA7;12.5.2007;\r\n"
      "JO70GQ;;1.1.2000\r\n"
      ";bez lokátoru;1.1.2000\r\n"
      "JN79US;jo70aa  hora;Nezjištěno\r\n");
  const CallSignSave s = SaveVolackyData(t, path, kCz);
  ASSERT_TRUE(s.written);
  EXPECT_EQ(s.dropped, 1);
  EXPECT_EQ(*platform::readWholeFile(path),
            "JO70GQ;?????;1.1.2000\r\n"
            "JO70AA;Alfa7;12.5.2007\r\n"
            "JO70AA;Alfa7 (LIBEREC);Nezjištěno\r\n"
            "JN79US;Jo70aa. Hora;Nezjištěno\r\n");
  ASSERT_EQ(s.words.size(), 1u);
  EXPECT_EQ(rec.texts, (std::vector<std::string>{locatorWordMessage(s.words[0]),
                                                 "Prázdné položky byly vypuštěny ... ( 1x )"}));
  EXPECT_EQ(t.rowCount(), 5);  // the row without a locator stays until reloaded

  // Once more: one dot is enough, and no message for it.
  rec.texts.clear();
  ListTable again = listOf(*platform::readWholeFile(path));
  const std::string first = *platform::readWholeFile(path);
  ASSERT_TRUE(SaveVolackyData(again, path, kCz).written);
  EXPECT_EQ(*platform::readWholeFile(path), first);
  EXPECT_TRUE(rec.texts.empty());
}

struct DateDelete : ::testing::Test {
  ListTable t = listOf(
      "JO70AA;OK1A;1.1.1999\r\n"
      "JO70AB;OK1B;Nezjištěno\r\n"
      "JO70AC;OK1C;12.5.2007\r\n"
      "JO70AD;OK1D;1.1.2000\r\n");
  test::TempDir dir;
  std::string listing = dir.file("vektrano.del");
  Recorder rec;
};

TEST_F(DateDelete, TheDefaultAnswerRemovesEverythingUpToTheYear2000) {
  EXPECT_EQ(smazVolackyDoData(t, kDlouhoZpatky, listing), 3);
  EXPECT_EQ(t.grid().rows(), (Rows{{"JO70AC", "OK1C", "12.5.2007"}}));
  EXPECT_EQ(*platform::readWholeFile(listing),
            "JO70AA;Ok1a;1.1.1999\r\nJO70AB;Ok1b;1.1.2000\r\nJO70AD;Ok1d;1.1.2000\r\n");
  ASSERT_EQ(rec.texts.size(), 3u);
  EXPECT_EQ(rec.texts[0], "Řetězec : [Nezjištěno] bude nahrazen datumem 1.1.2000");
  EXPECT_EQ(rec.texts[1],
            "Seznam volaček určených ke zrušení je  uložen v souboru : \r\n\r\n" + listing +
                "\r\n\r\nCelkem bude zrušeno : [3 ] volaček , mám zrušení opravdu provést ?");
  EXPECT_EQ(rec.texts[2],
            "Upozornění : \r\n\r\nPokud nyní seznam volaček neuložíte, nebudou provedené změny "
            "zaznamenány !!!");
}

TEST_F(DateDelete, NoKeepsTheRowsButTheReplacedDates) {
  rec.answer = false;
  EXPECT_EQ(smazVolackyDoData(t, "1.1.2000", listing), 0);
  EXPECT_EQ(t.rowCount(), 4);
  EXPECT_EQ(t.grid().cell(1, 2), "1.1.2000");
  EXPECT_TRUE(platform::fileExists(listing));
}

TEST_F(DateDelete, AnAnswerThatIsNoDateChangesNothing) {
  const Rows before = t.grid().rows();
  EXPECT_EQ(smazVolackyDoData(t, "včera", listing), -1);
  EXPECT_EQ(rec.texts, (std::vector<std::string>{"To co jsi vložil není datum : [včera ]"}));
  EXPECT_EQ(t.grid().rows(), before);
  EXPECT_FALSE(platform::fileExists(listing));
}

TEST_F(DateDelete, EveryRowGoneLeavesOneEmptyRow) {
  EXPECT_EQ(smazVolackyDoData(t, "31.12.2030", listing), 4);
  EXPECT_EQ(t.grid().rows(), (Rows{{"", "", ""}}));
}

}  // namespace
}  // namespace vektrano
