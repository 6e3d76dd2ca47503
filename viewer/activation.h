#pragma once
// Decides whether an activation of the viewer's window runs the duplicate
// search. The window comes back to the front after each of its own dialogs
// (the question before a long search included); such activations are not
// the user's and must not start the search again, or the question would
// follow itself for ever. A search that is running never starts a nested one.
namespace vektrano::palomir {

class ActivationGate {
 public:
  // Around every dialog or message box the viewer shows.
  void dialogOpened() { ++dialogs_; }
  void dialogClosed() {
    if (dialogs_ > 0) --dialogs_;
  }
  bool inDialog() const { return dialogs_ > 0; }

  // The window lost the focus: to one of its own dialogs or to another program.
  void deactivated() { lostToOwnDialog_ = dialogs_ > 0; }

  // The window became active; true when this activation runs the search.
  bool activated() {
    if (dialogs_ > 0) return false;  // the box's return is still to come
    const bool own = lostToOwnDialog_;
    lostToOwnDialog_ = false;
    return !own && !busy_;
  }

  // Set while an operation (reading, search, hand-over) runs.
  bool busy() const { return busy_; }
  void setBusy(bool on) { busy_ = on; }

 private:
  int dialogs_ = 0;
  bool lostToOwnDialog_ = false;
  bool busy_ = false;
};

}  // namespace vektrano::palomir
