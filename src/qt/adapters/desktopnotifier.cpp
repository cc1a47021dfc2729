#include "qt/adapters/desktopnotifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace tarvik {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
constexpr int kShowMs = 8000;

}  // namespace

DesktopNotifier::DesktopNotifier(Fallback fallback, QObject* parent)
    : QObject(parent), fallback_(std::move(fallback)) {}

void DesktopNotifier::notify(const QString& title, const QString& text) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  const bool served = bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(kService);
  if (!served) {
    if (fallback_) fallback_(title, text);
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
  call << QStringLiteral("Tarvik") << 0u << QStringLiteral("tarvik") << title << text << QStringList()
       << QVariantMap() << kShowMs;
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, title, text](QDBusPendingCallWatcher* w) {
    QDBusPendingReply<uint> reply = *w;
    if (reply.isError() && fallback_) fallback_(title, text);
    w->deleteLater();
  });
}

}  // namespace tarvik
