#pragma once

#include <QTextStream>

#include "app/command_line.h"
#include "app/headless_host.h"
#include "front/plugged_in_notice.h"

namespace zandor {

// Exit statuses of the run without a window.
inline constexpr int kExitOk = 0;          // no message box was shown
inline constexpr int kExitErrorShown = 1;  // at least one message box was shown
inline constexpr int kExitUsage = 2;       // a usage error, or a question not answered Yes

// zandor --sync: one synchronisation with the stored settings and no window.
// Status lines go to out, message boxes and the run's own notes to err.
// Needs a QCoreApplication; returns the exit status.
int RunHeadless(const CommandLine& command, QTextStream& out, QTextStream& err);

// What one run without a window came to.
struct HeadlessResult {
  int status = kExitOk;
  PluggedInOutcome outcome;
  bool stopped = false;  // SIGINT, SIGTERM or SIGHUP came during the run
  QString logPath;       // the run's log; empty when none was written
};

// One synchronisation with the stored settings and no window, told through
// host. pluggedIn: started by plugging the Kelvo in, with the options agreed
// to for such runs in place of the command line's.
HeadlessResult RunHeadlessOnce(const CommandLine& command, HeadlessHost& host, QTextStream& out,
                               QTextStream& err, bool pluggedIn);

}  // namespace zandor
