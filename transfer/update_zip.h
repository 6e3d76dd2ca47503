#pragma once
// The update zip "zr4export.qzx", which carries an installation from the
// main computer to a second one without the internet: the export packs the
// program file and its data files into one archive in a folder the user
// chooses; the import unpacks such an archive over the installation and ends
// the program. The import takes an archive only when every entry unpacks
// whole inside the program folder, and puts a new program file in place
// only through a checked swap, never by writing over the running program.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vektrano::transfer {

inline constexpr const char* kExportName = "zr4export.qzx";

// The files the export packs, in list order: the data files of the program
// folder and the program file itself.
std::vector<std::string> exportFiles(const std::string& programFolder, const std::string& programFile);
// folder + "/" + "zr4export.qzx", the separator only when the folder lacks one.
std::string exportArchivePath(const std::string& folder);

struct UpdateZipSetup {
  std::string programFolder;
  std::string programFile;      // the running program
  bool replaceProgram = false;  // ProgramFileReplaceable(programFile)
};

// `Export1Click`: the message, the folder (chooseFolder gives nothing when
// the user cancelled), the archive of the files that exist, the result
// message. True when the archive was written.
bool Export1Click(const UpdateZipSetup& setup,
                  const std::function<std::optional<std::string>()>& chooseFolder);

struct ImportHooks {
  std::function<std::optional<std::string>()> chooseArchive;  // nothing: cancelled
  std::function<bool()> memoryMode;                           // `MenuRam` ticked
  std::function<void()> locIDX, volIDX, jmnIDX;
  std::function<void()> closeMainWindow;  // the program ends
};

enum class ImportResult {
  Cancelled,
  Refused,         // the archive is damaged or names leave the folder: nothing changed
  RenameFailed,    // the running program could not be kept aside: nothing changed
  NoProgram,       // the data files were replaced, the program file stays; the program goes on
  DataOnly,        // an installed program: the data files were replaced; the program ends
  Done,            // everything in place; the program ends
};

// `IMPORTaktualizacedoNOTEBOOKU1Click`.
ImportResult IMPORTaktualizacedoNOTEBOOKU1Click(const UpdateZipSetup& setup, const ImportHooks& hooks);

}  // namespace vektrano::transfer
