#pragma once
// File access for every reader and writer of the programs' data. A path is
// the file system's bytes (UTF-8 names) and travels as such, so a name that
// code page 1250 cannot write opens all the same; only where a path is shown
// or kept in a cp1250 file does it become text (pathText, storedPath), and a
// path kept so or built from cp1250 text comes back through pathFromText. A
// "\" written by the Windows programs is read as a separator.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vektrano::platform {

// The file-system path of a path ("\" becomes "/").
std::filesystem::path fsPath(const std::string& path);
// A file-system path as the programs keep it: its bytes.
std::string fromFsPath(const std::filesystem::path& p);

// A path as cp1250 text, to be shown: a character the code page lacks (or a
// byte that is no UTF-8) becomes "?".
std::string pathText(std::string_view path);
// A path as cp1250 text to be kept in a cp1250 file (settings, archive
// catalogue), or nothing when the code page cannot write it whole: kept, it
// would name another file when read back.
std::optional<std::string> storedPath(std::string_view path);
// A path kept in a cp1250 file, or a name built from cp1250 text, as the
// file system's bytes.
std::string pathFromText(std::string_view cp1250);

bool fileExists(const std::string& path);
bool dirExists(const std::string& path);

// The whole file, byte for byte, or nothing when it cannot be opened or read,
// is no plain file (a folder, a device, a pipe), or shrank while it was read
// (another program rewrote it meanwhile).
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

// The longest file name fileNameFromText gives, in bytes on disk (UTF-8).
inline constexpr std::size_t kMaxFileNameBytes = 200;

// One file-name component from a text that a user or a file supplied (a
// log's name fields, a locator, a name from an archive or an update list),
// for every path built from such a text: control bytes (0x00-0x1F, 0x7F)
// are dropped, "/" and "\" become "_", a name of dots only ("." and ".."
// among them) has each dot as "_", an empty name becomes "_", and the name is
// cut at a character to at most kMaxFileNameBytes bytes on disk. So it always
// names an entry inside its folder. The text itself is left as it was
// wherever it is only shown or stored again.
std::string fileNameFromText(std::string_view text);

// Test seam of the file layer. Before each step of writeFileAtomic and of
// readWholeFile the hook is told the step and the path the caller named; a
// non-zero errno it returns makes that step fail as the system would
// (ENOSPC a full disk, EROFS or EACCES a read-only folder, ENOENT a file
// removed meanwhile). The hook may also change the files itself, e.g.
// truncate the file that is about to be read. Nothing fails without a hook.
enum class FileStep {
  Create,  // the temporary file beside the target
  Write,   // its content
  Sync,    // flushing it to disk
  Backup,  // the previous content kept under the backup name
  Rename,  // the temporary file over the target
  Open,    // opening a file to read
  Read,    // reading it
};
using FileFaultHook = std::function<int(FileStep step, const std::string& path)>;
// Installs hook (empty: none); returns the previous one.
FileFaultHook setFileFaultHook(FileFaultHook hook);

}  // namespace vektrano::platform
