#include "core/tools/folder_tree.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/base/text.h"
#include "platform/files.h"

namespace vektrano {

namespace fs = std::filesystem;

std::string folderTreeRoot() { return "/"; }

std::optional<std::vector<FolderEntry>> listSubfolders(const std::string& folder) {
  const fs::path dir = platform::fsPath(folder);
  std::error_code ec;
  fs::directory_iterator it(dir, ec);
  if (ec) return std::nullopt;
  std::vector<FolderEntry> out;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) return std::nullopt;
    std::error_code typeEc;
    if (!it->is_directory(typeEc)) continue;  // follows links; a broken one is no folder
    const fs::path name = it->path().filename();
    if (name.string().empty() || name.string()[0] == '.') continue;
    FolderEntry e;
    e.name = platform::fromFsPath(name);
    e.path = platform::joinPath(folder, e.name);
    out.push_back(std::move(e));
  }
  if (ec) return std::nullopt;
  const auto folded = [](const std::string& name) {
    std::string s = platform::pathText(name);
    for (char& c : s) c = VelkyZnak(c);
    return s;
  };
  std::sort(out.begin(), out.end(), [&](const FolderEntry& a, const FolderEntry& b) {
    const std::string fa = folded(a.name), fb = folded(b.name);
    return fa != fb ? fa < fb : a.name < b.name;
  });
  return out;
}

std::vector<std::string> folderChain(const std::string& folder) {
  if (folder.empty()) return {};
  std::error_code ec;
  fs::path p = platform::fsPath(folder);
  if (!p.is_absolute()) p = fs::absolute(p, ec);
  if (ec) return {};
  p = p.lexically_normal();
  if (!fs::is_directory(p, ec)) return {};
  // A trailing separator leaves an empty last element.
  if (p.has_relative_path() && p.filename().empty()) p = p.parent_path();
  std::vector<std::string> chain;
  fs::path step;
  for (const fs::path& part : p) {
    step /= part;
    chain.push_back(platform::fromFsPath(step));
  }
  return chain;
}

}  // namespace vektrano
