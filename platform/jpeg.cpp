#include "platform/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace vektrano::platform {

namespace {

// Everything that must survive a longjmp lives behind one pointer that is
// set before setjmp and never changed afterwards.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void errorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::longjmp(err->jump, 1);
}

// Warnings (a truncated file, extraneous bytes) are not worth a line on
// standard error; the caller gets the picture or nothing.
void outputMessage(j_common_ptr) {}

void useErrorManager(ErrorManager& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = errorExit;
  err.pub.output_message = outputMessage;
}

// Called as the scans come in: a file of many scans makes the decoder walk
// the whole picture for each, so a few kilobytes could keep it busy for
// minutes. Past the limit the picture is refused like broken data.
void limitScans(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxJpegScans) std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

struct Decoding {
  ErrorManager err;
  jpeg_progress_mgr progress;
  jpeg_decompress_struct cinfo;
  RgbPicture picture;
  std::vector<std::uint8_t> row;  // one CMYK row
};

struct Encoding {
  ErrorManager err;
  jpeg_compress_struct cinfo;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
};

std::uint8_t cmykChannel(int c, int k, bool inverted) {
  // Adobe writes CMYK inverted; everyone else writes it plain.
  return static_cast<std::uint8_t>(inverted ? c * k / 255 : (255 - c) * (255 - k) / 255);
}

}  // namespace

std::optional<RgbPicture> decodeJpeg(std::string_view data) {
  if (data.empty()) return std::nullopt;
  auto d = std::make_unique<Decoding>();
  Decoding* const ctx = d.get();
  ctx->cinfo.err = &ctx->err.pub;
  useErrorManager(ctx->err);
  if (setjmp(ctx->err.jump)) {
    jpeg_destroy_decompress(&ctx->cinfo);
    return std::nullopt;
  }
  jpeg_create_decompress(&ctx->cinfo);
  ctx->progress.progress_monitor = limitScans;
  ctx->cinfo.progress = &ctx->progress;
  jpeg_mem_src(&ctx->cinfo, reinterpret_cast<const unsigned char*>(data.data()),
               static_cast<unsigned long>(data.size()));
  if (jpeg_read_header(&ctx->cinfo, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&ctx->cinfo);
    return std::nullopt;
  }
  const bool cmyk =
      ctx->cinfo.jpeg_color_space == JCS_CMYK || ctx->cinfo.jpeg_color_space == JCS_YCCK;
  ctx->cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  const std::int64_t w = ctx->cinfo.image_width, h = ctx->cinfo.image_height;
  if (w <= 0 || h <= 0 || w * h > kMaxJpegPixels) {
    jpeg_destroy_decompress(&ctx->cinfo);
    return std::nullopt;
  }
  jpeg_start_decompress(&ctx->cinfo);
  const int channels = ctx->cinfo.output_components;
  if ((cmyk && channels != 4) || (!cmyk && channels != 3)) {
    jpeg_destroy_decompress(&ctx->cinfo);
    return std::nullopt;
  }
  ctx->picture.width = static_cast<int>(ctx->cinfo.output_width);
  ctx->picture.height = static_cast<int>(ctx->cinfo.output_height);
  ctx->picture.rgb.resize(static_cast<size_t>(ctx->picture.width) * ctx->picture.height * 3);
  if (cmyk) ctx->row.resize(static_cast<size_t>(ctx->picture.width) * 4);
  const bool inverted = ctx->cinfo.saw_Adobe_marker;
  while (ctx->cinfo.output_scanline < ctx->cinfo.output_height) {
    const size_t y = ctx->cinfo.output_scanline;
    std::uint8_t* out = ctx->picture.rgb.data() + y * static_cast<size_t>(ctx->picture.width) * 3;
    JSAMPROW rowPointer = cmyk ? ctx->row.data() : out;
    jpeg_read_scanlines(&ctx->cinfo, &rowPointer, 1);
    if (cmyk) {
      for (int x = 0; x < ctx->picture.width; ++x) {
        const std::uint8_t* p = ctx->row.data() + static_cast<size_t>(x) * 4;
        out[x * 3 + 0] = cmykChannel(p[0], p[3], inverted);
        out[x * 3 + 1] = cmykChannel(p[1], p[3], inverted);
        out[x * 3 + 2] = cmykChannel(p[2], p[3], inverted);
      }
    }
  }
  jpeg_finish_decompress(&ctx->cinfo);
  jpeg_destroy_decompress(&ctx->cinfo);
  return std::move(ctx->picture);
}

std::optional<std::string> encodeJpeg(const RgbPicture& picture, int quality) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgb.size() != static_cast<size_t>(picture.width) * picture.height * 3)
    return std::nullopt;
  auto e = std::make_unique<Encoding>();
  Encoding* const ctx = e.get();
  ctx->cinfo.err = &ctx->err.pub;
  useErrorManager(ctx->err);
  if (setjmp(ctx->err.jump)) {
    jpeg_destroy_compress(&ctx->cinfo);
    std::free(ctx->buffer);
    return std::nullopt;
  }
  jpeg_create_compress(&ctx->cinfo);
  jpeg_mem_dest(&ctx->cinfo, &ctx->buffer, &ctx->size);
  ctx->cinfo.image_width = static_cast<JDIMENSION>(picture.width);
  ctx->cinfo.image_height = static_cast<JDIMENSION>(picture.height);
  ctx->cinfo.input_components = 3;
  ctx->cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&ctx->cinfo);
  jpeg_set_quality(&ctx->cinfo, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
  jpeg_start_compress(&ctx->cinfo, TRUE);
  const size_t stride = static_cast<size_t>(picture.width) * 3;
  while (ctx->cinfo.next_scanline < ctx->cinfo.image_height) {
    // libjpeg only reads the row, its type just lacks the const.
    JSAMPROW row = const_cast<JSAMPROW>(picture.rgb.data() + ctx->cinfo.next_scanline * stride);
    jpeg_write_scanlines(&ctx->cinfo, &row, 1);
  }
  jpeg_finish_compress(&ctx->cinfo);
  std::string out(reinterpret_cast<const char*>(ctx->buffer), ctx->size);
  jpeg_destroy_compress(&ctx->cinfo);
  std::free(ctx->buffer);
  return out;
}

}  // namespace vektrano::platform
