// The real programs: zandor --sync against kelvo-sim on a pseudo-terminal,
// with settings of their own, then a short soak of faults and kills.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QDirIterator>
#include <QRandomGenerator>
#include <atomic>
#include <functional>
#include <iostream>
#include <map>
#include <thread>

#include "delay_proxy.h"
#include "support/dovecot_server.h"
#include "support/program_world.h"
#include "support/qt_print.h"
#include "support/row_name.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;
namespace {

const QStringList kInbox{u"Inbox"_s};

// The four status lines a run ends with: the last text printed for each.
QString Summary(const QString& out) {
  QStringList last(4);
  for (const QString& line : out.split(u'\n')) {
    const int number = line.startsWith(u'[') ? line.mid(1, 1).toInt() : 0;
    if (number >= 1 && number <= 4 && line.mid(2, 2) == u"] "_s) last[number - 1] = line.mid(4);
  }
  QString summary;
  for (int i = 0; i < 4; ++i) summary += u"[%1] %2\n"_s.arg(i + 1).arg(last[i]);
  return summary;
}

// The stored options and folder choice, and --full and --yes, reach the run;
// into a pipe each status line is printed once as it changes, and the end is
// said in messages. --full without --yes stops at once.
TEST(ProgramsTest, SynchronisesOnceHonouringTheStoredOptions) {
  ProgramWorld world;
  const QString a = world.Add(kInbox, u"A"_s, QString(7000, u'a'));
  const QStringList skip{u"Inbox"_s, u"Skip"_s};
  const QString skipped = world.Add(skip, u"S"_s);
  world.Set(u"Folders"_s, world.Mail().EntryIdOf(skip), u"1"_s);
  world.Set(u"Split"_s, u"SplitMode"_s, u"2.5"_s);  // split
  world.WriteKelvo({u"Hi"_s});
  ASSERT_TRUE(world.StartKelvo());

  const ProgramWorld::Run unanswered = world.Zandor({u"--sync"_s, u"--full"_s});
  EXPECT_EQ(unanswered.status, 2);
  EXPECT_EQ(unanswered.err,
            u"zandor: --full asks for a Yes first, and a run without a window takes --yes as that "
            u"Yes: run again with --yes to go ahead. Nothing was done.\n"_s);
  ProgramWorld::Run first = world.Zandor({u"--sync"_s});
  EXPECT_EQ(first.status, 0) << first.err.toStdString();
  EXPECT_EQ(Summary(first.out), u"[1] Sent: 3 (1 splitted)\n[2] Received: 1\n[3] \n[4] \n"_s);
  EXPECT_EQ(first.out.count(u"[1] Sent: 3"_s), 1) << first.out.toStdString();
  EXPECT_TRUE(first.err.endsWith(
      u"zandor: complete: 1 message sent, split into 3 parts, 1 received into Drafts\n"_s))
      << first.err.toStdString();
  ProgramWorld::Run full = world.Zandor({u"--sync"_s, u"--full"_s, u"--yes"_s});
  EXPECT_TRUE(Summary(full.out).startsWith(u"[1] Sent: 3 (1 splitted)\n"_s));
  world.StopKelvo();
  const QStringList held = world.Held();
  EXPECT_EQ(held.count(a), 6);
  EXPECT_EQ(held.count(skipped), 0);
}

// On a terminal --sync redraws one line, as much of it as fits cut at a word,
// and prints the four lines once at the end; into a pipe it prints every
// change; without a display the window says how to run without one.
TEST(ProgramsTest, TerminalPipeAndNoDisplay) {
  ProgramWorld world;
  world.Add(kInbox, u"A"_s);
  ASSERT_TRUE(world.StartKelvo());
  const auto onTerminal = [&world](unsigned short columns) {
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    EXPECT_TRUE(terminal >= 0 && ::grantpt(terminal) == 0 && ::unlockpt(terminal) == 0);
    const winsize size{24, columns, 0, 0};
    ::ioctl(terminal, TIOCSWINSZ, &size);
    world.Zandor({u"--sync"_s}, 0, 0, QString::fromLatin1(::ptsname(terminal)));
    QByteArray shown;
    char buffer[4096];
    for (ssize_t got = 0; (got = ::read(terminal, buffer, sizeof buffer)) > 0;)
      shown.append(buffer, got);
    ::close(terminal);
    return shown;
  };
  const QByteArray shown = onTerminal(80);
  EXPECT_TRUE(shown.contains("\r\033[KMail sync started")) << shown.toStdString();
  EXPECT_TRUE(shown.contains("\r\033[K[message 1 of 1, 0:01 left] Scanning Inbox. Message 1 of 1"))
      << shown.toStdString();
  EXPECT_TRUE(shown.endsWith("\r\033[K[1] Sent: 1\r\n[2] Received: 0\r\n[3] \r\n[4] \r\n"));
  const QByteArray narrow = onTerminal(30);
  EXPECT_TRUE(narrow.contains("\r\033[KScanning Inbox. Message 1 of\u2026\r"))
      << narrow.toStdString();
  for (const QString& drawn : QString::fromUtf8(narrow).split(u"\r\033[K"_s))
    EXPECT_LE(drawn.section(u'\r', 0, 0).size(), 29) << drawn.toStdString();
  EXPECT_TRUE(
      world.Zandor({u"--sync"_s}).out.startsWith(u"[1] Mail sync started\n[1] Handshaking...\n"_s));
  const ProgramWorld::Run full = world.Zandor({u"--sync"_s}, 0, 0, u"/dev/full"_s);
  EXPECT_TRUE(full.status == 1 && full.err.contains(u"could not be written"_s))
      << full.err.toStdString();
  world.Env().remove(u"QT_QPA_PLATFORM"_s);
  const ProgramWorld::Run window = world.Zandor({});
  EXPECT_EQ(window.status, 2);
  EXPECT_TRUE(window.err.contains(u"run 'zandor --sync'"_s)) << window.err.toStdString();
  for (const auto& [variable, value] :
       {std::pair{"DISPLAY", ":7391"}, {"QT_QPA_PLATFORM", "bogus"}}) {
    world.Env().insert(QLatin1String(variable), QLatin1String(value));
    const ProgramWorld::Run broken = world.Zandor({});
    EXPECT_EQ(broken.status, 2) << variable;
    EXPECT_TRUE(broken.err.contains(u"cannot be opened"_s)) << broken.err.toStdString();
  }
  const ProgramWorld::Run bogus = world.Zandor({u"--bogus"_s});
  EXPECT_TRUE(bogus.status == 2 && bogus.err.contains(u"Unknown option 'bogus'"_s))
      << bogus.err.toStdString();
}

// The run names what it did to each message (--verbose): one cut to fit with
// its sizes; removed from the Kelvo, one by the subject its mark kept though
// its file is gone, one the Kelvo wrote as filed in Drafts at an earlier run.
TEST(ProgramsTest, NamesWhatWasCutAndRemoved) {
  ProgramWorld world;
  const QString gone = world.Add(kInbox, u"Weekly report"_s);
  world.Add(kInbox, u"Huge"_s, QString(5000, u'h'));
  world.WriteKelvo({u"Hi"_s});
  ASSERT_TRUE(world.StartKelvo());
  const ProgramWorld::Run first = world.Zandor({u"--sync"_s, u"--verbose"_s});
  EXPECT_TRUE(first.err.contains(u"Sent: Inbox / Huge (cut to 2,789 of 5,"_s))
      << first.err.toStdString();
  EXPECT_TRUE(first.err.contains(u"complete: 2 messages sent, 1 cut to fit, 1 received"_s));
  for (QDirIterator it(world.Mail().Root(), QDir::Files, QDirIterator::Subdirectories);
       it.hasNext();) {
    if (it.next().contains(gone)) QFile::remove(it.filePath());
  }
  const ProgramWorld::Run second =
      world.Zandor({u"--sync"_s, u"--verbose"_s, u"--remove-from-kelvo"_s, u"--yes"_s});
  EXPECT_TRUE(second.err.contains(u"zandor: Removed from the Kelvo: Weekly report\n"_s) &&
              second.err.contains(u"zandor: Removed from the Kelvo: From the road (written on "
                                  u"the Kelvo, saved to Drafts on "_s))
      << second.err.toStdString();
}

// Synchronisations in a row, each with one random fault of the Kelvo or
// killed at a random moment: whatever happens, no message file is lost or
// rewritten, and once the faults stop every message is on the Kelvo, with at
// most one part sent again for each run (the one whose mark was in flight).
TEST(ProgramsTest, SoakOfFaultsAndKills) {
  const int runs = qEnvironmentVariableIntValue("ZANDOR_SOAK_RUNS") > 0
                       ? qEnvironmentVariableIntValue("ZANDOR_SOAK_RUNS")
                       : 6;
  QRandomGenerator random(
      static_cast<quint32>(qEnvironmentVariableIntValue("ZANDOR_SOAK_SEED") + 1));
  ProgramWorld world;
  world.Set(u"Split"_s, u"SplitMode"_s, u"2"_s);
  QStringList parts;  // every part due, as the Kelvo holds it: "id#subject"
  for (int i = 0; i < runs; ++i) {
    for (int k = 0; k < 3; ++k) {
      const QString subject = u"m%1.%2"_s.arg(i).arg(k);
      const QString id = world.Add(kInbox, subject, QString(3500 * k, u'x'));
      for (int part = 1; part <= k + 1; ++part) {
        parts << id + u'#' + (k ? u"%1>"_s.arg(part) : QString()) + subject;
      }
    }
    const std::multiset<QByteArray> before = MessageContents(world.Mail().Root());
    static const char* const kKinds[] = {"wrong-byte", "twice", "joined", "too-many", "hang-up"};
    const QString fault =
        u"%1:%2"_s.arg(random.bounded(1, 14)).arg(QLatin1String(kKinds[random.bounded(5)]));
    const bool kill = i % 2 == 1;
    const QStringList faulty{u"--fault"_s, fault};
    ASSERT_TRUE(
        world.StartKelvo(QStringList{u"--pace"_s, u"38400"_s} + (kill ? QStringList() : faulty)));
    const ProgramWorld::Run run = world.Zandor({u"--sync"_s}, kill ? random.bounded(50, 600) : 0);
    world.StopKelvo();
    EXPECT_NE(run.status, 2) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(u"Sanitizer"_s)) << run.err.toStdString();
    const std::multiset<QByteArray> after = MessageContents(world.Mail().Root());
    for (const QByteArray& content : before)
      EXPECT_GE(after.count(content), before.count(content)) << fault.toStdString();
  }
  ASSERT_TRUE(world.StartKelvo());
  EXPECT_EQ(world.Zandor({u"--sync"_s}).status, 0);
  world.StopKelvo();
  // A run may lose the mark of the one part in flight, which is then sent again.
  const QStringList held = world.Held(true);
  for (const QString& part : parts) EXPECT_GE(held.count(part), 1) << part.toStdString();
  const qsizetype repeats = held.size() - parts.size();
  EXPECT_LE(repeats, runs);
  std::cerr << "soak: " << runs << " runs, " << repeats << " parts sent twice\n";
}

// zandor --sync with [Store] Kind=imap against the test's Dovecot, through
// a proxy that may cut the connection: the server's INBOX reaches the Kelvo
// and a note written on it lands in Drafts, each once, over one lost
// connection; a refused password stops before the port opens, naming the
// setting; a connection that cannot be had again ends the run, losing nothing.
// The scan's helper sessions are used where the server allows them, and not
// missed where it does not. What the run reads ahead goes on while the Kelvo
// is greeted: a server lost then ends the run as in the send phase, its
// closing bytes said, and the next run sends the rest; a refused password or
// certificate ends it before the Kelvo hears anything.
struct ImapRunRow {
  const char* name;
  const char* password;
  const char* cutAt;  // cuts when said by either side, once; "" never
  bool onTheLine;     // cuts, and refuses, while the first part is on the line
  bool refuse;        // the connection after the cut
  int status;
  bool synchronised;
  const char* told;         // on standard error
  int accepted = 0;         // connections the proxy takes, when not 0
  const char* config = "";  // Dovecot's, added
  bool tls = false;         // the run's session and its helpers alike
  // The server's answer stalls at this pattern until the Kelvo has answered
  // the handshake, when every connection is cut and refused; "" never.
  const char* stallAt = "";
  bool untrusted = false;  // no certificate is trusted but the system's
};
class ImapProgramsTest : public ::testing::TestWithParam<ImapRunRow> {};

QString DraftsText(const QString& mailRoot) {
  QString text;
  QDirIterator it(mailRoot + u"/.Drafts"_s, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFile file(it.next());
    if (file.open(QIODevice::ReadOnly)) text += QString::fromUtf8(file.readAll());
  }
  return text;
}

TEST_P(ImapProgramsTest, SynchronisesTheAccountOrStopsFirst) {
  if (auto why = DovecotServer::Unavailable()) GTEST_SKIP() << *why;
  const ImapRunRow& row = GetParam();
  DovecotServer server({}, false, QString::fromLatin1(row.config));
  FillServer(server, 2, u"On the server"_s);  // "* 1 EXISTS" then says that a draft was filed
  const imap::Account account =
      server.Account(row.tls ? imap::Security::Tls : imap::Security::None);
  DelayProxy proxy(account.port, std::chrono::milliseconds(0));
  if (*row.cutAt) proxy.CutAt(row.cutAt, row.refuse);
  if (*row.stallAt) proxy.BreakAt(row.stallAt, {}, DelayProxy::Then::Stall);
  ProgramWorld world;
  world.UseImap(account, proxy.Port(), QString::fromLatin1(row.password));
  if (row.untrusted) world.Set(u"Imap"_s, u"CertificateFile"_s, {});
  // A note on the Kelvo waits for the store's work; one lost then is lost to the receive phase.
  const bool note = !*row.stallAt;
  world.WriteKelvo(note ? QStringList{u"Written on the road"_s} : QStringList());
  const QString trace = world.Path(u"kelvo.trace"_s);
  ASSERT_TRUE(world.StartKelvo({u"--pace"_s, u"38400"_s, u"--trace"_s, trace}));
  const auto traced = [&trace](const char* piece) {
    QFile file(trace);
    return file.open(QIODevice::ReadOnly) && file.readAll().contains(piece);
  };
  std::atomic<bool> ended = false;
  std::atomic<bool> cutAfterHandshake = false;
  std::thread cutter([&] {
    if (!row.onTheLine && !*row.stallAt) return;
    const char* after = row.onTheLine ? "PC  CMD_MESSAGE" : "KV  ACK";
    while (!ended && !traced(after)) QThread::msleep(2);
    cutAfterHandshake = !ended;
    proxy.CutAt({}, true);
  });
  const ProgramWorld::Run run = world.Zandor({u"--sync"_s});
  ended = true;
  cutter.join();
  world.StopKelvo();
  if (*row.stallAt) {
    EXPECT_TRUE(cutAfterHandshake) << "the server was read before the Kelvo was greeted";
    QFile file(trace);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // The closing bytes of a run whose store failed in the send phase, and
    // nothing the Kelvo takes for a fault.
    const QByteArray transcript = file.readAll().trimmed();
    EXPECT_FALSE(transcript.contains("violation")) << transcript.toStdString();
    QByteArray said;
    for (const QByteArray& line : transcript.split('\n'))
      if (!line.startsWith("-- ")) said += line + '|';
    // Bytes written one after the other may come as one piece or two.
    said.replace("PC  CMD_END|PC  ACK|", "PC  CMD_END ACK|");
    EXPECT_TRUE(said.endsWith("PC  CMD_END|KV  ACK|PC  CMD_END ACK|")) << said.toStdString();
  }
  // Nothing reaches the Kelvo before the run's own login is accepted.
  if (row.status == 1 && !*row.cutAt && !*row.stallAt) {
    EXPECT_FALSE(traced("PC "));
  }
  EXPECT_EQ(run.status, row.status) << run.err.toStdString();
  const QStringList held = world.Held(true);
  EXPECT_EQ(held.filter(u"#On the server"_s).size(), row.synchronised ? 2 : 0)
      << held.join(u' ').toStdString();
  EXPECT_EQ(DraftsText(server.MailRoot()).count(u"Written on the road"_s),
            row.synchronised && note ? 1 : 0);
  for (const QString& told : QString::fromLatin1(row.told).arg(world.Settings()).split(u'|'))
    EXPECT_TRUE(run.err.contains(told)) << run.err.toStdString();
  if (row.accepted != 0) {
    EXPECT_EQ(proxy.Accepted(), row.accepted);
  }
  // The next run, the server back, sends the rest, each message once.
  if (*row.stallAt) {
    world.UseImap(account, account.port, QString::fromLatin1(row.password));
    ASSERT_TRUE(world.StartKelvo());
    EXPECT_EQ(world.Zandor({u"--sync"_s}).status, 0);
    world.StopKelvo();
    EXPECT_EQ(world.Held(true).filter(u"#On the server"_s).size(), 2);
  }
  // The password is in no value of the settings file.
  QFile settings(world.Settings());
  ASSERT_TRUE(settings.open(QIODevice::ReadOnly | QIODevice::Text));
  for (const QString& line : QString::fromUtf8(settings.readAll()).split(u'\n')) {
    EXPECT_NE(line.section(u'=', 1), QString::fromLatin1(row.password)) << line.toStdString();
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, ImapProgramsTest, ::testing::Values(
    // The run's session and three helpers started with it, of which the
    // one left without a mailbox (INBOX and Sent are all) logs out.
    ImapRunRow{"RightPassword", DovecotServer::kPassword, "", false, false, 0, true, "", 4, "", true},
    ImapRunRow{"OneSessionAllowed", DovecotServer::kPassword, "", false, false, 0, true, "", 4,
               "protocol imap {\n  mail_max_userip_connections = 1\n}\n"},
    ImapRunRow{"WrongPassword", "wrong", "", false, false, 1, false,
               "refused the password|[Imap] PasswordCommand in %1"},
    ImapRunRow{.name = "CertificateUntrusted", .password = DovecotServer::kPassword, .cutAt = "",
               .onTheLine = false, .refuse = false, .status = 1, .synchronised = false,
               .told = "certificate of 127.0.0.1 is not trusted", .tls = true, .untrusted = true},
    ImapRunRow{.name = "LostInTheCountAfterTheHandshake", .password = DovecotServer::kPassword,
               .cutAt = "", .onTheLine = false, .refuse = false, .status = 1,
               .synchronised = false, .told = "The mail store cannot be used",
               .stallAt = "BODY[HEADER]"},
    ImapRunRow{.name = "LostInTheReadAheadAfterTheHandshake",
               .password = DovecotServer::kPassword, .cutAt = "", .onTheLine = false,
               .refuse = false, .status = 1, .synchronised = false,
               .told = "The mail store cannot be used", .stallAt = "BODY[] {"},
    ImapRunRow{"CutInMidScan", DovecotServer::kPassword, "BODY[HEADER]", false, false, 0, true, ""},
    ImapRunRow{"CutInTheReadAhead", DovecotServer::kPassword, "BODY[] {", false, false, 0, true,
               ""},
    ImapRunRow{"CutInMidScanForGood", DovecotServer::kPassword, "BODY[HEADER]", false, true, 1,
               false, "The mail store cannot be used"},
    ImapRunRow{"CutAsTheNoteIsFiled", DovecotServer::kPassword, "* 1 EXISTS", false, false, 0,
               true, ""},
    ImapRunRow{"CutInMidSendForGood", DovecotServer::kPassword, "", true, true, 0, true, ""}),
    RowName());
// clang-format on

}  // namespace
}  // namespace zandor::testing
