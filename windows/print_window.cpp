#include "windows/print_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QStatusBar>
#include <QVBoxLayout>

#include "core/session/print_window_settings.h"
#include "platform/cp1250.h"
#include "preview/gui/page_navigator.h"
#include "preview/gui/preview.h"
#include "preview/gui/property_combo_box.h"
#include "preview/gui/thumbnails.h"

namespace vektrano {

using platform::fromQString;
using platform::toQString;
using namespace preview;

QPointer<TForm7> Form7;

namespace {

const QColor kSkyBlue(166, 202, 240);
constexpr int kCallSignColumn = 3;
constexpr int kTop = 100;           // pixels
constexpr int kResizeLeft = 90;     // pixels
constexpr int kRelayoutDelay = 200; // ms without a further resize

WindowPlacement defaultPlacement() {
  WindowPlacement p;
  p.top = 10;
  p.left = 10;
  p.height = 400;
  p.width = 600;
  return p;
}

CanvasFont arial(int cellHeight, bool bold) {
  CanvasFont f;
  f.name = "Arial";
  f.height = cellHeight;  // a cell height in pixels of the 96-dpi screen
  f.style = bold ? fsBold : 0;
  return f;
}

CanvasFont arialPoints(int points) {
  CanvasFont f;
  f.name = "Arial";
  f.setSize(points);
  return f;
}

}  // namespace

int DenikGridSource::ColWidth(int col) const {
  const int w = in_.denik ? in_.denik->colWidth(col) : -1;
  return w < 0 ? 64 : w;
}

TForm7::TForm7(PrintWindowInputs inputs, QWidget* parent)
    : ToolWindow(7, PlacementValues::Full, defaultPlacement(), parent, Qt::WindowStaysOnTopHint),
      inputs_(std::move(inputs)),
      source_(inputs_) {
  setWindowTitle(toQString("Deník ZR-4    Tisk deníku"));
  setMinimumSize(600, 400);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kSkyBlue);
  setPalette(pal);

  PvPreview1 = new TPvPreview(this);
  PvPreview1->setObjectName(QStringLiteral("PvPreview1"));
  PvPreview1->Header().SetVisible(true);
  PvPreview1->Footer().SetVisible(true);
  for (TPvHeaderFooter* band : {static_cast<TPvHeaderFooter*>(&PvPreview1->Header()),
                                static_cast<TPvHeaderFooter*>(&PvPreview1->Footer())}) {
    band->CaptionCenter().SetFont(arial(27, true));
    band->CaptionLeft().SetFont(arial(16, false));
    band->CaptionRight().SetFont(arial(16, false));
  }
  PvPreview1->Margins().SetAll({0.5, 0.5, 0.5, 0.5});
  PvPreview1->PageGrid().SetGridStyle(pvDots);
  PvPreview1->SetPagesPerSheet(pvOnePage);
  PvPreview1->Canvas().SetCompareGraphics(true);
  TPvPrinter& printer = PvPreview1->PvPrinter();
  printer.SetCollate(true);
  printer.SetDuplex(pvSimplex);
  printer.SetPrintColor(pvMonochrome);
  printer.SetDitherType(pvNone);
  printer.SetPrintQuality(pvMedium);
  printer.Title = "<document>";

  PvThumbnails1 = new TPvThumbnails(this);
  PvThumbnails1->setObjectName(QStringLiteral("PvThumbnails1"));
  PvThumbnails1->Layout = pvThumbVert;
  PvThumbnails1->PageCaptions = "#";
  PvThumbnails1->CaptionFont = arialPoints(8);
  PvThumbnails1->Shadow().SetWidth(2);
  PvThumbnails1->setFixedWidth(100);
  PvThumbnails1->SetPreview(PvPreview1);

  PvPropertyComboBox1 = new TPvPropertyComboBox(this);
  PvPropertyComboBox1->setObjectName(QStringLiteral("PvPropertyComboBox1"));
  PvPropertyComboBox1->SetItemHeight(20);
  QFont small(toQString("Arial"));
  small.setPointSize(8);
  PvPropertyComboBox1->setFont(small);
  PvPropertyComboBox1->SetPreview(PvPreview1);

  PvPageNavigator1 = new TPvPageNavigator(this);
  PvPageNavigator1->setObjectName(QStringLiteral("PvPageNavigator1"));
  PvPageNavigator1->SetBorderStyle(bsSingle);
  PvPageNavigator1->SetBorderWidth(6);
  PvPageNavigator1->SetVisibleButtons(kAllNavButtons & ~navBit(pvAddPage) & ~navBit(pvClear));
  PvPageNavigator1->setFixedSize(PvPageNavigator1->NeededSize());
  PvPageNavigator1->SetPreview(PvPreview1);

  Button2 = new QPushButton(toQString("T I S K N I"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setToolTip(toQString("Stiskem tohoto tlačítka zahájíte odesílání dat do tiskárny"));
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

  Label1 = new QLabel(toQString("Text nadpisu každé stránky"), this);
  head_ = new QLineEdit(this);
  head_->setObjectName(QStringLiteral("head"));
  head_->setToolTip(toQString("Zde je možno změnit horní řádek , tiskne se na každý list papíru"));
  Label1->setBuddy(head_);
  Label2 = new QLabel(toQString("Popiska spodního řádku"), this);
  footr_ = new QLineEdit(this);
  footr_->setObjectName(QStringLiteral("footr"));
  footr_->setToolTip(toQString("Zde je možno změnit spodní řádek , tiskne se na každý list papíru"));
  Label2->setBuddy(footr_);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setSizeGripEnabled(true);

  auto* side = new QVBoxLayout;
  side->addWidget(PvPropertyComboBox1);
  side->addSpacing(12);
  side->addWidget(Label1);
  side->addWidget(head_);
  side->addSpacing(8);
  side->addWidget(Label2);
  side->addWidget(footr_);
  side->addStretch(1);
  auto* sideBox = new QWidget(this);
  sideBox->setLayout(side);
  sideBox->setFixedWidth(220);

  auto* middle = new QHBoxLayout;
  middle->addWidget(PvThumbnails1);
  middle->addWidget(PvPreview1, 1);
  middle->addWidget(sideBox);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(PvPageNavigator1);
  bottom->addStretch(1);
  bottom->addWidget(Button2);
  auto* all = new QVBoxLayout(this);
  all->setContentsMargins(4, 4, 4, 0);
  all->addLayout(middle, 1);
  all->addLayout(bottom);
  all->addWidget(StatusBar1);

  PvGridPrint1.SetFont(arialPoints(8));
  PvGridPrint1.SetFixedCellFont(arialPoints(8));
  PvGridPrint1.Monochrome = true;
  PvGridPrint1.ScaleText = true;
  PvGridPrint1.Grid = &source_;
  // Narrowed to the paper, a column's longer texts take more lines.
  PvGridPrint1.WordWrap = true;
  PvGridPrint1.OnGetColWidth = [this](TPvAbstractGridPrint&, int col, TPvValue& w) {
    if (col >= 0 && col < static_cast<int>(widths_.size())) w.SetInches(widths_[static_cast<size_t>(col)]);
  };
  PvGridPrint1.SetPreview(&PvPreview1->PageList());

  // The stored texts, or those the window is made with.
  const PrintWindowTexts texts = readPrintWindowTexts({"Sněžka JO70UR", "Milous ZR-4"});
  connect(head_, &QLineEdit::textChanged, this, [this] { headChange(); });
  connect(footr_, &QLineEdit::textChanged, this, [this] { footrChange(); });
  head_->setText(toQString(texts.header));
  footr_->setText(toQString(texts.footer));
  headChange();
  footrChange();

  // Laying out a long log takes a moment: a resize lays out again only once
  // the resizing has stopped.
  relayout_.setSingleShot(true);
  relayout_.setInterval(kRelayoutDelay);
  connect(&relayout_, &QTimer::timeout, this, [this] { LayOut(kResizeLeft); });
}

TForm7::~TForm7() = default;

int TForm7::callSignWidth() const { return inputs_.dateInFront && inputs_.dateInFront() ? 330 : 400; }

std::vector<Extended> TForm7::printedWidths(Extended left) {
  const int ppi = PvGridPrint1.ScreenPixelsPerInch;
  std::vector<Extended> widths;
  for (int c = 0; c < source_.ColCount(); ++c) {
    // The call-sign column is printed wider than the screen shows it.
    const int px = c == kCallSignColumn ? callSignWidth() : std::max(0, source_.ColWidth(c));
    widths.push_back(static_cast<Extended>(px) / ppi);
  }
  TPvPageList& pages = PvPreview1->PageList();
  const TPvPrinterInfo& info = pages.Printer.Info();
  // What the printer cannot reach on the right, for the pages' orientation.
  Extended unprintable = 0;
  if (info.PixelsPerInchX > 0 && info.PixelsPerInchY > 0)
    unprintable = pages.Orientation() == pvLandscape ? Extended(info.OffsetBottom) / info.PixelsPerInchY
                                                     : Extended(info.OffsetRight) / info.PixelsPerInchX;
  const Extended right = pages.PageWidth() - std::max<Extended>(pages.Margins.Right().Inches(), unprintable);
  return FitColumnWidths(std::move(widths), right - left);
}

void TForm7::LayOut(int left) {
  relayout_.stop();
  PvPreview1->Clear();
  widths_ = printedWidths(static_cast<Extended>(left) / PvGridPrint1.ScreenPixelsPerInch);
  PvGridPrint1.PrintGridToPreview(pvPixels, left, kTop, 0);
  PvPreview1->update();
}

void TForm7::Button2Click() { PvPreview1->Print(); }

void TForm7::headChange() { PvPreview1->Header().CaptionCenter().SetCaption(fromQString(head_->text())); }

void TForm7::footrChange() { PvPreview1->Footer().CaptionCenter().SetCaption(fromQString(footr_->text())); }

void TForm7::resizeEvent(QResizeEvent* event) {
  ToolWindow::resizeEvent(event);
  relayout_.start();
}

bool TForm7::queryClose() {
  writePrintWindowTexts({fromQString(head_->text()), fromQString(footr_->text())});
  return true;
}

TForm7* openForm7(PrintWindowInputs inputs, QWidget* parent) {
  TForm7* w = openToolWindow(Form7, std::move(inputs), parent);
  w->LayOut();
  return w;
}

}  // namespace vektrano
