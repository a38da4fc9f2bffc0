// zandor --sync against an IMAP account as servers hold them: the tests'
// Dovecot behind a proxy that rewrites what it says, cuts it short or stalls
// it; mailboxes whose parent is not there; messages sharing a Message-ID.
#include <gtest/gtest.h>

#include <QDateTime>
#include <vector>

#include "delay_proxy.h"
#include "support/dovecot_server.h"
#include "support/program_world.h"
#include "support/row_name.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;
namespace {

// A message put in the server's Maildir++ before it starts.
struct Placed {
  const char* folder;  // the Maildir++ folder ("" for INBOX, ".Other.Child")
  const char* subject;
  const char* messageId;  // none when empty
};

// The server's mail, the proxy's doing, what the run says and which messages
// reach the Kelvo. A run that noticed the server's fault in time names the
// server, never the Kelvo: the Kelvo's own silence limit (30 s) did not end it.
struct FaultRow {
  const char* name;
  imap::Security security = imap::Security::None;
  const char* rewrite = "";  // "from|to" in what the server says; "" none
  const char* breakAt = "";  // in what the server says; "" never
  const char* say = "";      // in its place, then the cut
  bool stall = false;        // the connection stays open, silent
  bool loginCut = false;     // the connection is cut as LOGIN comes
  bool refuse = false;       // every connection after the fault
  int status = 0;
  const char* told = "";  // on standard error, "|" between the parts
  const char* held = "";  // the subjects on the Kelvo, "|" between them
  const char* config = "";
  // The server's mail; when none, First, Second and Third in INBOX and Elsewhere in Extra.
  std::vector<Placed> mail = {};
  const char* excluded = "";  // the entry id of a folder whose tick is cleared
};
class ImapAccountTest : public ::testing::TestWithParam<FaultRow> {};

QStringList Parts(const char* text) {
  return QString::fromUtf8(text).split(u'|', Qt::SkipEmptyParts);
}

TEST_P(ImapAccountTest, NamesTheServerAndLosesNothing) {
  if (auto why = DovecotServer::Unavailable()) GTEST_SKIP() << *why;
  const FaultRow& row = GetParam();
  DovecotServer server({}, false, QString::fromLatin1(row.config));
  MaildirBuilder mail(server.MailRoot(), MaildirLayout::PlusPlus);
  const std::vector<Placed> standard{
      {"", "First", ""}, {"", "Second", ""}, {"", "Third", ""}, {".Extra", "Elsewhere", ""}};
  for (const Placed& placed : row.mail.empty() ? standard : row.mail) {
    TestMessage message;
    message.subject = QString::fromUtf8(placed.subject);
    message.received = message.date = QDateTime::currentDateTimeUtc().addSecs(-3600);
    if (*placed.messageId)
      message.extraHeaders = "Message-ID: " + QByteArray(placed.messageId) + '\n';
    const QString folder = QString::fromUtf8(placed.folder);
    mail.AddRaw(folder.isEmpty() ? QStringList() : QStringList{folder.mid(1)},
                MaildirBuilder::Compose(message));
  }
  server.Own();
  const imap::Account account = server.Account(row.security);
  DelayProxy proxy(account.port, std::chrono::milliseconds(0));
  proxy.Count("LOGIN ");
  if (const QStringList rewrite = QString::fromUtf8(row.rewrite).split(u'|'); rewrite.size() == 2) {
    proxy.Rewrite(rewrite[0].toUtf8().replace("\\r\\n", "\r\n"),
                  rewrite[1].toUtf8().replace("\\r\\n", "\r\n"));
  }
  if (*row.breakAt) {
    proxy.BreakAt(row.breakAt, row.say, row.stall ? DelayProxy::Then::Stall : DelayProxy::Then::Cut,
                  row.refuse);
  }
  if (row.loginCut) proxy.CutAt("LOGIN ", row.refuse, true);
  ProgramWorld world;
  world.UseImap(account, proxy.Port(), QString::fromLatin1(DovecotServer::kPassword));
  world.Set(u"Imap"_s, u"Timeout"_s, u"3"_s);
  if (*row.excluded) world.Set(u"Folders"_s, QString::fromUtf8(row.excluded), u"1"_s);
  world.WriteKelvo();
  ASSERT_TRUE(world.StartKelvo());
  const ProgramWorld::Run run = world.Zandor({u"--sync"_s});
  world.StopKelvo();
  EXPECT_EQ(run.status, row.status) << run.err.toStdString();
  for (const QString& told : Parts(row.told))
    EXPECT_TRUE(run.err.contains(told)) << told.toStdString() << " in " << run.err.toStdString();
  for (const char* never : {"Kelvo", "User Break", "Handshake error"})
    EXPECT_FALSE(run.err.contains(QLatin1String(never))) << run.err.toStdString();
  QStringList held;
  for (const QString& part : world.Held(true)) held << part.section(u'#', 1).section(u'\n', 0, 0);
  held.sort();
  EXPECT_EQ(held.join(u'|'), QString::fromUtf8(row.held));
  // A password is never sent where the server refuses it in plain text.
  if (QString::fromLatin1(row.rewrite).contains(u"LOGINDISABLED"_s)) {
    for (int sent : proxy.Sent()) EXPECT_EQ(sent, 0);
  }
}

const char* const kAll = "Elsewhere|First|Second|Third";
constexpr auto kNone = imap::Security::None;
// The LIST line of Other, taken out of what the server says.
const char* const kOtherListed = "* LIST (\\Noselect \\HasChildren) \"/\" Other\\r\\n|";
// Without helper sessions, what the server says goes to the run's own.
const char* const kOneSession = "protocol imap {\n  mail_max_userip_connections = 1\n}\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, ImapAccountTest, ::testing::Values(
    FaultRow{"ByeInMidFetch", kNone, "", "* 2 FETCH", "* BYE Shutting down for the night\r\n",
             false, false, true, 1,
             "127.0.0.1|\"Shutting down for the night\"|check that the server is running", "",
             kOneSession},
    FaultRow{"ByeInMidFetchOnce", kNone, "", "* 2 FETCH", "* BYE Shutting down\r\n", false, false,
             false, 0, "", kAll},
    FaultRow{"StallInALiteral", kNone, "", "Subject: Second", "", true, false, true, 1,
             "127.0.0.1|sent nothing for 3 s", "", kOneSession},
    FaultRow{"StallInALiteralOnce", kNone, "", "Subject: Second", "", true, false, false, 0, "",
             kAll},
    FaultRow{"CloseAtLogin", kNone, "", "", "", false, true, true, 1,
             "log in as ann on 127.0.0.1: the server closed the connection", ""},
    // A day that does not exist, and a date the library cannot read at all.
    FaultRow{"GarbledInternalDate", kNone, "UID 2 INTERNALDATE \"|UID 2 INTERNALDATE \"x", "", "",
             false, false, false, 0, "", kAll},
    FaultRow{"BadInternalDate", kNone, "UID 2 INTERNALDATE \"|UID 2 INTERNALDATE \"3", "", "",
             false, false, false, 0, "", kAll},
    FaultRow{"LoginDisabled", kNone, "STARTTLS AUTH=PLAIN|LOGINDISABLED AUTH=PLAIN", "", "",
             false, false, false, 1, "127.0.0.1 refuses a password on this connection", ""},
    FaultRow{"LoginDisabledUpgraded", kNone, "AUTH=PLAIN|AUTH=PLAIN LOGINDISABLED", "", "",
             false, false, false, 0, "", kAll},
    // Two messages are one only when more than their Message-ID agrees.
    FaultRow{.name = "OneIdTwoMessagesInOneMailbox", .held = "First|Second",
             .mail = {{"", "First", "<same@example.org>"}, {"", "Second", "<same@example.org>"}}},
    FaultRow{.name = "OneIdTwoMessagesInTwoMailboxes", .held = "First|Second",
             .mail = {{"", "First", "<same@example.org>"}, {".Work", "Second", "<same@example.org>"}}},
    FaultRow{.name = "OneMessageInTwoMailboxes", .held = "Labelled",  // as Gmail's labels are
             .mail = {{"", "Labelled", "<label@example.org>"},
                      {".Work", "Labelled", "<label@example.org>"}}},
    // Dovecot lists .Other.Child as Other/Child, with Other (\\Noselect) above
    // it, which the proxy leaves out; it lists .inbox.Child as INBOX/Child,
    // which it then cannot open.
    FaultRow{.name = "ParentNotListed", .rewrite = kOtherListed, .held = "Far|Orphan",
             .mail = {{".Other.Child", "Orphan", ""}, {".Work.2025.May", "Far", ""}}},
    FaultRow{.name = "ParentNotListedUnticked", .rewrite = kOtherListed, .held = "Kept",
             .mail = {{".Other.Child", "Orphan", ""}, {"", "Kept", ""}}, .excluded = "Other/Child"},
    FaultRow{.name = "ChildOfInboxInLowerCase", .status = 1,
             .told = "cannot open the folder INBOX/Child", .held = "Kept",
             .mail = {{".inbox.Child", "Lower", ""}, {"", "Kept", ""}}},
    FaultRow{"LineBreakInAFolderName", kNone, "\"/\" Extra\\r\\n|\"/\" {7}\\r\\nEx\\r\\ntra\\r\\n",
             "", "", false, false, false, 1, "\"Ex\\r\\ntra\" holds a line break|rename", "First|Second|Third"}),
    RowName());
// clang-format on

}  // namespace
}  // namespace zandor::testing
