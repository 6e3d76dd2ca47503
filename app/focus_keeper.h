#pragma once
// The main window's one rule for commands that hide, disable or rebuild its
// controls (index rebuilds, the memory mode, the database choice, the
// midnight refresh): the control that had the focus before the command gets
// it back when the outermost such command ends, an edit with its caret and
// selection as they were. Meanwhile a focus that Qt would hand on to the
// next control in the chain (the note memo, the towns list) is parked on a
// widget that takes no text, so keys typed during a long rebuild land
// nowhere rather than in a field the operator did not choose.
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace vektrano {

class FocusKeeper {
 public:
  // window: whose focus is kept. sink: a visible widget of it that takes no
  // text. fallback: gets the focus when the window had none yet.
  FocusKeeper(QWidget* window, QWidget* sink, QWidget* fallback);
  ~FocusKeeper();
  FocusKeeper(const FocusKeeper&) = delete;
  FocusKeeper& operator=(const FocusKeeper&) = delete;

  // Nested commands count: only the outermost remembers and gives back.
  void begin();
  void end();
  bool active() const { return depth_ > 0; }

  class Scope {
   public:
    explicit Scope(FocusKeeper& k) : k_(k) { k_.begin(); }
    ~Scope() { k_.end(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    FocusKeeper& k_;
  };

 private:
  void focusChanged(QWidget* old, QWidget* now);
  bool takesFocus(const QWidget* w) const;

  QPointer<QWidget> window_, sink_, fallback_;
  int depth_ = 0;
  QPointer<QWidget> had_;
  // The remembered edit's text, caret and selection anchor.
  QString text_;
  int caret_ = 0;
  int anchor_ = 0;
  bool edit_ = false;
  // The operator moved the focus on from where it was parked.
  bool chosen_ = false;
  QMetaObject::Connection watch_;
};

}  // namespace vektrano
