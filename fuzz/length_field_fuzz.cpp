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
// number is beyond kMaxKelvoLength. ReadLengthField returns, with the reads it joined,
// the first reply that is not all digits, or how the wait ended after a
// break; it never writes to the line.

#include "fuzz_support.h"
#include "link/field_forms.h"
#include "link/protocol.h"
#include "sync/sync_context.h"

using namespace zandor;

// How many decimal digits the bytes start with.
static qsizetype LeadingDigits(const QByteArray& bytes) {
  return std::find_if_not(bytes.begin(), bytes.end(), [](char c) { return c >= '0' && c <= '9'; }) -
         bytes.begin();
}

static void CheckParse(const QByteArray& field) {
  const std::optional<int> length = ParseKelvoLength(field);
  QByteArray digits = field.left(LeadingDigits(field.left(field.size() - 1)));
  while (digits.startsWith('0')) digits.remove(0, 1);
  const bool fits = digits.size() < 5 || (digits.size() == 5 && digits.toInt() <= kMaxKelvoLength);
  ZANDOR_FUZZ_CHECK(length.has_value() == fits && (!length || *length == digits.toInt()));
}

static void CheckRead(const QByteArray& script) {
  fuzz::Scripted kelvo(fuzz::SplitIntoReads(script));
  // What it should join: the reads up to the first that makes the whole
  // something else than digits.
  QByteArray expected;
  for (const QByteArray& read : kelvo.reads) {
    if (LeadingDigits(expected) < expected.size()) break;
    expected += read;
  }
  SessionWaits waits(kelvo.session, kelvo);
  Link link(kelvo, waits);
  const Reply field = ReadLengthField(link);
  ZANDOR_FUZZ_CHECK(kelvo.writes.empty() && kelvo.boxes.isEmpty());
  if (LeadingDigits(expected) < expected.size() && !kelvo.session.BreakRequested) {
    ZANDOR_FUZZ_CHECK(field.Is(expected));
    CheckParse(field.bytes);
  } else {
    ZANDOR_FUZZ_CHECK(field.end == Reply::End::Break && kelvo.session.BreakRequested);
  }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input{data, size};
  (input.Byte() & 1) == 0 ? CheckParse(input.Rest()) : CheckRead(input.Rest());
  return 0;
}
