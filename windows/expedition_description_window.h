#pragma once
// The expedition description window: the thirteen description fields of the
// open log, and the second half of New log (the confirm names and first
// saves the log). Frameless and on top; Esc closes it without storing.
#include <QLineEdit>
#include <QPointer>
#include <array>
#include <functional>
#include <string>

#include "core/log/expedition_description.h"
#include "core/log/log.h"
#include "windows/base/tool_window.h"

class QPushButton;
class QStatusBar;

namespace vektrano {

// A one-line edit that reports a double click after its own word selection.
class DescriptionEdit : public QLineEdit {
  Q_OBJECT
 public:
  using QLineEdit::QLineEdit;
 signals:
  void doubleClicked();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// Called after a confirmed description was stored and saved: the main window
// shows the log's own locator (lokportable), makes memo1 the only line of
// its note memo Memo1 and puts the focus into the entry line.
using Form11Changed = std::function<void(const std::string& memo1)>;

// The expedition description, which also finishes a new log.
class TForm11 : public ToolWindow {
  Q_OBJECT
 public:
  // log must outlive the window (the main window owns both). dataFolder is
  // where a new log is named.
  TForm11(LogDocument& log, std::string dataFolder, Form11Changed changed,
          QWidget* parent = nullptr);

  DescriptionEdit* edit(int index) { return edits_[static_cast<size_t>(index)]; }
  QPushButton* hotovo() { return BitBtn2; }
  QPushButton* doplnit() { return BitBtn1; }
  Popis pole() const;

  void BitBtn1Click();  // times of the first and last contact
  void BitBtn2Click();  // confirm

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FormCreate();
  void EditChange(int index);
  void EditDblClick(int index);
  void focusEdit(int index);

  LogDocument& log_;
  std::string dataFolder_;
  Form11Changed changed_;
  std::array<DescriptionEdit*, kPopisFields> edits_{};
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  int pendingFocus_ = -1;  // the edit a refused confirm pointed at
};

extern QPointer<TForm11> Form11;

// Creates the window on first use (filled from log), then shows it in front.
TForm11* openForm11(LogDocument& log, const std::string& dataFolder, Form11Changed changed,
                    QWidget* parent = nullptr);

}  // namespace vektrano
