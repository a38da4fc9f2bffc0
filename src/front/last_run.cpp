#include "front/last_run.h"

#include <array>
#include <utility>

namespace zandor {
namespace {

const QString kSection = QStringLiteral("LastRun");
const QString kSentence = QStringLiteral("Outcome");  // what earlier versions kept
const QString kAt = QStringLiteral("At");
const QString kKind = QStringLiteral("Kind");
const QString kPort = QStringLiteral("Port");
const QString kReceivedInto = QStringLiteral("ReceivedInto");
const QString kWhy = QStringLiteral("Why");

constexpr std::array<std::pair<RunOutcome::Kind, const char*>, 4> kKinds{{
    {RunOutcome::Kind::Complete, "complete"},
    {RunOutcome::Kind::Broken, "broken"},
    {RunOutcome::Kind::Failed, "failed"},
    {RunOutcome::Kind::PortFailed, "port"},
}};

// Each count of the tally under its key.
std::array<std::pair<const char*, int RunTally::*>, 8> Counts() {
  return {{{"Sent", &RunTally::sent},
           {"Split", &RunTally::split},
           {"SplitParts", &RunTally::splitParts},
           {"Cut", &RunTally::cut},
           {"Received", &RunTally::received},
           {"RemovedFromKelvo", &RunTally::removedFromKelvo},
           {"RemovedFromMail", &RunTally::removedFromMail},
           {"Skipped", &RunTally::skipped}}};
}

}  // namespace

void KeepLastRun(SettingsStore& settings, const RunOutcome& outcome) {
  settings.Write(kSection, kAt, outcome.at.toString(Qt::ISODate));
  for (const auto& [kind, name] : kKinds) {
    if (kind == outcome.kind) settings.Write(kSection, kKind, QLatin1String(name));
  }
  settings.Write(kSection, kPort, QString::number(outcome.port));
  for (const auto& [key, count] : Counts())
    settings.Write(kSection, QLatin1String(key), QString::number(outcome.tally.*count));
  settings.Write(kSection, kReceivedInto, outcome.receivedInto);
  settings.Write(kSection, kWhy,
                 outcome.kind == RunOutcome::Kind::Failed ? outcome.failure : outcome.stopped);
  settings.Delete(kSection, kSentence);
}

std::optional<QString> LastRunLine(const SettingsStore& settings) {
  const std::optional<QString> at = settings.Read(kSection, kAt);
  if (!at) return settings.Read(kSection, kSentence);
  RunOutcome outcome;
  outcome.at = QDateTime::fromString(*at, Qt::ISODate);
  const QString kind = settings.ReadOr(kSection, kKind, QString());
  for (const auto& [each, name] : kKinds) {
    if (kind == QLatin1String(name)) outcome.kind = each;
  }
  outcome.port = settings.ReadOr(kSection, kPort, QString()).toInt();
  for (const auto& [key, count] : Counts())
    outcome.tally.*count = settings.ReadOr(kSection, QLatin1String(key), QString()).toInt();
  outcome.receivedInto = settings.ReadOr(kSection, kReceivedInto, QString());
  const QString why = settings.ReadOr(kSection, kWhy, QString());
  (outcome.kind == RunOutcome::Kind::Failed ? outcome.failure : outcome.stopped) = why;
  return LastRunText(outcome);
}

}  // namespace zandor
