#pragma once
// Where the program's files live. Paths are cp1250, "/" separated, without a
// trailing separator.
#include <string>

namespace vektrano::platform {

// The program folder: VEKTRANO_HOME when set; else the folder of the running
// executable when that is a build folder (writable, and no shipped data
// installed under its ../share/vektrano); otherwise $XDG_DATA_HOME/vektrano
// (created). An installed program never takes its bin/ folder, not even when
// root runs it.
std::string programFolder();
// The shared-files folder an installation puts beside the executable's
// folder (<prefix>/share for <prefix>/bin), whether or not it exists.
std::string installedShareFolder(const std::string& executableFolder);
// True when the shipped data are installed for this executable
// (installedShareFolder + "/vektrano" exists).
bool runsInstalled();
// Where the shipped data files lie: share/vektrano when installed, else
// the executable's own folder (a build puts them there).
std::string shippedDataFolder();
// The running executable's own folder (for starting sibling programs).
std::string executableFolder();
// The running executable itself (its name gives the data file names).
std::string executablePath();
// A data file beside the program: folder + "/vektrano" + extension (".rep").
std::string dataFile(const std::string& programFolder, const std::string& extension);
// Overrides programFolder() or shippedDataFolder() for the rest of the
// process (tests); an empty folder removes the override.
void setProgramFolder(const std::string& folder);
void setShippedDataFolder(const std::string& folder);

}  // namespace vektrano::platform
