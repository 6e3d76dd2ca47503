#pragma once
// The folder picker of the folder commands: a modal folder tree under
// "Tento počítač" (which stands for no folder), opened at the folder in use.
//
//   TKRULBrowseDirectory picker(this);
//   picker.InitialFolder = current;
//   if (picker.Execute()) current = picker.ChosenFolder;
#include <QDialog>
#include <string>

class QDialogButtonBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace vektrano {

// The folder picker: a modal tree of folders, one level read at a time.
class TKRULBrowseDirectory {
 public:
  // `Create`: both texts empty.
  explicit TKRULBrowseDirectory(QWidget* parent) : parent_(parent) {}

  // True when a folder was chosen; it is then in ChosenFolder. Cancelling,
  // or choosing "Tento počítač", gives false and leaves ChosenFolder as it
  // was.
  bool Execute();

  std::string ChosenFolder;
  // Pre-selected when it exists as a folder.
  std::string InitialFolder;

 private:
  QWidget* parent_;
};

// The dialog itself; Execute shows it modally, tests drive it directly.
class BrowseFolderDialog : public QDialog {
  Q_OBJECT
 public:
  BrowseFolderDialog(const std::string& initialFolder, QWidget* parent = nullptr);

  QTreeWidget* tree() const { return tree_; }
  QDialogButtonBox* buttons() const { return buttons_; }
  // The folder of the selected item; empty for "Tento počítač", for a folder
  // the program's text cannot name, and when nothing is selected.
  std::string selectedFolder() const;
  // Expands the tree down to folder and selects it; false (and the selection
  // left alone) when it is no existing folder.
  bool selectFolder(const std::string& folder);
  // The item of a folder already in the tree, or nullptr.
  QTreeWidgetItem* itemOf(const std::string& folder) const;

 private:
  void fill(QTreeWidgetItem* item);
  void selectionChanged();

  QTreeWidget* tree_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  QTreeWidgetItem* computer_ = nullptr;
};

}  // namespace vektrano
