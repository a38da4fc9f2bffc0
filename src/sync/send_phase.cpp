#include "link/protocol.h"
#include "sync/folder_scan.h"
#include "sync/folder_tree.h"
#include "sync/phases.h"
#include "sync/replies.h"

namespace zandor {

void RunSendPhase(SyncContext& context) {
  SyncSession& session = context.session;
  Host& host = context.host;

  StoreResult<FolderRef> inbox = context.store.GetDefaultFolder(DefaultFolder::Inbox);
  StoreResult<FolderRef> sentItems = context.store.GetDefaultFolder(DefaultFolder::SentItems);

  session.SentCount = 0;
  session.TruncatedCount = 0;
  session.SkippedCount = 0;
  session.SplitCount = 0;
  session.RemovedFromMailCount = 0;
  session.RemovedFromDeviceCount = 0;
  session.SelectionList.clear();
  session.SelectionListComplete = true;
  session.SelectionIncompleteReason.clear();
  session.StoreRemovalSkipped = false;
  session.StoreUnusable = false;

  if (inbox && sentItems) {
    // Rebuilt so that every folder the walk meets has a node.
    FillFolderTree(host, context.store, context.settings, *inbox, *sentItems);
    TellFolderProblems(context);
    WalkFolder(context, *inbox, kInboxTree);
    WalkFolder(context, *sentItems, kSentItemsTree);
  } else {
    const QString reason = inbox ? sentItems.reason() : inbox.reason();
    host.ShowMessage(
        QStringLiteral("The mail folder could not be read, so no mail was sent: %1").arg(reason));
    session.MarkSelectionIncomplete(QStringLiteral("the mail folder could not be read"));
  }
  if (session.BreakRequested) {
    session.MarkSelectionIncomplete(QStringLiteral("the synchronisation was interrupted"));
  }

  host.SetStatus(1, QString());
  host.SetStatus(2, QString());
  host.Yield();
  if (session.BreakRequested) return;
  context.link.Write(protocol::CmdEnd);
  ExpectAckEvenAfterBreak(context, 6);
}

}  // namespace zandor
