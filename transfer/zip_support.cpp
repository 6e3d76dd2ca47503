#include "transfer/zip_support.h"

#include <zlib.h>

#include <vector>

namespace vektrano::transfer {
namespace {

constexpr std::string_view kLowerCz = "üéďäčěĺľžôöůýťáíóúňšřŕ";
constexpr std::string_view kUpperCz = "ÜÉĎÄČĚĹĽŽÔÖŮÝŤÁÍÓÚŇŠŘŔ";
static_assert(kLowerCz.size() == 22 && kUpperCz.size() == 22);

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Position of the separator that ends the folder part, or npos.
size_t folderEnd(const std::string& text) {
  for (size_t i = text.size(); i-- > 0;)
    if (isSeparator(text[i])) return i;
  return text.rfind(':');
}

bool allStars(const std::string& s, size_t from) {
  for (size_t i = from; i < s.size(); ++i)
    if (s[i] != '*') return false;
  return true;
}

// The matcher of WildcardMatch. A "*" tries every later position of the
// other text; the outcome of each pair of positions is remembered, so that
// names full of "*" from a foreign archive cannot make it run for ages.
class Matcher {
 public:
  Matcher(const std::string& a, const std::string& b)
      : a_(a), b_(b), memo_((a.size() + 1) * (b.size() + 1), 0) {}

  bool match(size_t i, size_t j) {
    int8_t& known = memo_[i * (b_.size() + 1) + j];
    if (known) return known > 0;
    bool r = run(i, j);
    known = r ? 1 : -1;
    return r;
  }

 private:
  bool run(size_t i, size_t j) {
    for (;;) {
      if (i == a_.size()) return allStars(b_, j);
      if (j == b_.size()) return allStars(a_, i);
      if (a_[i] == '?' || b_[j] == '?') {
        ++i, ++j;
        continue;
      }
      if (a_[i] == '*') {
        if (++i == a_.size()) return true;
        for (size_t k = j; k <= b_.size(); ++k)
          if (match(i, k)) return true;
        return false;
      }
      if (b_[j] == '*') {
        if (++j == b_.size()) return true;
        for (size_t k = i; k <= a_.size(); ++k)
          if (match(k, j)) return true;
        return false;
      }
      if (UpCaseCz(a_[i]) != UpCaseCz(b_[j])) return false;
      ++i, ++j;
    }
  }

  const std::string& a_;
  const std::string& b_;
  std::vector<int8_t> memo_;
};

}  // namespace

char UpCaseCz(char c) {
  size_t at = kLowerCz.find(c);
  if (at != std::string_view::npos) return kUpperCz[at];
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  return c;
}

std::string RepeatChar(char c, int n) { return n > 0 ? std::string(static_cast<size_t>(n), c) : std::string(); }

std::string SpaceString(int n) { return RepeatChar(' ', n); }

std::string ReverseText(const std::string& text) { return std::string(text.rbegin(), text.rend()); }

bool HasExtension(const std::string& text) {
  size_t dot = text.rfind('.');
  if (dot == std::string::npos) return false;
  for (size_t i = dot + 1; i < text.size(); ++i)
    if (isSeparator(text[i])) return false;
  return true;
}

std::string ExtensionOf(const std::string& text) {
  if (!HasExtension(text)) return {};
  return text.substr(text.rfind('.') + 1, 3);
}

std::string NamePart(const std::string& text) {
  size_t at = folderEnd(text);
  return at == std::string::npos ? text : text.substr(at + 1);
}

std::string FolderPart(const std::string& text) {
  size_t at = folderEnd(text);
  return at == std::string::npos ? std::string() : text.substr(0, at);
}

std::string BaseNamePart(const std::string& text) {
  std::string name = NamePart(text);
  return name.substr(0, name.find('.'));
}

bool WildcardMatch(const std::string& a, const std::string& b) {
  if (a.empty() && b.empty()) return true;
  if (a.empty()) return allStars(b, 0);
  if (b.empty()) return allStars(a, 0);
  Matcher m(a, b);
  return m.match(0, 0);
}

bool MatchPathMask(const std::string& path, const std::string& mask) {
  return FolderPart(path) == FolderPart(mask) &&
         WildcardMatch(BaseNamePart(path), BaseNamePart(mask)) &&
         WildcardMatch(ExtensionOf(path), ExtensionOf(mask));
}

uint32_t Crc32(uint32_t crc, const void* data, size_t len) {
  const auto* p = static_cast<const Bytef*>(data);
  uLong c = crc;
  while (len > 0) {
    uInt n = len > (1u << 30) ? (1u << 30) : static_cast<uInt>(len);
    c = ::crc32(c, p, n);
    p += n;
    len -= n;
  }
  return static_cast<uint32_t>(c);
}

}  // namespace vektrano::transfer
