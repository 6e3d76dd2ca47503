// The contact map window: generation onto the base picture, legend,
// saving as BMP, JPEG and JPEG with the page, keys.
#include "windows/contact_map_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/jpeg.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using platform::fromQString;
using platform::toQString;

class ContactMapWindow : public ::testing::Test {
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
      if (answers_.empty()) return std::nullopt;
      std::string a = answers_.front();
      answers_.erase(answers_.begin());
      return a;
    });
    setOtevreniSouboru([this](const std::string& p) { opened_.push_back(p); });
    // The outline: from JN99JM to JO70GQ.
    ASSERT_TRUE(platform::writeFileAtomic(outline(), "JO70GQ\r\n"));
    log_.Denik.appendRow({"1", "10:00", "59", "OK1AAA", "59", "JO80GQ", "", ""});
    log_.Denik.appendRow({"2", "10:05", "59", "OK2BBB", "59", "JN99JM", "", ""});
    log_.Denik.appendRow({"3", "10:07", "59", "PETR", "59", "", "", ""});
    log_.PocetSpojeni = 3;
    vstup_ = new QLineEdit;
    vstup_->setText(QStringLiteral("59 OK1X"));
  }
  void TearDown() override {
    delete Form10.data();
    delete vstup_;
    setVolbaUlozeni({});
    setOtevreniSouboru({});
    platform::setMessageHandler(previous_);
  }
  std::string outline() const { return dir_.file("vektrano.v4m"); }
  Form10Hooks hooks() {
    Form10Hooks h;
    h.log = &log_;
    h.dataFolder = [this] { return dir_.file("data"); };
    h.vychoziBod = [this] { return vychoziBod_; };
    h.vstup = vstup_;
    return h;
  }
  TForm10* generate(bool spojnice) {
    VstupMapy v;
    v.vychoziBod = vychoziBod_;
    v.spojnice = spojnice;
    return Mapaspojen1Click(v, outline(), hooks(), [this](bool z) { recalculated_.push_back(z); });
  }
  static void closed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  test::TempDir dir_;
  LogDocument log_;
  QLineEdit* vstup_ = nullptr;
  bool vychoziBod_ = true;
  std::vector<std::string> messages_, opened_, answers_;
  std::vector<DialogUlozeni> dialogs_;
  std::vector<bool> recalculated_;
  platform::MessageHandler previous_;
};

TEST_F(ContactMapWindow, GenerationDrawsTheContactsOnTheBasePicture) {
  TForm10* w = generate(true);
  ASSERT_TRUE(w);
  EXPECT_EQ(fromQString(w->windowTitle()), "Deník ZR-4   mapa");
  EXPECT_EQ(recalculated_, std::vector<bool>{true});
  EXPECT_EQ(log_.Denik.cell(1, kColKm), "141");
  const QImage& img = w->obrazek();
  EXPECT_EQ(img.size(), QSize(576, 480));
  EXPECT_EQ(img.pixelColor(328, 240 - 2), QColor(Qt::red));    // the longest contact's ring
  EXPECT_EQ(img.pixelColor(220, 128 - 2), QColor(128, 0, 0));  // the other one's, maroon
  EXPECT_EQ(img.pixelColor(328, 240), QColor(Qt::white));      // rings are filled white
  EXPECT_EQ(img.pixelColor(172, 128), QColor(192, 192, 192));  // a line from the station
  EXPECT_EQ(w->status(), kNeplatneLokatory);                  // PETR has no locator
  EXPECT_EQ(w->MapaHtml().size(), 11u + 2u + 1u + 5u);
  EXPECT_TRUE(messages_.empty());

  // The next generation starts from the base picture: no lines this time.
  w = generate(false);
  EXPECT_EQ(w->obrazek().pixelColor(172, 128), zakladniMapa().pixelColor(172, 128));
  EXPECT_EQ(w->obrazek().pixelColor(220, 128 - 2), QColor(128, 0, 0));
}

TEST_F(ContactMapWindow, TooFewContactsOpenNoWindow) {
  log_.Denik.setRowCount(2);
  EXPECT_EQ(generate(true), nullptr);
  EXPECT_EQ(messages_, std::vector<std::string>{"V deníku je třeba mít alespoň 2 spojení !"});
}

TEST_F(ContactMapWindow, LegendOncePerWindowWithFreshStatistics) {
  TForm10* w = generate(false);
  const QImage before = w->obrazek();
  w->tlacitko(3)->click();
  EXPECT_FALSE(w->tlacitko(3)->isEnabled());
  EXPECT_TRUE(w->tlacitko(3)->isHidden());
  EXPECT_EQ(w->status(), " ");
  EXPECT_EQ(log_.NejdelsiKm, 329);
  int changed = 0;
  for (int y = 85; y < 175; ++y)
    for (int x = 280; x < 576; ++x) changed += w->obrazek().pixel(x, y) != before.pixel(x, y);
  EXPECT_GT(changed, 300);
  // A new generation offers it again.
  w = generate(false);
  EXPECT_TRUE(w->tlacitko(3)->isEnabled());
}

TEST_F(ContactMapWindow, SavedPicturesDecodeAtTheirSizeAndAreOpenedAfterwards) {
  TForm10* w = generate(true);
  answers_ = {dir_.file("data/mapa"), dir_.file("data/mapa.jpg")};
  w->tlacitko(1)->click();
  w->tlacitko(2)->click();
  ASSERT_EQ(dialogs_.size(), 2u);
  EXPECT_EQ(dialogs_[0].slozka, dir_.file("data"));
  EXPECT_EQ(dialogs_[0].nazev, "Mapa_JO70GQ");
  EXPECT_EQ(dialogs_[0].filtr, "BitMap|*.bmp");
  EXPECT_EQ(dialogs_[1].filtr, "JPG obrázek|*.jpg");
  EXPECT_EQ(opened_, (std::vector<std::string>{dir_.file("data/mapa.bmp"), dir_.file("data/mapa.jpg")}));
  QImage bmp;
  ASSERT_TRUE(bmp.load(QString::fromStdString(dir_.file("data/mapa.bmp")), "BMP"));
  EXPECT_EQ(bmp.size(), QSize(576, 480));
  EXPECT_EQ(bmp.pixelColor(328, 238), QColor(Qt::red));
  const auto jpeg = platform::decodeJpeg(*platform::readWholeFile(dir_.file("data/mapa.jpg")));
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(std::make_pair(jpeg->width, jpeg->height), std::make_pair(576, 480));
}

TEST_F(ContactMapWindow, PictureWithItsPageNamesThePictureOfEachSave) {
  TForm10* w = generate(true);
  answers_ = {dir_.file("data/prvni.jpg"), dir_.file("data/druha")};
  w->tlacitko(4)->click();
  w->tlacitko(4)->click();
  EXPECT_EQ(opened_, (std::vector<std::string>{dir_.file("data/prvni.htm"), dir_.file("data/druha.htm")}));
  EXPECT_TRUE(platform::fileExists(dir_.file("data/druha.jpg")));
  const std::string first = *platform::readWholeFile(dir_.file("data/prvni.htm"));
  const std::string second = *platform::readWholeFile(dir_.file("data/druha.htm"));
  EXPECT_NE(first.find("<img border=\"0\" src=\"prvni.jpg\" usemap=\"#prvni.jpg\""), std::string::npos);
  EXPECT_NE(second.find("<img border=\"0\" src=\"druha.jpg\" usemap=\"#druha.jpg\""), std::string::npos);
  // The call signs as the recalculation tidied them.
  EXPECT_NE(second.find("<area href=\"#\" title=\"[JN99JM : 329 km] Ok2bbb\" shape=\"circle\" "
                        "coords=\"328,240, 3\">\r\n"),
            std::string::npos);
  EXPECT_EQ(second.find("jpg.jpg"), std::string::npos);
}

TEST_F(ContactMapWindow, AFailedSaveOpensNothing) {
  TForm10* w = generate(true);
  answers_ = {dir_.file("missing/mapa.bmp"), dir_.file("missing/mapa.jpg")};
  w->tlacitko(1)->click();
  w->tlacitko(4)->click();
  EXPECT_TRUE(opened_.empty());
  EXPECT_EQ(messages_, (std::vector<std::string>{
                           "Chyba I/O při ukládání souboru : " + dir_.file("missing/mapa.bmp"),
                           "Chyba I/O při ukládání souboru : " + dir_.file("missing/mapa.jpg")}));
  // Cancelled: nothing at all.
  w->tlacitko(2)->click();
  EXPECT_EQ(messages_.size(), 2u);
}

TEST_F(ContactMapWindow, F8AndEscapeGoBackToTheEntryLine) {
  for (int key : {Qt::Key_F8, Qt::Key_Escape}) {
    TForm10* w = mapaSpojeniKlavesou({}, outline(), hooks());
    ASSERT_TRUE(w);
    EXPECT_EQ(w->status(), " Hotovo ...");
    QTest::keyClick(w->tlacitko(1), static_cast<Qt::Key>(key));
    closed();
    EXPECT_FALSE(Form10) << key;
    EXPECT_EQ(vstup_->cursorPosition(), vstup_->text().size());
  }
  // F8 opens the window even when the log is too short to draw.
  log_.Denik.setRowCount(2);
  TForm10* w = mapaSpojeniKlavesou({}, outline(), hooks());
  ASSERT_TRUE(w);
  EXPECT_EQ(w->obrazek(), zakladniMapa());
}

TEST_F(ContactMapWindow, HintsFollowTheMouse) {
  TForm10* w = openForm10(hooks());
  QEvent enter(QEvent::Enter);
  QApplication::sendEvent(w->tlacitko(4), &enter);
  EXPECT_EQ(w->status(), "  Nabídne uložení mapy ve formátu pro Internet.");
  QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(w, &move);
  EXPECT_EQ(w->status(), "  ");
}

}  // namespace
}  // namespace vektrano
