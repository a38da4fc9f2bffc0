#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "records/codepage.h"
#include "records/incoming_record.h"
#include "records/outgoing_record.h"
#include "support/qt_print.h"

namespace zandor {

using namespace Qt::StringLiterals;
namespace {

using M = ConversionMode;
const ConversionTables kTables = BuildConversionTables();
constexpr M kModes[] = {M::Western, M::RussianOstrel, M::RussianDravo};

QByteArray Range(int from, int to) {
  QByteArray out;
  for (int c = from; c < to; ++c) out.append(static_cast<char>(c));
  return out;
}
const auto Hex = &QByteArray::fromHex;
QByteArray Sent(const QByteArray& text, M mode, unsigned char separator = 254) {
  return ConvertOutgoing(text, mode, separator, kTables);
}
QByteArray Arrived(QByteArray text, M mode) {
  ConvertIncoming(text, mode, kTables);
  return text;
}
QString Received(const QByteArray& text, M mode) {
  return DecodeReceivedText(Arrived(text, mode), mode, kTables);
}

// One field each way, bytes written out by hand from the tables: mode, the
// separator in force when the field leaves (0: the field arrives), the bytes
// and what they become.
using ConversionRow = std::tuple<M, int, const char*, const char*>;
class ConversionTableTest : public ::testing::TestWithParam<ConversionRow> {};

TEST_P(ConversionTableTest, ConvertsEachByteByTheTables) {
  const auto& [mode, separator, from, to] = GetParam();
  const QByteArray field = Hex(from);
  EXPECT_EQ(separator ? Sent(field, mode, uchar(separator)) : Arrived(field, mode), Hex(to));
}
INSTANTIATE_TEST_SUITE_P(
    Table, ConversionTableTest,
    ::testing::Values(
        // Ÿ Š š Ž ž leave as Y S s Z z; ¸ as a space, þ as the Kelvo's þ.
        ConversionRow{M::Western, 254, "0009411f7f809f8a9a8e9e", "3f20411f7fe75953735a7a"},
        ConversionRow{M::Western, 254, "b8fdfeffe991920d0a", "20e3e1d89111110d0a"},
        ConversionRow{M::Western, 31, "1ffe09", "3fe120"},     // nothing leaves as the separator
        ConversionRow{M::Western, 0, "090f101f", "090f101f"},  // symbols are named as text
        ConversionRow{M::Western, 0, "7f809fe1e7e8feff9115", "7fc1bffe80e8feffe915"},
        ConversionRow{M::RussianOstrel, 254, "097f939492969785b0a081b3ad",  // “”’–—…°, Ѓ і
                      "207f2222272d2d2e2e2e3f208369"},  // and a soft hyphen: no pair
        // ю is no separator; ё Ё.
        ConversionRow{M::RussianOstrel, 254, "e0c0feffdfb941", "a180c0c1a0e641"},
        ConversionRow{M::RussianOstrel, 31, "1fb8a8", "3fa786"},
        ConversionRow{M::RussianOstrel, 0, "09101f7f809fa0a11815e8", "09101f7fc0dedfe01815e8"},
        ConversionRow{M::RussianOstrel, 0, "c0c1feff", "fefffeff"},
        // ю has the separator's code.
        ConversionRow{M::RussianDravo, 254, "097f809ffeffe0a1", "207f809f3fffe0a1"},
        ConversionRow{M::RussianDravo, 31, "1fe0c0", "3fe0c0"},
        ConversionRow{M::RussianDravo, 0, "0f101fa1e6e7801815e8", "0f101fe0b9e7c01815e8"},
        ConversionRow{M::RussianDravo, 0, "c0c1feff", "fefffeff"}));

TEST(ConversionTest, TablesPairOneToOneAndLettersComeBack) {
  const auto& host = kTables.cyrillicHost;
  const auto& device = kTables.cyrillicDevice;
  EXPECT_EQ(std::set<unsigned char>(host.begin(), host.end()).size(), host.size());
  EXPECT_EQ(std::set<unsigned char>(device.begin(), device.end()).size(), device.size());
  const QByteArray hostBytes(reinterpret_cast<const char*>(host.data()), 98);
  EXPECT_EQ(Arrived(Sent(hostBytes, M::RussianOstrel), M::RussianDravo), hostBytes);
  const QString letters = DecodeHostText(hostBytes, M::RussianOstrel);
  EXPECT_EQ(letters.left(33), QString::fromUtf8("абвгдеёжзийклмнопрстуфхцчшщьъыэюя"));
  EXPECT_EQ(letters.mid(65), letters.left(33).toUpper());
  // The small letters take device codes 161..193, each capital 33 codes lower;
  // ASCII punctuation keeps its code.
  const auto [low, high] = std::minmax_element(device.begin(), device.begin() + 33);
  EXPECT_EQ(std::pair(*low, *high), std::pair(uchar{161}, uchar{193}));
  for (std::size_t p = 0; p < 65; ++p) {
    EXPECT_TRUE(p >= 33 || device[p + 65] == device[p] - 33) << p;
    EXPECT_TRUE(p < 33 || host[p] >= 128 || device[p] == host[p]) << p;
  }
  // Western letters come back.
  EXPECT_EQ(Arrived(Sent(Range(192, 256), M::Western), M::Western), Range(192, 256));
  EXPECT_EQ(Received(Sent(Hex("9199"), M::Western), M::Western), QString::fromUtf8("´®"));
  // The Kelvo's symbols arrive as the characters they are, in every mode.
  for (const M mode : kModes)
    EXPECT_EQ(Received(Range(16, 32), mode), QString::fromUtf8("¨´`ˆ~   •|[]~•••")) << int(mode);
  // Host text: every byte but NUL decodes and encodes back; what the code page
  // lacks, a NUL included, leaves as one '?' per character.
  for (const M mode : kModes)
    EXPECT_EQ(EncodeHostText(DecodeHostText(Range(1, 256), mode), mode), Range(1, 256));
  const QString text = QString::fromUtf8("é€Я\U0001F600") + QChar(0) + u"a"_s;
  EXPECT_EQ(EncodeHostText(text, M::Western), Hex("e9803f3f3f61"));
  EXPECT_EQ(EncodeHostText(text, M::RussianDravo), Hex("3f88df3f3f61"));
}

// Every host code, in every mode, against both separators, by one rule: no
// character leaves as the separator in force or as the 0 that ends a field,
// nor as a control code it was not. Codes 16..31 are the Kelvo's own symbols,
// which symbols of the upper half may take. In the Ostrel mode only a letter
// lands on a Kelvo letter (128..193).
TEST(ConversionTest, NoCharacterLeavesAsTheSeparatorTheEndOrAControl) {
  for (const M mode : kModes) {
    for (const char separator : {'\x1f', '\xfe'}) {
      for (int c = 0; c < 256; ++c) {
        const QByteArray sent = Sent(QByteArray(1, char(c)), mode, uchar(separator));
        const bool letter = DecodeHostText(QByteArray(1, char(c)), mode).front().isLetter();
        bool wrong = false;
        for (const char byte : sent) {
          const uchar b = uchar(byte);
          wrong |= b < (c < 128 ? 32 : 16) && b != c;
          wrong |= mode == M::RussianOstrel && b >= 128 && b <= 193 && !letter;
        }
        EXPECT_FALSE(sent.contains(separator) || sent.contains('\0') || wrong)
            << int(mode) << ' ' << int(uchar(separator)) << ' ' << c << ": "
            << sent.toHex().constData();
      }
    }
  }
}

const QDateTime kReceived(QDate(2026, 3, 7), QTime(9, 5, 3));  // "07-Mar-2026 9:05:03"
const QDateTime kSent(QDate(999, 12, 1), QTime(23, 59, 58));   // "01-Dec-0999 23:59:58"

OutgoingMessage Message(const QString& subject, const QString& body) {
  return {subject, u"F"_s, u"T"_s, QString(), QString(), body, kReceived, kSent};
}
QByteArray Join(const std::vector<QByteArray>& fields, char separator = '\xfe') {
  QByteArray record = fields[0];
  for (std::size_t i = 1; i < fields.size(); ++i) record += separator + fields[i];
  return record;
}
QByteArray Record(const QByteArray& subject, const QByteArray& body,
                  const char* date = "07-Mar-2026 9:05:03") {
  return Join({subject, "F", "T", body, date, "Inbox", "", ""});
}
// split as the list's position: -1 none, 0 Truncate, 1 Split, 2 Split no more then.
RecordOptions Opt(int split, qsizetype n = 1, std::optional<int> cap = {}, M mode = M::Western) {
  return {mode, static_cast<LongMessages>(split + 1), n, cap};
}
OutgoingRecords Build(const OutgoingMessage& message, const RecordOptions& o = Opt(0), int kind = 1,
                      const QString& folder = u"Inbox"_s, unsigned char sep = 254) {
  return BuildOutgoingRecords(message, folder, kind, o, sep, kTables, QLocale::c());
}
void ExpectRecords(const OutgoingRecords& got, const OutgoingRecords& want) {
  EXPECT_EQ(std::tie(got.parts, got.truncated, got.split, got.skipped, got.why),
            std::tie(want.parts, want.truncated, want.split, want.skipped, want.why));
}

TEST(OutgoingRecordTest, EightConvertedFieldsOrASkip) {
  OutgoingMessage m = Message(QString::fromUtf8("Hi\té"), QString::fromUtf8("L1\r\nЖ"));
  m.cc = u"c"_s;
  // The folder name þ has the separator's own code and leaves as the Kelvo's þ.
  ExpectRecords(Build(m, Opt(0), 1, QString::fromUtf8("þ")),
                {{Join({"Hi \x91", "F", "T", "L1\r\n?", "07-Mar-2026 9:05:03", "\xe1", "c", ""})}});
  m = Message(QString::fromUtf8("Да"), {});
  ExpectRecords(Build(m, Opt(0, 1, {}, M::RussianOstrel)), {{Record("\x84\xa1", {})}});
  // … leaves as three dots: a long body is split by its converted bytes.
  ExpectRecords(
      Build(Message({}, QString(1000, QChar(0x2026))), Opt(1, 1, {}, M::RussianOstrel)),
      {{Record("1>", QByteArray(2758, '.')), Record("2>", QByteArray(242, '.'))}, false, true});
  ExpectRecords(
      Build(m, Opt(0, 1, {}, M::RussianDravo), 1, u"Inbox"_s, 31),
      {{Join({"\xc4\xe0", "F", "T", "", "07-Mar-2026 9:05:03", "Inbox", "", ""}, '\x1f')}});
  const QLocale finnish(u"fi_FI"_s);  // writes its times as 9.05
  EXPECT_EQ(FormatRecordDate(kReceived, finnish),
            u"07-%1-2026 9.05.03"_s.arg(finnish.monthName(3, QLocale::ShortFormat)));
  // A missing property skips; the Inbox tree (kind 1) dates a record by its
  // received time, others by SentOn.
  const OutgoingRecords skipped{{QByteArray()}, false, false, true, OutgoingRecords::Skip::Lacking};
  for (auto text : {&OutgoingMessage::subject, &OutgoingMessage::senderName, &OutgoingMessage::to,
                    &OutgoingMessage::cc, &OutgoingMessage::bcc, &OutgoingMessage::body}) {
    OutgoingMessage lacking = Message({}, {});
    lacking.*text = std::nullopt;
    ExpectRecords(Build(lacking), skipped);
  }
  m = Message({}, {});
  m.sentOn.reset();
  ExpectRecords(Build(m, Opt(0), 1), {{Record({}, {})}});
  ExpectRecords(Build(m, Opt(0), 2), skipped);
  m = Message({}, {});
  m.receivedTime = QDateTime();  // invalid
  ExpectRecords(Build(m, Opt(0), 2), {{Record({}, {}, "01-Dec-0999 23:59:58")}});
  ExpectRecords(Build(m, Opt(0), 1), skipped);
}

// Long messages, judged by the rules: a header of h bytes (every field but the
// body) and a body of b bytes, every tenth an é that leaves as 0x91.
QString Text(qsizetype length) {
  QString text(length, Qt::Uninitialized);
  for (qsizetype i = 0; i < length; ++i) text[i] = QChar(i % 10 == 9 ? 0xE9 : int('a' + i % 9));
  return text;
}
OutgoingRecords Expected(qsizetype h, qsizetype b, const RecordOptions& o) {
  const QByteArray subject = "\x91" + QByteArray(h - 34, 'S');
  const QByteArray body = Text(b).toLatin1().replace('\xe9', '\x91');
  using Skip = OutgoingRecords::Skip;
  if (o.partsTextLength + 1 > 32767) return {{QByteArray()}, false, false, true, Skip::NoRoom};
  if (h + b <= 2791) return {{Record(subject, body)}};
  const bool cut = o.longMessages == LongMessages::Truncate;
  const bool capped = o.longMessages == LongMessages::SplitAtMost;
  const qsizetype room = 2791 - h - (cut ? o.partsTextLength + 1 : 0);
  if (room < 0 || (!cut && room == 0)) return {{QByteArray()}, false, false, true, Skip::NoRoom};
  if (!cut && capped && o.partLimit.value_or(0) < 1)
    return {{QByteArray()}, false, false, true, Skip::NoParts};
  if (cut) return {{Record(subject, body.left(room))}, true};
  OutgoingRecords r{{}, false, true};
  for (qsizetype k = 1; (k - 1) * room < b && (!capped || k <= *o.partLimit); ++k) {
    r.parts.push_back(
        Record(QByteArray::number(k) + '>' + subject, body.mid((k - 1) * room, room)));
  }
  return r;
}

TEST(OutgoingRecordTest, LongMessagesAreCutSplitOrSkippedAroundTheBoundaries) {
  const std::vector<RecordOptions> options = {
      Opt(0), Opt(0, 2),     Opt(0, 32766), Opt(1, 32767), Opt(1),       Opt(-1),
      Opt(2), Opt(2, 1, -1), Opt(2, 1, 0),  Opt(2, 1, 1),  Opt(2, 1, 2), Opt(2, 1, 100)};
  for (const qsizetype h : {34, 291, 2788, 2789, 2790, 2791, 2792}) {
    std::vector<qsizetype> bodies = {2790 - h, 2791 - h, 2792 - h, 2793 - h};
    if (h < 300) bodies.insert(bodies.end(), {6000, 32767 - h, 32768 - h});
    for (const qsizetype b : bodies) {
      const OutgoingMessage m = Message(QChar(0xE9) + QString(h - 34, u'S'), Text(b));
      for (const RecordOptions& o : options) {
        SCOPED_TRACE(testing::Message() << h << ' ' << b << ' ' << int(o.longMessages) << ' '
                                        << o.partsTextLength << ' ' << o.partLimit.value_or(-99));
        if (b >= 0) ExpectRecords(Build(m, o), Expected(h, b, o));
      }
    }
  }
}

// Eight fields, the eighth running to the first NUL; a NUL earlier is an
// ordinary byte, and 0xE1 arrives in the Western mode as the 0xFE that the
// search must not see.
TEST(IncomingRecordTest, CutsEightFieldsThenConvertsEach) {
  for (const M mode : kModes) {
    for (const char s : {'\x1f', '\xfe'}) {
      const std::vector<QByteArray> fields = {
          "a\xe1", "", QByteArray("c\0c", 3), "\xa1\x10", "e", "", "g", QByteArray("h") + s + "h"};
      const QByteArray record = Join(fields, s) + QByteArray("\0tail", 5) + s + '\0';
      IncomingRecord got;
      ASSERT_TRUE(ParseIncomingRecord(record, static_cast<uchar>(s), mode, kTables, got));
      for (std::size_t i = 0; i < fields.size(); ++i)
        EXPECT_EQ(got.fields[i], Arrived(fields[i], mode));
      // Seven separators and a NUL make eight empty fields; losing any one fails.
      const QByteArray plain = QByteArray(7, s) + '\0';
      ASSERT_TRUE(ParseIncomingRecord(plain, static_cast<uchar>(s), mode, kTables, got));
      EXPECT_EQ(got.fields, IncomingRecord{}.fields);
      for (qsizetype at = 0; at < plain.size(); ++at) {
        got.fields.fill("old");
        const QByteArray bad = QByteArray(plain).replace(at, 1, "x");
        EXPECT_FALSE(ParseIncomingRecord(bad, static_cast<uchar>(s), mode, kTables, got));
        EXPECT_EQ(got.fields, IncomingRecord{}.fields);
      }
    }
  }
}

// A recipient field naming several keeps every one of them ('|' separates
// the recipients expected).
TEST(IncomingRecordTest, RecipientListsKeepEveryRecipient) {
  const std::pair<const char*, const char*> rows[] = {
      {"ann@example.com; bob@example.com", "ann@example.com|bob@example.com"},
      {"Ann Smith; bob@example.com", "Ann Smith|bob@example.com"},
      {R"("Weird, Name" <w@x.example>; other@example.com, third)",
       R"("Weird, Name" <w@x.example>|other@example.com|third)"},
      {R"("A \" ; B" <a@x.example>,<"c;d"@x.example>)",
       R"("A \" ; B" <a@x.example>|<"c;d"@x.example>)"},
      {"Ann", "Ann"},
      {" ; ,, ", ""},
      {"ann@ex.org (Ann; Sales), bob@ex.org", "ann@ex.org (Ann; Sales)|bob@ex.org"},
      // Left open: kept whole, as typed.
      {R"( "Ann; bob@ex.org )", R"("Ann; bob@ex.org)"},
      {"<ann@ex.org; bob", "<ann@ex.org; bob"},
      {"(Sales; ann@ex.org", "(Sales; ann@ex.org"},
  };
  for (const auto& [field, recipients] : rows) {
    EXPECT_EQ(SplitRecipients(QString::fromUtf8(field)).join(u'|'), QString::fromUtf8(recipients))
        << field;
  }
}

}  // namespace
}  // namespace zandor
