#pragma once

#include <QString>
#include <optional>

#include "front/run_report.h"
#include "sync/sync_driver.h"

namespace zandor {

// How a synchronisation started by plugging the Kelvo in ended.
struct PluggedInOutcome {
  SyncEnd end = SyncEnd::Completed;
  bool heardKelvo = false;  // the Kelvo sent at least one byte
  QString firstBox;         // the first box of the run, whole; empty when none
  RunTally tally;           // what the run did, in messages
  QString receivedInto = QStringLiteral("Drafts");
};

// A desktop notification: a title and one or more lines.
struct Notice {
  QString title;
  QString text;
};

// What the desktop is told at the end of such a run: the outcome in one line
// ("12 sent, 2 received into Drafts"), or what failed and what to do, as the
// box said it. A Kelvo that never answered is likely switched off: that run
// ends quietly (nullopt), told only in its log.
std::optional<Notice> PluggedInNotice(const PluggedInOutcome& outcome);

}  // namespace zandor
