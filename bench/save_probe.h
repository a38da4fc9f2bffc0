#pragma once

#include <QDateTime>
#include <QString>
#include <chrono>

#include "store/kelvo_state_db.h"

namespace zandor {

// The time one KelvoSent mark takes to save on the file system of dir, in
// milliseconds: the same state database and the same kind of commit the store
// makes after each part the Kelvo acknowledged. With the line idle meanwhile
// (the dialogue is lock-step), this is what every part costs beyond its bytes.
inline double MarkSaveMs(const QString& dir, int saves = 40) {
  KelvoStateDb db(dir + QStringLiteral("/save-probe.sqlite"));
  const QDateTime when(QDate(2026, 12, 6), QTime(12, 0));
  if (!db.Put(QStringLiteral("warm-up"), {when, SentParts{1, 3}}).ok()) return -1;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < saves; ++i) {
    if (!db.Put(QStringLiteral("probe.%1").arg(i % 8), {when.addSecs(i), SentParts{1, 3}}).ok())
      return -1;
  }
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / saves;
}

}  // namespace zandor
