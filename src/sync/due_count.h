#pragma once

#include <QLocale>

#include "records/conversion.h"
#include "sync/run_plan.h"
#include "sync/sync_context.h"

namespace zandor {

// The messages due in the planned folders and the bytes their records put
// on the line, for the progress of the whole run, with the collections the
// count listed, for the scan.
struct DueCount {
  int messages = 0;
  qint64 bytes = 0;
  FolderListings listed;
};

// Counts what the plan's folders hold due and has the store read their texts
// ahead. Reads the store only, and nothing of a host: it may run on another
// thread. A folder that fails counts nothing (the scan tells it). Once stop
// is requested it reads nothing more, and what it counted is incomplete.
DueCount CountDueMail(MailStore& store, const RunPlan& plan, const SyncOptions& options,
                      unsigned char separator, const ConversionTables& tables,
                      const QLocale& locale, StoreWorkStop& stop);

}  // namespace zandor
