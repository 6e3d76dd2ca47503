#include "transfer/staged_unzip.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>

#include "platform/files.h"
#include "transfer/zip.h"

namespace vektrano::transfer {

namespace fs = std::filesystem;

StagedUnzip::StagedUnzip(std::string folder) : folder_(std::move(folder)) {}

StagedUnzip::~StagedUnzip() {
  if (staging_.empty()) return;
  std::error_code ec;
  fs::remove_all(platform::fsPath(staging_), ec);
}

bool StagedUnzip::extract(const std::string& archive) {
  if (staging_.empty()) {
    // Inside the target folder, so that installing is a rename.
    std::string pattern = (platform::fsPath(folder_) / ".vektrano-unzip-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return false;
    staging_ = platform::fromFsPath(fs::path(pattern));
  }
  TUnZip unzip;
  unzip.ArcName = archive;
  unzip.Files = {"*.*"};
  unzip.SetExtrPath(staging_);
  unzip.OnError = [this](TZipComponent&, const std::string& message) { errors.push_back(message); };
  const bool ok = unzip.Extract();
  return ok && errors.empty();
}

std::vector<std::string> StagedUnzip::files() const {
  std::vector<std::string> out;
  if (staging_.empty()) return out;
  std::error_code ec;
  const fs::path root = platform::fsPath(staging_);
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    // Only what the reader wrote: regular files, never links.
    if (it->is_symlink(ec) || !it->is_regular_file(ec)) continue;
    const std::string name = platform::fromFsPath(it->path().lexically_relative(root));
    // The reader's own temporary files (an entry that failed) stay behind.
    if (platform::fsPath(name).filename().string().rfind('.', 0) == 0) continue;
    out.push_back(name);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::string StagedUnzip::stagedPath(const std::string& name) const {
  return platform::joinPath(staging_, name);
}

std::string StagedUnzip::destination(const std::string& name) const {
  return platform::joinPath(folder_, name);
}

bool StagedUnzip::install(const std::function<bool(const std::string&)>& allowed) {
  for (const std::string& name : files()) {
    const std::string to = destination(name);
    if (allowed && !allowed(to)) continue;
    std::error_code ec;
    const fs::path target = platform::fsPath(to);
    fs::create_directories(target.parent_path(), ec);
    fs::rename(platform::fsPath(stagedPath(name)), target, ec);
    if (ec) return false;
  }
  return true;
}

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  const bool same = fs::equivalent(platform::fsPath(a), platform::fsPath(b), ec);
  return !ec && same;
}

}  // namespace vektrano::transfer
