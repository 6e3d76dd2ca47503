#pragma once
// Taking the last contact back into the entry line (Ctrl+F8): the operator
// stored a contact too early and wants to finish typing it. Only the grid
// changes; the log file and the crash backup keep the contact until the next
// contact is stored, so nothing is lost if the program ends meanwhile.
#include <optional>
#include <string>

#include "core/log/log.h"

namespace vektrano {

// The grid row of the contact stored last: the highest contact number (the
// grid may be sorted otherwise); -1 without contacts.
int RadekPoslednihoSpojeni(const LogDocument& log);

// The text of the contact stored last for the entry line: its time (without
// the bracketed date), report sent, call sign, report received, locator and
// note, joined by single blanks (an empty cell adds nothing).
std::string TextPoslednihoSpojeni(const LogDocument& log);

// Removes the contact stored last and returns its text; the contact count and
// the number of the next contact follow. With no contact the message "Už
// není co mazat, deník je prázdný!" is shown and nothing is returned.
std::optional<std::string> VratPosledniSpojeni(LogDocument& log);

}  // namespace vektrano
