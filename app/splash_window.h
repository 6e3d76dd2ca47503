#pragma once
// The splash window shown while the main window is being built: borderless,
// on top of everything, centred, a picture filling it.
#include <QWidget>

class QLabel;

namespace vektrano {

// The splash shown while the program starts.
class TForm18 : public QWidget {
 public:
  explicit TForm18(QWidget* parent = nullptr);

  // Off while a message box must be seen, on again afterwards.
  void setStaysOnTop(bool on);

  QLabel* Image1;

 private:
  void centre();
};

}  // namespace vektrano
