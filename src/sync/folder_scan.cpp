#include "sync/folder_scan.h"

#include <algorithm>

#include "store/byte_names.h"
#include "sync/folder_tree.h"
#include "sync/phases.h"

namespace zandor {
namespace {

// The value, or nullopt; the first reason a value could not be read goes to
// firstFailure when one is given.
template <class T>
std::optional<T> ValueOf(StoreResult<T> result,
                         std::optional<StoreFailure>* firstFailure = nullptr) {
  if (result) return std::move(result.value());
  if (firstFailure != nullptr && !*firstFailure) *firstFailure = result.failure();
  return std::nullopt;
}

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
    context.host.ShowMessage(
        QStringLiteral("The mail store cannot be used, so nothing more was sent: %1")
            .arg(failure.reason));
    session.MarkSelectionIncomplete(
        QStringLiteral("the mail store could not be used (%1)").arg(failure.reason));
    session.StoreUnusable = true;
    return;
  }
  context.host.ShowMessage(QStringLiteral("%1 could not be read, so it was not synchronised: %2")
                               .arg(what.left(1).toUpper() + what.mid(1), failure.reason));
  session.MarkSelectionIncomplete(
      QStringLiteral("%1 could not be read (%2)").arg(what, failure.reason));
}

QString FolderWhat(const FolderRef& folder) {
  return QStringLiteral("the folder %1").arg(folder.Name);
}

bool DeviceHolds(const SyncSession& session, const QString& entryId) {
  return std::any_of(session.DeviceList.begin(), session.DeviceList.end(),
                     [&entryId](const MessageListEntry& e) { return e.EntryId == entryId; });
}

// What a run sends of a message: nothing, all of it, or the parts the Kelvo
// lacks after a run that ended within it (held: the parts it has).
struct Due {
  bool send = false;
  std::optional<SentParts> held;
};

StoreResult<Due> WhatIsDue(const MailItem& item, bool fullSync) {
  StoreResult<std::optional<QDateTime>> mark = item.KelvoSent();
  if (!mark) return mark.failure();
  const QDateTime sentDate = mark.value().value_or(NeverSentDate());
  if (sentDate == NeverSentDate() || fullSync) return Due{true, std::nullopt};
  StoreResult<std::optional<SentParts>> parts = item.KelvoParts();
  if (!parts) return parts.failure();
  if (*parts && (*parts)->acknowledged < (*parts)->total) return Due{true, *parts};
  return Due{};
}

// The bytes one part puts on the line beyond its record: the command, the
// three numbers, the entry id, the fields' framing and the Kelvo's Acks.
qint64 PartOverhead(const QString& entryId) {
  return 40 + BytesOfText(entryId).size();
}

// The first part to send: the Kelvo holds the first parts of a message a run
// ended within. Cut another way since (the long-message option changed), the
// parts it holds are not these: all of them go.
size_t FirstPartToSend(const std::optional<SentParts>& held, size_t partCount) {
  if (!held || held->total != static_cast<int>(partCount)) return 0;
  return static_cast<size_t>(std::clamp(held->acknowledged, 0, held->total));
}

// Why a message was skipped, in words: the reason it could not be read, else
// what kept it from a record.
QString SkipNote(OutgoingRecords::Skip why, const QString& entryId, const QString& unreadable,
                 const QString& parts) {
  switch (why) {
    case OutgoingRecords::Skip::NoRoom:
      return QStringLiteral(
                 "the message %1 cannot go to the Kelvo: its subject, sender, recipients and "
                 "folder alone fill a record")
          .arg(entryId);
    case OutgoingRecords::Skip::NoParts:
      return QStringLiteral(
                 "the message %1 is too long for one record, and the parts limit (\"%2\") allows "
                 "no part")
          .arg(entryId, parts);
    case OutgoingRecords::Skip::None:
    case OutgoingRecords::Skip::Lacking:
      break;
  }
  return unreadable.isEmpty()
             ? QStringLiteral("the message %1 lacks what a record needs").arg(entryId)
             : unreadable;
}

// Sends the parts of one message the Kelvo lacks and marks it after each
// acknowledged part, with the count of parts acknowledged; scanning is status
// line 1 as the scan shows it. Returns false when the scan of the folder must
// end (a failed exchange or a break).
bool SendMessage(SyncContext& context, MailItem& item, const FolderRef& folder, int folderKind,
                 const QString& scanning, std::optional<SentParts> held) {
  SyncSession& session = context.session;
  Host& host = context.host;

  // Until a part is acknowledged and saved, the stored mark stays as it was.
  if (!held) item.SetKelvoSent(NeverSentDate());
  QString truncationSuffix;
  std::optional<StoreFailure> unreadable;
  const OutgoingRecords records = BuildOutgoingRecords(
      ReadOutgoingMessage(item, &unreadable), folder.Name, folderKind,
      RecordOptionsOf(context.options()), session.FieldSeparator, context.tables, context.locale);
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
    host.Report({RunItem::Kind::Sent,
                 folder.Name,
                 ValueOf(item.Text(ItemText::Subject)).value_or(entryId),
                 sentNow,
                 static_cast<int>(partCount),
                 {}});
  };
  for (size_t j = first; j < partCount; ++j) {
    if (records.truncated) truncationSuffix = QStringLiteral(" (truncated)");
    const QByteArray& part = records.parts[j];
    if (part.isEmpty()) continue;
    host.SetStatus(2, QString());
    if (j == first) {
      host.SetStatus(
          1, scanning + QStringLiteral(" - Sending: ") + QString::number(session.SentCount + 1));
    }
    if (partCount > 1) host.SetStatus(3, QStringLiteral("(part %1)").arg(j + 1));
    host.ShowProgress({Progress::Stage::Sending, folder.Name, static_cast<int>(j + 1),
                       static_cast<int>(partCount), session.DueIndex, session.DueCount,
                       SecondsOnTheLine(session.DueBytesLeft)});
    host.Yield();
    const ExchangeScope exchange(session);
    const SendOutcome outcome = SendPart(context, folderKind, entryId, part, truncationSuffix);
    bool unsaved = TellUnsavedMark(context);
    switch (outcome) {
      case SendOutcome::Done:
        break;
      case SendOutcome::Failed:
        report();
        session.MarkSelectionIncomplete(QStringLiteral("a message could not be sent"));
        return false;
      case SendOutcome::Broken:
        report();
        session.MarkSelectionIncomplete(QStringLiteral("the synchronisation was interrupted"));
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
      session.MarkSelectionIncomplete(QStringLiteral("a sent message could not be marked"));
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
  if (StoreStatus deleted = item.Delete(); !deleted) {
    // A server gone for good ends the scan as it would a read.
    if (OfTheWholeStore(deleted.failure())) {
      StoreFailed(context, FolderWhat(folder), deleted.failure());
      return;
    }
    context.host.ShowMessage(QStringLiteral("A message deleted on the Kelvo could not be removed "
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

OutgoingMessage ReadOutgoingMessage(const MailItem& item,
                                    std::optional<StoreFailure>* firstFailure) {
  OutgoingMessage message;
  message.subject = ValueOf(item.Text(ItemText::Subject), firstFailure);
  message.senderName = ValueOf(item.Text(ItemText::SenderName), firstFailure);
  message.to = ValueOf(item.Text(ItemText::To), firstFailure);
  message.cc = ValueOf(item.Text(ItemText::CC), firstFailure);
  message.bcc = ValueOf(item.Text(ItemText::BCC), firstFailure);
  message.body = ValueOf(item.Text(ItemText::Body), firstFailure);
  message.receivedTime = ValueOf(item.ReceivedTime(), firstFailure);
  message.sentOn = ValueOf(item.SentOn(), firstFailure);
  return message;
}

void ScanFolder(SyncContext& context, const FolderRef& folder, int folderKind) {
  SyncSession& session = context.session;
  Host& host = context.host;

  StoreResult<std::unique_ptr<ItemCollection>> itemsResult = ListingOf(context, folder);
  if (!itemsResult) {
    StoreFailed(context, FolderWhat(folder), itemsResult.failure());
    return;
  }
  ItemCollection& items = **itemsResult;

  // With "All" the count takes every message while the search keeps to the
  // date filter.
  const bool all = context.options().range == DateRange::All;
  StoreResult<int> counted =
      items.Count(all ? std::nullopt : std::optional<QDate>(session.DateFilter));
  if (!counted) {
    StoreFailed(context, FolderWhat(folder), counted.failure());
    return;
  }
  const int count = *counted;
  if (count == 0) return;

  // A count beyond 16 bits is more than any folder may hold, as is 401.
  // Told before the folder is sorted: a large folder on a server is never
  // read whole.
  if (count > kMaxMessagesPerFolder) {
    host.ShowMessage(QStringLiteral("Too many messages in ") + folder.Name +
                     QStringLiteral(" - This folder will be entirely skipped"));
    session.MarkSelectionIncomplete(QStringLiteral("the folder %1 was skipped").arg(folder.Name));
    return;
  }
  items.SortByReceivedTime();
  std::unique_ptr<MailItem> item = items.Find(session.DateFilter);

  for (int i = 1; i <= count; ++i) {
    // With "All" the count ignores the filter while the search applies it:
    // the search may run out first.
    if (!item) break;
    session.SelectionList.push_back({item->EntryId(), QString()});
    const QString scanning = QStringLiteral("Scanning %1. Message %2 of %3")
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
      if (!SendMessage(context, *item, folder, folderKind, scanning, due->held)) return;
    } else if (context.options().removeFromMail) {
      RemoveIfGoneFromDevice(context, *item, folder);
      if (session.StoreUnusable) return;
    }
    host.Yield();
    item = items.FindNext();
  }
}

namespace {

// The walk below one folder; path holds the folders from the tree's root
// down to this one.
void Walk(SyncContext& context, const FolderRef& folder, int folderKind, QStringList& path) {
  SyncSession& session = context.session;
  if (session.BreakRequested || session.StoreUnusable) return;
  FolderView& view = context.host.Folders();
  view.Set(folder.EntryId, FolderView::Flag::Selected, true);
  view.Set(folder.EntryId, FolderView::Flag::Bold, true);
  if (!IsFolderExcluded(context.settings, folder.EntryId)) {
    ScanFolder(context, folder, folderKind);
  }
  // The path stays bold until the next rebuild.
  if (session.BreakRequested || session.StoreUnusable) return;

  StoreResult<std::vector<FolderRef>> children = context.store.Subfolders(folder);
  if (!children) {
    StoreFailed(context, QStringLiteral("the subfolders of %1").arg(folder.Name),
                children.failure());
    if (session.StoreUnusable) return;
  } else {
    for (const FolderRef& child : *children) {
      // A store that names a folder inside itself would be walked for ever.
      if (path.contains(child.EntryId)) continue;
      path.push_back(child.EntryId);
      Walk(context, child, folderKind, path);
      path.pop_back();
    }
  }
  view.Set(folder.EntryId, FolderView::Flag::Selected, false);
  view.Set(folder.EntryId, FolderView::Flag::Bold, false);
}

}  // namespace

void TellFolderProblems(SyncContext& context) {
  for (const FolderProblem& problem : context.store.FolderProblems()) {
    StoreFailed(context, QStringLiteral("the folder %1").arg(problem.folder),
                StoreFailure{FailureKind::Folder, problem.reason});
  }
}

void WalkFolder(SyncContext& context, const FolderRef& folder, int folderKind) {
  QStringList path{folder.EntryId};
  Walk(context, folder, folderKind, path);
}

int SecondsOnTheLine(qint64 bytes) {
  // Ten bits a byte (start, eight data bits, stop) at 38,400 baud.
  return static_cast<int>((bytes * 10 + 38399) / 38400);
}

namespace {

// A folder the count reads, as the send phase's walk reaches it.
struct CountedFolder {
  FolderRef folder;
  int kind;
};

// The due messages of one folder, as the scan will find them.
struct DueMessage {
  std::unique_ptr<MailItem> item;
  Due due;
  const CountedFolder* folder;
};

// The due messages of one folder: the same date range, exclusion and limit
// as the scan's, their texts asked to be read ahead in one go. What cannot be
// read counts nothing (the scan tells it). The collection is kept for the scan.
void ListDue(const SyncEnvironment& environment, const SyncSession& session,
             const CountedFolder& counted, FolderListings& listed, std::vector<DueMessage>& due) {
  StoreResult<std::unique_ptr<ItemCollection>> items = environment.store.Items(counted.folder);
  if (!items) return;
  ItemCollection& collection = *(listed[counted.folder.EntryId] = std::move(items.value()));
  const SyncOptions options = environment.options();
  const bool all = options.range == DateRange::All;
  StoreResult<int> count =
      collection.Count(all ? std::nullopt : std::optional<QDate>(session.DateFilter));
  if (!count || *count > kMaxMessagesPerFolder) return;
  QStringList ids;
  std::unique_ptr<MailItem> item = collection.Find(session.DateFilter);
  for (int i = 0; i < *count && item; ++i, item = collection.FindNext()) {
    StoreResult<Due> what = WhatIsDue(*item, options.fullSync);
    if (!what || !what->send) continue;
    ids << item->EntryId();
    due.push_back({std::move(item), *what, &counted});
  }
  collection.ReadAhead(ids);
}

// The count's walk: the folders the send phase scans, in its order.
void FoldersBelow(const SyncEnvironment& environment, const FolderRef& folder, int folderKind,
                  QStringList& path, std::vector<CountedFolder>& folders) {
  if (!IsFolderExcluded(environment.settings, folder.EntryId)) {
    folders.push_back({folder, folderKind});
  }
  StoreResult<std::vector<FolderRef>> children = environment.store.Subfolders(folder);
  if (!children) return;
  for (const FolderRef& child : *children) {
    if (path.contains(child.EntryId)) continue;
    path.push_back(child.EntryId);
    FoldersBelow(environment, child, folderKind, path, folders);
    path.pop_back();
  }
}

}  // namespace

FolderListings CountDueMail(const SyncEnvironment& environment, SyncSession& session) {
  session.DueCount = 0;
  session.DueIndex = 0;
  session.DueBytesLeft = 0;
  std::vector<CountedFolder> folders;
  const std::pair<DefaultFolder, int> trees[] = {{DefaultFolder::Inbox, kInboxTree},
                                                 {DefaultFolder::SentItems, kSentItemsTree}};
  for (const auto& [which, kind] : trees) {
    StoreResult<FolderRef> root = environment.store.GetDefaultFolder(which);
    if (!root) continue;
    QStringList path{root->EntryId};
    FoldersBelow(environment, *root, kind, path, folders);
  }
  // Every folder is listed, and its due texts asked for, before any text is
  // read: a store on a network fetches them side by side meanwhile.
  std::vector<FolderRef> refs;
  for (const CountedFolder& counted : folders) refs.push_back(counted.folder);
  const std::unique_ptr<ReadingAhead> ahead = environment.store.ListAhead(refs, session.DateFilter);
  FolderListings listed;
  std::vector<DueMessage> due;
  for (const CountedFolder& counted : folders) ListDue(environment, session, counted, listed, due);
  const SyncOptions options = environment.options();
  for (const DueMessage& message : due) {
    const OutgoingRecords records = BuildOutgoingRecords(
        ReadOutgoingMessage(*message.item), message.folder->folder.Name, message.folder->kind,
        RecordOptionsOf(options), session.FieldSeparator, environment.tables, environment.locale);
    if (records.skipped) continue;
    ++session.DueCount;
    for (size_t j = FirstPartToSend(message.due.held, records.parts.size());
         j < records.parts.size(); ++j) {
      session.DueBytesLeft += records.parts[j].size() + PartOverhead(message.item->EntryId());
    }
  }
  return listed;
}

}  // namespace zandor
