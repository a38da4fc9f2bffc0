#pragma once

#include "support/dovecot_server.h"
#include "support/program_world.h"

namespace zandor::testing {

// The tests' Dovecot holding `count` messages in INBOX, received an hour ago.
inline void FillServer(DovecotServer& server, int count, const QString& subject) {
  MaildirBuilder mail(server.MailRoot(), MaildirLayout::PlusPlus);
  TestMessage message;
  message.subject = subject;
  message.received = message.date = QDateTime::currentDateTimeUtc().addSecs(-3600);
  for (int i = 0; i < count; ++i) mail.Add({QStringLiteral("Inbox")}, message);
  server.Own();
}

// zandor's settings for the account (reached on port, a proxy's perhaps) as
// the settings file's [Store] Kind and [Imap] keys.
inline void UseImapAccount(ProgramWorld& world, const imap::Account& account, quint16 port,
                           const QString& passwordCommand) {
  const auto set = [&world](const char* key, const QString& value) {
    world.Set(QStringLiteral("Imap"), QString::fromLatin1(key), value);
  };
  world.Set(QStringLiteral("Store"), QStringLiteral("Kind"), QStringLiteral("imap"));
  set("Host", account.host);
  set("Port", QString::number(port));
  set("Security",
      account.security == imap::Security::Tls ? QStringLiteral("tls") : QStringLiteral("none"));
  set("CertificateFile", account.certificateFile);
  set("User", account.user);
  set("PasswordCommand", passwordCommand);
}

}  // namespace zandor::testing
