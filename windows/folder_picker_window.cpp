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

QTreeWidgetItem* folderItem(const std::string& name, const std::string& path, bool usable) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, toQString(name));
  if (usable) {
    item->setData(0, kPathRole, toQString(path));
    // Filled on first expansion; until then every folder may have children.
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  } else {
    item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
    item->setForeground(0, Qt::gray);
  }
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
  computer_->addChild(folderItem(root, root, true));
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
  const auto subfolders = listSubfolders(platform::fromQString(item->data(0, kPathRole).toString()));
  // An unreadable folder simply shows no subfolders; it can still be chosen.
  if (subfolders)
    for (const FolderEntry& e : *subfolders) item->addChild(folderItem(e.name, e.path, e.usable));
  item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QTreeWidgetItem* BrowseFolderDialog::itemOf(const std::string& folder) const {
  const QString wanted = toQString(folder);
  QTreeWidgetItem* item = computer_;
  for (;;) {
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < item->childCount() && !next; ++i) {
      QTreeWidgetItem* child = item->child(i);
      const QString path = child->data(0, kPathRole).toString();
      if (path.isEmpty()) continue;
      if (path == wanted) return child;
      // Only an ancestor is worth descending into.
      const QString prefix = path.endsWith('/') ? path : path + '/';
      if (wanted.startsWith(prefix)) next = child;
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
  return platform::fromQString(item->data(0, kPathRole).toString());
}

void BrowseFolderDialog::selectionChanged() {
  // "Tento počítač" is no folder: nothing to take.
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(!selectedFolder().empty());
}

}  // namespace vektrano
