// The page-preview library's RTF reader, with any bytes.
//
// Property: what it read, written as RTF and read again, is the same text.
#include "fuzz/fuzz_support.h"
#include "preview/rtf.h"

namespace {

// Paragraphs as "|alignment", runs as "[style font size colour:text]".
std::string shown(const vektrano::preview::TPvRichText& t) {
  std::string out;
  for (const auto& p : t.paragraphs) {
    out += "|" + std::to_string(p.alignment);
    for (const auto& r : p.runs)
      out += "[" + std::to_string(r.style) + " " + r.font + " " + std::to_string(r.size) + " " +
             std::to_string(r.color) + ":" + r.text + "]";
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vektrano::preview;
  TPvRichText text = ReadRtf(vektrano::fuzz::bytes(data, size));
  text.normalize();
  TPvRichText again = ReadRtf(WriteRtf(text));
  again.normalize();
  if (!(again == text))
    vektrano::fuzz::fail("written RTF reads back otherwise: " + shown(text) + " -> " + shown(again));
  TPvMemo memo;
  PvStream s(std::string(vektrano::fuzz::bytes(data, size)));
  RtfStreamIn(memo, s);
  memo.Text();
  return 0;
}
