#include "ui/desktop_notifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

namespace zandor {

void NotifyDesktop(const QString& title, const QString& text) {
  const QString service = QStringLiteral("org.freedesktop.Notifications");
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || bus.interface() == nullptr ||
      !bus.interface()->isServiceRegistered(service).value()) {
    return;
  }
  QDBusMessage notify = QDBusMessage::createMethodCall(
      service, QStringLiteral("/org/freedesktop/Notifications"), service, QStringLiteral("Notify"));
  // app name, replaces id, icon, summary, body, actions, hints, timeout (-1:
  // the server's default). Nobody waits for the answer.
  notify << QStringLiteral("Zandor") << 0u << QStringLiteral("zandor") << title << text
         << QStringList() << QVariantMap() << -1;
  bus.call(notify, QDBus::NoBlock);
}

}  // namespace zandor
