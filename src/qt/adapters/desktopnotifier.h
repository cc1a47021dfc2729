#pragma once
// Desktop notifications through the desktop's notification service
// (org.freedesktop.Notifications on the session bus). Without that service
// the fallback shows the notice instead (the tray icon's message).

#include <QObject>
#include <QString>
#include <functional>

namespace tarvik {

class DesktopNotifier : public QObject {
  Q_OBJECT
 public:
  using Fallback = std::function<void(const QString& title, const QString& text)>;
  explicit DesktopNotifier(Fallback fallback, QObject* parent = nullptr);

  // Sends without waiting for the service's answer; a bus or service that is
  // missing (now, or when the answer comes back as an error) gets the
  // fallback.
  void notify(const QString& title, const QString& text);

 private:
  Fallback fallback_;
};

}  // namespace tarvik
