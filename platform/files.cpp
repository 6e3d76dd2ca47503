#include "platform/files.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/cp1250.h"

namespace vektrano::platform {
namespace fs = std::filesystem;

namespace {

std::mutex faultMutex;
FileFaultHook faultHook;
std::atomic<bool> faultHookSet{false};

// The errno the test seam wants this step to fail with, 0 to go on.
int injectedFault(FileStep step, const std::string& path) {
  if (!faultHookSet.load(std::memory_order_acquire)) return 0;
  FileFaultHook hook;
  {
    std::lock_guard<std::mutex> lock(faultMutex);
    hook = faultHook;
  }
  const int err = hook ? hook(step, path) : 0;
  if (err != 0) errno = err;
  return err;
}

// A path with a NUL byte would be cut there by every system call and name
// another file; it names none.
bool hasNul(const std::string& path) { return path.find('\0') != std::string::npos; }

}  // namespace

FileFaultHook setFileFaultHook(FileFaultHook hook) {
  std::lock_guard<std::mutex> lock(faultMutex);
  FileFaultHook previous = std::move(faultHook);
  faultHook = std::move(hook);
  faultHookSet.store(static_cast<bool>(faultHook), std::memory_order_release);
  return previous;
}

fs::path fsPath(const std::string& path) {
  std::string p = path;
  for (char& c : p)
    if (c == '\\') c = '/';
  return fs::path(std::move(p));
}

std::string fromFsPath(const fs::path& p) { return p.native(); }

std::string pathText(std::string_view path) { return utf8ToCp1250(path); }

std::optional<std::string> storedPath(std::string_view path) {
  std::string text = pathText(path);
  if (pathFromText(text) != path) return std::nullopt;
  return text;
}

std::string pathFromText(std::string_view cp1250) { return cp1250ToUtf8(cp1250); }

bool fileExists(const std::string& path) {
  if (hasNul(path)) return false;
  std::error_code ec;
  return fs::is_regular_file(fsPath(path), ec);
}

bool dirExists(const std::string& path) {
  if (hasNul(path)) return false;
  std::error_code ec;
  return fs::is_directory(fsPath(path), ec);
}

std::optional<std::string> readWholeFile(const std::string& path) {
  std::string error;
  return readWholeFile(path, error);
}

std::optional<std::string> readWholeFile(const std::string& path, std::string& error) {
  auto fail = [&error](int code) {
    error = utf8ToCp1250(std::strerror(code));
    return std::nullopt;
  };
  if (hasNul(path)) return fail(EINVAL);
  if (const int code = injectedFault(FileStep::Open, path)) return fail(code);
  const std::string name = fsPath(path).string();
  // Not blocking on a pipe that a name from a file may point at; only plain
  // files are read (a device or a pipe could be read for ever).
  int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return fail(errno);
  std::string data;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int code = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    return fail(code);
  }
  // What the file held when it was opened; fewer bytes at its end mean it was
  // cut meanwhile, and a part of it is no content at all.
  const off_t expected = st.st_size;
  if (expected > 0) data.reserve(static_cast<size_t>(expected));
  if (const int code = injectedFault(FileStep::Read, path)) {
    ::close(fd);
    return fail(code);
  }
  char buf[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int code = errno;
      ::close(fd);
      return fail(code);
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  if (data.size() < static_cast<size_t>(expected)) return fail(EIO);
  return data;
}

namespace {

bool writeAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

void syncFolder(const fs::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// Makes backup hold what target holds now, without target going missing:
// a hard link renamed into place, or a copy where links are not possible.
bool keepBackup(const fs::path& target, const fs::path& backup) {
  std::error_code ec;
  if (!fs::exists(target, ec)) return true;
  if (injectedFault(FileStep::Backup, fromFsPath(target)) != 0) return false;
  // Already the same file (a write that failed after this step): a rename
  // between two links of one file does nothing and would leave tmp behind.
  struct stat t {}, b {};
  if (::stat(target.c_str(), &t) == 0 && ::stat(backup.c_str(), &b) == 0 && t.st_dev == b.st_dev &&
      t.st_ino == b.st_ino)
    return true;
  fs::path tmp = backup;
  tmp += ".tmp";
  fs::remove(tmp, ec);
  if (::link(target.c_str(), tmp.c_str()) != 0) {
    fs::copy_file(target, tmp, fs::copy_options::overwrite_existing, ec);
    if (ec) return false;
  }
  if (::rename(tmp.c_str(), backup.c_str()) != 0) {
    fs::remove(tmp, ec);
    return false;
  }
  return true;
}

}  // namespace

bool writeFileAtomic(const std::string& path, const std::string& data,
                     const std::string& backupPath) {
  if (path.empty() || hasNul(path) || hasNul(backupPath)) return false;
  const fs::path target = fsPath(path);
  const fs::path folder = target.parent_path();
  std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  std::vector<char> tmpl(pattern.begin(), pattern.end());
  tmpl.push_back('\0');
  if (injectedFault(FileStep::Create, path) != 0) return false;
  int fd = ::mkstemp(tmpl.data());
  if (fd < 0) return false;
  const std::string tmp(tmpl.data());
  struct stat st {};
  // The new file keeps the old one's permissions (mkstemp gives 0600).
  if (::stat(target.c_str(), &st) == 0)
    ::fchmod(fd, st.st_mode & 07777);
  else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  bool ok = injectedFault(FileStep::Write, path) == 0 && writeAll(fd, data);
  ok = ok && injectedFault(FileStep::Sync, path) == 0 && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok && !backupPath.empty()) ok = keepBackup(target, fsPath(backupPath));
  if (ok) ok = injectedFault(FileStep::Rename, path) == 0 && ::rename(tmp.c_str(), target.c_str()) == 0;
  if (!ok) {
    const int err = errno;
    ::unlink(tmp.c_str());
    errno = err;
    return false;
  }
  syncFolder(folder);
  return true;
}

bool renameNoReplace(const std::string& from, const std::string& to) {
  if (hasNul(from) || hasNul(to)) return false;
  const fs::path a = fsPath(from), b = fsPath(to);
  // link + unlink refuses an existing target atomically; a copy-free fallback
  // for file systems without links checks first.
  if (::link(a.c_str(), b.c_str()) == 0) {
    ::unlink(a.c_str());
    return true;
  }
  if (errno == EEXIST) return false;
  std::error_code ec;
  if (fs::exists(b, ec)) return false;
  return ::rename(a.c_str(), b.c_str()) == 0;
}

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/' || folder.back() == '\\') return folder + name;
  return folder + "/" + name;
}

namespace {

bool equalIgnoringAsciiCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
           return lower(x) == lower(y);
         });
}

}  // namespace

std::optional<std::string> findIgnoringCase(const std::string& folder, const std::string& relative) {
  std::vector<std::string> names(1);
  for (char c : relative) {
    if (c == '/' || c == '\\')
      names.emplace_back();
    else
      names.back() += c;
  }
  for (const std::string& n : names)
    if (n.empty() || n == "." || n == "..") return std::nullopt;

  std::string path = folder;
  std::error_code ec;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string exact = joinPath(path, names[i]);
    if (fs::exists(fsPath(exact), ec)) {
      path = exact;
      continue;
    }
    // Several spellings may exist side by side; the first in name order wins,
    // so the same one is found every time.
    std::vector<std::string> matches;
    for (fs::directory_iterator it(fsPath(path.empty() ? "." : path), ec), end; !ec && it != end;
         it.increment(ec)) {
      const std::string name = fromFsPath(it->path().filename());
      if (equalIgnoringAsciiCase(name, names[i])) matches.push_back(name);
    }
    if (matches.empty()) return std::nullopt;
    std::sort(matches.begin(), matches.end());
    path = joinPath(path, matches.front());
  }
  return path;
}

std::string fileNameFromText(std::string_view text) {
  std::string name;
  size_t diskBytes = 0;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) continue;
    const char kept = (c == '/' || c == '\\') ? '_' : c;
    const size_t width = cp1250ToUtf8(std::string_view(&kept, 1)).size();
    if (diskBytes + width > kMaxFileNameBytes) break;
    name += kept;
    diskBytes += width;
  }
  if (name.find_first_not_of('.') == std::string::npos) {
    for (char& c : name) c = '_';
    if (name.empty()) name = "_";
  }
  return name;
}

}  // namespace vektrano::platform
