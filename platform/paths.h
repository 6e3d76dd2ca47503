#pragma once
// Where the program's files live. Paths are cp1250, "/" separated, without a
// trailing separator.
#include <string>

namespace vektrano::platform {

// The program folder: VEKTRANO_HOME when set, else the folder of the running
// executable; when that is not writable, $XDG_DATA_HOME/vektrano (created).
std::string programFolder();
// The running executable's own folder (for starting sibling programs).
std::string executableFolder();
// The running executable itself (its name gives the data file names).
std::string executablePath();
// A data file beside the program: folder + "/vektrano" + extension (".rep").
std::string dataFile(const std::string& programFolder, const std::string& extension);
// Overrides programFolder() for the rest of the process (tests); an empty
// folder removes the override.
void setProgramFolder(const std::string& folder);

}  // namespace vektrano::platform
