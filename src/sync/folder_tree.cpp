#include "sync/folder_tree.h"

namespace zandor {
namespace {

void AddNodeState(FolderView& view, const SettingsStore& settings, const FolderRef& folder) {
  view.Set(folder.EntryId, FolderView::Flag::Checked, !IsFolderExcluded(settings, folder.EntryId));
  view.Set(folder.EntryId, FolderView::Flag::Expanded, true);
}

// Keeps the first failure of a walk that goes on after it.
void KeepFirst(StoreStatus& kept, const StoreStatus& next) {
  if (kept.ok() && !next.ok()) kept = next;
}

}  // namespace

bool IsFolderExcluded(const SettingsStore& settings, const QString& entryId) {
  return settings.Read(kFoldersSection, entryId) == QStringLiteral("1");
}

StoreStatus AddChildFolders(FolderView& view, MailStore& store, const SettingsStore& settings,
                            const FolderRef& folder) {
  StoreResult<std::vector<FolderRef>> children = store.Subfolders(folder);
  if (!children) return children.failure();
  StoreStatus status = Done{};
  QString previous;
  for (const FolderRef& child : *children) {
    const bool added =
        previous.isEmpty()
            ? view.AddNode(folder.EntryId, FolderView::Relation::Child, child.EntryId, child.Name)
            : view.AddNode(previous, FolderView::Relation::Next, child.EntryId, child.Name);
    // A key the tree refuses (it names a node already shown) leaves that
    // folder's branch out of the tree; the walk still reaches it.
    if (!added) continue;
    previous = child.EntryId;
    AddNodeState(view, settings, child);
    KeepFirst(status, AddChildFolders(view, store, settings, child));
  }
  return status;
}

StoreStatus FillFolderTree(Host& host, MailStore& store, const SettingsStore& settings,
                           const FolderRef& inbox, const FolderRef& sentItems) {
  host.SetBusy(true);
  host.Yield();
  FolderView& view = host.Folders();
  view.Clear();
  view.SetViewEnabled(false);
  host.Yield();
  StoreStatus status = Done{};
  for (const FolderRef* root : {&inbox, &sentItems}) {
    if (!view.AddRoot(root->EntryId, root->Name)) continue;
    AddNodeState(view, settings, *root);
    KeepFirst(status, AddChildFolders(view, store, settings, *root));
  }
  view.SetViewEnabled(true);
  host.SetBusy(false);
  return status;
}

}  // namespace zandor
