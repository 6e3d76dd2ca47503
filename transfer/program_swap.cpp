#include "transfer/program_swap.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <filesystem>

#include "platform/files.h"
#include "platform/paths.h"

namespace vektrano::transfer {

namespace fs = std::filesystem;

namespace {

using Header = std::array<unsigned char, 20>;

bool readHeader(const fs::path& path, Header& h) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  const ssize_t n = regular ? ::read(fd, h.data(), h.size()) : -1;
  ::close(fd);
  return n == static_cast<ssize_t>(h.size());
}

uint16_t half(const Header& h, size_t at) {
  // e_ident[EI_DATA]: 1 little-endian, 2 big-endian.
  return h[5] == 2 ? static_cast<uint16_t>(h[at] << 8 | h[at + 1])
                   : static_cast<uint16_t>(h[at + 1] << 8 | h[at]);
}

bool isElf(const Header& h) {
  return h[0] == 0x7F && h[1] == 'E' && h[2] == 'L' && h[3] == 'F' && (h[4] == 1 || h[4] == 2) &&
         (h[5] == 1 || h[5] == 2) && h[6] == 1;
}

void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool ProgramFileReplaceable(const std::string& programFile) {
  const fs::path program = platform::fsPath(programFile);
  const fs::path folder = program.parent_path();
  if (folder.empty() || ::access(folder.c_str(), W_OK | X_OK) != 0) return false;
  // The rule by which the program knows it runs installed, for this file.
  return !platform::dirExists(
      platform::joinPath(platform::installedShareFolder(platform::fromFsPath(folder)), "vektrano"));
}

bool isProgramForThisMachine(const std::string& path) {
  Header mine{}, theirs{};
  if (!readHeader(platform::fsPath(platform::executablePath()), mine) || !isElf(mine)) return false;
  if (!readHeader(platform::fsPath(path), theirs) || !isElf(theirs)) return false;
  const uint16_t type = half(theirs, 16);  // e_type: 2 executable, 3 position-independent
  return theirs[4] == mine[4] && theirs[5] == mine[5] && (type == 2 || type == 3) &&
         half(theirs, 18) == half(mine, 18);  // e_machine
}

SwapOps SwapOps::real() {
  SwapOps ops;
  ops.rename = [](const std::string& from, const std::string& to) {
    return ::rename(platform::fsPath(from).c_str(), platform::fsPath(to).c_str()) == 0;
  };
  ops.link = [](const std::string& from, const std::string& to) {
    return ::link(platform::fsPath(from).c_str(), platform::fsPath(to).c_str()) == 0;
  };
  ops.remove = [](const std::string& path) {
    return ::unlink(platform::fsPath(path).c_str()) == 0 || errno == ENOENT;
  };
  return ops;
}

SwapResult swapProgramFile(const std::string& programFile, const std::string& newFile,
                           const std::string& oldSuffix, const SwapOps& ops) {
  if (!isProgramForThisMachine(newFile)) return SwapResult::NotAProgram;
  const fs::path program = platform::fsPath(programFile);
  std::string source = newFile;
  if (platform::fsPath(newFile).parent_path() != program.parent_path()) {
    // A rename is atomic only inside one file system.
    source = programFile + ".ex";
    const auto bytes = platform::readWholeFile(newFile);
    if (!bytes || !platform::writeFileAtomic(source, *bytes)) return SwapResult::CannotPrepare;
  }
  if (::chmod(platform::fsPath(source).c_str(), 0755) != 0) return SwapResult::CannotPrepare;

  const std::string old = programFile + oldSuffix;
  if (!ops.remove(old)) return SwapResult::CannotKeepOld;
  // A second name for the old program keeps the program file present all
  // along; only where links are not possible does it move aside for a moment.
  const bool linked = ops.link(programFile, old);
  if (!linked && !ops.rename(programFile, old)) return SwapResult::CannotKeepOld;
  if (!ops.rename(source, programFile)) {
    if (linked)
      ops.remove(old);
    else
      ops.rename(old, programFile);
    return SwapResult::CannotReplace;
  }
  syncFolder(program.parent_path());
  return SwapResult::Done;
}

}  // namespace vektrano::transfer
