#pragma once
// windows/base: what the tool windows and the programs share: the tool
// window (this header) and list window bases, the grid model, the contact
// effects and the link through which a tool window asks the main window.
//
// What every tool window of the log book shares: it is created on first use
// through its global (a QPointer, emptied again when the window is gone),
// frees itself when closed, keeps its placement under its own settings key,
// and is listed while it exists, so that the main window can refuse to shut
// down and bring each open one to the front.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/session/window_placement.h"

namespace vektrano {

// Tool windows that exist now, in the order they were created.
std::vector<QWidget*> openToolWindows();

// Whether the last press of key went to w's window (to any of its controls).
// A window acts on a key's release only then: the release of the key that
// opened it (F12 on the main window, Enter on a menu item) reaches it once it
// has the focus, and is not its own. Presses are seen from the first tool
// window on; none seen is none here.
bool keyPressedIn(const QWidget* w, int key);

// Creates the window when its global is empty, then shows it and brings it
// to the front.
template <class T, class... Args>
T* openToolWindow(QPointer<T>& global, Args&&... args) {
  if (!global) global = new T(std::forward<Args>(args)...);
  global->show();
  global->raise();
  global->activateWindow();
  return global.data();
}

class ToolWindow : public QWidget {
  Q_OBJECT
 public:
  // The placement is read here from "\Software\NOVR\Vektrano\Form<n>"; a
  // missing key gives defaults. The window's flags (staying on top, no
  // frame) come with it and are never changed later: a change re-creates
  // the native window, which a window manager then places by its frame, and
  // the window would creep by its title bar at every opening.
  // Without a type in flags, a window opened over a parent (the main window)
  // stays above it, as its dialog: a click on the main window never hides
  // it. Qt::Window in flags leaves it free among the others.
  ToolWindow(int formNumber, PlacementValues values, const WindowPlacement& defaults,
             QWidget* parent = nullptr, Qt::WindowFlags flags = {});
  ~ToolWindow() override;

  int formNumber() const { return formNumber_; }
  const std::string& settingsKey() const { return key_; }

 protected:
  // Asked before the window closes; false keeps it open. The placement is
  // written only once closing goes ahead.
  virtual bool queryClose() { return true; }
  void closeEvent(QCloseEvent* event) override;

 private:
  void applyPlacement(const WindowPlacement& p);
  WindowPlacement currentPlacement() const;

  int formNumber_;
  std::string key_;
  PlacementValues values_;
};

}  // namespace vektrano
