#pragma once

// The file system side of a Maildir: directory listings, file names, durable
// writes and moves. Every failure comes back with the path and the system's
// reason; nothing here throws.

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "store/store_result.h"

namespace zandor::maildir {

// Paths handed to the system and read from it. A name that is not UTF-8
// survives the round trip byte for byte (see store/byte_names.h).
QByteArray NativePath(const QString& path);
QString FromNativePath(const QByteArray& path);

// `sentence` with the path for %1 and the system's reason for %2: "cannot
// open the folder %1: %2", marked with QT_TRANSLATE_NOOP in the context
// "MaildirFiles" where it is written, translated here.
QString FailureText(const char* sentence, const QByteArray& path, int error);
StoreFailure FailureOf(FailureKind kind, const char* sentence, const QByteArray& path, int error);

bool IsDirectory(const QByteArray& path);
// A Maildir folder has cur, new and tmp, all three folders: a lone cur/ (a
// project's "cur" folder in a home directory) is not one.
bool IsMaildir(const QByteArray& dir);
// Why a directory that may be a mail folder cannot be used: it cannot be
// entered, or it has some of cur, new and tmp but not all three as folders.
// nullopt for a Maildir folder, and for a directory with none of the three.
std::optional<QString> MaildirDamage(const QByteArray& dir);

// Names in a directory, without "." and "..". Regular files or subdirectories
// only, as asked; entries that vanish while listed are left out. errorOut (when
// given) receives errno on failure.
enum class EntryKind { File, Directory };
StoreResult<std::vector<QByteArray>> ListDirectory(const QByteArray& dir, EntryKind kind,
                                                   int* errorOut = nullptr);

// A message file name: the unique name, then ":2," and the flags. A name
// without ":2," (a message still in new/) is all unique name.
struct MessageFileName {
  QString unique;
  QString flags;  // the letters after ":2,", other programs' order kept
};
MessageFileName SplitMessageFileName(const QString& fileName);
// The flags with one more letter, kept in ASCII order as the Maildir rules ask.
QString AddFlag(const QString& flags, QChar flag);
// The delivery time that starts a conventional unique name ("1767225600.M12P34.host").
std::optional<qint64> DeliverySeconds(const QString& unique);
// A fresh unique name delivered at the given time: seconds, a random part, the
// process and the host name with '/' and ':' escaped as the Maildir rules ask.
QString NewUniqueName(qint64 seconds);

// The file of a message in a folder's cur/ or new/, found by unique name
// (another program may have renamed it to change its flags).
std::optional<QByteArray> FindMessageFile(const QByteArray& folderDir, const QString& unique);

// Creates dir (when missing) with cur/, new/ and tmp/. No "maildirfolder"
// marker: Dovecot does not need it, and notmuch takes it for a broken message.
StoreStatus MakeMaildir(const QByteArray& dir);

// Writes a new file (never replacing one) and syncs it to the disk.
StoreStatus WriteNewFileDurably(const QByteArray& path, const QByteArray& data);
// Moves a file without ever replacing an existing one; errorOut receives errno.
StoreStatus MoveNoReplace(const QByteArray& from, const QByteArray& to, int* errorOut = nullptr);
// Syncs a directory, so that a rename in it survives a crash.
StoreStatus SyncDirectory(const QByteArray& dir);

}  // namespace zandor::maildir
