#include "windows/locator_map_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "core/log/log_statistics.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/registry.h"
#include "windows/map_pictures.h"

namespace vektrano {

using platform::fromQString;
using platform::toQString;

QPointer<TForm13> Form13;

namespace {

const WindowPlacement kDefaults{1, 1, 520, 760, false};

// What outlives the window: the caller code of the last showing, its
// hand-back target and the neighbours of the locator shown last.
struct StavMapy {
  int kod = kVolaNikdo;
  int kodCile = -1;  // the caller code cil belongs to
  CilPredani cil;
  std::optional<Sousede> sousede;
};

StavMapy& stav() {
  static StavMapy s;
  return s;
}

const char* const kNazvyVoleb[] = {"CheckBox1", "CheckBox2", "CheckBox3", "BoxPopis"};

}  // namespace

QImage zastupnyObrazek(const std::string& locator, const std::string& path) {
  QImage img(500, 400, QImage::Format_RGB32);
  img.fill(QColor(255, 251, 240));
  QPainter p(&img);
  p.setPen(Qt::red);
  p.setFont(arialPisma(77, true));
  pisText(p, 10, 100, toQString(locator));
  p.setFont(arialPisma(20, true));
  pisText(p, 10, 350, toQString("Neexistuje soubor : "));
  p.setFont(arialPisma(10, true));
  pisText(p, 10, 380, platform::pathToQString(path));
  return img;
}

TForm13::TForm13(Form13Hooks hooks, QWidget* parent)
    : ToolWindow(13, PlacementValues::Full, kDefaults, parent, Qt::WindowStaysOnTopHint),
      hooks_(std::move(hooks)) {
  FormCreate();
}

TForm13::~TForm13() = default;

void TForm13::FormCreate() {
  setWindowTitle(toQString("Mapa příslušející danému lokátoru"));
  setMinimumSize(600, 455);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kNebeskaModra);
  setPalette(pal);

  Image1 = new PictureView(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  connect(Image1, &PictureView::clicked, this, [this] { Edit1->setFocus(); });
  Image1->installEventFilter(this);

  Edit1 = new QLineEdit(toQString("KN09WW"), this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setFont(arialPisma(12, true));
  Edit1->installEventFilter(this);
  connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });

  auto button = [this](const char* name, const char* caption) {
    auto* b = new QPushButton(toQString(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
  };
  Button7 = button("Button7", "Zobrazit !");
  Button1 = button("Button1", "<");
  Button2 = button("Button2", ">");
  Button3 = button("Button3", "^");
  Button4 = button("Button4", "v");
  Button5 = button("Button5", "Použít lokátor");
  Button6 = button("Button6", "Zavřít (F12)");
  for (QPushButton* b : {Button1, Button2, Button3, Button4}) b->setFixedWidth(32);

  Label2 = new QLabel(this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setText(toQString("Vzdálenost\nz lokátoru :\n " + (hooks_.ownLocator ? hooks_.ownLocator() : "")));
  Label1 = new QLabel(toQString(":-)"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(arialPisma(14, true));
  QPalette lp = Label1->palette();
  lp.setColor(QPalette::WindowText, Qt::red);
  Label1->setPalette(lp);

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  connect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });

  auto check = [this](const char* name, const char* caption, const char* hint, bool on) {
    auto* c = new QCheckBox(toQString(caption), this);
    c->setObjectName(QString::fromLatin1(name));
    c->setToolTip(toQString(hint));
    c->setChecked(on);
    return c;
  };
  CheckBox1 = check("CheckBox1", "Proporcionál.",
                    "Proporcionální zobrazení mapy - v odpovídajícím měřítku je vždy zobrazena celá mapa",
                    false);
  CheckBox2 = check("CheckBox2", "Centrovat", "Centrování mapy na střed", false);
  BoxPopis = check("BoxPopis", "Piš Lokátor", "Zobrazování lokátoru na mapě  [ ALT+X ]", true);
  CheckBox3 = check("CheckBox3", "Tučně", "Tloušťka písma lokátoru", true);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);

  auto* sipky = new QGridLayout;
  sipky->addWidget(Button3, 0, 1);
  sipky->addWidget(Button1, 1, 0);
  sipky->addWidget(Button2, 1, 2);
  sipky->addWidget(Button4, 2, 1);
  auto* vpravo = new QVBoxLayout;
  vpravo->addWidget(Edit1);
  vpravo->addWidget(Button7);
  vpravo->addWidget(Label2);
  vpravo->addWidget(Label1);
  vpravo->addLayout(sipky);
  vpravo->addWidget(ListBox1, 1);
  for (QCheckBox* c : {CheckBox1, CheckBox2, BoxPopis, CheckBox3}) vpravo->addWidget(c);
  vpravo->addWidget(Button5);
  vpravo->addWidget(Button6);
  auto* panel = new QWidget(this);
  panel->setLayout(vpravo);
  panel->setFixedWidth(150);
  auto* horni = new QHBoxLayout;
  horni->addWidget(Image1, 1);
  horni->addWidget(panel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(horni, 1);
  layout->addWidget(StatusBar1);

  connect(Button7, &QPushButton::clicked, this, [this] {
    znovu();
    Edit1->setFocus();
  });
  connect(Button1, &QPushButton::clicked, this, [this] { ukazSouseda(&Sousede::zapad); });
  connect(Button2, &QPushButton::clicked, this, [this] { ukazSouseda(&Sousede::vychod); });
  connect(Button3, &QPushButton::clicked, this, [this] { ukazSouseda(&Sousede::sever); });
  connect(Button4, &QPushButton::clicked, this, [this] { ukazSouseda(&Sousede::jih); });
  connect(Button5, &QPushButton::clicked, this, [this] {
    ProvedVysledek(stav().kod);
    close();
  });
  connect(Button6, &QPushButton::clicked, this, [this] { close(); });
  connect(CheckBox1, &QCheckBox::toggled, Image1, &PictureView::setProportional);
  connect(CheckBox2, &QCheckBox::toggled, Image1, &PictureView::setCentered);
  auto popis = [this] {
    CheckBox3->setEnabled(BoxPopis->isChecked());
    if (isVisible()) {
      znovu();
      Edit1->setFocus();
    }
  };
  connect(BoxPopis, &QCheckBox::toggled, this, popis);
  connect(CheckBox3, &QCheckBox::toggled, this, popis);

  // The check boxes in their order; the first one missing ends the reading.
  if (auto key = platform::RegistryKey::open(settingsKey(), false)) {
    QCheckBox* boxes[] = {CheckBox1, CheckBox2, CheckBox3, BoxPopis};
    try {
      for (int i = 0; i < 4; ++i) boxes[i]->setChecked(key->readBool(kNazvyVoleb[i]));
    } catch (const platform::RegistryValueMissing&) {
    }
  }
  CheckBox3->setEnabled(BoxPopis->isChecked());
}

QPushButton* TForm13::tlacitko(int n) const {
  QPushButton* all[] = {Button1, Button2, Button3, Button4, Button5, Button6, Button7};
  return n >= 1 && n <= 7 ? all[n - 1] : nullptr;
}

std::string TForm13::status() const { return fromQString(StatusBar1->currentMessage()); }

std::string TForm13::mapFolder() const { return hooks_.mapFolder ? hooks_.mapFolder() : ""; }
std::string TForm13::photoFolder() const { return hooks_.photoFolder ? hooks_.photoFolder() : ""; }

int TForm13::kodVolajiciho() { return stav().kod; }

void TForm13::ZobrazMapu(const std::string& locator, int caller) {
  stav().kod = caller;
  Button5->setVisible(caller >= 1);
  setWindowTitle(toQString("Mapa příslušející danému lokátoru"));
  Label1->setText(toQString(textVzdalenosti(hooks_.ownLocator ? hooks_.ownLocator() : "", locator)));
  if (locator.size() != 6) {
    platform::showMessage("Lokátor musí být dlouhý 6 znaků ");
    return;
  }
  const std::string path = cestaMapy(mapFolder(), locator);
  const std::optional<std::string> found = najdiMapu(mapFolder(), locator);
  std::optional<QImage> mapa;
  if (found) {
    mapa = nactiJpeg(*found);
    if (!mapa)
      platform::showMessage("Chyba I/O při čtení souboru : " + platform::pathText(*found),
                            platform::MessageKind::Error);
  }
  if (mapa) {
    StatusBar1->showMessage(platform::pathToQString(*found));
    Image1->setImage(*mapa);
    if (BoxPopis->isChecked()) DoplnPopis(locator);
  } else {
    StatusBar1->showMessage(toQString("   Obrázek lokátoru chybí  ...."));
    Image1->setImage(zastupnyObrazek(locator, found.value_or(path)));
  }
  // Shown, not typed: Edit1Change must not show it a second time.
  zobrazuji_ = true;
  Edit1->setText(toQString(locator));
  Edit1->end(false);
  zobrazuji_ = false;
  Edit1->setFocus();
  zjisti(locator);
}

void TForm13::DoplnPopis(const std::string& locator) {
  // A copy of the shown picture; the clipboard is none of this window's business.
  QImage copy = Image1->image().convertToFormat(QImage::Format_RGB32);
  if (BoxPopis->isChecked()) {
    QPainter p(&copy);
    p.setPen(Qt::red);
    p.setFont(arialPisma(40, CheckBox3->isChecked()));
    pisText(p, copy.width() / 2 - 90, copy.height() / 2 - 20, toQString(locator));
  }
  Image1->setImage(copy);
}

void TForm13::zjisti(const std::string& locator) {
  stav().sousede = zjistiSousedy(locator);
  ListBox1->clear();
  for (const Fotografie& f : seznamFotografii(photoFolder(), locator))
    ListBox1->addItem(toQString(f.polozka));
}

void TForm13::ProvedVysledek(int caller) {
  const std::string shown = fromQString(Edit1->text());
  if (caller == kVolaVstup) {
    if (!hooks_.vstup) return;
    hooks_.vstup->setText(toQString(vymenlokator(fromQString(hooks_.vstup->text()),
                                                 hooks_.typedLocator ? hooks_.typedLocator() : "",
                                                 shown)));
    doVstupu();
  } else if (caller > kVolaVstup && caller <= kVolaVolacky) {
    // Only the target given with this caller code, and only while its window lives.
    StavMapy& s = stav();
    if (s.kodCile == caller && s.cil.vlastnik && s.cil.prevezmi) s.cil.prevezmi(shown);
  }
}

void TForm13::Edit1Change() {
  if (zobrazuji_) return;
  const std::string text = fromQString(Edit1->text());
  if (text.size() != 6) return;
  ZobrazMapu(prevod(text, hooks_.keyboard ? hooks_.keyboard() : KeyboardOptions{}), stav().kod);
}

void TForm13::ListBox1Click() {
  QListWidgetItem* item = ListBox1->currentItem();
  if (!item) return;
  setWindowTitle(toQString("Fotografie a obrázky příslušející danému lokátoru"));
  const auto path = najdiFotografii(photoFolder(), fromQString(item->text()));
  if (!path) return;
  const auto foto = nactiJpeg(*path);
  if (!foto) {
    platform::showMessage("Chyba I/O při čtení souboru : " + platform::pathText(*path),
                          platform::MessageKind::Error);
    return;
  }
  Image1->setImage(*foto);
  StatusBar1->showMessage(
      platform::pathToQString(*path) +
      toQString("    [ " + std::to_string(fsize(*path) / 1024) + " Kb. ]"));
  if (foto->width() > Image1->width()) {
    CheckBox1->setChecked(true);
    CheckBox2->setChecked(true);
  }
  Edit1->setFocus();
}

void TForm13::ukazSouseda(const std::string Sousede::*which) {
  if (stav().sousede) ZobrazMapu((*stav().sousede).*which, stav().kod);
  Edit1->setFocus();
}

void TForm13::znovu() { ZobrazMapu(fromQString(Edit1->text()), stav().kod); }

void TForm13::doVstupu() {
  if (!hooks_.vstup) return;
  hooks_.vstup->window()->activateWindow();
  hooks_.vstup->setFocus();
  hooks_.vstup->end(false);
}

bool TForm13::eventFilter(QObject* watched, QEvent* event) {
  // The locator box and the picture (where F12 puts the focus) share the
  // window's keys.
  const bool keys = watched == Edit1 || watched == Image1;
  if (keys && event->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(event);
    // Alt chords are the window's shortcuts (Alt+X, Alt+C), acted on at
    // their release: their letter never goes into the locator. Ctrl+Alt is
    // how some layouts type a character, and goes on.
    const Qt::KeyboardModifiers mods = k->modifiers();
    if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !k->text().isEmpty())
      return true;
    const QString t = k->text();
    if (watched == Edit1 &&
        (t == QLatin1String("-") || t == QLatin1String("/") || t == QLatin1String(";"))) {
      doVstupu();
      close();
      return true;
    }
  } else if (keys && event->type() == QEvent::KeyRelease) {
    auto* k = static_cast<QKeyEvent*>(event);
    if (k->isAutoRepeat()) return ToolWindow::eventFilter(watched, event);
    // The release of the F12 or Enter that opened the window must neither
    // close it nor hand its locator back.
    if (!keyPressedIn(this, k->key())) return ToolWindow::eventFilter(watched, event);
    const bool alt = k->modifiers() & Qt::AltModifier;
    switch (k->key()) {
      case Qt::Key_Up: ukazSouseda(&Sousede::sever); return true;
      case Qt::Key_Down: ukazSouseda(&Sousede::jih); return true;
      case Qt::Key_Left: ukazSouseda(&Sousede::zapad); return true;
      case Qt::Key_Right: ukazSouseda(&Sousede::vychod); return true;
      case Qt::Key_X:
        if (!alt) break;
        BoxPopis->setChecked(!BoxPopis->isChecked());  // shows the locator again
        return true;
      case Qt::Key_C:
        if (!alt) break;
        Edit1->setFocus();
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        ProvedVysledek(stav().kod);
        close();
        return true;
      case Qt::Key_Escape:
      case Qt::Key_F12:
        doVstupu();
        close();
        return true;
      default: break;
    }
  }
  return ToolWindow::eventFilter(watched, event);
}

void TForm13::closeEvent(QCloseEvent* event) {
  ToolWindow::closeEvent(event);
  if (!event->isAccepted()) return;
  if (auto key = platform::RegistryKey::open(settingsKey(), true)) {
    const QCheckBox* boxes[] = {CheckBox1, CheckBox2, CheckBox3, BoxPopis};
    for (int i = 0; i < 4; ++i) key->writeBool(kNazvyVoleb[i], boxes[i]->isChecked());
    key->flush();
  }
  if (hooks_.keyPreview) hooks_.keyPreview(true);
}

TForm13* otevrimapu(const std::string& locator, int caller, const Form13Hooks& hooks,
                    CilPredani cil, QWidget* parent) {
  if (hooks.keyPreview) hooks.keyPreview(false);
  StavMapy& s = stav();
  s.cil = std::move(cil);
  s.kodCile = caller;
  TForm13* w = openToolWindow(Form13, hooks, parent);
  w->ZobrazMapu(locator, caller);
  w->edit()->setFocus();
  return w;
}

}  // namespace vektrano
