#pragma once
// The print window's two texts under its settings key
// ("\Software\NOVR\Vektrano\Form7"), beside its placement (listplacement.h):
// the header line printed at the top of every sheet and the footer line at
// the bottom.
#include <string>

namespace vektrano {

struct PrintWindowTexts {
  std::string header;
  std::string footer;
};

// The stored texts once the placement before them (Top, Left, Height,
// Width) was read whole; otherwise the given ones. A missing text reads as
// empty.
PrintWindowTexts readPrintWindowTexts(const PrintWindowTexts& defaults);

// Creates the key when missing; false when the settings store could not be
// written.
bool writePrintWindowTexts(const PrintWindowTexts& texts);

}  // namespace vektrano
