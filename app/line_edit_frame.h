#pragma once
// The entry line repaints at every key, and the frame that the style draws
// around it (an antialiased outline as wide as the window, a second one
// while it has the focus) costs more than its text. keepFramePicture gives
// the edit a style that draws that frame once into a picture for each size,
// state and palette and copies the picture at each paint, with the same look.
class QLineEdit;

namespace vektrano {

void keepFramePicture(QLineEdit* edit);

}  // namespace vektrano
