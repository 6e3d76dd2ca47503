#include "platform/paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>

#include "platform/files.h"

// The way from the installed programs' folder to the shared files, as the
// build's install rules lay them out.
#ifndef VEKTRANO_SHARE_FROM_BIN
#define VEKTRANO_SHARE_FROM_BIN "../share"
#endif

namespace vektrano::platform {
namespace fs = std::filesystem;
namespace {

std::mutex& pathsMutex() {
  static std::mutex m;
  return m;
}

std::optional<std::string>& overridden() {
  static std::optional<std::string> folder;
  return folder;
}

std::optional<std::string>& overriddenShipped() {
  static std::optional<std::string> folder;
  return folder;
}

// The last answer and the VEKTRANO_HOME it was computed for.
struct Cached {
  std::optional<std::string> home;
  std::string folder;
  bool valid = false;
};

Cached& cached() {
  static Cached c;
  return c;
}

std::string withoutTrailingSeparator(std::string p) {
  while (p.size() > 1 && (p.back() == '/' || p.back() == '\\')) p.pop_back();
  return p;
}

bool writableFolder(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec) && ::access(p.c_str(), W_OK | X_OK) == 0;
}

fs::path dataHome() {
  const char* x = std::getenv("XDG_DATA_HOME");
  if (x && x[0] == '/') return fs::path(x);
  const char* home = std::getenv("HOME");
  std::string h = home && home[0] ? home : "";
  if (h.empty())
    if (const passwd* pw = ::getpwuid(::getuid())) h = pw->pw_dir;
  return fs::path(h.empty() ? "/tmp" : h) / ".local" / "share";
}

std::string computeProgramFolder(const std::optional<std::string>& home) {
  std::error_code ec;
  fs::path candidate;
  if (home) {
    // Absolute, since start-up makes the program folder the current folder.
    candidate = fs::absolute(fs::path(*home), ec);
    if (ec) candidate = fs::path(*home);
    fs::create_directories(candidate, ec);
  } else if (!runsInstalled()) {
    candidate = fsPath(executableFolder());
  }
  // A writable bin/ of an installation is no program folder: root may write
  // there, but the operator's files do not belong among the programs.
  if (candidate.empty() || !writableFolder(candidate)) {
    candidate = dataHome() / "vektrano";
    fs::create_directories(candidate, ec);
  }
  return withoutTrailingSeparator(fromFsPath(candidate.lexically_normal()));
}

}  // namespace

std::string executablePath() {
  static const std::string path = [] {
    std::error_code ec;
    fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : fromFsPath(p);
  }();
  return path;
}

std::string executableFolder() {
  std::string p = executablePath();
  size_t slash = p.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : p.substr(0, slash);
}

std::string programFolder() {
  std::lock_guard lock(pathsMutex());
  if (overridden()) return *overridden();
  std::optional<std::string> home;
  if (const char* h = std::getenv("VEKTRANO_HOME"); h && h[0]) home = h;
  Cached& c = cached();
  if (!c.valid || c.home != home) {
    c.folder = computeProgramFolder(home);
    c.home = home;
    c.valid = true;
  }
  return c.folder;
}

void setProgramFolder(const std::string& folder) {
  std::lock_guard lock(pathsMutex());
  if (folder.empty())
    overridden().reset();
  else
    overridden() = withoutTrailingSeparator(folder);
}

std::string installedShareFolder(const std::string& executableFolder) {
  const fs::path share = (fsPath(executableFolder) / VEKTRANO_SHARE_FROM_BIN).lexically_normal();
  return withoutTrailingSeparator(fromFsPath(share));
}

bool runsInstalled() {
  return dirExists(joinPath(installedShareFolder(executableFolder()), "vektrano"));
}

std::string shippedDataFolder() {
  {
    std::lock_guard lock(pathsMutex());
    if (overriddenShipped()) return *overriddenShipped();
  }
  if (runsInstalled()) return joinPath(installedShareFolder(executableFolder()), "vektrano");
  return executableFolder();
}

void setShippedDataFolder(const std::string& folder) {
  std::lock_guard lock(pathsMutex());
  if (folder.empty())
    overriddenShipped().reset();
  else
    overriddenShipped() = withoutTrailingSeparator(folder);
}

}  // namespace vektrano::platform

namespace vektrano::platform {

std::string dataFile(const std::string& programFolder, const std::string& extension) {
  return joinPath(programFolder, "vektrano" + extension);
}

}  // namespace vektrano::platform
