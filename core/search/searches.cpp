#include "core/search/searches.h"

#include <charconv>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <optional>
#include <utility>

#include "core/base/geometry.h"
#include "core/base/text.h"
#include "core/search/index_file_cache.h"
#include "core/search/memory_table_keys.h"
#include "platform/files.h"

namespace vektrano {
namespace {

std::string_view from(std::string_view s, size_t pos) {
  return pos < s.size() ? s.substr(pos) : std::string_view();
}

std::string_view first(std::string_view s, size_t n) { return s.substr(0, n); }

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool isUpperOrDigit(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

std::string asciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = asciiUpper(c);
  return out;
}

std::string trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

// Each line of a text file; CR LF or LF alone ends a line. False when the
// loop was stopped.
template <class Fn>
bool forEachLine(const std::string& data, const std::stop_token& stop, Fn&& fn) {
  size_t pos = 0;
  while (pos < data.size()) {
    if (stop.stop_requested()) return false;
    size_t end = data.find('\n', pos);
    if (end == std::string::npos) end = data.size();
    std::string_view line(data.data() + pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    fn(line);
    pos = end + 1;
  }
  return true;
}

// The index file of key, or nothing when the key names no file or the file
// cannot be read.
std::shared_ptr<const IndexFile> readIndex(const IndexPrefix& prefix, std::string_view key,
                                           bool wordKey) {
  const std::string k = asciiUpper(key);
  if (wordKey ? !validWordKey(k) : !validLocatorKey(k)) return nullptr;
  return readIndexFile(prefix.file(k));
}

const std::string& stars49() {
  static const std::string s(49, '*');
  return s;
}

// Whether text holds word (a blank and the start of a word). A broad search
// compares tens of thousands of lines: the library's search calls out twice
// for every blank of a line, which cost more than the rest of the walk, so
// the first two characters are compared sixteen places at a time.
bool holds(std::string_view text, std::string_view word) {
  const size_t n = word.size();
  if (n > text.size()) return false;
  if (n < 2) return n == 0 || text.find(word[0]) != std::string_view::npos;
  const char* const w = word.data();
  const char* const begin = text.data();
  const char* const last = begin + (text.size() - n);  // the last place word may start
  auto at = [&](const char* p) {
    size_t i = 2;
    while (i < n && p[i] == w[i]) ++i;
    return i == n;
  };
  const char* p = begin;
#if defined(__SSE2__)
  if (text.size() >= n + 15) {
    const __m128i first = _mm_set1_epi8(w[0]), second = _mm_set1_epi8(w[1]);
    // Places p..p+15, their two characters read up to p+16, which lies in
    // the text while p+15 <= last.
    auto block = [&](const char* q, unsigned skip) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 1));
      unsigned m = static_cast<unsigned>(
          _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, second))));
      m &= ~0u << skip;
      for (; m != 0; m &= m - 1)
        if (at(q + __builtin_ctz(m))) return true;
      return false;
    };
    for (; p + 15 <= last; p += 16)
      if (block(p, 0)) return true;
    // The places left, in a block that ends at the last one.
    return p <= last && block(last - 15, static_cast<unsigned>(p - (last - 15)));
  }
#endif
  for (; p <= last; ++p)
    if (p[0] == w[0] && p[1] == w[1] && at(p)) return true;
  return false;
}

bool allWordsIn(const std::vector<std::string>& words, std::string_view text) {
  if (words.empty()) return false;
  for (const std::string& w : words)
    if (!holds(text, w)) return false;
  return true;
}

// The place and call-sign search share one algorithm.
struct ListSearch {
  bool places;
  const char* header;
  const IndexPrefix& byLocator;
  const IndexPrefix& byWord;
  const char* notFound;
};

void listSearch(const SearchInput& in, const ListSearch& how, const SearchSink& out,
                const std::stop_token& stop) {
  const std::string& L = in.LokatorProtistanice;
  std::string T = in.text;
  out(kCmdCls);

  // A club call sign in front of the place name is no part of the place.
  if (how.places) {
    const size_t at = T.find("Zr-");
    if (at != std::string::npos) {
      const size_t blank = T.find(' ', at);
      T.erase(at, blank == std::string::npos ? std::string::npos : blank - at + 1);
      T = trim(T);
    }
  }
  out(how.header + T + (L.empty() ? "" : " " + L) + "]");

  // Words with a leading blank, so that each one matches a word start.
  T = PrevodJenNaVelke(T);
  std::vector<std::string> words;
  if (T.find_first_not_of(' ') != std::string::npos) {
    size_t blank;
    while ((blank = T.find(' ')) != std::string::npos && words.size() < 99 &&
           !stop.stop_requested()) {
      words.push_back(" " + vyhodmezery(std::string_view(T).substr(0, blank + 1)));
      T.erase(0, blank + 1);
    }
    if (words.size() < 99) words.push_back(" " + T);
  }
  if (testlok(L)) words.push_back(" " + L);

  // The first word of two characters or more keys the index file to read.
  std::string key;
  for (const std::string& w : words)
    if (w.size() >= 3) {
      key = w.substr(1, 2);
      break;
    }
  int hits = 0;
  // Its remembered sines take 48 KB: made only when distances are shown.
  std::optional<DistancesFrom> fromOwn;
  std::shared_ptr<LineDistances> known;
  auto show = [&](size_t i, std::string_view shown) {
    ++hits;
    if (!in.pocitejkm) return out(shown);
    char km[24] = " / ";
    char* end = std::to_chars(km + 3, km + sizeof km - 3, known->km(i, first(shown, 6), *fromOwn)).ptr;
    std::memcpy(end, " km", 3);
    out(shown, std::string_view(km, static_cast<size_t>(end + 3 - km)));
  };
  if (in.MenuRam) {
    const SharedTable table = in.table ? in.table : std::make_shared<const MemoryTable>();
    const auto keys = keysOf(table);
    if (in.pocitejkm) {
      fromOwn.emplace(in.lokportable);
      known = keys->distances().from(in.lokportable, table->size());
    }
    auto compare = [&](std::uint32_t r) {
      const MemoryRow& row = (*table)[r];
      if (row.cell0 == "******")
        out(stars49());
      else if (allWordsIn(words, row.cell0))
        show(r, row.cell1);
    };
    // Every row that holds all the words has a word beginning with each of
    // them: the word of the fewest such rows picks the rows to compare.
    std::string_view narrowest;
    for (const std::string& w : words) {
      const std::string_view word = std::string_view(w).substr(1);
      if (MemoryTableKeys::keyed(word) &&
          (narrowest.empty() || keys->count(word) < keys->count(narrowest)))
        narrowest = word;
    }
    if (narrowest.empty()) {
      for (std::uint32_t r = 0; r < table->size(); ++r) {
        if (stop.stop_requested()) return;
        compare(r);
      }
    } else {
      for (const std::uint32_t r : keys->rows(narrowest)) {
        if (stop.stop_requested()) return;
        compare(r);
      }
    }
  } else {
    std::shared_ptr<const IndexFile> data;
    if (!L.empty())
      data = readIndex(how.byLocator, first(L, 5), false);
    else
      data = readIndex(how.byWord, key, true);
    if (!data) {
      out(how.notFound);
    } else {
      const IndexListLines& lines = data->listLines();
      if (in.pocitejkm) {
        fromOwn.emplace(in.lokportable);
        known = data->distances().from(in.lokportable, lines.size());
      }
      for (size_t i = 0; i < lines.size(); ++i) {
        if (stop.stop_requested()) return;
        if (lines.separator(i))
          out(stars49());
        else if (allWordsIn(words, lines.compare[i]))
          show(i, lines.shown[i]);
      }
    }
  }
  if (stop.stop_requested()) return;
  out(" --- počet : " + std::to_string(hits) + " ---");
}

}  // namespace

void SearchSink::operator()(std::string_view head, std::string_view tail) const {
  if (pieces_) return pieces_(head, tail);
  joined_.assign(head).append(tail);
  line_(joined_);
}

bool validLocatorKey(std::string_view key) {
  if (key.empty()) return false;
  for (char c : key)
    if (!isUpperOrDigit(c)) return false;
  return true;
}

bool validWordKey(std::string_view key) {
  return key.size() == 2 && (isUpperOrDigit(key[0]) || key[0] == '.' || key[0] == '_') &&
         (isUpperOrDigit(key[1]) || key[1] == '.');
}

void LogLines::Block::add(const Grid::Row& row) {
  for (size_t c = 0; c < kCells; ++c) {
    if (c < row.size()) bytes += row[c];
    ends.push_back(static_cast<std::uint32_t>(bytes.size()));
  }
}

LogLines::Row LogLines::Block::row(size_t r) const {
  Row out;
  size_t begin = r == 0 ? 0 : ends[r * kCells - 1];
  for (size_t c = 0; c < kCells; ++c) {
    const size_t end = ends[r * kCells + c];
    out[c] = std::string_view(bytes).substr(begin, end - begin);
    begin = end;
  }
  return out;
}

const LogLines::Folded& LogLines::Block::folded() const {
  std::call_once(foldOnce_, [this] {
    folded_.ends.reserve(rows());
    for (size_t r = 0; r < rows(); ++r) {
      folded_.bytes += PrevodJenNaVelke(vyhodtecky(row(r)[3]));
      folded_.ends.push_back(static_cast<std::uint32_t>(folded_.bytes.size()));
    }
  });
  return folded_;
}

std::string_view LogLines::cell(size_t row, size_t col) const {
  if (col >= kCells) return {};
  for (const auto& b : blocks_) {
    if (row < b->rows()) return b->row(row)[col];
    row -= b->rows();
  }
  return {};
}

std::shared_ptr<const LogLines> LogLines::of(const std::vector<Grid::Row>& rows, size_t from) {
  return appended(LogLines{}, rows, from);
}

std::shared_ptr<const LogLines> LogLines::appended(const LogLines& before,
                                                   const std::vector<Grid::Row>& rows,
                                                   size_t from) {
  auto out = std::make_shared<LogLines>(before);
  if (from >= rows.size()) return out;
  // A small tail block is copied and grows; a full one stays shared.
  std::shared_ptr<Block> block;
  if (!out->blocks_.empty() && out->blocks_.back()->rows() < kTailRows) {
    block = std::make_shared<Block>(*out->blocks_.back());
    out->blocks_.pop_back();
  } else {
    block = std::make_shared<Block>();
  }
  block->bytes.reserve(block->bytes.size() + (rows.size() - from) * 40);
  block->ends.reserve(block->ends.size() + (rows.size() - from) * kCells);
  for (size_t r = from; r < rows.size(); ++r) block->add(rows[r]);
  out->size_ += rows.size() - from;
  out->blocks_.push_back(std::move(block));
  return out;
}

LogSnapshot snapshotLog(const Grid& Denik) { return LogLines::of(Denik.rows(), 1); }

LogSnapshotCache::LogSnapshotCache(Grid& Denik)
    : grid_(Denik), listener_(Denik.addListener([this](const GridChange& c) {
        if (c.kind == GridChange::Kind::Append)
          known_ = grid_.revision();
        else
          appendedOnly_ = false;
      })) {}

LogSnapshotCache::~LogSnapshotCache() { grid_.removeListener(listener_); }

LogSnapshot LogSnapshotCache::get() {
  // The const rows: taking them for writing would count as a change.
  const std::vector<Grid::Row>& rows = std::as_const(grid_).rows();
  const size_t contacts = rows.empty() ? 0 : rows.size() - 1;
  if (!snapshot_ || !appendedOnly_ || known_ != grid_.revision() || snapshot_->size() > contacts)
    snapshot_ = snapshotLog(grid_);
  else if (snapshot_->size() < contacts)
    snapshot_ = LogLines::appended(*snapshot_, rows, snapshot_->size() + 1);
  appendedOnly_ = true;
  known_ = grid_.revision();
  return snapshot_;
}

SearchInput makeSearchInput(const ScheduledSearch& search, const SearchEnvironment& env) {
  SearchInput in;
  in.kind = search.kind;
  in.text = search.text;
  in.LokatorProtistanice = search.locator;
  in.lokportable = env.lokportable;
  in.MenuRam = env.MenuRam;
  in.pocitejkm = env.pocitejkm;
  in.prefixes = env.prefixes;
  switch (search.kind) {
    case SearchKind::Mesta:
    case SearchKind::Lokatora: in.table = env.SGlokatory; break;
    case SearchKind::Volackaa: in.table = env.SGvolacky; break;
    case SearchKind::Jmena:
      in.table = env.SGsvatky;
      in.synonyms = env.synonyms;
      break;
    case SearchKind::Duplyo: in.log = env.log; break;
  }
  return in;
}

void mesta(const SearchInput& in, const SearchSink& out, std::stop_token stop) {
  const std::string& L = in.LokatorProtistanice;
  out(kCmdCls);
  out(" " + L + "  :  " + std::to_string(vypocet(in.lokportable, L)) + " km");
  if (in.MenuRam) {
    if (in.table)
      for (const MemoryRow& row : *in.table) {
        if (stop.stop_requested()) return;
        if (first(row.cell1, 6) == L) out(from(row.cell1, 7));
      }
  } else if (const auto data = readIndex(in.prefixes.locl, first(L, 5), false)) {
    if (!forEachLine(data->data(), stop, [&](std::string_view line) {
          if (first(line, 6) == L) out(from(line, 7));
        }))
      return;
  } else {
    out(" nenalezeno");
  }
  if (stop.stop_requested()) return;
  out(" --- end ---");
}

void jmena(const SearchInput& in, const SearchSink& out, std::stop_token stop) {
  const std::string& N = in.text;
  out(kCmdCls);
  out(" Svátek [" + N + "] :");
  static const TabulkaSynonym none;
  const std::string canonical = Synonymuj(N, in.synonyms ? *in.synonyms : none);
  if (in.MenuRam) {
    const std::string key = " " + canonical;
    if (in.table && key.size() > 1)
      for (const MemoryRow& row : *in.table) {
        if (stop.stop_requested()) return;
        if (row.cell0.find(key) != std::string::npos) out(row.cell1);
      }
  } else {
    const std::string key = ";" + canonical;
    if (const auto data = readIndex(in.prefixes.jmn, from(key, 1).substr(0, 2), true)) {
      // Only where the list of names after the day begins with the name.
      if (!forEachLine(data->data(), stop, [&](std::string_view line) {
            if (PrevodJenNaVelke(line).find(key) == std::string::npos) return;
            std::string day(line);  // 1903;Josef -> 19.03-Josef
            if (day.size() > 4) day.erase(4, 1);
            day.insert(std::min<size_t>(4, day.size()), "-");
            day.insert(std::min<size_t>(2, day.size()), ".");
            out(day);
          }))
        return;
    } else {
      out(" nenalezeno");
    }
  }
  if (stop.stop_requested()) return;
  out(" --- end ---");
}

void lokatora(const SearchInput& in, const SearchSink& out, std::stop_token stop) {
  listSearch(in, {true, "Hledám místo [", in.prefixes.locl, in.prefixes.loc, " nenalezeno."}, out,
             stop);
}

void volackaa(const SearchInput& in, const SearchSink& out, std::stop_token stop) {
  listSearch(in, {false, "Volačka [", in.prefixes.voll, in.prefixes.vol, " nenalezeno ..."}, out,
             stop);
}

void duplyo(const SearchInput& in, const SearchSink& out, std::stop_token stop) {
  const std::string K = PrevodJenNaVelke(in.text);
  int PocetDuplicit = 0;
  std::string line;  // one buffer for every line
  // An empty key would be found in every row: it finds none.
  if (in.log && !K.empty()) {
    const bool whole = in.log->forEach([&](const LogLines::Row& cell, std::string_view call) {
      if (stop.stop_requested()) return false;
      if (call.find(K) == std::string_view::npos) return true;
      if (++PocetDuplicit == 1) out(kCmdCls);
      line.assign(cell[0]).append(" (").append(cell[1]).append(") [").append(cell[2]);
      line.append("] ").append(cell[3]).append(" [").append(cell[4]).append("] ");
      out(line.append(cell[5]).append(" (").append(cell[6]).append(" km)"));
      return true;
    });
    if (!whole) return;
  }
  if (stop.stop_requested()) return;
  if (PocetDuplicit > 0)
    out(" celkem nalezeno duplicit : " + std::to_string(PocetDuplicit));
  else
    out(kCmdClose);
}

void runSearch(const SearchInput& in, const SearchSink& out, std::stop_token stop) {
  switch (in.kind) {
    case SearchKind::Mesta: return mesta(in, out, stop);
    case SearchKind::Lokatora: return lokatora(in, out, stop);
    case SearchKind::Volackaa: return volackaa(in, out, stop);
    case SearchKind::Jmena: return jmena(in, out, stop);
    case SearchKind::Duplyo: return duplyo(in, out, stop);
  }
}

}  // namespace vektrano
