#include "preview/rtf.h"

#include <algorithm>
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
      if (!merged.empty() && merged.back().sameFormat(r)) merged.back().text += r.text;
      else merged.push_back(std::move(r));
    }
    p.runs = std::move(merged);
  }
}

namespace {

// The text of a run as RTF: control characters escaped, cp1250 bytes as \'hh.
void writeRunText(std::string& out, const std::string& text) {
  for (unsigned char c : text) {
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

template <class T>
int indexIn(std::vector<T>& table, const T& v) {
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i] == v) return static_cast<int>(i);
  table.push_back(v);
  return static_cast<int>(table.size() - 1);
}

}  // namespace

std::string WriteRtf(const TPvRichText& text) {
  // Font 0 is the default (a run without a font); colour 0 the automatic one.
  std::vector<std::string> fonts{""};
  std::vector<TColor> colors{clDefault};
  for (const auto& p : text.paragraphs)
    for (const auto& r : p.runs) {
      if (!r.font.empty()) indexIn(fonts, r.font);
      if (r.color != clDefault) indexIn(colors, colorToRgb(r.color));
    }
  std::string out = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl";
  for (size_t i = 0; i < fonts.size(); ++i) {
    out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset238 ";
    writeRunText(out, i == 0 ? std::string("Arial") : fonts[i]);
    out += ";}";
  }
  out += "}";
  if (colors.size() > 1) {
    out += "{\\colortbl ;";
    for (size_t i = 1; i < colors.size(); ++i)
      out += "\\red" + std::to_string(redOf(colors[i])) + "\\green" + std::to_string(greenOf(colors[i])) +
             "\\blue" + std::to_string(blueOf(colors[i])) + ";";
    out += "}";
  }
  out += "\r\n\\viewkind4\\uc1\\pard\\f0 ";

  TPvRichRun cur;  // the format in force
  TPvRichAlignment align = raLeft;
  auto switchTo = [&](const TPvRichRun& r) {
    const TFontStyles st = r.style & (fsBold | fsItalic | fsUnderline | fsStrikeOut);
    // No control word gives the default size back but \plain, which takes
    // every character format back to its default.
    if (r.size == 0 && cur.size != 0) {
      out += "\\plain ";
      cur = TPvRichRun{};
    }
    auto flip = [&](TFontStyles bit, const char* on, const char* off) {
      if ((cur.style & bit) != (st & bit)) out += (st & bit) ? on : off;
    };
    flip(fsBold, "\\b ", "\\b0 ");
    flip(fsItalic, "\\i ", "\\i0 ");
    flip(fsUnderline, "\\ul ", "\\ulnone ");
    flip(fsStrikeOut, "\\strike ", "\\strike0 ");
    if (r.font != cur.font) out += "\\f" + std::to_string(r.font.empty() ? 0 : indexIn(fonts, r.font)) + " ";
    if (r.size != cur.size) out += "\\fs" + std::to_string(r.size > 0 ? r.size : 24) + " ";
    if (r.color != cur.color)
      out += "\\cf" + std::to_string(r.color == clDefault ? 0 : indexIn(colors, colorToRgb(r.color))) + " ";
    cur.style = st;
    cur.font = r.font;
    cur.size = r.size;
    cur.color = r.color;
  };
  for (const auto& p : text.paragraphs) {
    if (p.alignment != align) {
      static const char* const kAlign[] = {"\\ql ", "\\qr ", "\\qc ", "\\qj "};
      out += kAlign[p.alignment <= raJustify ? p.alignment : raLeft];
      align = p.alignment;
    }
    for (const auto& r : p.runs) {
      switchTo(r);
      writeRunText(out, r.text);
    }
    out += "\\par\r\n";
  }
  switchTo(TPvRichRun{});
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

// What a group collects instead of text.
enum class Destination { Text, Skip, FontTable, ColorTable };

struct GroupState {
  TFontStyles style = 0;
  std::string font;
  int size = 0;
  TColor color = clDefault;
  TPvRichAlignment alignment = raLeft;
  Destination dest = Destination::Text;
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
            const std::string_view w = s_.substr(j, k - j);
            if (w == "fonttbl" && !st.skip) st.dest = Destination::FontTable;
            else if (w == "colortbl" && !st.skip) st.dest = Destination::ColorTable;
            else if (isSkippedDestination(w)) st.skip = true;
          }
        }
      } else if (c == '}') {
        if (st.dest == Destination::FontTable && !st.skip) endFontEntry();
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
    if (!para_.runs.empty()) endParagraph(st);
    doc_.normalize();
    return std::move(doc_);
  }

 private:
  static bool isSkippedDestination(std::string_view w) {
    static constexpr std::string_view kSkip[] = {
        "stylesheet", "info", "pict", "object", "header", "headerl", "headerr",
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
    if (st.dest == Destination::FontTable) {
      if (c == ';') endFontEntry();
      else fontName_ += c;
      return;
    }
    if (st.dest == Destination::ColorTable) {
      if (c == ';') {
        colors_.push_back(colorSet_ ? makeRgb(red_, green_, blue_) : clDefault);
        red_ = green_ = blue_ = 0;
        colorSet_ = false;
      }
      return;
    }
    TPvRichRun format{"", st.style, st.font, st.size, st.color};
    if (para_.runs.empty() || !para_.runs.back().sameFormat(format)) para_.runs.push_back(std::move(format));
    para_.runs.back().text += c;
    para_.alignment = st.alignment;
  }

  void endFontEntry() {
    if (fontNumber_ >= 0) {
      // Tabs and control bytes are no part of a font's name.
      std::string name;
      for (char c : fontName_)
        if (static_cast<unsigned char>(c) >= 0x20) name += c;
      while (!name.empty() && name.front() == ' ') name.erase(name.begin());
      while (!name.empty() && name.back() == ' ') name.pop_back();
      if (!name.empty()) fontNames_.emplace_back(fontNumber_, name);
    }
    fontNumber_ = -1;
    fontName_.clear();
  }

  // The name of a font number; the document's default font is no font.
  std::string fontName(long number) const {
    if (number == defaultFont_) return {};
    for (const auto& [n, name] : fontNames_)
      if (n == number) return name;
    return {};
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

  void endParagraph(const GroupState& st) {
    para_.alignment = st.alignment;
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
          if (!st.skip && st.dest == Destination::Text) endParagraph(st);
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
    if (st.dest == Destination::FontTable) {
      if (w == "f" && hasParam) fontNumber_ = param;
      return;
    }
    if (st.dest == Destination::ColorTable) {
      const int v = static_cast<int>(std::clamp(param, 0L, 255L));
      if (w == "red") red_ = v;
      else if (w == "green") green_ = v;
      else if (w == "blue") blue_ = v;
      else return;
      colorSet_ = true;
      return;
    }
    if (w == "par" || w == "line") {
      if (!st.skip) endParagraph(st);
    } else if (w == "deff") {
      defaultFont_ = param;
    } else if (w == "f") {
      st.font = fontName(param);
    } else if (w == "fs") {
      st.size = hasParam && param > 0 && param < 3278 ? static_cast<int>(param) : 0;
    } else if (w == "cf") {
      st.color = param > 0 && param < static_cast<long>(colors_.size()) ? colors_[param] : clDefault;
    } else if (w == "ql") {
      st.alignment = raLeft;
    } else if (w == "qr") {
      st.alignment = raRight;
    } else if (w == "qc") {
      st.alignment = raCenter;
    } else if (w == "qj") {
      st.alignment = raJustify;
    } else if (w == "pard") {
      st.alignment = raLeft;
    } else if (w == "tab") {
      emitByte('\t', st);
    } else if (w == "b") {
      setBit(fsBold, on);
    } else if (w == "i") {
      setBit(fsItalic, on);
    } else if (w == "ul") {
      setBit(fsUnderline, on);
    } else if (w == "strike") {
      setBit(fsStrikeOut, on);
    } else if (w == "ulnone") {
      setBit(fsUnderline, false);
    } else if (w == "plain") {
      st.style = 0;
      st.font.clear();
      st.size = 0;
      st.color = clDefault;
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
  long defaultFont_ = 0;
  std::vector<std::pair<long, std::string>> fontNames_;
  long fontNumber_ = -1;
  std::string fontName_;
  std::vector<TColor> colors_;
  int red_ = 0, green_ = 0, blue_ = 0;
  bool colorSet_ = false;
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
