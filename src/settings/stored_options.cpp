#include "settings/stored_options.h"

#include <QDir>
#include <cmath>

#include "settings/lenient_number.h"

namespace zandor {
namespace {

// Where each option lives, and how it is written:
//
//   [Com] Port                      the port, 1..4 ("0": none)
//   [Sync] Days                     the range's list position + 1 ("0": none)
//   [SymbolsConversion] RussianConversion, DravoConversion, WesternConversion
//                                   "0" when the button is selected, "1" when not
//   [Split] SplitMode               the long-message list position + 1 ("0": none)
//   [Split] SplitNum                the parts box's number + 1
//   [Ports] COM1..COM4              the device path behind each port
//   [Store] Maildir                 the mail folder; absent for ~/Maildir
//
// Numbers are read leniently, so a hand-edited value still reads as one.
const QString kCom = QStringLiteral("Com");
const QString kPort = QStringLiteral("Port");
const QString kSync = QStringLiteral("Sync");
const QString kDays = QStringLiteral("Days");
const QString kSymbols = QStringLiteral("SymbolsConversion");
const QString kSplit = QStringLiteral("Split");
const QString kSplitMode = QStringLiteral("SplitMode");
const QString kSplitNum = QStringLiteral("SplitNum");
const QString kPorts = QStringLiteral("Ports");
const QString kStore = QStringLiteral("Store");
const QString kMaildir = QStringLiteral("Maildir");

struct ConversionKey {
  const char* key;
  ConversionMode mode;
  double absent;  // the number an absent key reads as
};
// In the order they are restored: the last selected one wins.
constexpr ConversionKey kConversions[] = {
    {"RussianConversion", ConversionMode::RussianOstrel, 1},
    {"DravoConversion", ConversionMode::RussianDravo, 1},
    {"WesternConversion", ConversionMode::Western, 2},
};

double ReadNumber(const SettingsStore& settings, const QString& section, const QString& key,
                  double absent) {
  const std::optional<QString> text = settings.Read(section, key);
  return text ? ReadLenientNumber(*text) : absent;
}

// A list stored as its position + 1; the enumerations count from "none" at 0,
// so the stored number is the value itself.
template <class Enum>
Enum ReadList(const SettingsStore& settings, const QString& section, const QString& key, int count,
              int fallbackPosition) {
  const double stored = ReadNumber(settings, section, key, 0);
  return static_cast<Enum>(StoredListPosition(stored, count, fallbackPosition) + 1);
}

template <class Enum>
QString ListText(Enum value) {
  return QString::number(static_cast<int>(value));
}

QString ConversionKeyName(const ConversionKey& conversion) {
  return QString::fromLatin1(conversion.key);
}

QString StoredPortPath(const SettingsStore& settings, int port) {
  const QString path =
      settings.ReadOr(kPorts, QStringLiteral("COM%1").arg(port), QString()).trimmed();
  return path.isEmpty() ? DefaultPortPath(port) : path;
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

QString DefaultPortPath(int port) {
  return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

StoredOptions ReadStoredOptions(const SettingsStore& settings) {
  StoredOptions options;
  options.port = StoredListPosition(ReadNumber(settings, kCom, kPort, 0), 4, 0) + 1;
  options.range = ReadList<DateRange>(settings, kSync, kDays, 5, -1);
  for (const ConversionKey& conversion : kConversions) {
    // A button restored as clear only clears itself.
    const bool selected =
        ReadNumber(settings, kSymbols, ConversionKeyName(conversion), conversion.absent) != 1;
    if (selected) {
      options.conversion = conversion.mode;
    } else if (options.conversion == conversion.mode) {
      options.conversion.reset();
    }
  }
  options.longMessages = static_cast<LongMessages>(
      StoredListPosition(ReadNumber(settings, kSplit, kSplitMode, 1), 3, 0) + 1);
  options.parts = NumberText(ReadNumber(settings, kSplit, kSplitNum, 1) - 1);
  for (int port = 1; port <= 4; ++port) {
    options.portPaths[static_cast<std::size_t>(port - 1)] = StoredPortPath(settings, port);
  }
  options.mailFolder = settings.ReadOr(kStore, kMaildir, QString());
  return options;
}

void WriteStoredOptions(SettingsStore& settings, const StoredOptions& options) {
  settings.Write(kCom, kPort, QString::number(options.port));
  settings.Write(kSync, kDays, ListText(options.range));
  settings.Write(kSplit, kSplitMode, ListText(options.longMessages));
  settings.Write(kSplit, kSplitNum, NumberText(ReadLenientNumber(options.parts) + 1));
  for (const ConversionKey& conversion : kConversions) {
    settings.Write(
        kSymbols, ConversionKeyName(conversion),
        options.conversion == conversion.mode ? QStringLiteral("0") : QStringLiteral("1"));
  }
  for (int port = 1; port <= 4; ++port) {
    const QString path = options.portPaths[static_cast<std::size_t>(port - 1)].trimmed();
    if (!path.isEmpty() && path != StoredPortPath(settings, port)) {
      settings.Write(kPorts, QStringLiteral("COM%1").arg(port), path);
    }
  }
  const QString mailFolder = options.mailFolder.trimmed();
  if (mailFolder.isEmpty() || mailFolder == MailFolderPath(QString())) {
    settings.Delete(kStore, kMaildir);
  } else {
    settings.Write(kStore, kMaildir, mailFolder);
  }
}

SyncOptions SyncOptionsOf(const StoredOptions& stored) {
  SyncOptions options;
  options.port = stored.port;
  options.portPath =
      stored.port >= 1 ? stored.portPaths[static_cast<std::size_t>(stored.port - 1)] : QString();
  options.range = stored.range;
  // With no button selected the mode is Western: there is no mode without conversion.
  options.mode = stored.conversion.value_or(ConversionMode::Western);
  options.longMessages = stored.longMessages;
  options.parts = stored.parts;
  return options;
}

void RunFirstRunStep(SettingsStore& settings) {
  if (ReadNumber(settings, kCom, kPort, 0) == 0) {
    settings.Write(kCom, kPort, QStringLiteral("1"));
    settings.Write(kSync, kDays, QStringLiteral("2"));
  }
}

QString MailFolderPath(const QString& text) {
  const QString typed = text.trimmed();
  if (typed.isEmpty()) return QDir::homePath() + QStringLiteral("/Maildir");
  if (typed == QLatin1String("~")) return QDir::homePath();
  if (typed.startsWith(QLatin1String("~/"))) return QDir::homePath() + typed.mid(1);
  return typed;
}

QString StoredMailFolder(const SettingsStore& settings) {
  return MailFolderPath(settings.ReadOr(kStore, kMaildir, QString()));
}

}  // namespace zandor
