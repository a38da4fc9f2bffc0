#pragma once

#include <QString>

namespace zandor {

// What the program keeps of the user's mail (run logs naming subjects and
// senders, the sent marks, their journals and locks) is the user's alone,
// whatever the umask: folders 0700, files 0600. Files made by earlier
// versions with wider modes are narrowed when next used.

// Makes the folder (with its parents) when it is missing, and narrows it and
// every file directly in it; false when it cannot be made.
bool MakePrivateFolder(const QString& folder);

// Narrows the file when it is there and the user's; nothing otherwise.
void MakePrivateFile(const QString& path);

// Opens the file for the state database, made 0600 when missing, and narrows
// it with its SQLite companions (-journal, -wal, -shm), which SQLite makes
// with the database's own mode.
void PreparePrivateDatabase(const QString& path);

}  // namespace zandor
