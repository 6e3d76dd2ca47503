#include "preview/gui/printer_qt.h"

#include <QFileDialog>
#include <QPageLayout>
#include <QPageSize>
#include <algorithm>

#include "platform/cp1250.h"

namespace vektrano::preview {

namespace {

QPrinter::DuplexMode toQtDuplex(int raw) {
  switch (raw) {
    case 2:
      return QPrinter::DuplexLongSide;
    case 3:
      return QPrinter::DuplexShortSide;
    default:
      return QPrinter::DuplexNone;
  }
}

int fromQtDuplex(QPrinter::DuplexMode d) {
  switch (d) {
    case QPrinter::DuplexLongSide:
      return 2;
    case QPrinter::DuplexShortSide:
      return 3;
    default:
      return 1;
  }
}

}  // namespace

// ---- the set

PvPrinterSet::PvPrinterSet(const QList<QPrinterInfo>& system, bool withPdf, int pdfResolution)
    : system_(system), withPdf_(withPdf), pdfResolution_(pdfResolution) {
  if (Count() == 0) return;
  int chosen = system_.isEmpty() ? static_cast<int>(system_.size()) : 0;
  const QString def = QPrinterInfo::defaultPrinterName();
  for (int i = 0; i < system_.size(); ++i)
    if (system_[i].printerName() == def) chosen = i;
  Select(chosen);
}

std::vector<std::string> PvPrinterSet::Names() const {
  std::vector<std::string> names;
  for (const QPrinterInfo& p : system_) names.push_back(platform::fromQString(p.printerName()));
  if (withPdf_) names.push_back(kPdfPrinterName);
  return names;
}

bool PvPrinterSet::Select(int index) {
  if (index < 0 || index >= Count() || Busy) return false;
  if (IsPdf(index)) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setResolution(pdfResolution_);
    printer_->setPageSize(QPageSize(QPageSize::A4));
  } else {
    printer_ = std::make_unique<QPrinter>(system_[index], QPrinter::HighResolution);
  }
  current_ = index;
  dm_ = PvDevMode{};
  return true;
}

std::string PvPrinterSet::DriverName() const {
  if (current_ < 0) return {};
  if (IsPdf(current_)) return kPdfPrinterName;
  return platform::fromQString(system_[current_].makeAndModel());
}

std::string PvPrinterSet::PortName() const {
  if (current_ < 0) return {};
  if (IsPdf(current_)) return PdfPath;
  return platform::fromQString(system_[current_].location());
}

std::shared_ptr<PvPrinterSet> ProcessPrinters() {
  static std::shared_ptr<PvPrinterSet> set = std::make_shared<PvPrinterSet>(QList<QPrinterInfo>{}, false);
  return set;
}

namespace {

QPointer<QWidget>& dialogOwner() {
  static QPointer<QWidget> owner;
  return owner;
}

}  // namespace

PrintDialogOwner::PrintDialogOwner(QWidget* window) : previous_(dialogOwner()) { dialogOwner() = window; }

PrintDialogOwner::~PrintDialogOwner() { dialogOwner() = previous_; }

QWidget* PrintDialogOwner::Window() { return dialogOwner().data(); }

void InstallQtPrintDevices(std::function<std::string(QWidget* over)> pdfPath) {
  auto set = ProcessPrinters();
  *set = PvPrinterSet(QPrinterInfo::availablePrinters(), true);
  if (!pdfPath)
    pdfPath = [](QWidget* over) {
      const QString name = QFileDialog::getSaveFileName(over, platform::toQString("Tisk do souboru PDF"),
                                                        QString(), platform::toQString("Soubory PDF (*.pdf)"));
      return name.isEmpty() ? std::string() : platform::pathFromQString(name);
    };
  set->PdfPathProvider = std::move(pdfPath);
  SetPrintDeviceFactory([] { return std::make_unique<QtPrintDevice>(ProcessPrinters()); });
}

// ---- the device

QtPrintDevice::QtPrintDevice(std::shared_ptr<PvPrinterSet> set) : set_(std::move(set)) {
  PvDevMode dm;
  if (GetDevMode(dm)) set_->DevMode() = dm;
}

QtPrintDevice::QtPrintDevice(const QList<QPrinterInfo>& printers)
    : QtPrintDevice(std::make_shared<PvPrinterSet>(printers, false)) {}

std::unique_ptr<QtPrintDevice> QtPrintDevice::ForPdf(const std::string& path, int resolution) {
  auto set = std::make_shared<PvPrinterSet>(QList<QPrinterInfo>{}, true, resolution);
  set->PdfPath = path;
  return std::make_unique<QtPrintDevice>(std::move(set));
}

QtPrintDevice::~QtPrintDevice() { endPainting(); }

bool QtPrintDevice::SelectPrinter(int index) {
  if (painter_ || !set_->Select(index)) return false;
  PvDevMode dm;
  if (GetDevMode(dm)) set_->DevMode() = dm;
  return true;
}

bool QtPrintDevice::GetDevMode(PvDevMode& dm) const {
  QPrinter* printer = set_->Printer();
  if (!printer) return false;
  dm = set_->DevMode();
  // Where Qt has the setting, the printer's own value is the answer.
  dm.Orientation = printer->pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
  const QPageSize size = printer->pageLayout().pageSize();
  const int paper = size.id() == QPageSize::Custom ? -1 : size.windowsId();
  dm.PaperSize = paper > 0 ? paper : -1;
  if (dm.PaperSize < 0) {
    const QSizeF mm = size.size(QPageSize::Millimeter);
    dm.PaperWidth = qRound(std::min(mm.width(), mm.height()) * 10);
    dm.PaperLength = qRound(std::max(mm.width(), mm.height()) * 10);
  }
  dm.Copies = printer->copyCount();
  dm.Collate = printer->collateCopies() ? 1 : 0;
  dm.Duplex = fromQtDuplex(printer->duplex());
  dm.Color = printer->colorMode() == QPrinter::GrayScale ? 1 : 2;
  return true;
}

void QtPrintDevice::SetDevMode(const PvDevMode& dm) {
  if (!set_->Printer()) return;
  set_->DevMode() = dm;
  // Within a document only the next sheet's orientation may change, and
  // NextSheet takes it.
  if (!painter_) applyDevMode();
}

void QtPrintDevice::applyDevMode() {
  QPrinter* printer = set_->Printer();
  const PvDevMode& dm = set_->DevMode();
  printer->setPageOrientation(dm.Orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
  if (dm.Fields & dmPaperSize && dm.PaperSize > 0) {
    const QPageSize::PageSizeId id = QPageSize::id(dm.PaperSize);
    if (id != QPageSize::Custom) printer->setPageSize(QPageSize(id));
  } else if (dm.Fields & dmPaperSize && dm.PaperWidth > 0 && dm.PaperLength > 0) {
    // Custom paper: its own size, so the sheet is the page's and not the
    // size the printer had before.
    printer->setPageSize(QPageSize(QSizeF(dm.PaperWidth / 10.0, dm.PaperLength / 10.0), QPageSize::Millimeter,
                                   QString(), QPageSize::ExactMatch));
  }
  printer->setCopyCount(dm.Copies);
  printer->setCollateCopies(dm.Collate == 1);
  printer->setDuplex(toQtDuplex(dm.Duplex));
  printer->setColorMode(dm.Color == 1 ? QPrinter::GrayScale : QPrinter::Color);
}

bool QtPrintDevice::Measure(PvPrintMetrics& m) const {
  QPrinter* printer = set_->Printer();
  if (!printer) return false;
  const QRectF paper = printer->paperRect(QPrinter::DevicePixel);
  const QRectF page = printer->pageRect(QPrinter::DevicePixel);
  m.PhysicalWidth = qRound(paper.width());
  m.PhysicalHeight = qRound(paper.height());
  m.PrintableWidth = qRound(page.width());
  m.PrintableHeight = qRound(page.height());
  m.OffsetX = qRound(page.left() - paper.left());
  m.OffsetY = qRound(page.top() - paper.top());
  m.PixelsPerInchX = m.PixelsPerInchY = printer->resolution();
  return m.PhysicalWidth > 0 && m.PhysicalHeight > 0;
}

bool QtPrintDevice::BeginDoc(const std::string& title) {
  cancelled_ = false;
  unwritable_.clear();
  QPrinter* printer = set_->Printer();
  if (!printer || painter_ || set_->Busy) return false;
  std::string path;
  if (set_->IsPdf(set_->Current())) {
    path = set_->PdfPath;
    if (path.empty() && set_->PdfPathProvider) path = set_->PdfPathProvider(PrintDialogOwner::Window());
    if (path.empty()) {
      cancelled_ = true;
      return false;
    }
    printer->setOutputFileName(platform::pathToQString(path));
  }
  printer->setDocName(platform::toQString(title));
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(printer)) {
    // The PDF printer fails only when its file cannot be made.
    unwritable_ = path;
    return false;
  }
  painter_ = std::move(painter);
  set_->Busy = true;
  const int r = printer->resolution();
  canvas_ = std::make_unique<PainterCanvas>(*painter_, CanvasKind::Printer, r, r);
  return true;
}

void QtPrintDevice::NextSheet(bool reset) {
  if (!painter_) return;
  QPrinter* printer = set_->Printer();
  canvas_.reset();
  if (reset)
    printer->setPageOrientation(set_->DevMode().Orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer->newPage();
  const int r = printer->resolution();
  canvas_ = std::make_unique<PainterCanvas>(*painter_, CanvasKind::Printer, r, r);
}

void QtPrintDevice::endPainting() {
  canvas_.reset();
  if (painter_ && painter_->isActive()) painter_->end();
  if (painter_) set_->Busy = false;
  painter_.reset();
}

void QtPrintDevice::EndDoc() {
  if (!painter_) return;
  endPainting();
}

void QtPrintDevice::AbortDoc() {
  if (!painter_) return;
  canvas_.reset();
  set_->Printer()->abort();
  endPainting();
}

}  // namespace vektrano::preview
