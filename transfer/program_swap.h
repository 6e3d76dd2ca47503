#pragma once
// Replacing the running program file by a new one (the internet update and
// the import of the update zip). The running program is never written in
// place: the new file is checked to be a program this machine can start,
// made executable, and renamed over the program file, the previous one kept
// beside it under a suffix; every step is checked and undone on failure, so
// the program file is always one that starts.
#include <functional>
#include <string>

namespace vektrano::transfer {

// Whether the running program may replace its own file: only a program run
// from its build folder, which the user can write and which has no installed
// data beside it (platform::installedShareFolder + "/vektrano", the rule of
// platform::runsInstalled). An installed program is renewed by installing it
// again.
bool ProgramFileReplaceable(const std::string& programFile);

// An ELF executable (or position-independent executable) of the class, byte
// order and machine of the running program.
bool isProgramForThisMachine(const std::string& path);

// The file operations of a swap; tests make one of them fail.
struct SwapOps {
  std::function<bool(const std::string& from, const std::string& to)> rename;
  std::function<bool(const std::string& from, const std::string& to)> link;
  std::function<bool(const std::string& path)> remove;  // true also when it was missing
  static SwapOps real();
};

enum class SwapResult {
  Done,           // programFile is the new program, programFile + oldSuffix the previous one
  NotAProgram,    // the new file is no program of this machine; nothing changed
  CannotPrepare,  // the new file could not be made executable beside the program; nothing changed
  CannotKeepOld,  // the previous program could not be kept aside; nothing changed
  CannotReplace,  // the new file could not take the program's place; the old one is back
};

// Puts newFile in the place of programFile, keeping the previous program as
// programFile + oldSuffix. A newFile in another folder is first copied
// beside the program, so that the last step is one rename in one folder.
SwapResult swapProgramFile(const std::string& programFile, const std::string& newFile,
                           const std::string& oldSuffix, const SwapOps& ops = SwapOps::real());

}  // namespace vektrano::transfer
