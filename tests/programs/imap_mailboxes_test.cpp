// zandor --sync with the mail on the tests' Dovecot: which mailboxes a run
// reaches, and which messages sharing a Message-ID reach the Kelvo.
#include <gtest/gtest.h>

#include <vector>

#include "support/dovecot_server.h"
#include "support/program_world.h"
#include "support/qt_print.h"
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

struct MailboxRow {
  const char* name;
  std::vector<Placed> mail;
  const char* excluded;  // the entry id of a folder whose tick is cleared, if any
  // What the Kelvo holds afterwards, "subject#folder name" each, in any order.
  std::vector<const char*> held;
  int status = 0;
  const char* told = "";  // on standard error
};
class ImapMailboxesTest : public ::testing::TestWithParam<MailboxRow> {};

TEST_P(ImapMailboxesTest, SendsEveryMessageOfEveryTickedMailboxOnce) {
  if (auto why = DovecotServer::Unavailable()) GTEST_SKIP() << *why;
  const MailboxRow& row = GetParam();
  DovecotServer server;
  MaildirBuilder mail(server.MailRoot(), MaildirLayout::PlusPlus);
  const QDateTime sent = QDateTime::currentDateTimeUtc().addSecs(-3600);
  for (const Placed& placed : row.mail) {
    TestMessage message;
    message.subject = QString::fromUtf8(placed.subject);
    message.received = message.date = sent;
    if (*placed.messageId)
      message.extraHeaders = "Message-ID: " + QByteArray(placed.messageId) + '\n';
    const QString folder = QString::fromUtf8(placed.folder);
    mail.AddRaw(folder.isEmpty() ? QStringList() : QStringList{folder.mid(1)},
                MaildirBuilder::Compose(message));
  }
  server.Own();
  const imap::Account account = server.Account(imap::Security::None);
  ProgramWorld world;
  world.UseImap(account, account.port, QString::fromLatin1(DovecotServer::kPassword));
  if (*row.excluded) world.Set(u"Folders"_s, QString::fromUtf8(row.excluded), u"1"_s);
  world.WriteKelvo();
  ASSERT_TRUE(world.StartKelvo());
  const ProgramWorld::Run run = world.Zandor({u"--sync"_s});
  world.StopKelvo();
  EXPECT_EQ(run.status, row.status) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(QString::fromUtf8(row.told))) << run.err.toStdString();
  QStringList held;
  for (const QString& entry : world.Held(true, true)) held << entry.section(u'#', 1);
  QStringList expected;
  for (const char* entry : row.held) expected << QString::fromUtf8(entry);
  held.sort();
  expected.sort();
  EXPECT_EQ(held, expected);
}

// MaildirBuilder writes a folder path's elements joined by dots after one:
// {"Other.Child"} is the directory .Other.Child. Dovecot lists it as
// Other/Child with Other (\Noselect) above it, and .inbox.Child as
// INBOX/Child, which it then cannot open.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, ImapMailboxesTest, ::testing::Values(
    MailboxRow{"OneIdTwoMessagesInOneMailbox",
               {{"", "First", "<same@example.org>"}, {"", "Second", "<same@example.org>"}}, "",
               {"First#Inbox", "Second#Inbox"}},
    MailboxRow{"OneIdTwoMessagesInTwoMailboxes",
               {{"", "First", "<same@example.org>"}, {".Work", "Second", "<same@example.org>"}},
               "", {"First#Inbox", "Second#Work"}},
    MailboxRow{"OneMessageInTwoMailboxes",
               {{"", "Labelled", "<label@example.org>"},
                {".Work", "Labelled", "<label@example.org>"}},
               "", {"Labelled#Inbox"}},
    MailboxRow{"ChildOfAParentNotOnDisk",
               {{".Other.Child", "Orphan", ""}, {".Work.2025.May", "Far", ""}}, "",
               {"Orphan#Child", "Far#May"}},
    MailboxRow{"ChildOfAParentNotOnDiskUnticked",
               {{".Other.Child", "Orphan", ""}, {"", "Kept", ""}}, "Other/Child", {"Kept#Inbox"}},
    MailboxRow{"ChildOfInboxInLowerCase", {{".inbox.Child", "Lower", ""}, {"", "Kept", ""}}, "",
               {"Kept#Inbox"}, 1, "cannot open the folder INBOX/Child"}),
    RowName());
// clang-format on

}  // namespace
}  // namespace zandor::testing
