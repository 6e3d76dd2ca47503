#include "core/entry/entry_line.h"

#include <algorithm>

#include "core/base/geometry.h"

namespace vektrano {
namespace {

constexpr size_t kMaxWords = 200;

enum class WordKind { None, Report1, Report2, Locator, Joined, Time };

struct Word {
  std::string text;
  size_t pos = 0;  // 0-based start in the line
  WordKind kind = WordKind::None;
};

bool isReportChar(char c) { return (c >= '0' && c <= '9') || c == '-'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool startsWith(const std::string& s, std::string_view prefix) {
  return s.size() >= prefix.size() && std::string_view(s).substr(0, prefix.size()) == prefix;
}

std::string trimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string trimLeft(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return s.substr(i);
}

// Every occurrence of from in s replaced by to, scanning on behind each
// replacement (so a to that contains from cannot loop).
bool replaceAll(std::string& s, std::string_view from, std::string_view to) {
  if (from.empty()) return false;
  bool changed = false;
  size_t at = 0;
  while ((at = s.find(from, at)) != std::string::npos) {
    s.replace(at, from.size(), to);
    at += to.size();
    changed = true;
  }
  return changed;
}

// Where mark stands at the start of a word, or npos.
size_t findAtWordStart(const std::string& s, std::string_view mark) {
  for (size_t at = s.find(mark); at != std::string::npos; at = s.find(mark, at + 1))
    if (at == 0 || s[at - 1] == ' ') return at;
  return std::string::npos;
}

// Every whole-word occurrence of from replaced by to; the same letters inside
// another word are that word's own business.
void replaceWholeWords(std::string& s, std::string_view from, std::string_view to) {
  if (from.empty()) return;
  size_t at = 0;
  while ((at = s.find(from, at)) != std::string::npos) {
    const size_t end = at + from.size();
    if ((at == 0 || s[at - 1] == ' ') && (end == s.size() || s[end] == ' ')) {
      s.replace(at, from.size(), to);
      at += to.size();
    } else {
      ++at;
    }
  }
}

// Two digits as a number, or -1 when they are not both digits.
int twoDigits(std::string_view s, size_t at) {
  if (at + 2 > s.size()) return -1;
  if (!isDigit(s[at]) || !isDigit(s[at + 1])) return -1;
  return (s[at] - '0') * 10 + (s[at + 1] - '0');
}

bool allReportChars(std::string_view s) {
  return std::all_of(s.begin(), s.end(), isReportChar);
}

// A portable or mobile mark behind position from: "/p" and "/m" anywhere,
// "-p" and "-m" only where a word begins, so that a place such as
// Frýdek-Místek is no mark.
bool markBehind(const std::string& s, size_t from) {
  if (from > s.size()) return false;
  if (s.find("/p", from) != std::string::npos || s.find("/m", from) != std::string::npos)
    return true;
  for (size_t i = from; i + 1 < s.size(); ++i) {
    if (s[i] == '-' && (s[i + 1] == 'p' || s[i + 1] == 'm') && (i == 0 || s[i - 1] == ' '))
      return true;
  }
  return false;
}

// Every "-p" (or "-m") where a word begins turned into "/p" ("/m").
void marksToSlash(std::string& s, char letter) {
  for (size_t i = 0; i + 1 < s.size(); ++i) {
    if (s[i] == '-' && s[i + 1] == letter && (i == 0 || s[i - 1] == ' ')) s[i] = '/';
  }
}

class KeyRelease {
 public:
  KeyRelease(const std::string& line, int caret, const EntryKeyEvent& key,
             const EntryOptions& options, const EntryContext& context, EntryState& state)
      : s_(line),
        caret_(std::clamp(caret, 0, static_cast<int>(line.size()))),
        key_(key),
        k_(key.key),
        o_(options),
        ctx_(context),
        st_(state),
        p_(state.parts) {}

  EntryResult run();

 private:
  // The word i replaced in the line by text; later words move along.
  void rewrite(size_t i, const std::string& text) {
    Word& w = words_[i];
    s_.replace(w.pos, w.text.size(), text);
    shiftAfter(i, static_cast<long>(text.size()) - static_cast<long>(w.text.size()));
    w.text = text;
  }
  void shiftAfter(size_t i, long delta) {
    for (size_t j = i + 1; j < words_.size(); ++j)
      words_[j].pos = static_cast<size_t>(static_cast<long>(words_[j].pos) + delta);
  }
  void caretToEnd() { caret_ = static_cast<int>(s_.size()); }
  void appendBlank() {
    s_ += ' ';
    addedBlank_ = true;
    caretToEnd();
  }
  void schedule(SearchKind kind, const std::string& text) {
    for (auto& s : r_.searches) {
      if (s.kind == kind) {
        s.text = text;
        return;
      }
    }
    r_.searches.push_back({kind, text, {}});
  }
  bool exception(std::string_view word) const {
    return ctx_.vyjimky && JeVyjimkaLokatoru(word, *ctx_.vyjimky);
  }
  bool joinedLocators(const std::string& w) const {
    if (w.size() != 13) return false;
    const std::string a = prevod(w.substr(0, 6), o_.keyboard);
    const std::string b = prevod(w.substr(7, 6), o_.keyboard);
    return testlok(a) && testlok(b) && !exception(a) && !exception(b);
  }

  void split();
  void classify(size_t i);
  void noLocatorDisplay() {
    r_.label1 = "???";
    r_.label1Bold40 = false;
    r_.azimut.reset();
  }
  void textPass();
  void statusTexts();

  std::string s_;
  int caret_;
  const EntryKeyEvent& key_;
  EntryKey k_;
  const EntryOptions& o_;
  const EntryContext& ctx_;
  EntryState& st_;
  EntryParts& p_;
  EntryResult r_;
  std::vector<Word> words_;
  int reports_ = 0;
  long locatorWord_ = -1;
  bool volackyMode_ = false;
  int textWords_ = 0;
  bool addedBlank_ = false;  // the program appended a blank to the line
};

void KeyRelease::split() {
  size_t start = 0;
  for (size_t i = 0; i <= s_.size() && words_.size() < kMaxWords; ++i) {
    if (i == s_.size() || s_[i] == ' ') {
      words_.push_back({s_.substr(start, i - start), start, WordKind::None});
      start = i + 1;
    }
  }
}

void KeyRelease::classify(size_t i) {
  const KeyboardOptions& kb = o_.keyboard;
  Word& w = words_[i];

  // A three-letter name typed on the digit row (68k for Žák). A third
  // character ":" is an hour being typed and stays as it is.
  if (w.text.size() == 3 && isReportChar(w.text[0]) && isReportChar(w.text[1]) &&
      !isReportChar(w.text[2]) && w.text[2] != ':') {
    std::string t = w.text;
    t[0] = CisloNaVelke(t[0], kb);
    t[1] = CisloNaMale(t[1], kb);
    if (t != w.text) rewrite(i, t);
  }

  // Reports: the first one given, the second one received.
  if (w.text.size() == 2) {
    const std::string pv = prevod(w.text, kb);
    if (JeReport(pv) && pv[0] >= '1' && pv[0] <= '5' && reports_ < 2) {
      if (reports_ == 0) {
        p_.ReportVyslany = pv;
        w.kind = WordKind::Report1;
      } else {
        p_.ReportPrijaty = pv;
        w.kind = WordKind::Report2;
      }
      ++reports_;
      if (pv != w.text) rewrite(i, pv);
    }
  }

  // A longer word starting like a locator is a name typed on the digit row
  // (Maříková), never a locator; two joined locators go on to their own rule.
  if (w.text.size() > 6 && testlok(prevod(w.text.substr(0, 6), kb)) && !joinedLocators(w.text)) {
    std::string t = w.text;
    t[0] = VelkyZnak(t[0]);
    for (size_t j : {1u, 2u, 4u, 5u}) t[j] = PrevodNaMale(std::string(1, t[j]))[0];
    t[2] = CisloNaMale(t[2], kb);
    t[3] = CisloNaMale(t[3], kb);
    if (t != w.text) rewrite(i, t);
  }

  // The locator of the other station.
  if (w.text.size() == 6) {
    const std::string pv = prevod(w.text, kb);
    if (testlok(pv) && !exception(vyhodmezery(w.text))) {
      w.kind = WordKind::Locator;
      locatorWord_ = static_cast<long>(i);
      p_.LokatorProtistanice = pv;
      const int km = vypocet(ctx_.lokportable, pv);
      r_.label1 = std::to_string(km);
      if (r_.label1.size() < 5) r_.label1 += " km";
      r_.label1Bold40 = true;
      r_.azimut = pocitejazimut(ctx_.lokportable, pv);
      if (km > ctx_.NejdelsiKm) r_.restartBlik = true;
      if (o_.secondstation) {
        r_.label1 += "      [ " + std::to_string(vypocet(o_.loksecondary, pv));
        if (o_.threestation) r_.label1 += " / " + std::to_string(vypocet(o_.lokthree, pv));
        r_.label1 += " ]";
      }
      if (pv != st_.klice.mesta) {
        schedule(SearchKind::Mesta, pv);
        st_.klice.mesta = pv;
      }
      if (w.text != pv) rewrite(i, pv);
    }
  }

  // No locator yet, or a home locator typed before the portable mark.
  if (p_.LokatorProtistanice.empty()) {
    noLocatorDisplay();
  } else if (locatorWord_ >= 0) {
    const Word& lw = words_[static_cast<size_t>(locatorWord_)];
    if (markBehind(s_, lw.pos + lw.text.size())) {
      s_.erase(lw.pos, lw.text.size());
      shiftAfter(static_cast<size_t>(locatorWord_), -static_cast<long>(lw.text.size()));
      words_[static_cast<size_t>(locatorWord_)].text.clear();
      appendBlank();
      p_.LokatorProtistanice.clear();
      locatorWord_ = -1;
      noLocatorDisplay();
    }
  }

  // Two locators joined by one character: the second becomes a note word
  // with the distance between them.
  if (joinedLocators(w.text)) {
    const std::string a = prevod(w.text.substr(0, 6), kb);
    const std::string b = prevod(w.text.substr(7, 6), kb);
    rewrite(i, a + " ." + b + "=" + std::to_string(vypocet(a, b)));
    w.kind = WordKind::Joined;
    caretToEnd();
  }

  // hhmm
  if (w.text.size() == 4 && p_.CasSpojeni.empty()) {
    const std::string pv = prevod(w.text, kb);
    if (allReportChars(pv)) {
      const int hh = twoDigits(pv, 0), mm = twoDigits(pv, 2);
      if (hh >= 0 && mm >= 0 && hh <= 23 && mm <= 59) {
        p_.CasSpojeni = pv.substr(0, 2) + ":" + pv.substr(2, 2) + ":00 ";
        rewrite(i, p_.CasSpojeni);
        w.text = trimRight(w.text);
        w.kind = WordKind::Time;
        appendBlank();
      }
    }
  }

  // hh:mm, stored converted (never with digit-row letters).
  if (w.text.size() == 5) {
    const std::string pv = prevod(w.text, kb);
    if (pv[2] == ':' && isReportChar(pv[0]) && isReportChar(pv[1]) && isReportChar(pv[3]) &&
        isReportChar(pv[4]) && twoDigits(pv, 0) >= 0 && twoDigits(pv, 3) >= 0) {
      p_.CasSpojeni = pv + ":00";
      rewrite(i, p_.CasSpojeni);
      w.kind = WordKind::Time;
      caretToEnd();
    }
  }

  // hh:mm:ss
  if (w.text.size() == 8 && p_.CasSpojeni.empty()) {
    const std::string pv = prevod(w.text, kb);
    if (pv[2] == ':' && pv[5] == ':' && twoDigits(pv, 0) >= 0 && twoDigits(pv, 3) >= 0 &&
        twoDigits(pv, 6) >= 0) {
      p_.CasSpojeni = pv;
      w.kind = WordKind::Time;
      if (pv != w.text) rewrite(i, pv);
    }
  }

  if (w.kind == WordKind::Time) {
    const int hh = twoDigits(w.text, 0), mm = twoDigits(w.text, 3);
    const int ss = w.text.size() >= 8 ? twoDigits(w.text, 6) : 0;
    if (hh < 0 || mm < 0 || ss < 0 || hh > 23 || mm > 59 || ss > 59) {
      w.kind = WordKind::None;
      p_.CasSpojeni.clear();
    }
  }
}

void KeyRelease::textPass() {
  p_.VolackaText.clear();
  p_.Poznamka.clear();
  p_.KrestniJmeno.clear();
  for (Word& w : words_) {
    if (w.kind != WordKind::None) continue;
    ++textWords_;

    const std::string tidy = upravvolacku(w.text);
    if (tidy != w.text) {
      if (w.text.size() > 1) replaceWholeWords(s_, w.text, tidy);
      w.text = tidy;
    }

    if (startsWith(w.text, "-p")) {
      marksToSlash(s_, 'p');
      s_ += ' ';
      addedBlank_ = true;
      w.text = "/p";
    } else if (startsWith(w.text, "-m")) {
      marksToSlash(s_, 'm');
      s_ += ' ';
      addedBlank_ = true;
      w.text = "/m";
    }
    if (volackyMode_ &&
        (w.text.find("/p") != std::string::npos || w.text.find("/m") != std::string::npos)) {
      volackyMode_ = false;
      r_.switchToMestaSvatky = true;
      prepniRezimKlice(st_.klice, false);
    }

    // The map command.
    for (std::string_view mark : {std::string_view("//"), std::string_view("--"),
                                  std::string_view(";")}) {
      if (startsWith(w.text, mark)) {
        const size_t at = findAtWordStart(s_, mark);
        if (at != std::string::npos) s_.erase(at, mark.size());
        caretToEnd();
        w.text = " ";
        if (testlok(p_.LokatorProtistanice)) r_.openMap = p_.LokatorProtistanice;
        break;
      }
    }

    if (startsWith(w.text, ",")) {
      p_.Poznamka += upravvolacku(prevod(w.text, o_.keyboard)) + " ";
      w.text.clear();
    }

    if (!volackyMode_ && textWords_ == 1 && w.text.size() >= 2 && !JeReport(w.text)) {
      r_.panels.SeznamMest = true;
      r_.panels.Memo4 = true;
      r_.panels.Denik = false;
      r_.panels.wvolacky = false;
      p_.KrestniJmeno = w.text;
      if (ctx_.synonyma) {
        for (const auto& par : ctx_.synonyma->pary()) {
          if (PrevodJenNaVelke(p_.KrestniJmeno) == par.domacke) p_.KrestniJmeno = par.kanonicke;
        }
      }
      if (p_.KrestniJmeno != st_.klice.jmeno) {
        schedule(SearchKind::Jmena, p_.KrestniJmeno);
        st_.klice.jmeno = p_.KrestniJmeno;
      }
    }

    p_.VolackaText += w.text + " ";
  }

  const std::string& lok = p_.LokatorProtistanice;
  if (!volackyMode_ && (textWords_ >= 2 || testlok(lok))) {
    const size_t blank = p_.VolackaText.find(' ');
    const std::string rest = blank == std::string::npos ? "" : p_.VolackaText.substr(blank + 1);
    std::string mista = OcistiVolacku(rest);
    p_.TextMista = mista;
    if (mista.size() >= 2 || lok.size() == 6) {
      mista = trimRight(mista);
      const std::string key = mista + " " + lok;
      if (key != st_.klice.mista || lok.size() == 6) {
        r_.panels.wmestacentr = true;
        r_.panels.SeznamMest = true;
        r_.panels.wvolacky = false;
        r_.panels.Denik = false;
        p_.HledaneMisto = mista;
        schedule(SearchKind::Lokatora, mista);
        st_.klice.mista = key;
      }
    }
  }

  if (!p_.VolackaText.empty()) p_.VolackaText = upravvolacku(p_.VolackaText);

  if (volackyMode_ && (p_.VolackaText.size() >= 2 || !lok.empty())) {
    p_.HledanaVolacka = OcistiVolacku(p_.VolackaText);
    if (p_.HledanaVolacka != st_.klice.volacky || lok.size() == 6) {
      r_.panels.wmestacentr = false;
      r_.panels.Memo4 = false;
      r_.panels.wvolacky = true;
      r_.panels.SeznamMest = true;
      r_.panels.Denik = false;
      schedule(SearchKind::Volackaa, p_.HledanaVolacka);
      st_.klice.volacky = p_.HledanaVolacka;
    }
  }
}

void KeyRelease::statusTexts() {
  std::string t = " ";
  if (!p_.CasSpojeni.empty()) t += "Čas: " + p_.CasSpojeni + " | ";
  if (!p_.ReportVyslany.empty()) t += "RV: " + p_.ReportVyslany + " | ";
  if (!p_.ReportPrijaty.empty()) t += "RP: " + p_.ReportPrijaty + " | ";
  if (!p_.LokatorProtistanice.empty()) t += "LOK: " + p_.LokatorProtistanice + " | ";
  if (!p_.VolackaText.empty()) t += "  VOL: " + p_.VolackaText;
  if (!p_.TextMista.empty()) t += " [" + p_.TextMista + "] | ";
  if (!p_.Poznamka.empty()) t += "  POZ: " + p_.Poznamka;
  r_.panel2 = t;

  if (o_.doplnvolackuzakm) {
    std::string v = vyhodtecky(p_.VolackaText);
    if (!p_.LokatorProtistanice.empty() && o_.ZobrazLokatorProtistanice)
      v = p_.LokatorProtistanice + " - " + v;
    r_.volackalabel = v;
  }
}

EntryResult KeyRelease::run() {
  std::optional<int> keepCaret;
  if (k_ == EntryKey::Delete) keepCaret = caret_;
  r_.displayUpdated = true;
  p_.ReportVyslany.clear();
  p_.ReportPrijaty.clear();
  p_.LokatorProtistanice.clear();
  p_.CasSpojeni.clear();
  p_.VolackaText.clear();
  p_.Poznamka.clear();
  p_.TextMista.clear();
  volackyMode_ = o_.PouzivatVolacky;

  switch (k_) {
    case EntryKey::PageUp:
    case EntryKey::PageDown:
    case EntryKey::Home:
    case EntryKey::Left:
    case EntryKey::Up:
    case EntryKey::Right:
    case EntryKey::Down:
      r_.keySwallowed = true;
      k_ = EntryKey::Other;
      break;
    default:
      break;
  }

  // One Space beside the blank the program left: no double Space typed.
  bool besideOwnBlank = false;
  if (st_.vlozenaMezera && k_ == EntryKey::Space && key_.bezModifikatoru()) {
    std::string withSpace = st_.vlozenaMezera->radek;
    withSpace.insert(std::min(st_.vlozenaMezera->pozice, withSpace.size()), 1, ' ');
    besideOwnBlank = s_ == withSpace;
  }

  if (s_.size() >= 2 && s_[0] == ' ') {
    s_.erase(0, 1);
    caret_ = std::max(0, caret_ - 1);
  }

  bool doubleBlank = false;
  if (k_ == EntryKey::Space && key_.bezModifikatoru()) {
    if (s_.find("  ") != std::string::npos && !besideOwnBlank) doubleBlank = true;
    if (s_ == " ") {
      // A space in an empty line starts the contact with the report 59.
      r_.keySwallowed = true;
      k_ = EntryKey::Other;
      s_ = "59 ";
      caret_ = 3;
    }
  }

  const std::string moved = TeckyNaKonec(s_);
  if (moved != s_) {
    s_ = moved;
    caretToEnd();
  }

  split();
  for (size_t i = 0; i < words_.size(); ++i) classify(i);

  // Two blanks typed: the reports change places.
  if (doubleBlank && !p_.ReportVyslany.empty() && !p_.ReportPrijaty.empty()) {
    Word* first = nullptr;
    Word* second = nullptr;
    for (Word& w : words_) {
      if (w.kind == WordKind::Report1) first = &w;
      if (w.kind == WordKind::Report2) second = &w;
    }
    if (first && second) {
      std::swap(p_.ReportVyslany, p_.ReportPrijaty);
      std::swap(first->text, second->text);
      s_.replace(first->pos, 2, first->text);
      s_.replace(second->pos, 2, second->text);
    }
  }

  textPass();

  // Backspace behind an expanded time takes the whole time back.
  if (k_ == EntryKey::Backspace && s_.size() >= 2 && !words_.empty() &&
      words_.back().kind == WordKind::Time) {
    s_.erase(s_.size() - std::min<size_t>(8, s_.size()));
    p_.CasSpojeni.clear();
    caretToEnd();
  }

  // Ctrl+Space deletes every time from the line.
  if (k_ == EntryKey::Space && key_.ctrl) {
    r_.keySwallowed = true;
    if (s_.size() > 7) {
      for (const Word& w : words_) {
        if (w.kind != WordKind::Time) continue;
        const size_t at = s_.find(w.text);
        if (at != std::string::npos) s_.erase(at, 8);
      }
      s_ = vyhoddvojmezery(s_);
      p_.CasSpojeni.clear();
      caretToEnd();
    }
  }

  statusTexts();

  p_.KlicDuplicity = trimRight(PrevodJenNaVelke(vyhodtecky(p_.VolackaText)));
  if (p_.KlicDuplicity.size() > 2)
    schedule(SearchKind::Duplyo, p_.KlicDuplicity);
  else
    r_.panels.wduplicity = false;

  if (k_ == EntryKey::Enter) r_.ulozit = true;

  if (keepCaret && static_cast<int>(s_.size()) > *keepCaret) caret_ = *keepCaret;
  if (s_.find("  ") != std::string::npos) {
    s_ = vyhoddvojmezery(s_);
    caretToEnd();
  }

  // The program's blank is remembered while the line keeps it; a Space
  // taken up beside it ends that, so the next Space is the second of two.
  if (addedBlank_ && !s_.empty() && s_.back() == ' ')
    st_.vlozenaMezera = VlozenaMezera{s_, s_.size() - 1};
  else if (besideOwnBlank || !st_.vlozenaMezera || st_.vlozenaMezera->radek != s_)
    st_.vlozenaMezera.reset();

  for (auto& s : r_.searches) s.locator = p_.LokatorProtistanice;
  r_.text = s_;
  r_.caret = std::clamp(caret_, 0, static_cast<int>(s_.size()));
  r_.parts = p_;
  return r_;
}

}  // namespace

EntryResult vstupKeyUp(const std::string& line, int caret, const EntryKeyEvent& key,
                       const EntryOptions& options, const EntryContext& context,
                       EntryState& state) {
  return KeyRelease(line, caret, key, options, context, state).run();
}

EntryResult vstupKeyDown(const std::string& line, int caret, const EntryKeyEvent& key,
                         const EntryOptions& options, const EntryContext& context,
                         EntryState& state) {
  EntryResult r;
  r.text = line;
  r.caret = std::clamp(caret, 0, static_cast<int>(line.size()));
  r.parts = state.parts;
  bool volacky = options.PouzivatVolacky;

  if ((startsWith(line, " /p ") || startsWith(line, " /m ")) && volacky) {
    volacky = false;
    r.switchToMestaSvatky = true;
    prepniRezimKlice(state.klice, false);
  }

  const bool fKey =
      key.key == EntryKey::F2 || key.key == EntryKey::F3 || key.key == EntryKey::F4;
  if (fKey && key.bezModifikatoru()) {
    if (!volacky && context.seznamMistViditelny) {
      r.keySwallowed = true;
      r.focusList = ListFocus::Mista;
    } else if (volacky && context.seznamVolacekViditelny) {
      r.keySwallowed = true;
      r.focusList = ListFocus::Volacky;
    }
  }

  if (key.key == EntryKey::Escape) {
    r.clearPanel1 = true;
    r.refreshStatistics = true;
    if (!line.empty()) {
      state.PredchoziText = line;
      r.text.clear();
      r.caret = 0;
      r.panels.wduplicity = false;
      r.panels.wmestacentr = false;
      r.panels.Memo4 = false;
      r.panels.wvolacky = false;
      r.panels.SeznamMest = false;
      r.panels.Denik = true;
      state.klice.volacky = "q";
      r.focusGrid = true;
    } else {
      r.text = state.PredchoziText.empty() ? std::string(" ") : state.PredchoziText;
      r.caret = static_cast<int>(r.text.size());
    }
  }
  return r;
}

std::string TeckyNaKonec(const std::string& text) {
  if (text.size() < 5) return text;
  std::string t = trimLeft(text);
  if (!startsWith(t, ".")) return text;
  std::string tail;
  size_t mark = t.find("/p ");
  if (mark == std::string::npos) mark = t.find("/m ");
  if (mark != std::string::npos) {
    tail = t.substr(mark);
    t.erase(mark);
  }
  for (size_t i = 0; i + 1 < t.size(); ++i) {
    if (t[i] == ' ' && t[i + 1] != '.') {
      const std::string notes = t.substr(0, i + 1);
      return t.substr(i + 1) + " " + notes + " " + tail;
    }
  }
  return text;
}

void prepniRezimKlice(PosledniKlice& klice, bool volacky) {
  const std::string key = std::string(1, volacky ? '1' : '2') + std::string(16, '@');
  klice.mesta = key;
  klice.mista = key;
}

const std::string& klicPoUlozeni() {
  // Control characters never come out of the entry line.
  static const std::string junk(61, '\x01');
  return junk;
}

LabelFit RovnejLabel1(LabelFit l, int width, const TextWidth& measure) {
  auto fits = [&] { return measure(l.text, l.size, l.bold) + 20 <= width; };
  if (fits()) return l;
  replaceAll(l.text, " km", " ");
  if (fits()) return l;
  l.text = vyhoddvojmezery(l.text);
  if (fits()) return l;
  replaceAll(l.text, " / ", "/");
  if (fits()) return l;
  replaceAll(l.text, " ]", "]");
  replaceAll(l.text, "[ ", "[");
  if (fits()) return l;
  std::erase(l.text, ']');
  std::erase(l.text, '[');
  if (fits()) return l;
  l.bold = false;
  while (!fits() && l.size > 1) --l.size;
  return l;
}

bool RovnejVstup(const std::string& text, int width, const TextWidth& measure,
                 EntryState& state, int& size) {
  if (measure(text, size, false) > width) state.VelikostPismaVstupu = 30;
  size = state.VelikostPismaVstupu;
  while (measure(text, size, false) < width && size < 30) ++size;
  while (measure(text, size, false) > width && size > 10) --size;
  if (size < 10) size = 10;
  if (size == state.VelikostPismaVstupu) return false;
  state.VelikostPismaVstupu = size;
  return true;
}

std::string orizniNaSirku(std::string text, int width,
                          const std::function<int(const std::string&)>& measure) {
  while (!text.empty() && measure(text) > width) text.pop_back();
  return text;
}

}  // namespace vektrano
