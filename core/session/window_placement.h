#pragma once
// Placement of a tool window under its own settings key
// ("\Software\NOVR\Vektrano\Form<n>"): Top, Left, and for the resizable
// windows Height, Width and Maximized. Read when the window is created,
// written when it closes. Plain data; the window applies it.
#include <string>

namespace vektrano {

struct WindowPlacement {
  int top = 10;
  int left = 10;
  int height = 280;
  int width = 450;
  bool maximized = false;
};

// Which values a window keeps: the report window and the calling sender only
// Top and Left.
enum class PlacementValues { PositionOnly, Full };

// "\Software\NOVR\Vektrano\Form" + number.
std::string windowSettingsKey(int formNumber);

// A stored position the window could not be seen at (below 0, or within 10
// pixels of the screen's far edge or beyond) is pulled back to 1.
int clampPlacement(int value, int screenExtent);

// Starts from defaults; an existing key overrides them value by value in the
// order Top, Left, Height, Width, Maximized, and the first value missing ends
// the reading (it and the later ones keep their defaults). Top and Left are
// clamped against the screen's height and width.
WindowPlacement readPlacement(const std::string& keyPath, const WindowPlacement& defaults,
                              PlacementValues values, int screenWidth, int screenHeight);

// Creates the key when missing; the bounds are those of the normal state.
// False when the settings store could not be written.
bool writePlacement(const std::string& keyPath, const WindowPlacement& placement,
                    PlacementValues values);

}  // namespace vektrano
