#pragma once
// The editor of the words never taken for a locator (.dup): a one-column
// list window without search boxes or duplicate stepping. Saving tidies the
// words and keeps only those the entry line could take for a locator.
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "core/base/text.h"
#include "windows/base/list_window.h"

namespace vektrano {

// The words never taken for a locator.
class TForm12 : public ListWindow {
  Q_OBJECT
 public:
  // keyboard: the main window's digit-row option at the moment of saving;
  // saved: the words just written (not called when the write failed).
  using Saved = std::function<void(const std::vector<std::string>& words)>;
  TForm12(std::string dupPath, std::function<KeyboardOptions()> keyboard, Saved saved,
          QWidget* parent = nullptr);

  void BitBtn2Click();
  bool SaveSlovaData();

 protected:
  bool save() override { return SaveSlovaData(); }
  void resizeEvent(QResizeEvent* event) override;
  // The status bar shows the hint of the button under the mouse.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void restoreTitle();

  std::function<KeyboardOptions()> keyboard_;
  Saved saved_;
};

extern QPointer<TForm12> Form12;

// Creates the window on first use, then shows it in front.
TForm12* openForm12(const std::string& dupPath, std::function<KeyboardOptions()> keyboard,
                    TForm12::Saved saved = {}, QWidget* parent = nullptr);

}  // namespace vektrano
