#include "support/transcript.h"

#include "link/protocol.h"

namespace zandor::testing {

namespace {

const char* ControlName(char byte) {
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

bool Printable(char byte) {
  return byte >= 0x20 && byte <= 0x7E;
}

}  // namespace

QString TranscriptRecorder::Text() const {
  QString text;
  for (const QString& line : lines_) text += line + QLatin1Char('\n');
  return text;
}

QString TranscriptRecorder::BytesOnly() const {
  QString text;
  for (const QString& line : lines_) {
    if (!line.startsWith(QLatin1String("--"))) text += line + QLatin1Char('\n');
  }
  return text;
}

QString TranscriptRecorder::Describe(const QByteArray& bytes) {
  QStringList tokens;
  QString run;
  auto closeRun = [&] {
    if (run.isEmpty()) return;
    tokens << QLatin1Char('"') + run + QLatin1Char('"');
    run.clear();
  };
  for (const char byte : bytes) {
    // Line ends and tabs inside text read as text, not as the commands that
    // share their codes.
    if (!run.isEmpty() && (byte == '\r' || byte == '\n' || byte == '\t')) {
      run += byte == '\r' ? QLatin1String("\\r")
                          : (byte == '\n' ? QLatin1String("\\n") : QLatin1String("\\t"));
      continue;
    }
    if (Printable(byte)) {
      if (byte == '"' || byte == '\\') run += QLatin1Char('\\');
      run += QLatin1Char(byte);
      continue;
    }
    closeRun();
    if (const char* name = ControlName(byte)) {
      tokens << QLatin1String(name);
    } else {
      tokens << QStringLiteral("\\x%1")
                    .arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'))
                    .toUpper()
                    .replace(QLatin1String("\\X"), QLatin1String("\\x"));
    }
  }
  closeRun();
  return tokens.join(QLatin1Char(' '));
}

}  // namespace zandor::testing
