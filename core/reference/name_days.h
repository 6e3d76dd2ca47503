#pragma once
// The name-day list (.jmn: day key DDMM ";" names) and the familiar-name list
// (.syn: calendar name ";" familiar name) as their editors read, check and
// write them. Plain C++; windows/name_days_window.h and windows/familiar_names_window.h show them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/grid.h"
#include "core/base/synonyms.h"

namespace vektrano {

// The two files beside the program.
std::string nameDaysPath(const std::string& programFolder);
std::string familiarNamesPath(const std::string& programFolder);

// A line of either list into a row of two cells: while the rest holds a ";",
// cell 0 takes the text before the first ";" and cell 1 what follows it. So
// "A;B" gives A and B, "A;B;C" gives B and C, and a line without ";" an
// empty row.
void splitNameLine(std::string_view line, Grid::Row& row);

// The record written for a name-day row: the key as it stands and the names
// tidied by upravvolacku. Every row is written, an empty key as well.
std::optional<std::vector<std::string>> nameDayRecord(const Grid::Row& row);

// A familiar-name row with neither a calendar nor a familiar name is the
// empty row an empty grid shows: it is not checked, written or counted.
bool isBlankNameRow(const Grid::Row& row);
// The record of a familiar-name row: the calendar name as it stands and the
// familiar name tidied by upravvolacku; nothing for a blank row.
std::optional<std::vector<std::string>> familiarNameRecord(const Grid::Row& row);

// The names field of every line of a name-day file (what follows the line's
// last ";", the whole line without one), tidied by upravvolacku. A field
// holding several names stays one text.
std::vector<std::string> calendarNames(std::string_view nameDayFile);

// True when the calendar holds no name at all: a check against it cannot
// judge the calendar names.
bool noNameDays(const std::vector<std::string>& calendar);

// What the check of the familiar names finds, in the order it reports it:
// row by row the calendar name missing from the name-day list, then the
// familiar name standing in it; afterwards every pair of rows (row before
// other) with the same familiar name. With no name days only the repeats
// are looked for.
struct NameCheckError {
  enum class Kind { NotInCalendar, FamiliarInCalendar, Repeated };
  Kind kind;
  int row;
  int other = -1;  // the later row of a repeat
};
std::vector<NameCheckError> checkFamiliarNames(const std::vector<Grid::Row>& rows,
                                               const std::vector<std::string>& calendar);

// The synonym table of the rows (blank rows left out), the familiar names
// folded by the table. Nothing when the rows hold more pairs than the table
// has room for.
std::optional<TabulkaSynonym> synonymTableOf(const std::vector<Grid::Row>& rows);

// Today's name days (`DnesSvatek`): "Dnes má svátek :" CR LF CR LF, then
// every line of the name-day file holding the key "ddmm;" of the given day,
// as day "." month "-" names, one a line. nameDayFile is the file's content,
// or nothing when it could not be read: then the heading is followed by
// path + " nenalezen.".
std::string textDnesSvatek(const std::optional<std::string>& nameDayFile, const std::string& path,
                           int day, int month);

}  // namespace vektrano
