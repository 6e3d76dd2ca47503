#pragma once
// What the name-day and familiar-name windows share beyond the list window:
// two columns (60 pixels and the rest), a size of at least 280 x 450, no
// duplicates button, the caption with the row count and an optional tail
// renewed at every change of the rows, and the save button that saving
// disables and the next sort enables again.
#include <string>

#include "windows/base/list_window.h"

namespace vektrano {

class NameListWindow : public ListWindow {
  Q_OBJECT
 public:
  NameListWindow(int formNumber, std::string captionHead, std::string captionTail,
                 QWidget* parent = nullptr);
  ~NameListWindow() override;

 protected:
  // Called by a save before it writes.
  void lockSaveUntilNextSort();
  void resizeEvent(QResizeEvent* e) override;

 private:
  void showCount();
  void sortPass(int gap);

  std::string captionHead_, captionTail_;
  int listener_ = -1;
  bool unlockPending_ = false;
};

}  // namespace vektrano
