// Editing the log from the main window: a row picked by the mouse, a command
// run from its menu item, the log written; the grid's editing mode.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTableView>
#include <filesystem>
#include <string>
#include <vector>

#include "app/log_grid_delegate.h"
#include "app/main_window.h"
#include "core/log/log.h"
#include "core/log/log_file.h"
#include "core/session/colour_schemes.h"
#include "core/session/startup.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "tests/support/program_folder_test.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;

class Form1EditTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    provideRequired();
  }

  // A log of three contacts, saved under the data folder.
  void fill(TForm1& form) {
    form.log().SaveFileName = logPath();
    form.log().Denik.appendRow({"1", "10:00:00", "59", "OK1ABC", "59", "JO60LJ", "120", ""});
    form.log().Denik.appendRow({"2", "10:05:00", "57", "OK2XY", "58", "JO70PO", "80", ""});
    form.log().Denik.appendRow({"3", "10:09:00", "59", "OK3ZZ", "59", "JN79US", "150", ""});
    form.log().PocetSpojeni = 3;
    form.refreshDenik();
  }
  std::string logPath() const { return home_.path() + "/UlozisteDat/expedice.qvl"; }

  static void press(TForm1& form, int gridRow, int col, Qt::KeyboardModifiers mods = {}) {
    QWidget* vp = form.Denik->viewport();
    const QPoint at = form.Denik->visualRect(form.Denik->model()->index(gridRow - 1, col)).center();
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(at), vp->mapToGlobal(QPointF(at)),
                  Qt::LeftButton, Qt::LeftButton, mods);
    QApplication::sendEvent(vp, &e);
  }

  static std::vector<std::string> column(const LogDocument& log, int col) {
    std::vector<std::string> out;
    for (int r = 1; r < log.Denik.rowCount(); ++r) out.push_back(log.Denik.cell(r, col));
    return out;
  }
};

TEST_F(Form1EditTest, PopupCommandDeletesTheClickedRowAndWritesTheLog) {
  TForm1 form;
  fill(form);
  press(form, 2, kColVolacka);
  EXPECT_EQ(form.selectedRow(), 2);
  EXPECT_EQ(platform::fromQString(form.windowTitle()), "[ 2 > OK2XY - JO70PO : 80 km ] ()");

  QAction* odstranit = form.menuItem("Odstranittentodekzdenku1");
  ASSERT_NE(odstranit, nullptr);
  ASSERT_TRUE(odstranit->isEnabled());
  odstranit->trigger();

  EXPECT_EQ(column(form.log(), kColCislo), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(column(form.log(), kColVolacka), (std::vector<std::string>{"Ok1abc", "Ok3zz"}));
  EXPECT_EQ(platform::fromQString(form.cisspoj->text()), "3");
  LogDocument read;
  read.SaveFileName = logPath();
  ASSERT_TRUE(nactidata(read, TabulkaSynonym()).ok);
  EXPECT_EQ(column(read, kColLokator), (std::vector<std::string>{"JO60LJ", "JN79US"}));
  EXPECT_EQ(platform::readWholeFile(form.log().ZalohaFileName), platform::readWholeFile(logPath()));

  // Sorted by call sign the row commands wait; sorted by number they return.
  form.menuItem("Setditpodlevolaek1")->trigger();
  EXPECT_FALSE(odstranit->isEnabled());
  form.menuItem("Setditpodlepoadovhosla1")->trigger();
  EXPECT_TRUE(odstranit->isEnabled());

  // Widening the call-sign column on the title row narrows the notes.
  QTableView& g = *form.Denik;
  const int volacka = g.columnWidth(kColVolacka), poznamka = g.columnWidth(kColPozn);
  g.setColumnWidth(kColVolacka, volacka + 30);
  QMouseEvent up(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                 Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(g.horizontalHeader()->viewport(), &up);
  EXPECT_EQ(g.columnWidth(kColPozn), poznamka - 30);
  EXPECT_EQ(g.columnWidth(kColVolacka), volacka + 30);
}

TEST_F(Form1EditTest, EditingModeEditsCellsAndLeavingItRecalculatesAndWrites) {
  TForm1 form;
  fill(form);
  form.menuItem("Setditpodlevolaek1")->trigger();
  auto* delegate = dynamic_cast<DenikDelegate*>(form.Denik->itemDelegate());
  ASSERT_NE(delegate, nullptr);
  const BarvyMrizky normal = delegate->barvyMrizky();

  form.DenikDblClick();
  EXPECT_TRUE(form.editingDenik());
  EXPECT_FALSE(form.menuItem("Upravydenku1")->isEnabled());
  EXPECT_EQ(delegate->barvyMrizky(), kBarvyEditaceDeniku);
  QAbstractItemModel* m = form.Denik->model();
  const int row = 0;  // OK1ABC stays first by call sign
  ASSERT_TRUE(m->flags(m->index(row, kColLokator)) & Qt::ItemIsEditable);
  ASSERT_TRUE(m->setData(m->index(row, kColLokator), QString("JO 70 GQ"), Qt::EditRole));

  form.DenikExit();
  EXPECT_FALSE(form.editingDenik());
  EXPECT_TRUE(form.menuItem("Upravydenku1")->isEnabled());
  EXPECT_EQ(delegate->barvyMrizky(), normal);
  EXPECT_FALSE(m->flags(m->index(row, kColLokator)) & Qt::ItemIsEditable);
  EXPECT_EQ(form.log().SetridenoPodle, kColCislo);
  EXPECT_EQ(form.log().Denik.cell(1, kColLokator), "JO70GQ");
  EXPECT_EQ(form.log().Denik.cell(1, kColKm), "0");
  LogDocument read;
  read.SaveFileName = logPath();
  ASSERT_TRUE(nactidata(read, TabulkaSynonym()).ok);
  EXPECT_EQ(read.Denik.cell(1, kColLokator), "JO70GQ");

  // Ctrl+click on a call sign marks it and enters the editing mode; again
  // removes the mark and leaves it.
  press(form, 2, kColVolacka, Qt::ControlModifier);
  EXPECT_TRUE(form.editingDenik());
  EXPECT_NE(form.log().Denik.cell(2, kColVolacka).find(".#_"), std::string::npos);
  press(form, 2, kColVolacka, Qt::ControlModifier);
  EXPECT_FALSE(form.editingDenik());
  EXPECT_EQ(form.log().Denik.cell(2, kColVolacka).find(".#"), std::string::npos);
}

}  // namespace
}  // namespace vektrano
