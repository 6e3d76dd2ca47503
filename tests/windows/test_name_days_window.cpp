#include "windows/name_days_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "core/reference/name_days.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using platform::fromQString;
using platform::toQString;

class Form4Test : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
    path_ = nameDaysPath(dir_.path());
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.kind == platform::MessageKind::Question ? answer_ : platform::Answer::Ok;
    });
  }
  void TearDown() override {
    platform::setMessageHandler(previous_);
    delete Form4.data();
  }
  TForm4* open(const std::string& content) {
    if (!content.empty()) {
      EXPECT_TRUE(platform::writeFileAtomic(path_, content));
    }
    return openForm4(dir_.path(), KeyboardOptions{true, false}, [this] { ++reindexed_; });
  }
  std::vector<std::string> column(TForm4* w, int col) {
    std::vector<std::string> out;
    for (const auto& r : w->table().grid().rows()) out.push_back(r[col]);
    return out;
  }

  test::TempDir dir_;
  std::string path_;
  std::vector<std::string> messages_;
  platform::Answer answer_ = platform::Answer::No;
  platform::MessageHandler previous_;
  int reindexed_ = 0;
};

TEST_F(Form4Test, SavesSortedByTheNamesWithTidiedNamesThenReindexes) {
  TForm4* w = open("0804;Ema\r\n0101;nový  rok\n3112;Silvestr\r\n;Dobromila");
  EXPECT_EQ(fromQString(w->windowTitle()), "Správa seznamu svátků : [4]");
  EXPECT_EQ(w->table().grid().row(1), (Grid::Row{"0101", "nový  rok"}));  // LF alone
  EXPECT_TRUE(w->duplicatesButton()->isHidden());
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);  // on top, as the other lists

  std::vector<std::string> titles;
  QObject::connect(w, &QWidget::windowTitleChanged,
                   [&](const QString& t) { titles.push_back(fromQString(t)); });
  ASSERT_TRUE(w->saveList());
  // Sorted on the bytes as typed (lower case after upper), written tidied;
  // an empty key stays empty.
  EXPECT_EQ(*platform::readWholeFile(path_),
            ";Dobromila\r\n0804;Ema\r\n3112;Silvestr\r\n0101;Nový Rok\r\n");
  EXPECT_EQ(titles, (std::vector<std::string>{"4 Svátků, třídím : [4]", "4 Svátků, třídím : [2]",
                                              "4 Svátků, třídím : [1]",
                                              "Správa seznamu svátků : [4]"}));
  EXPECT_EQ(reindexed_, 1);
  EXPECT_TRUE(messages_.empty());  // no message on success

  // Saving locks the button until the next sort.
  QCoreApplication::processEvents();
  EXPECT_FALSE(w->saveButton()->isEnabled());
  w->Edit1()->setText("01");
  QCoreApplication::processEvents();
  EXPECT_TRUE(w->saveButton()->isEnabled());
}

TEST_F(Form4Test, SearchesByDateAndByName) {
  TForm4* w = open("0804;Ema\r\n0101;Nový Rok\r\n2805;Emil a Vilém\r\n2809;Václav\r\n");
  w->show();
  // Digit-row letters read back as digits; the grid sorted by the key; the
  // first key containing the text is selected.
  w->Edit1()->setText(toQString("á"));
  EXPECT_EQ(fromQString(w->Edit1()->text()), "8");
  EXPECT_EQ(column(w, 0), (std::vector<std::string>{"0101", "0804", "2805", "2809"}));
  EXPECT_EQ(w->selectedRow(), 1);
  EXPECT_TRUE(w->Edit2()->isHidden());
  w->Edit1()->setText("99");
  EXPECT_EQ(w->selectedRow(), 3);  // none: the last row
  w->Edit1()->clear();
  EXPECT_FALSE(w->Edit2()->isHidden());

  // By name: tidied unless the last character typed is a blank, matched
  // anywhere in the names; the current row stays.
  w->Edit2()->setText(toQString("vilém"));
  EXPECT_EQ(fromQString(w->Edit2()->text()), "Vilém");
  EXPECT_EQ(column(w, 1), (std::vector<std::string>{"Ema", "Emil a Vilém", "Nový Rok", "Václav"}));
  w->selectCell(2, 0);
  w->Edit2()->setText("vil");
  EXPECT_EQ(w->selectedRow(), 2);
  w->Edit2()->setText("emil ");
  EXPECT_EQ(fromQString(w->Edit2()->text()), "emil ");
}

TEST_F(Form4Test, DeleteTouchesOnlyTheGridAndTheClosingQuestionDecides) {
  const std::string content = "0804;Ema\r\n0101;Nový Rok\r\n2809;Václav\r\n";
  TForm4* w = open(content);
  w->selectCell(0, 1);
  w->deleteSelected();
  EXPECT_EQ(column(w, 1), (std::vector<std::string>{"Nový Rok", "Václav"}));
  EXPECT_EQ(fromQString(w->windowTitle()), "Správa seznamu svátků : [2]");
  EXPECT_EQ(*platform::readWholeFile(path_), content);

  answer_ = platform::Answer::No;
  EXPECT_TRUE(w->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(Form4);
  EXPECT_EQ(messages_, std::vector<std::string>{"Uložit seznam Svátků ?"});
  EXPECT_EQ(*platform::readWholeFile(path_), content);
  EXPECT_EQ(reindexed_, 0);

  w = open({});
  w->selectCell(2, 0);
  w->deleteSelected();
  answer_ = platform::Answer::Yes;
  EXPECT_TRUE(w->close());
  EXPECT_EQ(*platform::readWholeFile(path_), "0804;Ema\r\n0101;Nový Rok\r\n");
  EXPECT_EQ(reindexed_, 1);
}

TEST_F(Form4Test, ASixCharacterKeyIsReadBackAsDigitsOnKeyRelease) {
  TForm4* w = open("žš;Ema\r\n");
  w->table().grid().setCell(0, 0, "jo7éaa");
  w->selectCell(0, 0);
  // The key as typed into the cell's editor: pressed there, released on the
  // grid once the editor is gone.
  QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
  QApplication::sendEvent(w->view(), &release);
  EXPECT_EQ(w->table().grid().cell(0, 0), "JO70AA");
  w->table().grid().setCell(0, 0, "žš");
  QApplication::sendEvent(w->view(), &release);
  EXPECT_EQ(w->table().grid().cell(0, 0), "žš");  // only six characters
}

TEST_F(Form4Test, ReadAndWriteErrorsAreReportedAndTheIndexesStillChecked) {
  std::filesystem::create_directories(path_);  // neither readable nor writable as a file
  TForm4* w = open({});
  EXPECT_EQ(messages_, std::vector<std::string>{"Chyba I/O při čtení souboru : " + path_});
  EXPECT_EQ(w->table().rowCount(), 1);
  w->table().grid().setRow(0, {"0804", "Ema"});
  EXPECT_FALSE(w->saveList());
  EXPECT_EQ(messages_.back(), "Chyba I/O při ukládání souboru : " + path_);
  EXPECT_EQ(w->table().grid().row(0), (Grid::Row{"0804", "Ema"}));
  EXPECT_EQ(reindexed_, 1);

  // A missing file: the window opens empty and saving creates it.
  delete Form4.data();
  std::filesystem::remove(path_);
  messages_.clear();
  w = open({});
  EXPECT_EQ(messages_.size(), 1u);
  w->table().grid().setRow(0, {"0804", "ema"});
  ASSERT_TRUE(w->saveList());
  EXPECT_EQ(*platform::readWholeFile(path_), "0804;Ema\r\n");
}

}  // namespace
}  // namespace vektrano
