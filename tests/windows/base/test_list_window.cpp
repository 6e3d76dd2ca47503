#include "windows/base/list_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <filesystem>

#include "core/base/text.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using platform::fromQString;

constexpr int kForm = 90;

// A list of locator, call sign and date, set up as the call-sign window sets
// up its own.
class SeznamWindow : public ListWindow {
 public:
  explicit SeznamWindow(std::string path)
      : ListWindow(kForm, 3, WindowPlacement{10, 10, 280, 450, false}) {
    setListPath(std::move(path));
    setCaptionPrefix("Seznam : [");
    setProgressWord(" Volaček");
    setSortStatusTexts("Třídím ...", "Setříděno");
    table().setKeys({[](const Grid::Row& r) { return r[0] + r[1]; }, ListTable::cellKey(1)});
    setDeleteRule({0, 1}, kDeleteMark6, 0);
    setDuplicateRule(1, [](const Grid::Row& a, const Grid::Row& b) { return a[1] == b[1]; });
    setCloseQuestion("Uložit seznam ?");
    addSearch({"Vyhledávání podle Lokátoru", 0, 0, ListTable::Match::Contains,
               [](const std::string& s) { return PrevodJenNaVelke(s); }, SearchShow::Select});
    addSearch({"Vyhledávání podle Volačky", 1, 1, ListTable::Match::BeginsWith, {},
               SearchShow::ScrollToTop});
    loadList();
  }
  using ListWindow::setListPath;
  std::vector<bool> saved;

 protected:
  void afterSave(bool ok) override { saved.push_back(ok); }
};

std::string title(const QWidget& w) { return fromQString(w.windowTitle()); }

std::vector<std::string> column(ListWindow& w, int col) {
  std::vector<std::string> out;
  for (const auto& r : w.table().grid().rows()) out.push_back(r[col]);
  return out;
}

void deleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class ListWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    path_ = dir_.file("seznam.txt");
    std::filesystem::copy_file(VEKTRANO_SOURCE_DIR "/tests/windows/data/seznam.txt", path_);
    original_ = *platform::readWholeFile(path_);
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      if (m.kind == platform::MessageKind::Question) return answer_;
      return platform::Answer::Ok;
    });
  }
  void TearDown() override {
    platform::setMessageHandler(previous_);
    for (QWidget* w : openToolWindows()) delete w;
  }

  test::TempDir dir_;
  std::string path_, original_;
  std::vector<std::string> messages_;
  platform::Answer answer_ = platform::Answer::No;
  platform::MessageHandler previous_;
};

TEST_F(ListWindowTest, SortsInUnsignedByteOrderShowingTheGapAndLockingTheWindow) {
  SeznamWindow w(path_);
  w.show();
  EXPECT_EQ(title(w), "Seznam : [6]");
  EXPECT_EQ(w.table().grid().row(2), (Grid::Row{"JO60LJ", "alfa", "Nezjištěno"}));  // LF alone

  std::vector<std::string> titles;
  std::vector<bool> lockedDuringSort, closedDuringSort;
  QObject::connect(&w, &QWidget::windowTitleChanged, [&](const QString& t) {
    titles.push_back(fromQString(t));
    if (!w.sortRunning()) return;
    lockedDuringSort.push_back(!w.addButton()->isEnabled() && !w.saveButton()->isEnabled() &&
                               w.searchBox(0)->isHidden() && w.searchBox(1)->isHidden());
    closedDuringSort.push_back(w.close());
  });
  w.sortOn(1);
  EXPECT_EQ(column(w, 1), (std::vector<std::string>{"OK1ABC", "ZULU", "Zulu", "alfa", "Čestmír",
                                                     "Čestmír"}));
  EXPECT_EQ(column(w, 0)[0], "JO70AA");  // rows move whole
  EXPECT_EQ(titles, (std::vector<std::string>{"6 Volaček, třídím : [6]", "6 Volaček, třídím : [3]",
                                              "6 Volaček, třídím : [1]", "Seznam : [6]"}));
  EXPECT_EQ(lockedDuringSort, std::vector<bool>(3, true));
  EXPECT_EQ(closedDuringSort, std::vector<bool>(3, false));
  EXPECT_TRUE(w.addButton()->isEnabled());
  EXPECT_FALSE(w.searchBox(1)->isHidden());
  EXPECT_TRUE(messages_.empty());  // no closing question while sorting
}

TEST_F(ListWindowTest, MarkingDeleteAndSaveWriteTheRowsThatAreLeft) {
  SeznamWindow w(path_);
  w.selectCell(2, 1);  // JO60LJ alfa
  w.deleteSelected();
  EXPECT_EQ(title(w), "Seznam : [5]");
  EXPECT_EQ(w.table().sortKey(), 0);
  // A ";" typed into a cell would split the record when read back.
  w.model()->setData(w.model()->index(0, 2), platform::toQString("1;2"));
  ASSERT_TRUE(w.saveList());
  EXPECT_EQ(*platform::readWholeFile(path_),
            "JN89XX;Čestmír;1,2\r\nJO70AA;OK1ABC;1.1.2000\r\nJO70BB;Zulu;3.3.2003\r\n"
            "JO70GQ;ZULU;1.1.2000\r\nJO80AA;Čestmír;4.4.2004\r\n");
  EXPECT_EQ(w.saved, std::vector<bool>{true});

  // The last row goes at once; then row by row down to one empty row.
  w.selectCell(4, 0);
  w.deleteSelected();
  EXPECT_EQ(w.selectedRow(), 3);
  while (w.table().rowCount() > 1 || !w.table().grid().cell(0, 0).empty()) w.deleteSelected();
  EXPECT_EQ(title(w), "Seznam : [1]");
  ASSERT_TRUE(w.saveList());
  EXPECT_EQ(*platform::readWholeFile(path_), ";;\r\n");
}

TEST_F(ListWindowTest, AFailedSaveKeepsTheRowsAndTheWindow) {
  SeznamWindow* w = new SeznamWindow(path_);
  QPointer<SeznamWindow> alive(w);
  const std::string bad = dir_.file("chybi/seznam.txt");
  w->setListPath(bad);
  EXPECT_FALSE(w->saveList());
  EXPECT_EQ(messages_.back(), "Chyba I/O při ukládání souboru : " + bad);
  EXPECT_EQ(w->table().rowCount(), 6);
  EXPECT_EQ(w->saved, std::vector<bool>{false});

  answer_ = platform::Answer::Yes;
  EXPECT_FALSE(w->close());
  deleteClosed();
  ASSERT_TRUE(alive);
  EXPECT_EQ(w->table().rowCount(), 6);

  answer_ = platform::Answer::No;
  EXPECT_TRUE(w->close());
  deleteClosed();
  EXPECT_FALSE(alive);
}

TEST_F(ListWindowTest, DuplicateSteppingReachesTheLastPair) {
  SeznamWindow w(path_);
  w.stepDuplicates();
  // Sorted on the call sign, the only pair is the last two rows.
  EXPECT_EQ(w.table().sortKey(), 1);
  EXPECT_EQ(w.selectedRow(), 4);
  EXPECT_EQ(fromQString(w.duplicatesButton()->text()), "Další ...");
  EXPECT_TRUE(messages_.empty());
  w.stepDuplicates();
  EXPECT_EQ(messages_, std::vector<std::string>{"Jsme na konci. Je možno začít opět od začátku ..."});
  EXPECT_EQ(fromQString(w.duplicatesButton()->text()), "&Duplicity");
  EXPECT_TRUE(w.duplicatesButton()->isEnabled());
}

TEST_F(ListWindowTest, IncrementalSearchConvertsSortsAndFinds) {
  SeznamWindow w(path_);
  w.show();
  QLineEdit* loc = w.searchBox(0);
  QLineEdit* call = w.searchBox(1);
  loc->setText(platform::toQString("jo70b"));
  EXPECT_EQ(fromQString(loc->text()), "JO70B");
  EXPECT_EQ(loc->cursorPosition(), 5);
  EXPECT_EQ(w.table().sortKey(), 0);
  EXPECT_EQ(w.table().grid().cell(w.selectedRow(), 0), "JO70BB");
  EXPECT_TRUE(call->isHidden());
  loc->setText(platform::toQString("XX99"));
  EXPECT_EQ(w.selectedRow(), 5);  // nothing matches: the last row
  loc->clear();
  EXPECT_EQ(w.selectedRow(), 0);
  EXPECT_FALSE(call->isHidden());

  call->setText(platform::toQString("Zu"));
  EXPECT_EQ(w.table().sortKey(), 1);
  EXPECT_EQ(fromQString(call->text()), "Zu");  // no conversion for this box
  EXPECT_TRUE(loc->isHidden());
}

TEST_F(ListWindowTest, ClosingAsksAndPlacementIsKept) {
  {
    auto* w = new SeznamWindow(path_);
    w->table().grid().setCell(0, 0, "JO70ZZ");
    answer_ = platform::Answer::No;
    EXPECT_TRUE(w->close());
    deleteClosed();
    EXPECT_EQ(messages_, std::vector<std::string>{"Uložit seznam ?"});
    EXPECT_EQ(*platform::readWholeFile(path_), original_);
  }
  {
    auto* w = new SeznamWindow(path_);
    w->table().grid().setCell(0, 0, "JO70ZZ");
    answer_ = platform::Answer::Yes;
    EXPECT_TRUE(w->close());
    deleteClosed();
    EXPECT_EQ(platform::readWholeFile(path_)->rfind("JO70ZZ;OK1ABC;1.1.2000\r\n", 0), 0u);
  }
  auto key = platform::RegistryKey::open(windowSettingsKey(kForm), false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->readInteger("Top"), 10);
  EXPECT_EQ(key->readInteger("Width"), 450);
  EXPECT_FALSE(key->readBool("Maximized"));
}

TEST_F(ListWindowTest, PlacementIsClampedAndMaximisedStateRestored) {
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  {
    auto key = platform::RegistryKey::open(windowSettingsKey(kForm), true);
    key->writeInteger("Top", 5000);
    key->writeInteger("Left", -40);
    key->writeInteger("Height", 300);
    key->writeInteger("Width", 500);
    key->writeBool("Maximized", false);
    ASSERT_TRUE(key->flush());
  }
  auto* w = new SeznamWindow(path_);
  w->show();
  EXPECT_EQ(w->geometry(), QRect(1, 1, 500, 300)) << screen.width() << "x" << screen.height();
  w->setGeometry(20, 30, 400, 250);
  w->showMaximized();
  answer_ = platform::Answer::No;
  EXPECT_TRUE(w->close());
  deleteClosed();
  {
    auto key = platform::RegistryKey::open(windowSettingsKey(kForm), false);
    EXPECT_TRUE(key->readBool("Maximized"));
    EXPECT_EQ(key->readInteger("Top"), 30);
    EXPECT_EQ(key->readInteger("Left"), 20);
    EXPECT_EQ(key->readInteger("Height"), 250);
    EXPECT_EQ(key->readInteger("Width"), 400);
  }
  auto* again = new SeznamWindow(path_);
  again->show();
  EXPECT_TRUE(again->isMaximized());
  EXPECT_EQ(again->normalGeometry(), QRect(20, 30, 400, 250));
}

TEST_F(ListWindowTest, AnUnreadableListOpensEmptyWithTheMessage) {
  const std::string missing = dir_.file("chybi.txt");
  SeznamWindow w(missing);
  EXPECT_EQ(messages_, std::vector<std::string>{"Chyba I/O při čtení souboru : " + missing});
  EXPECT_EQ(w.table().rowCount(), 1);
  EXPECT_EQ(title(w), "Seznam : [1]");
  // Saving then creates the file.
  w.table().grid().setCell(0, 0, "JO70GQ");
  EXPECT_TRUE(w.saveList());
  EXPECT_EQ(*platform::readWholeFile(missing), "JO70GQ;;\r\n");
}

TEST_F(ListWindowTest, ToolWindowIsCreatedOnceListedAndItsGlobalCleared) {
  QPointer<SeznamWindow> global;
  SeznamWindow* first = openToolWindow(global, path_);
  EXPECT_EQ(openToolWindow(global, path_), first);
  EXPECT_EQ(openToolWindows(), std::vector<QWidget*>{first});
  answer_ = platform::Answer::No;
  first->close();
  deleteClosed();
  EXPECT_FALSE(global);
  EXPECT_TRUE(openToolWindows().empty());
}

}  // namespace
}  // namespace vektrano
