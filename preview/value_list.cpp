#include "preview/value_list.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace vektrano::preview {
namespace {

// CR and LF inside a value become ESC r and ESC n, ESC itself ESC e. Values
// written by older versions never hold ESC, so they read back unchanged.
constexpr char kEsc = '\x1B';

std::string escapeValue(std::string_view v) {
  std::string out;
  out.reserve(v.size());
  for (char c : v) {
    if (c == kEsc) out += "\x1B" "e";
    else if (c == '\r') out += "\x1B" "r";
    else if (c == '\n') out += "\x1B" "n";
    else out += c;
  }
  return out;
}

std::string unescapeValue(std::string_view v) {
  if (v.find(kEsc) == std::string_view::npos) return std::string(v);
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] == kEsc && i + 1 < v.size()) {
      char n = v[i + 1];
      if (n == 'e' || n == 'r' || n == 'n') {
        out += n == 'e' ? kEsc : n == 'r' ? '\r' : '\n';
        ++i;
        continue;
      }
    }
    out += v[i];
  }
  return out;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool parseInt(std::string_view s, long long& out) {
  s = trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && p == s.data() + s.size();
}

// The integers of a comma text; missing or unreadable items read as 0.
std::vector<long long> commaIntegers(std::string_view s, size_t want) {
  std::vector<long long> v(want, 0);
  size_t i = 0;
  while (i < want) {
    size_t comma = s.find(',');
    long long n = 0;
    if (parseInt(s.substr(0, comma), n)) v[i] = n;
    ++i;
    if (comma == std::string_view::npos) break;
    s.remove_prefix(comma + 1);
  }
  return v;
}

}  // namespace

std::string FormatExtended3(Extended v) {
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
  if (ec != std::errc()) return "0.000";
  std::string s(buf, p);
  if (s == "-0.000") s = "0.000";
  return s;
}

bool ParseExtended(std::string_view text, Extended& out) {
  text = trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  Extended v = 0;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  // "nan" and "inf" are numbers to the parser but no length of a page: a
  // damaged value must not reach device pixels.
  if (ec != std::errc() || p != text.data() + text.size() || !std::isfinite(v)) return false;
  out = v;
  return true;
}

std::string TPvValueList::Text() const {
  std::string s;
  for (const auto& l : lines_) {
    s += l;
    s += "\r\n";
  }
  return s;
}

void TPvValueList::SetText(std::string_view text) {
  lines_.clear();
  size_t i = 0;
  while (i < text.size()) {
    size_t end = text.find_first_of("\r\n", i);
    if (end == std::string_view::npos) {
      lines_.emplace_back(text.substr(i));
      break;
    }
    lines_.emplace_back(text.substr(i, end - i));
    i = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
}

int TPvValueList::indexOf(std::string_view name) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const auto& l = lines_[i];
    if (l.size() > name.size() && l[name.size()] == '=' && l.compare(0, name.size(), name) == 0)
      return static_cast<int>(i);
  }
  return -1;
}

const std::string* TPvValueList::raw(std::string_view name) const {
  int i = indexOf(name);
  return i < 0 ? nullptr : &lines_[i];
}

void TPvValueList::setRaw(std::string_view name, std::string value) {
  int i = indexOf(name);
  if (value.empty()) {
    if (i >= 0) lines_.erase(lines_.begin() + i);
    return;
  }
  std::string line = std::string(name) + "=" + value;
  if (i >= 0) lines_[i] = std::move(line);
  else lines_.push_back(std::move(line));
}

int TPvValueList::GetInteger(std::string_view name, int def) const {
  const std::string* l = raw(name);
  long long n = 0;
  if (!l || !parseInt(std::string_view(*l).substr(name.size() + 1), n)) return def;
  if (n < INT32_MIN || n > INT32_MAX) return def;
  return static_cast<int>(n);
}

bool TPvValueList::GetBoolean(std::string_view name, bool def) const {
  return GetInteger(name, def ? 1 : 0) != 0;
}

std::string TPvValueList::GetString(std::string_view name, std::string_view def) const {
  const std::string* l = raw(name);
  if (!l) return std::string(def);
  return unescapeValue(std::string_view(*l).substr(name.size() + 1));
}

Extended TPvValueList::GetExtended(std::string_view name, Extended def) const {
  const std::string* l = raw(name);
  Extended v = 0;
  if (!l || !ParseExtended(std::string_view(*l).substr(name.size() + 1), v)) return def;
  return v;
}

TPvPointExt TPvValueList::GetPoint(std::string_view name, const TPvPointExt& def) const {
  const std::string* l = raw(name);
  if (!l) return def;
  auto v = commaIntegers(std::string_view(*l).substr(name.size() + 1), 2);
  return {static_cast<Extended>(v[0]) / 1000, static_cast<Extended>(v[1]) / 1000};
}

TPvRectExt TPvValueList::GetRect(std::string_view name, const TPvRectExt& def) const {
  const std::string* l = raw(name);
  if (!l) return def;
  auto v = commaIntegers(std::string_view(*l).substr(name.size() + 1), 4);
  return {static_cast<Extended>(v[0]) / 1000, static_cast<Extended>(v[1]) / 1000,
          static_cast<Extended>(v[2]) / 1000, static_cast<Extended>(v[3]) / 1000};
}

void TPvValueList::SetInteger(std::string_view name, int v) { setRaw(name, std::to_string(v)); }
void TPvValueList::SetBoolean(std::string_view name, bool v) { setRaw(name, v ? "1" : "0"); }
void TPvValueList::SetString(std::string_view name, std::string_view v) { setRaw(name, escapeValue(v)); }
void TPvValueList::SetExtended(std::string_view name, Extended v) { setRaw(name, FormatExtended3(v)); }

void TPvValueList::SetPoint(std::string_view name, const TPvPointExt& p) {
  setRaw(name, std::to_string(roundHalfEven(p.X * 1000)) + "," + std::to_string(roundHalfEven(p.Y * 1000)));
}

void TPvValueList::SetRect(std::string_view name, const TPvRectExt& r) {
  setRaw(name, std::to_string(roundHalfEven(r.Left * 1000)) + "," + std::to_string(roundHalfEven(r.Top * 1000)) +
                   "," + std::to_string(roundHalfEven(r.Right * 1000)) + "," +
                   std::to_string(roundHalfEven(r.Bottom * 1000)));
}

void TPvValueList::SaveToStream(PvStream& stream) const {
  TPvWriter(stream).WriteBlock(Text());
}

bool TPvValueList::LoadFromStream(PvStream& stream) {
  std::string text;
  if (!TPvReader(stream).ReadBlock(text)) return false;
  SetText(text);
  return true;
}

}  // namespace vektrano::preview
