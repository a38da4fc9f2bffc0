#include "front/plugged_in_notice.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(PluggedInNotice)
};

QString CountsText(const PluggedInOutcome& outcome) {
  const QStringList parts = QStringList{Text::tr("%1 sent").arg(outcome.tally.sent)} +
                            OtherCounts(outcome.tally, outcome.receivedInto);
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
    return Notice{Text::tr("Kelvo synchronised"), CountsText(outcome)};
  }
  QString text = BoxText(outcome.firstBox);
  if (text.isEmpty()) text = Text::tr("Stopped before anything was sent.");
  if (outcome.end == SyncEnd::Completed && (outcome.tally.sent > 0 || outcome.tally.received > 0)) {
    text += QLatin1Char('\n') + CountsText(outcome);
  }
  return Notice{Text::tr("Kelvo synchronisation failed"), text};
}

}  // namespace zandor
