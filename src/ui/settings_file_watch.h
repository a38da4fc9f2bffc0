#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace zandor {

// Calls back when the settings file changes on disk: edited by hand, or
// written by another Zandor. The file is replaced whole when written (and may
// not exist yet), so its folder is watched too; a burst of changes calls back
// once.
class SettingsFileWatch final : public QObject {
 public:
  SettingsFileWatch(const QString& path, std::function<void()> changed, QObject* parent);

 private:
  void Rewatch();

  QString path_;
  QFileSystemWatcher watcher_;
  QTimer settle_;
  std::function<void()> changed_;
};

}  // namespace zandor
