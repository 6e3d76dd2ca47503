// The entry line as the operator meets it: a typed line and a key in, the
// rewritten line, the caret, the parsed contact and the texts shown out.
// Literals are cp1250 bytes (the compiler's execution charset).
#include "core/entry/entry_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vektrano {
namespace {

constexpr int kEnd = -1;

EntryKeyEvent keyOf(EntryKey k, bool ctrl = false) {
  EntryKeyEvent e;
  e.key = k;
  e.ctrl = ctrl;
  return e;
}

struct Fixture {
  EntryOptions options;
  EntryContext context;
  EntryState state;
  std::vector<std::string> vyjimky{"Sněžka"};
  TabulkaSynonym synonyma;

  Fixture() {
    options.keyboard = {true, false};  // Czech, the installation default
    context.vyjimky = &vyjimky;
    context.synonyma = &synonyma;
  }

  EntryResult up(const std::string& line, EntryKey key = EntryKey::Other, int caret = kEnd,
                 bool ctrl = false) {
    const int c = caret == kEnd ? static_cast<int>(line.size()) : caret;
    return vstupKeyUp(line, c, keyOf(key, ctrl), options, context, state);
  }
  EntryResult down(const std::string& line, EntryKey key) {
    return vstupKeyDown(line, static_cast<int>(line.size()), keyOf(key), options, context, state);
  }
};

const ScheduledSearch* findSearch(const EntryResult& r, SearchKind kind) {
  for (const auto& s : r.searches)
    if (s.kind == kind) return &s;
  return nullptr;
}

// One key release on a typed line: what the line becomes and what is parsed.
struct LineCase {
  const char* note;
  std::string typed;
  EntryKey key;
  bool czech;
  std::string line;  // the line afterwards
  int caret;         // kEnd = behind the last character
  std::string rv, rp, locator, time, volacka, poznamka;
};

TEST(EntryLine, WordsAreClassifiedAndRewrittenInPlace) {
  const LineCase cases[] = {
      {"a space in an empty line starts with 59", " ", EntryKey::Space, true, "59 ", 3, "59", "", "",
       "", "", ""},
      {"the whole contact in any order", "59 57 JO70PO 1234 Petr", EntryKey::Other, true,
       "59 57 JO70PO 12:34:00 Petr ", kEnd, "59", "57", "JO70PO", "12:34:00 ", "Petr", ""},
      {"order does not matter", "petr 12:34 jo70po 57 59", EntryKey::Other, true,
       "Petr 12:34:00 JO70PO 57 59", kEnd, "57", "59", "JO70PO", "12:34:00", "Petr", ""},
      {"reports start with 1 to 5", "59 15 5-", EntryKey::Other, true, "59 15 5-", kEnd, "59",
       "15", "", "", "5-", ""},
      {"69, 75 and 95 are text", "69 75 95", EntryKey::Other, true, "69 75 95", kEnd, "", "", "",
       "", "69 75 95", ""},
      {"a report typed on the digit row", "ří šč", EntryKey::Other, true, "59 34", kEnd, "59",
       "34", "", "", "", ""},
      {"lower-case locator", "jo70po", EntryKey::Other, true, "JO70PO", kEnd, "", "", "JO70PO", "",
       "", ""},
      {"locator with digit-row letters", "joýépo", EntryKey::Other, true, "JO70PO", kEnd, "", "",
       "JO70PO", "", "", ""},
      {"a word never taken for a locator", "Sněžka", EntryKey::Other, true, "Sněžka", kEnd, "",
       "", "", "", "Sněžka", ""},
      {"a name that begins like a locator", "Maříková", EntryKey::Other, true, "Maříková", kEnd,
       "", "", "", "", "Maříková", ""},
      {"... typed on the digit row", "ma59ková", EntryKey::Other, true, "Maříková", kEnd, "", "",
       "", "", "Maříková", ""},
      {"three-letter name on the digit row", "68k", EntryKey::Other, true, "Žák", kEnd, "", "",
       "", "", "Žák", ""},
      {"home locator before /p goes", "JO70PO /p", EntryKey::Other, true, " /p ", kEnd, "", "",
       "", "", "/p", ""},
      {"locator behind /p stays", "/p JO70PO", EntryKey::Other, true, "/p JO70PO", kEnd, "", "",
       "JO70PO", "", "/p", ""},
      {"-p as a word is a portable mark", "JO70PO -p", EntryKey::Other, true, " /p ", kEnd, "",
       "", "", "", "/p", ""},
      {"a hyphen inside a place is no mark", "JO70PO Frýdek-Místek", EntryKey::Other, true,
       "JO70PO Frýdek-místek", kEnd, "", "", "JO70PO", "", "Frýdek-místek", ""},
      {"joined locators", "JO70GQ-JN99JM", EntryKey::Other, true, "JO70GQ .JN99JM=329", kEnd, "",
       "", "", "", "", ""},
      {"joined locators, Slovak keyboard", "JO52GQ-JN99JM", EntryKey::Other, false,
       "JO52GQ .JN99JM=674", kEnd, "", "", "", "", "", ""},
      {"24 is no hour", "2460", EntryKey::Other, true, "2460", kEnd, "", "", "", "", "2460", ""},
      {"minutes above 59 are refused", "12:61", EntryKey::Other, true, "12:61:00", kEnd, "", "",
       "", "", "12:61:00", ""},
      {"hh:mm:ss is kept", "23:59:59", EntryKey::Other, true, "23:59:59", kEnd, "", "", "",
       "23:59:59", "", ""},
      {"seconds above 59 are refused", "23:59:60", EntryKey::Other, true, "23:59:60", kEnd, "",
       "", "", "", "23:59:60", ""},
      {"a time with digit-row letters is stored converted", "+ě:3č", EntryKey::Other, true,
       "12:34:00", kEnd, "", "", "", "12:34:00", "", ""},
      {"an hour being typed stays digits", "12:", EntryKey::Other, false, "12:", kEnd, "", "", "",
       "", "12:", ""},
      {"dashes are no time and stop nothing", "1-:-5 1--2", EntryKey::Other, true, "1-:-5 1--2",
       kEnd, "", "", "", "", "1-:-5 1--2", ""},
      {"notes pass the digit-row conversion", "Petr ,čas ,chata", EntryKey::Other, true,
       "Petr ,čas ,chata", kEnd, "", "", "", "", "Petr", ",4as ,chata "},
      {"note words with a dot stay with the call sign", "petr .pozdě", EntryKey::Other, true,
       "Petr .pozdě", kEnd, "", "", "", "", "Petr .pozdě", ""},
      {"leading note words move to the end", ".pozdě Petr 59 /p ", EntryKey::Other, true,
       "Petr 59 .pozdě /p ", kEnd, "59", "", "", "", "Petr .pozdě /p", ""},
      {"a leading blank is dropped", " 59", EntryKey::Other, true, "59", kEnd, "59", "", "", "",
       "", ""},
      {"a double blank is reduced", "Petr  Novák", EntryKey::Other, true, "Petr Novák", kEnd, "",
       "", "", "", "Petr Novák", ""},
      {"Backspace takes back an expanded time", "59 12:34:00", EntryKey::Backspace, true, "59 ",
       kEnd, "59", "", "", "", "", ""},
      {"a tidied word replaces only whole words", "ok1abc abc", EntryKey::Other, true,
       "Ok1abc Abc", kEnd, "", "", "", "", "Ok1abc Abc", ""},
      {"the call sign is tidied in the line", "OK1ABC* (okres)", EntryKey::Other, true,
       "Ok1abc (OKRES)", kEnd, "", "", "", "", "Ok1abc (OKRES)", ""},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.options.keyboard = c.czech ? KeyboardOptions{true, false} : KeyboardOptions{false, true};
    const EntryResult r = f.up(c.typed, c.key);
    SCOPED_TRACE(c.note);
    EXPECT_EQ(r.text, c.line);
    EXPECT_EQ(r.caret, c.caret == kEnd ? static_cast<int>(r.text.size()) : c.caret);
    EXPECT_EQ(r.parts.ReportVyslany, c.rv);
    EXPECT_EQ(r.parts.ReportPrijaty, c.rp);
    EXPECT_EQ(r.parts.LokatorProtistanice, c.locator);
    EXPECT_EQ(r.parts.CasSpojeni, c.time);
    EXPECT_EQ(r.parts.VolackaText, c.volacka);
    EXPECT_EQ(r.parts.Poznamka, c.poznamka);
  }
}

// Typed key by key, each release applied to the line as the window does.
TEST(EntryLine, TypingKeyByKeyEndsInTheCanonicalLine) {
  for (bool czech : {true, false}) {
    Fixture f;
    f.options.keyboard = czech ? KeyboardOptions{true, false} : KeyboardOptions{false, true};
    std::string line;
    int caret = 0;
    EntryResult r;
    for (char c : std::string("59 57 jo70po 12:34 petr")) {
      line.insert(static_cast<size_t>(caret), 1, c);
      ++caret;
      r = f.up(line, c == ' ' ? EntryKey::Space : EntryKey::Other, caret);
      line = r.text;
      caret = r.caret;
    }
    SCOPED_TRACE(czech ? "Czech" : "Slovak");
    EXPECT_EQ(line, "59 57 JO70PO 12:34:00 Petr");
    EXPECT_EQ(r.parts.CasSpojeni, "12:34:00");
    EXPECT_EQ(r.parts.LokatorProtistanice, "JO70PO");
    EXPECT_EQ(r.parts.ReportPrijaty, "57");
    EXPECT_EQ(r.parts.VolackaText, "Petr");
  }
}

// Typed key by key: a blank the program appended (behind an expanded time,
// after a removed home locator, behind "/p") and one Space typed beside it
// are no double Space; only two Spaces of the operator swap the reports.
TEST(EntryLine, TheProgramsOwnBlankNeverSwapsTheReports) {
  struct Case {
    const char* typed;
    const char* rv;
    const char* rp;
  };
  const Case cases[] = {
      {"59 57 JO70PO 1234 Petr", "59", "57"},
      {"59 57 1234 1305 Petr", "59", "57"},
      {"59 57 Petr 1234 12:40", "59", "57"},
      {"59 57 JO80GQ /p Jan", "59", "57"},
      {"59 57 Jan -p Petr", "59", "57"},
      {"59 57  Petr", "57", "59"},
      // The first Space is taken up beside the program's blank; the second
      // makes the operator's double Space.
      {"59 57 1234  Petr", "57", "59"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Fixture f;
    std::string line;
    int caret = 0;
    EntryResult r;
    for (char ch : std::string(c.typed)) {
      line.insert(static_cast<size_t>(caret), 1, ch);
      ++caret;
      r = f.up(line, ch == ' ' ? EntryKey::Space : EntryKey::Other, caret);
      line = r.text;
      caret = r.caret;
    }
    EXPECT_EQ(r.parts.ReportVyslany, c.rv) << line;
    EXPECT_EQ(r.parts.ReportPrijaty, c.rp) << line;
  }
  // A key that changes nothing (Shift) keeps the program's blank known.
  Fixture f;
  EntryResult r = f.up("59 57 1234");
  r = f.up(r.text, EntryKey::Other);
  r = f.up(r.text + " ", EntryKey::Space);
  EXPECT_EQ(r.text, "59 57 12:34:00 ");
  EXPECT_EQ(r.parts.ReportVyslany, "59");
}

TEST(EntryLine, ExceptionWordIsALocatorWithoutTheList) {
  Fixture f;
  f.context.vyjimky = nullptr;
  const EntryResult r = f.up("Sněžka");
  EXPECT_EQ(r.parts.LokatorProtistanice, "SN26KA");
  EXPECT_EQ(r.text, "SN26KA");
}

TEST(EntryLine, CaretStaysWhereTheOperatorTypesUnlessTheLineGrows) {
  Fixture f;
  // Typing in the middle: the word rewrite keeps the caret.
  EntryResult r = f.up("59 jo70po Petr", EntryKey::Other, 9);
  EXPECT_EQ(r.text, "59 JO70PO Petr");
  EXPECT_EQ(r.caret, 9);
  // Delete keeps the caret where it was.
  r = f.up("59 Petr", EntryKey::Delete, 2);
  EXPECT_EQ(r.caret, 2);
  // An expanded time puts the caret behind the line.
  r = f.up("1234 Petr", EntryKey::Other, 4);
  EXPECT_EQ(r.text, "12:34:00 Petr ");
  EXPECT_EQ(r.caret, 14);
  // Cursor keys are swallowed, End is not.
  EXPECT_TRUE(f.up("59", EntryKey::Left).keySwallowed);
  EXPECT_TRUE(f.up("59", EntryKey::PageDown).keySwallowed);
  EXPECT_FALSE(f.up("59", EntryKey::End).keySwallowed);
}

TEST(EntryLine, TwoBlanksSwapTheReports) {
  Fixture f;
  const EntryResult r = f.up("59 57  ", EntryKey::Space);
  EXPECT_EQ(r.text, "57 59 ");
  EXPECT_EQ(r.parts.ReportVyslany, "57");
  EXPECT_EQ(r.parts.ReportPrijaty, "59");
  // Between the reports, with a locator that moved the rest of the line.
  const EntryResult m = f.up("jo70po 59  57", EntryKey::Space, 10);
  EXPECT_EQ(m.text, "JO70PO 57 59");
  EXPECT_EQ(m.parts.ReportVyslany, "57");
  // Without two blanks, or with one report only, nothing moves.
  EXPECT_EQ(f.up("59 57 ", EntryKey::Space).text, "59 57 ");
  EXPECT_EQ(f.up("59  Petr", EntryKey::Space).parts.ReportVyslany, "59");
}

TEST(EntryLine, CtrlSpaceDeletesTheTime) {
  Fixture f;
  EntryResult r = f.up("59 12:34:00 Petr", EntryKey::Space, kEnd, true);
  EXPECT_TRUE(r.keySwallowed);
  EXPECT_EQ(r.text, "59 Petr");
  EXPECT_EQ(r.parts.CasSpojeni, "");
  r = f.up("12:34:00", EntryKey::Space, kEnd, true);
  EXPECT_EQ(r.text, "");
  // A short line is left alone.
  r = f.up("59 Pe", EntryKey::Space, kEnd, true);
  EXPECT_TRUE(r.keySwallowed);
  EXPECT_EQ(r.text, "59 Pe");
}

TEST(EntryLine, DistanceLabelAndAzimuth) {
  Fixture f;
  EntryResult r = f.up("JN99JM");
  EXPECT_EQ(r.label1, "329 km");
  EXPECT_TRUE(r.label1Bold40);
  EXPECT_EQ(r.azimut, 112);
  EXPECT_TRUE(r.restartBlik);  // longer than the empty log's longest

  f.context.NejdelsiKm = 329;
  EXPECT_FALSE(f.up("JN99JM").restartBlik);  // equal is not longer

  f.context.lokportable = "JO70GQ";
  f.options.secondstation = true;
  f.options.loksecondary = "JN99JM";
  r = f.up("JO70PO");
  EXPECT_EQ(r.label1, "54 km      [ 277 ]");
  f.options.threestation = true;
  f.options.lokthree = "JO70PO";
  EXPECT_EQ(f.up("JO70PO").label1, "54 km      [ 277 / 0 ]");

  r = f.up("Petr");
  EXPECT_EQ(r.label1, "???");
  EXPECT_FALSE(r.azimut.has_value());

  f.context.lokportable = "JO70G";  // a broken own locator still gives a text
  EXPECT_EQ(f.up("JO70PO").label1.substr(0, 4), "0 km");
}

TEST(EntryLine, StatusPanelAndCallSignLabel) {
  Fixture f;
  f.options.doplnvolackuzakm = true;
  f.options.ZobrazLokatorProtistanice = true;
  EntryResult r = f.up("59 57 JO70PO 12:34 petr praha .pozdě ,chata");
  EXPECT_EQ(r.panel2,
            " Čas: 12:34:00 | RV: 59 | RP: 57 | LOK: JO70PO |   VOL: Petr Praha .pozdě [Praha] | "
            "  POZ: ,chata ");
  EXPECT_EQ(r.volackalabel, "JO70PO - Petr Praha");
  f.options.ZobrazLokatorProtistanice = false;
  EXPECT_EQ(f.up("petr .pozdě").volackalabel, "Petr");
  f.options.doplnvolackuzakm = false;
  EXPECT_FALSE(f.up("petr").volackalabel.has_value());
  EXPECT_EQ(f.up("").panel2, " ");
}

TEST(EntryLine, SearchesRestartOnlyWhenTheirKeyChanges) {
  Fixture f;
  f.options.PouzivatVolacky = true;  // call-sign mode
  EntryResult r = f.up("ok1abc");
  ASSERT_NE(findSearch(r, SearchKind::Volackaa), nullptr);
  EXPECT_EQ(findSearch(r, SearchKind::Volackaa)->text, "Ok1abc");
  EXPECT_EQ(findSearch(r, SearchKind::Duplyo)->text, "OK1ABC");
  EXPECT_EQ(r.panels.wvolacky, true);
  EXPECT_EQ(r.panels.Denik, false);

  r = f.up("Ok1abc");  // same call sign: no new call-sign search
  EXPECT_EQ(findSearch(r, SearchKind::Volackaa), nullptr);
  EXPECT_NE(findSearch(r, SearchKind::Duplyo), nullptr);  // duplicates always

  r = f.up("Ok1abc JO70PO");  // a typed locator runs the call-sign search again
  EXPECT_EQ(findSearch(r, SearchKind::Mesta)->text, "JO70PO");
  EXPECT_EQ(findSearch(r, SearchKind::Volackaa)->locator, "JO70PO");
  r = f.up("Ok1abc JO70PO ");
  EXPECT_EQ(findSearch(r, SearchKind::Mesta), nullptr);  // same locator
  EXPECT_NE(findSearch(r, SearchKind::Volackaa), nullptr);

  r = f.up("ok");  // two characters: no duplicate search, the list hides
  EXPECT_EQ(findSearch(r, SearchKind::Duplyo), nullptr);
  EXPECT_EQ(r.panels.wduplicity, false);
}

TEST(EntryLine, TownsModeSearchesNamesAndPlaces) {
  Fixture f;
  f.synonyma.add("František", "Franta");
  EntryResult r = f.up("franta");
  EXPECT_EQ(r.parts.KrestniJmeno, "František");
  EXPECT_EQ(findSearch(r, SearchKind::Jmena)->text, "František");
  EXPECT_EQ(r.panels.Memo4, true);
  EXPECT_EQ(findSearch(r, SearchKind::Lokatora), nullptr);  // one word, no locator

  r = f.up("Franta Vyšší Brod");
  EXPECT_EQ(findSearch(r, SearchKind::Jmena), nullptr);  // same name
  ASSERT_NE(findSearch(r, SearchKind::Lokatora), nullptr);
  EXPECT_EQ(findSearch(r, SearchKind::Lokatora)->text, "Vyšší Brod");
  EXPECT_EQ(r.parts.TextMista, "Vyšší Brod");
  EXPECT_EQ(r.panels.wmestacentr, true);
  EXPECT_EQ(findSearch(f.up("Franta Vyšší Brod"), SearchKind::Lokatora), nullptr);
  EXPECT_NE(findSearch(f.up("Franta Vyšší Brod JO70PO"), SearchKind::Lokatora), nullptr);
  EXPECT_EQ(findSearch(f.up("59 57"), SearchKind::Jmena), nullptr);  // reports are no names
}

TEST(EntryLine, PortableMarkSwitchesToTownsMode) {
  Fixture f;
  f.options.PouzivatVolacky = true;
  EntryResult r = f.up("OK1ABC /p Praha");
  EXPECT_TRUE(r.switchToMestaSvatky);
  EXPECT_EQ(f.state.klice.mesta, "2@@@@@@@@@@@@@@@@");
  EXPECT_EQ(findSearch(r, SearchKind::Volackaa), nullptr);  // towns mode from the mark on
  EXPECT_NE(findSearch(r, SearchKind::Lokatora), nullptr);

  // "-m" at a word start becomes "/m"; inside a word it stays.
  Fixture g;
  r = g.up("Petr -m Frýdek-Místek");
  EXPECT_EQ(r.text, "Petr /m Frýdek-místek ");
  EXPECT_FALSE(r.switchToMestaSvatky);  // already in towns mode
}

TEST(EntryLine, MapCommandMarks) {
  for (const char* mark : {"//", "--", ";"}) {
    Fixture f;
    EntryResult r = f.up(std::string("JO70PO ") + mark);
    SCOPED_TRACE(mark);
    EXPECT_EQ(r.text, "JO70PO ");
    EXPECT_EQ(r.openMap, "JO70PO");
    EXPECT_EQ(r.parts.VolackaText, "");
    r = f.up(std::string("Petr ") + mark);
    EXPECT_FALSE(r.openMap.has_value());
  }
  // The mark that goes is the command word, not the same characters inside
  // another word.
  Fixture f;
  const EntryResult r = f.up("JO70PO Petr;x ;");
  EXPECT_EQ(r.text, "JO70PO Petr;x ");
  EXPECT_EQ(r.openMap, "JO70PO");
}

TEST(EntryLine, EscClearsAndEscBringsBack) {
  Fixture f;
  EntryResult d = f.down("59 57 JO70PO Petr", EntryKey::Escape);
  EXPECT_EQ(d.text, "");
  EXPECT_TRUE(d.focusGrid);
  EXPECT_EQ(d.panels.Denik, true);
  EXPECT_EQ(f.state.klice.volacky, "q");
  f.up(d.text, EntryKey::Escape);
  d = f.down("", EntryKey::Escape);
  EXPECT_EQ(d.text, "59 57 JO70PO Petr");
  EXPECT_EQ(d.caret, 17);
  EXPECT_EQ(f.up(d.text, EntryKey::Escape).parts.LokatorProtistanice, "JO70PO");

  Fixture g;  // nothing taken out yet: a single blank
  EXPECT_EQ(g.down("", EntryKey::Escape).text, " ");
}

TEST(EntryLine, FunctionKeysEnterTheVisibleList) {
  Fixture f;
  f.context.seznamMistViditelny = true;
  EXPECT_EQ(f.down("Petr", EntryKey::F3).focusList, ListFocus::Mista);
  f.options.PouzivatVolacky = true;
  EXPECT_EQ(f.down("Petr", EntryKey::F3).focusList, ListFocus::None);
  f.context.seznamVolacekViditelny = true;
  EntryResult r = f.down("Petr", EntryKey::F2);
  EXPECT_EQ(r.focusList, ListFocus::Volacky);
  EXPECT_TRUE(r.keySwallowed);
  // A line that starts with the portable mark means towns mode.
  r = f.down(" /p Praha", EntryKey::F4);
  EXPECT_TRUE(r.switchToMestaSvatky);
  EXPECT_EQ(r.focusList, ListFocus::Mista);
}

TEST(EntryLine, EnterAsksToStore) {
  Fixture f;
  EXPECT_TRUE(f.up("59 JO70PO Petr", EntryKey::Enter).ulozit);
  EXPECT_FALSE(f.up("59 JO70PO Petr").ulozit);
}

TEST(EntryLine, ManyWordsDoNotFail) {
  Fixture f;
  std::string line;
  for (int i = 0; i < 260; ++i) line += "ab ";
  const EntryResult r = f.up(line);
  EXPECT_EQ(r.text.size(), line.size());
}

TEST(TeckyNaKonec, LeadingNoteWordsGoBehind) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {".pozdě Petr 59 /p ", "Petr 59  .pozdě  /p "},
      {".a .b Petr", "Petr .a .b  "},
      {".a .b", ".a .b"},        // only note words
      {"Petr .a", "Petr .a"},    // does not begin with a note
      {".abc", ".abc"},          // too short
      {"  .ab Petr /m x", "Petr  .ab  /m x"},
  };
  for (const auto& c : cases) EXPECT_EQ(TeckyNaKonec(c.in), c.out) << c.in;
}

TEST(RovnejLabel1, ShortensStepByStep) {
  // Every character 10 pixels at size 40 (bold adds 1), scaled by the size.
  const TextWidth measure = [](const std::string& t, int size, bool bold) {
    return static_cast<int>(t.size()) * (size / 4 + (bold ? 1 : 0));
  };
  const LabelFit full{"54 km      [ 277 / 0 ]", 40, true};
  struct Case {
    int width;
    std::string text;
    int size;
    bool bold;
  } cases[] = {
      {1000, "54 km      [ 277 / 0 ]", 40, true},
      {220, "54 [ 277 / 0 ]", 40, true},  // " km" gone and the blanks reduced
      {160, "54 [ 277/0 ]", 40, true},
      {130, "54 [277/0]", 40, true},
      {110, "54 277/0", 40, true},  // the brackets go
      {100, "54 277/0", 40, false},
      {60, "54 277/0", 23, false},
  };
  for (const auto& c : cases) {
    const LabelFit r = RovnejLabel1(full, c.width, measure);
    EXPECT_EQ(r.text, c.text) << c.width;
    EXPECT_EQ(r.size, c.size) << c.width;
    EXPECT_EQ(r.bold, c.bold) << c.width;
  }
}

TEST(RovnejVstup, FontFitsTheEditBetween10And30) {
  const TextWidth measure = [](const std::string& t, int size, bool) {
    return static_cast<int>(t.size()) * size;
  };
  EntryState st;
  int size = 30;
  EXPECT_FALSE(RovnejVstup("abc", 1000, measure, st, size));
  EXPECT_EQ(size, 30);
  EXPECT_TRUE(RovnejVstup(std::string(50, 'a'), 1000, measure, st, size));
  EXPECT_EQ(size, 20);
  EXPECT_EQ(st.VelikostPismaVstupu, 20);
  EXPECT_TRUE(RovnejVstup(std::string(500, 'a'), 1000, measure, st, size));
  EXPECT_EQ(size, 10);
  EXPECT_TRUE(RovnejVstup("abc", 1000, measure, st, size));  // grows back
  EXPECT_EQ(size, 30);
}

}  // namespace
}  // namespace vektrano
