#pragma once

#include <QFile>
#include <QString>
#include <functional>
#include <optional>

#include "link/watched_line.h"

namespace zandor {

// A readable transcript of the line in a file (--trace), one line per write
// of the PC, per read that brought something, and per thing the line did:
//
//   PC  ACK
//   KV  "000120" NUL
//   --  line event 1004
//
// Bytes are written as the tests' transcripts write them (link/line_text.h).
// Each line is flushed at once, so the transcript of a run that was killed is
// whole up to its last step.
class LineTranscript {
 public:
  // Starts the transcript in the file (replacing it). Returns the system's
  // reason when it cannot be written.
  std::optional<QString> WriteTo(const QString& path);

  // A watcher that writes the transcript, when one was started, and tells
  // owes (when given) when the Kelvo comes to owe bytes and when no longer.
  WatchedLine::Watcher Watcher(std::function<void(bool owes)> owes = {});

 private:
  void Add(const QString& line);

  QFile file_;
};

}  // namespace zandor
