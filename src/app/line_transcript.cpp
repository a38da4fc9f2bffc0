#include "app/line_transcript.h"

#include "link/line_text.h"

namespace zandor {

std::optional<QString> LineTranscript::WriteTo(const QString& path) {
  file_.close();
  file_.setFileName(path);
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
    return file_.errorString();
  }
  return std::nullopt;
}

void LineTranscript::Add(const QString& line) {
  if (!file_.isOpen()) return;
  file_.write((line + QLatin1Char('\n')).toUtf8());
  file_.flush();
}

WatchedLine::Watcher LineTranscript::Watcher(std::function<void(bool owes)> owes) {
  const auto side = [this](const char* who) {
    return [this, who](const QByteArray& bytes) {
      Add(QLatin1String(who) + DescribeLineBytes(bytes));
    };
  };
  return {side("PC  "), side("KV  "),
          [this](const QString& note) { Add(QStringLiteral("--  ") + note); }, std::move(owes)};
}

}  // namespace zandor
