#include "records/incoming_record.h"

#include <utility>

namespace zandor {

bool ParseIncomingRecord(const QByteArray& record, unsigned char fieldSeparator,
                         ConversionMode mode, const ConversionTables& tables, IncomingRecord& out) {
  out = IncomingRecord{};
  IncomingRecord parsed;
  qsizetype start = 0;
  for (std::size_t field = 0; field < parsed.fields.size(); ++field) {
    const bool last = field + 1 == parsed.fields.size();
    const char end = last ? '\0' : static_cast<char>(fieldSeparator);
    const qsizetype at = record.indexOf(end, start);
    if (at < 0) return false;
    parsed.fields[field] = record.mid(start, at - start);
    ConvertIncoming(parsed.fields[field], mode, tables);
    start = at + 1;
  }
  out = std::move(parsed);
  return true;
}

QStringList SplitRecipients(const QString& field) {
  QStringList recipients;
  QString current;
  bool quoted = false;
  int angle = 0;
  const auto flush = [&] {
    if (!current.trimmed().isEmpty()) recipients << current.trimmed();
    current.clear();
  };
  for (qsizetype i = 0; i < field.size(); ++i) {
    const QChar c = field[i];
    if (quoted && c == QLatin1Char('\\') && i + 1 < field.size()) {
      current += c;
      current += field[++i];
      continue;
    }
    if (c == QLatin1Char('"')) quoted = !quoted;
    if (!quoted && c == QLatin1Char('<')) ++angle;
    if (!quoted && c == QLatin1Char('>') && angle > 0) --angle;
    if (!quoted && angle == 0 && (c == QLatin1Char(';') || c == QLatin1Char(','))) {
      flush();
    } else {
      current += c;
    }
  }
  flush();
  return recipients;
}

}  // namespace zandor
