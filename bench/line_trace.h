#pragma once

#include <QString>
#include <QtGlobal>

namespace zandor::testing {

// The bytes a transcript of the line stands for, by direction. Transcripts
// are those of kelvo-sim --trace and zandor --trace: one line per piece, "PC  "
// or "KV  " and then tokens separated by one blank (a control byte's name,
// "\xNN", or a double-quoted run of text with \" \\ \r \n \t escapes); notes
// ("--  ") carry no bytes. A token it does not know counts as one byte and as
// unknown, so that a change of the form cannot go unnoticed.
struct TraceBytes {
  qint64 fromPc = 0;
  qint64 fromKelvo = 0;
  int pieces = 0;         // byte lines
  int unknownTokens = 0;  // tokens that are no name, no \xNN and no quoted run

  qint64 Total() const { return fromPc + fromKelvo; }
};

TraceBytes CountTraceBytes(const QString& transcript);

// The time those bytes take on a line of the given rate, ten bit times a byte
// (start bit, eight data bits, stop bit).
double LineSeconds(qint64 bytes, int baud);

}  // namespace zandor::testing
