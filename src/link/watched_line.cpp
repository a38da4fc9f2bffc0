#include "link/watched_line.h"

namespace zandor {

std::optional<OpenFailure> WatchedLine::Open(const QString& path, const LineSettings& settings) {
  std::optional<OpenFailure> failure = inner_.Open(path, settings);
  Note(failure ? QStringLiteral("open %1 failed: %2").arg(path, failure->reason)
               : QStringLiteral("open %1").arg(path));
  return failure;
}

void WatchedLine::Close() {
  SetOwes(false);
  if (inner_.IsOpen()) Note(QStringLiteral("close"));
  inner_.Close();
}

void WatchedLine::Write(const QByteArray& bytes) {
  SetOwes(false);
  inner_.Write(bytes);
  if (watcher_.written) watcher_.written(bytes);
}

QByteArray WatchedLine::ReadAll() {
  QByteArray bytes = inner_.ReadAll();
  SetOwes(bytes.isEmpty());
  if (!bytes.isEmpty() && watcher_.read) watcher_.read(bytes);
  return bytes;
}

void WatchedLine::SetOwes(bool owes) {
  if (owes == owes_) return;
  owes_ = owes;
  if (watcher_.owes) watcher_.owes(owes);
}

void WatchedLine::SetEventHandler(EventHandler handler) {
  if (!handler) {
    inner_.SetEventHandler({});
    return;
  }
  inner_.SetEventHandler([this, handler = std::move(handler)](const LineEvent& event) {
    Note(event.kind == LineEvent::Kind::DeviceLost
             ? QStringLiteral("device lost: %1").arg(event.detail)
             : QStringLiteral("line event %1").arg(event.code));
    handler(event);
  });
}

}  // namespace zandor
