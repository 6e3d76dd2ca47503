#pragma once
// The print device over QPrinter. Its printers are a PvPrinterSet: the
// installed printers (QPrinterInfo, CUPS) and a PDF file standing in for a
// printer. The program has one set, shared by every page list and the main
// menu's printer set-up, so one printer is current for the whole process; the
// PDF printer is always in it, so a machine without a printer still produces
// the log on paper size. Device-mode fields Qt has no setting for (dither
// type, print quality) are kept here and read back as written.
#include <QList>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "preview/gui/painter_canvas.h"
#include "preview/printer.h"

namespace vektrano::preview {

// The name the PDF file printer is listed under.
inline constexpr const char* kPdfPrinterName = "PDF";

class PvPrinterSet {
 public:
  // The system printers, and with withPdf the PDF printer after them. The
  // default printer is current, else the first; with none, the PDF printer.
  PvPrinterSet(const QList<QPrinterInfo>& system, bool withPdf, int pdfResolution = 600);

  std::vector<std::string> Names() const;
  int Count() const { return static_cast<int>(system_.size()) + (withPdf_ ? 1 : 0); }
  // -1 when the set is empty.
  int Current() const { return current_; }
  // False for an index outside the set or while a document is open.
  bool Select(int index);
  bool IsPdf(int index) const { return withPdf_ && index == static_cast<int>(system_.size()); }
  std::string DriverName() const;
  std::string PortName() const;

  // The current printer, or nullptr.
  QPrinter* Printer() const { return printer_.get(); }
  PvDevMode& DevMode() { return dm_; }

  // The file a job on the PDF printer writes: PdfPath when set, else what
  // PdfPathProvider answers when the job starts (empty cancels the job),
  // asked over the window the job was started from (PrintDialogOwner).
  std::string PdfPath;
  std::function<std::string(QWidget* over)> PdfPathProvider;

  // A document is open on the current printer (no other printer may be
  // chosen meanwhile).
  bool Busy = false;

 private:
  QList<QPrinterInfo> system_;
  bool withPdf_;
  int pdfResolution_;
  int current_ = -1;
  std::unique_ptr<QPrinter> printer_;
  PvDevMode dm_;
};

// The window a print job is started from. While one lives, the dialogs the
// job opens (the PDF printer's file) stand over that window: the print
// window stays on top of the main window, so a dialog of the main window
// would open underneath it.
class PrintDialogOwner {
 public:
  explicit PrintDialogOwner(QWidget* window);
  ~PrintDialogOwner();
  PrintDialogOwner(const PrintDialogOwner&) = delete;
  PrintDialogOwner& operator=(const PrintDialogOwner&) = delete;
  // The window of the job being started, or nullptr.
  static QWidget* Window();

 private:
  QPointer<QWidget> previous_;
};

class QtPrintDevice : public PvPrintDevice {
 public:
  explicit QtPrintDevice(std::shared_ptr<PvPrinterSet> set);
  // A set of its own with the given printers (no PDF printer).
  explicit QtPrintDevice(const QList<QPrinterInfo>& printers);
  // A set of its own: one PDF printer that writes the file at path (cp1250),
  // at the given resolution.
  static std::unique_ptr<QtPrintDevice> ForPdf(const std::string& path, int resolution = 300);
  ~QtPrintDevice() override;

  std::vector<std::string> PrinterNames() const override { return set_->Names(); }
  int PrinterIndex() const override { return set_->Current(); }
  bool SelectPrinter(int index) override;
  std::string DriverName() const override { return set_->DriverName(); }
  std::string PortName() const override { return set_->PortName(); }
  bool GetDevMode(PvDevMode& dm) const override;
  void SetDevMode(const PvDevMode& dm) override;
  bool Measure(PvPrintMetrics& m) const override;

  bool CanPrint() const override { return set_->Printer() != nullptr; }
  bool BeginDoc(const std::string& title) override;
  bool Cancelled() const override { return cancelled_; }
  std::string UnwritableFile() const override { return unwritable_; }
  void NextSheet(bool reset) override;
  void EndDoc() override;
  void AbortDoc() override;
  DeviceCanvas* Canvas() override { return canvas_.get(); }

  QPrinter* printer() const { return set_->Printer(); }
  PvPrinterSet& set() const { return *set_; }

 private:
  void applyDevMode();
  void endPainting();

  std::shared_ptr<PvPrinterSet> set_;
  bool cancelled_ = false;
  std::string unwritable_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<PainterCanvas> canvas_;
};

// The process's printers: the system's and the PDF printer. Empty (no
// printer at all) until InstallQtPrintDevices.
std::shared_ptr<PvPrinterSet> ProcessPrinters();

// Fills the process's printers from the system and makes every new
// TPvPrinter use them; done once at start. pdfPath names the file of a job
// on the PDF printer (cp1250; empty calls the job off), asked over the
// job's window; without one, a save dialog asks.
void InstallQtPrintDevices(std::function<std::string(QWidget* over)> pdfPath = {});

}  // namespace vektrano::preview
