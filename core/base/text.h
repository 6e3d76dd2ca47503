#pragma once
// Text normalisation shared by the entry line, the lists and the indexes.
// Every text is cp1250; case folding uses the program's own tables, never the
// locale. All functions are pure and return a new text.
#include <string>
#include <string_view>
#include <vector>

namespace vektrano {

// The two keyboard choices of the settings menu: which digit-row letters of
// the Czech or Slovak layout are read back as digits.
struct KeyboardOptions {
  bool klavesnicecz = false;
  bool klavesnicesk = false;
  bool operator==(const KeyboardOptions&) const = default;
};

bool isChar(char c);  // 'A'..'Z' only
bool isNum(char c);   // '0'..'9' only

std::string VyhodHvezdicky(std::string_view text);   // without any "*"
std::string vyhodmezery(std::string_view text);      // without any blank
std::string vyhoddvojmezery(std::string_view text);  // runs of blanks -> one

// Only digits and "-", and not "--"; the empty word counts as a report.
bool JeReport(std::string_view word);

// Digit-row letters to digits, 'a'..'z' upper-cased; length unchanged.
std::string prevod(std::string_view text, const KeyboardOptions& keyboard);

// Search and index folding: upper case without diacritics, W as V, Y as I.
std::string PrevodJenNaVelke(std::string_view text);

// A digit to its digit-row letter (upper / lower case); only the Czech option
// is consulted. Any other character is returned unchanged.
char CisloNaVelke(char c, const KeyboardOptions& keyboard);
char CisloNaMale(char c, const KeyboardOptions& keyboard);

char VelkyZnak(char c);                          // upper case of one character
std::string PrevodNaMale(std::string_view text);  // lower case of a text

// Exact (case-sensitive) membership in the list of words never taken for a
// locator.
bool JeVyjimkaLokatoru(std::string_view word, const std::vector<std::string>& exceptions);

// Tidies a name text: words capitalised, a bracketed part upper-cased.
std::string upravvolacku(std::string_view text);

// Note words are words starting with "." after a blank.
std::string ponechtecky(std::string_view text);  // note words before any "/p"
std::string vyhodtecky(std::string_view text);   // text without note words
std::string OcistiVolacku(std::string_view text);  // call sign after "/p" or "/m", no notes
std::string navaltecky(std::string_view text);   // only the note words

// The time of a date-and-time cell: bracketed date and blanks removed.
std::string vyhoddatum(std::string_view cell);

// Bytes as a URL carries them: a byte kept stands as it is, any other as
// "%" and two upper-case hex digits.
std::string percentEncoded(std::string_view bytes, bool (*kept)(unsigned char));

}  // namespace vektrano
