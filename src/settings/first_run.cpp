#include "settings/first_run.h"

#include "settings/lenient_number.h"
#include "settings/stored_options.h"

namespace zandor {

double ReadStoredNumber(const SettingsStore& store, const QString& section, const QString& key,
                        double fallback) {
  const std::optional<QString> text = store.Read(section, key);
  if (!text) return fallback;
  return ReadLenientNumber(*text);
}

RestoredPortAndRange RunFirstRunStep(SettingsStore& store) {
  const QString com = QStringLiteral("Com");
  const QString port = QStringLiteral("Port");
  const QString sync = QStringLiteral("Sync");
  const QString days = QStringLiteral("Days");

  if (ReadStoredNumber(store, com, port, 0) == 0) {
    store.Write(com, port, QStringLiteral("1"));
    store.Write(sync, days, QStringLiteral("2"));
  }
  return StoredPortAndRange(store);
}

QString DefaultPortPath(int portNumber) {
  return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
}

QString StoredPortPath(const SettingsStore& store, int portNumber) {
  const QString path =
      store.ReadOr(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(portNumber), QString())
          .trimmed();
  return path.isEmpty() ? DefaultPortPath(portNumber) : path;
}

}  // namespace zandor
