#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "link/protocol.h"

// The readable form of bytes on the line, shared by the program's trace, the
// simulator's trace and the tests' transcripts (header-only, like the
// protocol constants, so that the simulator needs nothing of the core):
//
//   ACK "000120" NUL
//
// Control bytes are named (NUL is FieldEnd); runs of printable ASCII stand in
// double quotes with \" and \\ escaped; a line end or tab inside such a run
// reads as \r, \n or \t rather than as the command sharing its code; every
// other byte is \xNN. Tokens are separated by one blank.

namespace zandor {

inline const char* ControlByteName(char byte) {
  switch (byte) {
    case protocol::FieldEnd:
      return "NUL";
    case protocol::Ack:
      return "ACK";
    case protocol::Abort:
      return "ABORT";
    case protocol::CmdMessage:
      return "CMD_MESSAGE";
    case protocol::CmdRemove:
      return "CMD_REMOVE";
    case protocol::CmdEnd:
      return "CMD_END";
    case protocol::CmdMessageId:
      return "CMD_MESSAGE_ID";
    default:
      return nullptr;
  }
}

inline QString DescribeLineBytes(const QByteArray& bytes) {
  QStringList tokens;
  QString run;
  const auto closeRun = [&] {
    if (run.isEmpty()) return;
    tokens << QLatin1Char('"') + run + QLatin1Char('"');
    run.clear();
  };
  for (const char byte : bytes) {
    if (!run.isEmpty() && (byte == '\r' || byte == '\n' || byte == '\t')) {
      run += byte == '\r' ? QLatin1String("\\r")
                          : (byte == '\n' ? QLatin1String("\\n") : QLatin1String("\\t"));
      continue;
    }
    if (byte >= 0x20 && byte <= 0x7E) {
      if (byte == '"' || byte == '\\') run += QLatin1Char('\\');
      run += QLatin1Char(byte);
      continue;
    }
    closeRun();
    if (const char* name = ControlByteName(byte)) {
      tokens << QLatin1String(name);
    } else {
      tokens << QStringLiteral("\\x") + QString::number(static_cast<unsigned char>(byte), 16)
                                            .rightJustified(2, QLatin1Char('0'))
                                            .toUpper();
    }
  }
  closeRun();
  return tokens.join(QLatin1Char(' '));
}

}  // namespace zandor
