#include "preview/units.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/message.h"

namespace vektrano::preview {
namespace {

TEST(Units, ConversionsGoThroughInches) {
  struct Case {
    Extended value;
    TPvMeasurement from, to;
    Extended expected;
  } cases[] = {
      {1, pvInches, pvUnits, 2540},     {1, pvInches, pvTwips, 1440},
      {1, pvInches, pvPixels, 96},      {96, pvPixels, pvMillimeters, 25.4L},
      {2.54L, pvCentimeters, pvInches, 1}, {1440, pvTwips, pvPixels, 96},
      {2540, pvUnits, pvMillimeters, 25.4L}, {7, pvMillimeters, pvMillimeters, 7},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(static_cast<double>(ConvertValue(c.value, c.from, c.to)), static_cast<double>(c.expected), 1e-12)
        << c.value << " " << int(c.from) << "->" << int(c.to);
  TPvRectExt r = ConvertRect({25.4L, 50.8L, 0, 254}, pvMillimeters, pvInches);
  EXPECT_NEAR(double(r.Left), 1, 1e-15);
  EXPECT_NEAR(double(r.Top), 2, 1e-15);
  EXPECT_NEAR(double(r.Bottom), 10, 1e-15);
}

TEST(Units, PaperTableInInches) {
  struct Case {
    TPvPaperSize paper;
    const char* name;
    double w, h;
    bool envelope;
  } cases[] = {
      {A3, "A3", 297 / 25.4, 420 / 25.4, false},    {A4, "A4", 210 / 25.4, 297 / 25.4, false},
      {A5, "A5", 148.5 / 25.4, 210 / 25.4, false},  {A6, "A6", 105 / 25.4, 148 / 25.4, false},
      {B5, "B5", 6.92, 9.84, true},                 {C5, "C5", 6.38, 9.02, true},
      {Legal, "Legal", 8.5, 14, false},             {Letter, "Letter", 8.5, 11, false},
      {B4, "B4", 250 / 25.4, 354 / 25.4, true},     {Envelope_09, "Envelope_09", 3.78, 8.78, true},
      {Envelope_10, "Envelope_10", 4.18, 9.12, true}, {Envelope_11, "Envelope_11", 4.12, 10.38, true},
      {Envelope_12, "Envelope_12", 12.44, 11, true}, {Envelope_14, "Envelope_14", 14.5, 11.12, true},
      {Tabloid, "Tabloid", 11, 17, false},          {Ledger, "Ledger", 17, 11, false},
      {Executive, "Executive", 7.14, 10.12, false},
  };
  for (const auto& c : cases) {
    TPvSizeExt s = PaperSizeInches(c.paper);
    EXPECT_NEAR(double(s.Width), c.w, 1e-9) << c.name;
    EXPECT_NEAR(double(s.Height), c.h, 1e-9) << c.name;
    EXPECT_EQ(PaperSizeName(c.paper), c.name);
    EXPECT_EQ(PaperSizeFromName(c.name), c.paper);
    EXPECT_EQ(IsEnvelopePaper(c.paper), c.envelope) << c.name;
  }
  EXPECT_EQ(PaperSizeFromName("a4"), Custom);
  EXPECT_EQ(PaperSizeFromName("A4 "), Custom);
  EXPECT_EQ(PaperSizeName(Custom), "Custom");
  EXPECT_FALSE(IsEnvelopePaper(Custom));
}

TEST(Units, FontStyleText) {
  EXPECT_EQ(FontStyleToText(fsBold | fsItalic), "b,i");
  EXPECT_EQ(FontStyleToText(fsUnderline | fsBold | fsStrikeOut), "b,u");
  EXPECT_EQ(FontStyleToText(0), "");
  EXPECT_EQ(TextToFontStyle("u,b"), fsBold | fsUnderline);
  EXPECT_EQ(TextToFontStyle(""), 0);
  EXPECT_EQ(TextToFontStyle(FontStyleToText(fsBold | fsItalic | fsUnderline)), fsBold | fsItalic | fsUnderline);
}

TEST(Units, ContrastColorAndRectHelpers) {
  EXPECT_EQ(ContrastColor(clWhite), clBlack);
  EXPECT_EQ(ContrastColor(makeRgb(255, 0, 0)), makeRgb(0, 255, 255));
  EXPECT_EQ(ContrastColor(makeRgb(128, 129, 0)), makeRgb(255, 0, 255));

  EXPECT_EQ(ScaleRect({1, 2, 3, 5}, 2.5L), (IntRect{2, 5, 8, 12}));  // halves to even
  EXPECT_THROW(ScaleRect({0, 0, 1, 1 << 30}, 4), std::range_error);
  IntRect r{1, 2, 30, 40};
  EXPECT_EQ(CornersToRect(RectToCorners(r)), r);
  EXPECT_EQ(RectToCorners(r).bottomLeft, (IntPoint{1, 40}));
  EXPECT_EQ(RectWidth(r), 29);
  EXPECT_EQ(RectHeight(r), 38);
  EXPECT_EQ(OffsetRectExt({1, 2, 3, 4}, 1, -1), (TPvRectExt{2, 1, 4, 3}));

  RecordingCanvas c;
  DrawRectPolygon(c, {0, 0, 10, 20});
  ASSERT_EQ(c.commands().size(), 1u);
  EXPECT_EQ(c.commands()[0].points,
            (std::vector<IntPoint>{{0, 0}, {10, 0}, {10, 20}, {0, 20}, {0, 0}, {10, 0}}));
  EXPECT_FALSE(IsPrinterCanvas(c));
  EXPECT_TRUE(IsPrinterCanvas(RecordingCanvas(CanvasKind::Printer, 600, 600)));
}

TEST(Units, ReplaceAllTextIsOnePass) {
  struct Case {
    const char* text;
    const char* token;
    const char* with;
    const char* expected;
  } cases[] = {
      {"{PAGE}/{PAGE}", "{PAGE}", "3", "3/3"},
      {"bez tokenů", "{PAGE}", "3", "bez tokenů"},
      {"aXa", "a", "aa", "aaXaa"},  // the replacement holds the token: no endless loop
      {"xx", "x", "", ""},
      {"abc", "", "z", "abc"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceAllText(c.text, c.token, c.with), c.expected) << c.text;
}

TEST(Units, TokensUseTheLibraryFormatsAndSeparators) {
  platform::DateTime t{2026, 3, 7, 9, 5, 0, 0};
  EXPECT_EQ(ReplaceTokens("Strana {PAGE} z {NUMPAGES}, {DATE} {TIME}", 3, 12, kPvTimeFormat, kPvDateFormat, t,
                          {'.', ':'}),
            "Strana 3 z 12, 07.03.2026 09.05");
  // The "/" of both formats prints as the date separator of the system.
  EXPECT_EQ(ReplaceTokens("{DATE} {TIME}", 1, 1, kPvTimeFormat, kPvDateFormat, t, {'-', ':'}),
            "07-03-2026 09-05");
  EXPECT_EQ(FormatDateTime("d.m.yy h:nn:ss", t, {}), "7.3.26 9:05:00");
  EXPECT_EQ(ReplaceTokens("{PAGE}{PAGE}", 5, 9), "55");
  EXPECT_EQ(ReplaceTokens("Deník", 5, 9), "Deník");
}

TEST(Units, VersionNamesAboutAndErrorBox) {
  EXPECT_EQ(WindowsVersionName(WindowsPlatform::Win32s, 3, 1), "Windows 3.1x running Win32s");
  EXPECT_EQ(WindowsVersionName(WindowsPlatform::Windows9x, 3, 95), "Windows 95");
  EXPECT_EQ(WindowsVersionName(WindowsPlatform::Windows9x, 4, 10), "Windows 98");
  EXPECT_EQ(WindowsVersionName(WindowsPlatform::Windows9x, 4, 90), "Windows ME");
  EXPECT_EQ(WindowsVersionName(WindowsPlatform::WindowsNT, 4, 0), "Windows NT");
  EXPECT_EQ(WindowsVersionName(WindowsPlatform::WindowsNT, 5, 0), "Windows 2000");
  EXPECT_EQ(WindowsVersionName(WindowsPlatform::WindowsNT, 5, 1), "Windows XP");
  EXPECT_EQ(WindowsVersionName(), "");

  EXPECT_EQ(PvAboutText("TPvPreview"), "TPvPreview v2.96.6");

  std::vector<platform::Message> shown;
  auto old = platform::setMessageHandler([&](const platform::Message& m) {
    shown.push_back(m);
    return platform::Answer::Ok;
  });
  ShowPvError("TPvGridPrint", "Chybí náhled");
  platform::setMessageHandler(old);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "TPvGridPrint Error!\r\n\r\nChybí náhled");
  EXPECT_EQ(shown[0].kind, platform::MessageKind::Error);
}

}  // namespace
}  // namespace vektrano::preview
