#include "transfer/zip.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <QList>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "transfer/zip_codec.h"
#include "transfer/zip_support.h"

namespace vektrano::transfer {
namespace fs = std::filesystem;

namespace {

constexpr uint32_t kLocalSig = 0x04034B50;
constexpr uint32_t kCentralSig = 0x02014B50;
constexpr uint32_t kEndSig = 0x06054B50;
constexpr size_t kChunk = 1 << 16;

std::string fmt(const char* pattern, const std::string& a) {
  std::vector<char> buf(a.size() + 256);
  std::snprintf(buf.data(), buf.size(), pattern, a.c_str());
  return buf.data();
}

void put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}
uint16_t get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t get32(const uint8_t* p) { return get16(p) | (static_cast<uint32_t>(get16(p + 2)) << 16); }

bool writeAll(int fd, const void* data, size_t n) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    ssize_t k = ::write(fd, p, n);
    if (k < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += k;
    n -= static_cast<size_t>(k);
  }
  return true;
}

// A file descriptor closed on every way out.
struct Fd {
  int fd = -1;
  explicit Fd(int f) : fd(f) {}
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
};

// A temporary file beside the target; removed unless committed.
class TempFile {
 public:
  explicit TempFile(const fs::path& target) : target_(target) {
    std::string base = (target.parent_path() / ("." + target.filename().string() + ".part-XXXXXX")).string();
    std::vector<char> t(base.begin(), base.end());
    t.push_back('\0');
    fd_ = ::mkstemp(t.data());
    if (fd_ >= 0) path_ = t.data();
    else err_ = errno;
  }
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  int fd() const { return fd_; }
  int error() const { return err_; }
  // Closes and renames over the target (the target itself, never what a
  // symbolic link there points to); with noReplace an existing target stays.
  bool commit(bool noReplace) {
    if (::close(fd_) != 0) {
      fd_ = -1;
      return false;
    }
    fd_ = -1;
    int r;
    if (noReplace) r = ::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE);
    else r = ::rename(path_.c_str(), target_.c_str());
    if (r != 0) {
      err_ = errno;
      return false;
    }
    path_.clear();
    return true;
  }

 private:
  fs::path target_;
  std::string path_;
  int fd_ = -1;
  int err_ = 0;
};

void dosDateTime(time_t t, uint16_t& date, uint16_t& time) {
  struct tm tm {};
  localtime_r(&t, &tm);
  int year = tm.tm_year + 1900;
  if (year < 1980) {
    year = 1980, tm.tm_mon = 0, tm.tm_mday = 1, tm.tm_hour = tm.tm_min = tm.tm_sec = 0;
  }
  if (year > 2107) year = 2107;
  date = static_cast<uint16_t>(((year - 1980) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
  time = static_cast<uint16_t>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
}

time_t fromDos(uint16_t date, uint16_t time) {
  struct tm tm {};
  tm.tm_year = ((date >> 9) & 0x7F) + 80;
  tm.tm_mon = std::max(((date >> 5) & 0x0F) - 1, 0);
  tm.tm_mday = std::max(date & 0x1F, 1);
  tm.tm_hour = (time >> 11) & 0x1F;
  tm.tm_min = (time >> 5) & 0x3F;
  tm.tm_sec = (time & 0x1F) * 2;
  tm.tm_isdst = -1;
  return mktime(&tm);
}

// What a newly created file gets under the process's umask (mkstemp gives 0600).
mode_t filePermissions() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

std::string fullPath(const std::string& p) {
  if (!p.empty() && (p[0] == '/' || p[0] == '\\')) return p;
  return platform::fromFsPath(fs::current_path()) + "/" + p;
}

// The entry's path as text for the masks, which are cp1250 text (the letter
// case they ignore is the code page's): a character cp1250 lacks stands as a
// byte the code page leaves undefined, never as a "?", which a mask would
// take for a wildcard.
std::string maskText(const std::string& path) {
  std::string out;
  for (char32_t cp : platform::pathToQString(path).toUcs4()) {
    const char c = platform::unicodeToCp1250(cp);
    out += c == '?' && cp != U'?' ? '\x81' : c;
  }
  return out;
}

std::string fullMask(const std::string& mask) {
  if (!mask.empty() && (mask[0] == '/' || mask[0] == '\\')) return mask;
  return maskText(platform::fromFsPath(fs::current_path())) + "/" + mask;
}

}  // namespace

// ---- common ------------------------------------------------------------

void TZipComponent::ReportZipError(const std::string& message) {
  if (OnError)
    OnError(*this, message);
  else
    platform::showMessage(message, platform::MessageKind::Warning);
}

void TZipComponent::Progress(int16_t percent) {
  if (OnProgress) OnProgress(*this, percent);
}

int ZipIoErrorCode(int err, bool creating) {
  switch (err) {
    case ENOENT:
      return creating ? 3 : 2;
    case ENOTDIR:
      return 3;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ELOOP:
    case ENAMETOOLONG:
    case EINVAL:
    case EEXIST:
      return 5;
    case ENOSPC:
    case EDQUOT:
      return 101;
    default:
      return err;
  }
}

std::string ZipIoErrorText(int code) {
  switch (code) {
    case 2: return "File not found";
    case 3: return "Incorrect path or not found";
    case 5: return "Bad name or path or syntax";
    case 101: return "Diskette is full";
    default: {
      char buf[64];
      std::snprintf(buf, sizeof buf, "Input-output error %d", code);
      return buf;
    }
  }
}

void InsertSortedEntry(std::vector<TZipEntry>& list, TZipEntry entry) {
  auto it = list.begin();
  while (it != list.end() && it->Name < entry.Name) ++it;  // std::string compares bytes unsigned
  if (it != list.end() && it->Name == entry.Name) {
    it->Folder = std::move(entry.Folder);
    it->Path = std::move(entry.Path);
    it->DosDate = entry.DosDate;
    it->DosTime = entry.DosTime;
    return;
  }
  list.insert(it, std::move(entry));
}

// ---- writer --------------------------------------------------------------

TZip::TZip() : deflate_(true) {}

bool TZip::Compress() {
  try {
    return compress();
  } catch (...) {
    return false;
  }
}

bool TZip::compress() {
  if (platform::fileExists(ArcName) && !Overwrite) {
    ReportZipError(fmt("No overwite rights for file %s!", ArcName));
    return true;
  }
  if (Files.empty()) {
    ReportZipError("No files for compress!");
    return true;
  }

  const std::string arcFull = fullPath(ArcName);
  std::vector<TZipEntry> entries;
  for (const std::string& line : Files) {
    struct stat st {};
    if (::stat(platform::fsPath(line).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    TZipEntry e;
    e.Folder = FolderPart(line);
    e.Name = NamePart(line);
    e.Path = line;
    if (MatchPathMask(fullPath(line), arcFull)) continue;  // never packs itself
    dosDateTime(st.st_mtime, e.DosDate, e.DosTime);
    InsertSortedEntry(entries, std::move(e));
  }

  const fs::path target = platform::fsPath(ArcName);
  TempFile out(target);
  if (out.fd() < 0) {
    ReportZipError("Open output file error.");
    return false;
  }

  std::string central;
  uint64_t offset = 0;
  uint16_t count = 0;
  std::vector<unsigned char> inBuf(kChunk), outBuf(kChunk);
  for (const TZipEntry& e : entries) {
    Fd in(::open(platform::fsPath(e.Path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (in.fd < 0 || ::fstat(in.fd, &st) != 0 || st.st_size > 0xFFFFFFFEll || count == 0xFFFF) {
      ReportZipError(fmt("Cannot open %s, go just next...", e.Name));
      continue;
    }
    // The name in cp1250, as the Windows programs read it; one the code page
    // cannot write goes as UTF-8, with the flag that says so.
    const std::optional<std::string> cp1250Name = platform::storedPath(e.Name);
    std::string name = (cp1250Name ? *cp1250Name : e.Name).substr(0, 255);
    std::string header;
    put32(header, kLocalSig);
    put16(header, 20);
    put16(header, cp1250Name ? 0 : 0x800);
    put16(header, deflate_ ? 8 : 0);
    put16(header, e.DosTime);
    put16(header, e.DosDate);
    put32(header, 0);
    put32(header, 0);
    put32(header, static_cast<uint32_t>(st.st_size));
    put16(header, static_cast<uint32_t>(name.size()));
    put16(header, 0);
    header += name;
    if (!writeAll(out.fd(), header.data(), header.size())) return false;

    z_stream z{};
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      return false;
    std::unique_ptr<z_stream, int (*)(z_stream*)> guard(&z, deflateEnd);
    uint32_t crc = 0;
    uint64_t packed = 0, size = 0;
    for (bool done = false; !done;) {
      ssize_t n = ::read(in.fd, inBuf.data(), inBuf.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      size += static_cast<uint64_t>(n);
      crc = Crc32(crc, inBuf.data(), static_cast<size_t>(n));
      z.next_in = inBuf.data();
      z.avail_in = static_cast<uInt>(n);
      const int flush = n == 0 ? Z_FINISH : Z_NO_FLUSH;
      int r;
      do {
        z.next_out = outBuf.data();
        z.avail_out = static_cast<uInt>(outBuf.size());
        r = deflate(&z, flush);
        if (r == Z_STREAM_ERROR) return false;
        size_t have = outBuf.size() - z.avail_out;
        if (!writeAll(out.fd(), outBuf.data(), have)) return false;
        packed += have;
      } while (z.avail_out == 0);
      done = r == Z_STREAM_END;
    }
    if (size != static_cast<uint64_t>(st.st_size) || packed > 0xFFFFFFFEull ||
        offset + header.size() + packed > 0xFFFFFFFEull)
      return false;  // the file changed under us, or the archive outgrew 32-bit offsets
    Progress(100);

    // Patch CRC and compressed size in the local header.
    std::string patch;
    put32(patch, crc);
    put32(patch, static_cast<uint32_t>(packed));
    if (::pwrite(out.fd(), patch.data(), patch.size(), static_cast<off_t>(offset + 14)) != 8) return false;
    header.replace(14, 8, patch);

    std::string rec;
    put32(rec, kCentralSig);
    put16(rec, 20);
    rec.append(header, 4, 26);
    put16(rec, 0);
    put16(rec, 0);
    put16(rec, 0);
    put32(rec, 32);
    put32(rec, static_cast<uint32_t>(offset));
    rec += name;
    central += rec;
    offset += header.size() + packed;
    ++count;
  }
  if (count == 0) return false;  // nothing packed: no empty archive is left behind

  std::string end;
  put32(end, kEndSig);
  put16(end, 0);
  put16(end, 0);
  put16(end, count);
  put16(end, count);
  put32(end, static_cast<uint32_t>(central.size()));
  put32(end, static_cast<uint32_t>(offset));
  put16(end, 0);
  central += end;
  if (!writeAll(out.fd(), central.data(), central.size())) return false;
  ::fchmod(out.fd(), filePermissions());
  if (::fsync(out.fd()) != 0) return false;
  return out.commit(!Overwrite);
}

// ---- reader --------------------------------------------------------------

namespace {

// Buffered reading of the archive.
class ArchiveReader {
 public:
  explicit ArchiveReader(int fd) : fd_(fd), buf_(kChunk) {}
  // Up to n bytes; fewer only at the end of the file. -1 on a read error.
  ssize_t read(uint8_t* dst, size_t n) {
    size_t done = 0;
    while (done < n) {
      if (pos_ == len_ && !fill()) return error_ ? -1 : static_cast<ssize_t>(done);
      size_t take = std::min(n - done, len_ - pos_);
      std::copy(buf_.begin() + static_cast<ptrdiff_t>(pos_), buf_.begin() + static_cast<ptrdiff_t>(pos_ + take),
                dst + done);
      pos_ += take;
      done += take;
    }
    return static_cast<ssize_t>(done);
  }
  int get() {
    if (pos_ == len_ && !fill()) return -1;
    return buf_[pos_++];
  }
  uint64_t tell() const { return filePos_ - (len_ - pos_); }
  void seek(uint64_t at) {
    if (at <= filePos_ && at >= filePos_ - len_) {
      pos_ = static_cast<size_t>(at - (filePos_ - len_));
      return;
    }
    filePos_ = at;
    pos_ = len_ = 0;
  }
  bool error() const { return error_; }

 private:
  bool fill() {
    ssize_t n;
    do n = ::pread(fd_, buf_.data(), buf_.size(), static_cast<off_t>(filePos_));
    while (n < 0 && errno == EINTR);
    if (n < 0) error_ = true;
    if (n <= 0) return false;
    filePos_ += static_cast<uint64_t>(n);
    len_ = static_cast<size_t>(n);
    pos_ = 0;
    return true;
  }
  int fd_;
  std::vector<uint8_t> buf_;
  size_t pos_ = 0, len_ = 0;
  uint64_t filePos_ = 0;
  bool error_ = false;
};

// The compressed bytes of one entry, with the reader's progress.
class ArchiveSource : public EntrySource {
 public:
  ArchiveSource(ArchiveReader& r, uint64_t size, TZipComponent& owner, bool progress)
      : r_(r), size_(size), left_(size), owner_(owner), progress_(progress) {}
  int get() override {
    if (left_ == 0) return -1;
    tick();
    int c = r_.get();
    if (c < 0) {
      truncated_ = true;
      left_ = 0;
      return -1;
    }
    --left_;
    return c;
  }
  size_t read(uint8_t* dst, size_t n) {
    if (n > left_) n = static_cast<size_t>(left_);
    if (n == 0) return 0;
    tick();
    ssize_t k = r_.read(dst, n);
    if (k < static_cast<ssize_t>(n)) {
      truncated_ = true;
      left_ = 0;
      return k > 0 ? static_cast<size_t>(k) : 0;
    }
    left_ -= n;
    return n;
  }
  bool truncated() const { return truncated_; }

 private:
  // The percentage of the entry's compressed bytes read; told only when it
  // changes, a call per byte would dominate large entries.
  void tick() {
    if (!progress_) return;
    int p = 100 - static_cast<int>((left_ * 100 + size_ / 2) / size_);
    if (p != last_) {
      last_ = p;
      owner_.OnProgress(owner_, static_cast<int16_t>(p));
    }
  }
  ArchiveReader& r_;
  uint64_t size_, left_;
  TZipComponent& owner_;
  bool progress_;
  int last_ = -1;
  bool truncated_ = false;
};

class FdSink : public EntrySink {
 public:
  FdSink(uint64_t limit, int fd) : EntrySink(limit), fd_(fd) {}
  int error = 0;

 protected:
  bool consume(const uint8_t* p, size_t n) override {
    if (writeAll(fd_, p, n)) return true;
    error = errno;
    return false;
  }

 private:
  int fd_;
};

// Raw inflate, streamed; stops at the declared size.
void inflateEntry(ArchiveSource& in, EntrySink& out) {
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return;
  std::vector<uint8_t> inBuf(kChunk), outBuf(kChunk);
  int r = Z_OK;
  while (r == Z_OK && !out.full()) {
    if (z.avail_in == 0) {
      size_t n = in.read(inBuf.data(), inBuf.size());
      if (n == 0) break;
      z.next_in = inBuf.data();
      z.avail_in = static_cast<uInt>(n);
    }
    z.next_out = outBuf.data();
    z.avail_out = static_cast<uInt>(outBuf.size());
    r = inflate(&z, Z_NO_FLUSH);
    if (r == Z_NEED_DICT || r == Z_DATA_ERROR || r == Z_MEM_ERROR) break;
    out.write(outBuf.data(), outBuf.size() - z.avail_out);
    if (r == Z_BUF_ERROR) r = Z_OK;
  }
  inflateEnd(&z);
}

// A stored name that stays inside the target folder: relative, no drive, no
// empty component, and every component one that the safe file name of
// platform/files.h leaves as it is (no "." or "..", no control bytes, not
// too long).
bool safeName(const std::string& name) {
  if (name.empty() || name[0] == '/' || name[0] == '\\' || name.find(':') != std::string::npos) return false;
  size_t start = 0;
  for (;;) {
    size_t end = name.find_first_of("/\\", start);
    std::string part = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (part.empty() || platform::fileNameFromText(part) != part) return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

}  // namespace

void TUnZip::SetExtrPath(const std::string& path) {
  extrPath_ = path;
  if (!extrPath_.empty() && extrPath_.back() != '\\' && extrPath_.back() != '/') extrPath_ += '\\';
}

bool TUnZip::Extract() {
  try {
    return extract();
  } catch (...) {
    return false;
  }
}

bool TUnZip::extract() {
  if (!platform::fileExists(ArcName)) return false;
  const fs::path folder = platform::fsPath(extrPath_.empty() ? std::string(".") : extrPath_);
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder, ec)) return false;

  std::vector<std::string> masks = Files;
  if (masks.empty()) masks.push_back("*.*");
  for (std::string& m : masks) m = fullMask(m);

  Fd arc(::open(platform::fsPath(ArcName).c_str(), O_RDONLY | O_CLOEXEC));
  if (arc.fd < 0) return false;
  ArchiveReader r(arc.fd);
  const std::string damaged = fmt("Header missing or damaged in %s", ArcName);
  uint64_t total = 0;

  for (;;) {
    uint8_t h[30];
    ssize_t n = r.read(h, 4);
    if (n < 0) return false;
    if (n == 0) return true;
    if (n < 4) {
      ReportZipError(damaged);
      return false;
    }
    const uint32_t sig = get32(h);
    if (sig == kCentralSig || sig == kEndSig) return true;
    if (sig != kLocalSig) {
      // Without a header there is no telling where the entry ends.
      ReportZipError(damaged);
      return true;
    }
    if (r.read(h + 4, 26) != 26) {
      ReportZipError(damaged);
      return false;
    }
    const uint16_t flags = get16(h + 6), method = get16(h + 8);
    const uint16_t dosTime = get16(h + 10), dosDate = get16(h + 12);
    const uint32_t crc = get32(h + 14);
    uint64_t packed = get32(h + 18), size = get32(h + 22);
    const uint16_t nameLen = get16(h + 26), extraLen = get16(h + 28);
    std::string name(nameLen, '\0'), extra(extraLen, '\0');
    if (r.read(reinterpret_cast<uint8_t*>(name.data()), nameLen) != nameLen ||
        r.read(reinterpret_cast<uint8_t*>(extra.data()), extraLen) != extraLen) {
      ReportZipError(damaged);
      return false;
    }
    if (nameLen > 255 || extraLen > 255) ReportZipError("Invalid file name!");
    if (nameLen > 255) name.resize(255);
    // From here on the name is a path: the file system's bytes.
    if (!(flags & 0x800)) name = platform::pathFromText(name);

    // Zip64 sizes live in the extra field; they serve only to step over the entry.
    bool zip64 = false;
    if (packed == 0xFFFFFFFF || size == 0xFFFFFFFF) {
      zip64 = true;
      for (size_t at = 0; at + 4 <= extra.size();) {
        const auto* e = reinterpret_cast<const uint8_t*>(extra.data() + at);
        const uint16_t id = get16(e), len = get16(e + 2);
        if (id == 1) {
          size_t f = at + 4;
          auto take = [&](uint64_t& v) {
            if (v != 0xFFFFFFFF || f + 8 > at + 4 + len || f + 8 > extra.size()) return;
            const auto* q = reinterpret_cast<const uint8_t*>(extra.data() + f);
            v = get32(q) | (static_cast<uint64_t>(get32(q + 4)) << 32);
            f += 8;
          };
          take(size);
          take(packed);
        }
        at += 4 + len;
      }
    }
    const uint64_t dataStart = r.tell();
    auto skip = [&] { r.seek(dataStart + packed); };

    bool wanted = false;
    const bool isFolder = !name.empty() && (name.back() == '/' || name.back() == '\\');
    if (!isFolder) {
      const std::string full = maskText(fullPath(name));
      for (const std::string& m : masks)
        if (MatchPathMask(full, m)) {
          wanted = true;
          break;
        }
    }
    if (!isFolder && !safeName(name)) {
      ReportZipError(fmt("Invalid file name %s ! Skip next...", name));
      wanted = false;
    } else if (!wanted) {
      if (packed == 0xFFFFFFFF || ((flags & 8) && packed == 0 && method != 0)) {
        ReportZipError(damaged);  // streamed entry of unknown length: the walk cannot go on
        return true;
      }
    }
    if (!wanted) {
      skip();
      continue;
    }
    if ((flags & 1) || zip64 || packed == 0xFFFFFFFF || ((flags & 8) && packed == 0 && size == 0 && method != 0)) {
      ReportZipError(fmt("Unsupported file %s (encrypted, zip64 or streamed) ! Skip next...", name));
      if (packed == 0xFFFFFFFF || ((flags & 8) && packed == 0 && method != 0)) return true;
      skip();
      continue;
    }
    if (method == 7 || method > 8) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "Unknown compress method (%d) used on ", method);
      ReportZipError(buf + name + " ! Skip next...");
      skip();
      continue;
    }
    if (size > MaxTotalSize - std::min(total, MaxTotalSize)) {
      ReportZipError(fmt("File %s is too large ! Skip next...", name));
      skip();
      continue;
    }

    const fs::path target = folder / platform::fsPath(name);
    TempFile tmp(target);
    if (tmp.fd() < 0) {
      ReportZipError(ZipIoErrorText(ZipIoErrorCode(tmp.error(), true)));
      skip();
      continue;
    }
    FdSink sink(size, tmp.fd());
    ArchiveSource src(r, packed, *this, static_cast<bool>(OnProgress) && packed > 0);
    auto report = [this](const std::string& m) { ReportZipError(m); };
    switch (method) {
      case 0: {
        std::vector<uint8_t> buf(kChunk);
        while (!sink.full()) {
          size_t k = src.read(buf.data(), buf.size());
          if (k == 0) break;
          sink.write(buf.data(), k);
        }
        break;
      }
      case 1: UnShrink(src, sink, report); break;
      case 2: case 3: case 4: case 5: UnReduce(src, sink, method - 1, report); break;
      case 6: Explode(src, sink, flags, report); break;
      case 8: inflateEntry(src, sink); break;
    }
    const bool wrote = sink.finish();
    if (src.truncated() || r.error()) {
      ReportZipError(damaged);
      return false;
    }
    skip();
    if (!wrote) {
      ReportZipError(ZipIoErrorText(ZipIoErrorCode(sink.error, false)));
      continue;
    }
    total += sink.written();
    if (sink.written() != size || sink.crc() != crc) {
      char buf[96];
      // A short result counts as nothing written.
      const uint32_t computed = sink.written() == size ? sink.crc() : 0;
      std::snprintf(buf, sizeof buf, " has bad CRC! Stored CRC is %x, computed CRC is %x.", crc, computed);
      ReportZipError("File " + extrPath_ + name + buf);
      continue;  // the earlier file of that name stays
    }
    const time_t t = fromDos(dosDate, dosTime);
    struct timespec times[2] = {{t, 0}, {t, 0}};
    ::futimens(tmp.fd(), times);
    ::fchmod(tmp.fd(), filePermissions());
    if (!tmp.commit(false)) ReportZipError(ZipIoErrorText(ZipIoErrorCode(tmp.error(), true)));
  }
}

}  // namespace vektrano::transfer
