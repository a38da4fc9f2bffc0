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
  int comment = 0;  // (a comment) may hold separators too
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
    if (!quoted && c == QLatin1Char('(')) ++comment;
    if (!quoted && c == QLatin1Char(')') && comment > 0) --comment;
    if (!quoted && angle == 0 && comment == 0 && (c == QLatin1Char(';') || c == QLatin1Char(','))) {
      flush();
    } else {
      current += c;
    }
  }
  // A quote, bracket or comment left open: the list cannot be told apart
  // for sure, so it is kept as typed rather than cut where it may not end.
  if (quoted || angle > 0 || comment > 0) {
    const QString whole = field.trimmed();
    return whole.isEmpty() ? QStringList() : QStringList{whole};
  }
  flush();
  return recipients;
}

}  // namespace zandor
