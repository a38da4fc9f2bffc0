#include "records/outgoing_record.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <vector>

#include "settings/options.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::RowName;

const QLocale kC(QLocale::C);
const QDateTime kReceived(QDate(2026, 3, 7), QTime(9, 5, 3));   // "07-Mar-2026 9:05:03"
const QDateTime kSent(QDate(2025, 12, 31), QTime(23, 59, 58));  // "31-Dec-2025 23:59:58"

// A body whose every slice is recognisable: the bytes cycle through a..z.
QString Body(qsizetype length) {
  QString body(length, Qt::Uninitialized);
  for (qsizetype i = 0; i < length; ++i) body[i] = QLatin1Char(static_cast<char>('a' + i % 26));
  return body;
}

// A message whose record header (every field but the body, the seven
// separators included) is headerLength bytes long in the C locale: sender,
// to, date (19), folder "Inbox" (5), cc and bcc take 33, the subject the rest.
OutgoingMessage Message(qsizetype headerLength, qsizetype bodyLength) {
  OutgoingMessage m;
  m.subject = QString(headerLength - 33, QLatin1Char('S'));
  m.senderName = QStringLiteral("F");
  m.to = QStringLiteral("T");
  m.cc = QString();
  m.bcc = QString();
  m.body = Body(bodyLength);
  m.receivedTime = kReceived;
  m.sentOn = kSent;
  return m;
}

QList<QByteArray> Fields(const QByteArray& record, char separator = '\xfe') {
  return record.split(separator);
}

struct LongRow {
  const char* name;
  int splitMode;
  const char* partsText;
  qsizetype header;
  qsizetype body;
  bool truncated, split, skipped;
  std::vector<qsizetype> slices;  // each part's body length; the offsets follow from them
};

class LongMessageTest : public ::testing::TestWithParam<LongRow> {};

TEST_P(LongMessageTest, CutsSplitsOrSkipsByTheOption) {
  const LongRow& row = GetParam();
  OptionValues options;
  options.splitModeIndex = row.splitMode;
  options.partsText = QString::fromUtf8(row.partsText);
  const OutgoingMessage message = Message(row.header, row.body);
  const OutgoingRecords records = BuildOutgoingRecords(message, QStringLiteral("Inbox"), 1, options,
                                                       254, BuildConversionTables(), kC);
  EXPECT_EQ(records.truncated, row.truncated);
  EXPECT_EQ(records.split, row.split);
  EXPECT_EQ(records.skipped, row.skipped);
  if (row.skipped) {
    ASSERT_EQ(records.parts.size(), 1u);
    EXPECT_TRUE(records.parts[0].isEmpty());
    return;
  }
  ASSERT_EQ(records.parts.size(), row.slices.size());
  const QByteArray body = message.body->toLatin1();
  const QByteArray subject = message.subject->toLatin1();
  qsizetype offset = 0;
  for (std::size_t k = 0; k < row.slices.size(); ++k) {
    const QByteArray& record = records.parts[k];
    const QList<QByteArray> fields = Fields(record);
    ASSERT_EQ(fields.size(), 8) << "part " << k + 1;
    const QByteArray label = row.split ? QByteArray::number(k + 1) + '>' : QByteArray();
    EXPECT_EQ(fields[0], label + subject) << "part " << k + 1;
    EXPECT_EQ(fields[3], body.mid(offset, row.slices[k])) << "part " << k + 1;
    EXPECT_EQ(record.size(), row.header + label.size() + row.slices[k]) << "part " << k + 1;
    offset += row.slices[k];
  }
}

constexpr int kTruncate = 0;
constexpr int kUnlimited = 1;
constexpr int kLimited = 2;

INSTANTIATE_TEST_SUITE_P(
    Rows, LongMessageTest,
    ::testing::Values(
        // 2,791 bytes go whole in every mode, whatever the parts text says.
        LongRow{"whole_2791_truncate", kTruncate, "0", 291, 2500, false, false, false, {2500}},
        LongRow{"whole_2791_split", kUnlimited, "0", 291, 2500, false, false, false, {2500}},
        LongRow{"whole_2791_limit_zero", kLimited, "0", 291, 2500, false, false, false, {2500}},
        LongRow{"short_record", kTruncate, "0", 40, 10, false, false, false, {10}},
        // 2,792 bytes are over-long.
        LongRow{"cut_2792", kTruncate, "0", 291, 2501, true, false, false, {2498}},
        LongRow{"split_2792", kUnlimited, "0", 291, 2501, false, true, false, {2500, 1}},
        LongRow{"cut_header_291_parts_text_2_chars",
                kTruncate,
                "12",
                291,
                6000,
                true,
                false,
                false,
                {2497}},
        LongRow{"cut_parts_text_3_chars", kTruncate, "999", 291, 6000, true, false, false, {2496}},
        LongRow{
            "cut_header_2789_leaves_empty_body", kTruncate, "5", 2789, 10, true, false, false, {0}},
        LongRow{"cut_header_2790_skips", kTruncate, "5", 2790, 10, true, false, true, {}},
        LongRow{"split_6000", kUnlimited, "0", 291, 6000, false, true, false, {2500, 2500, 1000}},
        LongRow{
            "split_exact_multiple", kUnlimited, "0", 291, 5000, false, true, false, {2500, 2500}},
        LongRow{"split_no_selection_is_unlimited",
                -1,
                "0",
                291,
                6000,
                false,
                true,
                false,
                {2500, 2500, 1000}},
        LongRow{
            "limit_2_drops_the_rest", kLimited, "2", 291, 6000, false, true, false, {2500, 2500}},
        LongRow{
            "limit_3_all_parts", kLimited, "3", 291, 6000, false, true, false, {2500, 2500, 1000}},
        LongRow{"limit_above_parts",
                kLimited,
                "999",
                291,
                6000,
                false,
                true,
                false,
                {2500, 2500, 1000}},
        LongRow{"limit_rounded_down", kLimited, "2.9", 291, 6000, false, true, false, {2500, 2500}},
        LongRow{
            "limit_number_then_text", kLimited, " 1 parts", 291, 6000, false, true, false, {2500}},
        LongRow{"limit_empty_skips", kLimited, "", 291, 6000, false, true, true, {}},
        LongRow{"limit_zero_skips", kLimited, "0", 291, 6000, false, true, true, {}},
        LongRow{
            "limit_fraction_below_one_skips", kLimited, "0.9", 291, 6000, false, true, true, {}},
        LongRow{"limit_negative_skips", kLimited, "-3", 291, 6000, false, true, true, {}},
        LongRow{"limit_letters_skips", kLimited, "abc", 291, 6000, false, true, true, {}},
        LongRow{"limit_beyond_16_bits_skips", kLimited, "40000", 291, 6000, false, true, true, {}},
        LongRow{"split_room_1", kUnlimited, "0", 2790, 3, false, true, false, {1, 1, 1}},
        LongRow{"split_no_room_skips", kUnlimited, "0", 2791, 1, false, true, true, {}},
        LongRow{"record_32767_is_cut", kTruncate, "0", 291, 32476, true, false, false, {2498}},
        LongRow{"record_32768_skips_before_cutting",
                kTruncate,
                "0",
                291,
                32477,
                false,
                false,
                true,
                {}},
        LongRow{"record_32768_skips_before_splitting",
                kUnlimited,
                "0",
                291,
                32477,
                false,
                false,
                true,
                {}}),
    RowName{});

TEST(OutgoingRecordTest, PartsTextLengthIsTheTruncateAllowance) {
  OptionValues options;
  options.splitModeIndex = kTruncate;
  options.partsText = QString::fromUtf8("ab€");  // three characters, not five UTF-8 bytes
  const OutgoingRecords records = BuildOutgoingRecords(
      Message(291, 6000), QStringLiteral("Inbox"), 1, options, 254, BuildConversionTables(), kC);
  ASSERT_EQ(records.parts.size(), 1u);
  EXPECT_EQ(records.parts[0].size(), 2791 - 4);
}

TEST(OutgoingRecordTest, FieldsInOrderConvertedAndJoinedByTheSeparator) {
  OutgoingMessage m;
  m.subject = QString::fromUtf8("Caf\u00e9");
  m.senderName = QStringLiteral("Ann");
  m.to = QStringLiteral("Bob; Cy");
  m.body = QStringLiteral("line\tone\r\nline two");
  m.cc = QStringLiteral("Dee");
  m.bcc = QStringLiteral("Eve");
  m.receivedTime = kReceived;
  m.sentOn = kSent;
  OptionValues options;
  const OutgoingRecords records = BuildOutgoingRecords(m, QString::fromUtf8("R\u00e9sum\u00e9s"), 1,
                                                       options, 254, BuildConversionTables(), kC);
  ASSERT_EQ(records.parts.size(), 1u);
  EXPECT_FALSE(records.truncated || records.split || records.skipped);
  EXPECT_EQ(records.parts[0].toHex(' '), QByteArray("Caf\x91\xfe"
                                                    "Ann\xfe"
                                                    "Bob; Cy\xfe"
                                                    "line one\r\nline two\xfe"
                                                    "07-Mar-2026 9:05:03\xfe"
                                                    "R\x91sum\x91s\xfe"
                                                    "Dee\xfe"
                                                    "Eve")
                                             .toHex(' '));
}

struct SeparatorRow {
  const char* name;
  bool rus, dravo;
  int separator;
  const char* subjectUtf8;
  QByteArray expectedSubject;
};

class SeparatorTest : public ::testing::TestWithParam<SeparatorRow> {};

// The separator between fields is never converted; a field may carry the
// separator's code when its conversion yields it.
TEST_P(SeparatorTest, SeparatorsStayAndFieldsConvert) {
  const SeparatorRow& row = GetParam();
  OutgoingMessage m = Message(40, 1);
  m.subject = QString::fromUtf8(row.subjectUtf8);
  OptionValues options;
  options.ostrelConv = !row.rus && !row.dravo;
  options.rusConv = row.rus;
  options.dravoConv = row.dravo;
  const auto separator = static_cast<unsigned char>(row.separator);
  const OutgoingRecords records = BuildOutgoingRecords(m, QStringLiteral("Inbox"), 1, options,
                                                       separator, BuildConversionTables(), kC);
  ASSERT_EQ(records.parts.size(), 1u);
  const QByteArray record = records.parts[0];
  const QByteArray rest =
      QByteArray(1, static_cast<char>(separator)) + "F" + static_cast<char>(separator) + "T";
  EXPECT_EQ(record.left(row.expectedSubject.size() + rest.size()).toHex(' '),
            (row.expectedSubject + rest).toHex(' '));
  EXPECT_EQ(record.count(static_cast<char>(separator)),
            7 + row.expectedSubject.count(static_cast<char>(separator)));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SeparatorTest,
    ::testing::Values(
        SeparatorRow{"western_thorn_is_the_separator_code", false, false, 254, "\u00fe\u00fd",
                     "\xfe\xe3"},
        SeparatorRow{"western_thorn_with_the_other_separator", false, false, 31, "\u00fe", "\xe1"},
        SeparatorRow{"ostrel_cyrillic", true, false, 254, "\u0430\u044f\u2116\t", "\xa1\xc1\xe6 "},
        SeparatorRow{"dravo_cyrillic_leaves_as_is", false, true, 31, "\u0430\u044f\t", "\xe0\xff "},
        SeparatorRow{"rus_before_dravo", true, true, 31, "\u0430", "\xa1"}),
    RowName{});

// Lengths are bytes of the host code page: one per character, whatever its
// size in UTF-8 or UTF-16.
struct ByteCountRow {
  const char* name;
  const char* characterUtf8;
  bool rus;
};

class ByteCountTest : public ::testing::TestWithParam<ByteCountRow> {};

TEST_P(ByteCountTest, OneByteForEachCharacter) {
  OptionValues options;
  options.splitModeIndex = kUnlimited;
  options.ostrelConv = !GetParam().rus;
  options.rusConv = GetParam().rus;
  OutgoingMessage m = Message(291, 0);
  const QString character = QString::fromUtf8(GetParam().characterUtf8);
  m.body = character.repeated(2500);
  const ConversionTables tables = BuildConversionTables();
  OutgoingRecords records =
      BuildOutgoingRecords(m, QStringLiteral("Inbox"), 1, options, 254, tables, kC);
  ASSERT_EQ(records.parts.size(), 1u);
  EXPECT_EQ(records.parts[0].size(), 2791);

  m.body = character.repeated(2501);
  records = BuildOutgoingRecords(m, QStringLiteral("Inbox"), 1, options, 254, tables, kC);
  ASSERT_EQ(records.parts.size(), 2u);
  EXPECT_EQ(Fields(records.parts[0])[3].size(), 2500);
  EXPECT_EQ(Fields(records.parts[1])[3].size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, ByteCountTest,
                         ::testing::Values(ByteCountRow{"ascii", "x", false},
                                           ByteCountRow{"accent", "\u00e9", false},
                                           ByteCountRow{"cyrillic", "\u0436", true},
                                           ByteCountRow{"beyond_the_code_page", "\u0436", false},
                                           ByteCountRow{"supplementary", "\U0001F600", false}),
                         RowName{});

struct DateRow {
  const char* name;
  int folderKind;
  bool hasReceived, hasSent;
  const char* expectedDate;  // nullptr: skipped
};

class DateFieldTest : public ::testing::TestWithParam<DateRow> {};

TEST_P(DateFieldTest, InboxUsesReceivedTimeSentItemsSentOn) {
  const DateRow& row = GetParam();
  OutgoingMessage m = Message(40, 1);
  if (!row.hasReceived) m.receivedTime.reset();
  if (!row.hasSent) m.sentOn.reset();
  OptionValues options;
  const OutgoingRecords records = BuildOutgoingRecords(m, QStringLiteral("Inbox"), row.folderKind,
                                                       options, 254, BuildConversionTables(), kC);
  if (!row.expectedDate) {
    EXPECT_TRUE(records.skipped);
    return;
  }
  ASSERT_FALSE(records.skipped);
  EXPECT_EQ(Fields(records.parts[0])[4], QByteArray(row.expectedDate));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DateFieldTest,
    ::testing::Values(DateRow{"inbox", 1, true, true, "07-Mar-2026 9:05:03"},
                      DateRow{"sent_items", 2, true, true, "31-Dec-2025 23:59:58"},
                      DateRow{"inbox_without_sent_on", 1, true, false, "07-Mar-2026 9:05:03"},
                      DateRow{"sent_items_without_received", 2, false, true,
                              "31-Dec-2025 23:59:58"},
                      DateRow{"inbox_without_received_skips", 1, false, true, nullptr},
                      DateRow{"sent_items_without_sent_on_skips", 2, true, false, nullptr}),
    RowName{});

TEST(OutgoingRecordTest, InvalidDateSkips) {
  OutgoingMessage m = Message(40, 1);
  m.receivedTime = QDateTime();
  OptionValues options;
  EXPECT_TRUE(
      BuildOutgoingRecords(m, QStringLiteral("Inbox"), 1, options, 254, BuildConversionTables(), kC)
          .skipped);
}

struct MissingRow {
  const char* name;
  std::optional<QString> OutgoingMessage::*property;
};

class MissingPropertyTest : public ::testing::TestWithParam<MissingRow> {};

// A property the message cannot give skips it, before any long-message
// decision: no other flag is raised even for an over-long message.
TEST_P(MissingPropertyTest, SkipsTheMessage) {
  OutgoingMessage m = Message(291, 6000);
  (m.*GetParam().property).reset();
  OptionValues options;
  const OutgoingRecords records = BuildOutgoingRecords(m, QStringLiteral("Inbox"), 1, options, 254,
                                                       BuildConversionTables(), kC);
  EXPECT_TRUE(records.skipped);
  EXPECT_FALSE(records.truncated);
  EXPECT_FALSE(records.split);
  ASSERT_EQ(records.parts.size(), 1u);
  EXPECT_TRUE(records.parts[0].isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, MissingPropertyTest,
                         ::testing::Values(MissingRow{"subject", &OutgoingMessage::subject},
                                           MissingRow{"sender", &OutgoingMessage::senderName},
                                           MissingRow{"to", &OutgoingMessage::to},
                                           MissingRow{"body", &OutgoingMessage::body},
                                           MissingRow{"cc", &OutgoingMessage::cc},
                                           MissingRow{"bcc", &OutgoingMessage::bcc}),
                         RowName{});

TEST(OutgoingRecordTest, SplitWithoutSubjectCarriesOnlyTheLabel) {
  OutgoingMessage m = Message(291, 6000);
  m.subject = QString();
  m.senderName = QString(258, QLatin1Char('F'));  // keeps the header at 291
  OptionValues options;
  options.splitModeIndex = kUnlimited;
  const OutgoingRecords records = BuildOutgoingRecords(m, QStringLiteral("Inbox"), 1, options, 254,
                                                       BuildConversionTables(), kC);
  ASSERT_EQ(records.parts.size(), 3u);
  EXPECT_EQ(Fields(records.parts[0])[0], QByteArray("1>"));
  EXPECT_EQ(Fields(records.parts[1])[0], QByteArray("2>"));
  EXPECT_EQ(Fields(records.parts[2])[0], QByteArray("3>"));
}

TEST(OutgoingRecordTest, SplitPartsKeepTheOtherFields) {
  OutgoingMessage m = Message(291, 6000);
  m.cc = QStringLiteral("c");
  m.bcc = QStringLiteral("b");
  m.subject = QString(256, QLatin1Char('S'));
  OptionValues options;
  options.splitModeIndex = kUnlimited;
  const OutgoingRecords records = BuildOutgoingRecords(m, QStringLiteral("Inbox"), 2, options, 254,
                                                       BuildConversionTables(), kC);
  ASSERT_EQ(records.parts.size(), 3u);
  for (const QByteArray& part : records.parts) {
    const QList<QByteArray> fields = Fields(part);
    ASSERT_EQ(fields.size(), 8);
    EXPECT_EQ(fields[1], "F");
    EXPECT_EQ(fields[2], "T");
    EXPECT_EQ(fields[4], "31-Dec-2025 23:59:58");
    EXPECT_EQ(fields[5], "Inbox");
    EXPECT_EQ(fields[6], "c");
    EXPECT_EQ(fields[7], "b");
  }
}

}  // namespace
}  // namespace zandor
