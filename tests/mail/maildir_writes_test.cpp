// What the store writes: KelvoSent marks, deletion into Trash, new messages
// in Drafts, and how each fails.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <csignal>
#include <functional>
#include <set>

#include "store_fixture.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::MaildirLayout;
using testing::Path;
using testing::StoreFixture;
using testing::TestMessage;

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file below dir, as paths relative to it, sorted.
QStringList FilesBelow(const QString& dir) {
  QStringList files;
  QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) files.append(QDir(dir).relativeFilePath(it.next()));
  files.sort();
  return files;
}

struct MarkRow {
  std::string name;
  MaildirLayout layout;
  QDateTime value;
};

std::vector<MarkRow> MarkRows() {
  std::vector<MarkRow> rows;
  for (MaildirLayout layout : {MaildirLayout::PlusPlus, MaildirLayout::Nested}) {
    const std::string suffix = testing::LayoutName(layout);
    rows.push_back({"NeverSentDate" + suffix, layout, NeverSentDate()});
    rows.push_back(
        {"Milliseconds" + suffix, layout, QDateTime(QDate(2026, 3, 3), QTime(10, 11, 12, 345))});
    rows.push_back({"UtcValue" + suffix, layout,
                    QDateTime(QDate(2026, 7, 1), QTime(23, 59, 59, 999), Qt::UTC)});
    rows.push_back({"LeapDay" + suffix, layout, QDateTime(QDate(2024, 2, 29), QTime(0, 0))});
  }
  return rows;
}

class KelvoSentMark : public ::testing::TestWithParam<MarkRow> {};

TEST_P(KelvoSentMark, ReadsBackExactlyAfterSaveAndNeverTouchesTheMessage) {
  const MarkRow& row = GetParam();
  StoreFixture fixture(row.layout);
  TestMessage message;
  message.received = QDateTime(QDate(2026, 3, 1), QTime(9, 0));
  const QString unique = fixture.builder.Add(Path({"Inbox"}), message);
  const QStringList filesBefore = FilesBelow(fixture.dir.path());
  const QString file =
      fixture.builder.EntryIdOf(Path({"Inbox"})) == QStringLiteral(".")
          ? fixture.dir.path() + QStringLiteral("/cur/") + unique + QStringLiteral(":2,S")
          : fixture.dir.path() + QStringLiteral("/Inbox/cur/") + unique + QStringLiteral(":2,S");
  const QByteArray bytesBefore = ReadAll(file);
  ASSERT_FALSE(bytesBefore.isEmpty());

  auto item = fixture.Find(Path({"Inbox"}), unique);
  ASSERT_TRUE(item);
  EXPECT_EQ(item->KelvoSent(), std::nullopt);
  item->SetKelvoSent(row.value);
  EXPECT_EQ(item->KelvoSent(), std::optional<QDateTime>(row.value)) << "pending value";
  auto other = fixture.Reopen();
  auto unsaved = other->Items(fixture.Ref(Path({"Inbox"})));
  ASSERT_TRUE(unsaved.ok());
  EXPECT_EQ(unsaved.value()->Find(fixture.AllFilter())->KelvoSent(), std::nullopt)
      << "not saved yet";

  ASSERT_TRUE(item->Save().ok());
  fixture.store = fixture.Reopen();
  auto reread = fixture.Find(Path({"Inbox"}), unique);
  ASSERT_TRUE(reread);
  const std::optional<QDateTime> stored = reread->KelvoSent();
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(*stored, row.value);
  EXPECT_EQ(stored->toMSecsSinceEpoch(), row.value.toMSecsSinceEpoch());
  EXPECT_EQ(stored->toLocalTime().toString(Qt::ISODateWithMs),
            row.value.toLocalTime().toString(Qt::ISODateWithMs));
  if (row.value == NeverSentDate()) {
    EXPECT_EQ(*stored, NeverSentDate());
  }

  // Replaced by a later Save.
  const QDateTime later = row.value.addSecs(90);
  reread->SetKelvoSent(later);
  ASSERT_TRUE(reread->Save().ok());
  EXPECT_EQ(fixture.Reopen()
                ->Items(fixture.Ref(Path({"Inbox"})))
                .value()
                ->Find(fixture.AllFilter())
                ->KelvoSent(),
            std::optional<QDateTime>(later));

  // The message file is the same file with the same bytes; the marks live
  // beside the mail.
  EXPECT_EQ(ReadAll(file), bytesBefore);
  QStringList filesAfter = FilesBelow(fixture.dir.path());
  filesAfter.removeAll(MaildirStore::StateFileName());
  EXPECT_EQ(filesAfter, filesBefore);
  EXPECT_TRUE(QFile::exists(fixture.dir.path() + QLatin1Char('/') + MaildirStore::StateFileName()));
}

INSTANTIATE_TEST_SUITE_P(Rows, KelvoSentMark, ::testing::ValuesIn(MarkRows()), testing::RowName());

TEST(KelvoSentMarkZone, NeverSentDateStaysTheMarkWhenTheTimeZoneChanges) {
  const QByteArray oldZone = qgetenv("TZ");
  qputenv("TZ", "Europe/Berlin");
  tzset();
  QDateTime stored;
  {
    StoreFixture fixture(MaildirLayout::PlusPlus);
    TestMessage message;
    message.received = QDateTime(QDate(2026, 3, 1), QTime(9, 0));
    const QString unique = fixture.builder.Add(Path({"Inbox"}), message);
    auto item = fixture.Find(Path({"Inbox"}), unique);
    item->SetKelvoSent(NeverSentDate());
    ASSERT_TRUE(item->Save().ok());
    qputenv("TZ", "America/New_York");
    tzset();
    stored = fixture.Reopen()
                 ->Items(fixture.Ref(Path({"Inbox"})))
                 .value()
                 ->Find(fixture.AllFilter())
                 ->KelvoSent()
                 .value();
    EXPECT_EQ(stored, NeverSentDate()) << stored.toString(Qt::ISODateWithMs).toStdString();
  }
  if (oldZone.isNull()) {
    qunsetenv("TZ");
  } else {
    qputenv("TZ", oldZone);
  }
  tzset();
}

struct DeleteRow {
  std::string name;
  MaildirLayout layout;
  QString unique;
  QString flags;
  bool inNew;
  QString trashedName;
};

std::vector<DeleteRow> DeleteRows() {
  std::vector<DeleteRow> rows;
  for (MaildirLayout layout : {MaildirLayout::PlusPlus, MaildirLayout::Nested}) {
    const std::string suffix = testing::LayoutName(layout);
    rows.push_back({"Seen" + suffix, layout, QStringLiteral("a1.x"), QStringLiteral("S"), false,
                    QStringLiteral("a1.x:2,ST")});
    rows.push_back({"RepliedAndSeen" + suffix, layout, QStringLiteral("a2.x"), QStringLiteral("RS"),
                    false, QStringLiteral("a2.x:2,RST")});
    rows.push_back({"NewMessage" + suffix, layout, QStringLiteral("a3.x"), QString(), true,
                    QStringLiteral("a3.x:2,T")});
    rows.push_back({"AlreadyTrashedFlag" + suffix, layout, QStringLiteral("a4.x"),
                    QStringLiteral("T"), false, QStringLiteral("a4.x:2,T")});
    rows.push_back({"OtherProgramsFields" + suffix, layout,
                    QStringLiteral("1767225600.M1P2.h,S=120,W=124"), QStringLiteral("FS"), false,
                    QStringLiteral("1767225600.M1P2.h,S=120,W=124:2,FST")});
  }
  return rows;
}

class DeleteToTrash : public ::testing::TestWithParam<DeleteRow> {};

TEST_P(DeleteToTrash, MovesTheFileKeepingItsNameAndMark) {
  const DeleteRow& row = GetParam();
  StoreFixture fixture(row.layout);
  TestMessage message;
  message.received = QDateTime(QDate(2026, 3, 1), QTime(9, 0));
  message.unique = row.unique;
  message.flags = row.flags;
  message.inNew = row.inNew;
  const QByteArray bytes = testing::MaildirBuilder::Compose(message);
  fixture.builder.Add(Path({"Inbox", "Work"}), message);

  auto item = fixture.Find(Path({"Inbox", "Work"}), row.unique);
  ASSERT_TRUE(item);
  item->SetKelvoSent(QDateTime(QDate(2026, 3, 2), QTime(8, 0)));
  ASSERT_TRUE(item->Save().ok());
  auto deleted = item->Delete();
  ASSERT_TRUE(deleted.ok()) << deleted.reason().toStdString();
  EXPECT_EQ(item->EntryId(), row.unique);

  EXPECT_EQ(fixture.Items(Path({"Inbox", "Work"}))->Count(), 0);
  auto trash = fixture.store->GetDefaultFolder(DefaultFolder::Trash);
  ASSERT_TRUE(trash.ok());
  const QString trashDir = fixture.dir.path() + QLatin1Char('/') + trash->EntryId;
  EXPECT_EQ(FilesBelow(trashDir + QStringLiteral("/cur")), QStringList{row.trashedName});
  EXPECT_EQ(ReadAll(trashDir + QStringLiteral("/cur/") + row.trashedName), bytes);

  auto inTrash = fixture.store->Items(trash.value());
  ASSERT_TRUE(inTrash.ok());
  auto found = inTrash.value()->Find(fixture.AllFilter());
  ASSERT_TRUE(found);
  EXPECT_EQ(found->EntryId(), row.unique);
  EXPECT_EQ(found->KelvoSent(),
            std::optional<QDateTime>(QDateTime(QDate(2026, 3, 2), QTime(8, 0))));
  EXPECT_EQ(item->Text(ItemText::Subject).value(), message.subject) << "the item follows its file";
}

INSTANTIATE_TEST_SUITE_P(Rows, DeleteToTrash, ::testing::ValuesIn(DeleteRows()),
                         testing::RowName());

TEST(DeleteToTrashFailure, NameTakenInTrashLosesNothing) {
  StoreFixture fixture(MaildirLayout::PlusPlus);
  TestMessage message;
  message.unique = QStringLiteral("twin.x");
  message.subject = QStringLiteral("in Inbox");
  fixture.builder.Add(Path({"Inbox"}), message);
  message.subject = QStringLiteral("in Trash");
  message.flags = QStringLiteral("ST");
  fixture.builder.Add(Path({"Trash"}), message);
  auto item = fixture.Find(Path({"Inbox"}), QStringLiteral("twin.x"));
  ASSERT_TRUE(item);
  auto deleted = item->Delete();
  EXPECT_FALSE(deleted.ok());
  EXPECT_TRUE(deleted.reason().contains(QStringLiteral("twin.x")))
      << deleted.reason().toStdString();
  EXPECT_EQ(fixture.Items(Path({"Inbox"}))->Count(), 1);
  EXPECT_EQ(fixture.Items(Path({"Trash"}))->Count(), 1);
  EXPECT_EQ(
      fixture.Find(Path({"Trash"}), QStringLiteral("twin.x"))->Text(ItemText::Subject).value(),
      QStringLiteral("in Trash"));
}

struct NewItemRow {
  std::string name;
  MaildirLayout layout;
  QString subject;
  QString body;
  QString recipient;
  QString bodyRead;  // what Body reads back
  QString toRead;
  const char* encoding;  // the Content-Transfer-Encoding chosen
};

std::vector<NewItemRow> NewItemRows() {
  std::vector<NewItemRow> rows;
  const QString longLine(3000, QLatin1Char('x'));
  for (MaildirLayout layout : {MaildirLayout::PlusPlus, MaildirLayout::Nested}) {
    const std::string suffix = testing::LayoutName(layout);
    auto row = [&](const char* name, QString subject, QString body, QString recipient,
                   QString bodyRead, QString toRead, const char* encoding) {
      rows.push_back({name + suffix, layout, std::move(subject), std::move(body),
                      std::move(recipient), std::move(bodyRead), std::move(toRead), encoding});
    };
    row("Ascii", QStringLiteral("Meeting"), QStringLiteral("Line one\r\nLine two\r\n"),
        QStringLiteral("bob@example.org"), QStringLiteral("Line one\r\nLine two\r\n"),
        QStringLiteral("bob@example.org"), "7bit");
    row("DummyRecipient", QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("Dummy"),
        QStringLiteral("y"), QStringLiteral("Dummy"), "7bit");
    row("NameAndAddress", QStringLiteral("x"), QStringLiteral("y"),
        QStringLiteral("Ann Example <ann@example.org>"), QStringLiteral("y"),
        QStringLiteral("Ann Example"), "7bit");
    row("LongLine", QStringLiteral("Long"), longLine, QStringLiteral("Dummy"), longLine,
        QStringLiteral("Dummy"), "quoted-printable");
    row("Accent", QStringLiteral("Café"), QStringLiteral("Un café, s'il vous plaît.\r\n"),
        QStringLiteral("Zoé <zoe@example.fr>"), QStringLiteral("Un café, s'il vous plaît.\r\n"),
        QStringLiteral("Zoé"), nullptr);
    row("Cyrillic", QStringLiteral("Привет, мир"), QStringLiteral("Как дела?\r\nВсё хорошо.\r\n"),
        QStringLiteral("Иван"), QStringLiteral("Как дела?\r\nВсё хорошо.\r\n"),
        QStringLiteral("Иван"), "base64");
    row("DotsAndFromLines", QStringLiteral("x"), QStringLiteral("From here\r\n.\r\n..\r\nend"),
        QStringLiteral("Dummy"), QStringLiteral("From here\r\n.\r\n..\r\nend"),
        QStringLiteral("Dummy"), nullptr);
    row("BareCarriageReturns", QStringLiteral("x"), QStringLiteral("a\rb\nc"),
        QStringLiteral("Dummy"), QStringLiteral("a\r\nb\r\nc"), QStringLiteral("Dummy"), "7bit");
    row("EmptyBody", QString(), QString(), QStringLiteral("Dummy"), QString(),
        QStringLiteral("Dummy"), nullptr);
  }
  return rows;
}

class NewItemInDrafts : public ::testing::TestWithParam<NewItemRow> {};

TEST_P(NewItemInDrafts, IsDeliveredThroughTmpWithFlagDAndReadsBack) {
  const NewItemRow& row = GetParam();
  StoreFixture fixture(row.layout);
  const QDateTime mark(QDate(2026, 3, 3), QTime(11, 59, 58, 250));
  auto item = fixture.store->CreateItem();
  item->SetSubject(row.subject);
  item->SetBody(row.body);
  item->AddRecipient(row.recipient);
  item->SetKelvoSent(mark);
  EXPECT_TRUE(item->EntryId().isEmpty());
  auto saved = item->Save();
  ASSERT_TRUE(saved.ok()) << saved.reason().toStdString();
  const QString id = item->EntryId();
  ASSERT_FALSE(id.isEmpty());

  auto drafts = fixture.store->GetDefaultFolder(DefaultFolder::Drafts);
  ASSERT_TRUE(drafts.ok());
  const QString draftsDir = fixture.dir.path() + QLatin1Char('/') + drafts->EntryId;
  QStringList delivered = FilesBelow(draftsDir);
  EXPECT_EQ(delivered, QStringList{QStringLiteral("cur/") + id + QStringLiteral(":2,D")});

  const QByteArray file =
      ReadAll(draftsDir + QStringLiteral("/cur/") + id + QStringLiteral(":2,D"));
  const qsizetype headerEnd = file.indexOf("\n\n");
  ASSERT_GT(headerEnd, 0);
  const QByteArray header = file.left(headerEnd + 1);
  for (const char* field : {"\nDate: Tue, 03 Mar 2026 12:00:00 ", "From: Kelvo <kelvo@localhost>\n",
                            "\nMIME-Version: 1.0\n", "\nMessage-Id: <",
                            "\nTo: ", "\nContent-Type: text/plain; charset=utf-8\n"}) {
    EXPECT_TRUE((QByteArray("\n") + header).contains(field)) << field << "\n"
                                                             << header.toStdString();
  }
  if (row.encoding != nullptr && std::string(row.encoding) == "7bit") {
    EXPECT_FALSE(header.contains("Content-Transfer-Encoding:") &&
                 !header.contains("Content-Transfer-Encoding: 7bit"))
        << header.toStdString();
  } else if (row.encoding != nullptr) {
    EXPECT_TRUE(header.contains(QByteArray("Content-Transfer-Encoding: ") + row.encoding))
        << header.toStdString();
  }
  for (const QByteArray& line : file.split('\n')) EXPECT_LE(line.size(), 998);
  for (char c : file) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "7-bit clean";

  fixture.store = fixture.Reopen();
  auto read = fixture.Find(Path({"Drafts"}), id);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Text(ItemText::Subject).value(), row.subject);
  // A last line without a line end is stored with one.
  const bool ends = row.bodyRead.isEmpty() || row.bodyRead.endsWith(QStringLiteral("\r\n"));
  EXPECT_EQ(read->Text(ItemText::Body).value(),
            ends ? row.bodyRead : row.bodyRead + QStringLiteral("\r\n"));
  EXPECT_EQ(read->Text(ItemText::To).value(), row.toRead);
  EXPECT_EQ(read->Text(ItemText::SenderName).value(), QStringLiteral("Kelvo"));
  EXPECT_EQ(read->SentOn().value(), fixture.clock.Now());
  EXPECT_EQ(read->ReceivedTime().value(), fixture.clock.Now());
  EXPECT_EQ(read->KelvoSent(), std::optional<QDateTime>(mark));
}

INSTANTIATE_TEST_SUITE_P(Rows, NewItemInDrafts, ::testing::ValuesIn(NewItemRows()),
                         testing::RowName());

TEST(NewItemIds, EveryNewItemHasItsOwnId) {
  StoreFixture fixture(MaildirLayout::Nested);
  std::set<QString> ids;
  for (int i = 0; i < 50; ++i) {
    auto item = fixture.store->CreateItem();
    item->SetSubject(QString::number(i));
    item->AddRecipient(QStringLiteral("Dummy"));
    ASSERT_TRUE(item->Save().ok());
    ids.insert(item->EntryId());
  }
  EXPECT_EQ(ids.size(), 50u);
  EXPECT_EQ(fixture.Items(Path({"Drafts"}))->Count(), 50);
}

// Writes fail past this many bytes, as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int);
};

struct NewItemFailureRow {
  const char* name;
  bool withMark;
  std::function<void(StoreFixture&)> spoil;
};

class NewItemFailure : public ::testing::TestWithParam<NewItemFailureRow> {};

TEST_P(NewItemFailure, LeavesNoMessageAndNoMark) {
  StoreFixture fixture(MaildirLayout::PlusPlus);
  ASSERT_TRUE(fixture.store->GetDefaultFolder(DefaultFolder::Drafts).ok());
  auto item = fixture.store->CreateItem();
  item->SetSubject(QStringLiteral("Lost?"));
  item->SetBody(QString(20000, QLatin1Char('z')));
  item->AddRecipient(QStringLiteral("Dummy"));
  if (GetParam().withMark) item->SetKelvoSent(QDateTime(QDate(2026, 3, 3), QTime(12, 0)));
  StoreStatus saved = Done{};
  {
    GetParam().spoil(fixture);
    std::unique_ptr<FileSizeLimit> limit;
    if (std::string(GetParam().name).find("Full") != std::string::npos) {
      limit = std::make_unique<FileSizeLimit>(8192);
    }
    saved = item->Save();
  }
  ASSERT_FALSE(saved.ok());
  EXPECT_FALSE(saved.reason().isEmpty());
  EXPECT_TRUE(item->EntryId().isEmpty());
  const QStringList left = FilesBelow(fixture.dir.path() + QStringLiteral("/.Drafts"));
  for (const QString& file : left) {
    EXPECT_FALSE(file.startsWith(QStringLiteral("cur/")) || file.startsWith(QStringLiteral("new/")))
        << file.toStdString();
  }
  EXPECT_FALSE(left.contains(QStringLiteral("tmp/")) && left.size() > 2);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NewItemFailure,
    ::testing::Values(
        NewItemFailureRow{"DiskFull", false, [](StoreFixture&) {}},
        NewItemFailureRow{"DiskFullWithMark", true,
                          [](StoreFixture& fixture) {
                            // The database exists already; its write fits, the message does not.
                            TestMessage message;
                            const QString unique = fixture.builder.Add(Path({"Inbox"}), message);
                            auto other = fixture.Find(Path({"Inbox"}), unique);
                            other->SetKelvoSent(NeverSentDate());
                            ASSERT_TRUE(other->Save().ok());
                          }},
        NewItemFailureRow{"TmpIsAFile", true,
                          [](StoreFixture& fixture) {
                            const QString tmp = fixture.dir.path() + QStringLiteral("/.Drafts/tmp");
                            QDir(tmp).removeRecursively();
                            QFile file(tmp);
                            file.open(QIODevice::WriteOnly);
                          }},
        NewItemFailureRow{
            "DraftsCannotBeMade", false,
            [](StoreFixture& fixture) {
              QDir(fixture.dir.path() + QStringLiteral("/.Drafts")).removeRecursively();
              QFile file(fixture.dir.path() + QStringLiteral("/.Drafts"));
              file.open(QIODevice::WriteOnly);
            }}),
    testing::RowName());

TEST(NewItemFailureMark, MarkOfAFailedDeliveryIsTakenBack) {
  StoreFixture fixture(MaildirLayout::PlusPlus);
  ASSERT_TRUE(fixture.store->GetDefaultFolder(DefaultFolder::Drafts).ok());
  const QString tmp = fixture.dir.path() + QStringLiteral("/.Drafts/tmp");
  QDir(tmp).removeRecursively();
  QFile(tmp).open(QIODevice::WriteOnly);
  auto item = fixture.store->CreateItem();
  item->AddRecipient(QStringLiteral("Dummy"));
  item->SetKelvoSent(QDateTime(QDate(2026, 3, 3), QTime(12, 0)));
  ASSERT_FALSE(item->Save().ok());
  // Repair the folder: the next Save delivers the item, marked.
  QFile::remove(tmp);
  QDir().mkpath(tmp);
  ASSERT_TRUE(item->Save().ok());
  EXPECT_EQ(fixture.Find(Path({"Drafts"}), item->EntryId())->KelvoSent(),
            std::optional<QDateTime>(QDateTime(QDate(2026, 3, 3), QTime(12, 0))));
}

TEST(KelvoSentMarkFailure, UnwritableDatabaseFailsTheSaveWithAReason) {
  StoreFixture fixture(MaildirLayout::Nested);
  TestMessage message;
  const QString unique = fixture.builder.Add(Path({"Inbox"}), message);
  QDir().mkpath(fixture.dir.path() + QLatin1Char('/') +
                MaildirStore::StateFileName());  // a folder in its way
  auto item = fixture.Find(Path({"Inbox"}), unique);
  ASSERT_TRUE(item);
  EXPECT_EQ(item->KelvoSent(), std::nullopt);
  item->SetKelvoSent(NeverSentDate());
  auto saved = item->Save();
  ASSERT_FALSE(saved.ok());
  EXPECT_TRUE(saved.reason().contains(MaildirStore::StateFileName()))
      << saved.reason().toStdString();
  EXPECT_EQ(item->KelvoSent(), std::optional<QDateTime>(NeverSentDate())) << "still pending";
}

}  // namespace
}  // namespace zandor
