#include "sync/folder_tree.h"

namespace zandor {
namespace {

// Adds the subfolders of the node's folder below it, depth first; path holds
// the entry ids from the tree's root down to it.
void AddBelow(MailStore& store, const QSet<QString>& excluded, const FolderNode& node,
              QStringList& path, std::vector<FolderNode>& nodes) {
  nodes.push_back(node);
  StoreResult<std::vector<FolderRef>> children = store.Subfolders(node.folder);
  if (!children) {
    nodes.back().subfoldersFailure = children.failure();
    return;
  }
  for (const FolderRef& child : *children) {
    if (path.contains(child.EntryId)) continue;
    path.push_back(child.EntryId);
    AddBelow(store, excluded,
             {child, node.tree, node.depth + 1, excluded.contains(child.EntryId), std::nullopt},
             path, nodes);
    path.pop_back();
  }
}

}  // namespace

const StoreFailure* FolderTrees::FirstFailure() const {
  for (const FolderNode& node : nodes) {
    if (node.subfoldersFailure) return &*node.subfoldersFailure;
  }
  return nullptr;
}

FolderTrees ListFolderTrees(MailStore& store, const QSet<QString>& excluded) {
  FolderTrees trees;
  StoreResult<FolderRef> inbox = store.GetDefaultFolder(DefaultFolder::Inbox);
  StoreResult<FolderRef> sentItems = store.GetDefaultFolder(DefaultFolder::SentItems);
  if (!inbox || !sentItems) {
    trees.rootsFailure = inbox ? sentItems.failure() : inbox.failure();
    return trees;
  }
  for (const auto& [root, tree] :
       {std::pair(*inbox, FolderTree::Inbox), std::pair(*sentItems, FolderTree::SentItems)}) {
    QStringList path{root.EntryId};
    AddBelow(store, excluded, {root, tree, 0, excluded.contains(root.EntryId), std::nullopt}, path,
             trees.nodes);
  }
  return trees;
}

void ShowFolderTrees(Host& host, const FolderTrees& trees) {
  host.SetBusy(true);
  host.Yield();
  FolderView& view = host.Folders();
  view.Clear();
  view.SetViewEnabled(false);
  host.Yield();
  // The node last added at each depth: a child goes below the one above it,
  // a sibling after the one before it. Depth past the end: a refused branch.
  std::vector<QString> lastAt;
  int refusedBelow = -1;
  for (const FolderNode& node : trees.nodes) {
    const auto depth = static_cast<std::size_t>(node.depth);
    if (refusedBelow >= 0 && node.depth > refusedBelow) continue;
    refusedBelow = -1;
    bool added = false;
    if (node.depth == 0) {
      added = view.AddRoot(node.folder.EntryId, node.folder.Name);
    } else if (lastAt.size() > depth) {
      added = view.AddNode(lastAt[depth], FolderView::Relation::Next, node.folder.EntryId,
                           node.folder.Name);
    } else {
      added = view.AddNode(lastAt[depth - 1], FolderView::Relation::Child, node.folder.EntryId,
                           node.folder.Name);
    }
    if (!added) {
      refusedBelow = node.depth;
      continue;
    }
    lastAt.resize(depth);
    lastAt.push_back(node.folder.EntryId);
    view.Set(node.folder.EntryId, FolderView::Flag::Checked, !node.excluded);
    view.Set(node.folder.EntryId, FolderView::Flag::Expanded, true);
  }
  view.SetViewEnabled(true);
  host.SetBusy(false);
}

}  // namespace zandor
