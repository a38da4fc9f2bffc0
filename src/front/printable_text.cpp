#include "front/printable_text.h"

namespace zandor {

QString PrintableText(const QString& text, LineBreaks breaks) {
  QString out = text;
  for (qsizetype i = 0; i < out.size(); ++i) {
    const QChar c = out[i];
    if (c.category() != QChar::Other_Control) continue;
    if (breaks == LineBreaks::Keep &&
        (c == u'\n' || (c == u'\r' && i > 0 && text[i - 1] == u'\n'))) {
      continue;
    }
    out[i] = QChar::ReplacementCharacter;
  }
  return out;
}

}  // namespace zandor
