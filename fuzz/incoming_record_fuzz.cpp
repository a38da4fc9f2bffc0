// Fuzzes the parser of the record a message written on the Kelvo arrives in.
//
// Input: one config byte (bit 0 the separator 31 or 254, bits 1-2 the
// conversion button, bit 3 set: the trailing 0x00 the receiver appends is left
// off), then the received bytes.
//
// Checked against a plain cut of the unconverted bytes (seven separators, then
// the first 0x00): the parser succeeds exactly when the cut does, every field
// is then the conversion of its raw bytes, of the same length, and on failure
// every field is empty.

#include "fuzz_support.h"
#include "records/incoming_record.h"

using namespace zandor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input{data, size};
  const std::uint8_t config = input.Byte();
  const unsigned char separator = fuzz::SeparatorOf(config);
  const ConversionMode mode = fuzz::OptionsOf(config).mode;
  QByteArray record = input.Rest();
  if ((config & 8) == 0) record.append('\0');

  IncomingRecord parsed;
  parsed.fields[0] = "left over from an earlier record";
  const bool ok = ParseIncomingRecord(record, separator, mode, fuzz::kTables, parsed);

  // The reference cut; start is -1 once a field has no end.
  qsizetype start = 0;
  for (std::size_t field = 0; field < parsed.fields.size(); ++field) {
    const char end = field < 7 ? static_cast<char>(separator) : '\0';
    const qsizetype at = start < 0 ? -1 : record.indexOf(end, start);
    QByteArray expected = ok && at >= 0 ? record.mid(start, at - start) : QByteArray();
    const qsizetype rawSize = expected.size();
    ConvertIncoming(expected, mode, fuzz::kTables);
    ZANDOR_FUZZ_CHECK(parsed.fields[field] == expected && expected.size() == rawSize);
    start = at < 0 ? -1 : at + 1;
  }
  ZANDOR_FUZZ_CHECK(ok == (start >= 0));
  return 0;
}
