#include "preview/rtf.h"

#include <cctype>
#include <cstdio>
#include <string_view>

#include "platform/cp1250.h"

namespace vektrano::preview {

std::string TPvRichText::plainText() const {
  std::string s;
  for (size_t i = 0; i < paragraphs.size(); ++i) {
    if (i) s += "\r\n";
    for (const auto& r : paragraphs[i].runs) s += r.text;
  }
  return s;
}

TPvRichText TPvRichText::fromPlainText(std::string_view text) {
  TPvRichText t;
  if (text.empty()) return t;
  size_t i = 0;
  for (;;) {
    size_t end = text.find_first_of("\r\n", i);
    TPvRichParagraph p;
    std::string_view line = text.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
    if (!line.empty()) p.runs.push_back({std::string(line), 0});
    t.paragraphs.push_back(std::move(p));
    if (end == std::string_view::npos) break;
    i = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return t;
}

void TPvRichText::normalize() {
  for (auto& p : paragraphs) {
    std::vector<TPvRichRun> merged;
    for (auto& r : p.runs) {
      if (r.text.empty()) continue;
      if (!merged.empty() && merged.back().style == r.style) merged.back().text += r.text;
      else merged.push_back(std::move(r));
    }
    p.runs = std::move(merged);
  }
}

std::string WriteRtf(const TPvRichText& text) {
  std::string out =
      "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 Arial;}}\r\n"
      "\\viewkind4\\uc1\\pard\\f0 ";
  TFontStyles cur = 0;
  auto switchTo = [&](TFontStyles st) {
    auto flip = [&](TFontStyles bit, const char* on, const char* off) {
      if ((cur & bit) != (st & bit)) out += (st & bit) ? on : off;
    };
    flip(fsBold, "\\b ", "\\b0 ");
    flip(fsItalic, "\\i ", "\\i0 ");
    flip(fsUnderline, "\\ul ", "\\ulnone ");
    cur = st;
  };
  for (const auto& p : text.paragraphs) {
    for (const auto& r : p.runs) {
      switchTo(r.style & (fsBold | fsItalic | fsUnderline));
      for (unsigned char c : r.text) {
        if (c == '\\' || c == '{' || c == '}') {
          out += '\\';
          out += static_cast<char>(c);
        } else if (c == '\t') {
          out += "\\tab ";
        } else if (c >= 0x80 || c < 0x20) {
          // Control bytes too: a text read back keeps every byte it had.
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\'%02x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
      }
    }
    out += "\\par\r\n";
  }
  switchTo(0);
  out += "}\r\n";
  return out;
}

namespace {

// Letters of the Western code page that lie beyond ASCII, as Unicode.
char32_t cp1252ToUnicode(unsigned char b) {
  static const char16_t k80[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  if (b >= 0x80 && b < 0xA0) return k80[b - 0x80];
  return b;
}

struct GroupState {
  TFontStyles style = 0;
  bool skip = false;
  int uc = 1;
};

class RtfReader {
 public:
  explicit RtfReader(std::string_view s) : s_(s) {}

  TPvRichText run() {
    std::vector<GroupState> stack;
    GroupState st;
    size_t i = 0;
    while (i < s_.size()) {
      const char c = s_[i];
      if (c == '{') {
        stack.push_back(st);
        ++i;
        // A group whose first word is a destination we do not keep.
        if (i + 1 < s_.size() && s_[i] == '\\') {
          size_t j = i + 1;
          if (s_[j] == '*') {
            st.skip = true;
          } else {
            size_t k = j;
            while (k < s_.size() && std::isalpha(static_cast<unsigned char>(s_[k]))) ++k;
            if (isSkippedDestination(s_.substr(j, k - j))) st.skip = true;
          }
        }
      } else if (c == '}') {
        if (!stack.empty()) {
          st = stack.back();
          stack.pop_back();
        }
        ++i;
      } else if (c == '\\') {
        i = controlAt(i, st);
      } else if (c == '\r' || c == '\n') {
        ++i;
      } else {
        emitByte(static_cast<unsigned char>(c), st);
        ++i;
      }
    }
    if (!para_.runs.empty()) endParagraph();
    doc_.normalize();
    return std::move(doc_);
  }

 private:
  static bool isSkippedDestination(std::string_view w) {
    static constexpr std::string_view kSkip[] = {
        "fonttbl", "colortbl", "stylesheet", "info", "pict", "object", "header", "headerl", "headerr",
        "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "fldinst", "themedata",
        "colorschememapping", "datastore", "latentstyles", "listtable", "listoverridetable", "rsidtbl",
        "generator", "xmlnstbl", "filetbl", "revtbl", "pgdsctbl", "mmathPr", "annotation", "bkmkstart",
        "bkmkend", "nonshppict", "shpinst", "userprops", "docvar"};
    for (auto k : kSkip)
      if (w == k) return true;
    return false;
  }

  void addChar(char c, const GroupState& st) {
    if (st.skip) return;
    if (para_.runs.empty() || para_.runs.back().style != st.style) para_.runs.push_back({"", st.style});
    para_.runs.back().text += c;
  }

  // A byte of the document's code page; the fallback characters that follow
  // a \uN are dropped.
  void emitByte(unsigned char b, const GroupState& st) {
    if (pendingSkip_ > 0) {
      --pendingSkip_;
      return;
    }
    if (b >= 0x80 && codePage_ != 1250) {
      addChar(platform::unicodeToCp1250(cp1252ToUnicode(b)), st);
      return;
    }
    addChar(static_cast<char>(b), st);
  }

  void endParagraph() {
    doc_.paragraphs.push_back(std::move(para_));
    para_ = {};
  }

  size_t controlAt(size_t i, GroupState& st) {
    const size_t start = i + 1;
    if (start >= s_.size()) return s_.size();
    const char c = s_[start];
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      switch (c) {
        case '\\': case '{': case '}':
          emitByte(static_cast<unsigned char>(c), st);
          return start + 1;
        case '\'': {
          if (start + 2 < s_.size()) {
            unsigned v = 0;
            if (std::sscanf(std::string(s_.substr(start + 1, 2)).c_str(), "%2x", &v) == 1)
              emitByte(static_cast<unsigned char>(v), st);
          }
          return start + 3;
        }
        case '~':
          emitByte(0xA0, st);
          return start + 1;
        case '_':
          emitByte('-', st);
          return start + 1;
        case '*':
          st.skip = true;
          return start + 1;
        case '\r': case '\n':
          if (!st.skip) endParagraph();
          return start + 1;
        default:
          return start + 1;  // \- and other symbols
      }
    }
    size_t k = start;
    while (k < s_.size() && std::isalpha(static_cast<unsigned char>(s_[k]))) ++k;
    const std::string_view word = s_.substr(start, k - start);
    bool hasParam = false;
    long param = 0;
    size_t p = k;
    if (p < s_.size() && (s_[p] == '-' || std::isdigit(static_cast<unsigned char>(s_[p])))) {
      const bool neg = s_[p] == '-';
      if (neg) ++p;
      while (p < s_.size() && std::isdigit(static_cast<unsigned char>(s_[p]))) {
        if (param < 100000000) param = param * 10 + (s_[p] - '0');
        ++p;
        hasParam = true;
      }
      if (neg) param = -param;
    }
    if (p < s_.size() && s_[p] == ' ') ++p;
    word_(word, hasParam, param, st);
    return p;
  }

  void word_(std::string_view w, bool hasParam, long param, GroupState& st) {
    const bool on = !hasParam || param != 0;
    auto setBit = [&st](TFontStyles bit, bool v) { st.style = v ? (st.style | bit) : (st.style & ~bit); };
    if (w == "par" || w == "line") {
      if (!st.skip) endParagraph();
    } else if (w == "tab") {
      emitByte('\t', st);
    } else if (w == "b") {
      setBit(fsBold, on);
    } else if (w == "i") {
      setBit(fsItalic, on);
    } else if (w == "ul") {
      setBit(fsUnderline, on);
    } else if (w == "ulnone") {
      setBit(fsUnderline, false);
    } else if (w == "plain") {
      st.style = 0;
    } else if (w == "uc") {
      st.uc = hasParam && param >= 0 ? static_cast<int>(param) : 1;
    } else if (w == "u") {
      long cp = param < 0 ? param + 65536 : param;
      if (!st.skip) addChar(platform::unicodeToCp1250(static_cast<char32_t>(cp)), st);
      pendingSkip_ = st.uc;
    } else if (w == "ansicpg") {
      codePage_ = static_cast<int>(param);
    } else if (w == "emdash") {
      emitByte(0x97, st);
    } else if (w == "endash") {
      emitByte(0x96, st);
    } else if (w == "lquote") {
      emitByte(0x91, st);
    } else if (w == "rquote") {
      emitByte(0x92, st);
    } else if (w == "ldblquote") {
      emitByte(0x93, st);
    } else if (w == "rdblquote") {
      emitByte(0x94, st);
    } else if (w == "bullet") {
      emitByte(0x95, st);
    }
  }

  std::string_view s_;
  TPvRichText doc_;
  TPvRichParagraph para_;
  int codePage_ = 1250;
  int pendingSkip_ = 0;
};

}  // namespace

TPvRichText ReadRtf(std::string_view data) {
  std::string_view probe = data;
  while (!probe.empty() && std::isspace(static_cast<unsigned char>(probe.front()))) probe.remove_prefix(1);
  if (probe.substr(0, 5) != "{\\rtf") return TPvRichText::fromPlainText(data);
  return RtfReader(probe).run();
}

void TPvMemo::SetContent(TPvRichText content) {
  if (PlainText)
    for (auto& p : content.paragraphs)
      for (auto& r : p.runs) r.style = 0;
  content.normalize();
  if (MaxLength > 0) {
    // Paragraph breaks count as two characters, as in the edit controls.
    size_t left = static_cast<size_t>(MaxLength);
    TPvRichText cut;
    for (auto& p : content.paragraphs) {
      if (!cut.paragraphs.empty()) {
        if (left < 2) break;
        left -= 2;
      }
      TPvRichParagraph q;
      for (auto& r : p.runs) {
        if (left == 0) break;
        if (r.text.size() > left) r.text.resize(left);
        left -= r.text.size();
        q.runs.push_back(std::move(r));
      }
      cut.paragraphs.push_back(std::move(q));
    }
    content = std::move(cut);
  }
  content_ = std::move(content);
}

bool RtfStreamIn(TPvMemo& memo, PvStream& source) {
  std::string bytes;
  source.readBytes(bytes, static_cast<size_t>(source.remaining()));
  memo.SetContent(ReadRtf(bytes));
  return true;
}

void RtfStreamOut(const TPvMemo& memo, PvStream& target) { target.write(WriteRtf(memo.Content())); }

bool IsForeignRichEdit(const TPvMemo& memo) {
  std::string lower;
  for (char c : memo.ClassName()) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower == "trxrichedit" || lower == "trxdbrichedit" || lower == "tjvxrichedit" || lower == "tjvxdbrichedit";
}

void SetRtfText(TPvMemo& memo, std::string_view rtf) {
  if (IsForeignRichEdit(memo)) {
    memo.SetContent(ReadRtf(rtf));
    return;
  }
  if (rtf.empty()) return;
  PvStream s{std::string(rtf)};
  RtfStreamIn(memo, s);
}

std::unique_ptr<TPvMemo> CreateHiddenRichEdit() {
  auto m = std::make_unique<TPvMemo>("TRichEdit");
  m->Width = 0;
  m->Height = 0;
  m->WordWrap = false;
  m->MaxLength = 1000000;
  return m;
}

bool LoadRtfInto(TPvMemo& memo, PvStream& source) { return RtfStreamIn(memo, source); }
void SaveRtfFrom(const TPvMemo& memo, PvStream& target) { RtfStreamOut(memo, target); }

}  // namespace vektrano::preview
