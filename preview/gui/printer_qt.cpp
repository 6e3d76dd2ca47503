#include "preview/gui/printer_qt.h"

#include <QPageLayout>
#include <QPageSize>

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

QtPrintDevice::QtPrintDevice(const QList<QPrinterInfo>& printers) : printers_(printers) {
  if (printers_.isEmpty()) return;
  int chosen = 0;
  const QString def = QPrinterInfo::defaultPrinterName();
  for (int i = 0; i < printers_.size(); ++i)
    if (printers_[i].printerName() == def) chosen = i;
  SelectPrinter(chosen);
}

std::unique_ptr<QtPrintDevice> QtPrintDevice::ForPdf(const std::string& path, int resolution) {
  std::unique_ptr<QtPrintDevice> d(new QtPrintDevice());
  d->pdfPath_ = path;
  d->pdfResolution_ = resolution;
  d->SelectPrinter(0);
  return d;
}

QtPrintDevice::~QtPrintDevice() {
  canvas_.reset();
  if (painter_ && painter_->isActive()) painter_->end();
}

std::vector<std::string> QtPrintDevice::PrinterNames() const {
  std::vector<std::string> names;
  if (!pdfPath_.empty()) {
    names.push_back("PDF");
    return names;
  }
  for (const QPrinterInfo& p : printers_) names.push_back(platform::fromQString(p.printerName()));
  return names;
}

bool QtPrintDevice::SelectPrinter(int index) {
  const int count = pdfPath_.empty() ? static_cast<int>(printers_.size()) : 1;
  if (index < 0 || index >= count || painter_) return false;
  if (pdfPath_.empty()) {
    printer_ = std::make_unique<QPrinter>(printers_[index], QPrinter::HighResolution);
  } else {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(platform::toQString(pdfPath_));
    printer_->setResolution(pdfResolution_);
  }
  index_ = index;
  dm_ = PvDevMode{};
  GetDevMode(dm_);
  return true;
}

std::string QtPrintDevice::DriverName() const {
  if (!pdfPath_.empty()) return "PDF";
  return index_ >= 0 ? platform::fromQString(printers_[index_].makeAndModel()) : std::string();
}

std::string QtPrintDevice::PortName() const {
  if (!pdfPath_.empty()) return pdfPath_;
  return index_ >= 0 ? platform::fromQString(printers_[index_].location()) : std::string();
}

bool QtPrintDevice::GetDevMode(PvDevMode& dm) const {
  if (!printer_) return false;
  dm = dm_;
  // Where Qt has the setting, the printer's own value is the answer.
  dm.Orientation = printer_->pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
  const int paper = printer_->pageLayout().pageSize().windowsId();
  dm.PaperSize = paper > 0 ? paper : -1;
  dm.Copies = printer_->copyCount();
  dm.Collate = printer_->collateCopies() ? 1 : 0;
  dm.Duplex = fromQtDuplex(printer_->duplex());
  dm.Color = printer_->colorMode() == QPrinter::GrayScale ? 1 : 2;
  return true;
}

void QtPrintDevice::SetDevMode(const PvDevMode& dm) {
  if (!printer_) return;
  dm_ = dm;
  // Within a document only the next sheet's orientation may change, and
  // NextSheet takes it.
  if (!painter_) applyDevMode();
}

void QtPrintDevice::applyDevMode() {
  printer_->setPageOrientation(dm_.Orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
  if (dm_.Fields & dmPaperSize && dm_.PaperSize > 0) {
    const QPageSize::PageSizeId id = QPageSize::id(dm_.PaperSize);
    if (id != QPageSize::Custom) printer_->setPageSize(QPageSize(id));
  }
  printer_->setCopyCount(dm_.Copies);
  printer_->setCollateCopies(dm_.Collate == 1);
  printer_->setDuplex(toQtDuplex(dm_.Duplex));
  printer_->setColorMode(dm_.Color == 1 ? QPrinter::GrayScale : QPrinter::Color);
}

bool QtPrintDevice::Measure(PvPrintMetrics& m) const {
  if (!printer_) return false;
  const QRectF paper = printer_->paperRect(QPrinter::DevicePixel);
  const QRectF page = printer_->pageRect(QPrinter::DevicePixel);
  m.PhysicalWidth = qRound(paper.width());
  m.PhysicalHeight = qRound(paper.height());
  m.PrintableWidth = qRound(page.width());
  m.PrintableHeight = qRound(page.height());
  m.OffsetX = qRound(page.left() - paper.left());
  m.OffsetY = qRound(page.top() - paper.top());
  m.PixelsPerInchX = m.PixelsPerInchY = printer_->resolution();
  return m.PhysicalWidth > 0 && m.PhysicalHeight > 0;
}

bool QtPrintDevice::BeginDoc(const std::string& title) {
  if (!printer_ || painter_) return false;
  printer_->setDocName(platform::toQString(title));
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(printer_.get())) return false;
  painter_ = std::move(painter);
  const int r = printer_->resolution();
  canvas_ = std::make_unique<PainterCanvas>(*painter_, CanvasKind::Printer, r, r);
  return true;
}

void QtPrintDevice::NextSheet(bool reset) {
  if (!painter_) return;
  canvas_.reset();
  if (reset)
    printer_->setPageOrientation(dm_.Orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer_->newPage();
  const int r = printer_->resolution();
  canvas_ = std::make_unique<PainterCanvas>(*painter_, CanvasKind::Printer, r, r);
}

void QtPrintDevice::EndDoc() {
  if (!painter_) return;
  canvas_.reset();
  painter_->end();
  painter_.reset();
}

void QtPrintDevice::AbortDoc() {
  if (!painter_) return;
  canvas_.reset();
  printer_->abort();
  if (painter_->isActive()) painter_->end();
  painter_.reset();
}

void InstallQtPrintDevices() {
  SetPrintDeviceFactory([] { return std::make_unique<QtPrintDevice>(QPrinterInfo::availablePrinters()); });
}

}  // namespace vektrano::preview
