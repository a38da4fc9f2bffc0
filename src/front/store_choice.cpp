#include "front/store_choice.h"

#include "store/imap/imap_store.h"

namespace zandor {
namespace {

imap::Security SecurityOf(ImapSecurity security) {
  switch (security) {
    case ImapSecurity::StartTls:
      return imap::Security::StartTls;
    case ImapSecurity::None:
      return imap::Security::None;
    case ImapSecurity::Tls:
      break;
  }
  return imap::Security::Tls;
}

}  // namespace

imap::Account ImapAccountOf(const ImapOptions& options, const QString& password) {
  imap::Account account;
  account.host = options.host.trimmed();
  account.port = static_cast<quint16>(ImapPort(options));
  account.security = SecurityOf(options.security);
  account.user = options.user.trimmed();
  account.password = password;
  account.xoauth2 = options.login == ImapLogin::XOAuth2;
  account.certificateFile = options.certificateFile.trimmed();
  account.certificateFingerprint = options.certificateFingerprint.trimmed();
  account.timeoutSeconds = options.timeoutSeconds;
  return account;
}

std::unique_ptr<MailStore> MakeImapStore(const ImapOptions& options, const QString& password,
                                         const QString& stateFolder, const QLocale& locale,
                                         const Clock& clock) {
  imap::Account account = ImapAccountOf(options, password);
  const QString stateFile = ImapStore::StateFilePath(stateFolder, account);
  return std::make_unique<ImapStore>(std::move(account), stateFile, locale, clock);
}

}  // namespace zandor
