// Enter in the entry line on a temporary program folder: what lands in the
// grid, in the log file and in the crash backup, byte for byte.
#include "core/entry/store_contact.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "core/base/geometry.h"
#include "core/log/log_file.h"
#include "core/log/recalculation.h"

#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "tests/support/file_faults.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

const std::string kTitleLine =
    "JO70GQ;poř.;čas;RV;Volačka;RP;Lokátor;km;pozn;;;;;;;;;;;;;;\r\n";

class StoreContact : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::setProgramFolder(dir.path());
    log.SaveFileName = dir.file("denik.qvl");
    log.ZalohaFileName = dir.file("zaloha.qvl");
    entryOptions.keyboard = {true, false};
    previous = platform::setMessageHandler([this](const platform::Message& m) {
      messages.push_back(m.text);
      return platform::Answer::Ok;
    });
  }
  void TearDown() override { platform::setMessageHandler(previous); }

  // Types the line, releases Enter and stores what the parser asked for.
  StoreResult enter(const std::string& typed) {
    const EntryResult r =
        vstupKeyUp(typed, static_cast<int>(typed.size()), {EntryKey::Enter}, entryOptions,
                   context(), state);
    EXPECT_TRUE(r.ulozit);
    return ulozSpojeni(r.text, options, log, state, vychoziTabulkaReportu(), now, startform5);
  }
  EntryContext context() const {
    EntryContext c;
    c.lokportable = log.lokportable;
    c.NejdelsiKm = log.NejdelsiKm;
    return c;
  }
  std::string file(const std::string& name) const {
    return platform::readWholeFile(dir.file(name)).value_or("<missing>");
  }

  test::TempDir dir;
  LogDocument log;
  EntryOptions entryOptions;
  EntryState state;
  StoreOptions options;
  platform::DateTime now{2026, 12, 9, 7, 5, 9, 0};
  Startform5 startform5;
  std::vector<std::string> messages;
  platform::MessageHandler previous;
};

TEST_F(StoreContact, RowAndFileLinesAreExact) {
  const StoreResult r = enter("59 57 jo70po 12:34 petr");
  ASSERT_TRUE(r.ulozeno);
  EXPECT_TRUE(r.zapsanDenik);
  EXPECT_TRUE(r.zapsanaZaloha);
  EXPECT_EQ(r.currentRow, 1);
  EXPECT_EQ(r.text, "");
  ASSERT_EQ(log.Denik.rowCount(), 2);
  EXPECT_EQ(log.Denik.fixedRows(), 1);
  EXPECT_EQ(log.Denik.row(1),
            (Grid::Row{"1", "12:34:00", "59", "Petr", "57", "JO70PO", "54", ""}));
  const std::string expected = kTitleLine + "JO70GQ;1;12:34:00;59;Petr;57;JO70PO;54;;\r\n";
  EXPECT_EQ(file("denik.qvl"), expected);
  EXPECT_EQ(file("zaloha.qvl"), expected);
  EXPECT_EQ(log.cisspoj, "2");
  EXPECT_EQ(log.PocetSpojeni, 1);
  EXPECT_TRUE(messages.empty());

  // The second contact: the previous file stays as ".bak".
  enter("55 JN99JM 1305 Jana");
  EXPECT_EQ(file("denik.qvl"),
            expected + "JO70GQ;2;13:05:00 ;55;Jana;;JN99JM;329;;\r\n");
  EXPECT_EQ(file("denik.bak"), expected);
  EXPECT_EQ(file("zaloha.bak"), expected);
}

TEST_F(StoreContact, ShortLineIsRefusedAndNothingChanges) {
  const StoreResult r = enter("59 Pe");
  EXPECT_FALSE(r.ulozeno);
  EXPECT_EQ(r.panel2, "! Málo znaků, ještě piš !");
  EXPECT_EQ(r.text, "59 Pe");
  EXPECT_EQ(log.Denik.rowCount(), 1);
  EXPECT_FALSE(platform::fileExists(dir.file("denik.qvl")));
  EXPECT_FALSE(platform::fileExists(dir.file("zaloha.qvl")));
  EXPECT_EQ(state.PredchoziText, "");
}

TEST_F(StoreContact, CompletionByOptions) {
  struct Case {
    const char* note;
    std::string typed;
    StoreOptions o;
    Grid::Row row;
  } cases[] = {
      {"received report from the given one", "59 JO70PO Petr", {.prijatyreportdoplnit = true},
       {"1", "07:05:09", "59", "Petr", "59", "JO70PO", "54", ""}},
      {"reports from the table at 111 km", "JO71GQ 1200 Petr", {.reporty = true},
       {"1", "12:00:00 ", "58", "Petr", "58", "JO71GQ", "111", ""}},
      {"no locator: 0 km and no report", "1200 Petr Novák", {.reporty = true},
       {"1", "12:00:00 ", "--", "Petr Novák", "--", "", "0", ""}},
      {"date in front of the current time", "59 57 Petr", {.doplndatum = true},
       {"1", "[9.12.2026] 07:05:09", "59", "Petr", "57", "", "0", ""}},
      {"azimuth note", "59 JO70PO Petr", {.ukladatazimut = true},
       {"1", "07:05:09", "59", "Petr .azimut_100", "", "JO70PO", "54", ""}},
      {"channel into an empty note", "59 JO70PO Petr", {.doplnovatkanal = true, .kanal = 12},
       {"1", "07:05:09", "59", "Petr", "", "JO70PO", "54", ",CH-12 "}},
      {"channel in front of a note", "59 JO70PO Petr ,chata",
       {.doplnovatkanal = true, .kanal = 12},
       {"1", "07:05:09", "59", "Petr", "", "JO70PO", "54", ",CH-12 ,chata "}},
      {"no \";\" reaches a cell", "59 JO70PO Petr;x ,a;b", {},
       {"1", "07:05:09", "59", "Petr,x", "", "JO70PO", "54", ",a,b "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.note);
    log = LogDocument();
    log.SaveFileName = dir.file("denik.qvl");
    log.ZalohaFileName = dir.file("zaloha.qvl");
    options = c.o;
    ASSERT_TRUE(enter(c.typed).ulozeno);
    EXPECT_EQ(log.Denik.row(1), c.row);
  }
}

TEST_F(StoreContact, ChannelTextAlreadyInFrontIsKept) {
  options.doplnovatkanal = true;
  options.kanal = 12;
  const EntryResult r = vstupKeyUp("59 JO70PO Petr", 14, {EntryKey::Enter}, entryOptions,
                                   context(), state);
  state.parts.Poznamka = ",CH-12 ,chata ";
  ulozSpojeni(r.text, options, log, state, vychoziTabulkaReportu(), now);
  EXPECT_EQ(log.Denik.cell(1, kColPozn), ",CH-12 ,chata ");
}

TEST_F(StoreContact, OnlyANewLongestContactStartsTheEffects) {
  EXPECT_TRUE(enter("59 JO70PO Petr").nejdelsi);
  EXPECT_EQ(log.NejdelsiKm, 54);
  const StoreResult same = enter("59 JO70PO Jana");
  EXPECT_FALSE(same.nejdelsi);
  EXPECT_EQ(same.panel1, "   A jdeme na dalšího ....");
  EXPECT_FALSE(enter("59 JO70GR Jana").nejdelsi);  // 5 km
  const StoreResult far = enter("59 JN99JM Eva");
  EXPECT_TRUE(far.nejdelsi);
  EXPECT_EQ(log.NejdelsiKm, 329);
  EXPECT_EQ(log.PocetSpojeni, 4);
  EXPECT_EQ(far.panel2, log.panel2);
  EXPECT_NE(far.panel2.find("Celkem: 442 km"), std::string::npos) << far.panel2;
}

TEST_F(StoreContact, NextContactStartsAfresh) {
  entryOptions.PouzivatVolacky = true;
  enter("59 JO70PO Petr");
  EXPECT_EQ(state.klice.volacky, klicPoUlozeni());
  EXPECT_EQ(state.klice.volacky.size(), 61u);
  // The same call sign again runs its search, Esc brings back the last line.
  const EntryResult again =
      vstupKeyUp("Petr", 4, {EntryKey::Other}, entryOptions, context(), state);
  bool volacky = false;
  for (const auto& s : again.searches) volacky |= s.kind == SearchKind::Volackaa;
  EXPECT_TRUE(volacky);
  EXPECT_EQ(vstupKeyDown("", 0, {EntryKey::Escape}, entryOptions, context(), state).text,
            "59 JO70PO Petr");
}

TEST_F(StoreContact, NamelessLogLivesInTheCrashBackup) {
  log.SaveFileName.clear();
  log.ZalohaFileName.clear();  // falls back to the program folder
  const StoreResult r = enter("59 JO70PO Petr");
  EXPECT_TRUE(r.ulozeno);
  EXPECT_FALSE(r.zapsanDenik);
  EXPECT_TRUE(r.zapsanaZaloha);
  EXPECT_TRUE(r.popsatDenik);
  EXPECT_EQ(file("zaloha.qvl"), kTitleLine + "JO70GQ;1;07:05:09;59;Petr;;JO70PO;54;;\r\n");
  EXPECT_FALSE(platform::fileExists(dir.file(".qvl")));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Popiš prosím expedici"), std::string::npos);
  // Told and offered the description once: the next contacts stay in the
  // entry line and the backup.
  const StoreResult next = enter("59 JO70PO Jana");
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_FALSE(next.popsatDenik);
  EXPECT_EQ(file("zaloha.qvl"), kTitleLine + "JO70GQ;1;07:05:09;59;Petr;;JO70PO;54;;\r\n" +
                                    "JO70GQ;2;07:05:09;59;Jana;;JO70PO;54;;\r\n");
}

TEST_F(StoreContact, FailedLogWriteKeepsTheRowAndTheBackup) {
  log.SaveFileName = dir.file("chybi/denik.qvl");
  const StoreResult r = enter("59 JO70PO Petr");
  EXPECT_TRUE(r.ulozeno);
  EXPECT_FALSE(r.zapsanDenik);
  EXPECT_TRUE(r.zapsanaZaloha);
  EXPECT_EQ(log.Denik.rowCount(), 2);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Chyba I/O při ukládání záložního souboru : " + dir.file("chybi/denik.qvl"));
}

// A full disk, a read-only folder or a file removed meanwhile at Enter: the
// contact stays in the grid and in whichever file could be written, one
// message is shown, no file is cut or emptied, and the next Enter writes
// every contact.
TEST_F(StoreContact, EachFailingWriteStepKeepsTheContactAndTheNextEnterWritesAll) {
  struct Case {
    platform::FileStep step;
    int err;
    std::string failing;  // the file whose writes fail, "" both
  } cases[] = {
      {platform::FileStep::Create, EROFS, "denik"},   {platform::FileStep::Write, ENOSPC, "denik"},
      {platform::FileStep::Sync, EIO, "denik"},       {platform::FileStep::Backup, ENOSPC, "denik"},
      {platform::FileStep::Rename, ENOENT, "denik"},  {platform::FileStep::Write, ENOSPC, "zaloha"},
      {platform::FileStep::Rename, EROFS, "zaloha"},  {platform::FileStep::Write, ENOSPC, ""},
      {platform::FileStep::Create, EROFS, ""},
  };
  for (const Case& c : cases) {
    const std::string what = std::to_string(static_cast<int>(c.step)) + " " + c.failing;
    test::TempDir folder;
    LogDocument doc;
    doc.SaveFileName = folder.file("denik.qvl");
    doc.ZalohaFileName = folder.file("zaloha.qvl");
    std::swap(log, doc);
    state = {};
    messages.clear();
    ASSERT_TRUE(enter("59 JO70PO Petr").zapsanDenik) << what;
    const std::string first = *platform::readWholeFile(folder.file("denik.qvl"));
    {
      test::FileFaults faults;
      faults.fail(c.step, c.err, c.failing);
      const StoreResult r = enter("57 JN99JM Jana");
      EXPECT_TRUE(r.ulozeno) << what;
      EXPECT_EQ(r.zapsanDenik, c.failing == "zaloha") << what;
      EXPECT_EQ(r.zapsanaZaloha, c.failing == "denik") << what;
      EXPECT_EQ(log.Denik.rowCount(), 3) << what;
      const std::string failed = folder.file(c.failing == "zaloha" ? "zaloha.qvl" : "denik.qvl");
      EXPECT_EQ(messages, std::vector<std::string>{"Chyba I/O při ukládání záložního souboru : " + failed}) << what;
    }
    // The file that failed holds what it held before, whole.
    if (c.failing != "zaloha") {
      EXPECT_EQ(platform::readWholeFile(folder.file("denik.qvl")), first) << what;
    }
    ASSERT_TRUE(enter("59 JO80GQ Karel").zapsanDenik) << what;
    const std::string all = *platform::readWholeFile(folder.file("denik.qvl"));
    EXPECT_NE(all.find(";1;"), std::string::npos) << what;
    EXPECT_NE(all.find(";2;07:05:09;57;Jana;"), std::string::npos) << what;
    EXPECT_NE(all.find(";3;07:05:09;59;Karel;"), std::string::npos) << what;
    EXPECT_EQ(platform::readWholeFile(folder.file("zaloha.qvl")), all) << what;
    std::swap(log, doc);
  }
}

TEST_F(StoreContact, RoundDistanceHookGetsBothLocators) {
  std::string own, other;
  startform5 = [&](const std::string& a, const std::string& b) {
    own = a;
    other = b;
  };
  EXPECT_FALSE(enter("59 JO70PO Petr").kolecko);
  EXPECT_EQ(own, "");
  options.automatkolecko = true;
  EXPECT_TRUE(enter("59 JN99JM Jana").kolecko);
  EXPECT_EQ(own, "JO70GQ");
  EXPECT_EQ(other, "JN99JM");
}

TEST_F(StoreContact, ListsAreResetAndTheGridShown) {
  options.Automatika = true;
  const StoreResult r = enter("59 JO70PO Petr");
  EXPECT_TRUE(r.switchToVolacky);
  EXPECT_EQ(r.panels.Denik, true);
  EXPECT_EQ(r.panels.wvolacky, false);
  EXPECT_EQ(r.panels.wduplicity, false);
  EXPECT_EQ(r.seznamMest, napovedaSeznamuMest());
  EXPECT_EQ(state.VelikostPismaVstupu, 30);
  EXPECT_EQ(state.parts.LokatorProtistanice, "JO70PO");  // the round-distance window reads it
}

// A contact stored is one row added for the grid's views and the
// duplicate search's copy of the log, not a new grid to lay out.
TEST_F(StoreContact, EnterTellsTheGridOfOneRowAdded) {
  enter("59 57 jo70po 12:34 petr");
  std::vector<GridChange> seen;
  const int id = log.Denik.addListener([&](const GridChange& c) { seen.push_back(c); });
  const std::uint64_t before = log.Denik.revision();
  const StoreResult r = enter("59 JN99JM Jana");
  log.Denik.removeListener(id);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].kind, GridChange::Kind::Append);
  EXPECT_EQ(seen[0].row, 2);
  EXPECT_EQ(r.revizePredPridanim, before);
  EXPECT_EQ(log.Denik.row(2)[kColKm], std::to_string(vypocet("JO70GQ", "JN99JM")));
}

// What may happen to the log between two contacts; after each the next
// Enter writes exactly what a whole recalculation and formatting would.
struct Between {
  const char* name;
  std::function<void(LogDocument&)> change;
};

TEST_F(StoreContact, FilesOfEnterEqualAWholeRecalculation) {
  options.ukladatazimut = true;
  options.reporty = true;
  const std::vector<Between> changes = {
      {"nothing", [](LogDocument&) {}},
      {"own locator changed", [](LogDocument& l) { l.lokportable = "JN89AB"; }},
      {"own locator invalid", [](LogDocument& l) { l.lokportable = "JO70G"; }},
      {"keyboard option", [](LogDocument& l) { l.klavesnice = {false, true}; }},
      {"cell edited", [](LogDocument& l) { l.Denik.setCell(1, kColLokator, "jo 80 gq"); }},
      {"note edited in bulk", [](LogDocument& l) { l.Denik.rows()[1][kColPozn] = "abc def"; }},
      {"row taken back", [](LogDocument& l) { l.Denik.setRowCount(l.Denik.rowCount() - 1); }},
      {"rows swapped", [](LogDocument& l) { l.Denik.swapRows(1, 2); }},
      {"description", [](LogDocument& l) { l.PopisExpedice[kPopisMisto] = "Sněžka; vrchol"; }},
      {"semicolon in a cell", [](LogDocument& l) { l.Denik.setCell(2, kColVolacka, "a;b .azimut_1"); }},
  };
  const std::vector<std::string> typed = {"59 57 jo70po 12:34 petr", "59 JN99JM Jana ,chata u lesa",
                                          "ok1abc JO80GQ 5:07", "59 JO70PO Eva", "57 jo60aa Karel"};
  for (const Between& b : changes) {
    SCOPED_TRACE(b.name);
    log = LogDocument();
    log.SaveFileName = dir.file("denik.qvl");
    log.ZalohaFileName = dir.file("zaloha.qvl");
    state = EntryState();
    for (size_t i = 0; i < typed.size(); ++i) {
      if (i == 3) b.change(log);
      const StoreResult r = enter(typed[i]);
      ASSERT_TRUE(r.ulozeno);
      LogDocument whole = log;
      PrepocetDeniku(whole);
      const std::string expected = formatLog(whole);
      EXPECT_EQ(file("denik.qvl"), expected) << "contact " << i;
      EXPECT_EQ(file("zaloha.qvl"), expected) << "contact " << i;
      EXPECT_EQ(log.Denik.rows(), whole.Denik.rows()) << "contact " << i;
      EXPECT_EQ(r.panel2, whole.panel2) << "contact " << i;
      EXPECT_EQ(log.CelkemKm, whole.CelkemKm);
      EXPECT_EQ(log.PocetSKm, whole.PocetSKm);
      EXPECT_EQ(log.NejdelsiKm, whole.NejdelsiKm);
    }
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(StoreContact, ReadLogGoesOnWithTheSameBytes) {
  enter("59 JO70PO Petr");
  enter("59 JN99JM Jana");
  LogDocument read;
  read.SaveFileName = log.SaveFileName;
  read.ZalohaFileName = log.ZalohaFileName;
  ASSERT_TRUE(nactidata(read, TabulkaSynonym()).ok);
  log = std::move(read);
  enter("59 JO80GQ Eva");
  LogDocument whole = log;
  PrepocetDeniku(whole);
  EXPECT_EQ(file("denik.qvl"), formatLog(whole));
  EXPECT_EQ(file("zaloha.qvl"), formatLog(whole));
  EXPECT_EQ(platform::readWholeFile(dir.file("denik.bak")).value_or(""),
            platform::readWholeFile(dir.file("zaloha.bak")).value_or("-"));
}

}  // namespace
}  // namespace vektrano
