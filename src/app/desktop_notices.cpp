#include "app/desktop_notices.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QProcess>
#include <QVariantMap>

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(DesktopNotices)
};

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kDetailsAction = QStringLiteral("details");

}  // namespace

DesktopNotices::DesktopNotices(QObject* parent) : QObject(parent) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  bus.connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
              SLOT(OnActionInvoked(uint, QString)));
  bus.connect(kService, kPath, kService, QStringLiteral("NotificationClosed"), this,
              SLOT(OnClosed(uint, uint)));
}

void DesktopNotices::Show(const Notice& notice, const QString& logPath) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || bus.interface() == nullptr ||
      !bus.interface()->isServiceRegistered(kService).value()) {
    return;
  }
  QDBusMessage notify =
      QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
  // A click on the notification itself ("default") opens the details too.
  const QStringList actions = logPath.isEmpty()
                                  ? QStringList()
                                  : QStringList{QStringLiteral("default"), Text::tr("Details"),
                                                kDetailsAction, Text::tr("Details")};
  notify << QStringLiteral("Zandor") << 0U << QStringLiteral("zandor") << notice.title
         << notice.text << actions
         << QVariantMap{{QStringLiteral("desktop-entry"), QStringLiteral("zandor")}} << -1;
  // The answer, the notification's id, comes while the watcher waits.
  auto* pending = new QDBusPendingCallWatcher(bus.asyncCall(notify), this);
  connect(pending, &QDBusPendingCallWatcher::finished, this,
          [this, logPath](QDBusPendingCallWatcher* call) {
            const QDBusPendingReply<uint> reply = *call;
            if (reply.isValid() && !logPath.isEmpty()) logs_[reply.value()] = logPath;
            call->deleteLater();
          });
}

void DesktopNotices::OnActionInvoked(uint id, const QString& action) {
  const auto log = logs_.find(id);
  if (log == logs_.end()) return;  // another program's
  if (action == kDetailsAction || action == QLatin1String("default")) {
    QProcess::startDetached(QCoreApplication::applicationFilePath(),
                            {QStringLiteral("--details"), log->second});
  }
}

void DesktopNotices::OnClosed(uint id, uint) {
  logs_.erase(id);
}

}  // namespace zandor
