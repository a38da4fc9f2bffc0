#include "sim_trace.h"

#include <QStringList>
#include <optional>

#include "link/protocol.h"

namespace zandor::sim {
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

}  // namespace

QString SimTrace::Describe(const QByteArray& bytes) {
  QStringList tokens;
  QString run;
  const auto closeRun = [&] {
    if (run.isEmpty()) return;
    tokens << QLatin1Char('"') + run + QLatin1Char('"');
    run.clear();
  };
  for (const char byte : bytes) {
    if (byte >= 0x20 && byte <= 0x7E) {
      if (byte == '"' || byte == '\\') run += QLatin1Char('\\');
      run += QLatin1Char(byte);
      continue;
    }
    closeRun();
    if (const char* name = ControlName(byte)) {
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

std::optional<QString> SimTrace::Open(const QString& path) {
  file_.setFileName(path);
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
    return file_.errorString();
  }
  return std::nullopt;
}

void SimTrace::FromPc(const QByteArray& bytes) {
  Line(QStringLiteral("PC  ") + Describe(bytes));
}

void SimTrace::FromKelvo(const QByteArray& bytes) {
  Line(QStringLiteral("KV  ") + Describe(bytes));
}

void SimTrace::Note(const QString& text) {
  Line(QStringLiteral("--  ") + text);
}

void SimTrace::Line(const QString& line) {
  if (!file_.isOpen()) return;
  file_.write((line + QLatin1Char('\n')).toUtf8());
  file_.flush();
}

}  // namespace zandor::sim
