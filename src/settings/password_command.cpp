#include "settings/password_command.h"

#include <QProcess>

namespace zandor {
namespace {

QString FirstLine(const QByteArray& bytes) {
  return QString::fromLocal8Bit(bytes).section(QLatin1Char('\n'), 0, 0).remove(QLatin1Char('\r'));
}

// "; it said: <first line of standard error>", or nothing when it said nothing.
QString Said(QProcess& process) {
  const QString said = FirstLine(process.readAllStandardError()).trimmed();
  return said.isEmpty() ? QString() : QStringLiteral("; it said: %1").arg(said);
}

}  // namespace

CommandPassword RunPasswordCommand(const QString& command, int timeoutMilliseconds) {
  if (command.trimmed().isEmpty()) return CommandFailure{QStringLiteral("no command is set")};
  QProcess process;
  process.setStandardInputFile(QProcess::nullDevice());
  process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
  if (!process.waitForStarted(timeoutMilliseconds)) {
    return CommandFailure{
        QStringLiteral("/bin/sh could not be started: %1").arg(process.errorString())};
  }
  if (!process.waitForFinished(timeoutMilliseconds)) {
    process.kill();
    process.waitForFinished();
    return CommandFailure{QStringLiteral("the command did not finish within %1 seconds%2")
                              .arg(timeoutMilliseconds / 1000.0)
                              .arg(Said(process))};
  }
  if (process.exitStatus() != QProcess::NormalExit) {
    return CommandFailure{QStringLiteral("the command crashed%1").arg(Said(process))};
  }
  if (process.exitCode() != 0) {
    return CommandFailure{QStringLiteral("the command ended with status %1%2")
                              .arg(process.exitCode())
                              .arg(Said(process))};
  }
  const QString password = FirstLine(process.readAllStandardOutput());
  if (password.isEmpty()) {
    return CommandFailure{QStringLiteral("the command printed no password%1").arg(Said(process))};
  }
  return password;
}

}  // namespace zandor
