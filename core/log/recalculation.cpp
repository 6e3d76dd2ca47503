#include "core/log/recalculation.h"

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

std::string bezAzimutu(std::string text) {
  bool removed = false;
  for (size_t at; (at = text.find(kAzimut)) != std::string::npos;) {
    const size_t end = text.find(' ', at + 1);
    text.erase(at, end == std::string::npos ? std::string::npos : end - at);
    removed = true;
  }
  return removed ? vyhoddvojmezery(text) : text;
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
  if (call.find(kAzimut) != std::string::npos) {
    call = bezAzimutu(call);
    if (ownValid && testlok(loc)) call += kAzimut + std::to_string(pocitejazimut(own, loc));
  }
  if (!call.empty()) call = upravvolacku(call);
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
