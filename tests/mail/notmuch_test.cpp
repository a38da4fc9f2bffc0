// A real mail client reads what the store writes: notmuch indexes the store's
// folders, in both layouts, and finds a new item by its subject and body.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "store_fixture.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::MaildirLayout;
using testing::Path;
using testing::StoreFixture;
using testing::TestMessage;

struct NotmuchRun {
  int exitCode;
  QString out;
  QString err;
};

class Notmuch {
 public:
  explicit Notmuch(const QString& mailRoot) {
    const QString config = home_.path() + QStringLiteral("/notmuch-config");
    QFile file(config);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    // The store's own state file beside the mail is not mail; a notmuch user
    // lists it under new.ignore, as here.
    file.write("[database]\npath=" + mailRoot.toUtf8() +
               "\n[user]\nname=Test\nprimary_email=test@example.org\n"
               "[new]\ntags=inbox;\nignore=zandor-state.sqlite;zandor-state.sqlite-journal;\n"
               "[maildir]\nsynchronize_flags=true\n");
    environment_ = QProcessEnvironment::systemEnvironment();
    environment_.insert(QStringLiteral("HOME"), home_.path());
    environment_.insert(QStringLiteral("NOTMUCH_CONFIG"), config);
  }

  NotmuchRun Run(const QStringList& arguments) {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(QStringLiteral("notmuch"), arguments);
    if (!process.waitForFinished(60000)) return {-1, QString(), QStringLiteral("timed out")};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
  }

 private:
  QTemporaryDir home_;
  QProcessEnvironment environment_;
};

class NotmuchReads : public ::testing::TestWithParam<MaildirLayout> {};

TEST_P(NotmuchReads, NewItemIsFoundBySubjectAndBody) {
  if (QStandardPaths::findExecutable(QStringLiteral("notmuch")).isEmpty()) {
    GTEST_SKIP() << "notmuch is not installed; no real client reads the store here";
  }
  StoreFixture fixture(GetParam());
  TestMessage message;
  message.subject = QStringLiteral("Quarterly figures");
  message.body = QStringLiteral("The numbers are in.\n");
  message.received = QDateTime(QDate(2026, 3, 1), QTime(9, 0));
  const QString existing = fixture.builder.Add(Path({"Inbox", "Работа"}), message);
  fixture.builder.Add(Path({"Sent"}), message);
  auto item = fixture.Find(Path({"Inbox", "Работа"}), existing);
  ASSERT_TRUE(item);
  item->SetKelvoSent(NeverSentDate());
  ASSERT_TRUE(item->Save().ok());

  auto created = fixture.store->CreateItem();
  created->SetSubject(QStringLiteral("Встреча в пятницу"));
  created->SetBody(QStringLiteral("Kelvoplanning zephyrtest at noon.\r\nПриходите!\r\n"));
  created->AddRecipient(QStringLiteral("Dummy"));
  created->SetKelvoSent(fixture.clock.Now());
  ASSERT_TRUE(created->Save().ok());

  Notmuch notmuch(fixture.dir.path());
  const NotmuchRun indexed = notmuch.Run({QStringLiteral("new")});
  ASSERT_EQ(indexed.exitCode, 0) << indexed.err.toStdString();
  EXPECT_TRUE(indexed.err.trimmed().isEmpty()) << indexed.err.toStdString();
  // Three files; the two copies of one message are one message to notmuch.
  EXPECT_TRUE(indexed.out.contains(QStringLiteral("Found 3 total files")))
      << indexed.out.toStdString();
  EXPECT_TRUE(indexed.out.contains(QStringLiteral("Added 2 new messages")))
      << indexed.out.toStdString();

  const NotmuchRun bySubject =
      notmuch.Run({QStringLiteral("search"), QStringLiteral("--output=files"),
                   QStringLiteral("subject:пятницу")});
  ASSERT_EQ(bySubject.exitCode, 0) << bySubject.err.toStdString();
  EXPECT_TRUE(bySubject.out.trimmed().endsWith(created->EntryId() + QStringLiteral(":2,D")))
      << bySubject.out.toStdString();

  const NotmuchRun byBody = notmuch.Run({QStringLiteral("search"), QStringLiteral("zephyrtest")});
  EXPECT_TRUE(byBody.out.contains(QStringLiteral("Встреча в пятницу"))) << byBody.out.toStdString();
  const NotmuchRun draft = notmuch.Run({QStringLiteral("search"), QStringLiteral("tag:draft")});
  EXPECT_TRUE(draft.out.contains(QStringLiteral("Встреча в пятницу")))
      << "flag D is read as a draft";
  const NotmuchRun figures = notmuch.Run({QStringLiteral("count"), QStringLiteral("--output=files"),
                                          QStringLiteral("subject:Quarterly")});
  EXPECT_EQ(figures.out.trimmed(), QStringLiteral("2"));
}

INSTANTIATE_TEST_SUITE_P(Layouts, NotmuchReads,
                         ::testing::Values(MaildirLayout::PlusPlus, MaildirLayout::Nested),
                         [](const ::testing::TestParamInfo<MaildirLayout>& row) {
                           return std::string(testing::LayoutName(row.param));
                         });

}  // namespace
}  // namespace zandor
