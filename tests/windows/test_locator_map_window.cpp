// The locator map window: map or placeholder, distance, neighbours, photos,
// hand-back and its guards, settings.
#include "windows/locator_map_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"
#include "windows/map_pictures.h"

namespace vektrano {
namespace {

using platform::fromQString;
using platform::toQString;

class LocatorMapWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.defaultAnswer;
    });
    vstup_ = new QLineEdit;
    vstup_->setText(toQString("59 57 OK1ABC JO70GQ Petr"));
    hooks_.ownLocator = [] { return std::string("JO70GQ"); };
    hooks_.mapFolder = [this] { return dir_.file("mapy"); };
    hooks_.photoFolder = [this] { return dir_.file("foto"); };
    hooks_.keyboard = [] { return KeyboardOptions{true, false}; };
    hooks_.vstup = vstup_;
    hooks_.typedLocator = [] { return std::string("JO70GQ"); };
    hooks_.keyPreview = [this](bool on) { keyPreview_.push_back(on); };
  }
  void TearDown() override {
    delete Form13.data();
    delete vstup_;
    platform::setMessageHandler(previous_);
  }

  // A JPEG of one colour at a path under the temporary folder.
  void jpeg(const std::string& relative, int w, int h, QColor colour) {
    const std::string path = dir_.file(relative);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    ASSERT_TRUE(ulozObrazek(img, path, FormatObrazku::Jpeg));
  }
  TForm13* open(const std::string& locator, int caller, CilPredani cil = {}) {
    TForm13* w = otevrimapu(locator, caller, hooks_, std::move(cil));
    return w;
  }
  static void closed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
  static std::string text(const QLabel* l) { return fromQString(l->text()); }
  static std::string edit(const TForm13* w) { return fromQString(w->edit()->text()); }
  static int redPixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const QColor c = img.pixelColor(x, y);
        n += c.red() > 200 && c.green() < 60 && c.blue() < 60;
      }
    return n;
  }

  test::TempDir dir_;
  std::vector<std::string> messages_;
  platform::MessageHandler previous_;
  QLineEdit* vstup_ = nullptr;
  Form13Hooks hooks_;
  std::vector<bool> keyPreview_;
};

TEST_F(LocatorMapWindow, ShowsTheMapWithTheLocatorWrittenOnACopy) {
  jpeg("mapy/JO80/JO80GQ.JPG", 400, 300, Qt::darkGreen);
  QGuiApplication::clipboard()->setText(QStringLiteral("operator's text"));
  TForm13* w = open("JO80GQ", kVolaNikdo);
  EXPECT_EQ(fromQString(w->windowTitle()), "Mapa příslušející danému lokátoru");
  EXPECT_EQ(text(w->vzdalenost()), "141 km");
  EXPECT_EQ(text(w->popisVzdalenosti()), "Vzdálenost\nz lokátoru :\n JO70GQ");
  EXPECT_EQ(w->status(), dir_.file("mapy/JO80/JO80GQ.JPG"));
  EXPECT_EQ(edit(w), "JO80GQ");
  EXPECT_FALSE(w->pouzit()->isVisibleTo(w));
  EXPECT_EQ(w->obrazek()->image().size(), QSize(400, 300));
  EXPECT_GT(redPixels(w->obrazek()->image()), 200);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("operator's text"));

  // Without "Piš Lokátor" the map is shown as it is; "Tučně" follows the box.
  w->pisLokator()->setChecked(false);
  EXPECT_FALSE(w->tucne()->isEnabled());
  EXPECT_EQ(redPixels(w->obrazek()->image()), 0);
  EXPECT_EQ(keyPreview_, std::vector<bool>{false});
  EXPECT_TRUE(messages_.empty());
}

TEST_F(LocatorMapWindow, MissingMapGivesThePlaceholder) {
  TForm13* w = open("JN99JM", kVolaVstup);
  const QImage& img = w->obrazek()->image();
  EXPECT_EQ(img.size(), QSize(500, 400));
  EXPECT_EQ(img.pixelColor(1, 1), QColor(255, 251, 240));
  EXPECT_GT(redPixels(img), 500);  // the locator in 77 points
  EXPECT_EQ(w->status(), "   Obrázek lokátoru chybí  ....");
  EXPECT_TRUE(w->pouzit()->isVisibleTo(w));
  EXPECT_EQ(text(w->vzdalenost()), "329 km");
}

TEST_F(LocatorMapWindow, AFileThatIsNoJpegIsReportedAndGivesThePlaceholder) {
  std::filesystem::create_directories(dir_.file("mapy/JO70"));
  ASSERT_TRUE(platform::writeFileAtomic(dir_.file("mapy/JO70/JO70GQ.jpg"), "not a picture"));
  TForm13* w = open("JO70GQ", kVolaNikdo);
  EXPECT_EQ(w->obrazek()->image().size(), QSize(500, 400));
  EXPECT_EQ(messages_, std::vector<std::string>{"Chyba I/O při čtení souboru : " +
                                                dir_.file("mapy/JO70/JO70GQ.jpg")});
}

TEST_F(LocatorMapWindow, ArrowKeysAndButtonsStepToTheNeighbours) {
  TForm13* w = open("JN99XX", kVolaNikdo);
  const struct {
    int key;
    const char* shown;
  } steps[] = {{Qt::Key_Up, "JO90XA"}, {Qt::Key_Down, "JN99XX"}, {Qt::Key_Right, "KN09AX"},
               {Qt::Key_Left, "JN99XX"}, {Qt::Key_Left, "JN99WX"}};
  for (const auto& s : steps) {
    QTest::keyClick(w->edit(), static_cast<Qt::Key>(s.key));
    EXPECT_EQ(edit(w), s.shown);
  }
  w->tlacitko(3)->click();  // "^"
  EXPECT_EQ(edit(w), "JO90WA");
  w->tlacitko(4)->click();  // "v"
  w->tlacitko(2)->click();  // ">"
  EXPECT_EQ(edit(w), "JN99XX");
}

TEST_F(LocatorMapWindow, TypedLocatorIsConvertedAndShownAtSixCharacters) {
  TForm13* w = open("JO70GQ", kVolaNikdo);
  w->edit()->clear();
  QTest::keyClicks(w->edit(), QStringLiteral("jo8"));
  EXPECT_EQ(text(w->vzdalenost()), "0 km");  // nothing shown yet
  // é is the digit 0 of the Czech keyboard's digit row.
  QTest::sendKeyEvent(QTest::Click, w->edit(), Qt::Key_Eacute, toQString("é"), Qt::NoModifier);
  QTest::keyClicks(w->edit(), QStringLiteral("gq"));
  EXPECT_EQ(edit(w), "JO80GQ");
  EXPECT_EQ(text(w->vzdalenost()), "141 km");

  w->edit()->setText(QStringLiteral("JO80"));
  w->tlacitko(7)->click();  // "Zobrazit !"
  EXPECT_EQ(messages_, std::vector<std::string>{"Lokátor musí být dlouhý 6 znaků "});
}

TEST_F(LocatorMapWindow, EnterFromTheEntryLineReplacesTheTypedLocator) {
  TForm13* w = open("JO70GQ", kVolaVstup);
  QTest::keyClick(w->edit(), Qt::Key_Right);
  QTest::keyClick(w->edit(), Qt::Key_Return);
  closed();
  EXPECT_FALSE(Form13);
  EXPECT_EQ(fromQString(vstup_->text()), "59 57 OK1ABC JO70HQ Petr");
  EXPECT_EQ(vstup_->cursorPosition(), vstup_->text().size());
  EXPECT_EQ(keyPreview_, (std::vector<bool>{false, true}));

  // The typed locator was deleted meanwhile: the shown one is appended.
  vstup_->setText(QStringLiteral("59 57 OK1ABC"));
  w = open("JN99JM", kVolaVstup);
  w->pouzit()->click();
  closed();
  EXPECT_EQ(fromQString(vstup_->text()), "59 57 OK1ABC JN99JM");
}

TEST_F(LocatorMapWindow, ViewOnlyAndClosingKeysHandNothingBack) {
  const std::string before = fromQString(vstup_->text());
  for (int key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_F12}) {
    open("JO70GR", key == Qt::Key_Return ? kVolaNikdo : kVolaVstup);
    QTest::keyClick(Form13->edit(), static_cast<Qt::Key>(key));
    closed();
    EXPECT_FALSE(Form13) << key;
    EXPECT_EQ(fromQString(vstup_->text()), before) << key;
  }
  for (const char* c : {"-", "/", ";"}) {
    open("JO70GR", kVolaVstup);
    QTest::keyClicks(Form13->edit(), QString::fromLatin1(c));
    closed();
    EXPECT_FALSE(Form13) << c;
  }
  EXPECT_EQ(fromQString(vstup_->text()), before);
}

// The F12 or Enter that opened the window is released once it has the focus:
// that release is not the window's own and neither closes it nor hands back.
TEST_F(LocatorMapWindow, TheReleaseOfTheKeyThatOpenedItIsNotItsOwn) {
  const std::string before = fromQString(vstup_->text());
  open("JO70GR", kVolaVstup);
  for (int key : {Qt::Key_F12, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Right}) {
    QTest::sendKeyEvent(QTest::Release, Form13->edit(), static_cast<Qt::Key>(key), QString(), Qt::NoModifier);
    closed();
    ASSERT_TRUE(Form13) << key;
  }
  EXPECT_EQ(edit(Form13), "JO70GR");
  EXPECT_EQ(fromQString(vstup_->text()), before);
  QTest::keyClick(Form13->edit(), Qt::Key_F12);
  closed();
  EXPECT_FALSE(Form13);
}

// Alt+X and Alt+C act on their release; their presses must not type the
// letter into the locator, or Enter would hand back "JO70GQx". The picture,
// where F12 leaves the focus, takes the same keys.
TEST_F(LocatorMapWindow, AltChordsNeverTypeIntoTheLocatorBox) {
  TForm13* w = open("JO70GQ", kVolaVstup);
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  const bool popis = w->pisLokator()->isChecked();
  const struct {
    QWidget* from;
    Qt::Key key;
    bool toggles;  // Alt+X: the locator written on the map or not
  } chords[] = {{w->edit(), Qt::Key_X, true},      {w->edit(), Qt::Key_C, false},
                {w->obrazek(), Qt::Key_X, true},   {w->obrazek(), Qt::Key_C, false},
                {w->edit(), Qt::Key_A, false}};
  bool expected = popis;
  for (const auto& c : chords) {
    c.from->setFocus();
    QTest::keyClick(QApplication::focusWidget(), c.key, Qt::AltModifier);
    expected ^= c.toggles;
    EXPECT_EQ(edit(w), "JO70GQ") << c.key;
    EXPECT_EQ(w->pisLokator()->isChecked(), expected) << c.key;
    // Alt+C leaves the focus in the locator box.
    if (c.key == Qt::Key_C) EXPECT_EQ(QApplication::focusWidget(), w->edit());
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  closed();
  EXPECT_FALSE(Form13);
  EXPECT_EQ(fromQString(vstup_->text()), "59 57 OK1ABC JO70GQ Petr");

  // Closed from the picture as from the box.
  for (Qt::Key key : {Qt::Key_Escape, Qt::Key_F12}) {
    w = open("JO70GR", kVolaVstup);
    w->obrazek()->setFocus();
    QTest::keyClick(w->obrazek(), key);
    closed();
    EXPECT_FALSE(Form13) << key;
  }
}

TEST_F(LocatorMapWindow, HandBackReachesOnlyALivingTargetOfTheSameCaller) {
  std::vector<std::string> got;
  auto target = [&got](QObject* owner) {
    return CilPredani{owner, [&got](const std::string& l) { got.push_back(l); }};
  };
  auto* owner = new QObject;
  open("JO70GQ", kVolaLokatory, target(owner));
  Form13->pouzit()->click();
  closed();
  EXPECT_EQ(got, std::vector<std::string>{"JO70GQ"});

  // The town window was freed while the map was open.
  open("JO70GR", kVolaLokatory, target(owner));
  delete owner;
  Form13->pouzit()->click();
  closed();
  // Another opener without a target of its own never reaches the old one.
  auto* other = new QObject;
  open("JO70GS", kVolaLokatory, target(other));
  Form13->ZobrazMapu("JO70GT", kVolaVolacky);
  Form13->pouzit()->click();
  closed();
  delete other;
  EXPECT_EQ(got, std::vector<std::string>{"JO70GQ"});
}

TEST_F(LocatorMapWindow, PhotoListShowsTheStoredPhotos) {
  jpeg("foto/JO70FOTO/JO70GQ-A.JPG", 1600, 900, Qt::blue);
  jpeg("foto/JO70FOTO/JO70GQ-C.jpg", 20, 10, Qt::yellow);
  TForm13* w = open("JO70GQ", kVolaNikdo);
  ASSERT_EQ(w->fotografie()->count(), 2);
  EXPECT_EQ(fromQString(w->fotografie()->item(0)->text()), "JO70GQ-A.jpg");
  EXPECT_EQ(fromQString(w->fotografie()->item(1)->text()), "JO70GQ-C.jpg");

  w->resize(800, 560);
  w->show();
  const QRect r = w->fotografie()->visualItemRect(w->fotografie()->item(0));
  QTest::mouseClick(w->fotografie()->viewport(), Qt::LeftButton, {}, r.center());
  EXPECT_EQ(fromQString(w->windowTitle()), "Fotografie a obrázky příslušející danému lokátoru");
  EXPECT_EQ(w->obrazek()->image().size(), QSize(1600, 900));
  const std::string path = dir_.file("foto/JO70FOTO/JO70GQ-A.JPG");
  EXPECT_EQ(w->status(), path + "    [ " + std::to_string(fsize(path) / 1024) + " Kb. ]");
  // Wider than the picture box: shown whole and centred.
  EXPECT_TRUE(w->proporcionalne()->isChecked());
  EXPECT_TRUE(w->centrovat()->isChecked());
}

TEST_F(LocatorMapWindow, CheckBoxesComeBackAtTheNextOpening) {
  TForm13* w = open("JO70GQ", kVolaNikdo);
  w->pisLokator()->setChecked(false);
  w->proporcionalne()->setChecked(true);
  w->close();
  closed();
  w = open("JO70GQ", kVolaNikdo);
  EXPECT_FALSE(w->pisLokator()->isChecked());
  EXPECT_FALSE(w->tucne()->isEnabled());
  EXPECT_TRUE(w->proporcionalne()->isChecked());
  EXPECT_FALSE(w->centrovat()->isChecked());
  EXPECT_TRUE(w->obrazek()->proportional());
}

}  // namespace
}  // namespace vektrano
