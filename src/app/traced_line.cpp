#include "app/traced_line.h"

#include <QStringList>

#include "link/protocol.h"

namespace zandor {
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

QString TracedLine::Describe(const QByteArray& bytes) {
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

TracedLine::TracedLine(std::unique_ptr<SerialLine> inner) : inner_(std::move(inner)) {}

std::optional<QString> TracedLine::TraceTo(const QString& path) {
  trace_.close();
  trace_.setFileName(path);
  if (!trace_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
    return trace_.errorString();
  }
  return std::nullopt;
}

void TracedLine::Trace(const QString& line) {
  if (!trace_.isOpen()) return;
  trace_.write((line + QLatin1Char('\n')).toUtf8());
  trace_.flush();
}

std::optional<OpenFailure> TracedLine::Open(const QString& path, const LineSettings& settings) {
  std::optional<OpenFailure> failure = inner_->Open(path, settings);
  Trace(failure ? QStringLiteral("--  open %1 failed: %2").arg(path, failure->reason)
                : QStringLiteral("--  open %1").arg(path));
  return failure;
}

void TracedLine::Close() {
  if (inner_->IsOpen()) Trace(QStringLiteral("--  close"));
  inner_->Close();
}

void TracedLine::Write(const QByteArray& bytes) {
  Trace(QStringLiteral("PC  ") + Describe(bytes));
  inner_->Write(bytes);
  Active();
}

QByteArray TracedLine::ReadAll() {
  QByteArray bytes = inner_->ReadAll();
  if (!bytes.isEmpty()) {
    Trace(QStringLiteral("KV  ") + Describe(bytes));
    Active();
  }
  return bytes;
}

void TracedLine::DiscardInput() {
  inner_->DiscardInput();
}

void TracedLine::DiscardOutput() {
  inner_->DiscardOutput();
}

void TracedLine::SetEventHandler(EventHandler handler) {
  if (!handler) {
    inner_->SetEventHandler({});
    return;
  }
  inner_->SetEventHandler([this, handler = std::move(handler)](const LineEvent& event) {
    switch (event.kind) {
      case LineEvent::Kind::DeviceLost:
        Trace(QStringLiteral("--  device lost: %1").arg(event.detail));
        break;
      case LineEvent::Kind::Error:
      case LineEvent::Kind::Notice:
        Trace(QStringLiteral("--  line event %1").arg(event.code));
        break;
    }
    handler(event);
  });
}

}  // namespace zandor
