// Editing commands of the log grid.
#include <gtest/gtest.h>

#include <functional>

#include "core/log/log_editing.h"
#include "core/log/log_file.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"
#include "tests/support/message_recorder.h"

namespace vektrano {
namespace {

// Questions are answered Yes unless a test says otherwise.
struct Recorder : test::MessageRecorder {
  Recorder() { answer = platform::Answer::Yes; }
};

// Rows written as "number;time;RV;call;RP;locator;km;note".
using Rows = std::vector<std::string>;

LogDocument logOf(const Rows& rows) {
  LogDocument log;
  for (const std::string& line : rows) {
    Grid::Row row;
    size_t from = 0;
    for (int c = 0; c < kLogColumns; ++c) {
      const size_t semi = line.find(';', from);
      row.push_back(line.substr(from, semi == std::string::npos ? std::string::npos : semi - from));
      from = semi == std::string::npos ? line.size() : semi + 1;
    }
    log.Denik.appendRow(row);
  }
  if (log.Denik.rowCount() > 1) log.Denik.setFixedRows(1);
  log.PocetSpojeni = log.contactCount();
  return log;
}

Rows rowsOf(const LogDocument& log) {
  Rows out;
  for (int r = 1; r < log.Denik.rowCount(); ++r) {
    std::string line;
    for (int c = 0; c < kLogColumns; ++c) line += (c ? ";" : "") + log.Denik.cell(r, c);
    out.push_back(line);
  }
  return out;
}

const Rows kPet = {"1;10:00;59;OK1AA;59;JO60LJ;120;", "2;10:01;57;OK1BB;58;JO70PO;80;",
                   "3;10:02;59;OK1CC .#_dupl_4;59;JN79US;150;,x",
                   "4;10:03;55;OK1CC/P .#_dupl_3;55;JO70GQ;0;", "5;10:04;59;OK1EE;59;JO80AA;200;"};

TEST(LogEditRows, DeleteInsertAndSwapKeepTheNumbering) {
  using Cmd = std::function<bool(LogDocument&, int)>;
  struct Case {
    const char* what;
    Rows before;
    Cmd cmd;
    int radek;
    bool changed;
    Rows after;
    std::vector<std::string> messages;
  } cases[] = {
      {"delete row 2",
       kPet,
       OdstranRadek,
       2,
       true,
       {"1;10:00;59;OK1AA;59;JO60LJ;120;", "2;10:02;59;OK1CC .#_dupl_4;59;JN79US;150;,x",
        "3;10:03;55;OK1CC/P .#_dupl_3;55;JO70GQ;0;", "4;10:04;59;OK1EE;59;JO80AA;200;"},
       {}},
      {"delete a duplicate",
       kPet,
       OdstranRadek,
       3,
       true,
       {"1;10:00;59;OK1AA;59;JO60LJ;120;", "2;10:01;57;OK1BB;58;JO70PO;80;",
        "3;10:03;55;OK1CC/P .#_dupl_3;55;JO70GQ;0;", "4;10:04;59;OK1EE;59;JO80AA;200;"},
       {"Řádek odstraněn. Proveď novou kontrolu duplicit..."}},
      {"delete the last", {"1;a;;A;;;;", "2;b;;B;;;;"}, OdstranRadek, 2, true, {"1;a;;A;;;;"}, {}},
      {"delete without a row", {"1;a;;A;;;;"}, OdstranRadek, 0, false, {"1;a;;A;;;;"}, {}},
      {"delete outside", {"1;a;;A;;;;"}, OdstranRadek, 5, false, {"1;a;;A;;;;"}, {}},
      {"insert at row 2",
       {"1;a;;A;;;;", "2;b;;B;;;;", "3;c;;C;;;;"},
       VlozPrazdnyRadek,
       2,
       true,
       {"1;a;;A;;;;", "2;;;;;;;", "3;b;;B;;;;", "4;c;;C;;;;"},
       {}},
      {"insert without a row",
       {"1;a;;A;;;;"},
       VlozPrazdnyRadek,
       0,
       true,
       {"1;;;;;;;", "2;a;;A;;;;"},
       {}},
      {"insert into an empty log", {}, VlozPrazdnyRadek, 0, true, {"1;;;;;;;"}, {}},
      {"swap with the next",
       {"1;a;59;A;55;JO70GQ;0;,n", "2;b;57;B;58;JN79US;99;"},
       ProhodSNasledujicim,
       1,
       true,
       {"1;b;57;B;58;JN79US;99;", "2;a;59;A;55;JO70GQ;0;,n"},
       {}},
      {"swap the last with the next",
       {"1;a;;A;;;;", "2;b;;B;;;;"},
       ProhodSNasledujicim,
       2,
       false,
       {"1;a;;A;;;;", "2;b;;B;;;;"},
       {"Není žádný následující řádek se kterým bych tento mohl prohodit..."}},
      {"swap with the previous",
       {"1;a;;A;;;;", "2;b;;B;;;;", "3;c;;C;;;;"},
       ProhodSPredchozim,
       3,
       true,
       {"1;a;;A;;;;", "2;c;;C;;;;", "3;b;;B;;;;"},
       {}},
      {"swap the first with the previous",
       {"1;a;;A;;;;", "2;b;;B;;;;"},
       ProhodSPredchozim,
       1,
       false,
       {"1;a;;A;;;;", "2;b;;B;;;;"},
       {"Není žádný předchozí řádek se kterým bych tento mohl prohodit..."}},
      {"swap without a row",
       {"1;a;;A;;;;"},
       ProhodSPredchozim,
       0,
       false,
       {"1;a;;A;;;;"},
       {"Není žádný předchozí řádek se kterým bych tento mohl prohodit..."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Recorder rec;
    LogDocument log = logOf(c.before);
    EXPECT_EQ(c.cmd(log, c.radek), c.changed);
    EXPECT_EQ(rowsOf(log), c.after);
    EXPECT_EQ(rec.texts, c.messages);
    EXPECT_EQ(log.PocetSpojeni, static_cast<int>(c.after.size()));
    EXPECT_EQ(log.Denik.fixedRows(), c.after.empty() ? 0 : 1);
  }
}

TEST(LogEditRows, DeleteUpdatesTheStatistics) {
  Recorder rec;
  LogDocument log = logOf(kPet);
  OdstranRadek(log, 5);
  EXPECT_EQ(log.cisspoj, "5");  // the next contact's number
  EXPECT_EQ(log.NejdelsiKm, 150);
  EXPECT_EQ(log.CelkemKm, 350);
}

TabulkaSynonym synonyma() {
  TabulkaSynonym t;
  t.add("František", "Franta");
  return t;
}

TEST(LogEditDuplicates, NeighboursAreMarkedWithTheOtherRowsNumber) {
  const std::string hotovo = "Hotovo. Počet nalezených duplicit = ";
  struct Case {
    const char* what;
    Rows before;  // already sorted by call sign
    Rows calls;   // call-sign cells after
    int pocet;
    int radek;
  } cases[] = {
      {"containment",
       {"1;;;OK1AB;;;;", "2;;;OK1AB/P;;;;", "3;;;OK2XY;;;;"},
       {"OK1AB .#_dupl_2", "OK1AB/P .#_dupl_1", "OK2XY"},
       1,
       2},
      {"familiar name",
       {"4;;;Franta Novák;;;;", "7;;;František Novák;;;;"},
       {"Franta Novák .#_dupl_7", "František Novák .#_dupl_4"},
       1,
       2},
      {"a row of three marks each row once",
       {"1;;;OK1AB;;;;", "2;;;OK1AB/P;;;;", "3;;;OK1AB;;;;"},
       {"OK1AB .#_dupl_2", "OK1AB/P .#_dupl_1", "OK1AB .#_dupl_2"},
       2,
       3},
      {"old marks go, notes stay",
       {"1;;;OK1AB .#_dupl_9 .azimut_90;;;;", "2;;;OK2XY .#_dupl_1;;;;", "3;;;OK3ZZ .#_;;;;"},
       {"OK1AB .azimut_90", "OK2XY", "OK3ZZ .#_"},
       0,
       0},
      {"empty call signs match nothing", {"1;;;;;;;", "2;;;;;;;"}, {"", ""}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Recorder rec;
    LogDocument log = logOf(c.before);
    log.SetridenoPodle = kColVolacka;
    const KontrolaDuplicitVysledek v = KontrolaDuplicit(log, synonyma());
    Rows calls;
    for (int r = 1; r < log.Denik.rowCount(); ++r) calls.push_back(log.Denik.cell(r, kColVolacka));
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(v.pocet, c.pocet);
    EXPECT_EQ(v.radekDuplicity, c.radek);
    EXPECT_EQ(rec.texts, std::vector<std::string>{hotovo + std::to_string(c.pocet)});
  }
}

TEST(LogEditDuplicates, UnsortedLogIsSortedByCallSignFirst) {
  Recorder rec;
  LogDocument log = logOf({"1;;;OK2XY;;;;", "2;;;OK1AB;;;;", "3;;;OK1AB/P;;;;"});
  const KontrolaDuplicitVysledek v = KontrolaDuplicit(log, synonyma());
  EXPECT_TRUE(v.zmeneno);
  EXPECT_EQ(log.SetridenoPodle, kColVolacka);
  EXPECT_EQ(rowsOf(log),
            (Rows{"2;;;OK1AB .#_dupl_3;;;;", "3;;;OK1AB/P .#_dupl_2;;;;", "1;;;OK2XY;;;;"}));
  ASSERT_EQ(rec.texts.size(), 2u);  // the sort's explanation, then the count
  EXPECT_EQ(rec.texts[1], "Hotovo. Počet nalezených duplicit = 1");
  // A second check finds the same and changes nothing.
  EXPECT_FALSE(KontrolaDuplicit(log, synonyma()).zmeneno);
}

TEST(LogEditNotes, ErrorNotesToggleInsertAndRemove) {
  Recorder rec;
  LogDocument log =
      logOf({"1;;;OK1AB;;;;", "2;;;OK2XY .#_dupl_3 .azimut_5;;;;", "3;;;OK3ZZ .#_ Karel;;;;"});
  EXPECT_EQ(PrepniChybovouPoznamku(log, 1), PrepnutiPoznamky::Pridana);
  EXPECT_EQ(log.Denik.cell(1, kColVolacka), "OK1AB .#_");
  EXPECT_EQ(PrepniChybovouPoznamku(log, 1), PrepnutiPoznamky::Odebrana);
  EXPECT_EQ(log.Denik.cell(1, kColVolacka), "OK1AB");
  EXPECT_EQ(PrepniChybovouPoznamku(log, 0), PrepnutiPoznamky::Nic);

  EXPECT_FALSE(VlozChybovouPoznamku(log, 2));  // already marked
  EXPECT_TRUE(SmazChybovouPoznamku(log, 2));
  EXPECT_EQ(log.Denik.cell(2, kColVolacka), "OK2XY .azimut_5");
  EXPECT_FALSE(SmazChybovouPoznamku(log, 2));
  EXPECT_TRUE(VlozChybovouPoznamku(log, 2));
  EXPECT_TRUE(rec.texts.empty());

  // A ".#" inside a word is no mark.
  EXPECT_FALSE(MaChybovouPoznamku("OK1.#AB"));

  EXPECT_EQ(OdstranChybovePoznamky(log), 2);
  EXPECT_EQ(rowsOf(log), (Rows{"1;;;OK1AB;;;;", "2;;;OK2XY .azimut_5;;;;", "3;;;OK3ZZ Karel;;;;"}));
  EXPECT_EQ(rec.texts, std::vector<std::string>{"Hotovo. Počet odstraněných popisek chyb = 2"});
}

TEST(LogEditNotes, ClearingTheNotesAsksFirst) {
  const std::string otazka =
      "Opravdu mám provést výmaz všech poznámek ve sloupci poznámky ?\r\n\r\n"
      "(Jedná se o nevratnou funkci !!!)";
  for (platform::Answer a : {platform::Answer::Yes, platform::Answer::No}) {
    Recorder rec;
    rec.answer = a;
    LogDocument log = logOf({"1;;;A;;;;,x ,y", "2;;;B;;;;"});
    const bool yes = a == platform::Answer::Yes;
    EXPECT_EQ(VymazPoznamky(log), yes);
    EXPECT_EQ(log.Denik.cell(1, kColPozn), yes ? "" : ",x ,y");
    EXPECT_EQ(log.Denik.cell(0, kColPozn), "pozn");
    std::vector<std::string> expected{otazka};
    if (yes) expected.push_back("Výmaz poznámek proveden.");
    EXPECT_EQ(rec.texts, expected);
  }
}

TEST(LogEditNotes, RecalculationCommandReports) {
  Recorder rec;
  LogDocument log = logOf({"1;10:00;59;OK1AB;59;JO 70 GQ;;a  b"});
  EXPECT_TRUE(ProvedPrepocet(log));
  EXPECT_EQ(log.Denik.cell(1, kColPozn), ",a ,b");
  EXPECT_EQ(log.Denik.cell(1, kColLokator), "JO70GQ");
  EXPECT_EQ(rec.texts,
            std::vector<std::string>{"Kontrola deníku provedena, přepočet vzdáleností proveden."});
}

TEST(LogEditDates, OneTimeCell) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"12:00", "[2.1.2008] 12:00"},
      {"12:00:00", "[2.1.2008] 12:00:00"},
      {"[1.1.2008] 12:00", "[2.1.2008] 12:00"},
      {"[1.1.2008] 12:00:00", "[2.1.2008] 12:00:00"},
      {"12:00:00 x", "? ? 12:00:00 x"},  // long without a date
      {"] 12:00 [x", "? ? ] 12:00 [x"},  // brackets the wrong way round
      {"", "[2.1.2008] "},
  };
  for (const Case& c : cases) EXPECT_EQ(DatumujCas(c.in, "2.1.2008"), c.out) << c.in;
}

TEST(LogEditDates, RangeOfTheDatePanel) {
  const Rows three = {"1;10:00;;A;;;;", "2;[1.1.2008] 11:00;;B;;;;", "3;12:00;;C;;;;"};
  const std::string bad = "Nesprávný rozsah čísel [0 ? ]";
  struct Case {
    const char* od;
    const char* po;
    bool changed;
    Rows times;
    std::vector<std::string> messages;
  } cases[] = {
      {"1",
       "3",
       true,
       {"[2.1.2008] 10:00", "[2.1.2008] 11:00", "[2.1.2008] 12:00"},
       {"Datum doplněn."}},
      {"3", "2", true, {"10:00", "[2.1.2008] 11:00", "[2.1.2008] 12:00"}, {"Datum doplněn."}},
      {"2", "4", false, {"10:00", "[1.1.2008] 11:00", "12:00"}, {}},
      {"x", "2", false, {"10:00", "[1.1.2008] 11:00", "12:00"}, {bad}},
      {"1", "", false, {"10:00", "[1.1.2008] 11:00", "12:00"}, {bad}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.od) + ".." + c.po);
    Recorder rec;
    LogDocument log = logOf(three);
    EXPECT_EQ(ZmenDatumu(log, c.od, c.po, "2.1.2008"), c.changed);
    Rows times;
    for (int r = 1; r < log.Denik.rowCount(); ++r) times.push_back(log.Denik.cell(r, kColCas));
    EXPECT_EQ(times, c.times);
    EXPECT_EQ(rec.texts, c.messages);
  }
  const DatovyPanel p = PripravDatovyPanel(logOf(three));
  EXPECT_EQ((std::array<int, 6>{p.od, p.odMin, p.odMax, p.po, p.poMin, p.poMax}),
            (std::array<int, 6>{1, 1, 2, 3, 2, 3}));
}

TEST(LogEditDates, RemovingTheDatesAsksAndUnticksTheOption) {
  const std::string otazka = "Nevratná operace - Opravdu odstranit datumy z aktuálního deníku?";
  struct Case {
    Rows rows;
    platform::Answer answer;
    bool done;
  } cases[] = {
      {{"1;[1.1.2008] 10:00;;A;;;;", "2;11:00;;B;;;;"}, platform::Answer::Yes, true},
      {{"1;[1.1.2008] 10:00;;A;;;;"}, platform::Answer::No, false},
      {{}, platform::Answer::Yes, false},
  };
  for (const Case& c : cases) {
    Recorder rec;
    rec.answer = c.answer;
    LogDocument log = logOf(c.rows);
    log.doplndatum = true;
    EXPECT_EQ(OdstranDatumy(log), c.done);
    EXPECT_EQ(log.doplndatum, !c.done);
    if (!c.rows.empty()) {
      EXPECT_EQ(log.Denik.cell(1, kColCas), c.done ? "10:00" : "[1.1.2008] 10:00");
    }
    std::vector<std::string> expected{otazka};
    if (c.done) expected.push_back("Datumy odstraněny.");
    EXPECT_EQ(rec.texts, expected);
  }
}

TEST(LogEditTexts, RowSummaryClipboardAndTextFile) {
  LogDocument log = logOf({"7;[2.1.2008] 12:00;59;OK1AB Karel;57;JO60LJ;120;,x"});
  log.lokportable = "JO70GQ";
  EXPECT_EQ(TitulekRadku(log, 1), "[ 7 > OK1AB Karel - JO60LJ : 120 km ] (,x)");
  EXPECT_EQ(SchrankaRadku(log, 1), "[7] 12:00 59 OK1AB Karel 57 JO60LJ ,x");
  EXPECT_EQ(TextRadku(log, 1),
            "Tvůj lokátor   : [ JO70GQ ]\r\n\r\n"
            "číslo deníku   : [ 7 ]\r\n"
            "datum a čas    : [ [2.1.2008] 12:00 ]\r\n"
            "report vyslaný : [ 59 ]\r\n"
            "volačka        : [ OK1AB Karel ]\r\n"
            "report přijatý : [ 57 ]\r\n"
            "lokátor        : [ JO60LJ ]\r\n"
            "vzdálenost     : [ 120 ]\r\n"
            "poznámka       : [ ,x ]\r\n");
  test::TempDir dir;
  Recorder rec;
  EXPECT_TRUE(UlozRadekDoTextu(log, 1, dir.file("vektrano.txt")));
  EXPECT_EQ(platform::readWholeFile(dir.file("vektrano.txt")), TextRadku(log, 1));
  EXPECT_FALSE(UlozRadekDoTextu(log, 0, dir.file("none.txt")));
  EXPECT_FALSE(UlozRadekDoTextu(log, 1, dir.file("missing/vektrano.txt")));
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_NE(rec.texts[0].find("missing/vektrano.txt"), std::string::npos);
}

TEST(LogEditSteps, TitleClicksStepThroughEqualNeighbours) {
  Recorder rec;
  LogDocument log = logOf({"1;;;OK1AB;;JN79US;;", "2;;;OK1AB/P;;JO60LJ;;", "3;;;OK2XY;;JO60LJ;;",
                           "4;;;OK3ZZ;;JO70GQ;;", "5;;;OK3ZZ;;JO70GQ;;"});
  int pozice = 0;
  EXPECT_EQ(DalsiShoda(log, kColLokator, pozice, {}), 2);
  EXPECT_EQ(DalsiShoda(log, kColLokator, pozice, {}), 4);
  EXPECT_EQ(DalsiShoda(log, kColLokator, pozice, {}), std::nullopt);
  EXPECT_EQ(pozice, 0);
  EXPECT_EQ(rec.texts,
            std::vector<std::string>{"Jsme na konci. Je možno začít opět od začátku ..."});
  EXPECT_EQ(DalsiShoda(log, kColVolacka, pozice, {}), 1);
  EXPECT_EQ(DalsiShoda(log, kColVolacka, pozice, {}), 4);
  EXPECT_EQ(DalsiShoda(logOf({"1;;;A;;;;"}), kColVolacka, pozice = 0, {}), std::nullopt);
}

TEST(LogEditSteps, LongestRowIsTheTopmost) {
  LogDocument log = logOf({"1;;;A;;;80;", "2;;;B;;;150;", "3;;;C;;;150;"});
  log.NejdelsiKm = 150;
  EXPECT_EQ(RadekNejdelsiho(log), 2);
  log.NejdelsiKm = 999;
  EXPECT_EQ(RadekNejdelsiho(log), 0);
}

TEST(LogEditColumns, NoteColumnTakesTheRestAfterAMouseRelease) {
  struct Case {
    int volacka, client;
    bool Zobrpoz;
    int poznamka;
  } cases[] = {
      {200, 700, true, 700 - 32 - 250 - 200},
      {100, 700, true, 700 - 32 - 250 - 150},  // the call sign keeps 150
      {400, 700, true, 50},                    // the notes keep 50
      {200, 700, false, 0},
  };
  for (const Case& c : cases) {
    const std::array<int, kLogColumns> sirky{35, 60, 25, c.volacka, 25, 66, 39, 999};
    EXPECT_EQ(SirkaPoznamkyPoUvolneni(sirky, c.client, c.Zobrpoz), c.poznamka) << c.volacka;
  }
}

TEST(LogEditSave, AnEditIsWrittenToTheLogAndTheCrashBackup) {
  test::TempDir dir;
  Recorder rec;
  LogDocument log = logOf({"1;10:00;59;OK1AB;59;JO60LJ;;"});
  log.SaveFileName = dir.file("denik.qvl");
  log.ZalohaFileName = dir.file("zaloha.qvl");
  ASSERT_TRUE(OdstranRadek(log, 1));
  EXPECT_TRUE(ulozPoUprave(log));
  const std::string expected = formatLog(log);
  EXPECT_EQ(platform::readWholeFile(log.SaveFileName), expected);
  EXPECT_EQ(platform::readWholeFile(log.ZalohaFileName), expected);

  // An unnamed log still gets its crash backup; a failed write is reported.
  log.SaveFileName.clear();
  log.ZalohaFileName = dir.file("missing/zaloha.qvl");
  EXPECT_FALSE(ulozPoUprave(log));
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_NE(rec.texts[0].find("missing/zaloha.qvl"), std::string::npos);
}

}  // namespace
}  // namespace vektrano
