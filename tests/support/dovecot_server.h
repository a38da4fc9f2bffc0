#pragma once

// The tests' Dovecot is the one the demo and the benchmarks use.
#include "mail_server/dovecot_server.h"
#include "support/maildir_builder.h"

namespace zandor::testing {
using sim::DovecotServer;

// The tests' Dovecot holding `count` messages in INBOX, received an hour ago.
inline void FillServer(DovecotServer& server, int count, const QString& subject) {
  MaildirBuilder mail(server.MailRoot(), MaildirLayout::PlusPlus);
  TestMessage message;
  message.subject = subject;
  message.received = message.date = QDateTime::currentDateTimeUtc().addSecs(-3600);
  for (int i = 0; i < count; ++i) mail.Add({QStringLiteral("Inbox")}, message);
  server.Own();
}

}  // namespace zandor::testing
