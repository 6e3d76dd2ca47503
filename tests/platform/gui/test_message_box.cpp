#include "platform/gui/message_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/cp1250.h"
#include "platform/gui/application.h"

namespace vektrano::platform {
namespace {

struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  std::vector<QMessageBox::StandardButton> buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Waits for the next modal box, notes what it shows and presses `press`.
void answerNextBox(SeenBox& seen, QMessageBox::StandardButton press) {
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [&seen, press, poll] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) {
      QTimer::singleShot(10, *poll);
      return;
    }
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) seen.buttons.push_back(box->standardButton(b));
    if (box->defaultButton()) seen.defaultButton = box->standardButton(box->defaultButton());
    box->button(press)->click();
  };
  QTimer::singleShot(0, *poll);
}

class QtMessageBox : public ::testing::Test {
 protected:
  void SetUp() override { setApplicationTitle("Deník NOVR"); }
  void TearDown() override {
    setMessageBoxObserver({});
    setApplicationTitle("");
  }
};

TEST_F(QtMessageBox, MessageHasOkAndLineBreaksForCrLf) {
  SeenBox seen;
  answerNextBox(seen, QMessageBox::Ok);
  const Answer a = showQtMessageBox(
      {MessageKind::Info, "Chybí soubor : /x/vektrano.rep\r\n\r\nNa webu najdeš", "", Answer::Ok});
  EXPECT_EQ(a, Answer::Ok);
  EXPECT_EQ(seen.text, QString::fromUtf8(u8"Chybí soubor : /x/vektrano.rep\n\nNa webu najdeš"));
  EXPECT_EQ(seen.title, QString::fromUtf8(u8"Deník NOVR"));  // the application title
  EXPECT_EQ(seen.buttons, std::vector{QMessageBox::Ok});
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}

TEST_F(QtMessageBox, KindsGiveIconsAndCaptionsTheirOwnTitle) {
  struct Case {
    MessageKind kind;
    QMessageBox::Icon icon;
  } cases[] = {{MessageKind::Warning, QMessageBox::Warning},
               {MessageKind::Error, QMessageBox::Critical}};
  for (const Case& c : cases) {
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Ok);
    showQtMessageBox({c.kind, "text", "Chyba", Answer::Ok});
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.title, QStringLiteral("Chyba"));
  }
}

TEST_F(QtMessageBox, QuestionOffersYesAndNoWithItsDefault) {
  struct Case {
    Answer defaultAnswer;
    QMessageBox::StandardButton press;
    QMessageBox::StandardButton expectedDefault;
    Answer expected;
  } cases[] = {
      {Answer::Yes, QMessageBox::No, QMessageBox::Yes, Answer::No},
      {Answer::No, QMessageBox::Yes, QMessageBox::No, Answer::Yes},
  };
  for (const Case& c : cases) {
    SeenBox seen;
    answerNextBox(seen, c.press);
    EXPECT_EQ(showQtMessageBox({MessageKind::Question, "Uložit?", "", c.defaultAnswer}), c.expected);
    EXPECT_EQ(seen.buttons.size(), 2u);
    EXPECT_EQ(seen.defaultButton, c.expectedDefault);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
  }
}

TEST_F(QtMessageBox, QuestionsShowTheIconTheyAskFor) {
  struct Case {
    QuestionIcon icon;
    QMessageBox::Icon shown;
  } cases[] = {{QuestionIcon::Question, QMessageBox::Question},
               {QuestionIcon::Warning, QMessageBox::Warning},
               {QuestionIcon::Information, QMessageBox::Information}};
  for (const Case& c : cases) {
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Yes);
    EXPECT_EQ(showQtMessageBox({MessageKind::Question, "Opravdu ?", "", Answer::No, c.icon}),
              Answer::Yes);
    EXPECT_EQ(seen.icon, c.shown);
    EXPECT_EQ(seen.buttons.size(), 2u);
  }
}

TEST_F(QtMessageBox, ObserverBracketsTheBox) {
  std::vector<bool> calls;
  bool visibleWhenShown = true;
  setMessageBoxObserver([&](bool shown) {
    calls.push_back(shown);
    if (!shown) visibleWhenShown = QApplication::activeModalWidget() != nullptr;
  });
  SeenBox seen;
  answerNextBox(seen, QMessageBox::Ok);
  showQtMessageBox({MessageKind::Info, "x", "", Answer::Ok});
  EXPECT_EQ(calls, (std::vector<bool>{true, false}));
  EXPECT_FALSE(visibleWhenShown);
}

TEST_F(QtMessageBox, WorkersBoxIsShownByTheMainThread) {
  SeenBox seen;
  answerNextBox(seen, QMessageBox::Yes);
  std::atomic<bool> done{false};
  Answer answer = Answer::Ok;
  std::thread worker([&] {
    answer = showQtMessageBox({MessageKind::Question, "Z vlákna", "", Answer::No});
    done = true;
  });
  QEventLoop loop;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    if (done) loop.quit();
  });
  tick.start(10);
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  loop.exec();
  worker.join();
  EXPECT_EQ(answer, Answer::Yes);
  EXPECT_EQ(seen.text, QString::fromUtf8(u8"Z vlákna"));
}

TEST_F(QtMessageBox, StderrSwitchKeepsTheNonInteractiveBoxes) {
  ::setenv("VEKTRANO_MESSAGES", "stderr", 1);
  EXPECT_FALSE(installQtMessageBoxes());
  ::unsetenv("VEKTRANO_MESSAGES");
  EXPECT_TRUE(installQtMessageBoxes());
  SeenBox seen;
  answerNextBox(seen, QMessageBox::Ok);
  showMessage("Přes obsluhu");
  EXPECT_EQ(seen.text, QString::fromUtf8(u8"Přes obsluhu"));
  setMessageHandler({});
  ::setenv("VEKTRANO_MESSAGES", "stderr", 1);
}

}  // namespace
}  // namespace vektrano::platform
