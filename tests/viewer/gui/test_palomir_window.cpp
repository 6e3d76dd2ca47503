#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <chrono>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"
#include "viewer/gui/palomir_window.h"
#include "viewer/log_view.h"
#include "viewer/settings.h"

namespace vektrano::palomir {
namespace {

using platform::fromQString;
using platform::toQString;

std::string fixture(const std::string& name) {
  return std::string(VEKTRANO_SOURCE_DIR) + "/tests/viewer/data/" + name;
}

// The command line as the desktop gives it: the path's own characters.
QStringList args(const std::string& path) { return {platform::pathToQString(path)}; }

// A desktop and settings store of its own for every test; message boxes are
// recorded and answered by `answer`.
class PalomirWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("HOME", dir_.path().c_str(), 1);
    setenv("XDG_DATA_HOME", dir_.file("data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      texts.push_back(m.text);
      if (onMessage) onMessage(m);
      if (m.kind == platform::MessageKind::Question) return answer;
      return platform::Answer::Ok;
    });
  }
  void TearDown() override { platform::setMessageHandler(previous_); }

  void markAssociated() {
    auto key = platform::RegistryKey::open(kPalomirKey, true);
    ASSERT_TRUE(key);
    key->writeInteger("Top", 40);
    key->writeInteger("Left", 50);
    key->writeInteger("Height", 500);
    key->writeInteger("Width", 700);
    key->writeBool("Associated", true);
    key->writeBool("Maximized", false);
  }

  void setFileApp(const std::string& folder) {
    auto key = platform::RegistryKey::open(kVektranoKey, true);
    ASSERT_TRUE(key);
    key->writeString("FileApp", folder);
  }

  std::vector<std::string> comboItems(QComboBox* c) {
    std::vector<std::string> out;
    for (int i = 0; i < c->count(); ++i) out.push_back(fromQString(c->itemText(i)));
    return out;
  }

  test::TempDir dir_;
  std::vector<std::string> texts;
  std::function<void(const platform::Message&)> onMessage;
  platform::Answer answer = platform::Answer::No;
  platform::MessageHandler previous_;
};

// The desktop offers the viewer for a log in a folder whose name code page
// 1250 lacks: it opens, and its path is shown as text.
TEST_F(PalomirWindow, ShowsALogFromAFolderTheCodePageLacks) {
  markAssociated();
  const std::string folder = dir_.file("\xCE\xA9mega");  // "Ωmega", the file system's bytes
  std::filesystem::create_directories(platform::fsPath(folder));
  const std::string log = folder + "/den\xC3\xADk.qvl";
  std::filesystem::copy_file(platform::fsPath(fixture("expedice.qvl")), platform::fsPath(log));
  TForm1 f(args(log));
  EXPECT_TRUE(texts.empty()) << texts.front();
  EXPECT_EQ(f.fileName(), log);
  EXPECT_EQ(f.contacts(), 7);
  f.FormActivate();
  EXPECT_EQ(fromQString(f.windowTitle()), platform::pathText(log) + " | Palomir ver. 3.07 (2008/04/01)");
}

TEST_F(PalomirWindow, ShowsTheLogFromTheCommandLine) {
  markAssociated();
  const std::string log = fixture("expedice.qvl");
  TForm1 f(args(log));
  EXPECT_EQ(fromQString(f.windowTitle()), "Palomir ver. 3.07 (2008/04/01)");
  EXPECT_EQ(f.x(), 50);
  EXPECT_EQ(f.y(), 40);
  EXPECT_EQ(f.width(), 700);
  EXPECT_EQ(f.height(), 500);

  EXPECT_EQ(f.fileName(), log);
  EXPECT_EQ(f.contacts(), 7);
  EXPECT_EQ(f.StringGrid1->model()->rowCount(), 7);
  EXPECT_EQ(fromQString(f.StringGrid1->model()->headerData(7, Qt::Horizontal).toString()), "pozn.");
  EXPECT_EQ(fromQString(f.StringGrid1->model()->index(0, 3).data().toString()), "Petr Plzeň");
  EXPECT_EQ(f.StringGrid1->columnWidth(0), 35);
  EXPECT_EQ(f.StringGrid1->columnWidth(1), 130);
  EXPECT_EQ(f.StringGrid1->columnWidth(2), 25);
  EXPECT_EQ(f.StringGrid1->columnWidth(4), 25);
  EXPECT_EQ(f.StringGrid1->columnWidth(3), std::max(40, f.StringGrid1->width() - 412));
  EXPECT_EQ(fromQString(f.Lokportable->text()), "JO70GQ");
  EXPECT_EQ(f.statusText(), " 7 spoj. [Prům:82 km] [Lok.chybí:1x] [Nej:240 km]");
  ASSERT_EQ(f.ComboBox1->count(), 12);
  EXPECT_EQ(fromQString(f.ComboBox1->currentText()), "Expedice  : Sněžka 2008");

  // The first activation searches for duplicates and sets the final caption.
  f.FormActivate();
  EXPECT_TRUE(texts.empty());
  EXPECT_EQ(fromQString(f.windowTitle()), log + " | Palomir ver. 3.07 (2008/04/01)");
  const auto items = comboItems(f.ComboBox2);
  ASSERT_EQ(items.size(), 6u);
  EXPECT_EQ(items.front(), "- Hledání duplicit ...");
  EXPECT_EQ(fromQString(f.ComboBox2->currentText()), "- Nalezeny DUPLICITNÍ spojení !!!");
  EXPECT_TRUE(f.Zjistiduplicity1->isEnabled());
}

TEST_F(PalomirWindow, DuplicateChoiceJumpsToItsRowInASortedLog) {
  markAssociated();
  TForm1 f(args(fixture("podle_volacky.qvl")));
  f.DotazNaDuply();
  ASSERT_EQ(f.duplicateItems().size(), 8u);
  struct Case {
    int item;
    int gridRow;
  };
  // Line 1 shows contact number 5, which sits in row 1; "-" lines go to row 1.
  for (const Case c : {Case{1, 1}, Case{5, 5}, Case{4, 4}, Case{3, 1}, Case{7, 1}, Case{2, 2}}) {
    f.ComboBox2Change(c.item);
    EXPECT_EQ(f.StringGrid1->currentIndex().row(), c.gridRow - 1) << c.item;
  }
}

TEST_F(PalomirWindow, ArgumentWithoutTheLogExtension) {
  markAssociated();
  const std::string other = fixture("stary.exp");
  TForm1 f(args(other));
  EXPECT_EQ(texts, std::vector<std::string>{"Soubor : " + other + " nemá příponu .qvl"});
  EXPECT_EQ(f.fileName(), other);  // kept for reload and hand-over
  EXPECT_EQ(f.StringGrid1->model()->rowCount(), 0);
  EXPECT_EQ(fromQString(f.Lokportable->text()), "AA00AA");
}

TEST_F(PalomirWindow, HandOverStartsVektranoAndCloses) {
  markAssociated();
  const std::string folder = dir_.file("vektrano app");
  std::filesystem::create_directories(platform::fsPath(folder));
  ASSERT_TRUE(platform::writeFileAtomic(
      folder + "/vektrano",
      "#!/bin/sh\nout=\"$(dirname \"$0\")/args.txt\"\necho \"$#\" > \"$out.tmp\"\n"
      "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out.tmp\"; done\nmv \"$out.tmp\" \"$out\"\n"));
  ::chmod(platform::fsPath(folder + "/vektrano").c_str(), 0755);
  setFileApp(folder);

  const std::string log = dir_.file(platform::pathFromText("deník s mezerou.qvl"));
  ASSERT_TRUE(platform::writeFileAtomic(log, "JO70GQ;poř.;čas;\r\n"));
  TForm1 f(args(log));
  f.show();
  ASSERT_EQ(f.fileApp(), folder);
  f.RunVektrano();
  EXPECT_FALSE(f.isVisible());
  std::string got;
  for (int i = 0; i < 200 && got.empty(); ++i) {
    got = platform::readWholeFile(folder + "/args.txt").value_or("");
    if (got.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  EXPECT_EQ(got, "1\n" + log + "\n");
  EXPECT_TRUE(texts.empty());
}

TEST_F(PalomirWindow, HandOverWithoutVektranoReportsAndCloses) {
  markAssociated();
  setFileApp(dir_.file("nic"));
  TForm1 f(args(fixture("expedice.qvl")));
  f.show();
  f.RunVektrano();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].substr(0, 43), "Nemohu najít program VEKTRANO.EXE. Pokud je");
  EXPECT_FALSE(f.isVisible());

  // The path report of the label says the same.
  texts.clear();
  f.ZobrazitcestukprogramuVEKTRANO1Click();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find(dir_.file("nic") + "/vektrano "), std::string::npos);
  EXPECT_NE(texts[0].find("VEKTRANO NENALEZEN"), std::string::npos);
}

// With no log open the hand-over runs the open dialog instead and then
// closes the viewer, whatever was chosen; nothing is started.
TEST_F(PalomirWindow, HandOverWithoutAFileOpensOneAndCloses) {
  markAssociated();
  const std::string folder = dir_.file("vektrano app");
  std::filesystem::create_directories(platform::fsPath(folder));
  ASSERT_TRUE(platform::writeFileAtomic(folder + "/vektrano", "#!/bin/sh\ntouch \"$0.started\"\n"));
  ::chmod(platform::fsPath(folder + "/vektrano").c_str(), 0755);
  setFileApp(folder);
  struct Case {
    const char* what;
    std::optional<std::string> chosen;
    int contacts;
  } cases[] = {{"a log chosen", fixture("expedice.qvl"), 7}, {"cancelled", std::nullopt, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TForm1 f({});
    f.show();
    int asked = 0;
    f.setFileChooser([&]() -> std::optional<std::string> {
      ++asked;
      return c.chosen;
    });
    f.OtevttytodatavprogramuVEKTRANO1->trigger();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.contacts(), c.contacts);
    EXPECT_FALSE(platform::fileExists(folder + "/vektrano.started"));
  }
}

TEST_F(PalomirWindow, TheOpenDialogReadsTheLogAndSearchesItsDuplicates) {
  markAssociated();
  TForm1 f({});
  f.show();
  f.setFileChooser([&]() -> std::optional<std::string> { return fixture("expedice.qvl"); });
  f.Otevt1->trigger();
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.contacts(), 7);
  EXPECT_EQ(f.duplicateItems().size(), 6u);  // the open dialog searches too
  EXPECT_TRUE(f.Otevt1->isEnabled());
  EXPECT_TRUE(f.Lokportable->isEnabled());
}

// A log of count contacts, every one different; a described one names its
// expedition in the title line.
std::string bigLog(const test::TempDir& dir, int count, bool described = false) {
  std::string s = "JO70GQ;poř.;čas;RV;Volačka;RP;Lokátor;km;pozn;";
  s += described ? "Test;Kopec;JO70GQ;;;;;;;;;;;\r\n" : "\r\n";
  for (int i = 1; i <= count; ++i)
    s += "JO70GQ;" + std::to_string(i) + ";10:00;59;OK" + std::to_string(i) + ";59;JO70AA;1;;\r\n";
  const std::string path = dir.file("velky_" + std::to_string(count) + ".qvl");
  platform::writeFileAtomic(path, s);
  return path;
}

TEST_F(PalomirWindow, LongLogAsksFirstAndItsQuestionCannotLoop) {
  markAssociated();
  TForm1 f(args(bigLog(dir_, 3001)));
  ASSERT_EQ(f.contacts(), 3001);
  // The question takes the focus from the window while it is up.
  std::vector<platform::QuestionIcon> icons;
  onMessage = [&](const platform::Message& m) {
    icons.push_back(m.icon);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&f, &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&f, &activate);
  };
  answer = platform::Answer::No;
  f.FormActivate();
  EXPECT_EQ(texts, std::vector<std::string>{"Mám provést kontrolu duplicit?"});
  // An information box with Yes and No.
  EXPECT_EQ(icons, std::vector<platform::QuestionIcon>{platform::QuestionIcon::Information});
  EXPECT_EQ(f.ComboBox2->count(), 0);  // No leaves the list as it was
  EXPECT_EQ(fromQString(f.windowTitle()), f.fileName() + " | Palomir ver. 3.07 (2008/04/01)");

  // The window gets the focus back from its own box: no second question.
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&f, &activate);
  EXPECT_EQ(texts.size(), 1u);

  // The user comes back from another program: asked again; Yes searches.
  onMessage = nullptr;
  answer = platform::Answer::Yes;
  QEvent deactivate(QEvent::WindowDeactivate);
  QApplication::sendEvent(&f, &deactivate);
  QApplication::sendEvent(&f, &activate);
  EXPECT_EQ(texts.size(), 2u);
  EXPECT_EQ(comboItems(f.ComboBox2), std::vector<std::string>{"- Duplicity nenalezeny ..."});
}

// A described log too long to search unasked, shown as the desktop shows
// it: the question comes first and stands alone however long the operator
// takes over it (longer than the list waits for an activation); the
// description list opens once it is answered. The same for a log chosen in
// the open dialog of a window that is already active.
TEST_F(PalomirWindow, TheDuplicateQuestionComesBeforeTheDescriptionList) {
  markAssociated();
  const std::string log = bigLog(dir_, 3001, true);
  TForm1 f(args(log));
  QAbstractItemView* list = f.ComboBox1->view();
  std::vector<bool> listDuringQuestion;
  onMessage = [&](const platform::Message&) {
    QTest::qWait(1800);
    listDuringQuestion.push_back(list->isVisible());
  };
  answer = platform::Answer::Yes;
  f.show();
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  for (int i = 0; i < 200 && !list->isVisible(); ++i) QTest::qWait(10);
  EXPECT_EQ(listDuringQuestion, std::vector<bool>{false});
  EXPECT_TRUE(list->isVisible());
  EXPECT_EQ(f.ComboBox2->count(), 1);  // searched after the Yes

  f.ComboBox1->hidePopup();
  f.setFileChooser([&]() -> std::optional<std::string> { return log; });
  f.Otevt1->trigger();
  for (int i = 0; i < 200 && !list->isVisible(); ++i) QTest::qWait(10);
  EXPECT_EQ(listDuringQuestion, (std::vector<bool>{false, false}));
  EXPECT_TRUE(list->isVisible());
}

TEST_F(PalomirWindow, ThreeThousandContactsAreSearchedWithoutAsking) {
  markAssociated();
  TForm1 f(args(bigLog(dir_, 3000)));
  f.DotazNaDuply();
  EXPECT_TRUE(texts.empty());
  EXPECT_EQ(comboItems(f.ComboBox2), std::vector<std::string>{"- Duplicity nenalezeny ..."});
}

TEST_F(PalomirWindow, ReloadOfAnotherLogDropsTheOldDuplicates) {
  markAssociated();
  TForm1 f(args(fixture("expedice.qvl")));
  f.DotazNaDuply();
  ASSERT_EQ(f.ComboBox2->count(), 6);
  f.nactidata(fixture("stary.qvl"));
  EXPECT_EQ(f.ComboBox2->count(), 0);
  EXPECT_TRUE(f.duplicateItems().empty());
  EXPECT_EQ(f.ComboBox1->count(), 12);
  EXPECT_EQ(fromQString(f.ComboBox1->itemText(0)), "Exp       : Polom");
}

// "Znovunačtení deníku" reads the log again and searches it again, as
// opening does: the duplicate list never stands empty until the next
// activation.
TEST_F(PalomirWindow, ReloadSearchesTheDuplicatesAgain) {
  markAssociated();
  const std::string log = fixture("expedice.qvl");
  TForm1 f(args(log));
  f.DotazNaDuply();
  const auto before = comboItems(f.ComboBox2);
  ASSERT_EQ(before.size(), 6u);
  f.N3->trigger();
  EXPECT_EQ(comboItems(f.ComboBox2), before);
  EXPECT_EQ(f.contacts(), 7);
  EXPECT_TRUE(f.N3->isEnabled());
  EXPECT_TRUE(f.Zjistiduplicity1->isEnabled());
  EXPECT_TRUE(texts.empty());
}

void sendKey(QWidget* w, QEvent::Type type) {
  QKeyEvent e(type, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

TEST_F(PalomirWindow, EscClosesTheDescriptionListFirstThenTheWindow) {
  markAssociated();
  TForm1 f(args(fixture("expedice.qvl")));
  f.show();
  QApplication::processEvents();
  f.ComboBox1->showPopup();
  ASSERT_TRUE(f.ComboBox1->view()->isVisible());

  sendKey(f.ComboBox1->view(), QEvent::KeyPress);
  sendKey(f.ComboBox1->view(), QEvent::KeyRelease);
  EXPECT_FALSE(f.ComboBox1->view()->isVisible());
  EXPECT_TRUE(f.isVisible());

  sendKey(f.StringGrid1, QEvent::KeyPress);
  sendKey(f.StringGrid1, QEvent::KeyRelease);
  EXPECT_FALSE(f.isVisible());
}

// Shown and activated as the desktop does it: the first activation runs the
// duplicate search, and only then the description list opens, at its combo
// box. Esc closes the list, a second Esc the window.
TEST_F(PalomirWindow, FirstActivationSearchesThenTheListOpensAndEscClosesItFirst) {
  markAssociated();
  const std::string log = fixture("expedice.qvl");
  TForm1 f(args(log));
  f.show();
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  QAbstractItemView* list = f.ComboBox1->view();
  for (int i = 0; i < 200 && !list->isVisible(); ++i) QTest::qWait(10);
  ASSERT_TRUE(list->isVisible());
  EXPECT_EQ(f.ComboBox2->count(), 6);
  EXPECT_EQ(fromQString(f.windowTitle()), log + " | Palomir ver. 3.07 (2008/04/01)");
  const QRect popup = list->window()->geometry();
  const QRect combo(f.ComboBox1->mapToGlobal(QPoint(0, 0)), f.ComboBox1->size());
  EXPECT_LE(std::abs(popup.left() - combo.left()), 10) << popup.left() << " " << combo.left();
  EXPECT_TRUE(popup.adjusted(0, -10, 0, 10).intersects(combo));

  QTest::keyClick(list, Qt::Key_Escape);
  EXPECT_FALSE(list->isVisible());
  EXPECT_TRUE(f.isVisible());
  QTest::keyClick(f.StringGrid1, Qt::Key_Escape);
  EXPECT_FALSE(f.isVisible());
}

// A log that cannot be read leaves the one shown as it was, under its own
// name, and says why.
TEST_F(PalomirWindow, UnreadableLogLeavesTheShownOne) {
  markAssociated();
  const std::string log = fixture("expedice.qvl");
  TForm1 f(args(log));
  f.DotazNaDuply();
  const QString caption = f.windowTitle();
  const std::string status = f.statusText();
  const std::string folder = dir_.file("slozka.qvl");
  std::filesystem::create_directory(folder);
  f.setFileChooser([&] { return std::optional<std::string>(folder); });
  texts.clear();
  f.openfajlik();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "Soubor " + folder + " nelze načíst :\r\n\r\n" +
                          platform::utf8ToCp1250(std::strerror(EISDIR)));
  EXPECT_EQ(f.fileName(), log);
  EXPECT_EQ(f.windowTitle(), caption);
  EXPECT_EQ(f.statusText(), status);
  EXPECT_EQ(f.contacts(), 7);
  EXPECT_EQ(f.ComboBox2->count(), 6);
  EXPECT_EQ(f.ComboBox1->count(), 12);
}

TEST_F(PalomirWindow, OpenDialogStartsInTheFolderOfTheLogShown) {
  markAssociated();
  TForm1 empty({});
  EXPECT_EQ(empty.openFolder(), platform::executableFolder());
  TForm1 f(args(fixture("expedice.qvl")));
  EXPECT_EQ(f.openFolder(), std::string(VEKTRANO_SOURCE_DIR) + "/tests/viewer/data");
}

TEST_F(PalomirWindow, FirstRunRegistersTheAssociationAndCloseStoresIt) {
  TForm1 f({});
  EXPECT_TRUE(std::filesystem::exists(dir_.file("data/applications/palomir.desktop")));
  EXPECT_TRUE(std::filesystem::exists(dir_.file("data/mime/packages/palomir.xml")));
  f.show();
  f.close();
  const PalomirSettings s = readSettings();
  EXPECT_EQ(s.associated, true);
  EXPECT_EQ(s.maximized, false);
  ASSERT_TRUE(s.width && s.height);
  EXPECT_EQ(*s.width, f.width());
  EXPECT_EQ(*s.height, f.height());
}

TEST_F(PalomirWindow, StatusPadWritesTheEditedText) {
  markAssociated();
  TForm1 f(args(fixture("expedice.qvl")));
  std::string opened;
  f.setTextEditor([](const std::string& text) -> std::optional<std::string> {
    return text + " upraveno";
  });
  f.setFileOpener([&](const std::string& path) { opened = path; });
  f.StatusBar1DblClick();
  ASSERT_FALSE(opened.empty());
  EXPECT_EQ(opened.substr(opened.size() - 4), ".txt");
  EXPECT_EQ(platform::readWholeFile(opened).value_or(""),
            " 7 spoj. [Prům:82 km] [Lok.chybí:1x] [Nej:240 km] upraveno\r\n");
  std::filesystem::remove(platform::fsPath(opened));

  // Cancel does nothing.
  opened.clear();
  f.setTextEditor([](const std::string&) { return std::optional<std::string>(); });
  f.StatusBar1DblClick();
  EXPECT_TRUE(opened.empty());
}

}  // namespace
}  // namespace vektrano::palomir
