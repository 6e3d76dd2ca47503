#include "core/base/text.h"

#include <algorithm>
#include <array>

namespace vektrano {
namespace {

using Table = std::array<char, 256>;

unsigned char u(char c) { return static_cast<unsigned char>(c); }

char latinUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char latinLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Lower / upper case pairs the program folds; other accented letters
// (ä, ô, ŕ, ľ ...) keep their case.
constexpr std::pair<char, char> kCasePairs[] = {
    {'á', 'Á'}, {'č', 'Č'}, {'ď', 'Ď'}, {'é', 'É'}, {'ě', 'Ě'}, {'í', 'Í'}, {'ĺ', 'Ĺ'}, {'ň', 'Ň'},
    {'ó', 'Ó'}, {'ř', 'Ř'}, {'š', 'Š'}, {'ť', 'Ť'}, {'ú', 'Ú'}, {'ů', 'Ů'}, {'ý', 'Ý'}, {'ž', 'Ž'},
};

Table identityThrough(char (*f)(char)) {
  Table t{};
  for (int i = 0; i < 256; ++i) t[i] = f(static_cast<char>(i));
  return t;
}

const Table& upperTable() {
  static const Table t = [] {
    Table t = identityThrough(latinUpper);
    for (auto [lower, upper] : kCasePairs) t[u(lower)] = upper;
    return t;
  }();
  return t;
}

const Table& lowerTable() {
  static const Table t = [] {
    Table t = identityThrough(latinLower);
    for (auto [lower, upper] : kCasePairs) t[u(upper)] = lower;
    return t;
  }();
  return t;
}

const Table& searchFoldTable() {
  static const Table t = [] {
    Table t = identityThrough(latinUpper);
    const std::pair<const char*, char> folds[] = {
        {"Ww", 'V'},     {"YyÍÝíý", 'I'}, {"Šš", 'S'},     {"Ťť", 'T'},   {"Žž", 'Z'},
        {"ĽľĹĺ", 'L'},   {"Ááä", 'A'},    {"Čč", 'C'},     {"ÉĚéě", 'E'}, {"Ďď", 'D'},
        {"Ňň", 'N'},     {"Óóô", 'O'},    {"Řŕř", 'R'},    {"ŮÚůú", 'U'},
    };
    for (auto [from, to] : folds)
      for (const char* p = from; *p; ++p) t[u(*p)] = to;
    return t;
  }();
  return t;
}

std::string mapThrough(std::string_view text, const Table& table) {
  std::string out(text);
  for (char& c : out) c = table[u(c)];
  return out;
}

bool isBlankOrControl(char c) { return u(c) <= ' '; }

std::string trimmed(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && isBlankOrControl(text[b])) ++b;
  while (e > b && isBlankOrControl(text[e - 1])) --e;
  return std::string(text.substr(b, e - b));
}

std::string withoutChar(std::string_view text, char gone) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != gone) out += c;
  return out;
}

// Deletes every note word that follows a blank: from its "." up to and
// including the next blank, or to the end. The blank in front stays, so a
// note right behind a deleted one is found as well.
std::string withoutNotesBehindBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '.' && !out.empty() && out.back() == ' ') {
      const std::size_t blank = text.find(' ', i);
      if (blank == std::string_view::npos) break;
      i = blank;  // the blank itself goes too
      continue;
    }
    out += text[i];
  }
  return out;
}

// The note words of a text (each after a blank, or at the very start), in
// order, joined by single blanks.
std::string noteWords(std::string_view text) {
  const std::string t = " " + std::string(text);
  std::string out;
  for (std::size_t i = 1; i < t.size(); ++i) {
    if (t[i] == '.' && t[i - 1] == ' ') {
      std::size_t end = t.find(' ', i);
      if (end == std::string::npos) end = t.size();
      out += ' ';
      out.append(t, i, end - i);
      i = end;
    }
  }
  return trimmed(vyhoddvojmezery(out));
}

// Position of a bracket pair opened by the first `open`, provided the first
// `close` of the text lies after it.
bool findBracket(std::string_view text, char open, char close, std::size_t& from, std::size_t& to) {
  from = text.find(open);
  to = text.find(close);
  return from != std::string_view::npos && to != std::string_view::npos && to > from;
}

}  // namespace

bool isChar(char c) { return c >= 'A' && c <= 'Z'; }
bool isNum(char c) { return c >= '0' && c <= '9'; }

std::string VyhodHvezdicky(std::string_view text) { return withoutChar(text, '*'); }
std::string vyhodmezery(std::string_view text) { return withoutChar(text, ' '); }

std::string vyhoddvojmezery(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (!(c == ' ' && !out.empty() && out.back() == ' ')) out += c;
  return out;
}

bool JeReport(std::string_view word) {
  if (word == "--") return false;
  return std::all_of(word.begin(), word.end(), [](char c) { return isNum(c) || c == '-'; });
}

std::string prevod(std::string_view text, const KeyboardOptions& keyboard) {
  std::string out(text);
  for (char& c : out) {
    switch (c) {
      case '+': c = '1'; break;
      case 'š': case 'Š': c = '3'; break;
      case 'č': case 'Č': c = '4'; break;
      case 'ž': case 'Ž': c = '6'; break;
      case 'ý': case 'Ý': c = '7'; break;
      case 'á': case 'Á': c = '8'; break;
      case 'í': case 'Í': c = '9'; break;
      case 'é': case 'É': c = '0'; break;
      case 'ě': case 'Ě': if (keyboard.klavesnicecz) c = '2'; break;
      case 'ř': case 'Ř': if (keyboard.klavesnicecz) c = '5'; break;
      // The Slovak layout has ľ for 2 in lower case but Ĺ in upper case.
      case 'ľ': case 'Ĺ': if (keyboard.klavesnicesk) c = '2'; break;
      case 'ť': case 'Ť': if (keyboard.klavesnicesk) c = '5'; break;
      default: c = latinUpper(c);
    }
  }
  return out;
}

std::string PrevodJenNaVelke(std::string_view text) { return mapThrough(text, searchFoldTable()); }

namespace {
char digitRowLetter(char c, const KeyboardOptions& keyboard, bool upper) {
  const bool cz = keyboard.klavesnicecz;
  switch (c) {
    case '0': return upper ? 'É' : 'é';
    case '1': return '+';
    case '2': return cz ? (upper ? 'Ě' : 'ě') : (upper ? 'Ĺ' : 'ĺ');
    case '3': return upper ? 'Š' : 'š';
    case '4': return upper ? 'Č' : 'č';
    case '5': return cz ? (upper ? 'Ř' : 'ř') : (upper ? 'Ť' : 'ť');
    case '6': return upper ? 'Ž' : 'ž';
    case '7': return upper ? 'Ý' : 'ý';
    case '8': return upper ? 'Á' : 'á';
    case '9': return upper ? 'Í' : 'í';
    default: return c;
  }
}
}  // namespace

char CisloNaVelke(char c, const KeyboardOptions& keyboard) { return digitRowLetter(c, keyboard, true); }
char CisloNaMale(char c, const KeyboardOptions& keyboard) { return digitRowLetter(c, keyboard, false); }

char VelkyZnak(char c) { return upperTable()[u(c)]; }
std::string PrevodNaMale(std::string_view text) { return mapThrough(text, lowerTable()); }

bool JeVyjimkaLokatoru(std::string_view word, const std::vector<std::string>& exceptions) {
  return std::find(exceptions.begin(), exceptions.end(), word) != exceptions.end();
}

std::string upravvolacku(std::string_view text) {
  std::string rest(text);
  std::string bracket;
  std::size_t from, to;
  if (findBracket(rest, '(', ')', from, to)) {
    bracket = rest.substr(from, to - from + 1);
    for (char& c : bracket) c = VelkyZnak(c);
    rest.erase(from, to - from + 1);
  }
  rest = PrevodNaMale(vyhoddvojmezery(VyhodHvezdicky(rest)));

  std::string out;
  std::size_t i = 0;
  while (i < rest.size()) {
    const std::size_t blank = std::min(rest.find(' ', i), rest.size());
    if (blank > i) {
      out += VelkyZnak(rest[i]);
      out.append(rest, i + 1, blank - i - 1);
      out += ' ';
    }
    i = blank + 1;
  }
  out += bracket;
  return trimmed(vyhoddvojmezery(out));
}

std::string ponechtecky(std::string_view text) {
  const std::string_view before = text.substr(0, std::min(text.find("/p"), text.size()));
  if (before.size() < 2) return {};
  return noteWords(before) + " ";
}

std::string vyhodtecky(std::string_view text) {
  std::string t = " " + std::string(text);
  if (t.size() >= 2) t = trimmed(vyhoddvojmezery(withoutNotesBehindBlanks(t)));
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return t;
}

std::string OcistiVolacku(std::string_view text) {
  std::string t = trimmed(text);
  for (const char* mark : {"/p", "/m"}) {
    const std::size_t at = t.find(mark);
    if (at != std::string::npos) t.erase(0, at + 2);
  }
  if (t.size() < 2) return t;
  t = withoutNotesBehindBlanks(t);
  if (!t.empty() && t[0] == '.') {
    const std::size_t blank = t.find(' ');
    t.erase(0, blank == std::string::npos ? t.size() : blank + 1);
  }
  return trimmed(vyhoddvojmezery(t));
}

std::string navaltecky(std::string_view text) {
  if (text.size() < 2) return {};
  return noteWords(text);
}

std::string vyhoddatum(std::string_view cell) {
  std::string t(cell);
  std::size_t from, to;
  if (findBracket(t, '[', ']', from, to)) t.erase(from, to - from + 1);
  return vyhodmezery(t);
}

std::string percentEncoded(std::string_view bytes, bool (*kept)(unsigned char)) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (kept(c)) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

}  // namespace vektrano
