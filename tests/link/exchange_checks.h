#pragma once

#include <gtest/gtest.h>

#include <QStringList>

#include "model/kelvo_device.h"
#include "support/transcript.h"

namespace zandor::testing {

inline const QString kUserBreakBox = QStringLiteral("      User Break      ");
inline const QString kLostBox = QStringLiteral(
    "The Kelvo is no longer connected (Input/output error). The synchronisation was stopped; "
    "check the cable and try again.");

inline QString BoxNote(const QString& text) {
  return QStringLiteral("--  box: ") + text;
}

inline int CountLines(const QStringList& lines, const QString& line) {
  return static_cast<int>(lines.count(line));
}

// What every conversation must show, whatever went wrong: each break box
// right after the abort byte, one abort byte per break box, and not one byte
// written by the exchange after its own error box.
inline void ExpectSoundEnding(const TranscriptRecorder& transcript) {
  const QStringList& lines = transcript.Lines();
  const QString userBreak = BoxNote(kUserBreakBox);
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (lines[i] != userBreak) continue;
    ASSERT_GT(i, 0);
    EXPECT_EQ(lines[i - 1], QStringLiteral("PC  ABORT")) << transcript.Text().toStdString();
  }
  EXPECT_EQ(CountLines(lines, QStringLiteral("PC  ABORT")), CountLines(lines, userBreak))
      << transcript.Text().toStdString();
  qsizetype lastError = -1;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (lines[i].startsWith(QLatin1String("--  box: Comm Err"))) lastError = i;
  }
  if (lastError < 0) return;
  for (qsizetype i = lastError + 1; i < lines.size(); ++i) {
    EXPECT_FALSE(lines[i].startsWith(QLatin1String("PC"))) << transcript.Text().toStdString();
  }
}

inline QStringList PcWrites(const TranscriptRecorder& transcript) {
  QStringList writes;
  for (const QString& line : transcript.Lines()) {
    if (line.startsWith(QLatin1String("PC  "))) writes << line;
  }
  return writes;
}

inline const char* FaultName(sim::FaultKind kind) {
  switch (kind) {
    case sim::FaultKind::WrongByte:
      return "WrongByte";
    case sim::FaultKind::Twice:
      return "Twice";
    case sim::FaultKind::Joined:
      return "Joined";
    case sim::FaultKind::Silence:
      return "Silence";
    case sim::FaultKind::HangUp:
      return "HangUp";
    case sim::FaultKind::TooMany:
      return "TooMany";
    case sim::FaultKind::Replace:
      return "Replace";
  }
  return "?";
}

inline const sim::FaultKind kEveryFault[] = {sim::FaultKind::WrongByte, sim::FaultKind::Twice,
                                             sim::FaultKind::Joined,    sim::FaultKind::Silence,
                                             sim::FaultKind::HangUp,    sim::FaultKind::TooMany};

}  // namespace zandor::testing
