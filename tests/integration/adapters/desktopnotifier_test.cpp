// DesktopNotifier against a notification service of the test's own on a
// private session bus (the test runs under dbus-run-session): the notices
// reach the service; without the service they go to the fallback.

#include "qt/adapters/desktopnotifier.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QObject>
#include <QSignalSpy>
#include <QStringList>
#include <QVariantMap>

namespace tarvik {
namespace {

// Answers Notify as a desktop's notification service does.
class TestNotificationService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
 public:
  QStringList received;  // "app|icon|summary|body"

 public slots:
  Q_SCRIPTABLE uint Notify(const QString& app, uint replacesId, const QString& icon, const QString& summary,
                           const QString& body, const QStringList& actions, const QVariantMap& hints,
                           int timeout) {
    Q_UNUSED(replacesId);
    Q_UNUSED(actions);
    Q_UNUSED(hints);
    Q_UNUSED(timeout);
    received << app + "|" + icon + "|" + summary + "|" + body;
    emit notified();
    return static_cast<uint>(received.size());
  }

 signals:
  void notified();
};

const QString kService = QStringLiteral("org.freedesktop.Notifications");

class DesktopNotifierTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!QDBusConnection::sessionBus().isConnected())
      GTEST_SKIP() << "no session bus (run under dbus-run-session)";
  }
  void TearDown() override {
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    bus.unregisterService(kService);
  }
  void registerService() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                   QDBusConnection::ExportScriptableSlots));
    ASSERT_TRUE(bus.registerService(kService));
  }

  TestNotificationService service;
  QStringList fallback;
  DesktopNotifier notifier{
      [this](const QString& title, const QString& text) { fallback << title + "|" + text; }};
};

TEST_F(DesktopNotifierTest, NoticesReachTheNotificationService) {
  registerService();
  QSignalSpy notified(&service, &TestNotificationService::notified);
  notifier.notify(QStringLiteral("着信"), QStringLiteral("山田商店 0452223333"));
  notifier.notify(QStringLiteral("話中"), QStringLiteral("Tarvik ISP"));
  while (notified.size() < 2) ASSERT_TRUE(notified.wait(5000));
  EXPECT_EQ(service.received, (QStringList{QStringLiteral("Tarvik|tarvik|着信|山田商店 0452223333"),
                                           QStringLiteral("Tarvik|tarvik|話中|Tarvik ISP")}));
  EXPECT_TRUE(fallback.isEmpty());
}

TEST_F(DesktopNotifierTest, WithoutTheServiceTheFallbackShowsThem) {
  ASSERT_FALSE(QDBusConnection::sessionBus().interface()->isServiceRegistered(kService));
  notifier.notify(QStringLiteral("切断"), QStringLiteral("Tarvik ISP 接続時間 3分"));
  EXPECT_EQ(fallback, QStringList{QStringLiteral("切断|Tarvik ISP 接続時間 3分")});
  EXPECT_TRUE(service.received.isEmpty());
}

}  // namespace
}  // namespace tarvik

#include "desktopnotifier_test.moc"
