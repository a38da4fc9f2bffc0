#pragma once

#include "sync/sync_context.h"

namespace zandor {

// The send phase's work on one folder of the plan: records every message in
// range in the selection list, sends what is due part by part and marks it,
// and deletes (to Trash) what the Kelvo no longer holds when asked to.
void ScanFolder(SyncContext& context, const FolderNode& node);

// The walk of the plan's folders in order, bold on the path to the folder
// being scanned; a folder whose subfolders could not be listed is named
// where the walk reaches it. It ends at a break or when the store cannot be
// used any more.
void WalkPlannedFolders(SyncContext& context);

// Names each folder the store found but cannot use, once, and counts the
// selection incomplete, so that nothing is removed from the Kelvo on its
// account.
void TellFolderProblems(SyncContext& context);

}  // namespace zandor
