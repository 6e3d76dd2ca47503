// The main window's keys and small control handlers: the window-level keys
// it sees before its controls (key preview), the look-up lists beside the
// entry line, the own locator, the note memo, the clock, the channel and
// the copying to the clipboard with Shift held.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTextCursor>
#include <functional>

#include "app/entry_adapter.h"
#include "app/log_grid_delegate.h"
#include "app/main_window.h"
#include "app/side_list_delegate.h"
#include "core/base/geometry.h"
#include "core/base/text.h"
#include "core/entry/lookup_lists.h"
#include "core/log/log_editing.h"
#include "core/log/recalculation.h"
#include "core/log/take_back.h"
#include "core/log/log_statistics.h"
#include "platform/cp1250.h"
#include "platform/gui/application.h"
#include "windows/calling_sender_window.h"
#include "windows/map_pictures.h"
#include "windows/round_distances_window.h"

namespace vektrano {

namespace {

QString q(const std::string& s) { return platform::toQString(s); }
std::string s8(const QString& s) { return platform::fromQString(s); }

constexpr int kMemo1Max = 999;

// An event filter of its own for one control: the window is also the
// application-wide filter of key preview and would see every event twice.
class ControlFilter : public QObject {
 public:
  ControlFilter(QObject* parent, std::function<bool(QEvent*)> fn)
      : QObject(parent), fn_(std::move(fn)) {}
  bool eventFilter(QObject*, QEvent* event) override { return fn_(event); }

 private:
  std::function<bool(QEvent*)> fn_;
};

void filter(QObject* watched, QObject* owner, std::function<bool(QEvent*)> fn) {
  watched->installEventFilter(new ControlFilter(owner, std::move(fn)));
}

bool jenModifikator(int key) {
  switch (key) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
      return true;
    default:
      return false;
  }
}

bool shiftPress(QEvent* e) {
  return e->type() == QEvent::MouseButtonPress &&
         (static_cast<QMouseEvent*>(e)->modifiers() & Qt::ShiftModifier);
}


}  // namespace

// ------------------------------------------------------------ key preview

void TForm1::installKeyPreview() {
  if (hintFilter_) return;
  qApp->installEventFilter(this);
  hintFilter_ = true;
}

bool TForm1::FormKeyDown(const QKeyEvent& e) {
  const Qt::KeyboardModifiers mods =
      e.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  const int key = e.key();
  auto trigger = [this](const char* name) {
    if (QAction* a = menu_.action(name)) a->trigger();
    return true;
  };
  if (mods == Qt::NoModifier) {
    switch (key) {
      // F9 and F11 go no further either: no control here uses them, and a key
      // passed on would come back to this handler from the control's parent.
      case Qt::Key_F9:
      case Qt::Key_F10:
      case Qt::Key_F11:
        modeVolacky() ? RezimMestaSvatky() : RezimVolacky();
        return true;
      case Qt::Key_F1:
        otevriKolecko();
        return true;
      case Qt::Key_F8:
        mapaSpojeni(true);
        return true;
      case Qt::Key_F12: {
        const std::string lok = entry_ ? entry_->parts().LokatorProtistanice : std::string();
        if (!testlok(lok)) return true;
        otevrimapu(lok, kVolaVstup);
        // The picture, not the locator box: the keys typed on by habit
        // change no locator.
        if (Form13) Form13->obrazek()->setFocus();
        return true;
      }
      default:
        return false;
    }
  }
  if (mods == (Qt::ControlModifier | Qt::ShiftModifier) && key == Qt::Key_F12) {
    NeverejneFunkce();
    return true;
  }
  if (mods != Qt::ControlModifier) return false;
  switch (key) {
    case Qt::Key_F1:
      setTick("automatkolecko", !ticked("automatkolecko"));
      if (ticked("automatkolecko")) {
        otevriKolecko();
      } else {
        activateWindow();
        if (Form5 && Form5->isVisible()) releaseForm5();
      }
      return true;
    case Qt::Key_F8:
      VratPosledniSpojeni();
      return true;
    case Qt::Key_A: return trigger("ArchivQSO1");
    case Qt::Key_D:
      openForm17(this);
      return true;
    case Qt::Key_E: return trigger("Popisexpedice1");
    case Qt::Key_I: return trigger("Existujenovverze1");
    case Qt::Key_N: return trigger("NovyDenik");
    case Qt::Key_O: return trigger("NactiDataQVL");
    case Qt::Key_Q: return trigger("Nastavvechnyhodnotyjakopoinstalaciprogramu1");
    case Qt::Key_R: return trigger("Zobrazseznamavizovanchportejbl1");
    case Qt::Key_S: return trigger("Dnesmsvtek1");
    case Qt::Key_T: return trigger("iskDenku2");
    case Qt::Key_U: return trigger("UlozJakoQVL");
    case Qt::Key_Y:
      StatusBar1DblClick();
      return true;
    case Qt::Key_Z:
      vektrano::prumer(log_);
      setStatusPanel(2, log_.panel2);
      StatusBar1DblClick();
      return true;
    default:
      return false;
  }
}

// --------------------------------------------------------------- take-back

void TForm1::VratPosledniSpojeni() {
  // Only the grid changes: the log file and the crash backup keep the
  // contact until the next one is stored.
  const std::optional<std::string> text = vektrano::VratPosledniSpojeni(log_);
  if (!text) return;
  refreshDenik();
  cisspoj->setText(q(log_.cisspoj));
  setStatusPanel(2, log_.panel2);
  vstup->setText(q(*text));
  focusVstup();
}

// -------------------------------------------------------- look-up lists

void TForm1::wvolackyKeyDown(QKeyEvent& event, bool& consumed) {
  seznamKeyDown(wvolacky, event, consumed);
}

void TForm1::wmestacentrKeyDown(QKeyEvent& event, bool& consumed) {
  seznamKeyDown(wmestacentr, event, consumed);
}

void TForm1::seznamKeyDown(SideList* list, QKeyEvent& event, bool& consumed) {
  const bool volacky = list == wvolacky;
  if (volacky)
    setStatusPanel(2, std::to_string(list->currentRow()) + " / " + std::to_string(list->count()));
  consumed = false;
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return;
  switch (event.key()) {
    case Qt::Key_F2:
    case Qt::Key_F3:
    case Qt::Key_F4: {
      consumed = true;
      const int next = DalsiRadekSeznamu(list->currentRow(), list->count(),
                                         [list](int i) { return list->lines().line(i); });
      if (next >= 0) list->setCurrentRow(next);
      return;
    }
    case Qt::Key_Space:
      consumed = true;
      seznamMezernik(list);
      return;
    case Qt::Key_Escape:
      if (!volacky) return;
      [[fallthrough]];
    case Qt::Key_F5:
    case Qt::Key_F6:
      consumed = true;
      focusVstup();
      return;
    default:
      return;
  }
}

void TForm1::seznamMezernik(SideList* list) {
  const int row = list->currentRow();
  if (row < 0 || row >= list->count() || !entry_) return;
  const std::string line = list->line(row);
  const EntryParts& typed = entry_->parts();
  PosledniKlice& klice = entry_->state().klice;
  std::string text;
  if (list == wvolacky) {
    klice = PosledniKlice{};
    text = TextZVolacky(typed, line);
  } else {
    klice.mesta = klice.mista = "q";
    text = TextZMista(typed, line);
  }
  vstup->setText(q(text));
  focusVstup();
  // The list took the Space, so its release never reaches the line: the
  // line parses what it was given as after a Space of its own.
  const QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  entry_->vstupKeyUp(EntryAdapter::toEntryKey(release));
}

void TForm1::seznamEnter(SideList* list) {
  setStatusPanel(1, "Výběr mezerníkem [SPACE]");
  if (list->count() > 3)
    setStatusPanel(2, "Pohyb v seznamu [F2], [F3], [F4] nebo šipkama nahoru a dolů");
}

void TForm1::omezVyber(SideList* list) {
  const int row = list->currentRow();
  const int kept = OmezVyberSeznamu(row, list->count());
  if (kept != row) list->setCurrentRow(kept);
  list->viewport()->update();
}

// ------------------------------------------------------------ own locator

void TForm1::lokportableChange(const QString& typed) {
  std::string text = s8(typed);
  const std::string converted = prevod(text, log_.klavesnice);
  if (converted != text) {
    const int caret = lokportable->cursorPosition();
    lokportable->setText(q(converted));
    lokportable->setCursorPosition(caret);
    text = converted;
  }
  lokportable->setFocus();
  lokportable->end(false);
  const std::string& lok = entry_ ? entry_->parts().LokatorProtistanice : std::string();
  if (!lok.empty()) Label1->setText(QString::number(vypocet(text, lok)));
  azimut->setAzimut(std::nullopt);

  // Only a valid own locator reaches the log: the edit shows any other text
  // as wrong and the log keeps its last valid one.
  const bool valid = testlok(text);
  QFont f = lokportable->font();
  f.setItalic(!valid);
  lokportable->setFont(f);
  QPalette p = lokportable->palette();
  p.setColor(QPalette::Base, valid ? toQColor(settings_.BPOV) : QColor(255, 0, 0));
  lokportable->setPalette(p);
  if (!valid || !log_.nacteno || text == log_.lokportable) return;
  log_.lokportable = text;
  if (log_.contactCount() > 0) {
    PrepocetDeniku(log_);
    poUprave(true);
    refreshDenik();
  }
}

// ------------------------------------------------------------- note memo

void TForm1::Memo1Change() {
  int length = static_cast<int>(Memo1->toPlainText().size());
  if (length > kMemo1Max) {
    // At most 999 characters: what goes beyond is not taken.
    QTextCursor c = Memo1->textCursor();
    const int at = std::min(c.position(), kMemo1Max);
    Memo1->setPlainText(Memo1->toPlainText().left(kMemo1Max));
    c = Memo1->textCursor();
    c.setPosition(at);
    Memo1->setTextCursor(c);
    return;  // the change handler ran again for the cut text
  }
  setStatusPanel(1, "Ještě je možno vložit " + std::to_string(kMemo1Max - length) + " znaků.");
  if (length == kMemo1Max)
    setStatusPanel(2, "Víc znaků už nevložíš, je třeba nějaké znaky smazat ...");
  else if (length > 900)
    setStatusPanel(2, "Počet znaků popisu se blíží maximu 999 znaků");
  else
    setStatusPanel(2, " :-) ");
}

// ---------------------------------------------------------- the controls

void TForm1::connectControls() {
  installKeyPreview();

  // The look-up lists.
  for (SideList* list : {wvolacky, wmestacentr}) {
    auto* d = new SideListDelegate(list);
    list->setItemDelegate(d);
    filter(list, this, [this, list](QEvent* e) {
      switch (e->type()) {
        case QEvent::KeyPress: {
          bool consumed = false;
          seznamKeyDown(list, *static_cast<QKeyEvent*>(e), consumed);
          return consumed;
        }
        case QEvent::KeyRelease:
          omezVyber(list);
          return false;
        case QEvent::FocusIn:
          seznamEnter(list);
          return false;
        default:
          return false;
      }
    });
    filter(list->viewport(), this, [this, list](QEvent* e) {
      if (e->type() == QEvent::MouseButtonPress) {
        const auto* m = static_cast<QMouseEvent*>(e);
        const int row = list->rowAt(m->position().toPoint());
        if (row >= 0) {
          list->setCurrentRow(row);
          if (m->modifiers() & Qt::ShiftModifier) QGuiApplication::clipboard()->setText(list->text(row));
        }
        omezVyber(list);
        return true;
      }
      if (e->type() == QEvent::MouseButtonDblClick) {
        const auto* m = static_cast<QMouseEvent*>(e);
        const int row = list->rowAt(m->position().toPoint());
        if (row >= 0) list->setCurrentRow(row);
        omezVyber(list);
        // As a Space typed in the list: the press takes the line into the
        // entry line, the release reaches the entry line, which reads it.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(list, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        if (QWidget* w = QApplication::focusWidget()) QApplication::sendEvent(w, &release);
        return true;
      }
      return false;
    });
  }
  const auto paintSideLists = [this] {
    for (SideList* list : {wvolacky, wmestacentr})
      if (auto* d = dynamic_cast<SideListDelegate*>(list->itemDelegate())) {
        d->setColours(static_cast<TColor>(settings_.BPOV), static_cast<TColor>(settings_.BPVR),
                      static_cast<TColor>(settings_.BNJS));
        d->setFontFactor(settings_.Pismo);
        list->viewport()->update();
      }
  };
  paintSideLists();
  for (const char* name : {"Nejmen1", "Stedn1", "Nejvt1", "Nastavvechnyhodnotyjakopoinstalaciprogramu1"})
    if (QAction* a = menu_.action(name)) connect(a, &QAction::triggered, this, paintSideLists);
  if (QMenu* barvy = menu_.menu("Barvy1"))
    connect(barvy, &QMenu::triggered, this, [paintSideLists](QAction*) { paintSideLists(); });

  // The towns of the typed locator: a click opens the map of that locator.
  filter(SeznamMest->viewport(), this, [this](QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease && SeznamMest->count() > 1) {
      const std::string& first = SeznamMest->line(0);
      if (first.size() > 1) otevrimapu(first.substr(1, 6), 1);
    }
    return false;
  });
  filter(wduplicity->viewport(), this, [this](QEvent* e) {
    if (shiftPress(e)) {
      const int row = wduplicity->rowAt(static_cast<QMouseEvent*>(e)->position().toPoint());
      if (row >= 0) QGuiApplication::clipboard()->setText(wduplicity->text(row));
    }
    return false;
  });

  // The entry line.
  connect(vstup, &QLineEdit::textChanged, this, [this] {
    if (indexes_ && indexes_->IndexaceBezi() && !vstup->text().isEmpty()) vstup->clear();
  });
  filter(vstup, this, [this](QEvent* e) {
    if (e->type() == QEvent::FocusIn) setWindowTitle(q(platform::applicationTitle()));
    if (shiftPress(e) && vstup->hasSelectedText())
      QGuiApplication::clipboard()->setText(vstup->selectedText());
    return false;
  });

  // The own locator: writable only while the log has no contact, unless
  // the operator double-clicks it.
  filter(lokportable, this, [this](QEvent* e) {
    if (e->type() == QEvent::FocusIn) lokportable->setReadOnly(log_.contactCount() > 0);
    if (e->type() == QEvent::MouseButtonDblClick) lokportable->setReadOnly(false);
    return false;
  });
  connect(lokportable, &QLineEdit::textEdited, this, [this](const QString& t) { lokportableChange(t); });

  // The note memo.
  connect(Memo1, &QPlainTextEdit::textChanged, this, [this] { Memo1Change(); });
  filter(Memo1->viewport(), this, [this](QEvent* e) {
    if (shiftPress(e)) QGuiApplication::clipboard()->setText(Memo1->toPlainText());
    if (e->type() == QEvent::MouseButtonDblClick) {
      Popisexpedice();
      return true;
    }
    return false;
  });

  // The announced portable stations hide when they lose the focus; a key
  // sends the operator back to the entry line. A modifier alone is no key:
  // the Ctrl of the Ctrl+R that closes the list would hide it, and the R
  // would show it again.
  filter(novrportable, this, [this](QEvent* e) {
    if (e->type() == QEvent::FocusOut) schovejPortejbly();
    if (e->type() == QEvent::KeyPress) {
      if (jenModifikator(static_cast<QKeyEvent*>(e)->key())) return false;
      focusVstup();
      return true;
    }
    return false;
  });

  filter(cas, this, [this](QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) casDblClick();
    return false;
  });
  filter(statusBar(), this, [this](QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) StatusBar1DblClick();
    return false;
  });
  for (QLabel* panel : StatusBar1)
    filter(panel, this, [this](QEvent* e) {
      if (e->type() == QEvent::MouseButtonDblClick) StatusBar1DblClick();
      return false;
    });
  filter(kanal, this, [this](QEvent* e) {
    if (e->type() == QEvent::KeyRelease) {
      const int k = static_cast<QKeyEvent*>(e)->key();
      if (k == Qt::Key_Return || k == Qt::Key_Enter) focusVstup();
    }
    return false;
  });
}

}  // namespace vektrano
