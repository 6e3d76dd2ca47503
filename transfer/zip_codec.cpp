#include "transfer/zip_codec.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "transfer/zip_support.h"

namespace vektrano::transfer {

void EntrySink::write(const uint8_t* data, size_t n) {
  if (written_ >= limit_) return;
  if (n > limit_ - written_) n = static_cast<size_t>(limit_ - written_);
  while (n > 0) {
    size_t take = std::min(n, kBuffer - len_);
    std::copy(data, data + take, buf_.begin() + static_cast<ptrdiff_t>(len_));
    len_ += take;
    written_ += take;
    data += take;
    n -= take;
    if (len_ == kBuffer) drain();
  }
}

void EntrySink::drain() {
  if (len_ == 0) return;
  crc_ = Crc32(crc_, buf_.data(), len_);
  if (!failed_ && !consume(buf_.data(), len_)) failed_ = true;
  len_ = 0;
}

bool EntrySink::finish() {
  drain();
  return !failed_;
}

namespace {

// Bits of the compressed data, least significant bit of each byte first.
class BitReader {
 public:
  explicit BitReader(EntrySource& in) : in_(in) {}

  // n (at most 24) bits as a number, the first bit read lowest. Bits missing
  // at the end of the data read as ones; false when the data were already
  // used up before this read began.
  bool bits(int n, unsigned& v) {
    fill(n);
    if (count_ == 0) return false;
    if (count_ < n) {
      v = static_cast<unsigned>((buf_ | (~0ull << count_)) & ((1ull << n) - 1));
      buf_ = 0;
      count_ = 0;
      return true;
    }
    take(n, v);
    return true;
  }

  // n bits, all of them from the data; false when fewer remain.
  bool exact(int n, unsigned& v) {
    fill(n);
    if (count_ < n) return false;
    take(n, v);
    return true;
  }

 private:
  void fill(int n) {
    while (count_ < n && !ended_) {
      int c = in_.get();
      if (c < 0) {
        ended_ = true;
        break;
      }
      buf_ |= static_cast<uint64_t>(c) << count_;
      count_ += 8;
    }
  }
  void take(int n, unsigned& v) {
    v = static_cast<unsigned>(buf_ & ((1ull << n) - 1));
    buf_ >>= n;
    count_ -= n;
  }

  EntrySource& in_;
  uint64_t buf_ = 0;
  int count_ = 0;
  bool ended_ = false;
};

std::string format(const char* pattern, int value) {
  char buf[128];
  std::snprintf(buf, sizeof buf, pattern, value);
  return buf;
}

// ---- method 1 ----------------------------------------------------------

void unShrink(EntrySource& in, EntrySink& out, const ZipReporter& report) {
  constexpr unsigned kCodes = 8192;
  constexpr unsigned kFirstFree = 257;
  constexpr uint16_t kNone = 0xFFFF;
  std::vector<uint16_t> prefix(kCodes, kNone);
  std::vector<uint16_t> users(kCodes, 0);  // codes that have this one as prefix
  std::vector<uint8_t> suffix(kCodes, 0);
  std::vector<uint8_t> defined(kCodes, 0);
  std::vector<uint8_t> stack(kCodes);
  for (unsigned i = 0; i < 256; ++i) {
    suffix[i] = static_cast<uint8_t>(i);
    defined[i] = 1;
  }
  std::vector<uint16_t> freeList;
  for (unsigned c = kFirstFree; c < kCodes; ++c) freeList.push_back(static_cast<uint16_t>(c));
  size_t nextFree = 0;

  auto partialClear = [&] {
    // Leaves as they stand now go, all at once; a prefix whose last user
    // goes here stays until the next clear.
    std::vector<uint16_t> leaves;
    for (unsigned c = kFirstFree; c < kCodes; ++c)
      if (users[c] == 0) leaves.push_back(static_cast<uint16_t>(c));
    for (uint16_t c : leaves) {
      if (defined[c] && prefix[c] != kNone && users[prefix[c]] > 0) --users[prefix[c]];
      prefix[c] = kNone;
      defined[c] = 0;
    }
    freeList = std::move(leaves);
    nextFree = 0;
  };

  BitReader br(in);
  int codeSize = 9;
  unsigned code;
  if (!br.exact(codeSize, code) || code > 255) return;
  out.put(static_cast<uint8_t>(code));
  unsigned prev = code;

  while (!out.full()) {
    if (!br.exact(codeSize, code)) return;
    if (code == 256) {
      unsigned control;
      if (!br.exact(codeSize, control)) return;
      if (control == 1) {
        if (++codeSize > 13) return;
      } else if (control == 2) {
        partialClear();
      } else {
        report("Bad binding code! Continue...");
        return;
      }
      continue;
    }
    if (code >= kCodes) {
      report("Code is bad !");
      return;
    }
    // Unwind the string of the code; an undefined code is the previous
    // string followed by its own first byte.
    const bool special = !defined[code];
    unsigned cur = special ? prev : code;
    size_t depth = 0;
    while (cur != kNone) {
      if (depth == kCodes) {
        report(format("Sorry stack owerflow (%d)!", static_cast<int>(depth)));
        return;
      }
      stack[depth++] = suffix[cur];
      cur = prefix[cur];
    }
    const uint8_t first = stack[depth - 1];
    while (depth > 0) out.put(stack[--depth]);
    if (special) out.put(first);

    if (nextFree < freeList.size()) {
      unsigned c = freeList[nextFree++];
      prefix[c] = static_cast<uint16_t>(prev);
      suffix[c] = first;
      defined[c] = 1;
      ++users[prev];
    }
    prev = code;
  }
}

// ---- methods 2-5 ---------------------------------------------------------

int followerBits(unsigned n) {
  if (n <= 2) return 1;
  if (n <= 4) return 2;
  if (n <= 8) return 3;
  if (n <= 16) return 4;
  return 5;
}

void unReduce(EntrySource& in, EntrySink& out, int factor) {
  BitReader br(in);
  // Past the end of the data every read gives one-bits; the declared size
  // ends the decoding.
  auto bits = [&br](int n, unsigned& v) {
    if (!br.bits(n, v)) v = (1u << n) - 1;
    return true;
  };
  std::vector<std::array<uint8_t, 32>> followers(256);
  std::array<uint8_t, 256> setSize{};
  for (int i = 255; i >= 0; --i) {
    unsigned n;
    if (!bits(6, n) || n > 32) return;
    setSize[i] = static_cast<uint8_t>(n);
    followers[i].fill(0);
    for (unsigned j = 0; j < n; ++j) {
      unsigned v;
      if (!bits(8, v)) return;
      followers[i][j] = static_cast<uint8_t>(v);
    }
  }

  std::vector<uint8_t> window(4096, 0);
  uint32_t pos = 0;
  auto emit = [&](uint8_t b) {
    out.put(b);
    window[pos++ & 4095] = b;
  };
  const unsigned mask = 0xFFu >> factor;
  int state = 0;
  unsigned v = 0, len = 0, last = 0;
  while (!out.full()) {
    unsigned c;
    if (setSize[last] == 0) {
      if (!bits(8, c)) return;
    } else {
      unsigned literal;
      if (!bits(1, literal)) return;
      if (literal) {
        if (!bits(8, c)) return;
      } else {
        unsigned index;
        if (!bits(followerBits(setSize[last]), index)) return;
        c = followers[last][index];
      }
    }
    last = c;
    switch (state) {
      case 0:
        if (c == 144)
          state = 1;
        else
          emit(static_cast<uint8_t>(c));
        break;
      case 1:
        if (c == 0) {
          emit(144);
          state = 0;
        } else {
          v = c;
          len = v & mask;
          state = len == mask ? 2 : 3;
        }
        break;
      case 2:
        len += c;
        state = 3;
        break;
      default: {
        const uint32_t distance = ((v >> (8 - factor)) << 8) + c + 1;
        for (unsigned k = 0; k < len + 3 && !out.full(); ++k) emit(window[(pos - distance) & 4095]);
        state = 0;
      }
    }
  }
}

// ---- method 6 ------------------------------------------------------------

constexpr uint16_t kEmpty = 0xFFFF;

// A Shannon-Fano tree of nodes with two children; a child above maxValue is
// another node, any other a value.
struct SfTree {
  std::vector<std::array<uint16_t, 2>> nodes;
  uint16_t root = 0;
  uint16_t maxValue = 0;
};

// Reads and builds one tree of `values` values; false for a tree that
// cannot be built (reported) or data that end.
bool readTree(BitReader& br, unsigned values, SfTree& tree, const ZipReporter& report) {
  const char* bad = "Bad Shannon-Fano decode tree !";
  unsigned descriptions;
  if (!br.bits(8, descriptions)) return false;
  ++descriptions;
  std::vector<std::pair<uint8_t, uint16_t>> pairs;  // bit length, value
  for (unsigned i = 0; i < descriptions; ++i) {
    unsigned d;
    if (!br.bits(8, d)) return false;
    const unsigned length = (d & 15) + 1, count = (d >> 4) + 1;
    for (unsigned k = 0; k < count; ++k) {
      if (pairs.size() >= values) {
        report(bad);
        return false;
      }
      pairs.emplace_back(static_cast<uint8_t>(length), static_cast<uint16_t>(pairs.size()));
    }
  }
  std::stable_sort(pairs.begin(), pairs.end(),
                   [](const auto& x, const auto& y) { return x.first < y.first; });

  const unsigned total = values == 256 ? 512 : 128;
  tree.nodes.assign(total, {kEmpty, kEmpty});
  tree.root = static_cast<uint16_t>(total - 1);
  tree.maxValue = static_cast<uint16_t>(values - 1);
  unsigned nextInner = tree.root - 1;

  uint32_t code = 0, increment = 0;
  unsigned lastLength = 0;
  for (size_t i = pairs.size(); i-- > 0;) {
    code += increment;
    const unsigned length = pairs[i].first;
    if (length != lastLength) {
      lastLength = length;
      increment = 1u << (16 - length);
    }
    if (code > 0xFFFF) {
      report(bad);
      return false;
    }
    const unsigned bitsOfCode = code >> (16 - length);
    unsigned node = tree.root;
    for (unsigned b = length; b-- > 1;) {
      uint16_t& child = tree.nodes[node][(bitsOfCode >> b) & 1];
      if (child == kEmpty) {
        if (nextInner <= tree.maxValue) {
          report(bad);
          return false;
        }
        child = static_cast<uint16_t>(nextInner--);
      } else if (child <= tree.maxValue) {
        report(bad);
        return false;
      }
      node = child;
    }
    uint16_t& leaf = tree.nodes[node][bitsOfCode & 1];
    if (leaf != kEmpty) {
      report(bad);
      return false;
    }
    leaf = pairs[i].second;
  }
  return true;
}

// One value of the tree, the first bit read deciding at the root; false at
// the end of the data or at an empty branch (reported).
bool decode(BitReader& br, const SfTree& tree, unsigned& value, const ZipReporter& report) {
  unsigned node = tree.root;
  for (;;) {
    unsigned bit;
    if (!br.bits(1, bit)) return false;
    const uint16_t child = tree.nodes[node][bit];
    if (child == kEmpty) {
      report("Bad Shannon-Fano decode tree !");
      return false;
    }
    if (child <= tree.maxValue) {
      value = child;
      return true;
    }
    node = child;
  }
}

void explode(EntrySource& in, EntrySink& out, unsigned flags, const ZipReporter& report) {
  const bool bigWindow = flags & 2;
  const bool literalTree = flags & 4;
  const unsigned windowSize = bigWindow ? 8192 : 4096;
  const int lowBits = bigWindow ? 7 : 6;
  const unsigned minMatch = literalTree ? 3 : 2;

  BitReader br(in);
  SfTree literals, lengths, distances;
  if (literalTree && !readTree(br, 256, literals, report)) return;
  if (!readTree(br, 64, lengths, report)) return;
  if (!readTree(br, 64, distances, report)) return;

  std::vector<uint8_t> window(windowSize, 0);
  const uint32_t wrap = windowSize - 1;
  uint32_t pos = 0;
  while (!out.full()) {
    unsigned isLiteral;
    if (!br.bits(1, isLiteral)) return;
    if (isLiteral) {
      unsigned c;
      if (literalTree ? !decode(br, literals, c, report) : !br.bits(8, c)) return;
      out.put(static_cast<uint8_t>(c));
      window[pos++ & wrap] = static_cast<uint8_t>(c);
      continue;
    }
    unsigned low, high, length;
    if (!br.bits(lowBits, low)) return;
    if (!decode(br, distances, high, report)) return;
    if (!decode(br, lengths, length, report)) return;
    if (length == 63) {
      unsigned extra;
      if (!br.bits(8, extra)) return;
      length += extra;
    }
    length += minMatch;
    const uint32_t back = ((high << lowBits) | low) + 1;
    for (unsigned k = 0; k < length && !out.full(); ++k) {
      const uint8_t b = window[(pos - back) & wrap];
      out.put(b);
      window[pos++ & wrap] = b;
    }
  }
}

}  // namespace

void UnShrink(EntrySource& in, EntrySink& out, const ZipReporter& report) { unShrink(in, out, report); }

void UnReduce(EntrySource& in, EntrySink& out, int factor, const ZipReporter&) {
  if (factor >= 1 && factor <= 4) unReduce(in, out, factor);
}

void Explode(EntrySource& in, EntrySink& out, unsigned flags, const ZipReporter& report) {
  explode(in, out, flags, report);
}

}  // namespace vektrano::transfer
