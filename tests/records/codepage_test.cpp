#include "records/codepage.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include "records/conversion.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::RowName;

QByteArray AllBytes() {
  QByteArray bytes;
  for (int c = 0; c < 256; ++c) bytes.append(static_cast<char>(c));
  return bytes;
}

TEST(CodePageTest, BothCodePagesAreAvailable) {
  // A Qt without the named code pages would decode the upper half as U+FFFD.
  EXPECT_EQ(DecodeHostText(QByteArray("\x80\xe9\x8c"), ConversionMode::Western),
            QString::fromUtf8("€éŒ"));
  EXPECT_EQ(DecodeHostText(QByteArray("\xc0\xff\xb8\xb9"), ConversionMode::RussianOstrel),
            QString::fromUtf8("Аяё№"));
  EXPECT_EQ(DecodeHostText(QByteArray("\xc0"), ConversionMode::RussianDravo),
            QString::fromUtf8("А"));
}

// Every byte but NUL: a NUL in store text would end a field on the wire, so
// it leaves as '?'.
TEST(CodePageTest, EveryByteButNulSurvivesDecodeAndEncode) {
  QByteArray expected = AllBytes();
  expected[0] = '?';
  for (const ConversionMode mode :
       {ConversionMode::Western, ConversionMode::RussianOstrel, ConversionMode::RussianDravo}) {
    const QString text = DecodeHostText(AllBytes(), mode);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(EncodeHostText(text, mode).toHex(), expected.toHex())
        << "mode " << static_cast<int>(mode);
  }
}

struct EncodeRow {
  const char* name;
  ConversionMode mode;
  const char* utf8;
  QByteArray expected;
};

class EncodeHostTextTest : public ::testing::TestWithParam<EncodeRow> {};

TEST_P(EncodeHostTextTest, GivesOneByteForEachCharacter) {
  EXPECT_EQ(EncodeHostText(QString::fromUtf8(GetParam().utf8), GetParam().mode).toHex(' '),
            GetParam().expected.toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EncodeHostTextTest,
    ::testing::Values(
        EncodeRow{"empty", ConversionMode::Western, "", {}},
        EncodeRow{"western_accents", ConversionMode::Western, "aé€’", "a\xe9\x80\x92"},
        EncodeRow{"western_cannot_hold_cyrillic", ConversionMode::Western, "Жx", "?x"},
        EncodeRow{"cyrillic", ConversionMode::RussianOstrel, "Жё№", "\xc6\xb8\xb9"},
        EncodeRow{"cyrillic_cannot_hold_accent", ConversionMode::RussianDravo, "é", "?"},
        EncodeRow{"supplementary_is_one_question_mark", ConversionMode::Western,
                  "a\xf0\x9f\x98\x80z", "a?z"},
        EncodeRow{"control_sub_is_kept", ConversionMode::Western, "\x1a", "\x1a"}),
    RowName{});

TEST(EncodeHostTextTest, LoneSurrogateBecomesQuestionMark) {
  QString text = QStringLiteral("a");
  text.append(QChar(0xD800));
  text.append(QLatin1Char('b'));
  EXPECT_EQ(EncodeHostText(text, ConversionMode::Western), QByteArray("a?b"));
}

// Store text through the whole Western path and back: every accented letter
// of Windows-1252 returns, except the five the Kelvo shows as plain letters.
TEST(WesternRoundTripTest, EveryAccentedLetterComesBack) {
  const ConversionTables tables = BuildConversionTables();
  const QString upperHalf = DecodeHostText(AllBytes().mid(128), ConversionMode::Western);
  const QString plain = QString::fromUtf8("ŠŽšžŸ");
  int letters = 0;
  for (const QChar c : upperHalf) {
    if (!c.isLetter()) continue;
    ++letters;
    QByteArray wire = ConvertOutgoing(EncodeHostText(QString(c), ConversionMode::Western),
                                      ConversionMode::Western, 254, tables);
    ConvertIncoming(wire, ConversionMode::Western, tables);
    const QString back = DecodeHostText(wire, ConversionMode::Western);
    const qsizetype plainAt = plain.indexOf(c);
    if (plainAt < 0) {
      EXPECT_EQ(back, QString(c)) << "U+" << std::hex << int{c.unicode()};
    } else {
      EXPECT_EQ(back, QString::fromLatin1("SYszX").mid(plainAt, 1))
          << "U+" << std::hex << int{c.unicode()};
    }
  }
  EXPECT_EQ(letters, 74);  // À..ÿ but × ÷; ª µ º; ƒ ˆ Š Œ Ž š œ ž Ÿ
}

TEST(RussianRoundTripTest, EveryCyrillicLetterComesBackFromTheOstrelClient) {
  const ConversionTables tables = BuildConversionTables();
  const QString letters = QString::fromUtf8(
      "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя№«»§±©®");
  const ConversionMode mode = ConversionMode::RussianOstrel;
  QByteArray wire = ConvertOutgoing(EncodeHostText(letters, mode), mode, 254, tables);
  ConvertIncoming(wire, mode, tables);
  EXPECT_EQ(DecodeHostText(wire, mode), letters);
}

}  // namespace
}  // namespace zandor
