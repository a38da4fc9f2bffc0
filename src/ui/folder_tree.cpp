#include "ui/folder_tree.h"

#include <QHeaderView>

namespace zandor {
namespace {

// The tick the program last saw on a node, so that a change of the text or
// the font is never taken for a tick.
constexpr int kLastCheckedRole = Qt::UserRole + 1;
constexpr int kKeyRole = Qt::UserRole;

bool AncestorsExpanded(const QTreeWidgetItem* item) {
  for (const QTreeWidgetItem* p = item->parent(); p != nullptr; p = p->parent()) {
    if (!p->isExpanded()) return false;
  }
  return true;
}

}  // namespace

FolderTreeWidget::FolderTreeWidget(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("FolderTree"));
  setColumnCount(1);
  header()->hide();
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformRowHeights(true);
  connect(this, &QTreeWidget::itemChanged, this, &FolderTreeWidget::OnItemChanged);
}

void FolderTreeWidget::OnItemChanged(QTreeWidgetItem* item, int column) {
  if (programChanges_ > 0 || column != 0) return;
  const bool checked = item->checkState(0) == Qt::Checked;
  if (item->data(0, kLastCheckedRole).toBool() == checked) return;
  {
    const ProgramChange own(*this);
    item->setData(0, kLastCheckedRole, checked);
  }
  Q_EMIT NodeCheck(item->data(0, kKeyRole).toString(), checked);
}

void FolderTreeView::Clear() {
  const FolderTreeWidget::ProgramChange own(tree_);
  tree_.clear();
  tree_.nodes_.clear();
}

void FolderTreeView::SetViewEnabled(bool enabled) {
  tree_.setUpdatesEnabled(enabled);
  tree_.setEnabled(enabled);
}

QTreeWidgetItem* FolderTreeView::NewItem(const QString& key, const QString& text) {
  auto* item = new QTreeWidgetItem(QStringList{text});
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setData(0, kKeyRole, key);
  item->setData(0, kLastCheckedRole, false);
  item->setCheckState(0, Qt::Unchecked);
  item->setToolTip(0, key);
  tree_.nodes_.insert(key, item);
  return item;
}

bool FolderTreeView::AddRoot(const QString& key, const QString& text) {
  if (tree_.nodes_.contains(key)) return false;
  const FolderTreeWidget::ProgramChange own(tree_);
  tree_.addTopLevelItem(NewItem(key, text));
  return true;
}

bool FolderTreeView::AddNode(const QString& relativeKey, Relation relation, const QString& key,
                             const QString& text) {
  QTreeWidgetItem* relative = tree_.Node(relativeKey);
  if (relative == nullptr || tree_.nodes_.contains(key)) return false;
  const FolderTreeWidget::ProgramChange own(tree_);
  QTreeWidgetItem* item = NewItem(key, text);
  if (relation == Relation::Child) {
    relative->addChild(item);
  } else if (QTreeWidgetItem* parent = relative->parent()) {
    parent->insertChild(parent->indexOfChild(relative) + 1, item);
  } else {
    tree_.insertTopLevelItem(tree_.indexOfTopLevelItem(relative) + 1, item);
  }
  return true;
}

bool FolderTreeView::HasNode(const QString& key) const {
  return tree_.Node(key) != nullptr;
}

bool FolderTreeView::Get(const QString& key, Flag flag) const {
  const QTreeWidgetItem* item = tree_.Node(key);
  if (item == nullptr) return false;
  switch (flag) {
    case Flag::Checked:
      return item->checkState(0) == Qt::Checked;
    case Flag::Expanded:
      return item->isExpanded();
    case Flag::Selected:
      return item->isSelected();
    case Flag::Bold:
      return item->font(0).bold();
  }
  return false;
}

void FolderTreeView::Set(const QString& key, Flag flag, bool on) {
  QTreeWidgetItem* item = tree_.Node(key);
  if (item == nullptr) return;
  const FolderTreeWidget::ProgramChange own(tree_);
  switch (flag) {
    case Flag::Checked:
      item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
      item->setData(0, kLastCheckedRole, on);
      break;
    case Flag::Expanded:
      item->setExpanded(on);
      break;
    case Flag::Selected:
      if (on) {
        // Not through the current item: making a node current scrolls to it,
        // which would expand the nodes above it.
        tree_.clearSelection();
        item->setSelected(true);
        // Scrolling to a node inside a collapsed one would expand it.
        if (AncestorsExpanded(item)) tree_.scrollToItem(item);
      } else {
        item->setSelected(false);
      }
      break;
    case Flag::Bold: {
      QFont font = item->font(0);
      font.setBold(on);
      item->setFont(0, font);
      break;
    }
  }
}

}  // namespace zandor
