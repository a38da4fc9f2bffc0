#pragma once

#include <QString>

namespace zandor {

// A freedesktop notification (title and text) through the session bus; does
// nothing, without a word, where no notification service runs.
void NotifyDesktop(const QString& title, const QString& text);

}  // namespace zandor
