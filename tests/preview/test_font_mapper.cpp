#include "preview/font_mapper.h"

#include <gtest/gtest.h>

#include "preview/units.h"

namespace vektrano::preview {
namespace {

TEST(FontMapper, MeasuringResolutionFollowsTheSystem) {
  EXPECT_EQ(MeasureResolutionFor("Windows 98"), 3600);
  EXPECT_EQ(MeasureResolutionFor("Windows 95"), 3600);
  EXPECT_EQ(MeasureResolutionFor("Windows XP"), 7200);
  EXPECT_EQ(MeasureResolutionFor(""), 7200);
  EXPECT_EQ(MeasureResolution, 7200);
}

TEST(FontMapper, AdvancesCarryFractionsWithoutLosingPixels) {
  struct Case {
    std::vector<Extended> widths;
    std::vector<int> advances;
  } cases[] = {
      {{10.4L, 10.4L, 10.4L}, {10, 10, 11}},
      {{10.8L, 10.8L}, {10, 11}},
      {{10.5L, 10.5L}, {10, 10}},               // exactly 1.0 carried does not count
      {{10.8L, 10.8L, 10.8L}, {10, 11, 11}},   // 32 of 32.4: what is paid is what is taken off
      {{10.5L, 10.5L, 10.5L}, {10, 10, 11}},
      {{}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ComputeAdvances(c.widths), c.advances);
  // A long caption keeps its width to within one pixel.
  std::vector<Extended> many(200, 7.9L);
  long long sum = 0;
  for (int a : ComputeAdvances(many)) sum += a;
  EXPECT_GE(sum, 1579);
  EXPECT_LE(sum, 1580);
}

// Fonts of 10 pt: at 7200 per inch the em is 1000 units, a character 500
// (half an em) and a line 1150. On a 96 dpi canvas a character is 6.667 px.
class FontMapperLayout : public ::testing::Test {
 protected:
  TPvFontMapper mapper{std::make_unique<FixedWidthMeasurer>(), 7200};
  RecordingCanvas canvas{CanvasKind::Screen, 96, 96};
  void SetUp() override { canvas.font().setSize(10); }
  std::vector<std::string> texts() const {
    std::vector<std::string> t;
    for (auto* c : canvas.find("text")) t.push_back(c->text);
    return t;
  }
};

TEST_F(FontMapperLayout, MeasuresAtTheMeasuringResolution) {
  auto e = mapper.MeasureText(canvas.font(), "abcd");
  EXPECT_NEAR(double(e.width), 2000.0 / 7200, 1e-15);
  EXPECT_NEAR(double(e.height), 1150.0 / 7200, 1e-15);
  // A caption font given by its cell height keeps its point size.
  CanvasFont f;
  f.height = 27;
  EXPECT_EQ(f.size(), -20);
}

TEST_F(FontMapperLayout, BreaksLines) {
  // "abc " is 4 chars = 0.278 in; width 30 px = 0.3125 in.
  struct Case {
    const char* text;
    int width;
    bool wrap;
    std::vector<std::string> lines;
  } cases[] = {
      {"abc defg", 30, true, {"abc", "defg"}},
      {"abc defg", 30, false, {"abc defg"}},
      {"ab\r\ncd", 300, true, {"ab", "cd"}},               // a line break always ends the line
      {"abcdefghijk xy", 30, true, {"abcdefghijk", "xy"}},  // an over-long first word stands alone
      {"ab abcdefghijk xy", 30, true, {"ab abcdefghijk", "xy"}},  // it ends the current line
      {"", 30, true, {}},
  };
  for (const auto& c : cases) {
    canvas.clear();
    mapper.WordWrap = c.wrap;
    Extended h = mapper.WrapText(canvas, {0, 0, c.width, 500}, c.text, 0, false);
    EXPECT_EQ(texts(), c.lines) << c.text;
    // Height in canvas pixels: lines x 1150/7200 in x 96.
    EXPECT_NEAR(double(h), c.lines.size() * 1150.0 / 7200 * 96, 1e-9) << c.text;
  }
}

TEST_F(FontMapperLayout, PlacesLinesAndCharacters) {
  mapper.WordWrap = true;
  mapper.WrapText(canvas, {10, 20, 40, 200}, "abc defg", 1, false);
  auto lines = canvas.find("text");
  ASSERT_EQ(lines.size(), 2u);
  // Right-aligned: "abc" is round(20 px) wide, so it starts at 40 - 20.
  EXPECT_EQ(lines[0]->points[0], (IntPoint{20, 20}));
  // Second line: top + round(1150/7200 * 96) = 20 + 15.
  EXPECT_EQ(lines[1]->points[0], (IntPoint{13, 35}));
  EXPECT_EQ(lines[0]->advances, (std::vector<int>{6, 7, 7}));  // 6.667 each, 20 in all
  ASSERT_TRUE(lines[0]->clip);
  EXPECT_EQ(*lines[0]->clip, (IntRect{10, 20, 40, 200}));

  canvas.clear();
  mapper.DrawMappedText(canvas, 5, 6, "ab", nullptr, true);
  EXPECT_EQ(mapper.resolution(), 96);
  EXPECT_EQ(canvas.lines(), std::vector<std::string>{"text 5,6 \"ab\" adv=6,6 font=Arial/-13/96/0"});
  mapper.DrawMappedText(canvas, 0, 0, "", nullptr, false);
  EXPECT_EQ(mapper.resolution(), 7200);
}

TEST_F(FontMapperLayout, WrappedTextHeightInMeasuringUnits) {
  CanvasFont f;
  f.setSize(10);
  mapper.WordWrap = true;
  EXPECT_EQ(mapper.WrappedTextHeight(f, {0, 0, 2250, 0}, "abc defg"), 2 * 1150);  // 0.3125 in
  EXPECT_EQ(mapper.WrappedTextHeight(f, {0, 0, 72000, 0}, "abc defg"), 1150);
  EXPECT_EQ(mapper.WrappedTextHeight(f, {0, 0, 2250, 0}, ""), 0);
  mapper.WordWrap = false;
  EXPECT_EQ(mapper.WrappedTextHeight(f, {0, 0, 2250, 0}, "abc defg"), 1150);
}

TEST(FontMapper, TextHeightInchesAt600) {
  SetFontMapperMeasurer(std::make_unique<FixedWidthMeasurer>());
  CanvasFont f;
  f.setSize(12);  // em 100 px at 600 per inch, line 115
  EXPECT_NEAR(double(TextHeightInches(f)), 115.0 / 600, 1e-15);
}

}  // namespace
}  // namespace vektrano::preview
