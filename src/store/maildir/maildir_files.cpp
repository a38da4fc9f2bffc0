#include "store/maildir/maildir_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "store/byte_names.h"

namespace zandor::maildir {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(MaildirFiles)
};
// The context the sentences passed to FailureText are marked in.
constexpr const char* kContext = "MaildirFiles";

struct DirCloser {
  void operator()(DIR* dir) const {
    if (dir != nullptr) closedir(dir);
  }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

// Owns a file descriptor.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now, reporting the error that close may bring (a full disk on NFS).
  int Close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

const QString kInfoSeparator = QStringLiteral(":2,");

}  // namespace

QByteArray NativePath(const QString& path) {
  return BytesOfText(path);
}
QString FromNativePath(const QByteArray& path) {
  return TextOfBytes(path);
}

QString FailureText(const char* sentence, const QByteArray& path, int error) {
  // The sentence comes marked for translation, in this file's context.
  return QCoreApplication::translate(kContext, sentence)
      .arg(FromNativePath(path), QString::fromLocal8Bit(std::strerror(error)));
}

StoreFailure FailureOf(FailureKind kind, const char* sentence, const QByteArray& path, int error) {
  return StoreFailure{kind, FailureText(sentence, path, error)};
}

bool IsDirectory(const QByteArray& path) {
  struct stat info {};
  return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsMaildir(const QByteArray& dir) {
  return IsDirectory(dir + "/cur") && IsDirectory(dir + "/new") && IsDirectory(dir + "/tmp");
}

std::optional<QString> MaildirDamage(const QByteArray& dir) {
  if (::access(dir.constData(), R_OK | X_OK) != 0) {
    //: Why a folder cannot be used; %1 is the system's reason
    return Text::tr("it cannot be entered (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
  }
  QStringList wrong;
  bool any = false;
  for (const char* part : {"cur", "new", "tmp"}) {
    struct stat info {};
    const bool exists = ::stat((dir + '/' + part).constData(), &info) == 0;
    any = any || exists;
    if (!exists || !S_ISDIR(info.st_mode)) wrong << QLatin1String(part);
  }
  if (!any || wrong.isEmpty()) return std::nullopt;
  if (wrong.size() == 1) {
    //: “it” is a mail folder; %1 is cur, new or tmp
    return Text::tr("it is damaged: %1 is not a folder").arg(wrong.front());
  }
  //: Joins the names of cur, new and tmp: “cur and new”
  const QString names = wrong.join(Text::tr(" and "));
  //: “it” is a mail folder; %1 is two or three of cur, new and tmp, joined by “ and ”
  return Text::tr("it is damaged: %1 are not folders").arg(names);
}

StoreResult<std::vector<QByteArray>> ListDirectory(const QByteArray& dir, EntryKind kind,
                                                   int* errorOut) {
  DirPtr handle(::opendir(dir.constData()));
  if (!handle) {
    const int error = errno;
    if (errorOut != nullptr) *errorOut = error;
    //: %1 is a folder, %2 the system's reason
    return FailureOf(FailureKind::Folder,
                     QT_TRANSLATE_NOOP("MaildirFiles", "cannot read the folder %1: %2"), dir,
                     error);
  }
  std::vector<QByteArray> names;
  for (;;) {
    // readdir tells its own failure only through errno; a failed stat of one
    // entry (a dangling link, a link loop) must not read as one.
    errno = 0;
    const dirent* entry = ::readdir(handle.get());
    if (entry == nullptr) break;
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    unsigned char type = entry->d_type;
    if (type == DT_UNKNOWN || type == DT_LNK) {
      struct stat info {};
      const QByteArray full = dir + '/' + name;
      if (::stat(full.constData(), &info) == 0) {
        type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
      } else if (errno == ENOENT) {
        continue;  // vanished, or a dangling link
      } else {
        // A link whose target cannot be reached (a folder the user may not
        // enter, a loop) is listed as a file, so that reading it names it.
        type = DT_REG;
      }
    }
    if ((kind == EntryKind::File && type == DT_REG) ||
        (kind == EntryKind::Directory && type == DT_DIR)) {
      names.emplace_back(name);
    }
  }
  if (errno != 0) {
    const int error = errno;
    if (errorOut != nullptr) *errorOut = error;
    //: %1 is a folder, %2 the system's reason
    return FailureOf(FailureKind::Folder,
                     QT_TRANSLATE_NOOP("MaildirFiles", "cannot read the folder %1: %2"), dir,
                     error);
  }
  return names;
}

MessageFileName SplitMessageFileName(const QString& fileName) {
  const qsizetype info = fileName.lastIndexOf(kInfoSeparator);
  if (info < 0) return {fileName, QString()};
  return {fileName.left(info), fileName.mid(info + kInfoSeparator.size())};
}

QString AddFlag(const QString& flags, QChar flag) {
  if (flags.contains(flag)) return flags;
  QString result = flags;
  qsizetype at = 0;
  while (at < result.size() && result[at] < flag) ++at;
  result.insert(at, flag);
  return result;
}

std::optional<qint64> DeliverySeconds(const QString& unique) {
  const qsizetype dot = unique.indexOf(QLatin1Char('.'));
  if (dot < 9 || dot > 11) return std::nullopt;  // seconds since 1970: 9 to 11 digits
  bool ok = false;
  const qint64 seconds = unique.left(dot).toLongLong(&ok);
  if (!ok || seconds <= 0) return std::nullopt;
  for (qsizetype i = 0; i < dot; ++i) {
    if (!unique[i].isDigit()) return std::nullopt;
  }
  return seconds;
}

QString NewUniqueName(qint64 seconds) {
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0 || host[0] == '\0') std::strcpy(host, "localhost");
  QString hostName = QString::fromLocal8Bit(host);
  hostName.replace(QLatin1Char('/'), QStringLiteral("\\057"));
  hostName.replace(QLatin1Char(':'), QStringLiteral("\\072"));
  const quint64 random = QRandomGenerator::system()->generate64();
  return QStringLiteral("%1.R%2P%3.%4")
      .arg(seconds)
      .arg(random, 16, 16, QLatin1Char('0'))
      .arg(static_cast<qint64>(::getpid()))
      .arg(hostName);
}

std::optional<QByteArray> FindMessageFile(const QByteArray& folderDir, const QString& unique) {
  for (const char* sub : {"/cur", "/new"}) {
    const QByteArray dir = folderDir + sub;
    auto names = ListDirectory(dir, EntryKind::File);
    if (!names) continue;
    for (const QByteArray& name : names.value()) {
      if (SplitMessageFileName(FromNativePath(name)).unique == unique) return dir + '/' + name;
    }
  }
  return std::nullopt;
}

StoreStatus MakeMaildir(const QByteArray& dir) {
  for (const QByteArray& path : {dir, dir + "/cur", dir + "/new", dir + "/tmp"}) {
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
      //: %1 is a folder, %2 the system's reason
      return FailureOf(FailureKind::Store,
                       QT_TRANSLATE_NOOP("MaildirFiles", "cannot create the folder %1: %2"), path,
                       errno);
    }
  }
  return Done{};
}

StoreStatus WriteNewFileDurably(const QByteArray& path, const QByteArray& data) {
  Fd fd(::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (fd.get() < 0)
    //: %1 is a file, %2 the system's reason
    return FailureOf(FailureKind::Store, QT_TRANSLATE_NOOP("MaildirFiles", "cannot create %1: %2"),
                     path, errno);
  const char* at = data.constData();
  qsizetype left = data.size();
  while (left > 0) {
    const ssize_t written = ::write(fd.get(), at, static_cast<size_t>(left));
    if (written < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::unlink(path.constData());
      //: %1 is a file, %2 the system's reason
      return FailureOf(FailureKind::Store, QT_TRANSLATE_NOOP("MaildirFiles", "cannot write %1: %2"),
                       path, error);
    }
    at += written;
    left -= written;
  }
  if (::fsync(fd.get()) != 0) {
    const int error = errno;
    ::unlink(path.constData());
    //: %1 is a file, %2 the system's reason
    return FailureOf(FailureKind::Store, QT_TRANSLATE_NOOP("MaildirFiles", "cannot write %1: %2"),
                     path, error);
  }
  if (const int error = fd.Close(); error != 0) {
    ::unlink(path.constData());
    //: %1 is a file, %2 the system's reason
    return FailureOf(FailureKind::Store, QT_TRANSLATE_NOOP("MaildirFiles", "cannot write %1: %2"),
                     path, error);
  }
  return Done{};
}

StoreStatus MoveNoReplace(const QByteArray& from, const QByteArray& to, int* errorOut) {
  auto fail = [&](int error) {
    if (errorOut != nullptr) *errorOut = error;
    //: %1 is the message file, %2 the system's reason
    return FailureOf(FailureKind::Store,
                     QT_TRANSLATE_NOOP("MaildirFiles", "cannot move the message file %1: %2"), from,
                     error);
  };
  if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
    return Done{};
  }
  if (errno != EINVAL && errno != ENOSYS) return fail(errno);
  // File systems without the no-replace rename: a hard link fails on an
  // existing name just the same.
  if (::link(from.constData(), to.constData()) != 0) return fail(errno);
  if (::unlink(from.constData()) != 0) return fail(errno);
  return Done{};
}

StoreStatus SyncDirectory(const QByteArray& dir) {
  Fd fd(::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0)
    //: %1 is a folder, %2 the system's reason
    return FailureOf(FailureKind::Store,
                     QT_TRANSLATE_NOOP("MaildirFiles", "cannot open the folder %1: %2"), dir,
                     errno);
  if (::fsync(fd.get()) != 0 && errno != EINVAL)
    //: %1 is a folder, %2 the system's reason; syncing flushes its changes to the disk
    return FailureOf(FailureKind::Store,
                     QT_TRANSLATE_NOOP("MaildirFiles", "cannot sync the folder %1: %2"), dir,
                     errno);
  return Done{};
}

}  // namespace zandor::maildir
