#pragma once
// JPEG pictures through libjpeg: the locator maps and photos are read, the
// saved contact maps, bearings and charts written. Pixels are 8-bit RGB,
// rows from the top. libjpeg's own error exit would end the process, so
// every failure here comes back as an empty result instead.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vektrano::platform {

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3 bytes
};

// A picture larger than this is refused before any pixel memory is taken
// (a few bytes of header can announce gigabytes).
inline constexpr std::int64_t kMaxJpegPixels = 64'000'000;
// A progressive file has about ten scans; each further one costs a pass over
// the whole picture, so more than this are refused as well.
inline constexpr int kMaxJpegScans = 500;

// The picture of a JPEG file's bytes (colour, grey or CMYK), or nothing for
// data that is no readable JPEG, announces too many pixels or holds too many
// scans.
std::optional<RgbPicture> decodeJpeg(std::string_view data);

// The JPEG bytes of a picture at quality 1..100 (the program saves at 80),
// or nothing for an empty or inconsistent picture.
std::optional<std::string> encodeJpeg(const RgbPicture& picture, int quality);

}  // namespace vektrano::platform
