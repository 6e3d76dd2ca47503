#include "windows/update_zip_commands.h"

#include <QFileDialog>

#include "platform/cp1250.h"
#include "platform/paths.h"
#include "transfer/program_swap.h"
#include "windows/folder_picker_window.h"

namespace vektrano {

using platform::toQString;

transfer::UpdateZipSetup updateZipSetup() {
  transfer::UpdateZipSetup s;
  s.programFolder = platform::programFolder();
  s.programFile = platform::executablePath();
  s.replaceProgram = transfer::ProgramFileReplaceable(s.programFile);
  return s;
}

bool exportUpdateZip(QWidget* parent, std::function<std::optional<std::string>()> chooseFolder) {
  if (!chooseFolder)
    chooseFolder = [parent]() -> std::optional<std::string> {
      TKRULBrowseDirectory picker(parent);
      picker.InitialFolder = kUpdateZipStartFolder;
      if (!picker.Execute()) return std::nullopt;
      return picker.ChosenFolder;
    };
  return transfer::Export1Click(updateZipSetup(), chooseFolder);
}

transfer::ImportResult importUpdateZip(QWidget* parent, transfer::ImportHooks hooks) {
  if (!hooks.chooseArchive)
    hooks.chooseArchive = [parent]() -> std::optional<std::string> {
      QFileDialog dialog(parent, toQString("Vyber soubor exportu programu VEKTRANO"),
                         toQString(kUpdateZipStartFolder),
                         toQString("Export update VEKTRANO (") + toQString(transfer::kExportName) +
                             QStringLiteral(")"));
      dialog.setFileMode(QFileDialog::ExistingFile);
      dialog.setDefaultSuffix(QStringLiteral("zip"));
      if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
      return platform::pathFromQString(dialog.selectedFiles().constFirst());
    };
  return transfer::IMPORTaktualizacedoNOTEBOOKU1Click(updateZipSetup(), hooks);
}

}  // namespace vektrano
