#pragma once
// The log as one HTML page: the contact table, the totals and a table per
// big locator square. The HTML and the spreadsheet command write the very
// same text (the spreadsheet program reads the HTML table); only the name
// and extension of the file differ.
#include <optional>
#include <string>
#include <string_view>

#include "core/log/log.h"

namespace vektrano {

enum class DruhExportu { Html, Xls };

// A text as it may stand in an HTML page or attribute: & < > " escaped.
std::string escapeHtml(std::string_view text);

// What the save dialog of each command offers. It starts in the data folder
// (`UlozisteDat`).
struct DialogExportu {
  std::string pripona;  // default extension without the dot: "htm", "xls"
  std::string filtr;    // filter as "description|mask"
  std::string popis;    // description part of the filter
  std::string maska;    // mask part of the filter: "*.htm", "*.xls"
};
DialogExportu dialogExportu(DruhExportu druh);

// The chosen name with "." + pripona appended when its file name has no
// extension of its own (what the dialog's default extension does).
std::string doplnPriponu(const std::string& path, const std::string& pripona);

// The whole page, cp1250, CR LF after every line. Cell texts are escaped,
// so "<" or "&" in a note stays text. A km cell that is not a whole number,
// and the -1 of a contact without a distance, count as 0 km.
std::string textExportu(const LogDocument& log);

// Writes the page to path (an existing file is replaced atomically) and
// shows path in status panel 2 (`panel2`). When the file cannot be written
// the message "Chyba - Soubor " + path is shown and false returned.
bool GenerujHtml(LogDocument& log, const std::string& path);

// The two menu commands after their dialog: the chosen name completed by the
// default extension, the recalculation of the log (so every km cell holds
// the distance from the own locator), then the page. The written path, to be
// opened with the desktop's program for it; nothing when writing failed (the
// message has been shown).
std::optional<std::string> ExportHTML(LogDocument& log, const std::string& chosenPath);
std::optional<std::string> ExportXLS(LogDocument& log, const std::string& chosenPath);

}  // namespace vektrano
