#include "front/plugged_in_notice.h"

#include <QRegularExpression>
#include <QStringList>

namespace zandor {
namespace {

QString CountsText(const PluggedInOutcome& outcome) {
  QStringList parts{QStringLiteral("%1 sent").arg(outcome.sent)};
  if (outcome.received > 0) {
    parts << QStringLiteral("%1 received into %2").arg(outcome.received).arg(outcome.receivedInto);
  }
  if (outcome.removedFromKelvo > 0) {
    parts << QStringLiteral("%1 removed from the Kelvo").arg(outcome.removedFromKelvo);
  }
  if (outcome.removedFromMail > 0) {
    parts << QStringLiteral("%1 removed from the mail").arg(outcome.removedFromMail);
  }
  if (outcome.skipped > 0) {
    parts << QStringLiteral("%1 skipped (see Details)").arg(outcome.skipped);
  }
  return parts.join(QStringLiteral(", "));
}

// A box's lines, its padding gone, one to a line.
QString BoxText(const QString& box) {
  static const QRegularExpression lineEnd(QStringLiteral("\n\r|\r\n|\n|\r"));
  QStringList lines;
  for (const QString& line : box.split(lineEnd)) {
    if (!line.trimmed().isEmpty()) lines << line.trimmed();
  }
  return lines.join(QLatin1Char('\n'));
}

}  // namespace

std::optional<Notice> PluggedInNotice(const PluggedInOutcome& outcome) {
  if (outcome.end == SyncEnd::HandshakeFailed && !outcome.heardKelvo) return std::nullopt;
  if (outcome.firstBox.isEmpty() && outcome.end == SyncEnd::Completed) {
    return Notice{QStringLiteral("Kelvo synchronised"), CountsText(outcome)};
  }
  QString text = BoxText(outcome.firstBox);
  if (text.isEmpty()) text = QStringLiteral("Stopped before anything was sent.");
  if (outcome.end == SyncEnd::Completed && (outcome.sent > 0 || outcome.received > 0)) {
    text += QLatin1Char('\n') + CountsText(outcome);
  }
  return Notice{QStringLiteral("Kelvo synchronisation failed"), text};
}

}  // namespace zandor
