// The look-up lists: stepping with F2, keeping the choice off the heading
// and the footer, and the entry texts the space bar builds, read back by the
// entry line with every part in its cell.
#include "core/entry/lookup_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/entry/entry_line.h"

namespace vektrano {
namespace {

TEST(LookupLists, F2StepsToTheNextLineWrapsToLineOneAndSkipsSeparators) {
  const std::vector<std::string> list = {"Volačka [OK1]", "JO70GQ-OK1AB", "JO70PO-OK1CD",
                                         std::string(49, '*'), "JN79HJ-OK1EF",
                                         " --- počet : 3 ---"};
  struct Case {
    int from, to;
  } cases[] = {
      {-1, 1},  // nothing chosen yet
      {0, 1},   // the heading
      {1, 2},
      {2, 4},   // the separator is passed over
      {4, 1},   // the last entry goes round to line 1, never to the heading
      {5, 1},   // the footer
  };
  for (const Case& c : cases) EXPECT_EQ(DalsiRadekSeznamu(c.from, list), c.to) << c.from;

  // A separator as the last line before the footer goes round as well.
  EXPECT_EQ(DalsiRadekSeznamu(1, {"H", "JO70GQ-A", std::string(5, '*'), "F"}), 1);
  // Only a heading and a footer: nothing to choose.
  EXPECT_EQ(DalsiRadekSeznamu(0, {"H", "F"}), -1);
  EXPECT_EQ(DalsiRadekSeznamu(0, {}), -1);
}

TEST(LookupLists, HeadingAndFooterNeverStayChosen) {
  EXPECT_EQ(OmezVyberSeznamu(0, 5), 1);
  EXPECT_EQ(OmezVyberSeznamu(4, 5), 3);
  EXPECT_EQ(OmezVyberSeznamu(2, 5), 2);
  EXPECT_EQ(OmezVyberSeznamu(-1, 5), -1);
}

EntryParts typed(const std::string& rv, const std::string& rp, const std::string& cas,
                 const std::string& poz, const std::string& volacka) {
  EntryParts p;
  p.ReportVyslany = rv;
  p.ReportPrijaty = rp;
  p.CasSpojeni = cas;
  p.Poznamka = poz;
  p.VolackaText = volacka;
  return p;
}

// Space in a list: the text from what was typed and the chosen line, and
// what the entry line reads from it.
struct SpaceCase {
  const char* note;
  bool mista;  // the place list; else the call-sign list
  EntryParts parts;
  std::string line;
  std::string text;
  std::string rv, rp, cas, lokator, volacka;
};

TEST(LookupLists, SpaceBuildsTheEntryTextAndTheLineReadsItBack) {
  const SpaceCase cases[] = {
      {"call sign with its district, reports and time typed", false,
       typed("59", "57", "12:34:00 ", "", "OK1"),
       "JO70GQ-Ok1abc Petr (PRAHA) - 1.1.2000 / 54 km", "59 57 12:34:00 Ok1abc Petr JO70GQ ",
       "59", "57", "12:34:00", "JO70GQ", "Ok1abc Petr"},
      {"nothing typed but the call sign; no district: the date stays out", false,
       typed("", "", "", "", "ok1"), "JO60LJ-Ok2xyz Jana - Nezjištěno", "Ok2xyz Jana JO60LJ ", "",
       "", "", "JO60LJ", "Ok2xyz Jana"},
      {"neither district, date nor distance: the locator still a word of its own", false,
       typed("", "", "", "", "ok2"), "JO70PO-Ok2xyz Jana", "Ok2xyz Jana JO70PO ", "", "", "",
       "JO70PO", "Ok2xyz Jana"},
      {"only the report sent, the note kept", false, typed("59", "", "", ",chata ", "ok"),
       "JO70PO-Ok1dx / 12 km", "59 ,chata Ok1dx JO70PO ", "59", "", "", "JO70PO", "Ok1dx"},
      {"place list: typed call sign up to its /p, then the place", true,
       typed("59", "57", "12:34:00 ", "", "Ok1abc/p Tabo "), "JN79HJ-Tábor / 123 km",
       "12:34:00 59 57 Ok1abc/p Tábor JN79HJ ", "59", "57", "12:34:00", "JN79HJ",
       "Ok1abc/p Tábor"},
      {"place list: call sign up to its first blank, its note words behind it", true,
       typed("", "", "", "", "Ok1abc Kozak .pozde "), "JO70PO-Kozákov (SEMILY)",
       "Ok1abc .pozde Kozákov JO70PO ", "", "", "", "JO70PO", "Ok1abc .pozde Kozákov"},
      {"place list: nothing typed", true, typed("", "", "", "", ""), "JN79HJ-Tábor",
       "Tábor JN79HJ ", "", "", "", "JN79HJ", "Tábor"},
  };
  for (const SpaceCase& c : cases) {
    SCOPED_TRACE(c.note);
    const std::string text = c.mista ? TextZMista(c.parts, c.line) : TextZVolacky(c.parts, c.line);
    EXPECT_EQ(text, c.text);

    // The release of the space bar reaches the entry line, which parses it.
    EntryOptions options;
    options.keyboard = {true, false};
    options.PouzivatVolacky = !c.mista;
    EntryContext context;
    EntryState state;
    EntryKeyEvent space;
    space.key = EntryKey::Space;
    const EntryResult r = vstupKeyUp(text, static_cast<int>(text.size()), space, options,
                                     context, state);
    EXPECT_EQ(r.text, text);  // nothing to rewrite, no reports swapped
    EXPECT_EQ(r.parts.ReportVyslany, c.rv);
    EXPECT_EQ(r.parts.ReportPrijaty, c.rp);
    EXPECT_EQ(r.parts.CasSpojeni.substr(0, 8), c.cas);
    EXPECT_EQ(r.parts.LokatorProtistanice, c.lokator);
    EXPECT_EQ(vyhoddvojmezery(r.parts.VolackaText).substr(0, c.volacka.size()), c.volacka);
  }
}

TEST(LookupLists, TheTypedCallSignForThePlaceList) {
  EXPECT_EQ(VolackaProMisto("OK1ABC/m Brno "), "OK1ABC/m");
  EXPECT_EQ(VolackaProMisto("OK1ABC Brno "), "OK1ABC ");
  EXPECT_EQ(VolackaProMisto("OK1ABC"), "OK1ABC");
  EXPECT_EQ(VolackaProMisto("OK1ABC/p Brno .x "), "OK1ABC/p .x");
  EXPECT_EQ(VolackaProMisto(""), "");
}

}  // namespace
}  // namespace vektrano
