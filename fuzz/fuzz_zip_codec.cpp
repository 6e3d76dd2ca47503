// The zip reader's decoders of the methods older than deflate: shrink,
// reduce (four factors) and implode, fed any compressed bytes. The first
// byte picks the method and implode's flags, the next two the size the
// entry's header declares.
//
// Property: no decoder writes more than the declared size.
#include "fuzz/fuzz_support.h"
#include "transfer/zip_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vektrano::transfer;
  if (size < 3) return 0;
  const unsigned method = data[0] % 6 + 1;  // 1 shrink, 2..5 reduce, 6 implode
  const std::uint64_t declared = (std::uint64_t{data[1]} << 8 | data[2]) * 4;
  StringSource in(std::string(vektrano::fuzz::bytes(data + 3, size - 3)));
  StringSink out(declared);
  const ZipReporter report = [](const std::string&) {};
  if (method == 1) UnShrink(in, out, report);
  else if (method <= 5) UnReduce(in, out, static_cast<int>(method) - 1, report);
  else Explode(in, out, data[0] >> 3, report);
  out.finish();
  if (out.written() > declared || out.data.size() != out.written()) vektrano::fuzz::fail("a decoder wrote past the declared size");
  return 0;
}
