// zandor: the window, or with --sync one synchronisation without a window.
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app/command_line.h"
#include "app/headless_run.h"
#include "app/languages.h"
#include "app/watch_run.h"

#ifdef ZANDOR_HAVE_UI
#include <QApplication>

#include "app/line_transcript.h"
#include "link/qt_serial_line.h"
#include "ui/window_app.h"
#endif

namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(Main)
};

using zandor::CommandLine;

// Reports a usage error the way command-line tools do; returns the status.
int UsageError(const QString& error) {
  QTextStream err(stderr);
  err << "zandor: " << error << '\n'
      << Text::tr("Try 'zandor --help' for more information.") << '\n';
  return zandor::kExitUsage;
}

// --help, --version, --sync and --watch: no window, so no display is needed.
int RunWithoutWindow(int argc, char** argv) {
  const QCoreApplication app(argc, argv);
  const zandor::Languages languages;
  const zandor::ParsedCommandLine parsed = zandor::ParseCommandLine(app.arguments().mid(1));
  if (!parsed.line) return UsageError(parsed.error);
  QTextStream out(stdout);
  QTextStream err(stderr);
  switch (parsed.line->mode) {
    case CommandLine::Mode::Help:
      out << zandor::UsageText();
      return zandor::kExitOk;
    case CommandLine::Mode::Version:
      out << "zandor " << ZANDOR_VERSION << '\n';
      return zandor::kExitOk;
    case CommandLine::Mode::Sync:
      return zandor::RunHeadless(*parsed.line, out, err);
    case CommandLine::Mode::Watch:
      return zandor::RunWatcher(*parsed.line, out, err);
    case CommandLine::Mode::Window:
      break;
  }
  return UsageError(Text::tr("this build has no window; use --sync."));
}

#ifdef ZANDOR_HAVE_UI
// Whether a window can be shown: a display, or a platform named for Qt.
// Without one Qt would abort; the user gets the way to run headless instead.
bool HasDisplay(const QStringList& arguments) {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    if (!qEnvironmentVariableIsEmpty(variable)) return true;
  }
  return arguments.contains(QStringLiteral("-platform"));
}

// What ExplainFailedWindow says, worded before the window's application
// starts: Qt's message handler takes no state of its own.
QString& FailedWindowText() {
  static QString text;
  return text;
}

// Qt ends with abort() when no platform plugin can start: a display that is
// gone (DISPLAY=:99 with no server), a mistyped QT_QPA_PLATFORM, a dead
// Wayland socket. Qt's own warnings before it name the cause; the user then
// gets the way to run without a window, with the status of a missing display.
void ExplainFailedWindow(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
  if (type != QtFatalMsg) {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    return;
  }
  QTextStream(stderr) << FailedWindowText();
  std::fflush(stderr);
  std::_Exit(zandor::kExitUsage);
}

// What stops the window before it opens is told in the user's language, so
// it is worded while a plain application holds the translations: the window's
// own application, whose start may fail, holds none yet.
std::optional<int> RefuseWindow(int argc, char** argv, const QStringList& arguments) {
  const QCoreApplication app(argc, argv);
  const zandor::Languages languages;
  // A mistyped option is told as such, whether a display can be reached or not.
  if (const zandor::ParsedCommandLine ours =
          zandor::ParseCommandLine(zandor::WithoutQtOptions(arguments));
      !ours.line) {
    return UsageError(ours.error);
  }
  if (!HasDisplay(arguments)) {
    QTextStream(stderr) << "zandor: "
                        << Text::tr(
                               "there is no display to open the window on (DISPLAY is not "
                               "set).\nTo synchronise without a window, run 'zandor --sync' "
                               "(see 'zandor --help').")
                        << '\n';
    return zandor::kExitUsage;
  }
  const auto shown = [](const char* variable) {
    const QByteArray value = qgetenv(variable);
    return value.isEmpty() ? Text::tr("not set") : QString::fromLocal8Bit(value);
  };
  FailedWindowText() =
      QStringLiteral("zandor: ") +
      //: %1, %2, %3 are the values of DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM
      Text::tr(
          "the window cannot be opened: no display could be reached (DISPLAY %1, "
          "WAYLAND_DISPLAY %2, QT_QPA_PLATFORM %3).\nCheck that the desktop session is "
          "running and that these name it. To synchronise without a window, run 'zandor "
          "--sync' (see 'zandor --help').")
          .arg(shown("DISPLAY"), shown("WAYLAND_DISPLAY"), shown("QT_QPA_PLATFORM")) +
      QLatin1Char('\n');
  return std::nullopt;
}

int RunWindow(int argc, char** argv, const QStringList& arguments) {
  if (const std::optional<int> refused = RefuseWindow(argc, argv, arguments)) return *refused;
  const QtMessageHandler previous = qInstallMessageHandler(ExplainFailedWindow);
  QApplication app(argc, argv);  // takes Qt's own arguments (-platform ...) away
  qInstallMessageHandler(previous);
  const zandor::Languages languages;
  const zandor::ParsedCommandLine parsed = zandor::ParseCommandLine(app.arguments().mid(1));
  if (!parsed.line) return UsageError(parsed.error);
  zandor::QtSerialLine serial;
  zandor::WatchedLine line(serial);
  zandor::LineTranscript transcript;
  if (!parsed.line->tracePath.isEmpty()) {
    if (const std::optional<QString> why = transcript.WriteTo(parsed.line->tracePath)) {
      return UsageError(
          Text::tr("cannot write the transcript to %1: %2").arg(parsed.line->tracePath, *why));
    }
  }
  line.SetWatcher(transcript.Watcher());
  return zandor::RunWindowApp(app, line, parsed.line->detailsPath);
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef ZANDOR_HAVE_UI
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (!zandor::WantsNoWindow(arguments)) return RunWindow(argc, argv, arguments);
#endif
  return RunWithoutWindow(argc, argv);
}
