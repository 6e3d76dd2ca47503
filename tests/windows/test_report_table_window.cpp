#include "windows/report_table_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <filesystem>

#include "platform/files.h"
#include "platform/message.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"
#include "windows/base/list_window.h"

namespace vektrano {
namespace {

class Form8Test : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    path_ = dir_.file("vektrano.rep");
    ASSERT_TRUE(platform::writeFileAtomic(path_, formatTabulkaReportu(vychoziTabulkaReportu())));
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.defaultAnswer;
    });
  }
  void TearDown() override {
    platform::setMessageHandler(previous_);
    delete Form8.data();
  }
  test::TempDir dir_;
  std::string path_;
  std::vector<std::string> messages_;
  platform::MessageHandler previous_;
};

TEST_F(Form8Test, EnterSortsClosingSavesAndABadDistanceIsRefused) {
  TForm8* w = openForm8(path_);
  EXPECT_EQ(w->grid().cell(0, 0), "km");
  EXPECT_EQ(w->grid().cell(17, 0), "450");
  EXPECT_EQ(w->tabulka(), vychoziTabulkaReportu());

  // A distance edited and Enter pressed: the row moves to its place.
  w->grid().setCell(1, 0, "300");
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(w->view(), &enter);
  EXPECT_EQ(w->grid().cell(1, 0), "50");
  EXPECT_EQ(w->grid().cell(11, 0), "300");

  const std::string before = *platform::readWholeFile(path_);
  w->grid().setCell(5, 0, "12,5");
  EXPECT_FALSE(w->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_TRUE(Form8);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].rfind("Vzdálenost v řádku ", 0), 0u);
  EXPECT_EQ(*platform::readWholeFile(path_), before);

  w->grid().setCell(5, 0, "125");
  EXPECT_TRUE(w->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(Form8);
  const auto saved = parseTabulkaReportu(*platform::readWholeFile(path_));
  EXPECT_EQ(saved[3].km, "125");
  EXPECT_EQ(saved[10].km, "300");
  auto key = platform::RegistryKey::open("\\Software\\NOVR\\Vektrano\\Form8", false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->readInteger("Top"), 10);
  EXPECT_FALSE(key->valueExists("Height"));
}

TEST_F(Form8Test, EmptyRowsNeverHoldTheWindowAndABadDistanceMayBeLeftUnsaved) {
  // A short file: rows 4 to 17 are empty. The window closes and saves the
  // three rows it has.
  ASSERT_TRUE(platform::writeFileAtomic(path_, "0;59;\r\n90;58;\r\n50;59;\r\n"));
  TForm8* w = openForm8(path_);
  EXPECT_EQ(w->grid().cell(2, 0), "50");
  EXPECT_TRUE(w->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(Form8);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(*platform::readWholeFile(path_), "0;59;\r\n50;59;\r\n90;58;\r\n");

  // A distance that is no number: the question lets the operator leave
  // without saving, and the file keeps its content.
  w = openForm8(path_);
  w->grid().setCell(2, 0, "abc");
  platform::setMessageHandler([this](const platform::Message& m) {
    messages_.push_back(m.text);
    return platform::Answer::Yes;
  });
  EXPECT_TRUE(w->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(Form8);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("Zavřít tabulku bez uložení změn ?"), std::string::npos);
  EXPECT_EQ(*platform::readWholeFile(path_), "0;59;\r\n50;59;\r\n90;58;\r\n");
}

}  // namespace
}  // namespace vektrano
