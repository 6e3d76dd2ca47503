#pragma once
// A print device for tests: one printer ("Laser"), an A4 sheet at 600 dpi,
// each sheet recorded on a canvas of its own.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "preview/printer.h"

namespace vektrano::preview::test {

class FakePrintDevice : public PvPrintDevice {
 public:
  PvDevMode dm;
  int ppi = 600;
  int begun = 0, ended = 0, aborted = 0;
  bool open = false;
  // One canvas per sheet, in order; the orientation each sheet began with.
  std::deque<RecordingCanvas> sheets;
  std::vector<int> sheetOrientation;

  std::vector<std::string> PrinterNames() const override { return {"Laser"}; }
  int PrinterIndex() const override { return 0; }
  bool SelectPrinter(int i) override { return i == 0; }
  std::string DriverName() const override { return "drv"; }
  std::string PortName() const override { return "LPT1:"; }
  bool GetDevMode(PvDevMode& out) const override {
    out = dm;
    return true;
  }
  void SetDevMode(const PvDevMode& in) override { dm = in; }
  bool Measure(PvPrintMetrics& m) const override {
    const bool land = dm.Orientation == 2;
    const int w = 4961, h = 7016;  // A4 at 600 dpi
    m.PhysicalWidth = land ? h : w;
    m.PhysicalHeight = land ? w : h;
    m.PrintableWidth = m.PhysicalWidth - 100;
    m.PrintableHeight = m.PhysicalHeight - 100;
    m.OffsetX = m.OffsetY = 50;
    m.PixelsPerInchX = m.PixelsPerInchY = ppi;
    return true;
  }
  bool CanPrint() const override { return true; }
  bool BeginDoc(const std::string&) override {
    ++begun;
    open = true;
    newSheet();
    return true;
  }
  void NextSheet(bool) override { newSheet(); }
  void EndDoc() override {
    ++ended;
    open = false;
  }
  void AbortDoc() override {
    ++aborted;
    open = false;
  }
  DeviceCanvas* Canvas() override { return open && !sheets.empty() ? &sheets.back() : nullptr; }

 private:
  void newSheet() {
    sheets.emplace_back(CanvasKind::Printer, ppi, ppi);
    sheetOrientation.push_back(dm.Orientation);
  }
};

// A device for a page list and a pointer to look at it.
inline std::unique_ptr<PvPrintDevice> fakeDevice(FakePrintDevice*& seen) {
  auto d = std::make_unique<FakePrintDevice>();
  seen = d.get();
  return d;
}

}  // namespace vektrano::preview::test
