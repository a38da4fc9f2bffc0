#include "settings/password_command.h"

#include <QCoreApplication>
#include <QProcess>

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(PasswordCommand)
};

QString FirstLine(const QByteArray& bytes) {
  return QString::fromLocal8Bit(bytes).section(QLatin1Char('\n'), 0, 0).remove(QLatin1Char('\r'));
}

// "; it said: <first line of standard error>", or nothing when it said nothing.
QString Said(QProcess& process) {
  const QString said = FirstLine(process.readAllStandardError()).trimmed();
  //: Ends the password command's failures below; %1 is the first line it wrote to its error output
  return said.isEmpty() ? QString() : Text::tr("; it said: %1").arg(said);
}

}  // namespace

CommandPassword RunPasswordCommand(const QString& command, int timeoutMilliseconds) {
  //: Why the password command gave no password
  if (command.trimmed().isEmpty()) return CommandFailure{Text::tr("no command is set")};
  QProcess process;
  process.setStandardInputFile(QProcess::nullDevice());
  process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
  if (!process.waitForStarted(timeoutMilliseconds)) {
    //: %1 is the system's reason
    return CommandFailure{Text::tr("/bin/sh could not be started: %1").arg(process.errorString())};
  }
  if (!process.waitForFinished(timeoutMilliseconds)) {
    process.kill();
    process.waitForFinished();
    //: %1 is a number of seconds, %2 is “; it said: …” or nothing
    return CommandFailure{Text::tr("the command did not finish within %1 seconds%2")
                              .arg(timeoutMilliseconds / 1000.0)
                              .arg(Said(process))};
  }
  if (process.exitStatus() != QProcess::NormalExit) {
    //: %1 is “; it said: …” or nothing
    return CommandFailure{Text::tr("the command crashed%1").arg(Said(process))};
  }
  if (process.exitCode() != 0) {
    return CommandFailure{
        //: %1 is the command's exit status, %2 is “; it said: …” or nothing
        Text::tr("the command ended with status %1%2").arg(process.exitCode()).arg(Said(process))};
  }
  const QString password = FirstLine(process.readAllStandardOutput());
  if (password.isEmpty()) {
    //: %1 is “; it said: …” or nothing
    return CommandFailure{Text::tr("the command printed no password%1").arg(Said(process))};
  }
  return password;
}

}  // namespace zandor
