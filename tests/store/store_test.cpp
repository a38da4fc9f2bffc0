// The mail store: the Maildir store through its seam
// in both layouts (the folder tree, the messages of a folder, what a message
// reads as, what the store writes, real mail).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>

#include "store/byte_names.h"
#include "store/maildir/maildir_store.h"
#include "store/mutf7.h"
#include "support/maildir_builder.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using namespace Qt::StringLiterals;
using testing::LayoutName;
using testing::MaildirLayout;
using testing::Path;

const QDateTime kNow(QDate(2026, 3, 3), QTime(12, 0));
const QDate kAll(1980, 1, 1);
const QStringList kInbox = Path({"Inbox"});
const QStringList kWork = Path({"Inbox", "Work"});

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

QStringList FilesBelow(const QString& dir) {  // relative to dir, sorted
  QStringList files;
  for (QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
    files.append(QDir(dir).relativeFilePath(it.next()));
  files.sort();
  return files;
}

// Subject, sender, To, CC, BCC, body, received and sent time in UTC, joined by '|'.
QString Describe(const MailItem& item) {
  QStringList texts;
  for (int which = 0; which <= static_cast<int>(ItemText::Body); ++which)
    texts.append(item.Text(static_cast<ItemText>(which)).value());
  for (const auto& time : {item.ReceivedTime(), item.SentOn()})
    texts.append(time.value().toUTC().toString(Qt::ISODate));
  return texts.join(u'|');
}

// The tree below a folder as "Name(Child,Child(Grandchild))".
std::string Tree(MailStore& store, const FolderRef& folder) {
  std::string out = folder.Name.toStdString();
  const std::vector<FolderRef> children = store.Subfolders(folder).value();
  for (size_t i = 0; i < children.size(); ++i) out += (i ? "," : "(") + Tree(store, children[i]);
  return children.empty() ? out : out + ")";
}

// A Maildir of either layout in a temporary folder, with an Inbox, and a store on it.
class Store : public ::testing::TestWithParam<MaildirLayout> {
 protected:
  std::unique_ptr<MaildirStore> Open() {
    return std::make_unique<MaildirStore>(dir_.path(), QLocale(u"en_US"_s), clock_);
  }
  std::unique_ptr<ItemCollection> Items(const QStringList& path) {
    return std::move(store_->Items({maildir_.EntryIdOf(path), path.back()}).value());
  }
  std::unique_ptr<MailItem> Find(const QStringList& path, const QString& unique) {
    auto items = Items(path);
    for (auto item = items->Find(kAll); item; item = items->FindNext())
      if (item->EntryId() == unique) return item;
    throw std::runtime_error(unique.toStdString() + " is not found");
  }

  QTemporaryDir dir_;
  testing::MaildirBuilder maildir_{dir_.path(), GetParam()};
  QString inbox_ = maildir_.Folder(kInbox);
  FixedClock clock_{kNow};
  std::unique_ptr<MaildirStore> store_ = Open();
};

INSTANTIATE_TEST_SUITE_P(Layouts, Store,
                         ::testing::Values(MaildirLayout::PlusPlus, MaildirLayout::Nested),
                         [](const auto& row) -> std::string { return LayoutName(row.param); });

// Any bytes a file name may hold read as a text that writes back as the same
// bytes, so that two names stay two ids; UTF-8 reads as itself.
TEST(FolderNames, AnyBytesRoundTripAndUtf8ReadsAsItself) {
  QRandomGenerator random(7);
  const QByteArray pieces[] = {"a",
                               "\xc3\xa9",
                               "\xe2\x82\xac",
                               "\xf0\x9f\x98\x80",
                               "\xff",
                               "\xc3",
                               "\xe2\x82",
                               "\xed\xa0\x80",
                               "\xc0\xaf",
                               "\xf4\x90\x80\x80",
                               "\xf4\x8f\xbf\xbf",
                               "\xed\xbf\xbf"};
  for (int round = 0; round < 2000; ++round) {
    QByteArray name;
    for (int n = random.bounded(6); n >= 0; --n) name += pieces[random.bounded(12)];
    EXPECT_EQ(BytesOfText(TextOfBytes(name)), name) << name.toHex().toStdString();
    const bool utf8 = QString::fromUtf8(name).toUtf8() == name;
    EXPECT_TRUE(!utf8 || TextOfBytes(name) == QString::fromUtf8(name))
        << name.toHex().toStdString();
  }
}

TEST(FolderNames, AreModifiedUtf7OnDiskAndShownAsTheyStandOtherwise) {
  EXPECT_EQ(EncodeModifiedUtf7(u"Отправ & Café 📬"_s), u"&BB4EQgQ,BEAEMAQy- &- Caf&AOk- &2D3c7A-"_s);
  QRandomGenerator random(7);
  const QString letters[] = {u"&"_s, u"-"_s, u"a"_s, u"."_s, u"é"_s, u"о"_s, u"日"_s, u"📬"_s};
  for (int i = 0; i < 500; ++i) {
    QString name;
    for (int n = random.bounded(8); n > 0; --n) name += letters[random.bounded(8)];
    EXPECT_EQ(DecodeModifiedUtf7(EncodeModifiedUtf7(name)), std::optional(name));
  }
  for (const QString& raw : {u"R&D"_s, u"&BB4EQgQ"_s, u"&AGE-"_s, u"&2D0-"_s, u"Отправ"_s})
    EXPECT_EQ(DisplayFolderName(raw), raw);
}

TEST_P(Store, ShowsTheFoldersAsOneTreeInNameOrder) {
  for (const QString& path :
       u"Inbox/Work|Inbox/Work/Old|Inbox/Work/2026|Inbox/beta|Inbox/Alpha|Inbox/Отправленные|"
       u"Inbox/Café & Bar|Inbox/日本|Lists|Sent|Sent/2025|Drafts|Trash|Trash/Old"_s.split(u'|'))
    maildir_.Folder(path.split(u'/'));
  QDir(dir_.path()).mkpath(u"Inbox/"_s + u"deep/"_s.repeated(34));  // no Maildir at its end
  using enum DefaultFolder;
  std::string trees;
  for (DefaultFolder which : {Inbox, SentItems, Drafts, Trash, Outbox})
    trees += Tree(*store_, store_->GetDefaultFolder(which).value()) + " ";
  EXPECT_EQ(trees,
            "Inbox(Alpha,beta,Café & Bar,Lists,Work(2026,Old),Отправленные,日本) Sent(2025) "
            "Drafts Trash(Old) Outbox ");
}

TEST_P(Store, CountsRestrictsAndSortsByReceivedTime) {
  const QDateTime weekStart(kNow.date().addDays(-7), QTime(0, 0));
  std::vector<std::pair<qint64, QString>> expected, found;
  QRandomGenerator random(11);
  for (int i = 0; i < 40; ++i) {  // many equal times, some a second before the range
    const QDateTime received = weekStart.addSecs(random.bounded(-3, 4) * 43200 - random.bounded(2));
    const QString unique = u"m%1.x"_s.arg(i * 37 % 40);
    maildir_.AddRaw(kWork,
                    "Received: by x; " + testing::MaildirBuilder::DateText(received) + "\n\n",
                    unique, u"S"_s, random.bounded(2));
    if (received >= weekStart) expected.emplace_back(received.toMSecsSinceEpoch(), unique);
  }
  std::sort(expected.begin(), expected.end());
  auto items = Items(kWork);
  const QDate week = kNow.date().addDays(-7);
  EXPECT_EQ(items->Count(std::nullopt).value(), 40);
  EXPECT_EQ(items->Count(week).value(), static_cast<int>(expected.size()));
  items->SortByReceivedTime();
  for (auto item = items->Find(week); item; item = items->FindNext())
    found.emplace_back(item->ReceivedTime()->toMSecsSinceEpoch(), item->EntryId());
  EXPECT_EQ(found, expected);
}

// The received time is the topmost Received, else the delivery time in the
// unique name, else Date, else the file time; the time sent is Date, else the
// received time.
TEST_P(Store, ReadsEveryTextAndTimeOfAMessage) {
  const char* const cases[][3] = {
      // unique name, message, what it reads as
      {"m1.x",
       "From: =?utf-8?q?J=C3=B6rg?= <joerg@example.org>\nTo: Ann <ann@example.org>, "
       "b@example.org\n"
       "Cc: Team: carl@example.org, Dora <dora@example.org>;\nBcc: undisclosed-recipients:;\n"
       "Subject: Essai =?iso-8859-1?Q?accentu=E9?=\n\nline 1\nline 2\n",
       "Essai accentué|Jörg|Ann; b@example.org|carl@example.org; Dora|undisclosed-recipients|"
       "line 1\r\nline 2\r\n|2025-05-05T05:05:05Z|2025-05-05T05:05:05Z"},
      {"m2.x",
       "Subject: h\nFrom: <a@b.c>\nContent-Type: text/html\n\n<html><head><title>T</title>"
       "<style>p{}</style></head><body><p>Hello&nbsp;<b title='a>b'>world</b> &amp; "
       "all&#33;</p><p>Bye<br>now"
       "</p><ul><li>one</li><li>two</li></ul><script>alert(1)</script></body></html>\n",
       "h|a@b.c||||Hello world & all!\r\n\r\nBye\r\nnow\r\n\r\n- one\r\n- two|"
       "2025-05-05T05:05:05Z|2025-05-05T05:05:05Z"},
      {"m3.x",
       "Subject: alt\nContent-Type: multipart/alternative; boundary=X\n\n--X\nContent-Type: "
       "text/html\n\n<p>html</p>\n--X\nContent-Type: text/plain\nContent-Disposition: "
       "attachment\n\nnot me\n--X\nContent-Type: text/plain\n\nplain\r\ntext\n--X--\n",
       "alt|||||plain\r\ntext|2025-05-05T05:05:05Z|2025-05-05T05:05:05Z"},
      {"1767225600.M1.a",
       "Received: from a\r\n\tby b; Mon, 2 Mar 2026 10:00:00 +0100\r\nReceived: from c; Sun, 1 "
       "Mar 2026 10:00:00 +0100\r\nDate: Sun, 01 Feb 2026 08:30:00 -0500\r\n\r\nx",
       "|||||x|2026-03-02T09:00:00Z|2026-02-01T13:30:00Z"},
      {"1767225600.M2.b", "Received: from a by b\r\nDate: Sun, 01 Feb 2026 08:30:00 -0500\r\n\r\n",
       "||||||2026-01-01T00:00:00Z|2026-02-01T13:30:00Z"},
      {"abc.M3.c", "Date: Sun, 01 Feb 2026 08:30:00 -0500\r\n\r\n",
       "||||||2026-02-01T13:30:00Z|2026-02-01T13:30:00Z"},
      {"17672.M4.d", "Date: the day after\r\n\r\n",
       "||||||2025-05-05T05:05:05Z|2025-05-05T05:05:05Z"}};
  for (const auto& [unique, raw, expected] : cases) {
    maildir_.AddRaw(kInbox, raw, QString::fromLatin1(unique));
    QFile file(inbox_ + u"/cur/"_s + QString::fromLatin1(unique) + u":2,S"_s);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(QDateTime(QDate(2025, 5, 5), QTime(5, 5, 5), Qt::UTC),
                                 QFileDevice::FileModificationTime));
    EXPECT_EQ(Describe(*Find(kInbox, QString::fromLatin1(unique))), QString::fromUtf8(expected));
  }
}

// KelvoSent marks live beside the mail; a deleted message moves to Trash with
// flag T, its bytes and its mark unchanged, and never over another one.
TEST_P(Store, MarksAndDeletesLeaveEveryMessageWhole) {
  const QDateTime marks[] = {NeverSentDate(), QDateTime(QDate(2026, 3, 3), QTime(10, 11, 12, 345)),
                             QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999), Qt::UTC)};
  const QString cases[][3] = {{u"a.x"_s, u"RS"_s, u"cur/a.x:2,RST"_s},
                              {u"b.x"_s, {}, u"cur/b.x:2,T"_s},
                              {u"c.x"_s, u"T"_s, u"cur/c.x:2,T"_s}};
  auto raw = [](int i) { return "Subject: " + QByteArray::number(i) + "\n\nbody\n"; };
  for (int i = 0; i < 3; ++i) {
    auto item = Find(
        kWork, maildir_.AddRaw(kWork, raw(i), cases[i][0], cases[i][1], cases[i][1].isEmpty()));
    item->SetKelvoSent(marks[i]);
    EXPECT_EQ(*item->KelvoSent(), std::optional(marks[i])) << "pending";
    ASSERT_TRUE(item->Save().ok());
  }
  Find(kWork, cases[0][0])->SetKelvoSent(kNow);  // never saved
  store_ = Open();
  for (const auto& c : cases) ASSERT_TRUE(Find(kWork, c[0])->Delete().ok());
  EXPECT_EQ(Items(kWork)->Count(std::nullopt).value(), 0);
  const QString trash = maildir_.Folder(Path({"Trash"}));
  EXPECT_EQ(FilesBelow(trash), (QStringList{cases[0][2], cases[1][2], cases[2][2]}));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(ReadAll(trash + u'/' + cases[i][2]), raw(i));
    EXPECT_EQ(*Find(Path({"Trash"}), cases[i][0])->KelvoSent(), std::optional(marks[i]));
  }
  maildir_.AddRaw(kInbox, "Subject: twin\n\n", u"a.x"_s, u"RS"_s);
  EXPECT_FALSE(Find(kInbox, u"a.x"_s)->Delete().ok()) << "a.x is in Trash already";
  EXPECT_EQ(ReadAll(trash + u'/' + cases[0][2]), raw(0));
}

// The parts the Kelvo acknowledged are saved with the mark; a file of marks
// written before parts were counted gains their columns, its rows read as
// messages sent whole.
TEST_P(Store, PartsAcknowledgedAreKeptWithTheMark) {
  sqlite3* old = nullptr;
  ASSERT_EQ(sqlite3_open((dir_.path() + u"/zandor-state.sqlite"_s).toUtf8().constData(), &old), 0);
  sqlite3_exec(old,
               "CREATE TABLE kelvo_sent (unique_name TEXT PRIMARY KEY NOT NULL, msecs INTEGER NOT "
               "NULL, local_time TEXT NOT NULL) WITHOUT ROWID;"
               "INSERT INTO kelvo_sent VALUES ('a.x', 1772539200000, '')",
               nullptr, nullptr, nullptr);
  sqlite3_close(old);
  store_ = Open();
  const QString ids[] = {maildir_.AddRaw(kWork, "Subject: a\n\n", u"a.x"_s),
                         maildir_.AddRaw(kWork, "Subject: b\n\n", u"b.x"_s),
                         maildir_.AddRaw(kWork, "Subject: c\n\n", u"c.x"_s)};
  EXPECT_EQ(*Find(kWork, ids[0])->KelvoSent(), std::optional(kNow));
  EXPECT_EQ(*Find(kWork, ids[0])->KelvoParts(), std::nullopt);
  {
    auto item = Find(kWork, ids[1]);  // gone before its store
    item->SetKelvoSent(kNow);
    item->SetKelvoParts(SentParts{1, 3});
    ASSERT_TRUE(item->Save().ok() && store_->SettleSaves().ok());
  }
  store_ = Open();
  EXPECT_EQ(*Find(kWork, ids[1])->KelvoParts(), std::optional(SentParts{1, 3}));

  // Marks saved into a file deleted meanwhile are lost: told once.
  ASSERT_TRUE(store_->SettleSaves().ok());
  ASSERT_TRUE(QFile::remove(dir_.path() + u"/zandor-state.sqlite"_s));
  EXPECT_TRUE(store_->SettleSaves().reason().contains(u"are lost"_s));
  EXPECT_TRUE(store_->SettleSaves().ok());
}

// While a run holds the store, a mark read once is kept and what the run
// saves reads back at once; once the run lets go, a mark another run wrote
// meanwhile is read from the file again.
TEST_P(Store, MarksKeptDuringARunAreReadAfreshAfterIt) {
  const QString id = maildir_.AddRaw(kWork, "Subject: a\n\n", u"a.x"_s);
  const QString other = maildir_.AddRaw(kWork, "Subject: b\n\n", u"b.x"_s);
  {
    auto lock = store_->LockForSync();
    ASSERT_TRUE(lock.ok());
    EXPECT_EQ(*Find(kWork, id)->KelvoSent(), std::nullopt);
    EXPECT_EQ(*Find(kWork, other)->KelvoSent(), std::nullopt);
    auto item = Find(kWork, id);
    item->SetKelvoSent(kNow);
    item->SetKelvoParts(SentParts{2, 2});
    ASSERT_TRUE(item->Save().ok() && store_->SettleSaves().ok());
    EXPECT_EQ(*Find(kWork, id)->KelvoSent(), std::optional(kNow));
    EXPECT_EQ(*Find(kWork, id)->KelvoParts(), std::optional(SentParts{2, 2}));
  }
  // Another run (another window, a zandor --sync) marks the second one.
  {
    auto elsewhere = Open();
    auto lock = elsewhere->LockForSync();
    ASSERT_TRUE(lock.ok());
    auto items = elsewhere->Items({maildir_.EntryIdOf(kWork), kWork.back()});
    for (auto item = items.value()->Find(kAll); item; item = items.value()->FindNext()) {
      if (item->EntryId() != other) continue;
      item->SetKelvoSent(kNow);
      ASSERT_TRUE(item->Save().ok() && elsewhere->SettleSaves().ok());
    }
  }
  EXPECT_EQ(*Find(kWork, other)->KelvoSent(), std::optional(kNow));
  EXPECT_EQ(*Find(kWork, id)->KelvoParts(), std::optional(SentParts{2, 2}));
}

// New items go through tmp/ to Drafts, in 7-bit lines of at most 998
// characters with encoded words of at most 75, and read back as written:
// mixed line ends, subjects that look encoded, recipients too long for one
// header line, the never-sent mark. Without a way through tmp/ nothing is saved.
TEST_P(Store, NewItemsGoThroughTmpToDraftsAndReadBackLiterally) {
  const QString longLine(1200, u'x');
  const QString rows[][2] = {
      {u"Встреча в пятницу"_s, u"Ann <ann@example.org>, Dummy"_s},
      {u"=?utf-8?b?SGVsbG8=?= and =?ISO-8859-1?Q?=E9?="_s, QString(20000, u'n')},
      {u"=?\U0001F600 x_y?= "_s + QString(300, u'é'), QString(1000, u'a') + u"@example.org"_s},
      {u"plain"_s, QStringList(700, u"b@example.org"_s).join(u", "_s)}};
  const QString drafts = maildir_.Folder(Path({"Drafts"}));
  QStringList ids, files;
  for (const auto& [subject, to] : rows) {
    auto item = store_->CreateItem();
    item->SetSubject(subject);
    item->SetBody(u"Привет,\r\nmixed\rline ends\n"_s + longLine);
    for (const QString& recipient : to.split(u", "_s)) item->AddRecipient(recipient);
    item->SetKelvoSent(NeverSentDate());
    ASSERT_TRUE(item->Save().ok());
    ids << item->EntryId();
    files << u"cur/"_s + ids.back() + u":2,D"_s;
    const QString text = QString::fromLatin1(ReadAll(drafts + u'/' + files.back()));
    EXPECT_FALSE(text.contains(QRegularExpression(u"[^\\t\\n\\x20-\\x7e]|[^\\n]{999}"_s)));
    static const QRegularExpression word(u"=\\?utf-8\\?q\\?[^?\\s]*\\?="_s);
    for (auto it = word.globalMatch(text); it.hasNext();) EXPECT_LE(it.next().capturedLength(), 75);
  }
  files.sort();
  EXPECT_EQ(FilesBelow(drafts), files);
  store_ = Open();
  const QString now = u'|' + kNow.toUTC().toString(Qt::ISODate);
  for (qsizetype i = 0; i < ids.size(); ++i) {
    auto read = Find(Path({"Drafts"}), ids[i]);
    const QString to =
        QString(rows[i][1]).replace(u", "_s, u"; "_s).remove(u" <ann@example.org>"_s);
    EXPECT_EQ(Describe(*read), rows[i][0] + u"|Kelvo|"_s + to +
                                   u"|||Привет,\r\nmixed\r\nline ends\r\n"_s + longLine +
                                   u"\r\n"_s + now + now);
    EXPECT_EQ(*read->KelvoSent(), std::optional(NeverSentDate()));
  }
  ASSERT_TRUE(QDir(drafts + u"/tmp"_s).removeRecursively());
  ASSERT_TRUE(QFile(drafts + u"/tmp"_s).open(QIODevice::WriteOnly));
  EXPECT_FALSE(store_->CreateItem()->Save().ok()) << "no way through tmp/";
  EXPECT_EQ(FilesBelow(drafts), files << u"tmp"_s);
}

// Real mail from the shared corpora: every message reads, with a subject when
// its header has one and a body when it is plain text.
TEST_P(Store, ReadsEveryMessageOfTheCorpora) {
  const QDir corpora(QString::fromUtf8(ZANDOR_CORPORA_DIR));
  if (!corpora.exists()) GTEST_SKIP() << "no mail corpora at " << ZANDOR_CORPORA_DIR;
  const QRegularExpression subject(u"^Subject:[ \\t]*\\S"_s, QRegularExpression::MultilineOption);
  const QRegularExpression notPlain(u"^Content-Type:(?![ \\t]*text/plain)"_s,
                                    QRegularExpression::MultilineOption);
  std::map<QString, std::pair<bool, bool>> expected;  // by unique name: has a subject, a plain body
  for (QString name : FilesBelow(corpora.path()).filter(QRegularExpression(u"^(?!README)"_s))) {
    const QByteArray raw = ReadAll(corpora.filePath(name));
    const QString header = QString::fromLatin1(raw.left(raw.indexOf("\n\n")));
    expected[maildir_.AddRaw(kInbox, raw, name.replace(u'/', u'_').replace(u':', u'_'))] = {
        header.contains(subject),
        !header.contains(notPlain) && !raw.mid(header.size()).trimmed().isEmpty()};
  }
  auto items = Items(kInbox);
  for (auto item = items->Find(kAll); item; item = items->FindNext()) {
    SCOPED_TRACE(item->EntryId().toStdString());
    Describe(*item);  // throws when a text or time cannot be read
    const auto [hasSubject, hasBody] = expected.at(item->EntryId());
    EXPECT_EQ(item->Text(ItemText::Subject)->isEmpty(), !hasSubject);
    EXPECT_FALSE(hasBody && item->Text(ItemText::Body)->isEmpty());
    expected.erase(item->EntryId());
  }
  EXPECT_TRUE(expected.empty()) << "every message is read";
}

struct LayoutRow {
  const char* name;
  std::vector<const char*> paths;  // folders to make; a name ending in '!' is a file
  bool holdsMail;
  const char* problems;  // "folder: reason|..." as FolderProblems gives them
};
class LayoutTest : public ::testing::TestWithParam<LayoutRow> {};

// A mail folder is a Maildir itself or holds an Inbox that is one; a folder
// found but unusable is named, never read as empty.
TEST_P(LayoutTest, AcceptsOnlyAMailStoreAndNamesWhatItCannotUse) {
  QTemporaryDir root;
  for (const char* named : GetParam().paths) {
    QString path = QString::fromUtf8(named);
    if (path.endsWith(u'!')) {
      path.chop(1);
      QDir(root.path()).mkpath(QFileInfo(path).path());
      QFile(root.filePath(path)).open(QIODevice::WriteOnly);
    } else {
      QDir(root.path()).mkpath(path);
    }
  }
  const FixedClock clock(kNow);
  MaildirStore store(root.path(), QLocale::c(), clock);
  EXPECT_EQ(store.CheckHoldsMail().ok(), GetParam().holdsMail);
  QStringList problems;
  for (const FolderProblem& p : store.FolderProblems()) problems << p.folder + u": "_s + p.reason;
  EXPECT_EQ(problems.join(u'|'), QString::fromUtf8(GetParam().problems));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Layouts, LayoutTest, ::testing::Values(
    LayoutRow{"Empty", {}, false, ""},
    LayoutRow{"LoneCur", {"cur"}, false, ""},
    LayoutRow{"CurDeepBelow", {"code/money/cur"}, false, ""},
    LayoutRow{"PlusPlus", {"cur", "new", "tmp", ".notmuch/xapian"}, true, ""},
    LayoutRow{"OnlyDottedFolders", {".Sent/cur", ".Sent/new", ".Sent/tmp"}, false, ""},
    LayoutRow{"Nested", {"INBOX/cur", "INBOX/new", "INBOX/tmp"}, true, ""},
    LayoutRow{"NestedWithoutInbox", {"Work/cur", "Work/new", "Work/tmp"}, false, ""},
    LayoutRow{"DamagedDotted", {"cur", "new", "tmp", ".Work/cur!", ".Work/new", ".Work/tmp"}, true,
              ".Work: it is damaged: cur is not a folder"},
    LayoutRow{"RefusedNames", {"cur", "new", "tmp", ".a..b/cur", ".a..b/new", ".a..b/tmp",
                               ".c./cur"}, true,
              ".a..b: its name has an empty part between dots, which no folder of a Maildir++ "
              "store may have|.c.: its name has an empty part between dots, which no folder of a "
              "Maildir++ store may have"},
    LayoutRow{"DamagedNested", {"Inbox/cur", "Inbox/new", "Inbox/tmp", "Inbox/Work/cur!",
                                "Inbox/Work/new", "Inbox/Work/tmp", "Sent/new"}, true,
              "Inbox/Work: it is damaged: cur is not a folder|Sent: it is damaged: cur and tmp "
              "are not folders"}),
    testing::RowName());
// clang-format on

}  // namespace
}  // namespace zandor
