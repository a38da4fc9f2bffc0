#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

const QString kSync = QStringLiteral("sync");
const QString kWatch = QStringLiteral("watch");
const QString kDetails = QStringLiteral("details");
const QString kFull = QStringLiteral("full");
const QString kRemoveFromKelvo = QStringLiteral("remove-from-kelvo");
const QString kRemoveFromMail = QStringLiteral("remove-from-mail");
const QString kYes = QStringLiteral("yes");
const QString kTimeout = QStringLiteral("timeout");
const QString kTrace = QStringLiteral("trace");
const QString kVerbose = QStringLiteral("verbose");
const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");

// The longest timeout that still fits a timer's milliseconds.
constexpr int kMaxTimeoutSeconds = 2000000;

}  // namespace

bool WantsNoWindow(const QStringList& arguments) {
  for (const QString& argument : arguments) {
    if (argument == QLatin1String("--sync") || argument == QLatin1String("--watch") ||
        argument == QLatin1String("--help") || argument == QLatin1String("-h") ||
        argument == QLatin1String("--version") || argument == QLatin1String("-v")) {
      return true;
    }
  }
  return false;
}

QStringList WithoutQtOptions(const QStringList& arguments) {
  static const QStringList withValue{QStringLiteral("platform"),
                                     QStringLiteral("platformpluginpath"),
                                     QStringLiteral("platformtheme"),
                                     QStringLiteral("plugin"),
                                     QStringLiteral("qwindowgeometry"),
                                     QStringLiteral("qwindowtitle"),
                                     QStringLiteral("qwindowicon"),
                                     QStringLiteral("display"),
                                     QStringLiteral("geometry"),
                                     QStringLiteral("style"),
                                     QStringLiteral("stylesheet"),
                                     QStringLiteral("session"),
                                     QStringLiteral("name"),
                                     QStringLiteral("title"),
                                     QStringLiteral("visual"),
                                     QStringLiteral("qmljsdebugger")};
  static const QStringList flags{QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                 QStringLiteral("nograb"), QStringLiteral("dograb"),
                                 QStringLiteral("testability")};
  QStringList ours;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    QString word = arguments[i];
    if (!word.startsWith(QLatin1Char('-'))) {
      ours << word;
      continue;
    }
    word = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1).section(QLatin1Char('='), 0, 0);
    if (withValue.contains(word)) {
      if (!arguments[i].contains(QLatin1Char('='))) ++i;
    } else if (!flags.contains(word)) {
      ours << arguments[i];
    }
  }
  return ours;
}

ParsedCommandLine ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addOptions({
      {kSync, QString()},
      {kWatch, QString()},
      {kDetails, QString(), QStringLiteral("file")},
      {kFull, QString()},
      {kRemoveFromKelvo, QString()},
      {kRemoveFromMail, QString()},
      {kYes, QString()},
      {kTimeout, QString(), QStringLiteral("seconds")},
      {kTrace, QString(), QStringLiteral("file")},
      {kVerbose, QString()},
      {{QStringLiteral("h"), kHelp}, QString()},
      {{QStringLiteral("v"), kVersion}, QString()},
  });
  if (!parser.parse(QStringList{QStringLiteral("zandor")} + arguments)) {
    return {std::nullopt, parser.errorText()};
  }
  if (!parser.positionalArguments().isEmpty()) {
    return {std::nullopt,
            Text::tr("Unexpected argument '%1'.").arg(parser.positionalArguments().first())};
  }

  CommandLine line;
  if (parser.isSet(kHelp)) {
    line.mode = CommandLine::Mode::Help;
    return {line, QString()};
  }
  if (parser.isSet(kVersion)) {
    line.mode = CommandLine::Mode::Version;
    return {line, QString()};
  }
  if (parser.isSet(kSync) && parser.isSet(kWatch)) {
    return {std::nullopt, Text::tr("--sync and --watch cannot go together.")};
  }
  line.mode = parser.isSet(kSync)    ? CommandLine::Mode::Sync
              : parser.isSet(kWatch) ? CommandLine::Mode::Watch
                                     : CommandLine::Mode::Window;
  line.detailsPath = parser.value(kDetails);
  line.full = parser.isSet(kFull);
  line.removeFromKelvo = parser.isSet(kRemoveFromKelvo);
  line.removeFromMail = parser.isSet(kRemoveFromMail);
  line.yes = parser.isSet(kYes);
  line.tracePath = parser.value(kTrace);
  line.verbose = parser.isSet(kVerbose);
  if (parser.isSet(kTrace) && line.tracePath.isEmpty()) {
    return {std::nullopt, Text::tr("--trace needs a file name.")};
  }
  if (parser.isSet(kTimeout)) {
    bool ok = false;
    line.timeoutSeconds = parser.value(kTimeout).toInt(&ok);
    if (!ok || line.timeoutSeconds < 0 || line.timeoutSeconds > kMaxTimeoutSeconds) {
      return {std::nullopt, Text::tr("--timeout needs a whole number of seconds from 0 to "
                                     "%1, not '%2'.")
                                .arg(kMaxTimeoutSeconds)
                                .arg(parser.value(kTimeout))};
    }
  }
  if (line.mode == CommandLine::Mode::Watch) {
    // What a run started by plugging the Kelvo in may do is set in Options.
    for (const QString& flag : {kFull, kRemoveFromKelvo, kRemoveFromMail, kYes}) {
      if (parser.isSet(flag)) {
        return {std::nullopt, Text::tr("--%1 cannot go with --watch: what a run started by "
                                       "plugging the Kelvo in may do is set in Options.")
                                  .arg(flag)};
      }
    }
  }
  if (line.mode != CommandLine::Mode::Window && parser.isSet(kDetails)) {
    return {std::nullopt, Text::tr("--details is only for the window.")};
  }
  if (line.mode == CommandLine::Mode::Window) {
    for (const QString& flag : {kFull, kRemoveFromKelvo, kRemoveFromMail, kYes, kTimeout}) {
      if (parser.isSet(flag)) {
        return {std::nullopt,
                Text::tr("--%1 is only for a run without a window: add --sync.").arg(flag)};
      }
    }
  }
  return {line, QString()};
}

QString UsageText() {
  return Text::tr(
      "Usage: zandor [--trace FILE]\n"
      "       zandor --sync [--full] [--remove-from-kelvo] [--remove-from-mail] [--yes]\n"
      "              [--timeout SECONDS] [--trace FILE] [--verbose]\n"
      "       zandor --watch [--timeout SECONDS] [--trace FILE] [--verbose]\n"
      "\n"
      "Keeps a Maildir and a Kelvo handheld in step over a serial line.\n"
      "Without --sync the window opens.\n"
      "\n"
      "  --sync               run one synchronisation with the stored settings, no window;\n"
      "                       on a terminal one line shows the status lines as they\n"
      "                       change; elsewhere each change is printed as \"[N] text\";\n"
      "                       the four lines end the output either way; each message\n"
      "                       box goes to standard error\n"
      "  --watch              wait for the Kelvo's port to appear (its adapter plugged\n"
      "                       in), then synchronise as --sync does, with what Options\n"
      "                       allows such runs to remove and never in full; tell the\n"
      "                       desktop how it went; wait for the port to go and come\n"
      "                       back; the window, when open, runs the synchronisation\n"
      "  --details FILE       open the window with its Details showing a run's log\n"
      "  --full               send every message of the date range again (Full Syncronization)\n"
      "  --remove-from-kelvo  remove from the Kelvo what is no longer in the chosen folders\n"
      "  --remove-from-mail   remove from the mail what was deleted on the Kelvo (to Trash)\n"
      "  --yes                answer Yes to the questions these three ask; without it the\n"
      "                       run stops before the port is opened\n"
      "  --timeout SECONDS    stop as the Break button does after this much silence\n"
      "                       from the Kelvo (default 30; 0 waits for ever)\n"
      "  --trace FILE         write every byte on the line to FILE, readably\n"
      "  --verbose            print each change as \"[N] text\" on a terminal too,\n"
      "                       and each message sent, received, removed or skipped\n"
      "  -h, --help           show this text\n"
      "  -v, --version        show the version\n"
      "\n"
      "Ctrl-C stops a synchronisation once the message part or draft in flight is\n"
      "complete, so that none is sent or received twice; a second Ctrl-C stops it at\n"
      "once, as the Break button does; a third ends the program.\n"
      "Exit status: 0 when no error was shown, 1 when one was, 2 for a usage error or\n"
      "a question not answered Yes.\n"
      "\n"
      "Settings: $XDG_CONFIG_HOME/Zandor/Zandor.ini (default ~/.config/Zandor/Zandor.ini):\n"
      "  [Ports] COM1..COM4 = the device of \"Com 1\"..\"Com 4\" (default /dev/ttyS0..3)\n"
      "  [Store] Maildir    = the mail folder (default ~/Maildir)\n"
      "  [Store] Kind       = maildir (default) or imap\n"
      "  [Imap] Host, Port, Security (tls, starttls or none), User, CertificateFile,\n"
      "         CertificateFingerprint (SHA-256 of a certificate trusted on purpose)\n"
      "  [Imap] PasswordCommand = run by /bin/sh -c; its first line is the password\n"
      "  [Imap] Login = xoauth2: the command prints an OAuth 2.0 access token\n"
      "  [Imap] Timeout = seconds without a byte from the server before it is left\n"
      "         (default 30)\n");
}

}  // namespace zandor
