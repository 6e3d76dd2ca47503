#pragma once
// Registers the viewer as the program that opens log files (*.qvl), per user
// and the freedesktop way: a shared-mime-info package for the file type, a
// desktop entry that runs the viewer with the file, the viewer's icon for
// both (in the hicolor theme), the default application through `xdg-mime
// default`, then the MIME, desktop and icon databases refreshed where their
// tools are installed. Registering twice changes nothing.
#include <filesystem>
#include <string>

namespace vektrano::palomir {

inline constexpr const char* kLogMimeType = "application/x-palomir";
inline constexpr const char* kDesktopFileName = "palomir.desktop";
inline constexpr const char* kMimePackageName = "palomir.xml";
inline constexpr const char* kIconName = "palomir";

// The viewer's icon (SVG): the program's window and its log files show it.
const std::string& palomirIconSvg();

// $XDG_DATA_HOME, or ~/.local/share.
std::filesystem::path userDataHome();

// The shared-mime-info package (UTF-8 XML).
std::string mimePackageXml();

// The desktop entry (UTF-8) that opens a file with program. Nothing usable
// when the path holds a line break: empty then.
std::string desktopEntry(const std::filesystem::path& program);

// One Exec argument quoted as the desktop-entry rules want it.
std::string desktopExecArgument(const std::string& utf8);

// The desktop entry an installation put in place for program
// (<prefix>/share/applications/palomir.desktop for <prefix>/bin/palomir);
// empty when there is none.
std::filesystem::path installedDesktopEntry(const std::filesystem::path& program);

// Writes the two files under dataHome (mime/packages, applications) when
// their content differs, makes the desktop entry the default for the log
// type and refreshes the databases. An installed program's own entry
// serves instead of a user entry, which would hide it from the menus under
// the same name. False when a file could not be written.
bool Registrace_Pripony(const std::filesystem::path& program,
                        const std::filesystem::path& dataHome = userDataHome());

}  // namespace vektrano::palomir
