// Counting, restricting, sorting and finding the messages of a folder, and
// the received time rule, in both layouts.
#include <gtest/gtest.h>

#include <QFile>

#include "mail/date_filter.h"
#include "store_fixture.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::MaildirLayout;
using testing::Path;
using testing::StoreFixture;
using testing::TestMessage;

const QDate kToday(2026, 3, 3);
// "Last 7 days" on 3 March 2026 starts on 24 February at 00:00 local time.
const QDateTime kWeekStart(QDate(2026, 2, 24), QTime(0, 0));

struct Placed {
  qint64 offsetSecs;  // received time relative to the start of the range
  bool inNew;
  const char* unique;
};

struct CountRow {
  std::string name;
  MaildirLayout layout;
  std::vector<Placed> messages;
  int count;
  int inRange;
  std::vector<const char*> found;  // entry ids in the order Find/FindNext give them
};

std::vector<CountRow> CountRows() {
  std::vector<CountRow> rows;
  for (MaildirLayout layout : {MaildirLayout::PlusPlus, MaildirLayout::Nested}) {
    const std::string suffix = testing::LayoutName(layout);
    auto row = [&](const char* name, std::vector<Placed> messages, int count, int inRange,
                   std::vector<const char*> found) {
      rows.push_back(
          {name + suffix, layout, std::move(messages), count, inRange, std::move(found)});
    };
    row("EmptyFolder", {}, 0, 0, {});
    row("StartOfRangeIsIn", {{-1, false, "a"}, {0, false, "b"}, {1, false, "c"}}, 3, 2, {"b", "c"});
    row("AllOld", {{-30 * 86400, false, "a"}, {-1, true, "b"}}, 2, 0, {});
    row("NewAndCurAlike", {{5, true, "n"}, {3, false, "c"}}, 2, 2, {"c", "n"});
    row("OldestFirst",
        {{7 * 86400, false, "d"},
         {100, false, "b"},
         {6 * 86400 + 43200, true, "c"},
         {50, false, "a"}},
        4, 4, {"a", "b", "c", "d"});
    row("EqualTimesByUniqueName",
        {{500, false, "m9"},
         {500, true, "m1"},
         {500, false, "m5"},
         {100, false, "m7"},
         {-100, false, "m0"}},
        5, 4, {"m7", "m1", "m5", "m9"});
  }
  return rows;
}

class FolderItems : public ::testing::TestWithParam<CountRow> {};

TEST_P(FolderItems, CountRestrictSortAndFind) {
  const CountRow& row = GetParam();
  StoreFixture fixture(row.layout);
  for (const Placed& placed : row.messages) {
    TestMessage message;
    message.received = kWeekStart.addSecs(placed.offsetSecs);
    message.date = kWeekStart.addSecs(placed.offsetSecs - 3600);
    message.unique = QString::fromLatin1(placed.unique);
    message.inNew = placed.inNew;
    fixture.builder.Add(Path({"Inbox", "Work"}), message);
  }
  fixture.builder.Folder(Path({"Inbox", "Work"}));
  auto items = fixture.Items(Path({"Inbox", "Work"}));
  ASSERT_TRUE(items);
  const QString filter = BuildDateFilter(1, kToday, fixture.locale);

  EXPECT_EQ(items->Count(), row.count);
  auto restricted = items->CountRestricted(filter);
  ASSERT_TRUE(restricted.ok()) << restricted.reason().toStdString();
  EXPECT_EQ(restricted.value(), row.inRange);

  items->SortByReceivedTime();
  std::vector<std::string> found;
  for (auto item = items->Find(filter); item; item = items->FindNext()) {
    found.push_back(item->EntryId().toStdString());
  }
  EXPECT_EQ(found, std::vector<std::string>(row.found.begin(), row.found.end()));
  EXPECT_EQ(items->FindNext(), nullptr) << "the search stays at its end";
}

INSTANTIATE_TEST_SUITE_P(Rows, FolderItems, ::testing::ValuesIn(CountRows()), testing::RowName());

TEST(FolderItemsFilter, UnreadableFilterFailsAndFindsNothing) {
  StoreFixture fixture(MaildirLayout::PlusPlus);
  TestMessage message;
  message.received = kWeekStart;
  fixture.builder.Add(Path({"Inbox"}), message);
  auto items = fixture.Items(Path({"Inbox"}));
  ASSERT_TRUE(items);
  const QString germanFilter = BuildDateFilter(1, kToday, QLocale(QStringLiteral("de_DE")));
  EXPECT_FALSE(items->CountRestricted(germanFilter).ok()) << "en_US store, de_DE text";
  EXPECT_EQ(items->Find(germanFilter), nullptr);
  EXPECT_EQ(items->FindNext(), nullptr);
}

TEST(FolderItemsFilter, FilterOfTheStoresLocaleAndTodayFromItsClock) {
  StoreFixture fixture(MaildirLayout::Nested, QLocale(QStringLiteral("ru_RU")));
  TestMessage message;
  message.received = QDateTime(QDate(2026, 3, 2), QTime(0, 0));
  fixture.builder.Add(Path({"Inbox"}), message);
  auto items = fixture.Items(Path({"Inbox"}));
  ASSERT_TRUE(items);
  const QString lastDay = BuildDateFilter(0, fixture.clock.Now().date(), fixture.locale);
  EXPECT_EQ(items->CountRestricted(lastDay).value(), 1);
  fixture.clock.Set(QDateTime(QDate(2026, 3, 4), QTime(0, 0)));
  const QString nextDay = BuildDateFilter(0, fixture.clock.Now().date(), fixture.locale);
  EXPECT_EQ(items->CountRestricted(nextDay).value(), 0);
}

TEST(FolderItemsFilter, FolderRemovedAfterListingFailsTheCount) {
  StoreFixture fixture(MaildirLayout::PlusPlus);
  TestMessage message;
  message.received = kWeekStart;
  fixture.builder.Add(Path({"Inbox", "Gone"}), message);
  auto items = fixture.Items(Path({"Inbox", "Gone"}));
  ASSERT_TRUE(items);
  ASSERT_TRUE(QDir(fixture.dir.path() + QStringLiteral("/.Gone")).removeRecursively());
  auto count = items->CountRestricted(BuildDateFilter(1, kToday, fixture.locale));
  ASSERT_FALSE(count.ok());
  EXPECT_TRUE(count.reason().contains(QStringLiteral("no longer exists")))
      << count.reason().toStdString();
  EXPECT_EQ(items->Find(BuildDateFilter(1, kToday, fixture.locale)), nullptr);
}

// The received time: topmost Received, else the delivery time of the unique
// name, else Date, else the file time.
struct ReceivedRow {
  const char* name;
  const char* unique;
  QByteArray header;
  QDateTime expected;
  bool setFileTime;
};

class ReceivedTimeRule : public ::testing::TestWithParam<ReceivedRow> {};

const QDateTime kFileTime(QDate(2025, 5, 5), QTime(5, 5, 5), Qt::UTC);

TEST_P(ReceivedTimeRule, TakesTheFirstSourceThatReads) {
  const ReceivedRow& row = GetParam();
  StoreFixture fixture(MaildirLayout::PlusPlus);
  const QString unique = fixture.builder.AddRaw(
      Path({"Inbox"}), row.header + "Subject: x\n\nbody\n", QString::fromLatin1(row.unique));
  if (row.setFileTime) {
    QFile file(fixture.dir.path() + QStringLiteral("/cur/") + unique + QStringLiteral(":2,S"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(kFileTime, QFileDevice::FileModificationTime));
  }
  auto item = fixture.Find(Path({"Inbox"}), unique);
  ASSERT_TRUE(item);
  auto received = item->ReceivedTime();
  ASSERT_TRUE(received.ok()) << received.reason().toStdString();
  EXPECT_EQ(received.value(), row.expected) << received->toString(Qt::ISODate).toStdString();
  // A fresh collection sorts by the same time.
  auto items = fixture.Items(Path({"Inbox"}));
  const QString dayBefore = BuildDateFilter(0, row.expected.date(), fixture.locale);
  const QString dayAfter = BuildDateFilter(0, row.expected.date().addDays(2), fixture.locale);
  EXPECT_EQ(items->CountRestricted(dayBefore).value(), 1);
  EXPECT_EQ(items->CountRestricted(dayAfter).value(), 0);
}

const QDateTime kTopReceived(QDate(2026, 3, 2), QTime(10, 0), Qt::OffsetFromUTC, 3600);
const QDateTime kDelivered = QDateTime::fromSecsSinceEpoch(1767225600);  // 2026-01-01 00:00 UTC
const QDateTime kDated(QDate(2026, 2, 1), QTime(8, 30), Qt::OffsetFromUTC, -5 * 3600);

INSTANTIATE_TEST_SUITE_P(
    Rows, ReceivedTimeRule,
    ::testing::Values(
        ReceivedRow{"TopmostReceived", "1767225600.M1P2.host",
                    "Received: from a by b; Mon, 2 Mar 2026 10:00:00 +0100\n"
                    "Received: from c by a; Sun, 1 Mar 2026 10:00:00 +0100\n"
                    "Date: Sun, 01 Feb 2026 08:30:00 -0500\n",
                    kTopReceived, false},
        ReceivedRow{
            "FoldedReceivedWithCrLf", "x.host",
            "Received: from a\r\n\tby b with ESMTP id 1;\r\n\tMon, 2 Mar 2026 10:00:00 +0100\r\n"
            "Date: Sun, 01 Feb 2026 08:30:00 -0500\r\n",
            kTopReceived, false},
        ReceivedRow{"ReceivedWithoutDateGivesTheDeliveryTime", "1767225600.M1P2.host",
                    "Received: from a by b\nDate: Sun, 01 Feb 2026 08:30:00 -0500\n", kDelivered,
                    false},
        ReceivedRow{"DeliveryTimeBeforeDate", "1767225600.M1P2.host",
                    "Date: Sun, 01 Feb 2026 08:30:00 -0500\n", kDelivered, false},
        ReceivedRow{"DateWithoutDeliveryTime", "abc.M1P2.host",
                    "Date: Sun, 01 Feb 2026 08:30:00 -0500\n", kDated, false},
        ReceivedRow{"FileTimeLast", "abc.M1P2.host", "From: a@b\n", kFileTime, true},
        ReceivedRow{"BrokenDateGivesTheFileTime", "17672.M1P2.host", "Date: the day after\n",
                    kFileTime, true}),
    testing::RowName());

TEST(ItemTimes, SentOnIsTheDateElseTheReceivedTime) {
  StoreFixture fixture(MaildirLayout::Nested);
  const QString dated = fixture.builder.AddRaw(
      Path({"Inbox"}), "Date: Sun, 01 Feb 2026 08:30:00 -0500\nSubject: a\n\nx\n",
      QStringLiteral("a.x"));
  const QString undated = fixture.builder.AddRaw(Path({"Inbox"}), "Subject: b\n\nx\n",
                                                 QStringLiteral("1767225600.M1P2.host"));
  auto first = fixture.Find(Path({"Inbox"}), dated);
  auto second = fixture.Find(Path({"Inbox"}), undated);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->SentOn().value(), kDated);
  EXPECT_EQ(second->SentOn().value(), kDelivered);
}

TEST(ItemFiles, MessageRenamedByAnotherProgramIsFoundAgain) {
  StoreFixture fixture(MaildirLayout::PlusPlus);
  TestMessage message;
  message.subject = QStringLiteral("Renamed");
  message.received = kWeekStart;
  const QString unique = fixture.builder.Add(Path({"Inbox"}), message);
  auto item = fixture.Find(Path({"Inbox"}), unique);
  ASSERT_TRUE(item);
  const QString cur = fixture.dir.path() + QStringLiteral("/cur/") + unique;
  ASSERT_TRUE(QFile::rename(cur + QStringLiteral(":2,S"), cur + QStringLiteral(":2,RS")));
  EXPECT_EQ(item->Text(ItemText::Subject).value(), QStringLiteral("Renamed"));
  EXPECT_EQ(item->Text(ItemText::Body).value(), QStringLiteral("Hello.\r\n"));
}

TEST(ItemFiles, MessageRemovedUnderUsReadsAsFailed) {
  StoreFixture fixture(MaildirLayout::PlusPlus);
  TestMessage message;
  message.received = kWeekStart;
  const QString unique = fixture.builder.Add(Path({"Inbox"}), message);
  auto item = fixture.Find(Path({"Inbox"}), unique);
  ASSERT_TRUE(item);
  ASSERT_TRUE(QFile::remove(fixture.dir.path() + QStringLiteral("/cur/") + unique +
                            QStringLiteral(":2,S")));
  for (ItemText which : {ItemText::Subject, ItemText::Body}) {
    auto text = item->Text(which);
    ASSERT_FALSE(text.ok());
    EXPECT_TRUE(text.reason().contains(unique)) << text.reason().toStdString();
  }
  EXPECT_FALSE(item->Delete().ok());
}

}  // namespace
}  // namespace zandor
