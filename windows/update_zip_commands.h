#pragma once
// The main window's "EXPORT aktualizace z hlavního počítače" and "IMPORT
// aktualizace do NOTEBOOKU": the folder picker and the open dialog around the
// update zip of transfer/update_zip.h, with the program folder and the
// running program file taken from the platform.
#include <functional>
#include <optional>
#include <string>

#include "transfer/update_zip.h"

class QWidget;

namespace vektrano {

// Where both dialogs start: the root, as the drive root of the Windows
// program.
inline constexpr const char* kUpdateZipStartFolder = "/";

// `Export1Click`: true when the archive was written. chooseFolder may stay
// empty: then the folder picker asks, starting at kUpdateZipStartFolder.
bool exportUpdateZip(QWidget* parent,
                     std::function<std::optional<std::string>()> chooseFolder = {});

// `IMPORTaktualizacedoNOTEBOOKU1Click`. hooks.chooseArchive may stay empty:
// then the open dialog asks.
transfer::ImportResult importUpdateZip(QWidget* parent, transfer::ImportHooks hooks);

// The program folder and program file the commands use.
transfer::UpdateZipSetup updateZipSetup();

}  // namespace vektrano
