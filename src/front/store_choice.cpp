#include "front/store_choice.h"

#include <arpa/inet.h>

#include <QCoreApplication>
#include <algorithm>

#include "store/imap/imap_store.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(StoreChoice)
};

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

// An IPv6 address in its shortest form ("::1"), from the address with or
// without the brackets a URL puts around it; empty when it is none.
QString Ipv6Address(QString host) {
  if (host.startsWith(u'[') && host.endsWith(u']')) host = host.mid(1, host.size() - 2);
  in6_addr address{};
  char text[INET6_ADDRSTRLEN];
  if (inet_pton(AF_INET6, host.toLatin1().constData(), &address) != 1 ||
      inet_ntop(AF_INET6, &address, text, sizeof text) == nullptr) {
    return QString();
  }
  return QString::fromLatin1(text);
}

// The host as the server is reached: an IPv6 address without its brackets.
QString HostOf(const QString& written) {
  const QString host = written.trimmed();
  const QString ipv6 = Ipv6Address(host);
  return ipv6.isEmpty() ? host : ipv6;
}

bool HostName(const QString& host) {
  if (host.isEmpty() || host.startsWith(u'-') || host.startsWith(u'.')) return false;
  return std::all_of(host.begin(), host.end(), [](QChar c) {
    return c.isLetterOrNumber() || c == u'-' || c == u'.' || c == u'_';
  });
}

}  // namespace

std::optional<WrongSetting> WrongImapSetting(const ImapOptions& options) {
  const QString host = options.host.trimmed();
  if (Ipv6Address(host).isEmpty() && !HostName(host)) {
    return WrongSetting{"Host", options.host,
                        Text::tr("the server's name or address, such as imap.example.org, "
                                 "192.0.2.7 or ::1 (no port and no scheme)")};
  }
  const QString port = options.port.trimmed();
  bool number = false;
  const int value = port.toInt(&number);
  if (!port.isEmpty() && (!number || value < 1 || value > 65535)) {
    return WrongSetting{"Port", options.port,
                        Text::tr("a number from 1 to 65535, or no Port for the security's "
                                 "own (993 with tls, 143 otherwise)")};
  }
  if (!options.unknownSecurity.isEmpty()) {
    return WrongSetting{"Security", options.unknownSecurity,
                        Text::tr("tls, starttls or none (no Security for tls)")};
  }
  return std::nullopt;
}

imap::Account ImapAccountOf(const ImapOptions& options, const QString& password) {
  imap::Account account;
  account.host = HostOf(options.host);
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

StoreStatus ReachImapServer(const ImapOptions& options) {
  return ImapStore::ReachServer(ImapAccountOf(options, QString()));
}

}  // namespace zandor
