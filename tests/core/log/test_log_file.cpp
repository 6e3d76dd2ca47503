// The qvl log file: byte-exact writer and reader, the commands around them,
// the old-version conversions and the crash backup.
#include "core/log/log_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "core/log/log_statistics.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"
#include "tests/support/message_recorder.h"

namespace vektrano {
namespace {

using platform::readWholeFile;
using test::TempDir;

using Recorder = test::MessageRecorder;

const std::string kTitles = "poř.;čas;RV;Volačka;RP;Lokátor;km;pozn;";

std::string fixture(const std::string& name) {
  auto d = readWholeFile(std::string(VEKTRANO_SOURCE_DIR) + "/tests/core/log/data/log/" + name);
  EXPECT_TRUE(d) << name;
  return d.value_or("");
}

void writeFile(const std::string& path, const std::string& data) {
  ASSERT_TRUE(platform::writeFileAtomic(path, data));
}

Grid::Row contact(const std::string& n, const std::string& call, const std::string& loc,
                  const std::string& km, const std::string& note = "") {
  return {n, "07:05", "59", call, "57", loc, km, note};
}

TEST(LogFormat, TitleOnlyLogIsOneLineOf22Fields) {
  LogDocument log;
  EXPECT_EQ(formatLog(log), "JO70GQ;" + kTitles + std::string(13, ';') + "\r\n");
}

TEST(LogFormat, ContactRowsDescriptionAndDiacriticsByteExact) {
  LogDocument log;
  log.PopisExpedice[0] = "Sněžka";
  log.PopisExpedice[12] = "vítr; mráz";  // ";" would shift every later field
  log.Denik.appendRow(contact("1", "Šárka Žďárská", "JO80GQ", "141", ",pěkné"));
  const std::string expected = "JO70GQ;" + kTitles + "Sněžka;" + std::string(11, ';') +
                               "vítr, mráz;\r\n"
                               "JO70GQ;1;07:05;59;Šárka Žďárská;57;JO80GQ;141;,pěkné;\r\n";
  EXPECT_EQ(formatLog(log), expected);
  // cp1250 bytes, not UTF-8: Š is 0x8A, ž 0x9E.
  EXPECT_NE(expected.find("\x8A\xE1rka"), std::string::npos);
  EXPECT_NE(expected.find("Sn\xEC\x9Eka"), std::string::npos);
}

TEST(LogFormat, SemicolonsAndLineBreaksInCellsCannotShiftFields) {
  LogDocument log;
  log.lokportable = "JO;0GQ";
  log.Denik.appendRow(contact("1", "a;b", "JO80GQ", "141", ",x\r\ny"));
  const std::string out = formatLog(log);
  EXPECT_EQ(out.substr(out.find("\r\n") + 2), "JO,0GQ;1;07:05;59;a,b;57;JO80GQ;141;,x  y;\r\n");
}

TEST(LogFormat, TargetAndBackupNames) {
  struct Case {
    std::string name, target, backup;
  } cases[] = {
      {"/d/denik.qvl", "/d/denik.qvl", "/d/denik.bak"},
      {"/d/DENIK.QVL", "/d/DENIK.QVL", "/d/DENIK.bak"},
      {"/d/stary.csv", "/d/stary.qvl", "/d/stary.bak"},
      {"/d/stary.CSV", "/d/stary.qvl", "/d/stary.bak"},
      {"/d/zaloha_9_12_2026_7_05_09", "/d/zaloha_9_12_2026_7_05_09.qvl",
       "/d/zaloha_9_12_2026_7_05_09.bak"},
      {"/d.x/denik", "/d.x/denik.qvl", "/d.x/denik.bak"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(logTargetName(c.name), c.target) << c.name;
    EXPECT_EQ(logBackupName(c.name), c.backup) << c.name;
  }
}

TEST(LogWriter, SecondWriteKeepsThePreviousAsBak) {
  TempDir dir;
  Recorder rec;
  LogDocument log;
  writeFile(dir.file("denik.bak"), "very old");
  log.Denik.appendRow(contact("1", "Petr", "JO80GQ", "141"));
  ASSERT_TRUE(ulozdata(log, dir.file("denik.qvl")));
  const std::string first = *readWholeFile(dir.file("denik.qvl"));
  log.Denik.appendRow(contact("2", "Karel", "JO60GQ", "141"));
  ASSERT_TRUE(ulozdata(log, dir.file("denik.qvl")));
  EXPECT_EQ(*readWholeFile(dir.file("denik.bak")), first);
  EXPECT_EQ(*readWholeFile(dir.file("denik.qvl")), formatLog(log));
  EXPECT_TRUE(rec.texts.empty());
}

TEST(LogWriter, CsvNameWritesQvlAndUpperCaseQvlStaysOneFile) {
  TempDir dir;
  LogDocument log;
  writeFile(dir.file("stary.qvl"), "previous");
  ASSERT_TRUE(ulozdata(log, dir.file("stary.csv")));
  EXPECT_EQ(*readWholeFile(dir.file("stary.bak")), "previous");
  EXPECT_EQ(*readWholeFile(dir.file("stary.qvl")), formatLog(log));
  EXPECT_FALSE(platform::fileExists(dir.file("stary.csv")));

  ASSERT_TRUE(ulozdata(log, dir.file("DENIK.QVL")));
  EXPECT_TRUE(platform::fileExists(dir.file("DENIK.QVL")));
  EXPECT_FALSE(platform::fileExists(dir.file("DENIK.qvl")));
}

TEST(LogWriter, RecalculatesBeforeWriting) {
  TempDir dir;
  LogDocument log;
  log.Denik.appendRow(contact("1", "petr", "jo 80 gq", "", "abc def"));
  ASSERT_TRUE(ulozdata(log, dir.file("d.qvl")));
  const std::string out = *readWholeFile(dir.file("d.qvl"));
  EXPECT_NE(out.find("JO70GQ;1;07:05;59;Petr;57;JO80GQ;141;,abc ,def;\r\n"), std::string::npos) << out;
}

TEST(LogWriter, EmptyNameWritesNothing) {
  TempDir dir;
  Recorder rec;
  LogDocument log;
  EXPECT_FALSE(ulozdata(log, ""));
  EXPECT_FALSE(platform::fileExists(".qvl"));
  EXPECT_TRUE(rec.texts.empty());
}

// Every file the writer fails to write, the log and the crash backup by
// each of its entries, is named in the writer's own message.
TEST(LogWriter, EveryFailedFileIsReportedInTheWritersWords) {
  struct Case {
    const char* what;
    std::string log, zaloha;  // under the test folder; "chybi/" does not exist
    std::function<void(LogDocument&, const std::string& zaloha)> write;
    std::string failed;
  } cases[] = {
      {"ulozdata", "chybi/denik.qvl", "", [](LogDocument& l, const std::string&) { ulozdata(l, l.SaveFileName); },
       "chybi/denik.qvl"},
      {"ulozdata of a csv name", "chybi/denik.csv", "",
       [](LogDocument& l, const std::string&) { ulozdata(l, l.SaveFileName); }, "chybi/denik.qvl"},
      {"log beside the backup", "chybi/denik.qvl", "zaloha.qvl",
       [](LogDocument& l, const std::string& z) { ulozDenikAZalohu(l, z); }, "chybi/denik.qvl"},
      {"crash backup", "denik.qvl", "chybi/zaloha.qvl",
       [](LogDocument& l, const std::string& z) { ulozDenikAZalohu(l, z); }, "chybi/zaloha.qvl"},
      {"a new contact", "denik.qvl", "chybi/zaloha.qvl",
       [](LogDocument& l, const std::string& z) {
         ulozNoveSpojeni(l, contact("1", "Petr", "JO70PO", ""), l.SaveFileName, z);
       },
       "chybi/zaloha.qvl"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    Recorder rec;
    LogDocument log;
    log.SaveFileName = dir.file(c.log);
    c.write(log, c.zaloha.empty() ? std::string() : dir.file(c.zaloha));
    EXPECT_EQ(rec.texts,
              std::vector<std::string>{"Chyba I/O při ukládání záložního souboru : " + dir.file(c.failed)});
  }
}

TEST(LogWriter, RefusesToRunInsideABusyLog) {
  TempDir dir;
  LogDocument log;
  log.busy = true;
  EXPECT_FALSE(ulozdata(log, dir.file("d.qvl")));
  EXPECT_FALSE(platform::fileExists(dir.file("d.qvl")));
}

TEST(LogReader, FixtureRoundTripsByteForByte) {
  TempDir dir;
  Recorder rec;
  const std::string original = fixture("expedice.qvl");
  writeFile(dir.file("expedice.qvl"), original);
  LogDocument log;
  log.SaveFileName = dir.file("expedice.qvl");
  TabulkaSynonym syn;
  const NacteniVysledek v = nactidata(log, syn);
  ASSERT_TRUE(v.ok);
  EXPECT_FALSE(v.chybiPopis);
  EXPECT_TRUE(v.doplndatum);
  EXPECT_TRUE(log.doplndatum);
  EXPECT_EQ(log.PocetSpojeni, 5);
  EXPECT_EQ(log.NejdelsiKm, 329);
  EXPECT_EQ(log.Denik.fixedRows(), 1);
  EXPECT_EQ(log.cisspoj, "6");
  EXPECT_EQ(log.PopisExpedice[0], "Sněžka 2026");
  EXPECT_EQ(log.PopisExpedice[12], "vítr, mráz");
  EXPECT_EQ(log.Denik.cell(2, kColVolacka), "Šárka Žďárská");
  EXPECT_EQ(formatLog(log), original);
  ASSERT_TRUE(ulozdata(log, log.SaveFileName));
  EXPECT_EQ(*readWholeFile(log.SaveFileName), original);
  EXPECT_TRUE(rec.texts.empty());
}

TEST(LogReader, LineRules) {
  struct Case {
    const char* what;
    std::string file;
    Grid::Row row1;        // cells of row 1 after reading, before recalculation
    std::string popis0;    // first description field
  } cases[] = {
      {"LF alone", "JO70GQ;t;;;;;;;;N;\nJO70GQ;1;a;b;c;d;e;f;g;\n", {"1", "a", "b", "c", "d", "e", "f", "g"}, "N"},
      {"last field without ;", "JO70GQ;t;\r\nJO70GQ;1;a;b;c;d;e;f;g\r\n", {"1", "a", "b", "c", "d", "e", "f", ""}, ""},
      {"short line", "JO70GQ;t;\r\nJO70GQ;7;x;\r\n", {"7", "x", "", "", "", "", "", ""}, ""},
      {"extra fields", "JO70GQ;t;\r\nJO70GQ;1;a;b;c;d;e;f;g;h;i;\r\n", {"1", "a", "b", "c", "d", "e", "f", "g"}, ""},
      {"no line end", "JO70GQ;t;;;;;;;;Nazev;\r\nJO70GQ;2;;;;;;;;", {"2", "", "", "", "", "", "", ""}, "Nazev"},
  };
  for (const Case& c : cases) {
    LogDocument log;
    log.Denik.appendRow({"old", "old", "old", "old", "old", "old", "old", "old"});
    log.Denik.appendRow({"old", "old", "old", "old", "old", "old", "old", "old"});
    log.PopisExpedice[0] = "stale";
    NulujEXP(log);
    parseLog(c.file, log);
    EXPECT_EQ(log.Denik.rowCount(), 2) << c.what;
    EXPECT_EQ(log.Denik.row(1), c.row1) << c.what;
    EXPECT_EQ(log.PopisExpedice[0], c.popis0) << c.what;
  }
}

TEST(LogReader, DescriptionFieldNeedsMoreThanItsSemicolon) {
  LogDocument log;
  log.PopisExpedice[12] = "from exp";
  // The note field (the 13th) is the last ";" of the line: not taken.
  parseLog("JO70GQ;" + kTitles + "a;b;c;d;e;f;g;h;i;j;k;l;;\r\n", log);
  EXPECT_EQ(log.PopisExpedice[11], "l");
  EXPECT_EQ(log.PopisExpedice[12], "from exp");
}

TEST(LogReader, OldLogWithoutDescriptionAsksForIt) {
  TempDir dir;
  writeFile(dir.file("stary.qvl"), fixture("stary.qvl"));
  LogDocument log;
  log.SaveFileName = dir.file("stary.qvl");
  TabulkaSynonym syn;
  const NacteniVysledek v = nactidata(log, syn);
  ASSERT_TRUE(v.ok);
  EXPECT_TRUE(v.chybiPopis);
  EXPECT_FALSE(v.doplndatum);
  EXPECT_EQ(log.PopisExpedice[kPopisLokator], "JO70GQ");  // taken from the own locator
  EXPECT_EQ(log.Denik.cell(1, kColVolacka), "Karel");
}

TEST(LogReader, FileThatCannotBeOpenedChangesNothing) {
  TempDir dir;
  Recorder rec;
  LogDocument log;
  log.Denik.appendRow(contact("1", "Petr", "JO80GQ", "141"));
  log.PopisExpedice[0] = "Sněžka";
  log.doplndatum = true;
  log.SaveFileName = dir.file("neni.qvl");
  const LogDocument before = log;
  TabulkaSynonym syn;
  EXPECT_FALSE(nactidata(log, syn).ok);
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(rec.texts[0], "Soubor " + dir.file("neni.qvl") + " nebyl nalezen !");
  EXPECT_EQ(log.Denik.rows(), before.Denik.rows());
  EXPECT_EQ(log.PopisExpedice, before.PopisExpedice);
  EXPECT_TRUE(log.doplndatum);
  EXPECT_TRUE(log.nacteno);
}

TEST(LogReader, EmptyFileGivesAnEmptyLog) {
  LogDocument log;
  log.Denik.appendRow(contact("1", "Petr", "JO80GQ", "141"));
  parseLog("", log);
  EXPECT_EQ(log.Denik.rowCount(), 1);
  EXPECT_EQ(log.Denik.cell(0, kColVolacka), "Volačka");
  EXPECT_EQ(log.PocetSpojeni, 0);
}

TEST(LogReader, SortsByNumberAfterReading) {
  LogDocument log;
  TempDir dir;
  writeFile(dir.file("d.qvl"), "JO70GQ;" + kTitles + "\r\nJO70GQ;10;;;B;;;;;\r\nJO70GQ;9;;;A;;;;;\r\n");
  log.SaveFileName = dir.file("d.qvl");
  TabulkaSynonym syn;
  ASSERT_TRUE(nactidata(log, syn).ok);
  EXPECT_EQ(log.Denik.cell(1, kColCislo), "9");
  EXPECT_EQ(log.Denik.cell(2, kColCislo), "10");
  EXPECT_EQ(log.SetridenoPodle, 0);
}

TEST(LogReader, OldDescriptionFileIsFoldedInAndDeleted) {
  TempDir dir;
  Recorder rec;
  writeFile(dir.file("stary.qvl"), fixture("stary.qvl"));
  std::string exp;
  for (int i = 1; i <= 13; ++i) exp += "pole " + std::to_string(i) + (i == 7 ? ";x" : "") + "\r\n";
  writeFile(dir.file("stary.EXP"), exp);
  LogDocument log;
  log.SaveFileName = dir.file("stary.qvl");
  TabulkaSynonym syn;
  const NacteniVysledek v = nactidata(log, syn);
  ASSERT_TRUE(v.ok);
  EXPECT_TRUE(v.prevedenoExp);
  EXPECT_FALSE(platform::fileExists(dir.file("stary.EXP")));
  EXPECT_EQ(log.PopisExpedice[0], "pole 1");
  const std::string written = *readWholeFile(dir.file("stary.qvl"));
  EXPECT_EQ(written.substr(0, written.find("\r\n")),
            "JO70GQ;" + kTitles + "pole 1;pole 2;pole 3;pole 4;pole 5;pole 6;pole 7,x;pole 8;"
            "pole 9;pole 10;pole 11;pole 12;pole 13;");
  ASSERT_EQ(rec.texts.size(), 2u);
  EXPECT_EQ(rec.texts[0], "Čekej prosím, kliknutím spustíš převod deníku na novou verzi.");
  EXPECT_EQ(rec.texts[1],
            "Hotovo, převod deníku na novou verzi dokončen, je možno pokračovat v práci s programem.");
}

TEST(LogReader, EmptyDescriptionFileIsOnlyDeleted) {
  TempDir dir;
  Recorder rec;
  writeFile(dir.file("d.exp"), "");
  LogDocument log;
  EXPECT_FALSE(PrevodEXP(log, dir.file("d.exp")));
  EXPECT_FALSE(platform::fileExists(dir.file("d.exp")));
  EXPECT_TRUE(rec.texts.empty());
}

TEST(LogCommands, SafetyCopyName) {
  platform::DateTime t;
  t.year = 2026, t.month = 12, t.day = 9, t.hour = 7, t.minute = 5, t.second = 9;
  EXPECT_EQ(nazevBezpecnostniKopie("/data", t), "/data/zaloha_9_12_2026_7_05_09");
}

TEST(LogCommands, NewLogCancelledWritesSafetyCopyOnlyWithContacts) {
  TempDir dir;
  Recorder rec;
  LogDocument log;
  log.SaveFileName = dir.file("d.qvl");
  ASSERT_TRUE(NovyDenik(log, std::nullopt, dir.path()));
  EXPECT_TRUE(rec.texts.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

  log.Denik.appendRow(contact("1", "Petr", "JO80GQ", "141"));
  log.Denik.appendRow(contact("2", "Karel", "JO60GQ", "141"));
  log.PopisExpedice[0] = "Sněžka";
  ASSERT_TRUE(NovyDenik(log, std::nullopt, dir.path()));
  ASSERT_EQ(rec.texts.size(), 1u);
  const std::string& m = rec.texts[0];
  const std::string head = "Data deníku jsou uložena v souboru :\r\n\r\n";
  ASSERT_EQ(m.substr(0, head.size()), head);
  const std::string path = m.substr(head.size(), m.find("\r\n\r\nŘádků") - head.size());
  EXPECT_EQ(m.substr(head.size() + path.size()), "\r\n\r\nŘádků v deníku : 2");
  EXPECT_EQ(path.substr(0, dir.path().size() + 8), dir.path() + "/zaloha_");
  const auto copy = readWholeFile(path + ".qvl");
  ASSERT_TRUE(copy);
  EXPECT_NE(copy->find("Sněžka"), std::string::npos);

  // The log is empty and unnamed now.
  EXPECT_EQ(log.Denik.rowCount(), 1);
  EXPECT_TRUE(log.SaveFileName.empty());
  EXPECT_TRUE(log.lokportable.empty());
  EXPECT_EQ(log.PopisExpedice, Popis{});
  EXPECT_EQ(log.cisspoj, "1");
}

TEST(LogCommands, NewLogConfirmedSavesTheOldOneThere) {
  TempDir dir;
  LogDocument log;
  log.Denik.appendRow(contact("1", "Petr", "JO80GQ", "141"));
  ASSERT_TRUE(NovyDenik(log, dir.file("stary.qvl"), dir.path()));
  EXPECT_NE(readWholeFile(dir.file("stary.qvl"))->find(";Petr;"), std::string::npos);
  EXPECT_EQ(log.Denik.rowCount(), 1);
}

TEST(LogCommands, NewLogKeepsTheLogWhenItCannotBeSaved) {
  TempDir dir;
  Recorder rec;
  LogDocument log;
  log.Denik.appendRow(contact("1", "Petr", "JO80GQ", "141"));
  log.SaveFileName = dir.file("d.qvl");
  EXPECT_FALSE(NovyDenik(log, dir.file("chybi/novy.qvl"), dir.path()));
  EXPECT_EQ(log.Denik.rowCount(), 2);
  EXPECT_EQ(log.SaveFileName, dir.file("d.qvl"));
  EXPECT_FALSE(NovyDenik(log, std::nullopt, dir.file("chybi")));
  EXPECT_EQ(log.Denik.rowCount(), 2);
}

TEST(LogCommands, SaveTakesTheChosenNameWithQvl) {
  TempDir dir;
  Recorder rec;
  LogDocument log;
  log.Denik.appendRow(contact("1", "Petr", "JO80GQ", "141"));
  ASSERT_TRUE(UlozJakoQVL(log, dir.file("vymena.csv"), dir.path()));
  EXPECT_EQ(log.SaveFileName, dir.file("vymena.qvl"));
  EXPECT_TRUE(platform::fileExists(dir.file("vymena.qvl")));
  EXPECT_FALSE(UlozJakoQVL(log, std::nullopt, dir.path()));  // safety copy
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_NE(rec.texts[0].find("Řádků v deníku : 1"), std::string::npos);
}

TEST(LogCommands, OpenKeepsACopyOfThePreviousLogAndItsPathOnFailure) {
  TempDir dir;
  Recorder rec;
  TabulkaSynonym syn;
  writeFile(dir.file("expedice.qvl"), fixture("expedice.qvl"));
  LogDocument log;
  log.SaveFileName = dir.file("puvodni.qvl");
  log.Denik.appendRow(contact("1", "Petr", "JO80GQ", "141"));

  EXPECT_FALSE(NactiDataQVL(log, std::nullopt, dir.path(), syn).ok);
  EXPECT_TRUE(rec.texts.empty());

  EXPECT_FALSE(NactiDataQVL(log, dir.file("neni.qvl"), dir.path(), syn).ok);
  EXPECT_EQ(log.SaveFileName, dir.file("puvodni.qvl"));
  EXPECT_EQ(log.Denik.cell(1, kColVolacka), "Petr");
  ASSERT_EQ(rec.texts.size(), 2u);  // safety copy, not found
  EXPECT_EQ(rec.texts[0].substr(0, 48), "Data předchozího deníku jsou uložena v souboru :");
  EXPECT_EQ(rec.texts[0].substr(rec.texts[0].size() - 2), "\r\n");

  const NacteniVysledek v = NactiDataQVL(log, dir.file("expedice.qvl"), dir.path(), syn);
  ASSERT_TRUE(v.ok);
  EXPECT_EQ(log.SaveFileName, dir.file("expedice.qvl"));
  EXPECT_EQ(log.PocetSpojeni, 5);
}

// An old log opened as ".csv" is written as ".qvl" from its first contact
// on: its path is the file it is written to, so that the next start reads
// the contacts stored since.
TEST(LogCommands, ALogOpenedAsCsvKeepsItsQvlNameAsItsPath) {
  TempDir dir;
  Recorder rec;
  TabulkaSynonym syn;
  const std::string csv = fixture("expedice.qvl");
  writeFile(dir.file("stary.csv"), csv);
  LogDocument log;
  log.ZalohaFileName = dir.file("zaloha.qvl");
  ASSERT_TRUE(NactiDataQVL(log, dir.file("stary.csv"), dir.path(), syn).ok);
  EXPECT_EQ(log.SaveFileName, dir.file("stary.qvl"));

  ulozNoveSpojeni(log, contact("6", "Novák", "JO80GQ", "141"), log.SaveFileName, log.ZalohaFileName);
  EXPECT_EQ(readWholeFile(dir.file("stary.csv")), csv);
  EXPECT_EQ(readWholeFile(dir.file("stary.qvl")), formatLog(log));

  // The next start reads what SaveFileName names.
  LogDocument next;
  next.SaveFileName = log.SaveFileName;
  ASSERT_TRUE(nactidata(next, syn).ok);
  EXPECT_EQ(next.PocetSpojeni, 6);
  EXPECT_EQ(next.Denik.cell(6, kColVolacka), "Novák");
}

TEST(LogCommands, CrashBackupWritesAndReadsBackBesideTheLog) {
  TempDir dir;
  TabulkaSynonym syn;
  LogDocument log;
  log.SaveFileName = dir.file("d.qvl");
  log.ZalohaFileName = dir.file("zaloha.qvl");
  log.Denik.appendRow(contact("1", "Petr", "JO80GQ", "141"));
  ASSERT_TRUE(ulozdata(log, log.SaveFileName));
  ASSERT_TRUE(ulozZalohu(log));
  log.Denik.appendRow(contact("2", "Karel", "JO60GQ", "141"));
  ASSERT_TRUE(ulozZalohu(log));
  EXPECT_TRUE(platform::fileExists(dir.file("zaloha.bak")));

  LogDocument back;
  back.SaveFileName = dir.file("d.qvl");
  back.ZalohaFileName = dir.file("zaloha.qvl");
  ASSERT_TRUE(nactiZalohu(back, syn).ok);
  EXPECT_EQ(back.PocetSpojeni, 2);
  EXPECT_EQ(back.SaveFileName, dir.file("d.qvl"));
  EXPECT_EQ(back.Denik.rows(), log.Denik.rows());
}

TEST(LogCommands, CsvLogsAreRenamedWhenTheyStartWithALocator) {
  TempDir dir;
  writeFile(dir.file("a.csv"), "JO70GQ;poř.;\r\n");
  writeFile(dir.file("b.CSV"), "JN99JM;1;\r\n");
  writeFile(dir.file("titulky.csv"), "poř.;čas;\r\n");
  writeFile(dir.file("c.csv"), "JO70GQ;\r\n");
  writeFile(dir.file("c.qvl"), "existing");  // never replaced
  EXPECT_EQ(CSVprejmenujQVL(dir.path()), 2);
  EXPECT_TRUE(platform::fileExists(dir.file("a.qvl")));
  EXPECT_TRUE(platform::fileExists(dir.file("b.qvl")));
  EXPECT_TRUE(platform::fileExists(dir.file("titulky.csv")));
  EXPECT_TRUE(platform::fileExists(dir.file("c.csv")));
  EXPECT_EQ(*readWholeFile(dir.file("c.qvl")), "existing");

  // The one that could not be renamed is named to whoever asks.
  writeFile(dir.file("d.csv"), "JO70PO;1;\r\n");
  writeFile(dir.file("d.qvl"), "existing");
  std::vector<std::pair<std::string, std::string>> failed;
  EXPECT_EQ(CSVprejmenujQVL(dir.path(), [&](const std::string& from, const std::string& to) {
              failed.emplace_back(from, to);
            }),
            0);
  EXPECT_EQ(failed, (std::vector<std::pair<std::string, std::string>>{
                        {dir.file("c.csv"), dir.file("c.qvl")}, {dir.file("d.csv"), dir.file("d.qvl")}}));
}

TEST(LogCommands, ScrollToTheEnd) {
  // rows, height, row height, current top -> top
  EXPECT_EQ(PosunNaKonecHorniRadek(100, 250, 25, 1), 92);  // 9 visible
  EXPECT_EQ(PosunNaKonecHorniRadek(5, 250, 25, 1), 1);
}

}  // namespace
}  // namespace vektrano
