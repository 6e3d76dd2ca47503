#include "preview/printer.h"

#include <algorithm>
#include <cstdint>

#include "platform/files.h"
#include "platform/message.h"

namespace vektrano::preview {

namespace {

PvPrintDeviceFactory& factory() {
  static PvPrintDeviceFactory f;
  return f;
}

// Device-mode numbers of each enumeration, in ordinal order.
constexpr int kDuplex[] = {1, 3, 2};
constexpr int kColor[] = {2, 1};
constexpr int kDither[] = {1, 2, 3, 4, 10};
constexpr int kQuality[] = {-1, -2, -3, -4};

// An ordinal outside its table (a damaged setting) writes nothing.
template <size_t N>
bool inTable(const int (&)[N], int ordinal) {
  return ordinal >= 0 && static_cast<size_t>(ordinal) < N;
}

template <size_t N>
int ordinalOf(const int (&table)[N], int raw) {
  for (size_t i = 0; i < N; ++i)
    if (table[i] == raw) return static_cast<int>(i);
  return 0;
}

}  // namespace

int PaperNumber(TPvPaperSize paper) {
  static constexpr int numbers[kPaperSizeCount] = {8, 9, 11, 70, 13, 28, 5, 1, -1, 12, 19, 20, 21, 22, 23, 3, 4, 7};
  return paper < kPaperSizeCount ? numbers[paper] : -1;
}

int LandscapeRotation(int degrees) { return degrees == 90 ? 1 : degrees == 270 ? 2 : 0; }

void SetPrintDeviceFactory(PvPrintDeviceFactory f) { factory() = std::move(f); }

std::unique_ptr<PvPrintDevice> MakePrintDevice() { return factory() ? factory()() : nullptr; }

// ---- info

void TPvPrinterInfo::SetDefaults() {
  DeviceName.clear();
  DriverName.clear();
  PortName.clear();
  PhysicalWidth = 2481;
  PhysicalHeight = 3507;
  OffsetLeft = 65;
  OffsetTop = 50;
  OffsetRight = 58;
  OffsetBottom = 50;
  PrintableWidth = 2358;
  PrintableHeight = 3407;
  PixelsPerInchX = PixelsPerInchY = 300;
  Orientation = pvPortrait;
  ScreenToPrinter = Extended(96) / 300;
  Valid = true;
}

void TPvPrinterInfo::Measure(PvPrintDevice* device) {
  PvDevMode dm;
  if (!device || device->PrinterIndex() < 0 || !device->GetDevMode(dm)) {
    SetDefaults();
    return;
  }
  PvDevMode portrait = dm;
  portrait.Fields |= dmOrientation;
  portrait.Orientation = 1;
  device->SetDevMode(portrait);
  PvPrintMetrics m;
  const bool ok = device->Measure(m) && m.PixelsPerInchX > 0 && m.PixelsPerInchY > 0;
  device->SetDevMode(dm);
  if (!ok) {
    SetDefaults();
    return;
  }
  const auto names = device->PrinterNames();
  const int i = device->PrinterIndex();
  DeviceName = i < static_cast<int>(names.size()) ? names[i] : std::string();
  DriverName = device->DriverName();
  PortName = device->PortName();
  PhysicalWidth = m.PhysicalWidth;
  PhysicalHeight = m.PhysicalHeight;
  PrintableWidth = m.PrintableWidth;
  PrintableHeight = m.PrintableHeight;
  OffsetLeft = m.OffsetX;
  OffsetTop = m.OffsetY;
  OffsetRight = PhysicalWidth - PrintableWidth - OffsetLeft;
  OffsetBottom = PhysicalHeight - PrintableHeight - OffsetTop;
  PixelsPerInchX = m.PixelsPerInchX;
  PixelsPerInchY = m.PixelsPerInchY;
  Orientation = dm.Orientation == 2 ? pvLandscape : pvPortrait;
  ScreenToPrinter = Extended(96) / PixelsPerInchX;
  Valid = true;
}

// ---- printer

TPvPrinter::TPvPrinter(std::unique_ptr<PvPrintDevice> device) : device_(std::move(device)) {
  info_.Measure(device_.get());
}

TPvPrinter::~TPvPrinter() {
  // A job left open is ended, so its output is not left half-spooled.
  if (printing_ && device_) device_->EndDoc();
}

std::vector<std::string> TPvPrinter::Printers() const {
  return device_ ? device_->PrinterNames() : std::vector<std::string>{};
}

void TPvPrinter::SetPrinterIndex(int index) {
  // BeforePrint may still choose the printer; an open document may not.
  if (!device_ || (printing_ && pageNumber_ > 0) || !device_->SelectPrinter(index)) return;
  info_.Measure(device_.get());
  if (OnChangePrinter) OnChangePrinter(*this);
}

int TPvPrinter::readField(int PvDevMode::*member) const {
  PvDevMode dm;
  if (!device_ || !device_->GetDevMode(dm)) return INT32_MIN;
  return dm.*member;
}

template <class F>
void TPvPrinter::editDevMode(unsigned field, F&& f) {
  PvDevMode dm;
  if (!device_ || !device_->GetDevMode(dm)) return;
  dm.Fields |= field;
  f(dm);
  device_->SetDevMode(dm);
}

bool TPvPrinter::Collate() const { return readField(&PvDevMode::Collate) == 1; }
void TPvPrinter::SetCollate(bool v) {
  editDevMode(dmCollate, [&](PvDevMode& dm) { dm.Collate = v ? 1 : 0; });
}

TPvDuplexType TPvPrinter::Duplex() const {
  return static_cast<TPvDuplexType>(ordinalOf(kDuplex, readField(&PvDevMode::Duplex)));
}
void TPvPrinter::SetDuplex(TPvDuplexType v) {
  if (!inTable(kDuplex, v)) return;
  editDevMode(dmDuplex, [&](PvDevMode& dm) { dm.Duplex = kDuplex[v]; });
}

int TPvPrinter::PrintCopies() const {
  const int n = readField(&PvDevMode::Copies);
  return n == INT32_MIN ? 1 : n;
}
void TPvPrinter::SetPrintCopies(int v) {
  editDevMode(dmCopies, [&](PvDevMode& dm) { dm.Copies = v; });
}

TPvPrintColor TPvPrinter::PrintColor() const {
  return static_cast<TPvPrintColor>(ordinalOf(kColor, readField(&PvDevMode::Color)));
}
void TPvPrinter::SetPrintColor(TPvPrintColor v) {
  if (!inTable(kColor, v)) return;
  editDevMode(dmColor, [&](PvDevMode& dm) { dm.Color = kColor[v]; });
}

TPvDitherType TPvPrinter::DitherType() const {
  return static_cast<TPvDitherType>(ordinalOf(kDither, readField(&PvDevMode::DitherType)));
}
void TPvPrinter::SetDitherType(TPvDitherType v) {
  if (!inTable(kDither, v)) return;
  editDevMode(dmDitherType, [&](PvDevMode& dm) { dm.DitherType = kDither[v]; });
}

TPvPrintQuality TPvPrinter::PrintQuality() const {
  return static_cast<TPvPrintQuality>(ordinalOf(kQuality, readField(&PvDevMode::PrintQuality)));
}
void TPvPrinter::SetPrintQuality(TPvPrintQuality v) {
  if (!inTable(kQuality, v)) return;
  editDevMode(dmPrintQuality, [&](PvDevMode& dm) { dm.PrintQuality = kQuality[v]; });
}

void TPvPrinter::SetPaperSize(TPvPaperSize paper, const TPvSizeExt& custom) {
  const bool own = PaperNumber(paper) < 0;
  const unsigned fields = own ? dmPaperSize | dmPaperWidth | dmPaperLength : dmPaperSize;
  editDevMode(fields, [&](PvDevMode& dm) {
    dm.PaperSize = PaperNumber(paper);
    if (own) {
      // Portrait, in tenths of a millimetre, as the device mode keeps it.
      const Extended w = std::min(custom.Width, custom.Height), h = std::max(custom.Width, custom.Height);
      dm.PaperWidth = static_cast<int>(roundHalfEven(ConvertValue(w, pvInches, pvMillimeters) * 10));
      dm.PaperLength = static_cast<int>(roundHalfEven(ConvertValue(h, pvInches, pvMillimeters) * 10));
    }
  });
  // The physical page is the paper's now, not the one measured before.
  if (device_ && !printing_) info_.Measure(device_.get());
}

void TPvPrinter::setDevOrientation(TPvOrientation o) {
  editDevMode(dmOrientation, [&](PvDevMode& dm) { dm.Orientation = o == pvLandscape ? 2 : 1; });
}

bool TPvPrinter::BeginPrint() {
  if (!device_ || !device_->CanPrint()) {
    ShowPvError(ClassName(), "Unable to print... No Printer available.");
    return false;
  }
  if (printing_ || !PrinterInstalled()) return false;
  printing_ = true;
  aborted_ = false;
  pageNumber_ = 0;  // no document open until BeforePrint has passed
  const int selected = PrinterIndex();
  if (BeforePrint) BeforePrint(*this);
  if (aborted_) {
    printing_ = false;
    return false;
  }
  if (PrinterIndex() != selected) info_.Measure(device_.get());
  sheetOrientation_ = pagesPerSheet_ == pvTwoPage ? (orientation_ == pvPortrait ? pvLandscape : pvPortrait)
                                                   : orientation_;
  setDevOrientation(sheetOrientation_);
  info_.Measure(device_.get());
  if (!device_->BeginDoc(Title)) {
    printing_ = false;
    if (const std::string file = device_->UnwritableFile(); !file.empty())
      platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(file),
                            platform::MessageKind::Error);
    else if (!device_->Cancelled())
      ShowPvError(ClassName(), "Unable to print... No Printer available.");
    return false;
  }
  pageNumber_ = 1;
  sheets_ = 1;
  if (DeviceCanvas* c = device_->Canvas()) PlaceOnSheet(*c);
  return true;
}

void TPvPrinter::NewSheetPage() {
  if (!printing_) return;
  ++pageNumber_;
  const int k = pageNumber_ - 1;
  const bool newSheet = pagesPerSheet_ == pvOnePage || (pagesPerSheet_ == pvTwoPage && k % 2 == 0) ||
                        (pagesPerSheet_ == pvFourPage && k % 4 == 0);
  if (newSheet) {
    setDevOrientation(orientation_);
    // Reset against the sheet before, not the first one: a job that turns
    // back to its first orientation must turn the device back too.
    const bool reset = orientation_ != sheetOrientation_;
    device_->NextSheet(reset);
    sheetOrientation_ = orientation_;
    ++sheets_;
  }
  if (DeviceCanvas* c = device_->Canvas()) PlaceOnSheet(*c);
}

void TPvPrinter::EndPrint() {
  if (!printing_) return;
  device_->EndDoc();
  printing_ = false;
  if (AfterPrint) AfterPrint(*this);
}

void TPvPrinter::Abort() {
  if (!printing_) return;
  aborted_ = true;
  // Inside BeforePrint no document is open yet; BeginPrint ends the state.
  if (pageNumber_ > 0) {
    device_->AbortDoc();
    printing_ = false;
  }
  if (OnAbortPrint) OnAbortPrint(*this);
}

Extended TPvPrinter::PageWidthInches(TPvOrientation o) const {
  return o == pvLandscape ? Extended(info_.PhysicalHeight) / info_.PixelsPerInchY
                          : Extended(info_.PhysicalWidth) / info_.PixelsPerInchX;
}

Extended TPvPrinter::PageHeightInches(TPvOrientation o) const {
  return o == pvLandscape ? Extended(info_.PhysicalWidth) / info_.PixelsPerInchX
                          : Extended(info_.PhysicalHeight) / info_.PixelsPerInchY;
}

IntPoint TPvPrinter::Offsets(TPvOrientation o) const {
  if (o == pvLandscape) return {info_.OffsetTop, info_.OffsetRight};
  return {info_.OffsetLeft, info_.OffsetTop};
}

TPvPrinter::Placement TPvPrinter::PlacePage(TPvPagesPerSheet pps, TPvOrientation sheet, int n, int W, int H) {
  if (pps == pvTwoPage) {
    const int scale = static_cast<int>(truncToward0(Extended(std::min(W, H)) / std::max(W, H) * 100));
    const bool first = n % 2 == 1;
    if (sheet == pvPortrait)
      return {first ? IntRect{0, 0, W, H / 2} : IntRect{0, H / 2, W, H}, scale};
    return {first ? IntRect{0, 0, W / 2, H} : IntRect{W / 2, 0, W, H}, scale};
  }
  if (pps == pvFourPage) {
    switch (((n % 4) + 4) % 4) {
      case 1:
        return {{0, 0, W / 2, H / 2}, 49};
      case 2:
        return {{W / 2, 0, W, H / 2}, 49};
      case 3:
        return {{0, H / 2, W / 2, H}, 49};
      default:
        return {{W / 2, H / 2, W, H}, 49};
    }
  }
  return {{0, 0, W, H}, 100};
}

void TPvPrinter::PlaceOnSheet(DeviceCanvas& canvas) const {
  const TPvOrientation o = sheetOrientation_;
  // The device's axes turn with the sheet.
  const int ppiX = o == pvLandscape ? info_.PixelsPerInchY : info_.PixelsPerInchX;
  const int ppiY = o == pvLandscape ? info_.PixelsPerInchX : info_.PixelsPerInchY;
  const int W = static_cast<int>(roundHalfEven(PageWidthInches(o) * ppiX));
  const int H = static_cast<int>(roundHalfEven(PageHeightInches(o) * ppiY));
  const IntPoint off = Offsets(o);
  const Placement p = PlacePage(pagesPerSheet_, o, pageNumber_, W, H);
  const int tw = RectWidth(p.Target), th = RectHeight(p.Target);
  canvas.setAnisotropic({tw, th}, {tw * p.Scale / 100, th * p.Scale / 100});
  canvas.setViewportOrg({p.Target.left - off.x, p.Target.top - off.y});
}

}  // namespace vektrano::preview
