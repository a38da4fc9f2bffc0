#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <memory>
#include <optional>
#include <utility>

namespace zandor {

// A file descriptor that is closed with its owner.
class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd();
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

// Whether a device path is there and ours to open now.
bool PortUsable(const QString& path);

// Tells when a device path comes and goes, so that plugging the Kelvo's
// adapter in can start a synchronisation. It watches, through inotify, the
// deepest folder on the way to the path that exists (udev makes
// /dev/serial/by-id only while an adapter is in, so that may be /dev), and
// moves down and up as folders come and go: the process sleeps until one of
// them changes, with no timer and no polling. The path counts as there when
// it leads to a device the user may read and write: a node that the kernel
// has made but udev not yet handed to the dialout group is not there yet.
class PortPresence final : public QObject {
  Q_OBJECT

 public:
  explicit PortPresence(QObject* parent = nullptr);
  ~PortPresence() override;

  // Watches path from now on, in place of the one before; whether it is
  // there now is Present(), told by no signal. The reason when it cannot.
  std::optional<QString> Watch(const QString& path);
  const QString& Path() const { return path_; }
  bool Present() const { return present_; }

 Q_SIGNALS:
  void Appeared();
  void Vanished();

 private:
  // Watches the deepest folder that exists now; then looks at the path.
  void Rearm();
  void OnEvents();

  UniqueFd inotify_;
  std::unique_ptr<QSocketNotifier> notifier_;
  int watch_ = -1;
  QString watchedFolder_;
  QString path_;
  bool present_ = false;
};

}  // namespace zandor
