#pragma once

#include <QSet>
#include <QString>
#include <array>
#include <optional>

#include "settings/settings_store.h"
#include "settings/sync_options.h"

namespace zandor {

// Where the mail lives.
enum class StoreKind { Maildir, Imap };
// How the IMAP session is protected; None is for this machine only.
enum class ImapSecurity { Tls, StartTls, None };
// How the user proves who they are: a password, or an OAuth 2.0 access token
// (SASL XOAUTH2) that the password command prints, as the big providers ask.
enum class ImapLogin { Password, XOAuth2 };

// The [Imap] section. The password is never stored here: the window keeps it
// in the desktop keyring, zandor --sync runs the password command.
// Seconds without a byte from the IMAP server before it is left.
inline constexpr int kDefaultImapTimeout = 30;

struct ImapOptions {
  QString host;
  QString port;  // as typed; empty for the security's default
  ImapSecurity security = ImapSecurity::Tls;
  QString unknownSecurity;  // as stored, when it names none of them; then Tls
  QString user;
  QString passwordCommand;
  QString certificateFile;         // trusted in place of the system's certificates
  QString certificateFingerprint;  // the server's own certificate, trusted on purpose
  ImapLogin login = ImapLogin::Password;
  int timeoutSeconds = kDefaultImapTimeout;  // a silent server is left after it
  bool operator==(const ImapOptions&) const = default;
};

// What a synchronisation started by plugging the Kelvo in may do. Nobody is
// there to answer a question, so the removals are agreed to here beforehand,
// and a full synchronisation is never automatic.
struct PluggedInOptions {
  bool sync = false;             // synchronise when the Kelvo's port appears
  bool removeFromMail = false;   // also remove messages deleted on the Kelvo
  bool removeFromKelvo = false;  // also remove from the Kelvo messages deleted in the mail
  bool operator==(const PluggedInOptions&) const = default;
};

// The options as the settings store keeps them. Where each lives and how it
// is written stands in one place, stored_options.cpp: the window's load, the
// options dialog's OK, Load and Cancel and the headless run all go through
// it. The removal boxes and the full-sync box are never stored.
struct StoredOptions {
  int port = 1;                                        // 1..4; 0 for no selection
  DateRange range = DateRange::NotChosen;              // no default: none selected
  std::optional<ConversionMode> conversion;            // nullopt: no button selected
  LongMessages longMessages = LongMessages::Truncate;  // the long-message list
  QString parts = QStringLiteral("0");                 // the parts box's text
  std::array<QString, 4> portPaths;                    // the device behind Com 1..Com 4
  QString mailFolder;                                  // as typed; empty for the default
  StoreKind storeKind = StoreKind::Maildir;
  ImapOptions imap;
  QSet<QString> excludedFolders;  // the folders whose tick the user cleared
  PluggedInOptions pluggedIn;
};

// The settings section of the folders left out of synchronisation, by entry
// id. A folder is left out only when its key holds exactly "1"; a folder the
// store does not name takes part.
inline const QString kFoldersSection = QStringLiteral("Folders");
QSet<QString> ExcludedFolders(const SettingsStore& settings);
// Ticking a folder deletes its key, clearing the tick writes "1".
void SetFolderExcluded(SettingsStore& settings, const QString& entryId, bool excluded);

// The stored options: the lists from their stored numbers, the three
// conversion buttons restored in the order Russian, Dravo, Western (the last
// selected one wins, and none may be), the device paths with their defaults.
StoredOptions ReadStoredOptions(const SettingsStore& settings);

// What OK stores. The parts box is stored as typed (its number plus one); a
// device path is written only where it differs from what the store gives
// now, so that an untouched entry keeps following the default; the default
// mail folder is left unstored, so that it keeps following the home folder.
void WriteStoredOptions(SettingsStore& settings, const StoredOptions& options);

// Trusts the server's certificate by its SHA-256 fingerprint from now on, in
// place of the authorities; an empty fingerprint forgets the one trusted.
void PinCertificate(SettingsStore& settings, const QString& fingerprint);

// A synchronisation's options from the stored ones, the three boxes that are
// never stored cleared.
SyncOptions SyncOptionsOf(const StoredOptions& stored);

// The options of a synchronisation started by plugging the Kelvo in: the
// stored ones, no full synchronisation, the removals agreed to for such runs.
SyncOptions PluggedInSyncOptions(const StoredOptions& stored);

// The first-run step of the main window's load: on a first start (no port
// stored, or "0") it stores port 1 and the range "Last 7 days".
void RunFirstRunStep(SettingsStore& settings);

// A list position from a stored number: the number rounded to the nearest
// whole one (halves to even), minus 1; -1 leaves no selection; anything
// outside -1..count-1 (only a hand-edited store holds such) gives fallback.
int StoredListPosition(double stored, int count, int fallback);

// A number as decimal text, as OK stores SplitNum and the parts box shows it:
// up to 15 significant digits, "0" for either zero.
QString NumberText(double value);

// The device path behind "Com 1".."Com 4" (port 1..4) when none is stored.
QString DefaultPortPath(int port);

// The mail folder a text names: empty is ~/Maildir, a leading "~" is the home
// folder. StoredMailFolder is the one the settings name.
QString MailFolderPath(const QString& text);
QString StoredMailFolder(const SettingsStore& settings);

// 993 for TLS, 143 otherwise.
int DefaultImapPort(ImapSecurity security);
// The port the options name: the typed one when it is a port number, else
// the security's default.
int ImapPort(const ImapOptions& imap);

// Where a setting lives, as a user may look for it: "[Imap] PasswordCommand".
QString SettingName(const QString& key);

// The folder of the program's state (run logs, an IMAP account's marks):
// $XDG_STATE_HOME/zandor, by default ~/.local/state/zandor. Empty when there
// is no home to put it in.
QString StateFolder();

}  // namespace zandor
