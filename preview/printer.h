#pragma once
// The printer of a preview document: job settings read from and written to
// the printer's device mode as they are asked for, the job itself, and where
// each page lands when one, two or four pages share a sheet. The system side
// (printer list, device mode, metrics, spooling) is a PvPrintDevice; the Qt
// one lives in preview/gui. Without a device there is no printer: settings
// read as their first value, writes are ignored and no job starts.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "preview/canvas.h"
#include "preview/units.h"

namespace vektrano::preview {

// Field-mask bits of the device mode, as the Windows structure has them.
enum PvDevModeField : unsigned {
  dmOrientation = 0x1,
  dmPaperSize = 0x2,
  dmPaperLength = 0x4,
  dmPaperWidth = 0x8,
  dmCopies = 0x100,
  dmPrintQuality = 0x400,
  dmColor = 0x800,
  dmDuplex = 0x1000,
  dmCollate = 0x8000,
  dmDitherType = 0x10000000,
};

// The job settings of one printer, in the device mode's own numbers.
struct PvDevMode {
  unsigned Fields = 0;
  int Orientation = 1;  // 1 portrait, 2 landscape
  int PaperSize = 9;    // device paper number; -1 (0xFFFF) custom
  // A custom paper's portrait size in tenths of a millimetre.
  int PaperWidth = 0, PaperLength = 0;
  int Copies = 1;
  int Collate = 0;       // 0 off, 1 on
  int Duplex = 1;        // 1 simplex, 2 vertical, 3 horizontal
  int Color = 2;         // 1 monochrome, 2 colour
  int DitherType = 1;    // 1 none, 2 coarse, 3 fine, 4 line art, 10 grey scale
  int PrintQuality = -4; // -1 draft .. -4 high
};

// The device mode's paper number of a paper; Custom gives -1.
int PaperNumber(TPvPaperSize paper);
// 90 degrees is one landscape rotation (1), 270 the other (2), else none (0).
int LandscapeRotation(int degrees);

// What the device measures for its current device mode, in device pixels.
struct PvPrintMetrics {
  int PhysicalWidth = 0, PhysicalHeight = 0;
  int PrintableWidth = 0, PrintableHeight = 0;
  int OffsetX = 0, OffsetY = 0;
  int PixelsPerInchX = 0, PixelsPerInchY = 0;
};

// The system's printers and spooler.
class PvPrintDevice {
 public:
  virtual ~PvPrintDevice() = default;
  virtual std::vector<std::string> PrinterNames() const = 0;
  // -1 when there is none.
  virtual int PrinterIndex() const = 0;
  // False for an index outside the list.
  virtual bool SelectPrinter(int index) = 0;
  virtual std::string DriverName() const = 0;
  virtual std::string PortName() const = 0;
  // False without a selected printer.
  virtual bool GetDevMode(PvDevMode& dm) const = 0;
  virtual void SetDevMode(const PvDevMode& dm) = 0;
  virtual bool Measure(PvPrintMetrics& m) const = 0;
  // Degrees the printer turns a landscape page by.
  virtual int OrientationDegrees() const { return 90; }

  // False when no device context can be made for the selected printer.
  virtual bool CanPrint() const = 0;
  virtual bool BeginDoc(const std::string& title) = 0;
  // The last BeginDoc failed because the operator called the job off (no
  // file chosen for a PDF): nothing to report.
  virtual bool Cancelled() const { return false; }
  // The file the last BeginDoc could not write (a printer into a file), or
  // empty: the printer itself failed.
  virtual std::string UnwritableFile() const { return {}; }
  // Ends the sheet and starts the next, taking the device mode's
  // orientation when reset is true.
  virtual void NextSheet(bool reset) = 0;
  virtual void EndDoc() = 0;
  virtual void AbortDoc() = 0;
  // The printer's canvas while a document is open, else nullptr.
  virtual DeviceCanvas* Canvas() = 0;
};

// What the page list's printer is made with; none installed gives a printer
// without a device. The Qt library installs the system one.
using PvPrintDeviceFactory = std::function<std::unique_ptr<PvPrintDevice>()>;
void SetPrintDeviceFactory(PvPrintDeviceFactory factory);
std::unique_ptr<PvPrintDevice> MakePrintDevice();

class TPvPrinterInfo {
 public:
  std::string DeviceName, DriverName, PortName;
  int PhysicalWidth = 0, PhysicalHeight = 0;
  int PrintableWidth = 0, PrintableHeight = 0;
  int OffsetLeft = 0, OffsetTop = 0, OffsetRight = 0, OffsetBottom = 0;
  int PixelsPerInchX = 0, PixelsPerInchY = 0;
  TPvOrientation Orientation = pvPortrait;
  Extended ScreenToPrinter = 0;  // 96 / printer pixels per inch
  bool Valid = false;

  // The metrics with the printer turned to portrait for the measuring (its
  // device mode is put back), or the built-in A4 page at 300 dpi.
  void Measure(PvPrintDevice* device);
  void SetDefaults();
};

class TPvPrinter {
 public:
  explicit TPvPrinter(std::unique_ptr<PvPrintDevice> device = MakePrintDevice());
  ~TPvPrinter();
  TPvPrinter(const TPvPrinter&) = delete;
  TPvPrinter& operator=(const TPvPrinter&) = delete;

  std::string ClassName() const { return "TPvPrinter"; }

  // Installed printers; selecting one re-measures and fires OnChangePrinter.
  std::vector<std::string> Printers() const;
  int PrinterIndex() const { return device_ ? device_->PrinterIndex() : -1; }
  void SetPrinterIndex(int index);
  bool PrinterInstalled() const { return PrinterIndex() >= 0; }

  // Device-mode settings: read and written through the printer each time.
  bool Collate() const;
  void SetCollate(bool v);
  TPvDuplexType Duplex() const;
  void SetDuplex(TPvDuplexType v);
  int PrintCopies() const;
  void SetPrintCopies(int v);
  TPvPrintColor PrintColor() const;
  void SetPrintColor(TPvPrintColor v);
  TPvDitherType DitherType() const;
  void SetDitherType(TPvDitherType v);
  TPvPrintQuality PrintQuality() const;
  void SetPrintQuality(TPvPrintQuality v);
  // The paper number with its field bit, and the info measured again;
  // nothing without a printer. Custom paper sends its own portrait size
  // (inches) along.
  void SetPaperSize(TPvPaperSize paper, const TPvSizeExt& customInches = {});

  bool ReversePrintOrder = false;
  std::string Title = "<document>";

  // What the page list sets before and during a job.
  TPvOrientation Orientation() const { return orientation_; }
  void SetOrientation(TPvOrientation o) { orientation_ = o; }
  TPvPagesPerSheet PagesPerSheet() const { return pagesPerSheet_; }
  void SetPagesPerSheet(TPvPagesPerSheet p) { pagesPerSheet_ = p; }

  // False when no job started (no printer, one running, or aborted by
  // BeforePrint).
  bool BeginPrint();
  // For every page after the first.
  void NewSheetPage();
  void EndPrint();
  // Aborts the running job (BeforePrint may call it to keep the job from
  // starting).
  void Abort();

  bool Printing() const { return printing_; }
  bool Aborted() const { return aborted_; }
  int PageNumber() const { return pageNumber_; }
  // Sheets begun in the running or last job.
  int SheetCount() const { return sheets_; }
  TPvOrientation SheetOrientation() const { return sheetOrientation_; }
  DeviceCanvas* Canvas() const { return printing_ && device_ ? device_->Canvas() : nullptr; }

  const TPvPrinterInfo& Info() const { return info_; }
  // Physical page size in inches for an orientation.
  Extended PageWidthInches(TPvOrientation o) const;
  Extended PageHeightInches(TPvOrientation o) const;
  // Physical left and top offsets (device pixels) for an orientation.
  IntPoint Offsets(TPvOrientation o) const;

  struct Placement {
    IntRect Target;
    int Scale = 100;  // per cent
    friend bool operator==(const Placement&, const Placement&) = default;
  };
  // Where page n of a job goes on a sheet of W x H pixels.
  static Placement PlacePage(TPvPagesPerSheet pps, TPvOrientation sheet, int n, int W, int H);
  // The printer canvas mapped so that page pixels land in the page's part
  // of the sheet, the page's corner on the paper's corner.
  void PlaceOnSheet(DeviceCanvas& canvas) const;

  std::function<void(TPvPrinter&)> BeforePrint, AfterPrint, OnAbortPrint, OnChangePrinter;

 private:
  template <class F>
  void editDevMode(unsigned field, F&& f);
  // INT32_MIN without a printer.
  int readField(int PvDevMode::*member) const;
  void setDevOrientation(TPvOrientation o);

  std::unique_ptr<PvPrintDevice> device_;
  TPvPrinterInfo info_;
  bool printing_ = false, aborted_ = false;
  int pageNumber_ = 0, sheets_ = 0;
  TPvOrientation orientation_ = pvPortrait;
  TPvPagesPerSheet pagesPerSheet_ = pvOnePage;
  TPvOrientation sheetOrientation_ = pvPortrait;
};

}  // namespace vektrano::preview
