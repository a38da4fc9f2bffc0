#include "support/transcript.h"

#include "link/line_text.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;

QString TranscriptRecorder::Text() const {
  QString text;
  for (const QString& line : lines_) text += line + u'\n';
  return text;
}

QString TranscriptRecorder::Describe(const QByteArray& bytes) {
  return DescribeLineBytes(bytes);
}

}  // namespace zandor::testing
