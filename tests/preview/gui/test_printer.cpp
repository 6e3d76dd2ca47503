// The printer over Qt: no printer installed must be reported, never crash;
// a PDF file stands in for a printer to check that a job really prints.
#include "preview/gui/printer_qt.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <filesystem>
#include <unistd.h>

#include "platform/message.h"
#include "preview/gui/printer_setup.h"
#include "preview/page_objects.h"
#include "preview/pages.h"
#include "tests/support/temp_dir.h"

namespace vektrano::preview {
namespace {

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

std::string readAll(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}

int countPages(const std::string& pdf) {
  int n = 0;
  for (size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
    if (pdf.compare(at, 12, "/Type /Pages") != 0) ++n;
  return n;
}

TEST(QtPrinter, NoPrinterInstalled) {
  RecordedMessages messages;
  TPvPrinter p(std::make_unique<QtPrintDevice>(QList<QPrinterInfo>{}));
  EXPECT_TRUE(p.Printers().empty());
  EXPECT_FALSE(p.PrinterInstalled());
  p.SetPrintCopies(4);
  EXPECT_EQ(p.PrintCopies(), 1);
  EXPECT_EQ(p.PrintQuality(), pvDraft);
  EXPECT_EQ(p.Info().PhysicalHeight, 3507);  // the built-in A4 page
  EXPECT_FALSE(p.BeginPrint());
  EXPECT_EQ(p.Canvas(), nullptr);
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_NE(messages.texts[0].find("No Printer available."), std::string::npos);
  p.EndPrint();
}

TEST(QtPrinter, SystemPrintersAreListedWithoutPrinting) {
  RecordedMessages messages;
  InstallQtPrintDevices();
  TPvPrinter p;
  SetPrintDeviceFactory({});
  const auto names = p.Printers();
  EXPECT_EQ(p.PrinterInstalled(), !names.empty());
  EXPECT_GT(p.Info().PixelsPerInchX, 0);
  if (names.empty()) {
    EXPECT_FALSE(p.BeginPrint());
    EXPECT_EQ(messages.texts.size(), 1u);
  }
}

TEST(QtPrinter, PrintsToPdf) {
  test::TempDir dir;
  const std::string path = dir.file("tisk.pdf");
  TPvPrinter p(QtPrintDevice::ForPdf(path));
  ASSERT_EQ(p.Printers(), (std::vector<std::string>{"PDF"}));
  EXPECT_EQ(p.Info().PixelsPerInchX, 300);
  EXPECT_GT(p.Info().PhysicalWidth, 2000);
  EXPECT_LT(p.Info().PhysicalWidth, p.Info().PhysicalHeight);

  p.SetPrintCopies(2);
  EXPECT_EQ(p.PrintCopies(), 2);
  p.SetPrintQuality(pvHigh);
  EXPECT_EQ(p.PrintQuality(), pvHigh);
  p.SetPaperSize(A5);
  EXPECT_NEAR(static_cast<double>(p.PageWidthInches(pvPortrait)), 148 / 25.4, 0.01);

  TPvResourceTable table;
  TPvLineObject line(&table);
  line.SetRect({0.5, 0.5, 4, 0.5});
  TPvTextBoxObject box(&table);
  box.SetRect({1, 1, 4, 2});
  box.SetText("Strana {PAGE} z {NUMPAGES}");
  box.SetTextHeight(0.3);

  int after = 0;
  p.AfterPrint = [&](TPvPrinter&) { ++after; };
  p.Title = "Deník";
  ASSERT_TRUE(p.BeginPrint());
  for (int page = 1; page <= 2; ++page) {
    DeviceCanvas* c = p.Canvas();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->kind(), CanvasKind::Printer);
    TPvDeviceInfo info{page, c->pixelsPerInchX(), c->pixelsPerInchY(), 2, false};
    line.DrawOn(*c, info);
    box.DrawOn(*c, info);
    if (page == 1) {
      p.SetOrientation(pvLandscape);
      p.NewSheetPage();
    }
  }
  p.EndPrint();
  EXPECT_EQ(after, 1);

  const std::string pdf = readAll(path);
  ASSERT_FALSE(pdf.empty());
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_EQ(countPages(pdf), 2);
}

// A PDF file that cannot be made is named in the message; the printer is
// there all the same, and the pages stay as they were for another try.
TEST(QtPrinter, UnwritablePdfIsReportedAndNothingStarts) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.file("slozka.pdf"));
  std::filesystem::create_directory(dir.file("jen_cteni"));
  std::filesystem::permissions(dir.file("jen_cteni"), std::filesystem::perms::owner_read |
                                                          std::filesystem::perms::owner_exec);
  struct Case {
    const char* name;
    std::string path;
  } cases[] = {
      {"a missing folder", dir.file("chybi/tisk.pdf")},
      {"a folder in its place", dir.file("slozka.pdf")},
      {"a read-only folder", dir.file("jen_cteni/tisk.pdf")},
      {"a file system nobody writes", "/proc/vektrano-tisk.pdf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The owner of every file (root) writes into a read-only folder anyway.
    if (c.path.find("jen_cteni") != std::string::npos && ::geteuid() == 0) continue;
    RecordedMessages messages;
    TPvPageList list(QtPrintDevice::ForPdf(c.path));
    list.Canvas.Line(pvInches, 1, 1, 3, 1);
    list.AddPage();
    EXPECT_FALSE(list.PrintPages(1, 2));
    EXPECT_FALSE(list.Printer.Printing());
    EXPECT_EQ(messages.texts, std::vector<std::string>{"Chyba I/O při ukládání souboru : " + c.path});
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0)->Objects().Count(), 1);
    list.Printer.NewSheetPage();
    list.Printer.EndPrint();
  }
}

// The PDF printer is always there: a machine without any printer still
// prints, into the file the operator names; no name calls the job off
// without a word.
TEST(QtPrinter, ThePdfPrinterStandsInForAMissingOne) {
  RecordedMessages messages;
  test::TempDir dir;
  auto set = std::make_shared<PvPrinterSet>(QList<QPrinterInfo>{}, true);
  ASSERT_EQ(set->Names(), std::vector<std::string>{kPdfPrinterName});
  EXPECT_EQ(set->Current(), 0);
  std::string answer;
  int asked = 0;
  set->PdfPathProvider = [&](QWidget*) {
    ++asked;
    return answer;
  };
  TPvPageList list(std::make_unique<QtPrintDevice>(set));
  list.Canvas.Line(pvInches, 1, 1, 3, 1);
  EXPECT_FALSE(list.PrintPages(1, 1));
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(messages.texts.empty());
  EXPECT_FALSE(list.Printer.Printing());

  answer = dir.file("vystup.pdf");
  list.AddPage();
  EXPECT_TRUE(list.PrintPages(1, 2));
  EXPECT_EQ(countPages(readAll(answer)), 2);
  EXPECT_TRUE(messages.texts.empty());
}

// One printer is current for the whole program: what the set-up chooses is
// what the next page list prints on.
TEST(QtPrinter, TheSetUpChoosesThePrinterOfTheWholeProgram) {
  InstallQtPrintDevices();
  auto set = ProcessPrinters();
  const auto names = set->Names();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.back(), kPdfPrinterName);
  {
    PrinterSetupDialog dialog(*set);
    ASSERT_EQ(dialog.printerBox()->count(), static_cast<int>(names.size()));
    dialog.printerBox()->setCurrentIndex(static_cast<int>(names.size()) - 1);
    dialog.accept();
  }
  EXPECT_TRUE(set->IsPdf(set->Current()));
  TPvPrinter a, b;
  EXPECT_EQ(a.PrinterIndex(), set->Current());
  EXPECT_EQ(a.Printers(), names);
  if (names.size() > 1) {
    a.SetPrinterIndex(0);
    EXPECT_EQ(b.PrinterIndex(), 0);
  }

  // A window's picture on one sheet of that printer.
  test::TempDir dir;
  set->PdfPath = dir.file("okno.pdf");
  set->Select(static_cast<int>(names.size()) - 1);
  QLabel window(QStringLiteral("Popis expedice"));
  window.resize(400, 300);
  EXPECT_TRUE(PrintWidgetImage(window, "Popis expedice"));
  EXPECT_EQ(countPages(readAll(set->PdfPath)), 1);
  set->PdfPath.clear();
  SetPrintDeviceFactory({});
}

}  // namespace
}  // namespace vektrano::preview
