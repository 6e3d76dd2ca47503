// The job logic of the printer over a scripted device: settings through the
// device mode, sheets, turning and where each page lands.
#include <gtest/gtest.h>

#include "platform/message.h"
#include "preview/printer.h"

namespace vektrano::preview {
namespace {

// A4 at 300 dpi with the offsets of the built-in page, so the measured
// figures match the defaults; landscape swaps the paper as a driver does.
class FakeDevice : public PvPrintDevice {
 public:
  std::vector<std::string> names{"Laser", "Inkoust"};
  int index = 0;
  PvDevMode dm;
  int measuredLandscape = 0;
  int begun = 0, ended = 0, aborted = 0;
  std::vector<bool> sheets;  // reset flag of each NextSheet
  std::vector<int> sheetOrientation{};
  bool open = false;
  RecordingCanvas canvas{CanvasKind::Printer, 300, 300};

  std::vector<std::string> PrinterNames() const override { return names; }
  int PrinterIndex() const override { return index; }
  bool SelectPrinter(int i) override {
    if (i < 0 || i >= static_cast<int>(names.size())) return false;
    index = i;
    return true;
  }
  std::string DriverName() const override { return "drv"; }
  std::string PortName() const override { return "LPT1:"; }
  bool GetDevMode(PvDevMode& out) const override {
    out = dm;
    return true;
  }
  void SetDevMode(const PvDevMode& in) override { dm = in; }
  bool Measure(PvPrintMetrics& m) const override {
    const bool land = dm.Orientation == 2;
    if (land) const_cast<FakeDevice*>(this)->measuredLandscape++;
    m.PhysicalWidth = land ? 3507 : 2481;
    m.PhysicalHeight = land ? 2481 : 3507;
    m.PrintableWidth = land ? 3407 : 2358;
    m.PrintableHeight = land ? 2358 : 3407;
    m.OffsetX = land ? 50 : 65;
    m.OffsetY = land ? 58 : 50;
    m.PixelsPerInchX = m.PixelsPerInchY = 300;
    return true;
  }
  bool CanPrint() const override { return true; }
  bool BeginDoc(const std::string&) override {
    ++begun;
    open = true;
    sheetOrientation.push_back(dm.Orientation);
    return true;
  }
  void NextSheet(bool reset) override {
    sheets.push_back(reset);
    sheetOrientation.push_back(dm.Orientation);
  }
  void EndDoc() override {
    ++ended;
    open = false;
  }
  void AbortDoc() override {
    ++aborted;
    open = false;
  }
  DeviceCanvas* Canvas() override { return open ? &canvas : nullptr; }
};

struct Fixture {
  FakeDevice* dev;
  TPvPrinter printer;
  Fixture() : Fixture(new FakeDevice) {}
  explicit Fixture(FakeDevice* d) : dev(d), printer(std::unique_ptr<PvPrintDevice>(d)) {}
};

struct RecordedMessages {
  std::vector<std::string> texts;
  platform::MessageHandler previous;
  RecordedMessages() {
    previous = platform::setMessageHandler([this](const platform::Message& m) {
      texts.push_back(m.text);
      return m.defaultAnswer;
    });
  }
  ~RecordedMessages() { platform::setMessageHandler(previous); }
};

TEST(PrinterSettings, WrittenIntoTheDeviceModeAndReadBack) {
  Fixture f;
  TPvPrinter& p = f.printer;
  p.SetPrintQuality(pvHigh);
  EXPECT_EQ(f.dev->dm.PrintQuality, -4);
  EXPECT_TRUE(f.dev->dm.Fields & dmPrintQuality);
  EXPECT_EQ(p.PrintQuality(), pvHigh);
  p.SetPrintCopies(3);
  EXPECT_EQ(f.dev->dm.Copies, 3);
  EXPECT_TRUE(f.dev->dm.Fields & dmCopies);
  EXPECT_EQ(p.PrintCopies(), 3);

  struct Raw {
    const char* name;
    std::function<void()> set;
    int PvDevMode::*field;
    int raw;
    std::function<int()> get;
    int ordinal;
  } cases[] = {
      {"duplex horizontal", [&] { p.SetDuplex(pvHorzDuplex); }, &PvDevMode::Duplex, 3,
       [&] { return int(p.Duplex()); }, pvHorzDuplex},
      {"duplex vertical", [&] { p.SetDuplex(pvVertDuplex); }, &PvDevMode::Duplex, 2,
       [&] { return int(p.Duplex()); }, pvVertDuplex},
      {"monochrome", [&] { p.SetPrintColor(pvMonochrome); }, &PvDevMode::Color, 1,
       [&] { return int(p.PrintColor()); }, pvMonochrome},
      {"grey scale", [&] { p.SetDitherType(pvGrayScale); }, &PvDevMode::DitherType, 10,
       [&] { return int(p.DitherType()); }, pvGrayScale},
      {"draft", [&] { p.SetPrintQuality(pvDraft); }, &PvDevMode::PrintQuality, -1,
       [&] { return int(p.PrintQuality()); }, pvDraft},
      {"collate", [&] { p.SetCollate(true); }, &PvDevMode::Collate, 1, [&] { return int(p.Collate()); }, 1},
      {"paper A5", [&] { p.SetPaperSize(A5); }, &PvDevMode::PaperSize, 11, [] { return 0; }, 0},
      {"paper custom", [&] { p.SetPaperSize(Custom); }, &PvDevMode::PaperSize, -1, [] { return 0; }, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.set();
    EXPECT_EQ(f.dev->dm.*c.field, c.raw);
    EXPECT_EQ(c.get(), c.ordinal);
  }
  // A number the table does not know reads as the first value.
  f.dev->dm.Duplex = 77;
  EXPECT_EQ(p.Duplex(), pvSimplex);

  // An ordinal outside its table (a damaged setting) writes nothing.
  const PvDevMode before = f.dev->dm;
  p.SetDuplex(static_cast<TPvDuplexType>(3));
  p.SetPrintColor(static_cast<TPvPrintColor>(2));
  p.SetDitherType(static_cast<TPvDitherType>(200));
  p.SetPrintQuality(static_cast<TPvPrintQuality>(4));
  EXPECT_EQ(f.dev->dm.Duplex, before.Duplex);
  EXPECT_EQ(f.dev->dm.Color, before.Color);
  EXPECT_EQ(f.dev->dm.DitherType, before.DitherType);
  EXPECT_EQ(f.dev->dm.PrintQuality, before.PrintQuality);

  // Custom paper carries its own portrait size, in tenths of a millimetre.
  p.SetPaperSize(Custom, {8, 5});
  EXPECT_EQ(f.dev->dm.PaperSize, -1);
  EXPECT_EQ(f.dev->dm.PaperWidth, 1270);
  EXPECT_EQ(f.dev->dm.PaperLength, 2032);
  EXPECT_TRUE(f.dev->dm.Fields & dmPaperWidth);
  EXPECT_TRUE(f.dev->dm.Fields & dmPaperLength);
  EXPECT_EQ(LandscapeRotation(90), 1);
  EXPECT_EQ(LandscapeRotation(270), 2);
  EXPECT_EQ(LandscapeRotation(0), 0);
}

TEST(PrinterSettings, WithoutAPrinterReadFirstValuesAndRefuseToPrint) {
  RecordedMessages messages;
  TPvPrinter p(nullptr);
  EXPECT_TRUE(p.Printers().empty());
  EXPECT_EQ(p.PrinterIndex(), -1);
  p.SetPrintQuality(pvHigh);
  p.SetPrintCopies(5);
  EXPECT_EQ(p.PrintQuality(), pvDraft);
  EXPECT_EQ(p.Duplex(), pvSimplex);
  EXPECT_EQ(p.PrintColor(), pvColor);
  EXPECT_EQ(p.DitherType(), pvNone);
  EXPECT_FALSE(p.Collate());
  EXPECT_EQ(p.PrintCopies(), 1);
  EXPECT_EQ(p.Info().PhysicalWidth, 2481);
  EXPECT_EQ(p.Info().OffsetRight, 58);
  EXPECT_EQ(p.Info().PixelsPerInchY, 300);

  bool before = false;
  p.BeforePrint = [&](TPvPrinter&) { before = true; };
  EXPECT_FALSE(p.BeginPrint());
  EXPECT_FALSE(before);
  EXPECT_FALSE(p.Printing());
  EXPECT_EQ(p.Canvas(), nullptr);
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_NE(messages.texts[0].find("Unable to print... No Printer available."), std::string::npos);
  p.NewSheetPage();
  p.EndPrint();
  EXPECT_FALSE(p.Printing());
}

TEST(PrinterInfo, MeasuredInPortraitWithTheDeviceModePutBack) {
  auto* dev = new FakeDevice;
  dev->dm.Orientation = 2;
  TPvPrinter p{std::unique_ptr<PvPrintDevice>(dev)};
  const TPvPrinterInfo& i = p.Info();
  EXPECT_EQ(dev->measuredLandscape, 0);
  EXPECT_EQ(dev->dm.Orientation, 2);
  EXPECT_EQ(i.Orientation, pvLandscape);
  EXPECT_EQ(i.PhysicalWidth, 2481);
  EXPECT_EQ(i.OffsetRight, 58);
  EXPECT_EQ(i.OffsetBottom, 50);
  EXPECT_EQ(i.DeviceName, "Laser");
  EXPECT_EQ(i.PortName, "LPT1:");
  EXPECT_NEAR(static_cast<double>(i.ScreenToPrinter), 0.32, 1e-12);
  EXPECT_NEAR(static_cast<double>(p.PageWidthInches(pvLandscape)), 3507.0 / 300, 1e-12);
  EXPECT_EQ(p.Offsets(pvLandscape), (IntPoint{50, 58}));  // portrait top, portrait right

  int changed = 0;
  p.OnChangePrinter = [&](TPvPrinter&) { ++changed; };
  p.SetPrinterIndex(1);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(p.Info().DeviceName, "Inkoust");
  p.SetPrinterIndex(7);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(p.PrinterIndex(), 1);
}

TEST(PrinterSheets, PlacementTable) {
  const int W = 2481, H = 3507;
  struct Case {
    TPvPagesPerSheet pps;
    TPvOrientation sheet;
    int n;
    IntRect target;
    int scale;
  } cases[] = {
      {pvOnePage, pvPortrait, 3, {0, 0, W, H}, 100},
      {pvTwoPage, pvPortrait, 1, {0, 0, W, H / 2}, 70},
      {pvTwoPage, pvPortrait, 2, {0, H / 2, W, H}, 70},
      {pvTwoPage, pvLandscape, 3, {0, 0, W / 2, H}, 70},
      {pvTwoPage, pvLandscape, 4, {W / 2, 0, W, H}, 70},
      {pvFourPage, pvPortrait, 5, {0, 0, W / 2, H / 2}, 49},
      {pvFourPage, pvLandscape, 6, {W / 2, 0, W, H / 2}, 49},
      {pvFourPage, pvPortrait, 7, {0, H / 2, W / 2, H}, 49},
      {pvFourPage, pvPortrait, 8, {W / 2, H / 2, W, H}, 49},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.n);
    EXPECT_EQ(TPvPrinter::PlacePage(c.pps, c.sheet, c.n, W, H), (TPvPrinter::Placement{c.target, c.scale}));
  }
}

// Prints pages of the given orientations as the page list does, and gives
// the viewport origin and extent of every page.
struct Job {
  std::vector<CanvasMapping> mappings;
};
Job print(Fixture& f, TPvPagesPerSheet pps, const std::vector<TPvOrientation>& pages) {
  Job job;
  TPvPrinter& p = f.printer;
  p.SetPagesPerSheet(pps);
  auto turned = [&](TPvOrientation o) {
    return pps == pvTwoPage ? (o == pvPortrait ? pvLandscape : pvPortrait) : o;
  };
  p.SetOrientation(pages[0]);
  EXPECT_TRUE(p.BeginPrint());
  for (size_t i = 0; i < pages.size(); ++i) {
    job.mappings.push_back(p.Canvas()->mapping());
    if (i + 1 < pages.size()) {
      p.SetOrientation(turned(pages[i + 1]));
      p.NewSheetPage();
    }
  }
  p.EndPrint();
  return job;
}

TEST(PrinterSheets, PagesShareSheets) {
  {
    Fixture f;
    print(f, pvFourPage, std::vector<TPvOrientation>(7, pvPortrait));
    EXPECT_EQ(f.printer.SheetCount(), 2);
    EXPECT_EQ(f.dev->sheets.size(), 1u);
  }
  {
    Fixture f;
    print(f, pvTwoPage, std::vector<TPvOrientation>(5, pvPortrait));
    EXPECT_EQ(f.printer.SheetCount(), 3);
    EXPECT_EQ(f.dev->sheetOrientation, (std::vector<int>{2, 2, 2}));  // landscape sheets
    EXPECT_EQ(f.dev->sheets, (std::vector<bool>{false, false}));
  }
  {
    Fixture f;
    print(f, pvOnePage, std::vector<TPvOrientation>(3, pvPortrait));
    EXPECT_EQ(f.printer.SheetCount(), 3);
  }
}

TEST(PrinterSheets, FourPagesLandInQuarters) {
  Fixture f;
  const Job job = print(f, pvFourPage, std::vector<TPvOrientation>(8, pvPortrait));
  // Page 5: top left of sheet 2; page 8: bottom right. Extents scaled by 49 %.
  EXPECT_EQ(job.mappings[4].viewportOrg, (IntPoint{-65, -50}));
  EXPECT_EQ(job.mappings[7].viewportOrg, (IntPoint{1240 - 65, 1753 - 50}));
  EXPECT_EQ(job.mappings[7].windowExt, (IntPoint{1241, 1754}));
  EXPECT_EQ(job.mappings[7].viewportExt, (IntPoint{1241 * 49 / 100, 1754 * 49 / 100}));
}

TEST(PrinterSheets, OnePageStartsAtThePaperEdge) {
  Fixture f;
  f.printer.SetOrientation(pvPortrait);
  ASSERT_TRUE(f.printer.BeginPrint());
  DeviceCanvas& c = *f.printer.Canvas();
  EXPECT_EQ(c.mapping().viewportOrg, (IntPoint{-65, -50}));
  c.line(0, 0, 2481, 0);
  EXPECT_EQ(f.dev->canvas.commands().back().points[0], (IntPoint{-65, -50}));
  f.printer.EndPrint();
}

TEST(PrinterSheets, OrientationTurnsBetweenSheetsAndBack) {
  Fixture f;
  const Job job = print(f, pvOnePage, {pvPortrait, pvLandscape, pvLandscape, pvPortrait});
  EXPECT_EQ(f.dev->sheetOrientation, (std::vector<int>{1, 2, 2, 1}));
  // The device is reset whenever a sheet turns from the one before,
  // including back to the first orientation.
  EXPECT_EQ(f.dev->sheets, (std::vector<bool>{true, false, true}));
  // Landscape offsets: left the portrait top, top the portrait right.
  EXPECT_EQ(job.mappings[1].viewportOrg, (IntPoint{-50, -58}));
  EXPECT_EQ(job.mappings[1].windowExt, (IntPoint{3507, 2481}));
  EXPECT_EQ(job.mappings[3].viewportOrg, (IntPoint{-65, -50}));
}

TEST(PrinterJob, EventsAndAbort) {
  {
    Fixture f;
    std::vector<std::string> seen;
    f.printer.BeforePrint = [&](TPvPrinter& p) {
      seen.push_back("before");
      p.Abort();
    };
    f.printer.OnAbortPrint = [&](TPvPrinter&) { seen.push_back("abort"); };
    EXPECT_FALSE(f.printer.BeginPrint());
    EXPECT_FALSE(f.printer.Printing());
    EXPECT_TRUE(f.printer.Aborted());
    EXPECT_EQ(f.dev->begun, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"before", "abort"}));
  }
  {
    Fixture f;
    int after = 0;
    f.printer.AfterPrint = [&](TPvPrinter&) { ++after; };
    f.printer.BeforePrint = [](TPvPrinter& p) { p.SetPrinterIndex(1); };
    ASSERT_TRUE(f.printer.BeginPrint());
    EXPECT_EQ(f.printer.Info().DeviceName, "Inkoust");
    EXPECT_FALSE(f.printer.BeginPrint());  // one job at a time
    EXPECT_EQ(f.dev->begun, 1);
    f.printer.Abort();
    EXPECT_FALSE(f.printer.Printing());
    EXPECT_EQ(f.dev->aborted, 1);
    f.printer.EndPrint();
    EXPECT_EQ(after, 0);
    ASSERT_TRUE(f.printer.BeginPrint());
    EXPECT_FALSE(f.printer.Aborted());
    f.printer.EndPrint();
    EXPECT_EQ(after, 1);
    EXPECT_EQ(f.dev->ended, 1);
  }
}

}  // namespace
}  // namespace vektrano::preview
