#include "store/private_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "store/byte_names.h"

namespace zandor {
namespace {

constexpr mode_t kFileMode = S_IRUSR | S_IWUSR;
constexpr mode_t kFolderMode = S_IRWXU;

// Only a regular file or folder of the user's own is narrowed: a link is not
// followed, and another's file is left as it is.
void Narrow(const QByteArray& path, mode_t mode, bool folder) {
  struct stat info {};
  if (::lstat(path.constData(), &info) != 0 || info.st_uid != ::geteuid()) return;
  if (folder ? !S_ISDIR(info.st_mode) : !S_ISREG(info.st_mode)) return;
  if ((info.st_mode & 07777) != mode) ::chmod(path.constData(), mode);
}

}  // namespace

bool MakePrivateFolder(const QString& folder) {
  if (folder.isEmpty() || !QDir().mkpath(folder)) return false;
  Narrow(BytesOfText(folder), kFolderMode, true);
  const QDir dir(folder);
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
    Narrow(BytesOfText(dir.filePath(name)), kFileMode, false);
  }
  return true;
}

void MakePrivateFile(const QString& path) {
  Narrow(BytesOfText(path), kFileMode, false);
}

void PreparePrivateDatabase(const QString& path) {
  const QByteArray native = BytesOfText(path);
  // Made here, before SQLite makes it with the umask's mode; a folder, a
  // missing parent or a read-only place is left for SQLite to name.
  const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kFileMode);
  if (fd >= 0) ::close(fd);
  for (const char* companion : {"", "-journal", "-wal", "-shm"}) {
    Narrow(native + companion, kFileMode, false);
  }
}

}  // namespace zandor
