#include "app/headless_run.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <cstdio>

#include "app/headless_host.h"
#include "app/interrupt_notifier.h"
#include "app/line_transcript.h"
#include "link/qt_serial_line.h"
#include "records/conversion.h"
#include "session/clock.h"
#include "settings/password_command.h"
#include "settings/qsettings_store.h"
#include "settings/stored_options.h"
#include "store/maildir/maildir_store.h"
#include "sync/run_report.h"
#include "sync/store_choice.h"
#include "sync/sync_driver.h"

namespace zandor {
namespace {

QString MissingFolderText(const QString& root, const QString& settingsFile) {
  return QStringLiteral(
             "The mail folder %1 does not exist.\n\r"
             "Choose your Maildir under Options, Mail Folder (or set Maildir in section "
             "[Store] of %2), or create it, then run again.")
      .arg(root, settingsFile);
}

// A password command that gave none: what to set.
QString PasswordMissingText(const QString& why, const QString& settingsFile) {
  return QStringLiteral(
             "The IMAP password could not be read: %1.\n\r"
             "Set %2 in %3 to a command that prints it (for example: pass show mail/work), "
             "then run again.")
      .arg(why, SettingName(QStringLiteral("PasswordCommand")), settingsFile);
}

QString ImapFailureText(const StoreFailure& failure, const QString& settingsFile) {
  if (failure.kind == FailureKind::Refused) {
    return QStringLiteral(
               "The IMAP server refused the password (%1).\n\r"
               "Check %2 and %3 in %4, then run again.")
        .arg(failure.reason, SettingName(QStringLiteral("User")),
             SettingName(QStringLiteral("PasswordCommand")), settingsFile);
  }
  return QStringLiteral(
             "The IMAP server cannot be used: %1.\n\r"
             "Check %2, Port, Security, CertificateFile and CertificateFingerprint in %3, then "
             "run again.")
      .arg(failure.reason, SettingName(QStringLiteral("Host")), settingsFile);
}

// The IMAP store of the settings, logged in; nullptr after a box that says
// what to set, before anything reaches the Kelvo.
std::unique_ptr<MailStore> OpenImapStore(Host& host, const ImapOptions& imap,
                                         const QString& settingsFile, const Clock& clock) {
  if (imap.host.trimmed().isEmpty()) {
    host.ShowMessage(QStringLiteral("No IMAP server is set.\n\rSet %1 in %2, then run again.")
                         .arg(SettingName(QStringLiteral("Host")), settingsFile));
    return nullptr;
  }
  const CommandPassword password = RunPasswordCommand(imap.passwordCommand);
  if (const auto* failed = std::get_if<CommandFailure>(&password)) {
    host.ShowMessage(PasswordMissingText(failed->reason, settingsFile));
    return nullptr;
  }
  std::unique_ptr<MailStore> store =
      MakeImapStore(imap, std::get<QString>(password), QLocale::system(), clock);
  if (StoreStatus reached = store->CheckHoldsMail(); !reached) {
    host.ShowMessage(ImapFailureText(reached.failure(), settingsFile));
    return nullptr;
  }
  return store;
}

// The store the settings choose; nullptr after a box saying why there is none.
std::unique_ptr<MailStore> OpenChosenStore(Host& host, const StoredOptions& stored,
                                           const QString& settingsFile, const Clock& clock) {
  if (stored.storeKind == StoreKind::Imap) {
    return OpenImapStore(host, stored.imap, settingsFile, clock);
  }
  const QString root = MailFolderPath(stored.mailFolder);
  if (!QFileInfo(root).isDir()) {
    host.ShowMessage(MissingFolderText(root, settingsFile));
    return nullptr;
  }
  return std::make_unique<MaildirStore>(root, QLocale::system(), clock);
}

// The width of the terminal the output goes to; 0 when it goes elsewhere.
int TerminalWidth() {
  if (::isatty(STDOUT_FILENO) == 0) return 0;
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return 80;
  return size.ws_col;
}

}  // namespace

int RunHeadless(const CommandLine& command, QTextStream& out, QTextStream& err) {
  HeadlessHost host(out, err, command.yes, command.verbose ? 0 : TerminalWidth());
  QSettingsStore settings;
  if (const std::optional<QString> unreadable = settings.Unreadable()) {
    host.ShowMessage(*unreadable);
    return kExitErrorShown;
  }

  // What the window's load step and the options dialog would hold, with the
  // three boxes that are never stored taken from the command line.
  RunFirstRunStep(settings);
  const StoredOptions stored = ReadStoredOptions(settings);
  SyncOptions options = SyncOptionsOf(stored);
  options.fullSync = command.full;
  options.removeFromKelvo = command.removeFromKelvo;
  options.removeFromMail = command.removeFromMail;

  const SystemClock clock;
  const std::unique_ptr<MailStore> chosen =
      OpenChosenStore(host, stored, settings.FilePath(), clock);
  if (!chosen) return kExitErrorShown;
  MailStore& store = *chosen;

  QtSerialLine serial;
  WatchedLine line(serial);
  LineTranscript transcript;
  if (!command.tracePath.isEmpty()) {
    if (const std::optional<QString> why = transcript.WriteTo(command.tracePath)) {
      host.Note(
          QStringLiteral("cannot write the transcript to %1: %2").arg(command.tracePath, *why));
      return kExitUsage;
    }
  }

  // The window fills its tree when it is first shown; so does this run.
  RebuildFolderTree(host, store, settings);

  const ConversionTables tables = BuildConversionTables();
  SyncSession session;

  const InterruptNotifier interrupt(2, [&](int count) {
    if (count == 1) {
      host.Note(
          QStringLiteral("Ctrl-C: stopping once the part in flight is complete (press "
                         "Ctrl-C again to stop at once)"));
      RequestBreakAfterExchange(session);
    } else {
      host.Note(
          QStringLiteral("Ctrl-C: stopping at once, as the Break button does (press "
                         "Ctrl-C again to quit)"));
      RequestBreak(session);
    }
  });

  // Silence counts from the last byte either way: after a write the Kelvo owes
  // an answer; after a read that brought something the PC may work on the
  // store before it writes again, which a write then ends.
  QTimer silence;
  silence.setSingleShot(true);
  silence.setInterval(command.timeoutSeconds * 1000);
  QObject::connect(&silence, &QTimer::timeout, &silence, [&] {
    host.Note(QStringLiteral("no answer from the Kelvo for %1 seconds: stopping as the Break "
                             "button does")
                  .arg(command.timeoutSeconds));
    RequestBreak(session);
  });
  // After ten seconds of it, the silence is counted on the live line.
  QElapsedTimer sinceByte;
  QTimer silenceTick;
  silenceTick.setInterval(1000);
  QObject::connect(&silenceTick, &QTimer::timeout, &silenceTick, [&] {
    const auto seconds = static_cast<int>(sinceByte.elapsed() / 1000);
    host.ShowSilence(seconds >= kSilenceHintSeconds
                         ? SilenceText(seconds, options.port, options.portPath)
                         : QString());
  });
  line.SetWatcher(transcript.Watcher([&silence, &command, &sinceByte, &host] {
    if (command.timeoutSeconds > 0) silence.start();
    sinceByte.start();
    host.ShowSilence(QString());
  }));

  RunLog log;
  if (const std::optional<QString> why = log.Start(RunLogFolder(), clock.Now())) {
    host.Note(QStringLiteral("this run is not logged: %1").arg(*why));
  }
  host.SetLog(&log, command.verbose);

  const SyncEnvironment environment{
      host, [&options] { return options; }, line, store, settings, clock, tables};
  sinceByte.start();
  silenceTick.start();
  const SyncEnd end = RunSynchronisation(session, environment);
  silence.stop();
  silenceTick.stop();
  host.ShowSilence(QString());
  line.SetWatcher(transcript.Watcher());

  if (end == SyncEnd::Refused) return kExitUsage;
  host.PrintStatusLines();
  for (int i = 1; i <= 4; ++i) log.Add(QStringLiteral("[%1] %2").arg(i).arg(host.Status(i)));
  if (command.verbose && !log.Path().isEmpty()) {
    host.Note(QStringLiteral("the log of this run: %1").arg(log.Path()));
  }
  // Status lines that never arrived (a full disk, a closed pipe) leave the
  // caller without the outcome: that is a failure of its own.
  out.flush();
  if (out.status() != QTextStream::Ok || std::fflush(stdout) != 0) {
    err << "zandor: the status lines could not be written to standard output ("
        << (out.device() != nullptr ? out.device()->errorString() : QStringLiteral("write error"))
        << ")\n";
    return kExitErrorShown;
  }
  return host.MessagesShown() > 0 ? kExitErrorShown : kExitOk;
}

}  // namespace zandor
