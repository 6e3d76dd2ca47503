#pragma once
// The Qt side of fonts: a CanvasFont as a QFont. Only the QPainter canvas and
// the Qt measurer use it.
#include <QFont>
#include <QString>

#include "preview/graphics.h"

namespace vektrano::preview {

// The family Qt draws for a stored font name: Arial becomes Liberation Sans
// (same metrics) when Arial itself is not installed; likewise Times New Roman
// and Courier New. Needs a QGuiApplication.
QString qtFamilyFor(const std::string& cp1250Name);

// The QFont of a canvas font, sized in pixels of its own resolution (the em
// height; a positive cell height is turned into the em that gives it).
QFont toQFont(const CanvasFont& font);

}  // namespace vektrano::preview
