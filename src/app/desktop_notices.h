#pragma once

#include <QObject>
#include <QString>
#include <map>

#include "front/plugged_in_notice.h"

namespace zandor {

// Freedesktop notifications with a Details action, which opens the window on
// the log of the run the notification tells of. Without a session bus or a
// notification service nothing is shown, without a word: the run's output
// and log say the same.
class DesktopNotices final : public QObject {
  Q_OBJECT

 public:
  explicit DesktopNotices(QObject* parent = nullptr);

  void Show(const Notice& notice, const QString& logPath);

 private Q_SLOTS:
  void OnActionInvoked(uint id, const QString& action);
  void OnClosed(uint id, uint reason);

 private:
  // The log of each notification still shown, by the server's id.
  std::map<uint, QString> logs_;
};

}  // namespace zandor
