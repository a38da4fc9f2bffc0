// Fuzzes the length field the Kelvo sends ahead of each of its text fields:
// its reading (ParseKelvoLength) and its collection from the line when it
// comes in pieces (ReadLengthField).
//
// Input: one config byte. Even: the rest is one length field. Odd: the rest
// is a script of reads (fuzz_support.h) that ReadLengthField collects; a
// script that runs dry ends in &Break.
//
// Checked: the value is the run of digits at the start of the field less its
// last byte, read with any number of leading zeros; nullopt exactly when that
// number is beyond 32767. ReadLengthField returns, with the reads it joined,
// the first reply that is not all digits, or empty after a break; it never
// writes to the line except the Abort of a break.

#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "link/field_forms.h"
#include "link/link.h"
#include "link/protocol.h"

namespace {

using zandor::fuzz::Input;

bool AllDigits(const QByteArray& bytes) {
  for (const char c : bytes) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

void CheckParse(const QByteArray& field) {
  const std::optional<int> length = zandor::ParseKelvoLength(field);
  // The reference: the digits as text, leading zeros dropped, compared by size.
  QByteArray digits;
  for (qsizetype i = 0; i + 1 < field.size(); ++i) {
    const char c = field[i];
    if (c < '0' || c > '9') break;
    if (digits.isEmpty() && c == '0') continue;
    digits += c;
  }
  const bool tooLong =
      digits.size() > 5 || (digits.size() == 5 && digits.toInt() > zandor::kMaxKelvoLength);
  ZANDOR_FUZZ_CHECK(length.has_value() == !tooLong);
  if (length) {
    ZANDOR_FUZZ_CHECK(*length >= 0 && *length <= zandor::kMaxKelvoLength);
    ZANDOR_FUZZ_CHECK(*length == (digits.isEmpty() ? 0 : digits.toInt()));
  }
}

void CheckRead(const QByteArray& script) {
  const std::deque<QByteArray> reads = zandor::fuzz::SplitIntoReads(script);
  zandor::SyncSession session;
  zandor::fuzz::ScriptedLine line(reads);
  zandor::fuzz::ScriptedHost host(line, session, 4, static_cast<long>(reads.size()) * 2 + 64);
  QByteArray field;
  {
    zandor::Link link(session, line, host);
    field = zandor::ReadLengthField(link);
  }

  // What it should have joined: the non-empty reads up to and including the
  // first that is not all digits.
  QByteArray expected;
  bool ended = false;
  for (const QByteArray& read : reads) {
    if (read.isEmpty()) continue;
    expected += read;
    if (!AllDigits(expected)) {
      ended = true;
      break;
    }
  }
  if (ended && !session.BreakRequested) {
    ZANDOR_FUZZ_CHECK(field == expected);
    ZANDOR_FUZZ_CHECK(line.Writes().empty());
    CheckParse(field);
  } else {
    ZANDOR_FUZZ_CHECK(field.isEmpty());
    ZANDOR_FUZZ_CHECK(session.BreakRequested);
    ZANDOR_FUZZ_CHECK(line.Writes().size() == 1);
    ZANDOR_FUZZ_CHECK(line.Writes().front() == QByteArray(1, zandor::protocol::Abort));
    ZANDOR_FUZZ_CHECK(host.Boxes() == QStringList{QStringLiteral("      User Break      ")});
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input(data, size);
  const std::uint8_t config = input.Byte();
  const QByteArray rest = input.Rest();
  if ((config & 1) == 0) {
    CheckParse(rest);
  } else {
    CheckRead(rest);
  }
  return 0;
}
