#pragma once

#include <QDate>
#include <atomic>
#include <mutex>

#include "settings/sync_options.h"
#include "store/mail_store.h"
#include "sync/folder_tree.h"

namespace zandor {

// The most messages in range one folder may hold; more and it is skipped.
inline constexpr int kMaxMessagesPerFolder = 400;

// What a run reads, decided once before the port opens: the folders (with
// the ones the user left out), the range and the limit. The count and the
// scan both follow it, so the total shown is the total sent.
struct RunPlan {
  QDate since;  // the first day of the range
  // With "All" the count takes a folder's every message while the search
  // keeps to since.
  bool countWholeFolder = false;
  int maxPerFolder = kMaxMessagesPerFolder;
  FolderTrees trees;

  std::optional<QDate> CountFrom() const {
    return countWholeFolder ? std::nullopt : std::optional<QDate>(since);
  }
};

RunPlan PlanRun(MailStore& store, const SyncOptions& options, const QDate& since);

// Lets a break reach store work that runs on another thread: the work looks
// between store calls, and a read-ahead in progress stops after the command
// it has in flight.
class StoreWorkStop {
 public:
  // From any thread.
  void Request();
  bool Requested() const { return requested_.load(); }
  // The read-ahead to cancel on a request, while it lives; nullptr when it ends.
  void Watch(ReadingAhead* ahead);

 private:
  std::atomic<bool> requested_{false};
  std::mutex mutex_;
  ReadingAhead* ahead_ = nullptr;
};

}  // namespace zandor
