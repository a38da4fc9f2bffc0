// The IMAP store against a Dovecot of the test's own, and the behaviours both
// stores share, run against each: the same Maildir, read as files or served
// by Dovecot.
#include "store/imap/imap_store.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QTemporaryDir>
#include <filesystem>
#include <set>
#include <thread>

#include "delay_proxy.h"
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

// A store; for IMAP, the capabilities its server hides, and what happens to
// Inbox/Work (its directory given) between two runs.
struct StoreRow {
  const char* name;
  Kind kind;
  QStringList hidden = {};
  void (*change)(const QString& work) = nullptr;
  bool kept = true;             // Work's messages still there after it
  const char* told = "";        // the folder then told of as gone
  const char* cutAt = nullptr;  // through a proxy that cuts when this is said, once armed
  std::optional<FailureKind> failure = std::nullopt;  // of a deletion
  const char* left = "";  // then the subjects under Inbox, and in Trash: "day 0,day 2|day 1"
};

// One Maildir++, opened as files or through Dovecot.
class BothStores : public ::testing::TestWithParam<StoreRow> {
 protected:
  void SetUp() override {
    if (GetParam().kind == Kind::Imap) {
      if (auto why = DovecotServer::Unavailable()) GTEST_SKIP() << *why;
      server_.emplace(GetParam().hidden);
    }
    mail_.emplace(server_ ? server_->MailRoot() : dir_.path(), testing::MaildirLayout::PlusPlus);
  }
  MailStore& Open() {
    store_.reset();
    if (!server_) {
      store_ = std::make_unique<MaildirStore>(dir_.path(), QLocale(u"en_US"_s), clock_);
    } else {
      server_->Own();
      imap::Account account = server_->Account(imap::Security::None);
      if (GetParam().cutAt && !proxy_) proxy_.emplace(account.port, std::chrono::milliseconds(0));
      if (proxy_) account.port = proxy_->Port();
      store_ = std::make_unique<ImapStore>(account, state_.filePath(u"imap.sqlite"_s),
                                           QLocale(u"en_US"_s), clock_);
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
  std::optional<testing::DelayProxy> proxy_;
  std::optional<testing::MaildirBuilder> mail_;
  std::unique_ptr<MailStore> store_;
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
  QStringList texts;
  {
    const auto items = Items(DefaultFolder::Inbox, std::nullopt);
    ASSERT_EQ(items.size(), 1U);
    for (int which = 0; which <= static_cast<int>(ItemText::Body); ++which)
      texts << items[0]->Text(static_cast<ItemText>(which)).value();
    EXPECT_EQ(items[0]->SentOn().value(), kNow.addDays(-2));
  }
  EXPECT_EQ(texts.join(u'|'), u"Grüße|Jörg|Ann; b@example.org|Carl||line 1\r\nline 2\r\n"_s);
  store_.reset();
  EXPECT_EQ(MessageFiles(Root()), before);
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
  const QString saved = item->EntryId();
  item.reset();  // not to outlive its store
  Open();
  const auto drafts = Items(DefaultFolder::Drafts, std::nullopt);
  ASSERT_EQ(drafts.size(), 1U);
  EXPECT_EQ(drafts[0]->EntryId(), saved);
  EXPECT_EQ(drafts[0]->Text(ItemText::To).value(), u"Ann; Dummy"_s);
  EXPECT_EQ(drafts[0]->Text(ItemText::Body).value(), u"Привет,\r\nmixed\r\nline ends"_s);
  EXPECT_EQ(drafts[0]->ReceivedTime().value(), kNow);
  EXPECT_EQ(*drafts[0]->KelvoSent(), std::optional(NeverSentDate()));
}

// One synchronisation per store at a time: a second is refused at once, and
// the store is free again when the first ends; the mail is untouched.
TEST_P(BothStores, ASecondSynchronisationIsRefusedUntilTheFirstEnds) {
  Open();
  const auto before = MessageFiles(Root());
  auto held = store_->LockForSync();
  ASSERT_TRUE(held.ok() && held.value());
  Open();
  EXPECT_FALSE(store_->LockForSync().ok());
  held.value().reset();
  EXPECT_TRUE(store_->LockForSync().ok());
  EXPECT_EQ(MessageFiles(Root()), before);
}

// One message goes to Trash whole; every other message stays as it was.
TEST_P(BothStores, DeleteMovesOneMessageToTrashAndNoOther) {
  AddDays(Path({"Inbox"}), 3);
  mail_->Folder(Path({"Trash"}));
  Open();
  const auto before = testing::MessageContents(Root());
  ASSERT_TRUE(Items(DefaultFolder::Inbox, std::nullopt)[1]->Delete().ok());
  EXPECT_EQ(Subjects(DefaultFolder::Inbox), (QStringList{u"day 0"_s, u"day 2"_s}));
  EXPECT_EQ(Subjects(DefaultFolder::Trash), QStringList{u"day 1"_s});
  EXPECT_EQ(testing::MessageContents(Root()), before);
}

// A removal whose answer is lost is made once over the reconnection. One
// that cannot be made moves nothing and fails by its kind: a server that can
// neither move nor remove one message alone (Store), a message that another
// program removed meanwhile (Message), its folder gone (Folder).
class ImapTrashTest : public BothStores {};

TEST_P(ImapTrashTest, OneMessageGoesToTrashOnceOrFailsByKind) {
  AddDays(Path({"Inbox", "Work"}), 3);
  mail_->Folder(Path({"Trash"}));
  Open();
  const auto before = testing::MessageContents(Root());
  {
    const auto items = Items(DefaultFolder::Inbox, std::nullopt);
    if (GetParam().change) GetParam().change(Root() + u"/.Work"_s);
    if (proxy_) proxy_->CutAt(GetParam().cutAt, false, true);  // done, but not answered
    const StoreStatus removed = items[1]->Delete();
    EXPECT_EQ(removed.ok() ? std::nullopt : std::optional(removed.kind()), GetParam().failure)
        << (removed.ok() ? QString() : removed.reason()).toStdString();
  }
  Open();
  EXPECT_EQ(
      Subjects(DefaultFolder::Inbox).join(u',') + u'|' + Subjects(DefaultFolder::Trash).join(u','),
      QString::fromLatin1(GetParam().left));
  if (!GetParam().change) {
    EXPECT_EQ(testing::MessageContents(Root()), before);
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Dovecot, ImapTrashTest, ::testing::Values(
    StoreRow{.name = "CopyAnswerLost", .kind = Kind::Imap, .hidden = {u"MOVE"_s},
             .cutAt = "OK [COPYUID", .left = "day 0,day 2|day 1"},
    StoreRow{.name = "MoveAnswerLost", .kind = Kind::Imap, .cutAt = "OK [COPYUID",
             .left = "day 0,day 2|day 1"},
    StoreRow{.name = "NoMoveNoUidplus", .kind = Kind::Imap, .hidden = {u"MOVE"_s, u"UIDPLUS"_s},
             .failure = FailureKind::Store, .left = "day 0,day 1,day 2|"},
    StoreRow{.name = "MessageGone", .kind = Kind::Imap, .change = [](const QString& work) {
               for (const auto& [file, bytes] : MessageFiles(work))
                 if (bytes.contains("Subject: day 1")) QFile::remove(work + u'/' + file);
             }, .failure = FailureKind::Message, .left = "day 0,day 2|"},
    StoreRow{.name = "FolderGone", .kind = Kind::Imap,
             .change = [](const QString& work) { QDir(work).removeRecursively(); },
             .failure = FailureKind::Folder, .left = "|"}),
    testing::RowName());
// clang-format on

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

// A read-ahead cancelled from another thread sends none of the fetches it
// had queued: its helper ends with the one in flight, and what it had not
// read is read when asked for, on the run's own session, each message once.
TEST_P(ImapStoreTest, CancelledReadAheadSendsNoQueuedFetch) {
  constexpr int kMessages = 8;
  AddDays(Path({"Inbox"}), kMessages);
  proxy_.emplace(server_->Account(imap::Security::None).port, std::chrono::milliseconds(50));
  proxy_->Count("BODY.PEEK[]");
  Open();
  ASSERT_TRUE(store_->CheckHoldsMail().ok());  // the run's session: the proxy's first connection
  const FolderRef inbox = store_->GetDefaultFolder(DefaultFolder::Inbox).value();
  QStringList bodies;
  {
    const auto ahead = store_->ListAhead({inbox}, std::nullopt);
    ASSERT_TRUE(ahead);
    auto items = std::move(store_->Items(inbox).value());
    std::vector<std::unique_ptr<MailItem>> found;
    for (auto item = items->Find(std::nullopt); item; item = items->FindNext()) {
      items->ReadAhead({item->EntryId()});  // a fetch each, queued on the one helper
      found.push_back(std::move(item));
    }
    std::thread([&ahead] { ahead->Cancel(); }).join();
    for (const auto& item : found) bodies << item->Text(ItemText::Body).value();
  }
  store_.reset();  // and its helper with it
  EXPECT_EQ(bodies, QStringList(kMessages, u"Hello.\r\n"_s));
  const std::vector<int> sent = proxy_->Sent();
  ASSERT_EQ(sent.size(), 2U);
  EXPECT_LT(sent[1], kMessages / 2) << "the helper's fetches";
  EXPECT_EQ(sent[0] + sent[1], kMessages);
}

// Marks and parts read back after reopening under the ids the Kelvo holds,
// through what may happen to Inbox/Work between two runs; a folder gone is
// told once.
class MarksTest : public BothStores {
 protected:
  // What a run reads: "id mark parts" of each message under INBOX, and
  // "!folder" for each folder told of.
  std::set<QString> Marks() {
    std::set<QString> read;
    for (const FolderProblem& problem : store_->FolderProblems())
      read.insert(u'!' + problem.folder);
    for (const auto& item : Items(DefaultFolder::Inbox, std::nullopt)) {
      read.insert(
          u"%1 %2 %3"_s.arg(item->EntryId(), item->KelvoSent()->value_or(QDateTime()).toString())
              .arg(item->KelvoParts()->value_or(SentParts{}).total));
    }
    return read;
  }
};

TEST_P(MarksTest, FollowTheMessage) {
  AddDays(Path({"Inbox", "Work"}), 3);
  Open();
  for (const auto& item : Items(DefaultFolder::Inbox, std::nullopt)) {
    item->SetKelvoSent(kNow);
    item->SetKelvoParts({1, 2});
    ASSERT_TRUE(item->Save().ok());
  }
  std::set<QString> marked = Marks();
  ASSERT_EQ(marked.size(), 3U);
  if (GetParam().change) GetParam().change(Root() + u"/.Work"_s);
  if (!GetParam().kept) marked.clear();
  std::set<QString> told = marked;
  if (*GetParam().told) told.insert(u'!' + QString::fromLatin1(GetParam().told));
  Open();
  EXPECT_EQ(Marks(), told);
  Open();
  EXPECT_EQ(Marks(), marked);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Kinds, MarksTest, ::testing::Values(StoreRow{"Maildir", Kind::Maildir}, kImap,
    StoreRow{"Renumbered", Kind::Imap, {}, [](const QString& work) {  // Dovecot's UID records lost
      for (const QString& file : QDir(work).entryList({u"dovecot*"_s})) QFile::remove(work + u'/' + file);
    }},
    StoreRow{"CopiedToLabel", Kind::Imap, {}, [](const QString& work) {  // as Gmail's labels are
      std::filesystem::copy(work.toStdString(), work.toStdString() + '2', std::filesystem::copy_options::recursive);
    }},
    StoreRow{"Renamed", Kind::Imap, {}, [](const QString& work) { QDir().rename(work, work + u"2"_s); },
             true, "Work"},
    StoreRow{"Deleted", Kind::Imap, {}, [](const QString& work) { QDir(work).removeRecursively(); },
             false, "Work"}),
    testing::RowName());
// clang-format on

}  // namespace
}  // namespace zandor
