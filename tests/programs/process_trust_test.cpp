// What a user trusts zandor --sync with besides the mail: it stops cleanly
// when the system asks it to (SIGTERM, SIGHUP), keeping what the Kelvo
// acknowledged; its logs and marks are the user's alone whatever the umask;
// nothing it prints carries a control character from the server or the
// mail; the settings are read as the user wrote them, and a wrong one is
// named before anything is connected.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QDirIterator>
#include <QSet>
#include <atomic>
#include <thread>

#include "support/imap_world.h"
#include "support/qt_print.h"
#include "support/row_name.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;
namespace {

const QStringList kInboxFolder{u"Inbox"_s};

struct TrustRow {
  const char* name;
  int status;
  const char* says;            // on standard error or output; '|' between several
  const char* imap = nullptr;  // [Imap] lines written by hand after the account's; null: Maildir
  std::function<void(ProgramWorld&)> prepare = nullptr;
  int signal = 0;           // sent in mid-send; a second run then completes
  const char* config = "";  // Dovecot's, added
  QStringList zandor{};
};
class ProcessTrustTest : public ::testing::TestWithParam<TrustRow> {};

// The account as the options dialog leaves it, then the row's own lines.
const char* const kAccount = "Host={host}\nPort={port}\nSecurity=none\nUser={user}\n";

void WriteImap(ProgramWorld& world, const imap::Account& account, const QString& rowLines) {
  world.Set(u"Store"_s, u"Kind"_s, u"imap"_s);
  QString lines = QString::fromLatin1(kAccount) + rowLines;
  if (!lines.contains(u"PasswordCommand="_s)) lines += u"PasswordCommand=echo {pw}\n"_s;
  lines.replace(u"{host}"_s, account.host)
      .replace(u"{port}"_s, QString::number(account.port))
      .replace(u"{user}"_s, account.user)
      .replace(u"{pw}"_s, account.password)
      .replace(u"{dir}"_s, world.Path(QString()));
  QFile settings(world.Settings());
  ASSERT_TRUE(settings.open(QIODevice::Append));
  settings.write("\n[Imap]\n" + lines.toUtf8());
}

mode_t ModeOf(const QString& path) {
  struct stat info {};
  return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// The run's files: the state folder and what is in it, the Maildir's marks.
void ExpectPrivate(ProgramWorld& world) {
  const QString state = world.Path(u"state/zandor"_s);
  if (QFileInfo::exists(state)) {
    EXPECT_EQ(ModeOf(state), 0700U);
  }
  for (const QString& folder : {state, world.Mail().Root()}) {
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden); it.hasNext();) {
      const QString path = it.next();
      if (folder == state || path.contains(u"zandor-state"_s)) {
        EXPECT_EQ(ModeOf(path), 0600U) << path.toStdString();
      }
    }
  }
  EXPECT_FALSE(QFileInfo::exists(u"/.local/state/zandor"_s));
}

// How many records the Kelvo has been sent, by its trace.
int RecordsSent(const QString& trace) {
  QFile file(trace);
  return file.open(QIODevice::ReadOnly) ? static_cast<int>(file.readAll().count("PC  CMD_MESSAGE"))
                                        : 0;
}

TEST_P(ProcessTrustTest, StopsKeepsPrivatePrintsSafelyReadsAsWritten) {
  const TrustRow& row = GetParam();
  if (row.imap != nullptr) {
    if (auto why = DovecotServer::Unavailable()) GTEST_SKIP() << *why;
  }
  const mode_t umaskBefore = ::umask(022);
  ProgramWorld world;
  std::optional<DovecotServer> server;
  if (row.imap != nullptr) {
    server.emplace(QStringList(), false, QString::fromLatin1(row.config));
    FillServer(*server, 1, u"On the server"_s);
  } else {
    world.Add(kInboxFolder, u"A"_s);
  }
  if (row.prepare) row.prepare(world);
  const QString trace = world.Path(u"kelvo.trace"_s);
  ASSERT_TRUE(world.StartKelvo({u"--pace"_s, u"38400"_s, u"--trace"_s, trace}));
  // Written last: a value the world writes would put the file in QSettings' form.
  if (server) WriteImap(world, server->Account(imap::Security::None), QString::fromUtf8(row.imap));
  std::atomic<bool> ended = false;
  std::thread sender;
  const auto signalInMidSend = [&](qint64 pid) {
    if (row.signal == 0) return;
    sender = std::thread([&, pid] {
      while (!ended && RecordsSent(trace) < 3) QThread::msleep(2);
      if (!ended) ::kill(static_cast<pid_t>(pid), row.signal);
    });
  };
  const ProgramWorld::Run run =
      world.Zandor(QStringList{u"--sync"_s} + row.zandor, 0, 0, {}, signalInMidSend);
  ended = true;
  if (sender.joinable()) sender.join();
  EXPECT_EQ(run.status, row.status) << run.err.toStdString();
  for (const QString& said : QString::fromUtf8(row.says).split(u'|'))
    EXPECT_TRUE((run.out + run.err).contains(said)) << (run.out + run.err).toStdString();
  // Nothing from outside reaches the terminal raw: only the line ends are ours.
  for (const QChar c : run.out + run.err)
    EXPECT_TRUE(c == u'\n' || c.category() != QChar::Other_Control) << run.err.toStdString();
  if (row.signal != 0) {
    EXPECT_EQ(world.Zandor({u"--sync"_s}).status, 0);
  }
  world.StopKelvo();
  ExpectPrivate(world);
  // No record the Kelvo acknowledged was sent to it again.
  const QStringList held = world.Held(true);
  EXPECT_EQ(QSet<QString>(held.begin(), held.end()).size(), held.size())
      << held.join(u' ').toStdString();
  if (row.status == 0 && row.imap != nullptr) {
    EXPECT_EQ(held.filter(u"#On the server"_s).size(), 1) << held.join(u' ').toStdString();
  }
  ::umask(umaskBefore);
}

// Long messages, split, so that a stop falls in mid-send.
void LongMessages(ProgramWorld& world) {
  world.Set(u"Split"_s, u"SplitMode"_s, u"2"_s);
  for (int i = 0; i < 4; ++i) world.Add(kInboxFolder, u"Long %1"_s.arg(i), QString(7000, u'x'));
}

// A state folder and marks left by an earlier version, open to all.
void OpenFiles(ProgramWorld& world) {
  const QString state = world.Path(u"state/zandor"_s);
  QDir().mkpath(state);
  ::chmod(QFile::encodeName(state).constData(), 0755);
  for (const QString& path :
       {state + u"/run-20200101-000000-000.log"_s, world.Mail().Root() + u"/zandor-state.sqlite"_s,
        world.Mail().Root() + u"/zandor-state.sqlite-journal"_s}) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, ProcessTrustTest, ::testing::Values(
    TrustRow{"SigtermInMidSend", 1, "SIGTERM: stopping once the part in flight is complete",
             nullptr, LongMessages, SIGTERM},
    TrustRow{"SighupInMidSend", 1, "SIGHUP: stopping once the part in flight is complete",
             nullptr, LongMessages, SIGHUP},
    TrustRow{"FilesLeftOpenToAll", 0, "[1] Sent: 1", nullptr, OpenFiles},
    TrustRow{"ControlCharactersInTheMail", 0, "Sent: Inbox / \xef\xbf\xbd[31mred", nullptr,
             [](ProgramWorld& w) {
               w.Add(kInboxFolder, u"\x1b[31mred \x1b]0;title\x07"_s);
               w.Add({u"Inbox"_s, u"Caf\u00e9\x1b[2J"_s}, u"Caf\u00e9 \x1b[1m\r"_s);
             }, 0, "", {u"--verbose"_s}},
    TrustRow{"ImapStateFiles", 0, "[1] Sent: 1", ""},
    TrustRow{"CommandEndsWithStatus3", 1,
             "the command ended with status 3; it said: locked|[Imap] PasswordCommand",
             "PasswordCommand=echo {pw}; echo locked >&2; exit 3\n"},
    TrustRow{"CommandWithQuotes", 0, "[1] Sent: 1", "PasswordCommand=cat \"{dir}/pass word\"\n",
             [](ProgramWorld& w) {
               QFile file(w.Path(u"pass word"_s));
               file.open(QIODevice::WriteOnly);
               file.write(DovecotServer::kPassword);
             }},
    TrustRow{"QuoteInUser", 1, "log in as te\"ster", "User=te\"ster\nPort={port}\n"},
    TrustRow{"SemicolonInCommand", 0, "[1] Sent: 1", "PasswordCommand=true; echo {pw}\n"},
    TrustRow{"PortZero", 1, "[Imap] Port in |is \"0\"|from 1 to 65535", "Port=0\n"},
    TrustRow{"PortTooHigh", 1, "[Imap] Port in |is \"70000\"|from 1 to 65535", "Port=70000\n"},
    TrustRow{"PortAName", 1, "[Imap] Port in |is \"imap\"|from 1 to 65535", "Port=imap\n"},
    TrustRow{"SecurityUnknown", 1, "[Imap] Security in |is \"bogus\"|tls, starttls or none",
             "Security=bogus\n"},
    TrustRow{"HostIpv6InBrackets", 0, "[1] Sent: 1", "Host=[::1]\n", nullptr, 0,
             "listen = 127.0.0.1, ::1\n"},
    TrustRow{"NoHome", 1, "There is no home folder to keep what was sent to the Kelvo in", "",
             [](ProgramWorld& w) {
               w.Env().remove(u"HOME"_s);
               w.Env().remove(u"XDG_STATE_HOME"_s);
             }},
    TrustRow{"HomeIsTheRoot", 1, "Set HOME (or XDG_STATE_HOME) to your home folder", "",
             [](ProgramWorld& w) {
               w.Env().insert(u"HOME"_s, u"/"_s);
               w.Env().remove(u"XDG_STATE_HOME"_s);
             }}),
    RowName());
// clang-format on

}  // namespace
}  // namespace zandor::testing
