#pragma once
// What the viewer takes from one log file: the contact grid, the own locator,
// the description lines and the statistics. Read-only and tolerant: a line
// with too few fields gives empty cells, a cell that is not a number counts
// as an empty one, and nothing here ever writes the log.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/grid.h"

namespace vektrano::palomir {

// Caption texts.
inline constexpr const char* kVerze = "ver. 3.07 (2008/04/01)";
inline constexpr const char* kPalomirCaption = "Palomir ver. 3.07 (2008/04/01)";
inline constexpr const char* kAppTitle = "ZR4 view";

inline constexpr int kColumns = 8;
inline constexpr int kColKm = 6;
inline constexpr int kColLokator = 5;
inline constexpr int kColVolacka = 3;

// Titles the window shows over the grid, whatever the file's title row holds.
const std::vector<std::string>& gridTitles();

struct LogView {
  LogView();

  Grid grid{kColumns, 1};  // row 0 the title line's cells, rows 1..n contacts
  // Field 0 of the last line that had one (the label keeps its text without).
  std::optional<std::string> ownLocator;
  std::vector<std::string> description;  // the lines of the description list
  bool descriptionFound = false;
  int lines = 0;     // lines read
  int contacts = 0;  // lines - 1, never below 0
  long long kmSum = 0;
  int missingLocators = 0;
  int longest = 0;
};

// A whole number as the reader takes it: optional leading blanks, an optional
// sign, digits, within int. Nothing for anything else.
std::optional<int> wholeNumber(std::string_view text);

// The lines of a file's content: CR LF or LF alone end a line; a last line
// without an end counts, an end at the very end adds no empty line.
std::vector<std::string_view> splitLines(std::string_view content);

// Reads the content of a log (no old description file).
LogView parseLog(std::string_view content);

// " n spoj. [Prům:avg km] [Lok.chybí:m x] [Nej:max km]"; the average is 0
// without contacts.
std::string statusLine(const LogView& view);

// The description lines of an old description file: its lines 1..12 with
// their labels.
std::vector<std::string> expDescription(std::string_view content);

// The log path with its extension replaced by ".exp" (added when it has none).
std::string expPath(const std::string& logPath);

// True when the extension, upper-cased, is ".QVL".
bool hasLogExtension(const std::string& path);

// The file name without its folder ("/" or "\" separated).
std::string fileNameOnly(const std::string& path);

// Reads the log at path together with its old description file. Nothing when
// the log cannot be read; error (when given) then holds the system's
// message why. An old description file that exists but cannot be read is
// reported ("Soubor ... nebyl nalezen !") and leaves the description list
// empty.
std::optional<LogView> nactidata(const std::string& path, std::string* error = nullptr);

// The message for a log that could not be read: its path and the system's
// reason.
std::string unreadableLogMessage(const std::string& path, const std::string& reason);

}  // namespace vektrano::palomir
