#include "line_trace.h"

#include <QStringList>
#include <QStringView>

namespace zandor::testing {
namespace {

bool IsControlName(QStringView token) {
  static const QStringList names = {QStringLiteral("NUL"),           QStringLiteral("ACK"),
                                    QStringLiteral("ABORT"),         QStringLiteral("CMD_MESSAGE"),
                                    QStringLiteral("CMD_REMOVE"),    QStringLiteral("CMD_END"),
                                    QStringLiteral("CMD_MESSAGE_ID")};
  return names.contains(token);
}

bool IsHexByte(QStringView token) {
  if (token.size() != 4 || !token.startsWith(QLatin1String("\\x"))) return false;
  bool ok = false;
  static_cast<void>(token.mid(2).toUInt(&ok, 16));
  return ok;
}

// The bytes of one line's tokens, from the first token on.
qint64 CountLine(QStringView rest, int& unknown) {
  qint64 bytes = 0;
  qsizetype at = 0;
  while (at < rest.size()) {
    if (rest[at] == QLatin1Char(' ')) {
      ++at;
      continue;
    }
    if (rest[at] == QLatin1Char('"')) {
      // A quoted run: every character one byte, an escape pair one byte.
      ++at;
      while (at < rest.size() && rest[at] != QLatin1Char('"')) {
        at += rest[at] == QLatin1Char('\\') ? 2 : 1;
        ++bytes;
      }
      ++at;  // the closing quote
      continue;
    }
    qsizetype end = rest.indexOf(QLatin1Char(' '), at);
    if (end < 0) end = rest.size();
    const QStringView token = rest.mid(at, end - at);
    if (!IsControlName(token) && !IsHexByte(token)) ++unknown;
    ++bytes;
    at = end;
  }
  return bytes;
}

}  // namespace

TraceBytes CountTraceBytes(const QString& transcript) {
  TraceBytes count;
  for (QStringView line : QStringView(transcript).split(QLatin1Char('\n'))) {
    const bool pc = line.startsWith(QLatin1String("PC  "));
    const bool kelvo = line.startsWith(QLatin1String("KV  "));
    if (!pc && !kelvo) continue;
    const qint64 bytes = CountLine(line.mid(4), count.unknownTokens);
    (pc ? count.fromPc : count.fromKelvo) += bytes;
    ++count.pieces;
  }
  return count;
}

double LineSeconds(qint64 bytes, int baud) {
  return baud > 0 ? static_cast<double>(bytes) * 10.0 / baud : 0.0;
}

}  // namespace zandor::testing
