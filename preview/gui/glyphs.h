#pragma once
// The pictures of the library's controls, drawn rather than loaded: the
// navigator's buttons ("FIRST", "PREV", ... "FITWHOLEPAGE") and the property
// combo box's "Envelope", "Paper" and "Printer".
#include <QIcon>
#include <string_view>

namespace vektrano::preview {

// An empty icon for a name it does not know.
QIcon PvGlyph(std::string_view name);

}  // namespace vektrano::preview
