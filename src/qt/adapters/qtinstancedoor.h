#pragma once
// The desktop program's door for second starts (posix/instancedoor.h) on
// Qt's event loop: each caller's message is read whole, its words handed
// on, and answered with "OK". A caller that sends more than a message may
// hold is dropped unanswered.

#include <QObject>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;

namespace tarvik {

class QtInstanceDoor : public QObject {
  Q_OBJECT
 public:
  using Words = std::function<void(const std::vector<std::string>&)>;

  // Listens at path; the lock is this process's, so a socket file left by
  // an ended run is removed first. An empty path opens no door.
  QtInstanceDoor(const std::filesystem::path& path, Words onWords, QObject* parent = nullptr);

  // Why the door could not be opened (empty when it listens, or no path).
  const QString& problem() const { return problem_; }

 private:
  void admit(QLocalSocket* caller);

  QLocalServer* server_ = nullptr;
  Words onWords_;
  QString problem_;
};

}  // namespace tarvik
