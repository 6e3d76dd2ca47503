#pragma once
// The print device over QPrinter: the installed printers (QPrinterInfo), or
// a PDF file standing in for one. Device-mode fields Qt has no setting for
// (dither type, print quality) are kept here and read back as written.
#include <QList>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

#include "preview/gui/painter_canvas.h"
#include "preview/printer.h"

namespace vektrano::preview {

class QtPrintDevice : public PvPrintDevice {
 public:
  // The given printers; the default printer is selected, else the first.
  explicit QtPrintDevice(const QList<QPrinterInfo>& printers);
  // One printer named "PDF" that writes the file at path (cp1250), at the
  // given resolution.
  static std::unique_ptr<QtPrintDevice> ForPdf(const std::string& path, int resolution = 300);
  ~QtPrintDevice() override;

  std::vector<std::string> PrinterNames() const override;
  int PrinterIndex() const override { return index_; }
  bool SelectPrinter(int index) override;
  std::string DriverName() const override;
  std::string PortName() const override;
  bool GetDevMode(PvDevMode& dm) const override;
  void SetDevMode(const PvDevMode& dm) override;
  bool Measure(PvPrintMetrics& m) const override;

  bool CanPrint() const override { return printer_ != nullptr; }
  bool BeginDoc(const std::string& title) override;
  void NextSheet(bool reset) override;
  void EndDoc() override;
  void AbortDoc() override;
  DeviceCanvas* Canvas() override { return canvas_.get(); }

  QPrinter* printer() const { return printer_.get(); }

 private:
  QtPrintDevice() = default;
  void applyDevMode();

  QList<QPrinterInfo> printers_;
  std::string pdfPath_;
  int pdfResolution_ = 300;
  int index_ = -1;
  std::unique_ptr<QPrinter> printer_;
  PvDevMode dm_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<PainterCanvas> canvas_;
};

// Makes every new TPvPrinter use the system's printers.
void InstallQtPrintDevices();

}  // namespace vektrano::preview
