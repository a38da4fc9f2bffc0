#pragma once

#include <QRandomGenerator>

#include "support/maildir_builder.h"

namespace zandor {

// Message number n of a mixed lot, the same every time for the same seed: most
// short, a quarter of a page or more, and one in seven long enough to go in two
// or three parts. The caller dates it and picks its folder.
inline testing::TestMessage MixedMessage(QRandomGenerator& random, const QString& subject, int n) {
  const int kind = static_cast<int>(random.bounded(100));
  const int size = kind < 60   ? 100 + static_cast<int>(random.bounded(500))
                   : kind < 85 ? 600 + static_cast<int>(random.bounded(2000))
                               : 3000 + static_cast<int>(random.bounded(2500));
  testing::TestMessage message;
  message.subject = subject;
  message.body.clear();
  for (int line = 1; message.body.size() < size; ++line)
    message.body +=
        QStringLiteral("Line %1 of message %2, some ordinary words.\n").arg(line).arg(n);
  message.body.truncate(size);
  return message;
}

}  // namespace zandor
