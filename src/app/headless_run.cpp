#include "app/headless_run.h"

#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "app/headless_host.h"
#include "app/line_transcript.h"
#include "front/interrupt_notifier.h"
#include "front/run_report.h"
#include "front/store_opener.h"
#include "link/qt_serial_line.h"
#include "records/conversion.h"
#include "session/clock.h"
#include "settings/qsettings_store.h"
#include "settings/stored_options.h"
#include "sync/sync_driver.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(HeadlessRun)
};

// The width of the terminal the output goes to; 0 when it goes elsewhere.
int TerminalWidth() {
  if (::isatty(STDOUT_FILENO) == 0) return 0;
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return 80;
  return size.ws_col;
}

// The options that ask before a run, as given; empty when none was.
QStringList AskingOptions(const CommandLine& command) {
  QStringList given;
  if (command.full) given << QStringLiteral("--full");
  if (command.removeFromKelvo) given << QStringLiteral("--remove-from-kelvo");
  if (command.removeFromMail) given << QStringLiteral("--remove-from-mail");
  return given;
}

}  // namespace

int RunHeadless(const CommandLine& command, QTextStream& out, QTextStream& err) {
  HeadlessHost host(out, err, command.yes, command.verbose ? 0 : TerminalWidth());
  // Nobody can answer a question here: without --yes such a run stops before
  // anything is opened, rather than after a login.
  if (const QStringList asking = AskingOptions(command); !asking.isEmpty() && !command.yes) {
    //: %1 is one option, such as --full
    host.Note(asking.size() == 1
                  ? Text::tr("%1 asks for a Yes first, and a run without a window takes --yes as "
                             "that Yes: run again with --yes to go ahead. Nothing was done.")
                        .arg(asking.first())
                  //: %1 is a list of options, such as "--full and --remove-from-kelvo"
                  : Text::tr("%1 ask for a Yes first, and a run without a window takes --yes as "
                             "that Yes: run again with --yes to go ahead. Nothing was done.")
                        .arg(asking.join(Text::tr(" and "))));
    return kExitUsage;
  }
  return RunHeadlessOnce(command, host, out, err, false).status;
}

HeadlessResult RunHeadlessOnce(const CommandLine& command, HeadlessHost& host, QTextStream& out,
                               QTextStream& err, bool pluggedIn) {
  HeadlessResult result;
  const auto failed = [&result](int status) {
    result.status = status;
    return result;
  };
  QSettingsStore settings;
  if (const std::optional<QString> unreadable = settings.Unreadable()) {
    host.ShowMessage(*unreadable);
    result.outcome.firstBox = *unreadable;
    result.outcome.end = SyncEnd::StoreFailed;
    return failed(kExitErrorShown);
  }

  // What the window's load step and the options dialog would hold, with the
  // three boxes that are never stored taken from the command line.
  RunFirstRunStep(settings);
  const StoredOptions stored = ReadStoredOptions(settings);
  SyncOptions options = SyncOptionsOf(stored);
  options.fullSync = command.full;
  options.removeFromKelvo = command.removeFromKelvo;
  options.removeFromMail = command.removeFromMail;
  if (pluggedIn) options = PluggedInSyncOptions(stored);

  const SystemClock clock;
  DesktopKeyring keyring;
  StoredPasswords passwords(keyring);
  StoreOpening opening{clock};
  opening.forRun = true;
  const OpenedStore opened =
      OpenStore(StoreChoiceOf(stored), passwords, opening, FixPlace{false, settings.FilePath()});
  if (!opened.store) {
    host.ShowMessage(opened.refusal->text);
    result.outcome.firstBox = opened.refusal->text;
    result.outcome.end = SyncEnd::StoreFailed;
    return failed(kExitErrorShown);
  }
  MailStore& store = *opened.store;

  QtSerialLine serial;
  WatchedLine line(serial);
  LineTranscript transcript;
  if (!command.tracePath.isEmpty()) {
    if (const std::optional<QString> why = transcript.WriteTo(command.tracePath)) {
      host.Note(Text::tr("cannot write the transcript to %1: %2").arg(command.tracePath, *why));
      return failed(kExitUsage);
    }
  }

  // The window fills its tree when it is first shown; so does this run.
  RebuildFolderTree(host, store, settings);

  const ConversionTables tables = BuildConversionTables();
  SyncSession session;

  // SIGTERM and SIGHUP (a kill, systemctl stop, a logout) stop as the first
  // Ctrl-C does: what the Kelvo acknowledged keeps its mark.
  QString stoppedBy;  // the end's words, when a signal stopped the run
  const InterruptNotifier interrupts(2, [&](const Interrupt& interrupt) {
    result.stopped = true;
    if (stoppedBy.isEmpty())
      stoppedBy = Text::tr("stopped by %1").arg(QLatin1String(interrupt.Name()));
    if (interrupt.count == 1) {
      host.Note(Text::tr("%1: stopping once the part in flight is complete%2")
                    .arg(QLatin1String(interrupt.Name()),
                         interrupt.signal == SIGINT
                             ? Text::tr(" (press Ctrl-C again to stop at once)")
                             : QString()));
      RequestBreakAfterExchange(session);
    } else {
      host.Note(
          Text::tr("Ctrl-C: stopping at once, as the Break button does (press "
                   "Ctrl-C again to quit)"));
      RequestBreak(session);
    }
  });

  // The Kelvo is silent only while it owes bytes: while the PC works on the
  // store it was asked nothing. A silence past the limit breaks the run, and
  // the wait it ends says so.
  QTimer silence;
  silence.setSingleShot(true);
  silence.setInterval(command.timeoutSeconds * 1000);
  QObject::connect(&silence, &QTimer::timeout, &silence, [&] {
    RequestBreak(session, TimeoutText(command.timeoutSeconds, options.port, options.portPath));
  });
  // After ten seconds of it, the silence is counted on the live line.
  QElapsedTimer sinceAsked;
  QTimer silenceTick;
  silenceTick.setInterval(1000);
  QObject::connect(&silenceTick, &QTimer::timeout, &silenceTick, [&] {
    const auto seconds = static_cast<int>(sinceAsked.elapsed() / 1000);
    host.ShowSilence(seconds >= kSilenceHintSeconds
                         ? SilenceText(seconds, options.port, options.portPath,
                                       Text::tr("Press Ctrl-C to stop."))
                         : QString());
  });
  WatchedLine::Watcher watcher = transcript.Watcher([&](bool owes) {
    silence.stop();
    silenceTick.stop();
    host.ShowSilence(QString());
    if (!owes) return;
    if (command.timeoutSeconds > 0) silence.start();
    sinceAsked.start();
    silenceTick.start();
  });
  // A Kelvo that never said a byte is likely switched off.
  watcher.read = [&result, read = watcher.read](const QByteArray& bytes) {
    result.outcome.heardKelvo = true;
    if (read) read(bytes);
  };
  line.SetWatcher(std::move(watcher));

  RunLog log;
  if (const std::optional<QString> why = log.Start(RunLogFolder(), clock.Now())) {
    host.Note(Text::tr("this run is not logged: %1").arg(*why));
  }
  host.SetLog(&log, command.verbose);

  const SyncEnvironment environment{
      host, [&options] { return options; }, line, store, settings, clock, tables};
  const SyncEnd end = RunSynchronisation(session, environment);
  silence.stop();
  silenceTick.stop();
  host.ShowSilence(QString());
  line.SetWatcher(transcript.Watcher());

  PluggedInOutcome& plugged = result.outcome;
  plugged.end = end;
  plugged.firstBox = host.FirstMessage();
  plugged.tally = host.Tally();
  if (plugged.tally.received > 0) {
    StoreResult<FolderRef> drafts = store.GetDefaultFolder(DefaultFolder::Drafts);
    if (drafts) plugged.receivedInto = drafts->Name;
  }
  result.logPath = log.Path();
  if (end == SyncEnd::Refused) return failed(kExitUsage);
  host.PrintStatusLines();
  for (int i = 1; i <= 4; ++i) log.Add(QStringLiteral("[%1] %2").arg(i).arg(host.Status(i)));
  // The end in our own words: messages, not the parts the status lines count.
  RunOutcome outcome;
  outcome.port = options.port;
  if (end == SyncEnd::PortFailed) {
    outcome.kind = RunOutcome::Kind::PortFailed;
  } else if (session.BreakRequested) {
    outcome.kind = RunOutcome::Kind::Broken;
    outcome.stopped =
        !session.BreakReason.isEmpty()
            ? Text::tr("stopped: the Kelvo did not answer for %1 s").arg(command.timeoutSeconds)
            : stoppedBy;
  } else if (host.MessagesShown() > 0) {
    outcome.kind = RunOutcome::Kind::Failed;
    outcome.failure = host.FirstMessageLine();
  }
  outcome.tally = host.Tally();
  StoreResult<FolderRef> drafts = store.GetDefaultFolder(DefaultFolder::Drafts);
  outcome.receivedInto = drafts ? drafts->Name : QStringLiteral("Drafts");
  const QString words = OutcomeText(outcome);
  log.Add(words);
  host.Note(words);
  if (command.verbose && !log.Path().isEmpty()) {
    host.Note(Text::tr("the log of this run: %1").arg(log.Path()));
  }
  // Status lines that never arrived (a full disk, a closed pipe) leave the
  // caller without the outcome: that is a failure of its own.
  out.flush();
  if (out.status() != QTextStream::Ok || std::fflush(stdout) != 0) {
    err << "zandor: "
        //: %1 is the system's reason
        << Text::tr("the status lines could not be written to standard output (%1)")
               .arg(out.device() != nullptr ? out.device()->errorString() : Text::tr("write error"))
        << '\n';
    return failed(kExitErrorShown);
  }
  return failed(host.MessagesShown() > 0 ? kExitErrorShown : kExitOk);
}

}  // namespace zandor
