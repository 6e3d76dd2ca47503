#include "preview/stream.h"

#include <algorithm>
#include <cstring>

namespace vektrano::preview {

std::size_t PvStream::read(void* buffer, std::size_t n) {
  const std::size_t k = std::min<std::size_t>(n, static_cast<std::size_t>(remaining()));
  if (k) std::memcpy(buffer, data_.data() + pos_, k);
  pos_ += static_cast<std::int64_t>(k);
  return k;
}

bool PvStream::readExact(void* buffer, std::size_t n) {
  if (static_cast<std::size_t>(remaining()) < n) return false;
  read(buffer, n);
  return true;
}

bool PvStream::readBytes(std::string& out, std::size_t n) {
  if (static_cast<std::size_t>(remaining()) < n) return false;
  out.assign(data_, static_cast<std::size_t>(pos_), n);
  pos_ += static_cast<std::int64_t>(n);
  return true;
}

void PvStream::write(const void* buffer, std::size_t n) {
  const auto end = static_cast<std::size_t>(pos_) + n;
  if (data_.size() < end) data_.resize(end, '\0');
  if (n) std::memcpy(data_.data() + pos_, buffer, n);
  pos_ = static_cast<std::int64_t>(end);
}

void TPvWriter::WriteInteger(std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  const unsigned char b[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                              static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
  stream_.write(b, 4);
}

void TPvWriter::WriteBlock(std::string_view bytes) {
  WriteInteger(static_cast<std::int32_t>(bytes.size()));
  stream_.write(bytes);
}

bool TPvReader::ReadInteger(std::int32_t& v) {
  unsigned char b[4];
  if (!stream_.readExact(b, 4)) return false;
  v = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                                (static_cast<std::uint32_t>(b[2]) << 16) |
                                (static_cast<std::uint32_t>(b[3]) << 24));
  return true;
}

bool TPvReader::ReadBlock(std::string& out) {
  const std::int64_t start = stream_.position();
  std::int32_t n = 0;
  if (!ReadInteger(n)) return false;
  if (n < 0 || n > stream_.remaining()) {
    stream_.seek(start);
    return false;
  }
  return stream_.readBytes(out, static_cast<std::size_t>(n));
}

bool TPvReader::ReadStream(PvStream& target) {
  std::string bytes;
  if (!ReadBlock(bytes)) return false;
  target = PvStream(std::move(bytes));
  return true;
}

}  // namespace vektrano::preview
