#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "model/kelvo_device.h"

namespace zandor::sim {

// What kelvo-sim was asked to do.
struct SimOptions {
  enum class Mode { Pty, Port, Help };
  Mode mode = Mode::Pty;
  QString portPath;  // --port
  QString dataPath;  // --data: the device's messages; empty keeps them in memory
  int pace = 0;      // --pace: bytes go at this line rate (10 bits a byte); 0: at once
  std::vector<Fault> faults;
  QString tracePath;        // --trace
  bool traceTimes = false;  // --trace-times: each piece of the trace stamped
};

struct ParsedSimOptions {
  std::optional<SimOptions> options;
  QString error;
};

// Reads the arguments (without the program name).
ParsedSimOptions ParseSimOptions(const QStringList& arguments);

// A fault as the command line writes it: STEP:KIND[:HEX], KIND one of
// wrong-byte, twice, joined, silence, hang-up, too-many, replace; HEX the
// bytes for wrong-byte, too-many and replace ("15", "0101").
std::optional<Fault> ParseFault(const QString& text, QString& error);

QString SimUsageText();

}  // namespace zandor::sim
