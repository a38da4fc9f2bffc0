#pragma once

#include <QDateTime>
#include <QString>
#include <QWidget>

#include "session/host.h"

class QLabel;
class QProgressBar;

namespace zandor {

class ElidedLabel;

// "~/Maildir · Com 1 (/dev/ttyUSB0)": where the window points. The home
// folder shows as "~"; no port chosen (0) shows as "no port".
QString WhereText(const QString& mailFolder, int port, const QString& portPath);

// The window's status bar: where it points on the first line; on the second
// the last run's outcome, or during a run the Kelvo's silence; during a run
// a progress bar, the bytes sent and the time taken at the right.
class SyncStatusBar final : public QWidget {
  Q_OBJECT
 public:
  explicit SyncStatusBar(QWidget* parent = nullptr);

  void SetWhere(const QString& text);
  void SetNote(const QString& text);
  QString Where() const;
  QString Note() const;

  // A run: the progress shows while it lasts.
  void StartRun(const QDateTime& now);
  void FinishRun();
  // Busy while the Kelvo uploads and lists, and while removing; the messages
  // of the folder being scanned while sending.
  void ShowProgress(const Progress& progress);
  void AddBytesSent(qsizetype bytes);
  void ShowElapsed(const QDateTime& now);

 private:
  ElidedLabel* where_;  // the whole text in its tooltip
  QLabel* note_;
  QProgressBar* progress_;
  QLabel* sent_;
  QLabel* elapsed_;
  QDateTime started_;
  qint64 bytesSent_ = 0;
};

}  // namespace zandor
