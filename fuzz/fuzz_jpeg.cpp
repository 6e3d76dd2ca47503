// JPEG pictures as a map or photo folder may hold them: whatever a camera,
// an editor, the update or a damaged disk left there is decoded as the
// locator map opens it, and a decoded picture is saved again as the windows
// save theirs.
//
// Properties: a picture comes back whole (its size within the limit, three
// bytes a pixel) and the same at every decoding; what is saved from it
// decodes again at its size.
#include <csetjmp>
#include <cstdio>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "fuzz/fuzz_support.h"
#include "platform/jpeg.h"

namespace {

// Pictures above this many pixels decode the same way, only slower: the
// fuzzer leaves them to the unit tests of the limit.
constexpr long kMostPixels = 1 << 20;

struct Peek {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

// The size the header announces, without decoding anything.
long announcedPixels(const uint8_t* data, size_t size) {
  jpeg_decompress_struct cinfo;
  Peek err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<Peek*>(c->err)->jump, 1); };
  err.pub.output_message = [](j_common_ptr) {};
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return 0;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  long pixels = 0;
  if (jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK)
    pixels = static_cast<long>(cinfo.image_width) * static_cast<long>(cinfo.image_height);
  jpeg_destroy_decompress(&cinfo);
  return pixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vektrano;
  if (size > 0 && announcedPixels(data, size) > kMostPixels) return 0;
  const std::string_view bytes = fuzz::bytes(data, size);
  const auto picture = platform::decodeJpeg(bytes);
  if (!picture) return 0;
  if (picture->width <= 0 || picture->height <= 0 ||
      static_cast<std::int64_t>(picture->width) * picture->height > platform::kMaxJpegPixels ||
      picture->rgb.size() != static_cast<size_t>(picture->width) * picture->height * 3)
    fuzz::fail("a picture came back with the wrong size");
  const auto again = platform::decodeJpeg(bytes);
  if (!again || again->rgb != picture->rgb) fuzz::fail("a picture decodes otherwise the second time");
  const auto saved = platform::encodeJpeg(*picture, 80);
  if (!saved) fuzz::fail("a decoded picture cannot be saved");
  const auto back = platform::decodeJpeg(*saved);
  if (!back || back->width != picture->width || back->height != picture->height)
    fuzz::fail("a saved picture does not decode at its size");
  return 0;
}
