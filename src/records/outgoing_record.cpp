#include "records/outgoing_record.h"

#include <algorithm>
#include <array>
#include <utility>

#include "records/codepage.h"

namespace zandor {
namespace {

// Lengths and counts are 16-bit signed: a longer record cannot be sent.
constexpr qsizetype kLongestLength = 32767;

// Field positions in a record.
constexpr std::size_t kSubject = 0;
constexpr std::size_t kBody = 3;
constexpr std::size_t kFieldCount = 8;

using Fields = std::array<QByteArray, kFieldCount>;

OutgoingRecords Skipped(OutgoingRecords::Skip why) {
  OutgoingRecords records;
  records.parts.assign(1, QByteArray());
  records.skipped = true;
  records.why = why;
  return records;
}

// The unconverted texts of the eight fields, present only when the message
// gives every property the record needs.
std::optional<std::array<QString, kFieldCount>> SourceTexts(const OutgoingMessage& message,
                                                            const QString& folderName,
                                                            int folderKind, const QLocale& locale) {
  const std::optional<QDateTime>& when = folderKind == 1 ? message.receivedTime : message.sentOn;
  if (!message.subject || !message.senderName || !message.to || !message.body || !message.cc ||
      !message.bcc || !when || !when->isValid()) {
    return std::nullopt;
  }
  return std::array<QString, kFieldCount>{*message.subject,
                                          *message.senderName,
                                          *message.to,
                                          *message.body,
                                          FormatRecordDate(*when, locale),
                                          folderName,
                                          *message.cc,
                                          *message.bcc};
}

class FieldConverter {
 public:
  FieldConverter(const RecordOptions& options, unsigned char fieldSeparator,
                 const ConversionTables& tables)
      : options_(options), separator_(fieldSeparator), tables_(tables) {}

  // One field, in the mode in force now, or the bytes from..from+count of it.
  // Conversion may change the length (… leaves as three dots), so the slice is
  // cut from the converted bytes.
  QByteArray Field(const QString& text, qsizetype from = 0, qsizetype count = -1) const {
    const ConversionMode mode = options_.mode;
    return ConvertOutgoing(EncodeHostText(text, mode), mode, separator_, tables_).mid(from, count);
  }

  // All eight fields, the body limited to its first bodyCount bytes (-1: all).
  Fields All(const std::array<QString, kFieldCount>& texts, qsizetype bodyCount = -1) const {
    Fields fields;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
      fields[i] = i == kBody ? Field(texts[i], 0, bodyCount) : Field(texts[i]);
    }
    return fields;
  }

  QByteArray Join(const Fields& fields) const {
    QByteArray record;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
      if (i > 0) record.append(static_cast<char>(separator_));
      record.append(fields[i]);
    }
    return record;
  }

 private:
  const RecordOptions& options_;
  unsigned char separator_;
  const ConversionTables& tables_;
};

}  // namespace

OutgoingRecords BuildOutgoingRecords(const OutgoingMessage& message, const QString& folderName,
                                     int folderKind, const RecordOptions& options,
                                     unsigned char fieldSeparator, const ConversionTables& tables,
                                     const QLocale& locale) {
  OutgoingRecords records;
  const qsizetype truncateAllowance = options.partsTextLength + 1;
  if (truncateAllowance > kLongestLength) return Skipped(OutgoingRecords::Skip::NoRoom);

  const auto texts = SourceTexts(message, folderName, folderKind, locale);
  if (!texts) return Skipped(OutgoingRecords::Skip::Lacking);
  const FieldConverter converter(options, fieldSeparator, tables);
  const Fields fields = converter.All(*texts);
  QByteArray full = converter.Join(fields);
  if (full.size() <= kLongestWholeRecord) {
    records.parts.push_back(std::move(full));
    return records;
  }

  const qsizetype bodyLength = fields[kBody].size();
  const qsizetype headerLength = full.size() - bodyLength;
  if (options.longMessages == LongMessages::Truncate) {
    records.truncated = true;
    const qsizetype room = kLongestWholeRecord - headerLength - truncateAllowance;
    if (room < 0) return Skipped(OutgoingRecords::Skip::NoRoom);
    // Every field is converted again, the body cut to the room.
    records.parts.push_back(converter.Join(converter.All(*texts, room)));
    records.wholeLength = full.size();
    records.keptLength = records.parts.front().size();
    return records;
  }

  // Anything else, none included, splits. The part label is not counted
  // in the room: a split record may exceed the limit by its label's length.
  records.split = true;
  const qsizetype room = kLongestWholeRecord - headerLength;
  if (room <= 0) return Skipped(OutgoingRecords::Skip::NoRoom);
  qsizetype partCount = (bodyLength + room - 1) / room;
  if (options.longMessages == LongMessages::SplitAtMost) {
    const std::optional<int>& limit = options.partLimit;
    if (!limit || *limit < 1) return Skipped(OutgoingRecords::Skip::NoParts);
    if (*limit < partCount) {
      partCount = *limit;
      records.wholeLength = full.size();
      records.keptLength = headerLength + partCount * room;
    }
  }
  for (qsizetype k = 1; k <= partCount; ++k) {
    Fields part = fields;
    part[kSubject] = converter.Field(QString::number(k) + QLatin1Char('>') + (*texts)[kSubject]);
    part[kBody] = converter.Field((*texts)[kBody], (k - 1) * room, room);
    records.parts.push_back(converter.Join(part));
  }
  return records;
}

namespace {

// The characters between the hour and the minutes of the locale's time
// format, quotes removed; ':' when the format has none.
QString TimeSeparator(const QLocale& locale) {
  const QString format = locale.timeFormat(QLocale::ShortFormat);
  QString separator;
  bool quoted = false;
  bool afterHour = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c == QLatin1Char('\'')) {
      if (i + 1 < format.size() && format[i + 1] == QLatin1Char('\'')) {
        if (afterHour) separator += c;  // '' is a quote character
        ++i;
      } else {
        quoted = !quoted;
      }
      continue;
    }
    const bool hourLetter = !quoted && (c == QLatin1Char('h') || c == QLatin1Char('H'));
    if (!afterHour) {
      afterHour = hourLetter;
      continue;
    }
    if (hourLetter && separator.isEmpty()) continue;
    if (!quoted && c == QLatin1Char('m'))
      return separator.isEmpty() ? QStringLiteral(":") : separator;
    separator += c;
  }
  return QStringLiteral(":");
}

QString TwoDigits(int value) {
  return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

}  // namespace

QString FormatRecordDate(const QDateTime& when, const QLocale& locale) {
  const QDateTime local = when.toLocalTime();
  const QDate date = local.date();
  const QTime time = local.time();
  const QString separator = TimeSeparator(locale);
  return TwoDigits(date.day()) + QLatin1Char('-') +
         locale.monthName(date.month(), QLocale::ShortFormat) + QLatin1Char('-') +
         QString::number(date.year()).rightJustified(4, QLatin1Char('0')) + QLatin1Char(' ') +
         QString::number(time.hour()) + separator + TwoDigits(time.minute()) + separator +
         TwoDigits(time.second());
}

}  // namespace zandor
