#include "sync/folder_scan.h"

#include <QCoreApplication>
#include <algorithm>
#include <functional>
#include <future>

#include "session/worker_thread.h"
#include "sync/due_mail.h"
#include "sync/phases.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(FolderScan)
};

// A failure after which nothing more can come from the store in this run.
bool OfTheWholeStore(const StoreFailure& failure) {
  return failure.kind == FailureKind::Store || failure.kind == FailureKind::Gone ||
         failure.kind == FailureKind::Refused;
}

// A folder whose messages or subfolders cannot be read: the user is told
// which and why, and the selection is incomplete, so nothing is removed from
// the Kelvo on its strength. A store that cannot be used at all (its marks
// unreadable, gone) is told once and ends the walk: every folder after it
// would fail alike.
void StoreFailed(SyncContext& context, const QString& what, const StoreFailure& failure) {
  SyncSession& session = context.session;
  if (OfTheWholeStore(failure)) {
    context.host.ShowMessage(Text::tr("The mail store cannot be used, so nothing more was sent: %1")
                                 .arg(failure.reason));
    session.MarkSelectionIncomplete(
        Text::tr("the mail store could not be used (%1)").arg(failure.reason));
    session.StoreUnusable = true;
    return;
  }
  context.host.ShowMessage(Text::tr("%1 could not be read, so it was not synchronised: %2")
                               .arg(what.left(1).toUpper() + what.mid(1), failure.reason));
  session.MarkSelectionIncomplete(Text::tr("%1 could not be read (%2)").arg(what, failure.reason));
}

QString FolderWhat(const FolderRef& folder) {
  return Text::tr("the folder %1").arg(folder.Name);
}

bool DeviceHolds(const SyncSession& session, const QString& entryId) {
  return std::any_of(session.DeviceList.begin(), session.DeviceList.end(),
                     [&entryId](const MessageListEntry& e) { return e.EntryId == entryId; });
}

// Why a message was skipped, in words: the reason it could not be read, else
// what kept it from a record.
QString SkipNote(OutgoingRecords::Skip why, const QString& entryId, const QString& unreadable,
                 const QString& parts) {
  switch (why) {
    case OutgoingRecords::Skip::NoRoom:
      return Text::tr(
                 "the message %1 cannot go to the Kelvo: its subject, sender, recipients and "
                 "folder alone fill a record")
          .arg(entryId);
    case OutgoingRecords::Skip::NoParts:
      return Text::tr(
                 "the message %1 is too long for one record, and the parts limit (\"%2\") allows "
                 "no part")
          .arg(entryId, parts);
    case OutgoingRecords::Skip::None:
    case OutgoingRecords::Skip::Lacking:
      break;
  }
  return unreadable.isEmpty() ? Text::tr("the message %1 lacks what a record needs").arg(entryId)
                              : unreadable;
}

// A message read and cut into records, with the options it was cut by.
struct PreparedMessage {
  RecordOptions options;
  OutgoingRecords records;
  std::optional<StoreFailure> unreadable;  // why a text could not be read
};

// Reads and cuts one message; touches nothing but the item, so that it may
// run on another thread.
PreparedMessage PrepareMessage(const MailItem& item, const QString& folderName, int folderKind,
                               const RecordOptions& options, unsigned char separator,
                               const ConversionTables& tables, const QLocale& locale) {
  PreparedMessage prepared{options, {}, std::nullopt};
  const OutgoingMessage message = ReadOutgoingMessage(item, &prepared.unreadable);
  prepared.records =
      BuildOutgoingRecords(message, folderName, folderKind, options, separator, tables, locale);
  return prepared;
}

// The message after the one on the line, read and cut on the worker
// meanwhile, so that it is ready when the Kelvo acknowledges the last part.
// Whether it is due is asked only when its turn comes: the sends before it
// may change the answer.
struct NextMessage {
  std::unique_ptr<MailItem> item;
  std::future<PreparedMessage> prepared;
};

NextMessage PrepareAside(SyncContext& context, WorkerThread& worker, std::unique_ptr<MailItem> item,
                         const FolderRef& folder, FolderTree tree) {
  NextMessage next{std::move(item), {}};
  if (!next.item || !next.item->ReadableAside()) return next;
  next.prepared = worker.Run([&item = *next.item, name = folder.Name, kind = FolderKindOf(tree),
                              options = RecordOptionsOf(context.options()),
                              separator = context.session.FieldSeparator, &tables = context.tables,
                              locale = context.locale] {
    return PrepareMessage(item, name, kind, options, separator, tables, locale);
  });
  return next;
}

// Sends the parts of one message the Kelvo lacks and marks it after each
// acknowledged part, with the count of parts acknowledged; scanning is status
// line 1 as the scan shows it. Returns false when the scan of the folder must
// end (a failed exchange or a break).
bool SendMessage(SyncContext& context, MailItem& item, const FolderRef& folder, FolderTree tree,
                 const QString& scanning, std::optional<SentParts> held,
                 std::optional<PreparedMessage> prepared,
                 const std::function<void()>& whileOnLine) {
  SyncSession& session = context.session;
  Host& host = context.host;

  // Until a part is acknowledged and saved, the stored mark stays as it was.
  if (!held) item.SetKelvoSent(NeverSentDate());
  QString truncationSuffix;
  // Cut afresh when the options changed since it was read ahead. A text not
  // read ahead comes from the server: aside from the window.
  const RecordOptions options = RecordOptionsOf(context.options());
  if (!prepared || prepared->options != options) {
    context.host.RunAside([&] {
      prepared = PrepareMessage(item, folder.Name, FolderKindOf(tree), options,
                                session.FieldSeparator, context.tables, context.locale);
    });
  }
  const OutgoingRecords& records = prepared->records;
  const std::optional<StoreFailure>& unreadable = prepared->unreadable;
  // A store gone in mid-run (a server that cannot be reached again) ends the
  // run here: the message waits for the next one rather than being skipped.
  if (unreadable && OfTheWholeStore(*unreadable)) {
    StoreFailed(context, FolderWhat(folder), *unreadable);
    return false;
  }
  const QString entryId = item.EntryId();
  if (records.truncated) ++session.TruncatedCount;
  if (records.split) ++session.SplitCount;
  if (records.skipped) {
    ++session.SkippedCount;
    host.Report({RunItem::Kind::Skipped, folder.Name,
                 ValueOf(item.Text(ItemText::Subject)).value_or(entryId), 0, 0,
                 SkipNote(records.why, entryId, unreadable ? unreadable->reason : QString(),
                          context.options().parts)});
  }

  const auto partCount = records.parts.size();
  const size_t first = FirstPartToSend(held, partCount);
  if (!records.skipped) ++session.DueIndex;
  int sentNow = 0;
  const auto report = [&] {
    if (sentNow == 0) return;
    RunItem sent{RunItem::Kind::Sent,
                 folder.Name,
                 ValueOf(item.Text(ItemText::Subject)).value_or(entryId),
                 sentNow,
                 static_cast<int>(partCount),
                 {}};
    if (records.wholeLength > 0) {
      sent.cutTo = records.keptLength;
      sent.cutFrom = records.wholeLength;
    }
    host.Report(sent);
  };
  for (size_t j = first; j < partCount; ++j) {
    if (records.truncated) truncationSuffix = Text::tr(" (truncated)");
    const QByteArray& part = records.parts[j];
    if (part.isEmpty()) continue;
    host.SetStatus(2, QString());
    if (j == first) {
      host.SetStatus(1, scanning + Text::tr(" - Sending: %1").arg(session.SentCount + 1));
    }
    if (partCount > 1) host.SetStatus(3, Text::tr("(part %1)").arg(j + 1));
    host.ShowProgress({Progress::Stage::Sending, folder.Name, static_cast<int>(j + 1),
                       static_cast<int>(partCount), session.DueIndex, session.DueCount,
                       SecondsOnTheLine(session.DueBytesLeft)});
    host.Yield();
    const ExchangeScope exchange(session);
    const SendOutcome outcome =
        SendPart(context, FolderKindOf(tree), entryId, part, truncationSuffix,
                 j == first ? whileOnLine : std::function<void()>());
    bool unsaved = TellUnsavedMark(context);
    switch (outcome) {
      case SendOutcome::Done:
        break;
      case SendOutcome::Failed:
        report();
        session.MarkSelectionIncomplete(Text::tr("a message could not be sent"));
        return false;
      case SendOutcome::Broken:
        report();
        session.MarkSelectionIncomplete(Text::tr("the synchronisation was interrupted"));
        return false;
    }
    ++session.SentCount;
    ++sentNow;
    session.DueBytesLeft =
        std::max<qint64>(0, session.DueBytesLeft - part.size() - PartOverhead(entryId));
    host.Yield();
    item.SetKelvoSent(context.clock.Now());
    item.SetKelvoParts({static_cast<int>(j + 1), static_cast<int>(partCount)});
    host.Yield();
    // The save may end in the background; SettleMarks tells a failure then.
    session.SavingMarkOf = ValueOf(item.Text(ItemText::Subject)).value_or(entryId);
    if (StoreStatus saved = item.Save(); !saved) {
      NoteUnsavedMark(session, saved.reason());
      unsaved = TellUnsavedMark(context) || unsaved;
    }
    if (unsaved) {
      report();
      // Every part sent now would go again next time: stop sending.
      session.MarkSelectionIncomplete(Text::tr("a sent message could not be marked"));
      session.StoreUnusable = true;
      return false;
    }
  }
  report();
  host.SetStatus(3, QString());
  return true;
}

void RemoveIfGoneFromDevice(SyncContext& context, MailItem& item, const FolderRef& folder) {
  SyncSession& session = context.session;
  // Without the Kelvo's whole list, a message missing from it may still be on
  // the Kelvo: delete nothing then.
  if (!session.DeviceListComplete) {
    session.StoreRemovalSkipped = true;
    return;
  }
  if (DeviceHolds(session, item.EntryId())) return;
  StoreStatus deleted = Done{};
  context.host.RunAside([&item, &deleted] { deleted = item.Delete(); });
  if (!deleted) {
    // A server gone for good ends the scan as it would a read.
    if (OfTheWholeStore(deleted.failure())) {
      StoreFailed(context, FolderWhat(folder), deleted.failure());
      return;
    }
    context.host.ShowMessage(Text::tr("A message deleted on the Kelvo could not be removed "
                                      "from the mail folder: %1")
                                 .arg(deleted.reason()));
    return;
  }
  ++session.RemovedFromMailCount;
  context.host.Report({RunItem::Kind::RemovedFromMail,
                       folder.Name,
                       ValueOf(item.Text(ItemText::Subject)).value_or(item.EntryId()),
                       0,
                       0,
                       {}});
}

// The folder's collection as the count listed it, else as listed now.
StoreResult<std::unique_ptr<ItemCollection>> ListingOf(SyncContext& context,
                                                       const FolderRef& folder) {
  if (auto listed = context.listed.extract(folder.EntryId)) return std::move(listed.mapped());
  return context.store.Items(folder);
}

}  // namespace

void ScanFolder(SyncContext& context, const FolderNode& node) {
  SyncSession& session = context.session;
  Host& host = context.host;
  const FolderRef& folder = node.folder;

  StoreResult<std::unique_ptr<ItemCollection>> itemsResult = ListingOf(context, folder);
  if (!itemsResult) {
    StoreFailed(context, FolderWhat(folder), itemsResult.failure());
    return;
  }
  ItemCollection& items = **itemsResult;

  // With "All" the count takes every message while the search keeps to the
  // date filter.
  const RunPlan& plan = context.plan;
  StoreResult<int> counted = items.Count(plan.CountFrom());
  if (!counted) {
    StoreFailed(context, FolderWhat(folder), counted.failure());
    return;
  }
  const int count = *counted;
  if (count == 0) return;

  // A count beyond 16 bits is more than any folder may hold, as is 401.
  // Told before the folder is sorted: a large folder on a server is never
  // read whole.
  if (count > plan.maxPerFolder) {
    //: %1 is the folder's name
    host.ShowMessage(Text::tr("Too many messages in %1 - This folder will be entirely skipped")
                         .arg(folder.Name));
    session.MarkSelectionIncomplete(Text::tr("the folder %1 was skipped").arg(folder.Name));
    return;
  }
  items.SortByReceivedTime();
  std::unique_ptr<MailItem> item = items.Find(plan.since);
  // The message after one being sent, read meanwhile; the collection is not
  // asked for more until it is taken. The worker goes first, so that its
  // work has ended before the item goes.
  NextMessage next;
  WorkerThread worker;

  for (int i = 1; i <= count; ++i) {
    // With "All" the count ignores the filter while the search applies it:
    // the search may run out first.
    if (!item) break;
    // The item is this thread's again once its reading ahead has ended.
    std::optional<PreparedMessage> prepared;
    if (next.prepared.valid()) host.RunAside([&] { prepared = next.prepared.get(); });
    session.SelectionList.push_back({item->EntryId(), QString()});
    const QString scanning = Text::tr("Scanning %1. Message %2 of %3")
                                 .arg(folder.Name, QString::number(i), QString::number(count));
    host.SetStatus(1, scanning);
    host.SetStatus(2, QString());
    host.ShowProgress({Progress::Stage::Scanning, folder.Name, i, count, session.DueIndex,
                       session.DueCount, SecondsOnTheLine(session.DueBytesLeft)});
    host.Yield();

    // A mark that cannot be read leaves the message's state unknown: sending
    // it might send it again, so the rest of the folder waits for next time.
    // Read per message: a change in the window takes effect at the next one.
    StoreResult<Due> due = WhatIsDue(*item, context.options().fullSync);
    if (!due) {
      StoreFailed(context, FolderWhat(folder), due.failure());
      return;
    }
    if (due->send) {
      // The next message is read while this one's first record is on the line.
      bool nextTaken = false;
      const auto prepareNext = [&] {
        next = PrepareAside(context, worker, items.FindNext(), folder, node.tree);
        nextTaken = true;
      };
      if (!SendMessage(context, *item, folder, node.tree, scanning, due->held, std::move(prepared),
                       prepareNext)) {
        return;
      }
      if (!nextTaken) next = NextMessage{items.FindNext(), {}};
    } else {
      if (context.options().removeFromMail) {
        RemoveIfGoneFromDevice(context, *item, folder);
        if (session.StoreUnusable) return;
      }
      next = NextMessage{items.FindNext(), {}};
    }
    host.Yield();
    item = std::move(next.item);
  }
}

void TellFolderProblems(SyncContext& context) {
  for (const FolderProblem& problem : context.store.FolderProblems()) {
    StoreFailed(context, Text::tr("the folder %1").arg(problem.folder),
                StoreFailure{FailureKind::Folder, problem.reason});
  }
}

void WalkPlannedFolders(SyncContext& context) {
  SyncSession& session = context.session;
  FolderView& view = context.host.Folders();
  // The folders from the tree's root down to the one being scanned, bold.
  std::vector<QString> path;
  const auto leave = [&](std::size_t depth) {
    while (path.size() > depth) {
      view.Set(path.back(), FolderView::Flag::Selected, false);
      view.Set(path.back(), FolderView::Flag::Bold, false);
      path.pop_back();
    }
  };
  const auto stopped = [&] { return session.BreakRequested || session.StoreUnusable; };
  for (const FolderNode& node : context.plan.trees.nodes) {
    leave(static_cast<std::size_t>(node.depth));
    if (stopped()) break;
    view.Set(node.folder.EntryId, FolderView::Flag::Selected, true);
    view.Set(node.folder.EntryId, FolderView::Flag::Bold, true);
    path.push_back(node.folder.EntryId);
    if (!node.excluded) ScanFolder(context, node);
    if (!stopped() && node.subfoldersFailure) {
      StoreFailed(context, Text::tr("the subfolders of %1").arg(node.folder.Name),
                  *node.subfoldersFailure);
    }
    // The folder the walk stopped in stays bold until the next rebuild.
    if (session.BreakRequested || session.StoreUnusable) {
      path.pop_back();
      break;
    }
  }
  leave(0);
}

}  // namespace zandor
