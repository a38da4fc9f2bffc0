#include "sync/run_plan.h"

namespace zandor {

RunPlan PlanRun(MailStore& store, const SyncOptions& options, const QDate& since) {
  RunPlan plan;
  plan.since = since;
  plan.countWholeFolder = options.range == DateRange::All;
  plan.trees = ListFolderTrees(store, options.excludedFolders);
  return plan;
}

void StoreWorkStop::Request() {
  requested_ = true;
  const std::lock_guard lock(mutex_);
  if (ahead_ != nullptr) ahead_->Cancel();
}

void StoreWorkStop::Watch(ReadingAhead* ahead) {
  const std::lock_guard lock(mutex_);
  ahead_ = ahead;
  if (ahead_ != nullptr && requested_) ahead_->Cancel();
}

}  // namespace zandor
