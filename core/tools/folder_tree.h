#pragma once
// The folder tree the folder picker browses, read one level at a time so
// that opening the picker never walks a whole disk. Paths are the file
// system's bytes with "/" separators, like every path inside the program.
#include <optional>
#include <string>
#include <vector>

namespace vektrano {

struct FolderEntry {
  std::string name;  // the file system's bytes
  std::string path;  // folder + "/" + name
};

// The top of the tree: the file-system root.
std::string folderTreeRoot();

// The folders directly in folder (symbolic links to folders included;
// hidden "." names left out), sorted by name ignoring case. Nothing when the
// folder cannot be read.
std::optional<std::vector<FolderEntry>> listSubfolders(const std::string& folder);

// The folders from the root down to folder itself ("/", "/a", "/a/b"), the
// path tidied ("\" read as a separator, "." and ".." resolved, no trailing
// separator). Empty when folder is not an existing folder.
std::vector<std::string> folderChain(const std::string& folder);

}  // namespace vektrano
