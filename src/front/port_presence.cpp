#include "front/port_presence.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <array>
#include <cerrno>
#include <cstring>

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(PortPresence)
};

// A folder's entries made, removed, renamed or given other rights, and the
// folder itself going.
constexpr uint32_t kFolderEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB |
                                   IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// The deepest folder on the way to path that exists.
QString DeepestFolder(const QString& path) {
  QString folder = QFileInfo(path).absolutePath();
  while (!QFileInfo(folder).isDir() && folder != QLatin1String("/")) {
    folder = QFileInfo(folder).absolutePath();
  }
  return folder;
}

}  // namespace

UniqueFd::~UniqueFd() {
  if (fd_ >= 0) ::close(fd_);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

bool PortUsable(const QString& path) {
  const QByteArray local = QFile::encodeName(path);
  return !path.isEmpty() && ::access(local.constData(), R_OK | W_OK) == 0 &&
         !QFileInfo(path).isDir();
}

PortPresence::PortPresence(QObject* parent) : QObject(parent) {}

PortPresence::~PortPresence() = default;

std::optional<QString> PortPresence::Watch(const QString& path) {
  if (!inotify_.Valid()) {
    inotify_ = UniqueFd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (!inotify_.Valid()) {
      return Text::tr("the system does not let the port be watched (inotify: %1)")
          .arg(QString::fromLocal8Bit(std::strerror(errno)));
    }
    notifier_ = std::make_unique<QSocketNotifier>(inotify_.Get(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &PortPresence::OnEvents);
  }
  path_ = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  watchedFolder_.clear();
  Rearm();
  if (watch_ < 0) {
    return Text::tr("%1 cannot be watched: %2")
        .arg(DeepestFolder(path_), QString::fromLocal8Bit(std::strerror(errno)));
  }
  present_ = PortUsable(path_);
  return std::nullopt;
}

void PortPresence::Rearm() {
  // A folder made between the look and the watch would be missed: look
  // again until the watched one is still the deepest.
  for (QString folder = DeepestFolder(path_); folder != watchedFolder_;
       folder = DeepestFolder(path_)) {
    const int added =
        ::inotify_add_watch(inotify_.Get(), QFile::encodeName(folder).constData(), kFolderEvents);
    if (added < 0) {
      if (errno == ENOENT || errno == ENOTDIR) continue;  // gone again meanwhile
      return;
    }
    if (watch_ >= 0 && watch_ != added) ::inotify_rm_watch(inotify_.Get(), watch_);
    watch_ = added;
    watchedFolder_ = folder;
  }
}

void PortPresence::OnEvents() {
  // What happened matters less than how things stand after it: drain the
  // events, then look.
  alignas(inotify_event) std::array<char, 4096> buffer{};
  bool folderGone = false;
  for (ssize_t got = 0; (got = ::read(inotify_.Get(), buffer.data(), buffer.size())) > 0;) {
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
      if (event->wd == watch_ && (event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF))) {
        folderGone = true;
      }
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  if (folderGone) {
    if (watch_ >= 0) ::inotify_rm_watch(inotify_.Get(), watch_);
    watch_ = -1;
    watchedFolder_.clear();
  }
  Rearm();
  const bool present = PortUsable(path_);
  if (present == present_) return;
  present_ = present;
  if (present) {
    Q_EMIT Appeared();
  } else {
    Q_EMIT Vanished();
  }
}

}  // namespace zandor
