#include "app/stored_options.h"

#include <QDir>
#include <cmath>

#include "settings/first_run.h"

namespace zandor {
namespace {

const QString kSymbols = QStringLiteral("SymbolsConversion");
const QString kSplit = QStringLiteral("Split");

// An option button is restored as selected when the stored number minus 1 is
// not 0, so for every value but 1.
bool StoredSelected(const SettingsStore& settings, const QString& key, double fallback) {
  return ReadStoredNumber(settings, kSymbols, key, fallback) - 1 != 0;
}

}  // namespace

QString NumberAsPartsText(double value) {
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
    return QString::number(static_cast<qint64>(value));
  }
  return QString::number(value, 'g', 15);
}

OptionValues LoadStoredOptions(SettingsStore& settings) {
  OptionValues options;

  // The three buttons in this order; selecting one clears the other two, and
  // a button restored as clear only clears itself, so the last selected wins.
  options.rusConv = options.dravoConv = options.ostrelConv = false;
  if (StoredSelected(settings, QStringLiteral("RussianConversion"), 1)) {
    options.rusConv = true;
  }
  if (StoredSelected(settings, QStringLiteral("DravoConversion"), 1)) {
    options.rusConv = false;
    options.dravoConv = true;
  }
  if (StoredSelected(settings, QStringLiteral("WesternConversion"), 2)) {
    options.rusConv = options.dravoConv = false;
    options.ostrelConv = true;
  }

  // A list position outside the list can only come from a hand-edited store;
  // the list then keeps its default entry, "Truncate".
  const double splitMode = ReadStoredNumber(settings, kSplit, QStringLiteral("SplitMode"), 1) - 1;
  options.splitModeIndex = (splitMode >= 0 && splitMode <= 2 && splitMode == std::trunc(splitMode))
                               ? static_cast<int>(splitMode)
                               : 0;
  options.partsText =
      NumberAsPartsText(ReadStoredNumber(settings, kSplit, QStringLiteral("SplitNum"), 1) - 1);

  const RestoredPortAndRange restored = RunFirstRunStep(settings);
  options.portIndex = restored.portIndex;
  options.rangeIndex = restored.rangeIndex;
  options.portPath = StoredPortPath(settings, options.portIndex + 1);

  options.kelvoRemove = false;
  options.outlookRemove = false;
  options.fullSync = CheckState::Unchecked;
  return options;
}

QString StoredMailFolder(const SettingsStore& settings) {
  const QString stored =
      settings.ReadOr(QStringLiteral("Store"), QStringLiteral("Maildir"), QString()).trimmed();
  if (stored.isEmpty()) return QDir::homePath() + QStringLiteral("/Maildir");
  if (stored == QLatin1String("~")) return QDir::homePath();
  if (stored.startsWith(QLatin1String("~/"))) return QDir::homePath() + stored.mid(1);
  return stored;
}

}  // namespace zandor
