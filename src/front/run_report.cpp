#include "front/run_report.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <algorithm>

#include "front/printable_text.h"
#include "settings/stored_options.h"
#include "store/private_files.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(RunReport)
};

QString Where(const RunItem& item) {
  return item.folder.isEmpty() ? item.subject : item.folder + QStringLiteral(" / ") + item.subject;
}

// Byte counts grouped as the reader's numbers are ("587,189").
QString Bytes(qint64 count) {
  QLocale locale;
  locale.setNumberOptions(QLocale::DefaultNumberOptions);
  return locale.toString(count);
}

QString PartsText(const RunItem& item) {
  QStringList said;
  if (item.count > 1) {
    said << (item.parts == item.count
                 ? Text::tr("%1 parts").arg(item.count)
                 : Text::tr("the last %1 of %2 parts").arg(item.parts).arg(item.count));
  }
  if (item.cutFrom > 0) {
    said << Text::tr("cut to %1 of %2 bytes").arg(Bytes(item.cutTo), Bytes(item.cutFrom));
  }
  return said.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(said.join(QStringLiteral(", ")));
}

}  // namespace

QString RunItemText(const RunItem& item) {
  switch (item.kind) {
    case RunItem::Kind::Sent:
      return Text::tr("Sent: ") + Where(item) + PartsText(item);
    case RunItem::Kind::Received:
      return Text::tr("Received into %1: %2").arg(item.folder, item.subject);
    case RunItem::Kind::RemovedFromKelvo:
      if (item.writtenOnKelvo.isValid()) {
        return Text::tr("Removed from the Kelvo: %1 (written on the Kelvo, saved to %2 on %3)")
            .arg(item.subject, item.folder,
                 QLocale().toString(item.writtenOnKelvo.date(), QLocale::ShortFormat));
      }
      return Text::tr("Removed from the Kelvo: ") + Where(item);
    case RunItem::Kind::RemovedFromMail:
      return Text::tr("Removed from the mail (to Trash): ") + Where(item);
    case RunItem::Kind::Skipped:
      return Text::tr("Skipped: %1: %2").arg(Where(item), item.reason);
  }
  return QString();
}

QString TimeLeftText(int seconds) {
  seconds = std::max(seconds, 0);
  return Text::tr("%1:%2 left").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString DueText(const Progress& progress) {
  if (progress.dueCount <= 0) return QString();
  QString text =
      Text::tr("message %1 of %2").arg(std::max(progress.dueIndex, 1)).arg(progress.dueCount);
  if (progress.stage == Progress::Stage::Sending && progress.count > 1) {
    text += Text::tr(", part %1 of %2").arg(progress.index).arg(progress.count);
  }
  if (progress.secondsLeft >= 0) text += QStringLiteral(", ") + TimeLeftText(progress.secondsLeft);
  return text;
}

void RunTally::Add(const RunItem& item) {
  switch (item.kind) {
    case RunItem::Kind::Sent:
      ++sent;
      if (item.count > 1) {
        ++split;
        splitParts += item.parts;
      }
      if (item.cutFrom > 0) ++cut;
      break;
    case RunItem::Kind::Received:
      ++received;
      break;
    case RunItem::Kind::RemovedFromKelvo:
      ++removedFromKelvo;
      break;
    case RunItem::Kind::RemovedFromMail:
      ++removedFromMail;
      break;
    case RunItem::Kind::Skipped:
      ++skipped;
      break;
  }
}

namespace {

// "1 message", "2 messages".
QString Messages(int count) {
  return count == 1 ? Text::tr("1 message") : Text::tr("%n messages", nullptr, count);
}

// "39 messages sent, 2 of them split into 216 parts".
QString SentText(const RunTally& tally) {
  if (tally.sent == 0) return Text::tr("no message sent");
  QString text = Messages(tally.sent) + Text::tr(" sent");
  if (tally.split > 0) {
    const QString which = tally.sent == 1             ? QString()
                          : tally.split == tally.sent ? Text::tr(" all of them")
                                                      : Text::tr(" %1 of them").arg(tally.split);
    text += Text::tr(",%1 split into %2 parts").arg(which).arg(tally.splitParts);
  }
  if (tally.cut > 0) text += Text::tr(", %1 cut to fit").arg(tally.cut);
  return text;
}

}  // namespace

QStringList OtherCounts(const RunTally& tally, const QString& receivedInto) {
  QStringList parts;
  if (tally.received > 0) {
    parts << Text::tr("%1 received into %2").arg(tally.received).arg(receivedInto);
  }
  if (tally.removedFromKelvo > 0) {
    parts << Text::tr("%1 removed from the Kelvo").arg(tally.removedFromKelvo);
  }
  if (tally.removedFromMail > 0) {
    parts << Text::tr("%1 removed from the mail").arg(tally.removedFromMail);
  }
  if (tally.skipped > 0) parts << Text::tr("%1 skipped (see Details)").arg(tally.skipped);
  return parts;
}

QString OutcomeText(const RunOutcome& outcome) {
  switch (outcome.kind) {
    case RunOutcome::Kind::Complete: {
      const QStringList parts =
          QStringList{SentText(outcome.tally)} + OtherCounts(outcome.tally, outcome.receivedInto);
      return Text::tr("complete: ") + parts.join(QStringLiteral(", "));
    }
    case RunOutcome::Kind::Broken:
      return outcome.stopped.isEmpty() ? Text::tr("stopped by Break") : outcome.stopped;
    case RunOutcome::Kind::Failed:
      return Text::tr("failed: ") + outcome.failure;
    case RunOutcome::Kind::PortFailed:
      return Text::tr("could not open Com %1").arg(outcome.port);
  }
  return QString();
}

QString LastRunText(const RunOutcome& outcome) {
  return Text::tr("Last synchronisation %1: %2")
      .arg(outcome.at.toString(QStringLiteral("HH:mm")), OutcomeText(outcome));
}

QString SilenceText(int seconds, int port, const QString& portPath, const QString& howToStop) {
  return Text::tr(
             "No answer from the Kelvo on Com %1 (%2) for %3 s: is it connected and switched on? "
             "%4")
      .arg(port)
      .arg(portPath)
      .arg(seconds)
      .arg(howToStop);
}

QString TimeoutText(int seconds, int port, const QString& portPath) {
  return Text::tr(
             "No answer from the Kelvo on Com %1 (%2) for %3, so the synchronisation was "
             "stopped: is it connected and switched on? (--timeout sets how long to wait)")
      .arg(port)
      .arg(portPath)
      .arg(seconds == 1 ? Text::tr("1 second") : Text::tr("%n seconds", nullptr, seconds));
}

QString RunLogFolder() {
  return StateFolder();
}

std::optional<QString> RunLog::Start(const QString& folder, const QDateTime& begun, int keep) {
  file_.close();
  if (folder.isEmpty()) return Text::tr("there is no home folder to keep it in");
  QDir dir(folder);
  if (!MakePrivateFolder(folder)) return Text::tr("%1 cannot be made").arg(folder);
  // The names sort by time: the oldest come first.
  const QStringList old = dir.entryList({QStringLiteral("run-*.log")}, QDir::Files, QDir::Name);
  for (qsizetype i = 0; i + keep <= old.size(); ++i) dir.remove(old[i]);
  file_.setFileName(
      dir.filePath(begun.toString(QStringLiteral("'run-'yyyyMMdd-HHmmss-zzz'.log'"))));
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
    return QStringLiteral("%1: %2").arg(file_.fileName(), file_.errorString());
  }
  MakePrivateFile(file_.fileName());
  Add(Text::tr("Synchronisation of %1").arg(begun.toString(Qt::ISODate)));
  return std::nullopt;
}

void RunLog::Add(const QString& line) {
  if (!file_.isOpen()) return;
  file_.write(PrintableText(line).toUtf8() + '\n');
}

}  // namespace zandor
