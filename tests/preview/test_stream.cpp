#include "preview/stream.h"

#include <gtest/gtest.h>

namespace vektrano::preview {
namespace {

std::string le32(std::int32_t v) {
  PvStream s;
  TPvWriter(s).WriteInteger(v);
  return s.bytes();
}

TEST(Stream, PositionsAndGaps) {
  PvStream s;
  s.seek(6);
  s.write("ab");  // a gap before the position reads as zeros
  EXPECT_EQ(s.bytes(), std::string(6, '\0') + "ab");
  s.seek(-3);
  EXPECT_EQ(s.position(), 0);
  s.seek(100);
  EXPECT_EQ(s.remaining(), 0);
  char buf[4];
  EXPECT_EQ(s.read(buf, 4), 0u);
  s.seek(5);
  EXPECT_FALSE(s.readExact(buf, 4));  // only three bytes left: nothing is read
  EXPECT_EQ(s.position(), 5);
  EXPECT_EQ(s.read(buf, 4), 3u);
}

TEST(Stream, HostileBlocksLeaveTheReaderAtTheCount) {
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"count cut short", "\x03\x00\x00"},
      {"negative count", le32(-8) + "abcdefgh"},
      {"count beyond the stream", le32(9) + "abcdefgh"},
      {"largest count", le32(0x7FFFFFFF) + "abc"},
  };
  for (const auto& c : cases) {
    PvStream s("xx" + c.bytes);
    s.seek(2);
    TPvReader r(s);
    PvStream target("kept");
    EXPECT_FALSE(r.ReadStream(target)) << c.what;
    EXPECT_EQ(target.bytes(), "kept") << c.what;
    EXPECT_EQ(s.position(), 2) << c.what;
  }
  PvStream ok(le32(3) + "abc" + le32(0));
  TPvReader r(ok);
  std::string out;
  ASSERT_TRUE(r.ReadBlock(out));
  EXPECT_EQ(out, "abc");
  ASSERT_TRUE(r.ReadBlock(out));  // an empty block is a block
  EXPECT_EQ(out, "");
  EXPECT_FALSE(r.ReadBlock(out));  // at the end
}

}  // namespace
}  // namespace vektrano::preview
