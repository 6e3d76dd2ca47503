// The log dialogs: the open dialog renames old csv logs in every folder
// entered; neither dialog lets a log be written over another file without
// a question.
#include "app/log_file_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/log/log_file.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

QFileDialog* openDialog() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) return d;
  return nullptr;
}

// Runs act on the dialog once it is shown; a dialog that never appears or is
// not closed ends after a few seconds instead of hanging the test.
void whenShown(std::function<void(QFileDialog*)> act) {
  auto* poll = new QTimer;
  auto started = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, started, act] {
    QFileDialog* d = openDialog();
    if (d && *started == 0) {
      *started = 1;
      act(d);
    }
    if (++*started > 100 || (*started > 0 && !openDialog())) {
      if (QFileDialog* left = openDialog()) static_cast<QDialog*>(left)->reject();
      poll->stop();
      poll->deleteLater();
    }
  });
  poll->start(50);
}

TEST(LogDialogs, OpenDialogRenamesCsvLogsOfEachFolderEntered) {
  test::TempDir dir;
  const std::string start = dir.file("data"), other = dir.file(platform::pathFromText("stará"));
  std::filesystem::create_directory(platform::fsPath(start));
  std::filesystem::create_directory(platform::fsPath(other));
  ASSERT_TRUE(platform::writeFileAtomic(start + "/a.csv", "JO70GQ;poř.;\r\n"));
  ASSERT_TRUE(platform::writeFileAtomic(other + "/b.csv", "JN99JM;1;\r\n"));
  ASSERT_TRUE(platform::writeFileAtomic(other + "/t.csv", "poř.;čas;\r\n"));

  bool sawDialog = false;
  whenShown([&](QFileDialog* d) {
    sawDialog = true;
    EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(platform::fromQString(d->windowTitle()), "Vyber deník pro otevření :");
    d->setDirectory(platform::pathToQString(other));
    emit d->directoryEntered(platform::pathToQString(other));
    d->reject();
  });
  EXPECT_FALSE(zvolOtevreniDeniku(nullptr, start, ""));
  EXPECT_TRUE(sawDialog);
  EXPECT_TRUE(platform::fileExists(start + "/a.qvl"));
  EXPECT_TRUE(platform::fileExists(other + "/b.qvl"));
  EXPECT_TRUE(platform::fileExists(other + "/t.csv"));
}

// Answers the first question box that the file dialog d raises with button;
// its text goes to *seen. Ends with the dialog.
void answerBox(QFileDialog* d, QMessageBox::StandardButton button, std::shared_ptr<std::string> seen) {
  auto* poll = new QTimer;
  QPointer<QFileDialog> dialog(d);
  QObject::connect(poll, &QTimer::timeout, [poll, dialog, button, seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box && dialog) {
      *seen = platform::fromQString(box->text());
      EXPECT_EQ(box->parentWidget(), dialog.data());
      box->button(button)->click();
    }
    if (box || !dialog || !dialog->isVisible()) {
      poll->stop();
      poll->deleteLater();
    }
  });
  poll->start(20);
}

// Types a name into the dialog's file name field and presses Enter, as the
// operator does; a question it raises gets answer. The question's text, empty
// when none came.
std::shared_ptr<std::string> typeAndEnter(QFileDialog* d, const std::string& name,
                                          QMessageBox::StandardButton answer) {
  auto question = std::make_shared<std::string>();
  auto* edit = d->findChild<QLineEdit*>("fileNameEdit");
  EXPECT_NE(edit, nullptr);
  if (!edit) return question;
  d->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(d));
  edit->setFocus();
  edit->clear();
  QTest::keyClicks(edit, platform::toQString(name));
  answerBox(d, answer, question);
  QTest::keyClick(edit, Qt::Key_Return);
  return question;
}

const char* const kOtherLog = "JO60LJ;poř.;čas;RV;Volačka;RP;Lokátor;km;pozn;Klínovec;;;;;;;;;;;;;\r\n"
                              "JO60LJ;1;10:00;59;OK1ABC;59;JO70GQ;120;;\r\n";

// A name typed into a log dialog, the answer to the question it may raise
// and what should come of it.
struct NameCase {
  const char* note;
  std::string typed;  // into the name field
  QMessageBox::StandardButton answer;
  bool asked;
  std::string chosen;  // returned (the file name), empty: cancelled
};

// What the operator meets once the next dialog shows: the case's name typed
// and Enter, the question's text (empty when none came), and whether the
// dialog stayed open (it is then closed).
struct Met {
  std::string question;
  bool stayedOpen = false;
};
std::shared_ptr<Met> typeAndEnterWhenShown(const NameCase& c) {
  auto met = std::make_shared<Met>();
  whenShown([met, c](QFileDialog* d) {
    met->question = *typeAndEnter(d, c.typed, c.answer);
    met->stayedOpen = d->isVisible();
    if (met->stayedOpen) d->reject();
  });
  return met;
}

// The question came when the case says, and the dialog returned its file.
void expectOutcome(const NameCase& c, const Met& met, const std::optional<std::string>& chosen,
                   const test::TempDir& dir) {
  EXPECT_EQ(!met.question.empty(), c.asked) << met.question;
  EXPECT_EQ(met.stayedOpen, c.chosen.empty());
  EXPECT_EQ(chosen ? *chosen : std::string(), c.chosen.empty() ? "" : dir.file(c.chosen));
}

// Save and New log: a name whose log file exists and is not the log's own
// asks first; No keeps the dialog open and the other file as it was.
TEST(LogDialogs, SavingOverAnotherExistingLogAsksFirst) {
  const NameCase cases[] = {
      {"another log, No", "jina", QMessageBox::No, true, ""},
      {"another log, Yes", "jina.qvl", QMessageBox::Yes, true, "jina.qvl"},
      {"the csv name of another log", "jina.csv", QMessageBox::No, true, ""},
      {"the log's own file", "vlastni.qvl", QMessageBox::No, false, "vlastni.qvl"},
      {"a new name", "novy", QMessageBox::No, false, "novy.qvl"},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.note);
    test::TempDir dir;
    const std::string other = dir.file("jina.qvl"), own = dir.file("vlastni.qvl");
    ASSERT_TRUE(platform::writeFileAtomic(other, kOtherLog));
    ASSERT_TRUE(platform::writeFileAtomic(own, "JO70GQ;poř.;\r\n"));

    const auto met = typeAndEnterWhenShown(c);
    const auto chosen = zvolUlozeniDeniku(nullptr, "Zvol jméno souboru pod kterým se uloží deník : ",
                                          dir.path(), own);
    expectOutcome(c, *met, chosen, dir);
    if (c.asked) {
      EXPECT_NE(met->question.find(other), std::string::npos) << met->question;
      EXPECT_NE(met->question.find("již existuje"), std::string::npos) << met->question;
    }

    // What the command then writes: the other log only after Yes.
    LogDocument log;
    log.SaveFileName = own;
    log.lokportable = "JO70GQ";
    UlozJakoQVL(log, chosen, dir.path());
    if (c.answer == QMessageBox::No || !c.asked) {
      EXPECT_EQ(platform::readWholeFile(other), std::string(kOtherLog));
    }
  }
}

// Opening an old csv log makes its qvl name the log's file: when that file
// exists already, the next contact would replace it, so the open dialog asks.
TEST(LogDialogs, OpeningACsvLogWhoseQvlFileExistsAsksFirst) {
  const NameCase cases[] = {
      {"csv beside another log, No", "jina.csv", QMessageBox::No, true, ""},
      {"csv beside another log, Yes", "jina.csv", QMessageBox::Yes, true, "jina.csv"},
      {"csv alone", "sama.csv", QMessageBox::No, false, "sama.csv"},
      {"a qvl log", "jina.qvl", QMessageBox::No, false, "jina.qvl"},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.note);
    test::TempDir dir;
    ASSERT_TRUE(platform::writeFileAtomic(dir.file("jina.qvl"), kOtherLog));
    // Title rows first: no old log the dialog would rename.
    ASSERT_TRUE(platform::writeFileAtomic(dir.file("jina.csv"), "poř.;čas;\r\n"));
    ASSERT_TRUE(platform::writeFileAtomic(dir.file("sama.csv"), "poř.;čas;\r\n"));

    const auto met = typeAndEnterWhenShown(c);
    const auto chosen = zvolOtevreniDeniku(nullptr, dir.path(), "");
    expectOutcome(c, *met, chosen, dir);
    if (c.asked) {
      EXPECT_NE(met->question.find(dir.file("jina.qvl")), std::string::npos) << met->question;
    }
    EXPECT_EQ(platform::readWholeFile(dir.file("jina.qvl")), std::string(kOtherLog));
  }
}

}  // namespace
}  // namespace vektrano
