#include "preview/value_list.h"

#include <gtest/gtest.h>

#include <clocale>

namespace vektrano::preview {
namespace {

std::string le32(std::int32_t v) {
  PvStream s;
  TPvWriter(s).WriteInteger(v);
  return s.bytes();
}

TEST(ValueList, TypedValuesAndTheirText) {
  // A decimal comma in the process locale must not reach the stored text.
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  std::setlocale(LC_NUMERIC, "cs_CZ.UTF-8");

  TPvValueList v;
  v.SetExtended("FA", 1.23456L);
  v.SetPoint("XY", {0.5L, 1.25L});
  v.SetRect("CR", {0.001L, -2, 3.0004L, 4.5L});
  v.SetInteger("ID", 14);
  v.SetBoolean("WB", false);
  v.SetString("T", "Příliš žluťoučký");
  EXPECT_EQ(v.Lines(), (std::vector<std::string>{"FA=1.235", "XY=500,1250", "CR=1,-2000,3000,4500", "ID=14",
                                                 "WB=0", "T=Příliš žluťoučký"}));
  EXPECT_NEAR(double(v.GetExtended("FA", 0)), 1.235, 1e-15);
  EXPECT_EQ(v.GetPoint("XY", {}), (TPvPointExt{0.5L, 1.25L}));
  EXPECT_EQ(v.GetInteger("ID", 0), 14);
  EXPECT_FALSE(v.GetBoolean("WB", true));
  EXPECT_EQ(v.GetString("T"), "Příliš žluťoučký");
  std::setlocale(LC_NUMERIC, saved.c_str());

  // Missing names give the default; an empty text removes the line.
  EXPECT_EQ(v.GetInteger("ZZ", -7), -7);
  EXPECT_EQ(v.GetPoint("ZZ", {1, 2}), (TPvPointExt{1, 2}));
  v.SetString("T", "");
  EXPECT_FALSE(v.Has("T"));
  EXPECT_EQ(v.GetString("T", "x"), "x");
  // "XY" is not found by the longer "XY2" or the other way round.
  v.SetPoint("XY2", {1, 1});
  EXPECT_EQ(v.GetPoint("XY", {}), (TPvPointExt{0.5L, 1.25L}));
  v.SetPoint("XY", {2, 2});
  EXPECT_EQ(v.GetPoint("XY2", {}), (TPvPointExt{1, 1}));
}

TEST(ValueList, ForeignLinesReadSafely) {
  TPvValueList v;
  v.SetText("CR=\r\nXY=7\r\nN=abc\r\nB=5\n");
  EXPECT_EQ(v.GetRect("CR", {1, 1, 1, 1}), (TPvRectExt{}));  // empty value: all zeros
  EXPECT_EQ(v.GetPoint("XY", {}), (TPvPointExt{0.007L, 0}));  // a missing number reads 0
  EXPECT_EQ(v.GetInteger("N", 3), 3);
  EXPECT_TRUE(v.GetBoolean("B", false));

  // A damaged length falls back to its default instead of carrying NaN or
  // infinity into device pixels.
  for (const char* text : {"nan", "NaN", "inf", "-inf", "infinity", "1e5000", "0x1p3"}) {
    v.SetText(std::string("TP=") + text);
    EXPECT_EQ(v.GetExtended("TP", 0.25L), 0.25L) << text;
  }
  v.SetText("TP=-0.125");
  EXPECT_EQ(v.GetExtended("TP", 0.25L), -0.125L);
}

TEST(ValueList, StreamBlockLayout) {
  TPvValueList v;
  v.SetInteger("ID", 1);
  v.SetString("FN", "Čeština");
  PvStream s;
  v.SaveToStream(s);
  const std::string text = "ID=1\r\nFN=Čeština\r\n";
  EXPECT_EQ(s.bytes(), le32(static_cast<std::int32_t>(text.size())) + text);

  s.seek(0);
  TPvValueList back;
  ASSERT_TRUE(back.LoadFromStream(s));
  EXPECT_EQ(back.Lines(), v.Lines());
  EXPECT_EQ(s.position(), s.size());

  TPvValueList empty;
  PvStream e;
  empty.SaveToStream(e);
  EXPECT_EQ(e.bytes(), le32(0));
  e.seek(0);
  back.SetInteger("X", 1);
  ASSERT_TRUE(back.LoadFromStream(e));
  EXPECT_EQ(back.Count(), 0);
}

TEST(ValueList, LineBreaksInValuesCannotForgeKeys) {
  TPvValueList v;
  const std::string memo = "první řádek\r\nID=99\nthird\rlast \x1B" "e";
  v.SetString("T", memo);
  v.SetInteger("ID", 14);
  PvStream s;
  v.SaveToStream(s);
  s.seek(0);
  TPvValueList back;
  ASSERT_TRUE(back.LoadFromStream(s));
  EXPECT_EQ(back.Count(), 2);
  EXPECT_EQ(back.GetString("T"), memo);
  EXPECT_EQ(back.GetInteger("ID", 0), 14);
  // A value written without escapes (older files) reads as it stands.
  TPvValueList old;
  old.SetText("T=C:\\deniky\\zr4.qvl\r\n");
  EXPECT_EQ(old.GetString("T"), "C:\\deniky\\zr4.qvl");
}

TEST(ValueList, HostileBlocksFailAndLeaveTheListAlone) {
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"short count", std::string("\x05\x00", 2)},
      {"negative count", le32(-1) + "ID=1\r\n"},
      {"count beyond the stream", le32(1000) + "ID=1\r\n"},
      {"huge count", le32(0x7FFFFFFF)},
  };
  for (const auto& c : cases) {
    TPvValueList v;
    v.SetInteger("UI", 5);
    PvStream s(c.bytes);
    EXPECT_FALSE(v.LoadFromStream(s)) << c.what;
    EXPECT_EQ(v.Lines(), std::vector<std::string>{"UI=5"}) << c.what;
  }
}

TEST(ValueList, WriterAndReaderOfStreams) {
  PvStream inner("abc");
  PvStream s;
  TPvWriter w(s);
  w.WriteInteger(-2);
  w.WriteStream(inner);
  EXPECT_EQ(s.bytes(), std::string("\xFE\xFF\xFF\xFF\x03\x00\x00\x00" "abc", 11));
  s.seek(0);
  TPvReader r(s);
  std::int32_t n = 0;
  ASSERT_TRUE(r.ReadInteger(n));
  EXPECT_EQ(n, -2);
  PvStream out;
  ASSERT_TRUE(r.ReadStream(out));
  EXPECT_EQ(out.bytes(), "abc");
  EXPECT_FALSE(r.ReadInteger(n));
}

}  // namespace
}  // namespace vektrano::preview
