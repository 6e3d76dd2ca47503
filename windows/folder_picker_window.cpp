#include "windows/folder_picker_window.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/tools/folder_tree.h"
#include "platform/cp1250.h"

namespace vektrano {

using platform::toQString;

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

// The path's own bytes, whatever they are: a name that is no UTF-8 would
// not survive a QString.
QByteArray pathData(const std::string& path) {
  return QByteArray(path.data(), static_cast<qsizetype>(path.size()));
}
std::string pathOf(const QTreeWidgetItem* item) {
  return item->data(0, kPathRole).toByteArray().toStdString();
}

QTreeWidgetItem* folderItem(const std::string& name, const std::string& path) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, platform::pathToQString(name));
  item->setData(0, kPathRole, pathData(path));
  // Filled on first expansion; until then every folder may have children.
  item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  return item;
}

}  // namespace

bool TKRULBrowseDirectory::Execute() {
  BrowseFolderDialog dialog(InitialFolder, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  const std::string chosen = dialog.selectedFolder();
  if (chosen.empty()) return false;
  ChosenFolder = chosen;
  return true;
}

BrowseFolderDialog::BrowseFolderDialog(const std::string& initialFolder, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(toQString("Vyhledat složku"));
  tree_ = new QTreeWidget(this);
  tree_->setHeaderHidden(true);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons_->button(QDialogButtonBox::Ok)->setText(toQString("OK"));
  buttons_->button(QDialogButtonBox::Cancel)->setText(toQString("Storno"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tree_);
  layout->addWidget(buttons_);
  resize(320, 400);

  computer_ = new QTreeWidgetItem(tree_);
  computer_->setText(0, toQString("Tento počítač"));
  computer_->setData(0, kFilledRole, true);
  const std::string root = folderTreeRoot();
  computer_->addChild(folderItem(root, root));
  computer_->setExpanded(true);

  connect(tree_, &QTreeWidget::itemExpanded, this, &BrowseFolderDialog::fill);
  connect(tree_, &QTreeWidget::itemSelectionChanged, this, &BrowseFolderDialog::selectionChanged);
  connect(tree_, &QTreeWidget::currentItemChanged, this, &BrowseFolderDialog::selectionChanged);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

  if (!selectFolder(initialFolder)) tree_->setCurrentItem(computer_);
  selectionChanged();
}

void BrowseFolderDialog::fill(QTreeWidgetItem* item) {
  if (item->data(0, kFilledRole).toBool()) return;
  item->setData(0, kFilledRole, true);
  const auto subfolders = listSubfolders(pathOf(item));
  // An unreadable folder simply shows no subfolders; it can still be chosen.
  if (subfolders)
    for (const FolderEntry& e : *subfolders) item->addChild(folderItem(e.name, e.path));
  item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QTreeWidgetItem* BrowseFolderDialog::itemOf(const std::string& folder) const {
  QTreeWidgetItem* item = computer_;
  for (;;) {
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < item->childCount() && !next; ++i) {
      QTreeWidgetItem* child = item->child(i);
      const std::string path = pathOf(child);
      if (path.empty()) continue;
      if (path == folder) return child;
      // Only an ancestor is worth descending into.
      const std::string prefix = path.back() == '/' ? path : path + '/';
      if (folder.compare(0, prefix.size(), prefix) == 0) next = child;
    }
    if (!next) return nullptr;
    item = next;
  }
}

bool BrowseFolderDialog::selectFolder(const std::string& folder) {
  const std::vector<std::string> chain = folderChain(folder);
  if (chain.empty()) return false;
  QTreeWidgetItem* item = nullptr;
  for (const std::string& step : chain) {
    if (item) item->setExpanded(true);  // fills it
    item = itemOf(step);
    if (!item) return false;
  }
  tree_->setCurrentItem(item);
  tree_->scrollToItem(item);
  return true;
}

std::string BrowseFolderDialog::selectedFolder() const {
  const QTreeWidgetItem* item = tree_->currentItem();
  if (!item || !item->isSelected()) return {};
  return pathOf(item);
}

void BrowseFolderDialog::selectionChanged() {
  // "Tento počítač" is no folder: nothing to take.
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(!selectedFolder().empty());
}

}  // namespace vektrano
