// What a user trusts zandor --sync with besides the mail: it stops cleanly
// when the system asks it to (SIGTERM, SIGHUP), keeping what the Kelvo
// acknowledged; its logs and marks are the user's alone whatever the umask;
// nothing it prints carries a control character from the server or the
// mail; the settings are read as the user wrote them, and a wrong one is
// named before anything is connected; and the mail itself reaches the Kelvo
// and the drafts whole: a NUL in a body, every address typed on the Kelvo, a
// message that cannot be read named.
#include <fcntl.h>
#include <gmime/gmime.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDirIterator>
#include <QSet>
#include <atomic>
#include <map>
#include <thread>

#include "store/mime/gmime_ptr.h"
#include "support/dovecot_server.h"
#include "support/program_world.h"
#include "support/qt_print.h"
#include "support/row_name.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;
namespace {

const QStringList kInboxFolder{u"Inbox"_s};

struct TrustRow {
  const char* name;
  int status;
  const char* says;  // on standard error or output; '|' between several, '!' before one never said
  const char* imap = nullptr;  // [Imap] lines written by hand after the account's; null: Maildir
  std::function<void(ProgramWorld&)> prepare = nullptr;
  int signal = 0;           // sent in mid-send; a second run then completes
  const char* config = "";  // Dovecot's, added
  QStringList zandor{};
  std::function<void(ProgramWorld&)> check = nullptr;  // what the user finds, the Kelvo stopped
  std::function<std::shared_ptr<void>(ProgramWorld&)> hold = nullptr;  // kept during the run
  const char* fault = nullptr;  // kelvo-sim's --fault; "no Kelvo": none on the port
  int interruptAfterMs = 0;     // Ctrl-C then
};
class TrustTest : public ::testing::TestWithParam<TrustRow> {};

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

// Every file below a folder with its content, and every folder, by path.
std::map<QString, QByteArray> Snapshot(const QString& root) {
  std::map<QString, QByteArray> entries;
  QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFile file(it.next());
    // The marks are the program's own; reading them here would also drop a
    // lock a row holds (closing any descriptor of a file drops them all).
    if (it.fileName().startsWith(u"zandor-state"_s)) continue;
    entries[QDir(root).relativeFilePath(it.filePath())] =
        file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<dir or unreadable>");
  }
  return entries;
}

using Hold = std::shared_ptr<void>;  // what a row keeps alive during the run

// A file of sent marks with rows enough for several pages.
sqlite3* MarksFile(const QString& path) {
  sqlite3* db = nullptr;
  sqlite3_open(path.toUtf8().constData(), &db);
  sqlite3_exec(db,
               "CREATE TABLE kelvo_sent (unique_name TEXT PRIMARY KEY, msecs INTEGER, local_time "
               "TEXT);WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<300) "
               "INSERT INTO kelvo_sent SELECT printf('%0100d', i), i, '' FROM n",
               nullptr, nullptr, nullptr);
  return db;
}

// Message files in folders' cur/, their names given as bytes (folder, name
// pairs). Qt cannot remove names that are not UTF-8, so the files and the
// folders made go when the hold does.
Hold RawMessages(const std::vector<std::pair<QByteArray, QByteArray>>& messages) {
  auto made = std::make_shared<std::vector<QByteArray>>();
  for (const auto& [folder, name] : messages) {
    for (const QByteArray& dir : {folder, folder + "/cur", folder + "/new", folder + "/tmp"})
      if (::mkdir(dir.constData(), 0700) == 0) made->push_back(dir);
    made->push_back(folder + "/cur/" +
                    QByteArray::number(QDateTime::currentSecsSinceEpoch() - 3600) + name + ":2,S");
    const int fd = ::open(made->back().constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    EXPECT_EQ(::write(fd, "Subject: raw\n\nbody\n", 19), 19) << made->back().toStdString();
    ::close(fd);
  }
  return Hold(nullptr, [made](void*) {
    for (auto it = made->rbegin(); it != made->rend(); ++it) ::remove(it->constData());
  });
}

QString MarksOf(ProgramWorld& w) {
  return w.Mail().Root() + u"/zandor-state.sqlite"_s;
}

TEST_P(TrustTest, StopsKeepsPrivatePrintsSafelyReadsAsWrittenLosesNothing) {
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
  const Hold kept = row.hold ? row.hold(world) : nullptr;
  const std::map<QString, QByteArray> before = Snapshot(world.Mail().Root());
  const QString trace = world.Path(u"kelvo.trace"_s);
  const QString fault = QString::fromUtf8(row.fault);
  if (fault == u"no Kelvo"_s) {
    world.Set(u"Ports"_s, u"COM1"_s, u"/dev/no-such"_s);
  } else {
    ASSERT_TRUE(
        world.StartKelvo(QStringList{u"--pace"_s, u"38400"_s, u"--trace"_s, trace} +
                         (fault.isEmpty() ? QStringList() : QStringList{u"--fault"_s, fault})));
  }
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
  const ProgramWorld::Run run = world.Zandor(QStringList{u"--sync"_s} + row.zandor, 0,
                                             row.interruptAfterMs, {}, signalInMidSend);
  ended = true;
  if (sender.joinable()) sender.join();
  EXPECT_EQ(run.status, row.status) << run.err.toStdString();
  for (const QString& said : QString::fromUtf8(row.says).split(u'|')) {
    const bool never = said.startsWith(u'!');
    EXPECT_NE((run.out + run.err).contains(said.mid(never ? 1 : 0)), never)
        << (run.out + run.err).toStdString();
  }
  // Nothing from outside reaches the terminal raw: only the line ends are ours.
  for (const QChar c : run.out + run.err)
    EXPECT_TRUE(c == u'\n' || c.category() != QChar::Other_Control) << run.err.toStdString();
  if (row.signal != 0) {
    EXPECT_EQ(world.Zandor({u"--sync"_s}).status, 0);
  }
  world.StopKelvo();
  if (row.check) row.check(world);
  ExpectPrivate(world);
  // No file is lost, renamed or rewritten, no folder is made but Drafts for
  // what the Kelvo gave.
  std::map<QString, QByteArray> after = Snapshot(world.Mail().Root());
  for (const auto& [path, content] : before) {
    EXPECT_EQ(after[path], content) << path.toStdString();
    after.erase(path);
  }
  for (const auto& [path, content] : after)
    EXPECT_TRUE(path.startsWith(u".Drafts"_s)) << "made " << path.toStdString();
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
    ::close(::open(QFile::encodeName(path).constData(), O_CREAT | O_WRONLY, 0644));
  }
}

// The addresses of the To header of every draft, as a strict parser reads them.
QStringList DraftRecipients(const QString& mailRoot) {
  g_mime_init();
  QStringList addresses;
  for (QDirIterator it(mailRoot + u"/.Drafts"_s, QDir::Files, QDirIterator::Subdirectories);
       it.hasNext();) {
    QFile file(it.next());
    file.open(QIODevice::ReadOnly);
    const QByteArray to =
        QString::fromUtf8(file.readAll()).section(u"\nTo: "_s, 1).section(u'\n', 0, 0).toUtf8();
    mime::GObjectPtr<InternetAddressList> list(
        internet_address_list_parse(nullptr, to.constData()));
    for (int i = 0; list && i < internet_address_list_length(list.get()); ++i) {
      InternetAddress* address = internet_address_list_get_address(list.get(), i);
      if (INTERNET_ADDRESS_IS_MAILBOX(address))
        addresses << QString::fromUtf8(
            internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address)));
    }
  }
  return addresses;
}

// A message in the Inbox with a body as the bytes stand, and what the Kelvo
// must hold of it.
TrustRow Body(const char* name, QByteArray headers, QByteArray body) {
  return {.name = name,
          .status = 0,
          .says = "[1] Sent: 2",
          .prepare =
              [headers, body](ProgramWorld& w) {
                w.Mail().AddRaw(kInboxFolder,
                                "Subject: Awkward\nMIME-Version: 1.0\n" + headers + "\n" + body,
                                u"%1.body"_s.arg(QDateTime::currentSecsSinceEpoch() - 60));
              },
          .check =
              [](ProgramWorld& w) {
                EXPECT_TRUE(w.HeldTexts().join(u'\n').contains(u"Before?After"_s))
                    << w.HeldTexts().join(u'\n').toStdString();
              }};
}

// A note whose recipients were typed on the Kelvo, and the addresses its draft has.
TrustRow Typed(const char* name, const char* to, const char* found) {
  return {.name = name,
          .status = 0,
          .says = "[2] Received: 1",
          .prepare =
              [to](ProgramWorld& w) { w.WriteKelvo({u"From the road"_s}, QString::fromUtf8(to)); },
          .check =
              [found](ProgramWorld& w) {
                EXPECT_EQ(DraftRecipients(w.Mail().Root()).join(u' '), QString::fromUtf8(found));
              }};
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, TrustTest, ::testing::Values(
    // Hostile or unlucky stores, settings and Kelvos.
    TrustRow{.name = "NoPort", .status = 1, .says = "Cannot open Com 1 (/dev/no-such)",
             .fault = "no Kelvo"},
    // A silence past the limit is told as such: nobody pressed Break.
    TrustRow{.name = "Silent", .status = 1,
             .says = "for 1 second, so the synchronisation was stopped|Handshake error|!User Break",
             .zandor = {u"--timeout"_s, u"1"_s}, .fault = "1:silence"},
    TrustRow{.name = "SilentForTheDefault30Seconds", .status = 1,
             .says = "for 30 seconds, so the synchronisation was stopped", .fault = "1:silence"},
    TrustRow{.name = "HungUpWithinASplitMessage", .status = 1, .says = "no longer connected",
             .prepare = [](ProgramWorld& w) {
               w.Set(u"Split"_s, u"SplitMode"_s, u"2"_s);
               w.Add(kInboxFolder, u"Long"_s, QString(7000, u'x'));
             }, .fault = "16:hang-up"},
    // Said by the Ctrl-C handler itself, and by the wait it broke.
    TrustRow{.name = "Interrupted", .status = 1, .says = "Ctrl-C: stopping|User Break",
             .fault = "1:silence",
             .interruptAfterMs = 3000},
    TrustRow{.name = "NamesNotUtf8", .status = 0, .says = "[1] Sent: 4",
             .hold = [](ProgramWorld& w) {
               const QByteArray root = QFile::encodeName(w.Mail().Root());
               return RawMessages({{root, ".a\xff"}, {root, ".a\xfe"}, {root + "/.Caf\xe9", ".c"}});
             }},
    TrustRow{.name = "MarksGarbage", .status = 1, .says = "Move it aside",
             .prepare = [](ProgramWorld& w) {
               QFile file(MarksOf(w));
               file.open(QIODevice::WriteOnly);
               file.write(QByteArray(5000, 'g'));
             }},
    TrustRow{.name = "MarksAFolder", .status = 1, .says = "cannot open the sent marks",
             .prepare = [](ProgramWorld& w) { QDir().mkpath(MarksOf(w)); }},
    TrustRow{.name = "MarksLocked", .status = 1, .says = "Another program is using it",
             .hold = [](ProgramWorld& w) {
               sqlite3* db = MarksFile(MarksOf(w));
               sqlite3_exec(db, "BEGIN EXCLUSIVE; DELETE FROM kelvo_sent", nullptr, nullptr, nullptr);
               return Hold(db, sqlite3_close);
             }},
    TrustRow{.name = "SettingsAFolder", .status = 1, .says = "The settings file",
             .prepare = [](ProgramWorld& w) {
               QFile::remove(w.Settings());
               QDir().mkpath(w.Settings());
             }},
    TrustRow{.name = "MessageUnreadable", .status = 0, .says = "Skipped: Inbox / ",
             .prepare = [](ProgramWorld& w) {
               QFile::link(u"/proc/self/mem"_s, w.Mail().Root() + u"/cur/"_s +
                           QString::number(QDateTime::currentSecsSinceEpoch()) + u".bad:2,S"_s);
             }},
    TrustRow{.name = "KelvoTooLong", .status = 1, .says = "Message 2 written on the Kelvo is too long",
             .prepare = [](ProgramWorld& w) {
               w.WriteKelvo({QString(40000, u'b'), QString(70000, u'c')});
             }},
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
    Body("NulRaw", "", QByteArray("Before\0After\n", 13)),
    Body("NulQuotedPrintable", "Content-Transfer-Encoding: quoted-printable\n", "Before=00After\n"),
    Body("NulBase64", "Content-Type: text/plain; charset=iso-8859-1\n"
         "Content-Transfer-Encoding: base64\n", "QmVmb3JlAEFmdGVy\n"),
    Typed("QuoteLeftOpen", "\"Smith, John <js@ex.org>; ann@ex.org", "js@ex.org ann@ex.org"),
    Typed("BracketLeftOpen", "<js@ex.org; ann@ex.org", "js@ex.org ann@ex.org"),
    // A message link whose target cannot be reached is named; the rest still go.
    TrustRow{"LinkLoop", 0, "[1] Sent: 1; Skipped: 2|Skipped: Inbox / ", nullptr, [](ProgramWorld& w) {
      const QString first = w.Mail().Folder(kInboxFolder) +
                            u"/cur/%1.loop:2,S"_s.arg(QDateTime::currentSecsSinceEpoch() - 60);
      QFile::link(first + u"x"_s, first);
      QFile::link(first, first + u"x"_s);
    }, 0, "", {u"--verbose"_s}},
    TrustRow{"HomeIsTheRoot", 1, "Set HOME (or XDG_STATE_HOME) to your home folder", "",
             [](ProgramWorld& w) {
               w.Env().insert(u"HOME"_s, u"/"_s);
               w.Env().remove(u"XDG_STATE_HOME"_s);
             }}),
    RowName());
// clang-format on

}  // namespace
}  // namespace zandor::testing
