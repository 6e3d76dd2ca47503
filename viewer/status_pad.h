#pragma once
// The status pad: the status text, perhaps edited, saved in the program folder
// so that a text editor can open it.
#include <string>

namespace vektrano::palomir {

// The program path with its extension replaced by ".txt" (added without one).
std::string statusPadPath(const std::string& programPath);

// Writes text as one line (CR LF) to path, replacing the file. Reports
// "Chyba I/O při ukládání souboru : " + path and returns false on failure.
bool writeStatusPad(const std::string& path, const std::string& text);

}  // namespace vektrano::palomir
