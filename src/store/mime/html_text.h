#pragma once

#include <QString>

namespace zandor::mime {

// HTML reduced to readable text for a message that has no plain part: tags
// dropped, blocks and <br> as line breaks, list items on lines of their own,
// entities decoded, scripts, styles and the head left out, runs of blanks
// and empty lines collapsed. Line ends are LF.
QString HtmlToText(const QString& html);

}  // namespace zandor::mime
