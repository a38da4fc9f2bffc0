#pragma once

#include <QApplication>
#include <memory>

#include "link/serial_line.h"

namespace zandor {

// The program with its window: the per-user settings, the Maildir chosen in
// the options, the system clock and the given serial line behind the main
// window. Shows it and runs the event loop until it closes; returns the
// loop's exit code.
int RunWindowApp(QApplication& app, SerialLine& line);

}  // namespace zandor
