// The direction-finding window: the station table from and back to its
// file, the bearings on the map, the locator under the mouse, the click,
// saving.
#include "windows/direction_finding_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/jpeg.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"
#include "windows/map_pictures.h"

namespace vektrano {
namespace {

using platform::fromQString;
using platform::toQString;

const std::string kSoubor =
    "Volačka;Lokátor;Azimut\r\nKozákov;JO70PO;210\r\nJavorina;JN88UU;310\r\nKlínovec;JO60LJ;93\r\n"
    ";;\r\n;;\r\n;;\r\n;;\r\n;;\r\nDesátá;JN99JM;45\r\n";

class DirectionFindingWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    std::filesystem::create_directories(dir_.file("data"));
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.defaultAnswer;
    });
    setVolbaUlozeni([this](QWidget*, const DialogUlozeni& d) -> std::optional<std::string> {
      dialogs_.push_back(d);
      return dir_.file("data/" + d.nazev);
    });
    setOtevreniSouboru([this](const std::string& p) { opened_.push_back(p); });
    ASSERT_TRUE(platform::writeFileAtomic(dir_.file("vektrano.v4m"), "JO70GQ\r\n"));
  }
  void TearDown() override {
    delete Form20.data();
    setVolbaUlozeni({});
    setOtevreniSouboru({});
    platform::setMessageHandler(previous_);
  }
  std::string soubor() const { return dir_.file("vektrano.hb9"); }
  TForm20* open() {
    Form20Hooks h;
    h.soubor = soubor();
    h.obrys = dir_.file("vektrano.v4m");
    h.dataFolder = [this] { return dir_.file("data"); };
    h.predejDoVstupu = [this](const std::string& l) { handed_.push_back(l); };
    return openForm20(h);
  }
  static void closed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
  static std::string cell(TForm20* w, int r, int c) {
    return fromQString(w->tabulka()->item(r, c)->text());
  }
  // Red somewhere in the 3 x 3 pixels around (x, y).
  static bool redNear(const QImage& img, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const QPoint p(x + dx, y + dy);
        if (img.rect().contains(p) && img.pixelColor(p) == QColor(Qt::red)) return true;
      }
    return false;
  }

  test::TempDir dir_;
  std::vector<std::string> messages_, opened_, handed_;
  std::vector<DialogUlozeni> dialogs_;
  platform::MessageHandler previous_;
};

TEST_F(DirectionFindingWindow, BearingsRunFromEachStationToItsBorderCell) {
  ASSERT_TRUE(platform::writeFileAtomic(soubor(), kSoubor));
  TForm20* w = open();
  EXPECT_EQ(fromQString(w->windowTitle()), "Zaměřování stanice");
  EXPECT_EQ(cell(w, 0, 0), "Volačka");
  EXPECT_EQ(cell(w, 3, 1), "JO60LJ");
  EXPECT_EQ(w->obrazek().pixelColor(328, 240), QColor(0, 128, 0));  // the outline's start
  w->tlacitko(1)->click();
  const QImage& img = w->obrazek();
  const struct {
    const char* station;
    Bunka border;
  } stations[] = {{"JO70PO", {4, 120}}, {"JN88UU", {1, 8}}, {"JO60LJ", {144, 60}}};
  for (const auto& s : stations) {
    const int x = fx(s.station), y = fy(s.station);
    EXPECT_EQ(img.pixelColor(x - 4, y), QColor(0, 0, 128)) << s.station;  // the navy ring
    // The line reaches the border cell: red 90 % of the way there.
    const int bx = 4 * s.border.c, by = 4 * s.border.r;
    EXPECT_TRUE(redNear(img, x + (bx - x) * 9 / 10, y + (by - y) * 9 / 10)) << s.station;
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(DirectionFindingWindow, ClosingWritesTheTableAndKeepsTheLinesBeyondTheNinth) {
  ASSERT_TRUE(platform::writeFileAtomic(soubor(), kSoubor));
  TForm20* w = open();
  w->tabulka()->item(4, 0)->setText(toQString("Sněžka"));
  w->tabulka()->item(4, 1)->setText(QStringLiteral("JO70SR"));
  w->tabulka()->item(4, 2)->setText(QStringLiteral("100"));
  w->close();
  closed();
  EXPECT_FALSE(Form20);
  EXPECT_EQ(*platform::readWholeFile(soubor()),
            "Volačka;Lokátor;Azimut\r\nKozákov;JO70PO;210\r\nJavorina;JN88UU;310\r\n"
            "Klínovec;JO60LJ;93\r\nSněžka;JO70SR;100\r\n;;\r\n;;\r\n;;\r\n;;\r\nDesátá;JN99JM;45\r\n");
}

TEST_F(DirectionFindingWindow, AFileThatCannotBeReadIsNeverWrittenOver) {
  std::filesystem::create_directories(soubor());  // there, but no file to read
  TForm20* w = open();
  EXPECT_EQ(messages_, std::vector<std::string>{"Chyba I/O při čtení souboru : " + soubor()});
  w->close();
  closed();
  EXPECT_TRUE(platform::dirExists(soubor()));
  EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(DirectionFindingWindow, AMissingFileIsReportedAndWrittenAtClosing) {
  TForm20* w = open();
  EXPECT_EQ(messages_, std::vector<std::string>{"Chyba I/O při čtení souboru : " + soubor()});
  w->tabulka()->item(1, 0)->setText(QStringLiteral("Nova"));
  w->close();
  closed();
  EXPECT_EQ(platform::readWholeFile(soubor()).value_or("").substr(0, 10), ";;\r\nNova;;");
}

TEST_F(DirectionFindingWindow, MouseShowsTheLocatorUnderItAndAClickHandsItOver) {
  ASSERT_TRUE(platform::writeFileAtomic(soubor(), kSoubor));
  TForm20* w = open();
  w->show();
  const struct {
    QPoint at;
    const char* locator;
  } cases[] = {{{1, 1}, "JO61AX"}, {{328, 240}, "JN99KL"}, {{575, 479}, "KN17XA"}};
  for (const auto& c : cases) {
    QMouseEvent move(QEvent::MouseMove, QPointF(c.at), w->mapa()->mapToGlobal(QPointF(c.at)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w->mapa(), &move);
    EXPECT_EQ(fromQString(w->lokator()->text()), c.locator);
  }
  // Beyond the picture the nearest cell of the table.
  w->mapaMouseMove(QPoint(700, -20));
  EXPECT_EQ(fromQString(w->lokator()->text()), "KO11XX");
  QTest::mouseClick(w->mapa(), Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_EQ(handed_.size(), 1u);
}

TEST_F(DirectionFindingWindow, SavedPicturesAreOpened) {
  ASSERT_TRUE(platform::writeFileAtomic(soubor(), kSoubor));
  TForm20* w = open();
  w->tlacitko(1)->click();
  w->tlacitko(2)->click();
  w->tlacitko(3)->click();
  ASSERT_EQ(dialogs_.size(), 2u);
  EXPECT_EQ(dialogs_[0].nazev, "Mapa_smery");
  EXPECT_EQ(dialogs_[0].filtr, "BMP|*.bmp");
  EXPECT_EQ(dialogs_[1].filtr, "JPG|*.jpg");
  EXPECT_EQ(opened_, (std::vector<std::string>{dir_.file("data/Mapa_smery.bmp"),
                                               dir_.file("data/Mapa_smery.jpg")}));
  const auto jpeg = platform::decodeJpeg(*platform::readWholeFile(dir_.file("data/Mapa_smery.jpg")));
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(std::make_pair(jpeg->width, jpeg->height), std::make_pair(576, 480));
}

}  // namespace
}  // namespace vektrano
