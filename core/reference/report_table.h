#pragma once
// The distance-to-report table (file extension rep): 17 rows of a km limit
// and the report usually given at that distance. The Enter path completes a
// missing report from it (GenerujReport).
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vektrano {

// One row as the file and the table window hold it: two text cells.
struct RadekReportu {
  std::string km;      // limit in whole km
  std::string report;  // report text as it is to appear in the log
  bool operator==(const RadekReportu&) const = default;
};

constexpr int kRadkuReportu = 17;
using TabulkaReportu = std::array<RadekReportu, kRadkuReportu>;

// The table written when the file is missing (0;59; ... 450;01;).
const TabulkaReportu& vychoziTabulkaReportu();

// The file's bytes: one line "km;report;" per row, CR LF.
std::string formatTabulkaReportu(const TabulkaReportu& tabulka);

// The first 17 lines of a file (CR LF or LF alone): the text before the
// first ";" is the km cell, the rest without its next ";" the report. A
// shorter file leaves the remaining rows empty.
TabulkaReportu parseTabulkaReportu(std::string_view data);

// Reads the file; when it cannot be read shows "Chyba I/O při čtení souboru
// : " + path and gives nothing.
std::optional<TabulkaReportu> nactiTabulkuReportu(const std::string& path);

// The km cell as a whole number (blanks around it allowed, a sign too), or
// nothing for an empty or non-numeric cell.
std::optional<int> limitKm(const RadekReportu& radek);

// The report of the last row whose limit is strictly below km; "--" when no
// row qualifies. Rows without a numeric limit never qualify.
std::string GenerujReport(const TabulkaReportu& tabulka, int km);

}  // namespace vektrano
