#pragma once

#include <QByteArray>
#include <QStringList>
#include <array>

#include "records/conversion.h"

namespace zandor {

// A message written on the Kelvo: its eight fields, each converted by
// ConvertIncoming (DecodeReceivedText makes text of one). fields[0] is field 1
// (subject), fields[2] field 3 (recipient), fields[3] field 4 (body); the
// receive phase uses only those.
struct IncomingRecord {
  std::array<QByteArray, 8> fields;
};

// Cuts a received record into its eight fields. record is the received bytes
// with the one 0x00 the receiver appends. Fields 1 to 7 each end at the next
// fieldSeparator (a 0x00 among them is an ordinary byte); field 8 ends at the
// first 0x00 after the seventh separator, further separators included. The
// searches run over the received bytes; each field is converted after it is
// cut out, in the given mode.
// Returns false, and leaves out empty, when a separator or the final 0x00 is
// missing.
bool ParseIncomingRecord(const QByteArray& record, unsigned char fieldSeparator,
                         ConversionMode mode, const ConversionTables& tables, IncomingRecord& out);

// The recipients a recipient field names: its entries separated by ';' or
// ',' outside double quotes, angle brackets and (comments), each trimmed,
// empty ones left out. "\"Smith, Ann\" <ann@example.org>; bob" gives two. A
// field with a quote, bracket or comment left open is one recipient, the
// text as typed, so that no address is lost.
QStringList SplitRecipients(const QString& field);

}  // namespace zandor
