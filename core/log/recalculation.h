#pragma once
// Recalculation of the log: every contact row brought into its canonical
// form and its distance and azimuth note recomputed from the own locator.
// Runs before every write, export and map.
#include <string>

#include "core/base/grid.h"
#include "core/base/text.h"
#include "core/log/log.h"

namespace vektrano {

struct PrepocetVysledek {
  bool zmenenoKm = false;  // some km cell changed (the status message)
  bool zmeneno = false;    // some cell changed at all
};

// Pure over the contact rows of denik (row 0 untouched). A second run right
// after the first changes nothing.
PrepocetVysledek PrepocetDeniku(Grid& denik, const std::string& ownLocator,
                                const KeyboardOptions& keyboard);

// One contact row, as the whole recalculation brings each row.
PrepocetVysledek PrepocetRadku(Grid::Row& row, const std::string& ownLocator,
                               const KeyboardOptions& keyboard);

// On the open log: recalculation, then the statistics (prumer); with a km
// change panel2 says "Přepočet vzdáleností proveden ...". True when any
// cell changed. Records what it left in log.prepocteno.
bool PrepocetDeniku(LogDocument& log);
PrepocetVysledek PrepocetDenikuVysledek(LogDocument& log);

// True while log.prepocteno still describes the log: no row changed since
// the last whole recalculation and the own locator and keyboard are the same.
bool prepoctenoPlati(const LogDocument& log);

// The number of the next contact (the grid's row count) into `cisspoj`;
// also returned.
std::string SpocitejCisloSpojeni(LogDocument& log);

}  // namespace vektrano
