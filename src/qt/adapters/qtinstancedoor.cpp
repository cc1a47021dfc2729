#include "qt/adapters/qtinstancedoor.h"

#include <QLocalServer>
#include <QLocalSocket>

#include "app/secondstart.h"

namespace tarvik {

QtInstanceDoor::QtInstanceDoor(const std::filesystem::path& path, Words onWords, QObject* parent)
    : QObject(parent), onWords_(std::move(onWords)) {
  if (path.empty()) return;
  const QString name = QString::fromStdString(path.string());
  QLocalServer::removeServer(name);
  server_ = new QLocalServer(this);
  // Only this user: the folder is private already, the socket is too.
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name)) {
    problem_ = name + QStringLiteral(": ") + server_->errorString();
    return;
  }
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* caller = server_->nextPendingConnection()) admit(caller);
  });
}

void QtInstanceDoor::admit(QLocalSocket* caller) {
  connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
  auto take = [this, caller] {
    // The message so far lives in the socket's buffer until it is whole.
    const QByteArray bytes = caller->peek(static_cast<qint64>(app::kSecondStartMaxBytes) + 1);
    const auto words = app::decodeSecondStart(bytes.toStdString());
    if (!words) {
      if (static_cast<std::size_t>(bytes.size()) > app::kSecondStartMaxBytes) caller->abort();
      return;
    }
    caller->readAll();
    onWords_(*words);
    caller->write(app::kSecondStartTaken);
    caller->disconnectFromServer();  // after the answer is written
  };
  connect(caller, &QLocalSocket::readyRead, this, take);
  if (caller->bytesAvailable() > 0) take();  // what came before the connection above
}

}  // namespace tarvik
