#include "sim_trace.h"

#include <QStringList>
#include <chrono>
#include <optional>

#include "link/line_text.h"

namespace zandor::sim {
QString SimTrace::Describe(const QByteArray& bytes) {
  return DescribeLineBytes(bytes);
}

std::optional<QString> SimTrace::Open(const QString& path, bool stamped) {
  stamped_ = stamped;
  file_.setFileName(path);
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
    return file_.errorString();
  }
  return std::nullopt;
}

void SimTrace::Stamp() {
  if (!stamped_) return;
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  Note(QStringLiteral("at %1").arg(
      std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

void SimTrace::FromPc(const QByteArray& bytes) {
  Stamp();
  Line(QStringLiteral("PC  ") + Describe(bytes));
}

void SimTrace::FromKelvo(const QByteArray& bytes) {
  Stamp();
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
