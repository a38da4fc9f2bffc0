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

}  // namespace zandor
