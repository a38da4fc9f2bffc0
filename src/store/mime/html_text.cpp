#include "store/mime/html_text.h"

#include <QRegularExpression>
#include <QStringList>
#include <array>
#include <utility>

namespace zandor::mime {
namespace {

struct NamedEntity {
  const char* name;
  char16_t character;
};

constexpr std::array<NamedEntity, 24> kEntities{{
    {"amp", u'&'},        {"lt", u'<'},         {"gt", u'>'},         {"quot", u'"'},
    {"apos", u'\''},      {"nbsp", u'\u00a0'},  {"copy", u'\u00a9'},  {"reg", u'\u00ae'},
    {"trade", u'\u2122'}, {"mdash", u'\u2014'}, {"ndash", u'\u2013'}, {"hellip", u'\u2026'},
    {"laquo", u'\u00ab'}, {"raquo", u'\u00bb'}, {"lsquo", u'\u2018'}, {"rsquo", u'\u2019'},
    {"ldquo", u'\u201c'}, {"rdquo", u'\u201d'}, {"bull", u'\u2022'},  {"middot", u'\u00b7'},
    {"euro", u'\u20ac'},  {"pound", u'\u00a3'}, {"shy", u'\u00ad'},   {"deg", u'\u00b0'},
}};

// Decodes the entity that starts at text[at] ('&'); returns the characters and
// how many input characters it took, or an empty result to keep the '&'.
std::pair<QString, qsizetype> DecodeEntity(const QString& text, qsizetype at) {
  const qsizetype semicolon = text.indexOf(QLatin1Char(';'), at + 1);
  if (semicolon < 0 || semicolon - at > 12) return {QString(), 0};
  const QString body = text.mid(at + 1, semicolon - at - 1);
  const qsizetype used = semicolon - at + 1;
  if (body.startsWith(QLatin1Char('#'))) {
    bool ok = false;
    const bool hex =
        body.size() > 1 && (body[1] == QLatin1Char('x') || body[1] == QLatin1Char('X'));
    const uint code = hex ? body.mid(2).toUInt(&ok, 16) : body.mid(1).toUInt(&ok, 10);
    if (!ok || code == 0 || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) {
      return {QString(QChar(0xfffd)), used};
    }
    const char32_t character = code;
    return {QString::fromUcs4(&character, 1), used};
  }
  for (const NamedEntity& entity : kEntities) {
    if (body == QLatin1String(entity.name)) return {QString(QChar(entity.character)), used};
  }
  return {QString(), 0};
}

bool IsBlockTag(const QString& name) {
  static const QStringList blocks = {
      QStringLiteral("p"),      QStringLiteral("div"),     QStringLiteral("tr"),
      QStringLiteral("table"),  QStringLiteral("ul"),      QStringLiteral("ol"),
      QStringLiteral("h1"),     QStringLiteral("h2"),      QStringLiteral("h3"),
      QStringLiteral("h4"),     QStringLiteral("h5"),      QStringLiteral("h6"),
      QStringLiteral("pre"),    QStringLiteral("hr"),      QStringLiteral("blockquote"),
      QStringLiteral("body"),   QStringLiteral("section"), QStringLiteral("article"),
      QStringLiteral("header"), QStringLiteral("footer"),  QStringLiteral("address"),
      QStringLiteral("dl"),     QStringLiteral("dt"),      QStringLiteral("dd")};
  return blocks.contains(name);
}

// Writes text while collapsing blanks and limiting empty lines to one.
class TextSink {
 public:
  void Text(QChar c, bool preformatted) {
    if (!preformatted && (c.isSpace() && c != QChar(0x00a0))) {
      pendingSpace_ = !out_.isEmpty() && !out_.endsWith(QLatin1Char('\n'));
      return;
    }
    if (preformatted && c == QLatin1Char('\n')) {
      Break();
      return;
    }
    if (pendingSpace_) out_.append(QLatin1Char(' '));
    pendingSpace_ = false;
    out_.append(c == QChar(0x00a0) ? QLatin1Char(' ') : c);
  }
  void Text(const QString& text, bool preformatted) {
    for (QChar c : text) Text(c, preformatted);
  }
  void Break() {
    pendingSpace_ = false;
    out_.append(QLatin1Char('\n'));
  }
  void Block() {
    pendingSpace_ = false;
    if (out_.isEmpty()) return;
    if (!out_.endsWith(QLatin1Char('\n'))) out_.append(QLatin1Char('\n'));
    if (!out_.endsWith(QStringLiteral("\n\n"))) out_.append(QLatin1Char('\n'));
  }
  // Ends the current line, if any (a table row).
  void EndLine() {
    pendingSpace_ = false;
    if (!out_.isEmpty() && !out_.endsWith(QLatin1Char('\n'))) out_.append(QLatin1Char('\n'));
  }
  void Space() {
    if (!out_.isEmpty() && !out_.endsWith(QLatin1Char('\n'))) pendingSpace_ = true;
  }
  QString Finish() {
    QStringList lines = out_.split(QLatin1Char('\n'));
    QStringList kept;
    for (QString& line : lines) {
      while (line.endsWith(QLatin1Char(' '))) line.chop(1);
      if (line.isEmpty() && (kept.isEmpty() || kept.back().isEmpty())) continue;
      kept.append(line);
    }
    while (!kept.isEmpty() && kept.back().isEmpty()) kept.removeLast();
    return kept.join(QLatin1Char('\n'));
  }

 private:
  QString out_;
  bool pendingSpace_ = false;
};

// The '>' that closes the tag starting before from; a '>' inside a quoted
// attribute value does not (value="a>b").
qsizetype TagEnd(const QString& html, qsizetype from) {
  QChar quote;
  for (qsizetype i = from; i < html.size(); ++i) {
    const QChar c = html[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
      quote = c;
    } else if (c == QLatin1Char('>')) {
      return i;
    }
  }
  return html.indexOf(QLatin1Char('>'), from);  // an unbalanced quote: the first '>' then
}

}  // namespace

QString HtmlToText(const QString& html) {
  TextSink sink;
  QString skipUntil;  // the closing tag of a script, style or head being skipped
  int preDepth = 0;
  qsizetype i = 0;
  while (i < html.size()) {
    const QChar c = html[i];
    if (c == QLatin1Char('<')) {
      if (html.mid(i, 4) == QStringLiteral("<!--")) {
        const qsizetype end = html.indexOf(QStringLiteral("-->"), i + 4);
        i = end < 0 ? html.size() : end + 3;
        continue;
      }
      const qsizetype end = TagEnd(html, i + 1);
      if (end < 0) break;  // a cut tag at the end: drop it
      const QString tag = html.mid(i + 1, end - i - 1).trimmed();
      i = end + 1;
      const bool closing = tag.startsWith(QLatin1Char('/'));
      QString name = (closing ? tag.mid(1) : tag).toLower();
      const qsizetype nameEnd = name.indexOf(QRegularExpression(QStringLiteral("[\\s/]")));
      if (nameEnd >= 0) name.truncate(nameEnd);
      if (!skipUntil.isEmpty()) {
        if (closing && name == skipUntil) skipUntil.clear();
        continue;
      }
      if (!closing && (name == QStringLiteral("script") || name == QStringLiteral("style") ||
                       name == QStringLiteral("head") || name == QStringLiteral("title"))) {
        if (!tag.endsWith(QLatin1Char('/'))) skipUntil = name;
        continue;
      }
      if (name == QStringLiteral("br")) {
        sink.Break();
      } else if (name == QStringLiteral("li")) {
        if (!closing) {
          sink.Break();
          sink.Text(QStringLiteral("- "), true);
        }
      } else if (name == QStringLiteral("tr")) {
        sink.EndLine();
      } else if (name == QStringLiteral("td") || name == QStringLiteral("th")) {
        sink.Space();
      } else if (IsBlockTag(name)) {
        if (name == QStringLiteral("pre"))
          preDepth = closing ? std::max(0, preDepth - 1) : preDepth + 1;
        sink.Block();
      }
      continue;
    }
    if (!skipUntil.isEmpty()) {
      ++i;
      continue;
    }
    if (c == QLatin1Char('&')) {
      const auto [text, used] = DecodeEntity(html, i);
      if (used > 0) {
        sink.Text(text, true);
        i += used;
        continue;
      }
    }
    sink.Text(c, preDepth > 0);
    ++i;
  }
  return sink.Finish();
}

}  // namespace zandor::mime
