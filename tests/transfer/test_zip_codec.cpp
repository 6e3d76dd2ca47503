// The decoders of the older methods, on fixtures made bit by bit here.
#include <gtest/gtest.h>

#include <random>

#include "transfer/zip_codec.h"

using namespace vektrano::transfer;

namespace {

// Bits least significant first, as the older methods store them.
struct Bits {
  std::string bytes;
  int used = 0;
  void bit(unsigned b) {
    if (used == 0) bytes += '\0';
    if (b) bytes.back() = static_cast<char>(bytes.back() | (1 << used));
    used = (used + 1) & 7;
  }
  void lsb(unsigned v, int n) {
    for (int i = 0; i < n; ++i) bit((v >> i) & 1);
  }
  void msb(unsigned v, int n) {
    for (int i = n - 1; i >= 0; --i) bit((v >> i) & 1);
  }
};

struct Decoded {
  std::string data;
  std::vector<std::string> messages;
};

template <typename F>
Decoded run(const std::string& in, uint64_t size, F decode) {
  StringSource src(in);
  StringSink sink(size);
  Decoded d;
  decode(src, sink, [&](const std::string& m) { d.messages.push_back(m); });
  sink.finish();
  d.data = sink.data;
  return d;
}

}  // namespace

TEST(UnShrink, LiteralsPartialClearAndWiderCodes) {
  Bits b;
  int width = 9;
  auto code = [&](unsigned c) { b.lsb(c, width); };
  code('a'), code('b'), code(257), code(257);  // 257 = "ab", 258 = "ba", 259 = "aba"
  code(256), code(2);                          // frees 258, 259 (257 is 259's prefix)
  code('c');                                   // 258 is reused first: "abc"
  code(258);
  code(256), code(1);
  width = 10;
  code(257);
  Decoded d = run(b.bytes, 12, UnShrink);
  EXPECT_EQ(d.data, "abababcabcab");
  EXPECT_TRUE(d.messages.empty());
}

TEST(UnShrink, SpecialCaseAndBadCodes) {
  Bits b;
  b.lsb('a', 9), b.lsb('b', 9), b.lsb(258, 9);  // 258 not yet defined: "b" + "b"
  EXPECT_EQ(run(b.bytes, 4, UnShrink).data, "abbb");

  Bits bad;
  bad.lsb('a', 9), bad.lsb(256, 9), bad.lsb(7, 9), bad.lsb('b', 9);
  Decoded d = run(bad.bytes, 2, UnShrink);
  EXPECT_EQ(d.data, "a");
  EXPECT_EQ(d.messages, std::vector<std::string>{"Bad binding code! Continue..."});
}

TEST(UnReduce, FollowersRunsAndZeroWindow) {
  Bits b;
  for (int set = 255; set >= 0; --set) {
    if (set == 0) {  // last byte 0 at the start: followers 'P', 'Q'
      b.lsb(2, 6), b.lsb('P', 8), b.lsb('Q', 8);
    } else {
      b.lsb(0, 6);
    }
  }
  b.bit(0), b.lsb(1, 1);  // follower index 1 of byte 0: 'Q'
  for (int c : {int{'x'}, 144, 0}) b.lsb(c, 8);
  b.bit(1);  // after a 0 its followers apply: flag 1, then a literal
  for (int c : {int{'y'}, 144, 1, 1, 144, 1, 200}) b.lsb(c, 8);
  // 144 0 is one 144; 144 V B copies (V & 0x7F) + 3 bytes from B + 1 back;
  // before the start of the output the window holds zeros.
  Decoded d = run(b.bytes, 12, [](EntrySource& s, EntrySink& o, const ZipReporter& r) { UnReduce(s, o, 1, r); });
  EXPECT_EQ(d.data, std::string("Qx\x90y\x90y\x90y\0\0\0\0", 12));
}

TEST(UnReduce, ReadsPastTheDataAsOnesUntilTheSize) {
  Bits b;
  for (int set = 255; set >= 0; --set) b.lsb(0, 6);
  b.lsb('z', 8);
  Decoded d = run(b.bytes, 3, [](EntrySource& s, EntrySink& o, const ZipReporter& r) { UnReduce(s, o, 4, r); });
  EXPECT_EQ(d.data, "z\xFF\xFF");
}

TEST(Explode, TwoTreesSmallWindow) {
  Bits b;
  // Length and distance trees: 64 values of 6 bits; value v gets code 63 - v.
  for (int tree = 0; tree < 2; ++tree) {
    b.lsb(3, 8);
    for (int i = 0; i < 4; ++i) b.lsb(0xF5, 8);
  }
  auto tree6 = [&](unsigned v) { b.msb(63 - v, 6); };
  b.bit(1), b.lsb('a', 8), b.bit(1), b.lsb('b', 8);
  b.bit(0), b.lsb(1, 6), tree6(0), tree6(2);   // distance 2, length 2 + 2
  b.bit(0), b.lsb(35, 6), tree6(1), tree6(0);  // distance 100, before the start: zeros
  Decoded d = run(b.bytes, 8, [](EntrySource& s, EntrySink& o, const ZipReporter& r) { Explode(s, o, 0, r); });
  EXPECT_EQ(d.data, std::string("ababab\0\0", 8));
  EXPECT_TRUE(d.messages.empty());
}

TEST(Explode, LiteralTreeBigWindow) {
  Bits b;
  b.lsb(15, 8);
  for (int i = 0; i < 16; ++i) b.lsb(0xF7, 8);  // 256 literals of 8 bits: v gets 255 - v
  for (int tree = 0; tree < 2; ++tree) {
    b.lsb(3, 8);
    for (int i = 0; i < 4; ++i) b.lsb(0xF5, 8);
  }
  b.bit(1), b.msb(255 - 'q', 8);
  b.bit(0), b.lsb(0, 7), b.msb(63, 6), b.msb(63 - 63, 6), b.lsb(1, 8);  // distance 1, length 63 + 1 + 3
  Decoded d = run(b.bytes, 68, [](EntrySource& s, EntrySink& o, const ZipReporter& r) { Explode(s, o, 6, r); });
  EXPECT_EQ(d.data, std::string(68, 'q'));
}

TEST(Explode, OverfullTreeIsReported) {
  Bits b;
  b.lsb(0, 8), b.lsb(0x30, 8);  // four values of one bit: cannot be a tree
  Decoded d = run(b.bytes, 4, [](EntrySource& s, EntrySink& o, const ZipReporter& r) { Explode(s, o, 0, r); });
  EXPECT_EQ(d.data, "");
  EXPECT_EQ(d.messages, std::vector<std::string>{"Bad Shannon-Fano decode tree !"});
}

// Random data must never hang a decoder or write past the declared size.
TEST(OlderMethods, RandomDataStaysInBounds) {
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    std::string in(static_cast<size_t>(rng() % 3000), '\0');
    for (char& c : in) c = static_cast<char>(rng());
    const uint64_t size = rng() % 20000;
    auto check = [&](auto decode) {
      Decoded d = run(in, size, decode);
      EXPECT_LE(d.data.size(), size);
    };
    check(UnShrink);
    check([](EntrySource& s, EntrySink& o, const ZipReporter& r) { UnReduce(s, o, 1 + (s.get() & 3), r); });
    check([&](EntrySource& s, EntrySink& o, const ZipReporter& r) { Explode(s, o, rng() & 6, r); });
  }
}
