#include "transfer/archive.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/session/startup.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;
using platform::readWholeFile;
using platform::writeFileAtomic;

std::string logFile(const std::vector<std::string>& contacts) {
  std::string s = "JO70GQ;poř.;čas;RV;Volačka;RP;Lokátor;km;pozn;Expedice;Sněžka;JO70GQ;;;;;;;;;;;\r\n";
  for (const std::string& c : contacts) s += "JO70GQ;" + c + "\r\n";
  return s;
}

class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.defaultAnswer;
    });
    root_ = dir_.file("archiv");
    fs::create_directories(root_);
  }
  void TearDown() override { platform::setMessageHandler(previous_); }

  // A store over a fresh root, as start-up leaves it.
  ArchivStore seeded() {
    fs::create_directories(root_ + "/001");
    EXPECT_TRUE(writeFileAtomic(root_ + "/archiv.zr4", zaznamArchivu(1, "001 - Hlavní archív EXPEDICE", root_ + "/001")));
    EXPECT_TRUE(writeFileAtomic(root_ + "/001/deniky.pbl", {}));
    ArchivStore s(root_);
    EXPECT_TRUE(s.nactiArchivy());
    s.vyber(0);
    return s;
  }
  std::string writeLog(const std::string& name, const std::vector<std::string>& contacts) {
    const std::string path = dir_.file(name);
    EXPECT_TRUE(writeFileAtomic(path, logFile(contacts)));
    return path;
  }

  test::TempDir dir_;
  std::string root_;
  std::vector<std::string> messages_;
  platform::MessageHandler previous_;
};

TEST(ArchiveRecords, CatalogueRecordLayoutIsByteExact) {
  ZarazenyDenik d{0x01020304, "1.2.26", "3.2.26", "JO70GQ", "Sněžka", "dlouhý popis", "/a/001/00001.qvl"};
  const std::string rec = zaznamDeniku(d);
  ASSERT_EQ(rec.size(), kZaznamDeniku);
  EXPECT_EQ(rec.substr(0, 4), std::string("\x04\x03\x02\x01", 4));
  struct Field {
    std::size_t at, size;
    const std::string& text;
  };
  for (const Field& f : {Field{4, 11, d.od}, {15, 11, d.do_}, {26, 7, d.lokator}, {33, 101, d.nazev},
                         {134, 251, d.popis}, {385, 251, d.cesta}}) {
    SCOPED_TRACE(f.at);
    EXPECT_EQ(static_cast<unsigned char>(rec[f.at]), f.text.size());
    EXPECT_EQ(rec.substr(f.at + 1, f.text.size()), f.text);
    EXPECT_EQ(rec.substr(f.at + 1 + f.text.size(), f.size - 1 - f.text.size()),
              std::string(f.size - 1 - f.text.size(), '\0'));
  }
  EXPECT_EQ(ctiZaznamDeniku(rec), d);

  // Longer texts are cut to their fields; a negative number survives.
  ZarazenyDenik big{-5, std::string(20, 'd'), "x", "JO70GQXX", std::string(300, 'n'), std::string(300, 'p'), "c"};
  const ZarazenyDenik back = ctiZaznamDeniku(zaznamDeniku(big));
  EXPECT_EQ(back.cislo, -5);
  EXPECT_EQ(back.od, std::string(10, 'd'));
  EXPECT_EQ(back.lokator, "JO70GQ");
  EXPECT_EQ(back.nazev.size(), 100u);
  EXPECT_EQ(back.popis.size(), 250u);
}

TEST(ArchiveRecords, IndexRecordReadsBackAndHostileLengthsStayInTheirFields) {
  const std::string rec = zaznamArchivu(7, "007 - Léto", "/r/007");
  EXPECT_EQ(ctiZaznamArchivu(rec), (Archiv{7, "007 - Léto", "/r/007"}));

  std::string hostile(kZaznamArchivu, 'A');
  hostile[4] = '\xFF';    // name length beyond its 101-byte field
  hostile[105] = '\xFF';  // folder length beyond the record
  const Archiv a = ctiZaznamArchivu(hostile);
  EXPECT_EQ(a.nazev, std::string(100, 'A'));
  EXPECT_EQ(a.slozka, std::string(250, 'A'));

  std::string cat(kZaznamDeniku, 'B');
  for (std::size_t at : {4, 15, 26, 33, 134, 385}) cat[at] = '\xFF';
  const ZarazenyDenik d = ctiZaznamDeniku(cat);
  EXPECT_EQ(d.od.size(), 10u);
  EXPECT_EQ(d.lokator.size(), 6u);
  EXPECT_EQ(d.cesta.size(), 250u);
}

TEST(ArchiveRecords, NumbersAndNames) {
  EXPECT_EQ(cisloArchivu(1), "001");
  EXPECT_EQ(cisloDeniku(42), "00042");
  EXPECT_EQ(nazevArchivu(3, "Expedice Sněžka"), "003 - Expedice Sněžka");
  EXPECT_EQ(nazevArchivu(3, std::string(120, 'x')).size(), 100u);
  EXPECT_EQ(jmenoArchivu({3, "003 - Expedice", ""}), "Expedice");
  struct Case {
    std::size_t len;
    bool ok;
  };
  for (Case c : {Case{7, false}, {8, true}, {100, true}, {101, false}})
    EXPECT_EQ(platneJmenoArchivu(std::string(c.len, 'x')), c.ok) << c.len;
  EXPECT_FALSE(platnyNazevDeniku("abcd"));
  EXPECT_TRUE(platnyNazevDeniku("abcde"));
  EXPECT_FALSE(platnyNazevDeniku(std::string(21, 'x')));
  EXPECT_TRUE(platnyPopisDeniku(std::string(250, 'x')));
  EXPECT_FALSE(platnyPopisDeniku(std::string(251, 'x')));
}

TEST_F(ArchiveTest, ShortOrMissingIndexIsReportedAndKeepsWhatWasRead) {
  ArchivStore missing(root_);
  EXPECT_FALSE(missing.nactiArchivy());
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "Chyba I/O při čtení souboru : " + root_ + "/archiv.zr4");
  EXPECT_TRUE(missing.archivy().empty());

  // One whole record, then a torn one; the folder field points elsewhere.
  ASSERT_TRUE(writeFileAtomic(root_ + "/archiv.zr4", zaznamArchivu(5, "005 - Pět", "/etc") + "torn"));
  ArchivStore s(root_);
  EXPECT_FALSE(s.nactiArchivy());
  ASSERT_EQ(s.archivy().size(), 1u);
  EXPECT_EQ(s.archivy()[0].nazev, "005 - Pět");
  EXPECT_EQ(s.archivy()[0].slozka, root_ + "/005");

  std::string many;
  for (int i = 1; i <= 205; ++i) many += zaznamArchivu(i, nazevArchivu(i, "archiv"), "");
  ASSERT_TRUE(writeFileAtomic(root_ + "/archiv.zr4", many));
  EXPECT_TRUE(s.nactiArchivy());
  EXPECT_EQ(s.archivy().size(), 200u);
}

TEST_F(ArchiveTest, ShortCatalogueIsReportedAndKeepsItsWholeRecords) {
  ArchivStore s = seeded();
  const ZarazenyDenik d{1, "1.1.26", "2.1.26", "JO70GQ", "Sněžka", "popis", root_ + "/001/00001.qvl"};
  ASSERT_TRUE(writeFileAtomic(root_ + "/001/deniky.pbl", zaznamDeniku(d) + std::string(100, 'x')));
  messages_.clear();
  EXPECT_FALSE(s.nactiSeznamDeniku());
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "Chyba I/O při čtení souboru : " + root_ + "/001/deniky.pbl");
  ASSERT_EQ(s.deniky().size(), 1u);
  EXPECT_EQ(s.deniky()[0], d);
}

TEST_F(ArchiveTest, NewRenameAndDeleteArchiveKeepIndexMirrorAndBackups) {
  ArchivStore s(root_);
  s.nactiArchivy();
  messages_.clear();
  EXPECT_EQ(s.pridejArchiv("Expedice"), 0);
  EXPECT_EQ(s.archivy()[0], (Archiv{1, "001 - Expedice", root_ + "/001"}));
  EXPECT_EQ(readWholeFile(root_ + "/001/deniky.pbl"), "");
  EXPECT_EQ(readWholeFile(root_ + "/001/qvl.pbl"), "Pomocný soubor, jeho smazání ničemu nevadí ...\r\n");
  ASSERT_EQ(s.pridejArchiv("Druhý archiv"), 1);
  ASSERT_EQ(s.pridejArchiv("Třetí archiv"), 2);
  EXPECT_EQ(s.vybrany(), 2);

  EXPECT_FALSE(s.pridejArchiv("7 znaků"));
  EXPECT_FALSE(s.pridejArchiv(std::string(101, 'x')));
  EXPECT_EQ(messages_, std::vector<std::string>(2, "Název musí být dlouhý 8 až 100 znaků !!!"));

  EXPECT_TRUE(s.prejmenujArchiv(1, "Jiný název"));
  EXPECT_EQ(s.archivy()[1].nazev, "002 - Jiný název");
  EXPECT_EQ(s.vybrany(), 1);

  EXPECT_TRUE(s.smazArchiv(1));
  EXPECT_FALSE(platform::fileExists(root_ + "/002/deniky.pbl"));
  EXPECT_FALSE(platform::fileExists(root_ + "/002/qvl.pbl"));
  EXPECT_TRUE(platform::dirExists(root_ + "/002"));
  EXPECT_EQ(s.vybrany(), 1);
  ASSERT_EQ(s.pridejArchiv("Čtvrtý archiv"), 2);
  EXPECT_EQ(s.archivy()[2].cislo, 4);

  const std::string index = zaznamArchivu(1, "001 - Expedice", root_ + "/001") +
                            zaznamArchivu(3, "003 - Třetí archiv", root_ + "/003") +
                            zaznamArchivu(4, "004 - Čtvrtý archiv", root_ + "/004");
  EXPECT_EQ(readWholeFile(root_ + "/archiv.zr4"), index);
  EXPECT_EQ(readWholeFile(root_ + "/archiv.zal"), index);
  const std::string txt = "001 - Expedice\r\n003 - Třetí archiv\r\n004 - Čtvrtý archiv\r\n";
  EXPECT_EQ(readWholeFile(root_ + "/archiv.txt"), txt);
  EXPECT_EQ(readWholeFile(root_ + "/archiv.txtzal"), txt);

  // Deleting the last archive leaves its folder with its copies; the next
  // archive does not take it over.
  EXPECT_TRUE(s.smazArchiv(2));
  EXPECT_EQ(s.vybrany(), 1);
  ASSERT_EQ(s.pridejArchiv("Pátý archiv"), 2);
  EXPECT_EQ(s.archivy()[2].cislo, 5);
}

TEST_F(ArchiveTest, TwoHundredArchivesAreTheLimit) {
  std::string many;
  for (int i = 1; i <= 200; ++i) many += zaznamArchivu(i, nazevArchivu(i, "archiv"), "");
  ASSERT_TRUE(writeFileAtomic(root_ + "/archiv.zr4", many));
  ArchivStore s(root_);
  ASSERT_TRUE(s.nactiArchivy());
  EXPECT_FALSE(s.pridejArchiv("Další archiv"));
  EXPECT_EQ(messages_.back(), "Program umožňuje vytvořit pouze 200 archivů, lituji.");
  EXPECT_EQ(readWholeFile(root_ + "/archiv.zr4"), many);
}

// Numbers come from the files: a record may claim any of them, and a new
// archive or filing never wraps past it or the digits of its name.
TEST_F(ArchiveTest, RecordNumbersAtTheirLimitsRefuseTheNextOne) {
  for (const std::int32_t cislo : {kMaxCisloArchivu, std::int32_t{2147483647}}) {
    messages_.clear();
    const std::string index = zaznamArchivu(cislo, "x - Poslední", "");
    ASSERT_TRUE(writeFileAtomic(root_ + "/archiv.zr4", index));
    ArchivStore s(root_);
    ASSERT_TRUE(s.nactiArchivy());
    EXPECT_FALSE(s.pridejArchiv("Další archiv"));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "Chyba I/O při ukládání souboru : " + root_ + "/999");
    EXPECT_EQ(readWholeFile(root_ + "/archiv.zr4"), index);
  }
  ArchivStore s = seeded();
  const std::string log = writeLog("a.qvl", {"1;10:00;59;OK1ABC;59;JN79AB;120;;"});
  for (const std::int32_t cislo : {kMaxCisloDeniku, std::int32_t{2147483647}}) {
    messages_.clear();
    ZarazenyDenik d;
    d.cislo = cislo;
    ASSERT_TRUE(writeFileAtomic(root_ + "/001/deniky.pbl", zaznamDeniku(d)));
    s.vyber(0);
    EXPECT_FALSE(s.zaradDenik({}, log));
    EXPECT_EQ(messages_.back(), "Chyba I/O při ukládání souboru : " + root_ + "/001/99999.qvl");
  }
}

TEST_F(ArchiveTest, FilingProposesFromTheLogAndCopiesItByteForByte) {
  const std::string log = writeLog("cesta.qvl", {"1;[14.7.26] 10:05;59;OK1ABC;59;JN79AB;120;;"});
  ASSERT_TRUE(writeFileAtomic(dir_.file("cesta.exp"), "hlavička\r\nSněžka - vrchol\r\n"));
  const NavrhZarazeni n = navrhniZarazeni(log, {2026, 7, 20});
  EXPECT_EQ(n.od, "14.7.26");
  EXPECT_EQ(n.do_, "14.7.26");
  EXPECT_EQ(n.lokator, "JO70GQ");
  EXPECT_EQ(n.nazev, "Sněžka - vrchol");
  EXPECT_EQ(n.popis, "Sněžka - vrchol");
  const std::string bare = writeLog("holy.qvl", {});
  EXPECT_EQ(navrhniZarazeni(bare, {2026, 7, 5}).od, "5.7.26");

  Zarazovani z(log, n);
  EXPECT_EQ(z.stav().rfind("krok 1 : Zvol datum ZAČÁTKU portejblu ...", 0), 0u);
  EXPECT_FALSE(z.vpred("13.7.2026"));
  EXPECT_FALSE(z.vpred("15.7.2026"));
  z.zpet();
  EXPECT_EQ(z.hodnotaKroku(), "15.7.2026");
  EXPECT_FALSE(z.vpred("16.7.2026"));
  EXPECT_EQ(z.hodnotaKroku(), "Sněžka - vrchol");
  EXPECT_FALSE(z.vpred("Sněžka"));
  EXPECT_TRUE(z.vpred("Dlouhý popis výpravy"));
  EXPECT_EQ(z.stav().rfind("krok 5 : Čekej, zařazuji deník do archivu ...", 0), 0u);

  ArchivStore s = seeded();
  EXPECT_EQ(s.zaradDenik(z.denik(), log), 0);
  EXPECT_EQ(s.zaradDenik(z.denik(), log), 1);
  const ZarazenyDenik first{1, "13.7.2026", "16.7.2026", "JO70GQ", "Sněžka", "Dlouhý popis výpravy",
                            root_ + "/001/00001.qvl"};
  ASSERT_EQ(s.deniky().size(), 2u);
  EXPECT_EQ(s.deniky()[0], first);
  EXPECT_EQ(s.deniky()[1].cesta, root_ + "/001/00002.qvl");
  EXPECT_EQ(readWholeFile(first.cesta), readWholeFile(log));
  const std::string cat = *readWholeFile(root_ + "/001/deniky.pbl");
  EXPECT_EQ(cat.substr(0, kZaznamDeniku), zaznamDeniku(first));
  EXPECT_EQ(readWholeFile(root_ + "/001/deniky.zal"), cat);

  // A log that has gone is reported and nothing is filed.
  messages_.clear();
  // Paths are the file system's bytes; the message shows them as text.
  EXPECT_FALSE(s.zaradDenik(z.denik(), dir_.file(platform::pathFromText("pryč.qvl"))));
  EXPECT_EQ(messages_, std::vector<std::string>{"Chyba I/O při čtení souboru : " + dir_.file("pryč.qvl")});
  EXPECT_EQ(s.deniky().size(), 2u);

  // Editing and deleting entries.
  EXPECT_FALSE(s.opravNazev(0, "abc"));
  EXPECT_EQ(messages_.back(), "Název musí být dlouhý 5 až 20 znaků !!!");
  EXPECT_TRUE(s.opravNazev(0, "Praděd"));
  EXPECT_FALSE(s.opravPopis(0, "ab"));
  EXPECT_EQ(messages_.back(), "Název musí být dlouhý 5 až 250 znaků !!!");
  EXPECT_TRUE(s.smazDenik(1));
  EXPECT_TRUE(platform::fileExists(root_ + "/001/00002.qvl"));
  ArchivStore again(root_);
  again.nactiArchivy();
  again.vyber(0);
  ASSERT_EQ(again.deniky().size(), 1u);
  EXPECT_EQ(again.deniky()[0].nazev, "Praděd");
}

// "Vyřadit" keeps the copy on disk: a later filing takes the next number
// whose copy file is free, never that copy.
TEST_F(ArchiveTest, ANewFilingNeverOverwritesTheCopyOfARemovedEntry) {
  ArchivStore s = seeded();
  const std::string first = writeLog("a.qvl", {"1;10:00;59;OK1ABC;59;JN79AB;120;;"});
  const std::string second = writeLog("b.qvl", {"1;11:00;59;OK2XYZ;59;JO60AA;10;;"});
  const std::string third = writeLog("c.qvl", {"1;12:00;59;OK3DEF;59;JO70PO;54;;"});
  ASSERT_TRUE(s.zaradDenik({}, first));
  ASSERT_TRUE(s.zaradDenik({}, second));
  ASSERT_TRUE(s.smazDenik(1));
  ASSERT_TRUE(writeFileAtomic(root_ + "/001/00003.qvl", "cizí soubor\r\n"));  // none of ours

  ASSERT_EQ(s.zaradDenik({}, third), 1);
  EXPECT_EQ(s.deniky()[1].cislo, 4);
  EXPECT_EQ(s.deniky()[1].cesta, root_ + "/001/00004.qvl");
  EXPECT_EQ(readWholeFile(root_ + "/001/00004.qvl"), readWholeFile(third));
  EXPECT_EQ(readWholeFile(root_ + "/001/00002.qvl"), readWholeFile(second));
  EXPECT_EQ(readWholeFile(root_ + "/001/00003.qvl"), std::string("cizí soubor\r\n"));
}

// The catalogues are cp1250 files: under an archive folder whose name the
// code page lacks neither an archive nor a filing is made, and the message
// says why, before any copy is written.
TEST_F(ArchiveTest, AnArchiveFolderTheCatalogueCannotNameTakesNoFiling) {
  root_ = dir_.file("\xCE\xA9mega");  // "Ωmega", the file system's bytes
  ArchivStore s = seeded();
  const std::string log = writeLog("a.qvl", {"1;10:00;59;OK1ABC;59;JN79AB;120;;"});
  messages_.clear();
  EXPECT_FALSE(s.zaradDenik({}, log));
  EXPECT_EQ(messages_, std::vector<std::string>{
                           "Deník nelze zařadit, cestu k jeho kopii :\r\n\r\n" + dir_.file("?mega") +
                           "/001/00001.qvl\r\n\r\nnezapíše katalog archivu, jméno obsahuje znaky, "
                           "které kódová stránka 1250 nezná."});
  EXPECT_FALSE(platform::fileExists(root_ + "/001/00001.qvl"));
  EXPECT_TRUE(s.deniky().empty());
  messages_.clear();
  EXPECT_FALSE(s.pridejArchiv("Expedice Ještěd"));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].rfind("Archiv nelze založit, složku :", 0), 0u) << messages_[0];
  EXPECT_EQ(s.archivy().size(), 1u);
}

TEST_F(ArchiveTest, OldCopiesAreRenamedOnceAndOnlyInsideTheArchive) {
  fs::create_directories(root_ + "/001");
  ASSERT_TRUE(writeFileAtomic(root_ + "/archiv.zr4", zaznamArchivu(1, "001 - A", root_ + "/001")));
  ASSERT_TRUE(writeFileAtomic(root_ + "/001/00001.csv", "obsah"));
  const std::string cizi = dir_.file(platform::pathFromText("cizí.csv"));
  ASSERT_TRUE(writeFileAtomic(cizi, "cizí"));
  const ZarazenyDenik old{1, "", "", "", "", "", root_ + "/001/00001.csv"};
  ZarazenyDenik foreign = old;
  foreign.cislo = 2;
  foreign.cesta = cizi;
  ASSERT_TRUE(writeFileAtomic(root_ + "/001/deniky.pbl", zaznamDeniku(old) + zaznamDeniku(foreign)));

  ArchivStore s(root_);
  s.nactiArchivy();
  s.vyber(0);
  EXPECT_EQ(messages_, (std::vector<std::string>{old.cesta + "\r\n" + root_ + "/001/00001.qvl",
                                                 dir_.file("cizí.csv") + "\r\n" + dir_.file("cizí.qvl")}));
  EXPECT_EQ(readWholeFile(root_ + "/001/00001.qvl"), "obsah");
  EXPECT_TRUE(platform::fileExists(cizi));
  EXPECT_EQ(s.deniky()[0].cesta, root_ + "/001/00001.qvl");
  EXPECT_EQ(s.deniky()[1].cesta, foreign.cesta);
  EXPECT_TRUE(platform::fileExists(root_ + "/001/qvl.pbl"));

  messages_.clear();
  ArchivStore again(root_);
  again.nactiArchivy();
  again.vyber(0);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(again.deniky()[0].cesta, root_ + "/001/00001.qvl");
}

TEST_F(ArchiveTest, ShownLogCountsContactsAndSurvivesEmptyAndMissingCopies) {
  const std::string log = writeLog("a.qvl", {"1;10:00;59;OK1ABC;59;JN79AB;120;;", "2;10:05;57;OK2XY;55;JO7;;x;",
                                             "3;10:10;59;OL5Q;59;JO60AA;301;pozn;"});
  const ZobrazenyDenik z = nactiarchivdenik(log);
  EXPECT_TRUE(z.ok);
  ASSERT_EQ(z.grid.rowCount(), 4);
  EXPECT_EQ(z.grid.row(0), tituleZobrazeni());
  EXPECT_EQ(z.grid.row(1), (Grid::Row{"1", "10:00", "59", "OK1ABC", "59", "JN79AB", "120", ""}));
  EXPECT_EQ(z.stav, "3 spoj. [Prům:140 km] [Lok.chybí:1x] [Nej:301 km]");

  EXPECT_EQ(nactiarchivdenik(writeLog("b.qvl", {})).stav, "0 spoj. [Prům:0 km] [Lok.chybí:0x] [Nej:0 km]");
  const ZobrazenyDenik gone = nactiarchivdenik(dir_.file("nic.qvl"));
  EXPECT_FALSE(gone.ok);
  EXPECT_EQ(gone.stav, "Soubor " + dir_.file("nic.qvl") + " nebyl v archivu nalezen !");

  // A km cell is a distance on the earth or nothing: a damaged copy's huge
  // numbers once overflowed the sum, and the recalculation's -1 for a wrong
  // own locator took a kilometre off it.
  struct KmCase {
    const char* name;
    const char* first;
    const char* second;
    const char* stav;
  } const kmCases[] = {
      {"numbers whose sum overflows", "7173733806442603682", "7173733806442603405",
       "2 spoj. [Prům:0 km] [Lok.chybí:0x] [Nej:0 km]"},
      {"farther than the far side of the earth", "40000", "100",
       "2 spoj. [Prům:50 km] [Lok.chybí:0x] [Nej:100 km]"},
      {"the far side itself", "20005", "1", "2 spoj. [Prům:10003 km] [Lok.chybí:0x] [Nej:20005 km]"},
      {"no distance for a wrong own locator", "-1", "302",
       "2 spoj. [Prům:151 km] [Lok.chybí:0x] [Nej:302 km]"},
  };
  for (const KmCase& c : kmCases) {
    SCOPED_TRACE(c.name);
    const std::string copy = writeLog("km.qvl", {std::string("1;10:00;59;OK1ABC;59;JN79AB;") + c.first + ";;",
                                                 std::string("2;10:05;59;OK2XY;59;JO70GQ;") + c.second + ";;"});
    EXPECT_EQ(nactiarchivdenik(copy).stav, c.stav);
  }

  const ZarazenyDenik d{1, "1.1.26", "2.1.26", "JO70GQ", "Sněžka", "", ""};
  EXPECT_EQ(souhrnSpojeni(d, z.grid.row(3)),
            "Tvoje : (1.1.26-2.1.26 [JO70GQ] Sněžka)\r\n\r\nJeho  : čís.spoj: 3 / čas: 10:10\r\n"
            "        (tys ho slyšel: 59) (on ti dal: 59)\r\n        OL5Q [JO60AA] 301 km\r\n\r\npoznámka : pozn");
}

TEST_F(ArchiveTest, SearchByCallSignAndLocatorListsHitsInCatalogueOrder) {
  ArchivStore s = seeded();
  const ZarazenyDenik d{0, "1.1.26", "2.1.26", "JO70GQ", "Sněžka", "popis", ""};
  ASSERT_TRUE(s.zaradDenik(d, writeLog("a.qvl", {"1;10:00;59;OK1ABC;59;JN79AB;120;;",
                                                 "2;10:05;57;ok2abc x;55;jo60aa;;;"})));
  ASSERT_TRUE(s.zaradDenik(d, writeLog("b.qvl", {"1;11:00;59;OK1ABC/p;59;JO60AA;10;;"})));
  // A copy missing from disk is passed over.
  ASSERT_TRUE(s.zaradDenik(d, writeLog("c.qvl", {"1;12:00;59;OK1ABC;59;JO60AA;10;;"})));
  fs::remove(platform::fsPath(s.deniky()[2].cesta));

  struct Case {
    std::string lok, vol;
    std::vector<std::pair<int, int>> hits;
  };
  for (const Case& c : {Case{"", "abc", {{0, 1}, {0, 2}, {1, 1}}}, Case{"jo 60", "", {{0, 2}, {1, 1}}},
                        Case{"JO60", "ok1", {{1, 1}}}, Case{"", "ABC  X", {{0, 2}}}, Case{"", "", {}}}) {
    SCOPED_TRACE(c.lok + "|" + c.vol);
    const VysledekHledani v = s.hledej(c.lok, c.vol, {});
    std::vector<std::pair<int, int>> got;
    for (const Nalez& n : v.nalezy) got.emplace_back(n.denik, n.spojeni);
    EXPECT_EQ(got, c.hits);
    EXPECT_EQ(v.celkem, static_cast<int>(c.hits.size()));
  }
  EXPECT_EQ(s.hledej("JO60", "", {}).nalezy[1].text, "2/  1.1.26-2.1.26 [JO70GQ - JO60AA] OK1ABC/p");

  int pumped = 0;
  const VysledekHledani stopped = s.hledej("", "abc", {}, [&pumped] { return ++pumped < 2; });
  EXPECT_TRUE(stopped.preruseno);
  EXPECT_EQ(stopped.nalezy.size(), 2u);

  struct Start {
    const char *lok, *vol;
    bool ok;
  };
  for (Start c : {Start{"", "OK", false}, {"", "OK1", true}, {"JO", "", false}, {"JO7", "", true}})
    EXPECT_EQ(lzeHledat(c.lok, c.vol), c.ok) << c.lok << "|" << c.vol;
}

TEST_F(ArchiveTest, SearchListsAtMostAThousandHitsButCountsAll) {
  ArchivStore s = seeded();
  std::vector<std::string> contacts(1200, "1;10:00;59;OK1ABC;59;JN79AB;120;;");
  ASSERT_TRUE(s.zaradDenik({}, writeLog("big.qvl", contacts)));
  const VysledekHledani v = s.hledej("", "OK1ABC", {});
  EXPECT_EQ(v.nalezy.size(), 1000u);
  EXPECT_EQ(v.celkem, 1200);
  EXPECT_EQ(v.nalezy.back().text.rfind("1000/  ", 0), 0u);
}

}  // namespace
}  // namespace vektrano
