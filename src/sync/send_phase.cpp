#include <QCoreApplication>

#include "link/protocol.h"
#include "sync/folder_scan.h"
#include "sync/folder_tree.h"
#include "sync/phases.h"
#include "sync/replies.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(SendPhase)
};

}  // namespace

void RunSendPhase(SyncContext& context) {
  SyncSession& session = context.session;
  Host& host = context.host;

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

  const FolderTrees& trees = context.plan.trees;
  if (!trees.rootsFailure) {
    // Rebuilt so that every folder the walk meets has a node.
    ShowFolderTrees(host, trees);
    TellFolderProblems(context);
    WalkPlannedFolders(context);
  } else {
    const QString& reason = trees.rootsFailure->reason;
    host.ShowMessage(
        Text::tr("The mail folder could not be read, so no mail was sent: %1").arg(reason));
    session.MarkSelectionIncomplete(Text::tr("the mail folder could not be read"));
  }
  if (session.BreakRequested) {
    session.MarkSelectionIncomplete(Text::tr("the synchronisation was interrupted"));
  }

  host.SetStatus(1, QString());
  host.SetStatus(2, QString());
  host.Yield();
  if (session.BreakRequested) return;
  context.link.Write(protocol::CmdEnd);
  ExpectAckEvenAfterBreak(context, 6);
}

}  // namespace zandor
