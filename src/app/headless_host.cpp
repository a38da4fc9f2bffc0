#include "app/headless_host.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QRegularExpression>
#include <algorithm>

#include "front/printable_text.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(HeadlessHost)
};

}  // namespace

QStringList BoxLines(const QString& text) {
  static const QRegularExpression lineEnd(QStringLiteral("\n\r|\r\n|\n|\r"));
  return text.split(lineEnd);
}

HeadlessHost::HeadlessHost(QTextStream& out, QTextStream& err, bool answerYes, int liveWidth)
    : out_(out), err_(err), answerYes_(answerYes), liveWidth_(liveWidth) {}

void HeadlessHost::ClearLive() {
  if (liveShown_) out_ << "\r\033[K";
  liveShown_ = false;
  out_.flush();  // the status lines before what goes to standard error
}

QString LiveLine(const QString& count, const std::array<QString, 4>& status, const QString& silence,
                 int columns) {
  std::array<QString, 4> lines = status;
  QString counted = count;
  const auto joined = [&] {
    QStringList shown;
    if (!silence.isEmpty()) shown << silence;
    for (const QString& text : lines) {
      if (!text.isEmpty()) shown << text;
    }
    const QString rest = shown.join(QStringLiteral(" | "));
    if (counted.isEmpty()) return rest;
    return QStringLiteral("[%1]").arg(counted) +
           (rest.isEmpty() ? QString() : QStringLiteral(" ") + rest);
  };
  // One column is left free, so that the line never wraps.
  const int room = std::max(columns - 1, 10);
  const std::array<QString*, 5> dropped{&lines[3], &lines[2], &lines[1], &counted, &lines[0]};
  for (QString* part : dropped) {
    if (joined().size() <= room) break;
    if (part == &lines[0] && silence.isEmpty()) break;  // the line itself: cut, never dropped
    part->clear();
  }
  QString line = joined();
  if (line.size() <= room) return line;
  // Cut at the last blank that leaves room for the ellipsis; a single word
  // longer than the room is cut where it must be.
  line.truncate(room);
  const qsizetype blank = line.lastIndexOf(QLatin1Char(' '));
  if (blank > 0) line.truncate(blank);
  if (line.size() == room) line.chop(1);
  while (line.endsWith(QLatin1Char(' ')) || line.endsWith(QLatin1Char('|'))) line.chop(1);
  return line + QStringLiteral("…");
}

void HeadlessHost::DrawLive() {
  out_ << "\r\033[K" << PrintableText(LiveLine(counted_, status_, silence_, liveWidth_));
  liveShown_ = true;
}

QString HeadlessHost::FirstMessageLine() const {
  return BoxLines(firstMessage_).value(0).trimmed();
}

void HeadlessHost::ShowMessage(const QString& text) {
  ClearLive();
  if (messagesShown_++ == 0) firstMessage_ = text;
  for (const QString& line : BoxLines(text)) err_ << PrintableText(line) << '\n';
  err_.flush();
}

bool HeadlessHost::Confirm(const QString& text) {
  ClearLive();
  for (const QString& line : BoxLines(text)) err_ << PrintableText(line) << '\n';
  if (answerYes_) {
    //: %1 is why the run may answer Yes by itself
    err_ << "zandor: " << Text::tr("answered Yes (%1)").arg(yesReason_) << '\n';
    err_.flush();
    return true;
  }
  confirmationRefused_ = true;
  err_ << "zandor: "
       << Text::tr("not answered Yes, so nothing was done; run again with --yes to answer Yes")
       << '\n';
  err_.flush();
  return false;
}

QString HeadlessHost::Status(int line) const {
  if (line < 1 || line > 4) return QString();
  return status_[static_cast<std::size_t>(line - 1)];
}

void HeadlessHost::SetStatus(int line, const QString& text) {
  if (line < 1 || line > 4) return;
  QString& current = status_[static_cast<std::size_t>(line - 1)];
  if (current == text) return;
  current = text;
  if (liveWidth_ > 0) {
    DrawLive();
  } else {
    PrintStatus(line);
  }
}

void HeadlessHost::ShowProgress(const Progress& progress) {
  // The run's count when mail is due, else the folder's; sending without a
  // count of the run keeps the scan's, and the Kelvo's own stages have none.
  const bool mail =
      progress.stage == Progress::Stage::Scanning || progress.stage == Progress::Stage::Sending;
  QString counted;
  if (mail && progress.dueCount > 0) {
    counted = DueText(progress);
  } else if (progress.stage == Progress::Stage::Scanning) {
    counted = QStringLiteral("%1/%2").arg(progress.index).arg(progress.count);
  } else if (progress.stage == Progress::Stage::Sending) {
    return;
  }
  if (counted == counted_) return;
  counted_ = counted;
  if (liveWidth_ > 0) DrawLive();
}

void HeadlessHost::PrintStatus(int line) {
  out_ << '[' << line << "] " << PrintableText(status_[static_cast<std::size_t>(line - 1)]) << '\n';
}

void HeadlessHost::Flush() {
  out_.flush();
  if (log_ != nullptr) log_->Flush();
}

void HeadlessHost::PrintStatusLines() {
  if (liveWidth_ == 0) return;  // each change was printed as it came
  ClearLive();
  for (int line = 1; line <= 4; ++line) PrintStatus(line);
}

void HeadlessHost::Note(const QString& text) {
  ClearLive();
  err_ << "zandor: " << PrintableText(text) << '\n';
  err_.flush();
}

void HeadlessHost::Report(const RunItem& item) {
  tally_.Add(item);
  const QString text = RunItemText(item);
  if (log_ != nullptr) log_->Add(text);
  if (verbose_ || item.kind == RunItem::Kind::Skipped) Note(text);
}

void HeadlessHost::ShowSilence(const QString& hint) {
  if (hint == silence_) return;
  silence_ = hint;
  if (liveWidth_ > 0) {
    DrawLive();
  } else if (hint.isEmpty()) {
    silenceNoted_ = false;
  } else if (!silenceNoted_) {
    silenceNoted_ = true;
    Note(hint);
  }
}

void HeadlessHost::Yield(YieldMode mode) {
  // What was shown and logged goes out while the run waits for the Kelvo,
  // not between its answer and the next byte of ours.
  if (mode == YieldMode::WaitForEvents) Flush();
  QCoreApplication::processEvents(mode == YieldMode::WaitForEvents
                                      ? QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents
                                      : QEventLoop::AllEvents);
}

}  // namespace zandor
