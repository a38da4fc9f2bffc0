#include "sync/due_count.h"

#include "sync/due_mail.h"

namespace zandor {
namespace {

// The due messages of one folder, as the scan will find them.
struct DueMessage {
  std::unique_ptr<MailItem> item;
  Due due;
  const FolderNode* node;
};

// The due messages of one folder: the same range and limit as the scan's,
// their texts asked to be read ahead in one go. What cannot be read counts
// nothing (the scan tells it). The collection is kept for the scan.
void ListDue(MailStore& store, const RunPlan& plan, const SyncOptions& options,
             const FolderNode& node, FolderListings& listed, std::vector<DueMessage>& due) {
  StoreResult<std::unique_ptr<ItemCollection>> items = store.Items(node.folder);
  if (!items) return;
  ItemCollection& collection = *(listed[node.folder.EntryId] = std::move(items.value()));
  StoreResult<int> count = collection.Count(plan.CountFrom());
  if (!count || *count > plan.maxPerFolder) return;
  QStringList ids;
  std::unique_ptr<MailItem> item = collection.Find(plan.since);
  for (int i = 0; i < *count && item; ++i, item = collection.FindNext()) {
    StoreResult<Due> what = WhatIsDue(*item, options.fullSync);
    if (!what || !what->send) continue;
    ids << item->EntryId();
    due.push_back({std::move(item), *what, &node});
  }
  collection.ReadAhead(ids);
}

// Lets the stop reach the read-ahead while it lives.
class WatchedReadingAhead {
 public:
  WatchedReadingAhead(StoreWorkStop& stop, std::unique_ptr<ReadingAhead> ahead)
      : stop_(stop), ahead_(std::move(ahead)) {
    stop_.Watch(ahead_.get());
  }
  ~WatchedReadingAhead() { stop_.Watch(nullptr); }
  WatchedReadingAhead(const WatchedReadingAhead&) = delete;
  WatchedReadingAhead& operator=(const WatchedReadingAhead&) = delete;

 private:
  StoreWorkStop& stop_;
  std::unique_ptr<ReadingAhead> ahead_;
};

}  // namespace

DueCount CountDueMail(MailStore& store, const RunPlan& plan, const SyncOptions& options,
                      unsigned char separator, const ConversionTables& tables,
                      const QLocale& locale, StoreWorkStop& stop) {
  DueCount counted;
  std::vector<const FolderNode*> scanned;
  std::vector<FolderRef> refs;
  for (const FolderNode& node : plan.trees.nodes) {
    if (node.excluded) continue;
    scanned.push_back(&node);
    refs.push_back(node.folder);
  }
  // Every folder is listed, and its due texts asked for, before any text is
  // read: a store on a network fetches them side by side meanwhile.
  const WatchedReadingAhead ahead(stop, store.ListAhead(refs, plan.since));
  std::vector<DueMessage> due;
  for (const FolderNode* node : scanned) {
    if (stop.Requested()) return counted;
    ListDue(store, plan, options, *node, counted.listed, due);
  }
  for (const DueMessage& message : due) {
    if (stop.Requested()) return counted;
    const OutgoingRecords records = BuildOutgoingRecords(
        ReadOutgoingMessage(*message.item), message.node->folder.Name,
        FolderKindOf(message.node->tree), RecordOptionsOf(options), separator, tables, locale);
    if (records.skipped) continue;
    ++counted.messages;
    for (size_t j = FirstPartToSend(message.due.held, records.parts.size());
         j < records.parts.size(); ++j) {
      counted.bytes += records.parts[j].size() + PartOverhead(message.item->EntryId());
    }
  }
  return counted;
}

}  // namespace zandor
