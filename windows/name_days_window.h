#pragma once
// The name-day list editor: day key and names, searched by date and by name,
// saved sorted by the names; saving ends with the main window's index check,
// which rebuilds its name-day table from the new file.
#include <QPointer>
#include <functional>
#include <string>

#include "core/base/text.h"
#include "windows/base/name_list_window.h"

namespace vektrano {

// The name days: one calendar name per day.
class TForm4 : public NameListWindow {
  Q_OBJECT
 public:
  // keyboard: the main window's choice for prevod of typed day keys.
  TForm4(const std::string& programFolder, KeyboardOptions keyboard, std::function<void()> reindex,
         QWidget* parent = nullptr);

  QLineEdit* Edit1() const { return searchBox(0); }
  QLineEdit* Edit2() const { return searchBox(1); }

  bool SaveSvatkyData();

 protected:
  bool save() override { return SaveSvatkyData(); }
  void afterSave(bool ok) override;
  void gridKeyReleased(int key) override;

 private:
  KeyboardOptions keyboard_;
  std::function<void()> reindex_;
};

extern QPointer<TForm4> Form4;

// Creates the window on first use, then shows it in front. reindex is the
// main window's ReIndexace.
TForm4* openForm4(const std::string& programFolder, const KeyboardOptions& keyboard,
                  std::function<void()> reindex, QWidget* parent = nullptr);

}  // namespace vektrano
