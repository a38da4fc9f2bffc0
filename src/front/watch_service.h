#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace zandor {

// The name of the systemd user service that runs zandor --watch.
inline const QString kWatchUnit = QStringLiteral("zandor-watch.service");

// Where zandor --watch is switched on and off.
struct WatcherPlaces {
  QString program;          // this program, for the autostart entry
  QString unitFile;         // the service installed with it; empty when none was
  QString autostartFolder;  // $XDG_CONFIG_HOME/autostart
  // Runs systemctl with the arguments; its exit status (-1: it did not run)
  // and what it said on its error stream.
  std::function<int(const QStringList& arguments, QString* said)> systemctl;
  // Starts zandor --watch now, apart from this process.
  std::function<bool()> startWatcher;
};

// The real ones: the service beside the program (../lib/systemd/user), the
// folder of $XDG_CONFIG_HOME, systemctl from PATH.
WatcherPlaces SystemWatcherPlaces();

// Runs zandor --watch from now on and at each login, or no more: through the
// session's systemd user instance (`systemctl --user enable --now`), else
// through an autostart entry, started at once. A watcher stops by itself
// when the setting is cleared. The reason, with what to do, when it could not.
std::optional<QString> TurnWatcher(bool on, const WatcherPlaces& places);

}  // namespace zandor
