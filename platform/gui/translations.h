#pragma once
// Qt's own texts (the colour, file and input dialogs, the standard buttons)
// in Czech, as the rest of the program speaks.
#include <string>

namespace vektrano::platform {

// Loads Qt's Czech catalogues (qtbase) from Qt's translations folder and
// installs them into the application. False when none was found.
bool installCzechQtTranslations();

}  // namespace vektrano::platform
