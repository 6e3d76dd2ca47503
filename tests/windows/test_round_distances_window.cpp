#include "windows/round_distances_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <filesystem>

#include "core/entry/store_contact.h"
#include "platform/cp1250.h"
#include "platform/message.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using platform::fromQString;
using platform::toQString;

KeyboardOptions czech() { return {true, false}; }

class Form5Test : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.defaultAnswer;
    });
  }
  void TearDown() override {
    platform::setMessageHandler(previous_);
    delete Form5.data();
  }

  static TForm5* open(const std::string& counter) { return openForm5("JO70GQ", counter, czech); }
  static std::string label(int row) { return fromQString(Form5->vzdalenost(row)->text()); }
  static std::string box(int b) { return fromQString(Form5->lokator(b)->text()); }
  static void type(QWidget* w, const std::string& text) {
    for (char c : text) {
      const QString s = toQString(std::string(1, c));
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, s);
      QApplication::sendEvent(w, &press);
    }
  }
  static void key(QWidget* w, QEvent::Type type, int k) {
    QKeyEvent e(type, k, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  test::TempDir dir_;
  std::vector<std::string> messages_;
  platform::MessageHandler previous_;
};

TEST_F(Form5Test, TypedParticipantsAreMeasuredAndComeBackAtTheNextOpening) {
  TForm5* w = open("JO70GQ");
  EXPECT_EQ(fromQString(w->windowTitle()), "Počítání vzdáleností pro účastníky KOLEČKA");
  EXPECT_EQ(w->size(), QSize(600, 450));
  EXPECT_EQ(box(0), "JO70GQ");
  EXPECT_EQ(box(1), "JO70GQ");
  EXPECT_EQ(label(0), "0");
  EXPECT_EQ(label(1), "_______");

  // After five characters the row asks; the sixth completes and converts.
  type(w->lokator(2), "jo8é");
  type(w->lokator(2), "g");
  EXPECT_EQ(label(1), "?");
  type(w->lokator(2), "qx");  // the box takes six characters only
  EXPECT_EQ(box(2), "JO80GQ");
  EXPECT_EQ(label(1), "141");
  EXPECT_EQ(w->status(), kKoleckoVypocet);
  // Good locators in bold on the normal ground of an edit, never in the
  // grey of a disabled one.
  const QColor editGround = QLineEdit().palette().color(QPalette::Base);
  for (int b : {0, 2}) {
    EXPECT_EQ(w->lokator(b)->palette().color(QPalette::Base), editGround) << b;
    EXPECT_TRUE(w->lokator(b)->font().bold()) << b;
  }

  type(w->lokator(3), "JO7OGQ");
  EXPECT_EQ(label(2), "lokátor?");
  EXPECT_TRUE(w->lokator(3)->font().italic());
  EXPECT_EQ(w->lokator(3)->palette().color(QPalette::Base), QColor(Qt::red));
  EXPECT_EQ(w->status(), chybaLokatoru(3));
  EXPECT_EQ(w->lokator(1)->palette().color(QPalette::Base), QColor(224, 240, 240));

  type(w->lokator(4), "JO8");
  w->poznamka(0)->setPlainText(toQString("OK1KHL/p\nKlínovec"));

  // Escape released closes and stores.
  key(w->lokator(2), QEvent::KeyRelease, Qt::Key_Escape);
  ASSERT_FALSE(Form5);
  auto k = platform::RegistryKey::open("\\Software\\NOVR\\Vektrano\\Form5", false);
  ASSERT_TRUE(k);
  EXPECT_EQ(k->readString("Edit3"), "JO80GQ");
  EXPECT_EQ(k->readString("Label2"), "141");
  EXPECT_EQ(k->readString("Memo1"), "OK1KHL/p\r\nKlínovec");
  EXPECT_EQ(k->readInteger("Height"), 450);
  EXPECT_EQ(k->readInteger("Width"), 600);
  EXPECT_TRUE(k->valueExists("Top"));
  EXPECT_FALSE(k->valueExists("Maximized"));
  EXPECT_FALSE(k->valueExists("Edit1"));
  EXPECT_FALSE(k->valueExists("Edit2"));

  // Reopened with another counter station: stored rows are measured again,
  // an incomplete one keeps its stored label.
  w = openForm5("JN99JM", "JO70GQ", czech);
  EXPECT_EQ(box(2), "JO80GQ");
  EXPECT_EQ(label(0), "329");
  EXPECT_EQ(label(1), "141");
  EXPECT_EQ(label(2), "lokátor?");
  EXPECT_EQ(label(3), "?");
  EXPECT_EQ(fromQString(w->poznamka(0)->toPlainText()), "OK1KHL/p\nKlínovec");

  // F1 closes the window as well.
  key(w->lokator(1), QEvent::KeyPress, Qt::Key_F1);
  EXPECT_FALSE(Form5);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(Form5Test, WithoutACounterStationEveryLabelShowsQuestionMarks) {
  // The entry line's hook after a stored contact, as the main window sets it.
  const Startform5 hook = [](const std::string& own, const std::string& locator) {
    openForm5(own, locator, czech);
  };
  hook("JO70GQ", "");
  ASSERT_TRUE(Form5);
  for (int r = 0; r < kKoleckoRadku; ++r) EXPECT_EQ(label(r), "???") << r;
  EXPECT_EQ(Form5->status(), chybaLokatoru(1));

  hook("JO70GQ", "JN99JM");
  EXPECT_EQ(label(0), "329");
  EXPECT_EQ(label(1), "???");  // nothing was typed in the participants' rows

  releaseForm5();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(Form5);
}

}  // namespace
}  // namespace vektrano
