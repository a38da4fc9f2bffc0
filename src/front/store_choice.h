#pragma once

#include <QLocale>
#include <QString>
#include <memory>
#include <optional>

#include "session/clock.h"
#include "settings/stored_options.h"
#include "store/imap/imap_account.h"
#include "store/mail_store.h"

namespace zandor {

// A setting of the account that cannot be used as it is: its key ("Host",
// "Port", "Security"), its value and what it may be.
struct WrongSetting {
  const char* key;
  QString value;
  QString allowed;
};
std::optional<WrongSetting> WrongImapSetting(const ImapOptions& options);

// The account the [Imap] options name, with the password given.
imap::Account ImapAccountOf(const ImapOptions& options, const QString& password);

// The IMAP store of the options; its sent marks live in a file of the
// account's in stateFolder. Connects on first use.
std::unique_ptr<MailStore> MakeImapStore(const ImapOptions& options, const QString& password,
                                         const QString& stateFolder, const QLocale& locale,
                                         const Clock& clock);

// Whether the server of the options can be reached and its certificate is
// trusted, without logging in.
StoreStatus ReachImapServer(const ImapOptions& options);

}  // namespace zandor
