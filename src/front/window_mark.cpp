#include "front/window_mark.h"

#include <fcntl.h>
#include <sys/file.h>

#include <QDir>
#include <QFile>
#include <cerrno>

#include "store/private_files.h"

namespace zandor {
namespace {

UniqueFd OpenMarkFile(const QString& folder) {
  if (folder.isEmpty() || !MakePrivateFolder(folder)) return UniqueFd();
  const QByteArray path = QFile::encodeName(QDir(folder).filePath(QStringLiteral("window.lock")));
  return UniqueFd(::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
}

}  // namespace

std::unique_ptr<WindowMark> WindowMark::Take(const QString& folder) {
  UniqueFd fd = OpenMarkFile(folder);
  // Shared: two windows may be open at once.
  if (!fd.Valid() || ::flock(fd.Get(), LOCK_SH | LOCK_NB) != 0) return nullptr;
  return std::make_unique<WindowMark>(std::move(fd));
}

bool WindowMark::Held(const QString& folder) {
  const UniqueFd fd = OpenMarkFile(folder);
  if (!fd.Valid()) return false;
  if (::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0) return false;  // let go with the file
  return errno == EWOULDBLOCK;
}

}  // namespace zandor
