#include "ui/settings_file_watch.h"

#include <QFileInfo>

namespace zandor {

SettingsFileWatch::SettingsFileWatch(const QString& path, std::function<void()> changed,
                                     QObject* parent)
    : QObject(parent), path_(path), changed_(std::move(changed)) {
  settle_.setSingleShot(true);
  settle_.setInterval(100);
  connect(&settle_, &QTimer::timeout, this, [this] {
    Rewatch();
    changed_();
  });
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { settle_.start(); });
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
    // Another file of the folder, or the file replaced: only the latter counts.
    if (!watcher_.files().contains(path_) && QFileInfo::exists(path_)) settle_.start();
  });
  Rewatch();
}

void SettingsFileWatch::Rewatch() {
  const QString folder = QFileInfo(path_).absolutePath();
  if (QFileInfo(folder).isDir() && !watcher_.directories().contains(folder)) {
    watcher_.addPath(folder);
  }
  if (QFileInfo::exists(path_) && !watcher_.files().contains(path_)) watcher_.addPath(path_);
}

}  // namespace zandor
