#pragma once

#include <QTextStream>

#include "app/command_line.h"

namespace zandor {

// zandor --watch: waits, asleep, for the port of the chosen "Com" entry to
// appear, runs one synchronisation as --sync would (answering only what
// Options agreed to for such runs), tells the desktop how it went, and waits
// for the port to go and come back. A port already there at the start, or
// one that comes back during a run, starts nothing: only a plug-in does.
// While a window is open, the window runs the synchronisation, and the
// watcher leaves it to it. The settings are followed as they change: another
// port is watched from then on, and clearing "Synchronise when the Kelvo is
// plugged in" ends the watcher. SIGTERM, SIGHUP and Ctrl-C end it (a run
// first completes the part in flight). Needs a QCoreApplication.
int RunWatcher(const CommandLine& command, QTextStream& out, QTextStream& err);

}  // namespace zandor
