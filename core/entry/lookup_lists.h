#pragma once
// The look-up lists beside the entry line: the call-sign list `wvolacky` and
// the place list `wmestacentr`. Each list is a heading (line 0), the lines
// found, and a footer; lines beginning with "*" separate groups. The
// operator steps through them with F2 to F4 and takes a line into the entry
// line with the space bar; these are the rules for both, without widgets.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/entry/entry_line.h"

namespace vektrano {

// F2, F3 or F4 in a list: the line to select after current in a list of
// count lines. From the last line that can be chosen (or the footer) it goes
// round to line 1, never to the heading; a separator line is passed over.
// -1 when the list holds no line between its heading and its footer.
int DalsiRadekSeznamu(int current, const std::vector<std::string>& lines);
// The same over a list of count lines read through lineAt.
int DalsiRadekSeznamu(int current, int count,
                      const std::function<std::string_view(int)>& lineAt);

// A choice of the heading moves to line 1, one of the footer to the line
// before it; any other choice stays. -1 (nothing chosen) stays -1.
int OmezVyberSeznamu(int index, int count);

// The text the space bar puts into the entry line from the call-sign list:
// the parts already typed (report sent, report received, time, note), then
// the chosen line's call sign and name (from its 8th character up to before
// "(", or without one up to the date or distance the search appended)
// followed by the line's locator (its first 6 characters) as a word of its
// own, one blank at the end. Runs of blanks are reduced, so the entry line never
// reads a double space into it.
std::string TextZVolacky(const EntryParts& typed, const std::string& line);

// The same from the place list: time, note and both reports, the typed call
// sign (up to and including "/p" or "/m", else up to its first blank) with
// its note words, then the chosen line's place text and its locator.
std::string TextZMista(const EntryParts& typed, const std::string& line);

// The typed call-sign part TextZMista takes from VolackaText.
std::string VolackaProMisto(const std::string& volackaText);

}  // namespace vektrano
