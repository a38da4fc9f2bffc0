#pragma once

#include <QTextStream>

#include "app/command_line.h"

namespace zandor {

// Exit statuses of the run without a window.
inline constexpr int kExitOk = 0;          // no message box was shown
inline constexpr int kExitErrorShown = 1;  // at least one message box was shown
inline constexpr int kExitUsage = 2;       // a usage error, or a question not answered Yes

// zandor --sync: one synchronisation with the stored settings and no window.
// Status lines go to out, message boxes and the run's own notes to err.
// Needs a QCoreApplication; returns the exit status.
int RunHeadless(const CommandLine& command, QTextStream& out, QTextStream& err);

}  // namespace zandor
