#pragma once

#include <QString>

namespace zandor {

// Whether a text's own line breaks stay: a box's text joins its lines with
// "\n\r" (or "\n"); a status line, a note or a line of the details is one line.
enum class LineBreaks { Replace, Keep };

// Text from outside (the server's words, mailbox names, subjects, senders) may
// carry control characters that a terminal obeys (an escape sequence, a
// carriage return over the line, a bell) and a box shows as garbage. Every
// text leaves the program for a terminal, a box or the details through here:
// each control character becomes U+FFFD, but for the line breaks kept.
QString PrintableText(const QString& text, LineBreaks breaks = LineBreaks::Replace);

}  // namespace zandor
