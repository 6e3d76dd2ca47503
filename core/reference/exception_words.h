#pragma once
// The list of words never taken for a locator (the .dup file beside the
// program): one word a line, without blanks and tidied like a name, and only
// words that the digit-row conversion would turn into a valid locator. The
// entry line loads the file at start; its editor window saves it here.
#include <string>
#include <string_view>
#include <vector>

#include "core/base/text.h"
#include "core/reference/list_data.h"

namespace vektrano {

// The form a word is kept in: no blanks, tidied by upravvolacku.
std::string upravSlovo(std::string_view cell);

// True when the entry line could take the word for a locator.
bool slovoJakoLokator(std::string_view word, const KeyboardOptions& keyboard);

// The information shown for a word that is not kept.
std::string zpravaNeulozeneSlovo(const std::string& word);

// Sorts the one-column table, tidies every cell and writes the words that
// could pass for a locator, one a line (no backup). The words left out are
// each reported with an information message once the file is written. A
// file that cannot be written is reported with "Chyba I/O při ukládání
// souboru : " + path and the rows stay as they were. Returns the words
// written, or nothing on a write error.
struct UlozenaSlova {
  bool zapsano = false;
  std::vector<std::string> slova;
};
UlozenaSlova SaveSlovaData(ListTable& table, const std::string& path,
                           const KeyboardOptions& keyboard);

// The delete of the word window: the last row's word moves into the row
// (unless it is the last), the list is one row shorter and sorted. The only
// row of a list is emptied. Returns the row to select afterwards.
int smazSlovo(ListTable& table, int row);

}  // namespace vektrano
