#pragma once
// The decoders of the zip reader for the methods older than deflate
// (shrink, reduce, implode), and the byte source and sink they work on. Each
// decoder stops as soon as the sink holds the size the entry's header
// declares, so no header can make it write more.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vektrano::transfer {

// The compressed bytes of one entry.
class EntrySource {
 public:
  virtual ~EntrySource() = default;
  // The next byte, or -1 when the entry's compressed bytes are used up.
  virtual int get() = 0;
};

// The decoded bytes of one entry: buffered, counted, checksummed, and cut at
// the declared size.
class EntrySink {
 public:
  explicit EntrySink(uint64_t limit) : limit_(limit), buf_(kBuffer) {}
  virtual ~EntrySink() = default;
  EntrySink(const EntrySink&) = delete;
  EntrySink& operator=(const EntrySink&) = delete;

  void put(uint8_t b) {
    if (written_ >= limit_) return;
    buf_[len_++] = b;
    ++written_;
    if (len_ == kBuffer) drain();
  }
  void write(const uint8_t* data, size_t n);
  // The declared size is reached, or writing failed.
  bool full() const { return written_ >= limit_ || failed_; }
  // Hands over what is buffered; false when writing failed.
  bool finish();

  uint64_t limit() const { return limit_; }
  uint64_t written() const { return written_; }
  uint32_t crc() const { return crc_; }
  bool failed() const { return failed_; }

 protected:
  // Takes decoded bytes; false when they could not be stored.
  virtual bool consume(const uint8_t* data, size_t n) = 0;

 private:
  static constexpr size_t kBuffer = 1 << 16;
  void drain();

  uint64_t limit_;
  uint64_t written_ = 0;
  uint32_t crc_ = 0;
  bool failed_ = false;
  std::vector<uint8_t> buf_;
  size_t len_ = 0;
};

// Sink into a string (tests, small entries).
class StringSink : public EntrySink {
 public:
  explicit StringSink(uint64_t limit) : EntrySink(limit) {}
  std::string data;

 protected:
  bool consume(const uint8_t* p, size_t n) override {
    data.append(reinterpret_cast<const char*>(p), n);
    return true;
  }
};

// Source over a string (tests, fuzzing).
class StringSource : public EntrySource {
 public:
  explicit StringSource(std::string data) : data_(std::move(data)) {}
  int get() override { return pos_ < data_.size() ? static_cast<uint8_t>(data_[pos_++]) : -1; }

 private:
  std::string data_;
  size_t pos_ = 0;
};

using ZipReporter = std::function<void(const std::string& message)>;

// Method 1: dynamic LZW with partial clearing.
void UnShrink(EntrySource& in, EntrySink& out, const ZipReporter& report);
// Methods 2-5: follower sets and the run expander; factor = method - 1.
void UnReduce(EntrySource& in, EntrySink& out, int factor, const ZipReporter& report);
// Method 6: Shannon-Fano trees over a sliding window; flags of the header.
void Explode(EntrySource& in, EntrySink& out, unsigned flags, const ZipReporter& report);

}  // namespace vektrano::transfer
