#pragma once

#include <QSet>
#include <QString>
#include <optional>
#include <vector>

#include "session/host.h"
#include "store/mail_store.h"

namespace zandor {

// The two trees a run walks. The Kelvo gets the number as a message's folder
// kind: it shows the sender of an Inbox message, the recipients of a sent one.
enum class FolderTree { Inbox = 1, SentItems = 2 };
inline int FolderKindOf(FolderTree tree) {
  return static_cast<int>(tree);
}

// One folder of the trees, in the order a walk reaches it.
struct FolderNode {
  FolderRef folder;
  FolderTree tree = FolderTree::Inbox;
  int depth = 0;          // 0 for the root of its tree
  bool excluded = false;  // the user cleared its tick
  // Its subfolders could not be listed: it shows, and is walked, without them.
  std::optional<StoreFailure> subfoldersFailure;
};

// The Inbox tree, then the Sent Items tree, each in pre-order, children in
// the store's order. A folder named again below itself (a store that loops)
// is left out there.
struct FolderTrees {
  // The Inbox or Sent Items could not be found: there are no trees.
  std::optional<StoreFailure> rootsFailure;
  std::vector<FolderNode> nodes;
  // The first folder whose subfolders could not be listed, if any.
  const StoreFailure* FirstFailure() const;
};

// The one walk of the store's folders, which the tree, the count and the
// scan all follow.
FolderTrees ListFolderTrees(MailStore& store, const QSet<QString>& excluded);

// Fills the tree: every node keyed by its folder's entry id, ticked unless
// excluded, expanded. The busy pointer shows meanwhile. A folder the view
// refuses (its key names a node already shown) is left out with its branch.
void ShowFolderTrees(Host& host, const FolderTrees& trees);

}  // namespace zandor
