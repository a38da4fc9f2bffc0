// The real programs on a pseudo-terminal: zandor --sync against kelvo-sim.
//
//   bench_line line [--messages N] [--baud B] [--busy | --imap [--delay-ms D]]
//     N messages of mixed sizes (some split: split mode "Split unlimited") go
//     to a Kelvo that takes and gives bytes at B baud. Prints the wall time,
//     the bytes on the line both ways (from the simulator's transcript), the
//     time those bytes take at B baud (ten bit times a byte), the ratio of the
//     two, and zandor's CPU time as a share of the wall time. With --busy,
//     two writers keep the disk of the Maildir busy meanwhile: each writes
//     2 MiB to a file beside it and syncs it, over and over. With --imap the
//     mail is on a Dovecot of the benchmark's own (as root), reached through a
//     proxy that delays each byte D ms each way (25: a 50 ms round trip).
//   bench_line small [--messages N] [--baud B] [--busy] [--imap [--delay-ms D]]
//     A day's mail (10 messages by default): where the time beyond the
//     line's own goes. From the simulator's stamped transcript: the wall time
//     minus the line time, zandor's start to the first byte, the gap between
//     the Kelvo's Ack ending one message and the next message's first byte
//     (median and maximum), and the last byte to zandor's exit. --delay-ms
//     may be 0 here (Dovecot through the proxy without delay).
//   bench_line idle [--seconds S]
//     zandor --sync --timeout S waits for a Kelvo that never answers the
//     handshake. Prints zandor's CPU seconds, all told and while it waited.
//
// Standard output gets the result rows ("| measure | value | target | ok |"),
// standard error the details. Exit status 1 when a run itself failed; a
// missed target is reported, not an error.
#include <fcntl.h>
#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>
#include <vector>

#include "child_process.h"
#include "delay_proxy.h"
#include "line_trace.h"
#include "mail_server/dovecot_server.h"
#include "mixed_mail.h"
#include "save_probe.h"
#include "support/program_world.h"

namespace zandor {
namespace {

using testing::ChildProcess;
using testing::Path;
using testing::ProgramWorld;
using testing::TestMessage;

int Option(const QStringList& arguments, const char* name, int fallback, int least = 1) {
  const qsizetype at = arguments.indexOf(QLatin1String(name));
  if (at < 0 || at + 1 >= arguments.size()) return fallback;
  bool ok = false;
  const int value = arguments[at + 1].toInt(&ok);
  return ok && value >= least ? value : fallback;
}

void Row(const QString& measure, const QString& value, const QString& target, bool met) {
  std::printf("| %s | %s | %s | %s |\n", qPrintable(measure), qPrintable(value), qPrintable(target),
              met ? "yes" : "NO");
}

// Writers that keep a file system busy while they live: each writes 2 MiB
// to a file of its own in dir, syncs it, and starts again.
class BusyDisk {
 public:
  BusyDisk(const QString& dir, int writers) {
    for (int i = 0; i < writers; ++i) {
      const QByteArray path = QFile::encodeName(dir + QStringLiteral("/busy-%1").arg(i));
      writers_.emplace_back([this, path] {
        const std::vector<char> block(2 << 20, 'b');
        while (!stop_) {
          const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
          if (fd < 0) return;
          const bool written = ::write(fd, block.data(), block.size()) > 0;
          ::fsync(fd);
          ::close(fd);
          if (!written) return;
        }
        ::unlink(path.constData());
      });
    }
  }
  ~BusyDisk() {
    stop_ = true;
    for (std::thread& writer : writers_) writer.join();
  }
  BusyDisk(const BusyDisk&) = delete;
  BusyDisk& operator=(const BusyDisk&) = delete;

 private:
  std::atomic<bool> stop_{false};
  std::vector<std::thread> writers_;
};

void Detail(const QString& text) {
  std::fprintf(stderr, "%s\n", qPrintable(text));
}

void CommonSettings(ProgramWorld& world) {
  // Records carry dates in the locale and time zone: the same bytes on any machine.
  world.Env().insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
  world.Env().insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
  world.Set(QStringLiteral("Com"), QStringLiteral("Port"), QStringLiteral("1"));
  world.Set(QStringLiteral("Sync"), QStringLiteral("Days"), QStringLiteral("5"));
  world.Set(QStringLiteral("Split"), QStringLiteral("SplitMode"), QStringLiteral("2"));
  world.WriteKelvo();
}

// Starts zandor in the world, its output in files beside the Maildir.
bool StartZandor(ProgramWorld& world, ChildProcess& zandor, const QStringList& arguments) {
  return zandor.Start(world.ZandorExe(), arguments, world.Env().toStringList(),
                      world.Path(QStringLiteral("zandor.out")),
                      world.Path(QStringLiteral("zandor.err")));
}

// The mixed lot in the Inbox, Sent and Work, hours apart; returns the bytes of body.
int AddMixedMail(testing::MaildirBuilder& mail, int count) {
  QRandomGenerator random(20260601);
  const QDateTime now = QDateTime::currentDateTimeUtc();
  int bodyBytes = 0;
  for (int i = 0; i < count; ++i) {
    TestMessage message =
        MixedMessage(random, QStringLiteral("Benchmark message %1").arg(i + 1), i + 1);
    message.received = now.addSecs(-3600LL * (i + 1));
    message.date = message.received;
    const QStringList folder = i % 10 < 6   ? Path({"Inbox"})
                               : i % 10 < 9 ? Path({"Sent"})
                                            : Path({"Work"});
    mail.Add(folder, message);
    bodyBytes += static_cast<int>(message.body.size());
  }
  return bodyBytes;
}

// The account on the Dovecot behind the proxy, as [Store] and [Imap] settings.
void ImapSettings(ProgramWorld& world, const testing::DelayProxy& proxy) {
  const auto set = [&world](const char* key, const QString& value) {
    world.Set(QStringLiteral("Imap"), QString::fromLatin1(key), value);
  };
  world.Set(QStringLiteral("Store"), QStringLiteral("Kind"), QStringLiteral("imap"));
  set("Host", QStringLiteral("127.0.0.1"));
  set("Port", QString::number(proxy.Port()));
  set("Security", QStringLiteral("none"));
  set("User", QString::fromLatin1(sim::DovecotServer::kUser));
  set("PasswordCommand",
      QStringLiteral("echo ") + QString::fromLatin1(sim::DovecotServer::kPassword));
}

// Where the mail of a line benchmark lives: the world's Maildir, or a
// Dovecot of its own behind the delaying proxy.
struct MailServer {
  MailServer(ProgramWorld& world, std::optional<int> delayMs) {
    if (!delayMs) return;
    dovecot.emplace();
    mail.emplace(dovecot->MailRoot(), testing::MaildirLayout::PlusPlus);
    proxy.emplace(dovecot->Account(imap::Security::None).port, std::chrono::milliseconds(*delayMs));
    ImapSettings(world, *proxy);
  }
  std::optional<sim::DovecotServer> dovecot;
  std::optional<testing::MaildirBuilder> mail;
  std::optional<testing::DelayProxy> proxy;
};

int LineEfficiency(int messages, int baud, bool busy, std::optional<int> imapDelayMs) {
  ProgramWorld world;
  CommonSettings(world);
  if (imapDelayMs) {
    if (auto why = sim::DovecotServer::Unavailable()) {
      Detail(QString::fromStdString(*why));
      return 1;
    }
  }
  MailServer server(world, imapDelayMs);
  const int bodyBytes = AddMixedMail(server.mail ? *server.mail : world.Mail(), messages);
  if (server.dovecot) server.dovecot->Own();
  Detail(QStringLiteral("line: %1 messages, %2 bytes of body, Kelvo at %3 baud%4")
             .arg(messages)
             .arg(bodyBytes)
             .arg(baud)
             .arg(imapDelayMs
                      ? QStringLiteral(", mail on Dovecot %1 ms away each way").arg(*imapDelayMs)
                      : QString()));
  const QString trace = world.Path(QStringLiteral("kelvo.trace"));
  if (!world.StartKelvo(
          {QStringLiteral("--pace"), QString::number(baud), QStringLiteral("--trace"), trace})) {
    Detail(QStringLiteral("kelvo-sim did not start"));
    return 1;
  }
  std::optional<BusyDisk> writers;
  if (busy) writers.emplace(world.Path(QStringLiteral(".")), 2);
  ChildProcess zandor;
  const bool started = StartZandor(world, zandor, {QStringLiteral("--sync")});
  const bool ended = started && zandor.WaitForEnd(3600 * 1000);
  world.StopKelvo();
  // The save probe below measures the busy disk too.
  const testing::ChildEnd& end = zandor.End();
  const QString out = testing::ReadTextFile(world.Path(QStringLiteral("zandor.out")));
  if (!ended || !end.exited || end.exitCode != 0) {
    Detail(QStringLiteral("zandor: %1\n%2%3")
               .arg(!started ? zandor.Error()
                    : ended  ? end.Outcome()
                             : QStringLiteral("hung"),
                    out.right(2000),
                    testing::ReadTextFile(world.Path(QStringLiteral("zandor.err")))));
    return 1;
  }
  const QString sent = out.section(QLatin1Char('\n'), -5, -1).trimmed();
  const testing::TraceBytes bytes = testing::CountTraceBytes(testing::ReadTextFile(trace));
  const double lineSeconds = testing::LineSeconds(bytes.Total(), baud);
  const double wall = end.wallSeconds;
  const double ratio = wall / lineSeconds;
  const double cpuShare = end.CpuSeconds() / wall;
  Detail(QStringLiteral("line: %1").arg(sent.simplified()));
  Detail(QStringLiteral("line: %1 bytes PC->Kelvo, %2 bytes Kelvo->PC in %3 pieces%4")
             .arg(bytes.fromPc)
             .arg(bytes.fromKelvo)
             .arg(bytes.pieces)
             .arg(bytes.unknownTokens > 0
                      ? QStringLiteral(" (%1 unknown tokens!)").arg(bytes.unknownTokens)
                      : QString()));
  Detail(QStringLiteral("line: wall %1 s, line time %2 s, zandor CPU %3 s user + %4 s system, "
                        "peak RSS %5 KB")
             .arg(wall, 0, 'f', 2)
             .arg(lineSeconds, 0, 'f', 2)
             .arg(end.userSeconds, 0, 'f', 3)
             .arg(end.systemSeconds, 0, 'f', 3)
             .arg(end.maxRssKb));
  const QString line = imapDelayMs
                           ? QStringLiteral("line, IMAP %1 ms round trip").arg(*imapDelayMs * 2)
                       : busy ? QStringLiteral("line, busy disk")
                              : QStringLiteral("line");
  Row(QStringLiteral("%1: %2 messages at %3 baud, wall time").arg(line).arg(messages).arg(baud),
      QStringLiteral("%1 s").arg(wall, 0, 'f', 2), QStringLiteral("-"), true);
  Row(line + QStringLiteral(": bytes exchanged (PC + Kelvo)"),
      QStringLiteral("%1 + %2 = %3").arg(bytes.fromPc).arg(bytes.fromKelvo).arg(bytes.Total()),
      QStringLiteral("-"), bytes.unknownTokens == 0);
  Row(line + QStringLiteral(": pure line time of those bytes"),
      QStringLiteral("%1 s").arg(lineSeconds, 0, 'f', 2), QStringLiteral("-"), true);
  const double target = busy || imapDelayMs ? 1.01 : 1.003;
  Row(line + QStringLiteral(": wall / line time"), QString::number(ratio, 'f', 3),
      QStringLiteral("<= %1").arg(target), ratio <= target);
  // What the durable save of the mark after each part costs on this disk; it
  // overlaps the next part's bytes on the line.
  const int parts =
      sent.section(QStringLiteral("Sent: "), 1).section(QLatin1Char(' '), 0, 0).toInt();
  const double saveMs = MarkSaveMs(world.Mail().Root());
  Row(line + QStringLiteral(": mark saves, overlapped with the line (%1 parts x %2 ms)")
                 .arg(parts)
                 .arg(saveMs, 0, 'f', 1),
      QStringLiteral("%1 s = %2 % of the line time")
          .arg(parts * saveMs / 1000, 0, 'f', 2)
          .arg(parts * saveMs / 10 / lineSeconds, 0, 'f', 1),
      QStringLiteral("-"), true);
  writers.reset();
  Row(line + QStringLiteral(": zandor CPU / wall"),
      QStringLiteral("%1 % (%2 s)").arg(cpuShare * 100, 0, 'f', 2).arg(end.CpuSeconds(), 0, 'f', 2),
      QStringLiteral("<= 5 %"), cpuShare <= 0.05);
  return 0;
}

// One piece of a stamped transcript: when it crossed the line, which way,
// and its text.
struct StampedPiece {
  double us = 0;
  bool fromPc = false;
  QString text;
};

std::vector<StampedPiece> StampedPieces(const QString& transcript) {
  std::vector<StampedPiece> pieces;
  double at = 0;
  for (const QString& line : transcript.split(QLatin1Char('\n'))) {
    if (line.startsWith(QLatin1String("--  at "))) {
      at = line.mid(7).toDouble();
    } else if (line.startsWith(QLatin1String("PC  ")) || line.startsWith(QLatin1String("KV  "))) {
      pieces.push_back({at, line.startsWith(QLatin1String("PC")), line.mid(4)});
    }
  }
  return pieces;
}

double SteadyUs() {
  return static_cast<double>(std::chrono::duration_cast<std::chrono::microseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count());
}

int SmallRun(int messages, int baud, bool busy, std::optional<int> imapDelayMs) {
  ProgramWorld world;
  CommonSettings(world);
  if (imapDelayMs) {
    if (auto why = sim::DovecotServer::Unavailable()) {
      Detail(QString::fromStdString(*why));
      return 1;
    }
  }
  MailServer server(world, imapDelayMs);
  AddMixedMail(server.mail ? *server.mail : world.Mail(), messages);
  if (server.dovecot) server.dovecot->Own();
  // The transcript goes to memory where it can: on the busy disk its writes
  // would slow the simulated Kelvo, not zandor.
  const QTemporaryDir memory(QStringLiteral("/dev/shm/bench-line-XXXXXX"));
  const QString trace = memory.isValid() ? memory.filePath(QStringLiteral("kelvo.trace"))
                                         : world.Path(QStringLiteral("kelvo.trace"));
  if (!world.StartKelvo({QStringLiteral("--pace"), QString::number(baud), QStringLiteral("--trace"),
                         trace, QStringLiteral("--trace-times")})) {
    Detail(QStringLiteral("kelvo-sim did not start"));
    return 1;
  }
  std::optional<BusyDisk> writers;
  if (busy) writers.emplace(world.Path(QStringLiteral(".")), 2);
  ChildProcess zandor;
  const double startUs = SteadyUs();
  const bool started = StartZandor(world, zandor, {QStringLiteral("--sync")});
  const bool ended = started && zandor.WaitForEnd(600 * 1000);
  writers.reset();
  world.StopKelvo();
  const testing::ChildEnd& end = zandor.End();
  if (!ended || !end.exited || end.exitCode != 0) {
    Detail(QStringLiteral("zandor: %1\n%2")
               .arg(ended ? end.Outcome() : QStringLiteral("did not end"),
                    testing::ReadTextFile(world.Path(QStringLiteral("zandor.err")))));
    return 1;
  }
  const QString transcript = testing::ReadTextFile(trace);
  const std::vector<StampedPiece> pieces = StampedPieces(transcript);
  if (pieces.empty()) {
    Detail(QStringLiteral("small: nothing on the line"));
    return 1;
  }
  const double lineSeconds =
      testing::LineSeconds(testing::CountTraceBytes(transcript).Total(), baud);
  std::vector<double> gapsMs;
  bool firstMessage = true;  // it follows the handshake, not a message
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    if (!pieces[i].fromPc || pieces[i].text != QLatin1String("CMD_MESSAGE")) continue;
    if (!firstMessage && !pieces[i - 1].fromPc) {
      gapsMs.push_back((pieces[i].us - pieces[i - 1].us) / 1000);
    }
    firstMessage = false;
  }
  // Every wait of the Kelvo for the PC, with the longest three: where else the time goes.
  std::vector<std::pair<double, QString>> waits;
  double waited = 0;
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    if (!pieces[i].fromPc || pieces[i - 1].fromPc) continue;
    const double ms = (pieces[i].us - pieces[i - 1].us) / 1000;
    waited += ms;
    waits.emplace_back(ms,
                       QStringLiteral("%1 -> %2").arg(pieces[i - 1].text, pieces[i].text.left(30)));
  }
  std::sort(waits.begin(), waits.end(),
            [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<double> allWaits;
  for (const auto& wait : waits) allWaits.push_back(wait.first);
  std::sort(allWaits.begin(), allWaits.end());
  Detail(QStringLiteral("the Kelvo waited %1 ms for the PC in all, %2 times, median %3 ms; longest:")
             .arg(waited, 0, 'f', 1)
             .arg(allWaits.size())
             .arg(allWaits.empty() ? 0.0 : allWaits[allWaits.size() / 2], 0, 'f', 2));
  for (std::size_t i = 0; i < waits.size() && i < 4; ++i) {
    Detail(QStringLiteral("  %1 ms after %2").arg(waits[i].first, 0, 'f', 2).arg(waits[i].second));
  }
  std::sort(gapsMs.begin(), gapsMs.end());
  const double median = gapsMs.empty() ? 0 : gapsMs[gapsMs.size() / 2];
  const double largest = gapsMs.empty() ? 0 : gapsMs.back();
  const double endUs = startUs + end.wallSeconds * 1e6;
  const QString name =
      QStringLiteral("small, %1%2")
          .arg(imapDelayMs ? QStringLiteral("IMAP %1 ms round trip").arg(*imapDelayMs * 2)
                           : QStringLiteral("Maildir"),
               busy ? QStringLiteral(", busy disk") : QString());
  Detail(QStringLiteral("%1: %2 messages, wall %3 s, line %4 s, %5 gaps")
             .arg(name)
             .arg(messages)
             .arg(end.wallSeconds, 0, 'f', 3)
             .arg(lineSeconds, 0, 'f', 3)
             .arg(gapsMs.size()));
  const double over = end.wallSeconds - lineSeconds;
  const double target = imapDelayMs ? 6 * 2 * *imapDelayMs / 1000.0 + 0.15 : 0.10;
  Row(name + QStringLiteral(": wall - line time (%1 messages)").arg(messages),
      QStringLiteral("%1 s").arg(over, 0, 'f', 3), QStringLiteral("<= %1 s").arg(target, 0, 'f', 2),
      over <= target);
  Row(name + QStringLiteral(": start to first byte"),
      QStringLiteral("%1 s").arg((pieces.front().us - startUs) / 1e6, 0, 'f', 3),
      QStringLiteral("-"), true);
  Row(name + QStringLiteral(": between messages, median / maximum"),
      QStringLiteral("%1 / %2 ms").arg(median, 0, 'f', 2).arg(largest, 0, 'f', 2),
      busy ? QStringLiteral("-") : QStringLiteral("<= 0.5 ms median"), busy || median <= 0.5);
  Row(name + QStringLiteral(": last byte to exit"),
      QStringLiteral("%1 s").arg((endUs - pieces.back().us) / 1e6, 0, 'f', 3), QStringLiteral("-"),
      true);
  return 0;
}

int IdleCost(int seconds) {
  ProgramWorld world;
  CommonSettings(world);
  AddMixedMail(world.Mail(), 10);
  if (!world.StartKelvo({QStringLiteral("--fault"), QStringLiteral("1:silence")})) {
    Detail(QStringLiteral("kelvo-sim did not start"));
    return 1;
  }
  ChildProcess zandor;
  if (!StartZandor(
          world, zandor,
          {QStringLiteral("--sync"), QStringLiteral("--timeout"), QString::number(seconds)})) {
    Detail(zandor.Error());
    return 1;
  }
  // The CPU used up to the handshake is the start-up's, not the wait's.
  const QString out = world.Path(QStringLiteral("zandor.out"));
  testing::WaitUntil(
      [&] {
        return testing::ReadTextFile(out).contains(QStringLiteral("Handshaking")) ||
               !zandor.Running();
      },
      20000);
  const double atHandshake = testing::ProcessCpuSeconds(zandor.Pid());
  const double handshakeMs = zandor.ElapsedMs();
  if (!zandor.WaitForEnd((seconds + 30) * 1000)) {
    Detail(QStringLiteral("zandor did not stop after %1 s of silence").arg(seconds));
    return 1;
  }
  world.StopKelvo();
  const testing::ChildEnd& end = zandor.End();
  const double waiting = end.CpuSeconds() - atHandshake;
  Detail(QStringLiteral("idle: zandor %1 after %2 s; handshake written at %3 ms with %4 s CPU; "
                        "%5 s user + %6 s system all told")
             .arg(end.Outcome())
             .arg(end.wallSeconds, 0, 'f', 2)
             .arg(handshakeMs, 0, 'f', 0)
             .arg(atHandshake, 0, 'f', 3)
             .arg(end.userSeconds, 0, 'f', 3)
             .arg(end.systemSeconds, 0, 'f', 3));
  Row(QStringLiteral("idle: zandor CPU while the Kelvo is silent for %1 s").arg(seconds),
      QStringLiteral("%1 s").arg(waiting, 0, 'f', 3),
      QStringLiteral("<= %1 s (1 % of a core)").arg(seconds * 0.01, 0, 'f', 2),
      waiting <= seconds * 0.01);
  Row(QStringLiteral("idle: zandor CPU all told (start-up included)"),
      QStringLiteral("%1 s").arg(end.CpuSeconds(), 0, 'f', 3), QStringLiteral("-"), true);
  return 0;
}

// zandor --watch waiting for a port that never appears: the CPU it takes
// while it waits, after its start-up.
int WatchCost(int seconds) {
  ProgramWorld world;
  CommonSettings(world);
  world.Set(QStringLiteral("Ports"), QStringLiteral("COM1"),
            world.Path(QStringLiteral("serial/by-id/usb-Kelvo")));
  world.Env().remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
  ChildProcess zandor;
  if (!StartZandor(world, zandor, {QStringLiteral("--watch")})) {
    Detail(zandor.Error());
    return 1;
  }
  const QString err = world.Path(QStringLiteral("zandor.err"));
  testing::WaitUntil(
      [&] {
        return testing::ReadTextFile(err).contains(QStringLiteral("waiting for")) ||
               !zandor.Running();
      },
      20000);
  const double started = testing::ProcessCpuSeconds(zandor.Pid());
  if (zandor.WaitForEnd(seconds * 1000)) {
    Detail(QStringLiteral("zandor --watch ended: %1").arg(testing::ReadTextFile(err)));
    return 1;
  }
  const double waiting = testing::ProcessCpuSeconds(zandor.Pid()) - started;
  zandor.Signal(SIGTERM);
  zandor.WaitForEnd(20000);
  Detail(QStringLiteral("watch: zandor --watch %1; %2 s CPU at start-up, %3 s all told")
             .arg(zandor.End().Outcome())
             .arg(started, 0, 'f', 3)
             .arg(zandor.End().CpuSeconds(), 0, 'f', 3));
  Row(QStringLiteral("watch: zandor --watch CPU while waiting %1 s for the port").arg(seconds),
      QStringLiteral("%1 s").arg(waiting, 0, 'f', 2), QStringLiteral("0.00 s"), waiting < 0.005);
  return 0;
}

}  // namespace
}  // namespace zandor

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments().mid(1);
  const QString mode = arguments.value(0);
  if (mode == QLatin1String("line")) {
    const bool imap = arguments.contains(QLatin1String("--imap"));
    return zandor::LineEfficiency(
        zandor::Option(arguments, "--messages", 200), zandor::Option(arguments, "--baud", 38400),
        arguments.contains(QLatin1String("--busy")),
        imap ? std::optional(zandor::Option(arguments, "--delay-ms", 25)) : std::nullopt);
  }
  if (mode == QLatin1String("small")) {
    const bool imap = arguments.contains(QLatin1String("--imap"));
    return zandor::SmallRun(
        zandor::Option(arguments, "--messages", 10), zandor::Option(arguments, "--baud", 38400),
        arguments.contains(QLatin1String("--busy")),
        imap ? std::optional(zandor::Option(arguments, "--delay-ms", 25, 0)) : std::nullopt);
  }
  if (mode == QLatin1String("idle")) {
    return zandor::IdleCost(zandor::Option(arguments, "--seconds", 10));
  }
  if (mode == QLatin1String("watch")) {
    return zandor::WatchCost(zandor::Option(arguments, "--seconds", 600));
  }
  std::fprintf(stderr,
               "usage: bench_line line [--messages N] [--baud B] [--busy | --imap [--delay-ms "
               "D]]\n"
               "       bench_line small [--messages N] [--baud B] [--busy] [--imap [--delay-ms "
               "D]]\n"
               "       bench_line idle [--seconds S]\n"
               "       bench_line watch [--seconds S]\n");
  return 2;
}
