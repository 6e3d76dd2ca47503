#include "windows/archive_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <functional>

#include "core/session/startup.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using platform::fromQString;
using platform::toQString;

class ArchiveWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    std::filesystem::create_directories(dir_.file("root/001"));
    platform::setProgramFolder(dir_.path());
    root_ = dir_.file("root");
    ASSERT_TRUE(platform::writeFileAtomic(root_ + "/archiv.zr4",
                                          zaznamArchivu(1, "001 - Hlavní archív EXPEDICE", root_ + "/001")));
    ASSERT_TRUE(platform::writeFileAtomic(root_ + "/001/deniky.pbl", {}));
    log_ = dir_.file("log.qvl");
    ASSERT_TRUE(platform::writeFileAtomic(
        log_, "JO70GQ;poř.;čas;RV;Volačka;RP;Lokátor;km;pozn;;;;;;;;;;;;;;\r\n"
              "JO70GQ;1;[14.7.26] 10:00;59;OK1ABC;59;JN79AB;120;;\r\n"
              "JO70GQ;2;[14.7.26] 10:05;57;OK1XYZ;55;JO60AA;80;pozn;\r\n"));
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.kind == platform::MessageKind::Question ? platform::Answer::Yes : m.defaultAnswer;
    });
    TForm14::setShellOpen([this](const std::string& path) { opened_.push_back(path); });
  }
  void TearDown() override {
    platform::setMessageHandler(previous_);
    delete Form14.data();
  }
  TForm14* open() { return openArchiveWindow(root_, dir_.path(), {}); }
  void close(TForm14* w) {
    EXPECT_TRUE(w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Form14);
  }
  void file(TForm14* w, const std::string& title) {
    w->zacniZarazeni(log_);
    ASSERT_TRUE(w->filing());
    w->BitBtn2Click();
    w->BitBtn2Click();
    w->edit1()->setText(toQString(title));
    w->BitBtn2Click();
    w->edit1()->setText(toQString("Dlouhý popis"));
    w->BitBtn2Click();
  }

  test::TempDir dir_;
  std::string root_, log_;
  std::vector<std::string> messages_;
  std::vector<std::string> opened_;
  platform::MessageHandler previous_;
};

TEST_F(ArchiveWindowTest, FilesALogInFiveStepsAndShowsIt) {
  TForm14* w = open();
  EXPECT_EQ(w->comboArchivy()->count(), 1);
  EXPECT_EQ(fromQString(w->archivLabel()), "Hlavní archív EXPEDICE");
  EXPECT_EQ(fromQString(w->statusText()), root_ + "/001");

  w->zacniZarazeni(log_);
  EXPECT_EQ(fromQString(w->krokLabel()).rfind("krok 1 : Zvol datum ZAČÁTKU portejblu ...", 0), 0u);
  EXPECT_EQ(w->calendar()->selectedDate(), QDate(2026, 7, 14));
  w->calendar()->setSelectedDate(QDate(2026, 7, 13));
  w->BitBtn2Click();
  EXPECT_EQ(fromQString(w->krokLabel()).rfind("krok 2 : ", 0), 0u);
  w->BitBtn2Click();
  EXPECT_FALSE(w->calendar()->isVisibleTo(w));
  w->BitBtn1Click();
  EXPECT_EQ(w->calendar()->selectedDate(), QDate(2026, 7, 14));
  w->BitBtn2Click();
  w->edit1()->setText(toQString("Sněžka"));
  w->BitBtn2Click();
  w->edit1()->setText(toQString("Dlouhý popis"));
  w->BitBtn2Click();
  EXPECT_FALSE(w->filing());

  ASSERT_EQ(w->store().deniky().size(), 1u);
  const ZarazenyDenik& d = w->store().deniky()[0];
  EXPECT_EQ(d.od, "13.7.2026");
  EXPECT_EQ(d.do_, "14.7.2026");
  EXPECT_EQ(d.nazev, "Sněžka");
  EXPECT_EQ(w->gridPortejblu().row(1), (Grid::Row{"13.7.2026", "14.7.2026", "JO70GQ", "Sněžka"}));
  EXPECT_EQ(platform::readWholeFile(d.cesta), platform::readWholeFile(log_));

  w->vyberDenik(0);
  EXPECT_EQ(w->stringGrid1().rowCount(), 3);
  EXPECT_EQ(fromQString(w->statusText()), "2 spoj. [Prům:100 km] [Lok.chybí:0x] [Nej:120 km]");
  EXPECT_EQ(w->souhrn(2).rfind("Tvoje : (13.7.2026-14.7.2026 [JO70GQ] Sněžka)", 0), 0u);

  // The summary goes beside the program and is opened there.
  w->ukazPomucku(w->souhrn(2));
  const std::string txt = dir_.file("vektrano.txt");
  EXPECT_EQ(platform::readWholeFile(txt), w->souhrn(2));
  EXPECT_EQ(opened_, std::vector<std::string>{txt});
  close(w);
}

// Filing as the operator does it: "Dále >" clicked, then the next value
// typed. Each step leaves the focus on the field it asks for, so the blanks
// of a title never press the button, and at the end on the filed log.
TEST_F(ArchiveWindowTest, AfterEachStepTheKeysGoToTheFieldOfTheNextStep) {
  TForm14* w = open();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  auto* dale = w->findChild<QPushButton*>("BitBtn2");
  auto typed = [](const char* text) {
    for (const char* c = text; *c; ++c) QTest::keyClick(QApplication::focusWidget(), *c);
  };
  auto inCalendar = [w] {
    QWidget* f = QApplication::focusWidget();
    return f && (f == w->calendar() || w->calendar()->isAncestorOf(f));
  };
  w->zacniZarazeni(log_);
  EXPECT_TRUE(inCalendar());
  QTest::mouseClick(dale, Qt::LeftButton);
  EXPECT_TRUE(inCalendar());
  QTest::mouseClick(dale, Qt::LeftButton);
  EXPECT_EQ(QApplication::focusWidget(), w->edit1());
  typed("Hora Kozakov");
  QTest::mouseClick(dale, Qt::LeftButton);
  EXPECT_EQ(QApplication::focusWidget(), w->edit1());
  typed("Tri dny na kopci");
  QTest::mouseClick(dale, Qt::LeftButton);
  ASSERT_FALSE(w->filing());

  ASSERT_EQ(w->store().deniky().size(), 1u);
  EXPECT_EQ(w->store().deniky()[0].nazev, "Hora Kozakov");
  EXPECT_EQ(w->store().deniky()[0].popis, "Tri dny na kopci");
  EXPECT_EQ(QApplication::focusWidget(), w->findChild<QTableView*>("GridPortejblu"));
  EXPECT_TRUE(w->findChild<QLineEdit*>("FindLok")->text().isEmpty());
  close(w);
}

TEST_F(ArchiveWindowTest, SearchListsHitsAndAHitShowsItsContact) {
  TForm14* w = open();
  file(w, "První");
  file(w, "Druhý");
  w->findVol()->setText("OK");
  EXPECT_FALSE(w->butHledej()->isEnabled());
  w->findVol()->setText("ok1x");
  EXPECT_TRUE(w->butHledej()->isEnabled());
  messages_.clear();
  w->ButHledejClick();
  EXPECT_EQ(messages_, std::vector<std::string>{"Celkem nalezeno : 2 položek"});
  EXPECT_EQ(fromQString(w->statusText()), " Seznam výsledků hledání.");
  ASSERT_EQ(w->comboVysledku()->count(), 2);
  EXPECT_EQ(fromQString(w->comboVysledku()->itemText(1)), "2/  14.7.2026-14.7.2026 [JO70GQ - JO60AA] OK1XYZ");

  w->ComboVysledkuClick(1);
  EXPECT_EQ(w->vybranyDenik(), 1);
  EXPECT_EQ(w->aktualniSpojeni(), 2);

  w->findVol()->setText("NIKDO");
  messages_.clear();
  w->ButHledejClick();
  EXPECT_EQ(messages_, std::vector<std::string>{"Nebyl nalezen žádný záznam ..."});
  EXPECT_EQ(w->comboVysledku()->count(), 0);
  close(w);
}

// The hits index the catalogue they were found in: once it changes, no old
// hit may open whatever log now stands at its row.
TEST_F(ArchiveWindowTest, AChangedCatalogueDropsTheSearchHits) {
  struct Case {
    const char* note;
    int searchIn;  // archive searched
    std::function<void(TForm14*)> change;
  } cases[] = {
      {"a log removed", 0, [](TForm14* w) { w->vyberDenik(0); w->BitBtn4Click(); }},
      {"another archive chosen", 0, [](TForm14* w) { w->ProvedComboArchivyChange(1); }},
      {"the archive deleted", 1, [](TForm14* w) { w->smazArchiv(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    test::TempDir root;
    root_ = root.file("archiv");
    std::filesystem::create_directories(root_ + "/001");
    ASSERT_TRUE(platform::writeFileAtomic(root_ + "/archiv.zr4",
                                          zaznamArchivu(1, "001 - Hlavní archív EXPEDICE", root_ + "/001")));
    ASSERT_TRUE(platform::writeFileAtomic(root_ + "/001/deniky.pbl", {}));
    TForm14* w = open();
    w->ProvedComboArchivyChange(0);
    file(w, "První");
    file(w, "Druhý");
    file(w, "Třetí");
    w->pridejArchiv("Druhý archiv");
    file(w, "Cizí");
    w->ProvedComboArchivyChange(c.searchIn);
    w->findVol()->setText("ok1x");
    w->ButHledejClick();
    ASSERT_GT(w->comboVysledku()->count(), 0);
    const int hits = w->comboVysledku()->count();

    c.change(w);
    EXPECT_EQ(w->comboVysledku()->count(), 0);
    const std::string shown = w->souhrn(2);
    for (int i = 0; i < hits; ++i) {
      w->ComboVysledkuClick(i);
      EXPECT_EQ(w->souhrn(2), shown) << "hit " << i;
    }
    close(w);
  }
}

TEST_F(ArchiveWindowTest, ArchivesAreCreatedDeletedAndTheLastChoiceIsKept) {
  TForm14* w = open();
  w->pridejArchiv("Druhý archiv");
  ASSERT_EQ(w->comboArchivy()->count(), 2);
  EXPECT_EQ(w->comboArchivy()->currentIndex(), 1);
  EXPECT_EQ(fromQString(w->comboArchivy()->currentText()), "002 - Druhý archiv");
  w->opravArchiv("Jiný název");
  EXPECT_EQ(fromQString(w->archivLabel()), "Jiný název");
  close(w);

  w = open();
  EXPECT_EQ(w->comboArchivy()->currentIndex(), 1);
  w->smazArchiv();
  EXPECT_EQ(w->comboArchivy()->count(), 1);
  EXPECT_EQ(w->store().vybrany(), 0);
  w->smazArchiv();
  EXPECT_EQ(w->comboArchivy()->count(), 0);
  w->zacniZarazeni(log_);
  EXPECT_FALSE(w->filing());
  close(w);
}

TEST_F(ArchiveWindowTest, WhileASearchRunsTheArchiveAndItsLogsStayAsTheSearchFoundThem) {
  TForm14* w = open();
  file(w, "První");
  file(w, "Druhý");
  w->pridejArchiv("Druhý archiv");
  file(w, "Třetí");
  w->ProvedComboArchivyChange(0);
  w->findVol()->setText("ok1");

  // What the operator tries while the search pumps its events: choose the
  // other archive, delete a log, delete the archive.
  std::vector<bool> enabled;
  QMetaObject::invokeMethod(
      w,
      [&] {
        EXPECT_TRUE(w->searching());
        for (QWidget* c : std::initializer_list<QWidget*>{
                 w->comboArchivy(), w->findChild<QPushButton*>("ButtSmazat"),
                 w->findChild<QPushButton*>("BitBtn4"), w->findChild<QPushButton*>("ButAddDenik"),
                 w->butHledej()})
          enabled.push_back(c->isEnabled());
        w->ProvedComboArchivyChange(1);
        w->BitBtn4Click();
        w->smazArchiv();
      },
      Qt::QueuedConnection);
  messages_.clear();
  w->ButHledejClick();
  EXPECT_EQ(enabled, std::vector<bool>(5, false));
  EXPECT_EQ(messages_, std::vector<std::string>{"Celkem nalezeno : 4 položek"});
  EXPECT_EQ(w->store().archivy().size(), 2u);
  EXPECT_EQ(w->store().vybrany(), 0);
  ASSERT_EQ(w->store().deniky().size(), 2u);
  EXPECT_TRUE(w->comboArchivy()->isEnabled());

  // A hit shows its log; the summary names that log, also once another
  // archive is chosen and its first log selected.
  w->ComboVysledkuClick(3);
  EXPECT_EQ(w->souhrn(2).rfind("Tvoje : (14.7.2026-14.7.2026 [JO70GQ] Druhý)", 0), 0u);
  w->ProvedComboArchivyChange(1);
  EXPECT_EQ(w->vybranyDenik(), 0);
  EXPECT_EQ(w->souhrn(2).rfind("Tvoje : (14.7.2026-14.7.2026 [JO70GQ] Druhý)", 0), 0u);
  w->vyberDenik(0);
  EXPECT_EQ(w->souhrn(2).rfind("Tvoje : (14.7.2026-14.7.2026 [JO70GQ] Třetí)", 0), 0u);
  close(w);
}

}  // namespace
}  // namespace vektrano
