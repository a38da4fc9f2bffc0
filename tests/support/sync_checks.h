#pragma once

// What whole-synchronisation tests read back from the Maildir and the Kelvo
// model, shared by the in-process and the window tests.

#include <QDir>
#include <QStringList>

#include "model/kelvo_device.h"
#include "support/maildir_builder.h"

namespace zandor::testing {

// Message files in a folder's cur/ and new/ (by decoded path).
inline int MessageFilesIn(MaildirBuilder& builder, const QStringList& folder) {
  const QDir base(builder.Folder(folder));
  return static_cast<int>(QDir(base.filePath(QStringLiteral("cur"))).entryList(QDir::Files).size() +
                          QDir(base.filePath(QStringLiteral("new"))).entryList(QDir::Files).size());
}

// The entry ids the Kelvo holds, in its order.
inline QStringList HeldEntryIdsOf(const sim::KelvoDevice& device) {
  QStringList ids;
  for (const sim::HeldMessage& held : device.Held()) ids << QString::fromUtf8(held.entryId);
  return ids;
}

// A message written on the Kelvo: subject, recipient and body in plain ASCII.
inline sim::WrittenMessage Written(const char* subject, const char* to, const char* body) {
  sim::WrittenMessage message;
  message.fields[0] = subject;
  message.fields[2] = to;
  message.fields[3] = body;
  return message;
}

}  // namespace zandor::testing
