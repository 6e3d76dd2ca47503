#pragma once
// The viewer's settings under "\Software\NOVR\Palomir" and the one value it
// reads from Vektrano's key, the folder of the main program.
#include <optional>
#include <string>

namespace vektrano::palomir {

inline constexpr const char* kPalomirKey = "\\Software\\NOVR\\Palomir";
inline constexpr const char* kVektranoKey = "\\Software\\NOVR\\Vektrano\\Form1";

// What a start read. Values are read in the order Top, Left, Height, Width,
// Associated, Maximized; the first missing one ends the reading, and it and
// every later one stay unset (the window keeps its design placement).
struct PalomirSettings {
  bool keyOpened = false;
  std::optional<int> top, left, height, width;
  std::optional<bool> associated, maximized;
};

// The key cannot be opened at all: Top 10, Left 10, Height 600, Width 450.
PalomirSettings readSettings();

struct WindowPlacement {
  int top = 0, left = 0, height = 0, width = 0;
  bool maximized = false;
};

// Writes the placement and Associated (the key is created when missing).
// False when the key could not be opened or the store not written.
bool writeSettings(const WindowPlacement& placement, bool associated);

// Vektrano's folder (`FileApp`), "" when unknown.
std::string readFileApp();

}  // namespace vektrano::palomir
