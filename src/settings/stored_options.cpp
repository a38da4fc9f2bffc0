#include "settings/stored_options.h"

#include <QDir>
#include <cmath>

#include "settings/lenient_number.h"

namespace zandor {
namespace {

// An option button is restored as selected for every stored value but 1.
bool StoredSelected(const SettingsStore& settings, const QString& key, double fallback) {
  return ReadStoredNumber(settings, kSymbolsSection, key, fallback) != 1;
}

}  // namespace

int StoredListPosition(double stored, int count, int fallback) {
  const double position = RoundHalfToEven(stored) - 1;
  if (!std::isfinite(position) || position < -1 || position > count - 1) return fallback;
  return static_cast<int>(position);
}

QString NumberText(double value) {
  if (value == 0) return QStringLiteral("0");  // never "-0"
  return QString::number(value, 'g', 15);
}

RestoredPortAndRange StoredPortAndRange(const SettingsStore& settings) {
  const double port = ReadStoredNumber(settings, QStringLiteral("Com"), QStringLiteral("Port"), 0);
  // No default: an absent range leaves the list without a selection.
  const double days = ReadStoredNumber(settings, QStringLiteral("Sync"), QStringLiteral("Days"), 0);
  return RestoredPortAndRange{StoredListPosition(port, 4, 0), StoredListPosition(days, 5, -1)};
}

OptionValues RestoreStoredOptions(const SettingsStore& settings) {
  OptionValues options;
  const RestoredPortAndRange portAndRange = StoredPortAndRange(settings);
  options.portIndex = portAndRange.portIndex;
  options.rangeIndex = portAndRange.rangeIndex;
  options.portPath =
      options.portIndex >= 0 ? StoredPortPath(settings, options.portIndex + 1) : QString();

  // Selecting one button clears the other two; a button restored as clear
  // only clears itself, so the last selected wins and none may be selected.
  options.rusConv = StoredSelected(settings, QStringLiteral("RussianConversion"), 1);
  options.dravoConv = StoredSelected(settings, QStringLiteral("DravoConversion"), 1);
  if (options.dravoConv) options.rusConv = false;
  options.ostrelConv = StoredSelected(settings, QStringLiteral("WesternConversion"), 2);
  if (options.ostrelConv) options.rusConv = options.dravoConv = false;

  options.splitModeIndex = StoredListPosition(
      ReadStoredNumber(settings, kSplitSection, QStringLiteral("SplitMode"), 1), 3, 0);
  options.partsText =
      NumberText(ReadStoredNumber(settings, kSplitSection, QStringLiteral("SplitNum"), 1) - 1);

  options.kelvoRemove = false;
  options.outlookRemove = false;
  options.fullSync = CheckState::Unchecked;
  return options;
}

QString MailFolderPath(const QString& text) {
  const QString typed = text.trimmed();
  if (typed.isEmpty()) return QDir::homePath() + QStringLiteral("/Maildir");
  if (typed == QLatin1String("~")) return QDir::homePath();
  if (typed.startsWith(QLatin1String("~/"))) return QDir::homePath() + typed.mid(1);
  return typed;
}

QString StoredMailFolder(const SettingsStore& settings) {
  return MailFolderPath(
      settings.ReadOr(QStringLiteral("Store"), QStringLiteral("Maildir"), QString()));
}

}  // namespace zandor
