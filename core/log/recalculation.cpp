#include "core/log/recalculation.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "core/base/geometry.h"
#include "core/log/log_statistics.h"

namespace vektrano {

namespace {

const std::string kAzimut = " .azimut_";

// A comma before every word of the note: "abc def" -> ",abc ,def".
std::string carkyPoznamky(std::string note) {
  if (note == " ") return {};
  if (note.empty()) return note;
  if (note[0] != ',') note.insert(0, 1, ',');
  for (int i = static_cast<int>(note.size()) - 2; i >= 0; --i)
    if (note[static_cast<size_t>(i)] == ' ' && note[static_cast<size_t>(i) + 1] != ',')
      note.insert(static_cast<size_t>(i) + 1, 1, ',');
  for (size_t at; (at = note.find(", ,")) != std::string::npos;) note.replace(at, 3, ",");
  return note;
}

// The rule above until it changes nothing more, so that a second
// recalculation leaves the note as the first one did.
std::string normalizujPoznamku(const std::string& note) {
  std::string cur = note;
  for (int guard = 0; guard < 64; ++guard) {
    std::string next = carkyPoznamky(cur);
    if (next == cur) break;
    cur = std::move(next);
  }
  return cur;
}

// An azimuth note of a call-sign cell: the word from `word` to `end`, and
// `from` where its removal starts (the blank before it, or the word itself
// at the start of the text).
struct Poznamka {
  size_t from, word, end;
};

// The azimuth notes as the tidying that follows will read the words: in any
// letter case and with their "*" gone (so ".AZIMUT_5" or ".azim*ut_5" of a
// file is a note), also at the start of the text behind what the tidying
// trims, where it leaves the note of a contact without a call sign. A second
// recalculation must find what the first one made.
std::vector<Poznamka> poznamkyAzimutu(const std::string& text) {
  const std::string_view note = std::string_view(kAzimut).substr(1);
  // Blanks and control bytes in front of the text go with the tidying's trim.
  size_t lead = 0;
  while (lead < text.size() && static_cast<unsigned char>(text[lead]) <= ' ') ++lead;
  std::vector<Poznamka> out;
  for (size_t word = 0; word < text.size();) {
    const size_t end = std::min(text.find(' ', word), text.size());
    const bool first = word <= lead;
    const size_t start = first ? std::max(word, lead) : word;
    std::string head;
    for (size_t i = start; i < end && head.size() < note.size(); ++i)
      if (text[i] != '*') head += text[i];
    if (end > start && PrevodNaMale(head) == note) out.push_back({first ? 0 : word - 1, start, end});
    word = end + 1;
  }
  return out;
}

std::string bezAzimutu(std::string text) {
  const std::vector<Poznamka> notes = poznamkyAzimutu(text);
  for (auto it = notes.rbegin(); it != notes.rend(); ++it) text.erase(it->from, it->end - it->from);
  return notes.empty() ? text : vyhoddvojmezery(text);
}

bool set(std::string& cell, std::string value) {
  if (cell == value) return false;
  cell = std::move(value);
  return true;
}

}  // namespace

namespace {

PrepocetVysledek prepocetRadku(Grid::Row& row, const std::string& own, bool ownValid,
                               const KeyboardOptions& keyboard) {
  PrepocetVysledek v;
  if (row.size() < static_cast<size_t>(kLogColumns)) row.resize(kLogColumns);

  std::string loc = row[kColLokator];
  if (loc.size() > 6) {
    loc = vyhodmezery(loc);
    if (loc.size() > 6) loc.resize(6);
  }
  v.zmeneno |= set(row[kColPozn], normalizujPoznamku(row[kColPozn]));
  loc = prevod(loc, keyboard);
  v.zmeneno |= set(row[kColLokator], loc);

  // A six-character text that is no locator has no distance.
  const int km = (loc.size() == 6 && !testlok(loc)) ? -1 : vypocet(own, loc);
  if (set(row[kColKm], std::to_string(km))) v.zmeneno = v.zmenenoKm = true;

  std::string call = row[kColVolacka];
  if (const std::vector<Poznamka> notes = poznamkyAzimutu(call); !notes.empty()) {
    const std::string wanted =
        ownValid && testlok(loc) ? kAzimut + std::to_string(pocitejazimut(own, loc)) : std::string();
    // The one right note stays where it stands: the tidying may have put a
    // bracket behind it, and moving it would change the row at every save.
    const bool right = notes.size() == 1 && !wanted.empty() &&
                       call.compare(notes[0].word, notes[0].end - notes[0].word, wanted, 1) == 0;
    if (!right) call = bezAzimutu(call) + wanted;
  }
  if (!call.empty()) {
    // A text that the tidying would change again (two bracketed parts, a
    // control byte before the first letter) would change at every save;
    // it keeps the form it has.
    std::string tidied = upravvolacku(call);
    if (upravvolacku(tidied) == tidied) call = std::move(tidied);
  }
  v.zmeneno |= set(row[kColVolacka], std::move(call));
  return v;
}

}  // namespace

PrepocetVysledek PrepocetRadku(Grid::Row& row, const std::string& own,
                               const KeyboardOptions& keyboard) {
  return prepocetRadku(row, own, testlok(own), keyboard);
}

PrepocetVysledek PrepocetDeniku(Grid& denik, const std::string& own, const KeyboardOptions& keyboard) {
  PrepocetVysledek v;
  // Bearings from an own locator that is no locator would be made up: its
  // rows lose their azimuth notes instead.
  const bool ownValid = testlok(own);
  auto& rows = denik.rows();
  for (size_t r = 1; r < rows.size(); ++r) {
    const PrepocetVysledek row = prepocetRadku(rows[r], own, ownValid, keyboard);
    v.zmeneno |= row.zmeneno;
    v.zmenenoKm |= row.zmenenoKm;
  }
  if (v.zmeneno) denik.notifyReset();
  return v;
}

bool prepoctenoPlati(const LogDocument& log) {
  const PrepoctenyStav& s = log.prepocteno;
  return s.revision != 0 && s.revision == log.Denik.revision() && s.own == log.lokportable &&
         s.klavesnice == log.klavesnice;
}

bool PrepocetDeniku(LogDocument& log) { return PrepocetDenikuVysledek(log).zmeneno; }

PrepocetVysledek PrepocetDenikuVysledek(LogDocument& log) {
  const bool platilo = prepoctenoPlati(log);
  const PrepocetVysledek v = PrepocetDeniku(log.Denik, log.lokportable, log.klavesnice);
  const StatistikaKm stat = statistikaKm(log.Denik);
  zobrazStatistiku(log, stat);
  if (v.zmenenoKm) log.panel2 = "Přepočet vzdáleností proveden ...";

  PrepoctenyStav& s = log.prepocteno;
  s.revision = log.Denik.revision();
  s.own = log.lokportable;
  s.klavesnice = log.klavesnice;
  s.celkemKm = stat.celkem;
  s.pocetSKm = stat.pocet;
  s.nejdelsiKm = stat.nejdelsi;
  s.maxText = stat.maxText;
  // The formatted lines stay only when no row moved or changed meanwhile.
  if (!platilo || v.zmeneno) {
    s.radkyPlatne = false;
    s.radky.clear();
  }
  return v;
}

std::string SpocitejCisloSpojeni(LogDocument& log) {
  log.cisspoj = std::to_string(log.Denik.rowCount());
  return log.cisspoj;
}

}  // namespace vektrano
