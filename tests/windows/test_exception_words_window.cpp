#include "windows/exception_words_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "core/reference/exception_words.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using platform::fromQString;

const char* const kTitle = "Seznam slov, které se nepřevádějí na lokátor";

class Form12Test : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    path_ = dir_.file("vektrano.dup");
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.kind == platform::MessageKind::Question ? answer_ : m.defaultAnswer;
    });
  }
  void TearDown() override {
    platform::setMessageHandler(previous_);
    delete Form12.data();
  }
  TForm12* open() {
    return openForm12(
        path_, [] { return KeyboardOptions{true, false}; },
        [this](const std::vector<std::string>& w) { saved_.push_back(w); });
  }
  static std::vector<std::string> words() {
    std::vector<std::string> out;
    for (const auto& r : Form12->table().grid().rows()) out.push_back(r[0]);
    return out;
  }
  static void closeWindow() {
    Form12->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  test::TempDir dir_;
  std::string path_;
  std::vector<std::string> messages_;
  std::vector<std::vector<std::string>> saved_;
  platform::Answer answer_ = platform::Answer::Yes;
  platform::MessageHandler previous_;
};

TEST_F(Form12Test, EditedWordsAreSavedTidiedAndHandedOn) {
  ASSERT_TRUE(platform::writeFileAtomic(path_, "Sněžka\r\nMaščka\r\n"));
  TForm12* w = open();
  EXPECT_EQ(fromQString(w->windowTitle()), kTitle);
  EXPECT_EQ(words(), (std::vector<std::string>{"Sněžka", "Maščka"}));  // not sorted on opening
  EXPECT_TRUE(w->duplicatesButton()->isHidden());
  EXPECT_EQ(w->searchBox(0), nullptr);
  // No narrower than 280 and no lower than 450: the default 450 x 280 grows.
  EXPECT_EQ(w->minimumSize(), QSize(280, 450));
  EXPECT_EQ(w->geometry().size(), QSize(450, 450));
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);

  w->addButton()->click();
  EXPECT_EQ(w->table().rowCount(), 3);
  EXPECT_EQ(w->selectedRow(), 2);
  w->table().grid().setCell(2, 0, "pra ha");
  w->addButton()->click();
  w->table().grid().setCell(3, 0, "ma šč ka");

  w->saveButton()->click();
  // Sorted as typed, then tidied: the file keeps the grid's order.
  EXPECT_EQ(*platform::readWholeFile(path_), "Maščka\r\nSněžka\r\nMaščka\r\n");
  ASSERT_EQ(saved_.size(), 1u);
  EXPECT_EQ(saved_[0], (std::vector<std::string>{"Maščka", "Sněžka", "Maščka"}));
  EXPECT_EQ(words(), (std::vector<std::string>{"Maščka", "Sněžka", "Maščka", "Praha"}));
  EXPECT_EQ(messages_, (std::vector<std::string>{zpravaNeulozeneSlovo("Praha")}));
  EXPECT_EQ(fromQString(w->windowTitle()), kTitle);  // back from the sort's progress
  EXPECT_TRUE(w->saveButton()->isEnabled());

  // Delete: the last word takes the row's place, then the list is sorted.
  w->selectCell(0);
  w->deleteButton()->click();
  EXPECT_EQ(words(), (std::vector<std::string>{"Maščka", "Praha", "Sněžka"}));
  EXPECT_EQ(fromQString(w->windowTitle()), kTitle);

  // Closing asks; No keeps the file as it was.
  messages_.clear();
  answer_ = platform::Answer::No;
  closeWindow();
  EXPECT_FALSE(Form12);
  EXPECT_EQ(messages_, (std::vector<std::string>{"Uložit seznam Slov ?"}));
  EXPECT_EQ(*platform::readWholeFile(path_), "Maščka\r\nSněžka\r\nMaščka\r\n");
  auto k = platform::RegistryKey::open("\\Software\\NOVR\\Vektrano\\Form12", false);
  ASSERT_TRUE(k);
  EXPECT_EQ(k->readInteger("Width"), 450);
  EXPECT_TRUE(k->valueExists("Maximized"));
}

// The status bar shows the hint of the button under the mouse, and its own
// text again once the mouse has left it.
TEST_F(Form12Test, TheStatusBarShowsTheHintUnderTheMouse) {
  TForm12* w = open();
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  auto* status = w->findChild<QLabel*>("StatusBar1");
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(fromQString(status->text()), std::string("  ") + kTitle);
  for (QPushButton* b : {w->addButton(), w->deleteButton(), w->saveButton()}) {
    QTest::mouseMove(b);
    EXPECT_EQ(fromQString(status->text()), fromQString(b->toolTip()));
  }
  QTest::mouseMove(w->view()->viewport());
  EXPECT_EQ(fromQString(status->text()), std::string("  ") + kTitle);
}

TEST_F(Form12Test, AMissingFileOpensEmptyAndIsCreatedOnSavingAtClose) {
  open();
  EXPECT_EQ(messages_, (std::vector<std::string>{"Chyba I/O při čtení souboru : " + path_}));
  EXPECT_EQ(words(), (std::vector<std::string>{""}));
  Form12->table().grid().setCell(0, 0, "Sně žka");
  messages_.clear();
  closeWindow();
  EXPECT_FALSE(Form12);
  EXPECT_EQ(messages_, (std::vector<std::string>{"Uložit seznam Slov ?"}));
  EXPECT_EQ(*platform::readWholeFile(path_), "Sněžka\r\n");
  EXPECT_EQ(saved_.size(), 1u);
}

TEST_F(Form12Test, AWriteErrorKeepsTheWindowAndItsWords) {
  path_ = dir_.file("no/vektrano.dup");
  open();
  Form12->table().grid().setCell(0, 0, "Sněžka");
  messages_.clear();
  Form12->saveButton()->click();
  EXPECT_EQ(messages_, (std::vector<std::string>{"Chyba I/O při ukládání souboru : " + path_}));
  EXPECT_TRUE(saved_.empty());
  EXPECT_EQ(words(), (std::vector<std::string>{"Sněžka"}));
  EXPECT_TRUE(Form12->saveButton()->isEnabled());
}

}  // namespace
}  // namespace vektrano
