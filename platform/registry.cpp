#include "platform/registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/cp1250.h"
#include "platform/files.h"

// The store is one text file (cp1250, CR LF):
//
//   [\Software\NOVR\Vektrano\Form1]
//   I Top=10
//   S Lokportable=JO70GQ
//
// one section per key, one line per value: "I" integer, "S" text, then the
// name, "=" and the value. In names and texts "\" is written "\\", and "=" (in
// names), CR, LF and the other control bytes are written "\xHH", so every
// cp1250 byte survives. Key and value names compare without regard to ASCII
// letter case, as the Windows registry does; the stored spelling is the first
// writer's.

namespace vektrano::platform {
namespace {

struct Value {
  std::string name;  // as written
  bool isInteger = false;
  int integer = 0;
  std::string text;
};

struct Section {
  std::string path;                     // as written
  std::map<std::string, Value> values;  // by folded name
};

using Store = std::map<std::string, Section>;  // by folded path

std::string fold(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// The canonical form "\Seg\Seg..." of a key path, or nothing for a path that
// is not made of plain segments. One leading and one trailing "\" are optional.
std::optional<std::string> normaliseKeyPath(const std::string& keyPath) {
  std::string_view p = keyPath;
  if (!p.empty() && p.front() == '\\') p.remove_prefix(1);
  if (!p.empty() && p.back() == '\\') p.remove_suffix(1);
  if (p.empty() || p.size() > 1024) return std::nullopt;
  std::string out;
  size_t start = 0;
  while (start <= p.size()) {
    size_t end = p.find('\\', start);
    if (end == std::string_view::npos) end = p.size();
    std::string_view seg = p.substr(start, end - start);
    if (seg.empty() || seg.size() > 255 || seg == "." || seg == "..") return std::nullopt;
    for (unsigned char c : seg)
      if (isControl(c) || c == '/' || c == '[' || c == ']') return std::nullopt;
    out += '\\';
    out += seg;
    start = end + 1;
  }
  return out;
}

void escapeInto(std::string& out, const std::string& s, bool isName) {
  static const char hex[] = "0123456789ABCDEF";
  for (unsigned char c : s) {
    if (c == '\\') {
      out += "\\\\";
    } else if (isControl(c) || (isName && c == '=')) {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> unescape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      out += s[i];
      continue;
    }
    if (i + 1 < s.size() && s[i + 1] == '\\') {
      out += '\\';
      ++i;
    } else if (i + 3 < s.size() && s[i + 1] == 'x' && hexDigit(s[i + 2]) >= 0 &&
               hexDigit(s[i + 3]) >= 0) {
      out += static_cast<char>(hexDigit(s[i + 2]) * 16 + hexDigit(s[i + 3]));
      i += 3;
    } else {
      return std::nullopt;
    }
  }
  return out;
}

// A decimal integer; values up to 4294967295 are DWORDs and wrap like them.
std::optional<int> parseInteger(std::string_view s) {
  bool negative = !s.empty() && s.front() == '-';
  if (negative) s.remove_prefix(1);
  if (s.empty() || s.size() > 10) return std::nullopt;
  long long v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (negative) v = -v;
  if (v < INT_MIN || v > 4294967295LL) return std::nullopt;
  return static_cast<int>(static_cast<unsigned>(v & 0xFFFFFFFFLL));
}

// Lines that cannot be read (hand edits) are skipped.
Store parse(const std::string& data) {
  Store store;
  Section* current = nullptr;
  size_t pos = 0;
  while (pos < data.size()) {
    size_t end = data.find('\n', pos);
    if (end == std::string::npos) end = data.size();
    std::string_view line(data.data() + pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      current = nullptr;
      if (line.size() < 2 || line.back() != ']') continue;
      auto path = normaliseKeyPath(std::string(line.substr(1, line.size() - 2)));
      if (!path) continue;
      Section& sec = store[fold(*path)];
      if (sec.path.empty()) sec.path = *path;
      current = &sec;
      continue;
    }
    if (!current || line.size() < 3 || line[1] != ' ' || (line[0] != 'I' && line[0] != 'S'))
      continue;
    size_t eq = line.find('=', 2);
    if (eq == std::string_view::npos) continue;
    auto name = unescape(line.substr(2, eq - 2));
    auto text = unescape(line.substr(eq + 1));
    if (!name || !text) continue;
    Value v;
    v.name = *name;
    if (line[0] == 'I') {
      auto n = parseInteger(*text);
      if (!n) continue;
      v.isInteger = true;
      v.integer = *n;
    } else {
      v.text = std::move(*text);
    }
    current->values[fold(v.name)] = std::move(v);
  }
  return store;
}

std::string serialise(const Store& store) {
  std::string out = "# Nastavení programů NOVR\r\n";
  for (const auto& [key, sec] : store) {
    out += "\r\n[";
    out += sec.path;
    out += "]\r\n";
    for (const auto& [n, v] : sec.values) {
      out += v.isInteger ? "I " : "S ";
      escapeInto(out, v.name, true);
      out += '=';
      if (v.isInteger)
        out += std::to_string(v.integer);
      else
        escapeInto(out, v.text, false);
      out += "\r\n";
    }
  }
  return out;
}

std::string envOr(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string homeFolder() {
  std::string home = envOr("HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = ::getpwuid(::getuid())) return pw->pw_dir;
  return "/tmp";
}

std::string storeFolderFs() {
  std::string base = envOr("XDG_CONFIG_HOME");
  if (base.empty() || base.front() != '/') base = homeFolder() + "/.config";
  return base + "/NOVR";
}

struct Snapshot {
  Store store;
  bool readable = true;  // false: the file exists but could not be read
};

Snapshot readStore() {
  const std::string file = registryFile();
  auto data = readWholeFile(file);
  if (data) return {parse(*data), true};
  return {{}, !fileExists(file)};
}

// The writers' lock: flock on a file beside the store. The kernel drops it with
// the process, so a killed writer never leaves the store locked.
class WriterLock {
 public:
  WriterLock() {
    std::error_code ec;
    const std::string folder = storeFolderFs();
    std::filesystem::create_directories(folder, ec);
    fd_ = ::open((folder + "/registry.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~WriterLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

bool keyExists(const Store& store, const std::string& folded) {
  if (store.count(folded)) return true;
  // A key also exists when one of its subkeys does.
  auto it = store.lower_bound(folded + "\\");
  return it != store.end() && it->first.compare(0, folded.size() + 1, folded + "\\") == 0;
}

}  // namespace

std::string registryFile() { return storeFolderFs() + "/registry"; }

struct RegistryKey::Impl {
  std::string path;
  std::string folded;
  Section view;  // the key as this handle sees it: read at open, plus own writes
  struct Change {
    std::string name;
    std::optional<Value> value;  // nothing: delete
  };
  std::vector<Change> pending;
  bool createPending = false;

  const Value* find(const std::string& name) const {
    auto it = view.values.find(fold(name));
    return it == view.values.end() ? nullptr : &it->second;
  }

  void set(Value v) {
    std::string key = fold(v.name);
    auto it = view.values.find(key);
    if (it != view.values.end()) v.name = it->second.name;  // keep the stored spelling
    pending.push_back({v.name, v});
    view.values[key] = std::move(v);
  }

  bool flush() {
    if (pending.empty() && !createPending) return true;
    WriterLock lock;
    if (!lock.held()) return false;
    Snapshot snap = readStore();
    if (!snap.readable) return false;  // never replace a store we cannot read
    Section& sec = snap.store[folded];
    if (sec.path.empty()) sec.path = path;
    for (const Change& c : pending) {
      std::string key = fold(c.name);
      if (!c.value) {
        sec.values.erase(key);
        continue;
      }
      Value v = *c.value;
      auto it = sec.values.find(key);
      if (it != sec.values.end()) v.name = it->second.name;
      sec.values[key] = std::move(v);
    }
    if (!writeFileAtomic(registryFile(), serialise(snap.store))) return false;
    pending.clear();
    createPending = false;
    return true;
  }
};

std::optional<RegistryKey> RegistryKey::open(const std::string& keyPath, bool create) {
  auto path = normaliseKeyPath(keyPath);
  if (!path) return std::nullopt;
  Snapshot snap = readStore();
  auto impl = std::make_unique<Impl>();
  impl->path = *path;
  impl->folded = fold(*path);
  auto it = snap.store.find(impl->folded);
  if (it != snap.store.end()) {
    impl->view = it->second;
  } else if (!keyExists(snap.store, impl->folded)) {
    if (!create) return std::nullopt;
    // Created at once, like a registry key: a store that cannot be written
    // means the key can be neither opened nor created.
    impl->createPending = true;
    if (!impl->flush()) return std::nullopt;
  }
  if (impl->view.path.empty()) impl->view.path = *path;
  return RegistryKey(impl.release());
}

RegistryKey::RegistryKey(Impl* impl) : impl_(impl) {}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept : impl_(std::exchange(other.impl_, nullptr)) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
  if (this != &other) {
    if (impl_) {
      impl_->flush();
      delete impl_;
    }
    impl_ = std::exchange(other.impl_, nullptr);
  }
  return *this;
}

RegistryKey::~RegistryKey() {
  if (!impl_) return;
  try {
    impl_->flush();
  } catch (...) {
  }
  delete impl_;
}

int RegistryKey::readInteger(const std::string& name) const {
  const Value* v = impl_->find(name);
  if (!v || !v->isInteger)
    throw RegistryValueMissing("Hodnota " + name + " v klíči " + impl_->path + " chybí");
  return v->integer;
}

bool RegistryKey::readBool(const std::string& name) const { return readInteger(name) != 0; }

std::string RegistryKey::readString(const std::string& name) const {
  const Value* v = impl_->find(name);
  return v && !v->isInteger ? v->text : std::string();
}

bool RegistryKey::valueExists(const std::string& name) const { return impl_->find(name) != nullptr; }

void RegistryKey::writeInteger(const std::string& name, int value) {
  Value v;
  v.name = name;
  v.isInteger = true;
  v.integer = value;
  impl_->set(std::move(v));
}

void RegistryKey::writeBool(const std::string& name, bool value) { writeInteger(name, value ? 1 : 0); }

void RegistryKey::writeString(const std::string& name, const std::string& value) {
  Value v;
  v.name = name;
  v.text = value;
  impl_->set(std::move(v));
}

bool RegistryKey::deleteValue(const std::string& name) {
  auto it = impl_->view.values.find(fold(name));
  if (it == impl_->view.values.end()) return false;
  impl_->pending.push_back({it->second.name, std::nullopt});
  impl_->view.values.erase(it);
  return true;
}

bool RegistryKey::flush() { return impl_->flush(); }

const std::string& RegistryKey::path() const { return impl_->path; }

}  // namespace vektrano::platform
