#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>
#include <optional>

#include "session/host.h"

namespace zandor {

// What a run did to one message, in one line for the details list, the log
// file and --verbose: "Sent: Inbox / Weekly report (parts 2 and 3 of 3)".
QString RunItemText(const RunItem& item);

// "1:05 left" for a count of seconds.
QString TimeLeftText(int seconds);

// "message 37 of 212, part 3 of 5, 1:05 left": the progress of the whole run,
// messages and the parts of one apart; empty when nothing was counted as due.
QString DueText(const Progress& progress);

// What a run did, counted from what it reported of each message: the
// messages, not the parts the status lines count.
struct RunTally {
  int sent = 0;        // messages with a part acknowledged in this run
  int split = 0;       // of them, those sent in parts
  int splitParts = 0;  // the parts of those acknowledged in this run
  int cut = 0;         // of them, those cut to fit
  int received = 0;
  int removedFromKelvo = 0;
  int removedFromMail = 0;
  int skipped = 0;

  void Add(const RunItem& item);
};

// What a run did besides sending, each count that is not 0 in words:
// "2 received into Drafts", "1 removed from the Kelvo", ...
QStringList OtherCounts(const RunTally& tally, const QString& receivedInto);

// How one synchronisation ended, for the words after it.
struct RunOutcome {
  enum class Kind { Complete, Broken, Failed, PortFailed };
  Kind kind = Kind::Complete;
  QDateTime at;
  RunTally tally;
  QString receivedInto;  // the folder the received messages were filed in
  QString stopped;       // Broken: how, in words; "stopped by Break" when empty
  QString failure;       // the first box's first line, for Failed
  int port = 1;
};
// "complete: 39 messages sent, 2 of them split into 216 parts, 2 received
// into Drafts"; the removals and skips follow when there were any.
QString OutcomeText(const RunOutcome& outcome);
// The same after "Last synchronisation 18:32: ", for the line kept after a run.
QString LastRunText(const RunOutcome& outcome);

// The hint when the Kelvo has said nothing for a while, naming the port and
// how to stop ("Press Break to stop."); shown from this many seconds of
// silence on.
inline constexpr int kSilenceHintSeconds = 10;
QString SilenceText(int seconds, int port, const QString& portPath, const QString& howToStop);
// What a run without a window says when the Kelvo was silent past its limit
// and the run was stopped for it.
QString TimeoutText(int seconds, int port, const QString& portPath);

// The folder of the run logs: $XDG_STATE_HOME/zandor, by default
// ~/.local/state/zandor. Empty when there is no home to put it in.
QString RunLogFolder();

// The log of one synchronisation, a file of its own in the folder, named by
// the time the run began; starting one prunes the oldest so that `keep` stay.
// A log that cannot be written is no reason to stop a synchronisation: the
// caller says so once and runs on.
class RunLog {
 public:
  static constexpr int kKept = 20;

  // Opens the run's file; the reason when it cannot.
  std::optional<QString> Start(const QString& folder, const QDateTime& begun, int keep = kKept);
  // Adds a line to the file's buffer: writing it would keep the Kelvo
  // waiting between two messages.
  void Add(const QString& line);
  // Writes what was added. The hosts do so whenever the run waits for the
  // Kelvo, so that a run that dies leaves what it did but the lines of the
  // exchange it died in.
  void Flush() {
    if (file_.isOpen()) file_.flush();
  }
  // The path of the file being written; empty when none is.
  QString Path() const { return file_.isOpen() ? file_.fileName() : QString(); }
  void Finish() { file_.close(); }

 private:
  QFile file_;
};

}  // namespace zandor
