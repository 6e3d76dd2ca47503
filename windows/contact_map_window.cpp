#include "windows/contact_map_window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "core/base/text.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

using platform::fromQString;
using platform::toQString;

QPointer<TForm10> Form10;

namespace {

WindowPlacement defaults() {
  WindowPlacement p;
  p.top = 1;
  p.left = 1;
  return p;
}

// The path with the extension of its file name replaced (or added).
std::string sPriponou(const std::string& path, const std::string& pripona) {
  const size_t slash = path.find_last_of("/\\");
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return path + pripona;
  return path.substr(0, dot) + pripona;
}

// The picture's name as the page (cp1250) refers to it: its text, or, when
// the code page lacks one of its characters, its bytes percent-encoded,
// which the browser resolves to the same file.
std::string nazevSouboru(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (const auto text = platform::storedPath(name)) return *text;
  return percentEncoded(name, [](unsigned char c) { return c < 0x80 && c != '%'; });
}

}  // namespace

TForm10::TForm10(Form10Hooks hooks, QWidget* parent)
    : ToolWindow(10, PlacementValues::PositionOnly, defaults(), parent, Qt::WindowStaysOnTopHint),
      hooks_(std::move(hooks)) {
  setWindowTitle(toQString("Deník ZR-4   mapa"));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kNebeskaModra);
  setPalette(pal);

  obrazek_ = zakladniMapa();
  mapa = new PictureView(this);
  mapa->setObjectName(QStringLiteral("mapa"));
  mapa->setFixedSize(kSirkaMapy, kVyskaMapy);
  mapa->setImage(obrazek_);

  auto button = [this](const char* name, const char* caption) {
    auto* b = new QPushButton(toQString(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setFixedHeight(24);
    return b;
  };
  BitBtn1 = button("BitBtn1", "Uložit *.BMP");
  BitBtn2 = button("BitBtn2", "Uložit *.JPG");
  BitBtn3 = button("BitBtn3", "&Legendu doplnit");
  BitBtn4 = button("BitBtn4", "Uložit JPG+HTM");
  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
  connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
  connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
  connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);

  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(1, 1, 1, 1);
  for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3, BitBtn4}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 1, 0);
  layout->setSpacing(0);
  layout->addWidget(mapa, 0, Qt::AlignLeft | Qt::AlignTop);
  layout->addLayout(buttons);
  layout->addWidget(StatusBar1);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // Key preview: the window sees every key of its controls first.
  installEventFilter(this);
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  setMouseTracking(true);
  mapa->setMouseTracking(true);
}

TForm10::~TForm10() = default;

QPushButton* TForm10::tlacitko(int n) const {
  QPushButton* all[] = {BitBtn1, BitBtn2, BitBtn3, BitBtn4};
  return n >= 1 && n <= 4 ? all[n - 1] : nullptr;
}

std::string TForm10::status() const { return fromQString(StatusBar1->currentMessage()); }
void TForm10::setStatus(const std::string& text) { StatusBar1->showMessage(toQString(text)); }

void TForm10::ukaz() { mapa->setImage(obrazek_); }

void TForm10::zobrazMapu(const MapaSpojeni& m) {
  // Every generation starts from the base picture, never over the last one.
  obrazek_ = zakladniMapa();
  nakresli(obrazek_, m.kresba);
  html_ = m.html;
  BitBtn3->setEnabled(true);
  BitBtn3->show();
  if (m.neplatneLokatory) setStatus(kNeplatneLokatory);
  ukaz();
}

void TForm10::BitBtn1Click() { ulozit(FormatObrazku::Bmp, false); }
void TForm10::BitBtn2Click() { ulozit(FormatObrazku::Jpeg, false); }
void TForm10::BitBtn4Click() { ulozit(FormatObrazku::Jpeg, true); }

void TForm10::BitBtn3Click() {
  BitBtn3->setEnabled(false);
  BitBtn3->hide();
  setStatus(" ");
  if (!hooks_.log) return;
  nakresli(obrazek_, legendaMapy(*hooks_.log, hooks_.vychoziBod && hooks_.vychoziBod()));
  ukaz();
}

void TForm10::ulozit(FormatObrazku format, bool stranka) {
  const bool bmp = format == FormatObrazku::Bmp;
  DialogUlozeni d;
  d.slozka = hooks_.dataFolder ? hooks_.dataFolder() : "";
  d.nazev = "Mapa_" + (hooks_.log ? hooks_.log->lokportable : std::string());
  d.pripona = bmp ? "bmp" : "jpg";
  d.filtr = bmp ? "BitMap|*.bmp" : "JPG obrázek|*.jpg";
  const auto path = zvolUlozeni(this, d);
  if (!path || !ulozObrazek(obrazek_, *path, format)) return;
  if (!stranka) {
    otevriSoubor(*path);
    return;
  }
  const std::string htm = sPriponou(*path, ".htm");
  if (!platform::writeFileAtomic(htm, textStrankyMapy(html_, nazevSouboru(*path)))) {
    platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(htm),
                          platform::MessageKind::Error);
    return;
  }
  otevriSoubor(htm);
}

void TForm10::doVstupu() {
  if (!hooks_.vstup) return;
  hooks_.vstup->window()->activateWindow();
  hooks_.vstup->setFocus();
  hooks_.vstup->end(false);
}

bool TForm10::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* k = static_cast<QKeyEvent*>(event);
      if (k->key() == Qt::Key_F8 && k->modifiers() == Qt::NoModifier) {
        doVstupu();
        close();
        return true;
      }
      break;
    }
    case QEvent::KeyRelease: {
      auto* k = static_cast<QKeyEvent*>(event);
      if (k->key() == Qt::Key_Escape && !k->isAutoRepeat()) {
        doVstupu();
        close();
        return true;
      }
      break;
    }
    case QEvent::Enter:
      if (watched == BitBtn1) setStatus("  Nabídne uložení mapy ve formátu BMP.");
      if (watched == BitBtn2) setStatus("  Nabídne uložení mapy ve formátu JPG.");
      if (watched == BitBtn3) setStatus("  Dopíše do mapy některé údaje ...");
      if (watched == BitBtn4) setStatus("  Nabídne uložení mapy ve formátu pro Internet.");
      break;
    case QEvent::MouseMove:
      if (watched == this || watched == mapa) setStatus("  ");
      break;
    default:
      break;
  }
  return ToolWindow::eventFilter(watched, event);
}

TForm10* openForm10(Form10Hooks hooks, QWidget* parent) {
  return openToolWindow(Form10, std::move(hooks), parent);
}

TForm10* Mapaspojen1Click(const VstupMapy& typed, const std::string& outlinePath, Form10Hooks hooks,
                          std::function<void(bool)> recalculated, QWidget* parent) {
  if (!hooks.log) return Form10.data();
  const PripravaMapy p = pripravMapuSpojeni(*hooks.log, outlinePath, typed);
  if (recalculated) recalculated(p.denikZmenen);
  if (!p.mapa) return Form10.data();
  TForm10* w = openForm10(std::move(hooks), parent);
  w->zobrazMapu(*p.mapa);
  return w;
}

TForm10* mapaSpojeniKlavesou(const VstupMapy& typed, const std::string& outlinePath,
                             Form10Hooks hooks, std::function<void(bool)> recalculated,
                             QWidget* parent) {
  openForm10(hooks, parent);
  QCoreApplication::processEvents();
  TForm10* w = Mapaspojen1Click(typed, outlinePath, std::move(hooks), std::move(recalculated), parent);
  if (w) w->setStatus(" Hotovo ...");
  return w;
}

}  // namespace vektrano
