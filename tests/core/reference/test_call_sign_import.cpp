#include "core/reference/call_sign_import.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/reference/call_sign_list.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using Rows = std::vector<Grid::Row>;

const char* const kTowns =
    "JO70GQ;Ještěd (LIBEREC)\r\n"
    "JO70PO;Kozákov (SEMILY)\r\n"
    "JO60LJ;Klínovec\r\n";
const char* const kList =
    "JO70FR;OK1XYZ Jana (LIBEREC);1.1.2000\r\n"
    "JN79US;OK1ABC (PRACHATICE);12.5.2007\r\n";
// Five contacts: two new stations with a town of their locator, one without,
// one the list knows, one the list knows under another locator.
const char* const kLog =
    "JO70GQ;Expedice;;;;;;;;\r\n"
    "JO70GQ;1;10:00;59;OK1NEW .azimut_90;59;JO70GQ;0;;\r\n"
    "JO70GQ;2;10:05;59;OK2KOZ;59;JO70PO;30;;\r\n"
    "JO70GQ;3;10:10;59;OK3NIC;59;JN99AA;300;;\r\n"
    "JO70GQ;4;10:15;59;ok1xyz;59;JO70FR;5;;\r\n"
    "JO70GQ;5;10:20;59;OK1ABC;59;JO60LJ;90;;\r\n";

struct Import : ::testing::Test {
  void SetUp() override {
    previous = platform::setMessageHandler([this](const platform::Message& m) {
      texts.push_back(m.text);
      if (m.kind != platform::MessageKind::Question) return platform::Answer::Ok;
      return answer ? platform::Answer::Yes : platform::Answer::No;
    });
    ASSERT_TRUE(platform::writeFileAtomic(dir.file("vektrano.zr4"), kTowns));
    ASSERT_TRUE(platform::writeFileAtomic(dir.file("vektrano.pvk"), kList));
    ASSERT_TRUE(platform::writeFileAtomic(log, kLog));
    im.readLists();
  }
  void TearDown() override { platform::setMessageHandler(previous); }
  // Moves every import row the way the operator does: pick it, take the
  // town the lookup found, INS.
  void moveAll() {
    while (!im.importRows().grid().cell(0, 0).empty()) {
      const auto found = im.dohledacka(0);
      ASSERT_GE(im.zS1doS2PridejVolacku(0, found.townRow, -1, false, "24.6.2026"), 0);
    }
  }

  test::TempDir dir;
  std::string log = dir.file("Expedice.qvl");
  CallSignImport im{dir.file("vektrano.pvk"), dir.file("vektrano.zr4")};
  std::vector<std::string> texts;
  bool answer = true;
  platform::MessageHandler previous;
};

TEST_F(Import, ALogsStationsGoIntoTheListWithTheirDistricts) {
  ASSERT_TRUE(im.nactidata(log, "24.6.2026"));
  EXPECT_EQ(im.mode(), CallSignImport::Mode::Log);
  // The known station is not offered; its date is the chosen one now.
  EXPECT_EQ(im.importRows().grid().rows(), (Rows{{"JO60LJ", "OK1ABC *"},
                                                {"JO70GQ", "OK1NEW"},
                                                {"JO70PO", "OK2KOZ"},
                                                {"JN99AA", "OK3NIC"}}));
  EXPECT_EQ(im.datesUpdated(), 1);
  EXPECT_EQ(texts.back(),
            "Doplnil jsem datum spojení 24.6.2026 k \r\n\r\n1 volačkám, které již v databázi "
            "volaček máš");

  const auto lookup = im.dohledacka(1);
  EXPECT_EQ(lookup.townRow, 1);
  EXPECT_EQ(im.towns().grid().cell(lookup.townRow, 1), "Ještěd (LIBEREC)");
  EXPECT_EQ(lookup.common, 3);  // "OK1" of OK1ABC
  moveAll();

  ASSERT_TRUE(im.SaveVolacky());
  // Sorted on the call signs as they stand (the rows read keep their case).
  EXPECT_EQ(*platform::readWholeFile(dir.file("vektrano.pvk")),
            "JN79US;Ok1abc (PRACHATICE);12.5.2007\r\n"
            "JO70FR;Ok1xyz Jana (LIBEREC);24.6.2026\r\n"
            "JO60LJ;Ok1abc (_OKRES_?_);24.6.2026\r\n"
            "JO70GQ;Ok1new (LIBEREC);24.6.2026\r\n"
            "JO70PO;Ok2koz (SEMILY);24.6.2026\r\n"
            "JN99AA;Ok3nic (_OKRES_?_);24.6.2026\r\n");
  // Every move was recorded at once, as the row stood.
  EXPECT_EQ(*platform::readWholeFile(dir.file("Expedice.del")),
            "JO60LJ;OK1ABC *\r\nJO70GQ;OK1NEW\r\nJO70PO;OK2KOZ\r\nJN99AA;OK3NIC\r\n");
}

TEST_F(Import, ASecondRunSkipsTheDoneRowsOrStartsAfresh) {
  ASSERT_TRUE(im.nactidata(log, "24.6.2026"));
  im.dropImportRow(1);  // OK1NEW: DEL
  const auto found = im.dohledacka(0);
  ASSERT_GE(im.zS1doS2PridejVolacku(0, found.townRow, -1, false, "24.6.2026"), 0);  // OK1ABC *

  // A fresh window on the lists as saved: the done rows are left out.
  CallSignImport again(dir.file("vektrano.pvk"), dir.file("vektrano.zr4"));
  again.readLists();
  texts.clear();
  ASSERT_TRUE(again.nactidata(log, "24.6.2026"));
  EXPECT_EQ(texts.front(), "Byl nalezen pomocný soubor obsahující již zpracované volačky.\r\n" +
                               dir.file("Expedice.del") +
                               "\r\nOdstranit z výběru již zpracované volačky ? ");
  EXPECT_EQ(again.importRows().grid().rows(),
            (Rows{{"JO70PO", "OK2KOZ"}, {"JN99AA", "OK3NIC"}}));

  // No, then Yes to deleting it: everything is offered again.
  answer = false;
  CallSignImport fresh(dir.file("vektrano.pvk"), dir.file("vektrano.zr4"));
  fresh.readLists();
  platform::setMessageHandler([this](const platform::Message& m) {
    texts.push_back(m.text);
    return m.text.rfind("Mám tento", 0) == 0 ? platform::Answer::Yes : platform::Answer::No;
  });
  ASSERT_TRUE(fresh.nactidata(log, "24.6.2026"));
  EXPECT_FALSE(platform::fileExists(dir.file("Expedice.del")));
  EXPECT_EQ(fresh.importRows().rowCount(), 4);
}

TEST_F(Import, ARowWithAStrayCarriageReturnIsDoneToo) {
  // The record turns the CR into a blank; the next run still knows the row.
  ASSERT_TRUE(platform::writeFileAtomic(log, "JO70GQ;Expedice;;;;;;;;\r\n"
                                             "JO70GQ;1;10:00;59;OK1\rCR;59;JO70GQ;0;;\r\n"
                                             "JO70GQ;2;10:05;59;OK2KOZ;59;JO70PO;30;;\r\n"));
  ASSERT_TRUE(im.nactidata(log, "24.6.2026"));
  ASSERT_EQ(im.importRows().grid().cell(0, 1), "OK1\rCR");
  im.dropImportRow(0);
  CallSignImport again(dir.file("vektrano.pvk"), dir.file("vektrano.zr4"));
  again.readLists();
  ASSERT_TRUE(again.nactidata(log, "24.6.2026"));
  EXPECT_EQ(again.importRows().grid().rows(), (Rows{{"JO70PO", "OK2KOZ"}}));
}

// A list row whose call sign ends in " *" once its record is written (a
// literal " *", or a bare CR before a "*" that the record turns into a
// blank), read while the list knows it under another locator: marked, then
// dropped. The next run reads it unmarked and must still know it as done.
TEST_F(Import, AMarkedRowWhoseCallSignEndsInAStarIsDoneToo) {
  struct Case {
    const char* name;
    const char* callSign;
  } const cases[] = {
      {"literal star", "Kamenice *"},
      {"bare CR before the star", "Kamenice\r*"},
  };
  const std::string other = dir.file("druha.pvk");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(platform::fsPath(dir.file("druha.del")));
    const std::string call = c.callSign;
    ASSERT_TRUE(platform::writeFileAtomic(dir.file("vektrano.pvk"),
                                          "JO70HH;" + call + ";1.1.2000\r\n"));
    ASSERT_TRUE(platform::writeFileAtomic(other, "JO70GQ;" + call + ";2.2.2002\r\n"
                                                 "JO70PO;OK2KOZ;3.3.2003\r\n"));
    CallSignImport first(dir.file("vektrano.pvk"), dir.file("vektrano.zr4"));
    first.readLists();
    ASSERT_TRUE(first.nactidata(other, "24.6.2026"));
    ASSERT_EQ(first.importRows().grid().cell(0, 1), call + " *");
    first.dropImportRow(0);

    CallSignImport again(dir.file("vektrano.pvk"), dir.file("vektrano.zr4"));
    again.readLists();
    ASSERT_TRUE(again.nactidata(other, "24.6.2026"));
    EXPECT_EQ(again.importRows().grid().rows(), (Rows{{"JO70PO", "OK2KOZ", "3.3.2003"}}));
  }
}

TEST_F(Import, AListIsImportedWithItsDatesFirstLineIncluded) {
  const std::string other = dir.file("klub.PVK");
  ASSERT_TRUE(platform::writeFileAtomic(other,
                                        "JO70PO;OK2KOZ Petr (SEMILY);3.3.2020\r\n"
                                        "JN79US;OK1ABC (PRACHATICE);4.4.2021;\r\n"
                                        "JO70AA;OK5BEZ\r\n"));
  ASSERT_TRUE(im.nactidata(other, "24.6.2026"));
  EXPECT_EQ(im.mode(), CallSignImport::Mode::List);
  EXPECT_EQ(im.importRows().grid().rows(),
            (Rows{{"JO70PO", "OK2KOZ Petr (SEMILY)", "3.3.2020"},
                  {"JO70AA", "OK5BEZ", "Nezjištěno"}}));
  EXPECT_EQ(im.list().grid().cell(0, 2), "4.4.2021");  // OK1ABC confirmed by the list
  // A list's call signs carry their districts already.
  const int row = im.zS1doS2PridejVolacku(0, 2, -1, false, "24.6.2026");
  ASSERT_GE(row, 0);
  EXPECT_EQ(im.list().grid().row(row),
            (Grid::Row{"JO70PO", "Ok2koz Petr (SEMILY)", "3.3.2020"}));
}

TEST_F(Import, AFileThatCannotBeReadChangesNothing) {
  ASSERT_TRUE(im.nactidata(log, "24.6.2026"));
  const Rows imported = im.importRows().grid().rows(), list = im.list().grid().rows();
  texts.clear();
  EXPECT_FALSE(im.nactidata(dir.file("chybi.qvl"), "1.1.2027"));
  EXPECT_EQ(texts, (std::vector<std::string>{"Soubor " + dir.file("chybi.qvl") + " nebyl nalezen !"}));
  EXPECT_EQ(im.importRows().grid().rows(), imported);
  EXPECT_EQ(im.list().grid().rows(), list);
  EXPECT_EQ(im.file(), log);
  EXPECT_FALSE(im.nactidata(dir.file("obrazek.jpg"), "1.1.2027"));
  EXPECT_EQ(im.importRows().grid().rows(), imported);
}

TEST_F(Import, TownsAddedCorrectedAndSavedWithTheirBackup) {
  const int r = im.addTown("jo7éaa", "nová  chata (liberec)", KeyboardOptions{true, false});
  EXPECT_EQ(im.towns().grid().row(r), (Grid::Row{"JO70AA", "Nová Chata (LIBEREC)"}));
  EXPECT_TRUE(im.townsChanged());
  const int c = im.correctTown(r, std::nullopt, "Stará chata", KeyboardOptions{});
  EXPECT_EQ(im.towns().grid().row(c), (Grid::Row{"JO70AA", "Stará Chata"}));
  ASSERT_TRUE(im.Savelok());
  EXPECT_FALSE(im.townsChanged());
  EXPECT_EQ(*platform::readWholeFile(dir.file("vektrano.zr4")),
            "JO60LJ;Klínovec\r\nJO70AA;Stará Chata\r\nJO70GQ;Ještěd (LIBEREC)\r\n"
            "JO70PO;Kozákov (SEMILY)\r\n");
  EXPECT_EQ(*platform::readWholeFile(dir.file("vektrano.loc")), kTowns);
}

TEST(ImportNames, ModesAndMovedLinesFile) {
  EXPECT_EQ(CallSignImport::modeOf("/a/Denik.QVL"), CallSignImport::Mode::Log);
  EXPECT_EQ(CallSignImport::modeOf("/a/stary.csv"), CallSignImport::Mode::Log);
  EXPECT_EQ(CallSignImport::modeOf("/a/vektrano.pvk"), CallSignImport::Mode::List);
  EXPECT_EQ(CallSignImport::modeOf("/a.pvk/soubor"), CallSignImport::Mode::None);
  // The program's own list uses the listing of the delete by date.
  EXPECT_EQ(CallSignImport::movedLinesPathOf("/p/vektrano.pvk"), deletedCallSignsPath("/p"));
}

}  // namespace
}  // namespace vektrano
