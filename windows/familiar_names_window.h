#pragma once
// The familiar-name list editor: calendar name and familiar name, checked
// against the name-day list before it is saved; a save refills the main
// window's synonym table at once and ends with its index check.
#include <QPointer>
#include <functional>
#include <string>

#include "core/base/synonyms.h"
#include "windows/base/name_list_window.h"

class QPushButton;

namespace vektrano {

// The familiar names: pairs of a calendar name and its familiar form.
class TForm16 : public NameListWindow {
  Q_OBJECT
 public:
  using SynonymsChanged = std::function<void(const TabulkaSynonym&)>;

  TForm16(const std::string& programFolder, std::function<void()> reindex,
          SynonymsChanged synonymsChanged, QWidget* parent = nullptr);

  QPushButton* checkButton() const { return checkButton_; }

  // True when every calendar name stands in the name-day list, no familiar
  // name does, and no familiar name repeats. Each error is shown, its cells
  // blinking. A name-day list without names (none ships) cannot judge the
  // calendar names: then only the repeats are checked, and the check's
  // message says so.
  bool KontrolaJmen();
  bool SaveSynonymaData();
  bool checking() const { return checking_; }

  // How a blink step waits (the main window's Delay; tests need no time).
  void setBlinkWait(std::function<void(int ms)> wait) { wait_ = std::move(wait); }

 protected:
  bool save() override { return SaveSynonymaData(); }
  void afterSave(bool ok) override;
  bool queryClose() override;

 private:
  void checkClicked();
  void blink(int rowA, int colA, int rowB, int colB);

  std::string nameDaysPath_;
  std::function<void()> reindex_;
  SynonymsChanged synonymsChanged_;
  std::function<void(int)> wait_;
  QPushButton* checkButton_ = nullptr;
  bool checking_ = false;
  bool noNameDays_ = false;  // the last check found no name days to judge by
  bool wrote_ = false;
};

extern QPointer<TForm16> Form16;

// Creates the window on first use, then shows it in front. reindex is the
// main window's ReIndexace; synonymsChanged receives the new table after a
// successful save, before reindex runs.
TForm16* openForm16(const std::string& programFolder, std::function<void()> reindex,
                    TForm16::SynonymsChanged synonymsChanged, QWidget* parent = nullptr);

}  // namespace vektrano
