#pragma once
// Every window of the program opens within the screen's available area,
// its frame included: a stored position above the top edge (the caption out
// of reach) or a dialog larger than the room left beside it is moved in. The
// check runs when a window is shown and again while the window manager puts
// its frame around it; a window the user moves later is left where it is.
#include <QRect>

namespace vektrano::platform {

// The frame moved (never resized) so that it lies inside available; a
// frame larger than available keeps its top left corner at available's.
QRect frameWithin(const QRect& frame, const QRect& available);

// Installs the check for every top-level window of the application (once).
void keepWindowsOnScreen();

}  // namespace vektrano::platform
