#include "app/entry_adapter.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>

#include "core/log/log_statistics.h"
#include "platform/cp1250.h"

namespace vektrano {
namespace {

int pointSizeOr(const QFont& f, int fallback) {
  return f.pointSize() > 0 ? f.pointSize() : fallback;
}

TextWidth measureIn(const QFont& base) {
  return [base](const std::string& text, int size, bool bold) {
    QFont f = base;
    f.setPointSize(std::max(1, size));
    f.setBold(bold);
    return QFontMetrics(f).horizontalAdvance(platform::toQString(text));
  };
}

void setTextColour(QWidget* w, const QColor& c) {
  if (!w || !c.isValid()) return;
  // A new palette restyles the widget: only when the colour is another.
  const QPalette& now = w->palette();
  if (now.color(QPalette::Active, QPalette::WindowText) == c &&
      now.color(QPalette::Inactive, QPalette::WindowText) == c &&
      now.color(QPalette::Disabled, QPalette::WindowText) == c)
    return;
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, c);
  w->setPalette(p);
}

// Clears a flag when the handler ends, however it ends.
class Busy {
 public:
  explicit Busy(bool& flag) : flag_(flag) { flag_ = true; }
  ~Busy() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

// ---------------------------------------------------------------- AzimutChart

AzimutChart::AzimutChart(QWidget* parent) : QWidget(parent) {}

void AzimutChart::setAzimut(std::optional<int> azimut) {
  if (azimut == azimut_) return;
  azimut_ = azimut;
  update();
}

QString AzimutChart::title() const {
  return azimut_ ? platform::toQString(std::to_string(*azimut_) + " stup.")
                 : platform::toQString("Azimut");
}

void AzimutChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  // The chart keeps its own colours, which the scheme does not touch: on
  // the window's colour its title would vanish in the dark templates.
  const QPalette own = QApplication::palette(this);
  p.fillRect(rect(), own.window());
  p.setPen(own.color(QPalette::WindowText));
  QFont f = font();
  f.setPointSize(7);
  p.setFont(f);
  const int titleHeight = QFontMetrics(f).height();
  p.drawText(QRect(0, 0, width(), titleHeight), Qt::AlignCenter, title());
  if (!azimut_) return;

  const int side = std::max(0, std::min(width(), height() - titleHeight) - 4);
  const QRect pie((width() - side) / 2, titleHeight + (height() - titleHeight - side) / 2, side,
                  side);
  // Qt angles run counter-clockwise from 3 o'clock in 1/16 degree. Yellow
  // from north counter-clockwise, so red fills north clockwise to the bearing.
  const int az = std::clamp(*azimut_, 0, 360);
  const int north = 90 * 16;
  p.setPen(Qt::black);
  p.setBrush(Qt::yellow);
  p.drawPie(pie, north, (360 - az) * 16);
  p.setBrush(Qt::red);
  p.drawPie(pie, north + (360 - az) * 16, az * 16);
}

// ---------------------------------------------------------------- EntryAdapter

// The physical key where the platform says which it is (a shifted release
// may carry another key code than its press), else the key code.
std::int64_t EntryAdapter::keyId(const QKeyEvent& e) {
  if (e.nativeScanCode() != 0) return (std::int64_t{1} << 32) | e.nativeScanCode();
  return e.key();
}

EntryAdapter::EntryAdapter(const EntryWidgets& w, LogDocument& log, EntryHooks hooks,
                           QObject* parent)
    : QObject(parent), w_(w), vstup_(w.vstup), log_(log), hooks_(std::move(hooks)) {
  if (vstup_) {
    vstup_->installEventFilter(this);
    connect(vstup_, &QLineEdit::textChanged, this, [this] { RovnejVstup(); });
  }
  if (w_.Label1) w_.Label1->installEventFilter(this);
}

EntryAdapter::~EntryAdapter() {
  if (vstup_) vstup_->removeEventFilter(this);
}

void EntryAdapter::setBarvaLabel1(const QColor& colour) {
  barvaLabel1_ = colour;
  setTextColour(w_.Label1, colour);
  setTextColour(w_.volackalabel, colour);
}

EntryKeyEvent EntryAdapter::toEntryKey(const QKeyEvent& e) {
  EntryKeyEvent k;
  const Qt::KeyboardModifiers m = e.modifiers();
  k.shift = m & Qt::ShiftModifier;
  k.ctrl = m & Qt::ControlModifier;
  k.alt = m & Qt::AltModifier;
  switch (e.key()) {
    case Qt::Key_Space: k.key = EntryKey::Space; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: k.key = EntryKey::Enter; break;
    case Qt::Key_Backspace: k.key = EntryKey::Backspace; break;
    case Qt::Key_Delete: k.key = EntryKey::Delete; break;
    case Qt::Key_Escape: k.key = EntryKey::Escape; break;
    case Qt::Key_PageUp: k.key = EntryKey::PageUp; break;
    case Qt::Key_PageDown: k.key = EntryKey::PageDown; break;
    case Qt::Key_Home: k.key = EntryKey::Home; break;
    case Qt::Key_End: k.key = EntryKey::End; break;
    case Qt::Key_Left: k.key = EntryKey::Left; break;
    case Qt::Key_Right: k.key = EntryKey::Right; break;
    case Qt::Key_Up: k.key = EntryKey::Up; break;
    case Qt::Key_Down: k.key = EntryKey::Down; break;
    case Qt::Key_F2: k.key = EntryKey::F2; break;
    case Qt::Key_F3: k.key = EntryKey::F3; break;
    case Qt::Key_F4: k.key = EntryKey::F4; break;
    case Qt::Key_F7:
      // The binding of Ctrl+Space that no input method takes.
      if (k.bezModifikatoru()) {
        k.key = EntryKey::Space;
        k.ctrl = true;
      }
      break;
    default: break;
  }
  return k;
}

bool EntryAdapter::eventFilter(QObject* watched, QEvent* event) {
  if (watched == w_.Label1) {
    if (event->type() == QEvent::Resize) RovnejLabel1();
    return false;
  }
  if (watched != vstup_) return false;
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Pressed here, even when a shortcut takes the press: its release is
      // the line's.
      stisknute_.insert(keyId(*static_cast<QKeyEvent*>(event)));
      return false;
    case QEvent::KeyPress: {
      auto* e = static_cast<QKeyEvent*>(event);
      const EntryKeyEvent k = toEntryKey(*e);
      QWidget* focus = QApplication::focusWidget();
      const bool swallowed = vstupKeyDown(k);
      // After the handler, which may move the focus: Esc to the grid and
      // back (still the line's key), F2 into a list (released there).
      if (QApplication::focusWidget() == focus)
        stisknute_.insert(keyId(*e));
      else
        stisknute_.erase(keyId(*e));
      // Ctrl+Space never puts a character into the line; its release acts.
      return swallowed || (k.key == EntryKey::Space && k.ctrl);
    }
    case QEvent::KeyRelease: {
      auto* e = static_cast<QKeyEvent*>(event);
      if (e->isAutoRepeat()) return true;  // the line is parsed on the final release
      // A key pressed in a menu, a dialog or a list that then gave the
      // focus back was theirs: its release must not store or restore.
      if (stisknute_.erase(keyId(*e)) == 0) return true;
      vstupKeyUp(toEntryKey(*e));
      return false;
    }
    case QEvent::FocusOut:
      // What was pressed before the focus left is released elsewhere.
      stisknute_.clear();
      return false;
    case QEvent::Resize:
      RovnejVstup();
      return false;
    default:
      return false;
  }
}

EntryOptions EntryAdapter::entryOptions() const {
  return hooks_.entryOptions ? hooks_.entryOptions() : EntryOptions{};
}

EntryContext EntryAdapter::context() const {
  EntryContext c;
  c.lokportable = log_.lokportable;
  c.NejdelsiKm = log_.NejdelsiKm;
  if (hooks_.completeContext) hooks_.completeContext(c);
  return c;
}

bool EntryAdapter::vstupKeyDown(const EntryKeyEvent& key) {
  if (!vstup_) return false;
  if (busy_) {
    // Inside another handler (a message box of the writer): afterwards.
    QMetaObject::invokeMethod(this, [this, key] { vstupKeyDown(key); }, Qt::QueuedConnection);
    return false;
  }
  Busy busy(busy_);
  const EntryResult r =
      vektrano::vstupKeyDown(platform::fromQString(vstup_->text()), vstup_->cursorPosition(), key,
                             entryOptions(), context(), state_);
  applyLine(r.text, r.caret);
  applyCommon(r);
  return r.keySwallowed;
}

void EntryAdapter::vstupKeyUp(const EntryKeyEvent& key) {
  if (!vstup_) return;
  if (busy_) {
    QMetaObject::invokeMethod(this, [this, key] { vstupKeyUp(key); }, Qt::QueuedConnection);
    return;
  }
  Busy busy(busy_);
  const EntryResult r =
      vektrano::vstupKeyUp(platform::fromQString(vstup_->text()), vstup_->cursorPosition(), key,
                           entryOptions(), context(), state_);
  applyRelease(r);
  applyCommon(r);
  std::vector<ScheduledSearch> searches = r.searches;
  if (r.ulozit && store(r.text)) {
    // The stored row is the only one the typed call sign would find now:
    // the duplicate search runs on the key storing left, finds nothing and
    // closes the list.
    for (ScheduledSearch& s : searches)
      if (s.kind == SearchKind::Duplyo) s.text = state_.parts.KlicDuplicity;
  }
  if (!searches.empty() && hooks_.armSearches) hooks_.armSearches(searches);
}

void EntryAdapter::applyLine(const std::string& text, int caret) {
  const QString q = platform::toQString(text);
  if (vstup_->text() != q) vstup_->setText(q);
  if (vstup_->cursorPosition() != caret) vstup_->setCursorPosition(caret);
}

void EntryAdapter::applyRelease(const EntryResult& r) {
  applyLine(r.text, r.caret);
  if (r.displayUpdated) {
    setTextColour(w_.Label1, barvaLabel1_);
    setTextColour(w_.volackalabel, barvaLabel1_);
    if (w_.Label1) {
      if (r.label1Bold40) {
        QFont f = w_.Label1->font();
        f.setBold(true);
        f.setPointSize(40);
        fitLabel1(r.label1, f);
      } else {
        w_.Label1->setText(platform::toQString(r.label1));
      }
    }
    if (w_.azimut) w_.azimut->setAzimut(r.azimut);
    setPanel(w_.panel2, r.panel2);
    if (r.volackalabel && w_.volackalabel) {
      const TextWidth measure = measureIn(w_.volackalabel->font());
      const QFont& f = w_.volackalabel->font();
      const int size = pointSizeOr(f, 12);
      w_.volackalabel->setText(platform::toQString(orizniNaSirku(
          *r.volackalabel, w_.volackalabel->width(),
          [&](const std::string& t) { return measure(t, size, f.bold()); })));
    }
  }
  if (r.restartBlik && hooks_.restartBlik) hooks_.restartBlik();
  if (r.openMap && hooks_.otevrimapu) hooks_.otevrimapu(*r.openMap);
}

void EntryAdapter::applyCommon(const EntryResult& r) {
  if (r.switchToMestaSvatky && hooks_.RezimMestaSvatky) hooks_.RezimMestaSvatky();
  if (hooks_.applyPanels) hooks_.applyPanels(r.panels);
  if (r.clearPanel1) setPanel(w_.panel1, {});
  if (r.focusGrid) {
    if (hooks_.focusGrid) hooks_.focusGrid();
    vstup_->setFocus();
  }
  if (r.refreshStatistics) prumer();
  if (r.focusList != ListFocus::None && hooks_.focusList) hooks_.focusList(r.focusList);
}

bool EntryAdapter::store(const std::string& line) {
  const StoreOptions o = hooks_.storeOptions ? hooks_.storeOptions() : StoreOptions{};
  const TabulkaReportu& tabulka =
      hooks_.tabulkaReportu ? hooks_.tabulkaReportu() : vychoziTabulkaReportu();
  const platform::DateTime now = hooks_.now ? hooks_.now() : platform::now();
  const StoreResult r = ulozSpojeni(line, o, log_, state_, tabulka, now, hooks_.startform5);
  if (!r.ulozeno) {
    setPanel(w_.panel2, r.panel2);
    return false;
  }
  if (r.switchToVolacky && hooks_.RezimVolacky) hooks_.RezimVolacky();
  if (hooks_.applyPanels) hooks_.applyPanels(r.panels);
  applyLine(r.text, r.caret);
  setPanel(w_.panel1, r.panel1);
  setPanel(w_.panel2, r.panel2);
  if (hooks_.contactStored) hooks_.contactStored(r);
  vstup_->setFocus();
  return true;
}

void EntryAdapter::prumer() {
  vektrano::prumer(log_);
  setPanel(w_.panel2, log_.panel2);
}

void EntryAdapter::setPanel(QLabel* panel, const std::string& text) {
  if (panel) panel->setText(platform::toQString(text));
}

void EntryAdapter::RovnejLabel1() {
  if (w_.Label1) fitLabel1(platform::fromQString(w_.Label1->text()), w_.Label1->font());
}

void EntryAdapter::fitLabel1(const std::string& text, const QFont& font) {
  QLabel* l = w_.Label1;
  // Every key after the locator shows the same distance: measuring it size
  // by size again would shape the text at each of them.
  const LabelFit asked{text, pointSizeOr(font, 40), font.bold()};
  if (!label1Fit_ || label1Fit_->width != l->width() || label1Fit_->font != font ||
      label1Fit_->asked.text != asked.text || label1Fit_->asked.size != asked.size ||
      label1Fit_->asked.bold != asked.bold)
    label1Fit_ = Label1Fit{asked, font, l->width(),
                           vektrano::RovnejLabel1(asked, l->width(), measureIn(font))};
  const LabelFit& fit = label1Fit_->fit;
  QFont fitted = font;
  fitted.setPointSize(fit.size);
  fitted.setBold(fit.bold);
  if (fitted != l->font()) l->setFont(fitted);
  const QString shown = platform::toQString(fit.text);
  if (l->text() != shown) l->setText(shown);
}

void EntryAdapter::RovnejVstup() {
  if (!vstup_) return;
  const QFont font = vstup_->font();
  const int frame = vstup_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, vstup_);
  const QMargins m = vstup_->textMargins();
  // The text area: inside the frame, the margins and the edit's own 2 px.
  const int width = vstup_->width() - 2 * frame - m.left() - m.right() - 4;
  int size = pointSizeOr(font, state_.VelikostPismaVstupu);
  const bool changed = vektrano::RovnejVstup(platform::fromQString(vstup_->text()), width,
                                             measureIn(font), state_, size);
  if (size != font.pointSize()) {
    QFont f = font;
    f.setPointSize(size);
    vstup_->setFont(f);
  }
  if (changed) {
    // Moving the caret away and back scrolls the text into view.
    const int caret = vstup_->cursorPosition();
    vstup_->setCursorPosition(std::min(1, static_cast<int>(vstup_->text().size())));
    vstup_->setCursorPosition(caret);
  }
}

}  // namespace vektrano
