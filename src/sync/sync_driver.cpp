#include "sync/sync_driver.h"

#include <QCoreApplication>
#include <future>

#include "link/protocol.h"
#include "session/worker_thread.h"
#include "settings/stored_options.h"
#include "sync/due_count.h"
#include "sync/folder_tree.h"
#include "sync/handshake.h"
#include "sync/phases.h"
#include "sync/sync_context.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(SyncDriver)
};

// How long the closing bytes may take to leave a port held by flow control.
constexpr int kDrainMilliseconds = 2000;

// Multi-line texts join their lines with a line feed, then a carriage return.
const QString kLineBreak = QStringLiteral("\n\r");

QString Confirmation(const QString& first, const QString& second) {
  return first + kLineBreak + second + kLineBreak + Text::tr("Do you want to continue?");
}

// The removals the user agreed to at the start of a run.
struct ConfirmedRemovals {
  bool fromKelvo = false;
  bool fromMail = false;
};

// Each box reads the options anew: one may change while another is open.
// nullopt when a question was answered No.
std::optional<ConfirmedRemovals> AskConfirmations(Host& host, const LiveOptions& options) {
  if (options().fullSync &&
      !host.Confirm(Confirmation(
          Text::tr("'Full sync' will send all messages to Kelvo in the selected date range,"),
          Text::tr("including those already sent with previous syncronizations.")))) {
    return std::nullopt;
  }
  ConfirmedRemovals confirmed;
  confirmed.fromKelvo = options().removeFromKelvo;
  if (confirmed.fromKelvo &&
      !host.Confirm(Confirmation(
          Text::tr("Messages previously sent to Kelvo are going to be removed from there,"),
          Text::tr("if they are no more included in the list to be sent now")))) {
    return std::nullopt;
  }
  confirmed.fromMail = options().removeFromMail;
  if (confirmed.fromMail &&
      !host.Confirm(Confirmation(Text::tr("Messages previously sent, and then canceled on Kelvo,"),
                                 Text::tr("are going to be removed from the mail also (they go to "
                                          "its Trash folder).")))) {
    return std::nullopt;
  }
  return confirmed;
}

// The options as the phases of a run read them: live, except that a removal
// box ticked after the questions waits for the next run, where it is asked
// about. Clearing one takes effect at once.
LiveOptions RunningOptions(LiveOptions live, ConfirmedRemovals confirmed) {
  return [live = std::move(live), confirmed] {
    SyncOptions options = live();
    options.removeFromKelvo = options.removeFromKelvo && confirmed.fromKelvo;
    options.removeFromMail = options.removeFromMail && confirmed.fromMail;
    return options;
  };
}

// What the run checks of the store before the port opens: any of it may
// refuse the run, and must do so before the Kelvo hears anything.
struct CheckedRun {
  StoreStatus ready = Done{};
  std::unique_ptr<SyncLock> lock;  // held for the whole run
};

// A store without mail, or whose sent marks cannot be kept, would take the
// Kelvo's messages nowhere or send the same mail on every run: that is
// found first. One synchronisation per store at a time: two would send the
// same mail. On a server the first check is the run's own login (or finds
// the session logged in), which must have been accepted before the port
// opens; the rest is local. Aside from the window, where a break waits for
// the end of the check in flight.
CheckedRun CheckRun(const SyncEnvironment& environment, SyncSession& session) {
  CheckedRun checked;
  StoreWorkStop stop;
  session.CancelStoreWork = [&stop] { stop.Request(); };
  environment.host.RunAside([&] {
    MailStore& store = environment.store;
    checked.ready = store.CheckHoldsMail();
    if (checked.ready) {
      StoreResult<std::unique_ptr<SyncLock>> lock = store.LockForSync();
      if (lock) {
        checked.lock = std::move(*lock);
      } else {
        checked.ready = lock.failure();
      }
    }
    if (checked.ready) checked.ready = store.CheckSentMarks();
  });
  session.CancelStoreWork = nullptr;
  return checked;
}

// What the run reads of the store for the send phase.
struct PreparedRun {
  RunPlan plan;
  DueCount due;
};

// The plan, and the count of what is due, whose texts the store reads ahead
// meanwhile: on a server, round trips that need not hold up the Kelvo. They
// are made on a thread of their own from before the port opens, through the
// handshake and the receive phase; the store is then used by that thread
// alone, so any phase claims it (waiting for them) before its first store
// call, and the send phase begins by claiming it. A break stops them after
// the store call in flight.
class PreparingRun {
 public:
  PreparingRun(const SyncEnvironment& environment, SyncSession& session, SyncOptions options,
               QDate since)
      : session_(session) {
    session_.CancelStoreWork = [this] { stop_.Request(); };
    prepared_ = worker_.Run([this, &environment, options = std::move(options), since,
                             separator = session.FieldSeparator] {
      PreparedRun prepared;
      MailStore& store = environment.store;
      if (!stop_.Requested()) prepared.plan = PlanRun(store, options, since);
      if (stop_.Requested()) {
        store.DropExpectedRun();
        return prepared;
      }
      prepared.due = CountDueMail(store, prepared.plan, options, separator, environment.tables,
                                  environment.locale, stop_);
      return prepared;
    });
  }
  // The last resort of a run that ends otherwise: stops them and waits here.
  ~PreparingRun() {
    stop_.Request();
    if (prepared_.valid()) prepared_.wait();
    session_.CancelStoreWork = nullptr;
  }
  PreparingRun(const PreparingRun&) = delete;
  PreparingRun& operator=(const PreparingRun&) = delete;

  // Waits for them aside from the window; stopped first when a break was
  // asked for (one asked for after an exchange does not reach the store
  // work of itself). Once; nullopt after.
  std::optional<PreparedRun> Take(Host& host) {
    if (!prepared_.valid()) return std::nullopt;
    if (session_.BreakRequested) stop_.Request();
    std::optional<PreparedRun> prepared;
    host.RunAside([&] { prepared = prepared_.get(); });
    session_.CancelStoreWork = nullptr;
    return prepared;
  }
  // Stops them, for a run that ends without sending: they end with the store
  // call in flight, waited for aside.
  void Abandon(Host& host) {
    stop_.Request();
    Take(host);
  }

 private:
  SyncSession& session_;
  StoreWorkStop stop_;
  std::future<PreparedRun> prepared_;
  WorkerThread worker_;  // last: its work ends before the rest goes
};

// The count, once known, drives the progress of the whole run.
void TakePrepared(SyncContext& context, PreparingRun& preparing) {
  std::optional<PreparedRun> prepared = preparing.Take(context.host);
  if (!prepared) return;
  SyncSession& session = context.session;
  session.DueCount = prepared->due.messages;
  session.DueIndex = 0;
  session.DueBytesLeft = prepared->due.bytes;
  context.plan = std::move(prepared->plan);
  context.listed = std::move(prepared->due.listed);
}

// The buttons as they stand between runs.
void EndRun(Host& host) {
  host.SetSyncEnabled(true);
  host.SetBreakEnabled(false);
}

// Opens the chosen port; on failure tells the user which port, which device
// and why, and returns false with nothing written.
bool OpenPort(Host& host, const SyncOptions& options, SerialLine& line) {
  if (options.port < 1) {
    host.ShowMessage(Text::tr(
        "No serial port is chosen. Choose the Kelvo's port under Options, then press Sync again."));
    return false;
  }
  const QString& path = options.portPath;
  std::optional<OpenFailure> failure = line.Open(path, LineSettings{});
  if (!failure) {
    line.DiscardInput();
    line.DiscardOutput();
    return true;
  }
  QString text = Text::tr("Cannot open Com %1 (%2): %3")
                     .arg(QString::number(options.port), path, failure->reason);
  if (!failure->fix.isEmpty()) text += kLineBreak + failure->fix;
  host.ShowMessage(text);
  return false;
}

void WriteSummary(Host& host, const SyncSession& session, const SyncOptions& options) {
  QString sent = Text::tr("Sent: %1").arg(session.SentCount);
  if (session.TruncatedCount > 0) {
    sent += Text::tr(" (%1 truncated)").arg(session.TruncatedCount);
  }
  if (session.SplitCount > 0) sent += Text::tr(" (%1 splitted)").arg(session.SplitCount);
  if (session.SkippedCount > 0) sent += Text::tr("; Skipped: %1").arg(session.SkippedCount);
  host.SetStatus(1, sent);
  host.SetStatus(2, Text::tr("Received: %1").arg(session.ReceivedCount));
  if (session.RemovedFromDeviceCount > 0) {
    host.SetStatus(3, Text::tr("Removed from Kelvo: %1").arg(session.RemovedFromDeviceCount));
  } else if (session.DeviceRemovalSkipped) {
    host.SetStatus(3, Text::tr("Nothing removed from Kelvo: %1")
                          .arg(session.SelectionIncompleteReason.isEmpty()
                                   ? Text::tr("not every folder was compared")
                                   : session.SelectionIncompleteReason));
  }
  if (session.RemovedFromMailCount > 0) {
    host.SetStatus(4, Text::tr("Removed from mail: %1").arg(session.RemovedFromMailCount));
  } else if (session.StoreRemovalSkipped && options.removeFromMail) {
    host.SetStatus(4, Text::tr("Nothing removed from mail: the Kelvo's list of messages "
                               "was not received whole"));
  }
}

}  // namespace

SyncEnd RunSynchronisation(SyncSession& session, const SyncEnvironment& environment) {
  Host& host = environment.host;
  SerialLine& line = environment.line;

  session.FieldSeparator = environment.options().mode == ConversionMode::RussianDravo
                               ? protocol::DravoSeparator
                               : protocol::DefaultSeparator;
  const std::optional<ConfirmedRemovals> confirmed = AskConfirmations(host, environment.options);
  if (!confirmed) return SyncEnd::Refused;
  session.BreakRequested = false;
  session.BreakReason.clear();
  host.SetSyncEnabled(false);
  host.SetBreakEnabled(true);

  const SyncOptions options = environment.options();
  session.DateFilter = environment.clock.Now().date().addDays(DateRangeOffsetDays(options.range));
  session.DueCount = 0;
  session.DueIndex = 0;
  session.DueBytesLeft = 0;
  // A store on a network opens the connections it reads ahead on now, beside
  // the checks' own login, unless the opener asked already.
  environment.store.ExpectRun();
  const CheckedRun checked = CheckRun(environment, session);
  if (!checked.ready) {
    environment.store.DropExpectedRun();
    host.ShowMessage(checked.ready.reason() + kLineBreak + Text::tr("Nothing was synchronised."));
    EndRun(host);
    return SyncEnd::StoreFailed;
  }
  // Nothing has reached the Kelvo yet: a break ends the run here.
  if (session.BreakRequested) {
    environment.store.DropExpectedRun();
    EndRun(host);
    return SyncEnd::Broken;
  }
  PreparingRun preparing(environment, session, options, session.DateFilter);
  if (!OpenPort(host, environment.options(), line)) {
    preparing.Abandon(host);
    EndRun(host);
    return SyncEnd::PortFailed;
  }

  SyncEnvironment running = environment;
  running.options = RunningOptions(environment.options, *confirmed);
  SyncContext context(session, running);
  context.claimStore = [&context, &preparing] { TakePrepared(context, preparing); };
  session.ExchangeInFlight = false;
  session.BreakAfterExchange = false;
  session.SavingMarkOf.clear();
  session.UnsavedMarkBox.clear();
  session.UnsavedMarkTold = false;
  session.DeviceRemovalSkipped = false;
  session.StoreRemovalSkipped = false;
  host.SetStatus(1, Text::tr("Mail sync started"));
  host.Yield();

  host.SetStatus(1, Text::tr("Handshaking..."));
  for (int i = 2; i <= 4; ++i) host.SetStatus(i, QString());

  const bool handshaken = Handshake(context);
  if (handshaken) {
    RunReceivePhase(context);
    context.claimStore();
    RunSendPhase(context);
    RunRemovalPhase(context);
    // Every mark is on the disk before the summary says what was sent.
    SettleMarks(context);
    TellUnsavedMark(context);
    WriteSummary(host, session, context.options());
  } else {
    preparing.Abandon(host);
    host.ShowMessage(Text::tr("     Handshake error     "));
    for (int i = 1; i <= 4; ++i) host.SetStatus(i, QString());
  }

  host.Yield();
  // The closing bytes (CmdEnd, the last Ack) must leave before the discard.
  line.DrainOutput(kDrainMilliseconds);
  line.DiscardOutput();
  line.DiscardInput();
  line.Close();
  EndRun(host);
  return handshaken ? SyncEnd::Completed : SyncEnd::HandshakeFailed;
}

void RebuildFolderTree(Host& host, MailStore& store, const SettingsStore& settings) {
  const QSet<QString> excluded = ExcludedFolders(settings);
  StoreStatus holdsMail = Done{};
  FolderTrees trees;
  host.RunAside([&] {
    trees = ListFolderTrees(store, excluded);
    if (!trees.rootsFailure) holdsMail = store.CheckHoldsMail();
  });
  if (trees.rootsFailure) {
    host.Folders().Clear();
    host.ShowMessage(
        Text::tr("The mail folder could not be read: %1").arg(trees.rootsFailure->reason));
    return;
  }
  // A folder that holds no mail shows no tree; Options and Sync say why.
  if (!holdsMail) {
    host.Folders().Clear();
    return;
  }
  ShowFolderTrees(host, trees);
  if (const StoreFailure* failure = trees.FirstFailure()) {
    host.ShowMessage(Text::tr("Some mail folders could not be read: %1").arg(failure->reason));
  }
}

}  // namespace zandor
