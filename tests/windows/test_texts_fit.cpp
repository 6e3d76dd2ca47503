// Texts of the tool windows at their default sizes, measured in this
// platform's real fonts: every column title and cell a grid shows, every
// label, every slice label of the pie chart and the calling sender's caption
// fit the room they have. The sizes the windows were designed with were made
// for another system's fonts.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QChartView>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPieSeries>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <set>
#include <string>

#include "core/log/log.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "tests/support/temp_dir.h"
#include "core/session/startup.h"
#include "core/tools/calling_sender.h"
#include "windows/archive_window.h"
#include "windows/call_sign_import_window.h"
#include "windows/calling_sender_window.h"
#include "windows/chart_windows.h"
#include "windows/direction_finding_window.h"
#include "windows/round_distances_window.h"

namespace vektrano {
namespace {

using platform::fromQString;
using platform::toQString;

// What column c of a grid needs for its title and the rows it shows, by the
// view's own measure in its fonts.
int need(const QTableView* v, int c) {
  int n = static_cast<const QAbstractItemView*>(v)->sizeHintForColumn(c);
  if (!v->horizontalHeader()->isHidden()) n = std::max(n, v->horizontalHeader()->sectionSizeHint(c));
  return n;
}

// Every column wide enough, and the columns up to inView (all of them
// unless it says otherwise) within the grid: one beyond its right edge is
// cut as well.
void expectColumnsFit(const QTableView* v, int inView = -1) {
  SCOPED_TRACE(v->objectName().toStdString());
  const int columns = v->model()->columnCount();
  if (inView < 0) inView = columns - 1;
  int total = 0;
  for (int c = 0; c < columns; ++c) {
    EXPECT_GE(v->columnWidth(c), need(v, c)) << "column " << c;
    if (c <= inView) total += v->columnWidth(c);
  }
  EXPECT_LE(total, v->viewport()->width()) << "columns beyond the grid's edge";
}

void expectLabelFits(const QLabel* l) {
  if (l->wordWrap())
    EXPECT_LE(l->heightForWidth(l->width()), l->height()) << l->text().toStdString();
  else
    EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
}

void showAtDefaultSize(QWidget* w) {
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  QApplication::processEvents();
}

class TextsFit : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    platform::setProgramFolder(dir_.path());
    previous_ = platform::setMessageHandler([](const platform::Message& m) { return m.defaultAnswer; });
  }
  void TearDown() override { platform::setMessageHandler(previous_); }
  void put(const std::string& name, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(dir_.file(name)).parent_path());
    ASSERT_TRUE(platform::writeFileAtomic(dir_.file(name), text));
  }

  test::TempDir dir_;
  platform::MessageHandler previous_;
};

// The pie's slice labels stand whole beside the pie, neither shortened nor
// hidden, on the screen and so in the saved picture; the title and the
// legend too.
TEST_F(TextsFit, PieChartLabels) {
  LogDocument log;
  const char* squares[] = {"JO60", "JO70", "JO80", "JN79", "JN89", "JN99", "JO81", "JN69", ""};
  int n = 0;
  for (int s = 0; s < 9; ++s)
    for (int i = 0; i <= s * 13; ++i)
      log.Denik.appendRow({std::to_string(++n), "10:00:00", "59", "OK1AB", "59",
                           *squares[s] ? std::string(squares[s]) + "AA" : std::string(), "100", ""});
  log.PocetSpojeni = n;
  TForm9* w = Spojendovelkchtverc1Click(log, {});
  ASSERT_TRUE(w);
  showAtDefaultSize(w);
  std::set<QString> shown;
  for (QGraphicsItem* item : w->Chart1()->scene()->items()) {
    auto* text = dynamic_cast<QGraphicsTextItem*>(item);
    if (!text || !text->isVisible()) continue;
    EXPECT_FALSE(text->toPlainText().contains(QStringLiteral("...")) ||
                 text->toPlainText().contains(QChar(0x2026)))
        << text->toPlainText().toStdString();
    shown.insert(text->toPlainText());
  }
  for (QPieSlice* s : w->Series1()->slices())
    EXPECT_EQ(shown.count(s->label()), 1u) << s->label().toStdString() << " not shown whole";
  delete w;
}

// Titles and bearings of the direction list.
TEST_F(TextsFit, DirectionFindingTable) {
  put("vektrano.hb9",
      "Volačka;Lokátor;Azimut\r\nKozákov;JO70PO;210\r\nJavorina;JN88UU;310\r\nKlínovec;JO60LJ;93\r\n");
  TForm20* w = openForm20({.soubor = dir_.file("vektrano.hb9"), .obrys = dir_.file("vektrano.v4m")});
  showAtDefaultSize(w);
  expectColumnsFit(w->findChild<QTableView*>("StringGrid1"));
  delete w;
}

// The countdown in its large font up to the longest interval, the file
// name, the button and the status line; the caption in a title bar of the
// window's width, as the style lays one out with the window's buttons.
TEST_F(TextsFit, CallingSender) {
  TForm17* w = openForm17();
  showAtDefaultSize(w);
  for (QLabel* l : w->findChildren<QLabel*>()) {
    const QString text = l->text();
    if (text.toInt() > 0) l->setText(QString::number(kVyzvaMaxInterval));
    expectLabelFits(l);
    l->setText(text);
  }
  auto* status = w->findChild<QStatusBar*>();
  ASSERT_TRUE(status);
  const QString playing = toQString(" Ještě zbývá milisec : 99999");
  EXPECT_GE(status->width(), status->fontMetrics().horizontalAdvance(playing) + 8);

  QStyleOptionTitleBar bar;
  bar.initFrom(w);
  bar.titleBarFlags = w->windowFlags();
  bar.titleBarState = 0;
  bar.rect = QRect(0, 0, w->frameGeometry().width(), w->style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, w));
  bar.subControls = QStyle::SC_All;
  const QRect label = w->style()->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarLabel, w);
  QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
  titleFont.setBold(true);
  EXPECT_GE(label.width(), QFontMetrics(titleFont).horizontalAdvance(w->windowTitle()))
      << "caption cut in a title bar " << bar.rect.width() << " wide";
  delete w;
}

// The three grids of a call-sign list import, at the window's default size:
// 600 x 400 as drawn, wider where this platform's fonts need it.
TEST_F(TextsFit, CallSignImportInListMode) {
  put("vektrano.zr4", "JO60LJ;Klínovec (KV)\r\nJO70PO;Kozákov (SM)\r\nJN99CL;Lysá hora (FM)\r\n");
  put("vektrano.pvk", "JO60LJ;OK1ABC (KV);1.1.2000\r\nJO70PO;OK2XYZ/P (SM);Nezjištěno\r\n");
  put("import/jini.pvk",
      "JO70PO;OK2XYZ/P (SM);Nezjištěno\r\nJO60LJ;OK1KHL/P (KV);24.12.2008\r\n"
      "JN99CL;OL7M (FM);Nezjištěno\r\nJO70PO;OK1ABC (SM);12.1.2008\r\n");
  TForm6* w = openForm6(dir_.file("vektrano.pvk"), dir_.path(), {});
  ASSERT_TRUE(w->nactidata(dir_.file("import/jini.pvk")));
  showAtDefaultSize(w);
  EXPECT_GE(w->width(), 600);
  EXPECT_EQ(w->height(), 400);
  for (QTableView* v : {static_cast<QTableView*>(w->StringGrid1()), static_cast<QTableView*>(w->StringGrid2()),
                        static_cast<QTableView*>(w->StringGrid3())})
    expectColumnsFit(v);
  delete w;
}

// The catalogue and the shown log at 600 x 400: all of the catalogue, and
// the shown log as far as its call signs, in view (its last columns may be
// scrolled to; a 600 pixels wide window has no room for all eight).
TEST_F(TextsFit, ArchiveWindow) {
  const std::string root = dir_.file("archiv");
  put("archiv/001/deniky.pbl", {});
  put("archiv/archiv.zr4", zaznamArchivu(1, "001 - Hlavní archív EXPEDICE", root + "/001"));
  put("log.qvl",
      "JO70GQ;poř.;čas;RV;Volačka;RP;Lokátor;km;pozn;;;;;;;;;;;;;;\r\n"
      "JO70GQ;1;[14.7.26] 10:00;59;OK1ABC/P;59;JN79AB;120;;\r\n"
      "JO70GQ;2;[14.7.26] 10:05;57;OL7M;55;JO60AA;80;pozn;\r\n");
  TForm14* w = openArchiveWindow(root, dir_.path(), {});
  w->zacniZarazeni(dir_.file("log.qvl"));
  w->BitBtn2Click();
  w->BitBtn2Click();
  w->edit1()->setText(toQString("Sněžka"));
  w->BitBtn2Click();
  w->edit1()->setText(toQString("Dlouhý popis"));
  w->BitBtn2Click();
  w->vyberDenik(0);
  showAtDefaultSize(w);
  QTest::qWait(100);  // the columns follow the loading
  ASSERT_EQ(w->size(), QSize(600, 400));
  expectColumnsFit(w->findChild<QTableView*>("GridPortejblu"));
  expectColumnsFit(w->findChild<QTableView*>("StringGrid1"), kColVolacka);
  delete w;
}

// The longest of the round-distance window's status texts.
TEST_F(TextsFit, RoundDistancesStatusLine) {
  TForm5* w = openForm5("JO70GQ", "JO7OGQ", {});
  showAtDefaultSize(w);
  ASSERT_NE(w->status().find("druhé okénko"), std::string::npos);
  for (QLabel* l : w->findChildren<QLabel*>())
    if (fromQString(l->text()) == w->status()) expectLabelFits(l);
  delete w;
}

}  // namespace
}  // namespace vektrano
