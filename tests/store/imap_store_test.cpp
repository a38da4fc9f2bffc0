// The IMAP store against a Dovecot of the test's own, and the behaviours both
// stores share, run against each: the same Maildir, read as files or served
// by Dovecot.
#include "store/imap/imap_store.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QTemporaryDir>

#include "store/maildir/maildir_store.h"
#include "support/dovecot_server.h"
#include "support/maildir_builder.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using namespace Qt::StringLiterals;
using testing::DovecotServer;
using testing::Path;
using testing::TestMessage;

const QDateTime kNow(QDate(2026, 3, 3), QTime(12, 0));

enum class Kind { Maildir, Imap };

// Every message file's folder, name and bytes: what no reading may change.
std::map<QString, QByteArray> MessageFiles(const QString& root) {
  std::map<QString, QByteArray> files;
  for (QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
       it.hasNext();) {
    const QString path = it.next();
    if (!path.contains(u"/cur/"_s) && !path.contains(u"/new/"_s)) continue;
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    files[QDir(root).relativeFilePath(path)] = file.readAll();
  }
  return files;
}

// One Maildir++, opened as files or through Dovecot.
class StoreRig : public ::testing::Test {
 protected:
  void Start(Kind kind, const QStringList& hidden = {}) {
    if (kind == Kind::Imap) {
      if (auto why = DovecotServer::Unavailable()) GTEST_SKIP() << *why;
      server_.emplace(testing::ServerLimits{hidden});
    }
    mail_.emplace(server_ ? server_->MailRoot() : dir_.path(), testing::MaildirLayout::PlusPlus);
  }
  MailStore& Open() {
    store_.reset();
    if (!server_) {
      store_ = std::make_unique<MaildirStore>(dir_.path(), QLocale(u"en_US"_s), clock_);
    } else {
      server_->Own();
      store_ = std::make_unique<ImapStore>(server_->Account(imap::Security::None),
                                           state_.filePath(u"imap.sqlite"_s), QLocale(u"en_US"_s),
                                           clock_);
    }
    return *store_;
  }
  QString Root() const { return server_ ? server_->MailRoot() : dir_.path(); }
  // The messages of a default folder and of the folders under it, each
  // sorted, from the day on.
  std::vector<std::unique_ptr<MailItem>> Items(DefaultFolder which, std::optional<QDate> since) {
    const FolderRef top = store_->GetDefaultFolder(which).value();
    std::vector<FolderRef> folders = store_->Subfolders(top).value();
    folders.insert(folders.begin(), top);
    std::vector<std::unique_ptr<MailItem>> found;
    for (const FolderRef& folder : folders) {
      auto items = std::move(store_->Items(folder).value());
      items->SortByReceivedTime();
      for (auto item = items->Find(since); item; item = items->FindNext())
        found.push_back(std::move(item));
    }
    return found;
  }
  QStringList Subjects(DefaultFolder which) {
    QStringList subjects;
    for (const auto& item : Items(which, std::nullopt))
      subjects << item->Text(ItemText::Subject).value();
    return subjects;
  }
  // Messages received a day apart, oldest first, each with its own Message-ID.
  void AddDays(const QStringList& folder, int count) {
    for (int i = 0; i < count; ++i) {
      TestMessage message;
      message.subject = u"day %1"_s.arg(i);
      message.received = kNow.addDays(i - count);
      message.date = kNow.addDays(i - count).addSecs(-60);
      message.extraHeaders = "Message-ID: <" + QByteArray::number(i) + "@test>\n";
      message.flags = i % 2 ? u"S"_s : QString();
      mail_->Add(folder, message);
    }
  }

  QTemporaryDir dir_, state_;
  FixedClock clock_{kNow};
  std::optional<DovecotServer> server_;
  std::optional<testing::MaildirBuilder> mail_;
  std::unique_ptr<MailStore> store_;
};

// A store, and for IMAP the capabilities its server hides.
struct StoreRow {
  const char* name;
  Kind kind;
  QStringList hidden = {};
};
class BothStores : public StoreRig, public ::testing::WithParamInterface<StoreRow> {
 protected:
  void SetUp() override { Start(GetParam().kind, GetParam().hidden); }
};

const StoreRow kImap{"Imap", Kind::Imap};
const StoreRow kNoSpecialUse{"ImapNoSpecialUse", Kind::Imap, {u"SPECIAL-USE"_s}};
// Without MOVE, Delete copies and expunges one UID; without UIDPLUS a draft is
// found by its Message-ID; without SPECIAL-USE default folders go by name.
INSTANTIATE_TEST_SUITE_P(Kinds, BothStores,
                         ::testing::Values(StoreRow{"Maildir", Kind::Maildir}, kImap,
                                           StoreRow{"ImapNoMove", Kind::Imap, {u"MOVE"_s}},
                                           StoreRow{"ImapNoUidplus", Kind::Imap, {u"UIDPLUS"_s}},
                                           kNoSpecialUse),
                         testing::RowName());

TEST_P(BothStores, CountsAndSortsFromTheStartOfTheDay) {
  AddDays(Path({"Inbox"}), 5);
  Open();
  auto items =
      std::move(store_->Items(store_->GetDefaultFolder(DefaultFolder::Inbox).value()).value());
  const QDate since = kNow.date().addDays(-3);
  EXPECT_EQ(items->Count(std::nullopt).value(), 5);
  EXPECT_EQ(items->Count(since).value(), 3);
  QStringList found;
  for (const auto& item : Items(DefaultFolder::Inbox, since))
    found << item->Text(ItemText::Subject).value() + u' ' +
                 item->ReceivedTime()->toUTC().toString(Qt::ISODate);
  EXPECT_EQ(found, (QStringList{u"day 2 2026-02-28T12:00:00Z"_s, u"day 3 2026-03-01T12:00:00Z"_s,
                                u"day 4 2026-03-02T12:00:00Z"_s}));
}

// Every text reads, and reading changes no file: no flag is set, not even \Seen.
TEST_P(BothStores, ReadsEveryTextAndChangesNoFlag) {
  TestMessage message;
  message.subject = u"Grüße"_s;
  message.from = u"Jörg <joerg@example.org>"_s;
  message.to = u"Ann <ann@example.org>, b@example.org"_s;
  message.cc = u"Carl <carl@example.org>"_s;
  message.body = u"line 1\nline 2\n"_s;
  message.received = kNow.addDays(-1);
  message.date = kNow.addDays(-2);
  message.flags = QString();
  mail_->Add(Path({"Inbox"}), message);
  Open();
  const auto before = MessageFiles(Root());
  const auto items = Items(DefaultFolder::Inbox, std::nullopt);
  ASSERT_EQ(items.size(), 1U);
  QStringList texts;
  for (int which = 0; which <= static_cast<int>(ItemText::Body); ++which)
    texts << items[0]->Text(static_cast<ItemText>(which)).value();
  EXPECT_EQ(texts.join(u'|'), u"Grüße|Jörg|Ann; b@example.org|Carl||line 1\r\nline 2\r\n"_s);
  EXPECT_EQ(items[0]->SentOn().value(), kNow.addDays(-2));
  store_.reset();
  EXPECT_EQ(MessageFiles(Root()), before);
}

TEST_P(BothStores, MarksAndPartsReadBackAfterReopening) {
  AddDays(Path({"Inbox"}), 3);
  Open();
  const std::optional<SentParts> parts[] = {SentParts{1, 3}, std::nullopt, std::nullopt};
  const QDateTime marks[] = {kNow, NeverSentDate(), kNow};
  auto items = Items(DefaultFolder::Inbox, std::nullopt);
  for (size_t i = 0; i < 2; ++i) {
    items[i]->SetKelvoSent(marks[i]);
    if (parts[i]) items[i]->SetKelvoParts(*parts[i]);
    ASSERT_TRUE(items[i]->Save().ok());
  }
  items[2]->SetKelvoSent(kNow);  // never saved
  ASSERT_TRUE(store_->SettleSaves().ok());
  Open();
  items = Items(DefaultFolder::Inbox, std::nullopt);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(*items[i]->KelvoSent(), i < 2 ? std::optional(marks[i]) : std::nullopt) << i;
    EXPECT_EQ(*items[i]->KelvoParts(), parts[i]) << i;
  }
}

TEST_P(BothStores, NewItemGoesToDraftsAndReadsBack) {
  Open();
  auto item = store_->CreateItem();
  item->SetSubject(u"Встреча"_s);
  item->SetBody(u"Привет,\nmixed\rline ends"_s);
  item->AddRecipient(u"Ann <ann@example.org>"_s);
  item->AddRecipient(u"Dummy"_s);
  item->SetKelvoSent(NeverSentDate());
  ASSERT_TRUE(item->Save().ok());
  Open();
  const auto drafts = Items(DefaultFolder::Drafts, std::nullopt);
  ASSERT_EQ(drafts.size(), 1U);
  EXPECT_EQ(drafts[0]->EntryId(), item->EntryId());
  EXPECT_EQ(drafts[0]->Text(ItemText::To).value(), u"Ann; Dummy"_s);
  EXPECT_EQ(drafts[0]->Text(ItemText::Body).value(), u"Привет,\r\nmixed\r\nline ends"_s);
  EXPECT_EQ(drafts[0]->ReceivedTime().value(), kNow);
  EXPECT_EQ(*drafts[0]->KelvoSent(), std::optional(NeverSentDate()));
}

// One message goes to Trash whole; every other message stays as it was.
TEST_P(BothStores, DeleteMovesOneMessageToTrashAndNoOther) {
  AddDays(Path({"Inbox"}), 3);
  mail_->Folder(Path({"Trash"}));
  Open();
  std::map<QByteArray, int> before;
  for (const auto& [name, bytes] : MessageFiles(Root())) ++before[bytes];
  ASSERT_TRUE(Items(DefaultFolder::Inbox, std::nullopt)[1]->Delete().ok());
  EXPECT_EQ(Subjects(DefaultFolder::Inbox), (QStringList{u"day 0"_s, u"day 2"_s}));
  EXPECT_EQ(Subjects(DefaultFolder::Trash), QStringList{u"day 1"_s});
  std::map<QByteArray, int> after;
  for (const auto& [name, bytes] : MessageFiles(Root())) ++after[bytes];
  EXPECT_EQ(after, before);
}

// The tree as "Name(Child,Child(Grandchild))".
std::string Tree(MailStore& store, const FolderRef& folder) {
  std::string out = folder.Name.toStdString();
  const std::vector<FolderRef> children = store.Subfolders(folder).value();
  for (size_t i = 0; i < children.size(); ++i) out += (i ? "," : "(") + Tree(store, children[i]);
  return children.empty() ? out : out + ")";
}

class ImapStoreTest : public BothStores {};
INSTANTIATE_TEST_SUITE_P(Dovecot, ImapStoreTest, ::testing::Values(kImap, kNoSpecialUse),
                         testing::RowName());

// Sent, Drafts and Trash are the SPECIAL-USE mailboxes: a plain "Sent Items"
// is the user's own folder, under Inbox with the others beside INBOX.
TEST_P(ImapStoreTest, FindsDefaultFoldersBySpecialUse) {
  for (const char* folder : {"Inbox/Work", "Inbox/Work/2026", "Inbox/Café & Bar",
                             "Inbox/Sent Items", "Sent/2025", "Trash/Old"})
    mail_->Folder(QString::fromUtf8(folder).split(u'/'));
  MailStore& store = Open();
  std::string trees;
  using enum DefaultFolder;
  for (DefaultFolder which : {Inbox, SentItems, Drafts, Trash})
    trees += Tree(store, store.GetDefaultFolder(which).value()) + " ";
  EXPECT_EQ(trees, "Inbox(Café & Bar,Sent Items,Work(2026)) Sent(2025) Drafts Trash(Old) ");
}

// What happens to Inbox/Work on the server between a run that marked its
// messages (some in parts) and the next run, which must find each listed
// message marked as it was under the id the Kelvo holds, and tell of a
// folder gone once.
struct IdentityRow {
  const char* name;
  void (*change)(const QString& work);  // the folder's directory
  size_t listed;                        // messages the next run lists
  const char* problems;                 // the folders it tells of
};
class ImapIdentityTest : public StoreRig, public ::testing::WithParamInterface<IdentityRow> {
 protected:
  void SetUp() override { Start(Kind::Imap); }
};

TEST_P(ImapIdentityTest, MarksFollowTheMessage) {
  AddDays(Path({"Inbox", "Work"}), 3);
  Open().FolderProblems();  // as every run asks
  std::map<QString, std::optional<SentParts>> marked;
  for (const auto& item : Items(DefaultFolder::Inbox, std::nullopt)) {
    item->SetKelvoSent(kNow);
    item->SetKelvoParts({1, static_cast<int>(marked.size()) + 1});
    ASSERT_TRUE(item->Save().ok());
    marked[item->EntryId()] = *item->KelvoParts();
  }
  GetParam().change(Root() + u"/.Work"_s);
  for (const char* problems : {GetParam().problems, ""}) {  // the next run, the one after
    Open();
    QStringList told;
    for (const FolderProblem& problem : store_->FolderProblems()) told << problem.folder;
    EXPECT_EQ(told.join(u','), QString::fromLatin1(problems));
    const auto items = Items(DefaultFolder::Inbox, std::nullopt);
    EXPECT_EQ(items.size(), GetParam().listed);
    for (const auto& item : items) {
      ASSERT_TRUE(marked.contains(item->EntryId())) << item->EntryId().toStdString();
      EXPECT_EQ(*item->KelvoSent(), std::optional(kNow));
      EXPECT_EQ(*item->KelvoParts(), marked[item->EntryId()]);
    }
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, ImapIdentityTest, ::testing::Values(
    IdentityRow{"Renumbered", [](const QString& work) {  // Dovecot's record of UIDs lost
      for (const QString& file : QDir(work).entryList({u"dovecot*"_s})) QFile::remove(work + u'/' + file);
    }, 3, ""},
    IdentityRow{"CopiedToInbox", [](const QString& work) {  // as a Gmail label does
      const QString name = QDir(work + u"/cur"_s).entryList(QDir::Files).value(0);
      QFile::copy(work + u"/cur/"_s + name, work + u"/../cur/"_s + name);
    }, 4, ""},
    IdentityRow{"Renamed", [](const QString& work) { QDir().rename(work, work + u"2"_s); }, 3, "Work"},
    IdentityRow{"Deleted", [](const QString& work) { QDir(work).removeRecursively(); }, 0, "Work"}),
    testing::RowName());
// clang-format on

struct ConnectRow {
  const char* name;
  imap::Security security;
  const char* host;      // the server's when empty
  const char* password;  // the user's when empty
  bool systemTrust;      // the test's certificate not given
  const char* failure;   // part of the reason; empty when a draft is filed
  bool full = false;     // the account over its quota
};
class ImapConnectTest : public ::testing::TestWithParam<ConnectRow> {};

TEST_P(ImapConnectTest, FilesADraftOnlyWhereItShould) {
  if (auto why = DovecotServer::Unavailable()) GTEST_SKIP() << *why;
  const ConnectRow& row = GetParam();
  DovecotServer server({{}, row.full});
  imap::Account account = server.Account(row.security);
  if (*row.host) account.host = QString::fromLatin1(row.host);
  if (*row.password) account.password = QString::fromLatin1(row.password);
  if (row.systemTrust) account.certificateFile.clear();
  QTemporaryDir state;
  const FixedClock clock(kNow);
  ImapStore store(account, state.filePath(u"s.sqlite"_s), QLocale::c(), clock);
  const StoreStatus filed = store.CreateItem()->Save();
  if (*row.failure) {
    EXPECT_TRUE(!filed.ok() && filed.reason().contains(QString::fromLatin1(row.failure)))
        << (filed.ok() ? QString() : filed.reason()).toStdString();
  } else {
    EXPECT_TRUE(filed.ok()) << filed.reason().toStdString();
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, ImapConnectTest, ::testing::Values(
    ConnectRow{"Tls", imap::Security::Tls, "", "", false, ""},
    ConnectRow{"StartTls", imap::Security::StartTls, "", "", false, ""},
    ConnectRow{"PlainOnLoopback", imap::Security::None, "", "", false, ""},
    ConnectRow{"WrongPassword", imap::Security::Tls, "", "wrong", false, "Authentication failed"},
    ConnectRow{"UntrustedCertificate", imap::Security::Tls, "", "", true, "is not trusted"},
    ConnectRow{"AddressNotInCertificate", imap::Security::StartTls, "127.0.0.2", "", false,
               "is not trusted"},
    ConnectRow{"PlainElsewhere", imap::Security::None, "192.0.2.1", "", false, "this machine only"},
    ConnectRow{"QuotaFull", imap::Security::Tls, "", "", false, "Quota exceeded", true}),
    testing::RowName());
// clang-format on

}  // namespace
}  // namespace zandor
