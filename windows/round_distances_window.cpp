#include "windows/round_distances_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

#include "core/session/window_placement.h"
#include "platform/cp1250.h"
#include "platform/registry.h"

namespace vektrano {

using platform::fromQString;
using platform::toQString;

QPointer<TForm5> Form5;

namespace {

const WindowPlacement kDefaults{1, 1, 450, 600, false};

// A note keeps CR LF in the settings, the editor has LF.
std::string poznamkaZEditoru(const QString& text) {
  std::string out;
  for (char c : fromQString(text)) {
    if (c == '\n') out += '\r';
    if (c != '\r') out += c;
  }
  return out;
}

QString poznamkaDoEditoru(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  return toQString(out);
}

void nastavVzhled(QLineEdit* e, VzhledLokatoru v) {
  QPalette pal = e->palette();
  const QPalette base = e->parentWidget() ? e->parentWidget()->palette() : QPalette();
  QFont f = e->font();
  f.setBold(false);
  f.setItalic(false);
  // The normal ground is an edit's own, not the window's grey, in which a
  // box looks disabled.
  QColor back = base.color(QPalette::Base), text = base.color(QPalette::Text);
  switch (v) {
    case VzhledLokatoru::Normalni:
      f.setBold(true);
      break;
    case VzhledLokatoru::Chybny:
      f.setItalic(true);
      back = Qt::red;
      break;
    case VzhledLokatoru::Protistanice:
      f.setBold(true);
      back = QColor(224, 240, 240);
      text = Qt::red;
      break;
    case VzhledLokatoru::ChybnaProtistanice:
      f.setItalic(true);
      back = Qt::red;
      text = Qt::white;
      break;
  }
  pal.setColor(QPalette::Base, back);
  pal.setColor(QPalette::Text, text);
  e->setPalette(pal);
  e->setFont(f);
}

}  // namespace

TForm5::TForm5(std::function<KeyboardOptions()> keyboard, QWidget* parent)
    : ToolWindow(5, PlacementValues::PositionOnly, kDefaults, parent, Qt::WindowStaysOnTopHint),
      keyboard_(std::move(keyboard)) {
  setWindowTitle(toQString("Počítání vzdáleností pro účastníky KOLEČKA"));

  const QString labelHint =
      toQString("Vypočítaná vzdálenost, vztaženo k LOKÁTORU PROTISTANICE");
  auto* grid = new QGridLayout;
  for (int box = 0; box < kKoleckoPolicek; ++box) {
    auto* e = new QLineEdit(this);
    e->setMaxLength(kDelkaLokatoru);
    e->setObjectName(QStringLiteral("Edit%1").arg(box + 1));
    e->setToolTip(toQString(box == 0   ? "Zde je uveden TVŮJ LOKÁTOR"
                            : box == 1 ? "Zde je uveden LOKÁTOR PROTISTANICE"
                                       : "Sem zapiš lokátor účastníka kolečka"));
    e->installEventFilter(this);
    connect(e, &QLineEdit::textChanged, this, [this, box] { editChanged(box); });
    edits_[box] = e;
  }
  for (int r = 0; r < kKoleckoRadku; ++r) {
    auto* l = new QLabel(this);
    l->setObjectName(QStringLiteral("Label%1").arg(r + 1));
    l->setToolTip(labelHint);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->setMinimumWidth(90);
    labels_[r] = l;
  }
  for (int i = 0; i < kKoleckoPoznamek; ++i) {
    auto* m = new QPlainTextEdit(this);
    m->setObjectName(QStringLiteral("Memo%1").arg(i + 1));
    m->setToolTip(toQString(
        "Sem si poznamenej název expedice, případně volačku účastníka kolečka"));
    m->setTabChangesFocus(true);
    m->setFixedHeight(2 * m->fontMetrics().lineSpacing() + 10);
    m->installEventFilter(this);
    connect(m, &QPlainTextEdit::textChanged, this, [this, i] {
      if (!showing_) k_.poznamky[i] = poznamkaZEditoru(memos_[i]->toPlainText());
    });
    memos_[i] = m;
  }

  // Row 1: the own locator, and the counter station's on a panel of its own.
  auto* panel = new QHBoxLayout;
  panel->addWidget(new QLabel(toQString("Protistanice :"), this));
  panel->addWidget(edits_[1]);
  grid->addWidget(new QLabel(toQString("Můj lokátor :"), this), 0, 0);
  grid->addWidget(edits_[0], 0, 1);
  grid->addLayout(panel, 0, 2);
  grid->addWidget(labels_[0], 0, 3);
  for (int r = 1; r < kKoleckoRadku; ++r) {
    grid->addWidget(memos_[r - 1], r, 0, 1, 2);
    grid->addWidget(edits_[r + 1], r, 2);
    grid->addWidget(labels_[r], r, 3);
  }
  grid->setColumnStretch(0, 1);

  status_ = new QLabel(this);
  // The longest messages are wider than the window: they take two lines.
  status_->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch(1);
  layout->addWidget(status_);
  installEventFilter(this);

  nactiKolecko(k_);
  zobraz();

  // The size is kept too, though the window is not resizable.
  QSize screen(1024, 768);
  if (const QScreen* s = QGuiApplication::primaryScreen()) screen = s->geometry().size();
  const WindowPlacement p =
      readPlacement(settingsKey(), kDefaults, PlacementValues::Full, screen.width(), screen.height());
  setFixedSize(p.width, p.height);
}

TForm5::~TForm5() = default;

std::string TForm5::status() const { return fromQString(status_->text()); }

void TForm5::zobraz() {
  showing_ = true;
  for (int box = 0; box < kKoleckoPolicek; ++box) {
    QLineEdit* e = edits_[box];
    const QString text = toQString(k_.lokatory[box]);
    if (e->text() != text) {
      // The conversion keeps the length, so the caret stays where it was.
      const int caret = e->cursorPosition();
      e->setText(text);
      e->setCursorPosition(std::min(caret, static_cast<int>(text.size())));
    }
    nastavVzhled(e, k_.vzhled[box]);
  }
  for (int r = 0; r < kKoleckoRadku; ++r) labels_[r]->setText(toQString(k_.vzdalenosti[r]));
  for (int i = 0; i < kKoleckoPoznamek; ++i) {
    const QString text = poznamkaDoEditoru(k_.poznamky[i]);
    if (memos_[i]->toPlainText() != text) memos_[i]->setPlainText(text);
  }
  status_->setText(toQString(k_.status));
  showing_ = false;
}

void TForm5::editChanged(int box) {
  if (showing_) return;
  zmenaLokatoru(k_, box, fromQString(edits_[box]->text()), keyboard_ ? keyboard_() : KeyboardOptions{});
  zobraz();
}

void TForm5::prepocty() {
  vektrano::prepocty(k_);
  zobraz();
}

void TForm5::startform5(const std::string& own, const std::string& counter) {
  vektrano::startform5(k_, own, counter, keyboard_ ? keyboard_() : KeyboardOptions{});
  zobraz();
}

void TForm5::UlozDoRegistru() {
  ulozKolecko(k_, settingsKey());
  if (auto key = platform::RegistryKey::open(settingsKey(), true)) {
    key->writeInteger("Height", height());
    key->writeInteger("Width", width());
    key->flush();
  }
}

bool TForm5::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(event);
    if (k->key() == Qt::Key_F1 && k->modifiers() == Qt::NoModifier) {
      close();
      return true;
    }
  } else if (event->type() == QEvent::KeyRelease) {
    auto* k = static_cast<QKeyEvent*>(event);
    if (k->key() == Qt::Key_Escape && !k->isAutoRepeat()) {
      close();
      return true;
    }
  }
  return ToolWindow::eventFilter(watched, event);
}

void TForm5::changeEvent(QEvent* event) {
  ToolWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) edits_[1]->setFocus();
}

void TForm5::closeEvent(QCloseEvent* event) {
  // The base writes Top and Left; Height, Width and the rows are this
  // window's own values under the same key.
  ToolWindow::closeEvent(event);
  if (event->isAccepted()) UlozDoRegistru();
}

TForm5* openForm5(const std::string& own, const std::string& counter,
                  std::function<KeyboardOptions()> keyboard, QWidget* parent) {
  TForm5* w = openToolWindow(Form5, std::move(keyboard), parent);
  w->startform5(own, counter);
  return w;
}

void releaseForm5() {
  if (Form5 && Form5->isVisible()) Form5->close();
}

}  // namespace vektrano
