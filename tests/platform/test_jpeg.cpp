#include "platform/jpeg.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace vektrano::platform {
namespace {

RgbPicture gradient(int w, int h) {
  RgbPicture p;
  p.width = w;
  p.height = h;
  p.rgb.resize(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* px = p.rgb.data() + (static_cast<size_t>(y) * w + x) * 3;
      px[0] = static_cast<std::uint8_t>(x * 255 / (w - 1));
      px[1] = static_cast<std::uint8_t>(y * 255 / (h - 1));
      px[2] = 128;
    }
  return p;
}

// A JPEG written straight through libjpeg in a colour space the program's
// own encoder never produces (grey, CMYK), as cameras and scanners do, or in
// progressive scans.
std::string foreignJpeg(J_COLOR_SPACE space, int components, int w, int h, std::uint8_t value,
                        bool adobe, bool progressive = false) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buf = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buf, &size);
  c.image_width = w;
  c.image_height = h;
  c.input_components = components;
  c.in_color_space = space;
  jpeg_set_defaults(&c);
  c.write_Adobe_marker = adobe;
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<std::uint8_t> row(static_cast<size_t>(w) * components, value);
  while (c.next_scanline < c.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::string out(reinterpret_cast<char*>(buf), size);
  jpeg_destroy_compress(&c);
  std::free(buf);
  return out;
}

TEST(Jpeg, RoundTripKeepsTheSizeAndTheColoursClose) {
  const RgbPicture in = gradient(576, 480);
  const auto data = encodeJpeg(in, 80);
  ASSERT_TRUE(data);
  EXPECT_EQ(static_cast<unsigned char>((*data)[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>((*data)[1]), 0xD8);
  const auto out = decodeJpeg(*data);
  ASSERT_TRUE(out);
  EXPECT_EQ(out->width, 576);
  EXPECT_EQ(out->height, 480);
  ASSERT_EQ(out->rgb.size(), in.rgb.size());
  int worst = 0;
  for (size_t i = 0; i < in.rgb.size(); ++i)
    worst = std::max(worst, std::abs(int(in.rgb[i]) - int(out->rgb[i])));
  EXPECT_LT(worst, 24);
}

TEST(Jpeg, QualityDecidesTheSize) {
  const RgbPicture in = gradient(200, 100);
  const auto low = encodeJpeg(in, 10), high = encodeJpeg(in, 95);
  ASSERT_TRUE(low && high);
  EXPECT_LT(low->size(), high->size());
}

TEST(Jpeg, ForeignColourSpacesArriveAsRgb) {
  struct Case {
    const char* name;
    J_COLOR_SPACE space;
    int components;
    std::uint8_t value;
    bool adobe;
    int expected;  // every channel
  } cases[] = {
      {"grey", JCS_GRAYSCALE, 1, 200, false, 200},
      // Adobe stores CMYK inverted: 255 everywhere is no ink at all, white.
      {"Adobe CMYK", JCS_CMYK, 4, 255, true, 255},
      {"plain CMYK", JCS_CMYK, 4, 0, false, 255},
  };
  for (const Case& c : cases) {
    const auto pic = decodeJpeg(foreignJpeg(c.space, c.components, 16, 8, c.value, c.adobe));
    ASSERT_TRUE(pic) << c.name;
    EXPECT_EQ(pic->width, 16) << c.name;
    EXPECT_EQ(pic->height, 8) << c.name;
    for (std::uint8_t v : pic->rgb) ASSERT_NEAR(v, c.expected, 3) << c.name;
  }
}

TEST(Jpeg, BrokenDataGivesNothingInsteadOfEndingTheProgram) {
  const auto good = encodeJpeg(gradient(256, 256), 80);
  ASSERT_TRUE(good);
  std::string huge = *good;
  // The frame header (SOF0) announces 60000 x 60000 pixels.
  const size_t sof = huge.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  huge[sof + 5] = huge[sof + 7] = static_cast<char>(0xEA);
  huge[sof + 6] = huge[sof + 8] = 0x60;
  const struct {
    const char* name;
    std::string data;
  } cases[] = {
      {"empty", ""},
      {"no JPEG", "GIF89a not a jpeg at all"},
      {"header only", good->substr(0, 20)},
      {"too many pixels", huge},
  };
  for (const auto& c : cases) EXPECT_FALSE(decodeJpeg(c.data)) << c.name;
  // A file cut short still shows what arrived (libjpeg fills the rest).
  const auto cut = decodeJpeg(good->substr(0, good->size() * 3 / 4));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->width, 256);
}

// A progressive grey picture as libjpeg writes it, with its last AC scan
// (the Huffman table before it included) repeated: libjpeg only warns about
// such a scan and walks the whole picture for it again.
std::string progressiveWithExtraScans(int extra) {
  std::string jpeg = foreignJpeg(JCS_GRAYSCALE, 1, 64, 64, 128, false, true);
  const size_t table = jpeg.rfind("\xFF\xC4"), end = jpeg.rfind("\xFF\xD9");
  if (table == std::string::npos || end == std::string::npos) return {};
  const std::string scan = jpeg.substr(table, end - table);
  for (int i = 0; i < extra; ++i) jpeg.insert(end, scan);
  return jpeg;
}

TEST(Jpeg, AFileOfEndlessScansIsRefused) {
  // Each scan costs a pass over the picture: at 8000 x 8000 pixels a few
  // hundred kilobytes of them took minutes.
  for (const int extra : {0, 400}) {
    const auto pic = decodeJpeg(progressiveWithExtraScans(extra));
    ASSERT_TRUE(pic) << extra;
    EXPECT_EQ(pic->width, 64);
  }
  EXPECT_FALSE(decodeJpeg(progressiveWithExtraScans(kMaxJpegScans)));
}

TEST(Jpeg, InconsistentPicturesAreNotEncoded) {
  RgbPicture wrong = gradient(10, 10);
  wrong.rgb.pop_back();
  EXPECT_FALSE(encodeJpeg(wrong, 80));
  EXPECT_FALSE(encodeJpeg(RgbPicture{}, 80));
}

}  // namespace
}  // namespace vektrano::platform
