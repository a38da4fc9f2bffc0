// A whole synchronisation over one folder of 400 messages (the most a folder
// may hold in range), in-process: the real Maildir store, the Kelvo device
// model behind a line that hands bytes over at once (no pacing, no
// transcript), and a host whose yield only moves those bytes. The first run
// sends every message (some in parts), the second finds them all sent and
// only scans. Prints messages per second for both and the peak resident
// memory of the process.
//
//   bench_large_folder [--messages N] [--repeat R]
//   bench_large_folder --imap [--messages N] [--repeat R] [--delay-ms D] [--trusted-index]
//     The folder (10,000 messages by default, half an hour apart) on a Dovecot
//     of the benchmark's own (as root), behind a proxy that delays each byte
//     D ms each way (25 by default); the range is the last 7 days. Times the
//     count of the messages in range on a store that logs in afresh, and the
//     whole second synchronisation, which finds them all sent. With
//     --trusted-index Dovecot trusts its index of the Maildir rather than
//     reading the folder's 10,000 file names at every EXAMINE
//     (maildir_very_dirty_syncs), as a server that is the Maildir's only
//     writer may.
//
// Standard output gets the result rows ("| measure | value | target | ok |"),
// standard error the details.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

#include "delay_proxy.h"
#include "mail_server/dovecot_server.h"
#include "mixed_mail.h"
#include "model/kelvo_device.h"
#include "records/conversion.h"
#include "save_probe.h"
#include "session/clock.h"
#include "session/plain_folder_view.h"
#include "settings/memory_settings_store.h"
#include "settings/sync_options.h"
#include "store/imap/imap_store.h"
#include "store/maildir/maildir_store.h"
#include "support/maildir_builder.h"
#include "sync/sync_driver.h"

namespace zandor {
namespace {

using testing::MaildirBuilder;
using testing::MaildirLayout;
using testing::Path;
using testing::TestMessage;

// The Kelvo on the other end of a wire without delay: what it answers is
// readable at the next yield, as from a real port.
class DirectLine final : public SerialLine {
 public:
  explicit DirectLine(sim::KelvoDevice& device) : device_(device) {}

  std::optional<OpenFailure> Open(const QString&, const LineSettings&) override {
    open_ = true;
    opened_ = std::chrono::steady_clock::now();
    device_.LineOpened();
    return std::nullopt;
  }
  void Close() override {
    if (open_) device_.LineClosed();
    open_ = false;
  }
  bool IsOpen() const override { return open_; }
  void Write(const QByteArray& bytes) override {
    device_.Receive(bytes);
    wire_ += device_.TakeOutput();
  }
  QByteArray ReadAll() override {
    QByteArray bytes;
    bytes.swap(readable_);
    return bytes;
  }
  void DiscardInput() override { readable_.clear(); }
  void DiscardOutput() override {}
  void SetEventHandler(EventHandler) override {}

  std::chrono::steady_clock::time_point Opened() const { return opened_; }

  void Deliver() {
    readable_ += wire_;
    wire_.clear();
  }

 private:
  sim::KelvoDevice& device_;
  bool open_ = false;
  std::chrono::steady_clock::time_point opened_;
  QByteArray wire_;
  QByteArray readable_;
};

class BenchHost final : public Host {
 public:
  explicit BenchHost(DirectLine& line) : line_(line) {}
  void ShowMessage(const QString& text) override {
    std::fprintf(stderr, "box: %s\n", qPrintable(text));
    ++boxes_;
  }
  bool Confirm(const QString&) override { return true; }
  QString Status(int line) const override { return status_[static_cast<std::size_t>(line - 1)]; }
  void SetStatus(int line, const QString& text) override {
    status_[static_cast<std::size_t>(line - 1)] = text;
  }
  void Yield(YieldMode) override { line_.Deliver(); }
  void SetBusy(bool) override {}
  void SetSyncEnabled(bool) override {}
  void SetBreakEnabled(bool) override {}
  FolderView& Folders() override { return tree_; }
  int Boxes() const { return boxes_; }

 private:
  DirectLine& line_;
  std::array<QString, 4> status_;
  PlainFolderView tree_;
  int boxes_ = 0;
};

const QDateTime kNow(QDate(2026, 12, 6), QTime(12, 0));

void FillFolder(MaildirBuilder& builder, int count, int apartSeconds = 600) {
  QRandomGenerator random(400);
  for (int i = 0; i < count; ++i) {
    TestMessage message =
        MixedMessage(random, QStringLiteral("Large folder message %1").arg(i + 1), i + 1);
    message.received = kNow.addSecs(-static_cast<qint64>(apartSeconds) * (i + 1));
    message.date = message.received;
    builder.Add(Path({"Inbox"}), message);
  }
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct SyncTiming {
  double seconds = 0;
  double portOpenSeconds = 0;  // from the opening of the port to the end
  double cpuSeconds = 0;
  int sent = 0;
  int boxes = 0;
};

const FixedClock kClock(kNow);

SyncTiming OneSynchronisation(MailStore& store, sim::KelvoDevice& device,
                              DateRange range = DateRange::All) {
  const FixedClock& clock = kClock;
  DirectLine line(device);
  BenchHost host(line);
  SyncOptions options;
  options.portPath = QStringLiteral("/dev/kelvo-bench");
  options.range = range;
  options.longMessages = LongMessages::Split;
  MemorySettingsStore settings;
  const ConversionTables tables = BuildConversionTables();
  SyncSession session;
  const SyncEnvironment environment{
      host, [&options] { return options; }, line, store, settings, clock, tables, QLocale::c()};

  const double cpuStart = CpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  RunSynchronisation(session, environment);
  const auto end = std::chrono::steady_clock::now();
  return {std::chrono::duration<double>(end - start).count(),
          std::chrono::duration<double>(end - line.Opened()).count(), CpuSeconds() - cpuStart,
          session.SentCount, host.Boxes()};
}

void Row(const QString& measure, const QString& value, const QString& target, bool met) {
  std::printf("| %s | %s | %s | %s |\n", qPrintable(measure), qPrintable(value), qPrintable(target),
              met ? "yes" : "NO");
}

int Option(const QStringList& arguments, const char* name, int fallback) {
  const qsizetype at = arguments.indexOf(QLatin1String(name));
  if (at < 0 || at + 1 >= arguments.size()) return fallback;
  bool ok = false;
  const int value = arguments[at + 1].toInt(&ok);
  return ok && value > 0 ? value : fallback;
}

int Run(int messages, int repeat) {
  double bestSend = 1e9;
  double bestScan = 1e9;
  double sendCpu = 0;
  double saveMs = 0;
  int sent = 0;
  for (int round = 0; round < repeat; ++round) {
    QTemporaryDir dir;
    MaildirBuilder builder(dir.path(), MaildirLayout::PlusPlus);
    FillFolder(builder, messages);
    sim::KelvoDevice device;
    MaildirStore sendStore(dir.path(), QLocale::c(), kClock);
    const SyncTiming send = OneSynchronisation(sendStore, device);
    MaildirStore scanStore(dir.path(), QLocale::c(), kClock);
    const SyncTiming scan = OneSynchronisation(scanStore, device);
    if (send.boxes + scan.boxes > 0 || scan.sent != 0 || device.CompletedSynchronisations() != 2) {
      std::fprintf(stderr, "large folder: the synchronisations did not go through\n");
      return 1;
    }
    sent = send.sent;
    if (send.seconds < bestSend) sendCpu = send.cpuSeconds;
    bestSend = std::min(bestSend, send.seconds);
    saveMs = MarkSaveMs(dir.path());
    bestScan = std::min(bestScan, scan.seconds);
    std::fprintf(stderr,
                 "large folder: round %d: send %.3f s (%.3f s CPU, %d parts), scan %.3f s; a "
                 "mark saves in %.1f ms here\n",
                 round + 1, send.seconds, send.cpuSeconds, send.sent, scan.seconds, saveMs);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  Row(QStringLiteral("large folder: send phase, %1 messages (%2 parts), in-process")
          .arg(messages)
          .arg(sent),
      QStringLiteral("%1 messages/s (%2 s)")
          .arg(messages / bestSend, 0, 'f', 0)
          .arg(bestSend, 0, 'f', 3),
      QStringLiteral("-"), true);
  Row(QStringLiteral("large folder: of which CPU; mark saves (%1 x %2 ms)")
          .arg(sent)
          .arg(saveMs, 0, 'f', 1),
      QStringLiteral("%1 s; %2 s").arg(sendCpu, 0, 'f', 3).arg(sent * saveMs / 1000, 0, 'f', 2),
      QStringLiteral("-"), true);
  Row(QStringLiteral("large folder: scan of %1 messages already sent").arg(messages),
      QStringLiteral("%1 messages/s (%2 s)")
          .arg(messages / bestScan, 0, 'f', 0)
          .arg(bestScan, 0, 'f', 3),
      QStringLiteral("-"), true);
  Row(QStringLiteral("large folder: peak resident memory"),
      QStringLiteral("%1 MB").arg(static_cast<double>(usage.ru_maxrss) / 1024.0, 0, 'f', 1),
      QStringLiteral("-"), true);
  return 0;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The folder on Dovecot behind the delaying proxy: one synchronisation sends
// what is in range (Dovecot indexes the folder meanwhile); then, best of
// `repeat`, a fresh store's count of the range and a whole second
// synchronisation, each logging in anew.
int RunImap(int messages, int repeat, int delayMs, bool trustedIndex) {
  if (auto why = sim::DovecotServer::Unavailable()) {
    std::fprintf(stderr, "large folder, IMAP: %s\n", why->c_str());
    return 1;
  }
  sim::DovecotServer server(
      {}, false, trustedIndex ? QStringLiteral("maildir_very_dirty_syncs = yes\n") : QString());
  MaildirBuilder builder(server.MailRoot(), MaildirLayout::PlusPlus);
  FillFolder(builder, messages, 1800);
  server.Own();
  imap::Account account = server.Account(imap::Security::None);
  testing::DelayProxy proxy(account.port, std::chrono::milliseconds(delayMs));
  account.port = proxy.Port();
  QTemporaryDir state;
  const QString stateFile = state.filePath(QStringLiteral("imap.sqlite"));
  const auto store = [&] {
    return std::make_unique<ImapStore>(account, stateFile, QLocale::c(), kClock);
  };
  sim::KelvoDevice device;
  const auto start = std::chrono::steady_clock::now();
  const SyncTiming send = OneSynchronisation(*store(), device, DateRange::Last7Days);
  const double firstSeconds = Seconds(start);
  double bestCount = 1e9;
  double bestScan = 1e9;
  double scanPortOpen = 0;
  int inRange = -1;
  for (int round = 0; round < repeat; ++round) {
    const auto counting = std::chrono::steady_clock::now();
    auto counter = store();
    auto items = counter->Items(counter->GetDefaultFolder(DefaultFolder::Inbox).value());
    const StoreResult<int> count =
        items ? (*items)->Count(kNow.date().addDays(-7)) : items.failure();
    const double countSeconds = Seconds(counting);
    bestCount = std::min(bestCount, countSeconds);
    inRange = count.ok() ? count.value() : -1;
    const SyncTiming scan = OneSynchronisation(*store(), device, DateRange::Last7Days);
    if (inRange <= 0 || send.boxes + scan.boxes > 0 || scan.sent != 0 || send.sent < inRange) {
      std::fprintf(stderr, "large folder, IMAP: the synchronisations did not go through\n");
      return 1;
    }
    if (scan.seconds < bestScan) scanPortOpen = scan.portOpenSeconds;
    bestScan = std::min(bestScan, scan.seconds);
    std::fprintf(
        stderr,
        "large folder, IMAP: round %d: count %.3f s, second synchronisation %.3f s (%.3f s "
        "with the port open)\n",
        round + 1, countSeconds, scan.seconds, scan.portOpenSeconds);
  }
  const QString what = QStringLiteral("large folder, IMAP %1 ms round trip%2")
                           .arg(delayMs * 2)
                           .arg(trustedIndex ? QStringLiteral(", index trusted") : QString());
  Row(QStringLiteral("%1: first synchronisation, %2 of %3 messages in range (%4 parts)")
          .arg(what)
          .arg(inRange)
          .arg(messages)
          .arg(send.sent),
      QStringLiteral("%1 s").arg(firstSeconds, 0, 'f', 2), QStringLiteral("-"), true);
  Row(QStringLiteral("%1: count of the range, logging in afresh").arg(what),
      QStringLiteral("%1 s").arg(bestCount, 0, 'f', 3), QStringLiteral("< 1 s"), bestCount < 1);
  Row(QStringLiteral("%1: second synchronisation, logging in afresh (a scan of %2 messages sent)")
          .arg(what)
          .arg(inRange),
      QStringLiteral("%1 s, of which %2 s with the port open")
          .arg(bestScan, 0, 'f', 3)
          .arg(scanPortOpen, 0, 'f', 3),
      QStringLiteral("< 1 s"), bestScan < 1);
  return 0;
}

// One synchronisation of an account of `mailboxes` mailboxes: the time until
// the port opens, and the CPU time of the whole run (Dovecot's not counted).
// Every tenth parent is not on disk, so Dovecot lists it as \Noselect.
std::optional<SyncTiming> Mailboxes(int mailboxes) {
  sim::DovecotServer server;
  MaildirBuilder builder(server.MailRoot(), MaildirLayout::PlusPlus);
  TestMessage message;
  message.received = message.date = kNow.addSecs(-3600);
  builder.Add(Path({"Inbox"}), message);
  constexpr int kPerParent = 100;
  for (int i = 0; i < mailboxes; ++i) {
    const QString parent = QStringLiteral("Group%1").arg(i / kPerParent, 4, 10, QLatin1Char('0'));
    if (i % kPerParent == 0 && (i / kPerParent) % 10 != 0) builder.Folder({parent});
    builder.Folder({parent + QStringLiteral(".Box%1").arg(i, 5, 10, QLatin1Char('0'))});
  }
  server.Own();
  QTemporaryDir state;
  ImapStore store(server.Account(imap::Security::None),
                  state.filePath(QStringLiteral("imap.sqlite")), QLocale::c(), kClock);
  sim::KelvoDevice device;
  const SyncTiming run = OneSynchronisation(store, device);
  if (run.sent != 1 || run.boxes > 0) {
    std::fprintf(stderr, "mailboxes: the synchronisation of %d did not go through\n", mailboxes);
    return std::nullopt;
  }
  std::fprintf(stderr, "mailboxes: %d: %.3f s before the port opened, %.3f s CPU in all\n",
               mailboxes, run.seconds - run.portOpenSeconds, run.cpuSeconds);
  return run;
}

// The wall time is mostly Dovecot's, opening every mailbox on the same
// machine; the CPU time is Zandor's alone, and is what must grow no faster
// than the mailboxes.
int RunMailboxes(int most) {
  if (auto why = sim::DovecotServer::Unavailable()) {
    std::fprintf(stderr, "mailboxes: %s\n", why->c_str());
    return 1;
  }
  std::vector<std::pair<int, SyncTiming>> timed;
  for (const int count : {most / 20, most / 5, most}) {
    const std::optional<SyncTiming> run = Mailboxes(count);
    if (!run) return 1;
    timed.emplace_back(count, *run);
  }
  for (const auto& [count, run] : timed) {
    Row(QStringLiteral("mailboxes: %1 on Dovecot, from the start to the opening of the port; "
                       "Zandor's CPU time")
            .arg(count),
        QStringLiteral("%1 s; %2 s CPU")
            .arg(run.seconds - run.portOpenSeconds, 0, 'f', 2)
            .arg(run.cpuSeconds, 0, 'f', 2),
        count == most ? QStringLiteral("< 5 s CPU") : QStringLiteral("-"),
        count != most || run.cpuSeconds < 5);
  }
  // Linear: twenty times the mailboxes, about twenty times the CPU.
  const double growth =
      timed.back().second.cpuSeconds / std::max(timed.front().second.cpuSeconds, 1e-3);
  Row(QStringLiteral("mailboxes: Zandor's CPU time for %1 over that for %2")
          .arg(most)
          .arg(most / 20),
      QStringLiteral("%1").arg(growth, 0, 'f', 1), QStringLiteral("< 40"), growth < 40);
  return 0;
}

}  // namespace
}  // namespace zandor

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments().mid(1);
  if (arguments.contains(QLatin1String("--imap-mailboxes"))) {
    return zandor::RunMailboxes(zandor::Option(arguments, "--imap-mailboxes", 20000));
  }
  if (arguments.contains(QLatin1String("--imap"))) {
    return zandor::RunImap(zandor::Option(arguments, "--messages", 10000),
                           zandor::Option(arguments, "--repeat", 3),
                           zandor::Option(arguments, "--delay-ms", 25),
                           arguments.contains(QLatin1String("--trusted-index")));
  }
  return zandor::Run(zandor::Option(arguments, "--messages", 400),
                     zandor::Option(arguments, "--repeat", 3));
}
