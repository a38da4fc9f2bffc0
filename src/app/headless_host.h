#pragma once

#include <QString>
#include <QTextStream>
#include <array>

#include "front/run_report.h"
#include "session/host.h"
#include "session/plain_folder_view.h"

namespace zandor {

// The window's part in a run without a window. Each change of a status line
// is printed on the output as "[N] text", or, live on a terminal, redraws one
// line that shows as much of them as fits; each message box prints its text on the error
// stream, one line per line of text; a confirmation is answered Yes
// only when the run was told so. A yield is one pass of the event loop; a
// yield that may wait sleeps until the next event (serial data, Ctrl-C, the
// silence timer).
class HeadlessHost final : public Host {
 public:
  // live: the output is a terminal `width` columns wide, redrawn in place.
  HeadlessHost(QTextStream& out, QTextStream& err, bool answerYes, int liveWidth = 0);

  void ShowMessage(const QString& text) override;
  bool Confirm(const QString& text) override;
  QString Status(int line) const override;
  void SetStatus(int line, const QString& text) override;
  void ShowProgress(const Progress& progress) override;
  void Yield(YieldMode mode = YieldMode::Poll) override;
  void SetBusy(bool) override {}
  void SetSyncEnabled(bool) override {}
  void SetBreakEnabled(bool) override {}
  FolderView& Folders() override { return folders_; }
  // Into the log; on the error stream when skipped, or everything with
  // verbose.
  void Report(const RunItem& item) override;

  void SetLog(RunLog* log, bool verbose) {
    log_ = log;
    verbose_ = verbose;
  }
  // The Kelvo's silence: the hint joins the live line (without one it is
  // noted once); empty when the Kelvo spoke again.
  void ShowSilence(const QString& hint);

  // The four status lines as the run left them, in the same form, where they
  // were not printed as they changed (live on a terminal).
  void PrintStatusLines();
  // Writes the status lines and the log's lines shown so far; they are kept
  // until the run next waits for the Kelvo.
  void Flush();
  // A note of the run itself on the error stream, "zandor: text".
  void Note(const QString& text);

  int MessagesShown() const { return messagesShown_; }
  // The text of the first box shown; empty when none was.
  const QString& FirstMessage() const { return firstMessage_; }
  // Its first line, trimmed.
  QString FirstMessageLine() const;
  // What a confirmation answered Yes says of why.
  void SetYesReason(const QString& reason) { yesReason_ = reason; }
  bool ConfirmationRefused() const { return confirmationRefused_; }
  // What the run did, from its reports.
  const RunTally& Tally() const { return tally_; }

 private:
  void PrintStatus(int line);
  void ClearLive();  // before anything else is written to the terminal
  void DrawLive();

  QTextStream& out_;
  QTextStream& err_;
  bool answerYes_;
  int liveWidth_;
  bool liveShown_ = false;
  std::array<QString, 4> status_;
  QString counted_;  // the live line's count: of the run, else of the folder
  QString silence_;
  bool silenceNoted_ = false;
  RunLog* log_ = nullptr;
  bool verbose_ = false;
  PlainFolderView folders_;
  int messagesShown_ = 0;
  QString firstMessage_;
  QString yesReason_ = QStringLiteral("--yes");
  RunTally tally_;
  bool confirmationRefused_ = false;
};

// The live line in `columns`: the run's count in brackets, then the Kelvo's
// silence and the status lines joined by " | ". While it is too wide the least
// useful part goes first (status lines 4, 3, 2, the count, then line 1 when
// the silence is told); what still does not fit is cut at a word.
QString LiveLine(const QString& count, const std::array<QString, 4>& status, const QString& silence,
                 int columns);

// The lines of a box text: lines are joined by a line feed and a carriage
// return; any other line end splits too.
QStringList BoxLines(const QString& text);

}  // namespace zandor
