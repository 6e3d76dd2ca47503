// The picture windows in a real X server (run under Xvfb with the xcb
// platform by xvfb_picture_windows.sh): each opens, its picture reaches the
// screen, and it closes cleanly through its own key or command. With
// VEKTRANO_SCREENSHOTS set, the screenshots are kept in that folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <filesystem>
#include <set>

#include "platform/files.h"
#include "platform/message.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"
#include "windows/chart_windows.h"
#include "windows/contact_map_window.h"
#include "windows/direction_finding_window.h"
#include "windows/locator_map_window.h"
#include "windows/map_pictures.h"

namespace vektrano {
namespace {

class PictureWindowsOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.defaultAnswer;
    });
    log_.Denik.appendRow({"1", "22:00:00", "59", "OK1AAA", "59", "JO80GQ", "", ""});
    log_.Denik.appendRow({"2", "22:40:00", "59", "OK2BBB", "59", "JN99JM", "", ""});
    log_.Denik.appendRow({"3", "23:10:00", "59", "OK1CCC", "59", "JO60LJ", "", ""});
    log_.Denik.appendRow({"4", "00:20:00", "59", "OK1DDD", "59", "JN79VX", "", ""});
    log_.Denik.appendRow({"5", "01:05:00", "59", "OK1EEE", "59", "JO70PO", "", ""});
    log_.PocetSpojeni = 5;
  }
  void TearDown() override { platform::setMessageHandler(previous_); }

  // What the X server shows of the window now.
  QImage onScreen(QWidget* w, const char* name) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
    QTest::qWait(300);
    const QRect g = w->geometry();
    QImage shot = QGuiApplication::primaryScreen()
                      ->grabWindow(0, g.x(), g.y(), g.width(), g.height())
                      .toImage()
                      .convertToFormat(QImage::Format_RGB32);
    if (const char* folder = std::getenv("VEKTRANO_SCREENSHOTS"))
      shot.save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
    return shot;
  }
  static int count(const QImage& img, QColor c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += img.pixelColor(x, y) == c;
    return n;
  }
  static int colours(const QImage& img) {
    std::set<QRgb> seen;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) seen.insert(img.pixel(x, y));
    return static_cast<int>(seen.size());
  }
  static void closed() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }
  static bool settingsKept(int form) {
    return platform::RegistryKey::open(windowSettingsKey(form), false).has_value();
  }

  test::TempDir dir_;
  LogDocument log_;
  std::vector<std::string> messages_;
  platform::MessageHandler previous_;
};

TEST_F(PictureWindowsOnScreen, LocatorMapShowsItsPlaceholderAndClosesWithEscape) {
  QLineEdit vstup;
  Form13Hooks h;
  h.ownLocator = [] { return std::string("JO70GQ"); };
  h.mapFolder = [this] { return dir_.file("mapy"); };
  h.photoFolder = [this] { return dir_.file("foto"); };
  h.vstup = &vstup;
  TForm13* w = otevrimapu("JN99JM", kVolaVstup, h);
  const QImage shot = onScreen(w, "locator_map");
  EXPECT_GT(count(shot, QColor(255, 251, 240)), 100000);  // the placeholder's ground
  EXPECT_GT(count(shot, QColor(255, 0, 0)), 1000);       // its red locator
  QTest::keyClick(w->edit(), Qt::Key_Escape);
  closed();
  EXPECT_FALSE(Form13);
  EXPECT_TRUE(settingsKept(13));
}

TEST_F(PictureWindowsOnScreen, ContactMapShowsTheContactsAndClosesWithF8) {
  ASSERT_TRUE(platform::writeFileAtomic(dir_.file("vektrano.v4m"),
                                        *platform::readWholeFile(std::string(VEKTRANO_SOURCE_DIR) +
                                                                 "/data/vektrano.v4m")));
  Form10Hooks h;
  h.log = &log_;
  h.vychoziBod = [] { return true; };
  VstupMapy v;
  v.vychoziBod = true;
  v.spojnice = true;
  TForm10* w = Mapaspojen1Click(v, dir_.file("vektrano.v4m"), h);
  ASSERT_TRUE(w);
  const QImage shot = onScreen(w, "contact_map");
  EXPECT_GT(count(shot, QColor(236, 242, 226)), 100000);  // the region
  EXPECT_GT(count(shot, QColor(0, 0, 128)), 500);         // the country's outline
  EXPECT_GT(count(shot, QColor(255, 0, 0)), 100);         // the longest contact
  QTest::keyClick(w, Qt::Key_F8);
  closed();
  EXPECT_FALSE(Form10);
  EXPECT_TRUE(settingsKept(10));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(PictureWindowsOnScreen, ChartsAreDrawnAndClose) {
  TForm9* pie = Spojendovelkchtverc1Click(log_, {});
  ASSERT_TRUE(pie);
  EXPECT_GT(colours(onScreen(pie, "chart_squares")), 50);
  pie->close();
  TForm21* hours = Potuspojenvzvislostinaasu1Click(log_, {});
  ASSERT_TRUE(hours);
  EXPECT_GT(colours(onScreen(hours, "chart_hours")), 50);
  hours->close();
  closed();
  EXPECT_FALSE(Form9);
  EXPECT_FALSE(Form21);
  EXPECT_TRUE(settingsKept(9));
  EXPECT_TRUE(settingsKept(21));
}

TEST_F(PictureWindowsOnScreen, DirectionFindingDrawsTheBearingsAndWritesItsFile) {
  ASSERT_TRUE(platform::writeFileAtomic(dir_.file("vektrano.v4m"),
                                        *platform::readWholeFile(std::string(VEKTRANO_SOURCE_DIR) +
                                                                 "/data/vektrano.v4m")));
  ASSERT_TRUE(platform::writeFileAtomic(
      dir_.file("vektrano.hb9"),
      "Volačka;Lokátor;Azimut\r\nKozákov;JO70PO;210\r\nJavorina;JN88UU;310\r\nKlínovec;JO60LJ;93\r\n"));
  Form20Hooks h;
  h.soubor = dir_.file("vektrano.hb9");
  h.obrys = dir_.file("vektrano.v4m");
  TForm20* w = openForm20(h);
  w->tlacitko(1)->click();
  const QImage shot = onScreen(w, "direction_finding");
  EXPECT_GT(count(shot, QColor(0, 128, 0)), 500);  // the outline
  EXPECT_GT(count(shot, QColor(255, 0, 0)), 300);  // the bearings
  w->close();
  closed();
  EXPECT_FALSE(Form20);
  EXPECT_TRUE(platform::readWholeFile(dir_.file("vektrano.hb9"))->find("Klínovec;JO60LJ;93\r\n") !=
              std::string::npos);
  EXPECT_TRUE(messages_.empty());
}

}  // namespace
}  // namespace vektrano
