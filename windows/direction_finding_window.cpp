#include "windows/direction_finding_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "windows/map_pictures.h"

namespace vektrano {

using platform::fromQString;
using platform::toQString;

QPointer<TForm20> Form20;

namespace {

WindowPlacement defaults() {
  WindowPlacement p;
  p.top = 1;
  p.left = 1;
  return p;
}

constexpr TColor kZelena = 0x008000;

}  // namespace

void SmeryTabulka::commitEditing() {
  if (state() != QAbstractItemView::EditingState) return;
  if (QWidget* editor = indexWidget(currentIndex())) {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

TForm20::TForm20(Form20Hooks hooks, QWidget* parent)
    // Not kept above the main window: the operator works both side by side.
    : ToolWindow(20, PlacementValues::PositionOnly, defaults(), parent, Qt::Window),
      hooks_(std::move(hooks)) {
  FormCreate();
}

TForm20::~TForm20() = default;

void TForm20::FormCreate() {
  setWindowTitle(toQString("Zaměřování stanice"));

  StringGrid1 = new SmeryTabulka(kRadkuSmeru, 3, this);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  for (int r = 0; r < kRadkuSmeru; ++r)
    for (int c = 0; c < 3; ++c) StringGrid1->setItem(r, c, new QTableWidgetItem);

  mapa_ = new PictureView(this);
  mapa_->setObjectName(QStringLiteral("mapa"));
  mapa_->setFixedSize(kSirkaMapy, kVyskaMapy);
  connect(mapa_, &PictureView::mouseMoved, this, [this](QPoint p) { mapaMouseMove(p); });
  connect(mapa_, &PictureView::clicked, this, [this] { mapaClick(); });

  Label1 = new QLabel(toQString("JN88UU"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(arialPisma(14, true));
  auto button = [this](const char* name, const char* caption) {
    auto* b = new QPushButton(toQString(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
  };
  BitBtn1 = button("BitBtn1", "&Hledej !");
  BitBtn2 = button("BitBtn2", "Ulož *.BMP");
  BitBtn3 = button("BitBtn3", "Ulož *.JPG");
  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
  connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
  connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));

  auto* vlevo = new QVBoxLayout;
  vlevo->addWidget(StringGrid1, 1);
  vlevo->addWidget(Label1);
  vlevo->addWidget(BitBtn1);
  vlevo->addWidget(BitBtn2);
  vlevo->addWidget(BitBtn3);
  auto* horni = new QHBoxLayout;
  horni->addLayout(vlevo);
  horni->addWidget(mapa_, 0, Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 0);
  layout->addLayout(horni, 1);
  layout->addWidget(StatusBar1);

  // The direction list into the rows; a file that exists but cannot be
  // read is never written over when the window closes.
  const auto data = platform::readWholeFile(hooks_.soubor);
  if (!data) {
    platform::showMessage("Chyba I/O při čtení souboru : " + platform::pathText(hooks_.soubor),
                          platform::MessageKind::Error);
    cteniSelhalo_ = platform::fileExists(hooks_.soubor) || platform::dirExists(hooks_.soubor);
  } else {
    const SeznamSmeru s = nactiSeznamSmeru(*data);
    for (int r = 0; r < kRadkuSmeru; ++r)
      for (int c = 0; c < 3; ++c)
        StringGrid1->item(r, c)->setText(toQString(s.radky[static_cast<size_t>(r)][static_cast<size_t>(c)]));
    dalsiRadky_ = s.dalsiRadky;
  }
  for (int c = 0; c < 3; ++c) {
    QTableWidgetItem* title = StringGrid1->item(0, c);
    title->setFlags(title->flags() & ~Qt::ItemIsEditable);
    QFont f = title->font();
    f.setBold(true);
    title->setFont(f);
    title->setBackground(palette().color(QPalette::Button));
  }

  SirkySloupcu();
  connect(StringGrid1, &QTableWidget::itemChanged, this, [this] { SirkySloupcu(); });

  obrys_ = nactiObrys(hooks_.obrys);
  vycisti();
  nakreslimapu();
}

void TForm20::SirkySloupcu() {
  // 80, 70 and 50 pixels, as the table was drawn, or what the titles and
  // the rows need in this platform's fonts.
  const int navrh[3] = {80, 70, 50};
  const auto* view = static_cast<const QAbstractItemView*>(StringGrid1);
  int sirka = 2 * StringGrid1->frameWidth();
  for (int c = 0; c < 3; ++c) {
    StringGrid1->setColumnWidth(c, std::max(navrh[c], view->sizeHintForColumn(c)));
    sirka += StringGrid1->columnWidth(c);
  }
  StringGrid1->setFixedWidth(sirka);
}

QPushButton* TForm20::tlacitko(int n) const {
  QPushButton* all[] = {BitBtn1, BitBtn2, BitBtn3};
  return n >= 1 && n <= 3 ? all[n - 1] : nullptr;
}

const QImage& TForm20::obrazek() const { return obrazek_; }

SeznamSmeru TForm20::seznam() const {
  SeznamSmeru s;
  for (int r = 0; r < kRadkuSmeru; ++r)
    for (int c = 0; c < 3; ++c)
      s.radky[static_cast<size_t>(r)][static_cast<size_t>(c)] = fromQString(StringGrid1->item(r, c)->text());
  s.dalsiRadky = dalsiRadky_;
  return s;
}

void TForm20::vycisti() {
  // A fixed background, whatever happens to lie in the picture's corner.
  obrazek_ = zakladniMapa();
  mapa_->setImage(obrazek_);
}

void TForm20::nakreslimapu() {
  nakresli(obrazek_, kresbaObrysu(obrys_, kZelena, 2));
  mapa_->setImage(obrazek_);
}

void TForm20::BitBtn1Click() {
  StringGrid1->commitEditing();
  vycisti();
  nakreslimapu();
  nakresli(obrazek_, kresbaSmeru(seznam()));
  mapa_->setImage(obrazek_);
}

void TForm20::BitBtn2Click() { ulozit(false); }
void TForm20::BitBtn3Click() { ulozit(true); }

void TForm20::ulozit(bool jpeg) {
  DialogUlozeni d;
  d.slozka = hooks_.dataFolder ? hooks_.dataFolder() : "";
  d.nazev = "Mapa_smery";
  d.pripona = jpeg ? "jpg" : "bmp";
  d.filtr = jpeg ? "JPG|*.jpg" : "BMP|*.bmp";
  const auto path = zvolUlozeni(this, d);
  if (path && ulozObrazek(obrazek_, *path, jpeg ? FormatObrazku::Jpeg : FormatObrazku::Bmp))
    otevriSoubor(*path);
}

void TForm20::mapaMouseMove(QPoint p) {
  Label1->setText(toQString(lokatorBunky(bunkaPodMysi(p.x(), p.y()))));
}

void TForm20::mapaClick() {
  if (hooks_.predejDoVstupu) hooks_.predejDoVstupu(fromQString(Label1->text()));
  // A second later the table gets the focus back, without holding up the
  // look-ups the entry line has just started.
  QTimer::singleShot(1000, this, [this] {
    activateWindow();
    StringGrid1->setFocus();
  });
}

void TForm20::resizeEvent(QResizeEvent* event) {
  ToolWindow::resizeEvent(event);
  SirkySloupcu();
}

void TForm20::closeEvent(QCloseEvent* event) {
  if (!cteniSelhalo_) {
    StringGrid1->commitEditing();
    if (!platform::writeFileAtomic(hooks_.soubor, textSeznamuSmeru(seznam())))
      platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(hooks_.soubor),
                            platform::MessageKind::Error);
  }
  ToolWindow::closeEvent(event);
}

TForm20* openForm20(Form20Hooks hooks, QWidget* parent) {
  return openToolWindow(Form20, std::move(hooks), parent);
}

}  // namespace vektrano
