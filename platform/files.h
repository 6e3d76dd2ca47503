#pragma once
// File access for every reader and writer of the programs' data. Paths are
// cp1250 like all inner text; they are turned into UTF-8 file-system names
// here, and a "\" written by the Windows programs is read as a separator.
#include <filesystem>
#include <optional>
#include <string>

namespace vektrano::platform {

// The file-system path of a cp1250 path ("\" becomes "/").
std::filesystem::path fsPath(const std::string& cp1250Path);
// The cp1250 text of a file-system path (characters cp1250 lacks become "?").
std::string fromFsPath(const std::filesystem::path& p);

bool fileExists(const std::string& path);
bool dirExists(const std::string& path);

// The whole file, byte for byte, or nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);
// The same; on failure error gets the system's message saying why (cp1250).
std::optional<std::string> readWholeFile(const std::string& path, std::string& error);

// Writes data so that path holds either its previous content or the new one,
// whatever happens: the data goes to a temporary file in the same folder,
// which is flushed to disk and only then renamed over path. With a
// backupPath, the previous content of path (when there was one) becomes that
// file first; path itself never goes missing. False when anything failed; the
// previous file is then untouched and the temporary file removed.
bool writeFileAtomic(const std::string& path, const std::string& data,
                     const std::string& backupPath = {});

// Renames from to to without ever replacing an existing to. False when to
// exists or the rename failed.
bool renameNoReplace(const std::string& from, const std::string& to);

// Joins a folder and a name with one "/".
std::string joinPath(const std::string& folder, const std::string& name);

// The existing file or folder that relative ("/" or "\" separated names)
// names under folder, each name matched exactly or else without regard to
// ASCII letter case, as the Windows file system finds "L.JPG" for "L.jpg".
// Nothing when a part is missing, or when relative holds an empty name, "."
// or "..". The folder itself is taken as it stands.
std::optional<std::string> findIgnoringCase(const std::string& folder, const std::string& relative);

}  // namespace vektrano::platform
