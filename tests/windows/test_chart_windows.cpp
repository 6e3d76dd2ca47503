// The chart windows: slices, hour points over midnight, the options of the
// hour chart, saving, and the refusals.
#include "windows/chart_windows.h"

#include <gtest/gtest.h>

#include <QAreaSeries>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QLineSeries>
#include <QPieSeries>
#include <QPushButton>
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

class ChartWindows : public ::testing::Test {
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
  }
  void TearDown() override {
    delete Form9.data();
    delete Form21.data();
    setVolbaUlozeni({});
    setOtevreniSouboru({});
    platform::setMessageHandler(previous_);
  }
  ChartHooks hooks() {
    return ChartHooks{[this] { return dir_.file("data"); }};
  }
  static LogDocument logOf(const std::vector<std::pair<const char*, const char*>>& rows) {
    LogDocument log;
    int n = 0;
    for (const auto& [time, locator] : rows)
      log.Denik.appendRow({std::to_string(++n), time, "59", "OK1AB", "59", locator, "100", ""});
    log.PocetSpojeni = n;
    return log;
  }
  static void closed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  test::TempDir dir_;
  std::vector<std::string> messages_, opened_;
  std::vector<DialogUlozeni> dialogs_;
  platform::MessageHandler previous_;
};

TEST_F(ChartWindows, PieHasASlicePerSquareAndATwoLineTitle) {
  const LogDocument log = logOf({{"1", "JO70GQ"}, {"2", "JO70AA"}, {"3", "JN99JM"},
                                 {"4", ""}, {"5", "JO70XX"}, {"6", "JN99AA"}});
  TForm9* w = Spojendovelkchtverc1Click(log, hooks());
  ASSERT_TRUE(w);
  EXPECT_EQ(fromQString(w->windowTitle()),
            "Graf četnosti spojení do jednotlivých velkých čtverců lokátorů");
  EXPECT_EQ(fromQString(w->chart()->title()),
            "Spojení z lokátoru : JO70GQ<br>(600 km) / (6 počet spoj.) = průměr (100km na 1 "
            "spojení)");
  std::vector<std::string> slices;
  for (QPieSlice* s : w->Series1()->slices())
    slices.push_back(fromQString(s->label()) + "=" + std::to_string(int(s->value())));
  EXPECT_EQ(slices, (std::vector<std::string>{"neuveden [1 spoj.]=1", "JN99 [2 spoj.]=2",
                                              "JO70 [3 spoj.]=3"}));
  // Filling again clears what was there.
  Spojendovelkchtverc1Click(log, hooks());
  EXPECT_EQ(w->Series1()->count(), 3);
}

TEST_F(ChartWindows, TooFewContactsOpenNoChart) {
  EXPECT_EQ(Spojendovelkchtverc1Click(logOf({{"1", "JO70GQ"}, {"2", "JO70AA"}}), hooks()), nullptr);
  EXPECT_EQ(Potuspojenvzvislostinaasu1Click(logOf({{"10:00", ""}}), hooks()), nullptr);
  EXPECT_EQ(messages_, (std::vector<std::string>{"V deníku je potřeba mít alespoň 5 spojení !!!",
                                                 "V deníku je potřeba mít alespoň 2 spojení !!!"}));
}

TEST_F(ChartWindows, SavedChartsAreOpenedAndTheJpegAlsoLeftOnTheClipboard) {
  const LogDocument log = logOf({{"1", "JO70GQ"}, {"2", "JO70AA"}, {"3", "JN99JM"},
                                 {"4", ""}, {"5", "JO70XX"}});
  TForm9* w = Spojendovelkchtverc1Click(log, hooks());
  const QSize size = w->Chart1()->size();
  w->tlacitko(1)->click();
  w->tlacitko(2)->click();
  ASSERT_EQ(dialogs_.size(), 2u);
  EXPECT_EQ(dialogs_[0].nazev, "Graf.bmp");
  EXPECT_EQ(dialogs_[0].slozka, dir_.file("data"));
  EXPECT_EQ(dialogs_[0].filtr, "Bitmap|*.bmp");
  EXPECT_EQ(dialogs_[1].nazev, "Graf_JO70GQ");
  EXPECT_EQ(dialogs_[1].filtr, "JPG obrázek|*.jpg");
  EXPECT_EQ(opened_, (std::vector<std::string>{dir_.file("data/Graf.bmp"), dir_.file("data/Graf_JO70GQ.jpg")}));
  QImage bmp;
  ASSERT_TRUE(bmp.load(QString::fromStdString(dir_.file("data/Graf.bmp")), "BMP"));
  EXPECT_EQ(bmp.size(), size);
  const auto jpeg = platform::decodeJpeg(*platform::readWholeFile(dir_.file("data/Graf_JO70GQ.jpg")));
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(QSize(jpeg->width, jpeg->height), size);
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), size);
}

TEST_F(ChartWindows, HourPointsWrapPastMidnightAndEndWithEnd) {
  TForm21* w = Potuspojenvzvislostinaasu1Click(
      logOf({{"22:00:00", ""}, {"22:30:00", ""}, {"23:10:00", ""}, {"00:05:00", ""},
             {"01:00:00", ""}, {"03:00:00", ""}}),
      hooks());
  ASSERT_TRUE(w);
  EXPECT_EQ(fromQString(w->chart()->title()), "Spojení z lokátoru : JO70GQ");
  EXPECT_EQ(w->popisyOsy(), (QStringList{"22", "23", "0", "1", "2", "3", "END"}));
  const auto areas = w->plochy();
  ASSERT_EQ(areas.size(), 6u);
  // Sloped: each area runs from a point's count to the next one's.
  EXPECT_EQ(areas[0]->upperSeries()->points(), (QList<QPointF>{{0, 2}, {1, 1}}));
  EXPECT_EQ(areas[4]->upperSeries()->points(), (QList<QPointF>{{4, 0}, {5, 1}}));
  EXPECT_TRUE(w->znacky()->pointLabelsVisible());
  EXPECT_NE(areas[0]->color(), areas[1]->color());

  w->tvarGrafu()->setChecked(true);  // stairs
  EXPECT_EQ(w->plochy()[0]->upperSeries()->points(), (QList<QPointF>{{0, 2}, {1, 2}}));
  w->poctySpojeni()->setChecked(false);
  EXPECT_FALSE(w->znacky()->pointLabelsVisible());
  w->barvy()->setChecked(false);
  for (QAreaSeries* a : w->plochy()) EXPECT_EQ(a->color(), w->plochy()[0]->color());
  EXPECT_TRUE(messages_.empty());

  w->tlacitko(1)->click();
  w->tlacitko(2)->click();
  ASSERT_EQ(dialogs_.size(), 2u);
  EXPECT_EQ(dialogs_[0].nazev, "Graf_time_JO70GQ.bmp");
  EXPECT_EQ(dialogs_[1].nazev, "Graf_time_JO70GQ.jpg");
  EXPECT_EQ(opened_.size(), 2u);

  // Closed and opened again by its command: the design state of the boxes.
  w->close();
  closed();
  w = Potuspojenvzvislostinaasu1Click(logOf({{"10:00", ""}, {"11:00", ""}}), hooks());
  EXPECT_FALSE(w->tvarGrafu()->isChecked());
  EXPECT_TRUE(w->poctySpojeni()->isChecked());
  EXPECT_TRUE(w->barvy()->isChecked());
}

TEST_F(ChartWindows, LogWithoutTimesShowsTheEmptiedWindowAndSaysSo) {
  TForm21* w = Potuspojenvzvislostinaasu1Click(logOf({{"10:00", ""}, {"11:00", ""}}), hooks());
  ASSERT_EQ(w->plochy().size(), 2u);
  w = Potuspojenvzvislostinaasu1Click(logOf({{"", ""}, {"abc", ""}}), hooks());
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->chart()->title().isEmpty());
  EXPECT_TRUE(w->chart()->series().isEmpty());
  EXPECT_EQ(messages_, std::vector<std::string>{"V deníku nejsou uvedeny platné časy ..."});

  messages_.clear();
  w = Potuspojenvzvislostinaasu1Click(logOf({{"10:00", ""}, {"11:00", ""}, {"x", ""}}), hooks());
  EXPECT_EQ(w->popisyOsy(), (QStringList{"10", "11", "END"}));
  EXPECT_EQ(messages_,
            std::vector<std::string>{"V deníku nejsou uvedeny platné časy : 1x   [řádek:3]"});
}

}  // namespace
}  // namespace vektrano
