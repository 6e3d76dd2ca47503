#pragma once
// The main window of Vektrano. Its creation runs FormCreate, the whole
// start-up; its destruction runs FormDestroy.
#include <QMainWindow>
#include <memory>

namespace vektrano {
namespace platform {
class WakeUpListener;
}

class TForm1 : public QMainWindow {
 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // The reaction to a second start of the program: a minimised window is
  // restored (a maximised one stays maximised), raised and activated.
  void WakeUp();

 private:
  void FormCreate();
  void FormDestroy();

  std::unique_ptr<platform::WakeUpListener> wakeUpListener_;
};

}  // namespace vektrano
