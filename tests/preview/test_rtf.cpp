#include "preview/rtf.h"

#include <gtest/gtest.h>

namespace vektrano::preview {
namespace {

TPvRichText czech() {
  TPvRichText t;
  t.paragraphs = {
      {{{"Expedice ", 0}, {"Sněžka", fsBold}, {" – ", 0}, {"kóta 1603", fsItalic | fsUnderline}}},
      {},  // an empty paragraph survives
      {{{"Příliš žluťoučký kůň úpěl ďábelské ódy {a} \\ \tkonec", fsUnderline}}},
  };
  return t;
}

TEST(Rtf, CzechTextRoundTrip) {
  const TPvRichText t = czech();
  const std::string rtf = WriteRtf(t);
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1250", 0), 0u);
  EXPECT_NE(rtf.find("Sn\\'ec\\'9eka"), std::string::npos);  // cp1250 bytes as \'hh
  for (char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80u);
  EXPECT_EQ(ReadRtf(rtf), t);
  EXPECT_EQ(t.plainText(), "Expedice Sněžka – kóta 1603\r\n\r\nPříliš žluťoučký kůň úpěl ďábelské ódy {a} \\ \tkonec");
}

// Found by fuzzing the reader: a text holding control bytes (here NULs after
// an unknown control word) lost them when written back.
TEST(Rtf, ControlBytesSurviveARoundTrip) {
  const TPvRichText read = ReadRtf(std::string("{\\rtf1\\ans\0\0\x01x\x1f\\par}", 20));
  ASSERT_EQ(read, (TPvRichText{{{{{std::string("\0\0\x01x\x1f", 5), 0}}}}}));
  EXPECT_EQ(ReadRtf(WriteRtf(read)), read);
}

TEST(Rtf, ReadsWhatOtherEditorsWrite) {
  struct Case {
    const char* what;
    std::string rtf;
    TPvRichText expected;
  } cases[] = {
      {"tables and hidden groups are passed over",
       "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}"
       "{\\colortbl ;\\red255\\green0\\blue0;}{\\*\\generator Msftedit 5.41;}"
       "\\viewkind4\\uc1\\pard\\lang1029\\f0\\fs20 Ahoj \\b sv\\'ecte\\b0\\par\r\n}",
       {{{{{"Ahoj ", 0, "", 20}, {"světe", fsBold, "", 20}}}}}},
      {"unicode characters with their fallback",
       "{\\rtf1\\ansi\\ansicpg1252\\uc1 \\u269?esky \\u-3913?\\'e9\\par}",
       {{{{{"česky ?é", 0}}}}}},
      {"a Western code page maps into cp1250",
       "{\\rtf1\\ansi\\ansicpg1252 \\'9a\\'e1\\'8a\\par}", {{{{{"šáŠ", 0}}}}}},
      {"styles end with their group and with \\plain",
       "{\\rtf1 {\\i a}b\\ul c\\plain d\\par}", {{{{{"a", fsItalic}, {"b", 0}, {"c", fsUnderline}, {"d", 0}}}}}},
      {"no final \\par", "{\\rtf1 jen text}", {{{{{"jen text", 0}}}}}},
      {"not RTF at all: plain lines", "řádek 1\r\nřádek 2", {{{{{"řádek 1", 0}}}, {{{"řádek 2", 0}}}}}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadRtf(c.rtf), c.expected) << c.what;
}

// What the expedition description is printed with: fonts, sizes, colours
// and alignment come back as they went in.
TEST(Rtf, FontsSizesColoursAndAlignmentRoundTrip) {
  TPvRichText t;
  t.paragraphs = {
      {{{"Expedice ", fsBold, "Times New Roman", 36, clRed}, {"Sněžka", fsBold | fsItalic, "Times New Roman", 36}},
       raCenter},
      {{{"QTH: ", 0}, {"Luční bouda", fsUnderline, "Courier New", 20, 0x00804020}}, raRight},
      {{{"přeškrtnuto", fsStrikeOut, "", 16, clBlue}}, raJustify},
      {{{"zpět vlevo", 0}}, raLeft},
  };
  const std::string rtf = WriteRtf(t);
  EXPECT_NE(rtf.find("{\\colortbl ;"), std::string::npos);
  EXPECT_NE(rtf.find("Times New Roman;"), std::string::npos);
  EXPECT_EQ(ReadRtf(rtf), t);

  // As another editor writes them: a font table with charsets and panose,
  // \plain back to the defaults, \pard back to the left.
  const std::string foreign =
      "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}"
      "{\\f1\\froman\\fcharset238{\\*\\panose 02020603050405020304}Times New Roman;}}"
      "{\\colortbl ;\\red0\\green0\\blue255;\\red0\\green128\\blue0;}"
      "\\pard\\qc\\f1\\fs28\\cf1 Nadpis\\par\r\n"
      "\\pard\\plain\\cf2 zelen\\'e1\\cf0  a \\f0 dost\\par}";
  TPvRichText expected;
  expected.paragraphs = {
      {{{"Nadpis", 0, "Times New Roman", 28, makeRgb(0, 0, 255)}}, raCenter},
      {{{"zelená", 0, "", 0, makeRgb(0, 128, 0)}, {" a dost", 0}}, raLeft},
  };
  EXPECT_EQ(ReadRtf(foreign), expected);

  // A tab or a control byte in a font's name is none of the name, so the
  // text written again reads back the same.
  const TPvRichText tabbed = ReadRtf("{\\rtf1{\\fonttbl{\\f1 Aria\tl\x01;}}\\f1 x\\par}");
  ASSERT_EQ(tabbed.paragraphs.size(), 1u);
  ASSERT_EQ(tabbed.paragraphs[0].runs.size(), 1u);
  EXPECT_EQ(tabbed.paragraphs[0].runs[0].font, "Arial");
  EXPECT_EQ(ReadRtf(WriteRtf(tabbed)), tabbed);
}

TEST(Rtf, MemoTransfers) {
  TPvMemo source;
  source.SetContent(czech());
  PvStream s;
  SaveRtfFrom(source, s);
  s.seek(0);
  TPvMemo target;
  target.SetText("staré");
  ASSERT_TRUE(LoadRtfInto(target, s));
  EXPECT_EQ(target.Content(), czech());

  // An empty text changes nothing; a non-empty one replaces the content.
  SetRtfText(target, "");
  EXPECT_EQ(target.Content(), czech());
  SetRtfText(target, "{\\rtf1 nový\\par}");
  EXPECT_EQ(target.Text(), "nový");

  // A stream shorter than what the control asks for is all there is.
  PvStream shortStream(std::string("{\\rtf1 kr\\'e1tk"));
  EXPECT_TRUE(RtfStreamIn(target, shortStream));
  EXPECT_EQ(target.Text(), "krátk");

  auto hidden = CreateHiddenRichEdit();
  EXPECT_EQ(hidden->Width, 0);
  EXPECT_EQ(hidden->Height, 0);
  EXPECT_FALSE(hidden->WordWrap);
  EXPECT_EQ(hidden->MaxLength, 1000000);
  hidden->MaxLength = 7;  // paragraph breaks count two
  hidden->SetText("abcd\r\nefgh");
  EXPECT_EQ(hidden->Text(), "abcd\r\ne");

  hidden->PlainText = true;
  hidden->SetContent(czech());
  EXPECT_EQ(hidden->Content().paragraphs[0].runs.size(), 1u);

  for (const char* name : {"TRxRichEdit", "trxdbrichedit", "TJvxRichEdit", "TJvxDBRichEdit"})
    EXPECT_TRUE(IsForeignRichEdit(TPvMemo(name))) << name;
  EXPECT_FALSE(IsForeignRichEdit(TPvMemo("TRichEdit")));
  EXPECT_FALSE(IsForeignRichEdit(TPvMemo("TMemo")));
}

}  // namespace
}  // namespace vektrano::preview
