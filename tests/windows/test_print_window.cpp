// The print window: placement and texts in the registry, the header and
// footer lines, the widened call-sign column (the log grid untouched), the
// re-layout after resizing, and the whole road of a log to a PDF file.
#include "windows/print_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <filesystem>
#include <map>

#include "core/log/log.h"
#include "platform/cp1250.h"
#include "platform/message.h"
#include "platform/registry.h"
#include "preview/font_mapper.h"
#include "preview/gui/preview.h"
#include "preview/gui/printer_qt.h"
#include "preview/gui/thumbnails.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using platform::toQString;
using namespace preview;

// UTF-8 of a cp1250 text, as pdftotext writes it.
std::string utf8(const std::string& cp1250) { return toQString(cp1250).toStdString(); }

std::string callSign(int i) { return "OK" + std::to_string(1 + i % 9) + "Z" + std::to_string(1000 + i); }

// A log of n contacts laid out as the main window shows it; with the
// call-sign column widened to 400 pixels it fills the width of an A4 page.
void fillRows(Grid& denik, int n, int noteWidth, std::string (*call)(int), std::string (*note)(int)) {
  setLogTitles(denik);
  const int widths[kLogColumns] = {35, 60, 25, 300, 25, 66, 40, noteWidth};
  for (int c = 0; c < kLogColumns; ++c) denik.setColWidth(c, widths[c]);
  for (int i = 1; i <= n; ++i)
    denik.appendRow({std::to_string(i), "10:" + std::to_string(10 + i % 50), "59", call(i), "57", "JO60LJ",
                     std::to_string(100 + i), note(i)});
  denik.setFixedRows(1);
}
void fillLog(Grid& denik, int n) {
  fillRows(denik, n, 100, callSign, [](int i) { return std::string(i % 10 == 0 ? "Žluťoučký kůň" : ""); });
}

// A log as an operator with long call signs, names and notes keeps it: the
// note column widened on the screen until the notes show whole.
std::string longCallSign(int i) { return callSign(i) + (i % 4 == 0 ? " JAROSLAV .azimut_" + std::to_string(i % 360) : ""); }
std::string longNote(int i) {
  if (i % 9 == 0) return ",žluťoučký kůň úpěl ďábelské ódy u Sněžky, spojení přes hřeben " + std::to_string(i);
  return i % 3 == 0 ? ",žluťoučký kůň úpěl ďábelské ódy " + std::to_string(i) : "";
}
void fillLongLog(Grid& denik, int n) { fillRows(denik, n, 250, longCallSign, longNote); }

// What pdftotext reads from a PDF file: its text, or its words with their
// boxes (points from the top left corner of their page).
QString pdfToText(const std::string& pdf, const QStringList& options) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"),
          options + QStringList{QStringLiteral("-enc"), QStringLiteral("UTF-8"), QString::fromStdString(pdf),
                                QStringLiteral("-")});
  if (!p.waitForStarted(5000)) return {};
  p.waitForFinished(60000);
  return p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

struct PdfWord {
  int page;
  double xMin, yMin, xMax, yMax;
  QString text;
};
struct PdfLayout {
  std::vector<QSizeF> pages;
  std::vector<PdfWord> words;
};

PdfLayout pdfWords(const std::string& pdf) {
  PdfLayout out;
  const QString html = pdfToText(pdf, {QStringLiteral("-bbox")});
  static const QRegularExpression tag(
      QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\"|<word xMin=\"([0-9.]+)\" "
                     "yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
  for (auto it = tag.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    if (!m.captured(1).isEmpty()) {
      out.pages.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
      continue;
    }
    QString text = m.captured(7);
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&")).replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">")).replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    out.words.push_back({static_cast<int>(out.pages.size()) - 1, m.captured(3).toDouble(), m.captured(4).toDouble(),
                         m.captured(5).toDouble(), m.captured(6).toDouble(), text});
  }
  return out;
}

class PrintWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.defaultAnswer;
    });
    SetFontMapperMeasurer(makeQtMeasurer());
    pdf_ = dir_.file("denik.pdf");
    SetPrintDeviceFactory([this] { return QtPrintDevice::ForPdf(pdf_, 600); });
    fillLog(log_.Denik, 200);
  }
  void TearDown() override {
    delete Form7.data();
    SetPrintDeviceFactory({});
    platform::setMessageHandler(previous_);
  }
  TForm7* open() {
    return openForm7({&log_.Denik, [this] { return dateInFront_; }, [this] { return rowHeight_; }});
  }
  static void deferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  test::TempDir dir_;
  LogDocument log_;
  bool dateInFront_ = false;
  int rowHeight_ = 24;
  std::string pdf_;
  std::vector<std::string> messages_;
  platform::MessageHandler previous_;
};

TEST_F(PrintWindowTest, FirstOpeningPlacesItAndLaysTheLogOut) {
  TForm7* w = open();
  EXPECT_EQ(w->geometry(), QRect(10, 10, 600, 400));
  EXPECT_EQ(w->windowTitle(), toQString("Deník ZR-4    Tisk deníku"));
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(w->head()->text(), toQString("Sněžka JO70UR"));
  EXPECT_EQ(w->footr()->text(), toQString("Milous ZR-4"));
  EXPECT_EQ(w->printButton()->text(), QStringLiteral("T I S K N I"));
  TPvPreview* p = w->preview();
  EXPECT_GT(p->NumPages(), 3);
  EXPECT_EQ(w->thumbnails()->Count(), p->NumPages());
  EXPECT_TRUE(p->Header().Visible());
  EXPECT_EQ(p->Header().CaptionCenter().Caption(), "Sněžka JO70UR");
  EXPECT_EQ(p->Footer().CaptionCenter().Caption(), "Milous ZR-4");
  EXPECT_EQ(p->Header().CaptionCenter().Font().height, 27);
  EXPECT_TRUE(p->Header().CaptionCenter().Font().style & fsBold);
  EXPECT_EQ(p->PageGrid().GridStyle(), pvDots);
  EXPECT_TRUE(messages_.empty());

  // The print command again: the same window, laid out anew from page 1.
  p->LastPage();
  EXPECT_EQ(open(), w);
  EXPECT_EQ(p->NumPages(), w->thumbnails()->Count());
  auto* first = dynamic_cast<TPvTextBoxObject*>(p->PageList().Items(0)->Objects().Items(0));
  ASSERT_NE(first, nullptr);
  EXPECT_NEAR(double(first->Rect().Left), 40.0 / 96, 1e-12);
}

TEST_F(PrintWindowTest, CallSignColumnIsWidenedInPrintOnly) {
  // A narrow note column, so that the widened grid fits the paper as it is.
  log_.Denik.setColWidth(kColPozn, 40);
  const int before = log_.Denik.colWidth(kColVolacka);
  TForm7* w = open();
  EXPECT_NEAR(double(w->gridPrint().ColumnWidths().Item(kColVolacka)), 400.0 / 96, 1e-12);
  dateInFront_ = true;
  w->LayOut();
  EXPECT_NEAR(double(w->gridPrint().ColumnWidths().Item(kColVolacka)), 330.0 / 96, 1e-12);
  EXPECT_NEAR(double(w->gridPrint().ColumnWidths().Item(0)), 35.0 / 96, 1e-12);
  EXPECT_EQ(log_.Denik.colWidth(kColVolacka), before);  // the main window's grid is as it was
}

TEST_F(PrintWindowTest, HeaderAndFooterEditsGoOnEveryPage) {
  TForm7* w = open();
  w->head()->clear();
  QTest::keyClicks(w->head(), QStringLiteral("Expedice Kle"));
  QKeyEvent accented(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, toQString("ť"));
  QApplication::sendEvent(w->head(), &accented);
  EXPECT_EQ(w->preview()->Header().CaptionCenter().Caption(), "Expedice Kleť");
  w->footr()->setText(QStringLiteral("Strana {PAGE} z {NUMPAGES}"));
  // Drawn, every page shows both, with its own number.
  TPvPageList& pages = w->preview()->PageList();
  for (int i : {0, pages.Count() - 1}) {
    RecordingCanvas c;
    pages.Items(i)->DrawPage(c, 96, 96, false);
    std::vector<std::string> texts;
    for (auto* t : c.find("text")) texts.push_back(t->text);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Expedice Kleť"), texts.end()) << i;
    const std::string footer = "Strana " + std::to_string(i + 1) + " z " + std::to_string(pages.Count());
    EXPECT_NE(std::find(texts.begin(), texts.end(), footer), texts.end()) << i;
  }
}

TEST_F(PrintWindowTest, ResizingLaysOutOnceItStops) {
  TForm7* w = open();
  int clears = 0;
  w->preview()->OnClear = [&](TPvPreview&) { ++clears; };
  for (int i = 0; i < 5; ++i) w->resize(700 + 20 * i, 500);
  QCoreApplication::processEvents();
  EXPECT_EQ(clears, 0);
  EXPECT_TRUE(w->relayoutTimer().isActive());
  QTest::qWait(w->relayoutTimer().interval() + 150);
  EXPECT_EQ(clears, 1);
  auto* first = dynamic_cast<TPvTextBoxObject*>(w->preview()->PageList().Items(0)->Objects().Items(0));
  ASSERT_NE(first, nullptr);
  EXPECT_NEAR(double(first->Rect().Left), 90.0 / 96, 1e-12);
}

TEST_F(PrintWindowTest, PlacementAndTextsAreKept) {
  TForm7* w = open();
  w->head()->setText(toQString("Lysá hora JN99KM"));
  w->footr()->setText(QStringLiteral("Milous"));
  w->setGeometry(40, 50, 700, 500);
  w->showMaximized();
  QCoreApplication::processEvents();
  w->close();
  deferredDeletes();
  ASSERT_TRUE(Form7.isNull());

  auto key = platform::RegistryKey::open("\\Software\\NOVR\\Vektrano\\Form7", false);
  ASSERT_TRUE(key);
  EXPECT_TRUE(key->readBool("Maximized"));
  EXPECT_EQ(key->readInteger("Top"), 50);
  EXPECT_EQ(key->readInteger("Left"), 40);
  EXPECT_EQ(key->readInteger("Width"), 700);
  EXPECT_EQ(key->readString("Header"), "Lysá hora JN99KM");
  EXPECT_EQ(key->readString("Footer"), "Milous");

  w = open();
  EXPECT_TRUE(w->isMaximized());
  EXPECT_EQ(w->head()->text(), toQString("Lysá hora JN99KM"));
  EXPECT_EQ(w->preview()->Footer().CaptionCenter().Caption(), "Milous");
  delete w;

  // A top beyond the screen comes back as 1.
  {
    auto k = platform::RegistryKey::open("\\Software\\NOVR\\Vektrano\\Form7", true);
    k->writeInteger("Top", 20000);
    k->writeBool("Maximized", false);
    ASSERT_TRUE(k->flush());
  }
  w = open();
  EXPECT_EQ(w->geometry().top(), 1);
}

// The log of 200 contacts laid out by the window and printed to a PDF file:
// every call sign reads back in order across the pages, the pages are as
// many as laid out, and the Czech letters come out right.
TEST_F(PrintWindowTest, PrintsTheLogToPdf) {
  TForm7* w = open();
  const int pages = w->preview()->NumPages();
  QTest::mouseClick(w->printButton(), Qt::LeftButton);
  ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf_))) << "no PDF written";
  EXPECT_TRUE(messages_.empty());

  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                QString::fromStdString(pdf_), QStringLiteral("-")});
  if (!pdftotext.waitForStarted(5000)) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  ASSERT_TRUE(pdftotext.waitForFinished(30000));
  ASSERT_EQ(pdftotext.exitCode(), 0);
  const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());

  EXPECT_EQ(text.count(QLatin1Char('\f')), pages);
  std::vector<std::string> calls;
  QRegularExpression re(QStringLiteral("OK[1-9]Z[0-9]{4}"));
  for (auto it = re.globalMatch(text); it.hasNext();) calls.push_back(it.next().captured().toStdString());
  std::vector<std::string> expected;
  for (int i = 1; i <= 200; ++i) expected.push_back(callSign(i));
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(text.count(toQString("Žluťoučký kůň")), 20);
  EXPECT_EQ(text.count(toQString("Sněžka JO70UR")), pages);  // the header of every sheet
  EXPECT_EQ(text.count(toQString("Volačka")), pages);        // the title row of every page
  EXPECT_EQ(text.count(toQString("Lokátor")), pages);
}

// A log with long call signs, names and notes printed to PDF, laid out at
// the window's first opening and again after a resize: every word lies on
// the paper inside the right margin and the printer's printable area, every
// note and call sign is there whole and in order, and the title row heads
// every page.
TEST_F(PrintWindowTest, PrintedLogFitsThePaper) {
  const int contacts = 300;
  log_.Denik = Grid();
  fillLongLog(log_.Denik, contacts);
  struct Case {
    const char* name;
    bool resize;
    bool dateInFront;
  } cases[] = {{"first opening", false, false}, {"after a resize", true, false},
               {"after a resize, date in front", true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dateInFront_ = c.dateInFront;
    TForm7* w = open();
    if (c.resize) {
      w->resize(900, 700);
      QTest::qWait(w->relayoutTimer().interval() + 150);
    }
    QFile::remove(QString::fromStdString(pdf_));
    QTest::mouseClick(w->printButton(), Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf_))) << "no PDF written";
    EXPECT_TRUE(messages_.empty());

    const PdfLayout pdf = pdfWords(pdf_);
    if (pdf.pages.empty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ASSERT_EQ(static_cast<int>(pdf.pages.size()), w->preview()->NumPages());
    const TPvPrinterInfo& info = w->preview()->PvPrinter().Info();
    const double pt = 72.0;  // points per inch
    const double right = std::max<double>(0.5, double(info.OffsetRight) / info.PixelsPerInchX);
    for (const PdfWord& word : pdf.words) {
      const QSizeF page = pdf.pages[static_cast<size_t>(word.page)];
      EXPECT_GE(word.xMin, double(info.OffsetLeft) / info.PixelsPerInchX * pt) << word.text.toStdString();
      EXPECT_LE(word.xMax, page.width() - right * pt) << word.text.toStdString() << " page " << word.page + 1;
      EXPECT_GE(word.yMin, double(info.OffsetTop) / info.PixelsPerInchY * pt) << word.text.toStdString();
      EXPECT_LE(word.yMax, page.height() - double(info.OffsetBottom) / info.PixelsPerInchY * pt)
          << word.text.toStdString();
    }

    // Every word of every note and call-sign cell, as many times as the log
    // holds it: a word cut at a cell's or the paper's edge is missing.
    std::map<QString, int> printed, expected;
    for (const PdfWord& word : pdf.words) ++printed[word.text];
    for (int i = 1; i <= contacts; ++i)
      for (const std::string& cell : {longNote(i), longCallSign(i)})
        for (const QString& word : toQString(cell).split(QLatin1Char(' '), Qt::SkipEmptyParts)) ++expected[word];
    for (const auto& [word, n] : expected) EXPECT_GE(printed[word], n) << word.toStdString();

    std::vector<std::string> calls;
    QRegularExpression re(QStringLiteral("^OK[1-9]Z[0-9]{4}$"));
    for (const PdfWord& word : pdf.words)
      if (re.match(word.text).hasMatch()) calls.push_back(word.text.toStdString());
    std::vector<std::string> inOrder;
    for (int i = 1; i <= contacts; ++i) inOrder.push_back(callSign(i));
    EXPECT_EQ(calls, inOrder);
    std::vector<int> titles(pdf.pages.size());
    for (const PdfWord& word : pdf.words)
      if (word.text == toQString("Volačka")) ++titles[static_cast<size_t>(word.page)];
    EXPECT_EQ(titles, std::vector<int>(pdf.pages.size(), 1));
    delete w;
  }
}

// The main window's font size changed while the print window is open: the
// next print command lays the rows out at the grid's new row height.
TEST_F(PrintWindowTest, RowPitchFollowsTheGridsRowHeight) {
  auto pitch = [](TForm7* w) {
    // The tops of the first two contacts' call-sign cells on page 1.
    std::vector<double> tops;
    const TPvPage* page = w->preview()->PageList().Items(0);
    for (int i = 0; i < page->Objects().Count(); ++i)
      if (auto* t = dynamic_cast<TPvTextBoxObject*>(page->Objects().Items(i)))
        if (t->Text() == callSign(1) || t->Text() == callSign(2)) tops.push_back(double(t->Rect().Top));
    return tops.size() == 2 ? tops[1] - tops[0] : 0.0;
  };
  TForm7* w = open();
  EXPECT_NEAR(pitch(w), 24.0 / 96, 1e-9);
  rowHeight_ = 40;
  EXPECT_EQ(open(), w);
  EXPECT_NEAR(pitch(w), 40.0 / 96, 1e-9);
}

// The PDF printer's file is asked over the print window, which stays on
// top: a dialog of the main window would open underneath it.
TEST_F(PrintWindowTest, ThePdfFileIsAskedOverThePrintWindow) {
  auto set = std::make_shared<PvPrinterSet>(QList<QPrinterInfo>{}, true, 600);
  std::vector<QWidget*> over;
  set->PdfPathProvider = [&](QWidget* window) {
    over.push_back(window);
    return pdf_;
  };
  SetPrintDeviceFactory([set] { return std::make_unique<QtPrintDevice>(set); });
  TForm7* w = open();
  QTest::mouseClick(w->printButton(), Qt::LeftButton);
  EXPECT_EQ(over, std::vector<QWidget*>{w});
  EXPECT_TRUE(QFile::exists(QString::fromStdString(pdf_)));
  EXPECT_EQ(PrintDialogOwner::Window(), nullptr);  // only while the job starts
}

// A PDF file that cannot be made: the message names it, and the preview
// stays as it was.
TEST_F(PrintWindowTest, AnUnwritableFileIsNamedAndThePreviewStays) {
  pdf_ = dir_.file("chybi/denik.pdf");
  TForm7* w = open();
  TPvPreview* p = w->preview();
  const int pages = p->NumPages();
  p->SetCurrentPage(2);
  const int objects = p->PageList().Items(0)->Objects().Count();
  QTest::mouseClick(w->printButton(), Qt::LeftButton);
  EXPECT_EQ(messages_, std::vector<std::string>{"Chyba I/O při ukládání souboru : " + pdf_});
  EXPECT_EQ(p->NumPages(), pages);
  EXPECT_EQ(p->PageList().CurrentPageNumber(), 2);
  EXPECT_EQ(p->PageList().Items(0)->Objects().Count(), objects);
  EXPECT_EQ(w->thumbnails()->Count(), pages);
}

// Under a real X server (xvfb_print_window.sh): the window with its
// preview, as the screen shows it.
TEST_F(PrintWindowTest, ScreenshotUnderXvfb) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs a real X server";
  TForm7* w = open();
  w->resize(900, 700);
  QTest::qWait(600);  // the re-layout after the resize, and the painting
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  const QImage shot = w->screen()->grabWindow(w->winId()).toImage();
  if (const char* path = std::getenv("PRINT_WINDOW_SHOT")) shot.save(QString::fromLocal8Bit(path));
  ASSERT_FALSE(shot.isNull());
  // On the page in the preview: mostly white paper, and the dark ink of
  // the laid-out log on it.
  TPvPreview* p = w->preview();
  const IntRect r = p->PaperImage()->Image().PageRect();
  const QRect page(p->PaperImage()->mapTo(w, QPoint(r.left, r.top)), QSize(r.right - r.left, r.bottom - r.top));
  ASSERT_TRUE(QRect(QPoint(0, 0), shot.size()).contains(page));
  int white = 0, ink = 0, samples = 0;
  for (int y = page.top() + 1; y < page.bottom(); y += 2)
    for (int x = page.left() + 1; x < page.right(); x += 2) {
      const int g = qGray(shot.pixel(x, y));
      white += g > 240;
      ink += g < 100;
      ++samples;
    }
  EXPECT_GT(white, samples / 2) << "no paper in the preview";
  EXPECT_GT(ink, samples / 100) << "nothing laid out on the paper";
  // The thumbnails show every page.
  EXPECT_EQ(w->thumbnails()->Count(), p->NumPages());
}

}  // namespace
}  // namespace vektrano
