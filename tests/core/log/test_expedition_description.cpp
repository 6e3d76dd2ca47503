// The expedition description: typing rules, the one-shot description file,
// the times from the log, and the confirm that names and saves a new log.
#include "core/log/expedition_description.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "core/log/log_file.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/file_faults.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;
using platform::readWholeFile;
using test::TempDir;

using Recorder = test::MessageRecorder;

const platform::DateTime kNow{2008, 4, 8, 14, 5, 33};
const std::string kRefused =
    "Je nutno vyplnit alespoň název expedice, název místa vysílání\r\n\r\n a lokátor, bez toho "
    "není možno založit nový deník.";

Popis hora() {
  return {"Hora 2008", "Kozákov", "JO70PO", "520", "8.4.2008 14:05:33", "",
          "OK1AB",     "OK2CD",   "FT-8",   "GP", "FM",                 "27 MHz", "vítr"};
}

void writeFile(const std::string& path, const std::string& data) {
  ASSERT_TRUE(platform::writeFileAtomic(path, data));
}

TEST(DescriptionTyping, SemicolonsAndLocatorConversion) {
  const KeyboardOptions cz{true, false};
  const KeyboardOptions sk{false, true};
  struct Case {
    int index;
    std::string typed;
    KeyboardOptions keyboard;
    std::optional<std::string> shown;  // nothing: left as typed
  } cases[] = {
      {0, "Hora; 2008;", cz, "Hora, 2008,"},
      {12, ";", cz, ","},
      {0, "Hora 2008", cz, std::nullopt},
      {2, "jo70po", cz, "JO70PO"},
      {2, "JOýéPO", cz, "JO70PO"},  // digit-row letters for 7 and 0
      {2, "joěřpo", cz, "JO25PO"},
      {2, "joěřpo", sk, std::nullopt},  // ě ř are digits only on the Czech layout
      {2, "JO70PO", cz, std::nullopt},
      {2, "jo70p", cz, std::nullopt},   // no valid locator yet: as typed
      {2, "jo7;po", cz, "jo7,po"},      // the semicolon rule still applies
      {1, "jo70po", cz, std::nullopt},  // only the locator edit converts
  };
  for (const auto& c : cases)
    EXPECT_EQ(upravaPole(c.index, c.typed, c.keyboard), c.shown) << c.index << " " << c.typed;
}

class DescriptionConfirm : public ::testing::Test {
 protected:
  TempDir dir_;
  Recorder messages_;
  LogDocument log_;
  std::string data_ = dir_.path();
};

TEST_F(DescriptionConfirm, MissingNamePlaceOrLocatorIsRefusedWithFocusOnFirstMissing) {
  struct Case {
    std::string name, place, locator;
    int focus;
  } cases[] = {
      {"", "", "", kPopisNazev},
      {"   ", "Kozákov", "JO70PO", kPopisNazev},  // blanks only count as empty
      {"Hora", " ", "JO70PO", kPopisMisto},
      {"Hora", "Kozákov", "JO70P", kPopisLokator},
      {"Hora", "Kozákov", "jo70po", kPopisLokator},  // lower case is no locator
      {"Hora", "", "xx", kPopisMisto},
  };
  for (const auto& c : cases) {
    messages_.texts.clear();
    Popis p = hora();
    p[kPopisNazev] = c.name;
    p[kPopisMisto] = c.place;
    p[kPopisLokator] = c.locator;
    const auto v = potvrdPopis(log_, p, data_);
    EXPECT_EQ(v.vysledek, Potvrzeni::Chybi) << c.name << "|" << c.place << "|" << c.locator;
    EXPECT_EQ(v.fokus, c.focus) << c.name << "|" << c.place << "|" << c.locator;
    EXPECT_EQ(messages_.texts, std::vector<std::string>{kRefused});
  }
  EXPECT_EQ(log_.PopisExpedice, Popis{});
  EXPECT_EQ(log_.lokportable, "JO70GQ");
  EXPECT_TRUE(log_.SaveFileName.empty());
  EXPECT_TRUE(fs::is_empty(dir_.path()));
}

TEST_F(DescriptionConfirm, EmptyLogIsNamedAndWrittenByteExact) {
  const auto v = potvrdPopis(log_, hora(), data_);
  ASSERT_EQ(v.vysledek, Potvrzeni::Ulozeno);
  const std::string path = data_ + "/HORA_2008_JO70PO_KOZAKOV_8_4_2008_14_05_33.qvl";
  EXPECT_EQ(log_.SaveFileName, path);
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{"Nový deník se ukládá pod názvem :\r\n\r\n" + path});
  EXPECT_EQ(readWholeFile(path),
            "JO70PO;poř.;čas;RV;Volačka;RP;Lokátor;km;pozn;Hora 2008;Kozákov;JO70PO;520;"
            "8.4.2008 14:05:33;;OK1AB;OK2CD;FT-8;GP;FM;27 MHz;vítr;\r\n");
  EXPECT_EQ(log_.PopisExpedice, hora());
  EXPECT_EQ(log_.lokportable, "JO70PO");
  EXPECT_EQ(v.memo1, "Hora 2008, Kozákov, 520, OK1AB, OK2CD");
}

TEST_F(DescriptionConfirm, ExistingLogIsNeverReplacedByANewOne) {
  const std::string base = data_ + "/HORA_2008_JO70PO_KOZAKOV_8_4_2008_14_05_33";
  writeFile(base + ".qvl", "older log\r\n");
  EXPECT_EQ(novyNazevDeniku(hora(), data_), base + "_2.qvl");
  writeFile(base + "_2.qvl", "another\r\n");
  EXPECT_EQ(novyNazevDeniku(hora(), data_), base + "_3.qvl");

  ASSERT_EQ(potvrdPopis(log_, hora(), data_).vysledek, Potvrzeni::Ulozeno);
  EXPECT_EQ(log_.SaveFileName, base + "_3.qvl");
  EXPECT_EQ(readWholeFile(base + ".qvl"), "older log\r\n");
  EXPECT_EQ(readWholeFile(base + "_2.qvl"), "another\r\n");
  EXPECT_TRUE(platform::fileExists(base + "_3.qvl"));
}

TEST_F(DescriptionConfirm, NameCharactersBecomeUnderscoresAndAreFolded) {
  Popis p = hora();
  p[kPopisNazev] = "Ďáblice+Žďár?*";
  p[kPopisMisto] = "Wysoká;hora/vrch";
  p[kPopisZacatek] = "1.5.2008 6:00";
  EXPECT_EQ(novyNazevDeniku(p, data_),
            data_ + "/DABLICE_ZDAR___JO70PO_VISOKA_HORA_VRCH_1_5_2008_6_00.qvl");
}

TEST_F(DescriptionConfirm, OpenLogKeepsItsNameAndOnlyItsFirstLineChanges) {
  log_.SaveFileName = data_ + "/stary.qvl";
  log_.lokportable = "JO70PO";
  log_.Denik.appendRow({"1", "07:05", "59", "Pavel", "57", "JO80GQ", "", ""});
  ASSERT_TRUE(ulozdata(log_, log_.SaveFileName));
  const std::string before = *readWholeFile(log_.SaveFileName);

  Popis p = hora();
  p[kPopisMisto] = "Ještěd";
  ASSERT_EQ(potvrdPopis(log_, p, data_).vysledek, Potvrzeni::Ulozeno);
  EXPECT_EQ(log_.SaveFileName, data_ + "/stary.qvl");
  EXPECT_TRUE(messages_.texts.empty());
  const std::string after = *readWholeFile(log_.SaveFileName);
  EXPECT_NE(after.substr(0, after.find("\r\n")), before.substr(0, before.find("\r\n")));
  EXPECT_EQ(after.substr(after.find("\r\n")), before.substr(before.find("\r\n")));
  EXPECT_FALSE(platform::fileExists(novyNazevDeniku(p, data_)));
}

TEST_F(DescriptionConfirm, FailedWriteLeavesTheLogUnnamed) {
  test::FileFaults faults;
  faults.fail(platform::FileStep::Write, ENOSPC);
  const auto v = potvrdPopis(log_, hora(), data_);
  EXPECT_EQ(v.vysledek, Potvrzeni::ChybaZapisu);
  EXPECT_TRUE(log_.SaveFileName.empty());
  EXPECT_EQ(log_.PopisExpedice, Popis{});
  EXPECT_EQ(log_.lokportable, "JO70GQ");
  ASSERT_EQ(messages_.texts.size(), 2u);
  EXPECT_EQ(messages_.texts[1].rfind("Chyba I/O při ukládání záložního souboru : ", 0), 0u);
  EXPECT_TRUE(fs::is_empty(dir_.path()));
}

TEST_F(DescriptionConfirm, HostileFieldsGiveOneFileInTheDataFolder) {
  struct Case {
    std::string name, place;
  } cases[] = {
      {std::string(300, 'A'), "Kozákov"},  // beyond any file-name length: cut
      {"..\\..\\etc", "x"},
      {std::string("a\0b", 3), "\x01\x7f"},
      {"Hora", std::string(400, '\x9A')},
  };
  for (const Case& c : cases) {
    TempDir dir;
    LogDocument log;
    Popis p = hora();
    p[kPopisNazev] = c.name;
    p[kPopisMisto] = c.place;
    ASSERT_EQ(potvrdPopis(log, p, dir.path()).vysledek, Potvrzeni::Ulozeno) << c.name.substr(0, 20);
    EXPECT_EQ(platform::fsPath(log.SaveFileName).parent_path(), platform::fsPath(dir.path()));
    EXPECT_TRUE(platform::fileExists(log.SaveFileName));
    EXPECT_EQ(log.PopisExpedice[kPopisNazev], c.name);  // the description keeps its bytes
  }
}

TEST_F(DescriptionConfirm, NumberingGivesUpWithTheWriteMessage) {
  const std::string base = data_ + "/HORA_2008_JO70PO_KOZAKOV_8_4_2008_14_05_33";
  std::ofstream(platform::fsPath(base + ".qvl"));
  for (int n = 2; n <= kMaxCisloNovehoDeniku; ++n)
    std::ofstream(platform::fsPath(base + "_" + std::to_string(n) + ".qvl"));
  EXPECT_EQ(novyNazevDeniku(hora(), data_), "");
  const auto v = potvrdPopis(log_, hora(), data_);
  EXPECT_EQ(v.vysledek, Potvrzeni::ChybaZapisu);
  EXPECT_TRUE(log_.SaveFileName.empty());
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Chyba I/O při ukládání záložního souboru : " + base + ".qvl"});
}

// Found by fuzzing: a name field holding a NUL byte cut every file name at
// it, every candidate named the data folder itself, and the numbering never
// ended. The log title line and the description file of the report.
std::string fixture(const std::string& name) {
  return *readWholeFile(std::string(VEKTRANO_SOURCE_DIR) + "/tests/core/log/data/log/" + name);
}

TEST_F(DescriptionConfirm, NulInTheNameOfALogTitleLineIsLeftOutOfTheFileName) {
  parseLog(fixture("nul_name.qvl"), log_);
  ASSERT_EQ(log_.PopisExpedice[kPopisNazev], std::string(1, '\0'));
  log_.SaveFileName.clear();
  const Popis shown = naplnPopis(log_, {}, kNow);
  ASSERT_EQ(potvrdPopis(log_, shown, data_).vysledek, Potvrzeni::Ulozeno);
  EXPECT_EQ(log_.SaveFileName, data_ + "/_JO70GQ_X_8_4_2008_14_05_33.qvl");
  const std::string titleLine("JO70GQ;a;b;c;d;e;f;g;h;\0;x;JO70GQ;", 34);
  EXPECT_EQ(readWholeFile(log_.SaveFileName)->substr(0, titleLine.size()), titleLine);
}

TEST_F(DescriptionConfirm, NulInTheDescriptionFileIsLeftOutOfTheFileName) {
  const std::string exp = predavaciSoubor(dir_.path() + "/program");
  fs::create_directories(platform::fsPath(dir_.path() + "/program"));
  writeFile(exp, fixture("nul_name.exp"));
  const Popis shown = naplnPopis(log_, exp, kNow);
  ASSERT_EQ(shown[kPopisNazev], std::string("\0Hora 2008", 10));
  ASSERT_EQ(potvrdPopis(log_, shown, data_).vysledek, Potvrzeni::Ulozeno);
  EXPECT_EQ(log_.SaveFileName, data_ + "/HORA_2008_JO70PO_KOZAKOV_8_4_2008_14_05_33.qvl");
  EXPECT_TRUE(platform::fileExists(log_.SaveFileName));
  EXPECT_EQ(log_.PopisExpedice[kPopisNazev], std::string("\0Hora 2008", 10));
}

class DescriptionHandOver : public ::testing::Test {
 protected:
  TempDir dir_;
  Recorder messages_;
  LogDocument log_;
  std::string path_ = predavaciSoubor(dir_.path());
};

TEST_F(DescriptionHandOver, ThreeLinesFillTheFirstEditsAndTheFileIsGone) {
  writeFile(path_, "Sněžka; zima\r\nPec\nJO70PO\r\n");
  const Popis p = naplnPopis(log_, path_, kNow);
  EXPECT_EQ(p[0], "Sněžka, zima");
  EXPECT_EQ(p[1], "Pec");
  EXPECT_EQ(p[2], "JO70PO");
  EXPECT_EQ(p[3], "");
  EXPECT_EQ(p[kPopisZacatek], "8.4.2008 14:05:33");
  EXPECT_EQ(p[12], "");
  EXPECT_FALSE(fs::exists(platform::fsPath(path_)));
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(DescriptionHandOver, EmptyFileIsDeletedWithoutReading) {
  writeFile(path_, "");
  Popis expected{};
  expected[kPopisZacatek] = "8.4.2008 14:05:33";
  EXPECT_EQ(naplnPopis(log_, path_, kNow), expected);
  EXPECT_FALSE(fs::exists(platform::fsPath(path_)));
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(DescriptionHandOver, UnreadableFileIsReportedAndKept) {
  fs::create_directories(platform::fsPath(path_));
  writeFile(path_ + "/inside", "x");
  log_.PopisExpedice[3] = "   ";  // blanks only: still an empty description
  const Popis p = naplnPopis(log_, path_, kNow);
  EXPECT_EQ(p[3], "   ");
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Chyba I/O při čtení souboru : " + path_});
  EXPECT_TRUE(fs::exists(platform::fsPath(path_)));
}

TEST_F(DescriptionHandOver, LogWithADescriptionLeavesTheFileAlone) {
  writeFile(path_, "Jiná\r\n");
  log_.PopisExpedice = hora();
  log_.PopisExpedice[kPopisZacatek] = "";
  const Popis p = naplnPopis(log_, path_, kNow);
  EXPECT_EQ(p[0], "Hora 2008");
  EXPECT_EQ(p[kPopisZacatek], "8.4.2008 14:05:33");
  EXPECT_EQ(p[kPopisKonec], "");
  EXPECT_TRUE(platform::fileExists(path_));
}

TEST(DescriptionTimes, LowestAndHighestNumberOfALogSortedByAnotherColumn) {
  LogDocument log;
  std::string start = "8.4.2008", end;
  EXPECT_FALSE(doplnCasyZdeniku(log, start, end));

  // Sorted by call sign: the first row is not the first contact.
  log.Denik.appendRow({"2", "14:20", "59", "Adam", "57", "", "", ""});
  log.Denik.appendRow({"10", "16:45", "59", "Bohouš", "57", "", "", ""});
  log.Denik.appendRow({"1", "14:06", "59", "Cyril", "57", "", "", ""});
  log.Denik.appendRow({"9", "16:30", "59", "David", "57", "", "", ""});
  EXPECT_TRUE(doplnCasyZdeniku(log, start, end));
  EXPECT_EQ(start, "8.4.2008 { 14:06 }");
  EXPECT_EQ(end, " { 16:45 }");
  EXPECT_FALSE(doplnCasyZdeniku(log, start, end));
  EXPECT_EQ(start, "8.4.2008 { 14:06 }");
  EXPECT_EQ(end, " { 16:45 }");
}

}  // namespace
}  // namespace vektrano
