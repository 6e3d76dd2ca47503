#pragma once
// The binary stream the library saves page objects and resources into: a
// memory buffer with a position, and the writer and reader of its 32-bit
// little-endian counts and length-prefixed blocks. A file is read into one
// whole and written from one whole (platform/files.h), never half.
#include <cstdint>
#include <string>
#include <string_view>

namespace vektrano::preview {

class PvStream {
 public:
  PvStream() = default;
  explicit PvStream(std::string bytes) : data_(std::move(bytes)) {}

  const std::string& bytes() const { return data_; }
  std::int64_t size() const { return static_cast<std::int64_t>(data_.size()); }
  std::int64_t position() const { return pos_; }
  std::int64_t remaining() const { return pos_ < size() ? size() - pos_ : 0; }
  // Any position from 0 on; writing past the end fills the gap with zeros.
  void seek(std::int64_t pos) { pos_ = pos < 0 ? 0 : pos; }

  // Up to n bytes; returns how many were read.
  std::size_t read(void* buffer, std::size_t n);
  // Exactly n bytes, or nothing is read and false is returned.
  bool readExact(void* buffer, std::size_t n);
  bool readBytes(std::string& out, std::size_t n);
  void write(const void* buffer, std::size_t n);
  void write(std::string_view bytes) { write(bytes.data(), bytes.size()); }
  void clear() {
    data_.clear();
    pos_ = 0;
  }

 private:
  std::string data_;
  std::int64_t pos_ = 0;
};

class TPvWriter {
 public:
  explicit TPvWriter(PvStream& stream) : stream_(stream) {}
  void WriteInteger(std::int32_t v);
  void WriteByte(std::uint8_t v) { stream_.write(&v, 1); }
  // The block form: the byte count, then the bytes.
  void WriteBlock(std::string_view bytes);
  // The whole of source, from its start, as a block.
  void WriteStream(const PvStream& source) { WriteBlock(source.bytes()); }
  PvStream& stream() { return stream_; }

 private:
  PvStream& stream_;
};

class TPvReader {
 public:
  explicit TPvReader(PvStream& stream) : stream_(stream) {}
  bool ReadInteger(std::int32_t& v);
  bool ReadByte(std::uint8_t& v) { return stream_.readExact(&v, 1); }
  // A block: false, with the position left at the count, when the count is
  // negative or larger than what the stream still holds; nothing is
  // allocated for such a count.
  bool ReadBlock(std::string& out);
  // A block into target (replacing its content, position 0).
  bool ReadStream(PvStream& target);
  PvStream& stream() { return stream_; }

 private:
  PvStream& stream_;
};

}  // namespace vektrano::preview
