#pragma once

#include <QString>

#include "session/host.h"
#include "settings/settings_store.h"
#include "store/mail_store.h"

namespace zandor {

// The settings section that names the folders left out of synchronisation.
inline const QString kFoldersSection = QStringLiteral("Folders");

// A folder is left out only when its own key holds exactly "1"; a folder the
// store does not name takes part.
bool IsFolderExcluded(const SettingsStore& settings, const QString& entryId);

// Fills the tree with the Inbox tree, then the Sent Items tree: every node
// keyed by its folder's entry id, ticked unless excluded, expanded, children in
// the store's order. The busy pointer shows meanwhile. A folder whose
// subfolders cannot be read shows without them; the failure is returned (the
// first one) so that the caller can tell the user.
StoreStatus FillFolderTree(Host& host, MailStore& store, const SettingsStore& settings,
                           const FolderRef& inbox, const FolderRef& sentItems);

// Adds the subfolders of folder below its node, depth first.
StoreStatus AddChildFolders(FolderView& view, MailStore& store, const SettingsStore& settings,
                            const FolderRef& folder);

}  // namespace zandor
