#include "transfer/update_zip.h"

#include <filesystem>

#include "core/session/startup.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "transfer/program_swap.h"
#include "transfer/staged_unzip.h"
#include "transfer/zip.h"

namespace vektrano::transfer {

using platform::MessageKind;
using platform::showMessage;

namespace {

constexpr const char* kIndexovani = "Nezapomeň provést indexování, menu : Pomocné funkce, INDEXOVÁNÍ DATABÁZÍ";

std::string fileName(const std::string& path) {
  return platform::fromFsPath(platform::fsPath(path).filename());
}

}  // namespace

std::vector<std::string> exportFiles(const std::string& programFolder, const std::string& programFile) {
  std::vector<std::string> out;
  for (const char* ext : {".zr4", ".pvk", "", ".hb9", ".jmn", ".syn", ".upc", ".upd", ".upq", ".v4m",
                          ".ver", ".wav"})
    out.push_back(*ext ? platform::dataFile(programFolder, ext) : programFile);
  out.push_back(platform::joinPath(programFolder, "portable.txt"));
  return out;
}

std::string exportArchivePath(const std::string& folder) { return platform::joinPath(folder, kExportName); }

bool Export1Click(const UpdateZipSetup& setup, const std::function<std::optional<std::string>()>& chooseFolder) {
  showMessage(
      "Vyber adresář, kam chceš export update uložit. Export můžeš rovnou uložit\r\n\r\n"
      " na disketu nebo USB a poté přenést přenes do notebooku pro portejbly.");
  const std::optional<std::string> folder = chooseFolder ? chooseFolder() : std::nullopt;
  if (!folder) return false;
  const std::string path = exportArchivePath(*folder);
  TZip zip;
  zip.ArcName = path;
  zip.Overwrite = true;
  for (const std::string& f : exportFiles(setup.programFolder, setup.programFile))
    if (platform::fileExists(f)) zip.Files.push_back(f);
  // An archive left from an earlier export is no sign that this one worked.
  const bool ok = !zip.Files.empty() && zip.Compress() && platform::fileExists(path);
  if (ok)
    showMessage("Hotovo, data uloženy do souboru :\r\n\r\n" + platform::pathText(path) +
                "\r\n\r\nNa notebooku vyber z menu položku IMPORT z hlavního PC. Budeš programem dotázán\r\n"
                "kde hledat exportovaný soubor (na disketě nebo na USB) a program provede import. \r\n"
                "Tímto krokem budeš mít aktualizován notebook stejně, jako hlavní PC.");
  else
    showMessage("CHYBA : Nepodařilo ze uložit data do souboru :\r\n\r\n" + platform::pathText(path),
                MessageKind::Error);
  return ok;
}

ImportResult IMPORTaktualizacedoNOTEBOOKU1Click(const UpdateZipSetup& setup, const ImportHooks& hooks) {
  const std::optional<std::string> archive = hooks.chooseArchive ? hooks.chooseArchive() : std::nullopt;
  if (!archive) return ImportResult::Cancelled;

  StagedUnzip staged(setup.programFolder);
  if (!staged.extract(*archive)) {
    std::string text = "Soubor " + platform::pathText(*archive) +
                       " není použitelný export programu VEKTRANO, nic nebylo změněno.";
    for (size_t i = 0; i < staged.errors.size() && i < 5; ++i) text += "\r\n" + staged.errors[i];
    showMessage(text, MessageKind::Error);
    return ImportResult::Refused;
  }
  const std::string programName = fileName(setup.programFile);
  bool hasProgram = false;
  for (const std::string& f : staged.files()) hasProgram = hasProgram || f == programName;

  bool swapped = false;
  if (hasProgram && setup.replaceProgram) {
    const SwapResult r = swapProgramFile(setup.programFile, staged.stagedPath(programName), kPredchoziProgram);
    if (r == SwapResult::CannotKeepOld) {
      showMessage("Nejde přejmenovat : " + platform::pathText(setup.programFile) + " na " +
                      platform::pathText(setup.programFile + kPredchoziProgram),
                  MessageKind::Error);
      return ImportResult::RenameFailed;
    }
    if (r == SwapResult::NotAProgram)
      showMessage("Soubor " + platform::pathText(programName) + " v archivu " +
                      platform::pathText(*archive) + " není program pro tento počítač.",
                  MessageKind::Warning);
    swapped = r == SwapResult::Done;
  } else if (hasProgram) {
    showMessage(
        "Program VEKTRANO je nainstalovaný v systému a svůj programový soubor přepsat nemůže.\r\n"
        "Novou verzi programu dostaneš jeho novou instalací; import nahraje jen datové soubory.");
  }

  // The program's entry never lands as a data file, nor on the running program.
  const std::string programBeside = platform::joinPath(setup.programFolder, programName);
  const bool installed = staged.install([&](const std::string& to) {
    return to != programBeside && to != setup.programFile && !sameFile(to, setup.programFile);
  });
  if (!installed)
    showMessage("Nepodařila se aktualizace souborů ve složce : " + platform::pathText(setup.programFolder),
                MessageKind::Error);

  if (!swapped && !(hasProgram && !setup.replaceProgram)) {
    showMessage("Nepodařila se aktualizace souboru : " + platform::pathText(setup.programFile),
                MessageKind::Error);
    return ImportResult::NoProgram;
  }
  showMessage("Hotovo, data načteny. Změna se projeví až po opětovném spuštění programu VEKTRANO");
  if (!(hooks.memoryMode && hooks.memoryMode())) {
    showMessage(kIndexovani);
    if (platform::askYesNo("Indexovat databázi LOKÁTORŮ ?") && hooks.locIDX) hooks.locIDX();
    if (platform::askYesNo("Indexovat databázi VOLAČEK ?") && hooks.volIDX) hooks.volIDX();
    if (platform::askYesNo("Indexovat databázi SVÁTKŮ ?") && hooks.jmnIDX) hooks.jmnIDX();
  }
  showMessage("Ukončuji program, změny se projeví až po novém spuštění programu.");
  if (hooks.closeMainWindow) hooks.closeMainWindow();
  return swapped ? ImportResult::Done : ImportResult::DataOnly;
}

}  // namespace vektrano::transfer
