// Fuzzes the parser of the record a message written on the Kelvo arrives in.
//
// Input: one config byte (bit 0 the separator 31 or 254, bits 1-2 the
// conversion button, bit 3 set: the trailing 0x00 the receiver appends is left
// off), then the received bytes.
//
// Checked against a plain cut of the unconverted bytes: the parser succeeds
// exactly when seven separators and a 0x00 after the last of them are there;
// then fields 1 to 7 hold no separator, field 8 no 0x00, the raw fields with
// their ends are a prefix of the record, and each field is the conversion of
// its raw bytes (conversion keeps the length). On failure every field is empty.

#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "records/incoming_record.h"

namespace {

using zandor::fuzz::Input;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input(data, size);
  const std::uint8_t config = input.Byte();
  const unsigned char separator = zandor::fuzz::SeparatorOf(config);
  const zandor::OptionValues options = zandor::fuzz::OptionsOf(config);
  QByteArray record = input.Rest();
  if ((config & 8) == 0) record.append('\0');

  zandor::IncomingRecord parsed;
  parsed.fields[0] = "left over from an earlier record";
  const bool ok =
      zandor::ParseIncomingRecord(record, separator, options, zandor::fuzz::Tables(), parsed);

  // The reference cut, over the unconverted bytes.
  std::array<QByteArray, 8> raw;
  bool complete = true;
  qsizetype start = 0;
  for (std::size_t field = 0; field < raw.size() && complete; ++field) {
    const char end = field + 1 == raw.size() ? '\0' : static_cast<char>(separator);
    qsizetype at = start;
    while (at < record.size() && record[at] != end) ++at;
    if (at == record.size()) {
      complete = false;
      break;
    }
    raw[field] = record.mid(start, at - start);
    start = at + 1;
  }

  ZANDOR_FUZZ_CHECK(ok == complete);
  if (!ok) {
    for (const QByteArray& field : parsed.fields) ZANDOR_FUZZ_CHECK(field.isEmpty());
    return 0;
  }
  QByteArray joined;
  for (std::size_t field = 0; field < raw.size(); ++field) {
    const bool last = field + 1 == raw.size();
    ZANDOR_FUZZ_CHECK(!raw[field].contains(last ? '\0' : static_cast<char>(separator)));
    joined += raw[field];
    joined += last ? '\0' : static_cast<char>(separator);

    QByteArray converted = raw[field];
    zandor::ConvertIncoming(converted, zandor::ModeOf(options), zandor::fuzz::Tables());
    ZANDOR_FUZZ_CHECK(converted.size() == raw[field].size());
    ZANDOR_FUZZ_CHECK(parsed.fields[field] == converted);
  }
  ZANDOR_FUZZ_CHECK(record.startsWith(joined));
  return 0;
}
