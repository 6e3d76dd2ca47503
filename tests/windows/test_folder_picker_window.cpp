// The folder picker on a temporary tree: pre-selection, choosing, cancelling,
// "Tento počítač" and folders that cannot be read or named.
#include "windows/folder_picker_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <functional>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;

// Runs act on the picker once its modal dialog is up.
void whenShown(std::function<void(BrowseFolderDialog*)> act) {
  QTimer::singleShot(0, [act] {
    auto* d = qobject_cast<BrowseFolderDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(d);
    act(d);
  });
}

bool okEnabled(const BrowseFolderDialog& d) {
  return d.buttons()->button(QDialogButtonBox::Ok)->isEnabled();
}

class BrowseDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* d : {"Mapy/JO70", "Úložiště", "prazdna"})
      fs::create_directories(platform::fsPath(dir_.file(d)));
  }
  test::TempDir dir_;
};

TEST_F(BrowseDirectory, OpensAtTheFolderInUseAndReturnsTheChosenOne) {
  TKRULBrowseDirectory picker(nullptr);
  EXPECT_EQ(picker.ChosenFolder, "");
  EXPECT_EQ(picker.InitialFolder, "");

  // Stored with Windows separators, as older settings have it.
  picker.InitialFolder = dir_.path() + "\\Mapy\\JO70";
  whenShown([&](BrowseFolderDialog* d) {
    EXPECT_EQ(d->selectedFolder(), dir_.file("Mapy/JO70"));
    EXPECT_TRUE(okEnabled(*d));
    // The way down is open, the sibling folders are there to choose.
    QTreeWidgetItem* item = d->itemOf(dir_.file("Úložiště"));
    ASSERT_TRUE(item);
    EXPECT_TRUE(d->itemOf(dir_.file("Mapy"))->isExpanded());
    d->tree()->setCurrentItem(item);
    d->buttons()->button(QDialogButtonBox::Ok)->click();
  });
  ASSERT_TRUE(picker.Execute());
  EXPECT_EQ(picker.ChosenFolder, dir_.file("Úložiště"));
  EXPECT_TRUE(platform::dirExists(picker.ChosenFolder));
}

TEST_F(BrowseDirectory, CancelAndTheComputerItselfKeepTheOldFolder) {
  TKRULBrowseDirectory picker(nullptr);
  picker.ChosenFolder = "/stara";
  picker.InitialFolder = dir_.file("Mapy");
  whenShown([](BrowseFolderDialog* d) { d->reject(); });
  EXPECT_FALSE(picker.Execute());
  EXPECT_EQ(picker.ChosenFolder, "/stara");

  // A folder that no longer exists: nothing chosen, only the computer.
  picker.InitialFolder = dir_.file("smazana");
  whenShown([](BrowseFolderDialog* d) {
    EXPECT_EQ(d->selectedFolder(), "");
    EXPECT_EQ(platform::fromQString(d->tree()->currentItem()->text(0)), "Tento počítač");
    EXPECT_FALSE(okEnabled(*d));
    d->accept();  // as if OK could be pressed all the same
  });
  EXPECT_FALSE(picker.Execute());
  EXPECT_EQ(picker.ChosenFolder, "/stara");
}

TEST_F(BrowseDirectory, FoldersThatCannotBeReadOrNamed) {
  BrowseFolderDialog d(dir_.file("prazdna"));
  // A folder gone since it was listed expands to nothing and breaks nothing.
  fs::remove(platform::fsPath(dir_.file("prazdna")));
  QTreeWidgetItem* gone = d.itemOf(dir_.file("prazdna"));
  ASSERT_TRUE(gone);
  gone->setExpanded(true);
  EXPECT_EQ(gone->childCount(), 0);
  EXPECT_EQ(gone->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);

  // One without read permission can still be chosen; it just shows no
  // subfolders (the superuser reads it all the same).
  fs::permissions(platform::fsPath(dir_.file("Mapy")), fs::perms::none);
  BrowseFolderDialog locked(dir_.file("Mapy"));
  EXPECT_EQ(locked.selectedFolder(), dir_.file("Mapy"));
  QTreeWidgetItem* mapy = locked.itemOf(dir_.file("Mapy"));
  ASSERT_TRUE(mapy);
  mapy->setExpanded(true);
  if (geteuid() != 0) {
    EXPECT_EQ(mapy->childCount(), 0);
  }
  EXPECT_TRUE(okEnabled(locked));
  fs::permissions(platform::fsPath(dir_.file("Mapy")), fs::perms::owner_all);

  // A name cp1250 cannot hold is shown as it is and chosen by its own
  // bytes, as is one that is no UTF-8 at all.
  for (const std::string& name : {std::string("\xE4\xB8\xAD"), std::string("\xDAlo\x9Ei\x9At\xEC")}) {
    fs::create_directory(fs::path(dir_.path()) / name);
    BrowseFolderDialog named(dir_.path());
    QTreeWidgetItem* top = named.itemOf(dir_.path());
    ASSERT_TRUE(top);
    top->setExpanded(true);
    QTreeWidgetItem* foreign = named.itemOf(dir_.file(name));
    ASSERT_TRUE(foreign);
    EXPECT_EQ(foreign->text(0), platform::pathToQString(name));
    named.tree()->setCurrentItem(foreign);
    EXPECT_EQ(named.selectedFolder(), dir_.file(name));
    EXPECT_TRUE(okEnabled(named));
  }
}

}  // namespace
}  // namespace vektrano
