#pragma once
// The internet-update window: the files the update server offers with their
// marks, one action button whose caption carries the step (check, download,
// leave), and the progress of the running download. The work is
// transfer/update.h; the window shows it, toggles a row on a double click,
// and refuses to close while a download runs. Placement under
// "\Software\NOVR\Vektrano\Form15".
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "transfer/update.h"
#include "windows/base/tool_window.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTableWidget;
class QTimer;

namespace vektrano {

// `TForm15`: the update from the internet.
class TForm15 : public ToolWindow, private transfer::UpdateUi {
  Q_OBJECT
 public:
  TForm15(transfer::UpdateSetup setup, transfer::UpdateHooks hooks, QWidget* parent = nullptr);
  ~TForm15() override;

  void Button1Click();
  // A double click on a grid row (0 the first file); others do nothing.
  void StringGrid1DblClick(int row);

  transfer::Aktualizace& aktualizace() { return *aktualizace_; }
  QLabel* Label1() const { return label1_; }
  QLabel* Label2() const { return label2_; }
  QTableWidget* StringGrid1() const { return grid_; }
  QProgressBar* ProgressBar1() const { return progress_; }
  QPushButton* Button1() const { return button1_; }
  QStatusBar* StatusBar1() const { return statusBar_; }
  QTimer* Timer1() const { return timer1_; }

  // How a page of the server is opened (the desktop's browser by default).
  static void setPageOpener(std::function<void(const std::string& url)> open);

 protected:
  bool queryClose() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void rowsChanged() override;
  void selectRow(int index) override;
  void setStatus(const std::string& text) override;
  void setProgress(int maximum, int position) override;
  void setProgressVisible(bool visible) override;
  void setButtonVisible(bool visible) override;
  void setButtonCaption(const std::string& caption) override;
  void setInstruction(const std::string& text) override;
  void focusButton() override;
  void setTimerRunning(bool on) override;
  void setWindowVisible(bool visible) override;
  void openPage(const std::string& url) override;
  void closeWindow() override;
  void layoutColumns();

  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QTableWidget* grid_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* button1_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  QTimer* timer1_ = nullptr;
  std::unique_ptr<transfer::Aktualizace> aktualizace_;
};

extern QPointer<TForm15> Form15;

// What the opener takes from the platform: the program folder, the running
// program file (replaced only when ProgramFileReplaceable), the update server
// from the window's settings and the application title.
transfer::UpdateSetup updateSetup(const std::string& mapFolder, const std::string& photoFolder);

// Ctrl+I, "Existuje nová verze?" and the weekly reminder: creates the window
// on first use, then shows it in front. mapFolder and photoFolder are the
// main window's storage folders; hooks its part of the update.
TForm15* openUpdateWindow(const std::string& mapFolder, const std::string& photoFolder,
                          transfer::UpdateHooks hooks, QWidget* parent = nullptr);

}  // namespace vektrano
