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

}  // namespace zandor::testing
