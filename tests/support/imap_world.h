#pragma once

// zandor --sync against the tests' Dovecot: the settings that point a
// world's zandor at the account, reached through a port of the test's own
// (a proxy's).

#include "support/dovecot_server.h"
#include "support/program_world.h"

namespace zandor::testing {

inline QString SecurityName(imap::Security security) {
  switch (security) {
    case imap::Security::Tls:
      return QStringLiteral("tls");
    case imap::Security::StartTls:
      return QStringLiteral("starttls");
    case imap::Security::None:
      break;
  }
  return QStringLiteral("none");
}

// [Store] Kind=imap and the [Imap] keys; the password comes from echo.
inline void UseImapAccount(ProgramWorld& world, const imap::Account& account, quint16 port,
                           const QString& password) {
  const auto set = [&world](const char* key, const QString& value) {
    world.Set(QStringLiteral("Imap"), QString::fromLatin1(key), value);
  };
  world.Set(QStringLiteral("Store"), QStringLiteral("Kind"), QStringLiteral("imap"));
  set("Host", account.host);
  set("Port", QString::number(port));
  set("Security", SecurityName(account.security));
  set("CertificateFile", account.certificateFile);
  set("User", QString::fromLatin1(DovecotServer::kUser));
  set("PasswordCommand", QStringLiteral("echo ") + password);
}

}  // namespace zandor::testing
