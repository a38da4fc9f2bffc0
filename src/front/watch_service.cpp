#include "front/watch_service.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(WatchService)
};

using namespace Qt::StringLiterals;

const QString kAutostartName = QStringLiteral("zandor-watch.desktop");

// The folders a systemd user instance finds units in by name; a unit
// installed elsewhere (a prefix in the home folder) is enabled by its path.
bool InUnitSearchPath(const QString& unitFile) {
  const QString folder = QFileInfo(unitFile).absolutePath();
  return folder == QLatin1String("/usr/lib/systemd/user") ||
         folder == QLatin1String("/usr/local/lib/systemd/user") ||
         folder == QLatin1String("/lib/systemd/user");
}

std::optional<QString> WriteAutostart(const WatcherPlaces& places) {
  if (!QDir().mkpath(places.autostartFolder)) {
    return Text::tr("The folder %1 cannot be made.").arg(places.autostartFolder);
  }
  QSaveFile entry(QDir(places.autostartFolder).filePath(kAutostartName));
  if (!entry.open(QIODevice::WriteOnly | QIODevice::Text)) return entry.errorString();
  QString program = places.program;
  program.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), "\\\""_L1);
  entry.write(QStringLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Zandor: synchronise when the Kelvo is plugged in\n"
                             "Exec=\"%1\" --watch\n"
                             "Icon=zandor\n"
                             "Terminal=false\n"
                             "NoDisplay=true\n"
                             "X-GNOME-Autostart-enabled=true\n")
                  .arg(program)
                  .toUtf8());
  if (!entry.commit()) return entry.errorString();
  return std::nullopt;
}

}  // namespace

WatcherPlaces SystemWatcherPlaces() {
  WatcherPlaces places;
  places.program = QCoreApplication::applicationFilePath();
  const QString unit = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                       QStringLiteral("/../lib/systemd/user/") + kWatchUnit);
  if (QFileInfo::exists(unit)) places.unitFile = unit;
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty() || QDir::isRelativePath(config)) config = QDir::homePath() + "/.config"_L1;
  places.autostartFolder = config + "/autostart"_L1;
  places.systemctl = [](const QStringList& arguments, QString* said) {
    QProcess systemctl;
    systemctl.start(QStringLiteral("systemctl"), QStringList{QStringLiteral("--user")} + arguments);
    if (!systemctl.waitForFinished(15000) || systemctl.exitStatus() != QProcess::NormalExit) {
      systemctl.kill();
      return -1;
    }
    if (said != nullptr) *said = QString::fromLocal8Bit(systemctl.readAllStandardError()).trimmed();
    return systemctl.exitCode();
  };
  places.startWatcher = [program = places.program] {
    return QProcess::startDetached(program, {QStringLiteral("--watch")});
  };
  return places;
}

std::optional<QString> TurnWatcher(bool on, const WatcherPlaces& places) {
  const QString entry = QDir(places.autostartFolder).filePath(kAutostartName);
  if (!on && QFile::exists(entry) && !QFile::remove(entry)) {
    return Text::tr("The autostart entry %1 cannot be removed: remove it by hand.").arg(entry);
  }
  // A session without a systemd user instance cannot say its environment.
  const bool systemd = places.systemctl({QStringLiteral("show-environment")}, nullptr) == 0;
  if (!systemd) {
    // A watcher started from the entry stops by itself when the tick goes.
    if (!on) return std::nullopt;
    if (const std::optional<QString> why = WriteAutostart(places)) {
      return Text::tr("The autostart entry %1 cannot be written: %2").arg(entry, *why);
    }
    if (!places.startWatcher()) {
      return Text::tr("zandor --watch could not be started: it starts at the next login.");
    }
    return std::nullopt;
  }
  const QString unit = !places.unitFile.isEmpty() && !InUnitSearchPath(places.unitFile)
                           ? places.unitFile
                           : kWatchUnit;
  QString said;
  const QStringList arguments{on ? QStringLiteral("enable") : QStringLiteral("disable"),
                              QStringLiteral("--now"), on ? unit : kWatchUnit};
  if (places.systemctl(arguments, &said) == 0) return std::nullopt;
  return Text::tr(
             "systemctl --user %1 failed%2.\n\rIs Zandor installed (cmake --install, or "
             "its .deb), with %3 under lib/systemd/user? Run the command in a terminal "
             "to see more.")
      .arg(arguments.join(QLatin1Char(' ')),
           said.isEmpty() ? QString() : QStringLiteral(": ") + said, kWatchUnit);
}

}  // namespace zandor
