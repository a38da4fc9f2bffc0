#include "settings/stored_options.h"

#include <QDir>
#include <cmath>
#include <utility>

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
//   [Store] Kind                    "imap", or "maildir" (absent: maildir)
//   [Imap] Host                     the server's name or address
//   [Imap] Port                     absent for 993 with tls, 143 otherwise
//   [Imap] Security                 "tls" (absent), "starttls", "none"
//   [Imap] User                     the user name given at login
//   [Imap] PasswordCommand          run by /bin/sh -c for zandor --sync; its
//                                   first line is the password
//   [Imap] Login                    "xoauth2": the command prints an OAuth 2.0
//                                   access token; absent: a password
//   [Imap] CertificateFile          PEM certificates trusted in place of the
//                                   system's; absent for the system's
//   [Imap] CertificateFingerprint   the SHA-256 fingerprint of the server's
//                                   own certificate, trusted on purpose
//   [Imap] Timeout                  seconds without a byte from the server
//                                   before it is left, 1..3600; absent for 30
//   [PluggedIn] Sync, RemoveFromMail, RemoveFromKelvo
//                                   "1" when ticked; absent when not
//
// The password itself is never stored here. Keys holding their default are
// left absent.
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
const QString kKind = QStringLiteral("Kind");
const QString kImap = QStringLiteral("Imap");
const QString kHost = QStringLiteral("Host");
const QString kSecurity = QStringLiteral("Security");
const QString kUser = QStringLiteral("User");
const QString kPasswordCommand = QStringLiteral("PasswordCommand");
const QString kCertificateFile = QStringLiteral("CertificateFile");
const QString kCertificateFingerprint = QStringLiteral("CertificateFingerprint");
const QString kLogin = QStringLiteral("Login");
const QString kTimeout = QStringLiteral("Timeout");
constexpr int kMaxImapTimeout = 3600;
const QString kXOAuth2 = QStringLiteral("xoauth2");
const QString kPluggedIn = QStringLiteral("PluggedIn");
const QString kPluggedInSync = QStringLiteral("Sync");
const QString kRemoveFromMail = QStringLiteral("RemoveFromMail");
const QString kRemoveFromKelvo = QStringLiteral("RemoveFromKelvo");

constexpr std::pair<ImapSecurity, const char*> kSecurityNames[] = {
    {ImapSecurity::Tls, "tls"}, {ImapSecurity::StartTls, "starttls"}, {ImapSecurity::None, "none"}};

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

// An unknown word reads as TLS: a typing slip never sends the password in clear.
ImapSecurity SecurityOf(const QString& text) {
  for (const auto& [security, name] : kSecurityNames) {
    if (text.trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return security;
  }
  return ImapSecurity::Tls;
}

QString SecurityName(ImapSecurity security) {
  for (const auto& [each, name] : kSecurityNames) {
    if (each == security) return QLatin1String(name);
  }
  return QStringLiteral("tls");
}

ImapOptions ReadImapOptions(const SettingsStore& settings) {
  ImapOptions imap;
  imap.host = settings.ReadOr(kImap, kHost, QString());
  imap.port = settings.ReadOr(kImap, kPort, QString());
  const QString security = settings.ReadOr(kImap, kSecurity, QString());
  imap.security = SecurityOf(security);
  if (!security.trimmed().isEmpty() &&
      SecurityName(imap.security) != security.trimmed().toLower()) {
    imap.unknownSecurity = security;
  }
  imap.user = settings.ReadOr(kImap, kUser, QString());
  imap.passwordCommand = settings.ReadOr(kImap, kPasswordCommand, QString());
  imap.certificateFile = settings.ReadOr(kImap, kCertificateFile, QString());
  imap.certificateFingerprint = settings.ReadOr(kImap, kCertificateFingerprint, QString());
  const bool token =
      settings.ReadOr(kImap, kLogin, QString()).trimmed().compare(kXOAuth2, Qt::CaseInsensitive) ==
      0;
  imap.login = token ? ImapLogin::XOAuth2 : ImapLogin::Password;
  // Out of range or not a number: the default, never "wait for ever".
  const double timeout = ReadNumber(settings, kImap, kTimeout, kDefaultImapTimeout);
  const double seconds = RoundHalfToEven(timeout);
  imap.timeoutSeconds = std::isfinite(seconds) && seconds >= 1 && seconds <= kMaxImapTimeout
                            ? static_cast<int>(seconds)
                            : kDefaultImapTimeout;
  return imap;
}

void WriteOrDelete(SettingsStore& settings, const QString& key, const QString& value) {
  if (value.trimmed().isEmpty()) {
    settings.Delete(kImap, key);
  } else {
    settings.Write(kImap, key, value.trimmed());
  }
}

void WriteImapOptions(SettingsStore& settings, const ImapOptions& imap) {
  WriteOrDelete(settings, kHost, imap.host);
  const bool defaultPort = ImapPort(imap) == DefaultImapPort(imap.security);
  WriteOrDelete(settings, kPort, defaultPort ? QString() : QString::number(ImapPort(imap)));
  WriteOrDelete(settings, kSecurity,
                imap.security == ImapSecurity::Tls ? QString() : SecurityName(imap.security));
  WriteOrDelete(settings, kUser, imap.user);
  WriteOrDelete(settings, kPasswordCommand, imap.passwordCommand);
  WriteOrDelete(settings, kCertificateFile, imap.certificateFile);
  WriteOrDelete(settings, kCertificateFingerprint, imap.certificateFingerprint);
  WriteOrDelete(settings, kLogin, imap.login == ImapLogin::XOAuth2 ? kXOAuth2 : QString());
  WriteOrDelete(settings, kTimeout,
                imap.timeoutSeconds == kDefaultImapTimeout ? QString()
                                                           : QString::number(imap.timeoutSeconds));
}

bool ReadTick(const SettingsStore& settings, const QString& key) {
  return ReadNumber(settings, kPluggedIn, key, 0) == 1;
}

void WriteTick(SettingsStore& settings, const QString& key, bool ticked) {
  if (ticked) {
    settings.Write(kPluggedIn, key, QStringLiteral("1"));
  } else {
    settings.Delete(kPluggedIn, key);
  }
}

}  // namespace

void PinCertificate(SettingsStore& settings, const QString& fingerprint) {
  WriteOrDelete(settings, kCertificateFingerprint, fingerprint.trimmed());
}

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
  const QString kind = settings.ReadOr(kStore, kKind, QString()).trimmed();
  options.storeKind = kind.compare(QLatin1String("imap"), Qt::CaseInsensitive) == 0
                          ? StoreKind::Imap
                          : StoreKind::Maildir;
  options.imap = ReadImapOptions(settings);
  options.excludedFolders = ExcludedFolders(settings);
  options.pluggedIn = {ReadTick(settings, kPluggedInSync), ReadTick(settings, kRemoveFromMail),
                       ReadTick(settings, kRemoveFromKelvo)};
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
  if (options.storeKind == StoreKind::Imap) {
    settings.Write(kStore, kKind, QStringLiteral("imap"));
  } else {
    settings.Delete(kStore, kKind);
  }
  WriteImapOptions(settings, options.imap);
  WriteTick(settings, kPluggedInSync, options.pluggedIn.sync);
  WriteTick(settings, kRemoveFromMail, options.pluggedIn.removeFromMail);
  WriteTick(settings, kRemoveFromKelvo, options.pluggedIn.removeFromKelvo);
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
  options.excludedFolders = stored.excludedFolders;
  return options;
}

SyncOptions PluggedInSyncOptions(const StoredOptions& stored) {
  SyncOptions options = SyncOptionsOf(stored);
  options.removeFromMail = stored.pluggedIn.removeFromMail;
  options.removeFromKelvo = stored.pluggedIn.removeFromKelvo;
  return options;
}

QSet<QString> ExcludedFolders(const SettingsStore& settings) {
  QSet<QString> excluded;
  for (const QString& key : settings.Keys(kFoldersSection)) {
    if (settings.Read(kFoldersSection, key) == QStringLiteral("1")) excluded.insert(key);
  }
  return excluded;
}

void SetFolderExcluded(SettingsStore& settings, const QString& entryId, bool excluded) {
  if (excluded) {
    settings.Write(kFoldersSection, entryId, QStringLiteral("1"));
  } else {
    settings.Delete(kFoldersSection, entryId);
  }
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

int DefaultImapPort(ImapSecurity security) {
  return security == ImapSecurity::Tls ? 993 : 143;
}

int ImapPort(const ImapOptions& imap) {
  bool number = false;
  const int port = imap.port.trimmed().toInt(&number);
  return number && port > 0 && port <= 65535 ? port : DefaultImapPort(imap.security);
}

QString SettingName(const QString& key) {
  return QStringLiteral("[%1] %2").arg(key == kMaildir || key == kKind ? kStore : kImap, key);
}

QString StateFolder() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (state.isEmpty() || QDir::isRelativePath(state)) {
    const QString home = qEnvironmentVariable("HOME");
    // The root is no one's home: nothing is kept there.
    if (home.isEmpty() || QDir::cleanPath(home) == QStringLiteral("/") || !QDir(home).exists()) {
      return QString();
    }
    state = home + QStringLiteral("/.local/state");
  }
  return QDir::cleanPath(state + QStringLiteral("/zandor"));
}

}  // namespace zandor
