#include "app/headless_host.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QRegularExpression>

namespace zandor {

QStringList BoxLines(const QString& text) {
  static const QRegularExpression lineEnd(QStringLiteral("\n\r|\r\n|\n|\r"));
  return text.split(lineEnd);
}

HeadlessHost::HeadlessHost(QTextStream& out, QTextStream& err, bool answerYes)
    : out_(out), err_(err), answerYes_(answerYes) {}

void HeadlessHost::ShowMessage(const QString& text) {
  ++messagesShown_;
  for (const QString& line : BoxLines(text)) err_ << line << '\n';
  err_.flush();
}

bool HeadlessHost::Confirm(const QString& text) {
  for (const QString& line : BoxLines(text)) err_ << line << '\n';
  if (answerYes_) {
    err_ << "zandor: answered Yes (--yes)\n";
    err_.flush();
    return true;
  }
  confirmationRefused_ = true;
  err_ << "zandor: not answered Yes, so nothing was done; run again with --yes to answer Yes\n";
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
  PrintStatus(line);
}

void HeadlessHost::PrintStatus(int line) {
  out_ << '[' << line << "] " << status_[static_cast<std::size_t>(line - 1)] << '\n';
  out_.flush();
}

void HeadlessHost::PrintStatusLines() {
  for (int line = 1; line <= 4; ++line) PrintStatus(line);
}

void HeadlessHost::Note(const QString& text) {
  err_ << "zandor: " << text << '\n';
  err_.flush();
}

void HeadlessHost::Yield(YieldMode mode) {
  QCoreApplication::processEvents(mode == YieldMode::WaitForEvents
                                      ? QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents
                                      : QEventLoop::AllEvents);
}

}  // namespace zandor
