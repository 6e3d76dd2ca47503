#include "core/reference/town_database.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/base/geometry.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using Rows = std::vector<Grid::Row>;
const KeyboardOptions kCz{true, false};

class Messages {
 public:
  Messages() {
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      texts.push_back(m.text);
      return platform::Answer::Ok;
    });
  }
  ~Messages() { platform::setMessageHandler(previous_); }
  std::vector<std::string> texts;

 private:
  platform::MessageHandler previous_;
};

TEST(TownDatabase, LinesReadIntoLocatorAndDescription) {
  struct Case {
    std::string line;
    Grid::Row row;
  };
  for (const Case& c : std::vector<Case>{
           {"JO70PO;Kozákov", {"JO70PO", "Kozákov"}},
           {"JO70GQ;Ještěd (LIBEREC)", {"JO70GQ", "Ještěd (LIBEREC)"}},
           {"A;B;C", {"B", "C"}},  // read again while a ";" is left
           {"JO70AA;", {"JO70AA", ""}},
           {"bez středníku", {"", ""}},
           {"", {"", ""}},
       }) {
    Grid::Row row(2);
    townLineFields(c.line, row);
    EXPECT_EQ(row, c.row) << c.line;
  }
  // One line rule for all readers: CR LF or LF alone, a last line without
  // its end, no row after the final line end.
  EXPECT_EQ(townRows("JO70PO;Kozákov\r\nJN79US;Husinec\nKN08PR;Košice"),
            (Rows{{"JO70PO", "Kozákov"}, {"JN79US", "Husinec"}, {"KN08PR", "Košice"}}));
  EXPECT_EQ(townRows("JO70PO;Kozákov\r\n"), (Rows{{"JO70PO", "Kozákov"}}));
}

TEST(TownDatabase, FileChoiceAndBackupNames) {
  DatabaseFiles f = DatabaseFiles::beside("/p");
  EXPECT_EQ(chosenTownDatabase(f, true), "/p/vektrano.zr4");
  EXPECT_EQ(chosenTownDatabase(f, false), "/p/vektrano.zr4");  // no second one
  f.LokatoryAlter = "none";
  EXPECT_EQ(chosenTownDatabase(f, false), "/p/vektrano.zr4");
  f.LokatoryAlter = "/home/moje.v1/hory.zr4";
  EXPECT_EQ(chosenTownDatabase(f, false), "/home/moje.v1/hory.zr4");
  EXPECT_EQ(chosenTownDatabase(f, true), "/p/vektrano.zr4");
  EXPECT_EQ(townDatabaseBackupPath("/p/vektrano.zr4"), "/p/vektrano.loc");
  EXPECT_EQ(townDatabaseBackupPath("/home/moje.v1/hory.zr4"), "/home/moje.v1/hory.loc");
  EXPECT_EQ(townDatabaseBackupPath("/home/moje.v1/hory"), "/home/moje.v1/hory.loc");
}

TEST(TownDatabase, DescriptionWordsThatReadAsALocatorGetOneDot) {
  std::vector<LocatorLikeWord> found;
  // Š and Ž are digits on the digit row; ř only with the Czech keyboard.
  EXPECT_EQ(tidyTownDescription("  mníšek   pod brdy ", kCz, &found), "Mníšek. Pod Brdy");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].word, "Mníšek");
  EXPECT_EQ(found[0].asLocator, "MN93EK");
  EXPECT_EQ(found[0].text, "  mníšek   pod brdy ");
  found.clear();
  EXPECT_EQ(tidyTownDescription("Mníšek. Pod Brdy", kCz, &found), "Mníšek. Pod Brdy");
  EXPECT_TRUE(found.empty());
  EXPECT_EQ(tidyTownDescription("ho59ce", kCz, &found), "Ho59ce.");
  EXPECT_EQ(tidyTownDescription("ho59ce", KeyboardOptions{false, true}, nullptr), "Ho59ce.");
  EXPECT_EQ(tidyTownDescription("hoříce", KeyboardOptions{false, true}, nullptr), "Hoříce");
  EXPECT_EQ(tidyTownDescription("", kCz, nullptr), "");
  EXPECT_EQ(locatorWordMessage({"ho59ce", "Ho59ce", "HO59CE"}),
            "Řádek : ho59ce\r\n \r\nSlovo : Ho59ce by program mohl chybně chápat jako LOKÁTOR : "
            "HO59CE\r\n(Vzpomeň - písmena s háčky a čárky si program sám převádí na číslice)\r\n"
            " \r\nprogram proto za slovo Ho59ce. přidá tečku a tím k chybnému převodu již "
            "nedojde\r\n(jako lokátor program vezme pouze šestimístný výraz). \r\n \r\n"
            "Toto je jen informativní zpráva, klikni na OK pro pokračování");
}

struct Saved : ::testing::Test {
  void SetUp() override { path = dir.file("druha.zr4"); }
  ListTable load(const std::string& content) {
    EXPECT_TRUE(platform::writeFileAtomic(path, content));
    ListTable t(2);
    t.setKeys({ListTable::cellKey(0), ListTable::cellKey(1)});
    EXPECT_TRUE(t.read(path, townLineFields));
    return t;
  }
  test::TempDir dir;
  std::string path;
  Messages messages;
};

TEST_F(Saved, SortedTidiedAndWrittenWithTheOldFileAsItsOwnBackup) {
  const std::string before =
      "JO70PO;kozákov  (semily)\r\n"
      "JN79BU;mníšek pod brdy\n"
      "bez středníku\r\n"
      "JO70GQ;\r\n"
      "A;B;Ještěd";
  ListTable t = load(before);
  const TownSave s = savedata(t, path, kCz);
  ASSERT_TRUE(s.written);
  ASSERT_EQ(s.words.size(), 1u);
  EXPECT_EQ(messages.texts, (std::vector<std::string>{locatorWordMessage(s.words[0])}));
  // Sorted on the descriptions as they stood, bytes unsigned (lower case
  // after upper), then tidied; the empty row is written as ";".
  EXPECT_EQ(*platform::readWholeFile(path),
            ";\r\n"
            "JO70GQ;\r\n"
            "B;Ještěd\r\n"
            "JO70PO;Kozákov (SEMILY)\r\n"
            "JN79BU;Mníšek. Pod Brdy\r\n");
  // The second database keeps its own backup, never the main one's name.
  EXPECT_EQ(*platform::readWholeFile(dir.file("druha.loc")), before);
  EXPECT_FALSE(platform::fileExists(dir.file("vektrano.loc")));

  // Saving again: no second dot, no message, the backup is the first save.
  const std::string first = *platform::readWholeFile(path);
  messages.texts.clear();
  ListTable again = load(first);
  EXPECT_TRUE(savedata(again, path, kCz).written);
  EXPECT_TRUE(messages.texts.empty());
  EXPECT_EQ(*platform::readWholeFile(path), first);
  EXPECT_EQ(*platform::readWholeFile(dir.file("druha.loc")), first);
}

TEST_F(Saved, TheSemicolonTypedIntoACellIsWrittenAsAComma) {
  ListTable t = load("JO70PO;Kozákov\r\n");
  t.grid().setCell(0, 0, "JO70;PO");
  t.grid().setCell(0, 1, "Kozákov; rozhledna");
  ASSERT_TRUE(savedata(t, path, kCz).written);
  EXPECT_EQ(*platform::readWholeFile(path), "JO70,PO;Kozákov, Rozhledna\r\n");
  EXPECT_EQ(townRows(*platform::readWholeFile(path)),
            (Rows{{"JO70,PO", "Kozákov, Rozhledna"}}));
}

TEST_F(Saved, AFailedWriteKeepsTheOldFileAndReportsIt) {
  const std::string before = "JO70PO;Kozákov\r\n";
  ListTable t = load(before);
  t.grid().setCell(0, 1, "Ještěd");
  // The backup name is taken by a folder: nothing can be kept, so nothing
  // is replaced.
  std::filesystem::create_directories(dir.file("druha.loc/x"));
  EXPECT_FALSE(savedata(t, path, kCz).written);
  EXPECT_EQ(messages.texts.back(), "Chyba I/O při ukládání souboru : " + path);
  EXPECT_EQ(*platform::readWholeFile(path), before);
  EXPECT_EQ(t.grid().cell(0, 1), "Ještěd");
}

// The database that ships, read through the program's own reader.
TEST(ShippedTownDatabase, EveryLineIsAPlaceWithAValidLocator) {
  const std::string file = std::string(VEKTRANO_SOURCE_DIR) + "/data/vektrano.zr4";
  const std::optional<std::string> content = platform::readWholeFile(file);
  ASSERT_TRUE(content);
  ASSERT_FALSE(content->empty());
  EXPECT_EQ(content->substr(content->size() - 2), "\r\n");
  const Rows rows = townRows(*content);
  EXPECT_GT(rows.size(), 2500u);
  ListTable table(2);
  table.grid().rows() = rows;
  // Byte-exact as the editor writes it, already in the editor's order and
  // with no word left that the entry line could take for a locator.
  EXPECT_EQ(table.fileContent(), *content);
  for (size_t i = 0; i < rows.size(); ++i) {
    const Grid::Row& r = rows[i];
    EXPECT_TRUE(testlok(r[0])) << i << ": " << r[0];
    EXPECT_FALSE(r[1].empty()) << i;
    EXPECT_EQ(r[1].find(';'), std::string::npos) << i;
    EXPECT_EQ(dotLocatorWords(r[1], kCz, {}, nullptr), r[1]) << r[1];
    EXPECT_EQ(dotLocatorWords(r[1], KeyboardOptions{false, true}, {}, nullptr), r[1]) << r[1];
    if (i > 0) {
      EXPECT_LE(compareListText(rows[i - 1][1], r[1]), 0) << r[1];
      EXPECT_NE(rows[i - 1], r) << r[1];
    }
  }
}

// The editor opened on the shipped database and saved without an edit, with
// either keyboard, changes no byte of it and has no word to report.
TEST_F(Saved, TheShippedDatabaseSavedWithoutAnEditStaysByteForByte) {
  const std::optional<std::string> shipped =
      platform::readWholeFile(std::string(VEKTRANO_SOURCE_DIR) + "/data/vektrano.zr4");
  ASSERT_TRUE(shipped);
  for (const KeyboardOptions& keyboard : {kCz, KeyboardOptions{false, true}}) {
    ListTable t = load(*shipped);
    ASSERT_TRUE(savedata(t, path, keyboard).written);
    const std::string saved = *platform::readWholeFile(path);
    EXPECT_TRUE(saved == *shipped) << "first changed line: " << [&] {
      const Rows a = townRows(*shipped), b = townRows(saved);
      for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i]) return a[i][0] + ";" + a[i][1] + " -> " + b[i][0] + ";" + b[i][1];
      return std::string("(lengths differ)");
    }();
    EXPECT_TRUE(messages.texts.empty()) << messages.texts.size();
  }
}

}  // namespace
}  // namespace vektrano
