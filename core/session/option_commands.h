#pragma once
// What the option commands of the main window decide, without the menus:
// the storage folders chosen by the operator, the reset of every option to
// the installation state, and the notices of the database choice.
#include <optional>
#include <string>
#include <vector>

#include "core/session/colour_schemes.h"

namespace vektrano {

// The four storage folders the operator may choose.
enum class Uloziste { Dat, Map, Foto, Archiv };

struct VolbaUloziste {
  bool prijato = true;                // false: the folder stays as it was
  std::string slozka;                 // the folder to use
  std::optional<std::string> zprava;  // the refusal of the program folder or of the name
  std::string panel2;                 // status-bar panel 2
};

// A folder chosen in the folder picker. The program folder itself (compared
// as tidied call signs, so letter case does not count) is never used: its
// sub-folder "UlozisteDat" ("UlozisteMap", "UlozisteFoto",
// "UlozisteArchiv") is taken instead and the message says so. A folder whose
// path the settings (code page 1250) cannot hold is refused with a message,
// as the next start would not find it.
VolbaUloziste zvolUloziste(Uloziste kind, const std::string& chosen,
                           const std::string& programFolder);

// The message for a path the settings cannot hold: what (e.g. "Složku"),
// the path and why.
std::string zpravaNeulozitelneCesty(const std::string& co, const std::string& path);

// Ctrl+Q: the options and their state after installation, as menu item
// names. The second databases go back to "none" besides.
struct VolbaPoInstalaci {
  const char* polozka;
  bool zaskrtnuto;
};
const std::vector<VolbaPoInstalaci>& volbyPoInstalaci();
// The default colour template with the longest contact's row red.
BarevneSchema schemaPoInstalaci();
// The note column's width after the reset; the call-sign column takes the
// rest of the grid's client width less 32.
inline constexpr int kSirkaPoznamkyPoInstalaci = 60;

// The notice after choosing which call-sign list the searches and the list
// window use: the user's second list (alone or with the original), or the
// original alone.
std::string zpravaDatabazeVolacek(bool originalOnly);

}  // namespace vektrano
