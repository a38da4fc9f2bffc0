#include "link/field_forms.h"

#include <gtest/gtest.h>

#include "support/row_name.h"
#include "support/transcript.h"

namespace zandor {
namespace {

using testing::RowName;
using testing::TranscriptRecorder;

struct NumberRow {
  const char* name;
  qint64 value;
  const char* six;
};

class SixDigitNumberTest : public ::testing::TestWithParam<NumberRow> {};

TEST_P(SixDigitNumberTest, PadsToSixDigitsWithoutSign) {
  const NumberRow& row = GetParam();
  EXPECT_EQ(SixDigitNumber(row.value), QByteArray(row.six));
  EXPECT_EQ(NumberField(row.value), QByteArray(row.six) + QByteArray(1, '\0'));
}

INSTANTIATE_TEST_SUITE_P(Numbers, SixDigitNumberTest,
                         ::testing::Values(NumberRow{"Zero", 0, "000000"},
                                           NumberRow{"Kind", 1, "000001"},
                                           NumberRow{"EntryIdLength", 140, "000140"},
                                           NumberRow{"SixDigits", 999999, "999999"},
                                           NumberRow{"SevenDigits", 1000000, "1000000"},
                                           NumberRow{"Large", 4294967295LL, "4294967295"},
                                           NumberRow{"NegativeIsZero", -5, "000000"}),
                         RowName());

struct LengthRow {
  const char* name;
  QByteArray field;
  std::optional<int> value;
};

class KelvoLengthTest : public ::testing::TestWithParam<LengthRow> {};

TEST_P(KelvoLengthTest, DropsTheTerminatorAndReadsLeadingDigits) {
  const LengthRow& row = GetParam();
  EXPECT_EQ(ParseKelvoLength(row.field), row.value);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, KelvoLengthTest,
    ::testing::Values(LengthRow{"Plain", QByteArray("120\0", 4), 120},
                      LengthRow{"TerminatorAlone", QByteArray("\0", 1), 0},
                      LengthRow{"Empty", QByteArray(), 0},
                      LengthRow{"ZeroPadded", QByteArray("000300\0", 7), 300},
                      // The last byte is dropped whatever it is, even a digit.
                      LengthRow{"LastDigitDropped", QByteArray("1234"), 123},
                      LengthRow{"DigitsThenJunk", QByteArray("12ab\0", 5), 12},
                      LengthRow{"NoDigits", QByteArray("ab\0", 3), 0},
                      LengthRow{"SignIsNoDigit", QByteArray("-5\0", 3), 0},
                      LengthRow{"LeadingBlankIsNoDigit", QByteArray(" 5\0", 3), 0},
                      LengthRow{"TwoFieldsJoined", QByteArray("12\00034\0", 6), 12},
                      LengthRow{"Largest", QByteArray("32767\0", 6), 32767},
                      LengthRow{"BeyondSixteenBits", QByteArray("32768\0", 6), std::nullopt},
                      LengthRow{"Huge", QByteArray("99999999999999999999999\0", 24), std::nullopt},
                      LengthRow{"LongZeroRun", QByteArray("0000000000000000000042\0", 23), 42}),
    RowName());

struct RemovalRow {
  const char* name;
  const char* deviceId;
  std::optional<QByteArray> identifier;
};

class RemovalIdentifierTest : public ::testing::TestWithParam<RemovalRow> {};

TEST_P(RemovalIdentifierTest, HexInDecimalThenFieldEnd) {
  const RemovalRow& row = GetParam();
  EXPECT_EQ(RemovalIdentifier(QString::fromLatin1(row.deviceId)), row.identifier);
}

QByteArray Id(const char* digits) {
  return QByteArray(digits) + QByteArray(1, '\0');
}

INSTANTIATE_TEST_SUITE_P(
    Ids, RemovalIdentifierTest,
    ::testing::Values(RemovalRow{"Example", "0000001A", Id("000026")},
                      RemovalRow{"Zeros", "00000000", Id("000000")},
                      RemovalRow{"LowerCase", "0000001a", Id("000026")},
                      RemovalRow{"Top16BitSet", "00008000", Id("032768")},
                      RemovalRow{"AllSixteenBits", "0000FFFF", Id("065535")},
                      RemovalRow{"Million", "000F4240", Id("1000000")},
                      // Read unsigned: the top bit of 32 does not make it negative.
                      RemovalRow{"Top32BitSet", "80000000", Id("2147483648")},
                      RemovalRow{"AllThirtyTwoBits", "FFFFFFFF", Id("4294967295")},
                      RemovalRow{"ShortIsFine", "1A", Id("000026")},
                      RemovalRow{"Empty", "", std::nullopt},
                      RemovalRow{"NotHex", "0000001G", std::nullopt},
                      RemovalRow{"Blank", "0000 01A", std::nullopt},
                      RemovalRow{"Sign", "-0000001", std::nullopt},
                      RemovalRow{"Prefix", "0x1A", std::nullopt},
                      RemovalRow{"BeyondThirtyTwoBits", "100000000", std::nullopt}),
    RowName());

TEST(DeviceIdFieldTest, FirstEightBytesTheNinthDroppedUnchecked) {
  EXPECT_EQ(DeviceIdFromField(QByteArray("0000001A\0", 9)), QStringLiteral("0000001A"));
  EXPECT_EQ(DeviceIdFromField(QByteArray("0000001AX")), QStringLiteral("0000001A"));
  EXPECT_EQ(kDeviceIdFieldLength, 9);
}

struct DescribeRow {
  const char* name;
  QByteArray bytes;
  const char* text;
};

class TranscriptDescribeTest : public ::testing::TestWithParam<DescribeRow> {};

TEST_P(TranscriptDescribeTest, NamesControlsQuotesTextEscapesTheRest) {
  const DescribeRow& row = GetParam();
  EXPECT_EQ(TranscriptRecorder::Describe(row.bytes), QString::fromUtf8(row.text));
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, TranscriptDescribeTest,
    ::testing::Values(
        DescribeRow{"Controls", QByteArray("\x00\x01\x02\x0A\x0B\x0C\x0D", 7),
                    "NUL ACK ABORT CMD_MESSAGE CMD_REMOVE CMD_END CMD_MESSAGE_ID"},
        DescribeRow{"Field",
                    QByteArray("\x01"
                               "000120\0",
                               8),
                    "ACK \"000120\" NUL"},
        DescribeRow{"Quotes", QByteArray("a\"b\\c"), "\"a\\\"b\\\\c\""},
        DescribeRow{"Others", QByteArray("\x15\xFE\x1F\x7F"), "\\x15 \\xFE \\x1F \\x7F"},
        DescribeRow{"Mixed", QByteArray("Hi\xFEthere"), "\"Hi\" \\xFE \"there\""},
        DescribeRow{"LineEndsInText", QByteArray("a\r\nb\tc"), "\"a\\r\\nb\\tc\""},
        DescribeRow{"LineEndsAlone", QByteArray("\r\n"), "CMD_MESSAGE_ID CMD_MESSAGE"},
        DescribeRow{"Empty", QByteArray(), ""}),
    RowName());

}  // namespace
}  // namespace zandor
