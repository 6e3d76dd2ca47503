// The rule behind the main window's commands that hide, disable or rebuild
// controls, on a small window: an entry line followed in the focus chain by a
// note, as in the main window. While a command runs, keys typed go neither
// into the note nor anywhere else; when it ends the line has the focus back
// with its caret and selection, unless the operator chose another control
// meanwhile.
#include "app/focus_keeper.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>
#include <functional>

namespace vektrano {
namespace {

class FocusKeeperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window_);
    line_ = new QLineEdit(&window_);
    note_ = new QPlainTextEdit(&window_);
    sink_ = new QWidget(&window_);
    layout->addWidget(line_);
    layout->addWidget(note_);
    layout->addWidget(sink_);
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    line_->setFocus();
    QTest::keyClicks(line_, QStringLiteral("59 57 ok1abc"));
  }
  static QWidget* focus() { return QApplication::focusWidget(); }

  QWidget window_;
  QLineEdit* line_ = nullptr;
  QPlainTextEdit* note_ = nullptr;
  QWidget* sink_ = nullptr;
};

TEST_F(FocusKeeperTest, KeysTypedDuringTheCommandGoNowhereAndTheLineComesBack) {
  const struct {
    const char* what;
    std::function<void(QLineEdit*)> during, after;
  } commands[] = {
      {"hidden", [](QLineEdit* l) { l->hide(); }, [](QLineEdit* l) { l->show(); }},
      {"disabled", [](QLineEdit* l) { l->setEnabled(false); }, [](QLineEdit* l) { l->setEnabled(true); }},
  };
  for (const auto& c : commands) {
    FocusKeeper keeper(&window_, sink_, line_);
    line_->setSelection(6, -3);  // "57 " chosen from its end, the caret before it
    {
      FocusKeeper::Scope outer(keeper);
      c.during(line_);
      {
        FocusKeeper::Scope nested(keeper);  // an inner command gives nothing back yet
      }
      ASSERT_NE(focus(), nullptr) << c.what;
      EXPECT_NE(focus(), line_) << c.what << ": back before the outer command ended";
      QTest::keyClicks(focus(), QStringLiteral("xy"));
      c.after(line_);
    }
    EXPECT_EQ(focus(), line_) << c.what;
    EXPECT_EQ(line_->text(), QStringLiteral("59 57 ok1abc")) << c.what;
    EXPECT_TRUE(note_->toPlainText().isEmpty()) << c.what;
    EXPECT_EQ(line_->cursorPosition(), 3) << c.what;
    EXPECT_EQ(line_->selectedText(), QStringLiteral("57 ")) << c.what;
  }
}

// A control the operator clicks while the command runs keeps the focus.
TEST_F(FocusKeeperTest, AControlChosenMeanwhileKeepsTheFocus) {
  FocusKeeper keeper(&window_, sink_, line_);
  {
    FocusKeeper::Scope scope(keeper);
    line_->hide();
    ASSERT_EQ(focus(), sink_);
    QTest::mouseClick(note_->viewport(), Qt::LeftButton);
    line_->show();
  }
  EXPECT_EQ(focus(), note_);
}

// Another window in front: the line is named for the next activation, the
// other window keeps its focus.
TEST_F(FocusKeeperTest, AnotherWindowInFrontKeepsItsFocus) {
  FocusKeeper keeper(&window_, sink_, line_);
  QLineEdit other;
  {
    FocusKeeper::Scope scope(keeper);
    line_->setEnabled(false);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    other.setFocus();
    line_->setEnabled(true);
  }
  EXPECT_EQ(focus(), &other);
  EXPECT_EQ(window_.focusWidget(), line_);
}

}  // namespace
}  // namespace vektrano
