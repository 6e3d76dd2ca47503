#include "windows/expedition_description_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <filesystem>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using platform::fromQString;
using platform::toQString;

class Form11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    std::filesystem::create_directories(dir_.file("data"));
    platform::setProgramFolder(dir_.path());
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.defaultAnswer;
    });
  }
  void TearDown() override {
    platform::setMessageHandler(previous_);
    platform::setProgramFolder({});
    delete Form11.data();
  }

  TForm11* open() {
    return openForm11(log_, dir_.file("data"), [this](const std::string& memo) {
      memos_.push_back(memo);
    });
  }
  static void type(QWidget* w, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
  }
  static void deferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  test::TempDir dir_;
  LogDocument log_;
  std::vector<std::string> messages_;
  std::vector<std::string> memos_;
  platform::MessageHandler previous_;
};

TEST_F(Form11Test, ConfirmNamesAndSavesTheNewLogAndCloses) {
  TForm11* w = open();
  EXPECT_FALSE(w->doplnit()->isEnabled());       // no contacts yet
  EXPECT_FALSE(w->edit(kPopisZacatek)->text().isEmpty());  // the time now

  // Refused: the focus goes to the first missing field.
  w->edit(0)->setText(toQString("Hora 2008"));
  w->hotovo()->click();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].rfind("Je nutno vyplnit alespoň název expedice", 0), 0u);
  EXPECT_EQ(w->focusWidget(), w->edit(1));
  ASSERT_TRUE(Form11);

  w->edit(1)->setText(toQString("Kozákov"));
  w->edit(2)->setText(toQString("jo70po"));
  EXPECT_EQ(w->edit(2)->text(), "JO70PO");
  w->edit(3)->setText("520");
  w->edit(4)->setText("8.4.2008 14:05:33");
  w->edit(12)->setText(toQString("vítr"));
  type(w->edit(12), Qt::Key_Semicolon, ";");
  type(w->edit(12), Qt::Key_M, "m");
  EXPECT_EQ(fromQString(w->edit(12)->text()), "vítr,m");

  w->hotovo()->click();
  deferredDeletes();
  EXPECT_FALSE(Form11);
  const std::string path = dir_.file("data") + "/HORA_2008_JO70PO_KOZAKOV_8_4_2008_14_05_33.qvl";
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1], "Nový deník se ukládá pod názvem :\r\n\r\n" + path);
  EXPECT_EQ(log_.SaveFileName, path);
  EXPECT_EQ(log_.lokportable, "JO70PO");
  EXPECT_EQ(log_.PopisExpedice[12], "vítr,m");
  EXPECT_EQ(memos_, std::vector<std::string>{"Hora 2008, Kozákov, 520, , "});
  const auto saved = platform::readWholeFile(path);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->rfind("JO70PO;poř.;", 0), 0u);

  auto key = platform::RegistryKey::open("\\Software\\NOVR\\Vektrano\\Form11", false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->readInteger("Top"), 1);  // no key before: top 1, left 1
  EXPECT_EQ(key->readInteger("Left"), 1);
}

TEST_F(Form11Test, EscClosesWithoutStoring) {
  log_.PopisExpedice[0] = "Sněžka";
  log_.SaveFileName = dir_.file("data") + "/snezka.qvl";
  TForm11* w = open();
  EXPECT_EQ(fromQString(w->edit(0)->text()), "Sněžka");
  w->edit(0)->setText("Jinak");
  w->edit(1)->setText("Pec");
  w->edit(2)->setText("JO70PO");
  type(w->edit(0), Qt::Key_Escape, {});
  deferredDeletes();
  EXPECT_FALSE(Form11);
  EXPECT_EQ(log_.PopisExpedice[0], "Sněžka");
  EXPECT_EQ(log_.PopisExpedice[1], "");
  EXPECT_TRUE(memos_.empty());
  EXPECT_TRUE(messages_.empty());
  EXPECT_FALSE(platform::fileExists(log_.SaveFileName));
}

TEST_F(Form11Test, DoubleClickCopiesTheSelectionAndPutsInTheTimeNow) {
  log_.Denik.appendRow({"1", "14:06", "59", "Pavel", "57", "", "", ""});
  TForm11* w = open();
  EXPECT_TRUE(w->doplnit()->isEnabled());
  QLineEdit* end = w->edit(kPopisKonec);
  end->setText("konec");
  QApplication::clipboard()->clear();
  const QPointF at(end->rect().left() + 8, end->rect().center().y());
  QMouseEvent dbl(QEvent::MouseButtonDblClick, at, end->mapToGlobal(at), Qt::LeftButton,
                  Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(end, &dbl);
  EXPECT_EQ(QApplication::clipboard()->text(), "konec");
  EXPECT_NE(end->text(), "konec");
  EXPECT_EQ(fromQString(end->text()).find(':'), fromQString(end->text()).size() - 6);  // H:mm:ss

  w->doplnit()->click();
  EXPECT_TRUE(fromQString(end->text()).ends_with(" { 14:06 }"));
}

}  // namespace
}  // namespace vektrano
