#include "windows/expedition_description_window.h"

#include <QClipboard>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "platform/cp1250.h"
#include "platform/datetime.h"
#include "platform/paths.h"

namespace vektrano {

using platform::fromQString;
using platform::toQString;

QPointer<TForm11> Form11;

namespace {

const char* const kPopisky[kPopisFields] = {
    "Název expedice",       "QTH (název místa)",    "Lokátor",
    "Nadmořská výška",      "Datum a čas začátku ", "Datum a čas ukončení",
    "Volačky operátorů",    "Volačky zapisovatelů", "TRX",
    "Antény",               "Druh vysílání",        "Rozsah frekvencí",
    "Poznámka "};

const QColor kSkyBlue(166, 202, 240);
const QColor kLightYellow(255, 255, 204);

WindowPlacement defaultPlacement() {
  WindowPlacement p;
  p.top = 1;
  p.left = 1;
  return p;
}

}  // namespace

void DescriptionEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  QLineEdit::mouseDoubleClickEvent(event);
  emit doubleClicked();
}

TForm11::TForm11(LogDocument& log, std::string dataFolder, Form11Changed changed, QWidget* parent)
    : ToolWindow(11, PlacementValues::PositionOnly, defaultPlacement(), parent,
                 Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      log_(log),
      dataFolder_(std::move(dataFolder)),
      changed_(std::move(changed)) {
  setWindowTitle(toQString("Deník ZR4 - údaje o expedici"));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kSkyBlue);
  setPalette(pal);

  auto* grid = new QGridLayout;
  for (int i = 0; i < kPopisFields; ++i) {
    auto* label = new QLabel(toQString(kPopisky[i]), this);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    QPalette lp = label->palette();
    lp.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(lp);
    auto* e = new DescriptionEdit(this);
    e->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
    e->setMinimumWidth(420);
    label->setBuddy(e);
    edits_[static_cast<size_t>(i)] = e;
    grid->addWidget(label, i, 0);
    grid->addWidget(e, i, 1);
    connect(e, &QLineEdit::textChanged, this, [this, i] { EditChange(i); });
  }
  for (int i : {kPopisZacatek, kPopisKonec}) {
    DescriptionEdit* e = edit(i);
    QPalette ep = e->palette();
    ep.setColor(QPalette::Base, kLightYellow);
    e->setPalette(ep);
    e->setToolTip(
        toQString("Dvojklik na tento řádek provede vložení aktuálního datunu a času ..."));
    connect(e, &DescriptionEdit::doubleClicked, this, [this, i] { EditDblClick(i); });
  }

  BitBtn2 = new QPushButton(toQString("&Hotovo"), this);
  BitBtn1 = new QPushButton(toQString("Doplnit čas začátku a konce vysílání z deníku"), this);
  connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BitBtn1);
  buttons->addStretch(1);
  buttons->addWidget(BitBtn2);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setSizeGripEnabled(false);
  StatusBar1->addWidget(new QLabel(toQString(
      "Upozornění: znak středník bude nahrazen čárkou, dvojklik na žlutých polích doplní "
      "aktuální datum a čas ...")));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->addWidget(StatusBar1);

  FormCreate();
  setFixedSize(sizeHint());
}

void TForm11::FormCreate() {
  const Popis p =
      naplnPopis(log_, predavaciSoubor(platform::programFolder()), platform::now());
  for (int i = 0; i < kPopisFields; ++i) edit(i)->setText(toQString(p[static_cast<size_t>(i)]));
  BitBtn1->setEnabled(log_.contactCount() > 0);
}

Popis TForm11::pole() const {
  Popis p;
  for (int i = 0; i < kPopisFields; ++i)
    p[static_cast<size_t>(i)] = fromQString(edits_[static_cast<size_t>(i)]->text());
  return p;
}

void TForm11::EditChange(int index) {
  DescriptionEdit* e = edit(index);
  if (const auto changed = upravaPole(index, fromQString(e->text()), log_.klavesnice)) {
    e->setText(toQString(*changed));  // runs this handler once more, without a change
    e->setCursorPosition(e->text().size());
  }
}

void TForm11::EditDblClick(int index) {
  DescriptionEdit* e = edit(index);
  if (e->hasSelectedText())
    if (QClipboard* c = QGuiApplication::clipboard()) c->setText(e->selectedText());
  e->setText(toQString(aktualniDatumCas(platform::now())));
}

void TForm11::BitBtn1Click() {
  std::string zacatek = fromQString(edit(kPopisZacatek)->text());
  std::string konec = fromQString(edit(kPopisKonec)->text());
  if (!doplnCasyZdeniku(log_, zacatek, konec)) return;
  edit(kPopisZacatek)->setText(toQString(zacatek));
  edit(kPopisKonec)->setText(toQString(konec));
}

void TForm11::BitBtn2Click() {
  const VysledekPotvrzeni v = potvrdPopis(log_, pole(), dataFolder_);
  switch (v.vysledek) {
    case Potvrzeni::Chybi:
      // The message box took the activation; its return must not move the
      // focus back to the first edit.
      pendingFocus_ = v.fokus;
      focusEdit(v.fokus);
      return;
    case Potvrzeni::ChybaZapisu:
      return;  // the writer's message was shown; the description can be mended
    case Potvrzeni::Ulozeno:
      if (changed_) changed_(v.memo1);
      close();
      return;
  }
}

void TForm11::focusEdit(int index) {
  DescriptionEdit* e = edit(index);
  e->setFocus();
  e->setCursorPosition(e->text().size());
}

void TForm11::keyPressEvent(QKeyEvent* event) {
  // Without a frame there is no other way out.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  ToolWindow::keyPressEvent(event);
}

void TForm11::changeEvent(QEvent* event) {
  ToolWindow::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !edits_[0]) return;
  if (pendingFocus_ >= 0) {
    focusEdit(pendingFocus_);
    pendingFocus_ = -1;
  } else {
    edit(0)->setFocus();
  }
}

TForm11* openForm11(LogDocument& log, const std::string& dataFolder, Form11Changed changed,
                    QWidget* parent) {
  return openToolWindow(Form11, log, dataFolder, std::move(changed), parent);
}

}  // namespace vektrano
