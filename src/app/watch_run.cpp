#include "app/watch_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <memory>

#include "app/desktop_notices.h"
#include "app/headless_host.h"
#include "app/headless_run.h"
#include "front/interrupt_notifier.h"
#include "front/port_presence.h"
#include "front/printable_text.h"
#include "front/window_mark.h"
#include "settings/qsettings_store.h"
#include "settings/stored_options.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(WatchRun)
};

class Watcher {
 public:
  Watcher(const CommandLine& command, QTextStream& out, QTextStream& err)
      : command_(command), out_(out), err_(err) {}

  // Starts watching; the reason when it cannot.
  std::optional<QString> Start() {
    QObject::connect(&port_, &PortPresence::Appeared, &port_, [this] {
      // Outside the notifier's call: the run waits on the event loop itself.
      QTimer::singleShot(0, &port_, [this] { OnAppeared(); });
    });
    QObject::connect(&port_, &PortPresence::Vanished, &port_, [this] {
      if (!running_) Note(Text::tr("%1 is gone").arg(port_.Path()));
    });
    QSettingsStore settings;
    if (const std::optional<QString> unreadable = settings.Unreadable()) return unreadable;
    settingsFile_ = settings.FilePath();
    // The settings are written anew in place of the old file: the folder
    // tells of that. It may not exist before Options first stores anything.
    QFileInfo(settingsFile_).absoluteDir().mkpath(QStringLiteral("."));
    settingsWatch_.addPath(QFileInfo(settingsFile_).absolutePath());
    // The file itself too, for an editor that writes it in place.
    if (QFileInfo::exists(settingsFile_)) settingsWatch_.addPath(settingsFile_);
    QObject::connect(&settingsWatch_, &QFileSystemWatcher::directoryChanged, &port_,
                     [this] { FollowSettings(); });
    QObject::connect(&settingsWatch_, &QFileSystemWatcher::fileChanged, &port_,
                     [this] { FollowSettings(); });
    RunFirstRunStep(settings);  // as --sync does: a first start is "Com 1"
    const StoredOptions stored = ReadStoredOptions(settings);
    switchedOn_ = stored.pluggedIn.sync;
    if (std::optional<QString> why = WatchPort(SyncOptionsOf(stored).portPath)) return why;
    StopOnSignals();
    return std::nullopt;
  }

 private:
  std::optional<QString> WatchPort(const QString& path) {
    if (path.isEmpty()) {
      return Text::tr("no serial port is chosen: choose the Kelvo's port under Options");
    }
    if (std::optional<QString> why = port_.Watch(path)) return why;
    Note(port_.Present()
             ? Text::tr("%1 is there already: it is synchronised when it is next plugged in")
                   .arg(port_.Path())
             : Text::tr("waiting for %1 to appear").arg(port_.Path()));
    return std::nullopt;
  }

  void FollowSettings() {
    // A file written anew in place of the old one is watched afresh.
    if (!settingsWatch_.files().contains(settingsFile_) && QFileInfo::exists(settingsFile_)) {
      settingsWatch_.addPath(settingsFile_);
    }
    QSettingsStore settings;
    if (settings.Unreadable()) return;  // half written: the next change reads it whole
    const StoredOptions stored = ReadStoredOptions(settings);
    // Cleared in Options: the user wants no more runs from plugging in.
    if (switchedOn_ && !stored.pluggedIn.sync) {
      Note(Text::tr("\"Synchronise when the Kelvo is plugged in\" was cleared: stopping"));
      if (!running_) QCoreApplication::exit(kExitOk);
      quitAfterRun_ = true;
      return;
    }
    switchedOn_ = stored.pluggedIn.sync;
    const QString path = SyncOptionsOf(stored).portPath;
    if (!path.isEmpty() && QFileInfo(path).absoluteFilePath() != port_.Path()) {
      if (const std::optional<QString> why = WatchPort(path)) Note(*why);
    }
  }

  void OnAppeared() {
    if (running_ || !port_.Present()) return;
    if (WindowMark::Held(StateFolder())) {
      Note(Text::tr("%1 appeared; the window is open, and synchronises itself").arg(port_.Path()));
      return;
    }
    Note(Text::tr("%1 appeared: synchronising").arg(port_.Path()));
    running_ = true;
    interrupts_.reset();  // the run takes the signals while it lasts
    HeadlessHost host(out_, err_, true);
    host.SetYesReason(Text::tr("agreed to in Options for runs when the Kelvo is plugged in"));
    const HeadlessResult result = RunHeadlessOnce(command_, host, out_, err_, true);
    running_ = false;
    Tell(result);
    if (result.stopped || quitAfterRun_) {
      QCoreApplication::exit(kExitOk);
      return;
    }
    StopOnSignals();
    Note(port_.Present() ? Text::tr("waiting for %1 to go and come back").arg(port_.Path())
                         : Text::tr("waiting for %1 to appear").arg(port_.Path()));
  }

  void Tell(const HeadlessResult& result) {
    const std::optional<Notice> notice = PluggedInNotice(result.outcome);
    if (!notice) {
      Note(Text::tr("the Kelvo did not answer: it may be switched off; nothing was done"));
      return;
    }
    out_ << "Notification: " << PrintableText(notice->title) << ": "
         << PrintableText(QString(notice->text).replace(QLatin1Char('\n'), QStringLiteral(" / ")))
         << '\n';
    out_.flush();
    notices_.Show(*notice, result.logPath);
  }

  void StopOnSignals() {
    interrupts_ = std::make_unique<InterruptNotifier>(1, [this](const Interrupt& interrupt) {
      Note(Text::tr("%1: stopping").arg(QLatin1String(interrupt.Name())));
      QCoreApplication::exit(kExitOk);
    });
  }

  void Note(const QString& text) {
    err_ << "zandor: " << PrintableText(text) << '\n';
    err_.flush();
  }

  const CommandLine& command_;
  QTextStream& out_;
  QTextStream& err_;
  PortPresence port_;
  QFileSystemWatcher settingsWatch_;
  QString settingsFile_;
  DesktopNotices notices_;
  std::unique_ptr<InterruptNotifier> interrupts_;
  bool switchedOn_ = false;
  bool running_ = false;
  bool quitAfterRun_ = false;
};

}  // namespace

int RunWatcher(const CommandLine& command, QTextStream& out, QTextStream& err) {
  Watcher watcher(command, out, err);
  if (const std::optional<QString> why = watcher.Start()) {
    err << "zandor: " << Text::tr("cannot watch for the Kelvo: %1").arg(PrintableText(*why))
        << '\n';
    return kExitErrorShown;
  }
  return QCoreApplication::exec();
}

}  // namespace zandor
