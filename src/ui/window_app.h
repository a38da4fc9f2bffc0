#pragma once

#include <QApplication>
#include <memory>

#include "front/interrupt_notifier.h"
#include "link/serial_line.h"

namespace zandor {

class MainWindow;

// SIGTERM and SIGHUP end the window as StopAndClose does, for as long as the
// returned notifier lives; Ctrl-C is left to the system.
std::unique_ptr<InterruptNotifier> StopOnSignals(MainWindow& window);

// The program with its window: the per-user settings, the Maildir chosen in
// the options, the system clock and the given serial line behind the main
// window. Shows it and runs the event loop until it closes; returns the
// loop's exit code. With detailsPath, the details open on that run's log.
int RunWindowApp(QApplication& app, SerialLine& line, const QString& detailsPath = {});

}  // namespace zandor
