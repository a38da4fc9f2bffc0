#include "sim_trace.h"

#include <QStringList>
#include <optional>

#include "link/line_text.h"

namespace zandor::sim {
QString SimTrace::Describe(const QByteArray& bytes) {
  return DescribeLineBytes(bytes);
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
