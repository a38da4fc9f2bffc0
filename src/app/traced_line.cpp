#include "app/traced_line.h"

#include <QStringList>

#include "link/line_text.h"

namespace zandor {
QString TracedLine::Describe(const QByteArray& bytes) {
  return DescribeLineBytes(bytes);
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
